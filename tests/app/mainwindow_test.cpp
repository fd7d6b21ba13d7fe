#include "app/aboutbox.h"
#include "app/application.h"
#include "app/bioassayview.h"
#include "app/intakeassessmentview.h"
#include "app/mainwindow.h"
#include "app/materialsview.h"
#include "app/mixtureview.h"
#include "app/radontables.h"
#include "app/radonview.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "data/bioassaydata.h"
#include "data/mixture.h"
#include "data/mixturefile.h"
#include "dosefixture.h"
#include "radonfixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kav {
namespace {

// Each test starts as a first run, with a data folder holding Co-60 only: the preferences
// file of a viewer of the test's own names that folder and nothing else.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        writeIni({});
    }
    void writeIni(const QByteArray& general) const { home.writeIni(general, data.path()); }
    QString iniPath() const { return home.iniPath(); }
    ApplicationContext& context() { return home.makeContext(messages); }
    // Counts the dialogs the window would have shown, by window title.
    void captureDialogs(MainWindow& form)
    {
        form.execModal = [this](QDialog& dialog) {
            shown << dialog.windowTitle();
            return int(QDialog::Accepted);
        };
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    QStringList shown;
};

TEST_F(MainWindowTest, ShellHasItsCaptionTabsAndSize)
{
    MainWindow form(context());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Electronic Annex / KAV Data Viewer"));
    QTabWidget* tabs = form.mainTabs();
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("   &Dose per Intake   "));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("   Dose per Content && Reference &Bioassay Functions   "));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("   Inta&ke Assessment   "));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("   R&adon   "));
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("   Deca&y   "));
    QTabWidget* sub = form.dosePerIntakeTabs();
    ASSERT_EQ(sub->count(), 2);
    EXPECT_EQ(sub->tabText(0), QStringLiteral("Radio&nuclides"));
    EXPECT_EQ(sub->tabText(1), QStringLiteral("&Materials"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(sub->currentIndex(), 0);
    EXPECT_EQ(tabs->cornerWidget(Qt::TopRightCorner), form.helpButton());
    // 1008 × 729 where the screen has room for it, less on a smaller one, and always on it.
    const QRect available = form.screen()->availableGeometry();
    EXPECT_EQ(form.size(), QSize(std::min(1008, available.width() - 16), std::min(729, available.height() - 39)));
    EXPECT_TRUE(available.contains(form.geometry()));
    EXPECT_EQ(form.minimumSize(), QSize(600, 400));
    EXPECT_TRUE(messages.boxes.empty());
}

// Where the window opens, worked out by hand for a frame of 8 pixels round and a 31-pixel title:
// centred, the room beside it shared equally ((1904 - 1008) / 2 = 448 to the left of a 1920 screen).
TEST(WindowPlacementTest, TheWindowFitsTheScreenAndItsTitleBarStaysOnIt)
{
    const QMargins frame(8, 31, 8, 8);
    const QSize wanted(1008, 729);
    struct Case {
        const char* screen;
        QRect available;
        QRect placed;
    } cases[] = {
        {"1920 x 1040", QRect(0, 0, 1920, 1040), QRect(456, 167, 1008, 729)},
        {"800 x 600", QRect(0, 0, 800, 600), QRect(8, 31, 784, 561)},
        {"1366 x 768 at scale 1.5", QRect(0, 0, 911, 512), QRect(8, 31, 895, 473)},
        {"640 x 400: the smallest window, from the top left", QRect(0, 0, 640, 400), QRect(8, 31, 624, 400)},
        {"a second screen to the right", QRect(1920, 0, 1280, 1000), QRect(2056, 147, 1008, 729)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowPlacement(wanted, c.available, frame), c.placed) << c.screen;
}

TEST_F(MainWindowTest, FirstRunShowsTheAboutBoxOnceAndRecordsIt)
{
    MainWindow form(context());
    captureDialogs(form);
    form.formActivate();
    form.formActivate();
    EXPECT_EQ(shown, QStringList{"About"});
    EXPECT_TRUE(form.isFormActivated());
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Initialized=1"));
}

TEST_F(MainWindowTest, LaterRunsShowNoAboutBox)
{
    writeIni("Initialized=1\n");
    MainWindow form(context());
    captureDialogs(form);
    form.formActivate();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(form.isFormActivated());
}

TEST_F(MainWindowTest, FailedStartUpDoesNoSetUpClosesOnActivationAndWritesNothing)
{
    QFile::remove(data.filePath("Co-60.qvd"));
    const QByteArray before = home.ini();
    MainWindow form(context(), [](ProgramSettings&, OptionsPage) { return false; });
    captureDialogs(form);
    EXPECT_TRUE(form.startupFailed());
    form.show();
    form.formActivate();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(shown.isEmpty());
    home.context().savePreferencesAtExit(); // saving at exit is off
    EXPECT_EQ(home.ini(), before);
}

TEST_F(MainWindowTest, WheelTurnsScrollTheControlUnderThePointer)
{
    MainWindow form(context());
    captureDialogs(form);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* edit = new QLineEdit(page);
    auto* list = new QListWidget(page);
    for (int i = 0; i < 200; ++i)
        list->addItem(QString::number(i));
    // A scrolled page of labels, which take no wheel themselves.
    auto* scrolled = new QScrollArea(page);
    auto* labels = new QLabel(QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\no\np\nq\nr\ns\nt\nu\nv\nw"));
    scrolled->setWidget(labels);
    scrolled->setFixedHeight(60);
    layout->addWidget(edit);
    layout->addWidget(list);
    layout->addWidget(scrolled);
    form.mainTabs()->addTab(page, "test");
    form.mainTabs()->setCurrentWidget(page);
    // Wholly on the (small) offscreen screen, so that the pointer position finds the list.
    form.move(0, 0);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    edit->setFocus();

    const QPointF overList = list->viewport()->mapToGlobal(QPointF(20, 20));
    // A turn addressed to the focused field, as when that field holds the wheel.
    QWheelEvent wheel(edit->mapFromGlobal(overList), overList, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &wheel);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);

    // A turn addressed to the list itself goes its ordinary way.
    const int before = list->verticalScrollBar()->value();
    QWheelEvent direct(QPointF(20, 20), overList, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &direct);
    EXPECT_GT(list->verticalScrollBar()->value(), before);

    // A turn over a label of the scrolled page reaches the page.
    const QPointF overLabel = labels->mapToGlobal(QPointF(5, 10));
    QWheelEvent toLabel(edit->mapFromGlobal(overLabel), overLabel, QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &toLabel);
    EXPECT_GT(scrolled->verticalScrollBar()->value(), 0);
}

TEST_F(MainWindowTest, StartUpLoadsTheExampleAndListsTheDataFiles)
{
    writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
    writeTypicalFile(data.path(), ChemicalElement::Co, "58");
    writeBytes(data.filePath("Xx-1.qvd"), "not a nuclide");
    MainWindow form(context());
    EXPECT_FALSE(form.startupFailed());
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(home.context().index().count(), 1252);
    ASSERT_TRUE(form.mixtureRows());
    EXPECT_EQ(form.mixtureRows()->rowAt(0).setting.nuclide, QStringLiteral("Co-60"));
    EXPECT_TRUE(form.materialsData());
    EXPECT_TRUE(form.bioassayDataShown());
    EXPECT_EQ(home.context().dataNuclideList().names(), (QStringList{"Co-58", "Co-60", "Cs-137"}));
    EXPECT_EQ(home.context().dataElementList(), (QStringList{"Co", "Cs"}));
    EXPECT_FALSE(form.sampleNotice()); // real-looking data: no notice
    // The folder the numbers come from is named in the status line.
    ASSERT_TRUE(form.dataFolderLabel());
    EXPECT_EQ(form.dataFolderLabel()->toolTip(),
              QStringLiteral("The data folder in use: ") + QDir::toNativeSeparators(data.path()));
    EXPECT_TRUE(form.dataFolderLabel()->text().startsWith(QStringLiteral("Data: ")));

    // The choosers offer the nuclides with data files and start on Co-60, loaded when shown.
    EXPECT_EQ(form.materialsChooser()->selection().filter().fullNuclideList().names(),
              (QStringList{"Co-58", "Co-60", "Cs-137"}));
    EXPECT_EQ(form.materialsChooser()->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(form.intakeChooser()->selection().name(), QStringLiteral("Co-60"));
    EXPECT_FALSE(form.materialsData()->isLoaded());
    captureDialogs(form);
    form.show();
    form.dosePerIntakeTabs()->setCurrentIndex(1);
    EXPECT_TRUE(form.materialsChooser()->selection().active());
    EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_TRUE(form.measuredChooser()->isHidden());
    form.materialsChooser()->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Cs-137"));
    EXPECT_EQ(form.materialsChooser()->selection().undoNames(), QStringList{"Co-60"});
    EXPECT_TRUE(messages.boxes.empty());

    // Every panel keeps the same half-life range for its advanced filter, which is off.
    for (NuclideChooser* panel : {form.materialsChooser(), form.intakeChooser(), form.measuredChooser()}) {
        const AdvancedFilter& advanced = panel->selection().filter().advanced();
        EXPECT_FALSE(advanced.enabled());
        EXPECT_EQ(advanced.halfLifeTime().maxValue(), 9.3e15f);
        EXPECT_EQ(advanced.halfLifeTime().minUnits(), TimeUnit::Year);
        EXPECT_EQ(advanced.halfLifeTime().minValue(), 0.305f);
        EXPECT_FALSE(advanced.halfLifeTime().minEnabled());
        EXPECT_FALSE(advanced.halfLifeTime().maxEnabled());
    }
}

TEST_F(MainWindowTest, AChoosersWordsReachTheStatusLine)
{
    MainWindow form(context());
    captureDialogs(form);
    form.show();
    form.dosePerIntakeTabs()->setCurrentIndex(1);
    QComboBox* box = form.materialsChooser()->elementBox();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("cs137"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("Cs-137: no data file"));
    EXPECT_EQ(form.materialsChooser()->selection().name(), QStringLiteral("Co-60"));
    // A name taken clears what was said.
    QTest::keyClicks(box, QStringLiteral("co"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MainWindowTest, ADamagedIndexInTheStartingFolderIsSaidOnceAndTheCarriedOneUsed)
{
    const QString before = QDir::currentPath();
    for (const QByteArray& damaged : {QByteArray(6000, '\0'), QByteArray("Co-60 5.27 y B-\r\n").repeated(300)}) {
        QTemporaryDir start;
        ASSERT_TRUE(QDir::setCurrent(start.path()));
        writeBytes(start.filePath("Index.rnx"), damaged);
        messages.boxes.clear();
        {
            MainWindow form(context());
            captureDialogs(form);
            ASSERT_EQ(messages.boxes.size(), 1u);
            EXPECT_TRUE(messages.boxes[0].text.contains(QDir::toNativeSeparators(start.filePath("Index.rnx"))));
            EXPECT_EQ(home.context().index().count(), 1252);
            form.show();
            form.dosePerIntakeTabs()->setCurrentIndex(1);
            EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
            EXPECT_FALSE(form.materialsChooser()->selection().elementList().isEmpty());
        }
        EXPECT_EQ(messages.boxes.size(), 1u);
        QDir::setCurrent(before);
    }
}

TEST_F(MainWindowTest, SyntheticSampleDataAreSaidToBeSo)
{
    writeTypicalFile(data.path(), ChemicalElement::Co, "60", SyntheticSampleMarker);
    MainWindow form(context());
    ASSERT_TRUE(form.sampleNotice());
    EXPECT_FALSE(form.sampleNotice()->isHidden());
    EXPECT_TRUE(form.sampleNotice()->text().contains(QStringLiteral("not reference values")));
}

// An advanced filter that leaves the Materials view's chooser empty: the numbers stay, and the
// boxes, the copy and the status line still say whose they are and what they are.
TEST_F(MainWindowTest, NumbersAlwaysNameTheirNuclide)
{
    writeTypicalFile(data.path(), ChemicalElement::Co, "60", SyntheticSampleMarker);
    MainWindow form(context());
    captureDialogs(form);
    form.show();
    form.dosePerIntakeTabs()->setCurrentIndex(1);
    ASSERT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    AdvancedFilter& filter = form.materialsChooser()->selection().filter().advanced();
    filter.aMass().setMaxValue(10);
    filter.aMass().setMaxEnabled(true);
    filter.setEnabled(true);
    ASSERT_EQ(form.materialsChooser()->nuclideCount(), 0);
    EXPECT_TRUE(form.statusBar()->currentMessage().startsWith(QStringLiteral("No radionuclide passes")));
    EXPECT_TRUE(form.sampleNotice()->isVisible()) << "the sample-data warning stays beside the message";
    EXPECT_EQ(form.materialsChooser()->elementBox()->placeholderText(), QStringLiteral("Co"));
    EXPECT_EQ(form.materialsChooser()->aMassBox()->placeholderText(), QStringLiteral("60"));
    MaterialsParts(*form.materialsPage()).copyAction->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Radionuclide\tCo-60\r\n")));
    filter.setEnabled(false);
    EXPECT_EQ(form.materialsChooser()->elementBox()->currentText(), QStringLiteral("Co"));
    EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MainWindowTest, EmptyDataFolderAsksForAnotherOrEnds)
{
    QFile::remove(data.filePath("Co-60.qvd"));
    std::vector<OptionsPage> asked;
    {
        MainWindow form(context(), [&](ProgramSettings&, OptionsPage o) {
            asked.push_back(o);
            return false;
        });
        EXPECT_TRUE(form.startupFailed());
        EXPECT_EQ(asked, std::vector<OptionsPage>{OptionsPage::DataFolder});
        EXPECT_FALSE(form.mixtureRows());
        EXPECT_TRUE(messages.boxes.empty());
    }

    // Accepting a folder with data files goes on with it.
    QTemporaryDir other;
    writeTypicalFile(other.path(), ChemicalElement::Co, "60");
    MainWindow form(context(), [&](ProgramSettings& p, OptionsPage) {
        p.setDataFolderPath(other.path());
        return true;
    });
    EXPECT_FALSE(form.startupFailed());
    EXPECT_EQ(home.context().settings().dataFolderPath(), other.path());
    EXPECT_EQ(form.mixtureRows()->rowAt(0).setting.nuclide, QStringLiteral("Co-60"));
}

// Another data folder picked in the options while the viewer runs: every page shows its data
// at once, a chooser whose nuclide it lacks moves to one it has, a kept row without data stays.
TEST_F(MainWindowTest, AnotherDataFolderChosenInTheOptionsReachesEveryPage)
{
    writeTypicalFile(data.path(), ChemicalElement::Co, "58");
    writeBytes(data.filePath(QStringLiteral("RadonData.txt")), radonText());
    ApplicationContext& started = context();
    const QString keptFile = started.settings().mixtureFileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(keptFile).path()));
    writeBytes(keptFile,
               mixtureFileBytes({{"Co-60", IntakeRoute::Ingestion, 0, -1, std::nullopt},
                                 {"Co-58", IntakeRoute::Ingestion, 0, -1, std::nullopt}}));
    QTemporaryDir other;
    writeTypicalFile(other.path(), ChemicalElement::Co, "60", SyntheticSampleMarker);
    writeTwoGroupFile(other.path(), ChemicalElement::Cs, "137");
    std::vector<OptionsPage> asked;
    QString target = other.path();
    MainWindow form(started, [&](ProgramSettings& p, OptionsPage o) {
        asked.push_back(o);
        p.setDataFolderPath(target);
        return true;
    });
    captureDialogs(form);
    form.show();
    form.mainTabs()->setCurrentIndex(3);
    ASSERT_TRUE(form.radonPage()->radonData());
    ASSERT_TRUE(form.radonPage()->radonData()->dataLoaded());
    form.mainTabs()->setCurrentIndex(1);
    form.mainTabs()->setCurrentIndex(0);
    form.dosePerIntakeTabs()->setCurrentIndex(1);
    form.materialsChooser()->selection().setElementAndAMass(ChemicalElement::Co, "58");
    ASSERT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-58"));
    ASSERT_EQ(form.bioassayDataShown()->nuclideNameText(), QStringLiteral("Co-60"));
    ASSERT_TRUE(form.mixtureRows()->rowAt(1).available());
    ASSERT_FALSE(form.sampleNotice());

    QAction* options = nullptr;
    for (QAction* a : form.helpMenu()->actions())
        if (a->text() == QStringLiteral("Options..."))
            options = a;
    ASSERT_TRUE(options);
    options->trigger();
    EXPECT_EQ(asked, std::vector<OptionsPage>{OptionsPage::General});
    EXPECT_EQ(home.context().dataNuclideList().names(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(form.materialsChooser()->selection().filter().fullNuclideList().names(),
              (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(form.intakeChooser()->selection().filter().fullNuclideList().names(), (QStringList{"Co-60", "Cs-137"}));
    // Co-58 is gone: the Materials chooser moves to the element's other nuclide, read from the
    // new folder as the bioassay page's Co-60 is.
    EXPECT_EQ(form.materialsChooser()->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_TRUE(form.materialsData()->isSyntheticSample());
    EXPECT_TRUE(form.bioassayDataShown()->isSyntheticSample());
    // The kept rows stay as they were chosen, each with the new folder's data or the reason.
    ASSERT_EQ(form.mixtureRows()->count(), 2);
    EXPECT_TRUE(form.mixtureRows()->rowAt(0).loaded->data.isSyntheticSample());
    EXPECT_EQ(form.mixtureRows()->rowAt(1).setting.nuclide, QStringLiteral("Co-58"));
    EXPECT_FALSE(form.mixtureRows()->rowAt(1).available());
    ASSERT_TRUE(form.sampleNotice());
    EXPECT_FALSE(form.sampleNotice()->isHidden());
    EXPECT_EQ(form.dataFolderLabel()->toolTip(),
              QStringLiteral("The data folder in use: ") + QDir::toNativeSeparators(other.path()));
    // The radon table shown is read again, from the new folder, which has none.
    EXPECT_FALSE(form.radonPage()->radonData()->dataLoaded());
    EXPECT_TRUE(form.radonPage()->radonData()->problem().startsWith(
        QDir(other.path()).filePath(QStringLiteral("RadonData.txt"))))
        << form.radonPage()->radonData()->problem().toStdString();

    // Back to the first folder: Cs-137 chosen there is not offered, the rows have their data again.
    form.materialsChooser()->selection().setElementAndAMass(ChemicalElement::Cs, "137");
    ASSERT_EQ(form.materialsData()->aerosolDataCount(), 2);
    target = data.path();
    messages.boxes.clear();
    options->trigger();
    EXPECT_EQ(form.materialsChooser()->selection().name(), QStringLiteral("Co-58"));
    EXPECT_EQ(form.materialsData()->nuclideNameText(), QStringLiteral("Co-58"));
    EXPECT_TRUE(form.mixtureRows()->rowAt(1).available());
    EXPECT_TRUE(form.sampleNotice()->isHidden());
    EXPECT_TRUE(form.radonPage()->radonData()->dataLoaded());
    EXPECT_TRUE(messages.boxes.empty());
}

// Every table answers the desktop's copy keys as its copy button does, and Shift+F10 opens its
// menu, as a right click does.
TEST_F(MainWindowTest, TablesCopyByTheCopyKeysAndOpenTheirMenuByShiftF10)
{
    writeBytes(data.filePath(QStringLiteral("RadonData.txt")), radonText());
    MainWindow form(context());
    captureDialogs(form);
    form.show();
    struct TableCase {
        const char* name;
        int mainTab;
        int subTab;
        QWidget* grid;
        QString copyStart;
    };
    const TableCase cases[] = {
        {"Radionuclides", 0, 0, MixtureParts(*form.mixturePage()).mixtureTable,
         QStringLiteral("Element\tRadionuclide\t")},
        {"Materials", 0, 1, MaterialsParts(*form.materialsPage()).materialsTable,
         QStringLiteral("Radionuclide\tCo-60\r\nUnits\t")},
        {"Bioassay", 1, 0, BioassayParts(*form.bioassayPage()).bioassayTable,
         QStringLiteral("Radionuclide\tCo-60\r\nRoute of Intake\t")},
        {"Intake Assessment", 2, 0, namedChild<DataGrid>(*form.assessmentPage(), "measurementsTable"),
         QStringLiteral("Radionuclide\tCo-60\r\nRoute of Intake\t")},
        {"Radon", 3, 0, RadonParts(*form.radonPage()).radonTable,
         QStringLiteral("Dose coefficients for radon gas Rn-222")},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        form.mainTabs()->setCurrentIndex(c.mainTab);
        form.dosePerIntakeTabs()->setCurrentIndex(c.subTab);
        ASSERT_TRUE(c.grid->isVisible());
        QApplication::setActiveWindow(&form);
        c.grid->setFocus();
        for (const QKeyCombination key : {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}) {
            QApplication::clipboard()->clear();
            QTest::keyClick(c.grid, key.key(), key.keyboardModifiers());
            EXPECT_TRUE(QApplication::clipboard()->text().startsWith(c.copyStart))
                << QKeySequence(key).toString().toStdString() << ": "
                << QApplication::clipboard()->text().left(80).toStdString();
        }
        QStringList entries;
        QTimer::singleShot(0, [&entries] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    entries << a->text().remove(u'&');
                menu->close();
            }
        });
        QTest::keyClick(c.grid, Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_TRUE(entries.contains(QStringLiteral("Copy to Clipboard"))) << entries.join(u',').toStdString();
    }
    EXPECT_TRUE(messages.boxes.empty());
}

// The language picked in the options speaks at once in every chooser (its element names and its
// menu), in the index's messages and in the toolkit's own texts, and is kept; the copies of the
// tables stay as they were.
TEST_F(MainWindowTest, TheLanguageChosenInTheOptionsReachesEveryChooserAtOnce)
{
    writeIni("Initialized=1\n");
    MainWindow form(context());
    captureDialogs(form);
    form.show();
    auto copyOfTheList = [&form] {
        QApplication::setActiveWindow(&form);
        MixtureParts(*form.mixturePage()).mixtureTable->setFocus();
        QApplication::clipboard()->clear();
        QTest::keyClick(MixtureParts(*form.mixturePage()).mixtureTable, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    };
    const QString copied = copyOfTheList();
    ASSERT_TRUE(copied.startsWith(QStringLiteral("Element\t"))) << copied.toStdString();
    auto chooseLanguage = [&form](const QString& name) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            seen = true;
            pickComboItem(dialog->findChild<QComboBox*>(QStringLiteral("Language")), name);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        for (QAction* a : form.helpMenu()->actions())
            if (a->text() == QStringLiteral("Options..."))
                a->trigger();
        EXPECT_TRUE(seen);
    };
    // The sort entry of each chooser's menu, a caption each language has its own words for.
    auto sortEntry = [](NuclideChooser* panel) {
        for (QAction* a : panel->popupMenu()->actions())
            if (a->text().remove(u'&').startsWith(QStringLiteral("Sort by"))
                || a->text().startsWith(QStringLiteral("Сорт")))
                return a->text().remove(u'&');
        return QString();
    };
    const bool toolkitTranslated = QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qt_ru.qm");

    struct Step {
        const char* pick;
        UiLanguage language;
        const char* cobalt;
        const char* sortBy;
        const char* cancel; // the toolkit's own word
        const char* kept;
    } steps[] = {
        {"Русский", UiLanguage::Russian, "Кобальт", "Сортировка по: обозначениям элементов", "Отмена", "Language=ru"},
        {"English", UiLanguage::English, "Cobalt", "Sort by: element symbol", "Cancel", "Language=en"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.kept);
        chooseLanguage(QString::fromUtf8(step.pick));
        EXPECT_EQ(form.measuredChooser()->selection().language(), step.language);
        for (NuclideChooser* panel : {form.materialsChooser(), form.intakeChooser()}) { // both on Co-60
            EXPECT_EQ(panel->selection().language(), step.language);
            EXPECT_EQ(panel->elementBox()->toolTip().toStdString(), step.cobalt);
            EXPECT_EQ(sortEntry(panel).toStdString(), step.sortBy);
        }
        if (toolkitTranslated) {
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), step.cancel);
        }
        EXPECT_TRUE(home.ini().contains(QByteArray(step.kept) + '\n')) << home.ini().toStdString();
        EXPECT_EQ(copyOfTheList(), copied);
    }
    EXPECT_TRUE(messages.boxes.empty());
}

// Alt with an underlined letter opens a tab, takes the keys to a labelled box, or works a button.
TEST_F(MainWindowTest, UnderlinedLettersOpenTabsReachBoxesAndWorkButtons)
{
    MainWindow form(context());
    captureDialogs(form);
    form.show();
    QApplication::setActiveWindow(&form);
    const auto alt = [&form](Qt::Key key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
        QTest::keyClick(target, key, Qt::AltModifier);
    };
    alt(Qt::Key_B);
    EXPECT_EQ(form.mainTabs()->currentIndex(), 1);
    alt(Qt::Key_I);
    EXPECT_EQ(QApplication::focusWidget(), BioassayParts(*form.bioassayPage()).routeBox);
    alt(Qt::Key_K);
    EXPECT_EQ(form.mainTabs()->currentIndex(), 2);
    alt(Qt::Key_A);
    EXPECT_EQ(form.mainTabs()->currentIndex(), 3);
    alt(Qt::Key_D);
    EXPECT_EQ(form.mainTabs()->currentIndex(), 0);
    alt(Qt::Key_M);
    EXPECT_EQ(form.dosePerIntakeTabs()->currentIndex(), 1);
    alt(Qt::Key_R);
    EXPECT_EQ(QApplication::focusWidget(), form.materialsChooser()->elementBox());
    QApplication::clipboard()->clear();
    alt(Qt::Key_C);
    // A button's letter clicks it after a moment, as the mouse would.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QApplication::clipboard()->text().startsWith(QStringLiteral("Radionuclide\tCo-60\r\nUnits\t")); }));
    alt(Qt::Key_N);
    EXPECT_EQ(form.dosePerIntakeTabs()->currentIndex(), 0);
}

TEST_F(MainWindowTest, MissingExampleNuclideIsSaidOnceAndEndsStartUp)
{
    QFile::remove(data.filePath("Co-60.qvd"));
    writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
    MainWindow form(context());
    captureDialogs(form);
    EXPECT_TRUE(form.startupFailed());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("DataFileException: Can not find file for Co-60"));
    form.show();
    form.formActivate();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(shown.isEmpty());
}

TEST(Application, AnErrorNoHandlerExpectedIsShownAndTheProgramGoesOn)
{
    auto* application = static_cast<ViewerApplication*>(QCoreApplication::instance());
    // An event handler that fails, reached through the application as every event is. (Errors
    // thrown across the toolkit's own input handling leave a little of its memory behind, which
    // the leak checker would report; a plain event shows the same path.)
    RecordingMessageBoxes messages;
    application->setMessageBoxes(&messages);
    struct Thrower : QObject {
        int handled = 0;
        bool event(QEvent* e) override
        {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            ++handled;
            throw std::runtime_error("Broken handler");
        }
    } receiver;
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &first);
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.handled, 2);
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Electronic Annex / KAV Data Viewer"));
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("Broken handler"));
    EXPECT_EQ(messages.boxes[0].buttons, MessageButtons(ButtonOk));
    application->setMessageBoxes(nullptr);
}

TEST(AboutBox, HasItsCaptionAndSize)
{
    AboutBox about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.size(), QSize(794, 611));
}

} // namespace
} // namespace kav
