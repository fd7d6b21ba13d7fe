// The index the build makes from the decay data, checked against that data itself.
#include "base/numberformat.h"
#include "indexfixture.h"
#include "rnxgen/gzipfile.h"
#include "rnxgen/ndxreader.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace kav {
namespace {

// The decay-data records as plain columns, read here independently of the converter.
struct NdxLine {
    QString name;
    std::vector<std::pair<QString, int>> radioactive; // name and line number
};

std::vector<NdxLine> readNdxLines()
{
    QFile file(QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<NdxLine> lines;
    const QList<QByteArray> all = file.readAll().split('\n');
    for (qsizetype i = 1; i < all.size(); ++i) {
        const QByteArray& l = all[i];
        if (l.trimmed().isEmpty())
            continue;
        NdxLine line{QString::fromLatin1(l.mid(0, 7)).trimmed(), {}};
        for (int column : {53, 78, 103, 128}) {
            const QString name = QString::fromLatin1(l.mid(column, 7)).trimmed();
            const int pos = l.mid(column + 7, 6).trimmed().toInt();
            if (!name.isEmpty() && pos > 0 && pos != 9999)
                line.radioactive.push_back({name, pos});
        }
        lines.push_back(line);
    }
    return lines;
}

QList<QByteArray> ndxRecords()
{
    QFile file(QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> records = file.readAll().split('\n').mid(1);
    records.removeIf([](const QByteArray& l) { return l.trimmed().isEmpty(); });
    return records;
}

// Records in the four spectra files of the decay data, as its README gives them.
const SpectrumTotals kDecayDataTotals{454373, 110370, 131435, 1456};

// A field of a record by its columns, counted from 0 as half-open ranges.
QByteArray column(const QByteArray& record, int from, int to)
{
    return record.mid(from, to - from).trimmed();
}

QByteArray decayDataFile(const char* name)
{
    const GzipContent content = readGzipFile(QStringLiteral(KAV_DECAY_DATA_DIR "/") + QLatin1String(name), 64 << 20);
    EXPECT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    return content.bytes;
}

class ShippedIndex : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        loadShippedIndex(index);
    }

    NuclideIndex index;
};

TEST_F(ShippedIndex, HoldsEveryNuclideInFileOrderWithContiguousElements)
{
    EXPECT_EQ(index.count(), 1252);
    EXPECT_EQ(index.items(0)->name.toString(), QStringLiteral("Ac-223"));
    EXPECT_EQ(index.items(1251)->name.toString(), QStringLiteral("Zr-97"));
    EXPECT_EQ(index.elements().count(), 97);
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& node = *index.items(i);
        EXPECT_EQ(node.position, i);
        EXPECT_EQ(node.nameText(), node.name.toString());
        const ElementRange& range = index.rangeOf(node.element);
        EXPECT_GE(i, range.first) << node.nameText().toStdString();
        EXPECT_LT(i, range.first + range.count) << node.nameText().toStdString();
        EXPECT_LE(node.ancestorCount, 4);
        EXPECT_LE(node.daughterCount + node.stableDaughterCount
                      + (node.decayModes.contains(DecayMode::SpontaneousFission) ? 1 : 0),
                  4);
        EXPECT_EQ(index.findNuclide(node.nameText()), &node);
    }
}

TEST_F(ShippedIndex, WriterGivesBackTheFileByteForByte)
{
    EXPECT_EQ(index.toBytes(), shippedIndexBytes());
}

