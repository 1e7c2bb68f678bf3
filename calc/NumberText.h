// Locale-independent number texts: the reading and temperature fields are
// parsed by the C library's atof rules and results are written as "%6.4lf"
// does, but neither ever consults the process locale (the full stop is always
// the decimal point).
#pragma once

#include <cstddef>
#include <string_view>

namespace densimo {

// Value of the longest leading part of `text` that forms a decimal number,
// as atof gives it: leading " \t\n\v\f\r" skipped, optional sign, digits with
// an optional fraction after a full stop (at least one digit in all), an
// optional exponent introduced by e, E, d or D with an optional sign and at
// least one digit. The rest is ignored; 0.0 when nothing converts. No
// hexadecimal, no "inf" or "nan" words; an exponent too large gives +-infinity
// and one too small gives +-0. Conversion is correctly rounded.
double ParseDecimal(std::string_view text) noexcept;

// Text of `value` as "%6.4lf" writes it: at least six characters, four
// decimals. The decimals come from the value's 17-significant-digit decimal
// form rounded half up at the fourth decimal, so 0.20795 (held as a double
// just below it) shows 0.2080.
class FixedText {
public:
    FixedText() noexcept = default;  // empty text
    explicit FixedText(double value) noexcept;
    std::string_view view() const noexcept { return {m_text, m_size}; }

private:
    // Sign, up to 309 integer digits, point, four decimals.
    char m_text[320];
    std::size_t m_size = 0;
};

}  // namespace densimo
