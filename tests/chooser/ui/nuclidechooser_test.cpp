#include "chooser/ui/filterdialog.h"
#include "chooser/ui/nuclidechooser.h"
#include "indexfixture.h"
#include "recordingmessageboxes.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A panel offering a list of nuclides, as the main window's panels offer those with data files;
// it records every report.
class NuclideChooserTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(index); }
    void makePanel(const QStringList& offered = {})
    {
        panel = std::make_unique<NuclideChooser>(index, spectra, messages);
        if (!offered.isEmpty()) {
            panel->selection().filter().setUseNuclideFilter(true);
            panel->selection().filter().setNuclideList(offered);
        }
        hearingChoices.push_back(panel->selection().nuclideChosen.connect(
            [this](const NuclideIdentity& rnx) { reports << rnx.nameText(); }));
    }
    void show()
    {
        panel->show();
        ASSERT_TRUE(panel->selection().active());
    }

    NuclideIndex index;
    SpectraFiles spectra{index};
    RecordingMessageBoxes messages;
    std::unique_ptr<NuclideChooser> panel;
    QStringList reports;
    std::vector<Notice<const NuclideIdentity&>::Connection> hearingChoices;
};

const QStringList kData{"H-3", "Co-58", "Co-60", "Sr-90", "Tc-99m", "Cs-134", "Cs-137", "Ba-140", "U-238"};

TEST_F(NuclideChooserTest, StoredChoiceIsReportedOnceWhenFirstShown)
{
    makePanel(kData);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
    show();
    EXPECT_EQ(reports, QStringList{"Co-60"});
    EXPECT_TRUE(panel->selection().undoNames().isEmpty());
    EXPECT_EQ(panel->selection().elementList(), (QStringList{"H", "Co", "Sr", "Tc", "Cs", "Ba", "U"}));
    EXPECT_EQ(panel->selection().aMassList(), (QStringList{"58", "60"}));
    EXPECT_EQ(panel->selection().chosenIdentity(), index.findNuclide(u"Co-60"));
}

TEST_F(NuclideChooserTest, ChangingElementAndMassReportsEachStep)
{
    makePanel(kData);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    show();
    reports.clear();
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    EXPECT_EQ(reports, (QStringList{"Cs-134", "Cs-137"}));
    EXPECT_EQ(panel->selection().undoNames(), QStringList{"Co-60"});

    reports.clear();
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "134");
    EXPECT_EQ(reports, QStringList{"Cs-134"});
    EXPECT_EQ(panel->selection().undoNames(), QStringList{"Co-60"}); // a change of mass alone records nothing

    // Picking what is already picked reports nothing.
    reports.clear();
    panel->selection().pickElement(panel->elementBox()->currentIndex());
    panel->selection().pickAMass(panel->aMassBox()->currentIndex());
    EXPECT_TRUE(reports.isEmpty());
    // Offers nothing outside the filter.
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "136");
    panel->selection().setElement(ChemicalElement::Fe);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(NuclideChooserTest, NewElementKeepsTheMassWhenItCan)
{
    makePanel(); // the whole index
    panel->selection().setElementAndAMass(ChemicalElement::Tc, "99m");
    show();
    panel->selection().setElement(ChemicalElement::Mo);
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Mo-99"));
    panel->selection().setElement(ChemicalElement::Co);
    EXPECT_EQ(panel->selection().aMass(), MassText(panel->selection().aMassList().front().toLatin1().constData()));
}

TEST_F(NuclideChooserTest, NamesChooseOnlyWhenWellFormed)
{
    makePanel(kData);
    show();
    reports.clear();
    for (const char* bad : {"Co60", "Cobalt-60", "Xx-1"})
        panel->selection().setName(QString::fromLatin1(bad));
    EXPECT_TRUE(reports.isEmpty());
    panel->selection().setName(QStringLiteral("co-60"));
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
    EXPECT_FALSE(reports.isEmpty());
}

