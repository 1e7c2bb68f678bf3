#include "DensityCalc.h"

#include "RoundOff.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

// Coefficients of the thermal-expansion coefficient at base temperature,
// alpha = K0 / rho^2 + K1 / rho (per degree), rho the base density in kg/m3;
// in the transition band alpha = A + B / rho^2 (K0 holds B, K1 holds A).
struct CoefficientRow {
    ProductType product;
    int band;               // fuel-oil band 1-4; 0 for products without bands
    double k0_15c, k1_15c;  // BASE_15C: temperatures in degC
    double k0_60f, k1_60f;  // BASE_60F: temperatures in degF
};

// clang-format off
constexpr CoefficientRow kCoefficients[] = {
    // ASTM D1250-80 Volume X, Table 5A/6A/53A/54A (generalized crude oils)
    {PRODUCT_CRUDE, 0,  613.9723,  0.0,          341.0957, 0.0},
    // ASTM D1250-80 Volume X, Tables 5B/6B/53B/54B (generalized products):
    {PRODUCT_FUEL,  1,  186.9696,  0.4862,       103.872,  0.2701},     // fuel oils
    {PRODUCT_FUEL,  2,  594.5418,  0.0,          330.301,  0.0},        // jet fuels
    {PRODUCT_FUEL,  3,  346.4228,  0.4388,       192.4571, 0.2438},     // gasolines
    {PRODUCT_FUEL,  4, 2680.3206, -0.00336312,  1489.067, -0.0018684},  // transition (B, A)
    // API MPMS Chapter 11.1 Volume XIV Appendix A (lubricating oils, Table 53D/54D)
    {PRODUCT_LUBE,  0,    0.0,     0.6278,         0.0,    0.34878},
};
// clang-format on

constexpr const CoefficientRow& Row(ProductType product, int band)
{
    for (const CoefficientRow& row : kCoefficients) {
        if (row.product == product && row.band == band) {
            return row;
        }
    }
    return kCoefficients[0];  // not reached for the rows used below
}

// The rows looked up once, at compile time, rather than on every conversion.
constexpr const CoefficientRow& kCrudeRow = Row(PRODUCT_CRUDE, 0);
constexpr const CoefficientRow& kLubeRow = Row(PRODUCT_LUBE, 0);
constexpr const CoefficientRow* kFuelRows[] = {&Row(PRODUCT_FUEL, 1), &Row(PRODUCT_FUEL, 2),
                                               &Row(PRODUCT_FUEL, 3), &Row(PRODUCT_FUEL, 4)};

// Fuel-oil band edges in g/cm3 (density at base temperature): the two upper
// edges belong to the denser band, the gasoline edge to the gasoline band.
struct BandEdges {
    double fuel;      // band 1 when rho >= fuel
    double jet;       // band 2 when jet <= rho < fuel
    double gasoline;  // band 3 when rho <= gasoline; band 4 in between
};
constexpr BandEdges kEdges15C{0.839, 0.788, 0.77};
constexpr BandEdges kEdges60F{0.84, 0.789, 0.771};

// A solve is accepted when the predicted observed density matches the
// observed one to better than 0.01 kg/m3.
constexpr double kTolerance = 0.01;
// Passes of the plain successive approximation before the bracketing
// fallback takes over; every solve that settles within them is untouched.
constexpr int kPlainPasses = 1000;
// Bound on the fallback's own evaluations (bracket search plus refinement).
constexpr int kBracketSteps = 200;
// The fuel-oil band search stops after this many band changes.
constexpr int kMaxBandChanges = 10;

}  // namespace

double CDensityCalc::Convert(int productType, float temperature, double density, int scale,
                             int digits)
{
    m_nPasses = 0;
    m_nFallbacks = 0;
    // NaN passes every range comparison below and would make the solver spin.
    if (std::isnan(density) || std::isnan(temperature)) {
        return density;
    }
    if (scale == BASE_60F) {
        if (temperature < -4.0f || temperature > 302.0f) {
            return density;
        }
    } else if (temperature < -20.0f || temperature > 150.0f) {
        return density;
    }
    if (density < 0.6 || density > 1.2) {
        return density;
    }

    m_bTransition = 0;
    double result = density;
    switch (productType) {
        case PRODUCT_CRUDE:
        case PRODUCT_LUBE: {
            const CoefficientRow& row = productType == PRODUCT_CRUDE ? kCrudeRow : kLubeRow;
            m_dK0 = scale == BASE_60F ? row.k0_60f : row.k0_15c;
            m_dK1 = scale == BASE_60F ? row.k1_60f : row.k1_15c;
            result = Solve(temperature, density, scale);
            break;
        }
        case PRODUCT_FUEL: {
            // The first band comes from the observed density, later ones from the
            // computed base density; every solve starts from the observed density.
            int band = SelectBand(density, scale);
            for (int changes = 0;;) {
                result = Solve(temperature, density, scale);
                const int next = SelectBand(result, scale);
                if (next == band || ++changes == kMaxBandChanges) {
                    break;
                }
                band = next;
            }
            break;
        }
        default:
            break;
    }
    const CRoundOff roundOff;
    return roundOff.Round(result, digits);
}

int CDensityCalc::SelectBand(double density, int scale)
{
    m_bTransition = 0;
    const BandEdges& edges = scale == BASE_60F ? kEdges60F : kEdges15C;
    int band = 4;
    if (density >= edges.fuel) {
        band = 1;
    } else if (density >= edges.jet) {
        band = 2;
    } else if (density <= edges.gasoline) {
        band = 3;
    }
    const CoefficientRow& row = *kFuelRows[band - 1];
    m_dK0 = scale == BASE_60F ? row.k0_60f : row.k0_15c;
    m_dK1 = scale == BASE_60F ? row.k1_60f : row.k1_15c;
    if (band == 4) {
        m_bTransition = 1;
    }
    return band;
}

