#include "base/numberformat.h"
#include "indexfixture.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The resources the build embeds in this test, taken away and given back (the macros work at
// global scope only).
static void dropEmbeddedIndex()
{
    Q_CLEANUP_RESOURCE(kav_nuclides_tests_index_resource);
}
static void restoreEmbeddedIndex()
{
    Q_INIT_RESOURCE(kav_nuclides_tests_index_resource);
}

namespace kav {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class IndexTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }

    NuclideIndex index;
};

TEST_F(IndexTest, FindsNuclidesByNameAndByElementAndMass)
{
    loadShippedIndex(index);
    const Nuclide* tc = index.findNuclide(u"tc-99M");
    ASSERT_TRUE(tc);
    EXPECT_EQ(tc->name.toString(), QStringLiteral("Tc-99m"));
    EXPECT_EQ(index.findNuclide(ChemicalElement::Tc, "99M"), tc);
    EXPECT_EQ(index.findNuclidePosition(ChemicalElement::Tc, "99m"), tc->position);
    EXPECT_EQ(index.findNuclidePosition(ChemicalElement::Co, "61m"), -1);
    for (const char* name : {"Co-", "Co60", "Cobalt-60", "Co-123456", "C-", "-60", "Xx-1", "Db-268", "", "Co-60 extra"})
        EXPECT_EQ(index.findNuclide(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(index.findNuclide(u"Pa-234mXYZ"), index.findNuclide(u"Pa-234m")); // seven characters count
    EXPECT_TRUE(index.findNuclide(u"Pa-234m"));
}

TEST_F(IndexTest, RecordsParseFromNames)
{
    struct Case {
        const char* name;
        ChemicalElement element;
        const char* mass;
    };
    const Case cases[] = {
        {"Co-", ChemicalElement::Co, ""},         {"Co60", ChemicalElement::None, ""},
        {"Xx-1", ChemicalElement::None, ""},      {"Co-60M", ChemicalElement::Co, "60m"},
        {"Pa-234m", ChemicalElement::Pa, "234m"}, {"U-23456", ChemicalElement::None, ""},
        {"", ChemicalElement::None, ""},
    };
    for (const Case& c : cases) {
        const StoredNuclideId rec = NuclideIndex::storedIdOfName(QString::fromLatin1(c.name));
        EXPECT_EQ(rec.element, c.element) << c.name;
        EXPECT_EQ(rec.mass, MassText(c.mass)) << c.name;
    }
    // Records are equal by element and mass text alike.
    EXPECT_EQ((StoredNuclideId{ChemicalElement::Co, "60"}), NuclideIndex::storedIdOfName(u"Co-60"));
    EXPECT_FALSE((StoredNuclideId{ChemicalElement::Co, "60"}) == (StoredNuclideId{ChemicalElement::Co, "58"}));
    EXPECT_FALSE((StoredNuclideId{ChemicalElement::Co, "60"}) == (StoredNuclideId{ChemicalElement::Ni, "60"}));
}

TEST_F(IndexTest, AnIndexFileIsCheckedWholeAndRefusedOnceWhenDamaged)
{
    const QByteArray bytes = shippedIndexBytes();
    QTemporaryDir dir;
    writeFile(dir.filePath("Index.rnx"), bytes.left(bytes.size() - 5));
    const IndexLoadResult cut = index.loadIndexFrom(dir.path(), false);
    EXPECT_EQ(index.count(), 0);
    EXPECT_EQ(index.indexFolder(), dir.path() + u'/');
    EXPECT_EQ(cut.status, IndexLoadResult::Damaged);
    EXPECT_EQ(cut.path, dir.filePath("Index.rnx"));
    EXPECT_EQ(cut.problem, QStringLiteral("record 1252: the file ends inside it"));
    const IndexLoadMessage message = loadFailureMessage(cut, UiLanguage::English);
    EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(dir.filePath("Index.rnx"))));
    EXPECT_TRUE(message.text.contains(cut.problem));
    // The same file again: nothing more to say.
    EXPECT_EQ(index.loadIndexFrom(dir.path(), false).status, IndexLoadResult::Unchanged);

    // A whole index loads, and later loads change nothing.
    QTemporaryDir other;
    writeFile(other.filePath("Index.rnx"), bytes);
    EXPECT_EQ(index.loadIndexFrom(other.path(), false).status, IndexLoadResult::Loaded);
    EXPECT_EQ(index.count(), 1252);
    EXPECT_FALSE(index.loadFromResource());
    EXPECT_EQ(index.loadIndexFrom(dir.path(), false).status, IndexLoadResult::Unchanged);
    EXPECT_EQ(index.loadIndexFrom(QString(), true).status, IndexLoadResult::Unchanged);
    EXPECT_EQ(index.count(), 1252);
    // Read leniently (as from the program's own resource), a cut last record is dropped.
    index.loadFromBytes(bytes.left(bytes.size() - 5));
    EXPECT_EQ(index.count(), 1251);
}

