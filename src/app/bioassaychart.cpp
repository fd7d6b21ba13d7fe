#include "app/bioassaychart.h"

#include "base/messageboxes.h"
#include "base/savefile.h"
#include "controls/chart.h"
#include "controls/paintedicon.h"
#include "controls/tipwindow.h"
#include "data/bioassaytable.h"
#include "data/intakeassessment.h"
#include "units/units.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kav {

namespace {

struct SeriesLook {
    ChartMarker marker;
    QColor colour;
};

// By the table's columns: whole body, urine, faeces, alimentary tract, lungs, thyroid, skeleton,
// liver.
const SeriesLook kSeriesLooks[CompartmentCount] = {
    {ChartMarker::Square, QColor(0xD0, 0x00, 0x00)},       {ChartMarker::TriangleUp, QColor(0x00, 0x80, 0x00)},
    {ChartMarker::TriangleDown, QColor(0x80, 0x50, 0x00)}, {ChartMarker::Diamond, QColor(0x00, 0x00, 0xD0)},
    {ChartMarker::Hexagon, QColor(0x80, 0x00, 0x80)},      {ChartMarker::Diamond, QColor(0x00, 0x80, 0x80)},
    {ChartMarker::TriangleLeft, QColor(0xE0, 0x60, 0x00)}, {ChartMarker::TriangleRight, QColor(0x50, 0x50, 0x50)},
};

// The power of ten at or below a value (0 for none), and at or above it; a value within a
// relative 1e-5 of a power of ten is that power.
double decadeBelow(double v)
{
    if (!(v > 0))
        return 0;
    double k = std::floor(std::log10(v));
    if (std::abs(v / std::pow(10.0, k + 1) - 1) < 1e-5)
        ++k;
    return std::pow(10.0, k);
}

double decadeAbove(double v)
{
    if (!(v > 0))
        return 0;
    double k = std::ceil(std::log10(v));
    if (std::abs(v / std::pow(10.0, k - 1) - 1) < 1e-5)
        --k;
    return std::pow(10.0, k);
}

QIcon toolIcon(int kind)
{
    return paintedIcon(20, [kind](QPainter& p) {
        const QColor ink(0x20, 0x20, 0x60);
        p.setPen(QPen(ink, 1.3));
        QFont small = p.font();
        small.setPixelSize(9);
        small.setBold(true);
        p.setFont(small);
        switch (kind) {
        case 0: // logarithmic horizontal axis
            p.drawText(QRectF(2, 1, 16, 11), Qt::AlignCenter, QStringLiteral("lg"));
            p.drawLine(QPointF(2, 15), QPointF(18, 15));
            p.drawLine(QPointF(15, 12), QPointF(18, 15));
            p.drawLine(QPointF(15, 18), QPointF(18, 15));
            break;
        case 1: // logarithmic vertical axis
            p.drawText(QRectF(6, 5, 14, 11), Qt::AlignCenter, QStringLiteral("lg"));
            p.drawLine(QPointF(4, 18), QPointF(4, 2));
            p.drawLine(QPointF(1, 5), QPointF(4, 2));
            p.drawLine(QPointF(7, 5), QPointF(4, 2));
            break;
        case 2: // gridlines: 2, 3 horizontal; 4, 5 vertical; 3 and 5 with minor ones
        case 3:
        case 4:
        case 5: {
            const bool vertical = kind >= 4;
            for (int i = 0; i < 3; ++i) {
                const double at = 3 + 7 * i;
                vertical ? p.drawLine(QPointF(at, 2), QPointF(at, 18)) : p.drawLine(QPointF(2, at), QPointF(18, at));
            }
            if (kind == 3 || kind == 5) {
                p.setPen(QPen(ink, 1, Qt::DotLine));
                for (const double at : {6.5, 13.5})
                    vertical ? p.drawLine(QPointF(at, 2), QPointF(at, 18))
                             : p.drawLine(QPointF(2, at), QPointF(18, at));
            }
            break;
        }
        case 6: // automatic scaling
            p.drawRect(QRectF(5, 5, 10, 10));
            for (const QPointF& corner : {QPointF(2, 2), QPointF(18, 2), QPointF(2, 18), QPointF(18, 18)})
                p.drawLine(corner, QPointF(10, 10) + (corner - QPointF(10, 10)) * 0.55);
            break;
        case 7: // legend
            p.drawRect(QRectF(3, 3, 14, 14));
            for (int i = 0; i < 3; ++i) {
                p.fillRect(QRectF(5, 5.5 + 4 * i, 2.5, 2.5), ink);
                p.drawLine(QPointF(9, 7 + 4 * i), QPointF(15, 7 + 4 * i));
            }
            break;
        case 8: // legend over the plot
            p.drawRect(QRectF(2, 2, 16, 16));
            p.fillRect(QRectF(9, 4, 7, 8), Qt::white);
            p.drawRect(QRectF(9, 4, 7, 8));
            p.drawLine(QPointF(4, 16), QPointF(9, 13));
            break;
        case 9: // lines
            p.drawPolyline(QPolygonF({QPointF(2, 16), QPointF(7, 8), QPointF(12, 12), QPointF(18, 3)}));
            for (const QPointF& at : {QPointF(2, 16), QPointF(7, 8), QPointF(12, 12), QPointF(18, 3)})
                p.fillRect(QRectF(at.x() - 1.5, at.y() - 1.5, 3, 3), ink);
            break;
        case 10: // save
            p.drawRect(QRectF(3, 3, 14, 14));
            p.fillRect(QRectF(6, 3, 8, 5), ink);
            p.drawRect(QRectF(6, 11, 8, 6));
            break;
        default: // copy to the clipboard
            p.drawRect(QRectF(4, 4, 12, 14));
            p.fillRect(QRectF(7, 2, 6, 4), ink);
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(7, 9 + 3 * i), QPointF(13, 9 + 3 * i));
            break;
        }
    });
}

} // namespace

