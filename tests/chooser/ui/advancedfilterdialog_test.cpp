// The advanced filter dialog, driven through its real controls on the shipped index with its
// spectra, and the chooser's mark, menu entries and quick entry around it.
#include "chooser/ui/advancedfilterdialog.h"
#include "chooser/ui/filtercontrols.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "controls/numberedit.h"
#include "indexfixture.h"
#include "recordingmessageboxes.h"
#include "widgetinput.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

constexpr double kLn2 = 0.69314718055994530942;

// A click where a user clicks: on the box of a check box or radio button, elsewhere in the middle.
void click(QWidget* w)
{
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(7, w->height() / 2));
    else
        QTest::mouseClick(w, Qt::LeftButton);
}

void clickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
}

// Replaces a number field's text by typing, as a user does after selecting what is there.
void typeNumber(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Clicks an entry of a menu that is open, and of its sub-menu when given.
void clickMenu(QMenu* menu, const QString& entry, const QString& subEntry = {})
{
    for (QAction* a : menu->actions()) {
        if (a->text() != entry)
            continue;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        if (subEntry.isEmpty())
            return;
        QMenu* sub = a->menu();
        ASSERT_TRUE(sub);
        for (int waited = 0; !sub->isVisible() && waited < 1000; waited += 20)
            QTest::qWait(20); // a sub-menu opens after a short delay
        ASSERT_TRUE(sub->isVisible()) << entry.toStdString();
        clickMenu(sub, subEntry);
        return;
    }
    FAIL() << "no entry " << entry.toStdString();
}

class AdvancedFilterDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        loadShippedIndex(index);
        makePanel();
    }
    void makePanel()
    {
        panel.reset();
        panel = std::make_unique<NuclideChooser>(index, spectra, messages);
        panel->setPopupMenuOptions(
            {ChooserMenuEntry::Choice, ChooserMenuEntry::Sort, ChooserMenuEntry::AdvancedFilter});
        panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
        hearingChoices.push_back(panel->selection().nuclideChosen.connect(
            [this](const NuclideIdentity& rnx) { reports << rnx.nameText(); }));
        panel->onStatusText = [this](const QString& text) { status << text; };
        panel->resize(260, 40);
        panel->show();
        ASSERT_TRUE(panel->selection().active());
    }

    // Opens the dialog through the chooser and runs the steps while it is shown.
    void openDialog(const std::function<void(AdvancedFilterDialog&)>& steps)
    {
        int opened = 0;
        panel->execModal = [&](QDialog& dialog) {
            ++opened;
            auto& form = static_cast<AdvancedFilterDialog&>(dialog);
            form.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
            steps(form);
            form.reject();
            return form.result();
        };
        panel->execAdvFilterDialog();
        EXPECT_EQ(opened, 1);
    }

    QStringList offered() const { return panel->selection().filter().fullNuclideList().names(); }

    NuclideIndex index;
    SpectraFiles spectra{index};
    RecordingMessageBoxes messages;
    std::unique_ptr<NuclideChooser> panel;
    QStringList reports;
    std::vector<Notice<const NuclideIdentity&>::Connection> hearingChoices;
    QStringList status;
};

struct PageCase {
    const char* name;
    std::function<void(AdvancedFilterDialog&)> steps;
    std::function<bool(const Nuclide&, const NuclideIndex&)> passes;
    const char* member;
    const char* outsider;
};

bool hasPhotonLine(const NuclideIndex& index, const Nuclide& node, float lo, float hi, bool byYield)
{
    const SpectraFiles spectra(index);
    SpectrumLines lines;
    if (!spectra.readLines(&node, lines))
        return false;
    for (const SpectrumLine& line : lines) {
        const float v = byYield ? line.yield : line.energy;
        if (isPhotonGroupRadiation(line.radiation) && v >= lo && v <= hi)
            return true;
    }
    return false;
}

