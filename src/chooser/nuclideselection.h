#pragma once

#include "base/notice.h"
#include "chooser/nuclidefilter.h"
#include "nuclides/nuclidenames.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace kav {

enum class ChoiceKind : std::uint8_t { ElementAndMass, FullList };

// The choice of one radionuclide, as a chooser makes it, without the widgets: what the filter
// offers as an element list, a mass list for the chosen element and a list of names, which entry
// of each is chosen, and the history of the choices left (undo and redo, newest first). Every new
// choice is reported through NuclideChosen. Until it is activated (its panel first shown) its
// setters only store the choice, which activating reports once.
class NuclideSelection {
public:
    // One entry of the list of names; its object is an index node or a stable pseudo-nuclide.
    struct Entry {
        QString name;
        const NuclideIdentity* object;
    };

    NuclideSelection(const NuclideIndex& index, SpectraFiles& spectra);
    NuclideSelection(const NuclideSelection&) = delete;
    NuclideSelection& operator=(const NuclideSelection&) = delete;

    NuclideFilter& filter() { return m_filter; }
    const NuclideFilter& filter() const { return m_filter; }
    bool active() const { return m_active; }
    // The panel is shown: the lists are built and the stored choice is reported.
    void activate();

    // The offer.
    const QStringList& elementList() const { return m_elementList; }
    const QStringList& aMassList() const { return m_aMassList; }
    const std::vector<Entry>& nuclides() const { return m_nuclideList; }
    // The chosen entries, -1 for none.
    int elementRow() const { return m_elementRow; }
    int aMassRow() const { return m_aMassRow; }
    int nuclideRow() const { return m_nuclideRow; }

    // The choice.
    ChemicalElement element() const { return m_element; }
    const MassText& aMass() const { return m_aMass; }
    QString name() const;
    // The object of the chosen entry of the list of names, or null.
    const NuclideIdentity* chosenIdentity() const;
    void setElement(ChemicalElement value);
    void setAMass(const MassText& value);
    void setElementAndAMass(ChemicalElement element, const MassText& aMass);
    void setName(const QString& value);

    // What the user does: an entry of a list picked.
    void pickElement(int row, bool fromHistory = false);
    void pickAMass(int row);
    void pickNuclide(int row);

    // Ways of choosing and orders.
    ChoiceKind choiceType() const { return m_choiceType; }
    void setChoiceType(ChoiceKind value) { m_choiceType = value; }
    NuclideSortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(NuclideSortOrder value);
    NuclideSortOrder elementsSortType() const { return m_elementsSortType; }
    void setElementsSortType(NuclideSortOrder value);
    UiLanguage language() const { return m_language; }
    void setLanguage(UiLanguage value) { m_language = value; }

    // History.
    bool historyKept() const { return m_historyKept; }
    // Keeping a history or not; either way the lists start empty.
    void setHistoryKept(bool value);
    int maxUndoListCount() const { return m_maxUndoListCount; }
    void setMaxUndoListCount(int value);
    QStringList undoNames() const;
    QStringList redoNames() const;
    // Whether a name of the history can be gone back to: it is still on offer.
    bool offers(const QString& name) const { return findNuclideRow(name) >= 0; }
    void undo(int k = 0);
    void redo(int k = 0);

    // After a change of the filter: the lists anew, the choice kept when it is still on offer.
    // When nothing is on offer the choice stays as it was, out of the lists.
    void applyFilter();
    // While held (a bound of the filter is being typed, digit by digit), a change of the filter
    // rebuilds the lists but leaves the choice where it is; letting go applies the filter.
    void setChoiceHeld(bool held);
    bool choiceHeld() const { return m_choiceHeld; }

    // A new choice: the nuclide chosen.
    Notice<const NuclideIdentity&> nuclideChosen;
    // The lists, the chosen entries or the history changed: what shows them shows them anew.
    Notice<> changed;
    // The filter changed and the lists follow it (heard after Changed).
    Notice<> filterApplied;

private:
    struct HistoryEntry {
        QString name;
        NuclideIdentity rnx;
    };

    void rebuildElementList();
    // The masses of the chosen element on offer, in mass order.
    QStringList offeredMasses() const;
    // The masses of the chosen element, the choice made again from them.
    void rebuildAMassList();
    // The rows of the choice in the lists as they are, the choice unchanged.
    void keepChoiceInLists();
    void rebuildNuclideList();
    bool offered(const QString& name) const;
    int findNuclideRow(const QString& name) const;
    void selectName();
    void reportSelection();
    void recordHistory();
    void recordHistory(ChemicalElement element, const MassText& aMass);
    void pushHistory(HistoryEntry entry);
    void travel(std::vector<HistoryEntry>& from, std::vector<HistoryEntry>& to, int k);
    NuclideIdentity chosenNuclide() const;

    const NuclideIndex& m_index;
    NuclideFilter m_filter;
    QStringList m_elementList;
    QStringList m_aMassList;
    std::vector<Entry> m_nuclideList;
    std::vector<std::unique_ptr<NuclideIdentity>> m_stablePseudoEntries;
    std::vector<HistoryEntry> m_undoNuclideList;
    std::vector<HistoryEntry> m_redoNuclideList;

    ChemicalElement m_element = ChemicalElement::H;
    MassText m_aMass{""};
    ChoiceKind m_choiceType = ChoiceKind::ElementAndMass;
    NuclideSortOrder m_sortOrder = NuclideSortOrder::PeriodicTable;
    NuclideSortOrder m_elementsSortType = NuclideSortOrder::PeriodicTable;
    UiLanguage m_language = UiLanguage::English;
    int m_maxUndoListCount = 30;
    bool m_historyKept = true;
    bool m_active = false;
    bool m_choiceHeld = false;
    bool UndoListEnabled = false;
    int m_elementRow = -1;
    int m_aMassRow = -1;
    int m_nuclideRow = -1;
};

} // namespace kav
