// What the viewer writes (the export, the settings, the kept list of radionuclides): the
// settings the user confirmed and no others, and on a disk that fills up every failure is said
// with the system's reason and no file is left cut short.
#include "app/bioassayview.h"
#include "app/mainwindow.h"
#include "app/mixtureview.h"
#include "data/dosedatafile.h"
#include "data/ui/optionsdialog.h"
#include "dosefixture.h"
#include "filesizelimit.h"
#include "recordingmessageboxes.h"
#include "units/ui/unitcombobox.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace kav {
namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// A viewer on a data folder of H-3 (a small export file) and Co-60 (a larger one).
class SaveFailureTest : public testing::Test {
protected:
    void SetUp() override
    {
        DoseData tritium;
        tritium.m_nuclideId = StoredNuclideId{ChemicalElement::H, "3"};
        tritium.m_injectData.push_back(
            makeMaterial(&tritium, IntakeRoute::Injection, MaterialForm::Aerosol, "", 0, 2e-11f));
        writeBytes(QDir(data.path()).filePath("H-3.qvd"), doseDataFileBytes(tritium));
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        home.writeIni("Initialized=1\n", data.path());
        form = std::make_unique<MainWindow>(home.makeContext(messages));
    }
    QString exportFolder() { return home.context().settings().exportDir(); }
    void exportDoses()
    {
        form->setMaintenance(true);
        for (QAction* a : form->helpMenu()->actions())
            if (a->text() == QStringLiteral("Export Doses"))
                a->trigger();
    }
    // Opens the options from the bioassay table's menu entry and lets the given steps act on the
    // dialog while it is up; they end by clicking a button.
    void inOptionsDialog(const std::function<void(QDialog&)>& steps)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            seen = true;
            steps(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        BioassayParts(*form->bioassayPage()).unitsAction->trigger();
        EXPECT_TRUE(seen);
    }
    static void click(QDialog& dialog, QDialogButtonBox::StandardButton which)
    {
        QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
};

TEST_F(SaveFailureTest, AnExportThatStopsSaysHowFarItGotAndWhy)
{
    {
        const FileSizeLimit limit(4096); // H.csv fits, Co.csv does not
        exportDoses();
    }
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Error);
    const QString cobalt = QDir(exportFolder()).filePath("Co.csv");
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("Export failed after 1 file written to ") + exportFolder() + QStringLiteral(": ") + cobalt
                  + QStringLiteral(" could not be written: ") + QString::fromLatin1(FileSizeLimit::Reason)
                  + QStringLiteral("\n\nOpen the folder?"));
    EXPECT_EQ(QDir(exportFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"H.csv"});
    EXPECT_EQ(read(QDir(exportFolder()).filePath("H.csv")).count("\r\n"), 4);

    // A folder that cannot be made (a file stands in its place): nothing written, and no "done".
    messages.boxes.clear();
    QDir(exportFolder()).removeRecursively();
    writeBytes(exportFolder(), "not a folder");
    exportDoses();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("Export failed after 0 files written to %1: The folder %1 could not be made")
                  .arg(exportFolder()));

    messages.boxes.clear();
    QFile::remove(exportFolder());
    exportDoses();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("Export done: 2 files written to ") + exportFolder()
                  + QStringLiteral("\n\nOpen the folder?"));
}

