#include "frame/startup.h"
#include "frame/tloginform.h"
#include "frame/tmain.h"
#include "ui/fonts.h"
#include <QApplication>
#include <QDir>
#include <QLockFile>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumareth"));

    // One copy at a time. The lock of a copy that crashed is stale (its process is gone) and
    // is taken over; a second start while the first runs ends at once without a word.
    QLockFile instance(QDir(QDir::tempPath()).filePath(QStringLiteral("marloteckehuguanli.lock")));
    instance.setStaleLockTime(0);
    if (!instance.tryLock(0))
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
    return app.exec();
}
