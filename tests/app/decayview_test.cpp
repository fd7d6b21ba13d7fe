#include "app/bioassaychart.h"
#include "app/decayview.h"
#include "app/mainwindow.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "controls/numberedit.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"
#include "widgetinput.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

enum ResultColumn { Nuclide = 1, HalfLife, Activity, Share, Atoms, Mass };

// The real main window showing the Decay tab. Worked by hand: Cs-137 (30.1671 y) feeds Ba-137m
// (2.552 min) in 94.399 % of its decays; after 30 years 1000 Bq are 501.9 Bq, Ba-137m
// 0.94399 x 1000 x l2/(l2 - l1) (exp(-l1 t) - exp(-l2 t)) = 473.8 Bq, 975.7 in all, Cs-137 51.44 %
// of it; after 10 years 794.7 and 750.2. 501.923 Bq of Cs-137 are 501.923 / l1 = 6.894E11 atoms.
class DecayViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(data.path(), ChemicalElement::Co, "60");
        home.writeIni("Initialized=1\n", data.path());
        start();
    }
    void start()
    {
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->show();
        form->formActivate();
        QApplication::setActiveWindow(form.get());
        form->mainTabs()->setCurrentIndex(4);
        view = form->decayPage();
        result = namedChild<DataGrid>(*view, "resultTable");
        caption = namedChild<QLabel>(*view, "captionLabel");
        ASSERT_TRUE(result && caption);
    }
    void click(const char* name) { QTest::mouseClick(namedChild<QToolButton>(*view, name), Qt::LeftButton); }
    // Types a number into a number field, its old one erased.
    void typeInto(FloatEdit* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        for (qsizetype typed = field->text().size(); typed > 0; --typed)
            QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    DecayView* view = nullptr;
    DataGrid* result = nullptr;
    QLabel* caption = nullptr;
};

TEST_F(DecayViewTest, AnAddedNuclideDecaysWithItsDaughterAsWorkedByHand)
{
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("Choose a radionuclide")));
    EXPECT_EQ(view->chooser()->selection().name(), QStringLiteral("Cs-137"));
    click("addButton");
    ASSERT_EQ(result->rowCount(), 3);
    EXPECT_EQ(result->cells(Nuclide, 1), QStringLiteral("Cs-137"));
    EXPECT_EQ(result->cells(Activity, 1), QStringLiteral("501.9"));
    EXPECT_EQ(result->cells(Share, 1), QStringLiteral("51.44"));
    EXPECT_EQ(result->cells(Nuclide, 2), QStringLiteral("Ba-137m"));
    EXPECT_EQ(result->cells(Activity, 2), QStringLiteral("473.8"));
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("Activities after 30 years: total 975.7 Bq")));
    EXPECT_EQ(result->cells(Atoms, 1), QStringLiteral("6.894E11"));

    // Ten years, typed: 794.7 and 750.2.
    typeInto(namedChild<FloatEdit>(*view, "durationField"), QStringLiteral("10"));
    EXPECT_EQ(result->cells(Activity, 1), QStringLiteral("794.7"));
    EXPECT_EQ(result->cells(Activity, 2), QStringLiteral("750.2"));

    // The chart draws each member over the time.
    const Chart& chart = namedChild<BioassayChart>(*view, "decayChart")->chartControl();
    ASSERT_EQ(chart.seriesCount(), 2);
    EXPECT_EQ(chart.seriesAt(0).title, QStringLiteral("Cs-137"));
    EXPECT_NEAR(chart.seriesAt(0).points.back().x(), 3652.5, 1e-9);
    EXPECT_NEAR(chart.seriesAt(0).points.back().y(), 794.7169713, 1e-6);

    // Copy with atoms and mass.
    QTest::mouseClick(namedChild<QCheckBox>(*view, "atomsBox"), Qt::LeftButton);
    click("copyButton");
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Decay of Cs-137 1000 Bq after 10 years"));
    EXPECT_EQ(lines[1], QStringLiteral("Nuclide\tHalf-life\tActivity, Bq\t%\tAtoms\tMass, g"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Cs-137\t30.167 y\t794.717\t51.44\t"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Total\t\t1544.92\t100.00"))) << lines[4].toStdString();
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(DecayViewTest, DatesAndTheirOrder)
{
    click("addButton");
    pickComboItem(namedChild<QComboBox>(*view, "timeKindBox"), QStringLiteral("from a date to a date"));
    auto* reference = namedChild<QDateTimeEdit>(*view, "referenceEdit");
    auto* target = namedChild<QDateTimeEdit>(*view, "targetEdit");
    reference->setFocus();
    QTest::keyClick(reference, Qt::Key_Home);
    reference->setDateTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    target->setDateTime(QDateTime(QDate(2019, 12, 31), QTime(12, 0)));
    EXPECT_EQ(caption->text(), QStringLiteral("The target date comes before the reference date."));
    EXPECT_EQ(view->table().rows.size(), 0U);
    // 10 years and 2.5 days of leap years: 3652.5 days, as "10 years" above.
    target->setDateTime(QDateTime(QDate(2029, 12, 31), QTime(12, 0)));
    EXPECT_EQ(result->cells(Activity, 1), QStringLiteral("794.7"));
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("Activities from 2020-01-01 00:00 to 2029-12-31 12:00")));
}

TEST_F(DecayViewTest, TheSourceIsEditedRemovedAndKeptForTheNextRun)
{
    click("addButton");
    view->chooser()->selection().setName(QStringLiteral("Co-60"));
    typeInto(namedChild<FloatEdit>(*view, "activityField"), QStringLiteral("50"));
    click("addButton");
    ASSERT_EQ(view->source().rows.size(), 2U);
    EXPECT_EQ(view->source().rows[1], (DecaySourceRow{QStringLiteral("Co-60"), 50}));
    pickComboItem(namedChild<QComboBox>(*view, "unitBox"), QStringLiteral("kBq"));
    EXPECT_EQ(result->cells(Activity, 0), QStringLiteral("Activity, kBq"));
    form->close();
    form.reset();
    start();
    ASSERT_EQ(view->source().rows.size(), 2U);
    EXPECT_EQ(view->source().unit, ActivityUnit::kBq);
    auto* source = namedChild<DataGrid>(*view, "sourceTable");
    source->setFocus();
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, source->cellRect(2, 1).center());
    QTest::keyClick(source, Qt::Key_Delete);
    ASSERT_EQ(view->source().rows.size(), 1U);
    EXPECT_EQ(view->source().rows[0].nuclide, QStringLiteral("Co-60"));
    click("clearButton");
    EXPECT_TRUE(view->source().rows.empty());
    EXPECT_TRUE(messages.boxes.empty());
}

} // namespace
} // namespace kav
