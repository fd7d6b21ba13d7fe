#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace kav {

// The six radon and thoron tables, in the order of their blocks in the file.
enum class RadonTable : std::uint8_t { GasAlone, RadonIndoor, RadonMine, RadonCave, ThoronIndoor, ThoronMine };
constexpr int RadonDataTypeCount = 6;

// "RadonData.txt": six blocks of 31 lines, one per table: a title, 29 organ lines of six numbers
// (the gases: ingestion Rn-222, inhalation Rn-222, inhalation Rn-220, male then female each; the
// progeny: unattached, attached, total for men, then for women) and the effective values (three
// for the gases, one for each progeny table).
inline const QString RadonDataFileName = QStringLiteral("RadonData.txt");
constexpr int RadonBlockLines = 31;
// A radon data file is a few kilobytes; a larger one is refused unread.
constexpr qint64 MaxRadonDataFileSize = 1 << 20;

// One table: organ values by group (the gases: the three intakes; the progeny: unattached,
// attached, total), sex and organ, and the effective values.
struct RadonBlock {
    std::array<float, 180> radonData{}; // 60 g + j male, 60 g + 30 + j female, organ j < 29
    std::vector<float> effectiveDose;

    float male(int group, int organ) const { return radonData[static_cast<std::size_t>(60 * group + organ)]; }
    float female(int group, int organ) const { return radonData[static_cast<std::size_t>(60 * group + 30 + organ)]; }
};

struct RadonLoadResult {
    enum Status : std::uint8_t {
        Loaded,
        Unreadable, // missing, too short, too large, unreadable
        Invalid, // a value that is not a non-negative number
    };
    Status status = Unreadable;
    QString problem; // what and where, for people: "line 35: "abc" is not a number"
    RadonBlock block;
};

// The block of a table from the text of a file; only that block's lines are read.
RadonLoadResult readRadonBlock(const QByteArray& text, RadonTable type);
// The same from the file in a data folder.
RadonLoadResult loadRadonBlock(const QString& folder, RadonTable type);

} // namespace kav
