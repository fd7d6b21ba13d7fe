#pragma once

#include "base/language.h"
#include "chooser/advancedfilter.h"

#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kav {

class FloatEdit;
class IntegerEdit;

// What the criteria pages need of the dialog they are on.
class CriteriaEditor {
public:
    // The filter the pages edit.
    virtual AdvancedFilter& EditedFilter() = 0;
    // True while the dialog shows the filter on its controls: their handlers then stay quiet.
    virtual bool ShowingFilter() const = 0;
    // Makes one change to the filter; what the dialog lists follows it.
    virtual void WriteFilter(const std::function<void()>& change) = 0;
    // A criterion was switched on: so is the whole filter, when it was off.
    virtual void SwitchFilterOn() = 0;

protected:
    ~CriteriaEditor() = default;
};

// One page of the advanced filter dialog, bound to its criteria of the edited filter: each
// control writes its criterion at once, and editing a criterion switches it on.
class CriteriaPage : public QWidget {
public:
    explicit CriteriaPage(CriteriaEditor& editor);
    // Shows the page's criteria of the filter, writing nothing back.
    virtual void ShowCriteria() = 0;

protected:
    AdvancedFilter& Filter() { return m_editor.EditedFilter(); }
    // Whether the controls are being set from the filter.
    bool Quiet() const { return m_showing || m_editor.ShowingFilter(); }
    // Sets controls from the filter without their handlers writing it back.
    void Show(const std::function<void()>& show);
    // Writes a change to the filter, unless the controls are being set from it.
    void Write(const std::function<void()>& change);
    // A criterion's box went on: the whole filter goes on too.
    void SwitchFilterOnIf(bool on);
    // A criterion was edited: its box goes on (whose handler writes the filter), and the whole
    // filter.
    virtual void SwitchOn(QCheckBox* box);

private:
    CriteriaEditor& m_editor;
    bool m_showing = false;
};

// The least and the greatest atomic mass.
class MassPage : public CriteriaPage {
public:
    explicit MassPage(CriteriaEditor& editor);
    void ShowCriteria() override;
    QCheckBox* EnabledBox(bool max) const { return m_ends[max].enabled; }
    IntegerEdit* ValueField(bool max) const { return m_ends[max].value; }

private:
    struct End {
        QCheckBox* enabled = nullptr;
        IntegerEdit* value = nullptr;
    };
    std::array<End, 2> m_ends;
};

// The counts of ancestors and of daughters in the decay chain.
class DecayChainPage : public CriteriaPage {
public:
    explicit DecayChainPage(CriteriaEditor& editor);
    void ShowCriteria() override;
    QCheckBox* EnabledBox(bool daughters) const { return m_parts[daughters].enabled; }
    QListWidget* Counts(bool daughters) const { return m_parts[daughters].counts; }

private:
    struct Part {
        QCheckBox* enabled = nullptr;
        QListWidget* counts = nullptr;
    };
    RelativesCountFilter& CountFilter(bool daughters);
    std::array<Part, 2> m_parts;
};

// The modes of decay, any of them or all of them, and "only" one mode.
class DecayModePage : public CriteriaPage {
public:
    explicit DecayModePage(CriteriaEditor& editor);
    void ShowCriteria() override;
    QCheckBox* EnabledBox() const { return m_enabled; }
    QRadioButton* OperationButton(DecayModeMatch operation) const;
    QListWidget* Modes() const { return m_modes; }
    QListWidget* OnlyModes() const { return m_onlyModes; }

private:
    void ShowModes();
    void WriteModes();
    QCheckBox* m_enabled = nullptr;
    QButtonGroup* m_operation = nullptr;
    QListWidget* m_modes = nullptr;
    QListWidget* m_onlyModes = nullptr;
};

// The shortest and the longest half-life, each as a time in units or as a decay constant.
class HalfLifePage : public CriteriaPage {
public:
    HalfLifePage(CriteriaEditor& editor, UiLanguage language);
    void ShowCriteria() override;
    QCheckBox* EnabledBox(bool max) const { return m_ends[max].enabled; }
    FloatEdit* ValueField(bool max) const { return m_ends[max].value; }
    QComboBox* UnitsBox(bool max) const { return m_ends[max].units; }
    FloatEdit* LambdaField(bool max) const { return m_ends[max].lambda; }
    QPushButton* DatabaseButton() const { return m_database; }

private:
    struct End {
        QCheckBox* enabled = nullptr;
        FloatEdit* value = nullptr;
        QComboBox* units = nullptr;
        FloatEdit* lambda = nullptr;
    };
    // Shows the chosen fields of one end.
    void ShowEnd(bool max, bool value, bool units, bool lambda);
    std::array<End, 2> m_ends;
    QPushButton* m_database = nullptr;
};

// The bounds of the spectrum criteria, a row of each in a grid.
class SpectrumPage : public CriteriaPage {
public:
    explicit SpectrumPage(CriteriaEditor& editor);
    void ShowCriteria() override;
    QCheckBox* EnabledBox() const { return m_enabled; }
    QCheckBox* CriterionBox(SpectrumCriterion option) const { return m_rows[Ordinal(option)].use; }
    FloatEdit* BoundField(SpectrumCriterion option, bool max) const
    {
        return max ? m_rows[Ordinal(option)].max : m_rows[Ordinal(option)].min;
    }

protected:
    // A criterion's box also switches the page's box on.
    void SwitchOn(QCheckBox* box) override;

private:
    struct Row {
        QCheckBox* use = nullptr;
        FloatEdit* min = nullptr;
        FloatEdit* max = nullptr;
    };
    void ShowBound(SpectrumCriterion option, bool max);
    void WriteBound(SpectrumCriterion option, bool max, bool typingEnded);
    QCheckBox* m_enabled = nullptr;
    std::array<Row, SpectrumCriterionCount> m_rows;
};

} // namespace kav
