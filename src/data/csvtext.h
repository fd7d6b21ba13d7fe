#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

namespace kav {

// The lines of a small comma-separated file that carry data: the bytes read as UTF-8, '#' and
// what follows it dropped, blank lines passed over, and a first line whose first field is the
// header's word (a line of column names) passed over too. Each line keeps its number and its
// fields, trimmed; they point into the text the object holds.
class CsvText {
public:
    struct Line {
        int number = 0; // from 1
        QList<QStringView> fields;
    };

    CsvText(const QByteArray& bytes, QLatin1StringView headerWord);
    CsvText(const CsvText&) = delete;
    CsvText& operator=(const CsvText&) = delete;

    bool isUtf8() const { return m_utf8; }
    const std::vector<Line>& lines() const { return m_lines; }

private:
    QString m_text;
    bool m_utf8 = false;
    std::vector<Line> m_lines;
};

} // namespace kav
