#include "app/bioassaychart.h"
#include "app/bioassayview.h"
#include "app/mainwindow.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "controls/numberedit.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The real main window on a data folder written here, showing the bioassay tab. Co-60 and Cs-137
// have bioassay functions for the whole body, the urine and the lungs; Sr-90 has none.
class BioassayViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeBioassayFile(data.path(), ChemicalElement::Co, "60");
        writeBioassayFile(data.path(), ChemicalElement::Cs, "137");
        writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
        home.writeIni("Initialized=1\n", data.path());
    }
    void start(const QByteArray& units = {})
    {
        if (!units.isEmpty()) {
            QFile ini(home.iniPath());
            ASSERT_TRUE(ini.open(QIODevice::Append));
            ini.write("[Units]\n" + units);
        }
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->show();
        form->formActivate();
        form->mainTabs()->setCurrentIndex(1);
        view = form->bioassayPage();
        parts = std::make_unique<BioassayParts>(*view);
        grid = parts->bioassayTable;
    }
    void choose(BioassayQuantity quantity)
    {
        QTest::mouseClick(parts->displayedData->button(static_cast<int>(quantity)), Qt::LeftButton);
    }
    // Picks an entry of the table's menu as a user does: the menu opens over the table.
    void pickFromMenu(QAction* action)
    {
        QTimer::singleShot(0, view, [this, action] {
            QMenu* menu = parts->tableMenu;
            ASSERT_TRUE(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        });
        const QPoint at = grid->cellRect(1, 1).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &event);
    }
    QStringList shownTitles() const
    {
        QStringList titles;
        for (int c = 1; c < grid->colCount(); ++c)
            if (grid->colWidths(c) > 0)
                titles << grid->cells(c, 0);
        return titles;
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    BioassayView* view = nullptr;
    std::unique_ptr<BioassayParts> parts;
    DataGrid* grid = nullptr;
};

