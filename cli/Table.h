// The table command: printable conversion tables, every cell the window's
// result text for that reading typed at that temperature.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace densimo::cli {

// A range walked in exact decimal steps: the values are from + k * step,
// k = 0, 1, ..., up to `to`, all held as integers in units of 10^-places, so
// no floating-point drift accumulates. The text of a value is the decimal as
// a user would type it, with `places` decimals.
struct DecimalRange {
    long long from = 0;
    long long to = 0;
    long long step = 1;
    int places = 0;

    long long Count() const { return (to - from) / step + 1; }
    long long Value(long long index) const { return from + index * step; }
    // Text of the value at `index` with `decimals` (>= places) decimals.
    std::string Text(long long index, int decimals) const;
};

// Parses "FROM:TO:STEP" (plain decimals, at most `maxPlaces` decimals).
// On failure returns nothing and sets `error`.
std::optional<DecimalRange> ParseRange(std::string_view text, int maxPlaces, std::string* error);

enum class TableFormat { Csv, Html };

struct TableRequest {
    int product = 0;
    std::optional<DecimalRange> readings;      // g/cm3; whole table range when absent
    std::optional<DecimalRange> temperatures;  // degC; whole table range when absent
    TableFormat format = TableFormat::Csv;
};

// Checks the request against the table's limits and the cell limit; returns
// an empty string when it can be made, else the reason. Fills the ranges in.
std::string CheckTableRequest(TableRequest& request);

// Writes the table to `out`; 0 when written, else the errno of the failure.
int WriteTable(const TableRequest& request, std::FILE* out);

// The text of one cell: the result the window shows, or empty when it would
// refuse the pair.
std::string TableCell(int product, std::string_view reading, std::string_view temperature);

// Most cells one table may have.
inline constexpr long long kMaxTableCells = 5'000'000;

}  // namespace densimo::cli
