// Texts of readings and temperatures on exact decimal grids, as a user types
// them: readings with four decimals, temperatures with one.
#pragma once

#include "Table.h"

#include <string>

namespace densimo::bench {

// Text of value / 10^places, e.g. (6530, 4) -> "0.6530", (-185, 1) -> "-18.5".
inline std::string DecimalText(long long value, int places)
{
    return cli::DecimalRange{value, value, 1, places}.Text(0, places);
}

// Grid of one table in units of 0.0001 g/cm3 and 0.1 degC (bounds included).
struct TableGrid {
    const char* name;
    int product;
    int readingFrom, readingTo;          // 1e-4 g/cm3
    int temperatureFrom, temperatureTo;  // 0.1 degC
};

inline constexpr TableGrid kTableGrids[] = {
    {"1A", 0, 6120, 10740, -180, 1500},
    {"1B", 1, 6530, 10730, -180, 1500},
    {"1D", 2, 2080, 11640, -200, 1500},
};

}  // namespace densimo::bench
