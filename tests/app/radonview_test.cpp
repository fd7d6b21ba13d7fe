#include "app/mainwindow.h"
#include "app/materialsview.h"
#include "app/radontables.h"
#include "app/radonview.h"
#include "controls/datagrid.h"
#include "dosefixture.h"
#include "radonfixture.h"
#include "recordingmessageboxes.h"
#include "units/units.h"
#include "viewerini.h"
#include "viewparts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The real main window on a data folder with Co-60 and the radon tables, showing the radon tab.
class RadonViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        home.writeIni("Initialized=1\n", data.path());
    }
    void start(const QByteArray& radon)
    {
        if (!radon.isNull())
            writeBytes(data.filePath(QStringLiteral("RadonData.txt")), radon);
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->show();
        form->formActivate();
        view = form->radonPage();
        parts = std::make_unique<RadonParts>(*view);
        grid = parts->radonTable;
        form->mainTabs()->setCurrentIndex(3);
    }
    void choose(RadonTable type)
    {
        QAbstractButton* button = parts->displayedData->button(static_cast<int>(type));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    QStringList shownHeaders() const
    {
        QStringList headers;
        for (int c = 0; c < grid->colCount(); ++c)
            if (grid->colWidths(c) > 0)
                headers << grid->cells(c, 0);
        return headers;
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    RadonView* view = nullptr;
    std::unique_ptr<RadonParts> parts;
    DataGrid* grid = nullptr;
};

TEST_F(RadonViewTest, TheGasTableWithAndWithoutOrganDoses)
{
    start(radonText());
    ASSERT_TRUE(view->radonData());
    EXPECT_EQ(grid->rowCount(), 7);
    EXPECT_EQ(shownHeaders(), (QStringList{"", "Dose Coefficient e(50),\r\nSv per Bq"}));
    // Three intakes, each label and e(50) over two rows.
    EXPECT_EQ(grid->cells(0, 3), QStringLiteral("Inhalation Rn-222 (radon)"));
    EXPECT_EQ(grid->cells(1, 3), formatScientific(radonEffective(0, 1), 3));
    EXPECT_EQ(grid->mergedRegion(0, 4).top, 3);
    EXPECT_TRUE(
        view->radonData()->captionText().contains(QStringLiteral("Committed effective e(50) doses per intake")));

    QTest::mouseClick(parts->plusButton, Qt::LeftButton);
    EXPECT_TRUE(parts->equivalentDosesAction->isChecked());
    EXPECT_TRUE(parts->minusButton->isVisible());
    EXPECT_EQ(grid->fixedCols(), 3);
    EXPECT_EQ(grid->colCount(), 32);
    EXPECT_EQ(grid->cells(2, 2), QStringLiteral("Female"));
    EXPECT_EQ(grid->cells(3, 0), QStringLiteral("Bone marrow"));
    // Organ 0, women, inhalation of Rn-222: field 3 of the first organ line.
    EXPECT_EQ(grid->cells(3, 4), formatScientific(radonValue(0, 0, 3), 3));
    ASSERT_TRUE(grid->getCellCaption(2, 0));
    EXPECT_TRUE(grid->getCellCaption(2, 0)->contains(QStringLiteral("h<sub>T</sub>(50)")));
    EXPECT_TRUE(view->radonData()->captionText().contains(QStringLiteral("Committed equivalent h<sub>T</sub>(50)")));
    QTest::mouseClick(parts->minusButton, Qt::LeftButton);
    EXPECT_EQ(grid->fixedCols(), 2);
    EXPECT_EQ(grid->colWidths(3), -1);
}

TEST_F(RadonViewTest, EveryProgenyTable)
{
    start(radonText());
    QTest::mouseClick(parts->plusButton, Qt::LeftButton);
    for (int t = static_cast<int>(RadonTable::RadonIndoor); t < RadonDataTypeCount; ++t) {
        const auto type = static_cast<RadonTable>(t);
        choose(type);
        SCOPED_TRACE(radonRowLabel(type).toStdString());
        EXPECT_EQ(grid->fixedCols(), 4);
        EXPECT_EQ(grid->colCount(), 33);
        EXPECT_EQ(grid->cells(0, 1), radonRowLabel(type));
        EXPECT_EQ(grid->mergedRegion(0, 6).top, 1); // one cell over all six rows
        EXPECT_EQ(grid->mergedRegion(2, 5).top, 4); // "Female" over rows 4 to 6
        EXPECT_EQ(grid->cells(2, 4), QStringLiteral("Female"));
        EXPECT_EQ(grid->cells(3, 6), QStringLiteral("Total"));
        EXPECT_EQ(grid->cells(1, 1), formatScientific(radonEffective(t, 0), 3));
        // Organ 2, women, attached: field 4 of the third organ line of the block.
        EXPECT_EQ(grid->cells(4 + 2, 5), formatScientific(radonValue(t, 2, 4), 3));
        EXPECT_EQ(grid->cells(4 + 28, 0), QStringLiteral("Uterus"));
        EXPECT_TRUE(view->radonData()->captionText().contains(QStringLiteral("Contributions to total dose")));
        ASSERT_TRUE(grid->getCellCaption(3, 0));
        EXPECT_TRUE(grid->getCellCaption(3, 0)->contains(QStringLiteral("m<sup>-3</sup>")));
    }
    // Organ doses hidden: the label and the effective dose alone.
    QTest::mouseClick(parts->minusButton, Qt::LeftButton);
    EXPECT_EQ(shownHeaders().size(), 2);
    EXPECT_EQ(grid->fixedCols(), 2);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(RadonViewTest, TheClipboardGetsTheCaptionAndTheShownColumns)
{
    start(radonText());
    choose(RadonTable::RadonMine);
    parts->copyAction->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 7 + 1);
    EXPECT_EQ(lines[0],
              QString::fromUtf16(u"Committed effective dose per exposure to radon (Rn-222) progeny for mine "
                                 u"(mSv per mJ\u00B7h\u00B7m-3)."));
    EXPECT_EQ(lines[1], QString::fromUtf16(u"\tEffective dose per exposure, mSv per mJ\u00B7h\u00B7m-3"));
    EXPECT_EQ(lines[2],
              QStringLiteral("Doses per exposure to radon progeny for mine\t")
                  + formatScientific(radonEffective(2, 0), 3));
    EXPECT_EQ(lines[3], QStringLiteral("\t"));
    EXPECT_EQ(lines.last(), QString());
}

TEST_F(RadonViewTest, AMissingFileIsSaidOnEveryTryAndTheRestWorks)
{
    start(QByteArray());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].buttons, MessageButtons(ButtonCancel));
    EXPECT_TRUE(messages.boxes[0].text.startsWith(QStringLiteral("Can not load radon data\r\n\r\n")));
    EXPECT_TRUE(messages.boxes[0].text.contains(data.filePath(QStringLiteral("RadonData.txt"))));
    EXPECT_TRUE(view->radonData()->captionText().contains(QStringLiteral("Can not load radon data!")));
    EXPECT_TRUE(shownHeaders().isEmpty()) << "no grid of blank cells";
    choose(RadonTable::RadonCave);
    EXPECT_EQ(messages.boxes.size(), 2u);
    // The other tabs are not touched.
    form->mainTabs()->setCurrentIndex(0);
    form->dosePerIntakeTabs()->setCurrentIndex(1);
    EXPECT_EQ(MaterialsParts(*form->materialsPage()).materialsTable->cells(1, 1), QStringLiteral("1.0E-9"));
}

