#pragma once
#include <QString>

class TDM1;

// Which database the program works on: the embedded file in the program folder (the default), or a
// PostgreSQL server, as the settings file's section 数据库 says (类型 SQLite or PostgreSQL, 连接 a
// libpq connection string). The environment variable LUMARETH_DATABASE, when set, overrides both:
// "SQLite", or "PostgreSQL:" followed by the connection string.
namespace DatabaseChoice {
struct Choice {
    bool server = false;
    QString connection; // the connection string on a server
};
// Throws DbError for a type that is neither.
Choice configured();
// Opens the chosen database; the reason of a failure also goes to standard error.
void open(TDM1& dm);
} // namespace DatabaseChoice