TEST_F(IndexTest, ValidationNamesTheFirstThingWrong)
{
    const QByteArray good = shippedIndexBytes();
    EXPECT_EQ(index.loadValidated(good), QString());
    EXPECT_EQ(index.count(), 1252);
    QByteArray random(20000, '\0');
    for (qsizetype i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);
    QFile text(QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    // Record 2 with its element changed, Co-60's daughter pointed elsewhere, the records of two
    // elements interleaved.
    auto changed = [&](auto change) {
        std::vector<Nuclide> nodes;
        for (int i = 0; i < 3; ++i)
            nodes.push_back(*index.items(i));
        change(nodes);
        return toBytes(nodes);
    };
    const QByteArray threeGood = changed([](std::vector<Nuclide>&) {});
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "no index record"},
        {"zeros", QByteArray(4000, '\0'), "record 1: mass number 0 out of range"},
        {"random bytes", random, "record 1:"},
        {"the text index", text.readAll(), "record 1:"},
        {"a record cut", threeGood.chopped(1), "record 3: the file ends inside it"},
        {"an element number beyond the table", changed([](auto& n) { n[1].element = ChemicalElement(200); }),
         "record 2: element 200"},
        {"an element split in two runs", changed([](auto& n) { n[1].element = ChemicalElement::Co; }),
         "record 3: Ac follows"},
    };
    for (const Case& c : cases) {
        const QString problem = index.loadValidated(c.bytes);
        EXPECT_TRUE(problem.startsWith(QString::fromLatin1(c.problem))) << c.what << ": " << problem.toStdString();
        EXPECT_EQ(index.count(), 0) << c.what;
        EXPECT_EQ(index.findNuclide(u"Co-60"), nullptr) << c.what;
    }
    // A daughter whose position names another nuclide.
    index.loadFromBytes(good);
    std::vector<Nuclide> all;
    for (int i = 0; i < index.count(); ++i)
        all.push_back(*index.items(i));
    const int ra = index.findNuclide(u"Ra-226")->position;
    all[static_cast<std::size_t>(ra)].daughters[0].position += 1;
    EXPECT_TRUE(index.loadValidated(toBytes(all))
                    .startsWith(QStringLiteral("record %1: Rn-222 is not at the position").arg(ra + 1)));
    // The last record once more, in its element's run.
    all[static_cast<std::size_t>(ra)].daughters[0].position -= 1;
    all.push_back(all.back());
    EXPECT_EQ(index.loadValidated(toBytes(all)),
              QStringLiteral("record %1: %2 is listed twice").arg(all.size()).arg(all.back().name.toString()));
}

TEST_F(IndexTest, AMissingIndexFileIsNoFailure)
{
    QTemporaryDir dir;
    const IndexLoadResult none = index.loadIndexFrom(dir.path() + u'/', false);
    EXPECT_EQ(none.status, IndexLoadResult::Unchanged);
    EXPECT_FALSE(none.failed());
    EXPECT_EQ(index.count(), 0);
    EXPECT_EQ(index.findNuclide(u"Co-60"), nullptr);
    // A program without the resource: the load ends quietly.
    dropEmbeddedIndex();
    EXPECT_FALSE(index.loadIndexFrom(QString(), true).failed());
    EXPECT_EQ(index.count(), 0);
    restoreEmbeddedIndex();
    EXPECT_EQ(index.loadIndexFrom(QString(), true).status, IndexLoadResult::Loaded);
}

