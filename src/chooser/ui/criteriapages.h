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
    virtual AdvancedFilter& editedFilter() = 0;
    // True while the dialog shows the filter on its controls: their handlers then stay quiet.
    virtual bool showingFilter() const = 0;
    // Makes one change to the filter; what the dialog lists follows it.
    virtual void writeFilter(const std::function<void()>& change) = 0;
    // A criterion was switched on: so is the whole filter, when it was off.
    virtual void switchFilterOn() = 0;

protected:
    ~CriteriaEditor() = default;
};

// One page of the advanced filter dialog, bound to its criteria of the edited filter: each
// control writes its criterion at once, and editing a criterion switches it on.
class CriteriaPage : public QWidget {
public:
    explicit CriteriaPage(CriteriaEditor& editor);
    // Shows the page's criteria of the filter, writing nothing back.
    virtual void showCriteria() = 0;

protected:
    AdvancedFilter& filter() { return m_editor.editedFilter(); }
    // Whether the controls are being set from the filter.
    bool quiet() const { return m_showing || m_editor.showingFilter(); }
    // Sets controls from the filter without their handlers writing it back.
    void showQuietly(const std::function<void()>& show);
    // Writes a change to the filter, unless the controls are being set from it.
    void write(const std::function<void()>& change);
    // A criterion's box went on: the whole filter goes on too.
    void switchFilterOnIf(bool on);
    // A criterion was edited: its box goes on (whose handler writes the filter), and the whole
    // filter.
    virtual void switchOn(QCheckBox* box);

private:
    CriteriaEditor& m_editor;
    bool m_showing = false;
};

// The least and the greatest atomic mass.
class MassPage : public CriteriaPage {
public:
    explicit MassPage(CriteriaEditor& editor);
    void showCriteria() override;
    QCheckBox* enabledBox(bool max) const { return m_ends[max].enabled; }
    IntegerEdit* valueField(bool max) const { return m_ends[max].value; }

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
    void showCriteria() override;
    QCheckBox* enabledBox(bool daughters) const { return m_parts[daughters].enabled; }
    QListWidget* counts(bool daughters) const { return m_parts[daughters].counts; }

private:
    struct Part {
        QCheckBox* enabled = nullptr;
        QListWidget* counts = nullptr;
    };
    RelativesCountFilter& countFilter(bool daughters);
    std::array<Part, 2> m_parts;
};

// The modes of decay, any of them or all of them, and "only" one mode.
class DecayModePage : public CriteriaPage {
public:
    explicit DecayModePage(CriteriaEditor& editor);
    void showCriteria() override;
    QCheckBox* enabledBox() const { return m_enabled; }
    QRadioButton* operationButton(DecayModeMatch operation) const;
    QListWidget* modes() const { return m_modes; }
    QListWidget* onlyModes() const { return m_onlyModes; }

private:
    void showModes();
    void writeModes();
    QCheckBox* m_enabled = nullptr;
    QButtonGroup* m_operation = nullptr;
    QListWidget* m_modes = nullptr;
    QListWidget* m_onlyModes = nullptr;
};

// The shortest and the longest half-life, each as a time in units or as a decay constant.
class HalfLifePage : public CriteriaPage {
public:
    HalfLifePage(CriteriaEditor& editor, UiLanguage language);
    void showCriteria() override;
    QCheckBox* enabledBox(bool max) const { return m_ends[max].enabled; }
    FloatEdit* valueField(bool max) const { return m_ends[max].value; }
    QComboBox* unitsBox(bool max) const { return m_ends[max].units; }
    FloatEdit* lambdaField(bool max) const { return m_ends[max].lambda; }
    QPushButton* databaseButton() const { return m_database; }

private:
    struct End {
        QCheckBox* enabled = nullptr;
        FloatEdit* value = nullptr;
        QComboBox* units = nullptr;
        FloatEdit* lambda = nullptr;
    };
    // Shows the chosen fields of one end.
    void showEnd(bool max, bool value, bool units, bool lambda);
    std::array<End, 2> m_ends;
    QPushButton* m_database = nullptr;
};

// The bounds of the spectrum criteria, a row of each in a grid.
class SpectrumPage : public CriteriaPage {
public:
    explicit SpectrumPage(CriteriaEditor& editor);
    void showCriteria() override;
    QCheckBox* enabledBox() const { return m_enabled; }
    QCheckBox* criterionBox(SpectrumCriterion option) const { return m_rows[ordinal(option)].use; }
    FloatEdit* boundField(SpectrumCriterion option, bool max) const
    {
        return max ? m_rows[ordinal(option)].max : m_rows[ordinal(option)].min;
    }

protected:
    // A criterion's box also switches the page's box on.
    void switchOn(QCheckBox* box) override;

private:
    struct Row {
        QCheckBox* use = nullptr;
        FloatEdit* min = nullptr;
        FloatEdit* max = nullptr;
    };
    void showBound(SpectrumCriterion option, bool max);
    void writeBound(SpectrumCriterion option, bool max, bool typingEnded);
    QCheckBox* m_enabled = nullptr;
    std::array<Row, SpectrumCriterionCount> m_rows;
};

} // namespace kav
