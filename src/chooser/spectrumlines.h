#pragma once

#include "nuclides/nuclideindex.h"
#include "nuclides/spectrafiles.h"
#include "nuclides/spectrum.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace kav {

// Inclusive bounds of a line's quantity.
struct LineBounds {
    double min = 0;
    double max = std::numeric_limits<double>::infinity();
    bool hold(double value) const { return value >= min && value <= max; } // never for NaN
};

// What spectrum lines to look for among some nuclides: those of the radiation types asked for
// whose energy (MeV), energy per decay (MeV) and number per decay each lie within its bounds
// when bounds are given, all on one and the same line. At most `cap` lines are taken.
struct LineQuery {
    RadiationTypes types;
    std::optional<LineBounds> energy;
    std::optional<LineBounds> yield;
    std::optional<LineBounds> perDecay;
    std::size_t cap = std::numeric_limits<std::size_t>::max();
};

// A line that met a query, with its nuclide.
struct FoundLine {
    const Nuclide* node = nullptr;
    RadiationType type = 0;
    float energy = 0;
    float yield = 0; // energy per decay, MeV
    // How many such lines a decay gives; not a number for a line without energy.
    double perDecay() const { return energy > 0 ? double(yield) / energy : std::numeric_limits<double>::quiet_NaN(); }
};

struct FoundLines {
    std::vector<FoundLine> lines; // in the order of the nuclides, each nuclide's in its file's order
    bool cut = false; // the cap stopped the search
};

// Whether one line meets the query (its cap aside).
bool lineMeets(const SpectrumLine& line, const LineQuery& query);

// The lines of the nuclides (in their order) that meet the query; a nuclide whose spectrum
// cannot be read has none.
[[nodiscard]] FoundLines findLines(const SpectraFiles& spectra, const std::vector<const Nuclide*>& nuclides,
                                   const LineQuery& query);

// The orders a list of lines is shown in; each keeps the order of equal lines.
enum class LineOrder { AsFound, ShortestHalfLifeFirst, Energy, Yield, MostPerDecayFirst };
void sortLines(std::vector<FoundLine>& lines, LineOrder order);

} // namespace kav
