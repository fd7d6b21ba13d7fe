#include "controls/markup.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

// The style in force while a text is laid out.
struct Style {
    QFont font;
    QColor color;
    QColor background; // behind the text of a run; invalid for none
    QColor paragraphBack; // behind whole lines of a paragraph; invalid for none
    bool subscript = false;
    bool superscript = false;
    bool shadow = false;
    bool error = false;
    bool hidden = false;
    bool highlight = false;
    bool blink = false;
    int align = 0; // 0 left, 1 right, 2 centre
    int indent = 0;
    int links = 0;
    int listLevel = 0;
    int rotation = 0; // degrees
};

// Everything one call needs besides the style.
struct Context {
    QPainter& painter;
    QRect rect;
    bool wordWrap;
    QFont baseFont;
    QColor baseColor;
    int twoPoints; // two points in the device's pixels
};

struct Line {
    qsizetype consumed = 0; // characters of the text this line takes, tags included
    int width = 0;
    int tallest = 0;
    int subExtra = 0;
    int superExtra = 0;
    bool ruled = false; // a horizontal rule ends it
    bool ended = false; // a tag ended it (not the room)
    bool listItem = false; // a list item stands on it
    QString plain;
};

QFontMetrics metrics(const Context& ctx, const QFont& font)
{
    return QFontMetrics(font, ctx.painter.device());
}

// The value of an attribute in an upper-cased tag: the text between the first pair of double
// quotes after the attribute's name; empty without quotes.
// The attribute is found in the upper-cased tag; the value is taken from valueText, the same
// tag in upper case or as written.
QString attributeValue(const QString& upperTag, const QString& name, const QString& valueText)
{
    // The name as a word of its own: "COLOR" is not the end of "BGCOLOR".
    qsizetype at = upperTag.indexOf(name);
    while (at > 0 && upperTag[at - 1].isLetter())
        at = upperTag.indexOf(name, at + 1);
    if (at < 0)
        return {};
    const qsizetype open = upperTag.indexOf(u'"', at + name.size());
    if (open < 0)
        return {};
    const qsizetype close = upperTag.indexOf(u'"', open + 1);
    if (close < 0)
        return {};
    return valueText.mid(open + 1, close - open - 1);
}

QString attribute(const QString& upperTag, const QString& name)
{
    return attributeValue(upperTag, name, upperTag);
}

// A value as written (a face name, a control's caption), its name looked up without regard to case.
QString attributeAsWritten(const QString& tag, const QString& name)
{
    return attributeValue(tag.toUpper(), name, tag);
}

QColor systemColor(int number)
{
    const QPalette p = QGuiApplication::palette();
    switch (number) {
    case 1: return p.color(QPalette::Window);
    case 2:
    case 13: return p.color(QPalette::Highlight);
    case 3:
    case 15:
    case 4:
    case 10:
    case 11:
    case 12: return p.color(QPalette::Button);
    case 5: return p.color(QPalette::Base);
    case 6:
    case 7:
    case 8:
    case 18: return p.color(QPalette::WindowText);
    case 9:
    case 14: return p.color(QPalette::HighlightedText);
    case 16: return p.color(QPalette::Mid);
    case 17:
    case 19: return p.color(QPalette::PlaceholderText);
    case 20:
    case 22: return p.color(QPalette::Light);
    case 21: return p.color(QPalette::Shadow);
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    default: return Qt::black;
    }
}

// A mnemonic-style text as drawn: "&&" shows as one "&", a lone "&" as nothing.
QString shownText(const QString& run)
{
    QString s;
    s.reserve(run.size());
    for (qsizetype i = 0; i < run.size(); ++i) {
        if (run[i] == u'&') {
            if (i + 1 < run.size() && run[i + 1] == u'&')
                s += u'&';
            ++i;
            if (i < run.size() && run[i] != u'&')
                s += run[i];
            continue;
        }
        s += run[i];
    }
    return s;
}

int pointsToFontSize(const QFont& f, int points, const Context& ctx)
{
    return f.pointSize() > 0 ? points : points * ctx.twoPoints / 2;
}

