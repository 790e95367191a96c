// A loadable module that gives the sqlite3 shell the program's PINYIN order, so the benchmark
// can run the program's own statements (and use its indexes) in the shell:
//   .load build/tools/lumareth-pinyin sqlite3_extension_init
#include "data/collation.h"
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

namespace {
int pinyin(void*, int na, const void* a, int nb, const void* b) {
    return Collation::compare(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}
} // namespace

extern "C" int sqlite3_extension_init(sqlite3* db, char**, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    return sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, nullptr, &pinyin, nullptr);
}
