#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kav {

// An INI file held in memory: sections and keys in their order, lookups without regard to case
// as the platform's profile files do it, and a save that replaces the file in one step so that
// an interrupted write never leaves half a file. Every byte of the file is kept as it was, but
// the values set here: other keys, comments, line ends and text in any encoding come back
// unchanged.
class IniFile {
public:
    // Larger files are not settings files; they are neither read nor replaced.
    static constexpr qint64 MaxFileSize = qint64(16) << 20;

    // A missing file gives an empty one; a file that exists but cannot be read whole (no
    // permission, a folder, larger than MaxFileSize) gives nothing, and error says why.
    static std::optional<IniFile> load(const QString& path, QString* error = nullptr);
    static IniFile parse(const QByteArray& bytes);

    // The value of the first occurrence of the key in the first section of that name; text
    // that is not UTF-8 is read as Latin-1.
    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    // Integer as the profile readers take it: the whole trimmed text, decimal, within 32 bits.
    int intValue(const QString& section, const QString& key, int fallback) const;

    // Replaces the value in place (a value equal to the one there leaves the line untouched),
    // or appends the key (and the section) when absent.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;
    // Writes the whole file atomically; false when it could not be written, and error says why.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    struct Line {
        QByteArray raw; // as in the file, with its line end
        QString key; // empty for a line that is not a key (comment, blank, header, other)
        qsizetype valueAt; // where the value starts in raw
    };
    struct Section {
        QString name; // empty for the lines before the first section header
        std::vector<Line> lines;
    };
    const Line* find(const QString& section, const QString& key) const;
    QByteArray lineEnd() const;
    void endLastLine();

    std::vector<Section> m_sections;
};

} // namespace kav
