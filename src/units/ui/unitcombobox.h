#pragma once

#include "controls/translatedcombobox.h"
#include "units/units.h"

#include <functional>

namespace kav {

// A box that offers a subset of one kind of unit and remembers the chosen one. Items are
// listed in ordinal order; the user's choice fires OnChange, changes made from code do not.
class UnitComboBox : public TranslatedComboBox {
public:
    using ChangeHandler = std::function<void()>;

    const ChangeHandler& OnChange() const { return m_onChange; }
    void SetOnChange(ChangeHandler handler) { m_onChange = std::move(handler); }

    // Copies appearance, then the unit, then the enabled units into a box of the same kind.
    void AssignToComboBox(UnitComboBox* dest) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    UnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent);

    int ValueOrdinal() const { return m_value; }
    void SetValueOrdinal(int ordinal);
    quint32 EnabledMask() const { return m_enabled; }
    void SetEnabledMask(quint32 mask);
    virtual QString UnitLabel(int ordinal) const = 0;
    // Clears the items and adds one per enabled unit, then selects the current unit.
    void Refill();
    void LanguageChanged() override { Refill(); }

private:
    bool IsEnabledUnit(int ordinal) const;
    void UserSelected(int index);

    const int m_unitCount;
    const quint32 m_defaultEnabled;
    int m_value;
    quint32 m_enabled;
    ChangeHandler m_onChange;
};

// A box of time units, with short or long names.
class TimeUnitComboBox : public UnitComboBox {
public:
    static const TimeUnits DefaultEnabled;
    explicit TimeUnitComboBox(QWidget* parent = nullptr);

    TimeUnit Value() const { return static_cast<TimeUnit>(ValueOrdinal()); }
    void SetValue(TimeUnit value) { SetValueOrdinal(static_cast<int>(value)); }
    TimeUnits EnabledTimeUnits() const { return TimeUnits::fromRaw(static_cast<std::uint8_t>(EnabledMask())); }
    void SetEnabledTimeUnits(TimeUnits units) { SetEnabledMask(units.raw()); }
    bool UseLongNames() const { return m_useLongNames; }
    void SetUseLongNames(bool value);

protected:
    QString UnitLabel(int ordinal) const override;

private:
    bool m_useLongNames = false;
};

// A box of activity units.
class ActivityUnitComboBox : public UnitComboBox {
public:
    static const ActivityUnits DefaultEnabled;
    explicit ActivityUnitComboBox(QWidget* parent = nullptr);

    ActivityUnit Value() const { return static_cast<ActivityUnit>(ValueOrdinal()); }
    void SetValue(ActivityUnit value) { SetValueOrdinal(static_cast<int>(value)); }
    ActivityUnits EnabledActivityUnits() const { return ActivityUnits::fromRaw(EnabledMask()); }
    void SetEnabledActivityUnits(ActivityUnits units) { SetEnabledMask(units.raw()); }

protected:
    QString UnitLabel(int ordinal) const override;
};

// A box of dose units.
class DoseUnitComboBox : public UnitComboBox {
public:
    static const DoseUnits DefaultEnabled;
    explicit DoseUnitComboBox(QWidget* parent = nullptr);

    DoseUnit Value() const { return static_cast<DoseUnit>(ValueOrdinal()); }
    void SetValue(DoseUnit value) { SetValueOrdinal(static_cast<int>(value)); }
    DoseUnits EnabledDoseUnits() const { return DoseUnits::fromRaw(EnabledMask()); }
    void SetEnabledDoseUnits(DoseUnits units) { SetEnabledMask(units.raw()); }

protected:
    QString UnitLabel(int ordinal) const override;
};

} // namespace kav
