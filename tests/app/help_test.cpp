#include "app/bioassayview.h"
#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/materialsview.h"
#include "app/mixtureview.h"
#include "chooser/ui/addnuclidesdialog.h"
#include "controls/datagrid.h"
#include "dosefixture.h"
#include "radonfixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"
#include "viewparts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QHelpEngine>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The real main window of a viewer whose folder holds the help collection the build made.
class HelpTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        writeBytes(data.filePath(QStringLiteral("RadonData.txt")), radonText());
        home.writeIni("Initialized=1\n", data.path());
        const QString collection = QStringLiteral(KAV_HELP_COLLECTION);
        const QDir beside = QFileInfo(home.executable()).dir();
        for (const QString& name : {QStringLiteral("kav-data-viewer.qhc"), QStringLiteral("kav-data-viewer.qch")})
            ASSERT_TRUE(QFile::copy(QFileInfo(collection).dir().filePath(name), beside.filePath(name)))
                << name.toStdString();
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->execModal = [this](QDialog& dialog) {
            if (auto* add = dynamic_cast<AddNuclidesDialog*>(&dialog)) {
                // What F1 in the dialog calls (the key itself is tried on the dialog alone).
                EXPECT_TRUE(add->onHelp);
                if (add->onHelp)
                    add->onHelp();
                topicFromDialog = shown();
            }
            return int(QDialog::Rejected);
        };
        form->show();
        form->formActivate();
        // F1 is a shortcut of the active window.
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QString shown() const
    {
        const QUrl url = form->help()->currentUrl();
        return url.fileName() + (url.hasFragment() ? u'#' + url.fragment() : QString());
    }
    // Opens a widget's right-click menu as the mouse does and picks an entry of it.
    void pickFromContextMenu(QWidget* widget, QPoint at, const QString& entry)
    {
        QTimer::singleShot(0, widget, [entry] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu) << "no menu opened";
            for (QAction* a : menu->actions())
                if (a->text() == entry) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                    return;
                }
            menu->close();
            FAIL() << "no entry " << entry.toStdString();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QCoreApplication::sendEvent(widget, &event);
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    QString topicFromDialog;
};

TEST_F(HelpTest, F1ShowsThePageInFront)
{
    struct Case {
        int main, sub;
        const char* topic;
    } cases[] = {{0, 0, "radionuclides.html"},
                 {0, 1, "materials.html"},
                 {1, 0, "bioassay.html"},
                 {2, 0, "assessment.html"},
                 {3, 0, "radon.html"}};
    for (const Case& c : cases) {
        form->mainTabs()->setCurrentIndex(c.main);
        form->dosePerIntakeTabs()->setCurrentIndex(c.sub);
        QTest::keyClick(form.get(), Qt::Key_F1);
        EXPECT_EQ(shown(), QString::fromLatin1(c.topic));
        EXPECT_TRUE(form->help()->isVisible());
    }
    EXPECT_TRUE(form->help()->browser()->toPlainText().contains(QStringLiteral("Radon and thoron")));
    EXPECT_TRUE(messages.boxes.empty());

    // Escape and Ctrl+W close the help window; F1 brings it back.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        HelpWindow* help = form->help();
        QApplication::setActiveWindow(help);
        QTest::keyClick(help->browser(), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(help->isVisible()) << QKeySequence(key).toString().toStdString();
        QApplication::setActiveWindow(form.get());
        QTest::keyClick(form.get(), Qt::Key_F1);
        EXPECT_TRUE(help->isVisible());
    }
}

// The help F1 opens from the add-radionuclides dialog takes clicks while the dialog is open
// (the dialog is modal to the main window alone).
TEST_F(HelpTest, HelpOpenedFromADialogIsUsableWhileItIsOpen)
{
    form->execModal = [](QDialog& dialog) { return dialog.exec(); };
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<AddNuclidesDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        // Closed however this ends.
        const std::unique_ptr<QDialog, void (*)(QDialog*)> closing(dialog, [](QDialog* d) { d->reject(); });
        // F1 is a shortcut of the active window (the virtual screen does not activate it itself).
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(dialog, Qt::Key_F1);
        HelpWindow* help = form->help();
        ASSERT_TRUE(help->isVisible());
        auto* places = help->findChild<QTabWidget*>();
        ASSERT_TRUE(places);
        // Through the window system, which withholds input from a window a modal one blocks.
        const QPoint tab = places->tabBar()->mapTo(help, places->tabBar()->tabRect(1).center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, tab);
        clicked = places->currentIndex() == 1;
    });
    QTest::mouseClick(MixtureParts(*form->mixturePage()).addButton, Qt::LeftButton);
    EXPECT_TRUE(clicked) << "the help took no click while the dialog was open";
}

