#pragma once

#include "base/messageboxes.h"
#include "base/notice.h"
#include "chooser/nuclideselection.h"
#include "chooser/ui/periodictable.h"

#include <QComboBox>
#include <QFrame>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QMenu;
class QKeyEvent;
class QToolButton;

namespace kav {

enum class ChooserMenuEntry : std::uint8_t { Choice, Sort, Filter, AdvancedFilter, LoadElementList, LoadNuclideList };
using ChooserMenuEntries = EnumSet<ChooserMenuEntry, 8>;

// Geometry of the panel's boxes, in pixels.
struct ChooserLayout {
    int indentLeft = 8;
    int indentTop = 8;
    int widthElement = 44;
    int widthElementDropDown = 121;
    int widthMass = 54;
    int widthNuclide = 87;
    int widthToolbar = 76;
    int widthToolbarButtons = 76;
    int shiftMass = 8;
    int shiftToolbar = 0;
};

// The control through which one radionuclide is picked: an element box and a mass box, or one
// box of names, with the buttons and drop-down menus of the history and a right-click menu for
// the way of choosing and the order. The choice itself, its lists and history are a
// NuclideSelection that the panel shows on its widgets.
class NuclideChooser : public QFrame {
public:
    // The index the panel offers from, its spectra and the boxes its messages go to outlive it.
    NuclideChooser(const NuclideIndex& index, SpectraFiles& spectra, MessageBoxes& messageBoxes,
                   QWidget* parent = nullptr);
    ~NuclideChooser() override;

    // The choice itself, its lists, history and filter.
    NuclideSelection& selection() { return m_selection; }
    const NuclideSelection& selection() const { return m_selection; }
    ElementGroupColours& elementGroups() { return m_periodicTable->elementGroups(); }
    PeriodicTablePopup* elementMenu() const { return m_periodicTable; }

    int elCount() const { return static_cast<int>(m_selection.elementList().size()); }
    int nuclideCount() const { return static_cast<int>(m_selection.nuclides().size()); }
    QStringList fullNuclideList() const;

    void setChoiceType(ChoiceKind value);
    void setLanguage(UiLanguage value);
    ChooserMenuEntries popupMenuOptions() const { return m_popupMenuOptions; }
    void setPopupMenuOptions(ChooserMenuEntries value);
    bool allowElementPopupMenu = true;
    void setShowUndoRedoButtons(bool value);
    bool undoRedoHint = true;
    const ChooserLayout& widthsNShifts() const { return m_layout; }
    void setWidthsNShifts(const ChooserLayout& value);

    QToolButton* undoButton() const { return m_undoButton; }
    QToolButton* redoButton() const { return m_redoButton; }
    QMenu* popupMenu() const { return m_nuclideMenu; }

    // The boxes, for the owner's colours and for tests.
    QComboBox* elementBox() const { return m_elementBox; }
    QComboBox* aMassBox() const { return m_massBox; }
    QComboBox* nuclideBox() const { return m_nuclideBox; }
    // Opens the periodic table under the element box, as Ctrl+click does (with the press held).
    void dropDown_pmElements(bool byMousePress = false);
    // Opens (true) or closes (false) a box's list.
    void dropDown_cbElement(bool open) { open ? m_elementBox->showPopup() : m_elementBox->hidePopup(); }
    void dropDown_cbAMass(bool open) { open ? m_massBox->showPopup() : m_massBox->hidePopup(); }
    void dropDownNuclideBox(bool open) { open ? m_nuclideBox->showPopup() : m_nuclideBox->hidePopup(); }
    // A box's rectangle on the screen.
    QRect getRect_cbElement() const;
    QRect getRect_cbAMass() const;
    QRect nuclideBoxRect() const;

    // The advanced filter dialog on the page and in the width it was last closed with.
    void execAdvFilterDialog();
    // Switches the advanced filter off; its criteria stay for the next time.
    void clearAdvancedFilter();
    // The mark beside the boxes that says the advanced filter is on; its tip lists the criteria.
    QToolButton* advancedMark() const { return m_advancedButton; }
    // A short text for the owner's status line: why a typed name was not taken, or why the
    // chooser offers nothing.
    std::function<void(const QString& text)> onStatusText;
    // What has been typed into a focused box towards a nuclide's name.
    const QString& typedName() const { return m_typed; }

    // The filter dialog with both pages, the element page or the nuclide page.
    void execFilterDialog() { execFilterForm(true, true); }
    void execElementFilterDialog() { execFilterForm(true, false); }
    void execNuclideFilterDialog() { execFilterForm(false, true); }
    // Element and nuclide lists from text files.
    void execLoadElListDialog();
    void execLoadNuclideListDialog();
    // The "Set radionuclide" dialog.
    void editNuclide();
    // Shows a modal dialog; asks for a text file to open (empty when cancelled). Tests replace both.
    std::function<int(QDialog&)> execModal;
    std::function<QString(const QString& title)> openTextFile;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the selection on the widgets: box items and current entries, history, menus.
    void showSelection();
    static void fillBox(QComboBox* box, const QStringList& items, int current);
    void updateHistoryButtons();
    void layOut();
    void buildPopupMenu();
    // Gives the menu's entries their captions in the panel's language.
    void retitlePopupMenu();
    void updatePopupChecks();
    void showBoxes();
    void execFilterForm(bool elements, bool nuclides);
    // Asks for a text file with the given title and hands its bytes to the filter.
    void loadListFile(const QString& title, const std::function<void(const QByteArray&)>& load);
    QString caption(int entry) const;
    // The mark's visibility, colour and tip after a change of the filter.
    void updateAdvancedMark();
    // Quick entry: a key typed into a box; true when it was taken.
    bool quickEntryKey(QComboBox* box, QKeyEvent* event);
    void goToTypedName();
    void sayStatus(const QString& text);

    const NuclideIndex& m_index;
    SpectraFiles& m_spectra;
    MessageBoxes& m_messageBoxes;
    NuclideSelection m_selection;
    PeriodicTablePopup* m_periodicTable = nullptr;
    QComboBox* m_elementBox = nullptr;
    QComboBox* m_massBox = nullptr;
    QComboBox* m_nuclideBox = nullptr;
    QWidget* m_historyBar = nullptr;
    QToolButton* m_undoButton = nullptr;
    QToolButton* m_redoButton = nullptr;
    QToolButton* m_advancedButton = nullptr;
    QString m_typed;
    bool m_saidEmptied = false; // the status line says that the advanced filter left nothing
    QMenu* m_undoMenu = nullptr;
    QMenu* m_redoMenu = nullptr;
    QMenu* m_nuclideMenu = nullptr;
    // The entries of m_nuclideMenu.
    struct PopupMenuEntries {
        std::array<QAction*, 2> choices{};
        std::array<QAction*, 4> sorts{};
        QAction* filter = nullptr;
        QAction* elementFilter = nullptr;
        QAction* nuclideFilter = nullptr;
        QAction* advancedFilter = nullptr;
        QAction* clearAdvanced = nullptr;
        QAction* loadElements = nullptr;
        QAction* loadNuclides = nullptr;
    } m_menu;

    Notice<>::Connection m_showingSelection;
    Notice<>::Connection m_followingFilter;
    ChooserMenuEntries m_popupMenuOptions = ChooserMenuEntries::fromRaw(0x3F);
    ChooserLayout m_layout;
};

} // namespace kav
