#include "menuwalk.h"
#include "support/mainwindowtest.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtTest>
#include <memory>

// The user guide against the program itself: every command of the main window's menus and
// toolbar is chosen, and whatever window it opens must have its section in the guide, headed
// by the window's caption, with a picture that exists and the caption of each of its buttons.
class TestGuide : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void command_data();
    void command();
    void pictures_data();
    void pictures();

  private:
    struct Section {
        QString heading, text;
        QStringList pictures;
    };
    static QString page(const QString& name);
    static QString plain(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText(); }
    QList<Section> sections_;
    QString guideText_;
    QList<MenuCommand> commands_;
};

QString TestGuide::page(const QString& name) {
    QFile f(QFINDTESTDATA("../../resources/help/" + name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void TestGuide::initTestCase() {
    const QString html = page(QStringLiteral("index.html"));
    QVERIFY(!html.isEmpty());
    guideText_ = plain(html);
    // A section runs from its heading to the next heading.
    static const QRegularExpression heading(QStringLiteral("<h[23][^>]*>(.*?)</h[23]>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression img(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    QList<QRegularExpressionMatch> heads;
    for (const QRegularExpressionMatch& m : heading.globalMatch(html))
        heads << m;
    for (qsizetype i = 0; i < heads.size(); ++i) {
        const qsizetype end = i + 1 < heads.size() ? heads[i + 1].capturedStart() : html.size();
        const QString body = html.mid(heads[i].capturedEnd(), end - heads[i].capturedEnd());
        Section s{plain(heads[i].captured(1)), plain(body), {}};
        for (const QRegularExpressionMatch& m : img.globalMatch(body))
            s.pictures << m.captured(1);
        sections_ << s;
    }

    MainWindowTest w;
    for (int i = 0; i < 100; ++i)
        w.messages().answer(QMessageBox::Cancel);
    commands_ = walkCommands(w.main());
    QVERIFY(commands_.size() >= 20);
}

void TestGuide::command_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < commands_.size(); ++i)
        QTest::newRow(qPrintable(commands_[i].name + ' ' + commands_[i].text)) << i;
}

void TestGuide::command() {
    QFETCH(int, index);
    const MenuCommand& c = commands_[index];
    // The staff look a command up by its caption in the menu or on the toolbar.
    QVERIFY2(guideText_.contains(c.text), qPrintable(c.text + " is not in the guide"));
    if (c.window.isEmpty()) {
        if (!c.menu.isEmpty()) {
            const bool headed = std::any_of(sections_.begin(), sections_.end(),
                                            [&](const Section& s) { return s.heading.contains(c.text); });
            QVERIFY2(headed, qPrintable("no section headed " + c.text));
        }
        return;
    }
    // The window's own section is headed by its caption alone; a chapter may share the name.
    auto s = std::find_if(sections_.begin(), sections_.end(),
                          [&](const Section& s) { return s.heading.trimmed() == c.window; });
    if (s == sections_.end())
        s = std::find_if(sections_.begin(), sections_.end(),
                         [&](const Section& s) { return s.heading.contains(c.window); });
    QVERIFY2(s != sections_.end(), qPrintable("no section headed " + c.window));
    QVERIFY2(!s->pictures.isEmpty(), qPrintable("no picture of " + c.window));
    for (QString button : c.buttons) {
        button.remove(QLatin1Char('&'));
        QVERIFY2(s->text.contains(button),
                 qPrintable("the section " + c.window + " does not say what " + button + " does"));
    }
}

void TestGuide::pictures_data() {
    QTest::addColumn<QString>("file");
    static const QRegularExpression img(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    for (const QString& name : {QStringLiteral("index.html"), QStringLiteral("en.html")}) {
        const QString html = page(name);
        QVERIFY2(!html.isEmpty(), qPrintable(name));
        for (const QRegularExpressionMatch& m : img.globalMatch(html))
            QTest::newRow(qPrintable(name + ' ' + m.captured(1))) << m.captured(1);
    }
}

void TestGuide::pictures() {
    QFETCH(QString, file);
    const QFileInfo picture(QFileInfo(QFINDTESTDATA("../../resources/help/index.html")).dir(), file);
    QVERIFY2(picture.isFile(), qPrintable(picture.filePath()));
    QVERIFY2(picture.size() < 300 * 1024, qPrintable(file + " is large"));
}

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
