#pragma once

#include <QByteArray>
#include <QString>

class QMimeData;

namespace kav {

class Chart;

// The picture formats a chart is saved in: the three Windows ones first, then SVG, PDF and PNG.
enum class ChartPictureFormat : std::uint8_t { Wmf, Emf, Bmp, Svg, Pdf, Png };
constexpr int ChartPictureFormatCount = 6;

// "wmf", "emf", ...
QString chartPictureExtension(ChartPictureFormat format);
// The save dialog's entry of a format: "Windows Metafile (*.wmf)", ...
QString chartPictureFilter(ChartPictureFormat format);
// The file's bytes of the chart drawn at its size (a bitmap file with three times the screen's
// pixels each way, for print), titled with the chart's title; empty when it could not be made.
QByteArray chartPictureBytes(const Chart& chart, ChartPictureFormat format);
// What the clipboard gets: the chosen format where it has a place there, and always a bitmap
// and an SVG picture.
QMimeData* chartClipboardData(const Chart& chart, ChartPictureFormat chosen);

} // namespace kav
