#include "data/mixture.h"

#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"

#include <algorithm>
#include <utility>

namespace kav {

namespace {

// Changes kept for undoing; the oldest go first.
constexpr std::size_t kUndoDepth = 100;

// The texts of a route's materials; a material without a text (an injection, as a rule) shows
// "-", as a choice that is not there to make.
QStringList materialTexts(const DoseData& data, IntakeRoute route)
{
    QStringList texts;
    data.getCompoundsList(route, texts);
    for (QString& text : texts)
        if (text.isEmpty())
            text = QStringLiteral("-");
    return texts;
}

const QStringList kNoMaterials;

} // namespace

DoseDataCache::DoseDataCache(const ProgramSettings& preference)
    : m_preference(preference)
{
}

std::shared_ptr<const LoadedDoseData> DoseDataCache::load(const NuclideIdentity& nuclide, QString& error)
{
    const QString key = m_preference.dataFolderPath() + u'/' + nuclide.nameText();
    if (std::shared_ptr<const LoadedDoseData> held = m_loaded[key].lock())
        return held;
    auto loaded = std::make_shared<LoadedDoseData>();
    if (const std::optional<DoseDataFailure> failure = m_preference.dataFolder().load(nuclide, loaded->data)) {
        m_loaded.erase(key);
        error = failure->message;
        return nullptr;
    }
    for (IntakeRoute route : {IntakeRoute::Ingestion, IntakeRoute::Inhalation, IntakeRoute::Injection})
        loaded->materials[ordinal(route)] = materialTexts(loaded->data, route);
    std::erase_if(m_loaded, [](const auto& entry) { return entry.second.expired(); });
    m_loaded[key] = loaded;
    return loaded;
}

Mixture::Mixture(const NuclideIndex& index, const NuclideList& offered, DoseDataCache& cache)
    : m_index(index)
    , m_offered(offered)
    , m_cache(cache)
{
}

std::vector<KeptMixtureRow> Mixture::keptRows() const
{
    std::vector<KeptMixtureRow> settings;
    settings.reserve(m_rows.size());
    for (const MixtureRow& row : m_rows)
        settings.push_back(row.setting);
    return settings;
}

void Mixture::fit(MixtureRow& row, int sizeWhenNone)
{
    KeptMixtureRow& s = row.setting;
    const int materials = static_cast<int>(row.loaded->materials[ordinal(s.path)].size());
    if (s.material < 0 || s.material >= materials)
        s.material = 0;
    const bool aerosol = s.path == IntakeRoute::Inhalation && row.loaded->data.isAerosol(s.material);
    if (!aerosol)
        s.amadIndex = -1;
    else if (s.amadIndex < 0 || s.amadIndex >= AMADCount)
        s.amadIndex = sizeWhenNone;
}

MixtureRow Mixture::loadRow(const KeptMixtureRow& setting) const
{
    MixtureRow row;
    row.setting = setting;
    const Nuclide* node = m_index.findNuclide(setting.nuclide);
    if (!node) {
        row.unavailable = setting.nuclide + QStringLiteral(" is not a nuclide of the index");
        return row;
    }
    row.loaded = m_cache.load(*node, row.unavailable);
    if (row.loaded)
        fit(row, DefaultAMADIndex);
    return row;
}

bool Mixture::newRow(const QString& name, IntakeRoute route, MixtureRow& row, QString& error) const
{
    const Nuclide* node = m_index.findNuclide(name);
    if (!node) {
        error = name + QStringLiteral(" is not a nuclide of the index");
        return false;
    }
    std::shared_ptr<const LoadedDoseData> loaded = m_cache.load(*node, error);
    if (!loaded)
        return false;
    row = MixtureRow{};
    row.setting.nuclide = node->nameText();
    row.setting.path = route;
    row.loaded = std::move(loaded);
    fit(row, DefaultAMADIndex);
    return true;
}

MixtureRow Mixture::firstOnOffer() const
{
    MixtureRow row;
    if (m_offered.count() == 0) {
        row.unavailable = QStringLiteral("The data folder holds no data file");
        return row;
    }
    QString error;
    if (newRow(m_offered.strings(0), IntakeRoute::Ingestion, row, error))
        return row;
    row.setting.nuclide = m_offered.strings(0);
    row.unavailable = error;
    return row;
}

bool Mixture::restore(const std::vector<KeptMixtureRow>& kept, QString& error)
{
    std::vector<MixtureRow> rows;
    rows.reserve(kept.size());
    for (const KeptMixtureRow& setting : kept)
        rows.push_back(loadRow(setting));
    if (rows.empty()) {
        MixtureRow example;
        if (!newRow(QStringLiteral("Co-60"), IntakeRoute::Inhalation, example, error))
            return false;
        rows.push_back(std::move(example));
    }
    m_rows = std::move(rows);
    m_undo.clear();
    m_redo.clear();
    m_intakeEdited = -1;
    return true;
}

QStringList Mixture::append(const std::vector<const NuclideIdentity*>& nuclides)
{
    QStringList errors;
    std::vector<MixtureRow> added;
    for (const NuclideIdentity* nuclide : nuclides) {
        MixtureRow row;
        QString error;
        if (newRow(nuclide->nameText(), IntakeRoute::Ingestion, row, error))
            added.push_back(std::move(row));
        else
            errors << error;
    }
    if (!added.empty())
        change(count(), 0, std::move(added));
    return errors;
}

QString Mixture::firstNuclideOf(const QString& symbol) const
{
    const QString prefix = symbol + u'-';
    for (const NuclideList::Entry& entry : m_offered.items())
        if (entry.name.startsWith(prefix))
            return entry.name;
    return {};
}

bool Mixture::setElement(int i, const QString& symbol, QString& error)
{
    const MixtureRow& old = rowAt(i);
    if (old.setting.nuclide.section(u'-', 0, 0) == symbol && old.available())
        return true;
    const QString name = firstNuclideOf(symbol);
    if (name.isEmpty()) {
        error = QStringLiteral("No nuclide of %1 has a data file").arg(symbol);
        return false;
    }
    return setNuclide(i, name, error);
}

bool Mixture::setNuclide(int i, const QString& name, QString& error)
{
    const MixtureRow& old = rowAt(i);
    if (old.setting.nuclide == name && old.available())
        return true;
    MixtureRow row;
    if (!newRow(name, old.setting.path, row, error))
        return false;
    // An aerosol keeps the size it had; the activity taken in stays the row's.
    row.setting.amadIndex = old.setting.amadIndex;
    row.setting.intakeBq = old.setting.intakeBq;
    fit(row, DefaultAMADIndex);
    change(i, 1, {std::move(row)});
    return true;
}

void Mixture::setRoute(int i, IntakeRoute route)
{
    MixtureRow row = rowAt(i);
    if (!row.available() || row.setting.path == route)
        return;
    row.setting.path = route;
    row.setting.material = 0;
    fit(row, DefaultAMADIndex);
    change(i, 1, {std::move(row)});
}

void Mixture::setMaterial(int i, int material)
{
    MixtureRow row = rowAt(i);
    if (!row.available() || row.setting.material == material || material < 0 || material >= materials(i).size())
        return;
    row.setting.material = material;
    fit(row, DefaultAMADIndex);
    change(i, 1, {std::move(row)});
}

void Mixture::setSize(int i, int sizeIndex)
{
    MixtureRow row = rowAt(i);
    if (!hasSize(i) || row.setting.amadIndex == sizeIndex || sizeIndex < 0 || sizeIndex >= AMADCount)
        return;
    row.setting.amadIndex = sizeIndex;
    change(i, 1, {std::move(row)});
}

void Mixture::setIntake(int i, std::optional<double> intakeBq, bool continued)
{
    if (i < 0 || i >= count() || m_rows[static_cast<std::size_t>(i)].setting.intakeBq == intakeBq)
        return;
    if (continued && m_intakeEdited == i && !m_undo.empty()) {
        m_rows[static_cast<std::size_t>(i)].setting.intakeBq = intakeBq;
        m_redo.clear();
        return;
    }
    MixtureRow row = rowAt(i);
    row.setting.intakeBq = intakeBq;
    change(i, 1, {std::move(row)});
    m_intakeEdited = i;
}

void Mixture::remove(int i)
{
    if (i < 0 || i >= count())
        return;
    if (count() == 1)
        change(0, 1, {firstOnOffer()});
    else
        change(i, 1, {});
}

void Mixture::clear()
{
    change(0, count(), {firstOnOffer()});
}

void Mixture::move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count())
        return;
    const int first = std::min(from, to);
    std::vector<MixtureRow> rows(m_rows.begin() + first, m_rows.begin() + std::max(from, to) + 1);
    if (from < to)
        std::rotate(rows.begin(), rows.begin() + 1, rows.end());
    else
        std::rotate(rows.begin(), rows.end() - 1, rows.end());
    const int count = static_cast<int>(rows.size());
    change(first, count, std::move(rows));
}

