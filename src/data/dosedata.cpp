#include "data/dosedata.h"

#include "base/numberformat.h"
#include "units/units.h"

#include <QStringList>

namespace kav {

namespace {

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

DamagedDataFile::DamagedDataFile(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QStringList amadLabels()
{
    QStringList labels;
    for (double v : AMADValues)
        labels << formatPicture(v, u"0.###");
    return labels;
}

bool amadIndexFromText(const QString& text, int& index)
{
    index = static_cast<int>(amadLabels().indexOf(text));
    return index >= 0;
}

MaterialData::MaterialData(const DoseData* owner, IntakeRoute path, MaterialForm material)
    : m_doseData(owner)
    , m_material(material)
    , m_intakePath(path)
{
}

QString MaterialData::description() const
{
    QString s = removeBracket(compoundName(m_name));
    const bool hasFA = m_fA > 0;
    if (hasFA) {
        if (!m_name.isEmpty())
            s += QStringLiteral(", ");
        s += QStringLiteral("fA=") + formatSignificant(m_fA, 3);
    }
    if (m_intakePath == IntakeRoute::Inhalation && m_material == MaterialForm::Gas)
        s.prepend(hasFA ? QStringLiteral("Gas or vapour Type F, ") : QStringLiteral("Gas or vapour Type V, "));
    return s;
}

QString MaterialData::shortDescription() const
{
    QString s = removeBracket(compoundName(m_name));
    if (m_intakePath == IntakeRoute::Inhalation && m_material == MaterialForm::Gas)
        s.prepend(m_fA > 0 ? QStringLiteral("Gas or vapour Type F, ") : QStringLiteral("Gas or vapour Type V, "));
    return s;
}

QString MaterialData::fractionAbsorbedText() const
{
    return m_fA > 0 ? formatSignificant(m_fA, 3) : QString();
}

int MaterialData::positionOf(const StoredNuclideId& nuclide) const
{
    for (std::size_t i = 0; i < m_activity.size(); ++i)
        if (m_activity[i].m_nuclideId == nuclide)
            return static_cast<int>(i);
    return -1;
}

AerosolGroup::AerosolGroup(const DoseData* owner)
    : m_doseData(owner)
{
}

QString AerosolGroup::description() const
{
    QString s = aerosolName(m_aerosolName, QStringLiteral(","));
    if (!s.isEmpty())
        s += s.endsWith(u',') ? QStringLiteral(" ") : QStringLiteral(", ");
    return QStringLiteral("Aerosols ") + s + QStringLiteral("fA=") + formatSignificant(m_fA, 3);
}

QString AerosolGroup::shortDescription() const
{
    return QStringLiteral("Aerosols ") + aerosolName(m_aerosolName, QString());
}

QString AerosolGroup::fractionAbsorbedText() const
{
    return formatSignificant(m_fA, 3);
}

QString doseDataFileName(const StoredNuclideId& nuclide)
{
    return elementSymbol(nuclide.element) + u'-' + nuclide.mass.toString();
}

DoseData::~DoseData() = default;

QString DoseData::nuclideNameText() const
{
    return doseDataFileName(m_nuclideId);
}

void DoseData::clear()
{
    m_nuclideId = StoredNuclideId{};
    m_aerosolData.clear();
    m_gasData.clear();
    m_ingestData.clear();
    m_injectData.clear();
    m_reserved.clear();
}

const MaterialData* DoseData::selectCompound(IntakeRoute path, int compoundIndex, int amadIndex) const
{
    if (!isLoaded() || compoundIndex < 0 || amadIndex < 0)
        return nullptr;
    const auto index = static_cast<std::size_t>(compoundIndex);
    switch (path) {
    case IntakeRoute::Ingestion: return index < m_ingestData.size() ? m_ingestData[index].get() : nullptr;
    case IntakeRoute::Injection: return index < m_injectData.size() ? m_injectData[index].get() : nullptr;
    case IntakeRoute::Inhalation:
        if (index < m_aerosolData.size())
            return amadIndex < AMADCount
                ? m_aerosolData[index]->m_aerosolDataArr[static_cast<std::size_t>(amadIndex)].get()
                : nullptr;
        if (amadIndex == 0 && index - m_aerosolData.size() < m_gasData.size())
            return m_gasData[index - m_aerosolData.size()].get();
        return nullptr;
    }
    return nullptr;
}

bool DoseData::getCompoundsList(IntakeRoute path, QStringList& list) const
{
    list.clear();
    if (!isLoaded())
        return false;
    switch (path) {
    case IntakeRoute::Ingestion:
        for (const auto& m : m_ingestData)
            list << m->description();
        break;
    case IntakeRoute::Injection:
        for (const auto& m : m_injectData)
            list << m->description();
        break;
    case IntakeRoute::Inhalation:
        for (const auto& g : m_aerosolData)
            list << g->description();
        for (const auto& m : m_gasData)
            list << m->description();
        break;
    }
    return !list.isEmpty();
}

bool DoseData::getCompoundDescription(IntakeRoute path, int compoundIndex, QString& description, QString& fA) const
{
    if (path == IntakeRoute::Injection) {
        description = QStringLiteral("Injection");
        fA.clear();
        return !m_injectData.empty();
    }
    description.clear();
    fA.clear();
    if (compoundIndex < 0)
        return false;
    if (path == IntakeRoute::Inhalation && isAerosol(compoundIndex)) {
        const AerosolGroup& g = *m_aerosolData[static_cast<std::size_t>(compoundIndex)];
        description = g.shortDescription();
        fA = g.fractionAbsorbedText();
        return true;
    }
    const MaterialData* m = selectCompound(path, compoundIndex, 0);
    if (!m)
        return false;
    description = m->shortDescription();
    fA = m->fractionAbsorbedText();
    return true;
}

bool DoseData::getDoses(IntakeRoute path, int compoundIndex, int amadIndex, OrganDoses& dose, float& effDose) const
{
    if (path != IntakeRoute::Inhalation)
        amadIndex = 0;
    const MaterialData* m = selectCompound(path, compoundIndex, amadIndex);
    if (!m) {
        dose.fill(0);
        effDose = 0;
        return false;
    }
    dose = m->m_dose;
    effDose = m->m_effDose;
    return true;
}

bool DoseData::getEffDose(IntakeRoute path, int compoundIndex, int amadIndex, float& dose) const
{
    if (path != IntakeRoute::Inhalation)
        amadIndex = 0;
    const MaterialData* m = selectCompound(path, compoundIndex, amadIndex);
    dose = m ? m->m_effDose : 0;
    return m != nullptr;
}

} // namespace kav
