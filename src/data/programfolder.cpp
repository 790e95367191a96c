#include "data/programfolder.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {
QString path() {
    const QString env = qEnvironmentVariable("LUMARETH_HOME");
    if (!env.isEmpty()) {
        QDir().mkpath(env);
        return QDir(env).absolutePath();
    }
    const QString exeDir = QCoreApplication::applicationDirPath();
    // An installed copy has its shared data beside it (<prefix>/bin and <prefix>/share/lumareth).
    const bool installed = QDir(exeDir) == QDir(QStringLiteral(LUMARETH_INSTALL_BINDIR)) ||
                           QFileInfo::exists(exeDir + QStringLiteral("/../share/lumareth/help"));
    if (!installed && QFileInfo(exeDir).isWritable())
        return exeDir;
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lumareth");
    QDir().mkpath(data);
    return data;
}

QString databaseFile() { return path() + QStringLiteral("/database/database.db"); }

QString iniFile() { return path() + QStringLiteral("/myini.ini"); }

QString helpFile() {
    const QString folder = path();
    const QStringList candidates = {
        folder + QStringLiteral("/help.chm"),
        folder + QStringLiteral("/help/index.html"),
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/lumareth/help/index.html"),
        QStringLiteral(LUMARETH_INSTALL_DATADIR "/lumareth/help/index.html"),
        QStringLiteral(LUMARETH_SOURCE_DIR "/resources/help/index.html"),
    };
    for (const QString& c : candidates)
        if (QFileInfo::exists(c))
            return QDir::cleanPath(c); // /usr/share/..., not /usr/bin/../share/...
    return {};
}
} // namespace ProgramFolder
