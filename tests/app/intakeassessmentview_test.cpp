#include "app/bioassaychart.h"
#include "app/bioassayview.h"
#include "app/intakeassessmentview.h"
#include "app/mainwindow.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"
#include "viewparts.h"
#include "widgetinput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The columns of the measurements' table.
enum Column { CompartmentColumn = 1, Time, Value, BelowLimit, Sf, Predicted, Ratio, Note };

// The parts of the assessment page, found by their object names.
struct AssessmentParts {
    explicit AssessmentParts(const QWidget& view)
        : intakeChooser(namedChild<NuclideChooser>(view, "intakeChooser"))
        , routeBox(namedChild<QComboBox>(view, "routeBox"))
        , materialBox(namedChild<QComboBox>(view, "materialBox"))
        , sizeBox(namedChild<QComboBox>(view, "sizeBox"))
        , intakeDateKindBox(namedChild<QComboBox>(view, "intakeDateKindBox"))
        , intakeDateEdit(namedChild<QDateEdit>(view, "intakeDateEdit"))
        , latestDateEdit(namedChild<QDateEdit>(view, "latestDateEdit"))
        , table(namedChild<DataGrid>(view, "measurementsTable"))
        , addButton(namedChild<QToolButton>(view, "addButton"))
        , removeButton(namedChild<QToolButton>(view, "removeButton"))
        , clearButton(namedChild<QToolButton>(view, "clearButton"))
        , loadButton(namedChild<QToolButton>(view, "loadButton"))
        , saveButton(namedChild<QToolButton>(view, "saveButton"))
        , copyButton(namedChild<QToolButton>(view, "copyButton"))
        , results(namedChild<QLabel>(view, "resultsLabel"))
        , chart(namedChild<BioassayChart>(view, "assessmentChart"))
    {
        expectAllFound({intakeChooser, routeBox, materialBox, sizeBox, intakeDateKindBox, intakeDateEdit,
                        latestDateEdit, table, addButton, removeButton, clearButton, loadButton, saveButton, copyButton,
                        results, chart});
    }

    NuclideChooser* intakeChooser;
    QComboBox* routeBox;
    QComboBox* materialBox;
    QComboBox* sizeBox;
    QComboBox* intakeDateKindBox;
    QDateEdit* intakeDateEdit;
    QDateEdit* latestDateEdit;
    DataGrid* table;
    QToolButton* addButton;
    QToolButton* removeButton;
    QToolButton* clearButton;
    QToolButton* loadButton;
    QToolButton* saveButton;
    QToolButton* copyButton;
    QLabel* results;
    BioassayChart* chart;
};

