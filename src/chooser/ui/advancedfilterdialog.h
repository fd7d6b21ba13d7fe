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

    bool IsMoreWidth() const { return m_isMoreWidth; }
    void SetIsMoreWidth(bool value);
    // Shows a modal dialog of its own (the radiation-type chooser); tests replace it.
    std::function<int(QDialog&)> execModal;

    // The radiation codes the lines list counts as beta and as photon lines.
    const RadiationTypes& BetaRadiationSet() const { return m_lines->BetaRadiationSet(); }
    const RadiationTypes& GammaRadiationSet() const { return m_lines->GammaRadiationSet(); }
    LinesSort SortCol() const { return m_lines->SortCol(); }

    // The controls, for the chooser and for tests.
    QTabWidget* Pages() const { return m_pages; }
    QCheckBox* EnabledBox() const { return m_enabledBox; }
    QPushButton* LinesListButton() const { return m_linesButton; }
    QTabWidget* ResultPages() const { return m_resultPages; }
    QListWidget* ResultNuclides() const;
    QListWidget* ResultElements() const;
    QLabel* NuclidesCount() const { return m_nuclidesCount; }
    QLabel* ElementsCount() const { return m_elementsCount; }
    QCheckBox* MassEnabled(bool max) const { return m_massPage->EnabledBox(max); }
    IntegerEdit* MassValue(bool max) const { return m_massPage->ValueField(max); }
    QCheckBox* AncestorsEnabled() const { return m_chainPage->EnabledBox(false); }
    QListWidget* AncestorCounts() const { return m_chainPage->Counts(false); }
    QCheckBox* DaughtersEnabled() const { return m_chainPage->EnabledBox(true); }
    QListWidget* DaughterCounts() const { return m_chainPage->Counts(true); }
    QCheckBox* DecayEnabled() const { return m_modePage->EnabledBox(); }
    QRadioButton* OperationButton(DecayModeMatch operation) const { return m_modePage->OperationButton(operation); }
    QListWidget* DecayModes() const { return m_modePage->Modes(); }
    QListWidget* DecayOnlyModes() const { return m_modePage->OnlyModes(); }
    QCheckBox* HalfLifeEnabled(bool max) const { return m_halfLifePage->EnabledBox(max); }
    FloatEdit* HalfLifeValue(bool max) const { return m_halfLifePage->ValueField(max); }
    QComboBox* HalfLifeUnits(bool max) const { return m_halfLifePage->UnitsBox(max); }
    FloatEdit* HalfLifeLambda(bool max) const { return m_halfLifePage->LambdaField(max); }
    QPushButton* DatabaseButton() const { return m_halfLifePage->DatabaseButton(); }
    QCheckBox* SpectrumEnabled() const { return m_spectrumPage->EnabledBox(); }
    QCheckBox* CriterionBox(SpectrumCriterion option) const { return m_spectrumPage->CriterionBox(option); }
    FloatEdit* CriterionBound(SpectrumCriterion option, bool max) const
    {
        return m_spectrumPage->BoundField(option, max);
    }
    QGroupBox* LinesGroup() const { return m_lines; }
    QRadioButton* LineKindButton(LineKind kind) const { return m_lines->LineKindButton(kind); }
    DataGrid* LinesGrid() const { return m_lines->LinesGrid(); }
    QLabel* LinesLabel() const { return m_lines->LinesLabel(); }
    QMenu* LinesMenu() const { return m_lines->LinesMenu(); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    // A key typed into a number field holds the chooser's choice until the typing ends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AdvancedFilter& EditedFilter() override;
    bool ShowingFilter() const override { return m_updating; }
    void WriteFilter(const std::function<void()>& change) override;
    void SwitchFilterOn() override;
    // Shows every criterion of the filter on the controls, without writing anything back.
    void ShowFilter();
    // After the selection applied a change: the result lists and the lines list.
    void Refresh();
    // The lines list anew, once the dialog has been shown.
    void BuildLines();
    void UpdateWidth();
    void PageChanged(int page);
    // The keyboard's focus to the first control of the page shown.
    void FocusPage();

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
