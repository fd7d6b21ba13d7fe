#include "data/doseexport.h"

#include "data/dosedatafolder.h"
#include "data/materialstable.h"

#include "base/numberformat.h"
#include "base/savefile.h"
#include "nuclides/nuclide.h"
#include "nuclides/nuclidelist.h"
#include "units/units.h"

#include <QDir>

#include <cstring>
#include <optional>

namespace kav {

namespace {

// Writes numbers with the separator in force into UTF-8 text.
class NumberWriter {
public:
    NumberWriter()
        : m_separator(QString(decimalSeparator()).toUtf8())
        , m_point(m_separator == ".")
    {
    }

    void append(QByteArray& out, double value) const
    {
        char text[32];
        const std::size_t length = writeScientific(text, value, 2);
        const char* point = m_point ? nullptr : static_cast<const char*>(std::memchr(text, '.', length));
        if (!point) {
            out.append(text, static_cast<qsizetype>(length));
            return;
        }
        out.append(text, point - text);
        out.append(m_separator);
        out.append(point + 1, static_cast<qsizetype>(length) - (point + 1 - text));
    }

private:
    QByteArray m_separator;
    bool m_point; // the separator is the point the numbers are written with
};

void appendOrgans(QByteArray& out, const NumberWriter& numbers, const OrganDoses& dose, Sex sex)
{
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
        out += ';';
        numbers.append(out, doseAt(dose, sex, static_cast<TargetOrgan>(organ)));
    }
}

} // namespace

QByteArray doseExportHeaderText()
{
    QByteArray organs = ";;;;;;";
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        organs += ';' + targetOrganName(static_cast<TargetOrgan>(organ)).toUtf8();
    return "Radionuclide;Route of intake;Material;AMTD/AMAD;fA;Effective dose coefficient (Sv/Bq);"
           "Sex;Organ dose coefficients (Sv/Bq)\r\n"
        + organs + "\r\n";
}

QByteArray doseExportText(const DoseData& data)
{
    QByteArray out;
    // About 700 bytes a pair of lines.
    out.reserve(700 * (1 + data.ingestDataCount() + AMADCount * data.aerosolDataCount() + data.inhalationDataCount()));
    const NumberWriter numbers;
    const QByteArray name = data.nuclideNameText().toUtf8();
    OrganDoses dose{};
    float effDose = 0;
    auto addPair = [&](const QByteArray& head) {
        out += head;
        numbers.append(out, effDose);
        out += ";Male";
        appendOrgans(out, numbers, dose, Sex::Male);
        out += "\r\n;;;;;;Female";
        appendOrgans(out, numbers, dose, Sex::Female);
        out += "\r\n";
    };
    // The material's short description, with ";" made "," so that the fields stay in place, and
    // its fA text.
    auto materialTexts = [&](IntakeRoute path, int index) {
        QString description;
        QString fA;
        data.getCompoundDescription(path, index, description, fA);
        description.replace(u';', u',');
        return std::pair{description.toUtf8(), fA.toUtf8()};
    };
    const QStringList sizes = amadLabels();
    std::pair<QByteArray, QByteArray> described;
    std::optional<std::pair<IntakeRoute, int>> describedMaterial;
    for (const MaterialRow& row : materialRows(data, MaterialChoice::everything(data))) {
        if (!data.getDoses(row.route, row.material, row.size, dose, effDose))
            continue;
        if (row.route == IntakeRoute::Injection) {
            addPair(name + ";Injection;;;;");
            continue;
        }
        // An aerosol's sizes follow each other: its texts are made once.
        const std::pair material{row.route, row.material};
        if (material != describedMaterial) {
            described = materialTexts(row.route, row.material);
            describedMaterial = material;
        }
        const auto& [description, fA] = described;
        addPair(name + (row.route == IntakeRoute::Ingestion ? ";Ingestion;" : ";Inhalation;") + description + ';'
                + (row.sized ? sizes[row.size].toUtf8() : QByteArray()) + ';' + fA + ';');
    }
    return out;
}

DoseExportResult exportDoses(const DoseDataFolder& dataFolder, const NuclideList& nuclides, const QStringList& elements,
                             const QString& folder, const std::function<bool(int done, int total)>& progress)
{
    DoseExportResult result;
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("The folder %1 could not be made").arg(folder);
        return result;
    }
    int done = 0;
    for (const QString& symbol : elements) {
        const ChemicalElement element = elementBySymbol(symbol);
        if (element == ChemicalElement::None) {
            result.error = QStringLiteral("TMainForm.aExportDosesExecute: Can not parse element name ") + symbol;
            return result;
        }
        QByteArray text = doseExportHeaderText();
        for (const NuclideList::Entry& entry : nuclides.items()) {
            if (!entry.node || entry.node->element != element)
                continue;
            DoseData data;
            if (const std::optional<DoseDataFailure> failure = dataFolder.load(*entry.node, data)) {
                result.error = failure->message;
                return result;
            }
            text += doseExportText(data);
            if (progress && !progress(++done, nuclides.count())) {
                result.cancelled = true;
                return result;
            }
        }
        const QString path = QDir(folder).filePath(symbol + QStringLiteral(".csv"));
        QString error;
        if (!saveFileAtomically(path, text, &error)) {
            result.error = path + QStringLiteral(" could not be written: ") + error;
            return result;
        }
        result.files << path;
    }
    return result;
}

QString doseExportSummary(const DoseExportResult& result, const QString& folder)
{
    const auto files
        = [](qsizetype n) { return n == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(n); };
    const QString written = files(result.files.size()) + QStringLiteral(" written to ") + folder;
    if (!result.error.isEmpty())
        return QStringLiteral("Export failed after %1: %2").arg(written, result.error);
    if (result.cancelled)
        return QStringLiteral("Export cancelled: ") + written;
    return QStringLiteral("Export done: ") + written;
}

} // namespace kav
