#include "inifile.h"

#include "units.h"

#include <QFile>
#include <QSaveFile>

namespace kav {

IniFile IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return {};
    return parse(file.read(MaxFileSize));
}

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    ini.m_sections.push_back({});
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (i == lines.size() - 1 && line.isEmpty())
            break;
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            ini.m_sections.push_back({trimmed.mid(1, trimmed.size() - 2).trimmed(), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : line.left(eq).trimmed();
        if (key.isEmpty() || trimmed.startsWith(u';')) {
            ini.m_sections.back().entries.push_back({{}, line});
            continue;
        }
        ini.m_sections.back().entries.push_back({key, line.mid(eq + 1).trimmed()});
    }
    return ini;
}

const IniFile::Entry* IniFile::find(const QString& section, const QString& key) const
{
    for (const Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Entry& e : s.entries)
            if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0)
                return &e;
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
    const Entry* e = find(section, key);
    return e ? e->value : fallback;
}

int IniFile::intValue(const QString& section, const QString& key, int fallback) const
{
    const Entry* e = find(section, key);
    int v = 0;
    return e && ParseInt(e->value, v) ? v : fallback;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* target = nullptr;
    for (Section& s : m_sections) {
        if (!s.name.isEmpty() && s.name.compare(section, Qt::CaseInsensitive) == 0) {
            target = &s;
            break;
        }
    }
    if (!target) {
        m_sections.push_back({section, {}});
        target = &m_sections.back();
    }
    for (Entry& e : target->entries) {
        if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    }
    // New keys go after the last key of the section, before any trailing blank lines.
    auto pos = target->entries.end();
    while (pos != target->entries.begin() && std::prev(pos)->key.isEmpty()
           && std::prev(pos)->value.trimmed().isEmpty())
        --pos;
    target->entries.insert(pos, {key, value});
}

QByteArray IniFile::toBytes() const
{
    QString out;
    for (const Section& s : m_sections) {
        if (!s.name.isEmpty())
            out += u'[' + s.name + QStringLiteral("]\n");
        for (const Entry& e : s.entries)
            out += (e.key.isEmpty() ? e.value : e.key + u'=' + e.value) + u'\n';
    }
    return out.toUtf8();
}

bool IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toBytes());
    return file.commit();
}

} // namespace kav