TEST_F(IndexTest, AnUnreadableIndexFileIsSaidInTheIndexLanguage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Index.rnx")); // present, but no file to open
    const IndexLoadResult result = index.loadIndexFrom(dir.path(), false);
    EXPECT_EQ(index.count(), 0);
    EXPECT_EQ(result.status, IndexLoadResult::Unreadable);
    const IndexLoadMessage russian = loadFailureMessage(result, UiLanguage::Russian);
    EXPECT_EQ(russian.caption, QString::fromUtf16(u"\u041E\u0448\u0438\u0431\u043A\u0430"));
    EXPECT_TRUE(russian.text.contains(QStringLiteral("\r\n")));
    EXPECT_EQ(loadFailureMessage(result, UiLanguage::English).text, QStringLiteral("Can't read radionuclide database"));
}

TEST_F(IndexTest, DerivedListsAndHalfLifeExtremes)
{
    loadShippedIndex(index);
    int total = 0;
    for (const NuclideList& list : index.daughterCountLists())
        total += list.count();
    EXPECT_EQ(total, 1252);
    EXPECT_GE(index.daughterCountLists()[0].indexOf("Co-60"), 0);
    EXPECT_GE(index.ancestorCountLists()[1].indexOf("Co-60"), 0);
    EXPECT_GE(index.decayFilterLists()[ordinal(DecayFilterKind::SpontaneousFission)].indexOf("U-238"), 0);
    EXPECT_GE(index.decayFilterLists()[ordinal(DecayFilterKind::Alpha)].indexOf("U-238"), 0);
    EXPECT_LT(index.decayFilterLists()[ordinal(DecayFilterKind::AlphaOnly)].indexOf("U-238"), 0);
    EXPECT_GE(index.decayFilterLists()[ordinal(DecayFilterKind::AlphaOnly)].indexOf("Ra-226"), 0);
    EXPECT_GE(index.decayFilterLists()[ordinal(DecayFilterKind::BetaMinusOnly)].indexOf("Co-60"), 0);
    EXPECT_TRUE(index.decayFilterElements()[ordinal(DecayFilterKind::SpontaneousFission)].contains(ChemicalElement::U));
    EXPECT_GT(index.shortestHalfLife().decayConstant, index.longestHalfLife().decayConstant);
    EXPECT_EQ(index.longestHalfLife().halfLifeUnit, TimeUnit::Year);
    const NuclideList& sorted = index.decayFilterLists()[ordinal(DecayFilterKind::Alpha)];
    for (int i = 1; i < sorted.count(); ++i)
        EXPECT_LT(sorted.strings(i - 1).compare(sorted.strings(i), Qt::CaseInsensitive), 0);
}

