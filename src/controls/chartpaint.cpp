// The drawing of a chart: its layout in an area, grid, axes, series and legend. Everything is
// drawn with lines, polygons, rectangles and text, so that every paint device gets vectors.
#include "controls/chart.h"

#include <QPainter>

#include <cmath>

namespace kav {

namespace {

constexpr int kTickLength = 4;
constexpr int kLeftLabelWidth = 50;
constexpr int kLeftTitleGap = 10;
constexpr int kLegendCheckSize = 11;
constexpr int kLegendMarkerHalf = 4;
const QColor kMajorGridColour(0xA0, 0xA0, 0xA0);
const QColor kMinorGridColour(0xC0, 0xC0, 0xC0); // silver

// Cuts a segment to a rectangle (Liang-Barsky); false when nothing of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = start + t0 * QPointF(dx, dy);
    b = start + t1 * QPointF(dx, dy);
    return true;
}

bool usable(const TQzChartAxis& axis, double v)
{
    return std::isfinite(v) && (!axis.Logarithmic() || v > 0);
}

} // namespace

struct TQzChart::TLayout {
    QRect area;
    QRectF plot;
    QRectF legend;
    std::vector<std::pair<int, QRectF>> legendRows; // series and its row
    int rowHeight = 0;
    int wantedX = 5;
    int wantedY = 5;
};

TQzChart::TLayout TQzChart::Layout(const QRect& area, const QFontMetrics& metrics) const
{
    TLayout l;
    l.area = area;
    const int fh = metrics.height();
    l.rowHeight = std::max(fh, kLegendCheckSize) + 4;
    int legendWidth = 0;
    int rows = 0;
    if (LegendVisible)
        for (const TQzChartSeries& s : FSeries)
            if (s.InLegend) {
                legendWidth = std::max(legendWidth, metrics.horizontalAdvance(s.Title));
                ++rows;
            }
    if (rows > 0)
        legendWidth += kLegendCheckSize + 2 * kLegendMarkerHalf + 24;

    const int left = 6 + (FLeft.Title.isEmpty() ? 0 : fh + kLeftTitleGap) + kLeftLabelWidth + kTickLength + 2;
    const int bottom = kTickLength + 3 + fh + (FBottom.Title.isEmpty() ? 0 : fh + 4) + 6;
    const int top = 10 + fh / 2;
    const int right = 14 + (rows > 0 && !LegendOverPlot ? legendWidth + 10 : 0);
    l.plot = QRectF(area.left() + left, area.top() + top, std::max(area.width() - left - right, 20),
                    std::max(area.height() - top - bottom, 20));
    if (rows > 0) {
        const double x = LegendOverPlot ? l.plot.right() - 6 - legendWidth : l.plot.right() + 10;
        l.legend = QRectF(x, area.top() + LegendTop, legendWidth, rows * l.rowHeight + 4);
        int row = 0;
        for (int s = 0; s < SeriesCount(); ++s)
            if (Series(s).InLegend)
                l.legendRows.emplace_back(s, QRectF(x + 2, l.legend.top() + 2 + row++ * l.rowHeight, legendWidth - 4, l.rowHeight));
    }
    l.wantedX = std::max(2, static_cast<int>(l.plot.width() / 40));
    l.wantedY = std::max(2, static_cast<int>(l.plot.height() / 40));
    return l;
}

QRectF TQzChart::PlotRect(const QRect& area) const
{
    return Layout(area, fontMetrics()).plot;
}

std::optional<int> TQzChart::LegendEntryAt(QPoint position) const
{
    for (const auto& [series, row] : Layout(rect(), fontMetrics()).legendRows)
        if (row.contains(position))
            return series;
    return std::nullopt;
}

