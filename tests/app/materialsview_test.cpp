#include "app/application.h"
#include "app/mainwindow.h"
#include "app/materialsview.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "data/dosedatafile.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "units/ui/unitcombobox.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A nuclide's file whose second aerosol group has no name, its checksum right: the reader stops
// half way with an error that is not a data-file error.
void writeNamelessGroupFile(const QString& folder, ChemicalElement element, const char* mass)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{element, mass});
    auto group = std::make_unique<AerosolGroup>(&d);
    group->m_aerosolName = "QQQQ";
    for (auto& m : group->m_aerosolDataArr)
        m = makeMaterial(&d, IntakeRoute::Inhalation, MaterialForm::Aerosol, "", 0, 1e-9f);
    d.m_aerosolData.push_back(std::move(group));
    QByteArray bytes = doseDataFileBytes(d);
    bytes.replace(bytes.indexOf("\x04QQQQ"), 5, QByteArray(1, '\0'));
    setDoseDataChecksum(bytes);
    writeBytes(QDir(folder).filePath(d.nuclideNameText() + QStringLiteral(".qvd")), bytes);
}

// The real main window on a data folder written here, showing the Materials view.
class MaterialsViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
        writeTwoGroupFile(data.path(), ChemicalElement::Sr, "90");
        home.writeIni("Initialized=1\n", data.path());
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->execModal = [](QDialog&) { return int(QDialog::Accepted); };
        // The window's own size, whatever the test screen's (a smaller screen gets a smaller one).
        form->resize(1008, 729);
        form->show();
        form->formActivate();
        form->dosePerIntakeTabs()->setCurrentIndex(1);
        view = form->materialsPage();
        parts = std::make_unique<MaterialsParts>(*view);
        grid = parts->materialsTable;
    }
    void setChecked(QListWidget* list, std::initializer_list<bool> ticks)
    {
        int r = 0;
        for (bool t : ticks)
            list->item(r++)->setCheckState(t ? Qt::Checked : Qt::Unchecked);
    }
    void setSizes(std::initializer_list<int> sizes)
    {
        for (QCheckBox* b : parts->sizeBoxes)
            b->setChecked(false);
        for (int s : sizes)
            parts->sizeBoxes[s]->setChecked(true);
    }
    QStringList labels() const
    {
        QStringList l;
        for (int r = 1; r < grid->rowCount(); r += 2)
            l << grid->cells(0, r);
        return l;
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    MaterialsView* view = nullptr;
    std::unique_ptr<MaterialsParts> parts;
    DataGrid* grid = nullptr;
};

TEST_F(MaterialsViewTest, StartsOnCoSixtyWithEveryMaterialTicked)
{
    EXPECT_EQ(form->materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_EQ(parts->inhaledList->count(), 2);
    EXPECT_EQ(parts->ingestedList->count(), 1);
    EXPECT_EQ(grid->colCount(), 32);
    EXPECT_EQ(grid->cells(1, 0), QStringLiteral("Dose Coefficient e(50)"));
    EXPECT_EQ(grid->cells(31, 0), QStringLiteral("Uterus"));
    // Ingestion, one group at 5 µm, one gas: three entries.
    EXPECT_EQ(labels(),
              (QStringList{"Ingestion, All compounds, fA=5E-2",
                           QString::fromUtf16(u"Inhalation, Aerosols Cobalt nitrate Type M, fA=1E-2, 5 \u00B5m"),
                           "Inhalation, Gas or vapour Type V, Elemental vapour"}));
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-9"));
    ASSERT_TRUE(grid->getCellCaption(0, 1));
    EXPECT_TRUE(grid->getCellCaption(0, 1)->contains(QStringLiteral("f<sub>A</sub>=")));
    EXPECT_EQ(grid->colWidths(3), -1); // organ doses hidden at start
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MaterialsViewTest, EntriesFollowTheOrderOfRoutesGroupsAndSizes)
{
    form->materialsChooser()->selection().setElementAndAMass(ChemicalElement::Sr, "90");
    ASSERT_EQ(parts->inhaledList->count(), 3);
    setSizes({6, 8});
    setChecked(parts->inhaledList, {true, true, true});
    parts->injectionBox->setChecked(false);
    view->fillMaterialsGrid();
    EXPECT_EQ(grid->rowCount(), 13);
    const QString um = QString::fromUtf16(u" \u00B5m");
    EXPECT_EQ(
        labels(),
        (QStringList{"Ingestion, All compounds, fA=5E-2", "Inhalation, Aerosols Cobalt nitrate Type M, fA=1E-2, 1" + um,
                     "Inhalation, Aerosols Cobalt nitrate Type M, fA=1E-2, 5" + um,
                     "Inhalation, Aerosols Oxides Type S, fA=1E-3, 1" + um,
                     "Inhalation, Aerosols Oxides Type S, fA=1E-3, 5" + um,
                     "Inhalation, Gas or vapour Type V, Elemental vapour"}));
    EXPECT_EQ(grid->cells(2, 1), QStringLiteral("Male"));
    EXPECT_EQ(grid->cells(2, 2), QStringLiteral("Female"));

    parts->injectionBox->click();
    EXPECT_EQ(grid->rowCount(), 15);
    EXPECT_EQ(grid->cells(0, 1), QStringLiteral("Injection"));
}

TEST_F(MaterialsViewTest, RefillRulesForGroupsAndSizes)
{
    // Unticking the last size leaves ingestion and the gas.
    parts->sizeBoxes[8]->click();
    EXPECT_EQ(labels().size(), 2);
    // With no size ticked, ticking a group does not refill.
    const int rows = grid->rowCount();
    parts->inhaledList->item(0)->setCheckState(Qt::Unchecked);
    parts->inhaledList->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(grid->rowCount(), rows);
    // Nothing ticked: only the header.
    setChecked(parts->inhaledList, {false, false});
    setChecked(parts->ingestedList, {false});
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->rowHeights(1), -1);
    EXPECT_EQ(grid->rowHeights(2), -1);
}

