#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Session;
class TMAIN;

// Runs each command of the program end to end through its real screens, from the button press
// to the first screen of rows with their footers, checks what it produced, and measures it.
namespace Bench {

struct Command {
    QString name;
    // Not timed: brings the screens to where the command starts.
    std::function<void()> prepare;
    // Timed: the button press and everything up to the rows and footers on screen.
    std::function<void()> run;
    // After the run: an empty text when the command produced the right rows, else what is wrong.
    std::function<QString()> check;
    // The same work for the sqlite3 shell, in its own syntax; filled by the run when empty.
    std::function<QStringList()> shell;
    // The shell's whole run is compared (process start included), not the statements alone.
    bool shellWhole = false;
    // The command is not in this build yet: a marked gap in the table.
    bool pending = false;
};

struct Result {
    QString name;
    bool pending = false;
    QList<double> ms;
    double median = 0;
    double peakMb = 0;
    // The longest the event loop went without a turn during a run (a timer ticking every
    // 10 ms records the intervals), over all runs: how long the window froze.
    double maxGapMs = 0;
    double shellMs = -1; // -1: no shell comparison
    QString error;       // a failed check
};

class Runner {
public:
    // Opens the program folder's database as the program does.
    explicit Runner(const QString& programFolder);
    ~Runner();

    QList<Command> commands();
    Result measure(Command& command, int repeats, const QString& shellProgram, const QString& extension);
    // The messages shown so far ("caption: text").
    QStringList messages() const;
    Session& session();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

double median(QList<double> values);
// Peak resident memory since the last reset, in MB (Linux); reset starts a new peak.
double peakMemoryMb();
void resetPeakMemory();

} // namespace Bench
