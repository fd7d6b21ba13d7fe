#include "data/csvtext.h"

#include <QStringDecoder>

namespace kav {

CsvText::CsvText(const QByteArray& bytes, QLatin1StringView headerWord)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    m_text = decoder.decode(bytes);
    m_utf8 = !decoder.hasError();
    if (!m_utf8)
        return;
    const QList<QStringView> lines = QStringView(m_text).split(u'\n');
    bool first = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line = line.left(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        Line data{static_cast<int>(i + 1), line.split(u',')};
        for (QStringView& field : data.fields)
            field = field.trimmed();
        const bool header = first && data.fields[0].compare(headerWord, Qt::CaseInsensitive) == 0;
        first = false;
        if (!header)
            m_lines.push_back(std::move(data));
    }
}

} // namespace kav