// The real main window on a data folder written here. Co-60 has bioassay functions for the whole
// body, the urine and the lungs: for the 5 µm aerosol (the ninth of the group),
// m(t_i) = 2^-9 / (1 + i + o) at grid time i, o the compartment's ordinal (whole body 5, urine 6,
// lungs 3), and e(50) = 9e-10 Sv/Bq. Grid point 22 is 3 days, 40 is 10 days.
class IntakeAssessmentViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeBioassayFile(data.path(), ChemicalElement::Co, "60");
        writeBioassayFile(data.path(), ChemicalElement::Cs, "137");
        home.writeIni("Initialized=1\n", data.path());
    }
    void start(const QByteArray& units = {})
    {
        if (!units.isEmpty()) {
            QFile ini(home.iniPath());
            ASSERT_TRUE(ini.open(QIODevice::Append));
            ini.write("[Units]\n" + units);
        }
        form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->show();
        form->formActivate();
        QApplication::setActiveWindow(form.get());
        view = form->assessmentPage();
        parts = std::make_unique<AssessmentParts>(*view);
        grid = parts->table;
    }
    // Opens the page by a click on its tab.
    void openPage()
    {
        QTabBar* bar = form->mainTabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        ASSERT_TRUE(view->isVisible());
    }
    // Types into a cell as a user does: a click makes it current, Enter opens its editor, the
    // keys type, Enter closes it.
    void typeInCell(int col, int row, const QString& text)
    {
        // A list that closed may have left the window without the keyboard.
        QApplication::setActiveWindow(form.get());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(col, row).center());
        if (!grid->editorVisible())
            QTest::keyClick(grid, Qt::Key_Return);
        ASSERT_TRUE(grid->editorVisible()) << "no editor in cell " << col << "," << row;
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    void pickInCell(int col, int row, const QString& text)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(col, row).center());
        QComboBox* box = nullptr;
        for (QComboBox* b : grid->findChildren<QComboBox*>())
            if (b->isVisible() && b->view()->isVisible())
                box = b;
        ASSERT_TRUE(box) << "no list opened in cell " << col << "," << row;
        const int at = box->findText(text);
        ASSERT_GE(at, 0) << text.toStdString() << " is not offered";
        QTest::keyClick(box->view(), Qt::Key_Home);
        for (int i = 0; i < at; ++i)
            QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void paste(const QString& text)
    {
        QApplication::clipboard()->setText(text);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    }
    QString copied()
    {
        QApplication::clipboard()->clear();
        QTest::mouseClick(parts->copyButton, Qt::LeftButton);
        return QApplication::clipboard()->text();
    }
    // The line of the copy that starts with a label, without the label.
    QString copiedLine(const QString& label)
    {
        for (const QString& line : copied().split(QStringLiteral("\r\n")))
            if (line.startsWith(label + u'\t'))
                return line.mid(label.size() + 1);
        return QStringLiteral("(no line %1)").arg(label);
    }
    QString keptPath() { return home.context().settings().measurementsFileName(); }

    QTemporaryDir data;
    RecordingMessageBoxes messages;
    ViewerHome home;
    std::unique_ptr<MainWindow> form;
    IntakeAssessmentView* view = nullptr;
    std::unique_ptr<AssessmentParts> parts;
    DataGrid* grid = nullptr;
};

