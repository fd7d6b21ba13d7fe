#include "controls/metafile.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <map>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A drawing of every kind the chart uses: a polyline, a filled polygon, a rectangle, text
// upright and upwards.
QByteArray paint(Metafile::Format format)
{
    Metafile metafile(format, QSize(400, 300));
    QPainter p(&metafile);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QPen(QColor(0xE0, 0, 0), 1));
    p.drawPolyline(QPolygonF({QPointF(10, 250), QPointF(100, 120), QPointF(200, 160), QPointF(380, 20)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0x80, 0));
    p.drawPolygon(QPolygonF({QPointF(50, 50), QPointF(60, 40), QPointF(70, 50)}));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 5, 390, 290));
    p.drawText(QPointF(150, 280), QStringLiteral("Time, days"));
    p.drawText(QPointF(150, 260), QString::fromUtf16(u"1\u20262 \u00B5Sv \u2013 mJ\u00B7h"));
    p.translate(20, 200);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), QStringLiteral("Content per Intake"));
    p.end();
    return metafile.bytes();
}

// Converts a picture with another program and returns what it wrote, an SVG.
QString convert(const QString& program, const QStringList& arguments, const QString& output)
{
    QProcess run;
    run.start(program, arguments);
    EXPECT_TRUE(run.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(run.exitCode(), 0) << program.toStdString() << ": " << run.readAllStandardError().toStdString();
    QFile svg(output);
    return svg.open(QIODevice::ReadOnly) ? QString::fromUtf8(svg.readAll()) : QString();
}

// The elements of an SVG document by name, and all its text; false when it does not parse.
struct SvgContent {
    bool parsed = false;
    std::map<QString, int> elements;
    QString text;
    int count(const char* name) const
    {
        const auto found = elements.find(QString::fromLatin1(name));
        return found == elements.end() ? 0 : found->second;
    }
    int drawings() const { return count("path") + count("polyline") + count("polygon") + count("rect"); }
};

// Some converters write each character of a text apart: the texts of all text elements are
// joined, blanks left out.
SvgContent read(const QString& svg)
{
    SvgContent c;
    QXmlStreamReader xml(svg);
    int inText = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++c.elements[xml.name().toString()];
            inText += xml.name() == QLatin1String("text") || xml.name() == QLatin1String("tspan");
        } else if (xml.isEndElement()) {
            inText -= xml.name() == QLatin1String("text") || xml.name() == QLatin1String("tspan");
        } else if (xml.isCharacters() && inText > 0) {
            c.text += xml.text().toString().simplified().remove(u' ');
        }
    }
    c.parsed = !xml.hasError();
    return c;
}

TEST(Metafile, EnhancedMetafileIsReadBackAsVectorsAndText)
{
    const QByteArray emf = paint(Metafile::Format::Enhanced);
    ASSERT_GT(emf.size(), 100);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF")); // the header's signature
    QTemporaryDir dir;
    QFile file(dir.filePath("chart.emf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(emf);
    file.close();
    const QString converted
        = convert(QStringLiteral("emf2svg-conv"), {"-i", dir.filePath("chart.emf"), "-o", dir.filePath("chart.svg")},
                  dir.filePath("chart.svg"));
    const SvgContent svg = read(converted);
    ASSERT_TRUE(svg.parsed);
    EXPECT_TRUE(converted.contains(QStringLiteral("rotate(-90"))) << "the upward text is not turned";
    EXPECT_GE(svg.drawings(), 3);
    EXPECT_TRUE(svg.text.contains(QStringLiteral("Time,days"))) << svg.text.toStdString();
    EXPECT_TRUE(svg.text.contains(QStringLiteral("ContentperIntake")));
    EXPECT_TRUE(svg.text.contains(QString::fromUtf16(u"1\u20262\u00B5Sv\u2013mJ\u00B7h"))) << svg.text.toStdString();
    EXPECT_EQ(svg.count("image"), 0); // nothing went in as a picture
}

TEST(Metafile, WindowsMetafileIsReadBackAsVectorsAndText)
{
    const QByteArray wmf = paint(Metafile::Format::Windows);
    ASSERT_GT(wmf.size(), 100);
    EXPECT_EQ(wmf.left(4), QByteArray("\xD7\xCD\xC6\x9A", 4)); // the placeable header's key
    QTemporaryDir dir;
    QFile file(dir.filePath("chart.wmf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wmf);
    file.close();
    const SvgContent svg
        = read(convert(QStringLiteral("wmf2svg"), {"-o", dir.filePath("chart.svg"), dir.filePath("chart.wmf")},
                       dir.filePath("chart.svg")));
    QFile converted(dir.filePath("chart.svg"));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    const QByteArray raw = converted.readAll();
    ASSERT_TRUE(svg.parsed);
    EXPECT_GE(svg.drawings(), 3);
    EXPECT_TRUE(svg.text.contains(QStringLiteral("Time,days"))) << svg.text.toStdString();
    EXPECT_TRUE(svg.text.contains(QStringLiteral("ContentperIntake")));
    // The text is in the fonts' code page, 1252, which the converter passes on byte for byte, one
    // character to an element: the ellipsis, micro sign, dash and middle dot are there (Latin-1
    // had no ellipsis or dash).
    for (const char* character : {">\x85<", ">\xB5<", ">\x96<", ">\xB7<"})
        EXPECT_TRUE(raw.contains(character)) << int(static_cast<unsigned char>(character[1]));
}

} // namespace
} // namespace kav
