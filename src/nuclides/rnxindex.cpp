#include "nuclides/rnxindex.h"

#include "base/extendedfloat.h"
#include "base/messageboxes.h"
#include "base/numberformat.h"
#include "nuclides/rnxnames.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace kav {

namespace {

template <std::size_t N>
std::array<TRNXStringList, N> sortedLists()
{
    std::array<TRNXStringList, N> lists;
    lists.fill(TRNXStringList(true));
    return lists;
}

const TRNXHalfLifeExtreme kShortestStart{0, tuYear, 1e-38f};
const TRNXHalfLifeExtreme kLongestStart{0, tuYear, 1e38f};

// Reads little-endian values from a buffer; every read checks that the bytes are there.
class RecordReader {
public:
    RecordReader(const char* data, qsizetype size) : m_data(data), m_size(size) {}
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }
    bool atEnd() const { return m_pos >= m_size; }

    template <typename T>
    bool read(T& value)
    {
        if (m_size - m_pos < static_cast<qsizetype>(sizeof(T)))
            return false;
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += static_cast<qsizetype>(sizeof(T));
        return true;
    }
    bool readExtended(double& value)
    {
        Extended80 bytes;
        if (!read(bytes))
            return false;
        value = fromExtended80(bytes);
        return true;
    }
    bool skip(qsizetype n)
    {
        if (n < 0 || m_size - m_pos < n)
            return false;
        m_pos += n;
        return true;
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

TRNXElement validElement(std::uint8_t ordinal)
{
    return ordinal < RNXElementCount ? static_cast<TRNXElement>(ordinal) : _NoRNXElement;
}

TRNXAMassChar validState(std::uint8_t state)
{
    return state <= mcx_n ? static_cast<TRNXAMassChar>(state) : mcxNone;
}

// Notes the first thing found wrong in a file being checked.
class Problems {
public:
    explicit Problems(QString* first) : m_first(first) {}
    bool checking() const { return m_first != nullptr; }
    bool found() const { return m_first && !m_first->isEmpty(); }
    void note(int record, const QString& what)
    {
        if (m_first && m_first->isEmpty())
            *m_first = QStringLiteral("record %1: %2").arg(record + 1).arg(what);
    }

private:
    QString* m_first;
};

// One record of the index file into a node; false when the record is incomplete.
// Counts beyond what a node holds are read past and left out; values outside their range are
// noted as problems.
bool readRecord(RecordReader& in, TRNXnode& node, int record, Problems& problems)
{
    std::uint8_t element = 0;
    std::uint8_t state = 0;
    std::uint8_t timeUnit = 0;
    std::uint8_t radTypes = 0;
    std::uint8_t daughters = 0;
    if (!in.read(element) || !in.read(node.AMassInt) || !in.read(state) || !in.read(node.HalfLife)
        || !in.read(timeUnit) || !in.read(radTypes) || !in.read(daughters) || !in.read(node.NLines)
        || !in.read(node.BetaLines) || !in.read(node.AugerLines) || !in.read(node.NeutronLines)
        || !in.read(node.SLinePos))
        return false;
    if ((node.BetaLines && !in.read(node.BetaLinePos)) || (node.AugerLines && !in.read(node.AugerLinePos))
        || (node.NeutronLines && !in.read(node.NeutronLinePos)))
        return false;
    if (!in.readExtended(node.E_alpha) || !in.readExtended(node.E_electron) || !in.readExtended(node.E_photon)
        || !in.read(node.Ph_low) || !in.read(node.Ph_high) || !in.read(node.BetaTrans) || !in.read(node.MonoElectr)
        || !in.read(node.AlphaTrans) || !in.readExtended(node.AMassReal)
        || !in.readExtended(node.AirKermaRateConstant) || !in.readExtended(node.AirKermaCoefficient))
        return false;

    if (element >= _NoRNXElement)
        problems.note(record, QStringLiteral("element %1 is not an element").arg(element));
    if (state > mcx_n || timeUnit > tuMkSec || (radTypes & ~RNXAllRadTypeMask))
        problems.note(record, QStringLiteral("isomer state, time unit or decay modes out of range"));
    if (node.AMassInt < 1 || node.AMassInt > 999)
        problems.note(record, QStringLiteral("mass number %1 out of range").arg(node.AMassInt));
    if (!(node.HalfLife > 0) || !std::isfinite(node.HalfLife))
        problems.note(record, QStringLiteral("half-life %1 is not a positive number").arg(node.HalfLife));
    if (daughters > RNXDaughterSlots)
        problems.note(record, QStringLiteral("%1 radioactive daughters").arg(daughters));
    node.Element = validElement(element);
    const TRNXAMassChar isomer = validState(state);
    node.AMass = MakeAMass(node.AMassInt, isomer);
    node.TimeUnit = timeUnit <= tuMkSec ? static_cast<TQzTimeUnit>(timeUnit) : tuDay;
    node.RTypeSet = TRNXAllRadTypeSet::fromRaw(radTypes & RNXAllRadTypeMask);

    auto readIdentity = [&](TRNXDaughterRec& d) {
        std::uint8_t e = 0;
        std::int32_t mass = 0;
        std::uint8_t s = 0;
        if (!in.read(e) || !in.read(mass) || !in.read(s) || !in.read(d.Yield))
            return false;
        if (e >= _NoRNXElement || mass < 1 || mass > 999 || s > mcx_n || !(d.Yield >= 0 && d.Yield <= 1))
            problems.note(record, QStringLiteral("a daughter's identity or fraction is out of range"));
        d.RNXname = MakeRNXname(validElement(e), mass, validState(s));
        return true;
    };
    int slot = 0;
    for (int i = 0; i < daughters; ++i) {
        TRNXDaughterRec d;
        if (!readIdentity(d) || !in.read(d.DaughterPos))
            return false;
        if (slot < RNXDaughterSlots)
            node.DaughterArray[static_cast<std::size_t>(slot++)] = d;
    }
    node.DaughtersCount = static_cast<std::uint8_t>(slot);
    if (node.RTypeSet.contains(rtx_SF)) {
        float fission = 0;
        if (!in.read(fission))
            return false;
        if (slot < RNXDaughterSlots)
            node.DaughterArray[static_cast<std::size_t>(slot)].Yield = fission;
        else
            problems.note(record, QStringLiteral("no place for the fission branch"));
        node.StableCount = 0;
        return true;
    }
    std::uint8_t stable = 0;
    if (!in.read(stable))
        return false;
    if (slot + stable > RNXDaughterSlots)
        problems.note(record, QStringLiteral("more daughters than the record holds"));
    int kept = 0;
    for (int i = 0; i < stable; ++i) {
        TRNXDaughterRec d;
        if (!readIdentity(d))
            return false;
        if (slot < RNXDaughterSlots) {
            node.DaughterArray[static_cast<std::size_t>(slot++)] = d;
            ++kept;
        }
    }
    node.StableCount = static_cast<std::uint8_t>(kept);
    return true;
}

// The index file's own 23-character scientific notation: " 2.09999998332933E-0004".
QString fixedScientific(double value)
{
    if (!std::isfinite(value))
        return QString::fromLatin1(std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF").rightJustified(23);
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    std::string text(buf, r.ptr); // d.ddddddddddddddde±XX
    const auto e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    char out[32];
    std::snprintf(out, sizeof out, "%c%sE%c%04d", std::signbit(value) ? '-' : ' ', text.substr(0, e).c_str(),
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    return QString::fromLatin1(out);
}

QString timeUnitLetter(TQzTimeUnit unit)
{
    static const char letters[] = "ydhmstu";
    return QString(QLatin1Char(letters[std::min<int>(unit, tuMkSec)]));
}

} // namespace

std::unique_ptr<TRNXindex> RNXIndex = std::make_unique<TRNXindex>();
QString RNXFolder;
int RNXCount = 0;
std::array<TRNXElementRange, RNXElementCount> ElementRanges{};
std::vector<TRNXitem> RNXControls;
std::array<TRNXStringList, RNXDecayFilterCount> DecayFilterLists = sortedLists<RNXDecayFilterCount>();
std::array<TRNXElementSet, RNXDecayFilterCount> DecayFilterElements{};
std::array<TRNXStringList, 5> DaughterCountLists = sortedLists<5>();
std::array<TRNXElementSet, 5> DaughterCountElements{};
std::array<TRNXStringList, 5> AncestorCountLists = sortedLists<5>();
std::array<TRNXElementSet, 5> AncestorCountElements{};
TRNXHalfLifeExtreme ShortestHalfLife = kShortestStart;
TRNXHalfLifeExtreme LongestHalfLife = kLongestStart;

TRNXindex::TRNXindex() = default;
TRNXindex::~TRNXindex() = default;

const TRNXnode* TRNXindex::NodeAt(std::int32_t position) const
{
    if (position < 0 || position >= Count())
        return nullptr;
    return FItems[static_cast<std::size_t>(position)].get();
}

void TRNXindex::Clear()
{
    FItems.clear();
}

void TRNXindex::LoadFromBytes(const QByteArray& bytes)
{
    Parse(bytes, nullptr);
}

QString TRNXindex::LoadValidated(const QByteArray& bytes)
{
    QString problem;
    Parse(bytes, &problem);
    if (problem.isEmpty() && Count() == 0)
        problem = QStringLiteral("no index record");
    if (!problem.isEmpty()) {
        FItems.clear();
        ElementSet.clear();
        ElementRanges.fill({});
        RNXCount = 0;
        BuildDerivedLists();
    }
    return problem;
}

void TRNXindex::Parse(const QByteArray& bytes, QString* firstProblem)
{
    Problems problems(firstProblem);
    ElementRanges.fill({});
    RNXCount = 0;
    FItems.clear();
    ElementSet.clear();

    RecordReader in(bytes.constData(), bytes.size());
    TRNXElement runElement = _NoRNXElement;
    bool runIsFirst = false; // whether the current run of an element is its first one
    while (!in.atEnd() && Count() < MaxRecords && !problems.found()) {
        auto node = std::make_unique<TRNXnode>();
        if (!readRecord(in, *node, RNXCount, problems)) {
            problems.note(RNXCount, QStringLiteral("the file ends inside it"));
            break; // an incomplete last record is dropped
        }
        node->Lr = static_cast<float>(std::log(2.0L) / (static_cast<long double>(node->HalfLife)
                                                         / TimeUnitsPerDayA(node->TimeUnit)));
        node->RNXname = MakeRNXname(node->Element, node->AMass);
        node->Index = RNXCount;
        node->FOwner = this;
        const TRNXElement element = node->Element;
        // A range holds an element's first run of records; a later run of the same element
        // (a file out of order) stays in the index but outside the range.
        if (Count() == 0 || element != runElement) {
            if (Count() > 0 && runIsFirst)
                ElementRanges[runElement].Count = RNXCount - ElementRanges[runElement].First;
            runIsFirst = !ElementSet.contains(element);
            if (!runIsFirst)
                problems.note(RNXCount, RNXElementSymbol(element) + QStringLiteral(" follows other elements' records"));
            if (runIsFirst)
                ElementRanges[element].First = RNXCount;
            runElement = element;
        }
        ElementSet.insert(element);
        FItems.push_back(std::move(node));
        ++RNXCount;
    }
    if (Count() > 0 && runIsFirst)
        ElementRanges[runElement].Count = RNXCount - ElementRanges[runElement].First;
    if (problems.checking() && !in.atEnd() && Count() >= MaxRecords)
        problems.note(RNXCount, QStringLiteral("more records than an index holds"));

    // Radioactive daughters that point outside the index cannot be linked.
    for (const auto& node : FItems)
        for (int slot = 0; slot < node->DaughtersCount; ++slot) {
            TRNXDaughterRec& d = node->DaughterArray[static_cast<std::size_t>(slot)];
            if (problems.checking() && (d.DaughterPos < 0 || d.DaughterPos >= Count()
                                        || FItems[static_cast<std::size_t>(d.DaughterPos)]->RNXname != d.RNXname))
                problems.note(node->Index, d.RNXname.toString() + QStringLiteral(" is not at the position given for it"));
            if (d.DaughterPos >= Count())
                d.DaughterPos = -1;
            d.DaughterPos = std::max(d.DaughterPos, -1);
        }
    if (problems.checking())
        for (const auto& node : FItems)
            if (FindRNX(node->RNXname.toString()) != node.get())
                problems.note(node->Index, node->RNXname.toString() + QStringLiteral(" is listed twice"));
    LinkAncestors();
    BuildDerivedLists();
}

void TRNXindex::LinkAncestors()
{
    for (const auto& node : FItems)
        for (int slot = 0; slot < node->DaughtersCount; ++slot) {
            const std::int32_t pos = node->DaughterArray[static_cast<std::size_t>(slot)].DaughterPos;
            if (pos < 0)
                continue;
            // A fifth ancestor has no slot and is not linked.
            for (std::int32_t& ancestor : FItems[static_cast<std::size_t>(pos)]->AncestorsIndex)
                if (ancestor < 0) {
                    ancestor = node->Index;
                    break;
                }
        }
}

void TRNXindex::BuildDerivedLists()
{
    for (auto* lists : {&DaughterCountLists, &AncestorCountLists})
        for (TRNXStringList& list : *lists)
            list.Clear();
    for (TRNXStringList& list : DecayFilterLists)
        list.Clear();
    for (auto* sets : {&DaughterCountElements, &AncestorCountElements})
        for (TRNXElementSet& set : *sets)
            set.clear();
    for (TRNXElementSet& set : DecayFilterElements)
        set.clear();
    ShortestHalfLife = kShortestStart;
    LongestHalfLife = kLongestStart;

    for (const auto& node : FItems) {
        const QString name = node->RNXname.toString();
        int ancestors = 0;
        while (ancestors < 4 && node->AncestorsIndex[static_cast<std::size_t>(ancestors)] >= 0)
            ++ancestors;
        node->AncestorsCount = static_cast<std::uint8_t>(ancestors);
        const std::size_t daughters = std::min<std::size_t>(node->DaughtersCount, 4);
        DaughterCountLists[daughters].Add(name, node.get());
        DaughterCountElements[daughters].insert(node->Element);
        AncestorCountLists[static_cast<std::size_t>(ancestors)].Add(name, node.get());
        AncestorCountElements[static_cast<std::size_t>(ancestors)].insert(node->Element);

        if (node->Lr > ShortestHalfLife.Lr)
            ShortestHalfLife = {node->HalfLife, node->TimeUnit, node->Lr};
        if (node->Lr < LongestHalfLife.Lr)
            LongestHalfLife = {node->HalfLife, node->TimeUnit, node->Lr};

        const TRNXAllRadTypeSet& t = node->RTypeSet;
        const bool holds[5] = {t.contains(rtx_Alpha), t.contains(rtx_BetaMinus),
                               t.contains(rtx_BetaPlus) || t.contains(rtx_EC), t.contains(rtx_IT),
                               t.contains(rtx_SF)};
        int held = 0;
        for (int f = 0; f < 5; ++f) {
            if (!holds[f])
                continue;
            ++held;
            DecayFilterLists[static_cast<std::size_t>(f)].Add(name, node.get());
            DecayFilterElements[static_cast<std::size_t>(f)].insert(node->Element);
        }
        if (held != 1)
            continue;
        for (int f = 0; f < 5; ++f)
            if (holds[f]) {
                DecayFilterLists[static_cast<std::size_t>(f + 5)].Add(name, node.get());
                DecayFilterElements[static_cast<std::size_t>(f + 5)].insert(node->Element);
            }
    }
}

bool TRNXindex::Load()
{
    const QString path = FLoadFromResource ? QStringLiteral(":/INDEX") : RNXFolder + QStringLiteral("Index.rnx");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!FLoadFromResource) {
            static const char16_t* const captions[] = {u"Error", u"\u041E\u0448\u0438\u0431\u043A\u0430",
                                                       u"\u041F\u043E\u043C\u0438\u043B\u043A\u0430"};
            static const char16_t* const texts[] = {
                u"Can't read radionuclide database",
                u"\u041E\u0448\u0438\u0431\u043A\u0430 \u0447\u0442\u0435\u043D\u0438\u044F \u0444\u0430\u0439\u043B\u0430 "
                u"\u0441 \u0434\u0430\u043D\u043D\u044B\u043C\u0438 \u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432\r\n"
                u"\u0438\u043D\u0444\u043E\u0440\u043C\u0430\u0446\u0438\u043E\u043D\u043D\u043E-\u0441\u043F\u0440\u0430\u0432\u043E\u0447\u043D\u043E\u0439 "
                u"\u0441\u0438\u0441\u0442\u0435\u043C\u044B!",
                u"\u041F\u043E\u043C\u0438\u043B\u043A\u0430 \u0437\u0447\u0438\u0442\u0443\u0432\u0430\u043D\u043D\u044F \u0444\u0430\u0439\u043B\u0430 "
                u"\u0437 \u0434\u0430\u043D\u0438\u043C\u0438 \u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432\r\n"
                u"i\u043D\u0444\u043E\u0440\u043C\u0430\u0446i\u0439\u043D\u043E-\u0434\u043E\u0432i\u0434\u043A\u043E\u0432\u043E\u0457 "
                u"\u0441\u0438\u0441\u0442\u0435\u043C\u0438!",
            };
            const std::size_t lang = std::min<std::size_t>(FLanguage, 2);
            messageBoxes().Show(MessageKind::Error, QString::fromUtf16(captions[lang]),
                                QString::fromUtf16(texts[lang]), mbOK, mbOK);
        }
        return false;
    }
    if (FLoadFromResource) {
        LoadFromBytes(file.read(MaxFileSize));
        return true;
    }
    // A file beside the program may be anything: it is taken only when it is an index whole.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    const QString problem = bytes.size() > MaxFileSize ? QStringLiteral("larger than any index") : LoadValidated(bytes);
    if (problem.isEmpty())
        return true;
    FRejectedFile = path;
    messageBoxes().Show(MessageKind::Warning, QStringLiteral("Radionuclide index"),
                        QStringLiteral("The radionuclide index %1 cannot be used (%2).\r\nThe index the program carries "
                                       "is used instead.")
                            .arg(QDir::toNativeSeparators(path), problem),
                        mbOK, mbOK);
    return false;
}

TRNXnode* TRNXindex::FindRNX(TRNXElement element, const TRNXAMass& aMass) const
{
    const int i = FindRNXindex(element, aMass);
    return i < 0 ? nullptr : FItems[static_cast<std::size_t>(i)].get();
}

int TRNXindex::FindRNXindex(TRNXElement element, const TRNXAMass& aMass) const
{
    if (element >= RNXElementCount)
        return -1;
    const TRNXAMass query(QStringView(aMass.toString().left(4).toLower()));
    const TRNXElementRange& range = ElementRanges[element];
    for (int i = range.First; i < range.First + range.Count && i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)]->AMass == query)
            return i;
    return -1;
}

