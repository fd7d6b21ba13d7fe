#include "indexfixture.h"
#include "rnxpanel.h"

#include <QComboBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A panel offering a list of nuclides, as the main window's panels offer those with data files;
// it records every report.
class PanelTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(); }
    void makePanel(const QStringList& offered = {})
    {
        panel = std::make_unique<TQzRNXPanel>();
        if (!offered.isEmpty()) {
            panel->Filter().SetUseRNXFilter(true);
            panel->Filter().SetRNXList(offered);
        }
        panel->OnRNXChanged = [this](const TBasicRNX& rnx) { reports << rnx.RNXStr(); };
    }
    void show()
    {
        panel->show();
        ASSERT_TRUE(panel->WindowCreated());
    }

    std::unique_ptr<TQzRNXPanel> panel;
    QStringList reports;
};

const QStringList kData{"H-3", "Co-58", "Co-60", "Sr-90", "Tc-99m", "Cs-134", "Cs-137", "Ba-140", "U-238"};

TEST_F(PanelTest, StoredChoiceIsReportedOnceWhenFirstShown)
{
    makePanel(kData);
    panel->SetElementAndAMass(_Co, "60");
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Co-60"));
    show();
    EXPECT_EQ(reports, QStringList{"Co-60"});
    EXPECT_TRUE(panel->UndoNames().isEmpty());
    EXPECT_EQ(panel->FullElementsList(), (QStringList{"H", "Co", "Sr", "Tc", "Cs", "Ba", "U"}));
    EXPECT_EQ(panel->FullAMassList(), (QStringList{"58", "60"}));
    EXPECT_EQ(panel->BasicRNX(), RNXIndex->FindRNX(u"Co-60"));
}

TEST_F(PanelTest, ChangingElementAndMassReportsEachStep)
{
    makePanel(kData);
    panel->SetElementAndAMass(_Co, "60");
    show();
    reports.clear();
    panel->SetElementAndAMass(_Cs, "137");
    EXPECT_EQ(reports, (QStringList{"Cs-134", "Cs-137"}));
    EXPECT_EQ(panel->UndoNames(), QStringList{"Co-60"});

    reports.clear();
    panel->SetElementAndAMass(_Cs, "134");
    EXPECT_EQ(reports, QStringList{"Cs-134"});
    EXPECT_EQ(panel->UndoNames(), QStringList{"Co-60"}); // a change of mass alone records nothing

    // Picking what is already picked reports nothing.
    reports.clear();
    panel->ElementPicked(panel->ElementBox()->currentIndex());
    panel->AMassPicked(panel->AMassBox()->currentIndex());
    EXPECT_TRUE(reports.isEmpty());
    // Offers nothing outside the filter.
    panel->SetElementAndAMass(_Cs, "136");
    panel->SetElement(_Fe);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(PanelTest, NewElementKeepsTheMassWhenItCan)
{
    makePanel(); // the whole index
    panel->SetElementAndAMass(_Tc, "99m");
    show();
    panel->SetElement(_Mo);
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Mo-99"));
    panel->SetElement(_Co);
    EXPECT_EQ(panel->AMass(), TRNXAMass(panel->FullAMassList().front().toLatin1().constData()));
}

TEST_F(PanelTest, NamesChooseOnlyWhenWellFormed)
{
    makePanel(kData);
    show();
    reports.clear();
    for (const char* bad : {"Co60", "Cobalt-60", "Xx-1"})
        panel->SetRNXname(QString::fromLatin1(bad));
    EXPECT_TRUE(reports.isEmpty());
    panel->SetRNXname(QStringLiteral("co-60"));
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Co-60"));
    EXPECT_FALSE(reports.isEmpty());
}

TEST_F(PanelTest, FilterChangesKeepOrMoveTheChoice)
{
    makePanel(kData);
    panel->SetElementAndAMass(_Cs, "137");
    show();
    int filterChanges = 0;
    panel->OnFilterChanged = [&](TQzRNXPanel*) { ++filterChanges; };
    reports.clear();
    panel->Filter().SetRNXList(QStringList{"Co-60", "Cs-137", "Sr-90"});
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(filterChanges, 1);

    panel->Filter().SetRNXList(QStringList{"Co-60", "Sr-90"});
    EXPECT_EQ(reports, QStringList{"Co-60"}); // the first offered element, its lightest nuclide
    EXPECT_EQ(panel->UndoNames(), QStringList{"Cs-137"});
    EXPECT_EQ(filterChanges, 2);

    // Sort orders and the way of choosing keep the nuclide and say nothing.
    reports.clear();
    panel->SetRNXSortType(stxAMass);
    panel->SetChoiceType(ctFullList);
    panel->SetElementsSortType(stxABC);
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->RNXBox()->currentText(), QStringLiteral("Co-60"));
    EXPECT_EQ(panel->FullRNXList(), (QStringList{"Co-60", "Sr-90"}));
}

