#include "chooser/spectrumlines.h"

#include <algorithm>

namespace kav {

bool lineMeets(const SpectrumLine& line, const LineQuery& query)
{
    const auto holds
        = [](const std::optional<LineBounds>& bounds, double value) { return !bounds || bounds->hold(value); };
    const FoundLine candidate{nullptr, line.radiation, line.energy, line.yield};
    return query.types.contains(line.radiation) && holds(query.energy, line.energy) && holds(query.yield, line.yield)
        && holds(query.perDecay, candidate.perDecay());
}

FoundLines findLines(const SpectraFiles& spectra, const std::vector<const Nuclide*>& nuclides, const LineQuery& query)
{
    FoundLines found;
    for (const Nuclide* node : nuclides) {
        SpectrumLines lines;
        if (!node || node->lineCount == 0 || !spectra.readLines(node, lines))
            continue;
        for (const SpectrumLine& line : lines) {
            if (!lineMeets(line, query))
                continue;
            const FoundLine candidate{node, line.radiation, line.energy, line.yield};
            if (found.lines.size() == query.cap) {
                found.cut = true;
                return found;
            }
            found.lines.push_back(candidate);
        }
    }
    return found;
}

void sortLines(std::vector<FoundLine>& lines, LineOrder order)
{
    const auto by = [&lines](auto before) { std::stable_sort(lines.begin(), lines.end(), before); };
    switch (order) {
    case LineOrder::AsFound: break;
    case LineOrder::ShortestHalfLifeFirst:
        by([](const FoundLine& a, const FoundLine& b) { return a.node->decayConstant > b.node->decayConstant; });
        break;
    case LineOrder::Energy: by([](const FoundLine& a, const FoundLine& b) { return a.energy < b.energy; }); break;
    case LineOrder::Yield: by([](const FoundLine& a, const FoundLine& b) { return a.yield < b.yield; }); break;
    case LineOrder::MostPerDecayFirst:
        by([](const FoundLine& a, const FoundLine& b) { return a.perDecay() > b.perDecay(); });
        break;
    }
}

} // namespace kav
