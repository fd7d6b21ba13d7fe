#pragma once

#include "data/bioassaydata.h"
#include "data/intakedate.h"
#include "units/units.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

namespace kav {

// The usual spread of one kind of measurement, as the scattering factor SF of a lognormal
// distribution: urine samples 1.8, faeces samples 3.0, every in-vivo count 1.2.
double defaultScatteringFactor(Compartment compartment);

// The content per unit intake m(t) of a compartment at a time after intake, from its values at
// the bioassay grid times: the grid value at a grid time; between two grid times, linear in ln m
// against ln t, or linear in t where either neighbour is 0. Empty refusal when usable.
struct ContentAtTime {
    double perIntake = 0;
    QString refusal;
};
ContentAtTime contentPerIntakeAt(const CompartmentContent& values, double days);

// One measurement of a worker: Bq, or Bq per day for urine and faeces samples; when below the
// detection limit, the value is the limit.
struct Measurement {
    Compartment compartment = Compartment::WholeBody;
    double days = 0;
    double value = 0;
    bool belowLimit = false;
    double scatteringFactor = 1.2;
};

// A measurement as the user gives it: its time in days after the intake, or the day it was taken.
struct DatedMeasurement {
    Measurement measurement; // its days count unless a date is given
    QDate date;
};

// The measurements with their times in days: a dated one's from the intake (the midpoint of two
// dates); not a number when the intake's date is not said.
std::vector<Measurement> measurementsAfter(const IntakeDate& intake, const std::vector<DatedMeasurement>& entries);

// What the assessment makes of one measurement: the model's content per unit intake then, the
// content the assessed intake predicts, measured over predicted, or why the row takes no part.
struct AssessedMeasurement {
    Measurement measurement;
    double perIntake = 0;
    double predicted = 0;
    double ratio = 0;
    QString refusal;
};

// The intake and committed effective dose a set of measurements points to, in Bq and Sv.
struct IntakeAssessment {
    // Why there is no result at all (no measurement, none usable); empty when there is one.
    QString problem;
    std::vector<AssessedMeasurement> rows;
    // Every usable value lies below its limit: the intake and the dose are upper bounds.
    bool upperBoundOnly = false;
    double intakeBq = 0;
    double lowBq = 0; // the 95 % range
    double highBq = 0;
    double doseSv = 0;
    int measuredCount = 0;
    double chiSquare = 0;
    int degreesOfFreedom = 0;
    std::optional<double> pValue; // with two measured values or more
    bool hasResult() const { return problem.isEmpty(); }
    // The measurements agree with the model unless the p-value falls below 0.05.
    bool agreesWithModel() const { return !pValue || *pValue >= 0.05; }
};

// The lognormal maximum-likelihood intake from the measurements, with the bioassay functions of
// the chosen intake and its e(50) in Sv per Bq.
IntakeAssessment assessIntake(const MaterialBioassay& functions, double effectiveDoseSvPerBq,
                              const std::vector<Measurement>& measurements);

// The content the assessed intake predicts in a compartment over time: the intake times m(t) at
// each time of the data where m(t) is above 0, in days and Bq.
std::vector<QPointF> fittedContent(const CompartmentContent& values, double intakeBq);

// The units an assessment is written in.
struct AssessmentUnits {
    ActivityUnit intake = ActivityUnit::Bq;
    ActivityUnit content = ActivityUnit::Bq; // per day for urine and faeces samples
    DoseUnit dose = DoseUnit::Sv;
    bool operator==(const AssessmentUnits&) const = default;
};

// The assessment as tab-separated lines, as the clipboard gets it: the head and an empty line,
// a line per measurement (compartment, days, measured, predicted, measured/predicted, SF, and
// why a row is not used), an empty line and the results; numbers with four significant digits,
// every line ended by "\r\n".
QString intakeAssessmentText(const IntakeAssessment& assessment, const QString& head, const AssessmentUnits& units);

} // namespace kav
