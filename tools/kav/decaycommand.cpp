#include "decaycommand.h"

#include "intakechoice.h"

#include "nuclides/decaycalculation.h"
#include "nuclides/nuclideindex.h"
#include "units/units.h"

#include <QLocale>

#include <cmath>
#include <cstdio>

namespace kav {

int decayCommand(const NuclideIndex& index, QStringList args)
{
    std::map<QString, QString> options;
    if (!takeOptions(args, {"--time", "--at", "--unit"}, options) || args.isEmpty()
        || options.count(QStringLiteral("--time")) + options.count(QStringLiteral("--at")) != 1)
        return UsageStatus;
    if (const auto unit = options.find(QStringLiteral("--unit")); unit != options.end()) {
        ActivityUnit given = ActivityUnit::Bq;
        if (!activityUnitFromLabel(unit->second, given))
            return commandProblem(
                QStringLiteral("--unit %1: not a unit of activity such as Bq, kBq, MBq, GBq").arg(unit->second),
                BadInputStatus);
    }
    if (args.size() > MaxDecaySources)
        return commandProblem(QStringLiteral("more than %1 nuclides").arg(MaxDecaySources), BadInputStatus);

    std::vector<DecaySource> sources;
    for (const QString& arg : args) {
        const qsizetype equals = arg.indexOf(u'=');
        if (equals <= 0)
            return UsageStatus;
        const QString name = arg.left(equals);
        const Nuclide* nuclide = index.findNuclide(name);
        if (!nuclide)
            return commandProblem(name + QStringLiteral(": not a radioactive nuclide of the index"), BadInputStatus);
        if (decayConstantPerDay(*nuclide) <= 0)
            return commandProblem(name + QStringLiteral(": the index holds no half-life for it"), BadInputStatus);
        bool ok = false;
        const double activity = QLocale::c().toDouble(arg.mid(equals + 1), &ok);
        if (!ok || !(activity > 0) || !std::isfinite(activity))
            return commandProblem(
                QStringLiteral("%1: the activity \"%2\" is not a positive number").arg(name, arg.mid(equals + 1)),
                BadInputStatus);
        sources.push_back({nuclide, activity});
    }

    const bool several = options.count(QStringLiteral("--at")) > 0;
    const QStringList timeTexts
        = several ? options.at(QStringLiteral("--at")).split(u',') : QStringList{options.at(QStringLiteral("--time"))};
    std::vector<double> times;
    for (const QString& text : timeTexts) {
        double days = 0;
        QString reason;
        if (!readDuration(text, days, reason))
            return commandProblem(reason, BadInputStatus);
        times.push_back(days);
    }

    const DecayCalculation decay(sources);
    const std::vector<std::vector<double>> columns = decay.activitiesAt(times);
    QString text;
    const auto number = [](double x) { return QString::number(x, 'g', 6); };
    std::vector<double> totals(times.size(), 0);
    for (std::size_t m = 0; m < decay.members().size(); ++m) {
        bool any = false;
        QString line = decay.members()[m]->nameText();
        for (std::size_t t = 0; t < times.size(); ++t) {
            const double activity = columns[t][m];
            any = any || activity > 0;
            totals[t] += activity;
            line += u'\t' + number(activity);
        }
        if (any)
            text += line + u'\n';
    }
    text += QStringLiteral("Total");
    for (const double total : totals)
        text += u'\t' + number(total);
    text += u'\n';
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return 0;
}

} // namespace kav