TEST_F(NuclideChooserTest, FilterChangesKeepOrMoveTheChoice)
{
    makePanel(kData);
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    show();
    int filterChanges = 0;
    const auto heard = panel->selection().filterApplied.connect([&] { ++filterChanges; });
    reports.clear();
    panel->selection().filter().setNuclideList(QStringList{"Co-60", "Cs-137", "Sr-90"});
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(filterChanges, 1);

    panel->selection().filter().setNuclideList(QStringList{"Co-60", "Sr-90"});
    EXPECT_EQ(reports, QStringList{"Co-60"}); // the first offered element, its lightest nuclide
    EXPECT_EQ(panel->selection().undoNames(), QStringList{"Cs-137"});
    EXPECT_EQ(filterChanges, 2);

    // Sort orders and the way of choosing keep the nuclide and say nothing.
    reports.clear();
    panel->selection().setSortOrder(NuclideSortOrder::MassNumber);
    panel->setChoiceType(ChoiceKind::FullList);
    panel->selection().setElementsSortType(NuclideSortOrder::Alphabetical);
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->nuclideBox()->currentText(), QStringLiteral("Co-60"));
    EXPECT_EQ(panel->fullNuclideList(), (QStringList{"Co-60", "Sr-90"}));
}

TEST_F(NuclideChooserTest, HistoryKeepsEveryChoiceLeft)
{
    makePanel(kData);
    panel->setChoiceType(ChoiceKind::FullList);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    show();
    auto pick = [&](const char* name) {
        panel->selection().pickNuclide(panel->nuclideBox()->findText(QString::fromLatin1(name)));
    };
    pick("Cs-137");
    pick("Co-60");
    pick("Sr-90");
    EXPECT_EQ(panel->selection().undoNames(), (QStringList{"Co-60", "Cs-137", "Co-60"}));

    reports.clear();
    panel->undoButton()->click();
    EXPECT_EQ(reports, QStringList{"Co-60"});
    EXPECT_EQ(panel->selection().redoNames(), QStringList{"Sr-90"});
    panel->redoButton()->click();
    EXPECT_EQ(reports, (QStringList{"Co-60", "Sr-90"}));
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Sr-90"));

    // The history opens from the keyboard as a list box does (Alt+Down, F4, the Menu key), and
    // its keys pick an entry: the second one back.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Down, Qt::AltModifier}, std::pair{Qt::Key_F4, Qt::NoModifier},
          std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activePopupWidget();
            if (opened)
                QTest::keyClick(opened, Qt::Key_Escape);
        });
        panel->undoButton()->setFocus();
        QTest::keyClick(panel->undoButton(), key, modifiers);
        EXPECT_TRUE(opened && opened == panel->undoButton()->menu())
            << QKeySequence(key | modifiers).toString().toStdString();
    }
    QTimer::singleShot(0, [] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_TRUE(menu);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(panel->undoButton(), Qt::Key_F4);
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Cs-137"));
    EXPECT_EQ(panel->selection().redoNames(), (QStringList{"Co-60", "Sr-90"}));
    panel->selection().redo(1);

    // Back to the third entry: the two skipped ones lead the redo list in the order they come back.
    panel->selection().undo(2);
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(panel->selection().redoNames(), (QStringList{"Cs-137", "Co-60", "Sr-90"}));
    EXPECT_TRUE(panel->selection().undoNames().isEmpty());

    // A new choice after an undo empties the redo list.
    pick("U-238");
    EXPECT_TRUE(panel->selection().redoNames().isEmpty());
    EXPECT_EQ(panel->selection().undoNames(), QStringList{"Co-60"});
}

