#include "admin/maintenance.h"
#include "data/autobackup.h"
#include "data/backup.h"
#include "data/dates.h"
#include "data/programfolder.h"
#include "ui/session.h"
#include <QDir>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("BAK文件 (*.BAK);;所有文件 (*.*)");
const QString kBakFilter = QStringLiteral("BAK文件 (*.BAK)");
} // namespace

namespace Maintenance {

QString backupFile(const QString& chosen) {
    return chosen + QStringLiteral(".bak");
}

void backup(Session& session, QWidget* parent) {
    if (session.backupFileName.isEmpty())
        session.backupFileName = Dates::shortDate(QDate::currentDate());
    FileDialogSpec request;
    request.caption = QStringLiteral("数据备份");
    request.fileName = QFileInfo(session.backupFileName).isAbsolute()
                        ? session.backupFileName
                        : QDir(ProgramFolder::path()).filePath(session.backupFileName);
    request.filter = kFilter;
    request.selectedFilter = kBakFilter;
    const QString chosen = session.files().save(parent, request);
    if (chosen.isEmpty())
        return;
    session.backupFileName = chosen;
    try {
        session.dm().backupTo(backupFile(chosen));
    } catch (const DbError&) {
        session.messages().error(parent, QStringLiteral("备份数据失败，请重试！!"), QStringLiteral("错误！"));
        return;
    }
    session.messages().info(parent, QStringLiteral("备份数据成功！"), QStringLiteral("提示！"));
}

void restore(Session& session, QWidget* parent) {
    if (!session.messages().ask(parent, QStringLiteral("数据库恢复将要覆盖原来数据库中所有的数据，继续吗？"),
                                QStringLiteral("数据恢复")))
        return;
    FileDialogSpec request;
    request.caption = QStringLiteral("数据恢复");
    // The dialog opens at the newest automatic backup.
    const AutoBackup::Settings automatic = AutoBackup::settings();
    const QStringList kept = AutoBackup::backups(automatic);
    if (!kept.isEmpty())
        request.fileName = kept.first();
    else if (QFileInfo(automatic.folder).isDir())
        request.fileName = automatic.folder;
    else
        request.fileName = QFileInfo(session.backupFileName).isAbsolute() ? QFileInfo(session.backupFileName).path()
                                                                       : ProgramFolder::path();
    request.filter = kFilter;
    request.selectedFilter = kBakFilter;
    const QString chosen = session.files().open(parent, request);
    if (chosen.isEmpty())
        return;
    try {
        session.dm().restoreFrom(chosen, session.operatorNumber);
    } catch (const DbError&) {
        session.messages().error(parent, QStringLiteral("恢复数据失败，请重试！!"), QStringLiteral("错误！"));
        return;
    }
    session.messages().info(parent, QStringLiteral("恢复数据成功！"), QStringLiteral("提示！"));
}

void initialise(Session& session, QWidget* parent) {
    if (!session.messages().ask(
            parent,
            QStringLiteral(
                "确实进行数据初始化？如果进行本项操作，将要清空数据库中的全部内容！该操作不可恢复！"),
            QStringLiteral("数据初始化")))
        return;
    TDM1& dm = session.dm();
    // Wholly or not at all: a failure leaves the database as it was.
    // The change log stays, with a line of what was emptied.
    dm.transaction([&] {
        QStringList removed;
        for (const char* t : {"dinggou", "客户信息", "收款记录", "维修记录", "帐款明细", "维修项目", "操作员", "乡镇"}) {
            const QString table = QString::fromUtf8(t);
            const int n = dm.ADOall.exec(QStringLiteral("delete from %1").arg(TDM1::quoteId(table)));
            removed << QStringLiteral("%1：%2条").arg(table).arg(n);
        }
        dm.writeSeedRows();
        dm.logChange(session.operatorNumber, {QStringLiteral("初始化"), {}, {}, removed.join(QStringLiteral("；")),
                                              QStringLiteral("维修项目：6条；操作员：1条（0001 系统管理员）")});
    });
    session.messages().info(parent, QStringLiteral("初始化成功！"), QStringLiteral("提示！"));
}
} // namespace Maintenance