TEST_F(AdvancedFilterDialogTest, EachPageChangesWhatThePanelOffers)
{
    const PageCase cases[] = {
        {"mass 220 to 230",
         [](AdvancedFilterDialog& f) {
             click(f.findChild<QToolButton*>(QStringLiteral("page0")));
             click(f.massEnabled(false));
             click(f.massEnabled(true));
             typeNumber(f.massValue(false), QStringLiteral("220"));
             typeNumber(f.massValue(true), QStringLiteral("230"));
         },
         [](const Nuclide& n, const NuclideIndex&) { return n.massNumber >= 220 && n.massNumber <= 230; }, "Ra-226",
         "Co-60"},
        {"no ancestors",
         [](AdvancedFilterDialog& f) {
             click(f.findChild<QToolButton*>(QStringLiteral("page1")));
             click(f.ancestorsEnabled());
             for (const char* count : {"1", "2", "3", "4"})
                 clickItem(f.ancestorCounts(), QString::fromLatin1(count));
         },
         [](const Nuclide& n, const NuclideIndex&) { return n.ancestorCount == 0; }, "H-3", "Ba-137m"},
        {"alpha decay only",
         [](AdvancedFilterDialog& f) {
             click(f.findChild<QToolButton*>(QStringLiteral("page2")));
             click(f.decayEnabled());
             for (const char* mode : {"Alpha", "Beta \u2014", "Beta +", "IT", "SF"})
                 clickItem(f.decayModes(), QString::fromUtf8(mode));
             for (const char* mode : {"Beta \u2014  only", "Beta +  only", "IT only"})
                 clickItem(f.decayOnlyModes(), QString::fromUtf8(mode));
         },
         [](const Nuclide& n, const NuclideIndex&) { return n.decayModes == DecayModeSet{DecayMode::Alpha}; }, "Po-210",
         "Cf-252"},
        {"half-life from 1 d to 1 y",
         [](AdvancedFilterDialog& f) {
             click(f.findChild<QToolButton*>(QStringLiteral("page3")));
             pickComboItem(f.halfLifeUnits(false), QStringLiteral("d"));
             typeNumber(f.halfLifeValue(false), QStringLiteral("1"));
             pickComboItem(f.halfLifeUnits(true), QStringLiteral("y"));
             typeNumber(f.halfLifeValue(true), QStringLiteral("1"));
             EXPECT_TRUE(f.halfLifeEnabled(false)->isChecked() && f.halfLifeEnabled(true)->isChecked())
                 << "typing a bound switches it on";
         },
         [](const Nuclide& n, const NuclideIndex&) {
             return n.decayConstant <= static_cast<float>(kLn2) && n.decayConstant >= static_cast<float>(kLn2 / 365.25);
         },
         "I-131", "Cs-137"},
        {"gamma lines 0.6 to 0.7 MeV, above 0.1 MeV per decay",
         [](AdvancedFilterDialog& f) {
             click(f.findChild<QToolButton*>(QStringLiteral("page4")));
             click(f.spectrumEnabled());
             click(f.criterionBox(SpectrumCriterion::GammaLineEnergy));
             typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, true), QStringLiteral("0.7"));
             typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, false), QStringLiteral("0.6"));
             click(f.criterionBox(SpectrumCriterion::GammaLineYield));
             typeNumber(f.criterionBound(SpectrumCriterion::GammaLineYield, true), QStringLiteral("100"));
             typeNumber(f.criterionBound(SpectrumCriterion::GammaLineYield, false), QStringLiteral("0.1"));
         },
         [](const Nuclide& n, const NuclideIndex& i) {
             return hasPhotonLine(i, n, 0.6f, 0.7f, false) && hasPhotonLine(i, n, 0.1f, 100, true);
         },
         "Ba-137m", "Cs-137"},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        makePanel();
        openDialog([&](AdvancedFilterDialog& f) {
            c.steps(f);
            ASSERT_TRUE(f.enabledBox()->isChecked()) << "switching a criterion on switches the filter on";
            const QStringList names = offered();
            int expected = 0;
            for (int i = 0; i < index.count(); ++i)
                expected += c.passes(*index.items(i), index);
            EXPECT_EQ(names.size(), expected);
            EXPECT_TRUE(names.contains(QString::fromLatin1(c.member)));
            EXPECT_FALSE(names.contains(QString::fromLatin1(c.outsider)));
            // The dialog shows what the panel offers.
            EXPECT_EQ(f.resultNuclides()->count(), names.size());
            EXPECT_EQ(f.nuclidesCount()->text(), QStringLiteral("%1 radionuclides").arg(panel->nuclideCount()));
            EXPECT_EQ(f.elementsCount()->text(), QStringLiteral("%1 elements").arg(panel->elCount()));
            for (const QString& element : panel->selection().elementList())
                EXPECT_TRUE(panel->selection().filter().fullElementSet().contains(elementBySymbol(element)));
            // Switched off, the criteria stay but the chooser offers everything again.
            click(f.enabledBox());
            EXPECT_EQ(offered().size(), index.count());
            click(f.enabledBox());
            EXPECT_EQ(offered(), names);
        });
    }
}

