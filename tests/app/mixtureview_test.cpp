#include "addnuclidesparts.h"
#include "app/mainwindow.h"
#include "app/mixtureview.h"
#include "chooser/ui/addnuclidesdialog.h"
#include "controls/datagrid.h"
#include "data/mixture.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "units/ui/unitcombobox.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kav {
namespace {

const QString kGroupM = QStringLiteral("Aerosols Cobalt nitrate Type M, fA=1E-2");
const QString kGroupS = QStringLiteral("Aerosols Oxides Type S, fA=1E-3");
const QString kGas = QStringLiteral("Gas or vapour Type V, Elemental vapour");
const QString kIngested = QStringLiteral("All compounds, fA=5E-2");

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Clicks an entry of a list, with the given keys held.
void clickEntry(QListWidget* list, const QString& text, Qt::KeyboardModifiers keys = {})
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << text.toStdString() << " is not in the list";
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualItemRect(found.front()).center());
}

// The real main window on a data folder written here, showing the "Radionuclides" view.
// Co-60, Sr-90 and Cs-137 hold the typical data; Cs-134 too; Pu-239 has a second group, Type S.
class MixtureViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
        writeTypicalFile(data.path(), ChemicalElement::Cs, "134");
        writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
        writeTwoGroupFile(data.path(), ChemicalElement::Pu, "239");
        home.writeIni("Initialized=1\n", data.path());
        start();
    }
    void start()
    {
        form.reset();
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        // The add dialog is shown as it is and driven by real input; nothing blocks.
        form->execModal = [this](QDialog& dialog) {
            auto* add = dynamic_cast<AddNuclidesDialog*>(&dialog);
            if (!add)
                return int(QDialog::Accepted);
            ++dialogs;
            add->show();
            if (inDialog)
                inDialog(*add);
            return add->result();
        };
        form->show();
        form->formActivate();
        view = form->mixturePage();
        parts = std::make_unique<MixtureParts>(*view);
        grid = parts->mixtureTable;
    }
    // Adds nuclides as a user does: picks them in the flat list, "<", OK.
    void addThroughDialog(const QStringList& names)
    {
        inDialog = [names](AddNuclidesDialog& add) {
            const AddNuclidesParts parts(add);
            bool first = true;
            for (const QString& name : names) {
                clickEntry(parts.offeredList, name, first ? Qt::KeyboardModifiers() : Qt::ControlModifier);
                first = false;
            }
            QTest::mouseClick(parts.addButton, Qt::LeftButton);
            QTest::mouseClick(parts.okButton, Qt::LeftButton);
        };
        QTest::mouseClick(parts->addButton, Qt::LeftButton);
    }
    // Picks an item in a cell's drop-down list: a click opens it, keys walk to the item.
    void pickInCell(int col, int row, const QString& text)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(col, row).center());
        QComboBox* box = openList();
        ASSERT_TRUE(box) << "no list opened in cell " << col << "," << row;
        const int at = box->findText(text);
        ASSERT_GE(at, 0) << text.toStdString() << " is not offered in cell " << col << "," << row;
        QTest::keyClick(box->view(), Qt::Key_Home);
        for (int i = 0; i < at; ++i)
            QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QComboBox* openList() const
    {
        for (QComboBox* box : grid->findChildren<QComboBox*>())
            if (box->isVisible() && box->view()->isVisible())
                return box;
        return nullptr;
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 1; c <= 5; ++c)
            cells << grid->cells(c, r);
        cells << grid->cells(7, r);
        return cells;
    }
    QStringList nuclidesInGrid() const
    {
        QStringList names;
        for (int r = 1; r < grid->rowCount(); ++r)
            names << grid->cells(2, r);
        return names;
    }
    QStringList nuclidesInList() const
    {
        QStringList names;
        for (int i = 0; i < form->mixtureRows()->count(); ++i)
            names << form->mixtureRows()->rowAt(i).setting.nuclide;
        return names;
    }
    void goToRow(int r)
    {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 1; i < r; ++i)
            QTest::keyClick(grid, Qt::Key_Down);
        ASSERT_EQ(grid->row(), r);
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    MixtureView* view = nullptr;
    std::unique_ptr<MixtureParts> parts;
    DataGrid* grid = nullptr;
    std::function<void(AddNuclidesDialog&)> inDialog;
    int dialogs = 0;
};

