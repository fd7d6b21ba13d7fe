#include "controls/chart.h"

#include "base/numberformat.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

// A press and a release closer than this are a click, not a zoom.
constexpr int kClickSlack = 4;

bool isUsable(const ChartAxis& axis, double value)
{
    return std::isfinite(value) && (!axis.logarithmic() || value > 0);
}

} // namespace

QPolygonF chartMarkerPolygon(ChartMarker marker, QPointF c, double h)
{
    switch (marker) {
    case ChartMarker::TriangleUp: return QPolygonF({c + QPointF(0, -h), c + QPointF(h, h), c + QPointF(-h, h)});
    case ChartMarker::TriangleDown: return QPolygonF({c + QPointF(0, h), c + QPointF(-h, -h), c + QPointF(h, -h)});
    case ChartMarker::TriangleLeft: return QPolygonF({c + QPointF(-h, 0), c + QPointF(h, -h), c + QPointF(h, h)});
    case ChartMarker::TriangleRight: return QPolygonF({c + QPointF(h, 0), c + QPointF(-h, h), c + QPointF(-h, -h)});
    case ChartMarker::Diamond:
        return QPolygonF({c + QPointF(0, -h), c + QPointF(h, 0), c + QPointF(0, h), c + QPointF(-h, 0)});
    case ChartMarker::Hexagon: {
        QPolygonF hexagon;
        for (int k = 0; k < 6; ++k) {
            const double angle = M_PI / 3 * k;
            hexagon << c + QPointF(h * std::cos(angle), h * std::sin(angle));
        }
        return hexagon;
    }
    case ChartMarker::Square:
    default: return QPolygonF(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
    }
}

Chart::Chart(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(240, 180);
}

void Chart::replaceSeries(std::vector<ChartSeries> series)
{
    m_series = std::move(series);
    m_hovered.reset();
    m_legendMark.reset();
}

int Chart::addSeries(const QString& title, ChartMarker marker, const QColor& color)
{
    ChartSeries series;
    series.title = title;
    series.marker = marker;
    series.color = color;
    m_series.push_back(series);
    return seriesCount() - 1;
}

std::optional<Chart::Extent> Chart::dataExtent(bool activeOnly) const
{
    Extent e{std::numeric_limits<double>::max(), 0, std::numeric_limits<double>::max(), 0};
    bool found = false;
    for (const ChartSeries& s : m_series) {
        // A series without points has no extent to give.
        if (s.points.empty() || (activeOnly && !s.active))
            continue;
        found = true;
        for (const QPointF& p : s.points) {
            e.xMin = std::min(e.xMin, p.x());
            e.xMax = std::max(e.xMax, p.x());
            e.yMin = std::min(e.yMin, p.y());
            e.yMax = std::max(e.yMax, p.y());
        }
    }
    if (!found)
        return std::nullopt;
    return e;
}

void Chart::refresh()
{
    for (ChartAxis* axis : {&m_bottom, &m_left}) {
        if (!axis->automatic())
            continue;
        double lo = std::numeric_limits<double>::max();
        double hi = -std::numeric_limits<double>::max();
        for (const ChartSeries& s : m_series)
            if (s.active)
                for (const QPointF& p : s.points) {
                    const double v = axis == &m_bottom ? p.x() : p.y();
                    if (isUsable(*axis, v)) {
                        lo = std::min(lo, v);
                        hi = std::max(hi, v);
                    }
                }
        if (lo <= hi)
            axis->setAutoRange(lo, hi);
    }
    update();
}

void Chart::undoZoom()
{
    m_bottom.setAutomatic(true);
    m_left.setAutomatic(true);
    refresh();
    if (onUndoZoom)
        onUndoZoom();
}

QPointF Chart::toPixel(const QRectF& plot, double x, double y) const
{
    const QRectF inner = plot.adjusted(axisOffset, axisOffset, -axisOffset, -axisOffset);
    return {inner.left() + m_bottom.toFraction(x) * inner.width(),
            inner.bottom() - m_left.toFraction(y) * inner.height()};
}

QStringList Chart::axisLabels(const ChartAxis& axis, const std::vector<double>& ticks) const
{
    // One form for every label of an axis: plain numbers while each tick reads plainly and
    // exactly ("0.001" to "100000"), otherwise the axis's scientific pattern for all.
    constexpr char16_t plain[] = u"0.######";
    bool plainFits = true;
    for (double v : ticks) {
        const double size = std::abs(v);
        if (v != 0
            && (size < 1e-3 || size >= 1e6 || std::abs(parseFloatDef(formatPicture(v, plain, u'.'), 0) / v - 1) > 1e-9))
            plainFits = false;
    }
    QStringList labels;
    for (double v : ticks)
        labels << (v == 0 ? QStringLiteral("0")
                          : formatPicture(v, plainFits ? QStringView(plain) : QStringView(axis.labelFormat)));
    return labels;
}

std::optional<std::pair<int, int>> Chart::pointAt(QPoint position) const
{
    const QRectF plot = plotRect(rect());
    if (!plot.contains(position))
        return std::nullopt;
    std::optional<std::pair<int, int>> nearest;
    double best = std::numeric_limits<double>::max();
    for (int s = 0; s < seriesCount(); ++s) {
        const ChartSeries& series = seriesAt(s);
        if (!series.active)
            continue;
        for (int i = 0; i < static_cast<int>(series.points.size()); ++i) {
            const QPointF& p = series.points[static_cast<std::size_t>(i)];
            if (!isUsable(m_bottom, p.x()) || !isUsable(m_left, p.y()))
                continue;
            const QPointF d = toPixel(plot, p.x(), p.y()) - QPointF(position);
            const double distance = std::hypot(d.x(), d.y());
            if (distance <= series.markerSize / 2.0 + 3 && distance < best) {
                best = distance;
                nearest = std::pair{s, i};
            }
        }
    }
    return nearest;
}

void Chart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect());
    painter.setBrush(Qt::NoBrush);
    if (m_pressed && m_pressedButton == Qt::LeftButton) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(QRect(*m_pressed, m_lastMove).normalized());
    }
    // The keys' focus: a frame round the chart, and round the legend entry they marked.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
        for (const auto& [series, row] : legendRows())
            if (m_legendMark == series)
                painter.drawRect(row.adjusted(1, 0, -1, -1));
    }
}

