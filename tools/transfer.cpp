// lumareth-transfer FROM TO: copies a shop's database into a new one, between the embedded file
// and a PostgreSQL server either way. FROM and TO are each an SQLite file, or "PostgreSQL:"
// followed by a libpq connection string.
#include "data/transfer.h"
#include "data/dberror.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(
            stderr,
            "用法：lumareth-transfer 来源 目标\n"
            "  来源、目标：SQLite 数据库文件，或 PostgreSQL:连接串（如 PostgreSQL:host=srv dbname=shop）\n");
        return 2;
    }
    try {
        for (const QString& line : Transfer::copy(args[1], args[2]))
            std::printf("%s\n", line.toUtf8().constData());
        std::printf("复制完成。\n");
        return 0;
    } catch (const DbError& e) {
        std::fprintf(stderr, "复制失败：%s\n", e.text().toUtf8().constData());
        return 1;
    }
}
