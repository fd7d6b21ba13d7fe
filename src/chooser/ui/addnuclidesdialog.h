#pragma once

#include "nuclides/nuclideindex.h"

#include <QDialog>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace kav {

class NuclideChooser;

using NuclidePointers = std::vector<const Nuclide*>;

// The "Add radionuclides" dialog: the user collects nuclides into a list (left), from a tree of
// elements or from the flat list of what a chooser panel offers (right), orders them and
// confirms. The list keeps the order of the sort menu until the user moves entries.
class AddNuclidesDialog : public QDialog {
public:
    // The panel's filter supplies the nuclides and its periodic table the element colours.
    explicit AddNuclidesDialog(NuclideChooser& source, QWidget* parent = nullptr);

    // The nodes of the chosen list, in its order.
    NuclidePointers chosenNodes() const;
    // Its parts are found by their object names: "chosenList", "removeButton", "upButton",
    // "downButton", "addButton", "addAllButton", "offeredPages", "elementsPage", "nuclidesPage",
    // "elementTree", "offeredList", "offeredCount", "sortMenu", "okButton", "cancelButton".

    // F1: the owner shows the dialog's help.
    std::function<void()> onHelp;

protected:
    // Delete in the chosen list removes its selected entries.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildChosenSide();
    QWidget* buildOfferedSide();
    void buildSortMenu();
    void fillOffered();
    void addEntry(const QString& name, const Nuclide* node);
    // Sorts a list by the current order, the current entry kept current and selected.
    void sortList(QListWidget* list);
    void updateButtons();
    void updateSelectedCount();
    void moveSelected(int direction);

    QListWidget* m_chosenList = nullptr;
    QPushButton* m_removeButton = nullptr;
    QToolButton* m_upButton = nullptr;
    QToolButton* m_downButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_addAllButton = nullptr;
    QTabWidget* m_offeredPages = nullptr;
    QWidget* m_elementsTab = nullptr;
    QWidget* m_nuclidesTab = nullptr;
    QTreeWidget* m_elementsTree = nullptr;
    QListWidget* m_allNuclidesList = nullptr;
    QLabel* m_selectedLabel = nullptr;
    QMenu* m_sortMenu = nullptr;
    QAction* m_alphabeticalSortAction = nullptr;
    QAction* m_periodicTableSortAction = nullptr;
    QAction* m_massSortAction = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

    // What the buttons, the menu and a drop do.
    void addClicked();
    void addAllClicked();
    void removeClicked();
    void upClicked();
    void downClicked();
    void sortClicked(QAction* item);

    NuclideChooser& m_chooser;
    std::function<int(const NuclideIdentity&, const NuclideIdentity&)> CompareNuclides;
};

// Shows the dialog modally through execModal; true, with the chosen nodes in list order, when
// the user confirms with a non-empty list. Otherwise nodes stay empty.
bool executeAddNuclidesDialog(NuclideChooser& source, NuclidePointers& nodes,
                              const std::function<int(QDialog&)>& execModal, QWidget* parent = nullptr,
                              const std::function<void()>& help = {});

} // namespace kav
