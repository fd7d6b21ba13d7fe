#include "data/dosedata.h"

#include "data/datamodule.h"
#include "base/numberformat.h"
#include "nuclides/rnxindex.h"
#include "units/units.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zlib.h>

#include <cstring>

namespace kav {

namespace {

constexpr char kDataVersion[] = "DAW 05    ";
constexpr char kConverterVersions[][11] = {"ZOV 1.2   ", "ZOV3010418"};
constexpr int kVersionSize = 10;
constexpr int kReservedSize = 19;
constexpr int kHeaderSize = 4 + 2 * kVersionSize + kReservedSize; // the name starts here
// No data file comes near this; a larger one is not read into memory.
constexpr qint64 kMaxFileSize = qint64(256) << 20;

// Reads the parts of a data file from memory. Every read is checked: a structure that runs past
// the end of the file means the file is damaged, whatever its checksum says.
class FileReader {
public:
    FileReader(const QByteArray& bytes, const QString& path) : m_bytes(bytes), m_path(path) {}

    [[noreturn]] void corrupted() const
    {
        throw EWrongDataFileException(QStringLiteral("DataFileException: The structure of the file ") + m_path
                                      + QStringLiteral(" is corrupted"));
    }
    void need(qsizetype n) const
    {
        if (n < 0 || m_bytes.size() - m_pos < n)
            corrupted();
    }
    QByteArray bytes(qsizetype n)
    {
        need(n);
        const QByteArray b = m_bytes.mid(m_pos, n);
        m_pos += n;
        return b;
    }
    template <typename T>
    T read()
    {
        need(sizeof(T));
        T value;
        std::memcpy(&value, m_bytes.constData() + m_pos, sizeof(T));
        m_pos += static_cast<qsizetype>(sizeof(T));
        return value;
    }
    void readFloats(float* out, qsizetype n)
    {
        if (n == 0)
            return;
        need(n * static_cast<qsizetype>(sizeof(float)));
        std::memcpy(out, m_bytes.constData() + m_pos, static_cast<std::size_t>(n) * sizeof(float));
        m_pos += n * static_cast<qsizetype>(sizeof(float));
    }
    QByteArray shortText() { return bytes(read<std::uint8_t>()); }
    TRNXRec nuclide()
    {
        TRNXRec rec;
        const std::uint8_t element = read<std::uint8_t>();
        const std::uint8_t length = read<std::uint8_t>();
        const QByteArray mass = bytes(4);
        if (element >= RNXElementCount || length > 4)
            corrupted();
        rec.El = static_cast<TRNXElement>(element);
        rec.AMass = TRNXAMass(std::string_view(mass.constData(), length));
        return rec;
    }
    void seek(qsizetype pos) { m_pos = pos; }

private:
    const QByteArray& m_bytes;
    const QString& m_path;
    qsizetype m_pos = 0;
};

void readMaterial(FileReader& in, TVESKCompoundData& m)
{
    m.FName = in.shortText();
    m.FModelName = in.shortText();
    m.FF1 = in.read<float>();
    in.readFloats(m.FDose.data(), static_cast<qsizetype>(m.FDose.size()));
    m.FEffDose = in.read<float>();
    const int records = in.read<std::uint8_t>();
    m.FActivity.resize(static_cast<std::size_t>(records));
    for (TVESKActivityData& a : m.FActivity) {
        a.FRNuclide = in.nuclide();
        a.FOrganPresentSet = TVESKSourceOrganSet::fromRaw(in.read<std::uint8_t>());
        for (int organ = 0; organ < SourceOrganCount; ++organ) {
            if (!a.FOrganPresentSet.contains(static_cast<TVESKSourceOrgan>(organ)))
                continue;
            const int points = in.read<std::uint16_t>();
            // Longer than the time grid: no point past it could be placed in time.
            if (points > BioassayTimeCount)
                in.corrupted();
            TVESKOrganData& series = a.FActivityData[static_cast<std::size_t>(organ)];
            series.resize(static_cast<std::size_t>(points));
            in.readFloats(series.data(), points);
        }
    }
}

template <typename T>
void put(QByteArray& out, T value)
{
    char b[sizeof(T)];
    std::memcpy(b, &value, sizeof(T));
    out.append(b, sizeof(T));
}

void putShortText(QByteArray& out, const QByteArray& text)
{
    const QByteArray cut = text.left(255);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(cut.size()));
    out += cut;
}

void putNuclide(QByteArray& out, const TRNXRec& rec)
{
    put<std::uint8_t>(out, rec.El);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(rec.AMass.size()));
    char mass[4] = {};
    std::memcpy(mass, rec.AMass.view().data(), static_cast<std::size_t>(rec.AMass.size()));
    out.append(mass, 4);
}

