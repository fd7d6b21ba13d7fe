#include "units/ui/unitcombobox.h"

#include <typeinfo>

namespace kav {

namespace {
constexpr int kBoxWidth = 64;
}

TQzCustomUnitComboBox::TQzCustomUnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent)
    : TQzCustomLangComboBox(parent)
    , FUnitCount(unitCount)
    , FDefaultEnabled(defaultEnabled)
    , FValue(defaultValue)
    , FEnabled(defaultEnabled)
{
    SetAlignment(Qt::AlignHCenter);
    SetDropDownAlignment(Qt::AlignHCenter);
    connect(this, &QComboBox::activated, this, [this](int index) { UserSelected(index); });
}

QSize TQzCustomUnitComboBox::sizeHint() const
{
    return {kBoxWidth, QComboBox::sizeHint().height()};
}

QSize TQzCustomUnitComboBox::minimumSizeHint() const
{
    return sizeHint();
}

bool TQzCustomUnitComboBox::IsEnabledUnit(int ordinal) const
{
    return ordinal >= 0 && ordinal < FUnitCount && ordinal < 32 && (FEnabled >> ordinal) & 1u;
}

void TQzCustomUnitComboBox::Refill()
{
    const QSignalBlocker blocker(this);
    clear();
    for (int ordinal = 0; ordinal < FUnitCount; ++ordinal)
        if (IsEnabledUnit(ordinal))
            addItem(UnitLabel(ordinal), ordinal);
    AlignItems();
    setCurrentIndex(findData(FValue));
}

void TQzCustomUnitComboBox::SetValueOrdinal(int ordinal)
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

void TQzCustomUnitComboBox::SetEnabledMask(quint32 mask)
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

void TQzCustomUnitComboBox::UserSelected(int index)
{
    bool ok = false;
    const int ordinal = itemData(index).toInt(&ok);
    if (ok && IsEnabledUnit(ordinal))
        FValue = ordinal;
    if (FOnChange)
        FOnChange();
}

void TQzCustomUnitComboBox::AssignToComboBox(TQzCustomUnitComboBox* dest) const
{
    if (!dest || dest == this || typeid(*dest) != typeid(*this))
        return;
    AssignAppearanceTo(*dest);
    dest->SetValueOrdinal(FValue);
    dest->SetEnabledMask(FEnabled);
}

const TQzTimeUnits TQzTimeUnitComboBox::DefaultEnabled{tuDay, tuHour, tuMin, tuSec};

TQzTimeUnitComboBox::TQzTimeUnitComboBox(QWidget* parent)
    : TQzCustomUnitComboBox(TimeUnitCount, DefaultEnabled.raw(), tuHour, parent)
{
    Refill();
}

void TQzTimeUnitComboBox::SetUseLongNames(bool value)
{
    if (value == FUseLongNames)
        return;
    FUseLongNames = value;
    Refill();
}

QString TQzTimeUnitComboBox::UnitLabel(int ordinal) const
{
    const auto unit = static_cast<TQzTimeUnit>(ordinal);
    return FUseLongNames ? TimeUnitLongLabel(unit, Language()) : TimeUnitShortLabel(unit, Language());
}

const TQzActivityUnits TQzActivityUnitComboBox::DefaultEnabled{au__mBq, au_Bq,   au_kBq, au_MBq, au_GBq, au_TBq,
                                                               au_nCi,  au_mkCi, au_mCi, au_Ci,  au_kCi, au__MCi};

TQzActivityUnitComboBox::TQzActivityUnitComboBox(QWidget* parent)
    : TQzCustomUnitComboBox(ActivityUnitCount, DefaultEnabled.raw(), au_Bq, parent)
{
    Refill();
}

QString TQzActivityUnitComboBox::UnitLabel(int ordinal) const
{
    return ActivityUnitLabel(static_cast<TQzActivityUnit>(ordinal), Language());
}

const TQzDoseUnits TQzDoseUnitComboBox::DefaultEnabled{du_mkSv, du_mSv, du_Sv, du_mRem, du_Rem};

TQzDoseUnitComboBox::TQzDoseUnitComboBox(QWidget* parent)
    : TQzCustomUnitComboBox(DoseUnitCount, DefaultEnabled.raw(), du_mSv, parent)
{
    Refill();
}

QString TQzDoseUnitComboBox::UnitLabel(int ordinal) const
{
    return DoseUnitLabel(static_cast<TQzDoseUnit>(ordinal), Language());
}

} // namespace kav
