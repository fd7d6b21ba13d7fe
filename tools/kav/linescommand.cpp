#include "linescommand.h"

#include "commandproblem.h"

#include "chooser/advancedfilter.h"
#include "chooser/spectrumlines.h"
#include "nuclides/nuclidenames.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kav {

namespace {

// A number that is not negative, or nothing.
std::optional<double> quantity(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

// "1d", "30.1y", "5m"; the units of the half-lives: y, d, h, m, s, ms, us.
std::optional<std::pair<float, TimeUnit>> halfLife(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9.eE+-]+)(y|d|h|m|s|ms|us)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<double> value = quantity(m.captured(1));
    if (!value || *value <= 0)
        return std::nullopt;
    static const QStringList units{"y", "d", "h", "m", "s", "ms", "us"};
    return std::pair{static_cast<float>(*value), static_cast<TimeUnit>(units.indexOf(m.captured(2)))};
}

} // namespace

int linesCommand(const NuclideIndex& index, QStringList args)
{
    QString window, minYield, halfLives;
    for (auto [option, value] :
         {std::pair{"--gamma", &window}, std::pair{"--min-yield", &minYield}, std::pair{"--half-life", &halfLives}}) {
        const qsizetype at = args.indexOf(QLatin1String(option));
        if (at < 0)
            continue;
        if (at + 1 >= args.size())
            return 2;
        *value = args[at + 1];
        args.remove(at, 2);
    }
    if (!args.isEmpty() || window.isEmpty())
        return 2;

    SpectraFiles spectra(index);
    bool spectraFailed = false;
    const auto sayingSpectraProblems = spectra.readFailed.connect([&spectraFailed](const SpectrumRead& failure) {
        spectraFailed = true;
        const SpectrumReadMessage message = spectrumReadMessageOf(failure, UiLanguage::English);
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(message.caption), qUtf8Printable(message.text));
    });
    AdvancedFilter filter(&index, spectra);
    const QStringList ends = window.split(u':');
    const std::optional<double> low = quantity(ends.value(0));
    const std::optional<double> high = quantity(ends.value(1));
    if (ends.size() != 2 || !low || !high || *high < *low)
        return commandProblem(
            QStringLiteral("--gamma \"%1\": give the energy window in MeV as LOW:HIGH, such as 0.655:0.665")
                .arg(window));
    SpectrumFilter& spectrum = filter.spectrum();
    spectrum.setOptions({SpectrumCriterion::GammaLineEnergy});
    spectrum.setMax(SpectrumCriterion::GammaLineEnergy, static_cast<float>(*high));
    spectrum.setMin(SpectrumCriterion::GammaLineEnergy, static_cast<float>(*low));
    spectrum.setEnabled(true);

    double leastPerDecay = 0;
    if (!minYield.isEmpty()) {
        const std::optional<double> y = quantity(minYield);
        if (!y)
            return commandProblem(
                QStringLiteral("--min-yield \"%1\": give the least number of photons per decay, such as 0.01")
                    .arg(minYield));
        leastPerDecay = *y;
    }

    if (!halfLives.isEmpty()) {
        const QStringList range = halfLives.split(u':');
        const auto shortest = halfLife(range.value(0));
        const auto longest = halfLife(range.value(1));
        if (range.size() != 2 || (!range[0].isEmpty() && !shortest) || (!range[1].isEmpty() && !longest)
            || (!shortest && !longest))
            return commandProblem(
                QStringLiteral("--half-life \"%1\": give MIN:MAX with units y, d, h, m, s, ms or us, such as 1d:100y "
                               "(either end may be left out)")
                    .arg(halfLives));
        HalfLifeFilter& f = filter.halfLifeTime();
        if (shortest) {
            f.setMinUnits(shortest->second);
            f.setMinValue(shortest->first);
            f.setMinEnabled(true);
        }
        if (longest) {
            f.setMaxUnits(longest->second);
            f.setMaxValue(longest->first);
            f.setMaxEnabled(true);
        }
    }
    filter.setEnabled(true);
    if (spectraFailed || spectra.summary().nuclides.empty())
        return commandProblem(QStringLiteral("the spectra of the radionuclide index could not be read"));

    LineQuery query;
    query.types = PhotonGroup;
    query.energy = LineBounds{spectrum.min(SpectrumCriterion::GammaLineEnergy),
                              spectrum.max(SpectrumCriterion::GammaLineEnergy)};
    query.perDecay = LineBounds{leastPerDecay};
    std::vector<const Nuclide*> nuclides;
    for (const NuclideList::Entry& e : filter.nuclides().items())
        nuclides.push_back(e.node);
    FoundLines found = findLines(spectra, nuclides, query);
    sortLines(found.lines, LineOrder::MostPerDecayFirst);

    std::printf("Nuclide\tRadiation\tEnergy, MeV\tPer decay\tHalf-life\n");
    for (const FoundLine& line : found.lines)
        std::printf("%s\t%s\t%.6g\t%.4g\t%s\n", qUtf8Printable(line.node->name.toString()),
                    qUtf8Printable(radiationName(line.type)), line.energy, line.perDecay(),
                    qUtf8Printable(halfLifeText(*line.node, UiLanguage::English)));
    return 0;
}

} // namespace kav