TEST_F(AdvancedFilterDialogTest, LinesListShowsTheLinesThatMeetTheCriteriaAndSorts)
{
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        click(f.linesListButton());
        ASSERT_TRUE(f.linesGroup()->isVisible());
        EXPECT_EQ(f.width(), AdvancedFilterDialog::WideWidth);
        click(f.criterionBox(SpectrumCriterion::GammaLineEnergy));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, true), QStringLiteral("0.7"));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, false), QStringLiteral("0.6"));
        EXPECT_EQ(f.linesLabel()->text(), QStringLiteral("List is empty!")) << "alpha lines are shown";
        click(f.lineKindButton(AdvancedFilterDialog::LineKind::Gamma));
        DataGrid* grid = f.linesGrid();
        const int lines = grid->rowCount() - 1;
        ASSERT_GT(lines, 100);
        EXPECT_EQ(f.linesLabel()->text(), QStringLiteral("%1 spectrum lines").arg(lines));
        for (int r = 1; r <= lines; ++r) {
            EXPECT_EQ(grid->cells(0, r), QString::number(r));
            const double e = grid->cells(3, r).toDouble();
            ASSERT_TRUE(e >= 0.6 - 1e-6 && e <= 0.7 + 1e-6) << r;
        }
        // Both photon criteria on one line: the energy per decay too.
        click(f.criterionBox(SpectrumCriterion::GammaLineYield));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineYield, true), QStringLiteral("100"));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineYield, false), QStringLiteral("0.5"));
        const int strong = grid->rowCount() - 1;
        ASSERT_GT(strong, 0);
        ASSERT_LT(strong, lines);
        bool barium = false;
        for (int r = 1; r <= strong; ++r) {
            EXPECT_GE(grid->cells(4, r).toDouble(), 0.5);
            barium |= grid->cells(1, r) == QStringLiteral("Ba-137m");
        }
        EXPECT_TRUE(barium);

        // Sorting through the grid's menu.
        auto sortBy = [&](const char* entry) {
            const QPoint at = grid->viewport()->mapToGlobal(QPoint(20, 40));
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 40), at);
            QApplication::sendEvent(grid->viewport(), &menuEvent);
            ASSERT_TRUE(f.linesMenu()->isVisible());
            clickMenu(f.linesMenu(), QStringLiteral("Sort by"), QString::fromUtf8(entry));
        };
        auto column = [&](int c) {
            std::vector<double> values;
            for (int r = 1; r <= strong; ++r)
                values.push_back(grid->cells(c, r).toDouble());
            return values;
        };
        sortBy("energy");
        const std::vector<double> energies = column(3);
        EXPECT_TRUE(std::is_sorted(energies.begin(), energies.end()));
        EXPECT_EQ(f.sortCol(), AdvancedFilterDialog::LinesSort::Energy);
        sortBy("energy \u2022 yield");
        const std::vector<double> yields = column(4);
        EXPECT_TRUE(std::is_sorted(yields.begin(), yields.end()));
        sortBy("half-life");
        const std::vector<double> lambdas = column(5);
        EXPECT_TRUE(std::is_sorted(lambdas.rbegin(), lambdas.rend())) << "shortest half-life first";
        sortBy("periodic table");
        QStringList order;
        for (int r = 1; r <= strong; ++r)
            if (order.isEmpty() || order.back() != grid->cells(1, r))
                order << grid->cells(1, r);
        QStringList panelOrder;
        for (const QString& name : panel->fullNuclideList())
            if (order.contains(name))
                panelOrder << name;
        EXPECT_EQ(order, panelOrder);

        // Copy: the visible columns, the decay constant left out.
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 40),
                                    grid->viewport()->mapToGlobal(QPoint(20, 40)));
        QApplication::sendEvent(grid->viewport(), &menuEvent);
        clickMenu(f.linesMenu(), QStringLiteral("Copy to clipboard"));
        const QString copied = QApplication::clipboard()->text();
        EXPECT_TRUE(copied.startsWith(QStringLiteral("No\tRadionuclide\tHalf-life\t")))
            << copied.left(80).toStdString();
        EXPECT_EQ(copied.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).size(), strong + 1);
        EXPECT_EQ(copied.split(QStringLiteral("\r\n")).front().count(u'\t'), 4);
    });
}

// A list that would pass its cap stops there and says so, in the chooser's language.
TEST_F(AdvancedFilterDialogTest, ALinesListCutShortSaysSoInTheChoosersLanguage)
{
    const struct {
        UiLanguage language;
        const char* said;
    } cases[] = {{UiLanguage::English, "List is too long !"}, {UiLanguage::Russian, "Список слишком большой !"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        makePanel();
        panel->setLanguage(c.language);
        openDialog([&](AdvancedFilterDialog& f) {
            click(f.findChild<QToolButton*>(QStringLiteral("page4")));
            click(f.linesListButton());
            click(f.criterionBox(SpectrumCriterion::GammaLineEnergy));
            typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, true), QStringLiteral("100"));
            typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, false), QStringLiteral("0"));
            click(f.lineKindButton(AdvancedFilterDialog::LineKind::Gamma));
            EXPECT_EQ(f.linesGrid()->rowCount() - 1, AdvancedFilterDialog::MaxLines);
            EXPECT_EQ(f.linesLabel()->text().toStdString(), c.said);
        });
    }
}

