// Exhaustive sweep: every reading with four decimals times every temperature
// with one decimal inside each table's limits, through the whole procedure
// from texts. Prints per table the number of conversions, the rate, the
// solver's largest work, how often the bracketing fallback ran, the slowest
// single conversion and an FNV-1a checksum over all result texts in order,
// so that two builds can be compared.
#include "Conversion.h"
#include "InputGrid.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    long long conversions = 0;
    long long refused = 0;      // must stay 0 inside the limits
    long long unconverted = 0;  // 1D readings below 0.6 after correction
    long long fallbacks = 0;    // conversions that needed the bracketing fallback
    int maxPasses = 0;
    std::string maxPassesInput;
    double slowestSeconds = 0.0;
    std::string slowestInput;
    std::uint64_t checksum = 14695981039346656037ULL;
    double seconds = 0.0;
};

void Hash(std::uint64_t& hash, std::string_view text)
{
    for (char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    hash = (hash ^ '\n') * 1099511628211ULL;
}

std::string Describe(const std::string& reading, const std::string& temperature)
{
    std::string text = reading;
    text.append(" g/cm3 at ").append(temperature).append(" degC");
    return text;
}

Figures Sweep(const densimo::bench::TableGrid& g)
{
    Figures f;
    const Clock::time_point start = Clock::now();
    for (int t = g.temperatureFrom; t <= g.temperatureTo; ++t) {
        const std::string temperature = densimo::bench::DecimalText(t, 1);
        for (int r = g.readingFrom; r <= g.readingTo; ++r) {
            const std::string reading = densimo::bench::DecimalText(r, 4);
            densimo::SolverWork work;
            const Clock::time_point before = Clock::now();
            const densimo::Outcome outcome =
                densimo::ConvertTexts(g.product, reading, temperature, &work);
            const double seconds = std::chrono::duration<double>(Clock::now() - before).count();
            ++f.conversions;
            if (!outcome.converted) {
                ++f.refused;
                Hash(f.checksum, outcome.message);
                continue;
            }
            Hash(f.checksum, outcome.Text());
            f.unconverted += work.passes == 0 ? 1 : 0;
            f.fallbacks += work.fallbacks > 0 ? 1 : 0;
            if (work.passes > f.maxPasses) {
                f.maxPasses = work.passes;
                f.maxPassesInput = Describe(reading, temperature);
            }
            if (seconds > f.slowestSeconds) {
                f.slowestSeconds = seconds;
                f.slowestInput = Describe(reading, temperature);
            }
        }
    }
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return f;
}

}  // namespace

int main()
{
    std::uint64_t all = 14695981039346656037ULL;
    double total = 0.0;
    for (const auto& g : densimo::bench::kTableGrids) {
        const Figures f = Sweep(g);
        total += f.seconds;
        std::printf("table %s: %lld conversions in %.2f s (%.0f per second)\n", g.name,
                    f.conversions, f.seconds, static_cast<double>(f.conversions) / f.seconds);
        std::printf("  refused %lld, returned unconverted (below 0.6 after correction) %lld\n",
                    f.refused, f.unconverted);
        std::printf("  most solver passes %d (%s); bracketing fallback in %lld conversions\n",
                    f.maxPasses, f.maxPassesInput.c_str(), f.fallbacks);
        std::printf("  slowest conversion %.1f us (%s)\n", f.slowestSeconds * 1e6,
                    f.slowestInput.c_str());
        std::printf("  checksum %016llx\n", static_cast<unsigned long long>(f.checksum));
        Hash(all, std::to_string(f.checksum));
    }
    std::printf("all tables: %.2f s, checksum %016llx\n", total,
                static_cast<unsigned long long>(all));
    return 0;
}