void setFontSize(QFont& f, int size)
{
    size = std::max(size, 1);
    if (f.pointSize() > 0)
        f.setPointSize(size);
    else
        f.setPixelSize(size);
}

int fontSize(const QFont& f)
{
    return f.pointSize() > 0 ? f.pointSize() : f.pixelSize();
}

// What a tag does to the style; true when it ends the line.
using TagEffect = bool (*)(const QString& tag, const QString& upper, Style& st, Line& line, const Context& ctx);

// A tag recognised by its first letters after "<" or "</": the whole name (up to ">") or its
// beginning.
struct TagRule {
    bool end;
    const char* name;
    bool whole;
    TagEffect effect;
};

int stepDown(const Style& st, const Context& ctx)
{
    return st.font.pointSize() > 0 ? 2 : ctx.twoPoints;
}

// The number in double quotes after the first letter a of a tag: "<r angle=\"90\">".
bool rotationAngle(const QString& upper, int& angle)
{
    const qsizetype a = upper.indexOf(u'A');
    bool ok = false;
    angle = a < 0 ? 0 : attribute(upper.mid(a), QStringLiteral("A")).toInt(&ok);
    return ok;
}

bool paragraph(const QString&, const QString& upper, Style& st, Line&, const Context&)
{
    const QString align = attribute(upper, QStringLiteral("ALIGN"));
    if (align.contains(QLatin1String("RIGHT")))
        st.align = 1;
    if (align.contains(QLatin1String("LEFT")))
        st.align = 0;
    if (align.contains(QLatin1String("CENTER")))
        st.align = 2;
    bool ok = false;
    const int indent = attribute(upper, QStringLiteral("INDENT")).toInt(&ok);
    if (ok)
        st.indent = indent;
    const QString back = attribute(upper, QStringLiteral("BGCOLOR"));
    if (!back.isEmpty())
        st.paragraphBack = markupColor(back);
    return false;
}

bool font(const QString& tag, const QString& upper, Style& st, Line&, const Context& ctx)
{
    const QString face = attributeAsWritten(tag, QStringLiteral("FACE"));
    if (!face.isEmpty())
        st.font.setFamily(face);
    const QString color = attribute(upper, QStringLiteral("COLOR"));
    if (!color.isEmpty())
        st.color = markupColor(color);
    const QString back = attribute(upper, QStringLiteral("BGCOLOR"));
    if (!back.isEmpty())
        st.background = markupColor(back);
    bool ok = false;
    const int size = attribute(upper, QStringLiteral("SIZE")).toInt(&ok);
    if (ok && size > 0) {
        static const int steps[] = {8, 10, 12, 14, 16};
        const int points = size <= 5 ? steps[size - 1] : size;
        setFontSize(st.font, pointsToFontSize(st.font, points, ctx));
    }
    return false;
}

