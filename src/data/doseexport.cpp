#include "data/doseexport.h"

#include "data/dosedatafolder.h"
#include "data/materialstable.h"

#include "base/numberformat.h"
#include "base/savefile.h"
#include "nuclides/nuclide.h"
#include "nuclides/nuclidelist.h"
#include "units/units.h"

#include <QDir>

#include <algorithm>
#include <future>
#include <optional>
#include <string_view>

namespace kav {

namespace {

// The longest number written: sign, 2 digits, the separator (up to 4 bytes in UTF-8), the
// exponent with its letter and sign.
constexpr int kLongestNumber = 32;

// Writes numbers with the separator in force into UTF-8 text.
class NumberWriter {
public:
    NumberWriter()
        : m_separator(QString(decimalSeparator()).toUtf8())
        , m_point(m_separator == ".")
    {
    }

    // Writes the number at p, which has room for kLongestNumber bytes; returns its end.
    char* write(char* p, double value) const
    {
        if (m_point)
            return p + writeScientific(p, value, 2);
        char text[32];
        const std::size_t length = writeScientific(text, value, 2);
        for (const char c : std::string_view(text, length))
            if (c == '.')
                p = std::copy(m_separator.begin(), m_separator.end(), p);
            else
                *p++ = c;
        return p;
    }

private:
    QByteArray m_separator;
    bool m_point; // the separator is the point the numbers are written with
};

char* writeText(char* p, std::string_view text)
{
    return std::copy(text.begin(), text.end(), p);
}

char* writeOrgans(char* p, const NumberWriter& numbers, const OrganDoses& dose, Sex sex)
{
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
        *p++ = ';';
        p = numbers.write(p, doseAt(dose, sex, static_cast<TargetOrgan>(organ)));
    }
    return p;
}

// The male and the female line of one route, material and size, after the head of the first.
void appendLinePair(QByteArray& out, const QByteArray& head, const NumberWriter& numbers, float effectiveDose,
                    const OrganDoses& dose)
{
    // The numbers of both lines with their separators, and the fixed texts between them.
    char buffer[(1 + 2 * ShownTargetOrganCount) * (kLongestNumber + 1) + 32];
    char* p = numbers.write(buffer, effectiveDose);
    p = writeText(p, ";Male");
    p = writeOrgans(p, numbers, dose, Sex::Male);
    p = writeText(p, "\r\n;;;;;;Female");
    p = writeOrgans(p, numbers, dose, Sex::Female);
    p = writeText(p, "\r\n");
    out += head;
    out.append(buffer, p - buffer);
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
    appendDoseExportText(out, data);
    return out;
}

void appendDoseExportText(QByteArray& out, const DoseData& data)
{
    // About 700 bytes a pair of lines; a text that grows by many nuclides grows by halves.
    const qsizetype needed = out.size()
        + 700 * (1 + data.ingestDataCount() + AMADCount * data.aerosolDataCount() + data.inhalationDataCount());
    if (out.capacity() < needed)
        out.reserve(std::max(needed, out.capacity() * 3 / 2));
    const NumberWriter numbers;
    const QByteArray name = data.nuclideNameText().toUtf8();
    OrganDoses dose{};
    float effDose = 0;
    auto addPair = [&](const QByteArray& head) { appendLinePair(out, head, numbers, effDose, dose); };
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
}

DoseExportResult exportDoses(const DoseDataFolder& dataFolder, const NuclideList& nuclides, const QStringList& elements,
                             const QString& folder, const std::function<bool(int done, int total)>& progress)
{
    DoseExportResult result;
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("The folder %1 could not be made").arg(folder);
        return result;
    }
    // Each file is written on a thread of its own while the next element's files are read. How
    // the writing went is taken before anything else is said, so that the result reads as if the
    // files were written one after the other.
    std::future<std::optional<QString>> writing;
    QString writingPath;
    const auto writingWent = [&] {
        if (!writing.valid())
            return true;
        if (const std::optional<QString> error = writing.get()) {
            result.error = writingPath + QStringLiteral(" could not be written: ") + *error;
            return false;
        }
        result.files << writingPath;
        return true;
    };
    int done = 0;
    for (const QString& symbol : elements) {
        const ChemicalElement element = elementBySymbol(symbol);
        if (element == ChemicalElement::None) {
            if (writingWent())
                result.error = QStringLiteral("TMainForm.aExportDosesExecute: Can not parse element name ") + symbol;
            return result;
        }
        QByteArray text = doseExportHeaderText();
        for (const NuclideList::Entry& entry : nuclides.items()) {
            if (!entry.node || entry.node->element != element)
                continue;
            DoseData data;
            if (const std::optional<DoseDataFailure> failure = dataFolder.load(*entry.node, data)) {
                if (writingWent())
                    result.error = failure->message;
                return result;
            }
            appendDoseExportText(text, data);
            if (progress && !progress(++done, nuclides.count())) {
                result.cancelled = writingWent();
                return result;
            }
        }
        if (!writingWent())
            return result;
        writingPath = QDir(folder).filePath(symbol + QStringLiteral(".csv"));
        writing
            = std::async(std::launch::async, [path = writingPath, text = std::move(text)]() -> std::optional<QString> {
                  QString error;
                  if (saveFileAtomically(path, text, &error))
                      return std::nullopt;
                  return error;
              });
    }
    writingWent();
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
