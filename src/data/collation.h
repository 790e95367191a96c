#pragma once
struct sqlite3;

namespace Collation {
// Registers PINYIN on the connection: Chinese in pinyin order, letter case ignored.
void registerPinyin(sqlite3* db);
// The same order for two texts, for code that sorts outside the database.
int compare(const char* a, int na, const char* b, int nb);
// The same order computed without the cached sort keys (slower; for checking the fast path).
int compareUncached(const char* a, int na, const char* b, int nb);
// A number that changes when the order itself changes (a new ICU on the machine): the indexes
// built in the old order must then be built again. Never 0.
int signature();
} // namespace Collation