TEST_F(NuclideChooserTest, UndoToTheCurrentNuclideSaysNothing)
{
    makePanel(kData);
    panel->setChoiceType(ChoiceKind::FullList);
    show();
    panel->selection().pickNuclide(panel->nuclideBox()->findText(QStringLiteral("Co-60")));
    panel->selection().pickNuclide(panel->nuclideBox()->findText(QStringLiteral("H-3")));
    panel->selection().pickNuclide(panel->nuclideBox()->findText(QStringLiteral("Co-60")));
    reports.clear();
    EXPECT_EQ(panel->selection().undoNames(), (QStringList{"H-3", "Co-60", "H-3"}));
    panel->selection().undo(1); // Co-60, which is what is shown
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
}

TEST_F(NuclideChooserTest, HistoryHoldsAtMostItsCapacity)
{
    makePanel();
    panel->setChoiceType(ChoiceKind::FullList);
    show();
    panel->selection().setMaxUndoListCount(30);
    for (int i = 1; i <= 32; ++i)
        panel->selection().pickNuclide(i);
    EXPECT_EQ(panel->selection().undoNames().size(), 30);
    EXPECT_EQ(panel->selection().undoNames().front(), panel->fullNuclideList()[31]);
}

TEST_F(NuclideChooserTest, CtrlClickOpensThePeriodicTableWithTheFilteredElementsEngraved)
{
    makePanel();
    panel->selection().filter().readStoredElementSet({-23, -1, -1, 15});
    panel->selection().filter().setUseElementFilter(true);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    show();
    PeriodicTablePopup* menu = panel->elementMenu();
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(panel->elementBox(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->element(), ChemicalElement::Co);
    for (ChemicalElement off : {ChemicalElement::He, ChemicalElement::Li, ChemicalElement::B})
        EXPECT_FALSE(menu->isElementEnabled(off)) << elementSymbolAscii(off);
    EXPECT_TRUE(menu->isElementEnabled(ChemicalElement::Cs));
    reports.clear();
    menu->onChoiceElement(ChemicalElement::Cs);
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Cs);
    EXPECT_EQ(reports.size(), 1);
    menu->hide();

    panel->allowElementPopupMenu = false;
    QTest::mouseClick(panel->elementBox(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(menu->isVisible());
}

// The panel in a window of its own, and input through the window system, so that a release goes
// where a real one goes (to the open pop-up, if there is one).
class NuclideChooserInputTest : public NuclideChooserTest {
protected:
    void SetUp() override
    {
        NuclideChooserTest::SetUp();
        makePanel();
        panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
        show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        menu = panel->elementMenu();
        window = panel->window()->windowHandle();
        onBox = panel->elementBox()->mapTo(panel->window(), panel->elementBox()->rect().center());
        reports.clear();
    }
    // A cell of the table on the screen.
    QRect cellOnScreen(ChemicalElement e) const
    {
        QRect found;
        for (int y = 0; y < menu->height(); ++y)
            for (int x = 0; x < menu->width(); ++x) {
                const QPoint cell = menu->cellAt({x, y});
                if (PeriodicTablePopup::cellElement(cell.y(), cell.x()) == e)
                    found |= QRect(menu->mapToGlobal(QPoint(x, y)), QSize(1, 1));
            }
        return found;
    }
    // The middle of a cell, in the panel window's coordinates.
    QPoint onCell(ChemicalElement e) const { return panel->window()->mapFromGlobal(cellOnScreen(e).center()); }
    void ctrlClickOnBox()
    {
        QTest::mousePress(window, Qt::LeftButton, Qt::ControlModifier, onBox);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::ControlModifier, onBox);
    }

    PeriodicTablePopup* menu = nullptr;
    QWindow* window = nullptr;
    QPoint onBox;
};

TEST_F(NuclideChooserInputTest, PeriodicTableStaysOpenForKeysAndNamesTheHighlightedElement)
{
    ctrlClickOnBox();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->nameTip()->text(), QStringLiteral("Cobalt"));
    QTest::keyClick(menu, Qt::Key_Right);
    EXPECT_TRUE(menu->nameTip()->isVisible());
    EXPECT_EQ(menu->nameTip()->text(), QStringLiteral("Nickel"));
    // Above the table, over the cell's column: it hides no element.
    EXPECT_LT(menu->nameTip()->geometry().bottom(), menu->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_NEAR(menu->nameTip()->geometry().center().x(), cellOnScreen(ChemicalElement::Ni).center().x(), 1);
    // The keys pass over the places without an element, and stop at the edge.
    const std::pair<Qt::Key, const char*> steps[]
        = {{Qt::Key_Down, "Palladium"}, {Qt::Key_Up, "Nickel"}, {Qt::Key_Left, "Cobalt"},
           {Qt::Key_Up, "Cobalt"},      {Qt::Key_Left, "Iron"}, {Qt::Key_Up, "Argon"}};
    for (const auto& [key, name] : steps) {
        QTest::keyClick(menu, key);
        EXPECT_EQ(menu->nameTip()->text(), QString::fromLatin1(name));
    }
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(menu->nameTip()->isVisible());
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Ar);
    EXPECT_EQ(reports.size(), 1);

    ctrlClickOnBox();
    QTest::keyClick(menu, Qt::Key_Left);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Ar);
}