TEST_F(AdvancedFilterDialogTest, RadiationTypesOfTheLinesListAreChosenApart)
{
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        click(f.linesListButton());
        click(f.criterionBox(SpectrumCriterion::GammaLineEnergy));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, true), QStringLiteral("0.1"));
        typeNumber(f.criterionBound(SpectrumCriterion::GammaLineEnergy, false), QStringLiteral("0.01"));
        click(f.lineKindButton(AdvancedFilterDialog::LineKind::Gamma));
        const int withXrays = f.linesGrid()->rowCount() - 1;
        int chooserRuns = 0;
        f.execModal = [&](QDialog& dialog) {
            ++chooserRuns;
            auto& chooser = static_cast<LineTypesDialog&>(dialog);
            chooser.show();
            EXPECT_EQ(chooser.gammaList()->count(), 5);
            EXPECT_EQ(chooser.gammaList()->item(1)->text(), QStringLiteral("X-rays"));
            // Every name whole and in sight, without scroll bars.
            for (QListWidget* list : {chooser.betaList(), chooser.gammaList()})
                for (int row = 0; row < list->count(); ++row) {
                    const QRect item = list->visualItemRect(list->item(row));
                    EXPECT_TRUE(list->viewport()->rect().contains(item)) << list->item(row)->text().toStdString();
                    EXPECT_GE(item.width(), list->fontMetrics().horizontalAdvance(list->item(row)->text()) + 16)
                        << list->item(row)->text().toStdString();
                    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
                    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
                }
            for (int row = 0; row < 5; ++row)
                clickItem(chooser.gammaList(), chooser.gammaList()->item(row)->text());
            click(chooser.okButton());
            EXPECT_TRUE(chooser.isVisible()) << "nothing checked: all are checked again and it stays";
            for (int row = 0; row < 5; ++row)
                EXPECT_EQ(chooser.gammaList()->item(row)->checkState(), Qt::Checked);
            clickItem(chooser.gammaList(), QStringLiteral("X-rays"));
            click(chooser.okButton());
            return chooser.result();
        };
        QGroupBox* kinds = f.findChild<QGroupBox*>(QStringLiteral("lineKinds"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), kinds->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(kinds, &menuEvent);
        EXPECT_EQ(chooserRuns, 1);
        EXPECT_FALSE(f.gammaRadiationSet().contains(2));
        EXPECT_TRUE(f.gammaRadiationSet().contains(1));
        EXPECT_LT(f.linesGrid()->rowCount() - 1, withXrays);
    });
}

TEST_F(AdvancedFilterDialogTest, PercentRowsStoreShares)
{
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        FloatEdit* max = f.criterionBound(SpectrumCriterion::AlphaShare, true);
        FloatEdit* min = f.criterionBound(SpectrumCriterion::AlphaShare, false);
        typeNumber(max, QStringLiteral("100"));
        typeNumber(min, QStringLiteral("50"));
        EXPECT_FLOAT_EQ(panel->selection().filter().advanced().spectrum().min(SpectrumCriterion::AlphaShare), 0.5f);
        EXPECT_FLOAT_EQ(panel->selection().filter().advanced().spectrum().max(SpectrumCriterion::AlphaShare), 1.0f);
        typeNumber(max, QStringLiteral("150"));
        EXPECT_EQ(max->value(), 100) << "at most 100 %";
        // A maximum typed below the minimum waits for the typing to end before it moves it.
        typeNumber(max, QStringLiteral("20"));
        EXPECT_FLOAT_EQ(panel->selection().filter().advanced().spectrum().min(SpectrumCriterion::AlphaShare), 0.5f);
        QTest::keyClick(max, Qt::Key_Return);
        EXPECT_FLOAT_EQ(panel->selection().filter().advanced().spectrum().max(SpectrumCriterion::AlphaShare), 0.2f);
        EXPECT_FLOAT_EQ(panel->selection().filter().advanced().spectrum().min(SpectrumCriterion::AlphaShare), 0.2f);
        EXPECT_DOUBLE_EQ(min->value(), 20);
    });
}

