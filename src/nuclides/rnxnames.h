#pragma once

#include "nuclides/rnxnode.h"

#include <QString>

#include <optional>

namespace kav {

// Sort orders of nuclide lists.
enum TQzRNXSortType : std::uint8_t { stxABC, stxABCElement, stxPeriodicTable, stxAMass };

// " ", "m", "n".
QChar RNXAMassCharText(TRNXAMassChar state);
// "B-", "IT", "B+", "A", "EC", "SF".
QString RNXRTypeCode(TRNXAllRadType type);

// Radiation types of spectrum lines, codes 1 to 14.
constexpr int RNXRadiationCount = 14;
QString RNXRadiationName(int code, UiLanguage language = l_English);
QString RNXRadiationCode(int code, UiLanguage language = l_English);

// A nuclide's half-life as the user reads it: number and unit label ("5.271", "y"; "4.468 b.",
// "y"), or the two with a space between.
void HalfLifeText(const TRNXnode& node, UiLanguage language, QString& halfLifeStr, QString& unitsStr);
QString HalfLifeText(const TRNXnode& node, UiLanguage language);
// A nuclide's decay modes as codes without separator: "B-IT", "ASF".
QString DecayModeCodes(const TRNXnode& node);

// Half-life unit labels: "y", "d", "h", "m", "s", "ms", "µs" in English.
QString RNXHalfLifeUnitLabel(TimeUnit unit, UiLanguage language = l_English);
QString RNXMillionsWord(UiLanguage language = l_English);
QString RNXBillionsWord(UiLanguage language = l_English);

// The mass number of a mass text ("99m" gives 99, "stbl" 65535); none when it is not one.
std::optional<std::uint16_t> RNXAMassToInt(const TRNXAMass& aMass);

// Decay constant per day of a half-life, as a 32-bit float.
float HalfLifeToLr(double halfLife, TimeUnit unit);
// The half-life of a decay constant per day, in a unit chosen for reading.
struct TRNXHalfLife {
    float value;
    TimeUnit unit;
};
TRNXHalfLife LrToHalfLife(float lr);

// Negative, zero or positive as a sorts before, with or after b.
int CompareRNXABC(const TBasicRNX& a, const TBasicRNX& b);
int CompareRNXPeriodicTable(const TBasicRNX& a, const TBasicRNX& b);
int CompareRNXAMass(const TBasicRNX& a, const TBasicRNX& b);
int CompareRNXAMassOnly(const TBasicRNX& a, const TBasicRNX& b);

// A nuclide's name from the way people type it ("cs137", "Cs-137", "cs 137", "tc99m", "Tc-99M",
// and the mass first: "137Cs", "99mTc"): "Cs-137", "Tc-99m"; a lone symbol ("co") as the symbol
// ("Co"); empty when it is neither.
QString RNXNameFromTyping(QStringView typed);

} // namespace kav
