#include "controls/markup.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>
#include <QGuiApplication>

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

// The style in force while a text is laid out.
struct Style {
    QFont font;
    QColor color;
    QColor background;     // behind the text of a run; invalid for none
    QColor paragraphBack;  // behind whole lines of a paragraph; invalid for none
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
    bool ruled = false;     // a horizontal rule ends it
    bool ended = false;     // a tag ended it (not the room)
    bool listItem = false;  // a list item stands on it
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
    case 2: case 13: return p.color(QPalette::Highlight);
    case 3: case 15: case 4: case 10: case 11: case 12: return p.color(QPalette::Button);
    case 5: return p.color(QPalette::Base);
    case 6: case 7: case 8: case 18: return p.color(QPalette::WindowText);
    case 9: case 14: return p.color(QPalette::HighlightedText);
    case 16: return p.color(QPalette::Mid);
    case 17: case 19: return p.color(QPalette::PlaceholderText);
    case 20: case 22: return p.color(QPalette::Light);
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

// Applies one tag (without its angle brackets) to the style; returns whether it ends the line.
bool applyTag(const QString& tag, Style& st, Line& line, const Context& ctx)
{
    const QString upper = tag.toUpper();
    const bool end = upper.startsWith(u'/');
    const QString name = end ? upper.mid(1) : upper;
    auto is = [&](const char* prefix) { return name.startsWith(QLatin1String(prefix)); };
    const int stepDown = st.font.pointSize() > 0 ? 2 : ctx.twoPoints;

    if (!end) {
        if (name == u"B") {
            st.font.setBold(true);
        } else if (is("BR")) {
            line.plain += u'\r';
            return true;
        } else if (name == u"I") {
            st.font.setItalic(true);
        } else if (is("IN")) {
            bool ok = false;
            const int to = attribute(upper, QStringLiteral("X")).toInt(&ok);
            if (ok)
                st.indent = std::max(st.indent, to);
        } else if (name == u"U") {
            st.font.setUnderline(true);
        } else if (name.startsWith(u'U')) {
            ++st.listLevel;
        } else if (is("BL")) {
            st.blink = true;
        } else if (name.startsWith(u'R')) {
            // The number after the first letter a of the tag: "<r angle=\"90\">".
            const qsizetype a = upper.indexOf(u'A');
            bool ok = false;
            const int angle = a < 0 ? 0 : attribute(upper.mid(a), QStringLiteral("A")).toInt(&ok);
            if (ok)
                st.rotation = angle;
        } else if (name == u"S") {
            st.font.setStrikeOut(true);
        } else if (is("SH")) {
            st.shadow = true;
        } else if (name == u"SUB" || name == u"SUP") {
            (name == u"SUB" ? st.subscript : st.superscript) = true;
            setFontSize(st.font, fontSize(st.font) - stepDown);
        } else if (is("P")) {
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
                st.paragraphBack = MarkupColor(back);
        } else if (is("F")) {
            const QString face = attributeAsWritten(tag, QStringLiteral("FACE"));
            if (!face.isEmpty())
                st.font.setFamily(face);
            const QString color = attribute(upper, QStringLiteral("COLOR"));
            if (!color.isEmpty())
                st.color = MarkupColor(color);
            const QString back = attribute(upper, QStringLiteral("BGCOLOR"));
            if (!back.isEmpty())
                st.background = MarkupColor(back);
            bool ok = false;
            const int size = attribute(upper, QStringLiteral("SIZE")).toInt(&ok);
            if (ok && size > 0) {
                static const int steps[] = {8, 10, 12, 14, 16};
                const int points = size <= 5 ? steps[size - 1] : size;
                setFontSize(st.font, pointsToFontSize(st.font, points, ctx));
            }
        } else if (name.startsWith(u'A')) {
            st.font.setUnderline(true);
            ++st.links;
        } else if (is("HI")) {
            st.highlight = true;
            st.background = systemColor(13);
            st.color = systemColor(14);
        } else if (is("HR")) {
            line.ruled = true;
            return true;
        } else if (name == u"E" || is("E ")) {
            st.error = true;
        } else if (name.startsWith(u'Z')) {
            st.hidden = true;
        }
        return false;
    }

    if (name == u"B") {
        st.font.setBold(false);
    } else if (name.startsWith(u'B')) {
        st.color = ctx.baseColor;
    } else if (name.startsWith(u'I')) {
        st.font.setItalic(false);
    } else if (name.startsWith(u'U')) {
        if (name == u"U" || st.listLevel == 0)
            st.font.setUnderline(false);
        else
            --st.listLevel;
    } else if (is("BL")) {
        st.blink = false;
    } else if (name.startsWith(u'R')) {
        st.rotation = 0;
    } else if (is("SU")) {
        st.subscript = st.superscript = false;
        setFontSize(st.font, fontSize(ctx.baseFont));
    } else if (is("SH")) {
        st.shadow = false;
    } else if (name.startsWith(u'S')) {
        st.font.setStrikeOut(false);
    } else if (name.startsWith(u'P')) {
        st.paragraphBack = QColor();
        return true;
    } else if (name.startsWith(u'F')) {
        st.font.setFamily(ctx.baseFont.family());
        setFontSize(st.font, fontSize(ctx.baseFont));
        st.color = ctx.baseColor;
        st.background = QColor();
    } else if (name.startsWith(u'A')) {
        st.font.setUnderline(false);
        st.color = ctx.baseColor;
    } else if (name.startsWith(u'H')) {
        st.highlight = false;
        st.color = ctx.baseColor;
        st.background = QColor();
    } else if (name.startsWith(u'E')) {
        st.error = false;
    } else if (name.startsWith(u'Z')) {
        st.hidden = false;
    }
    return false;
}

// The picture of a control of the mark-up: an edit or combo frame with its value, a check or
// radio box, or a button face.
void drawControlPicture(QPainter& p, const QString& type, const QString& value, const QRect& r, const QColor& textColour)
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

// Lays out (and with draw set, draws) one line from the front of the text. A measured line is
// drawn by passing its measurement back in with the length it took.
Line layLine(QStringView text, Style& st, const Context& ctx, const Line* measured, int x, int lineTop)
{
    Line line;
    const bool draw = measured != nullptr;
    const QStringView all = draw ? text.left(measured->consumed) : text;
    int trailingBlank = 0;
    qsizetype pos = 0;
    if (!draw)
        line.tallest = metrics(ctx, st.font).height();
    const int lineBottom = draw ? lineTop + measured->tallest + measured->subExtra + measured->superExtra : 0;

    while (pos < all.size()) {
        if (all[pos] == u'<') {
            const qsizetype close = all.indexOf(u'>', pos);
            if (close < 0) {
                pos = all.size(); // a "<" without its ">" ends the text
                break;
            }
            const QString tag = all.mid(pos + 1, close - pos - 1).toString();
            const QString upperTag = tag.toUpper();
            if (upperTag.startsWith(u'L')) {
                // A list item: its bullet, then the text one indent further in. A second item
                // on the same line starts a new line.
                if (line.listItem) {
                    line.ended = true;
                    break;
                }
                line.listItem = true;
                const int level = std::max(st.listLevel, 1);
                if (draw) {
                    QPainter& p = ctx.painter;
                    QFont symbol(QStringLiteral("Symbol"), st.font.pointSize() > 0 ? st.font.pointSize() : 10);
                    p.setFont(symbol);
                    p.setPen(st.color);
                    p.drawText(QRect(x + (level - 1) * 12, lineTop, 12, lineBottom - lineTop), Qt::AlignLeft | Qt::AlignBottom,
                               level % 2 ? QStringLiteral("\u00B7") : QStringLiteral("o"));
                    x += level * 12;
                }
                line.width += level * 12;
                pos = close + 1;
                continue;
            }
            if (upperTag.startsWith(u'C')) {
                // A picture of a control; one that does not fit ends the line.
                const QString attrs = upperTag.mid(8);
                const QString type = attribute(attrs, QStringLiteral("TYPE"));
                const QString value = attributeAsWritten(tag.mid(8), QStringLiteral("VALUE"));
                const bool box = type == u"CHECK" || type == u"RADIO";
                const int width = box ? 16 : std::max(attribute(attrs, QStringLiteral("WIDTH")).toInt(), 0);
                const int height = box ? 16 : type == u"COMBO" ? 25 : type.contains(QLatin1String("BTN")) || type == u"BUTTON"
                        ? 26
                        : metrics(ctx, st.font).height() + 6;
                if (!draw && line.width > 0 && line.width + width >= ctx.rect.width()) {
                    line.ended = false;
                    break;
                }
                if (draw) {
                    drawControlPicture(ctx.painter, type, value,
                                       QRect(x, lineBottom - measured->subExtra - height, width, height), st.color);
                    x += width;
                } else {
                    line.tallest = std::max(line.tallest, height);
                }
                line.width += width;
                pos = close + 1;
                continue;
            }
            const bool ends = applyTag(tag, st, line, ctx);
            pos = close + 1;
            if (ends) {
                line.ended = true;
                break;
            }
            continue;
        }
        qsizetype stop = all.indexOf(u'<', pos);
        if (stop < 0)
            stop = all.size();
        if (ctx.wordWrap) {
            const qsizetype blank = all.indexOf(u' ', pos);
            if (blank >= 0 && blank < stop)
                stop = blank + 1;
        }
        QString run = all.mid(pos, stop - pos).toString();
        run.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
        run.replace(QLatin1String("&lt;"), QLatin1String("<"));
        run.replace(QLatin1String("&gt;"), QLatin1String(">"));
        if (st.hidden) {
            pos = stop;
            continue;
        }
        const QFontMetrics fm = metrics(ctx, st.font);
        const QString shown = shownText(run);
        const int width = fm.horizontalAdvance(shown);
        if (!draw) {
            const bool fits = line.width + width < ctx.rect.width() || line.width == 0;
            if (!fits)
                break;
            const int height = fm.height();
            if (st.subscript)
                line.subExtra = std::max(line.subExtra, height / 4);
            if (st.superscript)
                line.superExtra = std::max(line.superExtra, height / 4);
            line.tallest = std::max(line.tallest, height);
        } else {
            int bottom = lineBottom - measured->subExtra;
            if (st.superscript)
                bottom -= measured->superExtra;
            if (st.subscript)
                bottom += measured->subExtra;
            QPainter& p = ctx.painter;
            const QRect box(x, lineTop, std::max(width, 1), bottom - lineTop);
            p.setFont(st.font);
            const int flags = Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine | Qt::TextExpandTabs
                | Qt::TextDontClip;
            QString drawn = shown;
            if (!ctx.wordWrap && x + width > ctx.rect.right())
                drawn = fm.elidedText(shown, Qt::ElideRight, std::max(ctx.rect.right() - x, 0));
            if (st.background.isValid())
                p.fillRect(QRect(x, bottom - fm.height(), width, fm.height()), st.background);
            if (st.rotation != 0) {
                // Turned about the foot of the run, moved right by as much as the turn swings the
                // text's height to the left, so that it stands up from where it would lie.
                p.save();
                const double swing = box.height() * std::sin(qDegreesToRadians(double(st.rotation)));
                p.translate(QPointF(box.left() + std::max(swing, 0.0), box.bottom()));
                p.rotate(-st.rotation);
                p.setPen(st.color);
                p.drawText(QRect(0, -box.height(), box.width(), box.height()), flags, drawn);
                p.restore();
            } else if (!st.blink) { // blinking text is in its off phase: the background shows
                if (st.shadow) {
                    p.setPen(Qt::black);
                    p.drawText(box.translated(2, 2), flags, drawn);
                }
                p.setPen(st.color);
                p.drawText(box, flags, drawn);
            }
            if (st.error) {
                p.setPen(QColor(255, 0, 0));
                for (int zx = x; zx + 2 <= x + width; zx += 2)
                    p.drawLine(zx, bottom - ((zx - x) / 2 % 2), zx + 2, bottom - ((zx - x) / 2 % 2 == 0 ? 1 : 0));
            }
            x += width;
        }
        line.width += width;
        line.plain += run;
        trailingBlank = run.endsWith(u' ') ? fm.horizontalAdvance(u' ') : 0;
        pos = stop;
    }
    line.width -= trailingBlank;
    line.consumed = pos;
    return line;
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

QColor MarkupColor(const QString& value)
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
        {"clred", qRgb(255, 0, 0)}, {"clblack", qRgb(0, 0, 0)}, {"clblue", qRgb(0, 0, 255)},
        {"clgreen", qRgb(0, 128, 0)}, {"claqua", qRgb(0, 255, 255)}, {"clyellow", qRgb(255, 255, 0)},
        {"clfuchsia", qRgb(255, 0, 255)}, {"clwhite", qRgb(255, 255, 255)}, {"cllime", qRgb(0, 255, 0)},
        {"clsilver", qRgb(192, 192, 192)}, {"clgray", qRgb(128, 128, 128)}, {"clolive", qRgb(128, 128, 0)},
        {"clnavy", qRgb(0, 0, 128)}, {"clpurple", qRgb(128, 0, 128)}, {"clteal", qRgb(0, 128, 128)},
        {"clmaroon", qRgb(128, 0, 0)},
    };
    static const char* const system[] = {
        "clbackground", "clactivecaption", "clinactivecaption", "clmenu", "clwindow", "clwindowframe",
        "clmenutext", "clwindowtext", "clcaptiontext", "clactiveborder", "clinactiveborder", "clappworkspace",
        "clhighlight", "clhighlighttext", "clbtnface", "clbtnshadow", "clgraytext", "clbtntext",
        "clinactivecaptiontext", "clbtnhighlight", "cl3ddkshadow", "cl3dlight", "clinfotext", "clinfobk"};
    const QString lower = v.toLower();
    for (const auto& [name, rgb] : named)
        if (lower == QLatin1String(name))
            return QColor(rgb);
    for (int i = 0; i < 24; ++i)
        if (lower == QLatin1String(system[i]))
            return systemColor(i + 1);
    return Qt::black;
}

