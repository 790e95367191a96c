#include "support/testsession.h"
#include "data/databasechoice.h"
#include "data/programfolder.h"
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

QMessageBox::StandardButton ScriptedMessages::show(QWidget*, const MessageBoxSpec& box) {
    shown.push_back(box);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return box.buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok;
}

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const auto& b : shown)
        out << b.text;
    return out;
}

QString ScriptedFiles::next(FileDialogSpec& request) {
    asked.push_back(request);
    if (answers.isEmpty())
        return {};
    const auto [file, filter] = answers.takeFirst();
    if (!filter.isEmpty())
        request.selectedFilter = filter;
    return file;
}

namespace {
// Runs one statement on the test server's own database postgres.
void serverStatement(const QString& sql) {
    const QString name = QStringLiteral("lumareth-test-server");
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        d.setConnectOptions(qEnvironmentVariable("LUMARETH_TEST_PG") + QStringLiteral(" dbname=postgres"));
        if (!d.open())
            qFatal("test server: %s", qPrintable(d.lastError().text()));
        QSqlQuery q(d);
        if (!q.exec(sql))
            qFatal("test server: %s", qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
}
int databaseCounter = 0;
} // namespace

TestSession::TestSession(bool openDatabase) {
    qputenv("LUMARETH_HOME", dir_.path().toUtf8());
    if (onServer()) {
        serverDatabase_ =
            QStringLiteral("lm_%1_%2").arg(QCoreApplication::applicationPid()).arg(++databaseCounter);
        serverStatement(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(serverDatabase_));
        qputenv("LUMARETH_DATABASE", (QStringLiteral("PostgreSQL:") + qEnvironmentVariable("LUMARETH_TEST_PG") +
                                      QStringLiteral(" dbname=") + serverDatabase_)
                                         .toUtf8());
    }
    auto m = std::make_unique<ScriptedMessages>();
    auto f = std::make_unique<ScriptedFiles>();
    messages_ = m.get();
    files_ = f.get();
    session_ = std::make_unique<Session>(std::move(m), std::move(f));
    if (openDatabase)
        DatabaseChoice::open(session_->dm());
    session_->operatorNumber = QStringLiteral("0001");
    session_->flags.fill(true);
}

TestSession::~TestSession() {
    session_.reset();
    if (!serverDatabase_.isEmpty())
        serverStatement(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(serverDatabase_));
}

QList<QStringList> TestSession::rows(const QString& sql, const QVariantList& params) {
    QList<QStringList> out;
    for (const Row& r : dm().ADOall.query(sql, params)) {
        QStringList cells;
        for (int i = 0; i < r.record().count(); ++i)
            cells << r.text(r.record().fieldName(i));
        out << cells;
    }
    return out;
}

qlonglong TestSession::count(const QString& table) {
    return dm().ADOall.first(QStringLiteral("SELECT count(*) AS n FROM %1").arg(TDM1::quoteId(table)))
        .integer(QStringLiteral("n"));
}

namespace TestInput {
void typeText(QWidget* w, const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 128 && c.isPrint()) {
            QTest::keyClick(w, c.toLatin1());
            continue;
        }
        // A character outside the basic plane travels as its surrogate pair.
        const int len = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i, len), Qt::NoModifier);
        i += len - 1;
    }
}

void pressEnter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

void click(QWidget* button) {
    // Radio buttons and tick boxes answer only on their mark and caption, at the left.
    if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}
} // namespace TestInput
