#include "data/vocabulary.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace kav {

namespace {

constexpr std::array<const char*, 3> kIntakePaths{"Ingestion", "Inhalation", "Injection"};
constexpr std::array<const char*, 2> kSexes{"Male", "Female"};
constexpr std::array<const char*, TargetOrganCount> kTargetOrgans{
    "Bone marrow",     "Colon",           "Lung",        "Stomach",
    "Breast",          "Ovaries",         "Testes",      "Urinary bladder",
    "Oesophagus",      "Liver",           "Thyroid",     "Bone Surface",
    "Brain",           "Salivary glands", "Skin",        "Adrenals",
    "ET of HRTM",      "Gall bladder",    "Heart",       "Kidneys",
    "Lymphatic nodes", "Muscle",          "Oral mucosa", "Pancreas",
    "Prostate",        "Small intestine", "Spleen",      "Thymus",
    "Uterus",          "Remainder"};

struct SourceOrganText {
    const char16_t* name;
    int column;
    const char16_t* description;
};
// "thoraciс" ends with the Cyrillic small es, as the text has always been stored.
constexpr std::array<SourceOrganText, CompartmentCount> kSourceOrgans{{
    {u"Skeleton*", 7, u"Sum of the content in bone surface, bone volume, bone marrow and skeleton blood fraction"},
    {u"Thyroid*", 6, u"Sum of the content in thyroid and thyroid blood fraction"},
    {u"Liver*", 8, u"Sum of the content in liver and liver blood fraction"},
    {u"Lungs*", 5,
     u"Sum of the content in bronchioles, bronchi, thoraci\u0441 lymph nodes, alveolar-interstitial region, "
     u"other thoracic lung tissues and thoracic lung blood fraction"},
    {u"Alimentary Tract*", 4,
     u"Sum of the content in stomach, small intestine, colon, rectosigmoid and corresponding blood fraction"},
    {u"Whole Body", 1, u""},
    {u"Urine (24-hour sample)", 2, u""},
    {u"Faeces (24-hour sample)", 3, u""},
}};

constexpr std::array<Compartment, CompartmentCount> kColumnOrder{
    Compartment::WholeBody, Compartment::DailyUrine, Compartment::DailyFaeces, Compartment::AlimentaryTract,
    Compartment::Lungs,     Compartment::Thyroid,    Compartment::Skeleton,    Compartment::Liver};

template <typename Entries, typename E> std::size_t at(const Entries& table, E value)
{
    const int ordinal = static_cast<int>(value);
    return static_cast<std::size_t>(std::clamp(ordinal, 0, static_cast<int>(table.size()) - 1));
}

} // namespace

QString intakePathName(IntakeRoute path)
{
    return QString::fromLatin1(kIntakePaths[at(kIntakePaths, path)]);
}
QString sexName(Sex sex)
{
    return QString::fromLatin1(kSexes[at(kSexes, sex)]);
}
QString targetOrganName(TargetOrgan organ)
{
    return QString::fromLatin1(kTargetOrgans[at(kTargetOrgans, organ)]);
}
QString sourceOrganName(Compartment organ)
{
    return QString::fromUtf16(kSourceOrgans[at(kSourceOrgans, organ)].name);
}
QString sourceOrganDescription(Compartment organ)
{
    return QString::fromUtf16(kSourceOrgans[at(kSourceOrgans, organ)].description);
}
int sourceOrganColumn(Compartment organ)
{
    return kSourceOrgans[at(kSourceOrgans, organ)].column;
}
const Compartment* sourceOrgansInColumnOrder()
{
    return kColumnOrder.data();
}

QStringList intakePathNames()
{
    return {intakePathName(IntakeRoute::Ingestion), intakePathName(IntakeRoute::Inhalation),
            intakePathName(IntakeRoute::Injection)};
}

IntakeRoute intakePathFromText(const QString& text)
{
    for (IntakeRoute path : {IntakeRoute::Ingestion, IntakeRoute::Inhalation, IntakeRoute::Injection})
        if (text == intakePathName(path))
            return path;
    return IntakeRoute::Ingestion;
}

QStringList organListWithEffectiveDose()
{
    QStringList list{QStringLiteral("Dose Coefficient e(50)")};
    for (int organ = 0; organ < TargetOrganCount; ++organ)
        list << targetOrganName(static_cast<TargetOrgan>(organ));
    return list;
}

} // namespace kav
