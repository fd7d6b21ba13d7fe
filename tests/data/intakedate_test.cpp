#include "data/intakedate.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(IntakeDate, DaysFromTheIntakeOrTheMidpointOfTwoDates)
{
    const QDate march1(2026, 3, 1);
    const QDate march6(2026, 3, 6);
    const QDate march10(2026, 3, 10);
    struct Case {
        IntakeDate intake;
        QDate measured;
        std::optional<double> days;
    } cases[] = {
        {{march1, {}}, march10, 9.0},
        {{march1, {}}, march1, 0.0},
        {{march6, {}}, march1, -5.0}, // before the intake: the assessment refuses the row
        // the midpoint of 1 and 6 March is 3 March at noon: 6.5 days before 10 March
        {{march1, march6}, march10, 6.5},
        {{march6, march1}, march10, 6.5}, // the two dates in either order
        {{march1, march1.addDays(2)}, march10, 8.0},
        {{}, march10, std::nullopt},
        {{march1, {}}, QDate(), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.intake.daysTo(c.measured), c.days) << c.intake.text().toStdString();
}

TEST(IntakeDate, TheTextSaysWhichDayIsTaken)
{
    EXPECT_EQ(IntakeDate{}.text(), QString());
    EXPECT_EQ((IntakeDate{QDate(2026, 3, 5), {}}.text()), QStringLiteral("2026-03-05"));
    EXPECT_EQ((IntakeDate{QDate(2026, 3, 6), QDate(2026, 3, 1)}.text()),
              QStringLiteral("unknown, between 2026-03-01 and 2026-03-06: the midpoint, 2026-03-03 12:00, is taken"));
    EXPECT_EQ((IntakeDate{QDate(2026, 2, 27), QDate(2026, 3, 1)}.text()),
              QStringLiteral("unknown, between 2026-02-27 and 2026-03-01: the midpoint, 2026-02-28, is taken"));
}

} // namespace
} // namespace kav
