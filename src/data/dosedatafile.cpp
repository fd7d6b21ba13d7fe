#include "data/dosedatafile.h"

#include <zlib.h>

#include <cstring>

namespace kav {

namespace {

constexpr char kDataVersion[] = "DAW 05    ";
constexpr char kConverterVersions[][11] = {"ZOV 1.2   ", "ZOV3010418"};
constexpr int kVersionSize = 10;
constexpr int kReservedSize = 19;

class FileReader {
public:
    FileReader(const QByteArray& bytes, const QString& path)
        : m_bytes(bytes)
        , m_path(path)
    {
    }

    [[noreturn]] void corrupted() const
    {
        throw DamagedDataFile(QStringLiteral("DataFileException: The structure of the file ") + m_path
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
    template <typename T> T read()
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
    StoredNuclideId nuclide()
    {
        StoredNuclideId rec;
        const std::uint8_t element = read<std::uint8_t>();
        const std::uint8_t length = read<std::uint8_t>();
        const QByteArray mass = bytes(4);
        if (element >= ElementCount || length > 4)
            corrupted();
        rec.element = static_cast<ChemicalElement>(element);
        rec.mass = MassText(std::string_view(mass.constData(), length));
        return rec;
    }
    void seek(qsizetype pos) { m_pos = pos; }

private:
    const QByteArray& m_bytes;
    const QString& m_path;
    qsizetype m_pos = 0;
};

void readMaterial(FileReader& in, MaterialData& m)
{
    m.m_name = in.shortText();
    m.m_modelName = in.shortText();
    m.m_fA = in.read<float>();
    in.readFloats(m.m_dose.data(), static_cast<qsizetype>(m.m_dose.size()));
    m.m_effDose = in.read<float>();
    const int records = in.read<std::uint8_t>();
    m.m_activity.resize(static_cast<std::size_t>(records));
    for (BioassayFunctions& a : m.m_activity) {
        a.m_nuclideId = in.nuclide();
        a.m_organPresentSet = CompartmentSet::fromRaw(in.read<std::uint8_t>());
        for (int organ = 0; organ < CompartmentCount; ++organ) {
            if (!a.m_organPresentSet.contains(static_cast<Compartment>(organ)))
                continue;
            const int points = in.read<std::uint16_t>();
            // Longer than the time grid: no point past it could be placed in time.
            if (points > BioassayTimeCount)
                in.corrupted();
            CompartmentContent& series = a.m_activityData[static_cast<std::size_t>(organ)];
            series.resize(static_cast<std::size_t>(points));
            in.readFloats(series.data(), points);
        }
    }
}

template <typename T> void put(QByteArray& out, T value)
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

void putNuclide(QByteArray& out, const StoredNuclideId& rec)
{
    put<std::uint8_t>(out, static_cast<std::uint8_t>(rec.element));
    put<std::uint8_t>(out, static_cast<std::uint8_t>(rec.mass.size()));
    char mass[4] = {};
    std::memcpy(mass, rec.mass.view().data(), static_cast<std::size_t>(rec.mass.size()));
    out.append(mass, 4);
}

void putMaterial(QByteArray& out, const MaterialData* m)
{
    if (!m) {
        out.append(2, '\0');
        put<float>(out, 0);
        out.append(61 * sizeof(float) + 1, '\0');
        return;
    }
    putShortText(out, m->m_name);
    putShortText(out, m->m_modelName);
    put<float>(out, m->m_fA);
    out.append(reinterpret_cast<const char*>(m->m_dose.data()),
               static_cast<qsizetype>(m->m_dose.size() * sizeof(float)));
    put<float>(out, m->m_effDose);
    const std::size_t records = std::min<std::size_t>(m->m_activity.size(), 255);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(records));
    for (std::size_t r = 0; r < records; ++r) {
        const BioassayFunctions& a = m->m_activity[r];
        putNuclide(out, a.m_nuclideId);
        put<std::uint8_t>(out, a.m_organPresentSet.raw());
        for (int organ = 0; organ < CompartmentCount; ++organ) {
            if (!a.m_organPresentSet.contains(static_cast<Compartment>(organ)))
                continue;
            const CompartmentContent& series = a.m_activityData[static_cast<std::size_t>(organ)];
            const std::size_t points = std::min<std::size_t>(series.size(), BioassayTimeCount);
            put<std::uint16_t>(out, static_cast<std::uint16_t>(points));
            out.append(reinterpret_cast<const char*>(series.data()), static_cast<qsizetype>(points * sizeof(float)));
        }
    }
}

template <typename List> void putCount(QByteArray& out, const List& list)
{
    put<std::uint8_t>(out, static_cast<std::uint8_t>(std::min<std::size_t>(list.size(), 255)));
}

// The first pair of brackets with what lies between them, when "(" comes before ")".

} // namespace

std::uint32_t doseDataChecksum(QByteArrayView fileBytes)
{
    if (fileBytes.size() < 4)
        return 0;
    const auto* data = reinterpret_cast<const Bytef*>(fileBytes.constData());
    return static_cast<std::uint32_t>(
        adler32_z(adler32_z(0, nullptr, 0), data + 4, static_cast<z_size_t>(fileBytes.size() - 4)));
}

void setDoseDataChecksum(QByteArray& fileBytes)
{
    if (fileBytes.size() < 4)
        return;
    const std::uint32_t sum = doseDataChecksum(fileBytes);
    std::memcpy(fileBytes.data(), &sum, 4);
}

namespace {

void readContent(const QByteArray& bytes, const QString& name, const QString& path, DoseData& data)
{
    FileReader in(bytes, path);
    if (in.read<std::uint32_t>() != doseDataChecksum(bytes))
        in.corrupted();

    const QByteArray dataVersion = in.bytes(kVersionSize);
    if (dataVersion != kDataVersion)
        throw DamagedDataFile(QStringLiteral("DataFileException: Wrong data version ")
                              + QString::fromLatin1(dataVersion) + QStringLiteral(" of data file ") + path);
    const QByteArray converter = in.bytes(kVersionSize);
    const QString converterText = QString::fromLatin1(converter);
    if (converterText.compare(QLatin1String(kConverterVersions[0]), Qt::CaseInsensitive) != 0
        && converterText.compare(QLatin1String(kConverterVersions[1]), Qt::CaseInsensitive) != 0)
        throw DamagedDataFile(QStringLiteral("DataFileException: Wrong converter version ") + converterText
                              + QStringLiteral(" of data file ") + path);
    data.m_reserved = in.bytes(kReservedSize);
    const QByteArray storedName = in.bytes(name.size());
    if (storedName != name.toLatin1())
        throw DamagedDataFile(QStringLiteral("DataFileException: Wrong radionuclide name ")
                              + QString::fromLatin1(storedName) + QStringLiteral(" in data file ") + path);
    data.m_nuclideId = in.nuclide();

    auto readMaterials = [&](std::vector<std::unique_ptr<MaterialData>>& list, IntakeRoute route, MaterialForm kind) {
        const int count = in.read<std::uint8_t>();
        for (int i = 0; i < count; ++i) {
            list.push_back(std::make_unique<MaterialData>(&data, route, kind));
            readMaterial(in, *list.back());
        }
    };
    readMaterials(data.m_injectData, IntakeRoute::Injection, MaterialForm::Aerosol);
    readMaterials(data.m_ingestData, IntakeRoute::Ingestion, MaterialForm::Aerosol);
    const int groups = in.read<std::uint8_t>();
    for (int g = 0; g < groups; ++g) {
        auto group = std::make_unique<AerosolGroup>(&data);
        const QByteArray groupName = in.shortText();
        if (groupName.isEmpty())
            throw std::runtime_error("Aerosol ReadBinaryData: Can not find aerosol compound name!");
        group->m_aerosolName = groupName;
        group->m_modelName = in.shortText();
        group->m_fA = in.read<float>();
        for (auto& material : group->m_aerosolDataArr) {
            material = std::make_unique<MaterialData>(&data, IntakeRoute::Inhalation, MaterialForm::Aerosol);
            readMaterial(in, *material);
        }
        data.m_aerosolData.push_back(std::move(group));
    }
    readMaterials(data.m_gasData, IntakeRoute::Inhalation, MaterialForm::Gas);
}

} // namespace

void readDoseDataFile(const QByteArray& bytes, const QString& name, const QString& path, DoseData& data)
{
    data.clear();
    try {
        readContent(bytes, name, path, data);
    } catch (...) {
        data.clear();
        throw;
    }
}

QByteArray doseDataFileBytes(const DoseData& data, const QByteArray& reservedText)
{
    QByteArray out(4, '\0');
    out += kDataVersion;
    out += kConverterVersions[0];
    out += reservedText.left(kReservedSize).leftJustified(kReservedSize, ' ');
    out += data.nuclideNameText().toLatin1();
    putNuclide(out, data.m_nuclideId);
    putCount(out, data.m_injectData);
    for (std::size_t i = 0; i < std::min<std::size_t>(data.m_injectData.size(), 255); ++i)
        putMaterial(out, data.m_injectData[i].get());
    putCount(out, data.m_ingestData);
    for (std::size_t i = 0; i < std::min<std::size_t>(data.m_ingestData.size(), 255); ++i)
        putMaterial(out, data.m_ingestData[i].get());
    putCount(out, data.m_aerosolData);
    for (std::size_t i = 0; i < std::min<std::size_t>(data.m_aerosolData.size(), 255); ++i) {
        const AerosolGroup& g = *data.m_aerosolData[i];
        putShortText(out, g.m_aerosolName.isEmpty() ? QByteArray("?") : g.m_aerosolName);
        putShortText(out, g.m_modelName);
        put<float>(out, g.m_fA);
        for (const auto& m : g.m_aerosolDataArr)
            putMaterial(out, m.get());
    }
    putCount(out, data.m_gasData);
    for (std::size_t i = 0; i < std::min<std::size_t>(data.m_gasData.size(), 255); ++i)
        putMaterial(out, data.m_gasData[i].get());
    setDoseDataChecksum(out);
    return out;
}

} // namespace kav
