#include "data/intakedate.h"

#include <algorithm>

namespace kav {

std::optional<double> IntakeDate::daysTo(QDate measured) const
{
    if (!date.isValid() || !measured.isValid())
        return std::nullopt;
    if (!latest.isValid())
        return static_cast<double>(date.daysTo(measured));
    return (static_cast<double>(date.daysTo(measured)) + static_cast<double>(latest.daysTo(measured))) / 2;
}

QString IntakeDate::text() const
{
    const QString iso = QStringLiteral("yyyy-MM-dd");
    if (!date.isValid())
        return {};
    if (!latest.isValid())
        return date.toString(iso);
    const QDate first = std::min(date, latest);
    const QDate last = std::max(date, latest);
    const qint64 span = first.daysTo(last);
    const QString midpoint
        = first.addDays(span / 2).toString(iso) + (span % 2 != 0 ? QStringLiteral(" 12:00") : QString());
    return QStringLiteral("unknown, between %1 and %2: the midpoint, %3, is taken")
        .arg(first.toString(iso), last.toString(iso), midpoint);
}

} // namespace kav
