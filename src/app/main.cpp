#include "frame/startup.h"
#include "frame/tloginform.h"
#include "frame/tmain.h"
#include "ui/fonts.h"
#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumareth"));

    // One copy at a time: a second start while the first runs ends at once without a word.
    const auto instance = Startup::singleInstance();
    if (!instance)
        return 0;

    Startup::installTranslator();
    Fonts::install();
    Session session(std::make_unique<WidgetMessageService>(), std::make_unique<WidgetFileDialogService>());
    if (!Startup::openDatabase(session))
        return 1;

    TMAIN w(session);
    Tloginform login(session, &w);
    if (login.exec() != QDialog::Accepted)
        return 0;
    w.showMaximized();
    QTimer::singleShot(0, &w, [&w] { w.autoBackup(); });
    return app.exec();
}
