#pragma once

#include "nuclides/nuclideindex.h"

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>

namespace kav {

// The colours of the element groups of the periodic table.
class ElementGroupColours {
public:
    QColor alkaliMetalsColor{0xFF, 0xCC, 0x99};
    QColor alkalineEarthMetalsColor{0xCC, 0xFF, 0xCC};
    QColor transitionMetalsColor{0x99, 0xCC, 0x00};
    QColor otherMetalsColor{0xFF, 0x80, 0x80};
    QColor nonMetalsColor{0xFF, 0xFF, 0xCC};
    QColor nobleGasesColor{0xFF, 0x99, 0xCC};
    QColor lanthanideSeriesColor{0xCC, 0xFF, 0xFF};
    QColor actinideSeriesColor{0x99, 0xCC, 0xFF};

    QColor getElementColor(ChemicalElement element) const;
};

enum class ElementsOffered : std::uint8_t { All, InIndex, Custom };

// Which elements a periodic table offers: all, those of the index, or a set of its own.
class OfferedElements {
public:
    explicit OfferedElements(const NuclideIndex& index);

    ElementsOffered enableElementType() const { return m_type; }
    void setEnableElementType(ElementsOffered value);
    const ElementSet& elements() const { return m_elementSet; }
    void setElementSet(const ElementSet& value);
    // The set as stored with a configuration: bit (i mod 32) of integer (i div 32), i to 99.
    std::array<std::int32_t, 4> storedElementSet() const;
    void readStoredElementSet(const std::array<std::int32_t, 4>& stored);
    // The element page of the filter dialog; true, with the set taken, on OK.
    bool editDlg(QWidget* parent = nullptr);
    const NuclideIndex& index() const { return m_index; }

    std::function<void()> onChange;
    std::function<int(QDialog&)> execModal;

private:
    const NuclideIndex& m_index;
    ElementsOffered m_type = ElementsOffered::InIndex;
    ElementSet m_elementSet;
};

// The short periodic table as a pop-up: one cell per element in its group's colour, the
// elements not offered engraved and not to be chosen, the current element sunken.
class PeriodicTablePopup : public QWidget {
public:
    static constexpr int Columns = 10;
    static constexpr int Rows = 16;

    // The index decides which elements it holds; it outlives the table.
    explicit PeriodicTablePopup(const NuclideIndex& index, QWidget* parent = nullptr);
    ~PeriodicTablePopup() override;

    ChemicalElement element() const { return m_element; }
    void setElement(ChemicalElement value);
    OfferedElements& elementEnabled() { return m_enabled; }
    void setEnabledElements(ElementsOffered type, const ElementSet& set);
    UiLanguage language() const { return m_language; }
    void setLanguage(UiLanguage value);
    ElementGroupColours& elementGroups() { return m_groups; }
    bool isElementEnabled(ChemicalElement element) const;

    // Opens with the top left corner at a screen point, the current element highlighted. Opened
    // by a mouse press, the release of that press picks only when the pointer was dragged onto an
    // element; otherwise the table stays open for a click, the arrow keys and Enter, until an
    // element is picked, the user clicks outside or presses Escape.
    void popup(QPoint topLeft, bool byMousePress = false);
    // The label above the highlighted cell that names its element.
    QLabel* nameTip() const { return m_nameTip; }
    // The highlighted cell (column, row), or (-1, -1).
    QPoint hotCell() const { return m_hot; }
    // The element of a cell of the table (row, column), or ChemicalElement::None for none.
    static ChemicalElement cellElement(int row, int column);
    // The cell under a point of the pop-up, or (-1, -1).
    QPoint cellAt(QPoint pos) const;

    std::function<void(ChemicalElement value)> onChoiceElement;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QRect cellRect(int row, int column) const;
    QPoint cellOf(ChemicalElement element) const;
    void enabledChanged();
    // Highlights a cell (or none) and names its element above it.
    void setHot(QPoint cell);
    // The next cell with an element that can be picked, from a cell in a direction; or the cell.
    QPoint nextEnabledCell(QPoint from, int dColumn, int dRow) const;
    void pick(QPoint cell);

    ChemicalElement m_element = ChemicalElement::H;
    OfferedElements m_enabled;
    UiLanguage m_language = UiLanguage::English;
    ElementGroupColours m_groups;
    QPoint m_hot{-1, -1};
    QLabel* m_nameTip = nullptr;
    bool m_awaitingRelease = false; // the press that opened the table is still held
    bool m_dragged = false; // the pointer went over the table while it was
    int m_cellWidth = 24;
    int m_cellHeight = 18;
};

} // namespace kav
