#include "data/ui/optionsdialog.h"
#include "dosefixture.h"
#include "units/ui/unitcombobox.h"
#include "widgetinput.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabBar>

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The dialog for a viewer in a temporary folder, whose INI file the test can read; a folder
// with a data file and an empty one to choose between.
class OptionsDialogTest : public testing::Test {
protected:
    void SetUp() override { writeTypicalFile(good.path(), ChemicalElement::Co, "60"); }
    // Preferences whose data folder is the empty one.
    std::unique_ptr<ProgramSettings> callerOnEmptyFolder() const
    {
        auto caller = std::make_unique<ProgramSettings>(exe());
        caller->setDataFolderPath(empty.path());
        return caller;
    }
    QTemporaryDir good;
    QTemporaryDir empty;
    QString exe() const { return m_dir.filePath("viewer"); }
    QByteArray ini() const
    {
        QFile f(m_dir.filePath("viewer.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
    OptionsPages pages;
};

TEST_F(OptionsDialogTest, DataFolderPageAcceptsOnlyAFolderWithDataFiles)
{
    const auto callerPtr = callerOnEmptyFolder();
    const ProgramSettings& caller = *callerPtr;

    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::DataFolder);
    ASSERT_EQ(dialog.mainPages()->count(), 1);
    EXPECT_EQ(dialog.mainPages()->tabText(0), QStringLiteral("Folders"));
    EXPECT_EQ(dialog.messageLabel()->text(), OptionsDialog::NoDataFilesMessage);
    EXPECT_EQ(dialog.dataFolderField()->text(), empty.path());

    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()); // stays open, without a message
    EXPECT_TRUE(ini().isEmpty());

    QString offered;
    dialog.browseFolder = [&](const QString& start) {
        offered = start;
        return good.path();
    };
    dialog.browseDataFolder();
    EXPECT_EQ(offered, empty.path());
    EXPECT_EQ(dialog.dataFolderField()->text(), good.path());
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.preference().dataFolderPath(), good.path());
    EXPECT_TRUE(ini().isEmpty()) << "the caller keeps what was accepted";
    EXPECT_EQ(caller.dataFolderPath(), empty.path()); // the caller's copy changes only through Assign
}

// From the general options the data folder can be changed at any time; a folder without data
// files is refused with the reason and the one in use stays.
TEST_F(OptionsDialogTest, AnotherDataFolderIsTakenOnlyWithDataFiles)
{
    ProgramSettings caller(exe());
    caller.setDataFolderPath(good.path());
    QTemporaryDir second;
    writeTypicalFile(second.path(), ChemicalElement::Cs, "137");
    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::General);
    ASSERT_EQ(dialog.mainPages()->tabText(0), QStringLiteral("Folders"));
    dialog.mainPages()->setCurrentIndex(0);
    dialog.show();
    EXPECT_TRUE(dialog.messageLabel()->text().isEmpty());
    QToolButton* browse = nullptr;
    for (QToolButton* b : dialog.findChildren<QToolButton*>())
        if (b->text() == QStringLiteral("..."))
            browse = b;
    ASSERT_TRUE(browse);
    QString answer = empty.path();
    dialog.browseFolder = [&](const QString&) { return answer; };

    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(dialog.dataFolderField()->text(), good.path());
    EXPECT_EQ(dialog.messageLabel()->text(),
              QStringLiteral("%1 holds no data files (*.qvd): the data folder stays %2.")
                  .arg(QDir::toNativeSeparators(empty.path()), QDir::toNativeSeparators(good.path())));

    answer = second.path();
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(dialog.dataFolderField()->text(), second.path());
    EXPECT_TRUE(dialog.messageLabel()->text().isEmpty());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.preference().dataFolderPath(), second.path());
}

TEST_F(OptionsDialogTest, CancelAfterBrowsingChangesNothing)
{
    const auto callerPtr = callerOnEmptyFolder();
    const ProgramSettings& caller = *callerPtr;
    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::DataFolder);
    dialog.browseFolder = [&](const QString&) { return good.path(); };
    dialog.browseDataFolder();
    dialog.show();
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(ini().isEmpty());
    EXPECT_EQ(caller.dataFolderPath(), empty.path());
}