TEST_F(MixtureViewTest, StartsOnCoSixtyInhaledAtFiveMicrometres)
{
    EXPECT_EQ(form->dosePerIntakeTabs()->currentIndex(), 0);
    EXPECT_EQ(form->mainTabs()->currentIndex(), 0);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Inhalation", kGroupM, "5", "9.0E-10"}));
    EXPECT_EQ(grid->cells(7, 0), QStringLiteral("Dose Coefficient e(50), Sv/Bq"));
    ASSERT_TRUE(grid->getCellCaption(4, 1));
    EXPECT_TRUE(grid->getCellCaption(4, 1)->contains(QStringLiteral("f<sub>A</sub>=1E-2")));
    EXPECT_EQ(nuclidesInList(), QStringList{"Co-60"});
    EXPECT_FALSE(parts->upButton->isEnabled());
    EXPECT_FALSE(parts->downButton->isEnabled());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MixtureViewTest, NuclidesComeInThroughTheDialogByListAndByTree)
{
    inDialog = [](AddNuclidesDialog& add) {
        const AddNuclidesParts parts(add);
        EXPECT_FALSE(parts.okButton->isEnabled());
        clickEntry(parts.offeredList, "Cs-137");
        clickEntry(parts.offeredList, "Sr-90", Qt::ControlModifier);
        EXPECT_EQ(parts.offeredCount->text(), QStringLiteral("Selected radionuclides - 2"));
        QTest::mouseClick(parts.addButton, Qt::LeftButton);
        // The tree: the element node brings every nuclide of the element.
        QTabBar* tabs = parts.offeredPages->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        ASSERT_EQ(parts.offeredPages->currentWidget(), parts.elementsPage);
        EXPECT_FALSE(parts.addAllButton->isEnabled());
        const QList<QTreeWidgetItem*> pu
            = parts.elementTree->findItems(QStringLiteral("Pu  Plutonium"), Qt::MatchExactly);
        ASSERT_EQ(pu.size(), 1);
        QTest::mouseClick(parts.elementTree->viewport(), Qt::LeftButton, {},
                          parts.elementTree->visualItemRect(pu[0]).center());
        QTest::mouseClick(parts.addButton, Qt::LeftButton);
        EXPECT_TRUE(parts.okButton->isEnabled());
        QTest::mouseClick(parts.okButton, Qt::LeftButton);
    };
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    ASSERT_EQ(dialogs, 1);
    // In the dialog's order (the periodic table), each ingested.
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Cs-137", "Pu-239"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    EXPECT_EQ(row(2), (QStringList{"Sr", "Sr-90", "Ingestion", kIngested, "-", "1.0E-9"}));
    EXPECT_EQ(row(4), (QStringList{"Pu", "Pu-239", "Ingestion", kIngested, "-", "1.0E-9"}));
    EXPECT_TRUE(parts->downButton->isEnabled());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MixtureViewTest, CancelAddsNothing)
{
    inDialog = [](AddNuclidesDialog& add) {
        const AddNuclidesParts parts(add);
        clickEntry(parts.offeredList, "Cs-137");
        QTest::mouseClick(parts.addButton, Qt::LeftButton);
        QTest::mouseClick(parts.cancelButton, Qt::LeftButton);
    };
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), QStringList{"Co-60"});
    EXPECT_EQ(nuclidesInList(), QStringList{"Co-60"});
}

