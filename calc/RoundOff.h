// Decimal rounding shared by the glass correction (5 places) and the
// calculator's result (4 places).
#pragma once

class CRoundOff {
public:
    virtual ~CRoundOff() = default;

    // Rounds `value` to `digits` decimal places, halves away from zero.
    // The scale is built by repeated multiplication by 10 (digits <= 0 keeps
    // it at 1), t = value * scale +/- 0.5 is truncated to a signed 32-bit
    // integer and divided by the scale again, so the result is the double
    // nearest to a decimal with `digits` places and formats back exactly.
    // Densities (g/cm3, <= 1.2) at up to 5 places stay far inside the 32-bit
    // range; when t is NaN or outside it, `value` is returned unchanged
    // instead of performing an undefined conversion.
    double Round(double value, int digits) const;
};