void TQzChart::Paint(QPainter& p, const QRect& area) const
{
    p.save();
    p.setFont(font());
    const TLayout layout = Layout(area, QFontMetrics(font(), p.device()));
    p.fillRect(area, Qt::white);
    PaintGrid(p, layout);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(layout.plot);
    PaintSeries(p, layout);
    PaintAxes(p, layout);
    PaintLegend(p, layout);
    p.restore();
}

void TQzChart::PaintGrid(QPainter& p, const TLayout& l) const
{
    const QRectF& plot = l.plot;
    auto lines = [&](const TQzChartAxis& axis, const std::vector<double>& ticks) {
        for (double v : ticks) {
            const QPointF at = axis.Place() == TQzChartAxis::apBottom ? ToPixel(plot, v, FLeft.DrawnMinimum())
                                                                       : ToPixel(plot, FBottom.DrawnMinimum(), v);
            if (axis.Place() == TQzChartAxis::apBottom && at.x() > plot.left() && at.x() < plot.right())
                p.drawLine(QLineF(at.x(), plot.top(), at.x(), plot.bottom()));
            if (axis.Place() == TQzChartAxis::apLeft && at.y() > plot.top() && at.y() < plot.bottom())
                p.drawLine(QLineF(plot.left(), at.y(), plot.right(), at.y()));
        }
    };
    for (const TQzChartAxis* axis : {&FBottom, &FLeft}) {
        const int wanted = axis == &FBottom ? l.wantedX : l.wantedY;
        if (axis->MinorGrid) {
            p.setPen(QPen(kMinorGridColour, 1, Qt::DashLine));
            lines(*axis, axis->MinorTicks(wanted));
        }
        if (axis->MajorGrid) {
            p.setPen(QPen(kMajorGridColour, 1));
            lines(*axis, axis->MajorTicks(wanted));
        }
    }
}

void TQzChart::PaintAxes(QPainter& p, const TLayout& l) const
{
    const QRectF& plot = l.plot;
    const QFontMetrics metrics(font(), p.device());
    p.setPen(QPen(Qt::black, 1));
    // Bottom: ticks and labels under the plot, a label only where it has room.
    double lastRight = -1e9;
    for (double v : FBottom.MajorTicks(l.wantedX)) {
        const double x = ToPixel(plot, v, FLeft.DrawnMinimum()).x();
        p.drawLine(QLineF(x, plot.bottom(), x, plot.bottom() + kTickLength));
        const QString text = AxisLabel(FBottom, v);
        const double width = metrics.horizontalAdvance(text);
        if (x - width / 2 < lastRight + 4)
            continue;
        p.drawText(QPointF(x - width / 2, plot.bottom() + kTickLength + 2 + metrics.ascent()), text);
        lastRight = x + width / 2;
    }
    // Left: ticks and labels right-aligned in their column.
    double lastTop = 1e9;
    for (double v : FLeft.MajorTicks(l.wantedY)) {
        const double y = ToPixel(plot, FBottom.DrawnMinimum(), v).y();
        p.drawLine(QLineF(plot.left() - kTickLength, y, plot.left(), y));
        const QString text = AxisLabel(FLeft, v);
        if (y + metrics.height() / 2.0 > lastTop)
            continue;
        const double width = metrics.horizontalAdvance(text);
        p.drawText(QPointF(plot.left() - kTickLength - 2 - width, y + metrics.ascent() - metrics.height() / 2.0), text);
        lastTop = y - metrics.height() / 2.0;
    }
    if (!FBottom.Title.isEmpty()) {
        const double width = metrics.horizontalAdvance(FBottom.Title);
        p.drawText(QPointF(plot.center().x() - width / 2, plot.bottom() + kTickLength + 6 + metrics.height() + metrics.ascent()),
                   FBottom.Title);
    }
    if (!FLeft.Title.isEmpty()) {
        // Written upwards, centred on the plot's height; cut to it when longer.
        const QString title = metrics.elidedText(FLeft.Title, Qt::ElideRight, static_cast<int>(plot.height()));
        const double width = metrics.horizontalAdvance(title);
        const double x = plot.left() - kTickLength - 2 - kLeftLabelWidth - kLeftTitleGap - metrics.descent();
        p.save();
        p.translate(x, plot.center().y() + width / 2);
        p.rotate(-90);
        p.drawText(QPointF(0, 0), title);
        p.restore();
    }
}

