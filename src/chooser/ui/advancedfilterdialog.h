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
    enum Page { pgAtomicMass, pgDecayChain, pgModeOfDecay, pgHalfLife, pgSpectrum };
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

    bool IsMoreWidth() const { return FIsMoreWidth; }
    void SetIsMoreWidth(bool value);
    // Shows a modal dialog of its own (the radiation-type chooser); tests replace it.
    std::function<int(QDialog&)> ExecModal;

    // The radiation codes the lines list counts as beta and as photon lines.
    const RadiationTypes& BetaRadiationSet() const { return FLines->BetaRadiationSet(); }
    const RadiationTypes& GammaRadiationSet() const { return FLines->GammaRadiationSet(); }
    LinesSort SortCol() const { return FLines->SortCol(); }

    // The controls, for the chooser and for tests.
    QTabWidget* Pages() const { return FPages; }
    QCheckBox* EnabledBox() const { return FEnabledBox; }
    QPushButton* LinesListButton() const { return FLinesButton; }
    QTabWidget* ResultPages() const { return FResultPages; }
    QListWidget* ResultNuclides() const;
    QListWidget* ResultElements() const;
    QLabel* NuclidesCount() const { return FNuclidesCount; }
    QLabel* ElementsCount() const { return FElementsCount; }
    QCheckBox* MassEnabled(bool max) const { return FMassPage->EnabledBox(max); }
    IntegerEdit* MassValue(bool max) const { return FMassPage->ValueField(max); }
    QCheckBox* AncestorsEnabled() const { return FChainPage->EnabledBox(false); }
    QListWidget* AncestorCounts() const { return FChainPage->Counts(false); }
    QCheckBox* DaughtersEnabled() const { return FChainPage->EnabledBox(true); }
    QListWidget* DaughterCounts() const { return FChainPage->Counts(true); }
    QCheckBox* DecayEnabled() const { return FModePage->EnabledBox(); }
    QRadioButton* OperationButton(DecayModeMatch operation) const { return FModePage->OperationButton(operation); }
    QListWidget* DecayModes() const { return FModePage->Modes(); }
    QListWidget* DecayOnlyModes() const { return FModePage->OnlyModes(); }
    QCheckBox* HalfLifeEnabled(bool max) const { return FHalfLifePage->EnabledBox(max); }
    FloatEdit* HalfLifeValue(bool max) const { return FHalfLifePage->ValueField(max); }
    QComboBox* HalfLifeUnits(bool max) const { return FHalfLifePage->UnitsBox(max); }
    FloatEdit* HalfLifeLambda(bool max) const { return FHalfLifePage->LambdaField(max); }
    QPushButton* DatabaseButton() const { return FHalfLifePage->DatabaseButton(); }
    QCheckBox* SpectrumEnabled() const { return FSpectrumPage->EnabledBox(); }
    QCheckBox* CriterionBox(SpectrumCriterion option) const { return FSpectrumPage->CriterionBox(option); }
    FloatEdit* CriterionBound(SpectrumCriterion option, bool max) const
    {
        return FSpectrumPage->BoundField(option, max);
    }
    QGroupBox* LinesGroup() const { return FLines; }
    QRadioButton* LineKindButton(LineKind kind) const { return FLines->LineKindButton(kind); }
    DataGrid* LinesGrid() const { return FLines->LinesGrid(); }
    QLabel* LinesLabel() const { return FLines->LinesLabel(); }
    QMenu* LinesMenu() const { return FLines->LinesMenu(); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    // A key typed into a number field holds the chooser's choice until the typing ends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AdvancedFilter& EditedFilter() override;
    bool ShowingFilter() const override { return FUpdating; }
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

    NuclideSelection& FSelection;
    Notice<>::Connection FFilterApplied;
    bool FShown = false;
    bool FIsMoreWidth = false;
    // Set while the dialog writes its own controls, so that their handlers stay quiet.
    bool FUpdating = false;
    // Set when the selection's notice refreshed the lists during a write.
    bool FRefreshed = false;

    QTabWidget* FPages = nullptr;
    MassPage* FMassPage = nullptr;
    DecayChainPage* FChainPage = nullptr;
    DecayModePage* FModePage = nullptr;
    HalfLifePage* FHalfLifePage = nullptr;
    SpectrumPage* FSpectrumPage = nullptr;
    QCheckBox* FEnabledBox = nullptr;
    QPushButton* FLinesButton = nullptr;
    QTabWidget* FResultPages = nullptr;
    ColumnsList* FNuclidesList = nullptr;
    ColumnsList* FElementsList = nullptr;
    QLabel* FNuclidesCount = nullptr;
    QLabel* FElementsCount = nullptr;
    SpectrumLinesPanel* FLines = nullptr;
};

} // namespace kav