TEST_F(MaterialsViewTest, UnitsMultiplyTheValuesAndAreRemembered)
{
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-9"));
    parts->doseUnitBox->setCurrentIndex(1); // mSv
    emit parts->doseUnitBox->activated(1);
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-6"));
    EXPECT_EQ(home.context().settings().materialsDoseUnit(), DoseUnit::mSv);
    parts->activityUnitBox->setCurrentIndex(2); // kBq
    emit parts->activityUnitBox->activated(2);
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-3"));
    EXPECT_EQ(home.context().settings().materialsActivityUnit(), ActivityUnit::kBq);
}

TEST_F(MaterialsViewTest, UnitsChosenInTheOptionsReachTheTable)
{
    // What the options dialog's OK does: the edited copy is committed to the settings.
    ProgramSettings& settings = home.context().settings();
    const auto edited = ProgramSettings::withDefaults(settings.locations());
    edited->assign(settings);
    edited->setMaterialsActivityUnit(ActivityUnit::kBq);
    settings.assign(*edited);
    EXPECT_EQ(parts->activityUnitBox->value(), ActivityUnit::kBq);
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-6"));
}

TEST_F(MaterialsViewTest, DamagedFileBringsThePreviousNuclideBack)
{
    QFile cs(data.filePath("Cs-137.qvd"));
    ASSERT_TRUE(cs.open(QIODevice::ReadWrite));
    cs.seek(100);
    cs.write("damage");
    cs.close();
    form->materialsChooser()->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].buttons, MessageButtons(ButtonCancel));
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("DataFileException: The structure of the file ") + data.filePath("Cs-137.qvd")
                  + QStringLiteral(" is corrupted"));
    EXPECT_EQ(form->materialsChooser()->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(form->materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-9"));
}

TEST_F(MaterialsViewTest, LabelsLineUpAndHeadersKeepClearOfTheirEdges)
{
    QTest::mouseClick(parts->plusButton, Qt::LeftButton);
    ASSERT_GT(grid->colWidths(2), 0);
    QApplication::processEvents(); // the layout widens the grid to its new columns
    const QImage image = grid->viewport()->grab().toImage();
    auto inkSpan = [&](const QRect& cell) {
        int left = cell.right() + 1, right = cell.left() - 1;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (qGray(image.pixel(x, y)) < 130) { // text, not the cell's face or its bevel
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair{left - cell.left(), cell.right() - right};
    };
    // Ingestion (with fA), the aerosol group (with fA) and the gas (without) start alike.
    ASSERT_EQ(grid->rowCount(), 7);
    const int first = inkSpan(grid->cellRect(0, 1)).first;
    EXPECT_GT(first, 2);
    for (int row : {3, 5})
        EXPECT_EQ(inkSpan(grid->cellRect(0, row)).first, first) << grid->cells(0, row).toStdString();
    // The organ dose heading, two lines in a narrow column, keeps clear of both edges.
    const auto [left, right] = inkSpan(grid->cellRect(2, 0));
    EXPECT_GE(left, 2);
    EXPECT_GE(right, 2);
}

TEST_F(MaterialsViewTest, MassAndUnitListsShowTheInputColours)
{
    for (QComboBox* box : {static_cast<QComboBox*>(parts->doseUnitBox), static_cast<QComboBox*>(parts->activityUnitBox),
                           form->materialsChooser()->aMassBox()}) {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box->view()->window()));
        const QImage image = box->view()->viewport()->grab().toImage();
        // The selection is drawn with a slight shade of its colour.
        auto near = [](QRgb p, QRgb q) {
            return std::abs(qRed(p) - qRed(q)) <= 8 && std::abs(qGreen(p) - qGreen(q)) <= 8
                && std::abs(qBlue(p) - qBlue(q)) <= 8;
        };
        int cyan = 0, yellow = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                cyan += near(image.pixel(x, y), qRgb(0xCC, 0xFF, 0xFF));
                yellow += near(image.pixel(x, y), qRgb(0xFF, 0xFF, 0xCC));
            }
        EXPECT_GT(cyan, 100) << "selection of " << box->currentText().toStdString();
        if (box->count() > 1) {
            EXPECT_GT(yellow, 100) << "background of " << box->currentText().toStdString();
        }
        box->hidePopup();
    }
}