const QStringList& Mixture::materials(int i) const
{
    const MixtureRow& row = rowAt(i);
    return row.available() ? row.loaded->materials[ordinal(row.setting.path)] : kNoMaterials;
}

bool Mixture::hasSize(int i) const
{
    const MixtureRow& row = rowAt(i);
    return row.available() && row.setting.path == IntakeRoute::Inhalation
        && row.loaded->data.isAerosol(row.setting.material);
}

std::optional<float> Mixture::dose(int i) const
{
    const MixtureRow& row = rowAt(i);
    if (!row.available())
        return std::nullopt;
    float dose = 0;
    const KeptMixtureRow& s = row.setting;
    if (!row.loaded->data.getEffDose(s.path, s.material, std::max(s.amadIndex, 0), dose))
        return std::nullopt;
    return dose;
}

std::vector<KeptMixtureRow> Mixture::replace(int first, int count, std::vector<MixtureRow> rows)
{
    const auto begin = m_rows.begin() + first;
    std::vector<KeptMixtureRow> replaced;
    for (auto it = begin; it != begin + count; ++it)
        replaced.push_back(it->setting);
    m_rows.erase(begin, begin + count);
    m_rows.insert(m_rows.begin() + first, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return replaced;
}

void Mixture::change(int first, int count, std::vector<MixtureRow> rows)
{
    const int added = static_cast<int>(rows.size());
    m_intakeEdited = -1;
    m_undo.push_back({first, added, replace(first, count, std::move(rows))});
    if (m_undo.size() > kUndoDepth)
        m_undo.erase(m_undo.begin());
    m_redo.clear();
}

Mixture::Splice Mixture::apply(const Splice& splice)
{
    std::vector<MixtureRow> rows;
    rows.reserve(splice.rows.size());
    for (const KeptMixtureRow& setting : splice.rows)
        rows.push_back(loadRow(setting));
    return {splice.first, static_cast<int>(rows.size()), replace(splice.first, splice.count, std::move(rows))};
}

int Mixture::travel(std::vector<Splice>& from, std::vector<Splice>& to)
{
    m_intakeEdited = -1;
    if (from.empty())
        return -1;
    const Splice splice = std::move(from.back());
    from.pop_back();
    to.push_back(apply(splice));
    return splice.first;
}

int Mixture::undo()
{
    return travel(m_undo, m_redo);
}

int Mixture::redo()
{
    return travel(m_redo, m_undo);
}

} // namespace kav