void Chart::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void Chart::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void Chart::keyPressEvent(QKeyEvent* event)
{
    const QRectF inner = plotRect(rect()).adjusted(axisOffset, axisOffset, -axisOffset, -axisOffset);
    const int stepX = std::max(1, static_cast<int>(inner.width() / 10));
    const int stepY = std::max(1, static_cast<int>(inner.height() / 10));
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomBy(2); return;
    case Qt::Key_Minus: zoomBy(0.5); return;
    case Qt::Key_Home: undoZoom(); return;
    // Each arrow shows more of its side: the picture moves the other way, as a drag would move it.
    case Qt::Key_Left: control ? stepPoint(-1, 0) : scrollBy(QPoint(stepX, 0)); return;
    case Qt::Key_Right: control ? stepPoint(1, 0) : scrollBy(QPoint(-stepX, 0)); return;
    case Qt::Key_Up: control ? stepPoint(0, -1) : scrollBy(QPoint(0, stepY)); return;
    case Qt::Key_Down: control ? stepPoint(0, 1) : scrollBy(QPoint(0, -stepY)); return;
    case Qt::Key_PageUp: stepLegend(-1); return;
    case Qt::Key_PageDown: stepLegend(1); return;
    case Qt::Key_Space:
        if (m_legendMark) {
            seriesAt(*m_legendMark).active = !seriesAt(*m_legendMark).active;
            refresh();
            if (onClickLegend)
                onClickLegend();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_hovered && onClickSeries) {
            const QPointF& p = seriesAt(m_hovered->first).points.at(static_cast<std::size_t>(m_hovered->second));
            onClickSeries(m_hovered->first, m_hovered->second,
                          mapToGlobal(toPixel(plotRect(rect()), p.x(), p.y()).toPoint()));
        }
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void Chart::zoomBy(double factor)
{
    const double lo = 0.5 - 0.5 / factor;
    const double hi = 0.5 + 0.5 / factor;
    const double x0 = m_bottom.fromFraction(lo);
    const double x1 = m_bottom.fromFraction(hi);
    const double y0 = m_left.fromFraction(lo);
    const double y1 = m_left.fromFraction(hi);
    m_bottom.setMinMax(x0, x1);
    m_left.setMinMax(y0, y1);
    update();
    if (onZoom)
        onZoom();
}

void Chart::stepLegend(int step)
{
    std::vector<int> listed;
    for (const auto& [series, row] : legendRows())
        listed.push_back(series);
    if (listed.empty())
        return;
    const auto at = m_legendMark ? std::find(listed.begin(), listed.end(), *m_legendMark) : listed.end();
    if (at == listed.end())
        m_legendMark = step > 0 ? listed.front() : listed.back();
    else
        m_legendMark = listed[static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(at - listed.begin() + step, 0, std::ssize(listed) - 1))];
    update();
}

void Chart::stepPoint(int alongSeries, int acrossSeries)
{
    // The points the chart draws: of switched-on series, readable on both axes.
    const auto usable = [this](int s) {
        std::vector<int> indices;
        const ChartSeries& series = seriesAt(s);
        if (series.active)
            for (int i = 0; i < static_cast<int>(series.points.size()); ++i) {
                const QPointF& p = series.points[static_cast<std::size_t>(i)];
                if (isUsable(m_bottom, p.x()) && isUsable(m_left, p.y()))
                    indices.push_back(i);
            }
        return indices;
    };
    int series = m_hovered ? m_hovered->first : -1;
    int index = m_hovered ? m_hovered->second : 0;
    if (series < 0 || acrossSeries != 0) {
        // To the next (or previous) series that has points, the first one when none is marked.
        const int direction = acrossSeries < 0 ? -1 : 1;
        int s = series;
        do {
            s += direction;
        } while (s >= 0 && s < seriesCount() && usable(s).empty());
        if (s < 0 || s >= seriesCount())
            return;
        series = s;
    } else {
        index += alongSeries;
    }
    const std::vector<int> indices = usable(series);
    if (indices.empty())
        return;
    // The nearest drawn point at the index or beyond it in the direction of the step; the end
    // one when there is none.
    if (alongSeries < 0) {
        const auto after = std::upper_bound(indices.begin(), indices.end(), index);
        index = after == indices.begin() ? indices.front() : *std::prev(after);
    } else {
        const auto at = std::lower_bound(indices.begin(), indices.end(), index);
        index = at == indices.end() ? indices.back() : *at;
    }
    m_hovered = std::pair{series, index};
    update();
}

