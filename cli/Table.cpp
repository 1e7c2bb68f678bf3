#include "Table.h"

#include "Conversion.h"
#include "Csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace densimo::cli {
namespace {

// Default steps: readings every 0.0010 g/cm3, temperatures every 0.5 degC.
constexpr long long kDefaultReadingStep = 10;     // units of 1e-4
constexpr long long kDefaultTemperatureStep = 5;  // units of 1e-1
constexpr int kReadingDecimals = 4;               // readings are shown with four decimals
constexpr int kColumnsPerPage = 15;               // readings across one printed page

// Table names in Japanese for the headings: JIS K 2249 tables 1A, 1B, 1D.
constexpr std::string_view kTableHeadings[] = {"表1A 原油", "表1B 燃料油", "表1D 潤滑油"};
constexpr std::string_view kTableNames[] = {"1A", "1B", "1D"};

long long Pow10(int places)
{
    long long scale = 1;
    for (int i = 0; i < places; ++i) {
        scale *= 10;
    }
    return scale;
}

// A plain decimal "-12.345" as an integer in units of 10^-places, where
// places is the number of decimals written. False for anything else.
bool ParseFixed(std::string_view text, int maxPlaces, long long* value, int* places)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+')) {
        ++i;
    }
    long long magnitude = 0;
    int integerDigits = 0;
    int decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                ++decimals;
            } else {
                ++integerDigits;
            }
            if (integerDigits > 9 || decimals > maxPlaces) {
                return false;
            }
            magnitude = magnitude * 10 + (c - '0');
        } else {
            return false;
        }
    }
    if (integerDigits + decimals == 0) {
        return false;
    }
    *value = negative ? -magnitude : magnitude;
    *places = decimals;
    return true;
}

std::string DateText()
{
    // SOURCE_DATE_EPOCH, when set, fixes the date for reproducible output.
    std::time_t now = std::time(nullptr);
    bool utc = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        long long seconds = 0;
        const std::string_view text(epoch);
        if (std::from_chars(text.data(), text.data() + text.size(), seconds).ec == std::errc{}) {
            now = static_cast<std::time_t>(seconds);
            utc = true;
        }
    }
    const std::tm* parts = utc ? std::gmtime(&now) : std::localtime(&now);
    if (parts == nullptr) {
        return {};
    }
    char text[16];
    // Integers only: locale-free.
    const auto put = [](char* at, int value, int width) {
        for (int k = width - 1; k >= 0; --k) {
            at[k] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(text, parts->tm_year + 1900, 4);
    text[4] = '-';
    put(text + 5, parts->tm_mon + 1, 2);
    text[7] = '-';
    put(text + 8, parts->tm_mday, 2);
    return std::string(text, 10);
}

// The reading texts across the table, made once rather than for every cell.
// The table's limits keep them few (at most 9,561 at 0.0001 g/cm3 steps).
std::vector<std::string> ReadingTexts(const DecimalRange& readings)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(readings.Count()));
    for (long long i = 0; i < readings.Count(); ++i) {
        texts.push_back(readings.Text(i, kReadingDecimals));
    }
    return texts;
}

// A table's limits (g/cm3 or degC) as a range in units of 10^-places.
DecimalRange LimitRange(double low, double high, long long step, int places)
{
    const double scale = static_cast<double>(Pow10(places));
    return {std::llround(low * scale), std::llround(high * scale), step, places};
}

void WriteCsv(const TableRequest& r, OutputBuffer& out)
{
    const std::vector<std::string> readings = ReadingTexts(*r.readings);
    const DecimalRange& temperatures = *r.temperatures;
    out.Raw("temperature");
    for (const std::string& reading : readings) {
        out.Char(',');
        out.Raw(reading);
    }
    out.EndLine("\n");
    for (long long t = 0; t < temperatures.Count() && !out.Failed(); ++t) {
        const std::string temperature = temperatures.Text(t, temperatures.places);
        out.Raw(temperature);
        for (const std::string& reading : readings) {
            out.Char(',');
            out.Raw(TableCell(r.product, reading, temperature));
        }
        out.EndLine("\n");
    }
}