TEST_F(NuclideChooserInputTest, PeriodicTablePicksByAClickOrByDragging)
{
    ctrlClickOnBox();
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onCell(ChemicalElement::Cs));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Cs);

    // Press on the box, drag onto an element, release there.
    QTest::mousePress(window, Qt::LeftButton, Qt::ControlModifier, onBox);
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseMove(window, onCell(ChemicalElement::Sr));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::ControlModifier, onCell(ChemicalElement::Sr));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Sr);
    EXPECT_EQ(reports.size(), 2);
}

TEST_F(NuclideChooserInputTest, BoxesPickThroughTheirLists)
{
    pickComboItem(panel->elementBox(), "Cs");
    EXPECT_EQ(panel->selection().element(), ChemicalElement::Cs);
    pickComboItem(panel->aMassBox(), "137");
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Cs-137"));
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.back(), QStringLiteral("Cs-137"));
    panel->setChoiceType(ChoiceKind::FullList);
    pickComboItem(panel->nuclideBox(), "Tc-99m");
    EXPECT_EQ(reports.back(), QStringLiteral("Tc-99m"));
    EXPECT_EQ(panel->selection().undoNames().front(), QStringLiteral("Cs-137"));
}

// A name typed in any usual spelling and Enter pick exactly that nuclide, in the element box or
// the mass box, with its list closed or open (where the list's own search used to keep the
// letters, drop the digits and take the element's first mass).
TEST_F(NuclideChooserInputTest, QuickEntryPicksExactlyTheNuclideTyped)
{
    panel->selection().filter().setUseNuclideFilter(true);
    panel->selection().filter().setNuclideList(
        QStringList{"H-3", "Co-60", "Cs-134", "Cs-137", "Tc-99m", "Mo-99", "U-234", "U-238"});
    const std::pair<const char*, const char*> spellings[] = {
        {"Cs-137", "Cs-137"}, {"cs137", "Cs-137"}, {"137Cs", "Cs-137"}, {"137cs", "Cs-137"}, {"Cs137", "Cs-137"},
        {"cs-137", "Cs-137"}, {"u238", "U-238"},   {"238U", "U-238"},   {"99mTc", "Tc-99m"}, {"99Mo", "Mo-99"},
    };
    for (const bool listOpen : {false, true})
        for (QComboBox* box : {panel->elementBox(), panel->aMassBox()})
            for (const auto& [typed, name] : spellings) {
                SCOPED_TRACE(std::string(typed) + (listOpen ? ", list open" : ", list closed")
                             + (box == panel->elementBox() ? ", element box" : ", mass box"));
                panel->selection().setElementAndAMass(ChemicalElement::H, "3");
                box->setFocus();
                QWidget* keys = box;
                if (listOpen) {
                    QTest::mouseClick(box, Qt::LeftButton);
                    ASSERT_TRUE(box->view()->isVisible());
                    keys = box->view();
                }
                QTest::keyClicks(keys, QString::fromLatin1(typed));
                QTest::keyClick(keys, Qt::Key_Return);
                EXPECT_FALSE(box->view()->isVisible());
                EXPECT_EQ(panel->selection().name(), QString::fromLatin1(name));
            }
    // A mass alone is one of the element shown.
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "134");
    panel->aMassBox()->setFocus();
    QTest::keyClicks(panel->aMassBox(), QStringLiteral("137"));
    QTest::keyClick(panel->aMassBox(), Qt::Key_Return);
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Cs-137"));
}

