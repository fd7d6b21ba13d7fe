#pragma once

#include "chooser/spectrumlines.h"
#include "nuclides/spectrum.h"

#include <QDialog>
#include <QGroupBox>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QButtonGroup;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kav {

class NuclideSelection;
class DataGrid;

// The single spectrum lines of the nuclides a chooser offers that meet the line criteria of its
// spectrum filter (energy and energy per decay of the kind of line shown): alpha, beta or photon
// lines, in one of four orders, at most MaxLines of them.
class SpectrumLinesPanel : public QGroupBox {
public:
    enum class LineKind { Alpha, Beta, Gamma };
    // The orders of the list: as the chooser lists the nuclides, by energy, by energy per decay,
    // by half-life (shortest first).
    enum class LinesSort { ListOrder = 1, Energy = 3, Yield = 4, HalfLife = 5 };
    static constexpr int MaxLines = 9999;

    // The selection outlives the panel.
    SpectrumLinesPanel(const NuclideSelection& selection, QWidget* parent);

    // Lists the lines anew, after the filter or the nuclides on offer changed.
    void rebuild();
    // Shows a modal dialog of its own (the radiation-type chooser); tests replace it.
    std::function<int(QDialog&)> execModal;

    // The radiation codes the list counts as beta and as photon lines.
    const RadiationTypes& betaRadiationSet() const { return m_betaSet; }
    const RadiationTypes& gammaRadiationSet() const { return m_gammaSet; }
    LinesSort sortCol() const { return m_sort; }
    QRadioButton* lineKindButton(LineKind kind) const;
    DataGrid* linesGrid() const { return m_grid; }
    QLabel* linesLabel() const { return m_count; }
    QMenu* linesMenu() const { return m_menu; }

private:
    void sortRows(LinesSort sort);
    void sortLines(LinesSort sort);
    void showLines();
    void chooseRadiations();

    const NuclideSelection& m_selection;
    LineKind m_kind = LineKind::Alpha;
    RadiationTypes m_betaSet;
    RadiationTypes m_gammaSet;
    LinesSort m_sort = LinesSort::ListOrder;
    std::vector<FoundLine> m_lines;
    bool m_linesCut = false;
    QButtonGroup* m_kinds = nullptr;
    DataGrid* m_grid = nullptr;
    QLabel* m_count = nullptr;
    QMenu* m_menu = nullptr;
    std::array<QAction*, 4> m_sortActions{};
};

// The chooser of the radiation types the lines list counts as beta and as photon lines.
class LineTypesDialog : public QDialog {
public:
    LineTypesDialog(const RadiationTypes& beta, const RadiationTypes& gamma, UiLanguage language,
                    QWidget* parent = nullptr);

    QListWidget* betaList() const { return m_betaList; }
    QListWidget* gammaList() const { return m_gammaList; }
    QPushButton* okButton() const { return m_okButton; }
    RadiationTypes betaSet() const;
    RadiationTypes gammaSet() const;

    // OK with nothing checked in a list checks all of it and stays open.
    void accept() override;

private:
    QListWidget* m_betaList = nullptr;
    QListWidget* m_gammaList = nullptr;
    QPushButton* m_okButton = nullptr;
};

} // namespace kav