void TQzChart::PaintSeries(QPainter& p, const TLayout& l) const
{
    const QRectF& plot = l.plot;
    for (int s = 0; s < SeriesCount(); ++s) {
        const TQzChartSeries& series = Series(s);
        if (!series.Active)
            continue;
        if (series.LineVisible && series.Points.size() > 1) {
            p.setPen(QPen(series.Color, 1));
            p.setBrush(Qt::NoBrush);
            QPolygonF run;
            auto flush = [&] {
                if (run.size() > 1)
                    p.drawPolyline(run);
                run.clear();
            };
            for (std::size_t i = 1; i < series.Points.size(); ++i) {
                const QPointF& u = series.Points[i - 1];
                const QPointF& v = series.Points[i];
                if (!usable(FBottom, u.x()) || !usable(FLeft, u.y()) || !usable(FBottom, v.x()) || !usable(FLeft, v.y())) {
                    flush();
                    continue;
                }
                QPointF a = ToPixel(plot, u.x(), u.y());
                QPointF b = ToPixel(plot, v.x(), v.y());
                if (!clipSegment(a, b, plot)) {
                    flush();
                    continue;
                }
                // A segment that goes on from the last one extends its polyline.
                if (run.isEmpty() || run.back() != a) {
                    flush();
                    run << a;
                }
                run << b;
            }
            flush();
        }
        p.setPen(Qt::NoPen);
        p.setBrush(series.Color);
        for (int i = 0; i < static_cast<int>(series.Points.size()); ++i) {
            const QPointF& v = series.Points[static_cast<std::size_t>(i)];
            if (!usable(FBottom, v.x()) || !usable(FLeft, v.y()))
                continue;
            const QPointF at = ToPixel(plot, v.x(), v.y());
            if (!plot.contains(at))
                continue;
            const bool hovered = FHovered && FHovered->first == s && FHovered->second == i;
            if (hovered)
                p.setPen(QPen(Qt::black, 1));
            p.drawPolygon(ChartMarkerPolygon(series.Marker, at, series.MarkerSize / 2.0 + (hovered ? 2 : 0)));
            if (hovered)
                p.setPen(Qt::NoPen);
        }
    }
}

void TQzChart::PaintLegend(QPainter& p, const TLayout& l) const
{
    if (l.legendRows.empty())
        return;
    const QFontMetrics metrics(font(), p.device());
    p.setPen(QPen(kMajorGridColour, 1));
    p.setBrush(Qt::white);
    p.drawRect(l.legend);
    for (const auto& [s, row] : l.legendRows) {
        const TQzChartSeries& series = Series(s);
        const QRectF box(row.left() + 3, row.center().y() - kLegendCheckSize / 2.0, kLegendCheckSize, kLegendCheckSize);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (series.Active) {
            p.setPen(QPen(Qt::black, 1.5));
            p.drawPolyline(QPolygonF({box.topLeft() + QPointF(2.5, 5.5), box.topLeft() + QPointF(4.5, 8),
                                      box.topLeft() + QPointF(8.5, 2.5)}));
        }
        const QPointF marker(box.right() + 6 + kLegendMarkerHalf, row.center().y());
        p.setPen(Qt::NoPen);
        p.setBrush(series.Color);
        p.drawPolygon(ChartMarkerPolygon(series.Marker, marker, kLegendMarkerHalf));
        p.setPen(series.Active ? Qt::black : Qt::gray);
        p.drawText(QPointF(marker.x() + kLegendMarkerHalf + 6, row.center().y() + metrics.ascent() - metrics.height() / 2.0),
                   series.Title);
    }
}

} // namespace kav