BioassayChart::BioassayChart(MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , m_boxes(boxes)
    , m_tip(std::make_unique<TipWindow>())
{
    askSaveFileName = [this](const QStringList& filters, QString& chosen) {
        return QFileDialog::getSaveFileName(this, QString(), QString(), filters.join(QStringLiteral(";;")), &chosen);
    };
    m_chart = new Chart(this);
    m_chart->setObjectName(QStringLiteral("chartControl"));
    m_chart->bottomAxis().setLogarithmic(true);
    m_chart->leftAxis().setLogarithmic(true);
    m_chart->bottomAxis().setMinMax(0.01, 10000);
    m_chart->bottomAxis().labelFormat = QStringLiteral("0.#######E-#");
    m_chart->leftAxis().labelFormat = QStringLiteral("0.######E-#");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buildToolBar());
    layout->addWidget(m_chart, 1);
    connectChart();
    applyGrids();
    linesClicked();
}

BioassayChart::~BioassayChart() = default;

QLayout* BioassayChart::buildToolBar()
{
    auto* bar = new QHBoxLayout;
    bar->setSpacing(1);
    int kind = 0;
    auto button = [&](QToolButton*& into, const char* name, const char* hint, bool checkable, bool down) {
        into = new QToolButton(this);
        into->setObjectName(QLatin1String(name));
        into->setIcon(toolIcon(kind++));
        into->setIconSize(QSize(20, 20));
        into->setFixedSize(24, 24);
        into->setAutoRaise(true);
        into->setToolTip(QString::fromLatin1(hint));
        into->setCheckable(checkable);
        into->setChecked(down);
        bar->addWidget(into);
    };
    button(m_horizontalLogButton, "logXButton", "Logarithmic/linear horizontal axis", true, true);
    button(m_verticalLogButton, "logYButton", "Logarithmic/linear vertical axis", true, true);
    bar->addSpacing(6);
    button(m_horizontalGridButton, "hGridButton", "Horizontal major gridlines", true, true);
    button(m_horizontalMinorGridButton, "hMinorGridButton", "Horizontal major&minor gridlines", true, false);
    button(m_verticalGridButton, "vGridButton", "Vertical major gridlines", true, true);
    button(m_verticalMinorGridButton, "vMinorGridButton", "Vertical major&minor gridlines", true, false);
    bar->addSpacing(6);
    button(m_autoScaleButton, "autoScaleButton", "Auto-scaling", true, true);
    button(m_legendButton, "legendButton", "Legend", true, true);
    button(m_legendOverButton, "legendOverPlotButton", "Legend is over Plot Area", true, false);
    button(m_linesButton, "linesButton", "Show lines", true, false);
    bar->addSpacing(6);
    button(m_saveButton, "saveButton", "Save chart to file", false, false);
    button(m_copyButton, "copyButton", "Copy chart to Clipboard", false, false);
    bar->addStretch(1);

    connect(m_horizontalLogButton, &QToolButton::clicked, this, [this] { horizontalLogClicked(); });
    connect(m_verticalLogButton, &QToolButton::clicked, this, [this] { verticalLogClicked(); });
    // The two buttons of a grid pair exclude each other; each may also be released.
    for (auto [one, other] : {std::pair{m_horizontalGridButton, m_horizontalMinorGridButton},
                              std::pair{m_verticalGridButton, m_verticalMinorGridButton}}) {
        for (auto [clicked, partner] : {std::pair{one, other}, std::pair{other, one}})
            connect(clicked, &QToolButton::clicked, this, [this, clicked = clicked, partner = partner] {
                if (clicked->isChecked())
                    partner->setChecked(false);
                applyGrids();
            });
    }
    connect(m_autoScaleButton, &QToolButton::clicked, this, [this] {
        if (m_autoScaleButton->isChecked())
            autoScaleChart();
    });
    connect(m_legendButton, &QToolButton::clicked, this, [this] {
        m_chart->legendVisible = m_legendButton->isChecked();
        m_chart->update();
    });
    connect(m_legendOverButton, &QToolButton::clicked, this, [this] {
        m_chart->legendOverPlot = m_legendOverButton->isChecked();
        m_chart->update();
    });
    connect(m_linesButton, &QToolButton::clicked, this, [this] { linesClicked(); });
    connect(m_saveButton, &QToolButton::clicked, this, [this] { saveClicked(); });
    connect(m_copyButton, &QToolButton::clicked, this, [this] { copyClicked(); });
    return bar;
}

