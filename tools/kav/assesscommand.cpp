#include "assesscommand.h"

#include "commandproblem.h"
#include "intakechoice.h"

#include "data/bioassaytable.h"
#include "data/measurementfile.h"

#include <cstdio>

namespace kav {

int assessCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args)
{
    std::map<QString, QString> options;
    if (!takeOptions(args, {"--route", "--material", "--size"}, options) || args.size() != 2 || args[0].startsWith(u'-')
        || args[1].startsWith(u'-') || !options.count(QStringLiteral("--route"))
        || !options.count(QStringLiteral("--material")))
        return UsageStatus;
    const QString path = args[1];
    QByteArray bytes;
    if (!readCommandFile(path, bytes))
        return BadInputStatus;
    const MeasurementFile file = readMeasurementFile(bytes);
    if (!file.ok())
        return commandProblem(path + QStringLiteral(": ") + file.error, BadInputStatus);
    if (file.measurements.empty())
        return commandProblem(path + QStringLiteral(": no measurements"), BadInputStatus);

    ChosenIntake chosen;
    if (chooseIntake(index, preference, args[0], options, chosen) != 0)
        return 1;
    MaterialBioassay functions;
    float dose = 0;
    if (!chosen.data.bioassayFunctionsOf(chosen.path, chosen.material, chosen.amadIndex, functions)
        || !chosen.data.getEffDose(chosen.path, chosen.material, chosen.amadIndex, dose))
        return commandProblem(
            QStringLiteral("%1, %2, %3: no bioassay functions")
                .arg(chosen.data.nuclideNameText(), intakePathName(chosen.path), chosen.materialName));

    const IntakeAssessment assessment
        = assessIntake(functions, dose, measurementsAfter(file.intake, file.measurements));
    for (std::size_t i = 0; i < assessment.rows.size(); ++i)
        if (!assessment.rows[i].refusal.isEmpty())
            return commandProblem(
                QStringLiteral("%1: line %2: %3").arg(path).arg(file.lineNumbers[i]).arg(assessment.rows[i].refusal),
                BadInputStatus);
    const QString head = bioassayClipboardHead(chosen.data.nuclideNameText(), intakePathName(chosen.path),
                                               chosen.materialName, chosen.size, QStringLiteral("Intake Assessment"));
    const QByteArray text = intakeAssessmentText(assessment, head, AssessmentUnits{}).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

} // namespace kav