TEST_F(AdvancedFilterDialogTest, HalfLifeFieldsFollowEachOther)
{
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page3")));
        pickComboItem(f.halfLifeUnits(false), QStringLiteral("d"));
        typeNumber(f.halfLifeValue(false), QStringLiteral("1"));
        EXPECT_NEAR(f.halfLifeLambda(false)->value(), kLn2, 1e-6);
        pickComboItem(f.halfLifeUnits(false), QStringLiteral("h"));
        EXPECT_NEAR(f.halfLifeValue(false)->value(), 24, 1e-4);
        EXPECT_NEAR(f.halfLifeLambda(false)->value(), kLn2, 1e-6);
        typeNumber(f.halfLifeLambda(false), QString::number(kLn2 / 7200, 'g', 9));
        EXPECT_EQ(f.halfLifeUnits(false)->currentText(), QStringLiteral("y"));
        EXPECT_NEAR(f.halfLifeValue(false)->value(), 7200 / 365.25, 1e-3);
        click(f.databaseButton());
        EXPECT_EQ(static_cast<float>(f.halfLifeValue(true)->value()), index.longestHalfLife().halfLife);
        EXPECT_EQ(f.halfLifeUnits(false)->currentIndex(), static_cast<int>(index.shortestHalfLife().halfLifeUnit));
    });
}

TEST_F(AdvancedFilterDialogTest, OtherListenersHearWhileOpenAndEditsStayAfterClosing)
{
    int changes = 0;
    const auto heard = panel->selection().filterApplied.connect([&] { ++changes; });
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.enabledBox());
        click(f.findChild<QToolButton*>(QStringLiteral("page0")));
        click(f.massEnabled(false));
        typeNumber(f.massValue(false), QStringLiteral("250"));
        EXPECT_GT(changes, 0) << "the panel's other listener hears it while the dialog is open";
        click(f.findChild<QToolButton*>(QStringLiteral("page3")));
    });
    // Closed with Escape: what was done stays, and the panel's listener still hears it.
    EXPECT_TRUE(panel->selection().filter().advanced().enabled());
    EXPECT_EQ(panel->selection().filter().advanced().aMass().minValue(), 250);
    for (const QString& name : offered())
        EXPECT_GE(index.findNuclide(name)->massNumber, 250);
    const int before = changes;
    panel->selection().filter().advanced().aMass().setMinValue(240);
    EXPECT_EQ(changes, before + 1);
    // The page it was closed on comes back, in the width it had.
    openDialog([&](AdvancedFilterDialog& f) {
        EXPECT_EQ(f.pages()->currentIndex(), static_cast<int>(AdvancedFilterDialog::Page::HalfLife));
    });
}

// Ticking or editing a criterion switches it, its page and the filter on, whichever of them
// were off; Escape closes the dialog wherever the focus is, the lines list included.
TEST_F(AdvancedFilterDialogTest, ACriterionSwitchesTheFilterOnAndEscapeClosesFromAnywhere)
{
    bool closed = false;
    const auto steps = [&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        click(f.spectrumEnabled()); // the page on: the filter with it
        ASSERT_TRUE(f.enabledBox()->isChecked());
        click(f.enabledBox()); // the filter off, the page still on
        ASSERT_TRUE(f.spectrumEnabled()->isChecked());
        click(f.criterionBox(SpectrumCriterion::GammaLineEnergy));
        EXPECT_TRUE(f.enabledBox()->isChecked()) << "a criterion ticked switches the filter on";
        click(f.enabledBox());
        click(f.spectrumEnabled());
        typeNumber(f.criterionBound(SpectrumCriterion::AlphaLineEnergy, true), QStringLiteral("5"));
        EXPECT_TRUE(f.criterionBox(SpectrumCriterion::AlphaLineEnergy)->isChecked());
        EXPECT_TRUE(f.spectrumEnabled()->isChecked());
        EXPECT_TRUE(f.enabledBox()->isChecked()) << "a bound typed switches the filter on";
        // Escape with the lines list focused.
        click(f.linesListButton());
        f.linesGrid()->setFocus();
        QTest::keyClick(f.linesGrid(), Qt::Key_Escape);
        closed = !f.isVisible();
    };
    panel->execModal = [&](QDialog& dialog) {
        auto& f = static_cast<AdvancedFilterDialog&>(dialog);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        steps(f);
        if (f.isVisible())
            f.reject();
        return f.result();
    };
    panel->execAdvFilterDialog();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(panel->selection().filter().advanced().enabled());
}

TEST_F(AdvancedFilterDialogTest, WideModeOnlyOnTheSpectrumPage)
{
    openDialog([&](AdvancedFilterDialog& f) {
        EXPECT_EQ(f.width(), AdvancedFilterDialog::NarrowWidth);
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        click(f.linesListButton());
        EXPECT_EQ(f.width(), AdvancedFilterDialog::WideWidth);
        click(f.findChild<QToolButton*>(QStringLiteral("page0")));
        EXPECT_EQ(f.width(), AdvancedFilterDialog::NarrowWidth);
        EXPECT_FALSE(f.linesListButton()->isVisible());
        click(f.findChild<QToolButton*>(QStringLiteral("page4")));
        EXPECT_EQ(f.width(), AdvancedFilterDialog::WideWidth);
    });
    EXPECT_TRUE(panel->selection().filter().advanced().formIsMoreWidth());
    openDialog([&](AdvancedFilterDialog& f) { EXPECT_EQ(f.width(), AdvancedFilterDialog::WideWidth); });
}