TEST_F(HelpTest, TheButtonAndItsMenu)
{
    QTest::mouseClick(form->helpButton(), Qt::LeftButton, {}, QPoint(4, form->helpButton()->height() / 2));
    EXPECT_EQ(shown(), QStringLiteral("index.html"));
    const std::pair<const char*, const char*> entries[] = {
        {"Key Terms", "key-terms.html"}, {"NVA Task Group", "task-group.html"}, {"Copyright Notice", "copyright.html"}};
    for (const auto& [entry, topic] : entries) {
        for (QAction* a : form->helpMenu()->actions())
            if (a->text() == QString::fromLatin1(entry))
                a->trigger();
        EXPECT_EQ(shown(), QString::fromLatin1(topic)) << entry;
    }
    // The menu opens from the keyboard too, and its keys pick an entry.
    QTimer::singleShot(0, [this] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_EQ(menu, form->helpMenu());
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    form->helpButton()->setFocus();
    QTest::keyClick(form->helpButton(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(shown(), QStringLiteral("key-terms.html"));
    // Back to the contents: the "?" shows them beside the page, whatever pane was used last.
    auto* places = form->help()->findChild<QTabWidget*>();
    ASSERT_TRUE(places);
    QTest::mouseClick(places->tabBar(), Qt::LeftButton, {}, places->tabBar()->tabRect(2).center());
    ASSERT_EQ(places->currentIndex(), 2);
    QTest::mouseClick(form->helpButton(), Qt::LeftButton, {}, QPoint(4, form->helpButton()->height() / 2));
    EXPECT_EQ(places->currentIndex(), 0);
    // The export is a maintenance command.
    QAction* exportDoses = nullptr;
    for (QAction* a : form->helpMenu()->actions())
        if (a->text() == QStringLiteral("Export Doses"))
            exportDoses = a;
    ASSERT_TRUE(exportDoses);
    EXPECT_FALSE(exportDoses->isVisible());
    form->setMaintenance(true);
    EXPECT_TRUE(exportDoses->isVisible());
}

TEST_F(HelpTest, HelpEntriesOfTheMenusAndTheLink)
{
    // Materials: the particle-size group.
    form->dosePerIntakeTabs()->setCurrentIndex(1);
    MaterialsView* materials = form->materialsPage();
    QWidget* sizes = MaterialsParts(*materials).sizeBoxes[0]->parentWidget();
    pickFromContextMenu(sizes, QPoint(5, 5), QStringLiteral("Help"));
    EXPECT_EQ(shown(), QStringLiteral("key-terms.html#b_AMAD"));

    // Bioassay: the particle-size list, the displayed data, the key-term link.
    form->mainTabs()->setCurrentIndex(1);
    BioassayView* bioassay = form->bioassayPage();
    form->help()->showTopic(HelpTopic::Contents);
    pickFromContextMenu(BioassayParts(*bioassay).sizeBox, QPoint(5, 5), QStringLiteral("Help"));
    EXPECT_EQ(shown(), QStringLiteral("key-terms.html#b_AMAD"));
    pickFromContextMenu(BioassayParts(*bioassay).displayedData->buttons().front()->parentWidget(), QPoint(5, 5),
                        QStringLiteral("Help"));
    EXPECT_EQ(shown(), QStringLiteral("bioassay.html#b_DispData"));
    emit BioassayParts(*bioassay).keyTermLink->linkActivated(HelpTopic::PredictedContent);
    EXPECT_EQ(shown(), QStringLiteral("key-terms.html#b_predcontent"));

    // The mixture table: "Help" over the particle-size column only.
    form->mainTabs()->setCurrentIndex(0);
    form->dosePerIntakeTabs()->setCurrentIndex(0);
    DataGrid* grid = MixtureParts(*form->mixturePage()).mixtureTable;
    form->help()->showTopic(HelpTopic::Contents);
    pickFromContextMenu(grid->viewport(), grid->cellRect(5, 1).center(), QStringLiteral("Help"));
    EXPECT_EQ(shown(), QStringLiteral("key-terms.html#b_AMAD"));

    // The add dialog's help.
    QTest::mouseClick(MixtureParts(*form->mixturePage()).addButton, Qt::LeftButton);
    EXPECT_EQ(topicFromDialog, QStringLiteral("add-radionuclides.html"));
}

TEST_F(HelpTest, EveryLinkOfEveryPageLeadsSomewhere)
{
    ASSERT_TRUE(form->help()->showTopic(HelpTopic::Contents));
    QHelpEngine* engine = form->help()->engine();
    const QList<QUrl> files = engine->files(QStringLiteral("kav.dataviewer.help"), QString(), QStringLiteral("html"));
    ASSERT_GE(files.size(), 11);
    QSet<QString> pages;
    for (const QUrl& f : files)
        pages.insert(f.fileName());
    const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
    int checked = 0;
    for (const QUrl& file : files) {
        const QString html = QString::fromUtf8(engine->fileData(file));
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.endsWith(QStringLiteral(".css")))
                continue;
            const QString page = target.section(u'#', 0, 0);
            const QString anchor = target.section(u'#', 1);
            const QString where = page.isEmpty() ? file.fileName() : page;
            ASSERT_TRUE(pages.contains(where)) << file.fileName().toStdString() << " links to " << target.toStdString();
            if (!anchor.isEmpty()) {
                QUrl other = file;
                other.setPath(file.path().section(u'/', 0, -2) + u'/' + where);
                EXPECT_TRUE(
                    QString::fromUtf8(engine->fileData(other)).contains(QStringLiteral("name=\"%1\"").arg(anchor)))
                    << target.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
    // The index knows AMAD.
    EXPECT_FALSE(engine->documentsForKeyword(QStringLiteral("AMAD")).isEmpty());
}

TEST(help, AnInstalledCollectionIsOpenedFromTheUsersCopyAndLeftAsItIs)
{
    QTemporaryDir installed, cache;
    const QFileInfo built(QStringLiteral(KAV_HELP_COLLECTION));
    for (const QString& name : {QStringLiteral("kav-data-viewer.qhc"), QStringLiteral("kav-data-viewer.qch")})
        ASSERT_TRUE(QFile::copy(built.dir().filePath(name), installed.filePath(name)));
    const QStringList before = QDir(installed.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QString working = cache.filePath("kav-data-viewer/help");
    RecordingMessageBoxes messages;
    {
        HelpWindow help(installed.filePath("kav-data-viewer.qhc"), messages);
        help.setWorkingFolder(working);
        ASSERT_TRUE(help.showTopic(HelpTopic::Contents));
        EXPECT_EQ(help.currentUrl().fileName(), QStringLiteral("index.html"));
        EXPECT_EQ(help.engine()->collectionFile(), working + "/kav-data-viewer.qhc");
        help.engine()->searchEngine()->reindexDocumentation();
    }
    EXPECT_TRUE(QFile::exists(working + "/kav-data-viewer.qch"));
    EXPECT_EQ(QDir(installed.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before)
        << "nothing is written beside the installed collection";
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(help, AMissingCollectionIsSaidAndNothingElse)
{
    RecordingMessageBoxes messages;
    HelpWindow help(QStringLiteral("/nonexistent/kav-data-viewer.qhc"), messages);
    EXPECT_FALSE(help.showTopic(HelpTopic::Contents));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("/nonexistent/kav-data-viewer.qhc is missing")));
    EXPECT_FALSE(help.isVisible());
    QTemporaryDir dir;
    writeBytes(dir.filePath("junk.qhc"), "not a help collection");
    HelpWindow junk(dir.filePath("junk.qhc"), messages);
    EXPECT_FALSE(junk.showContext(1006));
    EXPECT_EQ(messages.boxes.size(), 2u);
}

} // namespace
} // namespace kav
