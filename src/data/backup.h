#pragma once
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
void restoreFrom(TDM1& dm, const QString& file);

// Name of the safety copy that a restore leaves beside the database file.
QString safetyCopyName(const QString& databaseFile);
} // namespace DbBackup