TEST_F(AdvancedFilterDialogTest, CountsInTheChoosersLanguage)
{
    const struct {
        int count;
        CountKind kind;
        UiLanguage language;
        const char* text;
    } cases[] = {
        {12, CountKind::Nuclides, UiLanguage::English, "12 radionuclides"},
        {1, CountKind::Elements, UiLanguage::English, "1 element"},
        {2, CountKind::Lines, UiLanguage::English, "2 spectrum lines"},
        {0, CountKind::Lines, UiLanguage::English, "List is empty!"},
        {12, CountKind::Lines, UiLanguage::Russian, "Выбрано линий спектра - 12"},
        {1, CountKind::Elements, UiLanguage::Russian, "Выбрано элементов - 1"},
        {0, CountKind::Nuclides, UiLanguage::Russian, "Список пуст!"},
        {3, CountKind::Lines, UiLanguage::Ukrainian, "Вибрано лiнiй спектру - 3"},
        {1, CountKind::Nuclides, UiLanguage::Ukrainian, "Вибрано радiонуклiдiв - 1"},
        {0, CountKind::Nuclides, UiLanguage::Ukrainian, "Список пустий!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countText(c.count, c.kind, c.language).toStdString(), c.text);
    panel->setLanguage(UiLanguage::Ukrainian);
    openDialog([&](AdvancedFilterDialog& f) {
        EXPECT_EQ(f.nuclidesCount()->text(), QStringLiteral("Вибрано радiонуклiдiв - %1").arg(panel->nuclideCount()));
        EXPECT_EQ(f.halfLifeUnits(false)->itemText(2), QStringLiteral("год"));
    });
}

TEST_F(AdvancedFilterDialogTest, ChooserMarksItsAdvancedFilterAndClearsIt)
{
    EXPECT_FALSE(panel->advancedMark()->isVisible());
    AdvancedFilter& a = panel->selection().filter().advanced();
    a.decay().setOrSet({DecayFilterKind::AlphaOnly});
    a.decay().setEnabled(true);
    a.setEnabled(true);
    EXPECT_TRUE(panel->advancedMark()->isVisible());
    EXPECT_TRUE(panel->advancedMark()->toolTip().contains(QStringLiteral("decay by any of: alpha only")))
        << panel->advancedMark()->toolTip().toStdString();

    // Nothing passes: the chooser is empty, the views keep their nuclide, the line says why.
    reports.clear();
    a.aMass().setMinValue(257);
    a.aMass().setMinEnabled(true);
    EXPECT_EQ(panel->nuclideCount(), 0);
    EXPECT_TRUE(reports.isEmpty());
    ASSERT_FALSE(status.isEmpty());
    EXPECT_TRUE(status.back().startsWith(QStringLiteral("No radionuclide passes the advanced filter")));
    EXPECT_TRUE(panel->advancedMark()->toolTip().contains(QStringLiteral("No radionuclide passes it")));
    a.aMass().setMinValue(258);
    EXPECT_EQ(status.size(), 1) << "said once";
    // Nuclides pass again: what was said is taken back.
    a.aMass().setMinValue(240);
    EXPECT_GT(panel->nuclideCount(), 0);
    EXPECT_EQ(status.size(), 2);
    EXPECT_TRUE(status.back().isEmpty());

    // "Clear advanced filter" from the right-click menu.
    QComboBox* box = panel->elementBox();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &menuEvent);
    ASSERT_TRUE(panel->popupMenu()->isVisible());
    clickMenu(panel->popupMenu(), QStringLiteral("Clear advanced filter"));
    EXPECT_FALSE(a.enabled());
    EXPECT_FALSE(panel->advancedMark()->isVisible());
    EXPECT_EQ(panel->nuclideCount(), index.count());
    EXPECT_TRUE(messages.boxes.empty());
}

// A filter that leaves nothing keeps the chooser's nuclide named in its boxes; clearing the
// filter gives back that nuclide, without a report or a step in the history.
TEST_F(AdvancedFilterDialogTest, AnEmptiedChooserStillNamesItsNuclideAndGetsItBack)
{
    panel->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    reports.clear();
    const QStringList history = panel->selection().undoNames();
    AdvancedFilter& a = panel->selection().filter().advanced();
    a.decay().setOrSet({DecayFilterKind::AlphaOnly});
    a.decay().setEnabled(true);
    a.aMass().setMaxValue(100);
    a.aMass().setMaxEnabled(true);
    a.setEnabled(true);
    ASSERT_EQ(panel->nuclideCount(), 0);
    EXPECT_EQ(panel->elementBox()->currentIndex(), -1);
    EXPECT_EQ(panel->elementBox()->placeholderText(), QStringLiteral("Cs"));
    EXPECT_EQ(panel->aMassBox()->placeholderText(), QStringLiteral("137"));
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Cs-137"));

    QComboBox* box = panel->elementBox();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &menuEvent);
    clickMenu(panel->popupMenu(), QStringLiteral("Clear advanced filter"));
    EXPECT_EQ(panel->elementBox()->currentText(), QStringLiteral("Cs"));
    EXPECT_EQ(panel->aMassBox()->currentText(), QStringLiteral("137"));
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u',').toStdString();
    EXPECT_EQ(panel->selection().undoNames(), history);
}