// In the order they are tried: a whole name before the names that begin the same way.
const TagRule kTagRules[] = {
    {false, "B", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setBold(true);
         return false;
     }},
    {false, "BR", false,
     [](const QString&, const QString&, Style&, Line& line, const Context&) {
         line.plain += u'\r';
         return true;
     }},
    {false, "I", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setItalic(true);
         return false;
     }},
    {false, "IN", false,
     [](const QString&, const QString& upper, Style& st, Line&, const Context&) {
         bool ok = false;
         const int to = attribute(upper, QStringLiteral("X")).toInt(&ok);
         if (ok)
             st.indent = std::max(st.indent, to);
         return false;
     }},
    {false, "U", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setUnderline(true);
         return false;
     }},
    {false, "U", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         ++st.listLevel;
         return false;
     }},
    {false, "BL", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.blink = true;
         return false;
     }},
    {false, "R", false,
     [](const QString&, const QString& upper, Style& st, Line&, const Context&) {
         int angle = 0;
         if (rotationAngle(upper, angle))
             st.rotation = angle;
         return false;
     }},
    {false, "S", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setStrikeOut(true);
         return false;
     }},
    {false, "SH", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.shadow = true;
         return false;
     }},
    {false, "SUB", true,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.subscript = true;
         setFontSize(st.font, fontSize(st.font) - stepDown(st, ctx));
         return false;
     }},
    {false, "SUP", true,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.superscript = true;
         setFontSize(st.font, fontSize(st.font) - stepDown(st, ctx));
         return false;
     }},
    {false, "P", false, paragraph},
    {false, "F", false, font},
    {false, "A", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setUnderline(true);
         ++st.links;
         return false;
     }},
    {false, "HI", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.highlight = true;
         st.background = systemColor(13);
         st.color = systemColor(14);
         return false;
     }},
    {false, "HR", false,
     [](const QString&, const QString&, Style&, Line& line, const Context&) {
         line.ruled = true;
         return true;
     }},
    {false, "E", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.error = true;
         return false;
     }},
    {false, "E ", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.error = true;
         return false;
     }},
    {false, "Z", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.hidden = true;
         return false;
     }},

    {true, "B", true,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setBold(false);
         return false;
     }},
    {true, "BL", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.blink = false;
         return false;
     }},
    {true, "B", false,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.color = ctx.baseColor;
         return false;
     }},
    {true, "I", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setItalic(false);
         return false;
     }},
    {true, "U", false,
     [](const QString&, const QString& upper, Style& st, Line&, const Context&) {
         if (upper == u"/U" || st.listLevel == 0)
             st.font.setUnderline(false);
         else
             --st.listLevel;
         return false;
     }},
    {true, "R", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.rotation = 0;
         return false;
     }},
    {true, "SU", false,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.subscript = st.superscript = false;
         setFontSize(st.font, fontSize(ctx.baseFont));
         return false;
     }},
    {true, "SH", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.shadow = false;
         return false;
     }},
    {true, "S", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.font.setStrikeOut(false);
         return false;
     }},
    {true, "P", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.paragraphBack = QColor();
         return true;
     }},
    {true, "F", false,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.font.setFamily(ctx.baseFont.family());
         setFontSize(st.font, fontSize(ctx.baseFont));
         st.color = ctx.baseColor;
         st.background = QColor();
         return false;
     }},
    {true, "A", false,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.font.setUnderline(false);
         st.color = ctx.baseColor;
         return false;
     }},
    {true, "H", false,
     [](const QString&, const QString&, Style& st, Line&, const Context& ctx) {
         st.highlight = false;
         st.color = ctx.baseColor;
         st.background = QColor();
         return false;
     }},
    {true, "E", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.error = false;
         return false;
     }},
    {true, "Z", false,
     [](const QString&, const QString&, Style& st, Line&, const Context&) {
         st.hidden = false;
         return false;
     }},
};

// Applies one tag (without its angle brackets) to the style; returns whether it ends the line.
bool applyTag(const QString& tag, Style& st, Line& line, const Context& ctx)
{
    const QString upper = tag.toUpper();
    const bool end = upper.startsWith(u'/');
    const QString name = end ? upper.mid(1) : upper;
    for (const TagRule& rule : kTagRules) {
        const QLatin1StringView ruleName(rule.name);
        if (rule.end == end && (rule.whole ? name == ruleName : name.startsWith(ruleName)))
            return rule.effect(tag, upper, st, line, ctx);
    }
    return false;
}

