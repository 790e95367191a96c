#pragma once
#include <QString>
#include <QVariantList>

class TDM1;

// The contains-search over the unit serials ("主机序列号") of sales, repairs, account entries and
// receipts. An ordinary index cannot serve "%text%", so SQLite keeps a trigram full-text index per
// table (FTS5, kept by triggers); what is engine-specific (the index tables, their triggers and
// the match statement) stays here, so another engine can answer the same call its own way.
namespace SerialIndex {

// The four tables whose rows carry a serial, in the order the serial search shows them.
inline constexpr const char* kTables[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};

// Creates the index tables and their triggers in a new database (inside its transaction).
void create(TDM1& dm);
// Checks the index tables and triggers of an open file, building them anew from the records when
// one is missing or not exactly as this program makes it; false when the file cannot be written.
bool keep(TDM1& dm);

// The statement listing the rows of table whose serial contains text (literally, letter case
// ignored), oldest first; its values are appended to params. indexed says whether the file has
// the index (a read-only file of an earlier version is searched row by row).
QString search(const QString& table, const QString& text, bool indexed, QVariantList& params);

} // namespace SerialIndex
