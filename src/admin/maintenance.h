#pragma once
#include <QString>

class QWidget;
class Session;

// The window-less maintenance commands of the "系统设置" menu.
namespace Maintenance {
// The file a backup under the chosen name is written to: ".bak" is always appended.
QString backupFile(const QString& chosen);
void backup(Session& session, QWidget* parent);
void restore(Session& session, QWidget* parent);
// Empties the database and puts back the administrator and the six repair items, all at once.
void initialise(Session& session, QWidget* parent);
} // namespace Maintenance