TEST_F(OptionsDialogTest, RestoreDefaultsThenOkGivesTheDefaultUnits)
{
    ProgramSettings caller(exe());
    caller.setMaterialsDoseUnit(DoseUnit::mSv);
    caller.setMixtureActivityUnit(ActivityUnit::kBq);
    caller.setBioassayTimeUnit(TimeUnit::Hour);
    caller.setBioassayWholeDays(true);
    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::MaterialsUnits);
    ASSERT_EQ(dialog.mainPages()->count(), 1);
    EXPECT_EQ(dialog.mainPages()->tabText(0), QStringLiteral("Units"));
    EXPECT_EQ(dialog.unitsPages()->currentIndex(), 2);
    EXPECT_EQ(dialog.unitsPages()->tabText(0), QStringLiteral("   'Doses per unit measurement' page   "));
    dialog.restoreDefaultValues();
    dialog.accept();
    const ProgramSettings& accepted = dialog.preference();
    EXPECT_EQ(accepted.materialsDoseUnit(), DoseUnit::Sv);
    EXPECT_EQ(accepted.mixtureActivityUnit(), ActivityUnit::Bq);
    EXPECT_EQ(accepted.bioassayTimeUnit(), TimeUnit::Day);
    EXPECT_FALSE(accepted.bioassayWholeDays());
    EXPECT_EQ(accepted.dataFolderPath(), caller.dataFolderPath());
}

// Brings the page that holds a widget to the front, by clicks on the tabs.
void showPageOf(OptionsDialog& dialog, QWidget* widget)
{
    for (QTabWidget* pages : {dialog.mainPages(), dialog.unitsPages()})
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->isAncestorOf(widget))
                QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(i).center());
    ASSERT_TRUE(widget->isVisible());
}

