#include "frame/startup.h"
#include "data/databasechoice.h"
#include "ui/session.h"
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Startup {
std::unique_ptr<QLockFile> singleInstance() {
    auto lock = std::make_unique<QLockFile>(
        QDir(QDir::tempPath()).filePath(QStringLiteral("marloteckehuguanli.lock")));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

bool openDatabase(Session& session) {
    try {
        session.dm().closeConnection();
        DatabaseChoice::open(session.dm());
        return true;
    } catch (const DbError&) {
        session.messages().error(nullptr, QStringLiteral("无法连接到指定的数据库！请重试！"),
                                 QStringLiteral("错误"));
        return false;
    }
}

void installTranslator() {
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}
} // namespace Startup