// A letter with Alt or Ctrl is a shortcut of the window, never typing into a box: Alt+C that
// copies a table must not turn the chooser to Cs.
TEST_F(NuclideChooserInputTest, LettersWithAltOrCtrlChooseNothing)
{
    for (QComboBox* box : {panel->elementBox(), panel->aMassBox(), panel->nuclideBox()})
        for (const Qt::KeyboardModifier modifier : {Qt::AltModifier, Qt::ControlModifier}) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_C, modifier);
            QTest::keyClick(box, Qt::Key_1, modifier);
            EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
        }
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(NuclideChooserInputTest, ListsOpenBelowTheirBoxWithAtMostTwelveRows)
{
    QComboBox* box = panel->elementBox();
    QTest::mouseClick(box, Qt::LeftButton);
    QWidget* list = box->view()->window();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GE(list->geometry().top(), box->mapToGlobal(QPoint(0, box->height())).y() - 1);
    const int row = box->view()->sizeHintForRow(0);
    EXPECT_GT(box->count(), 12);
    EXPECT_LE(box->view()->viewport()->height(), 12 * row + 1);
    EXPECT_GE(box->view()->viewport()->height(), 11 * row);
    box->hidePopup();
}

TEST_F(NuclideChooserTest, MassesMatchWithoutRegardToCase)
{
    makePanel();
    panel->selection().setElementAndAMass(ChemicalElement::Tc, "99");
    show();
    panel->selection().setElementAndAMass(ChemicalElement::Tc, "99M");
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Tc-99m"));
    panel->selection().setName(QStringLiteral("TC-99"));
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Tc-99"));
    panel->selection().setName(QStringLiteral("tc-99M"));
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Tc-99m"));
    // Stored before the panel is first shown, too.
    makePanel();
    panel->selection().setElementAndAMass(ChemicalElement::Tc, "99M");
    show();
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Tc-99m"));
}

TEST_F(NuclideChooserTest, ALanguageChangeRetitlesTheMenu)
{
    makePanel(kData);
    show();
    panel->setLanguage(UiLanguage::Russian);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                 panel->elementBox()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panel->elementBox(), &rightClick);
    ASSERT_TRUE(panel->popupMenu()->isVisible());
    EXPECT_EQ(panel->popupMenu()->actions()[1]->text(),
              QString::fromUtf16(u"\u0421\u043F\u0438\u0441\u043E\u043A "
                                 u"&\u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432"));
    panel->popupMenu()->hide();
    panel->setLanguage(UiLanguage::English);
    EXPECT_EQ(panel->popupMenu()->actions()[1]->text(), QStringLiteral("&Radionuclides list"));
}