TRNXnode* TRNXindex::FindRNX(QStringView name) const
{
    name = name.left(7);
    const qsizetype dash = name.indexOf(u'-'); // 0-based: the position counted from 1 is dash + 1
    if (dash != 1 && dash != 2)
        return nullptr;
    if (dash == name.size() - 1)
        return nullptr;
    const TRNXElement element = ElementBySymbol(name.left(dash));
    if (element == _NoRNXElement || ElementRanges[element].Count < 1)
        return nullptr;
    const QStringView rest = name.mid(dash + 1);
    if (rest.size() > 4)
        return nullptr;
    return FindRNX(element, TRNXAMass(rest));
}

TRNXRec TRNXindex::GetRNXRecByString(QStringView name)
{
    TRNXRec rec;
    const qsizetype dash = name.indexOf(u'-');
    if (dash < 0 || name.size() - (dash + 1) >= 5)
        return rec;
    rec.El = ElementBySymbol(name.left(dash));
    if (rec.El != _NoRNXElement)
        rec.AMass = TRNXAMass(QStringView(name.mid(dash + 1).toString().toLower()));
    else
        rec.AMass = TRNXAMass("");
    return rec;
}

void TRNXindex::GetAncLists(const TRNXnode* rnx, TRNXStringList& directAnc, TRNXStringList& mainAnc,
                            TRNXStringList& otherAnc) const
{
    directAnc.Clear();
    mainAnc.Clear();
    otherAnc.Clear();
    if (!rnx)
        return;
    for (std::int32_t pos : rnx->AncestorsIndex)
        if (const TRNXnode* a = NodeAt(pos))
            directAnc.Add(a->RNXname.toString(), a);
    if (rnx->AncestorsIndex[0] < 0)
        return;

    // Every path upwards, each node once per path. A damaged index may link in a circle: a
    // node already on the path is not walked again, and the walk stops after a bounded number
    // of steps so that many crossing paths cannot run away.
    struct Step {
        const TRNXnode* node;
        int nextSlot;
    };
    std::vector<Step> path{{rnx, 0}};
    const long maxSteps = 16L * (Count() + 1);
    long steps = 0;
    while (!path.empty() && steps++ < maxSteps) {
        Step& top = path.back();
        const TRNXnode* node = top.node;
        if (top.nextSlot == 0 && node->AncestorsIndex[0] < 0) {
            mainAnc.Add(node->RNXname.toString(), node);
            path.pop_back();
            continue;
        }
        if (top.nextSlot >= 4 || node->AncestorsIndex[static_cast<std::size_t>(top.nextSlot)] < 0) {
            path.pop_back();
            continue;
        }
        const TRNXnode* ancestor = NodeAt(node->AncestorsIndex[static_cast<std::size_t>(top.nextSlot++)]);
        otherAnc.Add(node->RNXname.toString(), node);
        const bool onPath = std::any_of(path.begin(), path.end(), [&](const Step& s) { return s.node == ancestor; });
        if (ancestor && !onPath)
            path.push_back({ancestor, 0});
    }

    auto removeOnce = [&](const QString& name) {
        const int i = otherAnc.IndexOf(name);
        if (i >= 0)
            otherAnc.Delete(i);
    };
    removeOnce(rnx->RNXname.toString());
    for (const TRNXStringList* list : {&directAnc, &mainAnc}) {
        if (otherAnc.Count() == 0)
            break;
        for (const TRNXStringList::Entry& e : list->Items())
            removeOnce(e.name);
    }
}

