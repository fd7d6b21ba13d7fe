#include "addnuclidesparts.h"
#include "chooser/ui/addnuclidesdialog.h"
#include "chooser/ui/nuclidechooser.h"
#include "indexfixture.h"
#include "recordingmessageboxes.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kav {
namespace {

QStringList texts(const QListWidget* list)
{
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->item(i)->text();
    return t;
}

// The dialog over a panel that offers a few nuclides, shown as the user sees it.
class AddNuclidesDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        loadShippedIndex(index);
        panel = std::make_unique<NuclideChooser>(index, spectra, messages);
        panel->selection().filter().setUseNuclideFilter(true);
        panel->selection().filter().setNuclideList(
            QStringList{"Fe-59", "H-3", "Co-58", "Co-60", "C-11", "Ca-41", "Ag-117", "Ag-99", "Co-57"});
        form = std::make_unique<AddNuclidesDialog>(*panel);
        parts = std::make_unique<AddNuclidesParts>(*form);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void click(QListWidget* list, const QString& text, Qt::KeyboardModifiers keys = {})
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        list->scrollToItem(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualItemRect(found.front()).center());
    }
    void add(const QStringList& names)
    {
        bool first = true;
        for (const QString& name : names) {
            click(parts->offeredList, name, first ? Qt::KeyboardModifiers() : Qt::ControlModifier);
            first = false;
        }
        QTest::mouseClick(parts->addButton, Qt::LeftButton);
    }
    QStringList chosen() const
    {
        QStringList names;
        for (const Nuclide* node : form->chosenNodes())
            names << node->name.toString();
        return names;
    }

    NuclideIndex index;
    SpectraFiles spectra{index};
    RecordingMessageBoxes messages;
    std::unique_ptr<NuclideChooser> panel;
    std::unique_ptr<AddNuclidesDialog> form;
    std::unique_ptr<AddNuclidesParts> parts;
};

TEST_F(AddNuclidesDialogTest, OpensOnTheOfferedListInPeriodicOrderWithOkGreyed)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Add radionuclides"));
    EXPECT_EQ(parts->offeredPages->currentWidget(), parts->nuclidesPage);
    EXPECT_EQ(texts(parts->offeredList),
              (QStringList{"H-3", "C-11", "Ca-41", "Fe-59", "Co-57", "Co-58", "Co-60", "Ag-99", "Ag-117"}));
    EXPECT_EQ(parts->offeredList->selectedItems().size(), 1);
    EXPECT_FALSE(parts->okButton->isEnabled());
    EXPECT_FALSE(parts->upButton->isEnabled());
    EXPECT_TRUE(parts->sortBy("periodic")->isChecked());
    // The tree: the elements on offer, each with its nuclides by mass.
    ASSERT_EQ(parts->elementTree->topLevelItemCount(), 6);
    const QTreeWidgetItem* cobalt = parts->elementTree->topLevelItem(4);
    EXPECT_EQ(cobalt->text(0), QStringLiteral("Co  Cobalt"));
    EXPECT_EQ(parts->elementTree->topLevelItem(0)->text(0), QStringLiteral("H   Hydrogen"));
    ASSERT_EQ(cobalt->childCount(), 3);
    EXPECT_EQ(cobalt->child(0)->text(0), QStringLiteral("57"));
    EXPECT_EQ(cobalt->child(2)->text(0), QStringLiteral("60"));
}

TEST_F(AddNuclidesDialogTest, SelectionCountAddingTwiceAndOk)
{
    click(parts->offeredList, "Co-60");
    EXPECT_EQ(parts->offeredCount->text(), QString());
    click(parts->offeredList, "H-3", Qt::ControlModifier);
    click(parts->offeredList, "Ag-99", Qt::ControlModifier);
    EXPECT_EQ(parts->offeredCount->text(), QStringLiteral("Selected radionuclides - 3"));
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    add({"Co-60"});
    EXPECT_EQ(chosen(), (QStringList{"H-3", "Co-60", "Co-60", "Ag-99"}));
    EXPECT_TRUE(parts->okButton->isEnabled());
    EXPECT_TRUE(parts->upButton->isEnabled());
    QTest::mouseClick(parts->okButton, Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(AddNuclidesDialogTest, AnElementNodeBringsItsNuclides)
{
    QTabBar* tabs = parts->offeredPages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_FALSE(parts->addAllButton->isEnabled());
    QTreeWidgetItem* cobalt = parts->elementTree->topLevelItem(4);
    QTest::mouseClick(parts->elementTree->viewport(), Qt::LeftButton, {},
                      parts->elementTree->visualItemRect(cobalt).center());
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"Co-57", "Co-58", "Co-60"}));
}

