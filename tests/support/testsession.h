#pragma once
#include "ui/session.h"
#include <QList>
#include <QTemporaryDir>
#include <vector>

// Records every message box and answers from a queue (OK, or Yes, when the queue is empty).
class ScriptedMessages : public MessageService {
public:
    QMessageBox::StandardButton show(QWidget* parent, const MessageBoxSpec& box) override;
    void answer(QMessageBox::StandardButton b) { answers.append(b); }
    QStringList texts() const;
    MessageBoxSpec last() const { return shown.empty() ? MessageBoxSpec{} : shown.back(); }
    void clear() { shown.clear(); }

    std::vector<MessageBoxSpec> shown;
    QList<QMessageBox::StandardButton> answers;
};

// Answers file dialogs from a queue of file names (empty answers cancel).
class ScriptedFiles : public FileDialogService {
public:
    QString save(QWidget* parent, FileDialogSpec& request) override { return next(request); }
    QString open(QWidget* parent, FileDialogSpec& request) override { return next(request); }
    void answer(const QString& file, const QString& filter = {}) { answers.append({file, filter}); }

    std::vector<FileDialogSpec> asked;
    QList<QPair<QString, QString>> answers;

private:
    QString next(FileDialogSpec& request);
};

// A session on a fresh temporary program folder with its database open and operator 0001 logged in.
// When LUMARETH_TEST_PG names a PostgreSQL server (a libpq connection string without dbname), the
// database is a new one on that server instead of the file, made for this session and dropped after.
class TestSession {
public:
    explicit TestSession(bool openDatabase = true);
    ~TestSession();
    Session& session() { return *session_; }
    TDM1& dm() { return session_->dm(); }
    ScriptedMessages& messages() { return *messages_; }
    ScriptedFiles& files() { return *files_; }
    QString folder() const { return dir_.path(); }
    // True when the session's database is on a server.
    static bool onServer() { return !qEnvironmentVariableIsEmpty("LUMARETH_TEST_PG"); }

    // Rows of a statement as lists of display texts, for comparing with what a test expects.
    QList<QStringList> rows(const QString& sql, const QVariantList& params = {});
    qlonglong count(const QString& table);

private:
    QTemporaryDir dir_;
    QString serverDatabase_;
    std::unique_ptr<Session> session_;
    ScriptedMessages* messages_;
    ScriptedFiles* files_;
};

namespace TestInput {
// Types text into a widget one character at a time, Chinese included (QTest::keyClicks cannot).
void typeText(QWidget* w, const QString& text);
void pressEnter(QWidget* w);
void click(QWidget* button);
} // namespace TestInput
