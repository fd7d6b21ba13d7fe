#include "units/ui/unitcombobox.h"

#include <typeinfo>

namespace kav {

namespace {
constexpr int kBoxWidth = 64;
}

UnitComboBox::UnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent)
    : TranslatedComboBox(parent)
    , FUnitCount(unitCount)
    , FDefaultEnabled(defaultEnabled)
    , FValue(defaultValue)
    , FEnabled(defaultEnabled)
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
    return ordinal >= 0 && ordinal < FUnitCount && ordinal < 32 && (FEnabled >> ordinal) & 1u;
}

void UnitComboBox::Refill()
{
    const QSignalBlocker blocker(this);
    clear();
    for (int ordinal = 0; ordinal < FUnitCount; ++ordinal)
        if (IsEnabledUnit(ordinal))
            addItem(UnitLabel(ordinal), ordinal);
    AlignItems();
    setCurrentIndex(findData(FValue));
}

void UnitComboBox::SetValueOrdinal(int ordinal)
{
    if (ordinal == FValue || !IsEnabledUnit(ordinal))
        return;
    const int index = findData(ordinal);
    if (index < 0)
        return;
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    FValue = ordinal;
}

void UnitComboBox::SetEnabledMask(quint32 mask)
{
    const quint32 valid = FUnitCount >= 32 ? ~0u : (1u << FUnitCount) - 1;
    mask &= valid;
    if (mask == 0)
        mask = FDefaultEnabled;
    if (mask == FEnabled)
        return;
    FEnabled = mask;
    if (!IsEnabledUnit(FValue))
        for (int ordinal = 0; ordinal < FUnitCount; ++ordinal)
            if (IsEnabledUnit(ordinal)) {
                FValue = ordinal;
                break;
            }
    Refill();
}

void UnitComboBox::UserSelected(int index)
{
    bool ok = false;
    const int ordinal = itemData(index).toInt(&ok);
    if (ok && IsEnabledUnit(ordinal))
        FValue = ordinal;
    if (FOnChange)
        FOnChange();
}

void UnitComboBox::AssignToComboBox(UnitComboBox* dest) const
{
    if (!dest || dest == this || typeid(*dest) != typeid(*this))
        return;
    AssignAppearanceTo(*dest);
    dest->SetValueOrdinal(FValue);
    dest->SetEnabledMask(FEnabled);
}

const TimeUnits TimeUnitComboBox::DefaultEnabled{tuDay, tuHour, tuMin, tuSec};

TimeUnitComboBox::TimeUnitComboBox(QWidget* parent)
    : UnitComboBox(TimeUnitCount, DefaultEnabled.raw(), tuHour, parent)
{
    Refill();
}

void TimeUnitComboBox::SetUseLongNames(bool value)
{
    if (value == FUseLongNames)
        return;
    FUseLongNames = value;
    Refill();
}

QString TimeUnitComboBox::UnitLabel(int ordinal) const
{
    const auto unit = static_cast<TimeUnit>(ordinal);
    return FUseLongNames ? TimeUnitLongLabel(unit, Language()) : TimeUnitShortLabel(unit, Language());
}

const ActivityUnits ActivityUnitComboBox::DefaultEnabled{au__mBq, au_Bq,   au_kBq, au_MBq, au_GBq, au_TBq,
                                                         au_nCi,  au_mkCi, au_mCi, au_Ci,  au_kCi, au__MCi};

ActivityUnitComboBox::ActivityUnitComboBox(QWidget* parent)
    : UnitComboBox(ActivityUnitCount, DefaultEnabled.raw(), au_Bq, parent)
{
    Refill();
}

QString ActivityUnitComboBox::UnitLabel(int ordinal) const
{
    return ActivityUnitLabel(static_cast<ActivityUnit>(ordinal), Language());
}

const DoseUnits DoseUnitComboBox::DefaultEnabled{du_mkSv, du_mSv, du_Sv, du_mRem, du_Rem};

DoseUnitComboBox::DoseUnitComboBox(QWidget* parent)
    : UnitComboBox(DoseUnitCount, DefaultEnabled.raw(), du_mSv, parent)
{
    Refill();
}

QString DoseUnitComboBox::UnitLabel(int ordinal) const
{
    return DoseUnitLabel(static_cast<DoseUnit>(ordinal), Language());
}

} // namespace kav