TEST_F(IndexTest, TextExportRowsWithoutSpectrumSummary)
{
    loadShippedIndex(index);
    const QStringList lines = QString::fromLatin1(index.toText()).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("RNuclide\tElement\tElementOrder\tAMassInt\tAMass\tT1/2, d\t")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("DaughtersCount\tAncestorsCount\tChainLength\tMaxCutted")));
    const QString co60 = lines[index.findNuclidePosition(ChemicalElement::Co, "60") + 1];
    const QStringList f = co60.split(u'\t');
    EXPECT_EQ(f.mid(0, 10),
              (QStringList{"Co-60", "Co", "27", "60", "60", "1.92534e3", "5.271e0", "y", "3.60012e-4", "B-"}));
    EXPECT_EQ(f.mid(10, 12), QStringList(12, QStringLiteral("-")));
    EXPECT_EQ(f.mid(34), (QStringList{"0", "1", "0"}));
    const QStringList ra = lines[index.findNuclidePosition(ChemicalElement::Ra, "226") + 1].split(u'\t');
    EXPECT_EQ(ra[37], QStringLiteral("MaxCutted"));
    EXPECT_EQ(ra[38], QStringLiteral(" 2.09999998332933E-0004"));
    const QStringList ac = lines[1].split(u'\t');
    EXPECT_EQ(ac.mid(28, 6), QStringList(6, QStringLiteral("-")));

    QTemporaryDir dir;
    EXPECT_TRUE(index.saveToText(dir.filePath("index.txt"), {}));
    EXPECT_TRUE(QFile::exists(dir.filePath("index.txt")));
    QString error;
    EXPECT_FALSE(index.saveToText(dir.filePath("no/such/folder.txt"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(IndexTest, DamagedRecordsStayUsable)
{
    // An unknown element, an odd isomer state, time unit and decay modes, and a second run of
    // an element after another one.
    Nuclide co = makeNode(ChemicalElement::Co, 60, "60", 5.27f, TimeUnit::Year, {DecayMode::BetaMinus});
    Nuclide cs = makeNode(ChemicalElement::Cs, 137, "137", 30.1f, TimeUnit::Year, {DecayMode::BetaMinus});
    Nuclide co2 = makeNode(ChemicalElement::Co, 58, "58", 70.9f, TimeUnit::Day, {DecayMode::ElectronCapture});
    QByteArray bytes = toBytes({co, cs, co2});
    Nuclide many = makeNode(ChemicalElement::Ba, 140, "140", 12.75f, TimeUnit::Day, {DecayMode::BetaMinus});
    QByteArray odd;
    writeIndexRecord(many, odd);
    odd[0] = char(200); // element beyond the table
    odd[3] = char(7); // isomer state beyond n
    odd[8] = char(99); // a time unit that does not exist: read as days
    odd[9] = char(0xDF); // decay-mode bits beyond the six modes
    bytes += odd;
    index.loadFromBytes(bytes);
    ASSERT_EQ(index.count(), 4);
    EXPECT_EQ(index.items(3)->element, ChemicalElement::None);
    EXPECT_EQ(index.items(3)->mass, MassText("140"));
    EXPECT_EQ(index.items(3)->decayModes.raw(), 0x1F);
    EXPECT_EQ(index.items(3)->halfLifeUnit, TimeUnit::Day);
    // The first run of cobalt is the range; the later Co-58 stays in the index, out of reach.
    EXPECT_EQ(index.rangeOf(ChemicalElement::Co).first, 0);
    EXPECT_EQ(index.rangeOf(ChemicalElement::Co).count, 1);
    EXPECT_EQ(index.findNuclide(u"Co-60"), index.items(0));
    EXPECT_EQ(index.findNuclide(u"Cs-137"), index.items(1));
    EXPECT_EQ(index.findNuclide(u"Co-58"), nullptr);
}

TEST_F(IndexTest, MoreDaughtersThanSlotsAndMoreAncestorsThanSlots)
{
    std::vector<Nuclide> nodes;
    Nuclide parent = makeNode(ChemicalElement::Ba, 140, "140", 1, TimeUnit::Day, {DecayMode::BetaMinus});
    QByteArray record;
    parent.daughterCount = 0;
    writeIndexRecord(parent, record);
    // Patch in six radioactive daughters (each element 1, mass 4, state 1, yield 4, position 4).
    record[10] = 6;
    record.chop(1); // the stable count
    for (int i = 0; i < 6; ++i) {
        QByteArray d(14, '\0');
        d[0] = char(ChemicalElement::La);
        d[1] = char(140);
        const float y = 0.1f;
        std::memcpy(d.data() + 6, &y, 4);
        d[10] = char(1); // position 1
        record += d;
    }
    record += char(0);
    QByteArray bytes = record;
    // Five more parents of the node at position 1.
    Nuclide child = makeNode(ChemicalElement::La, 140, "140", 1, TimeUnit::Day);
    bytes += toBytes({child});
    for (int i = 0; i < 5; ++i) {
        Nuclide p = makeNode(ChemicalElement::Xe, 140 + i, QString::number(140 + i).toLatin1().constData(), 1,
                             TimeUnit::Day, {DecayMode::BetaMinus});
        addDaughter(p, "La-140", 1, 1);
        bytes += toBytes({p});
    }
    index.loadFromBytes(bytes);
    ASSERT_EQ(index.count(), 7);
    EXPECT_EQ(index.items(0)->daughterCount, 4);
    const Nuclide& la = *index.items(1);
    EXPECT_EQ(la.ancestorCount, 4);
    for (std::int32_t a : la.ancestors)
        EXPECT_EQ(a, 0); // the first parent fills every slot through its four kept daughters
}

TEST_F(IndexTest, QuickSortOrdersWithTheGivenComparison)
{
    loadShippedIndex(index);
    NuclideList list;
    for (const char* name : {"Tc-99m", "H-3", "Co-60", "Ag-110m", "Ag-110", "Co-58", "U-238", "Cs-137"})
        list.add(QString::fromLatin1(name), index.findNuclide(QString::fromLatin1(name)));
    quickSortNuclideList(list, 0, list.count() - 1, [](const NuclideList& l, int i, int j) {
        return comparePeriodicTable(*l.objects(i), *l.objects(j));
    });
    EXPECT_EQ(list.names(), (QStringList{"H-3", "Co-58", "Co-60", "Tc-99m", "Ag-110", "Ag-110m", "Cs-137", "U-238"}));
}

} // namespace
} // namespace kav
