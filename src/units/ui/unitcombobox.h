#pragma once

#include "controls/langcombobox.h"
#include "units/units.h"

#include <functional>

namespace kav {

// A box that offers a subset of one kind of unit and remembers the chosen one. Items are
// listed in ordinal order; the user's choice fires OnChange, changes made from code do not.
class TQzCustomUnitComboBox : public TQzCustomLangComboBox {
public:
    using TNotifyEvent = std::function<void()>;

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

    // Copies appearance, then the unit, then the enabled units into a box of the same kind.
    void AssignToComboBox(TQzCustomUnitComboBox* dest) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    TQzCustomUnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent);

    int ValueOrdinal() const { return FValue; }
    void SetValueOrdinal(int ordinal);
    quint32 EnabledMask() const { return FEnabled; }
    void SetEnabledMask(quint32 mask);
    virtual QString UnitLabel(int ordinal) const = 0;
    // Clears the items and adds one per enabled unit, then selects the current unit.
    void Refill();
    void LanguageChanged() override { Refill(); }

private:
    bool IsEnabledUnit(int ordinal) const;
    void UserSelected(int index);

    const int FUnitCount;
    const quint32 FDefaultEnabled;
    int FValue;
    quint32 FEnabled;
    TNotifyEvent FOnChange;
};

// A box of time units, with short or long names.
class TQzTimeUnitComboBox : public TQzCustomUnitComboBox {
public:
    static const TQzTimeUnits DefaultEnabled;
    explicit TQzTimeUnitComboBox(QWidget* parent = nullptr);

    TQzTimeUnit Value() const { return static_cast<TQzTimeUnit>(ValueOrdinal()); }
    void SetValue(TQzTimeUnit value) { SetValueOrdinal(value); }
    TQzTimeUnits EnabledTimeUnits() const { return TQzTimeUnits::fromRaw(static_cast<std::uint8_t>(EnabledMask())); }
    void SetEnabledTimeUnits(TQzTimeUnits units) { SetEnabledMask(units.raw()); }
    bool UseLongNames() const { return FUseLongNames; }
    void SetUseLongNames(bool value);

protected:
    QString UnitLabel(int ordinal) const override;

private:
    bool FUseLongNames = false;
};

// A box of activity units.
class TQzActivityUnitComboBox : public TQzCustomUnitComboBox {
public:
    static const TQzActivityUnits DefaultEnabled;
    explicit TQzActivityUnitComboBox(QWidget* parent = nullptr);

    TQzActivityUnit Value() const { return static_cast<TQzActivityUnit>(ValueOrdinal()); }
    void SetValue(TQzActivityUnit value) { SetValueOrdinal(value); }
    TQzActivityUnits EnabledActivityUnits() const { return TQzActivityUnits::fromRaw(EnabledMask()); }
    void SetEnabledActivityUnits(TQzActivityUnits units) { SetEnabledMask(units.raw()); }

protected:
    QString UnitLabel(int ordinal) const override;
};

// A box of dose units.
class TQzDoseUnitComboBox : public TQzCustomUnitComboBox {
public:
    static const TQzDoseUnits DefaultEnabled;
    explicit TQzDoseUnitComboBox(QWidget* parent = nullptr);

    TQzDoseUnit Value() const { return static_cast<TQzDoseUnit>(ValueOrdinal()); }
    void SetValue(TQzDoseUnit value) { SetValueOrdinal(value); }
    TQzDoseUnits EnabledDoseUnits() const { return TQzDoseUnits::fromRaw(EnabledMask()); }
    void SetEnabledDoseUnits(TQzDoseUnits units) { SetEnabledMask(units.raw()); }

protected:
    QString UnitLabel(int ordinal) const override;
};

} // namespace kav
