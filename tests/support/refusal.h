#pragma once
#include <QString>

class TDM1;

// Makes the database refuse a change with message, as a failing disk or a locked file would, on
// whichever engine runs: a trigger before change ("insert", "update", "delete") of table that
// raises message when condition (written with new. and old. as in a trigger) holds.
void refuseChange(TDM1& dm, const QString& change, const QString& table, const QString& message,
                  const QString& condition = QString());
