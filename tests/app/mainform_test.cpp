#include "aboutbox.h"
#include "datamodule.h"
#include "mainform.h"
#include "recordingmessageboxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kav {
namespace {

// Each test starts as a first run: no preferences file beside the test program.
class MainFormTest : public testing::Test {
protected:
    static QString iniPath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/")
            + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini");
    }
    void SetUp() override
    {
        QFile::remove(iniPath());
        StartupFailed = false;
    }
    void TearDown() override
    {
        ReleaseProgramPreference();
        QFile::remove(iniPath());
        StartupFailed = false;
    }
    // Counts the dialogs the window would have shown, by window title.
    void captureDialogs(TMainForm& form)
    {
        form.ExecModal = [this](QDialog& dialog) {
            shown << dialog.windowTitle();
            return int(QDialog::Accepted);
        };
    }

    RecordingMessageBoxes messages;
    QStringList shown;
};

TEST_F(MainFormTest, ShellHasItsCaptionTabsAndSize)
{
    TMainForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Electronic Annex / KAV Data Viewer"));
    QTabWidget* tabs = form.MainTabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("   Dose per Intake   "));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("   Dose per Content && Reference Bioassay Functions   "));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("   Radon   "));
    QTabWidget* sub = form.DosePerIntakeTabs();
    ASSERT_EQ(sub->count(), 2);
    EXPECT_EQ(sub->tabText(0), QStringLiteral("Radionuclides"));
    EXPECT_EQ(sub->tabText(1), QStringLiteral("Materials"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(sub->currentIndex(), 0);
    EXPECT_EQ(tabs->cornerWidget(Qt::TopRightCorner), form.HelpButton());
    EXPECT_EQ(form.size(), QSize(1008, 729));
    EXPECT_EQ(form.minimumSize(), QSize(1008, 729));
    ASSERT_TRUE(ProgramPreference);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MainFormTest, FirstRunShowsTheAboutBoxOnceAndRecordsIt)
{
    TMainForm form;
    captureDialogs(form);
    form.FormActivate();
    form.FormActivate();
    EXPECT_EQ(shown, QStringList{"About"});
    EXPECT_TRUE(form.IsFormActivated());
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Initialized=1"));
}

TEST_F(MainFormTest, LaterRunsShowNoAboutBox)
{
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\nInitialized=1\n");
    ini.close();
    TMainForm form;
    captureDialogs(form);
    form.FormActivate();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(form.IsFormActivated());
}

TEST_F(MainFormTest, FailedStartUpDoesNoSetUpAndClosesOnActivation)
{
    StartupFailed = true;
    TMainForm form;
    captureDialogs(form);
    EXPECT_FALSE(ProgramPreference);
    form.show();
    form.FormActivate();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(MainFormTest, WheelTurnsScrollTheControlUnderThePointer)
{
    TMainForm form;
    captureDialogs(form);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* edit = new QLineEdit(page);
    auto* list = new QListWidget(page);
    for (int i = 0; i < 200; ++i)
        list->addItem(QString::number(i));
    layout->addWidget(edit);
    layout->addWidget(list);
    form.MainTabs()->addTab(page, "test");
    form.MainTabs()->setCurrentWidget(page);
    // Wholly on the (small) offscreen screen, so that the pointer position finds the list.
    form.move(0, 0);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    edit->setFocus();

    const QPointF overList = list->viewport()->mapToGlobal(QPointF(20, 20));
    // A turn addressed to the focused field, as when that field holds the wheel.
    QWheelEvent wheel(edit->mapFromGlobal(overList), overList, QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &wheel);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);

    // A turn addressed to the list itself goes its ordinary way.
    const int before = list->verticalScrollBar()->value();
    QWheelEvent direct(QPointF(20, 20), overList, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &direct);
    EXPECT_GT(list->verticalScrollBar()->value(), before);
}

TEST(AboutBox, HasItsCaptionAndSize)
{
    TVESKAboutBox about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.size(), QSize(794, 611));
}

} // namespace
} // namespace kav