TEST_F(MixtureViewTest, RouteMaterialAndSizeArePickedInTheTable)
{
    addThroughDialog({"Pu-239"});
    ASSERT_EQ(grid->rowCount(), 3);
    pickInCell(3, 2, "Inhalation");
    EXPECT_EQ(row(2), (QStringList{"Pu", "Pu-239", "Inhalation", kGroupM, "5", "9.0E-10"}));
    pickInCell(4, 2, kGroupS);
    EXPECT_EQ(row(2), (QStringList{"Pu", "Pu-239", "Inhalation", kGroupS, "5", "2.0E-9"}));
    pickInCell(4, 2, kGroupM);
    pickInCell(5, 2, "1");
    EXPECT_EQ(row(2), (QStringList{"Pu", "Pu-239", "Inhalation", kGroupM, "1", "7.0E-10"}));
    // A gas has no particle size: "-", and the cell offers no list.
    pickInCell(4, 2, kGas);
    EXPECT_EQ(row(2), (QStringList{"Pu", "Pu-239", "Inhalation", kGas, "-", "3.0E-11"}));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(5, 2).center());
    EXPECT_FALSE(openList());
    // An injection has one material without a text: "-", and no list of one to pick from.
    pickInCell(3, 2, "Injection");
    EXPECT_EQ(row(2).mid(2), (QStringList{"Injection", "-", "-", "5.0E-9"}));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(4, 2).center());
    EXPECT_FALSE(openList());
    pickInCell(3, 2, "Inhalation");
    EXPECT_EQ(row(2).mid(2), (QStringList{"Inhalation", kGroupM, "5", "9.0E-10"}));
    // The first row kept its own.
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Inhalation", kGroupM, "5", "9.0E-10"}));
}

TEST_F(MixtureViewTest, AnElementBringsItsLightestNuclideAndTheSameElementChangesNothing)
{
    pickInCell(4, 1, kGas);
    pickInCell(1, 1, "Co");
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Inhalation", kGas, "-", "3.0E-11"}));
    pickInCell(1, 1, "Cs");
    EXPECT_EQ(row(1), (QStringList{"Cs", "Cs-134", "Inhalation", kGroupM, "5", "9.0E-10"}));
    EXPECT_EQ(nuclidesInList(), QStringList{"Cs-134"});
    pickInCell(2, 1, "Cs-137");
    EXPECT_EQ(nuclidesInList(), QStringList{"Cs-137"});
    EXPECT_EQ(grid->cells(2, 1), QStringLiteral("Cs-137"));
}

TEST_F(MixtureViewTest, UnitsScaleEveryCoefficientAndTheHeader)
{
    addThroughDialog({"Sr-90"});
    pickComboItem(parts->activityUnitBox, "kBq");
    EXPECT_EQ(grid->cells(7, 0), QStringLiteral("Dose Coefficient e(50), Sv/kBq"));
    EXPECT_EQ(grid->cells(7, 1), QStringLiteral("9.0E-7"));
    EXPECT_EQ(grid->cells(7, 2), QStringLiteral("1.0E-6"));
    pickComboItem(parts->doseUnitBox, "mSv");
    EXPECT_EQ(grid->cells(7, 0), QStringLiteral("Dose Coefficient e(50), mSv/kBq"));
    EXPECT_EQ(grid->cells(7, 2), QStringLiteral("1.0E-3"));
    EXPECT_EQ(home.context().settings().mixtureActivityUnit(), ActivityUnit::kBq);
    EXPECT_EQ(home.context().settings().mixtureDoseUnit(), DoseUnit::mSv);
}

TEST_F(MixtureViewTest, UnitsChosenInTheOptionsReachTheTable)
{
    // What the options dialog's OK does: the edited copy is committed to the settings.
    ProgramSettings& settings = home.context().settings();
    const auto edited = ProgramSettings::withDefaults(settings.locations());
    edited->assign(settings);
    edited->setMixtureDoseUnit(DoseUnit::mSv);
    settings.assign(*edited);
    EXPECT_EQ(parts->doseUnitBox->value(), DoseUnit::mSv);
    EXPECT_EQ(grid->cells(7, 0), QStringLiteral("Dose Coefficient e(50), mSv/Bq"));
    EXPECT_EQ(grid->cells(7, 1), QStringLiteral("9.0E-7"));
}

