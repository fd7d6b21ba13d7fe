#include "controls/markup.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A white image with a 10-point Arial painter on it.
class MarkupTest : public testing::Test {
protected:
    MarkupTest()
        : image(400, 200, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(10);
        painter.setFont(font);
        painter.setPen(Qt::black);
    }
    MarkupResult measure(const QString& text, int width = 300)
    {
        return drawMarkupText(painter, text, QRect(0, 0, width, 200), true);
    }
    int heightOf(int points)
    {
        QFont f = painter.font();
        f.setPointSize(points);
        return QFontMetrics(f, &image).height();
    }
    int metricsHeight() { return QFontMetrics(painter.font(), &image).height(); }
    int widthOf(const QString& text, bool bold = false)
    {
        QFont f = painter.font();
        f.setBold(bold);
        return QFontMetrics(f, &image).horizontalAdvance(text);
    }
    // Left and right ink columns within rows [top, bottom).
    std::pair<int, int> inkColumns(int top, int bottom, QRgb colour = qRgb(255, 255, 255), bool equal = false)
    {
        int left = image.width(), right = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                if (equal ? p == (colour & 0xFFFFFF) : p != (colour & 0xFFFFFF)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        return {left, right};
    }

    QImage image;
    QPainter painter;
};

TEST_F(MarkupTest, SubscriptsAndSuperscriptsMakeTheLineTallerByAQuarter)
{
    const int plain = measure(QStringLiteral("h")).height;
    EXPECT_EQ(plain, heightOf(10));
    EXPECT_EQ(measure(QStringLiteral("h<sub>T</sub>")).height, plain + heightOf(8) / 4);
    EXPECT_EQ(measure(QStringLiteral("m<sup>-3</sup>")).height, plain + heightOf(8) / 4);
    EXPECT_EQ(measure(QStringLiteral("f<sub>A</sub>=x<sup>2</sup>")).height, plain + 2 * (heightOf(8) / 4));
    // The subscript is drawn in the smaller size.
    EXPECT_EQ(
        measure(QStringLiteral("h<sub>T</sub>")).width, widthOf("h") + [&] {
            QFont f = painter.font();
            f.setPointSize(8);
            return QFontMetrics(f, &image).horizontalAdvance(u'T');
        }());
}

TEST_F(MarkupTest, LinesAddUp)
{
    const int one = measure(QStringLiteral("a")).height;
    EXPECT_EQ(measure(QStringLiteral("a<br>b")).height, 2 * one);
    EXPECT_EQ(measure(QStringLiteral("a\r\nb")).height, 2 * one);
    EXPECT_EQ(measure(QStringLiteral("<p align=\"center\">a</p>b")).height, 2 * one);
    const MarkupResult empty = measure(QString());
    EXPECT_EQ(empty.height, heightOf(10));
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(measure(QStringLiteral("a<br>b")).plainText, QStringLiteral("a\rb"));
}

TEST_F(MarkupTest, EntitiesShowAsCharactersNotTags)
{
    EXPECT_EQ(measure(QStringLiteral("&amp;")).width, widthOf(QStringLiteral("&")));
    const MarkupResult lt = measure(QStringLiteral("&lt;b&gt;x"));
    EXPECT_EQ(lt.plainText, QStringLiteral("<b>x"));
    EXPECT_EQ(lt.width, widthOf(QStringLiteral("<b>x")));
    EXPECT_EQ(measure(QStringLiteral("<b>x</b>")).width, widthOf(QStringLiteral("x"), true));
}

TEST_F(MarkupTest, WordsWrapAndALongWordStandsAlone)
{
    const int one = measure(QStringLiteral("a")).height;
    const MarkupResult r = measure(QStringLiteral("aa averyveryverylongwordindeed bb"), 60);
    EXPECT_EQ(r.height, 3 * one);
    EXPECT_GT(r.width, 60);
    // Without wrapping everything stays on one line.
    EXPECT_EQ(drawMarkupText(painter, QStringLiteral("aa bb cc dd ee ff gg"), QRect(0, 0, 30, 100), true, false).height,
              one);
}

TEST_F(MarkupTest, CentredParagraphsStayCentred)
{
    drawMarkupText(painter, QStringLiteral("<p align=\"center\">Centre</p>next line"), QRect(0, 0, 400, 200), false);
    const int one = measure(QStringLiteral("a")).height;
    const auto [left1, right1] = inkColumns(0, one);
    EXPECT_NEAR(left1, 399 - right1, 3);
    const auto [left2, right2] = inkColumns(one, 2 * one);
    EXPECT_NEAR(left2, 399 - right2, 3); // the alignment stays for later lines
    EXPECT_GT(left2, 50);
}

TEST_F(MarkupTest, ColoursByNameAndNumber)
{
    drawMarkupText(painter, QStringLiteral("<font color=\"clRed\">RRRR</font> <font color=\"#00ff00\">GGGG</font>"),
                   QRect(0, 0, 400, 200), false);
    const auto red = inkColumns(0, 50, qRgb(255, 0, 0), true);
    const auto green = inkColumns(0, 50, qRgb(0, 255, 0), true);
    ASSERT_GE(red.second, 0);
    ASSERT_GE(green.second, 0);
    EXPECT_LT(red.second, green.first);
    EXPECT_EQ(markupColor(QStringLiteral("CLNAVY")), QColor(0, 0, 128));
    EXPECT_EQ(markupColor(QStringLiteral("#1234")), QColor(0x12, 0x34, 0));
    EXPECT_EQ(markupColor(QStringLiteral("no such colour")), QColor(Qt::black));
    // The painter comes back as it was.
    EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
    EXPECT_EQ(painter.font().pointSize(), 10);
}

TEST_F(MarkupTest, BrokenMarkupNeverHangs)
{
    for (const char* text : {"<", "<b", "a<", "<<<>>>", "<sub>x", "</sub></sup></p></font>", "<p align=>x",
                             "<font size=\"0\">x", "<font size=\"99999\">x</font>", "&amp;amp;&", "<br><br><br>",
                             "<sub>a <sub>b <sub>c d e f g h i j k l m n o p</sub>"}) {
        const MarkupResult r = measure(QString::fromLatin1(text), 20);
        EXPECT_GT(r.height, 0) << text;
        drawMarkupText(painter, QString::fromLatin1(text), QRect(0, 0, 20, 200), false);
    }
}

TEST_F(MarkupTest, ListsControlsRotationAndBlinking)
{
    const int one = measure(QStringLiteral("a")).height;
    // A list item's text stands one indent (12 pixels a level) in; a second item starts a line.
    EXPECT_EQ(measure(QStringLiteral("<ul><li>a")).width, 12 + widthOf("a"));
    EXPECT_EQ(measure(QStringLiteral("<ul><ul><li>a")).width, 24 + widthOf("a"));
    EXPECT_EQ(measure(QStringLiteral("<ul><li>a<li>b</ul>")).height, 2 * one);
    // Pictures of controls take their own room.
    EXPECT_EQ(measure(QStringLiteral("<control type=\"COMBO\" width=\"80\" value=\"x\">")).height, 25);
    EXPECT_EQ(measure(QStringLiteral("<control type=\"CHECK\" value=\"TRUE\">")).width, 16);
    EXPECT_EQ(measure(QStringLiteral("a <control type=\"EDIT\" width=\"500\" value=\"v\">")).height,
              one + metricsHeight() + 6);
    // Blinking text in its off phase leaves the background as it was.
    image.fill(Qt::white);
    drawMarkupText(painter, QStringLiteral("<bl>hidden</bl>"), QRect(0, 0, 400, 200), false);
    EXPECT_EQ(inkColumns(0, 200).second, -1);
    // Rotated text stands up: its ink is taller than wide, where the same text lying is wider.
    auto inkBox = [&](const QString& text) {
        image.fill(Qt::white);
        drawMarkupText(painter, text, QRect(0, 60, 400, 140), false);
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect lying = inkBox(QStringLiteral("WWWWW"));
    const QRect standing = inkBox(QStringLiteral("<r a=\"90\">WWWWW</r>"));
    EXPECT_GT(lying.width(), 2 * lying.height());
    EXPECT_GT(standing.height(), 2 * standing.width());
    EXPECT_NEAR(standing.height(), lying.width(), 3);
    EXPECT_LE(standing.bottom(), 60 + metricsHeight()); // turned about the start of the text, upwards
    const QRect button = inkBox(QStringLiteral("<control type=\"BUTTON\" width=\"40\" value=\"OK\">"));
    EXPECT_EQ(button.width(), 40);
}

TEST_F(MarkupTest, WordsAreNotCutWhereATagStandsInThem)
{
    const QString header = QStringLiteral("Dose Coefficients h<sub>T</sub>(50)");
    // Room for "Dose Coefficients hT" but not for the whole: the whole word hT(50) goes down.
    const int room = widthOf(QStringLiteral("Dose Coefficients hT(5"));
    const MarkupResult r = measure(header, room);
    EXPECT_EQ(r.height, 2 * measure(QStringLiteral("a")).height + heightOf(8) / 4);
    EXPECT_LT(r.width, widthOf(QStringLiteral("Dose Coefficients h")));
    // With room enough it stays on one line.
    EXPECT_EQ(measure(header, 400).height, measure(QStringLiteral("h<sub>T</sub>")).height);
}

TEST_F(MarkupTest, AttributeValuesKeepTheirCase)
{
    // A check box is ticked by its value in any case; the value is read as written.
    for (const char* text : {"<control type=\"CHECK\" value=\"true\">", "<CONTROL TYPE=\"CHECK\" VALUE=\"TRUE\">"}) {
        image.fill(Qt::white);
        drawMarkupText(painter, QString::fromLatin1(text), QRect(0, 0, 400, 200), false);
        EXPECT_NE(image.pixel(9, 8) & 0xFFFFFF, 0xFFFFFFu) << text;
    }
    image.fill(Qt::white);
    drawMarkupText(painter, QStringLiteral("<control type=\"CHECK\" value=\"no\">"), QRect(0, 0, 400, 200), false);
    EXPECT_EQ(image.pixel(9, 8) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(stripMarkup, GivesThePlainTextShown)
{
    const std::pair<const char*, const char*> cases[] = {
        {"<p align=\"center\"><b>5</b> mSv</p>", "5 mSv"},
        {"a &lt;b&gt; <c", "a <b> <c"},
        {"f<sub>A</sub>=", "fA="},
        {"<p align=\"center\"><font color=\"clRed\">Can not load radon data!</font></p><p align=\"center\">line 37: "
         "&quot;abc&quot; is not</p>",
         "Can not load radon data!\r\nline 37: \"abc\" is not"},
        {"one<br>two<BR/>three", "one\r\ntwo\r\nthree"},
        {"&amp;quot; &amp;&amp;", "&quot; &&"},
    };
    for (const auto& [markup, plain] : cases)
        EXPECT_EQ(stripMarkup(QString::fromUtf8(markup)), QString::fromUtf8(plain)) << markup;
}

} // namespace
} // namespace kav