// The picture of a control of the mark-up: an edit or combo frame with its value, a check or
// radio box, or a button face.
void drawControlPicture(QPainter& p, const QString& type, const QString& value, const QRect& r,
                        const QColor& textColour)
{
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    if (type == u"EDIT" || type == u"COMBO") {
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (type == u"COMBO")
            p.drawRect(QRect(r.right() - 16, r.top() + 2, 14, r.height() - 5));
        p.setPen(textColour);
        p.drawText(r.adjusted(3, 0, type == u"COMBO" ? -18 : -3, 0), Qt::AlignLeft | Qt::AlignVCenter, value);
        return;
    }
    if (type == u"CHECK" || type == u"RADIO") {
        const bool check = type == u"CHECK";
        const bool checked = check ? value.toUpper() == u"TRUE" : value == u"True";
        auto shape = [&](const QRect& area) { check ? p.drawRect(area) : p.drawEllipse(area); };
        shape(r.adjusted(0, 0, -1, -1));
        if (checked) {
            p.setBrush(textColour);
            shape(r.adjusted(4, 4, -5, -5));
            p.setBrush(Qt::NoBrush);
        }
        return;
    }
    p.fillRect(r, QGuiApplication::palette().color(QPalette::Button));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (type == u"BUTTON") {
        p.setPen(textColour);
        p.drawText(r, Qt::AlignCenter, value);
    }
}

// Lays out (and when given a measured line, draws) one line from the front of the text. A
// measured line is drawn by passing its measurement back in with the length it took.
class LineLayout {
public:
    LineLayout(QStringView text, Style& st, const Context& ctx, const Line* measured, int x, int lineTop)
        : m_st(st)
        , m_ctx(ctx)
        , m_measured(measured)
        , m_all(measured ? text.left(measured->consumed) : text)
        , m_x(x)
        , m_lineTop(lineTop)
        , m_lineBottom(measured ? lineTop + measured->tallest + measured->subExtra + measured->superExtra : 0)
    {
        if (!measured)
            m_line.tallest = metrics(ctx, st.font).height();
    }

    Line run()
    {
        while (m_pos < m_all.size()) {
            const bool goOn = m_all[m_pos] == u'<' ? tag() : text();
            if (!goOn)
                break;
        }
        m_line.width -= m_trailingBlank;
        m_line.consumed = m_pos;
        return m_line;
    }

private:
    bool drawing() const { return m_measured != nullptr; }

    // A tag at the position; false when the line ends with it.
    bool tag()
    {
        const qsizetype close = m_all.indexOf(u'>', m_pos);
        if (close < 0) {
            m_pos = m_all.size(); // a "<" without its ">" ends the text
            return false;
        }
        const QString tag = m_all.mid(m_pos + 1, close - m_pos - 1).toString();
        const QString upperTag = tag.toUpper();
        if (upperTag.startsWith(u'L'))
            return listItem(close);
        if (upperTag.startsWith(u'C'))
            return control(tag, upperTag, close);
        m_pos = close + 1;
        if (applyTag(tag, m_st, m_line, m_ctx)) {
            m_line.ended = true;
            return false;
        }
        return true;
    }

    // A list item: its bullet, then the text one indent further in. A second item on the same
    // line starts a new line.
    bool listItem(qsizetype close)
    {
        if (m_line.listItem) {
            m_line.ended = true;
            return false;
        }
        m_line.listItem = true;
        const int level = std::max(m_st.listLevel, 1);
        if (drawing()) {
            QPainter& p = m_ctx.painter;
            QFont symbol(QStringLiteral("Symbol"), m_st.font.pointSize() > 0 ? m_st.font.pointSize() : 10);
            p.setFont(symbol);
            p.setPen(m_st.color);
            p.drawText(QRect(m_x + (level - 1) * 12, m_lineTop, 12, m_lineBottom - m_lineTop),
                       Qt::AlignLeft | Qt::AlignBottom, level % 2 ? QStringLiteral("\u00B7") : QStringLiteral("o"));
            m_x += level * 12;
        }
        m_line.width += level * 12;
        m_pos = close + 1;
        return true;
    }

