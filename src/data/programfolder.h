#pragma once
#include <QString>

// Where the program keeps its database, settings file and help. LUMARETH_HOME names the folder
// when set; otherwise the executable's folder when it is writable and not an installed copy;
// otherwise the user's data folder.
namespace ProgramFolder {
QString path();
QString databaseFile(); // <folder>/database/database.db
QString iniFile();      // <folder>/myini.ini
QString helpFile();     // help.chm when present, else the shipped HTML guide; empty when neither exists
} // namespace ProgramFolder