TEST_F(RadonViewTest, ADamagedValueIsNamedInTheCaptionWithoutABox)
{
    QList<QByteArray> lines = radonText().split('\n');
    lines[33] = "1E-3 <b>x</b> 1E-3 1E-3 1E-3 1E-3\r";
    start(lines.join('\n'));
    EXPECT_TRUE(view->radonData()->dataLoaded()); // the gas table is whole
    choose(RadonTable::RadonIndoor);
    EXPECT_FALSE(view->radonData()->dataLoaded());
    EXPECT_TRUE(messages.boxes.empty());
    const QString caption = view->radonData()->captionText();
    EXPECT_TRUE(caption.contains(QStringLiteral("Can not load radon data!")));
    EXPECT_TRUE(
        caption.contains(QStringLiteral("line 34: &quot;&lt;b&gt;x&lt;/b&gt;&quot; is not a dose per exposure")))
        << caption.toStdString();
    EXPECT_EQ(grid->cells(1, 1), QString()); // the body is empty
    // The copy says it in plain text, a line for each line of the caption.
    parts->copyAction->trigger();
    const QStringList copied = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(copied.size(), 3) << "the caption's two lines and the end of the last";
    EXPECT_EQ(copied[0], QStringLiteral("Can not load radon data!"));
    EXPECT_EQ(copied[1],
              data.filePath(QStringLiteral("RadonData.txt"))
                  + QStringLiteral(", line 34: \"<b>x</b>\" is not a dose per exposure"));
    choose(RadonTable::RadonMine);
    EXPECT_TRUE(view->radonData()->dataLoaded());
    EXPECT_FALSE(shownHeaders().isEmpty());
}

} // namespace
} // namespace kav
