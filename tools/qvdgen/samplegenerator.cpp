#include "qvdgen/samplegenerator.h"

#include "base/savefile.h"
#include "data/bioassaydata.h"
#include "data/dosedatafile.h"
#include "nuclides/nuclideindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdint>

namespace kav {

namespace {

// A small generator with a fixed algorithm, so that the files are the same everywhere.
class Random {
public:
    explicit Random(const QString& seed)
    {
        for (QChar c : seed)
            m_state = (m_state ^ c.unicode()) * 0x100000001B3ull;
    }
    double uniform() // [0, 1)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }
    double between(double a, double b) { return a + (b - a) * uniform(); }
    double logBetween(double a, double b) { return std::exp(between(std::log(a), std::log(b))); }

private:
    std::uint64_t m_state = 0xCBF29CE484222325ull;
};

// Tissue weighting factors the effective value is built with (the remainder last).
constexpr std::array<double, TargetOrganCount> kWeights{0.12, 0.12, 0.12, 0.12, 0.12, 0.08, 0.08, 0.04, 0.04, 0.04,
                                                        0.04, 0.01, 0.01, 0.01, 0.01, 0,    0,    0,    0,    0,
                                                        0,    0,    0,    0,    0,    0,    0,    0,    0,    0.12};

struct NuclideTraits {
    bool gasOnly = false; // noble gases and the like: only gas or vapour materials
    bool noIngestion = false; // inhaled aerosols only
    bool noInjection = false;
    bool vapourToo = false; // aerosols and a vapour form
};

NuclideTraits traitsOf(const QString& name)
{
    NuclideTraits t;
    const ChemicalElement element = NuclideIndex::storedIdOfName(name).element;
    t.gasOnly = element == ChemicalElement::Kr || element == ChemicalElement::Xe || element == ChemicalElement::Ar
        || element == ChemicalElement::Rn || element == ChemicalElement::Ne || element == ChemicalElement::He;
    t.noIngestion = name == QStringLiteral("Cm-244") || name == QStringLiteral("Cf-252");
    t.noInjection = t.gasOnly || name == QStringLiteral("Zr-95") || name == QStringLiteral("Sb-125");
    t.vapourToo = element == ChemicalElement::I || element == ChemicalElement::H || element == ChemicalElement::C
        || element == ChemicalElement::Hg || element == ChemicalElement::Ru;
    return t;
}

// Organ doses around a level, shaped by where the material goes; the effective value follows
// from them.
void fillDoses(MaterialData& m, double level, TargetOrgan focus, Random& rnd)
{
    for (int sex = 0; sex < 2; ++sex) {
        for (int organ = 0; organ < TargetOrganCount; ++organ) {
            double v = level * rnd.logBetween(0.3, 1.8);
            if (static_cast<TargetOrgan>(organ) == focus)
                v *= rnd.between(4, 12);
            const auto o = static_cast<TargetOrgan>(organ);
            if ((static_cast<Sex>(sex) == Sex::Male && (o == TargetOrgan::Ovaries || o == TargetOrgan::Uterus))
                || (static_cast<Sex>(sex) == Sex::Female && (o == TargetOrgan::Testes || o == TargetOrgan::Prostate)))
                v = 0;
            if (static_cast<Sex>(sex) == Sex::Female)
                v *= rnd.between(1.0, 1.25);
            doseAt(m.m_dose, static_cast<Sex>(sex), o) = static_cast<float>(v);
        }
    }
    double e = 0;
    for (int organ = 0; organ < TargetOrganCount; ++organ) {
        const auto o = static_cast<TargetOrgan>(organ);
        double w = kWeights[static_cast<std::size_t>(organ)];
        if (o == TargetOrgan::Ovaries || o == TargetOrgan::Testes)
            w = 0.08; // gonads: the organ of each sex
        e += w * (doseAt(m.m_dose, Sex::Male, o) + doseAt(m.m_dose, Sex::Female, o)) / 2;
    }
    m.m_effDose = static_cast<float>(e);
}

// Content per unit intake: a few retained fractions clearing with their own rates, all decaying
// physically; urine and faeces as daily excretion. Lengths differ between compartments.
void fillBioassay(MaterialData& m, const Nuclide& intake, const std::vector<const Nuclide*>& measured, int basePoints,
                  Random& rnd)
{
    const auto& times = bioassayTimes();
    std::vector<const Nuclide*> records{&intake};
    for (const Nuclide* p : measured)
        if (p && std::find(records.begin(), records.end(), p) == records.end())
            records.push_back(p);
    const CompartmentSet present = m.m_material == MaterialForm::Gas
        ? CompartmentSet{Compartment::WholeBody, Compartment::Lungs, Compartment::DailyUrine}
        : CompartmentSet::fromRaw(0xFF);
    for (const Nuclide* n : records) {
        BioassayFunctions a;
        a.m_nuclideId = StoredNuclideId{n->element, n->mass};
        a.m_organPresentSet = present;
        const double lambdaP = std::isfinite(intake.decayConstant) ? intake.decayConstant : 0;
        for (int organ = 0; organ < CompartmentCount; ++organ) {
            if (!present.contains(static_cast<Compartment>(organ)))
                continue;
            const int points
                = std::clamp(basePoints - static_cast<int>(rnd.between(0, 40)) * (organ % 3), 60, BioassayTimeCount);
            const double f1 = rnd.between(0.05, 0.6);
            const double f2 = rnd.between(0.01, 0.2);
            const double b1 = rnd.logBetween(0.2, 2);
            const double b2 = rnd.logBetween(1e-4, 2e-2);
            const bool excreta = static_cast<Compartment>(organ) == Compartment::DailyUrine
                || static_cast<Compartment>(organ) == Compartment::DailyFaeces;
            CompartmentContent& series = a.m_activityData[static_cast<std::size_t>(organ)];
            series.resize(static_cast<std::size_t>(points));
            for (int i = 0; i < points; ++i) {
                const double t = times[static_cast<std::size_t>(i)];
                const double decay = std::exp(-lambdaP * t);
                double v = (f1 * std::exp(-b1 * t) + f2 * std::exp(-b2 * t)) * decay;
                if (excreta) // excreted in the 24 hours before t
                    v = (f1 * b1 * std::exp(-b1 * t) + f2 * b2 * std::exp(-b2 * t)) * decay * (t < 1 ? t : 1);
                series[static_cast<std::size_t>(i)] = static_cast<float>(v);
            }
        }
        m.m_activity.push_back(std::move(a));
    }
}

const char* const kGroupNames[]
    = {"Soluble compounds (F)", "Nitrates (M)", "Oxides\t(S)", "Insoluble forms (FM)", "Chlorides"};
const char* const kIngestionNames[] = {"All compounds", "Soluble forms (general)", "Insoluble oxides"};

} // namespace

QStringList sampleNuclides()
{
    return {"H-3",    "C-14",   "P-32",   "Mn-54",  "Fe-59",  "Co-58",   "Co-60",  "Zn-65",  "Kr-85",
            "Sr-89",  "Sr-90",  "Zr-95",  "Tc-99m", "Ru-106", "Ag-110m", "Sb-125", "I-125",  "I-131",
            "Xe-133", "Cs-134", "Cs-137", "Ba-140", "Ce-144", "Ra-226",  "Ra-228", "Th-228", "Th-232",
            "U-234",  "U-235",  "U-238",  "Np-237", "Pu-238", "Pu-239",  "Am-241", "Cm-244"};
}

void generateSampleData(const NuclideIndex& index, const Nuclide& nuclide, SampleSize size, DoseData& data)
{
    const QString name = nuclide.name.toString();
    Random rnd(name);
    const NuclideTraits traits = traitsOf(name);
    const bool full = size == SampleSize::FullSize;
    data.m_nuclideId = StoredNuclideId{nuclide.element, nuclide.mass};
    data.m_injectData.clear();
    data.m_ingestData.clear();
    data.m_aerosolData.clear();
    data.m_gasData.clear();

    // Longer-lived and heavier nuclides give larger coefficients.
    const double halfLifeDays = std::isfinite(nuclide.decayConstant) && nuclide.decayConstant > 0
        ? std::log(2.0) / nuclide.decayConstant
        : 1e9;
    const double level
        = std::clamp(1e-11 * std::pow(std::min(halfLifeDays, 1e7), 0.45)
                         * (nuclide.element >= ChemicalElement::Ra ? 300.0 : 1.0) * rnd.logBetween(0.3, 3),
                     3e-13, 1e-6);

    // The measured progeny, and in full size the whole main chain.
    std::vector<const Nuclide*> progeny;
    for (int organ = 0; organ < CompartmentCount; ++organ) {
        const StoredNuclideId m = measuredNuclide(data.m_nuclideId, static_cast<Compartment>(organ));
        if (!(m == data.m_nuclideId))
            progeny.push_back(index.findNuclide(m.element, m.mass));
    }
    if (full) {
        DecayChain chain;
        float cut = 0;
        nuclide.getChainArray(chain, cut);
        for (std::size_t i = 0; i < chain.size() && i < 3; ++i)
            progeny.push_back(index.findNuclide(chain[i].name.toString()));
    }
    const int basePoints = halfLifeDays > 30 ? BioassayTimeCount : 160 + static_cast<int>(rnd.between(0, 100));

    auto material = [&](IntakeRoute path, MaterialForm kind, const QByteArray& materialName, float fA, double scale,
                        TargetOrgan focus) {
        auto m = std::make_unique<MaterialData>(&data, path, kind);
        m->m_name = materialName;
        m->m_modelName = "Synthetic model " + QByteArray::number(static_cast<int>(rnd.between(1, 9)));
        m->m_fA = fA;
        fillDoses(*m, level * scale, focus, rnd);
        fillBioassay(*m, nuclide, progeny, basePoints, rnd);
        return m;
    };

    if (!traits.noInjection)
        data.m_injectData.push_back(
            material(IntakeRoute::Injection, MaterialForm::Aerosol, {}, 0, 3.0, TargetOrgan::Liver));
    if (!traits.gasOnly && !traits.noIngestion) {
        const int count = 1 + static_cast<int>(rnd.between(0, 2));
        for (int i = 0; i < count; ++i) {
            const float fA = static_cast<float>(i == 0 ? rnd.logBetween(1e-4, 0.99) : rnd.logBetween(1e-5, 0.1));
            data.m_ingestData.push_back(material(IntakeRoute::Ingestion, MaterialForm::Aerosol, kIngestionNames[i], fA,
                                                 0.8, TargetOrgan::Colon));
        }
    }
    if (!traits.gasOnly) {
        const int groups = full ? 3 : 1 + static_cast<int>(rnd.between(0, 3));
        for (int g = 0; g < groups; ++g) {
            auto group = std::make_unique<AerosolGroup>(&data);
            group->m_aerosolName = kGroupNames[(g + static_cast<int>(rnd.between(0, 5))) % 5];
            group->m_modelName = "Synthetic lung model";
            group->m_fA = static_cast<float>(rnd.logBetween(1e-4, 0.5));
            for (int s = 0; s < AMADCount; ++s) {
                // Deposition, and so dose, peaks for the smallest and the middle sizes.
                const double d = std::log10(AMADValues[static_cast<std::size_t>(s)]);
                const double sizeFactor
                    = 0.4 + 0.9 * std::exp(-std::pow(d + 2.5, 2)) + 0.6 * std::exp(-std::pow(d - 0.5, 2));
                group->m_aerosolDataArr[static_cast<std::size_t>(s)]
                    = material(IntakeRoute::Inhalation, MaterialForm::Aerosol, {}, group->m_fA, (1 + g) * sizeFactor,
                               TargetOrgan::Lungs);
            }
            data.m_aerosolData.push_back(std::move(group));
        }
    }
    if (traits.gasOnly || traits.vapourToo) {
        data.m_gasData.push_back(material(IntakeRoute::Inhalation, MaterialForm::Gas,
                                          traits.gasOnly ? "Elemental gas" : "Elemental vapour", 0,
                                          traits.gasOnly ? 0.01 : 1.5, TargetOrgan::Lungs));
        if (traits.vapourToo)
            data.m_gasData.push_back(material(IntakeRoute::Inhalation, MaterialForm::Gas,
                                              "Organic compounds (unspecified)", 1.0f, 1.2, TargetOrgan::Thyroid));
    }
}

QByteArray generateRadonData()
{
    static const char* const titles[] = {
        "Dose coefficients for radon gas, Sv/Bq (synthetic sample)",
        "Radon progeny, indoor workplace, mSv per mJ h m-3 (synthetic sample)",
        "Radon progeny, mine, mSv per mJ h m-3 (synthetic sample)",
        "Radon progeny, tourist cave, mSv per mJ h m-3 (synthetic sample)",
        "Thoron progeny, indoor workplace, mSv per mJ h m-3 (synthetic sample)",
        "Thoron progeny, mine, mSv per mJ h m-3 (synthetic sample)",
    };
    Random rnd(QStringLiteral("RadonData"));
    QByteArray out;
    auto number = [](double v) { return QByteArray::number(v, 'E', 3); };
    for (int block = 0; block < 6; ++block) {
        out += titles[block];
        out += "\r\n";
        const double level = block == 0 ? 1e-10 : rnd.between(1.0, 3.0);
        for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
            QList<QByteArray> values;
            const double organLevel = level
                * (static_cast<TargetOrgan>(organ) == TargetOrgan::Lungs ? 20
                       : static_cast<TargetOrgan>(organ) == TargetOrgan::ExtrathoracicAirways
                       ? 8
                       : rnd.between(0.005, 0.05));
            for (int i = 0; i < 6; ++i)
                values << number(organLevel * rnd.between(0.8, 1.2) * (block == 0 && i < 2 ? 0.05 : 1));
            out += values.join(' ') + "\r\n";
        }
        if (block == 0)
            out += number(level * 0.035) + " " + number(level * 1.1) + " " + number(level * 0.7) + "\r\n";
        else
            out += number(level * rnd.between(2, 6)) + "\r\n";
    }
    return out;
}

