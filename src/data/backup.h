#pragma once
#include <QList>
#include <QString>

class TDM1;

// Whole-database copies through SQLite's online backup, so a copy is consistent while the
// program keeps its connection open. Every failure is a DbError with a clear text.
namespace DbBackup {
// Writes a copy of the open database to file, created readable by the owner only. A file of
// that name is replaced only once the copy is complete.
void backupTo(TDM1& dm, const QString& file);

// Checks that file is a sound database of this program: it opens, passes the integrity check
// and has the eight tables with their columns. Throws DbError naming what is wrong.
void validate(TDM1& dm, const QString& file);

// Replaces the open database with the one in file. The file is checked first; a file that
// fails leaves the database untouched. The replaced database is kept beside it as
// <database>.before-restore, and the connection (with its open shared queries) is opened again.
// The restored database keeps its own change log and gets a line for the restore by
// operatorNumber, written into it before it takes the place of the current one.
void restoreFrom(TDM1& dm, const QString& file, const QString& operatorNumber = {});

// Like backupTo, but the copy takes the name file only once it is verified: it opens, passes the
// integrity check, and each of the eight tables holds as many rows as in the open database. The
// check runs beside the window, which keeps its events meanwhile.
void backupVerified(TDM1& dm, const QString& file);

// The check of backupVerified on a file already written: counts are those of the eight tables, in
// the order of tableCounts.
void verifyCopy(const QString& file, const QList<qlonglong>& counts);
// The row counts of the open database's eight tables.
QList<qlonglong> tableCounts(TDM1& dm);

// Name of the safety copy that a restore leaves beside the database file.
QString safetyCopyName(const QString& databaseFile);
} // namespace DbBackup