TEST_F(NuclideChooserTest, MenuCaptionsInEveryLanguage)
{
    struct Row {
        int entry;
        const char16_t* russian;
        const char16_t* ukrainian;
    };
    const Row rows[] = {
        {0,
         u"&\u041D\u0435\u0437\u0430\u0432\u0438\u0441\u0438\u043C\u044B\u0439 \u0432\u044B\u0431\u043E\u0440 "
         u"\u044D\u043B\u0435\u043C\u0435\u043D\u0442\u0430 \u0438 \u0430\u0442\u043E\u043C\u043D\u043E\u0439 "
         u"\u043C\u0430\u0441\u0441\u044B",
         u"&\u041D\u0435\u0437\u0430\u043B\u0435\u0436\u043D\u0438\u0439 \u0432\u0438\u0431i\u0440 "
         u"\u0435\u043B\u0435\u043C\u0435\u043D\u0442\u0430 \u0442\u0430 \u0430\u0442\u043E\u043C\u043D\u043E\u0457 "
         u"\u043C\u0430\u0441\u0438"},
        {1,
         u"\u0421\u043F\u0438\u0441\u043E\u043A "
         u"&\u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432",
         u"\u0421\u043F\u0438\u0441\u043E\u043A &\u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432"},
        {3,
         u"\u0421\u043E\u0440\u0442\u0438\u0440\u043E\u0432\u043A\u0430 \u043F\u043E: "
         u"&\u043E\u0431\u043E\u0437\u043D\u0430\u0447\u0435\u043D\u0438\u044F\u043C "
         u"\u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u0421\u043E\u0440\u0442\u0443\u0432\u0430\u043D\u043D\u044F \u0437\u0430: "
         u"&\u043F\u043E\u0437\u043D\u0430\u0447\u0435\u043D\u043D\u044F\u043C\u0438 "
         u"\u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432"},
        {4,
         u"\u043D\u0430\u0437\u0432\u0430\u043D\u0438\u044F\u043C "
         u"&\u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u043D\u0430\u0437\u0432\u0430\u043C\u0438 &\u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432"},
        {5,
         u"\u043F\u0435\u0440\u0438\u043E\u0434\u0438\u0447\u0435\u0441\u043A\u043E\u0439 "
         u"&\u0442\u0430\u0431\u043B\u0438\u0446\u0435",
         u"\u043F\u0435\u0440i\u043E\u0434\u0438\u0447\u043D\u043E\u044E "
         u"&\u0442\u0430\u0431\u043B\u0438\u0446\u0435\u044E"},
        {6, u"\u0430\u0442\u043E\u043C\u043D\u043E\u0439 &\u043C\u0430\u0441\u0441\u0435",
         u"\u0430\u0442\u043E\u043C\u043D\u043E\u044E &\u043C\u0430\u0441\u043E\u044E"},
        {8, u"\u0424\u0438\u043B\u044C\u0442\u0440", u"\u0424i\u043B\u044C\u0442\u0440"},
        {9, u"\u0424\u0438\u043B\u044C\u0442\u0440 \u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u0424i\u043B\u044C\u0442\u0440 \u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432"},
        {10,
         u"\u0424\u0438\u043B\u044C\u0442\u0440 "
         u"\u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432",
         u"\u0424i\u043B\u044C\u0442\u0440 \u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432"},
        {11, u"\u0420\u0430\u0441\u0448\u0438\u0440\u0435\u043D\u043D\u044B\u0439 \u0444\u0438\u043B\u044C\u0442\u0440",
         u"\u0420\u043E\u0437\u0448\u0438\u0440\u0435\u043D\u0438\u0439 \u0444i\u043B\u044C\u0442\u0440"},
        {13,
         u"\u0417\u0430\u0433\u0440\u0443\u0437\u0438\u0442\u044C \u0441\u043F\u0438\u0441\u043E\u043A "
         u"\u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432 \u0438\u0437 \u0444\u0430\u0439\u043B\u0430",
         u"\u0417\u0430\u0432\u0430\u043D\u0442\u0430\u0436\u0438\u0442\u0438 \u0441\u043F\u0438\u0441\u043E\u043A "
         u"\u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432 \u0437 \u0444\u0430\u0439\u043B\u0430"},
        {14,
         u"\u0417\u0430\u0433\u0440\u0443\u0437\u0438\u0442\u044C \u0441\u043F\u0438\u0441\u043E\u043A "
         u"\u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432 \u0438\u0437 "
         u"\u0444\u0430\u0439\u043B\u0430",
         u"\u0417\u0430\u0432\u0430\u043D\u0442\u0430\u0436\u0438\u0442\u0438 \u0441\u043F\u0438\u0441\u043E\u043A "
         u"\u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432 \u0437 \u0444\u0430\u0439\u043B\u0430"},
    };
    makePanel();
    panel->setPopupMenuOptions(ChooserMenuEntries::fromRaw(0x3F));
    for (const UiLanguage language : {UiLanguage::Russian, UiLanguage::Ukrainian}) {
        panel->setLanguage(language);
        panel->setPopupMenuOptions(ChooserMenuEntries::fromRaw(0x3F));
        const QList<QAction*> actions = panel->popupMenu()->actions();
        for (const Row& row : rows) {
            QString expected = QString::fromUtf16(language == UiLanguage::Russian ? row.russian : row.ukrainian);
            if (row.entry >= 4 && row.entry <= 6)
                expected.prepend(QString(27, u' '));
            if (row.entry >= 8)
                expected += QStringLiteral("...");
            EXPECT_EQ(actions[row.entry]->text(), expected) << row.entry;
        }
    }
    panel->setLanguage(UiLanguage::English);
    panel->setPopupMenuOptions({ChooserMenuEntry::Choice, ChooserMenuEntry::Sort});
    const QList<QAction*> actions = panel->popupMenu()->actions();
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Independent choice of element and atomic mass"));
    EXPECT_EQ(actions[4]->text(), QString(14, u' ') + QStringLiteral("element &name"));
    EXPECT_FALSE(actions[8]->isVisible());
    EXPECT_TRUE(actions[3]->isVisible());
}