    // A picture of a control; one that does not fit ends the line.
    bool control(const QString& tag, const QString& upperTag, qsizetype close)
    {
        const QString attrs = upperTag.mid(8);
        const QString type = attribute(attrs, QStringLiteral("TYPE"));
        const QString value = attributeAsWritten(tag.mid(8), QStringLiteral("VALUE"));
        const bool box = type == u"CHECK" || type == u"RADIO";
        const int width = box ? 16 : std::max(attribute(attrs, QStringLiteral("WIDTH")).toInt(), 0);
        const int height = box                                         ? 16
            : type == u"COMBO"                                         ? 25
            : type.contains(QLatin1String("BTN")) || type == u"BUTTON" ? 26
                                                                       : metrics(m_ctx, m_st.font).height() + 6;
        if (!drawing() && m_line.width > 0 && m_line.width + width >= m_ctx.rect.width()) {
            m_line.ended = false;
            return false;
        }
        if (drawing()) {
            drawControlPicture(m_ctx.painter, type, value,
                               QRect(m_x, m_lineBottom - m_measured->subExtra - height, width, height), m_st.color);
            m_x += width;
        } else {
            m_line.tallest = std::max(m_line.tallest, height);
        }
        m_line.width += width;
        m_pos = close + 1;
        return true;
    }

    // A run of text up to the next tag (or, wrapping, up to and with the next blank); false when
    // it does not fit on the line.
    bool text()
    {
        qsizetype stop = m_all.indexOf(u'<', m_pos);
        if (stop < 0)
            stop = m_all.size();
        if (m_ctx.wordWrap) {
            const qsizetype blank = m_all.indexOf(u' ', m_pos);
            if (blank >= 0 && blank < stop)
                stop = blank + 1;
        }
        QString run = m_all.mid(m_pos, stop - m_pos).toString();
        run.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
        run.replace(QLatin1String("&lt;"), QLatin1String("<"));
        run.replace(QLatin1String("&gt;"), QLatin1String(">"));
        if (m_st.hidden) {
            m_pos = stop;
            return true;
        }
        const QFontMetrics fm = metrics(m_ctx, m_st.font);
        const QString shown = shownText(run);
        const int width = fm.horizontalAdvance(shown);
        if (!drawing()) {
            const bool fits = m_line.width + width < m_ctx.rect.width() || m_line.width == 0;
            if (!fits)
                return false;
            const int height = fm.height();
            if (m_st.subscript)
                m_line.subExtra = std::max(m_line.subExtra, height / 4);
            if (m_st.superscript)
                m_line.superExtra = std::max(m_line.superExtra, height / 4);
            m_line.tallest = std::max(m_line.tallest, height);
        } else {
            drawRun(shown, width, fm);
        }
        m_line.width += width;
        m_line.plain += run;
        m_trailingBlank = run.endsWith(u' ') ? fm.horizontalAdvance(u' ') : 0;
        m_pos = stop;
        return true;
    }

    void drawRun(const QString& shown, int width, const QFontMetrics& fm)
    {
        int bottom = m_lineBottom - m_measured->subExtra;
        if (m_st.superscript)
            bottom -= m_measured->superExtra;
        if (m_st.subscript)
            bottom += m_measured->subExtra;
        QPainter& p = m_ctx.painter;
        const QRect box(m_x, m_lineTop, std::max(width, 1), bottom - m_lineTop);
        p.setFont(m_st.font);
        const int flags = Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip;
        QString drawn = shown;
        if (!m_ctx.wordWrap && m_x + width > m_ctx.rect.right())
            drawn = fm.elidedText(shown, Qt::ElideRight, std::max(m_ctx.rect.right() - m_x, 0));
        if (m_st.background.isValid())
            p.fillRect(QRect(m_x, bottom - fm.height(), width, fm.height()), m_st.background);
        if (m_st.rotation != 0) {
            // Turned about the foot of the run, moved right by as much as the turn swings the
            // text's height to the left, so that it stands up from where it would lie.
            p.save();
            const double swing = box.height() * std::sin(qDegreesToRadians(double(m_st.rotation)));
            p.translate(QPointF(box.left() + std::max(swing, 0.0), box.bottom()));
            p.rotate(-m_st.rotation);
            p.setPen(m_st.color);
            p.drawText(QRect(0, -box.height(), box.width(), box.height()), flags, drawn);
            p.restore();
        } else if (!m_st.blink) { // blinking text is in its off phase: the background shows
            if (m_st.shadow) {
                p.setPen(Qt::black);
                p.drawText(box.translated(2, 2), flags, drawn);
            }
            p.setPen(m_st.color);
            p.drawText(box, flags, drawn);
        }
        if (m_st.error) {
            p.setPen(QColor(255, 0, 0));
            for (int zx = m_x; zx + 2 <= m_x + width; zx += 2)
                p.drawLine(zx, bottom - ((zx - m_x) / 2 % 2), zx + 2, bottom - ((zx - m_x) / 2 % 2 == 0 ? 1 : 0));
        }
        m_x += width;
    }