TEST_F(SaveFailureTest, TheOptionsOkKeepsTheChoiceOrSaysWhyItCannot)
{
    inOptionsDialog([](QDialog& dialog) {
        auto* dose = dialog.findChild<DoseUnitComboBox*>(QStringLiteral("DPUMDoseUnit"));
        ASSERT_TRUE(dose);
        pickComboItem(dose, QStringLiteral("mSv"));
        click(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_TRUE(home.ini().contains("DPUMDoseUnit=5")) << home.ini().toStdString();

    const QByteArray before = home.ini();
    {
        const FileSizeLimit limit(16);
        inOptionsDialog([](QDialog& dialog) {
            pickComboItem(dialog.findChild<DoseUnitComboBox*>(QStringLiteral("DPUMDoseUnit")), QStringLiteral("Sv"));
            click(dialog, QDialogButtonBox::Ok);
        });
    }
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Warning);
    EXPECT_TRUE(messages.boxes[0].text.contains(home.iniPath() + QStringLiteral(": ")
                                                + QString::fromLatin1(FileSizeLimit::Reason)))
        << messages.boxes[0].text.toStdString();
    EXPECT_EQ(home.ini(), before);
    // The choice applies for this run all the same.
    EXPECT_EQ(home.context().settings().bioassayDoseUnit(), DoseUnit::Sv);
}

// A unit changed in a view is kept for the run only; the bioassay page's "Units..." OK keeps what
// its dialog showed: the page it opened on, a page the user turned to, the box at its foot.
TEST_F(SaveFailureTest, TheOptionsOkKeepsWhatTheDialogShowedAndNothingElse)
{
    form->show();
    pickComboItem(MixtureParts(*form->mixturePage()).doseUnitBox, QStringLiteral("mSv"));
    ASSERT_EQ(home.context().settings().mixtureDoseUnit(), DoseUnit::mSv);
    inOptionsDialog([](QDialog& dialog) {
        pickComboItem(dialog.findChild<DoseUnitComboBox*>(QStringLiteral("DPUMDoseUnit")), QStringLiteral("mSv"));
        auto* autoSave = dialog.findChild<QCheckBox*>(QStringLiteral("AutoSave"));
        ASSERT_TRUE(autoSave);
        EXPECT_FALSE(autoSave->isChecked());
        QTest::mouseClick(autoSave, Qt::LeftButton, {}, QPoint(8, autoSave->height() / 2)); // on its tick box
        click(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_TRUE(home.ini().contains("DPUMDoseUnit=5\n")) << home.ini().toStdString();
    EXPECT_TRUE(home.ini().contains("AutoSave=1\n")) << home.ini().toStdString();
    EXPECT_FALSE(home.ini().contains("MixtureDoseUnit")) << "changed in a view, never shown in the dialog";
    EXPECT_FALSE(home.ini().contains("DPUIDosesUnit")) << "on a page not turned to";
    EXPECT_TRUE(home.context().settings().autoSave());

    // Turned to, the Radionuclides page's units are shown, and accepted with the rest.
    inOptionsDialog([](QDialog& dialog) {
        auto* form = dynamic_cast<OptionsDialog*>(&dialog);
        ASSERT_TRUE(form);
        QTabBar* tabs = form->unitsPages()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        ASSERT_EQ(form->unitsPages()->currentIndex(), 1);
        click(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(home.ini().contains("MixtureDoseUnit=5\n")) << home.ini().toStdString();
    EXPECT_FALSE(home.ini().contains("DPUIDosesUnit"));
}

TEST_F(SaveFailureTest, AKeptListThatDoesNotFitIsSaidAndTheOldOneStays)
{
    const QString kept = home.context().settings().mixtureFileName();
    form.reset(); // writes the list once
    const QByteArray before = read(kept);
    ASSERT_TRUE(before.contains("Co-60\t"));
    form = std::make_unique<MainWindow>(home.makeContext(messages));
    form->show();
    messages.whileShown = [this](const RecordingMessageBoxes::Box&) {
        EXPECT_TRUE(form->isVisible()) << "said while the window is there";
    };
    {
        const FileSizeLimit limit(16);
        form->close();
        form.reset();
    }
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("The list of radionuclides could not be kept for the next run: ") + kept
                  + QStringLiteral(": ") + QString::fromLatin1(FileSizeLimit::Reason));
    EXPECT_EQ(read(kept), before);
}

// An installed copy whose settings folder cannot be made (a file stands where it would go): the
// first attempt to write says that neither the settings nor the list will be kept, and nothing
// more is said, at the next change or as the window closes.
TEST(SettingsFolderTest, ASettingsFolderThatTakesNoFilesIsSaidOnceWhileTheWindowIsThere)
{
    QTemporaryDir prefix;
    QTemporaryDir home;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/kav-data-viewer/QVData"));
    writeTypicalFile(prefix.filePath("share/kav-data-viewer/QVData"), ChemicalElement::Co, "60");
    writeBytes(home.filePath("config"), "not a folder");
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());

    RecordingMessageBoxes messages;
    ApplicationContext context(prefix.filePath("bin/kav-data-viewer"), messages);
    auto form = std::make_unique<MainWindow>(context);
    ASSERT_FALSE(form->startupFailed());
    form->execModal = [](QDialog&) { return int(QDialog::Accepted); }; // the About box of a first run
    messages.whileShown = [&form](const RecordingMessageBoxes::Box&) {
        EXPECT_TRUE(form && form->isVisible()) << "said while the window is there";
    };
    form->show();
    form->formActivate(); // a first run: recording it fails
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("The settings cannot be saved (%1: the folder cannot be made). What you change applies "
                             "until the viewer is closed. The list of radionuclides cannot be kept for the next run "
                             "either.")
                  .arg(home.filePath("config/kav-data-viewer")));
    pickComboItem(MixtureParts(*form->mixturePage()).doseUnitBox, QStringLiteral("mSv"));
    EXPECT_EQ(context.settings().mixtureDoseUnit(), DoseUnit::mSv);
    form->close();
    form.reset();
    EXPECT_EQ(messages.boxes.size(), 1u);
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(SaveFailureTest, AFirstRunThatCannotBeRecordedIsSaidOnce)
{
    form.reset();
    home.writeIni({}, data.path());
    form = std::make_unique<MainWindow>(home.makeContext(messages));
    form->execModal = [](QDialog&) { return int(QDialog::Accepted); };
    const QByteArray before = home.ini();
    {
        const FileSizeLimit limit(16);
        form->formActivate();
        home.context().settings().setAutoSave(true);
        home.context().savePreferencesAtExit(); // fails again, said no more
    }
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Warning);
    EXPECT_TRUE(messages.boxes[0].text.contains(QString::fromLatin1(FileSizeLimit::Reason)))
        << messages.boxes[0].text.toStdString();
    EXPECT_EQ(home.ini(), before);
}

} // namespace
} // namespace kav