TEST_F(NuclideChooserTest, FilterDialogMovesNuclidesAndAppliesThemOnOk)
{
    makePanel(kData);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    show();
    int shown = 0;
    panel->execModal = [&](QDialog& dialog) {
        ++shown;
        auto& form = static_cast<FilterDialog&>(dialog);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Filter dialog"));
        EXPECT_EQ(form.nuclidesIn()->count(), kData.size());
        form.pages()->setCurrentIndex(1);
        form.nuclidesIn()->findItems(QStringLiteral("Co-60"), Qt::MatchExactly).front()->setSelected(true);
        form.moveSelected(false);
        EXPECT_EQ(form.nuclidesIn()->count(), kData.size() - 1);
        form.accept();
        return int(QDialog::Accepted);
    };
    reports.clear();
    panel->execNuclideFilterDialog();
    EXPECT_EQ(shown, 1);
    EXPECT_LT(panel->selection().filter().nuclides().indexOf(QStringLiteral("Co-60")), 0);
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-58")); // the closest offered cobalt
    EXPECT_FALSE(reports.isEmpty());

    panel->execModal = [&](QDialog& dialog) {
        auto& form = static_cast<FilterDialog&>(dialog);
        form.moveAll(false); // every element out
        EXPECT_EQ(form.elementsIn()->count(), 0);
        form.moveAll(true);
        EXPECT_EQ(form.elementsIn()->item(0)->text(), QStringLiteral("H"));
        return int(QDialog::Rejected); // Cancel changes nothing
    };
    const ElementSet before = panel->selection().filter().elements();
    panel->execElementFilterDialog();
    EXPECT_EQ(panel->selection().filter().elements(), before);
}

