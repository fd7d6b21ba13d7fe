#include "data/intakeassessment.h"
#include "data/lognormalfit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

// Grid positions of the times the cases use: 1 day is point 10, 2.25 days 19, 2.5 days 20,
// 3 days 22, 10 days 40, 11 days 41 (the last whole-body value).
MaterialBioassay smallFunctions()
{
    MaterialBioassay f;
    f.m_organPresentSet.insert(Compartment::WholeBody);
    f.m_organPresentSet.insert(Compartment::DailyUrine);
    CompartmentContent& body = f.m_activityData[ordinal(Compartment::WholeBody)];
    body.assign(42, 0.5F);
    body[40] = 0.2F;
    body[41] = 0.1F;
    CompartmentContent& urine = f.m_activityData[ordinal(Compartment::DailyUrine)];
    urine.assign(42, 0.01F);
    urine[20] = 0;
    return f;
}

double relativeError(double value, double expected)
{
    return std::abs(value / expected - 1);
}

TEST(IntakeAssessment, ContentAtGridTimesAndBetween)
{
    const MaterialBioassay f = smallFunctions();
    const CompartmentContent& body = f.m_activityData[ordinal(Compartment::WholeBody)];
    const CompartmentContent& urine = f.m_activityData[ordinal(Compartment::DailyUrine)];
    struct Case {
        const CompartmentContent* values;
        double days;
        double expected; // 0: refused
        const char* refusalStart;
    } cases[] = {
        {&body, 1, 0.5, ""},
        {&body, 10, 0.2F, ""},
        {&body, 11, 0.1F, ""},
        // ln m linear in ln t between 0.2 at 10 days and 0.1 at 11 days
        {&body, 10.5, 0.1402587480490667, ""},
        // a neighbour of 0: linear in t, 0.01 at 2.25 days to 0 at 2.5 days
        {&urine, 2.375, 0.005, ""},
        {&urine, 2.5, 0, "the model predicts no content"},
        {&body, 0.02, 0, "the time is before the first time"},
        {&body, 11.5, 0, "the time is after the last time of the data (11 days)"},
    };
    for (const Case& c : cases) {
        const ContentAtTime got = contentPerIntakeAt(*c.values, c.days);
        if (c.expected > 0) {
            EXPECT_TRUE(got.refusal.isEmpty()) << c.days << ": " << got.refusal.toStdString();
            EXPECT_LT(relativeError(got.perIntake, c.expected), 1e-6) << c.days;
        } else {
            EXPECT_TRUE(got.refusal.startsWith(QLatin1String(c.refusalStart)))
                << c.days << ": " << got.refusal.toStdString();
        }
    }
}

TEST(IntakeAssessment, OneMeasurementGivesTheMeasuredOverThePredicted)
{
    const IntakeAssessment a = assessIntake(smallFunctions(), 2e-8, {{Compartment::WholeBody, 10, 100, false, 1.2}});
    ASSERT_TRUE(a.hasResult());
    EXPECT_LT(relativeError(a.intakeBq, 100 / double(0.2F)), 1e-9);
    EXPECT_LT(relativeError(a.lowBq, 349.76601368923275), 1e-9);
    EXPECT_LT(relativeError(a.highBq, (100 / double(0.2F)) * (100 / double(0.2F)) / 349.76601368923275), 1e-9);
    EXPECT_LT(relativeError(a.doseSv, 2e-8 * 100 / double(0.2F)), 1e-9);
    EXPECT_EQ(a.measuredCount, 1);
    EXPECT_EQ(a.degreesOfFreedom, 0);
    EXPECT_FALSE(a.pValue);
    EXPECT_TRUE(a.agreesWithModel());
    EXPECT_LT(relativeError(a.rows[0].predicted, 100), 1e-9);
    EXPECT_LT(relativeError(a.rows[0].ratio, 1), 1e-9);
}

