// Loading the 100,000-record table Series of an Access file: opening the
// file, walking every record, reading both fields as variants and coercing
// them to doubles, as the database import does. Target: at most 0.5 s.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "platform/db/OpenDatabase.h"

namespace {

void BM_AccessSeriesLoad(benchmark::State& state)
{
    const std::string path = std::string(KESTRIN_DB_FIXTURES_DIR) + "/series.mdb";
    for (auto _ : state) {
        auto db = OpenDatabase(path);
        auto rs = db->OpenRecordset("Series");
        const int x = rs->FieldIndex("Seq");
        const int y = rs->FieldIndex("Val");
        double sum = 0.0;
        std::size_t records = 0;
        for (; !rs->IsEOF(); rs->MoveNext(), ++records) {
            const std::optional<double> xv = VariantToDouble(rs->GetFieldValue(x));
            const std::optional<double> yv = VariantToDouble(rs->GetFieldValue(y));
            sum += xv.value_or(0.0) + yv.value_or(0.0);
        }
        if (records != 100000) {
            state.SkipWithError("Series did not give 100,000 records");
            break;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
// The records are read by a reader process, so only wall-clock time counts.
BENCHMARK(BM_AccessSeriesLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