void clickOk(QDialog& dialog)
{
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// Every unit box shows its own setting, and a unit picked in it changes that setting alone.
TEST_F(OptionsDialogTest, EachUnitBoxShowsAndSetsItsOwnSetting)
{
    using P = ProgramSettings;
    struct Box {
        const char* name;
        int initial;
        int picked;
        int (*get)(const P&);
    };
    const Box boxes[] = {
        {"DPUMDoseUnit", int(DoseUnit::uSv), int(DoseUnit::mSv), [](const P& p) { return int(p.bioassayDoseUnit()); }},
        {"MixtureDoseUnit", int(DoseUnit::mSv), int(DoseUnit::Sv), [](const P& p) { return int(p.mixtureDoseUnit()); }},
        {"DPUIDosesUnit", int(DoseUnit::Sv), int(DoseUnit::uSv), [](const P& p) { return int(p.materialsDoseUnit()); }},
        {"DPUMContentActivityUnit", int(ActivityUnit::mBq), int(ActivityUnit::kBq),
         [](const P& p) { return int(p.bioassayContentUnit()); }},
        {"DPUMIntakeActivityUnit", int(ActivityUnit::Bq), int(ActivityUnit::MBq),
         [](const P& p) { return int(p.bioassayIntakeUnit()); }},
        {"MixtureActivityUnit", int(ActivityUnit::kBq), int(ActivityUnit::mBq),
         [](const P& p) { return int(p.mixtureActivityUnit()); }},
        {"DPUIActivityUnit", int(ActivityUnit::MBq), int(ActivityUnit::Bq),
         [](const P& p) { return int(p.materialsActivityUnit()); }},
        {"DPUMTimeUnit", int(TimeUnit::Hour), int(TimeUnit::Year),
         [](const P& p) { return int(p.bioassayTimeUnit()); }},
    };
    P caller(exe());
    caller.setDataFolderPath(good.path());
    caller.setBioassayDoseUnit(DoseUnit::uSv);
    caller.setMixtureDoseUnit(DoseUnit::mSv);
    caller.setMaterialsDoseUnit(DoseUnit::Sv);
    caller.setBioassayContentUnit(ActivityUnit::mBq);
    caller.setBioassayIntakeUnit(ActivityUnit::Bq);
    caller.setMixtureActivityUnit(ActivityUnit::kBq);
    caller.setMaterialsActivityUnit(ActivityUnit::MBq);
    caller.setBioassayTimeUnit(TimeUnit::Hour);
    for (const Box& changed : boxes) {
        SCOPED_TRACE(changed.name);
        OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
        dialog.load(caller, OptionsPage::General);
        dialog.show();
        for (const Box& b : boxes) {
            auto* box = dialog.findChild<UnitComboBox*>(QLatin1String(b.name));
            ASSERT_TRUE(box) << b.name;
            EXPECT_EQ(box->currentData().toInt(), b.initial) << b.name << " shows another setting";
            EXPECT_LE(box->width(), 2 * box->sizeHint().width()) << b.name << " is stretched";
        }
        auto* box = dialog.findChild<UnitComboBox*>(QLatin1String(changed.name));
        showPageOf(dialog, box);
        pickComboItem(box, box->itemText(box->findData(changed.picked)));
        clickOk(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        for (const Box& b : boxes)
            EXPECT_EQ(b.get(dialog.preference()), &b == &changed ? b.picked : b.initial) << b.name;
        EXPECT_FALSE(dialog.preference().bioassayWholeDays());
    }

    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::General);
    dialog.show();
    auto* wholeDays = dialog.findChild<QCheckBox*>(QStringLiteral("DPUMIntDaysOnly"));
    ASSERT_TRUE(wholeDays);
    showPageOf(dialog, wholeDays);
    QTest::mouseClick(wholeDays, Qt::LeftButton, {}, QPoint(6, wholeDays->height() / 2));
    clickOk(dialog);
    EXPECT_TRUE(dialog.preference().bioassayWholeDays());
    for (const Box& b : boxes)
        EXPECT_EQ(b.get(dialog.preference()), b.initial) << b.name;
}

// What an OK confirms: the boxes at the foot and the settings of each page that was on the screen;
// "Restore default values" confirms every unit, seen or not.
TEST_F(OptionsDialogTest, ConfirmsTheSettingsOfThePagesShown)
{
    // The keys, sorted, in one line.
    auto keys = [](QStringList list) {
        list.sort();
        return list.join(u' ').toStdString();
    };
    const QStringList bioassay{"DPUMDoseUnit", "DPUMContentActivityUnit", "DPUMIntakeActivityUnit", "DPUMTimeUnit",
                               "DPUMIntDaysOnly"};
    const QStringList organs{"DPUIDosesUnit", "DPUIActivityUnit"};
    const QStringList mixture{"MixtureDoseUnit", "MixtureActivityUnit"};
    auto turnTo = [](QTabWidget* pages, int index) {
        QTabBar* tabs = pages->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        ASSERT_EQ(pages->currentIndex(), index);
    };

    ProgramSettings caller(exe());
    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    dialog.load(caller, OptionsPage::General);
    dialog.show();
    EXPECT_EQ(keys(dialog.confirmedKeys()), keys({"AutoSave", "Language", "QVD"}));
    turnTo(dialog.mainPages(), 1);
    EXPECT_EQ(keys(dialog.confirmedKeys()), keys(QStringList{"AutoSave", "Language", "QVD"} + bioassay));
    turnTo(dialog.unitsPages(), 2);
    EXPECT_EQ(keys(dialog.confirmedKeys()), keys(QStringList{"AutoSave", "Language", "QVD"} + bioassay + organs));

    OptionsDialog units(ProgramLocations::forExecutable(exe()), pages);
    units.load(caller, OptionsPage::MixtureUnits);
    units.show();
    EXPECT_EQ(keys(units.confirmedKeys()), keys(QStringList{"AutoSave", "Language"} + mixture));
    QPushButton* restore = nullptr;
    for (QPushButton* b : units.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Restore default values"))
            restore = b;
    ASSERT_TRUE(restore);
    QTest::mouseClick(restore, Qt::LeftButton);
    EXPECT_EQ(keys(units.confirmedKeys()), keys(QStringList{"AutoSave", "Language"} + bioassay + mixture + organs));
}

// The dialog edits a copy of what it is given and reads no file of its own: before it is given
// anything it holds the defaults, whatever the settings file says.
TEST_F(OptionsDialogTest, ReadsNoSettingsFileOfItsOwn)
{
    {
        QFile ini(m_dir.filePath("viewer.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nAutoSave=1\n[Units]\nDPUMDoseUnit=5\n");
    }
    ASSERT_TRUE(ProgramSettings(exe()).autoSave());
    OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
    EXPECT_FALSE(dialog.preference().autoSave());
    EXPECT_EQ(dialog.preference().bioassayDoseUnit(), DoseUnit::Sv);
}

TEST_F(OptionsDialogTest, PageSetsShowTheirPages)
{
    ProgramSettings caller(exe());
    // Each view's units on its own page.
    const std::pair<OptionsPage, const char*> units[]
        = {{OptionsPage::BioassayUnits, "   'Doses per unit measurement' page   "},
           {OptionsPage::MixtureUnits, "   'Mixture' page   "},
           {OptionsPage::MaterialsUnits, "   'Organ doses' page   "}};
    for (const auto& [options, page] : units) {
        OptionsDialog dialog(ProgramLocations::forExecutable(exe()), pages);
        dialog.load(caller, options);
        EXPECT_EQ(dialog.unitsPages()->tabText(dialog.unitsPages()->currentIndex()), QString::fromLatin1(page));
    }
    OptionsDialog general(ProgramLocations::forExecutable(exe()), pages);
    general.load(caller, OptionsPage::General);
    EXPECT_EQ(general.mainPages()->count(), 2);
    general.mainPages()->setCurrentIndex(1);
    general.unitsPages()->setCurrentIndex(2);
    general.reject();
    OptionsDialog again(ProgramLocations::forExecutable(exe()), pages);
    again.load(caller, OptionsPage::General);
    EXPECT_EQ(again.mainPages()->currentIndex(), 1);
    EXPECT_EQ(again.unitsPages()->currentIndex(), 2);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("Options"));
}

} // namespace
} // namespace kav
