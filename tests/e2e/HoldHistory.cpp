// e2e-hold-history DATABASE READY RELEASE: holds the database's write lock as another program
// would, creating the file READY once it holds it and letting go when the file RELEASE appears.
// e2e-hold-history DATABASE --count: prints how many runs the history holds.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
constexpr useconds_t kPollUs = 50000;

int Fail(sqlite3* db, const char* what) {
    std::fprintf(stderr, "e2e-hold-history: %s: %s\n", what, sqlite3_errmsg(db));
    sqlite3_close(db);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: e2e-hold-history DATABASE READY RELEASE | DATABASE --count\n");
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        return Fail(db, "cannot open the database");
    }
    if (argc == 3 && std::string(argv[2]) == "--count") {
        sqlite3_stmt* count = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM run", -1, &count, nullptr) != SQLITE_OK ||
            sqlite3_step(count) != SQLITE_ROW) {
            return Fail(db, "cannot count the runs");
        }
        std::printf("%lld\n", static_cast<long long>(sqlite3_column_int64(count, 0)));
        sqlite3_finalize(count);
        sqlite3_close(db);
        return 0;
    }
    if (argc != 4) {
        sqlite3_close(db);
        return 2;
    }
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail(db, "cannot take the lock");
    }
    std::ofstream(argv[2]).close();
    while (access(argv[3], F_OK) != 0) {
        usleep(kPollUs);
    }
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return committed ? 0 : 1;
}