TEST_F(BioassayViewTest, StartsOnCoSixtyInhaledAtFiveMicrometresShowingZ)
{
    start();
    EXPECT_EQ(parts->intakeChooser->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(parts->routeBox->currentText(), QStringLiteral("Inhalation"));
    EXPECT_EQ(parts->materialBox->currentText(), QStringLiteral("Aerosols Cobalt nitrate Type M, fA=1E-2"));
    EXPECT_EQ(parts->sizeBox->count(), 11);
    EXPECT_EQ(parts->sizeBox->currentText(), QStringLiteral("5"));
    EXPECT_FALSE(parts->doseForContentField->isEnabled());
    EXPECT_TRUE(parts->captionLabel->text().endsWith(QStringLiteral("(Dose per Content Functions z(t)), Sv/Bq")));
    EXPECT_EQ(shownTitles(), (QStringList{"Whole Body", "Urine (24-hour sample)", "Lungs*"}));
    EXPECT_EQ(grid->rowCount(), 275);
    EXPECT_EQ(grid->cells(0, 0), QStringLiteral("Time, days"));
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("0.041667"));
    // The 5 µm material is the ninth of the group: its functions start at 1/2^9, its e(50) is 9e-10;
    // whole body (ordinal 5) at the first time: m = 2^-9 / 7.
    EXPECT_EQ(grid->cells(1, 1), formatScientific(9e-10 / (std::pow(0.5, 9) / 7), 2));
    ASSERT_TRUE(grid->getCellHint(5, 0));
    EXPECT_TRUE(grid->getCellHint(5, 0)->startsWith(QStringLiteral("Sum of the content in bronchioles")));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(BioassayViewTest, TheContentForADoseFollowsTheDoseField)
{
    start();
    const QString z = grid->cells(1, 1);
    choose(BioassayQuantity::ContentForDose);
    EXPECT_TRUE(parts->doseForContentField->isEnabled());
    EXPECT_TRUE(parts->captionLabel->text().endsWith(QStringLiteral("Committed Effective Dose (1 mSv), Bq")));
    // z × content = 1 mSv in Sv.
    EXPECT_NEAR(z.toDouble() * grid->cells(1, 1).toDouble(), 1e-3, 1e-3 * 0.06);
    const double single = grid->cells(1, 1).toDouble();
    parts->doseForContentField->setFocus();
    parts->doseForContentField->selectAll();
    QTest::keyClicks(parts->doseForContentField, QStringLiteral("2"));
    EXPECT_TRUE(parts->captionLabel->text().contains(QStringLiteral("(2 mSv)")));
    EXPECT_NEAR(grid->cells(1, 1).toDouble(), 2 * single, 2 * single * 0.06);
    // Down at the lowest dose stops there with a word in the status line, never a box.
    parts->doseForContentField->selectAll();
    QTest::keyClicks(parts->doseForContentField, QStringLiteral("0.02"));
    for (int press = 0; press < 3; ++press)
        QTest::keyClick(parts->doseForContentField, Qt::Key_Down);
    EXPECT_EQ(parts->doseForContentField->text(), QStringLiteral("0.01"));
    EXPECT_TRUE(parts->captionLabel->text().contains(QStringLiteral("(0.01 mSv)")));
    EXPECT_EQ(form->statusBar()->currentMessage(), QStringLiteral("0.01 is the lowest value"));
    EXPECT_TRUE(messages.boxes.empty());
    parts->doseForContentField->selectAll();
    QTest::keyClicks(parts->doseForContentField, QStringLiteral("2"));

    choose(BioassayQuantity::ContentPerIntake);
    EXPECT_FALSE(parts->doseForContentField->isEnabled());
    EXPECT_TRUE(parts->captionLabel->text().endsWith(QStringLiteral("(Reference Bioassay Functions m(t)), Bq per Bq")));
    EXPECT_EQ(grid->cells(1, 1), formatScientific(std::pow(0.5, 9) / 7, 2));
}

TEST_F(BioassayViewTest, RouteAndMaterialRefillTheirListsAndTheTable)
{
    start();
    pickComboItem(parts->routeBox, "Ingestion");
    EXPECT_EQ(parts->materialBox->currentText(), QStringLiteral("All compounds, fA=5E-2"));
    EXPECT_EQ(parts->sizeBox->count(), 1);
    EXPECT_EQ(parts->sizeBox->currentText(), QStringLiteral("-"));
    EXPECT_EQ(grid->cells(1, 1), formatScientific(1e-9 / (1.0 / 7), 2));
    pickComboItem(parts->routeBox, "Inhalation");
    pickComboItem(parts->sizeBox, "1");
    EXPECT_EQ(grid->cells(1, 1), formatScientific(7e-10 / (std::pow(0.5, 7) / 7), 2));
    // Another material brings the size back to 5 µm.
    pickComboItem(parts->materialBox, "Gas or vapour Type V, Elemental vapour");
    EXPECT_EQ(parts->sizeBox->currentText(), QStringLiteral("-"));
    pickComboItem(parts->materialBox, "Aerosols Cobalt nitrate Type M, fA=1E-2");
    EXPECT_EQ(parts->sizeBox->currentText(), QStringLiteral("5"));
    // Injection has no functions: no compartment is shown, nothing of the last choice is left
    // (times, points, the copy), and the caption says why.
    pickComboItem(parts->routeBox, "Injection");
    EXPECT_TRUE(shownTitles().isEmpty());
    EXPECT_EQ(parts->materialBox->currentText(), QStringLiteral("-"));
    const QString notice
        = QStringLiteral("No bioassay functions for this intake of Co-60: choose another route or material.");
    EXPECT_EQ(parts->captionLabel->text(), notice);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("-"));
    for (int s = 0; s < parts->bioassayChart->chartControl().seriesCount(); ++s)
        EXPECT_TRUE(parts->bioassayChart->chartControl().seriesAt(s).points.empty()) << s;
    parts->copyAction->trigger();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(QStringLiteral("Route of Intake\tInjection\r\nMaterial\t-\r\n")))
        << copied.toStdString();
    EXPECT_TRUE(copied.contains(notice));
    EXPECT_FALSE(copied.contains(QStringLiteral("0.041667")));
    // Back to a route with functions: the caption is the table's again.
    pickComboItem(parts->routeBox, "Ingestion");
    EXPECT_TRUE(
        parts->captionLabel->text().startsWith(QStringLiteral("Committed Effective Dose per Predicted Content")));
    EXPECT_EQ(grid->rowCount(), 275);
}

TEST_F(BioassayViewTest, NuclidesWithoutTheFunctionsOfWhatIsMeasuredShowNothing)
{
    start();
    pickComboItem(parts->intakeChooser->elementBox(), "Cs");
    // The file's functions are Cs-137's own, but Ba-137m is what is measured: no functions.
    EXPECT_TRUE(shownTitles().isEmpty());
    pickComboItem(parts->intakeChooser->elementBox(), "Sr");
    EXPECT_TRUE(shownTitles().isEmpty());
    EXPECT_TRUE(messages.boxes.empty());
    pickComboItem(parts->intakeChooser->elementBox(), "Co");
    EXPECT_EQ(shownTitles().size(), 3);
}

