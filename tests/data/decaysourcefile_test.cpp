#include "data/decaysourcefile.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(DecaySourceFile, RowsAndUnitComeBackAndBadLinesArePassedOver)
{
    const DecaySourceFile kept{ActivityUnit::kBq, {{"Cs-137", 1000}, {"Tc-99m", 0.1 + 0.2}}};
    EXPECT_EQ(parseDecaySourceFile(decaySourceFileBytes(kept)).rows, kept.rows);
    EXPECT_EQ(parseDecaySourceFile(decaySourceFileBytes(kept)).unit, ActivityUnit::kBq);
    const DecaySourceFile read = parseDecaySourceFile("# a note\n"
                                                      "unit\tfurlong\n"
                                                      "Co-60\t5\r\n"
                                                      "Co60\t5\n"
                                                      "Co-60\t0\n"
                                                      "Co-60\t-1\n"
                                                      "Co-60\tnan\n"
                                                      "Co-60\t5\t6\n"
                                                      "Sr-90\t2e3\n");
    EXPECT_EQ(read.unit, ActivityUnit::Bq);
    EXPECT_EQ(read.rows, (std::vector<DecaySourceRow>{{"Co-60", 5}, {"Sr-90", 2000}}));
    QByteArray many;
    for (int i = 0; i <= MaxDecaySourceRows; ++i)
        many += "H-3\t1\n";
    EXPECT_EQ(parseDecaySourceFile(many).rows.size(), static_cast<std::size_t>(MaxDecaySourceRows));
}

} // namespace
} // namespace kav