TEST_F(MixtureViewTest, RowsMoveWithTheirEntriesAndDoses)
{
    addThroughDialog({"Sr-90", "Cs-134", "Cs-137", "Pu-239"});
    ASSERT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Cs-134", "Cs-137", "Pu-239"}));
    pickInCell(3, 3, "Injection"); // Cs-134 gets a dose of its own
    goToRow(3);
    QTest::mouseClick(parts->topButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Cs-134", "Co-60", "Sr-90", "Cs-137", "Pu-239"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    EXPECT_EQ(grid->row(), 1);
    EXPECT_EQ(grid->cells(7, 1), QStringLiteral("5.0E-9"));
    EXPECT_FALSE(parts->topButton->isEnabled());

    QTest::mouseClick(parts->bottomButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Cs-137", "Pu-239", "Cs-134"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    EXPECT_EQ(grid->row(), 5);
    EXPECT_FALSE(parts->downButton->isEnabled());

    QTest::mouseClick(parts->upButton, Qt::LeftButton);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Cs-134", "Cs-137", "Pu-239"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QTest::mouseClick(parts->downButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Cs-137", "Pu-239", "Cs-134"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    EXPECT_EQ(grid->cells(7, 5), QStringLiteral("5.0E-9"));
    EXPECT_EQ(row(5).mid(0, 3), (QStringList{"Cs", "Cs-134", "Injection"}));
}

TEST_F(MixtureViewTest, RemovingAndClearingKeepTheListAndTheTableInStep)
{
    addThroughDialog({"Sr-90", "Cs-137"});
    goToRow(2);
    QTest::mouseClick(parts->removeButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    EXPECT_EQ(grid->row(), 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(nuclidesInGrid(), QStringList{"Co-60"});
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());
    // The only row is never removed: it becomes the first nuclide with data, ingested, with no size.
    pickInCell(1, 1, "Cs");
    QTest::mouseClick(parts->removeButton, Qt::LeftButton);
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Ingestion", kIngested, "-", "1.0E-9"}));
    EXPECT_EQ(nuclidesInList(), QStringList{"Co-60"});

    addThroughDialog({"Sr-90", "Cs-137", "Pu-239"});
    QTest::mouseClick(parts->clearButton, Qt::LeftButton);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Ingestion", kIngested, "-", "1.0E-9"}));
    EXPECT_EQ(nuclidesInList(), QStringList{"Co-60"});
}

// Removing, clearing and moving, and the picks in the table, are taken back with Ctrl+Z (or the
// button) and done again with Ctrl+Y, each step whole.
TEST_F(MixtureViewTest, ChangesAreUndoneAndRedone)
{
    addThroughDialog({"Sr-90", "Cs-137", "Pu-239"});
    pickInCell(3, 4, "Inhalation");
    pickInCell(4, 4, kGroupS);
    const QStringList plutonium = row(4);
    const QStringList all{"Co-60", "Sr-90", "Cs-137", "Pu-239"};
    goToRow(3);
    QTest::mouseClick(parts->topButton, Qt::LeftButton);
    const QStringList moved{"Cs-137", "Co-60", "Sr-90", "Pu-239"};
    ASSERT_EQ(nuclidesInGrid(), moved);
    goToRow(4);
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(nuclidesInGrid(), (QStringList{"Cs-137", "Co-60", "Sr-90"}));
    QTest::mouseClick(parts->clearButton, Qt::LeftButton);
    ASSERT_EQ(nuclidesInGrid(), QStringList{"Co-60"});

    // The keys are the window's shortcuts: it is the active one (the virtual screen leaves the
    // last list's pop-up active), the table has the focus.
    QApplication::setActiveWindow(form.get());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Cs-137", "Co-60", "Sr-90"}));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(nuclidesInGrid(), moved);
    EXPECT_EQ(row(4), plutonium) << "the removed row comes back with its route, material and size";
    EXPECT_EQ(grid->row(), 4) << "the row that came back is the current one";
    QTest::mouseClick(parts->undoButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), all);
    EXPECT_EQ(nuclidesInList(), all);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier); // the pick of the group
    EXPECT_EQ(row(4), (QStringList{"Pu", "Pu-239", "Inhalation", kGroupM, "5", "9.0E-10"}));

    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(row(4), plutonium);
    QTest::mouseClick(parts->redoButton, Qt::LeftButton);
    EXPECT_EQ(nuclidesInGrid(), moved);
    EXPECT_TRUE(parts->redoButton->isEnabled());
    pickInCell(3, 1, "Injection"); // a new change: nothing left to redo
    EXPECT_FALSE(parts->redoButton->isEnabled());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MixtureViewTest, InsertOpensTheDialog)
{
    grid->setFocus();
    inDialog = [](AddNuclidesDialog& add) { QTest::mouseClick(AddNuclidesParts(add).cancelButton, Qt::LeftButton); };
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(dialogs, 1);
}

TEST_F(MixtureViewTest, ADamagedFileIsSaidAndChangesNothingElse)
{
    writeBytes(data.filePath("Cs-137.qvd"), "damaged");
    addThroughDialog({"Sr-90", "Cs-137"});
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("Cs-137.qvd is corrupted")));
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90"}));
    EXPECT_EQ(nuclidesInList(), nuclidesInGrid());

    writeBytes(data.filePath("Cs-134.qvd"), "damaged");
    const QStringList before = row(1);
    // While the box is up, the row shows the pairing it has, not the one asked for.
    QStringList behindTheBox;
    messages.whileShown = [&](const RecordingMessageBoxes::Box&) { behindTheBox = row(1); };
    pickInCell(1, 1, "Cs");
    EXPECT_EQ(behindTheBox, before);
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_TRUE(messages.boxes[1].text.contains(QStringLiteral("Cs-134.qvd is corrupted")));
    EXPECT_EQ(row(1), before);
    EXPECT_EQ(nuclidesInList(), (QStringList{"Co-60", "Sr-90"}));
    // The row still works.
    pickInCell(3, 1, "Ingestion");
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Ingestion", kIngested, "-", "1.0E-9"}));
}

