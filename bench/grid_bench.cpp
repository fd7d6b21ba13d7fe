// The largest table of the viewer: 300 rows of 33 columns. Filling it and painting it once into
// an offscreen image, and measuring and drawing one header caption. Baseline of the same run:
// filling a plain image of the same size with a colour.
#include "controls/datagrid.h"
#include "controls/markup.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 300;
constexpr int kCols = 33;

void fill(kav::DataGrid& g)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.setCells(c, r, QStringLiteral("1.2E-%1").arg((r + c) % 9));
}

void BM_FillImageBaseline(benchmark::State& state)
{
    QImage image(1008, 600, QImage::Format_RGB32);
    for (auto _ : state)
        image.fill(Qt::white);
}
BENCHMARK(BM_FillImageBaseline)->Unit(benchmark::kMicrosecond);

void BM_FillGrid300x33(benchmark::State& state)
{
    kav::DataGrid g;
    g.setColCount(kCols);
    g.setRowCount(kRows);
    for (auto _ : state) {
        g.setCells(0, 0, QString()); // every value changes: the cells are written anew
        fill(g);
        g.setCells(0, 1, QStringLiteral("x"));
    }
}
BENCHMARK(BM_FillGrid300x33)->Unit(benchmark::kMicrosecond);

void BM_PaintGrid300x33(benchmark::State& state)
{
    kav::DataGrid g;
    g.setColCount(kCols);
    g.setRowCount(kRows);
    g.setFixedCols(5);
    g.setFixedRows(2);
    g.resize(1008, 600);
    fill(g);
    QImage image(g.size(), QImage::Format_RGB32);
    for (auto _ : state)
        g.render(&image);
}
BENCHMARK(BM_PaintGrid300x33)->Unit(benchmark::kMicrosecond);

void BM_MeasureAndDrawCaption(benchmark::State& state)
{
    QImage image(200, 60, QImage::Format_RGB32);
    QPainter p(&image);
    const QString caption = QStringLiteral(
        "<p align=\"center\">Effective dose per exposure,<br>mSv per mJ&middot;h&middot;m<sup>-3</sup></p>");
    for (auto _ : state) {
        const int h = kav::drawMarkupText(p, caption, QRect(0, 0, 200, 60), true).height;
        kav::drawMarkupText(p, caption, QRect(0, 0, 200, h), false);
    }
}
BENCHMARK(BM_MeasureAndDrawCaption)->Unit(benchmark::kMicrosecond);

} // namespace