bool isSyntheticSampleFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A data file carries the mark where readers skip bytes; the radon tables in their first title.
    const QByteArray head = file.read(200);
    if (path.endsWith(QStringLiteral(".qvd"), Qt::CaseInsensitive))
        return head.mid(24, SyntheticSampleMarker.size()) == SyntheticSampleMarker;
    const QByteArray firstLine = head.left(head.indexOf('\n'));
    return firstLine.toUpper().contains(SyntheticSampleMarker);
}

SampleFolderResult writeSampleFolder(const QString& folder, const NuclideIndex& index,
                                     const std::vector<const Nuclide*>& nuclides, SampleSize size)
{
    SampleFolderResult result;
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        result.error = folder + QStringLiteral(" is a file, not a folder");
        return result;
    }
    if (!QDir().mkpath(folder)) {
        result.error = folder + QStringLiteral(": cannot create the folder");
        return result;
    }
    const QDir dir(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        // The viewer reads a nuclide's file whatever the case of its name: any such file counts.
        const QStringList present = dir.entryList({name}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& entry : present)
            if (!isSyntheticSampleFile(dir.filePath(entry))) {
                result.kept << dir.filePath(entry);
                return true;
            }
        QString error;
        if (!saveFileAtomically(path, bytes, &error)) {
            result.error = path + QStringLiteral(": ") + error;
            return false;
        }
        ++result.written;
        return true;
    };
    for (const Nuclide* node : nuclides) {
        DoseData data;
        generateSampleData(index, *node, size, data);
        if (!write(node->name.toString() + QStringLiteral(".qvd"), doseDataFileBytes(data, SyntheticSampleMarker)))
            return result;
    }
    write(QStringLiteral("RadonData.txt"), generateRadonData());
    return result;
}

} // namespace kav
