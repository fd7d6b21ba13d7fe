// The drawing of a chart: its layout in an area, grid, axes, series and legend. Everything is
// drawn with lines, polygons, rectangles and text, so that every paint device gets vectors.
#include "controls/chart.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

constexpr int kTickLength = 4;
constexpr int kLeftLabelWidth = 50;
constexpr int kLeftTitleGap = 10;
constexpr int kLegendCheckSize = 11;
constexpr int kLegendMarkerHalf = 4;
constexpr double kArrowLength = 10;

// An arrow pointing down from a point: a stem and an open head.
void paintDownArrow(QPainter& p, const QColor& colour, QPointF top)
{
    const QPointF tip = top + QPointF(0, kArrowLength);
    p.setPen(QPen(colour, 1.3));
    p.drawLine(top, tip);
    p.drawPolyline(QPolygonF({tip + QPointF(-3, -4), tip, tip + QPointF(3, -4)}));
}
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

bool usable(const ChartAxis& axis, double v)
{
    return std::isfinite(v) && (!axis.logarithmic() || v > 0);
}

} // namespace

struct Chart::ChartLayout {
    QRect area;
    QRectF plot;
    QRectF legend;
    std::vector<std::pair<int, QRectF>> legendRows; // series and its row
    int rowHeight = 0;
    int wantedX = 5;
    int wantedY = 5;
    // The left axis's title in the lines it is written in, upwards, the first one outermost.
    QStringList leftTitle;
};

namespace {

// Words in lines no longer than a width; a word longer than that stands alone on its line.
QStringList wrapped(const QFontMetrics& metrics, const QString& text, int width)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace

Chart::ChartLayout Chart::layoutFor(const QRect& area, const QFontMetrics& metrics) const
{
    ChartLayout l;
    l.area = area;
    const int fh = metrics.height();
    l.rowHeight = std::max(fh, kLegendCheckSize) + 4;
    // The legend's entries: a check box, a marker and the title.
    const int entryExtra = kLegendCheckSize + 2 * kLegendMarkerHalf + 24;
    std::vector<std::pair<int, int>> entries; // series and the width of its entry
    int legendWidth = 0;
    if (legendVisible)
        for (int s = 0; s < seriesCount(); ++s)
            if (seriesAt(s).inLegend) {
                entries.emplace_back(s, metrics.horizontalAdvance(seriesAt(s).title) + entryExtra);
                legendWidth = std::max(legendWidth, entries.back().second);
            }

    // The legend beside the plot while that leaves the plot most of the width; below it, its
    // entries side by side in as many lines as they need, when it would not; over it when asked.
    const int leftWithOneTitleLine
        = 6 + (m_left.title.isEmpty() ? 0 : fh + kLeftTitleGap) + kLeftLabelWidth + kTickLength + 2;
    const int plotWidthAlone = area.width() - leftWithOneTitleLine - 14;
    const bool any = !entries.empty();
    const bool overPlot = any && legendOverPlot;
    const bool beside = any && !overPlot && plotWidthAlone - legendWidth - 10 >= plotWidthAlone * 0.6;
    const bool below = any && !overPlot && !beside;
    // Below: the entries' places in lines no wider than the chart.
    std::vector<QPointF> places; // of each entry, from the legend's corner
    double belowWidth = 0;
    int lines = 0;
    if (below) {
        const double room = area.width() - 12;
        double x = 0;
        for (const auto& [series, width] : entries) {
            if (x > 0 && x + width > room) {
                x = 0;
                ++lines;
            }
            places.emplace_back(x, lines * l.rowHeight);
            x += width;
            belowWidth = std::max(belowWidth, x);
        }
        ++lines;
    }
    const int legendHeight = (below ? lines : static_cast<int>(entries.size())) * l.rowHeight + 4;

    const int axisBottom = kTickLength + 3 + fh + (m_bottom.title.isEmpty() ? 0 : fh + 4) + 6;
    const int bottom = axisBottom + (below ? legendHeight + 4 : 0);
    const int top = 10 + fh / 2;
    const double plotHeight = std::max(area.height() - top - bottom, 20);
    // The title wraps to the plot's height: its unit is never cut off.
    if (!m_left.title.isEmpty())
        l.leftTitle = wrapped(metrics, m_left.title, static_cast<int>(plotHeight));
    const int left = 6 + (l.leftTitle.isEmpty() ? 0 : static_cast<int>(l.leftTitle.size()) * fh + kLeftTitleGap)
        + kLeftLabelWidth + kTickLength + 2;
    const int right = 14 + (beside ? legendWidth + 10 : 0);
    l.plot = QRectF(area.left() + left, area.top() + top, std::max(area.width() - left - right, 20), plotHeight);
    // Room for a tick every 40 pixels.
    l.wantedX = std::max(2, static_cast<int>(l.plot.width() / 40));
    l.wantedY = std::max(2, static_cast<int>(l.plot.height() / 40));
    if (!any)
        return l;
    const double width = below ? belowWidth + 4 : legendWidth;
    const QPointF corner = below ? QPointF(area.left() + (area.width() - width) / 2, l.plot.bottom() + axisBottom)
        : overPlot               ? QPointF(l.plot.right() - 6 - legendWidth, area.top() + legendTop)
                                 : QPointF(l.plot.right() + 10, area.top() + legendTop);
    l.legend = QRectF(corner, QSizeF(width, legendHeight));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QPointF at = below ? places[i] : QPointF(0, static_cast<double>(i) * l.rowHeight);
        const double entryWidth = below ? entries[i].second : legendWidth;
        l.legendRows.emplace_back(entries[i].first,
                                  QRectF(corner + QPointF(2, 2) + at, QSizeF(entryWidth - 4, l.rowHeight)));
    }
    return l;
}