// The case worked out by hand: 100 Bq in the whole body at 10 days (m = 2^-9/46, SF 1.2) and
// 50 Bq/d in urine at 3 days (m = 2^-9/29, SF 1.8). Weights 30.083 and 2.8944; ln I their mean
// of ln(M/m): I = 2.128E6 Bq, s = 1/sqrt(32.978), range 1.513E6 to 2.994E6 Bq; chi-square 3.519
// with 1 degree of freedom, p = 0.06066 (just above 0.05); dose 2.128E6 x 9E-10 = 1.915E-3 Sv.
TEST_F(IntakeAssessmentViewTest, TypedMeasurementsOnTheBioassayPagesIntakeGiveTheHandWorkedIntake)
{
    start();
    // The bioassay page's intake is taken when the page is first opened.
    form->mainTabs()->setCurrentIndex(1);
    BioassayParts bioassay(*form->bioassayPage());
    pickComboItem(bioassay.sizeBox, QStringLiteral("10"));
    pickComboItem(bioassay.sizeBox, QStringLiteral("5"));
    openPage();
    EXPECT_EQ(parts->intakeChooser->selection().name(), QStringLiteral("Co-60"));
    EXPECT_EQ(parts->routeBox->currentText(), QStringLiteral("Inhalation"));
    EXPECT_EQ(parts->materialBox->currentText(), bioassay.materialBox->currentText());
    EXPECT_EQ(parts->sizeBox->currentText(), QStringLiteral("5"));
    EXPECT_TRUE(parts->results->text().startsWith(QStringLiteral("Add the worker's measurements")));

    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 2);
    // A new row starts on the first compartment with data, its usual SF, no time and no value.
    EXPECT_EQ(grid->cells(CompartmentColumn, 1), QStringLiteral("Whole Body"));
    EXPECT_EQ(grid->cells(Sf, 1), QStringLiteral("1.2"));
    EXPECT_TRUE(grid->cells(Note, 1).startsWith(QStringLiteral("the value is not a positive number")));
    typeInCell(Time, 1, QStringLiteral("10"));
    typeInCell(Value, 1, QStringLiteral("100"));
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    // Urine is offered (only the compartments with data are) and takes its own SF.
    pickInCell(CompartmentColumn, 2, QStringLiteral("Urine (24-hour sample)"));
    EXPECT_EQ(grid->cells(Sf, 2), QStringLiteral("1.8"));
    typeInCell(Time, 2, QStringLiteral("3"));
    typeInCell(Value, 2, QStringLiteral("50"));

    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(grid->cells(Predicted, 1), QStringLiteral("90.36"));
    EXPECT_EQ(grid->cells(Ratio, 1), QStringLiteral("1.107"));
    EXPECT_EQ(grid->cells(Predicted, 2), QStringLiteral("143.3"));
    EXPECT_EQ(grid->cells(Ratio, 2), QStringLiteral("0.3488"));
    const QString results = parts->results->text();
    EXPECT_TRUE(results.contains(QStringLiteral("Intake <b>2.128E6</b> Bq (95 % range 1.513E6 to 2.994E6 Bq)")))
        << results.toStdString();
    EXPECT_TRUE(results.contains(QStringLiteral("Committed effective dose <b>1.915E-3</b> Sv")));
    EXPECT_TRUE(results.contains(QStringLiteral("the measurements agree with the model")));

    EXPECT_EQ(copiedLine(QStringLiteral("Intake, Bq")), QStringLiteral("2.128E6"));
    EXPECT_EQ(copiedLine(QStringLiteral("95% range, Bq")), QStringLiteral("1.513E6\t2.994E6"));
    EXPECT_EQ(copiedLine(QStringLiteral("Committed effective dose, Sv")), QStringLiteral("1.915E-3"));
    EXPECT_EQ(copiedLine(QStringLiteral("Chi-square")), QStringLiteral("3.519\t1 degrees of freedom"));
    EXPECT_EQ(copiedLine(QStringLiteral("Urine (24-hour sample)")), QStringLiteral("3\t50\t143.3\t0.3488\t1.8"));
    EXPECT_EQ(copiedLine(QStringLiteral("p-value")), QStringLiteral("6.066E-2"));
    EXPECT_EQ(copiedLine(QStringLiteral("Verdict")), QStringLiteral("the measurements agree with the model"));
    EXPECT_TRUE(copied().startsWith(QStringLiteral("Radionuclide\tCo-60\r\nRoute of Intake\tInhalation\r\n")));
    // The 10 µm aerosol's functions are half the 5 µm one's: twice the intake.
    pickComboItem(parts->sizeBox, QStringLiteral("10"));
    EXPECT_EQ(copiedLine(QStringLiteral("Intake, Bq")), QStringLiteral("4.256E6"));
    EXPECT_EQ(copiedLine(QStringLiteral("AMTD/AMAD, \u00B5m")), QStringLiteral("10"));
    pickComboItem(parts->sizeBox, QStringLiteral("5"));

    // A value below its limit: the mark set by "<", the value the limit.
    typeInCell(Value, 2, QStringLiteral("<50"));
    EXPECT_EQ(grid->cells(BelowLimit, 2), QStringLiteral("yes"));
    EXPECT_TRUE(view->measurements()[1].measurement.belowLimit);
    EXPECT_EQ(view->measurements()[1].measurement.value, 50);
    EXPECT_TRUE(parts->results->text().contains(QStringLiteral("One measured value")));
    // Removing the whole-body row leaves only the limit: the intake is below 50 / (2^-9/29).
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(Time, 1).center());
    QTest::mouseClick(parts->removeButton, Qt::LeftButton);
    ASSERT_EQ(view->measurements().size(), 1U);
    EXPECT_TRUE(parts->results->text().contains(QStringLiteral("Intake below <b>7.424E5</b> Bq")))
        << parts->results->text().toStdString();
    EXPECT_EQ(copiedLine(QStringLiteral("Committed effective dose below, Sv")), QStringLiteral("6.682E-4"));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(IntakeAssessmentViewTest, ValuesAreTypedAndShownInTheBioassayContentUnit)
{
    start("DPUMContentActivityUnit=9\nDPUMIntakeActivityUnit=10\nDPUMDoseUnit=5\n"); // kBq, MBq, mSv
    openPage();
    paste(QStringLiteral("whole-body\t10\t0.1\nurine\t3\t0.05\n"));
    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(view->measurements()[0].measurement.value, 100);
    EXPECT_EQ(grid->cells(Value, 1), QStringLiteral("0.1"));
    EXPECT_EQ(grid->cells(Predicted, 1), QStringLiteral("9.036E-2"));
    EXPECT_TRUE(grid->cells(Value, 0).startsWith(QStringLiteral("Measured, kBq")));
    EXPECT_TRUE(parts->results->text().contains(QStringLiteral("Intake <b>2.128</b> MBq")))
        << parts->results->text().toStdString();
    EXPECT_TRUE(parts->results->text().contains(QStringLiteral("Committed effective dose <b>1.915</b> mSv")));
}

