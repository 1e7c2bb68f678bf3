// Throughput of the conversion: the calculator alone, the whole procedure
// from texts, and the batch command on a generated file of 1,000,000 rows.
#include "Batch.h"
#include "Cli.h"
#include "Conversion.h"
#include "DensityCalc.h"
#include "InputGrid.h"
#include "RoundOff.h"
#include "Table.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using densimo::bench::DecimalText;
using densimo::bench::kTableGrids;

// A fixed grid over the table's whole range: every 7th reading step
// (0.0007 g/cm3) times every 13th temperature step (1.3 degC).
struct Input {
    std::string reading;
    std::string temperature;
    double corrected;    // g/cm3, glass-corrected and rounded to 5 places
    float temperatureF;  // degC
};

std::vector<Input> TableGrid(int table)
{
    const auto& g = kTableGrids[table];
    std::vector<Input> inputs;
    for (int r = g.readingFrom; r <= g.readingTo; r += 7) {
        for (int t = g.temperatureFrom; t <= g.temperatureTo; t += 13) {
            Input in{DecimalText(r, 4), DecimalText(t, 1), 0.0, 0.0f};
            const auto v = densimo::ValidateTexts(g.product, in.reading, in.temperature);
            const CRoundOff roundOff;
            in.corrected = roundOff.Round(densimo::GlassCorrected(v.reading, v.temperature), 5);
            in.temperatureF = static_cast<float>(v.temperature);
            inputs.push_back(std::move(in));
        }
    }
    return inputs;
}

struct Grid {
    std::vector<Input> inputs;
    std::vector<int> products;
    std::string label;
};

// Table 0-2, or 3 for the three grids interleaved.
Grid MakeGrid(int table)
{
    Grid grid;
    if (table < 3) {
        grid.inputs = TableGrid(table);
        grid.products.assign(grid.inputs.size(), kTableGrids[table].product);
        grid.label = kTableGrids[table].name;
        return grid;
    }
    const std::vector<Input> each[] = {TableGrid(0), TableGrid(1), TableGrid(2)};
    for (std::size_t i = 0; grid.inputs.size() < each[0].size() * 3; ++i) {
        for (int t = 0; t < 3; ++t) {
            const auto& from = each[t];
            grid.inputs.push_back(from[i % from.size()]);
            grid.products.push_back(kTableGrids[t].product);
        }
    }
    grid.label = "1A+1B+1D";
    return grid;
}

void BM_Convert(benchmark::State& state)
{
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    state.SetLabel(grid.label);
    std::size_t i = 0;
    for (auto _ : state) {
        const Input& in = grid.inputs[i];
        CDensityCalc calc;
        benchmark::DoNotOptimize(
            calc.Convert(grid.products[i], in.temperatureF, in.corrected, BASE_15C, 4));
        i = i + 1 == grid.inputs.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_Convert)->DenseRange(0, 3);

void BM_ProcedureFromTexts(benchmark::State& state)
{
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    state.SetLabel(grid.label);
    std::size_t i = 0;
    for (auto _ : state) {
        const Input& in = grid.inputs[i];
        benchmark::DoNotOptimize(
            densimo::ConvertTexts(grid.products[i], in.reading, in.temperature));
        i = i + 1 == grid.inputs.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_ProcedureFromTexts)->DenseRange(0, 3);

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// 1,000,000 rows cycling through the three tables' grids.
std::string BatchFile()
{
    std::string path = "/tmp/densimo_bench_batch.csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::string text = "table,reading,temperature\n";
    const Grid grid = MakeGrid(3);
    for (std::size_t row = 0; row < 1'000'000; ++row) {
        const std::size_t at = row % grid.inputs.size();
        const Input& in = grid.inputs[at];
        text.append(kTableGrids[grid.products[at]].name).append(",").append(in.reading).append(",");
        text.append(in.temperature).append("\n");
        if (text.size() > (1 << 20)) {
            std::fwrite(text.data(), 1, text.size(), file);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return path;
}

void BM_Batch(benchmark::State& state)
{
    const std::string path = BatchFile();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    const long before = PeakResidentKiB();
    for (auto _ : state) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(densimo::cli::RunBatch(in, path, sink, stderr));
        std::fclose(in);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1'000'000);
    state.counters["peak_rss_growth_KiB"] = static_cast<double>(PeakResidentKiB() - before);
    std::fclose(sink);
    std::remove(path.c_str());
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The default printable tables, CSV and HTML, written to /dev/null.
void BM_Table(benchmark::State& state)
{
    const int table = static_cast<int>(state.range(0));
    const bool html = state.range(1) != 0;
    const char* argv[] = {"densimo-cli", "table", kTableGrids[table].name, "--format",
                          html ? "html" : "csv"};
    std::FILE* sink = std::fopen("/dev/null", "wb");
    long long cells = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(densimo::cli::RunCli(5, argv, stdin, sink, stderr));
    }
    std::fclose(sink);
    densimo::cli::TableRequest request;
    request.product = kTableGrids[table].product;
    densimo::cli::CheckTableRequest(request);
    cells = request.readings->Count() * request.temperatures->Count();
    state.SetLabel(std::string(kTableGrids[table].name) + (html ? " html" : " csv"));
    state.counters["cells_per_second"] =
        benchmark::Counter(static_cast<double>(cells) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Table)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
