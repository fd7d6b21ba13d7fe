#include "controls/chartpicture.h"

#include "base/enumset.h"
#include "controls/chart.h"
#include "controls/metafile.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace kav {

namespace {

struct FormatInfo {
    const char* extension;
    const char* description;
    const char* mime; // on the clipboard; none for a format that has no place there
};

constexpr FormatInfo kFormats[ChartPictureFormatCount] = {
    {"wmf", "Windows Metafile", "image/x-wmf"}, {"emf", "Windows Enhanced metafile", "image/x-emf"},
    {"bmp", "Windows Bitmap", "image/bmp"},     {"svg", "SVG picture", "image/svg+xml"},
    {"pdf", "PDF document", "application/pdf"}, {"png", "PNG picture", "image/png"},
};

// Bitmap files are drawn at three times the screen's resolution, for print.
constexpr int kFileScale = 3;
constexpr double kScreenDotsPerInch = 96;

// The chart drawn as on the screen, scale times as many pixels each way.
QImage bitmap(const Chart& chart, int scale = 1)
{
    QImage image(chart.size() * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(std::lround(kScreenDotsPerInch * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, scale > 1);
    painter.scale(scale, scale);
    chart.paint(painter, QRect(QPoint(), chart.size()));
    return image;
}

QByteArray imageBytes(const Chart& chart, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return bitmap(chart, kFileScale).save(&buffer, format) ? bytes : QByteArray();
}

QString pictureTitle(const Chart& chart)
{
    return chart.title.isEmpty() ? QStringLiteral("Chart") : chart.title;
}

QByteArray svgBytes(const Chart& chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(chart.size());
    svg.setViewBox(QRect(QPoint(), chart.size()));
    svg.setResolution(96);
    svg.setTitle(pictureTitle(chart));
    QPainter painter(&svg);
    chart.paint(painter, QRect(QPoint(), chart.size()));
    painter.end();
    return bytes;
}

QByteArray pdfBytes(const Chart& chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(pictureTitle(chart));
    pdf.setCreator(QStringLiteral("KAV Data Viewer"));
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(chart.width(), chart.height()) * 72.0 / 96.0, QPageSize::Point));
    pdf.setPageMargins(QMarginsF());
    QPainter painter(&pdf);
    chart.paint(painter, QRect(QPoint(), chart.size()));
    return painter.end() ? bytes : QByteArray();
}

QByteArray metafileBytes(const Chart& chart, Metafile::Format format)
{
    Metafile metafile(format, chart.size());
    QPainter painter(&metafile);
    chart.paint(painter, QRect(QPoint(), chart.size()));
    painter.end();
    return metafile.bytes();
}

} // namespace

QString chartPictureExtension(ChartPictureFormat format)
{
    return QString::fromLatin1(kFormats[ordinal(format)].extension);
}

QString chartPictureFilter(ChartPictureFormat format)
{
    return QStringLiteral("%1 (*.%2)")
        .arg(QString::fromLatin1(kFormats[ordinal(format)].description), chartPictureExtension(format));
}

QByteArray chartPictureBytes(const Chart& chart, ChartPictureFormat format)
{
    switch (format) {
    case ChartPictureFormat::Wmf: return metafileBytes(chart, Metafile::Format::Windows);
    case ChartPictureFormat::Emf: return metafileBytes(chart, Metafile::Format::Enhanced);
    case ChartPictureFormat::Bmp: return imageBytes(chart, "BMP");
    case ChartPictureFormat::Svg: return svgBytes(chart);
    case ChartPictureFormat::Pdf: return pdfBytes(chart);
    case ChartPictureFormat::Png: return imageBytes(chart, "PNG");
    }
    return {};
}

QMimeData* chartClipboardData(const Chart& chart, ChartPictureFormat chosen)
{
    auto* data = new QMimeData;
    data->setImageData(bitmap(chart));
    data->setData(QString::fromLatin1(kFormats[ordinal(ChartPictureFormat::Svg)].mime), svgBytes(chart));
    if (chosen == ChartPictureFormat::Wmf || chosen == ChartPictureFormat::Emf)
        data->setData(QString::fromLatin1(kFormats[ordinal(chosen)].mime), chartPictureBytes(chart, chosen));
    return data;
}

} // namespace kav
