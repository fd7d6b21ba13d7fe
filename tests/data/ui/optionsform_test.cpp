#include "dosefixture.h"
#include "data/ui/optionsform.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The dialog for a viewer in a temporary folder, whose INI file the test can read; a folder
// with a data file and an empty one to choose between.
class OptionsFormTest : public testing::Test {
protected:
    void SetUp() override { writeTypicalFile(good.path(), _Co, "60"); }
    // Preferences whose data folder is the empty one.
    std::unique_ptr<TQzProgramPreference> callerOnEmptyFolder() const
    {
        auto caller = std::make_unique<TQzProgramPreference>(exe());
        caller->SetQVDDir(empty.path());
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
    TQzOptionsPages pages;
};

TEST_F(OptionsFormTest, DataFolderPageAcceptsOnlyAFolderWithDataFiles)
{
    const auto callerPtr = callerOnEmptyFolder();
    const TQzProgramPreference& caller = *callerPtr;

    TProgramOptionsForm dialog(TQzProgramLocations::ForExecutable(exe()), pages);
    dialog.Load(caller, poVESKDataDir);
    ASSERT_EQ(dialog.MainPages()->count(), 1);
    EXPECT_EQ(dialog.MainPages()->tabText(0), QStringLiteral("Folders"));
    EXPECT_EQ(dialog.MessageLabel()->text(), TProgramOptionsForm::NoDataFilesMessage);
    EXPECT_EQ(dialog.QVDDirField()->text(), empty.path());

    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()); // stays open, without a message
    EXPECT_TRUE(ini().isEmpty());

    QString offered;
    dialog.BrowseFolder = [&](const QString& start) {
        offered = start;
        return good.path();
    };
    dialog.BrowseQVDDir();
    EXPECT_EQ(offered, empty.path());
    EXPECT_EQ(dialog.QVDDirField()->text(), good.path());
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ini().contains("QVD=" + good.path().toUtf8()));
    EXPECT_EQ(caller.QVDDir(), empty.path()); // the caller's copy changes only through Assign
}

TEST_F(OptionsFormTest, CancelAfterBrowsingChangesNothing)
{
    const auto callerPtr = callerOnEmptyFolder();
    const TQzProgramPreference& caller = *callerPtr;
    TProgramOptionsForm dialog(TQzProgramLocations::ForExecutable(exe()), pages);
    dialog.Load(caller, poVESKDataDir);
    dialog.BrowseFolder = [&](const QString&) { return good.path(); };
    dialog.BrowseQVDDir();
    dialog.show();
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(ini().isEmpty());
    EXPECT_EQ(caller.QVDDir(), empty.path());
}

TEST_F(OptionsFormTest, RestoreDefaultsThenOkWritesTheDefaultUnits)
{
    TQzProgramPreference caller(exe());
    caller.SetDPUIDoseUnit(du_mSv);
    caller.SetMixtureActivityUnit(au_kBq);
    caller.SetDPUMTimeUnit(tuHour);
    caller.SetDPUMIntDays(true);
    TProgramOptionsForm dialog(TQzProgramLocations::ForExecutable(exe()), pages);
    dialog.Load(caller, poDPUIUnits);
    ASSERT_EQ(dialog.MainPages()->count(), 1);
    EXPECT_EQ(dialog.MainPages()->tabText(0), QStringLiteral("Units"));
    EXPECT_EQ(dialog.UnitsPages()->currentIndex(), 2);
    EXPECT_EQ(dialog.UnitsPages()->tabText(0), QStringLiteral("   'Doses per unit measurement' page   "));
    dialog.RestoreDefaultValues();
    dialog.accept();
    const QByteArray text = ini();
    for (const char* line : {"MixtureActivityUnit=8", "MixtureDoseUnit=8", "DPUMTimeUnit=1", "DPUMIntDaysOnly=0",
                             "DPUIDosesUnit=8", "DPUIActivityUnit=8"})
        EXPECT_TRUE(text.contains(line)) << line;
    EXPECT_TRUE(text.contains("QVD=" + caller.QVDDir().toUtf8()));
}

TEST_F(OptionsFormTest, PageSetsShowTheirPages)
{
    TQzProgramPreference caller(exe());
    // Each view's units on its own page.
    const std::pair<TQzProgramOptionsDialogType, const char*> units[] = {
        {poDPUMUnits, "   'Doses per unit measurement' page   "},
        {poMixtureUnits, "   'Mixture' page   "},
        {poDPUIUnits, "   'Organ doses' page   "}};
    for (const auto& [options, page] : units) {
        TProgramOptionsForm dialog(TQzProgramLocations::ForExecutable(exe()), pages);
        dialog.Load(caller, options);
        EXPECT_EQ(dialog.UnitsPages()->tabText(dialog.UnitsPages()->currentIndex()), QString::fromLatin1(page));
    }
    TProgramOptionsForm general(TQzProgramLocations::ForExecutable(exe()), pages);
    general.Load(caller, poGeneral);
    EXPECT_EQ(general.MainPages()->count(), 2);
    general.MainPages()->setCurrentIndex(1);
    general.UnitsPages()->setCurrentIndex(2);
    general.reject();
    TProgramOptionsForm again(TQzProgramLocations::ForExecutable(exe()), pages);
    again.Load(caller, poGeneral);
    EXPECT_EQ(again.MainPages()->currentIndex(), 1);
    EXPECT_EQ(again.UnitsPages()->currentIndex(), 2);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("Options"));
}

} // namespace
} // namespace kav
