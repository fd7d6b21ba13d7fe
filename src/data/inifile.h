#pragma once

#include <QString>

#include <vector>

namespace kav {

// An INI file held in memory: sections and keys in their order, lookups without regard to case
// as the platform's profile files do it, and a save that replaces the file in one step so that
// an interrupted write never leaves half a file.
class IniFile {
public:
    // Files larger than this are not settings files; they read as empty.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // Reads a file; a missing, unreadable or oversized file gives an empty one.
    static IniFile load(const QString& path);
    static IniFile parse(const QByteArray& bytes);

    // The value of the first occurrence of the key in the first section of that name.
    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    // Integer as the profile readers take it: the whole trimmed text, decimal, within 32 bits.
    int intValue(const QString& section, const QString& key, int fallback) const;

    // Replaces the value in place, or appends the key (and the section) when absent.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;
    // Writes the whole file atomically; false when it could not be written.
    bool save(const QString& path) const;

private:
    struct Entry {
        QString key;   // empty for a line kept as it stands (comment, blank, anything else)
        QString value; // for a kept line: the whole line
    };
    struct Section {
        QString name;  // empty for the lines before the first section header
        std::vector<Entry> entries;
    };
    const Entry* find(const QString& section, const QString& key) const;
    std::vector<Section> m_sections;
};

} // namespace kav