QRectF Chart::plotRect(const QRect& area) const
{
    return layoutFor(area, fontMetrics()).plot;
}

std::vector<std::pair<int, QRectF>> Chart::legendRows() const
{
    return layoutFor(rect(), fontMetrics()).legendRows;
}

std::optional<int> Chart::legendEntryAt(QPoint position) const
{
    for (const auto& [series, row] : legendRows())
        if (row.contains(position))
            return series;
    return std::nullopt;
}

void Chart::paint(QPainter& p, const QRect& area) const
{
    p.save();
    p.setFont(font());
    const ChartLayout layout = layoutFor(area, QFontMetrics(font(), p.device()));
    p.fillRect(area, Qt::white);
    paintGrid(p, layout);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(layout.plot);
    paintSeries(p, layout);
    paintAxes(p, layout);
    paintLegend(p, layout);
    p.restore();
}

void Chart::paintGrid(QPainter& p, const ChartLayout& l) const
{
    const QRectF& plot = l.plot;
    auto lines = [&](const ChartAxis& axis, const std::vector<double>& ticks) {
        for (double v : ticks) {
            const QPointF at = axis.place() == ChartAxis::Side::Bottom ? toPixel(plot, v, m_left.drawnMinimum())
                                                                       : toPixel(plot, m_bottom.drawnMinimum(), v);
            if (axis.place() == ChartAxis::Side::Bottom && at.x() > plot.left() && at.x() < plot.right())
                p.drawLine(QLineF(at.x(), plot.top(), at.x(), plot.bottom()));
            if (axis.place() == ChartAxis::Side::Left && at.y() > plot.top() && at.y() < plot.bottom())
                p.drawLine(QLineF(plot.left(), at.y(), plot.right(), at.y()));
        }
    };
    for (const ChartAxis* axis : {&m_bottom, &m_left}) {
        const int wanted = axis == &m_bottom ? l.wantedX : l.wantedY;
        if (axis->minorGrid) {
            p.setPen(QPen(kMinorGridColour, 1, Qt::DashLine));
            lines(*axis, axis->minorTicks(wanted));
        }
        if (axis->majorGrid) {
            p.setPen(QPen(kMajorGridColour, 1));
            lines(*axis, axis->majorTicks(wanted));
        }
    }
}