    Style& m_st;
    const Context& m_ctx;
    const Line* m_measured;
    const QStringView m_all;
    int m_x;
    const int m_lineTop;
    const int m_lineBottom;
    Line m_line;
    qsizetype m_pos = 0;
    int m_trailingBlank = 0;
};

Line layLine(QStringView text, Style& st, const Context& ctx, const Line* measured, int x, int lineTop)
{
    return LineLayout(text, st, ctx, measured, x, lineTop).run();
}

// The character of text (not of a tag) just before a position, or a null character.
QChar textBefore(QStringView s, qsizetype pos)
{
    while (pos > 0) {
        if (s[pos - 1] != u'>')
            return s[pos - 1];
        const qsizetype open = s.lastIndexOf(u'<', pos - 1);
        if (open < 0)
            return s[pos - 1];
        pos = open;
    }
    return {};
}

// The character of text at a position or after it, tags passed over, or a null character.
QChar textFrom(QStringView s, qsizetype pos)
{
    while (pos < s.size()) {
        if (s[pos] != u'<')
            return s[pos];
        const qsizetype close = s.indexOf(u'>', pos);
        if (close < 0)
            return {};
        pos = close + 1;
    }
    return {};
}

// The last blank of text (not inside a tag) before a position, or -1.
qsizetype blankBefore(QStringView s, qsizetype pos)
{
    while (pos > 0) {
        if (s[pos - 1] == u' ')
            return pos - 1;
        if (s[pos - 1] == u'>') {
            const qsizetype open = s.lastIndexOf(u'<', pos - 1);
            pos = open < 0 ? pos - 1 : open;
            continue;
        }
        --pos;
    }
    return -1;
}

} // namespace

QColor markupColor(const QString& value)
{
    const QString v = value.trimmed();
    if (v.startsWith(u'#')) {
        const QString hex = v.mid(1).toUpper();
        auto part = [&](int i) {
            bool ok = false;
            const int n = hex.mid(2 * i, 2).toInt(&ok, 16);
            return ok && hex.mid(2 * i, 2).size() == 2 ? n : 0;
        };
        return QColor(part(0), part(1), part(2));
    }
    static const std::pair<const char*, QRgb> named[] = {
        {"clred", qRgb(255, 0, 0)},        {"clblack", qRgb(0, 0, 0)},       {"clblue", qRgb(0, 0, 255)},
        {"clgreen", qRgb(0, 128, 0)},      {"claqua", qRgb(0, 255, 255)},    {"clyellow", qRgb(255, 255, 0)},
        {"clfuchsia", qRgb(255, 0, 255)},  {"clwhite", qRgb(255, 255, 255)}, {"cllime", qRgb(0, 255, 0)},
        {"clsilver", qRgb(192, 192, 192)}, {"clgray", qRgb(128, 128, 128)},  {"clolive", qRgb(128, 128, 0)},
        {"clnavy", qRgb(0, 0, 128)},       {"clpurple", qRgb(128, 0, 128)},  {"clteal", qRgb(0, 128, 128)},
        {"clmaroon", qRgb(128, 0, 0)},
    };
    static const char* const system[] = {"clbackground",
                                         "clactivecaption",
                                         "clinactivecaption",
                                         "clmenu",
                                         "clwindow",
                                         "clwindowframe",
                                         "clmenutext",
                                         "clwindowtext",
                                         "clcaptiontext",
                                         "clactiveborder",
                                         "clinactiveborder",
                                         "clappworkspace",
                                         "clhighlight",
                                         "clhighlighttext",
                                         "clbtnface",
                                         "clbtnshadow",
                                         "clgraytext",
                                         "clbtntext",
                                         "clinactivecaptiontext",
                                         "clbtnhighlight",
                                         "cl3ddkshadow",
                                         "cl3dlight",
                                         "clinfotext",
                                         "clinfobk"};
    const QString lower = v.toLower();
    for (const auto& [name, rgb] : named)
        if (lower == QLatin1String(name))
            return QColor(rgb);
    for (int i = 0; i < 24; ++i)
        if (lower == QLatin1String(system[i]))
            return systemColor(i + 1);
    return Qt::black;
}