TEST_F(PanelTest, HistoryKeepsEveryChoiceLeft)
{
    makePanel(kData);
    panel->SetChoiceType(ctFullList);
    panel->SetElementAndAMass(_Co, "60");
    show();
    auto pick = [&](const char* name) { panel->RNXPicked(panel->RNXBox()->findText(QString::fromLatin1(name))); };
    pick("Cs-137");
    pick("Co-60");
    pick("Sr-90");
    EXPECT_EQ(panel->UndoNames(), (QStringList{"Co-60", "Cs-137", "Co-60"}));

    reports.clear();
    panel->UndoButton()->click();
    EXPECT_EQ(reports, QStringList{"Co-60"});
    EXPECT_EQ(panel->RedoNames(), QStringList{"Sr-90"});
    panel->RedoButton()->click();
    EXPECT_EQ(reports, (QStringList{"Co-60", "Sr-90"}));
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Sr-90"));

    // Back to the third entry: the two skipped ones lead the redo list in the order they come back.
    panel->Undo(2);
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Co-60"));
    EXPECT_EQ(panel->RedoNames(), (QStringList{"Cs-137", "Co-60", "Sr-90"}));
    EXPECT_TRUE(panel->UndoNames().isEmpty());

    // A new choice after an undo empties the redo list.
    pick("U-238");
    EXPECT_TRUE(panel->RedoNames().isEmpty());
    EXPECT_EQ(panel->UndoNames(), QStringList{"Co-60"});
}

TEST_F(PanelTest, UndoToTheCurrentNuclideSaysNothing)
{
    makePanel(kData);
    panel->SetChoiceType(ctFullList);
    show();
    panel->RNXPicked(panel->RNXBox()->findText(QStringLiteral("Co-60")));
    panel->RNXPicked(panel->RNXBox()->findText(QStringLiteral("H-3")));
    panel->RNXPicked(panel->RNXBox()->findText(QStringLiteral("Co-60")));
    reports.clear();
    EXPECT_EQ(panel->UndoNames(), (QStringList{"H-3", "Co-60", "H-3"}));
    panel->Undo(1); // Co-60, which is what is shown
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->RNXname(), QStringLiteral("Co-60"));
}

TEST_F(PanelTest, HistoryHoldsAtMostItsCapacity)
{
    makePanel();
    panel->SetChoiceType(ctFullList);
    show();
    panel->SetMaxUndoListCount(30);
    for (int i = 1; i <= 32; ++i)
        panel->RNXPicked(i);
    EXPECT_EQ(panel->UndoNames().size(), 30);
    EXPECT_EQ(panel->UndoNames().front(), panel->FullRNXList()[31]);
}

TEST_F(PanelTest, CtrlClickOpensThePeriodicTableWithTheFilteredElementsEngraved)
{
    makePanel();
    panel->Filter().ReadStoredElementSet({-23, -1, -1, 15});
    panel->Filter().SetUseElementFilter(true);
    panel->SetElementAndAMass(_Co, "60");
    show();
    TQzRNXElementPopupMenu* menu = panel->ElementMenu();
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(panel->ElementBox(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->Element(), _Co);
    for (TRNXElement off : {_He, _Li, _B})
        EXPECT_FALSE(menu->IsElementEnabled(off)) << off;
    EXPECT_TRUE(menu->IsElementEnabled(_Cs));
    reports.clear();
    menu->OnChoiceElement(_Cs);
    EXPECT_EQ(panel->Element(), _Cs);
    EXPECT_EQ(reports.size(), 1);
    menu->hide();

    panel->AllowElementPopupMenu = false;
    QTest::mouseClick(panel->ElementBox(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(menu->isVisible());
}

TEST(ElementGroups, ColoursOfTheGroups)
{
    TQzRNXElementGroups g;
    EXPECT_EQ(g.GetElementColor(_Po), g.RNXOtherMetalsColor);
    EXPECT_EQ(g.GetElementColor(_At), g.RNXNonMetalsColor);
    EXPECT_EQ(g.GetElementColor(_Fe), g.TransitionMetalsColor);
    EXPECT_EQ(g.GetElementColor(_La), g.RNXLantanideSeriesColor);
    EXPECT_EQ(g.GetElementColor(_NoRNXElement), g.TransitionMetalsColor);
    EXPECT_EQ(TQzRNXElementPopupMenu::CellElement(9, 4), _Db);
    EXPECT_EQ(TQzRNXElementPopupMenu::CellElement(10, 0), _NoRNXElement);
}

TEST(ElementMenu, ACurrentElementThatIsNotEnabledMovesToTheFirstEnabled)
{
    TQzRNXElementPopupMenu menu;
    TRNXElementSet set;
    set.insert(_Co);
    set.insert(_Cs);
    menu.SetEnabledElements(eeCustom, set);
    EXPECT_EQ(menu.Element(), _Co);
    menu.SetElement(_Fe);
    EXPECT_EQ(menu.Element(), _Co);
    menu.SetEnabledElements(eeAll, {});
    menu.SetElement(_Fe);
    EXPECT_EQ(menu.Element(), _Fe);
}

} // namespace
} // namespace kav