void TRNXindex::GetAncLists(TRNXElement element, const TRNXAMass& aMass, TRNXStringList& directAnc,
                            TRNXStringList& mainAnc, TRNXStringList& otherAnc) const
{
    GetAncLists(FindRNX(element, aMass), directAnc, mainAnc, otherAnc);
}

QByteArray TRNXindex::ToBytes() const
{
    QByteArray out;
    out.reserve(Count() * 110);
    for (const auto& node : FItems)
        node->SaveToStream(out);
    return out;
}

bool TRNXindex::SaveToStream(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(ToBytes());
    return file.commit();
}

QByteArray TRNXindex::ToText() const
{
    QString out = QStringLiteral("RNuclide\tElement\tElementOrder\tAMassInt\tAMass\t"
                                 "T1/2, d\tHalfLife\tHalfLifeUnits\tLr, d-1\tRType\t");
    for (int k = 1; k <= 4; ++k)
        out += QStringLiteral("DaughterIndex[%1]\tDaughterName[%1]\tYield[%1]\t").arg(k);
    out += QStringLiteral("SLinePos\tNLines\tBetaLinePos\tBetaLines\t");
    for (int k = 1; k <= 4; ++k)
        out += QStringLiteral("AncestorIndex[%1]\tAncestorName[%1]\t").arg(k);
    out += QStringLiteral("DaughtersCount\tAncestorsCount\tChainLength\tMaxCutted\r\n");

    const QString tab(u'\t');
    const QString dash(u'-');
    for (const auto& node : FItems) {
        QStringList row;
        row << node->RNXname.toString() << RNXElementSymbol(node->Element)
            << QString::number(static_cast<int>(node->Element) + 1) << QString::number(node->AMassInt)
            << node->AMass.toString() << formatPicture(std::log(2.0) / node->Lr, u"0.#####e-0")
            << formatPicture(node->HalfLife, u"0.###e-0") << timeUnitLetter(node->TimeUnit)
            << formatPicture(node->Lr, u"0.#####e-0") << node->GetRTypeStr();
        for (int slot = 0; slot < 4; ++slot) {
            const TRNXDaughterRec& d = node->DaughterArray[static_cast<std::size_t>(slot)];
            if (slot < node->DaughtersCount && d.DaughterPos >= 0)
                row << QString::number(d.DaughterPos + 2) << d.RNXname.toString() << formatPicture(d.Yield, u"0.#####e-0");
            else
                row << dash << dash << dash;
        }
        row << QString::number(node->SLinePos) << QString::number(node->NLines) << QString::number(node->BetaLinePos)
            << QString::number(node->BetaLines);
        for (std::int32_t pos : node->AncestorsIndex) {
            if (const TRNXnode* a = NodeAt(pos))
                row << QString::number(pos + 2) << a->RNXname.toString();
            else
                row << dash << dash;
        }
        row << QString::number(node->DaughtersCount) << QString::number(node->AncestorsCount);
        TRNXChainArray chain;
        float maxCutted = 0;
        node->GetChainArray(chain, maxCutted);
        row << QString::number(chain.size());
        if (!chain.empty()) {
            row << QStringLiteral("MaxCutted") << fixedScientific(maxCutted);
            for (const TRNXChainRec& c : chain)
                row << c.RNXname.toString();
            for (const TRNXChainRec& c : chain)
                row << fixedScientific(c.Lr);
            for (const TRNXChainRec& c : chain)
                row << fixedScientific(c.Yield);
        }
        out += row.join(tab) + QStringLiteral("\r\n");
    }
    return out.toLocal8Bit();
}