TEST(IntakeAssessment, TwoMeasurementsGiveTheWeightedMeanAndItsRange)
{
    const IntakeAssessment a
        = assessIntake(smallFunctions(), 1e-9,
                       {{Compartment::WholeBody, 10, 100, false, 1.2}, {Compartment::DailyUrine, 3, 3, false, 1.8}});
    ASSERT_TRUE(a.hasResult());
    EXPECT_LT(relativeError(a.intakeBq, 478.07776531037564), 1e-9);
    EXPECT_LT(relativeError(a.lowBq, 339.83889241832844), 1e-9);
    EXPECT_LT(relativeError(a.highBq, 672.5491248447696), 1e-9);
    EXPECT_LT(relativeError(a.chiSquare, 0.6889863699412696), 1e-9);
    EXPECT_EQ(a.degreesOfFreedom, 1);
    ASSERT_TRUE(a.pValue);
    EXPECT_LT(relativeError(*a.pValue, 0.40650936797735304), 1e-9);
    EXPECT_TRUE(a.agreesWithModel());
    // each row: the fitted intake times its m(t), and measured over that
    EXPECT_LT(relativeError(a.rows[0].predicted, 478.07776531037564 * 0.2F), 1e-9);
    EXPECT_LT(relativeError(a.rows[1].predicted, 478.07776531037564 * 0.01F), 1e-9);
    EXPECT_LT(relativeError(a.rows[1].ratio, 3 / (478.07776531037564 * 0.01F)), 1e-9);
}

TEST(IntakeAssessment, AValueBelowItsLimitPullsTheIntakeDown)
{
    const IntakeAssessment a = assessIntake(smallFunctions(), 1e-9,
                                            {{Compartment::WholeBody, 10, 100, false, 1.2},
                                             {Compartment::DailyUrine, 3, 3, false, 1.8},
                                             {Compartment::WholeBody, 1, 200, true, 1.2}});
    ASSERT_TRUE(a.hasResult());
    EXPECT_FALSE(a.upperBoundOnly);
    EXPECT_LT(relativeError(a.intakeBq, 411.5954719875628), 1e-8);
    EXPECT_LT(relativeError(a.lowBq, 314.53966836290687), 1e-8);
    EXPECT_LT(relativeError(a.highBq, 538.5992598084741), 1e-8);
    // the chi-square counts the measured values only
    EXPECT_EQ(a.measuredCount, 2);
    EXPECT_EQ(a.degreesOfFreedom, 1);
    EXPECT_LT(relativeError(a.chiSquare, 1.4283375278852473), 1e-7);
    EXPECT_LT(relativeError(*a.pValue, 0.23203594650912635), 1e-7);
}

TEST(IntakeAssessment, EveryValueBelowItsLimitGivesAnUpperBound)
{
    const IntakeAssessment a
        = assessIntake(smallFunctions(), 3e-9,
                       {{Compartment::WholeBody, 1, 20, true, 1.2}, {Compartment::DailyUrine, 3, 0.1, true, 1.8}});
    ASSERT_TRUE(a.hasResult());
    EXPECT_TRUE(a.upperBoundOnly);
    // 20 / 0.5 = 40 and 0.1 / 0.01 = 10: the smaller bounds the intake
    EXPECT_LT(relativeError(a.intakeBq, 0.1 / 0.01F), 1e-9);
    EXPECT_LT(relativeError(a.doseSv, 3e-9 * 0.1 / 0.01F), 1e-9);
    EXPECT_FALSE(a.pValue);
}