TEST_F(AddNuclidesDialogTest, SortOrdersApplyToBothLists)
{
    QTest::mouseClick(parts->addAllButton, Qt::LeftButton);
    ASSERT_EQ(parts->chosenList->count(), 9);
    struct Case {
        QAction* item;
        QStringList order;
    } cases[] = {
        {parts->sortBy("ABC"), {"Ag-99", "Ag-117", "C-11", "Ca-41", "Co-57", "Co-58", "Co-60", "Fe-59", "H-3"}},
        {parts->sortBy("atomic mass"), {"H-3", "C-11", "Ca-41", "Co-57", "Co-58", "Fe-59", "Co-60", "Ag-99", "Ag-117"}},
        {parts->sortBy("periodic"), {"H-3", "C-11", "Ca-41", "Fe-59", "Co-57", "Co-58", "Co-60", "Ag-99", "Ag-117"}},
    };
    for (const Case& c : cases) {
        c.item->trigger();
        EXPECT_TRUE(c.item->isChecked());
        EXPECT_EQ(texts(parts->chosenList), c.order) << c.item->text().toStdString();
        EXPECT_EQ(texts(parts->offeredList), c.order) << c.item->text().toStdString();
    }
}

TEST_F(AddNuclidesDialogTest, EntriesMoveUpAndDownAndGo)
{
    add({"H-3", "C-11", "Co-60", "Ag-99"});
    ASSERT_EQ(chosen(), (QStringList{"H-3", "C-11", "Co-60", "Ag-99"}));
    click(parts->chosenList, "Co-60");
    QTest::mouseClick(parts->upButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"H-3", "Co-60", "C-11", "Ag-99"}));
    QTest::mouseClick(parts->downButton, Qt::LeftButton);
    QTest::mouseClick(parts->downButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"H-3", "C-11", "Ag-99", "Co-60"}));
    // Several selected move together; not past the top.
    click(parts->chosenList, "C-11");
    click(parts->chosenList, "Co-60", Qt::ControlModifier);
    QTest::mouseClick(parts->upButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"C-11", "H-3", "Co-60", "Ag-99"}));
    QTest::mouseClick(parts->upButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"C-11", "H-3", "Co-60", "Ag-99"}));

    QTest::mouseClick(parts->removeButton, Qt::LeftButton);
    EXPECT_EQ(chosen(), (QStringList{"H-3", "Ag-99"}));
    click(parts->chosenList, "Ag-99");
    QTest::keyClick(parts->chosenList, Qt::Key_Delete);
    EXPECT_EQ(chosen(), QStringList{"H-3"});
    EXPECT_FALSE(parts->upButton->isEnabled());
    EXPECT_FALSE(parts->downButton->isEnabled());
    EXPECT_TRUE(parts->okButton->isEnabled());
    QTest::mouseClick(parts->removeButton, Qt::LeftButton);
    EXPECT_TRUE(chosen().isEmpty());
    EXPECT_FALSE(parts->okButton->isEnabled());
}

TEST_F(AddNuclidesDialogTest, ADropFromTheOfferedSideAddsItsSelection)
{
    click(parts->offeredList, "Ca-41");
    // What others drag is refused.
    QMimeData foreign;
    foreign.setText(QStringLiteral("Co-60"));
    QDragEnterEvent refused(parts->chosenList->viewport()->rect().center(), Qt::CopyAction, &foreign, Qt::LeftButton,
                            {});
    QCoreApplication::sendEvent(parts->chosenList->viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    std::unique_ptr<QMimeData> dragged(
        parts->offeredList->model()->mimeData(parts->offeredList->selectionModel()->selectedIndexes()));
    ASSERT_TRUE(dragged);
    const QPoint at = parts->chosenList->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, dragged.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(parts->chosenList->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, dragged.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(parts->chosenList->viewport(), &drop);
    EXPECT_EQ(chosen(), QStringList{"Ca-41"});
}

TEST_F(AddNuclidesDialogTest, F1AsksForTheHelp)
{
    int asked = 0;
    form->onHelp = [&] { ++asked; };
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(asked, 1);
}

TEST_F(AddNuclidesDialogTest, CancelReturnsNothing)
{
    form.reset();
    NuclidePointers nodes{nullptr};
    const bool accepted = executeAddNuclidesDialog(*panel, nodes, [](QDialog& dialog) {
        auto& add = static_cast<AddNuclidesDialog&>(dialog);
        const AddNuclidesParts parts(add);
        add.show();
        QTest::mouseClick(parts.addAllButton, Qt::LeftButton);
        QTest::mouseClick(parts.cancelButton, Qt::LeftButton);
        return add.result();
    });
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(nodes.empty());
}

} // namespace
} // namespace kav
