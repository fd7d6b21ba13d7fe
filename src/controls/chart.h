#pragma once

#include "controls/chartaxis.h"

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace kav {

enum class ChartMarker : std::uint8_t {
    Square,
    TriangleUp,
    TriangleDown,
    Diamond,
    Hexagon,
    TriangleLeft,
    TriangleRight
};

// One series of points with its marker, and the line joining them when shown.
struct ChartSeries {
    QString title;
    QColor color;
    ChartMarker marker = ChartMarker::Square;
    int markerSize = 5; // the marker's width, in pixels
    std::vector<QPointF> points;
    bool active = true; // switched on: drawn and counted by automatic axes
    bool inLegend = true; // listed in the legend
    bool lineVisible = false;
    bool markersVisible = true; // false: a curve, drawn as its line alone
    // Each point is an upper limit: an open marker with an arrow pointing down from it.
    bool upperLimits = false;
};

// A chart of point series against a bottom and a left axis, each linear or logarithmic, drawn
// by the chart itself on any paint device (the screen, pictures). The user zooms by dragging a
// rectangle in any direction with the left button, undoes the zoom with a double click, scrolls
// by dragging with the right button, switches series on and off with the legend's check boxes
// and clicks points. The owner hears of each and may veto a scroll. The keys do the same: + and
// - zoom in and out about the middle, the arrows scroll by a tenth of the plot, Home undoes the
// zoom, Page Up and Page Down walk the legend and Space switches the series marked there,
// Ctrl with the arrows walks the points (along a series, and from series to series) and Enter
// clicks the point marked.
class Chart : public QWidget {
public:
    explicit Chart(QWidget* parent = nullptr);

    ChartAxis& bottomAxis() { return m_bottom; }
    ChartAxis& leftAxis() { return m_left; }
    const ChartAxis& bottomAxis() const { return m_bottom; }
    const ChartAxis& leftAxis() const { return m_left; }

    // Series are made once and refilled, or replaced all at once; their order is the legend's.
    int addSeries(const QString& title, ChartMarker marker, const QColor& color);
    void replaceSeries(std::vector<ChartSeries> series);
    int seriesCount() const { return static_cast<int>(m_series.size()); }
    ChartSeries& seriesAt(int index) { return m_series.at(static_cast<std::size_t>(index)); }
    const ChartSeries& seriesAt(int index) const { return m_series.at(static_cast<std::size_t>(index)); }

    // What the chart shows, in a few words: the title its pictures carry.
    QString title;
    bool legendVisible = true;
    // The legend lies over the plot instead of taking room beside it.
    bool legendOverPlot = false;
    // The legend's distance from the chart's top.
    int legendTop = 40;
    // Room between the plot's edges and the ends of each axis.
    int axisOffset = 5;

    // The data extents of the series that hold points: the switched-on ones, or (activeOnly
    // false) all. Nothing when none counts.
    struct Extent {
        double xMin, xMax, yMin, yMax;
    };
    std::optional<Extent> dataExtent(bool activeOnly) const;

    // After a change of the series or the axes: automatic axes take the data's range, and the
    // chart is drawn again.
    void refresh();
    // Both axes back to automatic; the owner hears OnUndoZoom.
    void undoZoom();

    // Draws the whole chart into a rectangle of any paint device.
    void paint(QPainter& painter, const QRect& area) const;
    // Where the plot lies within an area, and where a value lies in it.
    QRectF plotRect(const QRect& area) const;
    QPointF toPixel(const QRectF& plot, double x, double y) const;
    // The series point under a position of the widget: series and index.
    std::optional<std::pair<int, int>> pointAt(QPoint position) const;
    // The series whose legend check box is at a position of the widget.
    std::optional<int> legendEntryAt(QPoint position) const;

    std::function<void()> onMouseDown;
    std::function<void()> onZoom;
    std::function<void()> onUndoZoom;
    std::function<void()> onScroll;
    std::function<void()> onClickLegend;
    // The ranges of both axes at once.
    struct Ranges {
        double xMin, xMax, yMin, yMax;
        bool operator==(const Ranges&) const = default;
    };
    // A scroll is about to give the axes new ranges; clearing allow refuses them. A slanting drag
    // that is refused is tried along each axis alone.
    std::function<void(const Ranges& ranges, bool& allow)> onAllowScroll;
    // Whether a point of a switched-on series would be in sight within the ranges (true when no
    // such series has a point: nothing could be lost).
    bool showsAPointWithin(const Ranges& ranges) const;
    std::function<void(int series, int index, QPoint globalPosition)> onClickSeries;

    // The labels of an axis's ticks, all in one form: plain numbers or the axis's pattern; zero
    // as "0".
    QStringList axisLabels(const ChartAxis& axis, const std::vector<double>& ticks) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct ChartLayout;
    ChartLayout layoutFor(const QRect& area, const QFontMetrics& metrics) const;
    // The legend's entries on the widget: each series listed and its row.
    std::vector<std::pair<int, QRectF>> legendRows() const;
    void paintGrid(QPainter& p, const ChartLayout& layout) const;
    void paintAxes(QPainter& p, const ChartLayout& layout) const;
    void paintSeries(QPainter& p, const ChartLayout& layout) const;
    void paintLegend(QPainter& p, const ChartLayout& layout) const;
    void zoomTo(const QRect& band);
    // Both axes to the middle part of their ranges (factor above 1) or around them (below 1).
    void zoomBy(double factor);
    void scrollBy(QPoint delta);
    // The legend's mark to the next or the previous series listed there.
    void stepLegend(int step);
    // The point mark along its series, or to the next or previous series that has points.
    void stepPoint(int alongSeries, int acrossSeries);

    ChartAxis m_bottom{ChartAxis::Side::Bottom};
    ChartAxis m_left{ChartAxis::Side::Left};
    std::vector<ChartSeries> m_series;
    // Mouse gestures: the press position and the button, the band or the last scroll position.
    std::optional<QPoint> m_pressed;
    Qt::MouseButton m_pressedButton = Qt::NoButton;
    QPoint m_lastMove;
    // The point under the mouse, or the one the keys marked.
    std::optional<std::pair<int, int>> m_hovered;
    // The series the keys marked in the legend.
    std::optional<int> m_legendMark;
};

// The outline of a marker around a centre, half its width from it.
QPolygonF chartMarkerPolygon(ChartMarker marker, QPointF centre, double half);

} // namespace kav