void BioassayChart::connectChart()
{
    Chart& c = *m_chart;
    c.onMouseDown = [this] {
        m_saveXMin = m_chart->bottomAxis().minimum();
        m_saveXMax = m_chart->bottomAxis().maximum();
        m_saveYMin = m_chart->leftAxis().minimum();
        m_saveYMax = m_chart->leftAxis().maximum();
    };
    c.onZoom = [this] { chartZoomed(); };
    c.onUndoZoom = [this] { autoScaleChart(); };
    c.onScroll = [this] { m_autoScaleButton->setChecked(false); };
    // A scroll stops where it would leave no point in sight.
    c.onAllowScroll = [this](const Chart::Ranges& ranges, bool& allow) { allow = m_chart->showsAPointWithin(ranges); };
    c.onClickLegend = [this] {
        if (m_autoScaleButton->isChecked())
            autoScaleChart();
    };
    c.onClickSeries = [this](int series, int index, QPoint at) { showPointTip(series, index, at); };
}

void BioassayChart::applyGrids()
{
    ChartAxis& left = m_chart->leftAxis();
    left.majorGrid = m_horizontalGridButton->isChecked() || m_horizontalMinorGridButton->isChecked();
    left.minorGrid = m_horizontalMinorGridButton->isChecked();
    ChartAxis& bottom = m_chart->bottomAxis();
    bottom.majorGrid = m_verticalGridButton->isChecked() || m_verticalMinorGridButton->isChecked();
    bottom.minorGrid = m_verticalMinorGridButton->isChecked();
    m_chart->update();
}

void BioassayChart::showTable(const BioassayTable& table, const QString& axisTitle)
{
    std::vector<ChartSeries> series(CompartmentCount);
    for (int k = 0; k < CompartmentCount; ++k) {
        const BioassayColumn& column = table.columns[static_cast<std::size_t>(k)];
        ChartSeries& s = series[static_cast<std::size_t>(k)];
        s.marker = kSeriesLooks[k].marker;
        s.color = kSeriesLooks[k].colour;
        const bool shown = table.hasData && column.present;
        s.points = shown ? column.points : std::vector<QPointF>();
        s.title = shown ? column.title : sourceOrganName(column.organ);
        s.active = shown;
        s.inLegend = shown;
    }
    showSeries(std::move(series), axisTitle, table.hasData ? table.timeTitle : QString());
}

