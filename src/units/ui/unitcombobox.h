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

    const ChangeHandler& onChange() const { return m_onChange; }
    void setOnChange(ChangeHandler handler) { m_onChange = std::move(handler); }

    // Copies appearance, then the unit, then the enabled units into a box of the same kind.
    void assignToComboBox(UnitComboBox* dest) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    UnitComboBox(int unitCount, quint32 defaultEnabled, int defaultValue, QWidget* parent);

    int valueOrdinal() const { return m_value; }
    void setValueOrdinal(int ordinal);
    quint32 enabledMask() const { return m_enabled; }
    void setEnabledMask(quint32 mask);
    virtual QString unitLabel(int ordinal) const = 0;
    // Clears the items and adds one per enabled unit, then selects the current unit.
    void refill();
    void languageChanged() override { refill(); }

private:
    bool isEnabledUnit(int ordinal) const;
    void userSelected(int index);

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

    TimeUnit value() const { return static_cast<TimeUnit>(valueOrdinal()); }
    void setValue(TimeUnit value) { setValueOrdinal(static_cast<int>(value)); }
    TimeUnits enabledTimeUnits() const { return TimeUnits::fromRaw(static_cast<std::uint8_t>(enabledMask())); }
    void setEnabledTimeUnits(TimeUnits units) { setEnabledMask(units.raw()); }
    bool useLongNames() const { return m_useLongNames; }
    void setUseLongNames(bool value);

protected:
    QString unitLabel(int ordinal) const override;

private:
    bool m_useLongNames = false;
};

// A box of activity units.
class ActivityUnitComboBox : public UnitComboBox {
public:
    static const ActivityUnits DefaultEnabled;
    explicit ActivityUnitComboBox(QWidget* parent = nullptr);

    ActivityUnit value() const { return static_cast<ActivityUnit>(valueOrdinal()); }
    void setValue(ActivityUnit value) { setValueOrdinal(static_cast<int>(value)); }
    ActivityUnits enabledActivityUnits() const { return ActivityUnits::fromRaw(enabledMask()); }
    void setEnabledActivityUnits(ActivityUnits units) { setEnabledMask(units.raw()); }

protected:
    QString unitLabel(int ordinal) const override;
};

// A box of dose units.
class DoseUnitComboBox : public UnitComboBox {
public:
    static const DoseUnits DefaultEnabled;
    explicit DoseUnitComboBox(QWidget* parent = nullptr);

    DoseUnit value() const { return static_cast<DoseUnit>(valueOrdinal()); }
    void setValue(DoseUnit value) { setValueOrdinal(static_cast<int>(value)); }
    DoseUnits enabledDoseUnits() const { return DoseUnits::fromRaw(enabledMask()); }
    void setEnabledDoseUnits(DoseUnits units) { setEnabledMask(units.raw()); }

protected:
    QString unitLabel(int ordinal) const override;
};

} // namespace kav
