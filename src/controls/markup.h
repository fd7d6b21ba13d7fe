#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace kav {

// What a call of the mark-up renderer found.
struct MarkupResult {
    int width = 0; // of the widest line
    int height = 0; // of all lines
    QString plainText; // the text without tags, line breaks as carriage returns
    int linkCount = 0;
};

// Draws, or with measureOnly only measures, a caption written in the small HTML-like mark-up of
// captions, cells and tips (<p align="center">, <b>, <i>, <u>, <s>, <sub>, <sup>, <br>,
// <font color="clRed" size="2" face="Arial" bgcolor="#FFFF00">, <a href="...">, <hi>, <hr>, <e>,
// <z>, <sh>, <in x="20">, <body bgcolor="...">, <ul><li>, <r a="90">, <bl>, and pictures of
// controls such as <control type="COMBO" width="80" value="Co-60">) inside a rectangle with the painter's font and pen
// colour as the base style. The painter's font, pen and brush are left as they were. Any text
// is accepted: unknown tags are dropped, a "<" without its ">" ends the text.
MarkupResult drawMarkupText(QPainter& painter, const QString& text, const QRect& rect, bool measureOnly,
                            bool wordWrap = true, int lineSpacing = 0);
// Draws a text in the middle of a rectangle's height.
void drawMarkupTextCentred(QPainter& painter, const QString& text, const QRect& rect, bool wordWrap = true);

// The plain text a mark-up text shows, for copies: a paragraph's end or a line-break tag as a line
// break, every other tag removed, entities as the characters they stand for ("&quot;" a double
// quote, "&lt;b&gt;" the text "<b>").
QString stripMarkup(const QString& text);

// A colour of the mark-up: a name such as "clRed" (any case; system colour names too) or
// "#RRGGBB". Unknown names give black.
QColor markupColor(const QString& value);

} // namespace kav
