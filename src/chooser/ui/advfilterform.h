#pragma once

#include "base/notice.h"
#include "chooser/rnxadvancedfilter.h"
#include "chooser/spectrumlines.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace kav {

class TQzFloatEdit;
class TQzIntegerEdit;
class TQzRNXPanel;
class TQzStringGrid;
class TQzColumnsList;

// The advanced filter dialog of a chooser panel. Every control writes its criterion into the
// panel's advanced filter at once; the panel applies it and the dialog shows what the panel then
// offers. In its wide mode it also lists the single spectrum lines that meet the line criteria.
class TQzRNXAdvFilterForm : public QDialog {
public:
    enum Page { pgAtomicMass, pgDecayChain, pgModeOfDecay, pgHalfLife, pgSpectrum };
    enum LineKind { lkAlpha, lkBeta, lkGamma };
    // The orders of the lines list: as the panel lists the nuclides, by energy, by energy per
    // decay, by half-life (shortest first).
    enum LinesSort { lsListOrder = 1, lsEnergy = 3, lsYield = 4, lsHalfLife = 5 };
    // The sizes of the form, for the program's 13-pixel font.
    static constexpr int NarrowWidth = 320;
    static constexpr int WideWidth = 780;
    static constexpr int ClientHeight = 500;
    static constexpr int MaxLines = 9999;

    explicit TQzRNXAdvFilterForm(TQzRNXPanel& panel, QWidget* parent = nullptr);
    ~TQzRNXAdvFilterForm() override;

    // Binds the dialog to the panel's advanced filter and shows its criteria.
    void SetAdvancedFilter(TQzRNXAdvancedFilter& filter);
    bool IsMoreWidth() const { return FIsMoreWidth; }
    void SetIsMoreWidth(bool value);
    // Shows a modal dialog of its own (the radiation-type chooser); tests replace it.
    std::function<int(QDialog&)> ExecModal;

    // The radiation codes the lines list counts as beta and as photon lines.
    const TRNXRadiationSet& BetaRadiationSet() const { return FBetaSet; }
    const TRNXRadiationSet& GammaRadiationSet() const { return FGammaSet; }
    LinesSort SortCol() const { return FSortCol; }

    // The controls, for the panel and for tests.
    QTabWidget* Pages() const { return FPages; }
    QCheckBox* EnabledBox() const { return cbEnabled; }
    QPushButton* LinesListButton() const { return bLinesList; }
    QTabWidget* ResultPages() const { return FResultPages; }
    QListWidget* ResultNuclides() const;
    QListWidget* ResultElements() const;
    QLabel* NuclidesCount() const { return lNuclidesCount; }
    QLabel* ElementsCount() const { return lElementsCount; }
    QCheckBox* MassEnabled(bool max) const { return max ? cbMassMax : cbMassMin; }
    TQzIntegerEdit* MassValue(bool max) const { return max ? ieMassMax : ieMassMin; }
    QCheckBox* AncestorsEnabled() const { return cbAncestors; }
    QListWidget* AncestorCounts() const { return clbAncestors; }
    QCheckBox* DaughtersEnabled() const { return cbDaughters; }
    QListWidget* DaughterCounts() const { return clbDaughters; }
    QCheckBox* DecayEnabled() const { return cbDecay; }
    QRadioButton* OperationButton(TQzRNXFilterOperation operation) const;
    QListWidget* DecayModes() const { return clbModes; }
    QListWidget* DecayOnlyModes() const { return clbOnlyModes; }
    QCheckBox* HalfLifeEnabled(bool max) const { return FHalfLife[max].enabled; }
    TQzFloatEdit* HalfLifeValue(bool max) const { return FHalfLife[max].value; }
    QComboBox* HalfLifeUnits(bool max) const { return FHalfLife[max].units; }
    TQzFloatEdit* HalfLifeLambda(bool max) const { return FHalfLife[max].lambda; }
    QPushButton* DatabaseButton() const { return bDatabase; }
    QCheckBox* SpectrumEnabled() const { return cbSpectrum; }
    QCheckBox* CriterionBox(TQzRNXSpectrumOption option) const { return FCriteria[option].use; }
    TQzFloatEdit* CriterionBound(TQzRNXSpectrumOption option, bool max) const
    {
        return max ? FCriteria[option].max : FCriteria[option].min;
    }
    QGroupBox* LinesGroup() const { return gbLines; }
    QRadioButton* LineKindButton(LineKind kind) const;
    TQzStringGrid* LinesGrid() const { return sgLines; }
    QLabel* LinesLabel() const { return lLines; }
    QMenu* LinesMenu() const { return pmLines; }