TEST_F(MaterialsViewTest, AnyErrorWhileLoadingIsShownAndTheChooserGoesBack)
{
    writeNamelessGroupFile(data.path(), ChemicalElement::Cs, "137");
    pickComboItem(form->materialsChooser()->elementBox(), "Cs");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, ViewerApplication::Title);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("Aerosol ReadBinaryData: Can not find aerosol compound name!"));
    EXPECT_EQ(messages.boxes[0].buttons, MessageButtons(ButtonOk));
    EXPECT_EQ(form->materialsChooser()->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(form->materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_EQ(grid->cells(1, 1), QStringLiteral("1.0E-9"));
    EXPECT_EQ(parts->inhaledList->count(), 2);
}

TEST_F(MaterialsViewTest, WhenTheNuclideShownBeforeFailsTooTheViewIsLeftEmpty)
{
    // Both files damaged while Co-60 is shown: going back fails too, once, and nothing half read
    // or stale stays on the screen.
    writeNamelessGroupFile(data.path(), ChemicalElement::Cs, "137");
    writeBytes(data.filePath("Co-60.qvd"), "damaged");
    pickComboItem(form->materialsChooser()->elementBox(), "Cs");
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(QStringLiteral("Aerosol ReadBinaryData")));
    EXPECT_TRUE(messages.boxes[1].text.contains(QStringLiteral("Co-60.qvd is corrupted")));
    EXPECT_FALSE(form->materialsData()->isLoaded());
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(parts->inhaledList->count(), 0);
    EXPECT_EQ(parts->ingestedList->count(), 0);
}

TEST_F(MaterialsViewTest, ClipboardCopiesTheHeadAndTheShownRows)
{
    parts->copyAction->trigger();
    QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Radionuclide\tCo-60"));
    EXPECT_EQ(lines[1], QStringLiteral("Units\tSv per Bq"));
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], QStringLiteral("Material\tDose Coefficient e(50)"));
    EXPECT_EQ(lines[4], QStringLiteral("Ingestion, All compounds, fA=5E-2\t1.0E-9"));
    EXPECT_EQ(lines.size(), 8); // three entries, one line each, and the last line end

    parts->equivalentDosesAction->trigger();
    EXPECT_GT(grid->colWidths(3), 0);
    EXPECT_EQ(QApplication::clipboard()->text().split(QStringLiteral("\r\n")), lines); // showing copies nothing
    parts->copyAction->trigger();
    lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.size(), 3 + 1 + 6 + 1);
    EXPECT_EQ(lines[3].split(u'\t').size(), 32);
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("\t\tFemale\t")));
}

} // namespace
} // namespace kav
