// The conversion procedure behind the convert button, shared by the window
// and the command-line tool: parse the reading (g/cm3) and the temperature
// (degC) texts, check them against the JIS K 2249 table of the product,
// correct the reading for the thermal expansion of the glass hydrometer,
// convert it to 15 degC and format the result with four decimals.
#pragma once

#include "NumberText.h"

#include <string_view>

namespace densimo {

// Accepted ranges of one product table (bounds included) and the warning
// shown when a value falls outside; the reading is tested before correction.
struct ProductLimits {
    double readingLow;       // g/cm3
    double readingHigh;      // g/cm3
    double temperatureLow;   // degC
    double temperatureHigh;  // degC
    std::string_view readingMessage;
    std::string_view temperatureMessage;
};

// Limits of table 1A (0), 1B (1) or 1D (2); nullptr for any other index.
const ProductLimits* LimitsForProduct(int product) noexcept;

// Product index of a table name "1A", "1B" or "1D"; -1 for anything else.
int ProductFromTableName(std::string_view name) noexcept;

enum class Verdict {
    Accepted,            // both values in range
    ReadingRefused,      // message holds the density warning
    TemperatureRefused,  // the reading passed; message holds the temperature warning
    NoSuchProduct,       // index outside 0-2: nothing checked, nothing stored
};

struct Validation {
    Verdict verdict = Verdict::NoSuchProduct;
    double reading = 0.0;      // g/cm3, parsed (valid unless ReadingRefused/NoSuchProduct)
    double temperature = 0.0;  // degC, parsed (valid when Accepted)
    std::string_view message;  // the warning, empty unless refused
};

// Parses both texts with ParseDecimal and checks them, density first, so that
// when both are wrong only the density warning is given.
Validation ValidateTexts(int product, std::string_view reading,
                         std::string_view temperature) noexcept;

// Hydrometer reading (g/cm3) corrected for the glass's thermal expansion at
// `temperature` (degC): reading * ((1 - dt * 2.3e-5) - dt^2 * 2e-8), dt = t - 15.
double GlassCorrected(double reading, double temperature) noexcept;

// Density at 15 degC (g/cm3, 4 places) of an accepted reading (g/cm3) at
// `temperature` (degC): glass correction rounded to 5 places, then the
// calculator with the temperature narrowed to float. A corrected reading
// outside the calculator's range (1D readings below 0.6 after correction)
// comes back unconverted.
// `work`, when given, receives the solver's passes and fallbacks.
struct SolverWork {
    int passes = 0;
    int fallbacks = 0;
};
double ConvertAccepted(int product, double reading, double temperature,
                       SolverWork* work = nullptr) noexcept;

// The whole procedure from texts: either the result text (as "%6.4lf") or the
// warning message.
struct Outcome {
    bool converted = false;
    double density = 0.0;      // g/cm3 at 15 degC when converted
    std::string_view message;  // the warning when not converted
    FixedText text;            // the result text when converted

    std::string_view Text() const noexcept { return text.view(); }
};
Outcome ConvertTexts(int product, std::string_view reading, std::string_view temperature,
                     SolverWork* work = nullptr) noexcept;

}  // namespace densimo