void putMaterial(QByteArray& out, const TVESKCompoundData* m)
{
    if (!m) {
        out.append(2, '\0');
        put<float>(out, 0);
        out.append(61 * sizeof(float) + 1, '\0');
        return;
    }
    putShortText(out, m->FName);
    putShortText(out, m->FModelName);
    put<float>(out, m->FF1);
    out.append(reinterpret_cast<const char*>(m->FDose.data()), static_cast<qsizetype>(m->FDose.size() * sizeof(float)));
    put<float>(out, m->FEffDose);
    const std::size_t records = std::min<std::size_t>(m->FActivity.size(), 255);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(records));
    for (std::size_t r = 0; r < records; ++r) {
        const TVESKActivityData& a = m->FActivity[r];
        putNuclide(out, a.FRNuclide);
        put<std::uint8_t>(out, a.FOrganPresentSet.raw());
        for (int organ = 0; organ < SourceOrganCount; ++organ) {
            if (!a.FOrganPresentSet.contains(static_cast<TVESKSourceOrgan>(organ)))
                continue;
            const TVESKOrganData& series = a.FActivityData[static_cast<std::size_t>(organ)];
            const std::size_t points = std::min<std::size_t>(series.size(), BioassayTimeCount);
            put<std::uint16_t>(out, static_cast<std::uint16_t>(points));
            out.append(reinterpret_cast<const char*>(series.data()), static_cast<qsizetype>(points * sizeof(float)));
        }
    }
}

template <typename List>
void putCount(QByteArray& out, const List& list)
{
    put<std::uint8_t>(out, static_cast<std::uint8_t>(std::min<std::size_t>(list.size(), 255)));
}

// The first pair of brackets with what lies between them, when "(" comes before ")".
QString removeBracket(QString s)
{
    const qsizetype open = s.indexOf(u'(');
    const qsizetype close = s.indexOf(u')');
    if (open >= 0 && close >= 0 && open < close)
        s.remove(open, close - open + 1);
    return s;
}

// Aerosol group texts: tabs as blanks, a one-letter absorption type in brackets as "Type X"
// (followed by typeEnd), other bracketed text removed, then trimmed.
QString aerosolName(const QByteArray& raw, const QString& typeEnd)
{
    QString s = QString::fromLatin1(raw);
    s.replace(u'\t', u' ');
    const qsizetype open = s.indexOf(u'(');
    const qsizetype close = s.indexOf(u')');
    if (open >= 0 && close >= 0) {
        if (close - open == 2) {
            const QChar type = s[open + 1];
            if (type == u'F' || type == u'M' || type == u'S') {
                s.replace(open, 1, QStringLiteral("Type "));
                s.replace(s.indexOf(u')'), 1, typeEnd);
            }
        } else if (open < close) {
            s.remove(open, close - open + 1);
        }
    }
    return s.trimmed();
}

QString compoundName(const QByteArray& raw)
{
    return QString::fromLatin1(raw);
}

} // namespace