void BioassayChart::showAssessment(const IntakeAssessment& assessment, const MaterialBioassay& functions,
                                   double bqPerUnit, const QString& axisTitle)
{
    std::vector<ChartSeries> series;
    for (int k = 0; k < CompartmentCount; ++k) {
        const Compartment organ = sourceOrgansInColumnOrder()[k];
        ChartSeries measured;
        measured.marker = kSeriesLooks[k].marker;
        measured.color = kSeriesLooks[k].colour;
        measured.markerSize = 8;
        ChartSeries limits = measured;
        limits.upperLimits = true;
        for (const AssessedMeasurement& row : assessment.rows)
            if (row.refusal.isEmpty() && row.measurement.compartment == organ)
                (row.measurement.belowLimit ? limits : measured)
                    .points.emplace_back(row.measurement.days, row.measurement.value / bqPerUnit);
        if (measured.points.empty() && limits.points.empty())
            continue;
        ChartSeries curve = measured;
        curve.title = sourceOrganName(organ) + QStringLiteral(", predicted");
        curve.markersVisible = false;
        curve.lineVisible = true;
        curve.points.clear();
        // The curve down to a ten-thousandth of the smallest value, so that the decades of the
        // measurements keep the room.
        double smallest = std::numeric_limits<double>::infinity();
        for (const ChartSeries* s : {&measured, &limits})
            for (const QPointF& p : s->points)
                smallest = std::min(smallest, p.y());
        for (const QPointF& p :
             fittedContent(functions.m_activityData[ordinal(organ)], assessment.intakeBq / bqPerUnit))
            if (p.y() >= smallest * 1e-4)
                curve.points.push_back(p);
        measured.title = sourceOrganName(organ) + QStringLiteral(", measured");
        limits.title = sourceOrganName(organ) + QStringLiteral(", below the detection limit");
        for (ChartSeries* s : {&curve, &measured, &limits})
            if (!s->points.empty())
                series.push_back(std::move(*s));
    }
    showSeries(std::move(series), axisTitle, QStringLiteral("Days after intake"));
}

void BioassayChart::showSeries(std::vector<ChartSeries> series, const QString& axisTitle, const QString& timeTitle)
{
    const bool hasData = std::any_of(series.begin(), series.end(), [](const ChartSeries& s) { return s.active; });
    m_chart->replaceSeries(std::move(series));
    m_chart->leftAxis().title = axisTitle;
    if (!timeTitle.isEmpty())
        m_chart->bottomAxis().title = timeTitle;
    linesClicked();
    if (hasData)
        autoScaleChart();
    else
        m_chart->refresh();
}

void BioassayChart::autoScaleChart()
{
    ChartAxis& bottom = m_chart->bottomAxis();
    ChartAxis& left = m_chart->leftAxis();
    const auto data = m_chart->dataExtent(true);
    if ((bottom.logarithmic() || left.logarithmic()) && data) {
        bottom.logarithmic() ? bottom.setMinMax(data->xMin, data->xMax) : bottom.setAutomatic(true);
        left.logarithmic() ? left.setMinMax(data->yMin, data->yMax) : left.setAutomatic(true);
    } else {
        bottom.setAutomatic(true);
        left.setAutomatic(true);
    }
    m_chart->refresh();
    chartZoomed();
    m_autoScaleButton->setChecked(true);
}

void BioassayChart::chartZoomed()
{
    // A logarithmic axis widens to whole decades; a linear one that shrank to nothing goes back.
    auto fitted = [](const ChartAxis& axis, double savedMin, double savedMax, bool bottom) {
        const double lo = axis.minimum();
        const double hi = axis.maximum();
        if (axis.logarithmic()) {
            double low = decadeBelow(lo);
            double high = decadeAbove(hi);
            if (low == 0 && bottom)
                low = 0.01;
            if (low >= high)
                high = 10 * std::max(low, 1e-300);
            return std::pair{low, high};
        }
        const double size = lo != 0 ? std::abs(lo) : std::abs(hi);
        const double relative = size == 0 ? 0 : std::abs(hi - lo) / size;
        return relative < 1e-4 ? std::pair{savedMin, savedMax} : std::pair{lo, hi};
    };
    const auto [xMin, xMax] = fitted(m_chart->bottomAxis(), m_saveXMin, m_saveXMax, true);
    const auto [yMin, yMax] = fitted(m_chart->leftAxis(), m_saveYMin, m_saveYMax, false);
    // A zoom that would show no point is undone; an axis that keeps its range stays as it is
    // (automatic, when it was).
    if (m_chart->showsAPointWithin({xMin, xMax, yMin, yMax})) {
        for (auto [axis, lo, hi] :
             {std::tuple{&m_chart->bottomAxis(), xMin, xMax}, std::tuple{&m_chart->leftAxis(), yMin, yMax}})
            if (lo != axis->minimum() || hi != axis->maximum())
                axis->setMinMax(lo, hi);
    } else {
        m_chart->bottomAxis().setMinMax(m_saveXMin, m_saveXMax);
        m_chart->leftAxis().setMinMax(m_saveYMin, m_saveYMax);
    }
    m_chart->refresh();
    m_autoScaleButton->setChecked(false);
}

void BioassayChart::horizontalLogClicked()
{
    ChartAxis& axis = m_chart->bottomAxis();
    const bool logarithmic = m_horizontalLogButton->isChecked();
    if (logarithmic && axis.minimum() <= 0)
        axis.setMinMax(0.01, axis.maximum() < 0.01 ? 0.1 : axis.maximum());
    axis.setLogarithmic(logarithmic);
    m_autoScaleButton->isChecked() ? autoScaleChart() : chartZoomed();
}

