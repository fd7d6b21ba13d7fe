#pragma once

#include <optional>
#include <vector>

namespace kav {

// One measurement as the fit of an intake sees it: the logarithm of the measured value (or of
// the detection limit) over the content per unit intake the model predicts then, and the spread
// of such measurements, sigma = ln SF.
struct LogTerm {
    double logRatio = 0;
    double sigma = 0;
    bool belowLimit = false;
};

// The most likely logarithm of the intake and its standard error.
struct LogIntakeFit {
    double logIntake = 0;
    double standardError = 0;
};

// The intake whose lognormal likelihood is largest: measured values count with their normal
// density in ln, values below a limit with the probability of lying below it. Without values
// below a limit this is the mean of the ratios weighted by 1/sigma^2. The standard error comes
// from the curvature of the log-likelihood at its maximum. Empty when no term is a measured
// value (the likelihood then has no maximum).
std::optional<LogIntakeFit> fitLogIntake(const std::vector<LogTerm>& terms);

// The chi-square of the measured values about a fitted logarithm of the intake.
double logChiSquare(const std::vector<LogTerm>& terms, double logIntake);

// The standard normal distribution function.
double standardNormalCdf(double z);

// The probability that a chi-square variable with the given degrees of freedom exceeds a value.
double chiSquareUpperTail(double chiSquare, int degreesOfFreedom);

} // namespace kav