QString stripMarkup(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("<br[^>]*>|</p>(?=.)"),
                                               QRegularExpression::CaseInsensitiveOption
                                                   | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString s = text;
    s.replace(lineBreaks, QStringLiteral("\r\n"));
    s.remove(tags);
    static const std::pair<const char16_t*, const char16_t*> entities[]
        = {{u"&quot;", u"\""},     {u"&lt;", u"<"},          {u"&gt;", u">"},        {u"&nbsp;", u" "},
           {u"&sect;", u"\u00A7"}, {u"&permil;", u"\u2030"}, {u"&reg;", u"\u00AE"},  {u"&copy;", u"\u00A9"},
           {u"&para;", u"\u00B6"}, {u"&trade;", u"\u2122"},  {u"&euro;", u"\u20AC"}, {u"&amp;", u"&"}};
    for (const auto& [from, to] : entities)
        s.replace(QString::fromUtf16(from), QString::fromUtf16(to));
    return s;
}

namespace {

// The text as the layout reads it: entities that stand for characters the tags do not use
// replaced ("&lt;", "&gt;" and "&nbsp;" are left for the runs, so that they never make tags),
// a "<#...>" tag opened up, line ends as line-break tags.
QString preparedText(const QString& text)
{
    QString s = text;
    static const std::pair<const char16_t*, const char16_t*> entities[]
        = {{u"&amp;", u"&&"},        {u"&quot;", u"\""},      {u"&sect;", u"\u00A7"},
           {u"&permil;", u"\u2030"}, {u"&reg;", u"\u00AE"},   {u"&copy;", u"\u00A9"},
           {u"&para;", u"\u00B6"},   {u"&trade;", u"\u2122"}, {u"&euro;", u"\u20AC"}};
    for (const auto& [from, to] : entities)
        s.replace(QString::fromUtf16(from), QString::fromUtf16(to));
    const qsizetype hashTag = s.indexOf(QLatin1String("<#"));
    if (hashTag >= 0) {
        const qsizetype close = s.indexOf(u'>', hashTag);
        if (close >= 0) {
            s.remove(close, 1);
            s.remove(hashTag, 2);
        }
    }
    s.remove(u'\n');
    s.replace(u'\r', QLatin1String("<BR>"));
    return s;
}

// <body bgcolor="..."> fills the whole rectangle before anything is drawn on it.
void fillBody(QPainter& painter, const QString& text, const QRect& rect)
{
    static const QRegularExpression body(QStringLiteral("<BO[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = body.match(text);
    if (!m.hasMatch())
        return;
    const QString v = attribute(m.captured().toUpper(), QStringLiteral("BGCOLOR"));
    if (v.contains(QLatin1String("CL")) || v.contains(u'#'))
        painter.fillRect(rect, markupColor(v));
}

// Measures the next line, leaving whole the word that a full line would cut: a word that
// carries a subscript or superscript still open, or a word with a tag inside it
// ("h<sub>T</sub>(50)"), moves to the next line.
Line measureLine(QStringView rest, Style& st, const Context& ctx)
{
    const Style atLineStart = st;
    Line line = layLine(rest, st, ctx, nullptr, 0, 0);
    auto cutBefore = [&](qsizetype blank) {
        if (blank <= 0)
            return;
        st = atLineStart;
        line = layLine(rest.left(blank + 1), st, ctx, nullptr, 0, 0);
    };
    if (!line.ended && line.consumed < rest.size() && (st.subscript || st.superscript)) {
        const QString taken = rest.left(line.consumed).toString();
        const qsizetype sup = taken.lastIndexOf(QLatin1String("<SUP>"), -1, Qt::CaseInsensitive);
        const qsizetype sub = taken.lastIndexOf(QLatin1String("<SUB>"), -1, Qt::CaseInsensitive);
        const qsizetype tag = sup < 0 ? sub : sub < 0 ? sup : std::min(sup, sub);
        cutBefore(tag > 0 ? taken.lastIndexOf(u' ', tag - 1) : -1);
    }
    const QChar before = textBefore(rest, line.consumed);
    const QChar after = textFrom(rest, line.consumed);
    if (!line.ended && line.consumed < rest.size() && !before.isNull() && before != u' ' && !after.isNull()
        && after != u' ')
        cutBefore(blankBefore(rest, line.consumed));
    return line;
}

// Where a line of a given width starts in the rectangle, by the style's alignment and indent.
int lineLeft(const Style& st, const QRect& rect, int width)
{
    const int left = rect.left() + 1;
    int x = left;
    const int room = rect.right() - left - width;
    if (st.align == 1 && rect.right() - width > left)
        x = rect.right() - width;
    else if (st.align == 2 && room > 0)
        x = left + room / 2;
    return x + st.indent;
}

} // namespace

MarkupResult drawMarkupText(QPainter& painter, const QString& text, const QRect& rect, bool measureOnly, bool wordWrap,
                            int lineSpacing)
{
    const QFont baseFont = painter.font();
    const QPen basePen = painter.pen();
    const QBrush baseBrush = painter.brush();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const Context ctx{painter, rect, wordWrap, baseFont, basePen.color(), std::max(1, (2 * dpi + 36) / 72)};
    const QString s = preparedText(text);
    if (!measureOnly)
        fillBody(painter, s, rect);

    Style st;
    st.font = baseFont;
    st.color = basePen.color();
    MarkupResult result;
    QStringView rest(s);
    int top = rect.top();
    while (!rest.isEmpty()) {
        const Style atLineStart = st;
        Line line = measureLine(rest, st, ctx);
        line.tallest += lineSpacing;
        const int height = line.tallest + line.subExtra + line.superExtra;
        if (!measureOnly && top < rect.bottom()) {
            Style drawStyle = atLineStart;
            if (drawStyle.paragraphBack.isValid())
                painter.fillRect(QRect(rect.left(), top, rect.width(), height), drawStyle.paragraphBack);
            layLine(rest, drawStyle, ctx, &line, lineLeft(st, rect, line.width), top);
            if (line.ruled) {
                painter.setPen(Qt::black);
                painter.drawLine(rect.left(), top + height + 1, rect.right(), top + height + 1);
            }
        }
        result.width = std::max(result.width, line.width);
        result.height += height;
        result.plainText += line.plain;
        top += height;
        rest = rest.mid(std::max<qsizetype>(line.consumed, 1));
    }
    if (result.height == 0)
        result.height = QFontMetrics(baseFont, painter.device()).height();
    result.linkCount = st.links;
    painter.setFont(baseFont);
    painter.setPen(basePen);
    painter.setBrush(baseBrush);
    return result;
}

void drawMarkupTextCentred(QPainter& painter, const QString& text, const QRect& rect, bool wordWrap)
{
    const int h = drawMarkupText(painter, text, rect, true, wordWrap).height;
    // A single line stands where plain text of its font would (a lowered subscript only makes
    // it taller below), so that it lines up with the plain text beside it.
    const int lineHeight = QFontMetrics(painter.font(), painter.device()).height();
    const int centred = h < lineHeight * 3 / 2 ? lineHeight : h;
    drawMarkupText(painter, text, QRect(rect.left(), rect.top() + (rect.height() - centred) / 2, rect.width(), h),
                   false, wordWrap);
}

} // namespace kav
