#pragma once
#include <QString>
#include <QStringList>

// Moving a shop between the engines: every row of the eight tables from one database into a new
// one, keys included, in one transaction on the target. A place is the file name of an SQLite
// database, or "PostgreSQL:" followed by a libpq connection string.
namespace Transfer {
// Copies from into to, which must be new: a file that does not exist yet, or an empty database on
// the server (one that only holds the schema and seed rows of a new database is taken as empty
// too). Afterwards the count of rows and the sum of every money column of each table are compared
// on both sides. Returns one line per table; throws DbError naming what went wrong.
QStringList copy(const QString& from, const QString& to);
} // namespace Transfer