TEST_F(ShippedIndex, DecodesFieldByFieldToTheDecayData)
{
    QFile file(QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const NdxResult ndx = readNdx(file.readAll(), kDecayDataTotals);
    ASSERT_TRUE(ndx.error.isEmpty()) << ndx.error.toStdString();
    ASSERT_EQ(ndx.nodes.size(), 1252u);
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& a = *index.items(i);
        const Nuclide& b = ndx.nodes[static_cast<std::size_t>(i)];
        SCOPED_TRACE(a.nameText().toStdString());
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.element, b.element);
        EXPECT_EQ(a.mass, b.mass);
        EXPECT_EQ(a.massNumber, b.massNumber);
        EXPECT_EQ(a.halfLife, b.halfLife);
        EXPECT_EQ(a.halfLifeUnit, b.halfLifeUnit);
        EXPECT_EQ(a.decayModes, b.decayModes);
        EXPECT_EQ(a.daughterCount, b.daughterCount);
        EXPECT_EQ(a.stableDaughterCount, b.stableDaughterCount);
        for (std::size_t s = 0; s < 4; ++s) {
            EXPECT_EQ(a.daughters[s].yield, b.daughters[s].yield);
            if (s < static_cast<std::size_t>(a.daughterCount + a.stableDaughterCount)) {
                EXPECT_EQ(a.daughters[s].name, b.daughters[s].name);
                EXPECT_EQ(a.daughters[s].position, b.daughters[s].position);
            }
        }
        EXPECT_EQ(a.firstLine, b.firstLine);
        EXPECT_EQ(a.lineCount, b.lineCount);
        EXPECT_EQ(a.firstBetaLine, b.firstBetaLine);
        EXPECT_EQ(a.betaLineCount, b.betaLineCount);
        EXPECT_EQ(a.firstAugerLine, b.firstAugerLine);
        EXPECT_EQ(a.augerLineCount, b.augerLineCount);
        EXPECT_EQ(a.firstNeutronLine, b.firstNeutronLine);
        EXPECT_EQ(a.neutronLineCount, b.neutronLineCount);
        EXPECT_EQ(a.alphaEnergy, b.alphaEnergy);
        EXPECT_EQ(a.electronEnergy, b.electronEnergy);
        EXPECT_EQ(a.photonEnergy, b.photonEnergy);
        EXPECT_EQ(a.lowPhotonLines, b.lowPhotonLines);
        EXPECT_EQ(a.highPhotonLines, b.highPhotonLines);
        EXPECT_EQ(a.betaTransitions, b.betaTransitions);
        EXPECT_EQ(a.electronLines, b.electronLines);
        EXPECT_EQ(a.alphaTransitions, b.alphaTransitions);
        EXPECT_EQ(a.atomicMass, b.atomicMass);
        EXPECT_EQ(a.airKermaRateConstant, b.airKermaRateConstant);
        EXPECT_EQ(a.airKermaCoefficient, b.airKermaCoefficient);
    }
}

TEST_F(ShippedIndex, NumbersMatchTheColumnsOfTheText)
{
    // Read here by the columns of the data's own description, not by the converter.
    const QList<QByteArray> records = ndxRecords();
    ASSERT_EQ(records.size(), index.count());
    const QByteArray units[] = {"y", "d", "h", "m", "s", "ms", "us"};
    for (int i = 0; i < index.count(); ++i) {
        const QByteArray& r = records[i];
        const Nuclide& n = *index.items(i);
        SCOPED_TRACE(r.left(7).toStdString());
        EXPECT_EQ(n.name.toString(), QString::fromLatin1(column(r, 0, 7)));
        EXPECT_EQ(n.halfLife, column(r, 7, 15).toFloat());
        EXPECT_EQ(units[static_cast<std::size_t>(n.halfLifeUnit)], column(r, 15, 17));
        EXPECT_EQ(n.alphaEnergy, column(r, 152, 159).toDouble());
        EXPECT_EQ(n.electronEnergy, column(r, 159, 167).toDouble());
        EXPECT_EQ(n.photonEnergy, column(r, 167, 175).toDouble());
        EXPECT_EQ(n.lowPhotonLines, column(r, 175, 179).toInt());
        EXPECT_EQ(n.highPhotonLines, column(r, 179, 183).toInt());
        EXPECT_EQ(n.betaTransitions, column(r, 183, 187).toInt());
        EXPECT_EQ(n.electronLines, column(r, 187, 192).toInt());
        EXPECT_EQ(n.alphaTransitions, column(r, 192, 196).toInt());
        EXPECT_EQ(n.atomicMass, column(r, 196, 207).toDouble());
        EXPECT_EQ(n.airKermaRateConstant, column(r, 207, 217).toDouble());
        EXPECT_EQ(n.airKermaCoefficient, column(r, 217, 226).toDouble());
        // Radioactive daughters first, in the order of the text, then the stable ones.
        std::vector<std::tuple<QByteArray, int, float>> radioactive, stable;
        for (int c : {53, 78, 103, 128}) {
            const QByteArray name = column(r, c, c + 7);
            const int line = column(r, c + 7, c + 13).toInt();
            const float fraction = column(r, c + 13, c + 24).toFloat();
            if (name.isEmpty() || name == "SF")
                continue;
            (line > 0 ? radioactive : stable).emplace_back(name, line, fraction);
        }
        ASSERT_EQ(n.daughterCount, radioactive.size());
        ASSERT_EQ(n.stableDaughterCount, stable.size());
        const int firstStable = n.daughterCount + (n.decayModes.contains(DecayMode::SpontaneousFission) ? 1 : 0);
        for (std::size_t k = 0; k < radioactive.size() + stable.size(); ++k) {
            const bool isRadioactive = k < radioactive.size();
            const auto& [name, line, fraction] = isRadioactive ? radioactive[k] : stable[k - radioactive.size()];
            const DaughterSlot& d
                = n.daughters[isRadioactive ? k : static_cast<std::size_t>(firstStable) + k - radioactive.size()];
            EXPECT_EQ(d.name.toString(), QString::fromLatin1(name));
            EXPECT_EQ(d.yield, fraction);
            if (isRadioactive) {
                EXPECT_EQ(d.position, line - 2);
            }
        }
    }
}