TEST_F(NuclideChooserTest, ListFilesLoadThroughTheFileDialog)
{
    makePanel();
    show();
    QTemporaryDir dir;
    QFile list(dir.filePath("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("Co-60\ncs - 137\nnonsense\n");
    list.close();
    QString title;
    panel->openTextFile = [&](const QString& t) {
        title = t;
        return dir.filePath("list.txt");
    };
    panel->execLoadNuclideListDialog();
    EXPECT_EQ(title, QStringLiteral("Load radionuclide list from file"));
    EXPECT_TRUE(panel->selection().filter().useNuclideFilter());
    EXPECT_EQ(panel->fullNuclideList(), (QStringList{"Co-60", "Cs-137"}));

    panel->openTextFile = [](const QString&) { return QString(); }; // cancelled
    panel->execLoadElListDialog();
    EXPECT_FALSE(panel->selection().filter().useElementFilter());
}

TEST_F(NuclideChooserTest, SetRadionuclideDialogChoosesOnOk)
{
    makePanel(kData);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    show();
    panel->execModal = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set radionuclide"));
        auto* other = dialog.findChild<NuclideChooser*>(QStringLiteral("editedNuclideChooser"));
        EXPECT_TRUE(other);
        other->show();
        EXPECT_EQ(other->selection().name(), QStringLiteral("Co-60"));
        other->selection().setElementAndAMass(ChemicalElement::U, "238");
        return int(QDialog::Accepted);
    };
    panel->editNuclide();
    EXPECT_EQ(panel->selection().name(), QStringLiteral("U-238"));
}

TEST(elementGroups, ColoursOfTheGroups)
{
    ElementGroupColours g;
    EXPECT_EQ(g.getElementColor(ChemicalElement::Po), g.otherMetalsColor);
    EXPECT_EQ(g.getElementColor(ChemicalElement::At), g.nonMetalsColor);
    EXPECT_EQ(g.getElementColor(ChemicalElement::Fe), g.transitionMetalsColor);
    EXPECT_EQ(g.getElementColor(ChemicalElement::La), g.lanthanideSeriesColor);
    EXPECT_EQ(g.getElementColor(ChemicalElement::None), g.transitionMetalsColor);
    EXPECT_EQ(PeriodicTablePopup::cellElement(9, 4), ChemicalElement::Db);
    EXPECT_EQ(PeriodicTablePopup::cellElement(10, 0), ChemicalElement::None);
}

TEST_F(NuclideChooserTest, ElementFilterOfTheTableEditsItsSet)
{
    OfferedElements f(index);
    EXPECT_EQ(f.elements(), index.elements());
    int changes = 0;
    f.onChange = [&] { ++changes; };
    f.readStoredElementSet({-23, -1, -1, 15}); // the very elements of the index: no change
    EXPECT_EQ(f.elements().count(), 97);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(f.storedElementSet(), (std::array<std::int32_t, 4>{-23, -1, -1, 15}));
    f.execModal = [](QDialog& dialog) {
        auto& form = static_cast<FilterDialog&>(dialog);
        EXPECT_FALSE(form.useElementFilter()->isVisibleTo(&form));
        form.elementsIn()->item(0)->setSelected(true); // H
        form.moveSelected(false);
        form.accept();
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(f.editDlg());
    EXPECT_FALSE(f.elements().contains(ChemicalElement::H));
    EXPECT_EQ(f.elements().count(), 96);
    EXPECT_EQ(changes, 1);
}

TEST(elementMenu, ACurrentElementThatIsNotEnabledMovesToTheFirstEnabled)
{
    const NuclideIndex index;
    PeriodicTablePopup menu(index);
    ElementSet set;
    set.insert(ChemicalElement::Co);
    set.insert(ChemicalElement::Cs);
    menu.setEnabledElements(ElementsOffered::Custom, set);
    EXPECT_EQ(menu.element(), ChemicalElement::Co);
    menu.setElement(ChemicalElement::Fe);
    EXPECT_EQ(menu.element(), ChemicalElement::Co);
    menu.setEnabledElements(ElementsOffered::All, {});
    menu.setElement(ChemicalElement::Fe);
    EXPECT_EQ(menu.element(), ChemicalElement::Fe);
}

} // namespace
} // namespace kav
