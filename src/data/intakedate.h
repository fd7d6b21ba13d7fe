#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace kav {

// When the intake took place: not said (every measurement's time is then given in days after
// the intake), on a date, or on an unknown day between two dates, when the midpoint is taken.
struct IntakeDate {
    QDate date; // the day of the intake, or the first of the two
    QDate latest; // the second of the two, when the day is unknown

    bool isSaid() const { return date.isValid(); }
    bool isBetween() const { return date.isValid() && latest.isValid(); }
    // The time from the intake (the midpoint of the two dates) to a measurement's date, in days;
    // empty when either date is missing.
    std::optional<double> daysTo(QDate measured) const;
    // "2026-03-05"; "unknown, between 2026-03-01 and 2026-03-06: the midpoint, 2026-03-03 12:00,
    // is taken"; empty when not said.
    QString text() const;
};

} // namespace kav
