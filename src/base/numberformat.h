#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace kav {

// The decimal separator numbers are shown with: that of the locale in force, the user's unless
// the program (a test, a tool that writes files) set another one as Qt's default locale.
QChar decimalSeparator();

// Prints a number through a picture pattern such as "0.##E-0", "0.###", "00.#" or "# ##0":
//  "0" a digit that is always printed, "#" a digit printed only when significant,
//  "." the decimal separator, "E+0"/"E-0"/"e+0"/"e-0" an exponent (sign always / only when
//  negative) with at least as many digits as zeros follow ("E-#": as many as it has), quoted
//  text and any other character
//  printed as it stands. Up to three sections separated by ";" serve positive, negative and
//  zero values. Rounding is half away from zero on the decimal digits of the number.
QString formatPicture(double value, QStringView picture);
QString formatPicture(double value, QStringView picture, QChar decimalSep);

// Parses a number written with "." and an optional exponent, whatever the user's settings:
// empty text gives 0, text that is not a number in full gives the default.
double parseFloatDef(const QString& text, double defaultValue);
// Reads a number the user typed or a file holds: with a point, or with the user's own decimal
// separator; false, the value unchanged, for anything that is not a finite number.
bool readTypedNumber(QStringView text, double& value);
// Parses a whole decimal integer; false when the text is anything else.
bool parseInt(const QString& text, int& value);

} // namespace kav