void TRNXindex::SaveToText(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot create " + fileName.toStdString() + ": " + file.errorString().toStdString());
    file.write(ToText());
    if (!file.commit())
        throw std::runtime_error("Cannot write " + fileName.toStdString() + ": " + file.errorString().toStdString());
}

void LoadRNXIndex(const QString& folder, bool fromResource)
{
    if (!RNXIndex)
        RNXIndex = std::make_unique<TRNXindex>();
    if (RNXIndex->Count() > 0)
        return;
    RNXIndex->FLoadFromResource = fromResource;
    if (fromResource) {
        if (!RNXIndex->Load())
            RNXIndex->Clear();
        return;
    }
    QString dir = folder.isEmpty() ? QDir::currentPath() : folder;
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += u'/';
    RNXFolder = dir;
    // A file found wanting is said once, not again at every later attempt.
    const QString path = dir + QStringLiteral("Index.rnx");
    if (QFile::exists(path) && path != RNXIndex->FRejectedFile && !RNXIndex->Load())
        RNXIndex->Clear();
}

void ReloadRNXIndex(const QString& folder, bool fromResource)
{
    if (!RNXIndex) {
        RNXIndex = std::make_unique<TRNXindex>();
    } else if (RNXIndex->Count() > 0 && (fromResource || (!folder.isEmpty() && folder == RNXFolder))) {
        return;
    }
    // A control may unregister itself while it hears the notice: walk a copy.
    const std::vector<TRNXitem> controls = RNXControls;
    for (const TRNXitem& item : controls)
        if (item.FRNXUpdatingEvent)
            item.FRNXUpdatingEvent(RNXIndex.get());
    RNXIndex->Clear();
    LoadRNXIndex(folder.isEmpty() ? RNXFolder : folder, fromResource);
    for (const TRNXitem& item : controls)
        if (item.FRNXUpdateEvent)
            item.FRNXUpdateEvent(RNXIndex.get());
}

void RegisterRNXControl(const void* control, TRNXUpdatingEvent updating, TRNXUpdateEvent update)
{
    for (const TRNXitem& item : RNXControls)
        if (item.FRNXControl == control)
            return;
    RNXControls.push_back({control, std::move(updating), std::move(update)});
}

void UnregisterRNXControl(const void* control)
{
    std::erase_if(RNXControls, [&](const TRNXitem& item) { return item.FRNXControl == control; });
}

void QuickSortRNXList(TRNXStringList& list, int l, int r, const TRNXListCompare& compare)
{
    while (l < r) {
        int i = l;
        int j = r;
        int p = (l + r) / 2;
        do {
            while (compare(list, i, p) < 0)
                ++i;
            while (compare(list, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    list.Exchange(i, j);
                    if (p == i)
                        p = j;
                    else if (p == j)
                        p = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSortRNXList(list, l, j, compare);
        l = i;
    }
}

} // namespace kav
