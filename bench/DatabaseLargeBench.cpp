// A full walk over a table of 1,000,000 records, as a database import does
// it: open the file, open the table, and for every record read the sequence
// and the series field by name and coerce both to doubles. Target: at most
// one second for each of an SQLite table (INTEGER seq, REAL val) and a
// delimited-text file of the same numbers. The check of an SQLite file's
// structure that precedes such a walk in an import is timed on its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "bench/BenchData.h"
#include "platform/db/OpenDatabase.h"

namespace {

constexpr std::size_t kRecords = 1000000;

const std::string& SqliteFile()
{
    static std::string path;
    if (!path.empty())
        return path;
    path = bench::ScratchDir() + "/walk.sqlite";
    const std::vector<double> walk = bench::RandomWalk(kRecords);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        bench::Die("cannot create the SQLite file");
    if (sqlite3_exec(db, "CREATE TABLE walk (seq INTEGER, val REAL); BEGIN;", nullptr, nullptr, nullptr) != SQLITE_OK)
        bench::Die("cannot create the SQLite table");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO walk VALUES (?1, ?2);", -1, &insert, nullptr);
    for (std::size_t i = 0; i < kRecords; ++i) {
        sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(i));
        sqlite3_bind_double(insert, 2, walk[i]);
        if (sqlite3_step(insert) != SQLITE_DONE)
            bench::Die("cannot write the SQLite table");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK || sqlite3_close(db) != SQLITE_OK)
        bench::Die("cannot write the SQLite file");
    return path;
}

const std::string& CsvFile()
{
    static std::string path;
    if (!path.empty())
        return path;
    path = bench::ScratchDir() + "/walk.csv";
    const std::vector<double> walk = bench::RandomWalk(kRecords);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        bench::Die("cannot create the delimited-text file");
    std::fprintf(f, "seq,val\n");
    for (std::size_t i = 0; i < kRecords; ++i)
        std::fprintf(f, "%zu,%.17g\n", i, walk[i]);
    if (std::fclose(f) != 0)
        bench::Die("cannot write the delimited-text file");
    return path;
}

void WalkTable(benchmark::State& state, const std::string& path, const std::string& table)
{
    std::size_t records = 0;
    for (auto _ : state) {
        auto db = OpenDatabase(path);
        auto rs = db->OpenRecordset(table);
        double sum = 0.0;
        records = 0;
        for (; !rs->IsEOF(); rs->MoveNext()) {
            const auto x = VariantToDouble(rs->GetFieldValue("seq"));
            const auto y = VariantToDouble(rs->GetFieldValue("val"));
            if (!x || !y) {
                state.SkipWithError("a field has no numeric reading");
                return;
            }
            sum += *x + *y;
            ++records;
        }
        benchmark::DoNotOptimize(sum);
    }
    if (records != kRecords)
        state.SkipWithError("the walk did not see every record");
    state.counters["records"] = static_cast<double>(records);
}

void Walk(benchmark::State& state, const std::string& path)
{
    try {
        WalkTable(state, path, "walk");
    } catch (const CDatabaseError& e) {
        state.SkipWithError(e.what());
    }
}

void BM_WalkSqliteTable(benchmark::State& state) { Walk(state, SqliteFile()); }

// The structure check an import runs on an SQLite file before its walk.
void BM_CheckSqliteFile(benchmark::State& state)
{
    const std::string& path = SqliteFile();
    try {
        for (auto _ : state) {
            auto db = OpenDatabase(path);
            db->CheckIntegrity();
        }
    } catch (const CDatabaseError& e) {
        state.SkipWithError(e.what());
    }
}
void BM_WalkCsvFile(benchmark::State& state) { Walk(state, CsvFile()); }

BENCHMARK(BM_WalkSqliteTable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckSqliteFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkCsvFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