QString StripMarkup(const QString& text)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString s = text;
    return s.remove(tags);
}

TMarkupResult DrawMarkupText(QPainter& painter, const QString& text, const QRect& rect, bool measureOnly,
                             bool wordWrap, int lineSpacing)
{
    const QFont baseFont = painter.font();
    const QPen basePen = painter.pen();
    const QBrush baseBrush = painter.brush();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    Context ctx{painter, rect, wordWrap, baseFont, basePen.color(), std::max(1, (2 * dpi + 36) / 72)};

    // Entities that stand for characters the tags do not use; "&lt;", "&gt;" and "&nbsp;" are
    // left for the runs, so that they never make tags.
    QString s = text;
    static const std::pair<const char16_t*, const char16_t*> entities[] = {
        {u"&amp;", u"&&"}, {u"&quot;", u"\""}, {u"&sect;", u"\u00A7"}, {u"&permil;", u"\u2030"},
        {u"&reg;", u"\u00AE"}, {u"&copy;", u"\u00A9"}, {u"&para;", u"\u00B6"}, {u"&trade;", u"\u2122"},
        {u"&euro;", u"\u20AC"}};
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

    // <body bgcolor="..."> fills the whole rectangle before anything is drawn on it.
    if (!measureOnly) {
        static const QRegularExpression body(QStringLiteral("<BO[^>]*>"), QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = body.match(s);
        if (m.hasMatch()) {
            const QString v = attribute(m.captured().toUpper(), QStringLiteral("BGCOLOR"));
            if (v.contains(QLatin1String("CL")) || v.contains(u'#'))
                painter.fillRect(rect, MarkupColor(v));
        }
    }

    Style st;
    st.font = baseFont;
    st.color = basePen.color();
    TMarkupResult result;
    QStringView rest(s);
    int top = rect.top();
    const int left = rect.left() + 1;
    while (!rest.isEmpty()) {
        const Style atLineStart = st;
        Line line = layLine(rest, st, ctx, nullptr, 0, 0);
        // A subscript or superscript still open at the end of a full line: the word that carries
        // it moves whole to the next line.
        if (!line.ended && line.consumed < rest.size() && (st.subscript || st.superscript)) {
            const QString taken = rest.left(line.consumed).toString();
            const qsizetype sup = taken.lastIndexOf(QLatin1String("<SUP>"), -1, Qt::CaseInsensitive);
            const qsizetype sub = taken.lastIndexOf(QLatin1String("<SUB>"), -1, Qt::CaseInsensitive);
            const qsizetype tag = sup < 0 ? sub : sub < 0 ? sup : std::min(sup, sub);
            const qsizetype blank = tag > 0 ? taken.lastIndexOf(u' ', tag - 1) : -1;
            if (blank > 0) {
                st = atLineStart;
                line = layLine(rest.left(blank + 1), st, ctx, nullptr, 0, 0);
            }
        }
        // Nor is a word cut where a tag stands inside it ("h<sub>T</sub>(50)"): a full line
        // that stops within a word leaves the whole word to the next one.
        if (!line.ended && line.consumed < rest.size() && !textBefore(rest, line.consumed).isNull()
            && textBefore(rest, line.consumed) != u' ' && !textFrom(rest, line.consumed).isNull()
            && textFrom(rest, line.consumed) != u' ') {
            const qsizetype blank = blankBefore(rest, line.consumed);
            if (blank > 0) {
                st = atLineStart;
                line = layLine(rest.left(blank + 1), st, ctx, nullptr, 0, 0);
            }
        }
        line.tallest += lineSpacing;
        int x = left;
        const int room = rect.right() - left - line.width;
        if (st.align == 1 && rect.right() - line.width > left)
            x = rect.right() - line.width;
        else if (st.align == 2 && room > 0)
            x = left + room / 2;
        x += st.indent;
        const int height = line.tallest + line.subExtra + line.superExtra;
        if (!measureOnly && top < rect.bottom()) {
            Style drawStyle = atLineStart;
            if (drawStyle.paragraphBack.isValid())
                painter.fillRect(QRect(rect.left(), top, rect.width(), height), drawStyle.paragraphBack);
            layLine(rest, drawStyle, ctx, &line, x, top);
            if (line.ruled) {
                painter.setPen(Qt::black);
                painter.drawLine(rect.left(), top + height + 1, rect.right(), top + height + 1);
            }
        }
        result.Width = std::max(result.Width, line.width);
        result.Height += height;
        result.PlainText += line.plain;
        top += height;
        rest = rest.mid(std::max<qsizetype>(line.consumed, 1));
    }
    if (result.Height == 0)
        result.Height = QFontMetrics(baseFont, painter.device()).height();
    result.LinkCount = st.links;
    painter.setFont(baseFont);
    painter.setPen(basePen);
    painter.setBrush(baseBrush);
    return result;
}

} // namespace kav
