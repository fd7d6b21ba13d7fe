#pragma once

#include "nuclides/rnxindex.h"
#include "nuclides/rnxindexfile.h"
#include "nuclides/rnxnames.h"

#include <QFile>

#include <gtest/gtest.h>

// Test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace kav {

// Builds index nodes the way the file holds them, for small indexes made in a test.
inline TRNXnode makeNode(TRNXElement element, int mass, const char* massText, float halfLife, TimeUnit unit,
                         TRNXAllRadTypeSet modes = {})
{
    TRNXnode node;
    node.Element = element;
    node.AMassInt = static_cast<std::uint16_t>(mass);
    node.AMass = TRNXAMass(massText);
    node.RNXname = TRNXname(QStringView(RNXElementSymbol(element) + u'-' + QString::fromLatin1(massText)));
    node.HalfLife = halfLife;
    node.HalfLifeUnit = unit;
    node.RTypeSet = modes;
    return node;
}

inline void addDaughter(TRNXnode& node, const char* name, std::int32_t position, float yield)
{
    node.DaughterArray[node.DaughtersCount++] = {TRNXname(name), position, yield};
}

inline QByteArray toBytes(const std::vector<TRNXnode>& nodes)
{
    QByteArray bytes;
    for (const TRNXnode& n : nodes)
        WriteRNXIndexRecord(n, bytes);
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
inline void loadShippedIndex(TRNXindex& index)
{
    const TRNXLoadResult result = index.LoadFromFile(QStringLiteral(KAV_INDEX_FILE));
    ASSERT_EQ(result.status, TRNXLoadResult::Loaded) << result.problem.toStdString();
    ASSERT_EQ(index.Count(), 1252);
}

} // namespace kav
