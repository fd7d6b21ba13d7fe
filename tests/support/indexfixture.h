#pragma once

#include "nuclides/indexfile.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/nuclidenames.h"

#include <QFile>

#include <gtest/gtest.h>

// Test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace kav {

// Test failures show elements by their symbols.
inline void PrintTo(ChemicalElement element, std::ostream* out)
{
    *out << elementSymbolAscii(element);
}

// Builds index nodes the way the file holds them, for small indexes made in a test.
inline Nuclide makeNode(ChemicalElement element, int mass, const char* massText, float halfLife, TimeUnit unit,
                        DecayModeSet modes = {})
{
    Nuclide node;
    node.element = element;
    node.massNumber = static_cast<std::uint16_t>(mass);
    node.mass = MassText(massText);
    node.name = NuclideName(QStringView(elementSymbol(element) + u'-' + QString::fromLatin1(massText)));
    node.halfLife = halfLife;
    node.halfLifeUnit = unit;
    node.decayModes = modes;
    return node;
}

inline void addDaughter(Nuclide& node, const char* name, std::int32_t position, float yield)
{
    node.daughters[node.daughterCount++] = {NuclideName(name), position, yield};
}

inline QByteArray toBytes(const std::vector<Nuclide>& nodes)
{
    QByteArray bytes;
    for (const Nuclide& n : nodes)
        writeIndexRecord(n, bytes);
    return bytes;
}

// The index the build made from the decay data.
inline QByteArray shippedIndexBytes()
{
    QFile file(QStringLiteral(KAV_INDEX_FILE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << KAV_INDEX_FILE;
    return file.readAll();
}

// Fills an index with the one the build made.
inline void loadShippedIndex(NuclideIndex& index)
{
    const IndexLoadResult result = index.loadFromFile(QStringLiteral(KAV_INDEX_FILE));
    ASSERT_EQ(result.status, IndexLoadResult::Loaded) << result.problem.toStdString();
    ASSERT_EQ(index.count(), 1252);
}

} // namespace kav
