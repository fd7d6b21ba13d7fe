// The choice of a nuclide and its history, without widgets: each case is a run of steps with
// what the selection must hold and have reported after each.
#include "chooser/nuclideselection.h"
#include "indexfixture.h"

#include <gtest/gtest.h>

#include <variant>

namespace kav {
namespace {

const QStringList kData{"H-3", "Co-58", "Co-60", "Sr-90", "Tc-99", "Tc-99m", "Cs-134", "Cs-137", "U-238"};

// What a user or the program does.
struct Set { // the program sets a nuclide by element and mass text
    ChemicalElement element;
    const char* mass;
};
struct PickElement { // an element chosen in its list
    const char* symbol;
};
struct PickMass { // a mass chosen in its list
    const char* mass;
};
struct PickName { // a name chosen in the list of names
    const char* name;
};
struct Undo {
    int k;
};
struct Redo {
    int k;
};
struct Offer { // the filter's list of nuclides replaced
    QStringList names;
};
using Step = std::variant<Set, PickElement, PickMass, PickName, Undo, Redo, Offer>;

struct Expected {
    const char* chosen;
    QStringList reported; // since the step before
    QStringList undo;
    QStringList redo;
};

struct Case {
    const char* what;
    std::vector<std::pair<Step, Expected>> steps;
};

class SelectionTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(index); }

    // A selection offering kData, on Co-60 and shown.
    std::unique_ptr<NuclideSelection> makeSelection()
    {
        auto s = std::make_unique<NuclideSelection>(index, spectra);
        s->filter().setUseNuclideFilter(true);
        s->filter().setNuclideList(kData);
        s->filter().onChange = [sel = s.get()](ListFilter*) { sel->applyFilter(); };
        hearingChoices.push_back(
            s->nuclideChosen.connect([this](const NuclideIdentity& rnx) { reports << rnx.nameText(); }));
        s->setElementAndAMass(ChemicalElement::Co, "60");
        s->activate();
        reports.clear();
        return s;
    }
    void apply(NuclideSelection& s, const Step& step)
    {
        std::visit(
            [&](const auto& a) {
                using A = std::decay_t<decltype(a)>;
                if constexpr (std::is_same_v<A, Set>)
                    s.setElementAndAMass(a.element, a.mass);
                else if constexpr (std::is_same_v<A, PickElement>)
                    s.pickElement(static_cast<int>(s.elementList().indexOf(QString::fromLatin1(a.symbol))));
                else if constexpr (std::is_same_v<A, PickMass>)
                    s.pickAMass(static_cast<int>(s.aMassList().indexOf(QString::fromLatin1(a.mass))));
                else if constexpr (std::is_same_v<A, PickName>) {
                    int row = -1;
                    for (std::size_t i = 0; i < s.nuclides().size(); ++i)
                        if (s.nuclides()[i].name == QString::fromLatin1(a.name))
                            row = static_cast<int>(i);
                    s.pickNuclide(row);
                } else if constexpr (std::is_same_v<A, Undo>)
                    s.undo(a.k);
                else if constexpr (std::is_same_v<A, Redo>)
                    s.redo(a.k);
                else
                    s.filter().setNuclideList(a.names);
            },
            step);
    }

    NuclideIndex index;
    SpectraFiles spectra{index};
    QStringList reports;
    std::vector<Notice<const NuclideIdentity&>::Connection> hearingChoices;
};