TEST_F(BioassayViewTest, ADamagedFileIsSaidAndThePreviousNuclideComesBack)
{
    start();
    writeBytes(data.filePath("Cs-137.qvd"), "damaged");
    pickComboItem(parts->intakeChooser->elementBox(), "Cs");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].buttons, MessageButtons(ButtonCancel));
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("Cs-137.qvd is corrupted")));
    EXPECT_EQ(parts->intakeChooser->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(shownTitles().size(), 3);
}

TEST_F(BioassayViewTest, ExcludingFractionsOfTheDayFromTheMenuIsRemembered)
{
    start();
    pickFromMenu(parts->wholeDaysAction);
    EXPECT_TRUE(home.context().settings().bioassayWholeDays());
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("1"));
    EXPECT_EQ(grid->cells(0, 11), QStringLiteral("11"));
    EXPECT_EQ(grid->rowCount(), 245);
    pickFromMenu(parts->wholeDaysAction);
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("0.041667"));
}

TEST_F(BioassayViewTest, UnitsComeFromThePreferences)
{
    start("DPUMTimeUnit=2\nDPUMContentActivityUnit=9\nDPUMIntakeActivityUnit=10\n"); // hours, kBq, MBq
    choose(BioassayQuantity::ContentPerIntake);
    EXPECT_EQ(grid->cells(0, 0), QStringLiteral("Time, hours"));
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("1"));
    EXPECT_EQ(grid->cells(0, grid->rowCount() - 1), QStringLiteral("438000"));
    EXPECT_TRUE(parts->captionLabel->text().endsWith(QStringLiteral("kBq per MBq")));
    EXPECT_EQ(grid->cells(1, 1), formatScientific(1000 * std::pow(0.5, 9) / 7, 2));
}

TEST_F(BioassayViewTest, TheCommandLineToolPrintsWhatTheClipboardGets)
{
    start("DPUMDoseUnit=5\nDPUMIntDaysOnly=1\n"); // mSv
    choose(BioassayQuantity::ContentForDose);
    parts->copyAction->trigger();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QString::fromUtf16(u"Radionuclide\tCo-60\r\nRoute of Intake\tInhalation\r\n"
                                                     u"Material\tAerosols Cobalt nitrate Type M, fA=1E-2\r\n"
                                                     u"AMTD/AMAD, \u00B5m\t5\r\n\r\nContent in an Organ")))
        << copied.left(300).toStdString();
    EXPECT_TRUE(copied.contains(QStringLiteral("\r\nTime, days\tWhole Body\tUrine (24-hour sample)\tLungs*\r\n1\t")));

    // The tool beside the viewer reads the same preferences.
    const ViewerHome::ToolRun kav
        = home.runToolBeside(QStringLiteral(KAV_CLI),
                             {"bioassay", "Co-60", "--route", "inhalation", "--material", "1", "--show", "content"});
    ASSERT_TRUE(kav.finished);
    EXPECT_EQ(kav.exitCode, 0) << kav.err.toStdString();
    EXPECT_EQ(kav.out, copied);
}

// A wide window gives the table's side what its columns need and the chart the rest; a divider
// the user moved stays where it was put.
TEST_F(BioassayViewTest, TheTableTakesWhatItsColumnsNeedAndTheChartTheRest)
{
    start();
    QSplitter* divider = view->divider();
    form->resize(2400, 900);
    QApplication::processEvents();
    const int total = divider->width() - divider->handleWidth();
    const QList<int> sizes = divider->sizes();
    EXPECT_LT(sizes[1], total / 2) << "three compartments need less than half of 2400 pixels";
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << "every column in sight";
    EXPECT_GE(grid->width(), grid->contentWidth());
    EXPECT_EQ(sizes[0] + sizes[1], total);

    // The user drags the divider far to the left: a later resize leaves the table's side wide
    // (the divider shares the change out), not fitted to the columns again.
    QWidget* handle = divider->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(600, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(600, 0));
    ASSERT_GT(divider->sizes()[1], sizes[1] + 500);
    form->resize(2300, 900);
    QApplication::processEvents();
    EXPECT_GT(divider->sizes()[1], sizes[1] + 400);
}

} // namespace
} // namespace kav