TEST(IntakeAssessment, RowsThatCannotBeUsedAreSaidAndLeftOut)
{
    const MaterialBioassay f = smallFunctions();
    const IntakeAssessment a = assessIntake(f, 1e-9,
                                            {{Compartment::WholeBody, 10, 100, false, 1.2},
                                             {Compartment::WholeBody, 10, 0, false, 1.2},
                                             {Compartment::WholeBody, 10, -5, false, 1.2},
                                             {Compartment::WholeBody, 10, 100, false, 1.0},
                                             {Compartment::WholeBody, -1, 100, false, 1.2},
                                             {Compartment::Lungs, 10, 100, false, 1.2},
                                             {Compartment::WholeBody, 30, 100, false, 1.2},
                                             {Compartment::WholeBody, std::nan(""), 100, false, 1.2}});
    ASSERT_TRUE(a.hasResult());
    ASSERT_EQ(a.rows.size(), 8U);
    const char* reasons[] = {"",
                             "the value is not a positive number",
                             "the value is not a positive number",
                             "the scattering factor must be above 1",
                             "the measurement is dated before the intake",
                             "no data for this compartment after the chosen intake",
                             "the time is after the last time of the data",
                             "the measurement is dated, but the intake's date is not said"};
    EXPECT_TRUE(a.rows[0].refusal.isEmpty());
    for (std::size_t i = 1; i < a.rows.size(); ++i)
        EXPECT_TRUE(a.rows[i].refusal.startsWith(QLatin1String(reasons[i])))
            << i << ": " << a.rows[i].refusal.toStdString();
    // only the first row counts
    EXPECT_EQ(a.measuredCount, 1);
    EXPECT_LT(relativeError(a.intakeBq, 100 / double(0.2F)), 1e-9);

    EXPECT_EQ(assessIntake(f, 1e-9, {}).problem, QStringLiteral("There are no measurements."));
    EXPECT_EQ(assessIntake(f, 1e-9, {{Compartment::Lungs, 10, 100, false, 1.2}}).problem,
              QStringLiteral("No measurement can be used."));
}

TEST(IntakeAssessment, TheFittedCurveIsTheIntakeTimesTheContentWhereThereIsAny)
{
    const MaterialBioassay f = smallFunctions();
    const std::vector<QPointF> urine = fittedContent(f.m_activityData[ordinal(Compartment::DailyUrine)], 300);
    // 41 times after the intake itself, less the one at 2.5 days where the model predicts 0.
    ASSERT_EQ(urine.size(), 40U);
    EXPECT_EQ(urine.front(), QPointF(bioassayTimes()[1], 300 * double(0.01F)));
    EXPECT_EQ(urine[18].x(), 2.25);
    EXPECT_EQ(urine[19].x(), 2.75); // 2.5 days left out
    const std::vector<QPointF> body = fittedContent(f.m_activityData[ordinal(Compartment::WholeBody)], 10);
    EXPECT_EQ(body.back(), QPointF(11, 10 * double(0.1F)));
    EXPECT_TRUE(fittedContent({}, 10).empty());
}

TEST(LognormalFit, ChiSquareTailAgreesWithClosedForms)
{
    struct Case {
        double chiSquare;
        int degreesOfFreedom;
        double expected;
    } cases[] = {
        {3.841, 1, 0.05001368376395671}, // erfc(sqrt(x/2))
        {5.991, 2, 0.05001161502657909}, // exp(-x/2)
        {7.815, 3, 0.04999390297488389}, // erfc(sqrt(x/2)) + sqrt(2x/pi) exp(-x/2)
        {30.0, 10, 0.0008566412107753004}, // exp(-x/2) sum of (x/2)^i / i! for i < 5
        {0.5, 10, 0.9999933882894391},
    };
    for (const Case& c : cases)
        EXPECT_LT(relativeError(chiSquareUpperTail(c.chiSquare, c.degreesOfFreedom), c.expected), 1e-8)
            << c.chiSquare << " " << c.degreesOfFreedom;
    EXPECT_EQ(chiSquareUpperTail(0, 3), 1);
}

TEST(LognormalFit, ALimitFarInTheTailStillGivesAFiniteMaximum)
{
    // A limit a hundred standard deviations below the measured value: the normal distribution
    // function underflows there, the fit must not.
    const std::vector<LogTerm> terms{{0, 0.2, false}, {-20, 0.2, true}};
    const std::optional<LogIntakeFit> fit = fitLogIntake(terms);
    ASSERT_TRUE(fit);
    EXPECT_TRUE(std::isfinite(fit->logIntake));
    EXPECT_TRUE(std::isfinite(fit->standardError));
    EXPECT_LT(fit->logIntake, -9.9);
    EXPECT_GT(fit->logIntake, -10.1);
    EXPECT_FALSE(fitLogIntake({{-1, 0.2, true}}));
}

} // namespace
} // namespace kav