TEST_F(SelectionTest, StepsReportAndRecordAsAUserExpects)
{
    const Case cases[] = {
        {"an element brings its first mass; every pick is recorded",
         {{PickElement{"Cs"}, {"Cs-134", {"Cs-134"}, {"Co-60"}, {}}},
          {PickMass{"137"}, {"Cs-137", {"Cs-137"}, {"Cs-134", "Co-60"}, {}}},
          {PickElement{"Tc"}, {"Tc-99", {"Tc-99"}, {"Cs-137", "Cs-134", "Co-60"}, {}}}}},
        {"what is chosen already is not chosen again",
         {{PickElement{"Co"}, {"Co-60", {}, {}, {}}}, {PickMass{"60"}, {"Co-60", {}, {}, {}}}}},
        {"a name from the list sets element and mass at once",
         {{PickName{"Tc-99m"}, {"Tc-99m", {"Tc-99m"}, {"Co-60"}, {}}},
          {PickName{"U-238"}, {"U-238", {"U-238"}, {"Tc-99m", "Co-60"}, {}}}}},
        {"masses match without regard to case, set from the program",
         {{Set{ChemicalElement::Tc, "99M"}, {"Tc-99m", {"Tc-99", "Tc-99m"}, {"Co-60"}, {}}}}},
        {"undo and redo go back and forth; a new choice clears what lay ahead",
         {{PickElement{"Cs"}, {"Cs-134", {"Cs-134"}, {"Co-60"}, {}}},
          {PickElement{"Sr"}, {"Sr-90", {"Sr-90"}, {"Cs-134", "Co-60"}, {}}},
          {Undo{1}, {"Co-60", {"Co-60"}, {}, {"Cs-134", "Sr-90"}}},
          {Redo{0}, {"Cs-134", {"Cs-134"}, {"Co-60"}, {"Sr-90"}}},
          {PickElement{"H"}, {"H-3", {"H-3"}, {"Cs-134", "Co-60"}, {}}}}},
        {"a filter that drops the chosen nuclide moves to the first on offer; what it drops cannot be gone back to",
         {{Offer{{"Co-60", "Sr-90"}}, {"Co-60", {}, {}, {}}},
          {Offer{{"Sr-90", "U-238"}}, {"Sr-90", {"Sr-90"}, {"Co-60"}, {}}},
          {Undo{0}, {"Sr-90", {}, {"Co-60"}, {}}}}},
        {"nothing outside the offer can be set",
         {{Set{ChemicalElement::Cs, "136"}, {"Co-60", {}, {}, {}}},
          {Set{ChemicalElement::Fe, "59"}, {"Co-60", {}, {}, {}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto s = makeSelection();
        int n = 0;
        for (const auto& [step, expected] : c.steps) {
            SCOPED_TRACE(n++);
            apply(*s, step);
            EXPECT_EQ(s->name(), QString::fromLatin1(expected.chosen));
            EXPECT_EQ(reports, expected.reported);
            EXPECT_EQ(s->undoNames(), expected.undo);
            EXPECT_EQ(s->redoNames(), expected.redo);
            // The lists and their chosen entries agree with the choice.
            EXPECT_EQ(s->elementList().value(s->elementRow()), elementSymbol(s->element()));
            EXPECT_EQ(s->aMassList().value(s->aMassRow()), s->aMass().toString());
            ASSERT_TRUE(s->chosenIdentity());
            EXPECT_EQ(s->chosenIdentity()->nameText(), s->name());
            reports.clear();
        }
    }
}

TEST_F(SelectionTest, BeforeItIsShownASelectionOnlyStores)
{
    NuclideSelection s(index, spectra);
    const auto hearing = s.nuclideChosen.connect([this](const NuclideIdentity& rnx) { reports << rnx.nameText(); });
    s.setElementAndAMass(ChemicalElement::Tc, "99M");
    EXPECT_FALSE(s.active());
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_TRUE(s.elementList().isEmpty());
    s.activate();
    EXPECT_EQ(reports, QStringList{"Tc-99m"});
    EXPECT_EQ(s.name(), QStringLiteral("Tc-99m"));
    EXPECT_TRUE(s.undoNames().isEmpty());
    EXPECT_EQ(s.elementList().size(), 97);
}

TEST_F(SelectionTest, HistoryHoldsAtMostItsCapacityAndCanBeSwitchedOff)
{
    const auto s = makeSelection();
    s->setMaxUndoListCount(2);
    for (const char* e : {"H", "Sr", "Tc", "Cs"})
        apply(*s, PickElement{e});
    EXPECT_EQ(s->undoNames(), (QStringList{"Tc-99", "Sr-90"}));
    s->setHistoryKept(false);
    apply(*s, PickElement{"U"});
    EXPECT_TRUE(s->undoNames().isEmpty());
    EXPECT_EQ(s->name(), QStringLiteral("U-238"));
}

} // namespace
} // namespace kav
