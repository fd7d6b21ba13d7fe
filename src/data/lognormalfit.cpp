#include "data/lognormalfit.h"

#include <cmath>
#include <limits>

namespace kav {

namespace {

constexpr double kSqrtTwo = 1.4142135623730951;
constexpr double kSqrtTwoPi = 2.5066282746310002;

// phi(z) / Phi(z), the derivative of ln Phi; far in the lower tail, where Phi underflows, from
// its asymptotic series.
double millsRatio(double z)
{
    if (z < -35) {
        const double inverseSquare = 1 / (z * z);
        return -z / (1 - inverseSquare + 3 * inverseSquare * inverseSquare);
    }
    return std::exp(-z * z / 2) / kSqrtTwoPi / standardNormalCdf(z);
}

struct Slope {
    double first = 0; // d lnL / dx
    double second = 0; // d2 lnL / dx2
};

Slope slopeAt(const std::vector<LogTerm>& terms, double x)
{
    Slope s;
    for (const LogTerm& t : terms) {
        const double weight = 1 / (t.sigma * t.sigma);
        if (!t.belowLimit) {
            s.first += (t.logRatio - x) * weight;
            s.second -= weight;
        } else {
            const double z = (t.logRatio - x) / t.sigma;
            const double r = millsRatio(z);
            s.first -= r / t.sigma;
            s.second -= r * (z + r) * weight;
        }
    }
    return s;
}

// ln Gamma(a) is taken from the library; the regularised lower incomplete gamma P(a, x) by its
// series, the upper Q(a, x) by its continued fraction (Lentz's method), each where it converges
// fast.
double lowerGammaSeries(double a, double x)
{
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < 1000; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::abs(term) < std::abs(sum) * 1e-16)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

double upperGammaFraction(double a, double x)
{
    constexpr double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::abs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::abs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < 1e-16)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

} // namespace

double standardNormalCdf(double z)
{
    return 0.5 * std::erfc(-z / kSqrtTwo);
}

double chiSquareUpperTail(double chiSquare, int degreesOfFreedom)
{
    if (degreesOfFreedom < 1 || !(chiSquare > 0))
        return 1;
    const double a = degreesOfFreedom / 2.0;
    const double x = chiSquare / 2;
    return x < a + 1 ? 1 - lowerGammaSeries(a, x) : upperGammaFraction(a, x);
}

std::optional<LogIntakeFit> fitLogIntake(const std::vector<LogTerm>& terms)
{
    double weights = 0;
    double weighted = 0;
    bool anyLimit = false;
    for (const LogTerm& t : terms) {
        if (t.belowLimit) {
            anyLimit = true;
            continue;
        }
        const double weight = 1 / (t.sigma * t.sigma);
        weights += weight;
        weighted += weight * t.logRatio;
    }
    if (weights <= 0)
        return std::nullopt;
    double x = weighted / weights;
    if (anyLimit) {
        // The limits only pull the maximum down from the weighted mean: the slope is negative
        // there. Step down until it turns positive, then close in on the root of the slope by
        // Newton steps kept inside the bracket (the log-likelihood is concave).
        double high = x;
        double low = x;
        for (double step = 1; slopeAt(terms, low).first <= 0 && step < 1e6; step *= 2)
            low = high - step;
        x = (low + high) / 2;
        for (int i = 0; i < 200; ++i) {
            const Slope s = slopeAt(terms, x);
            if (s.first > 0)
                low = x;
            else
                high = x;
            double next = s.second < 0 ? x - s.first / s.second : (low + high) / 2;
            if (!(next > low && next < high))
                next = (low + high) / 2;
            const bool settled = std::abs(next - x) < 1e-11 || high - low < 1e-9;
            x = next;
            if (settled)
                break;
        }
    }
    const double curvature = -slopeAt(terms, x).second;
    return LogIntakeFit{x, 1 / std::sqrt(curvature)};
}

double logChiSquare(const std::vector<LogTerm>& terms, double logIntake)
{
    double sum = 0;
    for (const LogTerm& t : terms)
        if (!t.belowLimit)
            sum += (t.logRatio - logIntake) * (t.logRatio - logIntake) / (t.sigma * t.sigma);
    return sum;
}

} // namespace kav
