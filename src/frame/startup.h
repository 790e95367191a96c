#pragma once
#include <QLockFile>
#include <memory>

class Session;

namespace Startup {
// The lock that lets one copy of the program run at a time, or null when another copy holds it.
// The lock of a copy that crashed is stale (its process is gone) and is taken over.
std::unique_ptr<QLockFile> singleInstance();
// Opens the database in the program folder; when it cannot be opened, says so and returns false.
bool openDatabase(Session& session);
// Installs Qt's own Chinese texts, so standard buttons read 确定 and 取消.
void installTranslator();
} // namespace Startup