EWrongDataFileException::EWrongDataFileException(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

const QStringList& AMADLabels()
{
    static const QStringList labels = [] {
        QStringList l;
        for (double v : AMADValues)
            l << formatPicture(v, u"0.###");
        return l;
    }();
    return labels;
}

bool AMADIndexFromText(const QString& text, int& index)
{
    index = static_cast<int>(AMADLabels().indexOf(text));
    return index >= 0;
}

TVESKCompoundData::TVESKCompoundData(const TVESKRNDosesData* owner, TVESKIntakePath path, TVESKMaterial material)
    : FVESKRNData(owner)
    , FMaterial(material)
    , FIntakePath(path)
{
}

QString TVESKCompoundData::Description() const
{
    QString s = removeBracket(compoundName(FName));
    const bool hasFA = FF1 > 0;
    if (hasFA) {
        if (!FName.isEmpty())
            s += QStringLiteral(", ");
        s += QStringLiteral("fA=") + FormatSignificant(FF1, 3);
    }
    if (FIntakePath == ipInhalation && FMaterial == imGas)
        s.prepend(hasFA ? QStringLiteral("Gas or vapour Type F, ") : QStringLiteral("Gas or vapour Type V, "));
    return s;
}

QString TVESKCompoundData::ShortDescription() const
{
    QString s = removeBracket(compoundName(FName));
    if (FIntakePath == ipInhalation && FMaterial == imGas)
        s.prepend(FF1 > 0 ? QStringLiteral("Gas or vapour Type F, ") : QStringLiteral("Gas or vapour Type V, "));
    return s;
}

QString TVESKCompoundData::fAStr() const
{
    return FF1 > 0 ? FormatSignificant(FF1, 3) : QString();
}

int TVESKCompoundData::FindRNIndex(const TRNXRec& rn) const
{
    for (std::size_t i = 0; i < FActivity.size(); ++i)
        if (FActivity[i].FRNuclide == rn)
            return static_cast<int>(i);
    return -1;
}

TVESKAerosolCompoundData::TVESKAerosolCompoundData(const TVESKRNDosesData* owner)
    : FVESKRNData(owner)
{
}

QString TVESKAerosolCompoundData::Description() const
{
    QString s = aerosolName(FAerosolName, QStringLiteral(","));
    if (!s.isEmpty())
        s += s.endsWith(u',') ? QStringLiteral(" ") : QStringLiteral(", ");
    return QStringLiteral("Aerosols ") + s + QStringLiteral("fA=") + FormatSignificant(FF1, 3);
}

QString TVESKAerosolCompoundData::ShortDescription() const
{
    return QStringLiteral("Aerosols ") + aerosolName(FAerosolName, QString());
}

QString TVESKAerosolCompoundData::fAStr() const
{
    return FormatSignificant(FF1, 3);
}

QString DoseDataFileName(const TRNXRec& rn)
{
    return RNXElementSymbol(rn.El) + u'-' + rn.AMass.toString();
}

QString DoseDataFolder()
{
    QString folder = ProgramPreference ? ProgramPreference->QVDDir() : QString();
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

TVESKRNDosesData::TVESKRNDosesData() = default;
TVESKRNDosesData::~TVESKRNDosesData() = default;

QString TVESKRNDosesData::RNuclideName() const
{
    return DoseDataFileName(FRNuclide);
}

void TVESKRNDosesData::Clear()
{
    FAerosolData.clear();
    FGasData.clear();
    FIngestData.clear();
    FInjectData.clear();
}

QString FindDoseDataFile(const QString& folder, const QString& name)
{
    const QString wanted = name + QStringLiteral(".qvd");
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(wanted)).isFile())
        return dir.filePath(wanted);
    const QStringList entries = dir.entryList({QStringLiteral("*.qvd")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

void TVESKRNDosesData::SetRNuclide(const TRNXRec& value)
{
    if (value == FRNuclide)
        return;
    // Until a file has been read whole the object holds no nuclide, so that asking for the same
    // one again tries again.
    FRNuclide = TRNXRec{};
    Clear();
    const QString name = DoseDataFileName(value);
    const QString path = FindDoseDataFile(DoseDataFolder(), name);
    if (path.isEmpty())
        throw EWrongDataFileException(QStringLiteral("DataFileException: Can not find file for ") + name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EWrongDataFileException(QStringLiteral("DataFileException: Can not read file ") + path
                                      + QStringLiteral(": ") + file.errorString());
    if (file.size() > kMaxFileSize)
        throw EWrongDataFileException(QStringLiteral("DataFileException: The structure of the file ") + path
                                      + QStringLiteral(" is corrupted"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EWrongDataFileException(QStringLiteral("DataFileException: Can not read file ") + path
                                      + QStringLiteral(": ") + file.errorString());
    ReadFromBytes(bytes, name, path);
}

void TVESKRNDosesData::ReadFromBytes(const QByteArray& bytes, const QString& name, const QString& path)
{
    try {
        ReadContent(bytes, name, path);
    } catch (...) {
        FRNuclide = TRNXRec{};
        Clear();
        throw;
    }
    DataLoaded();
}

void TVESKRNDosesData::ReadContent(const QByteArray& bytes, const QString& name, const QString& path)
{
    Clear();
    FileReader in(bytes, path);
    const auto checksum = in.read<std::uint32_t>();
    const auto* data = reinterpret_cast<const Bytef*>(bytes.constData());
    const uLong computed = adler32_z(adler32_z(0, nullptr, 0), data + 4, static_cast<z_size_t>(bytes.size() - 4));
    if (computed != checksum)
        in.corrupted();

    const QByteArray dataVersion = in.bytes(kVersionSize);
    if (dataVersion != kDataVersion)
        throw EWrongDataFileException(QStringLiteral("DataFileException: Wrong data version ") + QString::fromLatin1(dataVersion)
                                      + QStringLiteral(" of data file ") + path);
    const QByteArray converter = in.bytes(kVersionSize);
    const QString converterText = QString::fromLatin1(converter);
    if (converterText.compare(QLatin1String(kConverterVersions[0]), Qt::CaseInsensitive) != 0
        && converterText.compare(QLatin1String(kConverterVersions[1]), Qt::CaseInsensitive) != 0)
        throw EWrongDataFileException(QStringLiteral("DataFileException: Wrong converter version ") + converterText
                                      + QStringLiteral(" of data file ") + path);
    FReserved = in.bytes(kReservedSize);
    const QByteArray storedName = in.bytes(name.size());
    if (storedName != name.toLatin1())
        throw EWrongDataFileException(QStringLiteral("DataFileException: Wrong radionuclide name ")
                                      + QString::fromLatin1(storedName) + QStringLiteral(" in data file ") + path);
    FRNuclide = in.nuclide();

    auto readMaterials = [&](std::vector<std::unique_ptr<TVESKCompoundData>>& list, TVESKIntakePath route,
                             TVESKMaterial kind) {
        const int count = in.read<std::uint8_t>();
        for (int i = 0; i < count; ++i) {
            list.push_back(std::make_unique<TVESKCompoundData>(this, route, kind));
            readMaterial(in, *list.back());
        }
    };
    readMaterials(FInjectData, ipInjection, imAerosol);
    readMaterials(FIngestData, ipIngestion, imAerosol);
    const int groups = in.read<std::uint8_t>();
    for (int g = 0; g < groups; ++g) {
        auto group = std::make_unique<TVESKAerosolCompoundData>(this);
        const QByteArray groupName = in.shortText();
        if (groupName.isEmpty())
            throw std::runtime_error("Aerosol ReadBinaryData: Can not find aerosol compound name!");
        group->FAerosolName = groupName;
        group->FModelName = in.shortText();
        group->FF1 = in.read<float>();
        for (auto& material : group->FAerosolDataArr) {
            material = std::make_unique<TVESKCompoundData>(this, ipInhalation, imAerosol);
            readMaterial(in, *material);
        }
        FAerosolData.push_back(std::move(group));
    }
    readMaterials(FGasData, ipInhalation, imGas);
}

QByteArray TVESKRNDosesData::ToFileBytes(const QByteArray& reservedText) const
{
    QByteArray out(4, '\0');
    out += kDataVersion;
    out += kConverterVersions[0];
    out += reservedText.left(kReservedSize).leftJustified(kReservedSize, ' ');
    out += RNuclideName().toLatin1();
    putNuclide(out, FRNuclide);
    putCount(out, FInjectData);
    for (std::size_t i = 0; i < std::min<std::size_t>(FInjectData.size(), 255); ++i)
        putMaterial(out, FInjectData[i].get());
    putCount(out, FIngestData);
    for (std::size_t i = 0; i < std::min<std::size_t>(FIngestData.size(), 255); ++i)
        putMaterial(out, FIngestData[i].get());
    putCount(out, FAerosolData);
    for (std::size_t i = 0; i < std::min<std::size_t>(FAerosolData.size(), 255); ++i) {
        const TVESKAerosolCompoundData& g = *FAerosolData[i];
        putShortText(out, g.FAerosolName.isEmpty() ? QByteArray("?") : g.FAerosolName);
        putShortText(out, g.FModelName);
        put<float>(out, g.FF1);
        for (const auto& m : g.FAerosolDataArr)
            putMaterial(out, m.get());
    }
    putCount(out, FGasData);
    for (std::size_t i = 0; i < std::min<std::size_t>(FGasData.size(), 255); ++i)
        putMaterial(out, FGasData[i].get());
    const auto* data = reinterpret_cast<const Bytef*>(out.constData());
    const auto sum = static_cast<std::uint32_t>(adler32_z(adler32_z(0, nullptr, 0), data + 4, static_cast<z_size_t>(out.size() - 4)));
    std::memcpy(out.data(), &sum, 4);
    return out;
}

void TVESKRNDosesData::AssignRNuclide(const QString& name)
{
    if (const TRNXnode* node = RNXIndex->FindRNX(name))
        AssignRNuclide(*node);
}

void TVESKRNDosesData::AssignRNuclide(TRNXElement element, const TRNXAMass& aMass)
{
    SetRNuclide(TRNXRec{element, aMass});
}

void TVESKRNDosesData::AssignRNuclide(const TBasicRNX& rnx)
{
    SetRNuclide(TRNXRec{rnx.Element, rnx.AMass});
}

const TVESKCompoundData* TVESKRNDosesData::SelectCompound(TVESKIntakePath path, int compoundIndex, int amadIndex) const
{
    if (!IsLoaded() || compoundIndex < 0 || amadIndex < 0)
        return nullptr;
    const auto index = static_cast<std::size_t>(compoundIndex);
    switch (path) {
    case ipIngestion:
        return index < FIngestData.size() ? FIngestData[index].get() : nullptr;
    case ipInjection:
        return index < FInjectData.size() ? FInjectData[index].get() : nullptr;
    case ipInhalation:
        if (index < FAerosolData.size())
            return amadIndex < AMADCount ? FAerosolData[index]->FAerosolDataArr[static_cast<std::size_t>(amadIndex)].get() : nullptr;
        if (amadIndex == 0 && index - FAerosolData.size() < FGasData.size())
            return FGasData[index - FAerosolData.size()].get();
        return nullptr;
    }
    return nullptr;
}

bool TVESKRNDosesData::GetCompoundsList(TVESKIntakePath path, QStringList& list) const
{
    list.clear();
    if (!IsLoaded())
        return false;
    switch (path) {
    case ipIngestion:
        for (const auto& m : FIngestData)
            list << m->Description();
        break;
    case ipInjection:
        for (const auto& m : FInjectData)
            list << m->Description();
        break;
    case ipInhalation:
        for (const auto& g : FAerosolData)
            list << g->Description();
        for (const auto& m : FGasData)
            list << m->Description();
        break;
    }
    return !list.isEmpty();
}

bool TVESKRNDosesData::GetCompoundDescription(TVESKIntakePath path, int compoundIndex, QString& description,
                                              QString& fA) const
{
    if (path == ipInjection) {
        description = QStringLiteral("Injection");
        fA.clear();
        return !FInjectData.empty();
    }
    description.clear();
    fA.clear();
    if (compoundIndex < 0)
        return false;
    if (path == ipInhalation && IsAerosol(compoundIndex)) {
        const TVESKAerosolCompoundData& g = *FAerosolData[static_cast<std::size_t>(compoundIndex)];
        description = g.ShortDescription();
        fA = g.fAStr();
        return true;
    }
    const TVESKCompoundData* m = SelectCompound(path, compoundIndex, 0);
    if (!m)
        return false;
    description = m->ShortDescription();
    fA = m->fAStr();
    return true;
}

bool TVESKRNDosesData::GetDoses(TVESKIntakePath path, int compoundIndex, int amadIndex, TVESKDoseArray& dose,
                                float& effDose) const
{
    if (path != ipInhalation)
        amadIndex = 0;
    const TVESKCompoundData* m = SelectCompound(path, compoundIndex, amadIndex);
    if (!m) {
        dose.fill(0);
        effDose = 0;
        return false;
    }
    dose = m->FDose;
    effDose = m->FEffDose;
    return true;
}

bool TVESKRNDosesData::GetEffDose(TVESKIntakePath path, int compoundIndex, int amadIndex, float& dose) const
{
    if (path != ipInhalation)
        amadIndex = 0;
    const TVESKCompoundData* m = SelectCompound(path, compoundIndex, amadIndex);
    dose = m ? m->FEffDose : 0;
    return m != nullptr;
}

} // namespace kav