TEST_F(ShippedIndex, SpectrumBlocksMatchTheCompanionFiles)
{
    // Discrete radiations: one row per record after the header, grouped by nuclide.
    std::map<QString, std::pair<long, long>> rows; // first record and count, by nuclide
    const QList<QByteArray> radiations = decayDataFile("radiations.tsv.gz").split('\n');
    long record = 0;
    for (qsizetype i = 1; i < radiations.size(); ++i) {
        if (radiations[i].isEmpty())
            continue;
        const QString name = QString::fromLatin1(radiations[i].left(radiations[i].indexOf('\t')));
        auto [it, added] = rows.try_emplace(name, record, 0);
        EXPECT_EQ(it->second.first + it->second.second, record) << "the rows of " << name.toStdString() << " are apart";
        ++it->second.second;
        ++record;
    }
    EXPECT_EQ(record, kDecayDataTotals[0]);
    // Beta spectra: a line with the name and the number of points opens each block.
    std::map<QString, std::pair<long, long>> blocks;
    record = 0;
    for (const QByteArray& line : decayDataFile("beta.txt.gz").split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (line.trimmed().isEmpty())
            continue;
        if (QChar::fromLatin1(fields[0][0]).isLetter())
            blocks[QString::fromLatin1(fields[0])] = {record, fields.value(1).toLong()};
        else
            ++record;
    }
    EXPECT_EQ(record, kDecayDataTotals[1]);
    EXPECT_EQ(blocks.size(), 955u);
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& n = *index.items(i);
        SCOPED_TRACE(n.nameText().toStdString());
        const auto row = rows.find(n.nameText());
        EXPECT_EQ(n.lineCount, row == rows.end() ? 0 : row->second.second);
        if (row != rows.end()) {
            EXPECT_EQ(n.firstLine, row->second.first);
        }
        const auto block = blocks.find(n.nameText());
        EXPECT_EQ(n.betaLineCount, block == blocks.end() ? 0 : block->second.second);
        if (block != blocks.end()) {
            EXPECT_EQ(n.firstBetaLine, block->second.first);
        }
    }
}

