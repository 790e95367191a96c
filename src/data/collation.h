#pragma once
struct sqlite3;

namespace Collation {
// Registers PINYIN on the connection: Chinese in pinyin order, letter case ignored.
void registerPinyin(sqlite3* db);
// The same order for two texts, for code that sorts outside the database.
int compare(const char* a, int na, const char* b, int nb);
// The same order computed without the cached sort keys (slower; for checking the fast path).
int compareUncached(const char* a, int na, const char* b, int nb);
} // namespace Collation