// Observed density (kg/m3) that a base density `base` (kg/m3) predicts at a
// temperature `dt` degrees from the base temperature:
// Q = base * exp(-alpha * dt * (1 + 0.8 * alpha * dt)).
double CDensityCalc::Predict(double base, double dt) const
{
    const double alpha =
        m_bTransition == 1 ? m_dK0 / (base * base) + m_dK1 : m_dK0 / (base * base) + m_dK1 / base;
    double x = alpha * dt;
    x = x * 0.8;
    x = x + 1.0;
    x = x * alpha;
    x = x * dt;
    return std::exp(-x) * base;
}

// Successive approximation R <- R * P / Q(R) from R = P. It settles for
// nearly every input, but with the transition-band coefficients at large
// temperature differences the map can fall into a cycle around the root
// (e.g. 1B, 0.65082 g/cm3 at 145.1 degC). Because the map is deterministic,
// a repeated estimate means it will never settle, so a cycle ends the plain
// passes early, as does the pass limit. The root of Q(R) = P is then found by
// regula falsi (Illinois) within a bracket taken from the estimates already
// seen; whatever happens, the work is bounded and the best estimate found is
// returned.
double CDensityCalc::Solve(float temperature, double density, int scale)
{
    const double dt = static_cast<double>(temperature) - (scale == BASE_15C ? 15.0 : 60.0);
    const double observed = density * 1000.0;  // P, kg/m3
    double estimate = observed;                // R, kg/m3

    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    double below = kNaN;  // last estimate with Q < P
    double above = kNaN;  // last estimate with Q > P
    double best = estimate;
    double bestError = std::numeric_limits<double>::infinity();

    double beforePrevious = kNaN;
    double cycleMark = estimate;
    int cyclePower = 1;
    int cycleLength = 0;
    for (int pass = 0; pass < kPlainPasses; ++pass) {
        const double predicted = Predict(estimate, dt);
        ++m_nPasses;
        const double error = predicted - observed;
        if (std::fabs(error) < kTolerance) {
            return estimate * 0.001;
        }
        if (std::fabs(error) < bestError) {
            bestError = std::fabs(error);
            best = estimate;
        }
        if (error < 0.0) {
            below = estimate;
        } else if (error > 0.0) {
            above = estimate;
        }
        const double previous = estimate;
        estimate = estimate * (observed / predicted);
        // Cycles of two, the common case, are caught at once; longer ones by
        // comparison with a mark moved at powers of two (Brent).
        if (estimate == beforePrevious || estimate == cycleMark) {
            break;
        }
        beforePrevious = previous;
        if (++cycleLength == cyclePower) {
            cycleMark = estimate;
            cyclePower *= 2;
            cycleLength = 0;
        }
    }
    ++m_nFallbacks;
    return SolveBracketed(observed, dt, below, above, best) * 0.001;
}

double CDensityCalc::SolveBracketed(double observed, double dt, double below, double above,
                                    double best)
{
    double bestError = std::numeric_limits<double>::infinity();
    int steps = 0;
    auto residual = [&](double base) {
        ++steps;
        ++m_nPasses;
        const double error = Predict(base, dt) - observed;
        if (std::fabs(error) < bestError) {
            bestError = std::fabs(error);
            best = base;
        }
        return error;
    };
    if (!std::isfinite(best) || best <= 0.0) {
        return best;
    }

    // Without estimates on both sides, widen geometrically from the best one
    // toward the side that Q has to move to, then the other way.
    if (std::isnan(below) || std::isnan(above)) {
        const double start = best;
        const double startError = residual(start);
        if (bestError < kTolerance || std::isnan(startError)) {
            return best;
        }
        (startError < 0.0 ? below : above) = start;
        for (int direction : {startError < 0.0 ? 1 : -1, startError < 0.0 ? -1 : 1}) {
            for (double step = 1e-4; step < 8.0 && (std::isnan(below) || std::isnan(above));
                 step *= 2.0) {
                const double probe = direction > 0 ? start * (1.0 + step) : start / (1.0 + step);
                const double error = residual(probe);
                if (bestError < kTolerance) {
                    return best;
                }
                if (!std::isnan(error)) {
                    (error < 0.0 ? below : above) = probe;
                }
            }
        }
        if (std::isnan(below) || std::isnan(above)) {
            return best;
        }
    }

    // Illinois regula falsi on [a, b] with f(a), f(b) of opposite sign.
    double a = below;
    double b = above;
    double fa = residual(a);
    double fb = residual(b);
    if (bestError < kTolerance || !(fa < 0.0 && fb > 0.0)) {
        return best;
    }
    while (steps < kBracketSteps) {
        double c = b - fb * (b - a) / (fb - fa);
        const double lo = a < b ? a : b;
        const double hi = a < b ? b : a;
        if (!(c > lo && c < hi)) {
            c = lo + 0.5 * (hi - lo);  // secant left the bracket: bisect
            if (!(c > lo && c < hi)) {
                break;  // the bracket is two adjacent doubles
            }
        }
        const double fc = residual(c);
        if (bestError < kTolerance) {
            break;
        }
        if ((fc < 0.0) == (fb < 0.0)) {
            fa *= 0.5;  // the same end stays twice: halve its weight
        } else {
            a = b;
            fa = fb;
        }
        b = c;
        fb = fc;
    }
    return best;
}