TEST_F(MixtureViewTest, TheClipboardGetsTheShownColumns)
{
    parts->copyAction->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf16(u"Element\tRadionuclide\tRoute of Intake\tMaterial\tAMTD/AMAD, \u00B5m\t"
                                 u"Intake, Bq\tDose Coefficient e(50), Sv/Bq\tCommitted Effective Dose, Sv\t%\r\n")
                  + QStringLiteral("Co\tCo-60\tInhalation\t") + kGroupM
                  + QStringLiteral("\t5\t-\t9.0E-10\t-\t-\r\nRows counted\t0\r\nTotal\t0\t0\r\n"));
}

TEST_F(MixtureViewTest, TheListComesBackAfterARestart)
{
    addThroughDialog({"Pu-239"});
    pickInCell(3, 2, "Inhalation");
    pickInCell(4, 2, kGroupS);
    pickInCell(5, 2, "1");
    pickInCell(3, 1, "Injection");
    const QStringList first = row(1);
    const QStringList second = row(2);
    start();
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(row(1), first);
    EXPECT_EQ(row(2), second);
    EXPECT_EQ(nuclidesInList(), (QStringList{"Co-60", "Pu-239"}));
}

// Rows the user kept are the user's: a row whose nuclide cannot be loaded in this run (its file
// gone or damaged, a data folder given for the run without it) stays, says why, and comes back
// as it was when the file does.
TEST_F(MixtureViewTest, KeptRowsWithoutDataStayAndComeBack)
{
    addThroughDialog({"Sr-90", "Pu-239"});
    pickInCell(3, 3, "Inhalation");
    pickInCell(4, 3, kGroupS);
    pickInCell(5, 3, "1");
    const QStringList plutonium = row(3);
    const QString keptFile = home.context().settings().mixtureFileName();
    form.reset();
    const QByteArray kept = read(keptFile);
    ASSERT_TRUE(kept.contains("\nPu-239\tInhalation\t1\t1\t-\n")) << kept.toStdString();

    const QByteArray damaged = read(data.filePath("Pu-239.qvd"));
    writeBytes(data.filePath("Pu-239.qvd"), damaged.left(100));
    QFile::rename(data.filePath("Sr-90.qvd"), data.filePath("Sr-90.away"));
    start();
    EXPECT_EQ(nuclidesInGrid(), (QStringList{"Co-60", "Sr-90", "Pu-239"}));
    EXPECT_EQ(row(2),
              (QStringList{"Sr", "Sr-90", "Ingestion", "Not available: Can not find file for Sr-90", "-", "-"}));
    EXPECT_EQ(row(3).mid(0, 3), (QStringList{"Pu", "Pu-239", "Inhalation"}));
    EXPECT_TRUE(row(3)[3].startsWith(QStringLiteral("Not available: The structure of the file ")));
    EXPECT_EQ(row(3).mid(4), (QStringList{"-", "-"}));
    EXPECT_TRUE(messages.boxes.empty());
    // Nothing to pick for a row without data but another nuclide.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 3).center());
    EXPECT_FALSE(openList());
    form.reset();
    EXPECT_EQ(read(keptFile), kept);

    writeBytes(data.filePath("Pu-239.qvd"), damaged);
    QFile::rename(data.filePath("Sr-90.away"), data.filePath("Sr-90.qvd"));
    start();
    EXPECT_EQ(row(3), plutonium);
    EXPECT_EQ(row(2), (QStringList{"Sr", "Sr-90", "Ingestion", kIngested, "-", "1.0E-9"}));

    // A row without data that the user points at another nuclide has data again.
    form.reset();
    QFile::rename(data.filePath("Sr-90.qvd"), data.filePath("Sr-90.away"));
    start();
    pickInCell(1, 2, "Cs");
    EXPECT_EQ(row(2), (QStringList{"Cs", "Cs-134", "Ingestion", kIngested, "-", "1.0E-9"}));
}

