// Loaded into the installed program (LD_PRELOAD) by the package test, which cannot see windows
// on the offscreen platform: writes one line per top-level window shown to $LUMARETH_WINDOW_LOG,
// "window<TAB>objectName<TAB>title". When the login window shows, it also chooses 帮助主题 in the
// main window behind it and writes the address the program asks the desktop to open,
// "help<TAB>url".
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {
void note(const QString& line) {
    QFile log(qEnvironmentVariable("LUMARETH_WINDOW_LOG"));
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((line + QLatin1Char('\n')).toUtf8());
}

class Watcher : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Show && w && w->isWindow()) {
            note(QStringLiteral("window\t%1\t%2").arg(w->objectName(), w->windowTitle()));
            if (w->objectName() == QStringLiteral("Tloginform"))
                QTimer::singleShot(0, this, &Watcher::askForHelp);
        }
        return false;
    }
  public slots:
    void openUrl(const QUrl& url) { note(QStringLiteral("help\t") + url.toString()); }

  private:
    void askForHelp() {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("TMAIN"))
                if (auto* help = top->findChild<QAction*>(QStringLiteral("N36")))
                    help->trigger();
    }
};

void install() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        qApp->installEventFilter(new Watcher(qApp));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)

#include "windowwatch.moc"
