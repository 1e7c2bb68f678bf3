#include "Conversion.h"

#include "DensityCalc.h"
#include "RoundOff.h"

#include <cmath>

namespace densimo {
namespace {

// JIS K 2249 tables 1A, 1B and 1D: the readings and temperatures that the
// printed tables cover. The messages are the program's own texts, kept
// exactly (the 1B density message has no blanks around the wave dash).
constexpr ProductLimits kLimits[] = {
    {0.612, 1.074, -18.0, 150.0, "密度範囲は 0.6120 ～ 1.0740 です",
     "温度範囲は -18.00 ～ 150.00 です"},
    {0.653, 1.073, -18.0, 150.0, "密度範囲は 0.6530～1.0730 です",
     "温度範囲は -18.00 ～ 150.00 です"},
    {0.208, 1.164, -20.0, 150.0, "密度範囲は 0.2080 ～ 1.1640 です", "温度範囲は -20 ～ 150 です"},
};

}  // namespace

const ProductLimits* LimitsForProduct(int product) noexcept
{
    return product >= 0 && product < 3 ? &kLimits[product] : nullptr;
}

int ProductFromTableName(std::string_view name) noexcept
{
    if (name == "1A") {
        return PRODUCT_CRUDE;
    }
    if (name == "1B") {
        return PRODUCT_FUEL;
    }
    if (name == "1D") {
        return PRODUCT_LUBE;
    }
    return -1;
}

Validation ValidateTexts(int product, std::string_view reading,
                         std::string_view temperature) noexcept
{
    Validation v;
    const ProductLimits* limits = LimitsForProduct(product);
    if (limits == nullptr) {
        return v;
    }
    const double parsedReading = ParseDecimal(reading);
    const double parsedTemperature = ParseDecimal(temperature);
    // Written as "not inside" so that a NaN could never pass.
    if (!(parsedReading >= limits->readingLow && parsedReading <= limits->readingHigh)) {
        v.verdict = Verdict::ReadingRefused;
        v.message = limits->readingMessage;
        return v;
    }
    v.reading = parsedReading;
    if (!(parsedTemperature >= limits->temperatureLow &&
          parsedTemperature <= limits->temperatureHigh)) {
        v.verdict = Verdict::TemperatureRefused;
        v.message = limits->temperatureMessage;
        return v;
    }
    v.temperature = parsedTemperature;
    v.verdict = Verdict::Accepted;
    return v;
}

double GlassCorrected(double reading, double temperature) noexcept
{
    const double dt = temperature - 15.0;
    const double factor = (1.0 - dt * 2.3e-05) - std::pow(dt, 2.0) * 2e-08;
    return factor * reading;
}

double ConvertAccepted(int product, double reading, double temperature, SolverWork* work) noexcept
{
    const CRoundOff roundOff;
    const double corrected = roundOff.Round(GlassCorrected(reading, temperature), 5);
    CDensityCalc calc;
    const double result =
        calc.Convert(product, static_cast<float>(temperature), corrected, BASE_15C, 4);
    if (work != nullptr) {
        work->passes = calc.LastPasses();
        work->fallbacks = calc.LastFallbacks();
    }
    return result;
}

Outcome ConvertTexts(int product, std::string_view reading, std::string_view temperature,
                     SolverWork* work) noexcept
{
    Outcome outcome;
    const Validation v = ValidateTexts(product, reading, temperature);
    if (v.verdict != Verdict::Accepted) {
        outcome.message = v.message;
        return outcome;
    }
    outcome.converted = true;
    outcome.density = ConvertAccepted(product, v.reading, v.temperature, work);
    outcome.text = FixedText(outcome.density);
    return outcome;
}

}  // namespace densimo