TEST_F(MixtureViewTest, ADataFolderForOneRunLeavesTheKeptListAlone)
{
    addThroughDialog({"Sr-90", "Cs-137", "Pu-239"});
    const QString keptFile = home.context().settings().mixtureFileName();
    form.reset();
    const QByteArray kept = read(keptFile);
    QTemporaryDir few;
    writeTypicalFile(few.path(), ChemicalElement::Co, "60");
    writeTypicalFile(few.path(), ChemicalElement::Cs, "137");
    ApplicationContext& context = home.makeContext(messages);
    context.settings().setDataFolderPathForThisRun(few.path());
    form = std::make_unique<MainWindow>(context);
    EXPECT_EQ(form->mixtureRows()->count(), 4);
    EXPECT_FALSE(form->mixtureRows()->rowAt(1).available());
    form.reset();
    EXPECT_EQ(read(keptFile), kept);
}

TEST_F(MixtureViewTest, AListThatCannotBeKeptIsSaid)
{
    // A folder stands where the file should go.
    ASSERT_TRUE(QDir().mkpath(home.context().settings().mixtureFileName()));
    form.reset();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Warning);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(QStringLiteral("The list of radionuclides could not be kept")));
}

TEST_F(MixtureViewTest, ThePointerShowsWhatCanBePicked)
{
    pickInCell(4, 1, kGas);
    auto cursorAt = [this](int col) {
        QTest::mouseMove(grid->viewport(), grid->cellRect(col, 1).center());
        return grid->viewport()->cursor().shape();
    };
    EXPECT_EQ(cursorAt(1), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(4), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(5), Qt::ArrowCursor); // a gas has no size to pick
    EXPECT_EQ(cursorAt(7), Qt::ArrowCursor);
    pickInCell(4, 1, kGroupM);
    EXPECT_EQ(cursorAt(5), Qt::PointingHandCursor);
}

TEST_F(MixtureViewTest, ADamagedListFileGivesTheExample)
{
    form.reset();
    writeBytes(home.context().settings().mixtureFileName(), QByteArray("\0\xff garbage\tInhalation\n", 22));
    start();
    EXPECT_EQ(row(1), (QStringList{"Co", "Co-60", "Inhalation", kGroupM, "5", "9.0E-10"}));
    EXPECT_TRUE(messages.boxes.empty());
}

