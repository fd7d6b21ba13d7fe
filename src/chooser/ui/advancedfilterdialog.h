#pragma once

#include "base/notice.h"
#include "chooser/ui/criteriapages.h"
#include "chooser/ui/spectrumlinespanel.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kav {

class ColumnsList;
class FloatEdit;
class IntegerEdit;
class NuclideSelection;
class DataGrid;

// The advanced filter dialog of a chooser: five pages of criteria, the whole filter's switch, and
// what the chooser then offers. Every control writes its criterion into the selection's advanced
// filter at once; the selection applies it and the dialog shows what it then offers. In its wide
// mode it also lists the single spectrum lines that meet the line criteria.
class AdvancedFilterDialog : public QDialog, private CriteriaEditor {
public:
    enum class Page { AtomicMass, DecayChain, ModeOfDecay, HalfLife, Spectrum };
    using LineKind = SpectrumLinesPanel::LineKind;
    using enum SpectrumLinesPanel::LineKind;
    using LinesSort = SpectrumLinesPanel::LinesSort;
    using enum SpectrumLinesPanel::LinesSort;
    // The sizes of the form, for the program's 13-pixel font.
    static constexpr int NarrowWidth = 320;
    static constexpr int WideWidth = 780;
    static constexpr int ClientHeight = 500;
    static constexpr int MaxLines = SpectrumLinesPanel::MaxLines;

    // Edits the advanced filter of the selection, which outlives the dialog.
    explicit AdvancedFilterDialog(NuclideSelection& selection, QWidget* parent = nullptr);
    ~AdvancedFilterDialog() override;

    bool isMoreWidth() const { return m_isMoreWidth; }
    void setIsMoreWidth(bool value);
    // Shows a modal dialog of its own (the radiation-type chooser); tests replace it.
    std::function<int(QDialog&)> execModal;

    // The radiation codes the lines list counts as beta and as photon lines.
    const RadiationTypes& betaRadiationSet() const { return m_lines->betaRadiationSet(); }
    const RadiationTypes& gammaRadiationSet() const { return m_lines->gammaRadiationSet(); }
    LinesSort sortCol() const { return m_lines->sortCol(); }

    // The controls, for the chooser and for tests.
    QTabWidget* pages() const { return m_pages; }
    QCheckBox* enabledBox() const { return m_enabledBox; }
    QPushButton* linesListButton() const { return m_linesButton; }
    QTabWidget* resultPages() const { return m_resultPages; }
    QListWidget* resultNuclides() const;
    QListWidget* resultElements() const;
    QLabel* nuclidesCount() const { return m_nuclidesCount; }
    QLabel* elementsCount() const { return m_elementsCount; }
    QCheckBox* massEnabled(bool max) const { return m_massPage->enabledBox(max); }
    IntegerEdit* massValue(bool max) const { return m_massPage->valueField(max); }
    QCheckBox* ancestorsEnabled() const { return m_chainPage->enabledBox(false); }
    QListWidget* ancestorCounts() const { return m_chainPage->counts(false); }
    QCheckBox* daughtersEnabled() const { return m_chainPage->enabledBox(true); }
    QListWidget* daughterCounts() const { return m_chainPage->counts(true); }
    QCheckBox* decayEnabled() const { return m_modePage->enabledBox(); }
    QRadioButton* operationButton(DecayModeMatch operation) const { return m_modePage->operationButton(operation); }
    QListWidget* decayModes() const { return m_modePage->modes(); }
    QListWidget* decayOnlyModes() const { return m_modePage->onlyModes(); }
    QCheckBox* halfLifeEnabled(bool max) const { return m_halfLifePage->enabledBox(max); }
    FloatEdit* halfLifeValue(bool max) const { return m_halfLifePage->valueField(max); }
    QComboBox* halfLifeUnits(bool max) const { return m_halfLifePage->unitsBox(max); }
    FloatEdit* halfLifeLambda(bool max) const { return m_halfLifePage->lambdaField(max); }
    QPushButton* databaseButton() const { return m_halfLifePage->databaseButton(); }
    QCheckBox* spectrumEnabled() const { return m_spectrumPage->enabledBox(); }
    QCheckBox* criterionBox(SpectrumCriterion option) const { return m_spectrumPage->criterionBox(option); }
    FloatEdit* criterionBound(SpectrumCriterion option, bool max) const
    {
        return m_spectrumPage->boundField(option, max);
    }
    QGroupBox* linesGroup() const { return m_lines; }
    QRadioButton* lineKindButton(LineKind kind) const { return m_lines->lineKindButton(kind); }
    DataGrid* linesGrid() const { return m_lines->linesGrid(); }
    QLabel* linesLabel() const { return m_lines->linesLabel(); }
    QMenu* linesMenu() const { return m_lines->linesMenu(); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    // A key typed into a number field holds the chooser's choice until the typing ends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AdvancedFilter& editedFilter() override;
    bool showingFilter() const override { return m_updating; }
    void writeFilter(const std::function<void()>& change) override;
    void switchFilterOn() override;
    // Shows every criterion of the filter on the controls, without writing anything back.
    void showFilter();
    // After the selection applied a change: the result lists and the lines list.
    void refresh();
    // The lines list anew, once the dialog has been shown.
    void buildLines();
    void updateWidth();
    void pageChanged(int page);
    // The keyboard's focus to the first control of the page shown.
    void focusPage();

    NuclideSelection& m_selection;
    Notice<>::Connection m_filterApplied;
    bool m_shown = false;
    bool m_isMoreWidth = false;
    // Set while the dialog writes its own controls, so that their handlers stay quiet.
    bool m_updating = false;
    // Set when the selection's notice refreshed the lists during a write.
    bool m_refreshed = false;

    QTabWidget* m_pages = nullptr;
    MassPage* m_massPage = nullptr;
    DecayChainPage* m_chainPage = nullptr;
    DecayModePage* m_modePage = nullptr;
    HalfLifePage* m_halfLifePage = nullptr;
    SpectrumPage* m_spectrumPage = nullptr;
    QCheckBox* m_enabledBox = nullptr;
    QPushButton* m_linesButton = nullptr;
    QTabWidget* m_resultPages = nullptr;
    ColumnsList* m_nuclidesList = nullptr;
    ColumnsList* m_elementsList = nullptr;
    QLabel* m_nuclidesCount = nullptr;
    QLabel* m_elementsCount = nullptr;
    SpectrumLinesPanel* m_lines = nullptr;
};

} // namespace kav
