// Measures every command of the program on a generated database and prints the table:
//   lumareth-benchmark [--repeats N] [--sqlite3 PROGRAM] [--extension MODULE] FOLDER
// FOLDER is a program folder filled by lumareth-generate. The benchmark writes to its database
// (a sale, collected arrears, and the shell's copies of them).
#include "bench.h"
#include "frame/startup.h"
#include "ui/fonts.h"
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The program's own translations and font names, as it starts.
    Startup::installTranslator();
    Fonts::install();
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("repeats"), QStringLiteral("Runs of each command."), QStringLiteral("N"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("sqlite3"), QStringLiteral("The sqlite3 shell to compare with."),
                      QStringLiteral("PROGRAM")});
    parser.addOption({QStringLiteral("extension"), QStringLiteral("The module that gives the shell the PINYIN order."),
                      QStringLiteral("MODULE")});
    parser.addOption({QStringLiteral("only"), QStringLiteral("Only commands whose name contains TEXT."),
                      QStringLiteral("TEXT")});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The program folder."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const int repeats = std::max(1, parser.value(QStringLiteral("repeats")).toInt());
    int failed = 0;
    try {
        Bench::Runner runner(parser.positionalArguments().first());
        std::printf("| 命令 | 中位数 ms | 最长停顿 ms | 峰值内存 MB | sqlite3 ms | 比值 | 检查 |\n"
                    "|---|---:|---:|---:|---:|---:|---|\n");
        for (Bench::Command& c : runner.commands()) {
            if (parser.isSet(QStringLiteral("only")) && !c.name.contains(parser.value(QStringLiteral("only"))))
                continue;
            const Bench::Result r = runner.measure(c, repeats, parser.value(QStringLiteral("sqlite3")),
                                                   parser.value(QStringLiteral("extension")));
            if (r.pending) {
                std::printf("| %s | — | — | — | — | — | 尚未实现（待补） |\n", qPrintable(r.name));
                continue;
            }
            if (!r.error.isEmpty())
                ++failed;
            const QString shell = r.shellMs < 0 ? QStringLiteral("—") : QString::number(r.shellMs, 'f', 1);
            const QString ratio = r.shellMs <= 0 ? QStringLiteral("—") : QString::number(r.median / r.shellMs, 'f', 2);
            std::printf("| %s | %.1f | %.1f | %.0f | %s | %s | %s |\n", qPrintable(r.name), r.median, r.maxGapMs, r.peakMb,
                        qPrintable(shell), qPrintable(ratio), r.error.isEmpty() ? "正确" : qPrintable(r.error));
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return failed ? 1 : 0;
}