// Types an intake into a row's cell as a user does: a click makes the cell current, Enter opens
// its number field, the keys type, Enter closes it.
void typeIntake(DataGrid* grid, QWidget* window, int row, const QString& text)
{
    constexpr int kIntakeColumn = 6;
    QApplication::setActiveWindow(window);
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(kIntakeColumn, row).center());
    if (!grid->editorVisible())
        QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(grid->editorVisible()) << "no number field in row " << row;
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(field);
    // The number field's own keys, not the select-all of a plain line: the old number is erased.
    QTest::keyClick(field, Qt::Key_End);
    for (qsizetype typed = field->text().size(); typed > 0; --typed)
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Worked by hand: Co-60 inhaled at 5 µm (e(50) 9E-10 Sv/Bq) with 2000 Bq gives 1.8E-6 Sv; Sr-90
// ingested (1E-9) with 500 Bq 5E-7 Sv. In all 2500 Bq and 2.3E-6 Sv, the shares 1.8/2.3 = 78.3 %
// and 0.5/2.3 = 21.7 %.
TEST_F(MixtureViewTest, TypedIntakesGiveTheDosesSharesAndTotal)
{
    enum { Intake = 6, Coefficient, Dose, Percent };
    const auto total = [this] { return namedChild<QLabel>(*view, "totalLabel")->text(); };
    EXPECT_TRUE(total().startsWith(QStringLiteral("Total: type the intakes")));
    typeIntake(grid, form.get(), 1, QStringLiteral("2000"));
    EXPECT_EQ(grid->cells(Dose, 1), QStringLiteral("1.8E-6"));
    EXPECT_EQ(grid->cells(Percent, 1), QStringLiteral("100.0"));
    addThroughDialog({"Sr-90"});
    EXPECT_EQ(grid->cells(Dose, 2), QStringLiteral("-"));
    EXPECT_TRUE(total().endsWith(QStringLiteral("(1 of 2 rows counted)")));
    typeIntake(grid, form.get(), 2, QStringLiteral("500"));
    EXPECT_EQ(grid->cells(Dose, 2), QStringLiteral("5.0E-7"));
    EXPECT_EQ(grid->cells(Percent, 1), QStringLiteral("78.3"));
    EXPECT_EQ(grid->cells(Percent, 2), QStringLiteral("21.7"));
    EXPECT_EQ(total(),
              QStringLiteral("Total: intake 2500 Bq, committed effective dose 2.3E-6 Sv (2 of 2 rows counted)"));

    // Other units: the intakes shown in kBq, the doses in mSv; the numbers stay the user's.
    pickComboItem(parts->activityUnitBox, "kBq");
    pickComboItem(parts->doseUnitBox, "mSv");
    EXPECT_EQ(grid->cells(Intake, 1), QStringLiteral("2"));
    EXPECT_EQ(grid->cells(Intake, 2), QStringLiteral("0.5"));
    EXPECT_EQ(grid->cells(Coefficient, 1), QStringLiteral("9.0E-4"));
    EXPECT_EQ(grid->cells(Dose, 1), QStringLiteral("1.8E-3"));
    EXPECT_EQ(grid->cells(Percent, 1), QStringLiteral("78.3"));
    EXPECT_EQ(total(),
              QStringLiteral("Total: intake 2.5 kBq, committed effective dose 2.3E-3 mSv (2 of 2 rows counted)"));
    // An intake typed now is in kBq: 1 kBq of Sr-90 is 1E-3 mSv.
    typeIntake(grid, form.get(), 2, QStringLiteral("1"));
    EXPECT_EQ(grid->cells(Dose, 2), QStringLiteral("1.0E-3"));
    parts->copyAction->trigger();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(QStringLiteral("\t1\t1.0E-3\t1.0E-3\t35.7\r\n"))) << copied.toStdString();
    EXPECT_TRUE(copied.endsWith(QStringLiteral("Rows counted\t2\r\nTotal\t3\t2.8E-3\r\n"))) << copied.toStdString();

    // A number that is not an intake leaves the row out and says so.
    typeIntake(grid, form.get(), 2, QStringLiteral("0"));
    EXPECT_EQ(grid->cells(Dose, 2), QStringLiteral("-"));
    EXPECT_TRUE(total().contains(QStringLiteral("(1 of 2 rows counted)")));
    EXPECT_TRUE(total().contains(QStringLiteral("Row 2: the intake &quot;0&quot; is not a positive number")))
        << total().toStdString();
    // Undo brings back the number typed before, whole.
    QTest::mouseClick(parts->undoButton, Qt::LeftButton);
    EXPECT_EQ(grid->cells(Intake, 2), QStringLiteral("1"));
    typeIntake(grid, form.get(), 2, QString());
    EXPECT_EQ(grid->cells(Percent, 1), QStringLiteral("100.0"));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MixtureViewTest, IntakesComeBackAfterARestart)
{
    typeIntake(grid, form.get(), 1, QStringLiteral("1234.5"));
    const QString keptFile = home.context().settings().mixtureFileName();
    start();
    EXPECT_TRUE(read(keptFile).contains("\nCo-60\tInhalation\t0\t5\t1234.5\n")) << read(keptFile).toStdString();
    EXPECT_EQ(grid->cells(6, 1), QStringLiteral("1234.5"));
    EXPECT_EQ(grid->cells(8, 1), QStringLiteral("1.1E-6"));
}

} // namespace
} // namespace kav
