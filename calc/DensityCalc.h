// Base-density calculator: turns a density observed at some temperature into
// the density of the same liquid at the base temperature, after the
// thermal-expansion model of ASTM D1250-80 Volume X (crude oils, generalized
// products) and API MPMS Chapter 11.1 Volume XIV Appendix A (lubricating
// oils), as used by JIS K 2249 tables 1A, 1B and 1D.
#pragma once

// Product classes; the value equals the index of the product list item.
using ProductType = int;
inline constexpr ProductType PRODUCT_CRUDE = 0;  // JIS K 2249 table 1A
inline constexpr ProductType PRODUCT_FUEL = 1;   // table 1B (refined products)
inline constexpr ProductType PRODUCT_LUBE = 2;   // table 1D

// Unit regime of temperature and base density.
using BaseScale = int;
inline constexpr BaseScale BASE_15C = 0;  // temperatures in degC, density at 15 degC
inline constexpr BaseScale BASE_60F = 1;  // temperatures in degF, density at 60 degF

class CDensityCalc {
public:
    virtual ~CDensityCalc() = default;

    // Density at the base temperature, rounded to `digits` places.
    //   productType  PRODUCT_CRUDE, PRODUCT_FUEL or PRODUCT_LUBE; any other
    //                value converts nothing (the density comes back rounded).
    //   temperature  observed temperature: degC in [-20, 150] for BASE_15C,
    //                degF in [-4, 302] for BASE_60F (bounds included).
    //   density      observed density in g/cm3, [0.6, 1.2] (bounds included).
    //   scale        BASE_15C or BASE_60F (only 1 counts as BASE_60F here).
    //   digits       decimal places of the result.
    // Outside those ranges, or when the density or the temperature is NaN,
    // `density` is returned unchanged and unrounded. The calculator never
    // reports errors otherwise.
    double Convert(int productType, float temperature, double density, int scale, int digits);

    // Chooses the fuel-oil band (1 fuel oils, 2 jet fuels, 3 gasolines,
    // 4 transition) for `density` in g/cm3 and loads its coefficients.
    int SelectBand(double density, int scale);

    // Base density in g/cm3, unrounded, for the coefficients now held, from
    // the observed `density` in g/cm3 at `temperature` (degC or degF).
    double Solve(float temperature, double density, int scale);

    // Solver work done by the last Convert (for diagnostics and benchmarks):
    // passes of the successive approximation plus evaluations made by the
    // bracketing fallback, and how many solves needed that fallback.
    int LastPasses() const { return m_nPasses; }
    int LastFallbacks() const { return m_nFallbacks; }

private:
    int m_bTransition = 0;  // 1 while the transition-band formula is in force
    double m_dK0 = 0.0;     // K0, or B in the transition band
    double m_dK1 = 0.0;     // K1, or A in the transition band
    int m_nPasses = 0;
    int m_nFallbacks = 0;

    double Predict(double base, double dt) const;
    double SolveBracketed(double observed, double dt, double below, double above, double best);
};