TEST_F(IntakeAssessmentViewTest, RowsThatCannotBeUsedSayWhyAndKeepWhatWasTyped)
{
    start();
    openPage();
    paste(QStringLiteral("Whole Body\t10\t100\nurine\t3\t50\nlungs\t2026-03-10\t5\n"));
    ASSERT_EQ(view->measurements().size(), 3U);
    const QString intake = copiedLine(QStringLiteral("Intake, Bq"));
    // A dated row needs the intake's date.
    EXPECT_TRUE(grid->cells(Note, 3).contains(QStringLiteral("the intake's date is not said")));
    EXPECT_EQ(copiedLine(QStringLiteral("Intake, Bq")), intake);

    struct Case {
        int col;
        const char* typed;
        const char* reason;
    } cases[] = {
        {Value, "abc", "the value is not a positive number"},
        {Value, "-4", "the value is not a positive number"},
        {Sf, "1", "the scattering factor must be above 1"},
        {Time, "0.01", "the time is before the first time of the data"},
        {Time, "soon", "the measurement is dated, but the intake's date is not said"},
        {Time, "99999", "the time is after the last time of the data"},
    };
    for (const Case& c : cases) {
        typeInCell(c.col, 2, QString::fromLatin1(c.typed));
        EXPECT_EQ(grid->cells(c.col, 2), QString::fromLatin1(c.typed)) << c.typed;
        EXPECT_TRUE(grid->cells(Note, 2).startsWith(QLatin1String(c.reason)))
            << c.typed << ": " << grid->cells(Note, 2).toStdString();
        EXPECT_EQ(grid->cells(Predicted, 2), QStringLiteral("-")) << c.typed;
        // The whole-body row alone: 100 / (2^-9/46).
        EXPECT_EQ(copiedLine(QStringLiteral("Intake, Bq")), QStringLiteral("2.355E6")) << c.typed;
        EXPECT_TRUE(parts->results->text().contains(QStringLiteral("Measurement 2 is not used")));
        // Mended again for the next case.
        typeInCell(Time, 2, QStringLiteral("3"));
        typeInCell(Value, 2, QStringLiteral("50"));
        typeInCell(Sf, 2, QStringLiteral("1.8"));
    }
    EXPECT_EQ(copiedLine(QStringLiteral("Intake, Bq")), QStringLiteral("2.128E6"));

    // The intake's date: the lungs sample of 10 March is 4 days after 6 March, and counts.
    pickComboItem(parts->intakeDateKindBox, QStringLiteral("on"));
    parts->intakeDateEdit->setFocus();
    QTest::keyClick(parts->intakeDateEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(parts->intakeDateEdit, QStringLiteral("2026-03-06"));
    EXPECT_EQ(view->intakeDate().date, QDate(2026, 3, 6));
    EXPECT_EQ(grid->cells(Note, 3), QStringLiteral("4 days after intake"));
    EXPECT_EQ(copiedLine(QStringLiteral("Lungs*")).section(u'\t', 0, 1), QStringLiteral("4\t5"));
    // An intake after the sample.
    QTest::keyClick(parts->intakeDateEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(parts->intakeDateEdit, QStringLiteral("2026-03-12"));
    EXPECT_EQ(grid->cells(Note, 3), QStringLiteral("the measurement is dated before the intake"));
    // Unknown between 1 and 11 March: the midpoint, 6 March, is taken and said.
    QTest::keyClick(parts->intakeDateEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(parts->intakeDateEdit, QStringLiteral("2026-03-01"));
    pickComboItem(parts->intakeDateKindBox, QStringLiteral("unknown, between"));
    ASSERT_TRUE(parts->latestDateEdit->isVisible());
    parts->latestDateEdit->setFocus();
    QTest::keyClick(parts->latestDateEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(parts->latestDateEdit, QStringLiteral("2026-03-11"));
    EXPECT_EQ(view->intakeDate().latest, QDate(2026, 3, 11));
    EXPECT_EQ(grid->cells(Note, 3), QStringLiteral("4 days after intake"));
    EXPECT_TRUE(parts->results->text().contains(QStringLiteral("the midpoint, 2026-03-06, is taken")));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(IntakeAssessmentViewTest, ThePastedTextThatCannotBeReadIsNamedAndNothingIsAdded)
{
    start();
    openPage();
    paste(QStringLiteral("urine\t3\t50\nblood\t3\t50\n"));
    ASSERT_EQ(messages.boxes.size(), 1U);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("line 2: \"blood\" is not a compartment")));
    EXPECT_TRUE(view->measurements().empty());
}

TEST_F(IntakeAssessmentViewTest, TheChartShowsTheFittedCurveMeasurementsAndLimits)
{
    start();
    openPage();
    paste(QStringLiteral("whole-body\t10\t100\nwhole-body\t3\t<200\nurine\t3\t50\n"));
    const Chart& chart = parts->chart->chartControl();
    QStringList titles;
    for (int s = 0; s < chart.seriesCount(); ++s)
        titles << chart.seriesAt(s).title;
    EXPECT_EQ(titles,
              (QStringList{"Whole Body, predicted", "Whole Body, measured", "Whole Body, below the detection limit",
                           "Urine (24-hour sample), predicted", "Urine (24-hour sample), measured"}));
    const ChartSeries& curve = chart.seriesAt(0);
    EXPECT_FALSE(curve.markersVisible);
    EXPECT_TRUE(curve.lineVisible);
    // The curve is the intake times m(t): at 10 days it passes through the predicted value.
    const double intake = view->assessment().intakeBq;
    const auto atTenDays
        = std::find_if(curve.points.begin(), curve.points.end(), [](const QPointF& p) { return p.x() == 10; });
    ASSERT_NE(atTenDays, curve.points.end());
    EXPECT_DOUBLE_EQ(atTenDays->y(), intake * double(float(std::pow(0.5, 9)) / 46.0F));
    EXPECT_EQ(chart.seriesAt(1).points, (std::vector<QPointF>{{10, 100}}));
    EXPECT_FALSE(chart.seriesAt(1).upperLimits);
    EXPECT_EQ(chart.seriesAt(2).points, (std::vector<QPointF>{{3, 200}}));
    EXPECT_TRUE(chart.seriesAt(2).upperLimits);
    EXPECT_TRUE(chart.bottomAxis().logarithmic());
    EXPECT_TRUE(chart.leftAxis().logarithmic());
}

TEST_F(IntakeAssessmentViewTest, MeasurementsAreSavedLoadedAndKeptForTheNextRun)
{
    start();
    openPage();
    paste(QStringLiteral("intake\t2026-03-01\nwhole-body\t10\t100\nurine\t2026-03-04\t<50\t2\n"));
    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(view->intakeDate().date, QDate(2026, 3, 1));
    EXPECT_EQ(parts->intakeDateKindBox->currentText(), QStringLiteral("on"));

    const QString saved = data.filePath(QStringLiteral("worker17"));
    view->askSaveFileName = [&saved] { return saved; };
    QTest::mouseClick(parts->saveButton, Qt::LeftButton);
    QFile file(saved + QStringLiteral(".csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("compartment,time,value,sf\n"
                         "intake,2026-03-01\n"
                         "whole-body,10,100,1.2\n"
                         "urine,2026-03-04,<50,2\n"));

    // A damaged file is named and changes nothing.
    const QString damaged = data.filePath(QStringLiteral("damaged.csv"));
    QFile bad(damaged);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("lungs,1,1\nlungs,1\n");
    bad.close();
    view->askOpenFileName = [&damaged] { return damaged; };
    QTest::mouseClick(parts->loadButton, Qt::LeftButton);
    ASSERT_EQ(messages.boxes.size(), 1U);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("line 2: too few fields")));
    EXPECT_EQ(view->measurements().size(), 2U);

    // Clearing asks first; the saved file brings the rows back.
    messages.answer = ButtonNo;
    QTest::mouseClick(parts->clearButton, Qt::LeftButton);
    EXPECT_EQ(view->measurements().size(), 2U);
    messages.answer = ButtonYes;
    QTest::mouseClick(parts->clearButton, Qt::LeftButton);
    EXPECT_TRUE(view->measurements().empty());
    view->askOpenFileName = [&saved] { return saved + QStringLiteral(".csv"); };
    QTest::mouseClick(parts->loadButton, Qt::LeftButton);
    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(view->measurements()[1].date, QDate(2026, 3, 4));
    EXPECT_EQ(grid->cells(Time, 2), QStringLiteral("2026-03-04"));
    EXPECT_EQ(grid->cells(Sf, 2), QStringLiteral("2"));

    // A row still lacking its value is not saved, and not kept at exit.
    QTest::mouseClick(parts->addButton, Qt::LeftButton);
    const std::size_t boxes = messages.boxes.size();
    QTest::mouseClick(parts->saveButton, Qt::LeftButton);
    ASSERT_EQ(messages.boxes.size(), boxes + 1);
    EXPECT_TRUE(messages.boxes.back().text.startsWith(QStringLiteral("Measurement 3 lacks")));
    form->close();
    form.reset();

    start();
    EXPECT_EQ(view->intakeDate().date, QDate(2026, 3, 1));
    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(view->measurements()[0].measurement.value, 100);
    EXPECT_TRUE(view->measurements()[1].measurement.belowLimit);
}

TEST_F(IntakeAssessmentViewTest, AKeptFileThatCannotBeReadIsSaidAndLeftAsItIs)
{
    start();
    form->close();
    form.reset();
    {
        QFile kept(keptPath());
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write("urine,3,12\nurine,\xff\n");
    }
    start();
    ASSERT_EQ(messages.boxes.size(), 1U);
    EXPECT_EQ(messages.boxes[0].kind, MessageKind::Warning);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("not UTF-8")));
    EXPECT_TRUE(view->measurements().empty());
    form->close();
    form.reset();
    QFile kept(keptPath());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("urine,3,12\nurine,\xff\n"));
}

TEST_F(IntakeAssessmentViewTest, TheKeysAddDeleteAndPasteRows)
{
    start();
    openPage();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(view->measurements().size(), 2U);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(view->measurements().size(), 1U);
    paste(QStringLiteral("lungs\t5\t7\n"));
    ASSERT_EQ(view->measurements().size(), 2U);
    EXPECT_EQ(view->measurements()[1].measurement.compartment, Compartment::Lungs);
    EXPECT_EQ(view->measurements()[1].measurement.scatteringFactor, 1.2);
}

} // namespace
} // namespace kav
