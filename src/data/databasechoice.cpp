#include "data/databasechoice.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "data/tdm1.h"
#include <cstdio>

namespace DatabaseChoice {
Choice configured() {
    QString kind;
    QString connection;
    const QByteArray env = qgetenv("LUMARETH_DATABASE");
    if (!env.isEmpty()) {
        const QString text = QString::fromUtf8(env);
        kind = text.section(u':', 0, 0).trimmed();
        connection = text.section(u':', 1);
    } else {
        const QString ini = ProgramFolder::iniFile();
        kind = IniFile::read(ini, QStringLiteral("数据库"), QStringLiteral("类型"), QStringLiteral("SQLite"))
                   .trimmed();
        connection = IniFile::read(ini, QStringLiteral("数据库"), QStringLiteral("连接"));
    }
    Choice c;
    if (kind.isEmpty() || kind.compare(QStringLiteral("SQLite"), Qt::CaseInsensitive) == 0)
        return c;
    if (kind.compare(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive) != 0)
        throw DbError(QStringLiteral("未知的数据库类型“%1”").arg(kind));
    c.server = true;
    c.connection = connection.trimmed();
    return c;
}

void open(TDM1& dm) {
    try {
        const Choice c = configured();
        if (c.server)
            dm.openServer(c.connection);
        else
            dm.open(ProgramFolder::databaseFile());
    } catch (const DbError& e) {
        std::fprintf(stderr, "lumareth: %s\n", e.text().toLocal8Bit().constData());
        throw;
    }
}
} // namespace DatabaseChoice
