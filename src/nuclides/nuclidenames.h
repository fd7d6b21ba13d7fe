#pragma once

#include "nuclides/nuclide.h"

#include <QString>

#include <optional>

namespace kav {

// Sort orders of nuclide lists.
enum class NuclideSortOrder : std::uint8_t { Alphabetical, AlphabeticalByElement, PeriodicTable, MassNumber };

// " ", "m", "n".
QChar isomerStateText(IsomerState state);
// "B-", "IT", "B+", "A", "EC", "SF".
QString decayModeCode(DecayMode type);

// Radiation types of spectrum lines, codes 1 to 14.
constexpr int RadiationTypeCount = 14;
QString radiationName(int code, UiLanguage language = UiLanguage::English);
QString radiationCode(int code, UiLanguage language = UiLanguage::English);

// A nuclide's half-life as the user reads it: number and unit label ("5.271", "y"; "4.468 b.",
// "y"), or the two with a space between.
void halfLifeText(const Nuclide& node, UiLanguage language, QString& halfLifeStr, QString& unitsStr);
QString halfLifeText(const Nuclide& node, UiLanguage language);
// A nuclide's decay modes as codes without separator: "B-IT", "ASF".
QString decayModeCodes(const Nuclide& node);

// Half-life unit labels: "y", "d", "h", "m", "s", "ms", "µs" in English.
QString halfLifeUnitLabel(TimeUnit unit, UiLanguage language = UiLanguage::English);
QString millionsWord(UiLanguage language = UiLanguage::English);
QString billionsWord(UiLanguage language = UiLanguage::English);

// The mass number of a mass text ("99m" gives 99, "stbl" 65535); none when it is not one.
std::optional<std::uint16_t> massNumberOf(const MassText& aMass);

// Decay constant per day of a half-life, as a 32-bit float.
float halfLifeToLr(double halfLife, TimeUnit unit);
// The half-life of a decay constant per day, in a unit chosen for reading.
struct HalfLifeWithUnit {
    float value;
    TimeUnit unit;
};
HalfLifeWithUnit lrToHalfLife(float lr);

// Negative, zero or positive as a sorts before, with or after b.
int compareAlphabetical(const NuclideIdentity& a, const NuclideIdentity& b);
int comparePeriodicTable(const NuclideIdentity& a, const NuclideIdentity& b);
int compareMass(const NuclideIdentity& a, const NuclideIdentity& b);
int compareMassOnly(const NuclideIdentity& a, const NuclideIdentity& b);

// A nuclide's name from the way people type it ("cs137", "Cs-137", "cs 137", "tc99m", "Tc-99M",
// and the mass first: "137Cs", "99mTc"): "Cs-137", "Tc-99m"; a lone symbol ("co") as the symbol
// ("Co"); empty when it is neither.
QString nuclideNameFromTyping(QStringView typed);

} // namespace kav
