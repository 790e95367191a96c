#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class TDM1;

// The backups the program keeps by itself: one a day, into a folder set in myini.ini (section
// 自动备份: 目录, default the folder "backup" in the program folder; 保留天数, default 30), named
// by the day ("2026-12-09.bak"), readable by their owner only. A file of that name is there only
// once it has been verified, so the day's backup is done when its file exists.
namespace AutoBackup {
struct Settings {
    QString folder;
    int keepDays = 30;
    // The default folder is made when missing; a folder the shop named (a USB stick, a share) is
    // not, since making it would put the backups on the local disk instead.
    bool folderNamed = false;
};

Settings settings();
QString fileName(const QDate& day);
// The day's backup file in the folder.
QString fileFor(const Settings& s, const QDate& day);
bool doneFor(const Settings& s, const QDate& day);
// The dated backups in the folder, newest first.
QStringList backups(const Settings& s);

// Writes and verifies the day's backup, then removes those beyond the kept days. Throws DbError
// with the reason when the backup cannot be made; nothing else is changed then.
void run(TDM1& dm, const Settings& s, const QDate& today);
// Keeps the dated backups of the last keepDays days, today included, and removes the older ones;
// never the newest one.
void prune(const Settings& s, const QDate& today);
} // namespace AutoBackup