void WriteHtml(const TableRequest& r, OutputBuffer& out)
{
    const std::vector<std::string> readings = ReadingTexts(*r.readings);
    const DecimalRange& temperatures = *r.temperatures;
    const std::string_view heading = kTableHeadings[r.product];
    const auto columns = static_cast<long long>(readings.size());
    const long long pages = (columns + kColumnsPerPage - 1) / kColumnsPerPage;
    const std::string date = DateText();

    out.Raw(
        "<!DOCTYPE html>\n"
        "<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>");
    out.Raw(heading);
    out.Raw(
        " 15℃換算密度表</title>\n"
        "<style>\n"
        "@page { size: A4 landscape; margin: 12mm 10mm; }\n"
        "body { font-family: \"IPAPGothic\", \"MS PGothic\", sans-serif; font-size: 9pt;"
        " color: #000; background: #fff; margin: 0; }\n"
        "table { border-collapse: collapse; margin: 0 auto 6mm auto; }\n"
        "table + table { break-before: page; page-break-before: always; }\n"
        "thead { display: table-header-group; }\n"
        "tfoot { display: table-footer-group; }\n"
        "tr { break-inside: avoid; page-break-inside: avoid; }\n"
        "th, td { border: 0.5pt solid #888; padding: 0.4mm 1.6mm; text-align: right;"
        " font-variant-numeric: tabular-nums; white-space: nowrap; }\n"
        "thead th { background: #dde6ee; text-align: center; }\n"
        "thead tr.title th { background: #fff; border: none; text-align: left;"
        " font-size: 12pt; padding-bottom: 2mm; }\n"
        "tbody th { background: #eef2f6; }\n"
        "tbody tr:nth-child(even) td { background: #e8eef5; }\n"
        "tfoot td { border: none; text-align: left; font-size: 7.5pt; color: #333;"
        " padding-top: 2mm; }\n"
        "</style>\n</head>\n<body>\n");
    for (long long page = 0; page < pages && !out.Failed(); ++page) {
        const long long first = page * kColumnsPerPage;
        const long long last = std::min(columns, first + kColumnsPerPage) - 1;
        const std::string span = std::to_string(last - first + 2);
        out.Raw("<table>\n<thead>\n<tr class=\"title\"><th colspan=\"");
        out.Raw(span);
        out.Raw("\">JIS K 2249 ");
        out.Raw(heading);
        out.Raw("　15℃換算密度 (g/cm³)</th></tr>\n<tr><th rowspan=\"2\">測定温度<br/>(℃)</th>");
        out.Raw("<th colspan=\"");
        out.Raw(std::to_string(last - first + 1));
        out.Raw("\">ガラス製浮ひょう読み値 (g/cm³)</th></tr>\n<tr>");
        for (long long i = first; i <= last; ++i) {
            out.Raw("<th>");
            out.Raw(readings[static_cast<std::size_t>(i)]);
            out.Raw("</th>");
        }
        out.Raw("</tr>\n</thead>\n<tfoot>\n<tr><td colspan=\"");
        out.Raw(span);
        out.Raw("\">Densimo " DENSIMO_VERSION " · 表");
        out.Raw(kTableNames[r.product]);
        out.Raw(" · 読み値 ");
        out.Raw(readings[static_cast<std::size_t>(first)]);
        out.Raw("～");
        out.Raw(readings[static_cast<std::size_t>(last)]);
        out.Raw(" g/cm³ (");
        out.Raw(std::to_string(page + 1));
        out.Raw("/");
        out.Raw(std::to_string(pages));
        out.Raw(") · ");
        out.Raw(date);
        out.Raw("</td></tr>\n</tfoot>\n<tbody>\n");
        for (long long t = 0; t < temperatures.Count() && !out.Failed(); ++t) {
            const std::string temperature = temperatures.Text(t, temperatures.places);
            out.Raw("<tr><th>");
            out.Raw(temperature);
            out.Raw("</th>");
            for (long long i = first; i <= last; ++i) {
                out.Raw("<td>");
                out.Raw(TableCell(r.product, readings[static_cast<std::size_t>(i)], temperature));
                out.Raw("</td>");
            }
            out.EndLine("</tr>\n");
        }
        out.Raw("</tbody>\n</table>\n");
    }
    out.Raw("</body>\n</html>\n");
}

}  // namespace

