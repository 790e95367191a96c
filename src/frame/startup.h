#pragma once

class Session;

namespace Startup {
// Opens the database in the program folder; when it cannot be opened, says so and returns false.
bool openDatabase(Session& session);
// Installs Qt's own Chinese texts, so standard buttons read 确定 and 取消.
void installTranslator();
} // namespace Startup
