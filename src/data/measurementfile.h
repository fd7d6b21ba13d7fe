#pragma once

#include "data/intakeassessment.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kav {

// The most rows a file of measurements may hold.
constexpr int MaxMeasurementRows = 10000;

// A file of measurements: one line "compartment,time,value[,sf]" each, where the time is a number
// of days after the intake or the date the measurement was taken (2026-03-05), a value written
// "<L" lies below the detection limit L and a missing SF takes the compartment's usual one. A line
// "intake,2026-03-01" gives the intake's date, "intake,2026-03-01,2026-03-06" the two dates it
// lies between. '#' starts a comment; blank lines and a first line of column names are passed
// over.
struct MeasurementFile {
    IntakeDate intake;
    std::vector<DatedMeasurement> measurements;
    std::vector<int> lineNumbers; // the line of each measurement, from 1
    int errorLine = 0; // the line of the first fault, 0 for the whole file
    QString error; // empty when the file was read
    bool ok() const { return error.isEmpty(); }
};

MeasurementFile readMeasurementFile(const QByteArray& bytes);
// The file that reads back as the same intake date and measurements, the SF always written.
QByteArray measurementFileBytes(const IntakeDate& intake, const std::vector<DatedMeasurement>& measurements);

// What the user types in a measurement's cells, read into the measurement; false (and the field
// left unknown: not a number, no date) when the text is not one. A time is a number of days from 0
// or a date written 2026-03-05; a value is a positive number in units of bqPerUnit Bq, "<" before
// it marking a value below its detection limit; a scattering factor a number above 1.
bool readMeasurementTime(QStringView text, DatedMeasurement& entry);
bool readMeasuredValue(QStringView text, double bqPerUnit, Measurement& m);
bool readScatteringFactor(QStringView text, Measurement& m);
// The time as it is typed: the date, or the days.
QString measurementTimeText(const DatedMeasurement& entry);
// Every field is known: the measurement can be written to a file.
bool isComplete(const DatedMeasurement& entry);

// The compartment names the file uses: "whole-body", "urine", "faeces", "alimentary-tract",
// "lungs", "thyroid", "skeleton", "liver"; read in any case, as are the names the tables show
// ("Whole Body", "Urine (24-hour sample)", "Lungs*").
QString compartmentFileName(Compartment compartment);
bool compartmentFromFileName(QStringView name, Compartment& compartment);

} // namespace kav