void Chart::paintAxes(QPainter& p, const ChartLayout& l) const
{
    const QRectF& plot = l.plot;
    const QFontMetrics metrics(font(), p.device());
    p.setPen(QPen(Qt::black, 1));
    // The decades a logarithmic axis does not label are marked all the same.
    for (double v : m_bottom.minorTicks(l.wantedX)) {
        const double x = toPixel(plot, v, m_left.drawnMinimum()).x();
        if (x >= plot.left() && x <= plot.right())
            p.drawLine(QLineF(x, plot.bottom(), x, plot.bottom() + kTickLength / 2.0));
    }
    for (double v : m_left.minorTicks(l.wantedY)) {
        const double y = toPixel(plot, m_bottom.drawnMinimum(), v).y();
        if (y >= plot.top() && y <= plot.bottom())
            p.drawLine(QLineF(plot.left() - kTickLength / 2.0, y, plot.left(), y));
    }
    // Bottom: ticks and labels under the plot, a label only where it has room.
    const std::vector<double> bottomTicks = m_bottom.majorTicks(l.wantedX);
    const QStringList bottomLabels = axisLabels(m_bottom, bottomTicks);
    double lastRight = -1e9;
    for (std::size_t i = 0; i < bottomTicks.size(); ++i) {
        const double x = toPixel(plot, bottomTicks[i], m_left.drawnMinimum()).x();
        p.drawLine(QLineF(x, plot.bottom(), x, plot.bottom() + kTickLength));
        const QString& text = bottomLabels[static_cast<qsizetype>(i)];
        const double width = metrics.horizontalAdvance(text);
        // Centred on its tick, but never over the chart's edge.
        const double start = std::min(x - width / 2, l.area.right() - width);
        if (start < lastRight + 4)
            continue;
        p.drawText(QPointF(start, plot.bottom() + kTickLength + 2 + metrics.ascent()), text);
        lastRight = start + width;
    }
    // Left: ticks and labels right-aligned in their column.
    const std::vector<double> leftTicks = m_left.majorTicks(l.wantedY);
    const QStringList leftLabels = axisLabels(m_left, leftTicks);
    double lastTop = 1e9;
    for (std::size_t i = 0; i < leftTicks.size(); ++i) {
        const double y = toPixel(plot, m_bottom.drawnMinimum(), leftTicks[i]).y();
        p.drawLine(QLineF(plot.left() - kTickLength, y, plot.left(), y));
        if (y + metrics.height() / 2.0 > lastTop)
            continue;
        const QString& text = leftLabels[static_cast<qsizetype>(i)];
        const double width = metrics.horizontalAdvance(text);
        p.drawText(QPointF(plot.left() - kTickLength - 2 - width, y + metrics.ascent() - metrics.height() / 2.0), text);
        lastTop = y - metrics.height() / 2.0;
    }
    if (!m_bottom.title.isEmpty()) {
        const double width = metrics.horizontalAdvance(m_bottom.title);
        p.drawText(QPointF(plot.center().x() - width / 2,
                           plot.bottom() + kTickLength + 6 + metrics.height() + metrics.ascent()),
                   m_bottom.title);
    }
    // Written upwards, each line centred on the plot's height, the last one nearest the labels.
    const double innermost = plot.left() - kTickLength - 2 - kLeftLabelWidth - kLeftTitleGap - metrics.descent();
    for (qsizetype i = 0; i < l.leftTitle.size(); ++i) {
        const QString& line = l.leftTitle[i];
        const double width = metrics.horizontalAdvance(line);
        p.save();
        p.translate(innermost - (l.leftTitle.size() - 1 - i) * metrics.height(), plot.center().y() + width / 2);
        p.rotate(-90);
        p.drawText(QPointF(0, 0), line);
        p.restore();
    }
}