void Chart::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->position().toPoint();
    m_pressedButton = event->button();
    m_lastMove = *m_pressed;
    if (onMouseDown)
        onMouseDown();
}

void Chart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_pressed && m_pressedButton == Qt::RightButton) {
        scrollBy(at - m_lastMove);
        m_lastMove = at;
        return;
    }
    if (m_pressed) {
        m_lastMove = at;
        update();
        return;
    }
    const auto hovered = pointAt(at);
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void Chart::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressed || event->button() != m_pressedButton)
        return;
    const QPoint start = *m_pressed;
    const QPoint end = event->position().toPoint();
    m_pressed.reset();
    if (event->button() != Qt::LeftButton)
        return;
    const QRect band = QRect(start, end).normalized();
    if (band.width() > kClickSlack && band.height() > kClickSlack && plotRect(rect()).intersects(band)) {
        zoomTo(band);
        return;
    }
    update();
    if (const auto entry = legendEntryAt(end)) {
        seriesAt(*entry).active = !seriesAt(*entry).active;
        refresh();
        if (onClickLegend)
            onClickLegend();
    } else if (const auto point = pointAt(end)) {
        if (onClickSeries)
            onClickSeries(point->first, point->second, mapToGlobal(end));
    }
}

void Chart::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && plotRect(rect()).contains(event->position())
        && !legendEntryAt(event->position().toPoint()))
        undoZoom();
}

void Chart::zoomTo(const QRect& band)
{
    const QRectF inner = plotRect(rect()).adjusted(axisOffset, axisOffset, -axisOffset, -axisOffset);
    const QRectF zoom = QRectF(band).intersected(plotRect(rect()));
    auto fractionX = [&](double x) { return (x - inner.left()) / inner.width(); };
    auto fractionY = [&](double y) { return (inner.bottom() - y) / inner.height(); };
    const double x0 = m_bottom.fromFraction(fractionX(zoom.left()));
    const double x1 = m_bottom.fromFraction(fractionX(zoom.right()));
    const double y0 = m_left.fromFraction(fractionY(zoom.bottom()));
    const double y1 = m_left.fromFraction(fractionY(zoom.top()));
    m_bottom.setMinMax(x0, x1);
    m_left.setMinMax(y0, y1);
    update();
    if (onZoom)
        onZoom();
}

void Chart::scrollBy(QPoint delta)
{
    const QRectF inner = plotRect(rect()).adjusted(axisOffset, axisOffset, -axisOffset, -axisOffset);
    const double shiftX = -delta.x() / inner.width();
    const double shiftY = delta.y() / inner.height();
    const Ranges now{m_bottom.minimum(), m_bottom.maximum(), m_left.minimum(), m_left.maximum()};
    Ranges both = now;
    if (shiftX != 0) {
        both.xMin = m_bottom.fromFraction(shiftX);
        both.xMax = m_bottom.fromFraction(1 + shiftX);
    }
    if (shiftY != 0) {
        both.yMin = m_left.fromFraction(shiftY);
        both.yMax = m_left.fromFraction(1 + shiftY);
    }
    // What the owner refuses of a slanting drag may still go along one of the axes.
    const Ranges alongX{both.xMin, both.xMax, now.yMin, now.yMax};
    const Ranges alongY{now.xMin, now.xMax, both.yMin, both.yMax};
    for (const Ranges& to : {both, alongX, alongY}) {
        if (to == now)
            continue;
        bool allow = true;
        if (onAllowScroll)
            onAllowScroll(to, allow);
        if (!allow)
            continue;
        if (to.xMin != now.xMin || to.xMax != now.xMax)
            m_bottom.setMinMax(to.xMin, to.xMax);
        if (to.yMin != now.yMin || to.yMax != now.yMax)
            m_left.setMinMax(to.yMin, to.yMax);
        update();
        if (onScroll)
            onScroll();
        return;
    }
}

bool Chart::showsAPointWithin(const Ranges& ranges) const
{
    bool anyPoint = false;
    for (const ChartSeries& s : m_series) {
        if (!s.active)
            continue;
        for (const QPointF& p : s.points) {
            if (!isUsable(m_bottom, p.x()) || !isUsable(m_left, p.y()))
                continue;
            anyPoint = true;
            if (p.x() >= ranges.xMin && p.x() <= ranges.xMax && p.y() >= ranges.yMin && p.y() <= ranges.yMax)
                return true;
        }
    }
    return !anyPoint;
}

} // namespace kav