    // The count of a list in words: "12 radionuclides", "1 element", "List is empty!".
    enum CountKind { ckNuclides, ckElements, ckLines };
    static QString CountText(int count, CountKind kind, TQzLanguage language);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    // A key typed into a number field holds the chooser's choice until the typing ends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HalfLifeEnd {
        QCheckBox* enabled = nullptr;
        TQzFloatEdit* value = nullptr;
        QComboBox* units = nullptr;
        TQzFloatEdit* lambda = nullptr;
    };
    struct CriterionRow {
        QCheckBox* use = nullptr;
        TQzFloatEdit* min = nullptr;
        TQzFloatEdit* max = nullptr;
    };
    QWidget* MakeMassPage();
    QWidget* MakeDecayChainPage();
    QWidget* MakeModeOfDecayPage();
    QWidget* MakeHalfLifePage();
    QWidget* MakeSpectrumPage();
    QWidget* MakeLinesArea();
    // Shows every criterion of the filter on the controls, without writing anything back.
    void ShowFilter();
    // Shows the chosen fields of one half-life end.
    void ShowHalfLife(bool max, bool value, bool units, bool lambda);
    void ShowBound(TQzRNXSpectrumOption option, bool max);
    void ShowModes();
    // Writes the filter through a control's change; the lists follow.
    template <class Change> void Write(Change change);
    void WriteBound(TQzRNXSpectrumOption option, bool max, bool typingEnded);
    // Editing a criterion switches it on, and switching a criterion on switches its page (for a
    // spectrum criterion) and the filter on, whichever of them were off: checks the boxes, whose
    // handlers write the filter.
    void SwitchOnIf(bool condition, QCheckBox* box);
    // After the panel applied a change: the result lists and the lines list.
    void Refresh();
    void BuildLines();
    void ShowLines();
    void SortRows(LinesSort sort);
    void SortLines(LinesSort sort);
    void ChooseRadiations();
    void UpdateWidth();
    void PageChanged(int page);
    // The keyboard's focus to the first control of the page shown.
    void FocusPage();

    TQzRNXPanel& FPanel;
    TQzRNXAdvancedFilter* FFilter = nullptr;
    Notice<>::Connection FPanelFilterChanged;
    bool FShown = false;
    bool FIsMoreWidth = false;
    // Set while the dialog writes its own controls, so that their handlers stay quiet.
    bool FUpdating = false;
    // Set when the panel's notice refreshed the lists during a write.
    bool FRefreshed = false;
    LineKind FViewKind = lkAlpha;
    TRNXRadiationSet FBetaSet;
    TRNXRadiationSet FGammaSet;
    LinesSort FSortCol = lsListOrder;
    std::vector<FoundLine> FLines;
    bool FLinesTooMany = false;

    QTabWidget* FPages = nullptr;
    QCheckBox* cbEnabled = nullptr;
    QPushButton* bLinesList = nullptr;
    QTabWidget* FResultPages = nullptr;
    TQzColumnsList* lbNuclides = nullptr;
    TQzColumnsList* lbElements = nullptr;
    QLabel* lNuclidesCount = nullptr;
    QLabel* lElementsCount = nullptr;
    QCheckBox* cbMassMin = nullptr;
    QCheckBox* cbMassMax = nullptr;
    TQzIntegerEdit* ieMassMin = nullptr;
    TQzIntegerEdit* ieMassMax = nullptr;
    QCheckBox* cbAncestors = nullptr;
    QListWidget* clbAncestors = nullptr;
    QCheckBox* cbDaughters = nullptr;
    QListWidget* clbDaughters = nullptr;
    QCheckBox* cbDecay = nullptr;
    QButtonGroup* rgOperation = nullptr;
    QListWidget* clbModes = nullptr;
    QListWidget* clbOnlyModes = nullptr;
    std::array<HalfLifeEnd, 2> FHalfLife;
    QPushButton* bDatabase = nullptr;
    QCheckBox* cbSpectrum = nullptr;
    std::array<CriterionRow, RNXSpectrumOptionCount> FCriteria;
    QGroupBox* gbLines = nullptr;
    QButtonGroup* rgLineKind = nullptr;
    TQzStringGrid* sgLines = nullptr;
    QLabel* lLines = nullptr;
    QMenu* pmLines = nullptr;
    std::array<QAction*, 4> FSortActions{};
};

// The chooser of the radiation types the lines list counts as beta and as photon lines.
class TQzSetFilteredLinesForm : public QDialog {
public:
    TQzSetFilteredLinesForm(const TRNXRadiationSet& beta, const TRNXRadiationSet& gamma, TQzLanguage language,
                            QWidget* parent = nullptr);

    QListWidget* BetaList() const { return clbBeta; }
    QListWidget* GammaList() const { return clbGamma; }
    QPushButton* OkButton() const { return bOK; }
    TRNXRadiationSet BetaSet() const;
    TRNXRadiationSet GammaSet() const;

    // OK with nothing checked in a list checks all of it and stays open.
    void accept() override;

private:
    QListWidget* clbBeta = nullptr;
    QListWidget* clbGamma = nullptr;
    QPushButton* bOK = nullptr;
};

} // namespace kav
