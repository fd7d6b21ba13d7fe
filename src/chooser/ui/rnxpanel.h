#pragma once

#include "chooser/ui/elementmenu.h"
#include "chooser/rnxfilter.h"
#include "nuclides/rnxnames.h"

#include <QComboBox>
#include <QFrame>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QMenu;
class QToolButton;

namespace kav {

enum TQzRNXChoiceType : std::uint8_t { ctIndependent, ctFullList };
enum TQzRNXPanelPopupMenuOption : std::uint8_t {
    pmoChoice, pmoSort, pmoFilter, pmoAdvancedFilter, pmoLoadElList, pmoLoadRNXList
};
using TQzRNXPanelPopupMenuOptions = EnumSet<TQzRNXPanelPopupMenuOption, 8>;

// Geometry of the panel's boxes, in pixels.
struct TQzRNXWidthsNShiftsParams {
    int IndentLeft = 8;
    int IndentTop = 8;
    int WidthElement = 44;
    int WidthElementDropDown = 121;
    int WidthAMass = 54;
    int WidthRNuclide = 87;
    int WidthToolbar = 76;
    int WidthToolbarButtons = 76;
    int ShiftAMass = 8;
    int ShiftToolbar = 0;
};

// The control through which one radionuclide is picked: an element box and a mass box, or one
// box of names, narrowed by a filter; with a history of the choices left (undo and redo) and a
// right-click menu for the way of choosing and the order. Every new choice is reported through
// OnRNXChanged. Until the panel is first shown its setters only store the choice, which the
// first showing reports once.
class TQzRNXPanel : public QFrame {
public:
    explicit TQzRNXPanel(QWidget* parent = nullptr);
    ~TQzRNXPanel() override;

    TQzRNXFilter& Filter() { return FFilter; }
    TQzRNXElementGroups& ElementGroups() { return pmElements->ElementGroups(); }
    TQzRNXElementPopupMenu* ElementMenu() const { return pmElements; }

    TRNXElement Element() const { return FElement; }
    void SetElement(TRNXElement value);
    const TRNXAMass& AMass() const { return FAMass; }
    void SetAMass(const TRNXAMass& value);
    void SetElementAndAMass(TRNXElement element, const TRNXAMass& aMass);
    QString RNXname() const;
    void SetRNXname(const QString& value);
    // The object of the selected entry of the nuclide list, or null.
    const TBasicRNX* BasicRNX() const;
    int ElCount() const;
    int RNXCount() const { return static_cast<int>(FRNXList.size()); }
    QStringList FullRNXList() const;
    QStringList FullElementsList() const;
    QStringList FullAMassList() const;

    TQzRNXChoiceType ChoiceType() const { return FChoiceType; }
    void SetChoiceType(TQzRNXChoiceType value);
    TQzRNXSortType RNXSortType() const { return FRNXSortType; }
    void SetRNXSortType(TQzRNXSortType value);
    TQzRNXSortType ElementsSortType() const { return FElementsSortType; }
    void SetElementsSortType(TQzRNXSortType value);
    TQzLanguage Language() const { return FLanguage; }
    void SetLanguage(TQzLanguage value);
    int MaxUndoListCount() const { return FMaxUndoListCount; }
    void SetMaxUndoListCount(int value);
    TQzRNXPanelPopupMenuOptions PopupMenuOptions() const { return FPopupMenuOptions; }
    void SetPopupMenuOptions(TQzRNXPanelPopupMenuOptions value);
    bool AllowElementPopupMenu = true;
    bool ShowUndoRedoButtons() const { return FShowUndoRedoButtons; }
    void SetShowUndoRedoButtons(bool value);
    bool StandartUndoRedoHint = true;
    const TQzRNXWidthsNShiftsParams& WidthsNShifts() const { return FLayout; }
    void SetWidthsNShifts(const TQzRNXWidthsNShiftsParams& value);

    std::function<void(const TBasicRNX& rnx)> OnRNXChanged;
    std::function<void(TQzRNXPanel* sender)> OnFilterChanged;
    std::function<void(TQzRNXPanel* sender)> OnFilterListsChanged;

    // History, newest first.
    QStringList UndoNames() const;
    QStringList RedoNames() const;
    void Undo(int k = 0);
    void Redo(int k = 0);
    QToolButton* UndoButton() const { return tbUndo; }
    QToolButton* RedoButton() const { return tbRedo; }
    QMenu* PopupMenu() const { return pmRNX; }