TEST_F(ShippedIndex, SpectrumBlocksTileEachFile)
{
    // Sorted by first record, every block starts where the one before it ended.
    struct Block {
        long first;
        long count;
    };
    auto check = [](std::vector<Block> blocks, long total, const char* file) {
        std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.first < b.first; });
        long next = 0;
        for (const Block& b : blocks) {
            EXPECT_EQ(b.first, next) << file;
            next = b.first + b.count;
        }
        EXPECT_EQ(next, total) << file;
    };
    std::vector<Block> spectra, beta, auger, neutrons;
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& n = *index.items(i);
        spectra.push_back({n.firstLine, n.lineCount});
        if (n.betaLineCount)
            beta.push_back({n.firstBetaLine, n.betaLineCount});
        if (n.augerLineCount)
            auger.push_back({n.firstAugerLine, n.augerLineCount});
        if (n.neutronLineCount)
            neutrons.push_back({n.firstNeutronLine, n.neutronLineCount});
    }
    EXPECT_EQ(beta.size(), 955u);
    EXPECT_EQ(auger.size(), 136u);
    EXPECT_EQ(neutrons.size(), 28u);
    check(spectra, 454373, "discrete");
    check(beta, 110370, "beta");
    check(auger, 131435, "Auger");
    check(neutrons, 1456, "neutrons");
}

TEST_F(ShippedIndex, TextExportAgreesWithTheDecayData)
{
    const std::vector<NdxLine> ndx = readNdxLines();
    ASSERT_EQ(ndx.size(), 1252u);
    // Ancestors from the data: line numbers of the records that name a line as a daughter.
    std::map<int, std::vector<int>> parents;
    for (std::size_t i = 0; i < ndx.size(); ++i)
        for (const auto& d : ndx[i].radioactive)
            parents[d.second].push_back(static_cast<int>(i) + 2);

    const QStringList lines = QString::fromLatin1(index.toText()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1253);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("DaughtersCount\tAncestorsCount\tChainLength\tMaxCutted")));
    for (int i = 0; i < 1252; ++i) {
        const QStringList f = lines[i + 1].split(u'\t');
        const NdxLine& data = ndx[static_cast<std::size_t>(i)];
        SCOPED_TRACE(data.name.toStdString());
        ASSERT_GE(f.size(), 37);
        EXPECT_EQ(f[0], data.name);
        for (std::size_t k = 0; k < 4; ++k) {
            const qsizetype c = 10 + 3 * static_cast<qsizetype>(k);
            if (k < data.radioactive.size()) {
                EXPECT_EQ(f[c].toInt(), data.radioactive[k].second);
                EXPECT_EQ(f[c + 1], data.radioactive[k].first);
            } else {
                EXPECT_EQ(f[c], QStringLiteral("-"));
            }
        }
        const std::vector<int>& expectedParents = parents[i + 2];
        for (std::size_t k = 0; k < 4; ++k) {
            const qsizetype c = 26 + 2 * static_cast<qsizetype>(k);
            if (k < expectedParents.size()) {
                EXPECT_EQ(f[c].toInt(), expectedParents[k]);
                EXPECT_EQ(f[c + 1], ndx[static_cast<std::size_t>(expectedParents[k] - 2)].name);
            } else {
                EXPECT_EQ(f[c], QStringLiteral("-"));
            }
        }
        // The main chain: at each step the radioactive daughter of largest fraction, the first
        // of equal ones (fractions as the index holds them, 32-bit).
        QStringList chain;
        for (int line = i + 2;;) {
            const NdxLine& at = ndx[static_cast<std::size_t>(line - 2)];
            if (at.radioactive.empty())
                break;
            const Nuclide& node = *index.items(line - 2);
            int best = 0;
            for (int s = 1; s < node.daughterCount; ++s)
                if (node.daughters[static_cast<std::size_t>(s)].yield
                    > node.daughters[static_cast<std::size_t>(best)].yield)
                    best = s;
            chain << at.radioactive[static_cast<std::size_t>(best)].first;
            line = at.radioactive[static_cast<std::size_t>(best)].second;
        }
        EXPECT_EQ(f[36].toInt(), chain.size());
        if (!chain.isEmpty()) {
            EXPECT_EQ(f[37], QStringLiteral("MaxCutted"));
            EXPECT_EQ(f.mid(39, chain.size()), chain);
            EXPECT_EQ(f.size(), 39 + 3 * chain.size());
        } else {
            EXPECT_EQ(f.size(), 37);
        }
    }
}

} // namespace
} // namespace kav
