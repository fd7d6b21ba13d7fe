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
    setAlignment(Qt::AlignHCenter);
    setDropDownAlignment(Qt::AlignHCenter);
    connect(this, &QComboBox::activated, this, [this](int index) { userSelected(index); });
}

QSize UnitComboBox::sizeHint() const
{
    return {kBoxWidth, QComboBox::sizeHint().height()};
}

QSize UnitComboBox::minimumSizeHint() const
{
    return sizeHint();
}

bool UnitComboBox::isEnabledUnit(int ordinal) const
{
    return ordinal >= 0 && ordinal < m_unitCount && ordinal < 32 && (m_enabled >> ordinal) & 1u;
}

void UnitComboBox::refill()
{
    const QSignalBlocker blocker(this);
    clear();
    for (int ordinal = 0; ordinal < m_unitCount; ++ordinal)
        if (isEnabledUnit(ordinal))
            addItem(unitLabel(ordinal), ordinal);
    alignItems();
    setCurrentIndex(findData(m_value));
}

void UnitComboBox::setValueOrdinal(int ordinal)
{
    if (ordinal == m_value || !isEnabledUnit(ordinal))
        return;
    const int index = findData(ordinal);
    if (index < 0)
        return;
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    m_value = ordinal;
}

void UnitComboBox::setEnabledMask(quint32 mask)
{
    const quint32 valid = m_unitCount >= 32 ? ~0u : (1u << m_unitCount) - 1;
    mask &= valid;
    if (mask == 0)
        mask = m_defaultEnabled;
    if (mask == m_enabled)
        return;
    m_enabled = mask;
    if (!isEnabledUnit(m_value))
        for (int ordinal = 0; ordinal < m_unitCount; ++ordinal)
            if (isEnabledUnit(ordinal)) {
                m_value = ordinal;
                break;
            }
    refill();
}

void UnitComboBox::userSelected(int index)
{
    bool ok = false;
    const int ordinal = itemData(index).toInt(&ok);
    if (ok && isEnabledUnit(ordinal))
        m_value = ordinal;
    if (m_onChange)
        m_onChange();
}

void UnitComboBox::assignToComboBox(UnitComboBox* dest) const
{
    if (!dest || dest == this || typeid(*dest) != typeid(*this))
        return;
    assignAppearanceTo(*dest);
    dest->setValueOrdinal(m_value);
    dest->setEnabledMask(m_enabled);
}

const TimeUnits TimeUnitComboBox::DefaultEnabled{TimeUnit::Day, TimeUnit::Hour, TimeUnit::Minute, TimeUnit::Second};

TimeUnitComboBox::TimeUnitComboBox(QWidget* parent)
    : UnitComboBox(TimeUnitCount, DefaultEnabled.raw(), static_cast<int>(TimeUnit::Hour), parent)
{
    refill();
}

void TimeUnitComboBox::setUseLongNames(bool value)
{
    if (value == m_useLongNames)
        return;
    m_useLongNames = value;
    refill();
}

QString TimeUnitComboBox::unitLabel(int ordinal) const
{
    const auto unit = static_cast<TimeUnit>(ordinal);
    return m_useLongNames ? timeUnitLongLabel(unit, language()) : timeUnitShortLabel(unit, language());
}

const ActivityUnits ActivityUnitComboBox::DefaultEnabled{
    ActivityUnit::mBq, ActivityUnit::Bq,  ActivityUnit::kBq, ActivityUnit::MBq, ActivityUnit::GBq, ActivityUnit::TBq,
    ActivityUnit::nCi, ActivityUnit::uCi, ActivityUnit::mCi, ActivityUnit::Ci,  ActivityUnit::kCi, ActivityUnit::MCi};

ActivityUnitComboBox::ActivityUnitComboBox(QWidget* parent)
    : UnitComboBox(ActivityUnitCount, DefaultEnabled.raw(), static_cast<int>(ActivityUnit::Bq), parent)
{
    refill();
}

QString ActivityUnitComboBox::unitLabel(int ordinal) const
{
    return activityUnitLabel(static_cast<ActivityUnit>(ordinal), language());
}

const DoseUnits DoseUnitComboBox::DefaultEnabled{DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv, DoseUnit::mRem,
                                                 DoseUnit::Rem};

DoseUnitComboBox::DoseUnitComboBox(QWidget* parent)
    : UnitComboBox(DoseUnitCount, DefaultEnabled.raw(), static_cast<int>(DoseUnit::mSv), parent)
{
    refill();
}

QString DoseUnitComboBox::unitLabel(int ordinal) const
{
    return doseUnitLabel(static_cast<DoseUnit>(ordinal), language());
}

} // namespace kav