// Typing a bound digit by digit: the lists follow every key, the chooser's nuclide moves only
// when the typing ends, and not at all when it still passes.
TEST_F(AdvancedFilterDialogTest, ABoundBeingTypedMovesTheChoiceOnlyWhenTypingEnds)
{
    const QStringList history = panel->selection().undoNames();
    reports.clear();
    openDialog([&](AdvancedFilterDialog& f) {
        click(f.findChild<QToolButton*>(QStringLiteral("page0")));
        QLineEdit* max = f.massValue(true);
        max->setFocus();
        max->selectAll();
        QString typed;
        for (const char key : {'1', '0', '0'}) {
            QTest::keyClick(max, key);
            typed += QLatin1Char(key);
            // What the chooser lists follows the bound typed so far (one below the lowest mass
            // number, 3, waits for the end of the typing).
            const int bound = typed.toInt() < MassNumberFilter::Lowest ? MassNumberFilter::Highest : typed.toInt();
            int passing = 0;
            for (int i = 0; i < index.count(); ++i)
                passing += index.items(i)->massNumber <= bound;
            EXPECT_EQ(panel->nuclideCount(), passing) << typed.toStdString();
            EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60")) << typed.toStdString();
        }
        QTest::keyClick(max, Qt::Key_Return);
        EXPECT_EQ(panel->selection().name(), QStringLiteral("Co-60"));
        EXPECT_EQ(panel->elementBox()->currentText(), QStringLiteral("Co"));
        EXPECT_TRUE(reports.isEmpty()) << reports.join(u',').toStdString();
        EXPECT_EQ(panel->selection().undoNames(), history);

        // A bound Co-60 does not pass: it moves once, when the typing ends.
        max->selectAll();
        QTest::keyClicks(max, QStringLiteral("50"));
        EXPECT_TRUE(reports.isEmpty());
        QTest::keyClick(max, Qt::Key_Tab);
        EXPECT_EQ(reports, QStringList{"H-3"});
        EXPECT_EQ(panel->selection().undoNames().front(), QStringLiteral("Co-60"));
    });
}

TEST_F(AdvancedFilterDialogTest, MenuEntryOpensTheDialog)
{
    int opened = 0;
    panel->execModal = [&](QDialog& dialog) {
        ++opened;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Advanced radionuclide filter"));
        return int(QDialog::Rejected);
    };
    QComboBox* box = panel->aMassBox();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &menuEvent);
    clickMenu(panel->popupMenu(), QStringLiteral("Advanced filter..."));
    EXPECT_EQ(opened, 1);
}

