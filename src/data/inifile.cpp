#include "data/inifile.h"

#include "base/numberformat.h"
#include "base/readfile.h"
#include "base/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace kav {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// UTF-8 where the bytes are UTF-8; older files may hold Latin-1.
QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QByteArrayView withoutLineEnd(QByteArrayView raw)
{
    if (raw.endsWith('\n'))
        raw.chop(1);
    if (raw.endsWith('\r'))
        raw.chop(1);
    return raw;
}

QByteArrayView lineEndOf(QByteArrayView raw)
{
    return raw.sliced(withoutLineEnd(raw).size());
}

} // namespace

std::optional<IniFile> IniFile::load(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return parse({});
    QString problem;
    QFile file(path);
    if (!info.isFile())
        problem = QStringLiteral("not a file");
    else if (info.size() > MaxFileSize)
        problem = QStringLiteral("larger than %1 bytes").arg(MaxFileSize);
    else if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    if (problem.isEmpty()) {
        const QByteArray bytes = readAtMost(file, MaxFileSize + 1);
        if (bytes.size() <= MaxFileSize && file.error() == QFileDevice::NoError)
            return parse(bytes);
        problem = file.error() == QFileDevice::NoError ? QStringLiteral("larger than %1 bytes").arg(MaxFileSize)
                                                       : file.errorString();
    }
    if (error)
        *error = path + QStringLiteral(": ") + problem;
    return std::nullopt;
}

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    ini.m_sections.push_back({});
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        Line line{bytes.mid(pos, end - pos), {}, 0};
        QByteArrayView content = withoutLineEnd(line.raw);
        if (pos == 0 && content.startsWith(kByteOrderMark))
            content = content.sliced(kByteOrderMark.size());
        pos = end;
        const QString text = decode(content).trimmed();
        if (text.startsWith(u'[') && text.endsWith(u']')) {
            ini.m_sections.push_back({text.mid(1, text.size() - 2).trimmed(), {}});
            ini.m_sections.back().lines.push_back(std::move(line));
            continue;
        }
        const qsizetype eq = content.indexOf('=');
        if (eq >= 0 && !text.startsWith(u';')) {
            line.key = decode(content.first(eq)).trimmed();
            line.valueAt = content.data() - line.raw.constData() + eq + 1;
        }
        ini.m_sections.back().lines.push_back(std::move(line));
    }
    return ini;
}

const IniFile::Line* IniFile::find(const QString& section, const QString& key) const
{
    for (const Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line& l : s.lines)
            if (!l.key.isEmpty() && l.key.compare(key, Qt::CaseInsensitive) == 0)
                return &l;
        return nullptr;
    }
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return find(section, key) != nullptr;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    const Line* l = find(section, key);
    return l ? decode(withoutLineEnd(l->raw).sliced(l->valueAt)).trimmed() : fallback;
}

int IniFile::intValue(const QString& section, const QString& key, int fallback) const
{
    int v = 0;
    return contains(section, key) && parseInt(value(section, key), v) ? v : fallback;
}

QByteArray IniFile::lineEnd() const
{
    for (const Section& s : m_sections)
        for (const Line& l : s.lines)
            if (l.raw.endsWith('\n'))
                return lineEndOf(l.raw).toByteArray();
    return "\n";
}

void IniFile::endLastLine()
{
    for (auto s = m_sections.rbegin(); s != m_sections.rend(); ++s)
        if (!s->lines.empty()) {
            if (!s->lines.back().raw.endsWith('\n'))
                s->lines.back().raw += lineEnd();
            return;
        }
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* target = nullptr;
    for (Section& s : m_sections)
        if (!s.name.isEmpty() && s.name.compare(section, Qt::CaseInsensitive) == 0) {
            target = &s;
            break;
        }
    if (!target) {
        endLastLine();
        m_sections.push_back({section, {Line{'[' + section.toUtf8() + ']' + lineEnd(), {}, 0}}});
        target = &m_sections.back();
    }
    for (Line& l : target->lines) {
        if (l.key.isEmpty() || l.key.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QByteArrayView old = withoutLineEnd(l.raw).sliced(l.valueAt);
        if (decode(old).trimmed() == value)
            return;
        // The spacing around the old value stays, so that only the value itself changes.
        const QByteArrayView trimmedOld = old.trimmed();
        const qsizetype lead = trimmedOld.isEmpty() ? old.size() : trimmedOld.data() - old.data();
        const qsizetype trail = trimmedOld.isEmpty() ? 0 : old.size() - lead - trimmedOld.size();
        l.raw = l.raw.left(l.valueAt + lead) + value.toUtf8() + old.last(trail).toByteArray()
            + lineEndOf(l.raw).toByteArray();
        return;
    }
    // New keys go after the last line of the section that is not blank.
    auto pos = target->lines.end();
    while (pos != target->lines.begin() + 1 && std::prev(pos)->key.isEmpty()
           && withoutLineEnd(std::prev(pos)->raw).trimmed().isEmpty())
        --pos;
    if (!std::prev(pos)->raw.endsWith('\n'))
        std::prev(pos)->raw += lineEnd();
    const QByteArray keyBytes = key.toUtf8();
    target->lines.insert(pos, Line{keyBytes + '=' + value.toUtf8() + lineEnd(), key, keyBytes.size() + 1});
}

QByteArray IniFile::toBytes() const
{
    QByteArray out;
    for (const Section& s : m_sections)
        for (const Line& l : s.lines)
            out += l.raw;
    return out;
}

bool IniFile::save(const QString& path, QString* error) const
{
    return saveFileAtomically(path, toBytes(), error);
}

} // namespace kav