void BioassayChart::verticalLogClicked()
{
    ChartAxis& axis = m_chart->leftAxis();
    const bool logarithmic = m_verticalLogButton->isChecked();
    if (logarithmic && axis.minimum() <= 0) {
        const auto data = m_chart->dataExtent(true);
        const double minimum = data ? data->yMin : 0.01;
        axis.setMinMax(minimum, axis.maximum() < minimum ? 10 * minimum : axis.maximum());
    }
    axis.setLogarithmic(logarithmic);
    m_autoScaleButton->isChecked() ? autoScaleChart() : chartZoomed();
}

void BioassayChart::linesClicked()
{
    // A curve is its line; the tool bar joins the markers of the others.
    for (int s = 0; s < m_chart->seriesCount(); ++s)
        if (m_chart->seriesAt(s).markersVisible)
            m_chart->seriesAt(s).lineVisible = m_linesButton->isChecked();
    m_chart->update();
}

void BioassayChart::showPointTip(int series, int index, QPoint globalPosition)
{
    const ChartSeries& s = m_chart->seriesAt(series);
    const QPointF& point = s.points.at(static_cast<std::size_t>(index));
    const QString x = formatDecimals(point.x(), 6);
    const QString y = formatScientific(point.y(), 2);
    const QString title = s.title.toHtmlEscaped();
    const QString text = QStringLiteral("<p align=\"center\"><b>") + title
        + QStringLiteral("</b></p><p align=\"center\">X: <b>") + x + QStringLiteral("</b>; Y: <b>") + y
        + QStringLiteral("</b></p>");
    const QFontMetrics metrics(m_chart->font());
    const int width = std::max(metrics.horizontalAdvance(s.title),
                               metrics.horizontalAdvance(QStringLiteral("X:") + x + QStringLiteral("Y: ") + y))
        + 40;
    m_tip->showMarkupTip(text, globalPosition, true, width);
}

void BioassayChart::saveClicked()
{
    QStringList filters;
    for (int f = 0; f < ChartPictureFormatCount; ++f)
        filters << chartPictureFilter(static_cast<ChartPictureFormat>(f));
    QString chosen = filters.front();
    QString fileName = askSaveFileName(filters, chosen);
    if (fileName.isEmpty())
        return;
    const auto format = static_cast<ChartPictureFormat>(std::max<qsizetype>(filters.indexOf(chosen), 0));
    // The chosen entry's extension is added unless the name has it already.
    const QString extension = QStringLiteral(".") + chartPictureExtension(format);
    if (!fileName.endsWith(extension, Qt::CaseInsensitive))
        fileName += extension;
    savePicture(fileName, format);
}

void BioassayChart::savePicture(const QString& fileName, ChartPictureFormat format)
{
    const QByteArray bytes = chartPictureBytes(*m_chart, format);
    QString error = QStringLiteral("the picture could not be made");
    if (!bytes.isEmpty() && saveFileAtomically(fileName, bytes, &error))
        return;
    m_boxes.show(MessageKind::Error, QStringLiteral("Error"),
                 QStringLiteral("The chart could not be saved to ") + fileName + QStringLiteral(": ") + error, ButtonOk,
                 ButtonOk);
}

void BioassayChart::copyClicked()
{
    QDialog dialog(this, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QStringLiteral("Copy to clipboard"));
    auto* group = new QGroupBox(QStringLiteral("Format"), &dialog);
    auto* choices = new QButtonGroup(&dialog);
    auto* column = new QVBoxLayout(group);
    const std::pair<const char*, ChartPictureFormat> formats[] = {{"&Metafile", ChartPictureFormat::Wmf},
                                                                  {"&Enhanced metafile", ChartPictureFormat::Emf},
                                                                  {"&Bitmap", ChartPictureFormat::Bmp}};
    for (const auto& [caption, format] : formats) {
        auto* choice = new QRadioButton(QString::fromLatin1(caption), group);
        choices->addButton(choice, static_cast<int>(format));
        column->addWidget(choice);
    }
    choices->button(static_cast<int>(ChartPictureFormat::Emf))->setChecked(true);
    // The keys start on the format that is checked.
    choices->button(static_cast<int>(ChartPictureFormat::Emf))->setFocus();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(group);
    layout->addWidget(buttons);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    QApplication::clipboard()->setMimeData(
        chartClipboardData(*m_chart, static_cast<ChartPictureFormat>(choices->checkedId())));
}

} // namespace kav