TEST_F(AdvancedFilterDialogTest, QuickEntryTakesANameInAnyUsualSpelling)
{
    const std::pair<const char*, const char*> spellings[] = {
        {"cs137", "Cs-137"},  {"Cs-137", "Cs-137"}, {"cs 137", "Cs-137"}, {"tc99m", "Tc-99m"},
        {"Tc-99M", "Tc-99m"}, {"CO60", "Co-60"},    {"i131", "I-131"},
    };
    for (const auto& [typed, name] : spellings) {
        SCOPED_TRACE(typed);
        panel->selection().setElementAndAMass(ChemicalElement::H, "3");
        QComboBox* box = panel->elementBox();
        box->setFocus();
        QTest::keyClicks(box, QString::fromLatin1(typed));
        EXPECT_EQ(panel->typedName(), QString::fromLatin1(typed));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(panel->selection().name(), QString::fromLatin1(name));
        EXPECT_EQ(panel->selection().undoNames().front(), QStringLiteral("H-3")) << "through the chooser's history";
        EXPECT_TRUE(panel->typedName().isEmpty());
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(AdvancedFilterDialogTest, QuickEntrySaysWhyANameIsNotTaken)
{
    panel->selection().filter().setUseNuclideFilter(true);
    panel->selection().filter().setNuclideList(QStringList{"Co-60", "Cs-137", "Ba-137m", "Po-210"});
    panel->selection().filter().advanced().decay().setOrSet(
        {DecayFilterKind::AlphaOnly, DecayFilterKind::BetaMinusOnly});
    panel->selection().filter().advanced().decay().setEnabled(true);
    panel->selection().filter().advanced().setEnabled(true);
    panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    struct Case {
        const char* typed;
        const char* said;
    };
    const Case cases[] = {
        {"xx1", "Xx-1: no such radionuclide"},
        {"co57", "Co-57: no data file"},
        {"ba137m", "Ba-137m: left out by the advanced filter"},
        {"co6o", "\"co6o\" is not a radionuclide name"},
        {"po", ""}, // an element alone is taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        status.clear();
        panel->aMassBox()->setFocus();
        QTest::keyClicks(panel->aMassBox(), QString::fromLatin1(c.typed));
        QTest::keyClick(panel->aMassBox(), Qt::Key_Enter);
        ASSERT_FALSE(status.isEmpty());
        EXPECT_EQ(status.back(), QString::fromLatin1(c.said));
    }
    EXPECT_EQ(panel->selection().name(), QStringLiteral("Po-210"));
    // Escape gives up what was typed.
    QTest::keyClicks(panel->aMassBox(), QStringLiteral("cs"));
    QTest::keyClick(panel->aMassBox(), Qt::Key_Escape);
    EXPECT_TRUE(panel->typedName().isEmpty());
    EXPECT_TRUE(messages.boxes.empty());
}

// The dialog from the keyboard alone: it takes the keys as it opens, Tab passes every control of
// the page and of the dialog in order and comes back round by the page buttons, the pages turn by
// the arrows, Ctrl+Tab and the underlined letters, and Space ticks a check list.
TEST_F(AdvancedFilterDialogTest, EveryControlCanBeReachedAndUsedFromTheKeyboard)
{
    openDialog([&](AdvancedFilterDialog& form) {
        ASSERT_EQ(form.pages()->currentIndex(), static_cast<int>(AdvancedFilterDialog::Page::AtomicMass));
        EXPECT_EQ(QApplication::activeWindow(), &form);
        EXPECT_EQ(QApplication::focusWidget(), form.massEnabled(false));
        auto* pageButton = form.findChild<QToolButton*>(QStringLiteral("page0"));
        ASSERT_TRUE(pageButton);
        const std::vector<QWidget*> order{
            form.massValue(false),        form.massEnabled(true), form.massValue(true), form.enabledBox(),
            form.resultPages()->tabBar(), form.resultNuclides(),  pageButton,           form.massEnabled(false)};
        for (QWidget* expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_TRUE(panel->selection().filter().advanced().aMass().minEnabled());

        // The page buttons: the arrows move along them and turn the page.
        pageButton->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pageButton, Qt::Key_Right);
        EXPECT_EQ(form.pages()->currentIndex(), static_cast<int>(AdvancedFilterDialog::Page::DecayChain));
        // Ctrl+Tab turns the pages wherever the focus is, Ctrl+Shift+Tab back.
        form.enabledBox()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form.enabledBox(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(form.pages()->currentIndex(), static_cast<int>(AdvancedFilterDialog::Page::ModeOfDecay));
        QTest::keyClick(form.enabledBox(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(form.pages()->currentIndex(), static_cast<int>(AdvancedFilterDialog::Page::DecayChain));

        // Space ticks the check list's current entry off and on.
        form.ancestorCounts()->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(form.ancestorCounts()->currentRow(), 0);
        QTest::keyClick(form.ancestorCounts(), Qt::Key_Down);
        QTest::keyClick(form.ancestorCounts(), Qt::Key_Space);
        EXPECT_FALSE(
            panel->selection().filter().advanced().ancestors().countSet().contains(static_cast<RelativesCount>(1)));
        EXPECT_TRUE(
            panel->selection().filter().advanced().ancestors().countSet().contains(static_cast<RelativesCount>(0)));
        QTest::keyClick(form.ancestorCounts(), Qt::Key_Space);
        EXPECT_TRUE(
            panel->selection().filter().advanced().ancestors().countSet().contains(static_cast<RelativesCount>(1)));

        // The underlined letter of a page button opens its page.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&form] {
            return form.pages()->currentIndex() == static_cast<int>(AdvancedFilterDialog::Page::Spectrum);
        }));
    });
}

} // namespace
} // namespace kav
