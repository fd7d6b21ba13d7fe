#include "units/ui/unitcombobox.h"

#include <typeinfo>

namespace kav {

namespace {
constexpr int kBoxWidth = 64;
}

UnitComboBox::UnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent)
    : TranslatedComboBox(parent)
    , m_unitCount(unitCount)
    , m_defaultEnabled(defaultEnabled)
    , m_value(defaultValue)
    , m_enabled(defaultEnabled)
{
    SetAlignment(Qt::AlignHCenter);
    SetDropDownAlignment(Qt::AlignHCenter);
    connect(this, &QComboBox::activated, this, [this](int index) { UserSelected(index); });
}

QSize UnitComboBox::sizeHint() const
{
    return {kBoxWidth, QComboBox::sizeHint().height()};
}

QSize UnitComboBox::minimumSizeHint() const
{
    return sizeHint();
}

bool UnitComboBox::IsEnabledUnit(int ordinal) const
{
    return ordinal >= 0 && ordinal < m_unitCount && ordinal < 32 && (m_enabled >> ordinal) & 1u;
}

void UnitComboBox::Refill()
{
    const QSignalBlocker blocker(this);
    clear();
    for (int ordinal = 0; ordinal < m_unitCount; ++ordinal)
        if (IsEnabledUnit(ordinal))
            addItem(UnitLabel(ordinal), ordinal);
    AlignItems();
    setCurrentIndex(findData(m_value));
}

void UnitComboBox::SetValueOrdinal(int ordinal)
{
    if (ordinal == m_value || !IsEnabledUnit(ordinal))
        return;
    const int index = findData(ordinal);
    if (index < 0)
        return;
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    m_value = ordinal;
}

void UnitComboBox::SetEnabledMask(quint32 mask)
{
    const quint32 valid = m_unitCount >= 32 ? ~0u : (1u << m_unitCount) - 1;
    mask &= valid;
    if (mask == 0)
        mask = m_defaultEnabled;
    if (mask == m_enabled)
        return;
    m_enabled = mask;
    if (!IsEnabledUnit(m_value))
        for (int ordinal = 0; ordinal < m_unitCount; ++ordinal)
            if (IsEnabledUnit(ordinal)) {
                m_value = ordinal;
                break;
            }
    Refill();
}

void UnitComboBox::UserSelected(int index)
{
    bool ok = false;
    const int ordinal = itemData(index).toInt(&ok);
    if (ok && IsEnabledUnit(ordinal))
        m_value = ordinal;
    if (m_onChange)
        m_onChange();
}

void UnitComboBox::AssignToComboBox(UnitComboBox* dest) const
{
    if (!dest || dest == this || typeid(*dest) != typeid(*this))
        return;
    AssignAppearanceTo(*dest);
    dest->SetValueOrdinal(m_value);
    dest->SetEnabledMask(m_enabled);
}

const TimeUnits TimeUnitComboBox::DefaultEnabled{TimeUnit::Day, TimeUnit::Hour, TimeUnit::Minute, TimeUnit::Second};

TimeUnitComboBox::TimeUnitComboBox(QWidget* parent)
    : UnitComboBox(TimeUnitCount, DefaultEnabled.raw(), static_cast<int>(TimeUnit::Hour), parent)
{
    Refill();
}

void TimeUnitComboBox::SetUseLongNames(bool value)
{
    if (value == m_useLongNames)
        return;
    m_useLongNames = value;
    Refill();
}

QString TimeUnitComboBox::UnitLabel(int ordinal) const
{
    const auto unit = static_cast<TimeUnit>(ordinal);
    return m_useLongNames ? timeUnitLongLabel(unit, Language()) : timeUnitShortLabel(unit, Language());
}

const ActivityUnits ActivityUnitComboBox::DefaultEnabled{
    ActivityUnit::mBq, ActivityUnit::Bq,  ActivityUnit::kBq, ActivityUnit::MBq, ActivityUnit::GBq, ActivityUnit::TBq,
    ActivityUnit::nCi, ActivityUnit::uCi, ActivityUnit::mCi, ActivityUnit::Ci,  ActivityUnit::kCi, ActivityUnit::MCi};

ActivityUnitComboBox::ActivityUnitComboBox(QWidget* parent)
    : UnitComboBox(ActivityUnitCount, DefaultEnabled.raw(), static_cast<int>(ActivityUnit::Bq), parent)
{
    Refill();
}

QString ActivityUnitComboBox::UnitLabel(int ordinal) const
{
    return activityUnitLabel(static_cast<ActivityUnit>(ordinal), Language());
}

const DoseUnits DoseUnitComboBox::DefaultEnabled{DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv, DoseUnit::mRem,
                                                 DoseUnit::Rem};

DoseUnitComboBox::DoseUnitComboBox(QWidget* parent)
    : UnitComboBox(DoseUnitCount, DefaultEnabled.raw(), static_cast<int>(DoseUnit::mSv), parent)
{
    Refill();
}

QString DoseUnitComboBox::UnitLabel(int ordinal) const
{
    return DoseUnitLabel(static_cast<DoseUnit>(ordinal), Language());
}

} // namespace kav
