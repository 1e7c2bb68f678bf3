#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace densimo {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Rough decimal order of magnitude of mantissa digits [begin, end) times
// 10^exponent, used only to tell overflow from underflow.
long long DecimalOrder(std::string_view mantissa, long long exponent)
{
    long long position = 0;  // digits before the point, then minus leading zeros
    bool seenPoint = false;
    bool seenNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
        } else if (!seenNonZero && c == '0') {
            if (seenPoint) {
                --position;
            }
        } else {
            seenNonZero = true;
            if (!seenPoint) {
                ++position;
            }
        }
    }
    return position + exponent;
}

}  // namespace

double ParseDecimal(std::string_view text) noexcept
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaBegin = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    const std::size_t mantissaEnd = i;
    std::size_t end = i;
    long long exponent = 0;  // saturated, for the overflow test only
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) {
                if (exponent < 1'000'000'000) {
                    exponent = exponent * 10 + (text[j] - '0');
                }
                ++j;
            }
            if (expNegative) {
                exponent = -exponent;
            }
            end = j;
        }
    }

    // std::from_chars takes no leading '+' and no d/D exponent: hand it the
    // mantissa and, where needed, a copy with the exponent marker as 'e'.
    std::string_view number = text.substr(mantissaBegin, end - mantissaBegin);
    std::string copy;
    if (end > mantissaEnd && text[mantissaEnd] != 'e' && text[mantissaEnd] != 'E') {
        copy.assign(number);
        copy[mantissaEnd - mantissaBegin] = 'e';
        number = copy;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(mantissaBegin, mantissaEnd - mantissaBegin);
        value =
            DecimalOrder(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

FixedText::FixedText(double value) noexcept
{
    char* out = m_text;
    if (std::isnan(value) || std::isinf(value)) {
        const std::string_view word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
        for (std::size_t pad = word.size(); pad < 6; ++pad) {
            *out++ = ' ';
        }
        for (char c : word) {
            *out++ = c;
        }
        m_size = static_cast<std::size_t>(out - m_text);
        return;
    }

    // Fast path for the usual case, a value within 1e-12 of a decimal n/10^4
    // (every calculator result is the double nearest one): its 17-digit form
    // then reads n/10^4 followed by zeros, or (n-1)/10^4 followed by nines,
    // and rounding half up at the fourth decimal gives n either way.
    if (value >= 0.0 && value < 1e5 && !std::signbit(value)) {
        const double scaled = value * 10000.0;
        // NOLINTNEXTLINE(bugprone-incorrect-roundings): the test below confirms n
        const auto n = static_cast<long long>(scaled + 0.5);
        if (std::fabs(scaled - static_cast<double>(n)) <= 1e-8) {
            char* p = std::to_chars(out, out + 8, n / 10000).ptr;
            *p++ = '.';
            char decimals[8];  // "1dddd": the 1 keeps the leading zeros
            std::to_chars(decimals, decimals + sizeof decimals, n % 10000 + 10000);
            for (int k = 1; k <= 4; ++k) {
                *p++ = decimals[k];
            }
            m_size = static_cast<std::size_t>(p - m_text);
            return;
        }
    }

    // 17 significant digits d0.d1...d16 x 10^exp10, correctly rounded.
    char sci[40];
    const auto result =
        std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 16);
    char digits[17];
    digits[0] = sci[0];
    for (int k = 1; k < 17; ++k) {
        digits[k] = sci[k + 1];  // skip the point
    }
    int exp10 = 0;
    const char* exponent = sci + 19;  // after "d.dddddddddddddddde"
    if (*exponent == '+') {
        ++exponent;  // from_chars takes no plus sign
    }
    std::from_chars(exponent, result.ptr, exp10);

    // Digit of the decimal place 10^place, place from exp10 down to -5.
    auto digitAt = [&](int place) -> int {
        const int index = exp10 - place;
        return index >= 0 && index < 17 ? digits[index] - '0' : 0;
    };
    const int top = exp10 > 0 ? exp10 : 0;  // highest integer place written
    // Places top..-4 with one spare in front for a carry: at most 309 + 4 + 1.
    int places[316];
    int count = 0;
    for (int place = top; place >= -4; --place) {
        places[count++] = digitAt(place);
    }
    if (digitAt(-5) >= 5) {  // half up on the 17-digit decimal form
        int k = count - 1;
        while (k >= 0 && places[k] == 9) {
            places[k--] = 0;
        }
        if (k >= 0) {
            ++places[k];
        } else {
            for (int m = count; m > 0; --m) {
                places[m] = places[m - 1];
            }
            places[0] = 1;
            ++count;
        }
    }

    const int integerDigits = count - 4;
    const std::size_t length =
        static_cast<std::size_t>(count + 1) + (std::signbit(value) ? 1U : 0U);
    for (std::size_t pad = length; pad < 6; ++pad) {
        *out++ = ' ';
    }
    if (std::signbit(value)) {
        *out++ = '-';
    }
    for (int k = 0; k < count; ++k) {
        if (k == integerDigits) {
            *out++ = '.';
        }
        *out++ = static_cast<char>('0' + places[k]);
    }
    m_size = static_cast<std::size_t>(out - m_text);
}

}  // namespace densimo
