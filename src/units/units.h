#pragma once

#include "base/enumset.h"
#include "base/language.h"

#include <QString>

#include <cstdint>

namespace kav {

enum class TimeUnit : std::uint8_t { Year, Day, Hour, Minute, Second, Millisecond, Microsecond };
constexpr int TimeUnitCount = 7;

enum class ActivityUnit : std::uint8_t {
    aBq,
    fBq,
    pBq,
    nBq,
    uBq,
    mBq,
    cBq,
    dBq,
    Bq,
    kBq,
    MBq,
    GBq,
    TBq,
    PBq,
    EBq,
    aCi,
    fCi,
    pCi,
    nCi,
    uCi,
    mCi,
    cCi,
    dCi,
    Ci,
    kCi,
    MCi,
    GCi,
    TCi,
    PCi,
    ECi
};
constexpr int ActivityUnitCount = 30;

enum class DoseUnit : std::uint8_t {
    aSv,
    fSv,
    pSv,
    nSv,
    uSv,
    mSv,
    cSv,
    dSv,
    Sv,
    kSv,
    MSv,
    GSv,
    TSv,
    PSv,
    ESv,
    aRem,
    fRem,
    pRem,
    nRem,
    uRem,
    mRem,
    cRem,
    dRem,
    Rem,
    kRem,
    MRem,
    GRem,
    TRem,
    PRem,
    ERem
};
constexpr int DoseUnitCount = 30;

using TimeUnits = EnumSet<TimeUnit, 8>;
using ActivityUnits = EnumSet<ActivityUnit, 32>;
using DoseUnits = EnumSet<DoseUnit, 32>;

// Units per day. Table A counts the year as 365.25 days (durations, half-lives); table B as
// 365 days (the bioassay time axis).
double timeUnitsPerDayA(TimeUnit unit);
double timeUnitsPerDayB(TimeUnit unit);
// Becquerel per activity unit and sievert per dose unit, single precision as stored.
float bqPerUnit(ActivityUnit unit);
float svPerUnit(DoseUnit unit);

// Labels. Every language shows the international unit symbols.
QString timeUnitShortLabel(TimeUnit unit, UiLanguage language = UiLanguage::English);
QString timeUnitLongLabel(TimeUnit unit, UiLanguage language = UiLanguage::English);
QString timeUnitPluralLabel(TimeUnit unit, UiLanguage language = UiLanguage::English);
QString activityUnitLabel(ActivityUnit unit, UiLanguage language = UiLanguage::English);
// The unit of a label ("kBq"); false for a text that labels none.
bool activityUnitFromLabel(QStringView label, ActivityUnit& unit);
QString doseUnitLabel(DoseUnit unit, UiLanguage language = UiLanguage::English);

// A dose coefficient in Sv per Bq shown as dose unit per activity unit.
double doseCoefficientInUnits(double svPerBq, DoseUnit dose, ActivityUnit activity);
// A content per intake in Bq per Bq shown as content unit per intake unit.
double contentPerIntakeInUnits(double bqPerBq, ActivityUnit content, ActivityUnit intake);
// A time in days shown in a unit (year of 365 days).
double daysInUnit(double days, TimeUnit unit);

// Picks a readable unit for a duration in days: days up to a year, years above, and below a
// day the first of hours, minutes, seconds, milliseconds that gives at least 1.
struct ScaledTime {
    double value;
    TimeUnit unit;
};
ScaledTime scaleTimeUnit(double days);

// The number with n (1..8) significant digits, switching to an exponent outside 0.1..1000.
QString formatSignificant(double x, int n);
// The number with up to the given decimals (0..15), as far as the last one that is not zero, and
// at least one integer digit: 2.5, 0.125, 3, 0.
QString formatDecimals(double x, int decimals);
// The number with n significant digits and a signed exponent: 1.2E-9, 3.4E+5.
QString formatScientific(double x, int n);
// The same text in bytes (ASCII, with a point for the separator) written to a buffer of at least
// 32 characters, for writers of large files; returns its length.
std::size_t writeScientific(char* out, double x, int n);
} // namespace kav