std::string DecimalRange::Text(long long index, int decimals) const
{
    long long value = Value(index) * Pow10(decimals - places);
    std::string text = value < 0 ? "-" : "";
    const long long magnitude = value < 0 ? -value : value;
    const long long scale = Pow10(decimals);
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, magnitude / scale).ptr);
    if (decimals > 0) {
        text.push_back('.');
        // scale + fraction has a leading 1 that keeps the fraction's zeros.
        char* end = std::to_chars(digits, digits + sizeof digits, scale + magnitude % scale).ptr;
        text.append(digits + 1, end);
    }
    return text;
}

std::optional<DecimalRange> ParseRange(std::string_view text, int maxPlaces, std::string* error)
{
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
        *error = "expected FROM:TO:STEP";
        return std::nullopt;
    }
    const std::string_view parts[] = {
        text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
    long long values[3] = {};
    int places[3] = {};
    for (int k = 0; k < 3; ++k) {
        if (parts[k].empty()) {
            *error = "FROM, TO and STEP must not be empty";
            return std::nullopt;
        }
        if (!ParseFixed(parts[k], maxPlaces, &values[k], &places[k])) {
            error->assign(parts[k]);
            error->append(" is not a decimal number with at most ");
            error->append(std::to_string(maxPlaces)).append(" decimals");
            return std::nullopt;
        }
    }
    DecimalRange range;
    range.places = std::max({places[0], places[1], places[2]});
    range.from = values[0] * Pow10(range.places - places[0]);
    range.to = values[1] * Pow10(range.places - places[1]);
    range.step = values[2] * Pow10(range.places - places[2]);
    if (range.step <= 0) {
        *error = "STEP must be greater than zero";
        return std::nullopt;
    }
    if (range.from > range.to) {
        *error = "FROM is greater than TO";
        return std::nullopt;
    }
    return range;
}

std::string CheckTableRequest(TableRequest& request)
{
    const ProductLimits* limits = LimitsForProduct(request.product);
    if (limits == nullptr) {
        return "unknown table";
    }
    if (!request.readings) {
        request.readings =
            LimitRange(limits->readingLow, limits->readingHigh, kDefaultReadingStep, 4);
    }
    if (!request.temperatures) {
        request.temperatures =
            LimitRange(limits->temperatureLow, limits->temperatureHigh, kDefaultTemperatureStep, 1);
    }
    const DecimalRange& readings = *request.readings;
    const DecimalRange& temperatures = *request.temperatures;
    const std::string table(kTableNames[request.product]);
    // The first and last values as the window would read them.
    const std::string firstReading = readings.Text(0, readings.places);
    const std::string lastReading = readings.Text(readings.Count() - 1, readings.places);
    if (ParseDecimal(firstReading) < limits->readingLow ||
        ParseDecimal(lastReading) > limits->readingHigh) {
        const DecimalRange bounds = LimitRange(limits->readingLow, limits->readingHigh, 1, 4);
        return "readings " + firstReading + " to " + lastReading + " leave table " + table +
               "'s range " + bounds.Text(0, 4) + " to " + bounds.Text(bounds.Count() - 1, 4) +
               " g/cm3";
    }
    const std::string firstTemperature = temperatures.Text(0, temperatures.places);
    const std::string lastTemperature =
        temperatures.Text(temperatures.Count() - 1, temperatures.places);
    if (ParseDecimal(firstTemperature) < limits->temperatureLow ||
        ParseDecimal(lastTemperature) > limits->temperatureHigh) {
        const DecimalRange bounds =
            LimitRange(limits->temperatureLow, limits->temperatureHigh, 1, 0);
        return "temperatures " + firstTemperature + " to " + lastTemperature + " leave table " +
               table + "'s range " + bounds.Text(0, 0) + " to " +
               bounds.Text(bounds.Count() - 1, 0) + " degC";
    }
    if (readings.Count() > kMaxTableCells / temperatures.Count()) {
        return "the table would have more than 5,000,000 cells";
    }
    return {};
}

std::string TableCell(int product, std::string_view reading, std::string_view temperature)
{
    const Outcome outcome = ConvertTexts(product, reading, temperature);
    return outcome.converted ? std::string(outcome.Text()) : std::string();
}

int WriteTable(const TableRequest& request, std::FILE* out)
{
    OutputBuffer buffer(out);
    if (request.format == TableFormat::Csv) {
        WriteCsv(request, buffer);
    } else {
        WriteHtml(request, buffer);
    }
    return buffer.Flush() ? 0 : buffer.Error();
}

}  // namespace densimo::cli