    // The boxes, for the owner's colours and for tests.
    QComboBox* ElementBox() const { return cbElement; }
    QComboBox* AMassBox() const { return cbAMass; }
    QComboBox* RNXBox() const { return cbRNX; }
    bool WindowCreated() const { return FWindowCreated; }
    // Opens the periodic table under the element box, as Ctrl+click does (with the press held).
    void DropDown_pmElements(bool byMousePress = false);
    // Opens (true) or closes (false) a box's list.
    void DropDown_cbElement(bool open) { open ? cbElement->showPopup() : cbElement->hidePopup(); }
    void DropDown_cbAMass(bool open) { open ? cbAMass->showPopup() : cbAMass->hidePopup(); }
    void DropDown_cbRNX(bool open) { open ? cbRNX->showPopup() : cbRNX->hidePopup(); }
    // A box's rectangle on the screen.
    QRect GetRect_cbElement() const;
    QRect GetRect_cbAMass() const;
    QRect GetRect_cbRNX() const;
    // The folder of an index file of the panel's own; a new folder rebuilds the index from it.
    const QString& PathToRNXFile() const { return FPathToRNXFile; }
    void SetPathToRNXFile(const QString& value);

    // The filter dialog with both pages, the element page or the nuclide page.
    void ExecFilterDialog() { ExecFilterForm(true, true); }
    void ExecElementFilterDialog() { ExecFilterForm(true, false); }
    void ExecRNXFilterDialog() { ExecFilterForm(false, true); }
    // Element and nuclide lists from text files.
    void ExecLoadElListDialog();
    void ExecLoadRNXListDialog();
    // The "Set radionuclide" dialog.
    void EditRNX();
    // Shows a modal dialog; asks for a text file to open (empty when cancelled). Tests replace both.
    std::function<int(QDialog&)> ExecModal;
    std::function<QString(const QString& title)> OpenTextFile;

    // What the user does with the boxes: the row of a box chosen.
    void ElementPicked(int row, bool fromHistory = false);
    void AMassPicked(int row);
    void RNXPicked(int row);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QString name;
        const TBasicRNX* object;
    };
    struct HistoryEntry {
        QString name;
        TBasicRNX rnx;
    };

    void CreateWindow();
    void RebuildElementList();
    void RebuildAMassList();
    void RebuildRNXList();
    void ApplyFilter();
    void ReportSelection();
    bool Offered(const QString& name) const;
    int RNXRow(const QString& name) const;
    void SelectRNXname();
    void RecordHistory();
    void RecordHistory(TRNXElement element, const TRNXAMass& aMass);
    void PushHistory(HistoryEntry entry);
    void Travel(std::vector<HistoryEntry>& from, std::vector<HistoryEntry>& to, int k);
    void UpdateHistoryButtons();
    void LayOut();
    void BuildPopupMenu();
    // Gives the menu's entries their captions in the panel's language.
    void RetitlePopupMenu();
    void UpdatePopupChecks();
    void ShowBoxes();
    void ExecFilterForm(bool elements, bool nuclides);
    // Asks for a text file with the given title and hands its bytes to the filter.
    void LoadListFile(const QString& title, const std::function<void(const QByteArray&)>& load);
    QString Caption(int entry) const;

    TQzRNXFilter FFilter;
    TQzRNXElementPopupMenu* pmElements = nullptr;
    QComboBox* cbElement = nullptr;
    QComboBox* cbAMass = nullptr;
    QComboBox* cbRNX = nullptr;
    QWidget* tbRNX = nullptr;
    QToolButton* tbUndo = nullptr;
    QToolButton* tbRedo = nullptr;
    QMenu* pmUndoRNXList = nullptr;
    QMenu* pmRedoRNXList = nullptr;
    QMenu* pmRNX = nullptr;
    // The entries of pmRNX.
    struct PopupMenuEntries {
        std::array<QAction*, 2> choices{};
        std::array<QAction*, 4> sorts{};
        QAction* filter = nullptr;
        QAction* elementFilter = nullptr;
        QAction* rnxFilter = nullptr;
        QAction* advancedFilter = nullptr;
        QAction* loadElements = nullptr;
        QAction* loadNuclides = nullptr;
    } FMenu;

    std::vector<Entry> FRNXList;
    std::vector<std::unique_ptr<TBasicRNX>> FStablePseudoEntries;
    std::vector<HistoryEntry> FUndoRNXList;
    std::vector<HistoryEntry> FRedoRNXList;

    TRNXElement FElement = _H;
    TRNXAMass FAMass{""};
    TQzRNXChoiceType FChoiceType = ctIndependent;
    TQzRNXSortType FRNXSortType = stxPeriodicTable;
    TQzRNXSortType FElementsSortType = stxPeriodicTable;
    TQzLanguage FLanguage = l_English;
    int FMaxUndoListCount = 30;
    TQzRNXPanelPopupMenuOptions FPopupMenuOptions = TQzRNXPanelPopupMenuOptions::fromRaw(0x3F);
    bool FShowUndoRedoButtons = true;
    TQzRNXWidthsNShiftsParams FLayout;
    QString FPathToRNXFile;

    bool FWindowCreated = false;
    bool UndoListEnabled = false;
    int OldElIndex = -1;
    int OldMassIndex = -1;
    int OldFullIndex = -1;
};

} // namespace kav