void Chart::paintSeries(QPainter& p, const ChartLayout& l) const
{
    const QRectF& plot = l.plot;
    for (int s = 0; s < seriesCount(); ++s) {
        const ChartSeries& series = seriesAt(s);
        if (!series.active)
            continue;
        if (series.lineVisible && series.points.size() > 1) {
            p.setPen(QPen(series.color, 1));
            p.setBrush(Qt::NoBrush);
            QPolygonF run;
            auto flush = [&] {
                if (run.size() > 1)
                    p.drawPolyline(run);
                run.clear();
            };
            for (std::size_t i = 1; i < series.points.size(); ++i) {
                const QPointF& u = series.points[i - 1];
                const QPointF& v = series.points[i];
                if (!usable(m_bottom, u.x()) || !usable(m_left, u.y()) || !usable(m_bottom, v.x())
                    || !usable(m_left, v.y())) {
                    flush();
                    continue;
                }
                QPointF a = toPixel(plot, u.x(), u.y());
                QPointF b = toPixel(plot, v.x(), v.y());
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
        if (!series.markersVisible)
            continue;
        // A limit is an open marker; its arrow points down to where the value may lie.
        const QPen markerPen = series.upperLimits ? QPen(series.color, 1.3) : QPen(Qt::NoPen);
        p.setPen(markerPen);
        p.setBrush(series.upperLimits ? QBrush(Qt::NoBrush) : QBrush(series.color));
        for (int i = 0; i < static_cast<int>(series.points.size()); ++i) {
            const QPointF& v = series.points[static_cast<std::size_t>(i)];
            if (!usable(m_bottom, v.x()) || !usable(m_left, v.y()))
                continue;
            const QPointF at = toPixel(plot, v.x(), v.y());
            if (!plot.contains(at))
                continue;
            const bool hovered = m_hovered && m_hovered->first == s && m_hovered->second == i;
            const double half = series.markerSize / 2.0 + (hovered ? 2 : 0);
            if (hovered)
                p.setPen(QPen(Qt::black, 1));
            p.drawPolygon(chartMarkerPolygon(series.marker, at, half));
            if (series.upperLimits)
                paintDownArrow(p, series.color, at + QPointF(0, half + 1));
            p.setPen(markerPen);
        }
    }
}

void Chart::paintLegend(QPainter& p, const ChartLayout& l) const
{
    if (l.legendRows.empty())
        return;
    const QFontMetrics metrics(font(), p.device());
    p.setPen(QPen(kMajorGridColour, 1));
    p.setBrush(Qt::white);
    p.drawRect(l.legend);
    for (const auto& [s, row] : l.legendRows) {
        const ChartSeries& series = seriesAt(s);
        const QRectF box(row.left() + 3, row.center().y() - kLegendCheckSize / 2.0, kLegendCheckSize, kLegendCheckSize);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (series.active) {
            p.setPen(QPen(Qt::black, 1.5));
            p.drawPolyline(QPolygonF({box.topLeft() + QPointF(2.5, 5.5), box.topLeft() + QPointF(4.5, 8),
                                      box.topLeft() + QPointF(8.5, 2.5)}));
        }
        const QPointF marker(box.right() + 6 + kLegendMarkerHalf, row.center().y());
        if (!series.markersVisible) {
            p.setPen(QPen(series.color, 1.5));
            p.drawLine(marker - QPointF(kLegendMarkerHalf + 1, 0), marker + QPointF(kLegendMarkerHalf + 1, 0));
        } else {
            p.setPen(series.upperLimits ? QPen(series.color, 1.3) : QPen(Qt::NoPen));
            p.setBrush(series.upperLimits ? QBrush(Qt::NoBrush) : QBrush(series.color));
            p.drawPolygon(chartMarkerPolygon(series.marker, marker, kLegendMarkerHalf));
        }
        p.setPen(series.active ? Qt::black : Qt::gray);
        p.drawText(
            QPointF(marker.x() + kLegendMarkerHalf + 6, row.center().y() + metrics.ascent() - metrics.height() / 2.0),
            series.title);
    }
}

} // namespace kav
