#pragma once

#include "base/language.h"
#include "base/notice.h"
#include "nuclides/spectrum.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kav {

class NuclideIndex;
class Nuclide;

// The four spectra files beside an index.
enum class SpectraFile : std::uint8_t { Lines, Beta, Auger, Neutrons };

// What came of reading a nuclide's records from a spectra file.
struct SpectrumRead {
    enum Status : std::uint8_t {
        Read, // the spectrum holds the nuclide's records (none, when it has none in that file)
        NotInIndex, // no nuclide was given
        FileMissing,
        FileUnreadable, // the file is there but could not be opened or read
        FileTooShort, // the file ends before the nuclide's records: it belongs to another index
    };
    Status status = Read;
    SpectraFile file = SpectraFile::Lines;
    explicit operator bool() const { return status == Read; }
};

// The box that tells the user of a missing or unreadable file, in a language.
struct SpectrumReadMessage {
    QString caption;
    QString text;
};
SpectrumReadMessage spectrumReadMessageOf(const SpectrumRead& failure, UiLanguage language);

// The spectrum summary of every nuclide of an index, in index order, with the maxima over all
// of them. Empty when the lines cannot be read.
struct SpectraSummary {
    std::vector<SpectrumSummary> nuclides;
    SpectrumSummary maxima;
    // The lines of each group (at its LineGroup), nuclide by nuclide; a nuclide whose lines the
    // file does not hold whole has none.
    std::array<GroupLines, LineGroupCount> groupLines;
};

// The spectra of an index's nuclides: the resources the program carries when the index came from
// there, otherwise "Spectra.rnx" and its companions in the index's folder. Each nuclide's records
// are found by the positions and counts of its node. The readers return what went wrong; a missing
// or unreadable file is also announced to whoever listens, so that a program can say it once.
class SpectraFiles {
public:
    explicit SpectraFiles(const NuclideIndex& index)
        : m_index(index)
    {
    }
    SpectraFiles(const SpectraFiles&) = delete;
    SpectraFiles& operator=(const SpectraFiles&) = delete;

    const NuclideIndex& index() const { return m_index; }

    // A nuclide's discrete lines, those of an unknown type or with a negative or non-finite number
    // left out. The spectrum is empty unless the read succeeds.
    [[nodiscard]] SpectrumRead readLines(const Nuclide* nuclide, SpectrumLines& lines) const;
    // The other three files; a nuclide without records there needs no file.
    [[nodiscard]] SpectrumRead readBeta(const Nuclide* nuclide, BetaSpectrum& spectrum) const;
    [[nodiscard]] SpectrumRead readAuger(const Nuclide* nuclide, AugerSpectrum& spectrum) const;
    [[nodiscard]] SpectrumRead readNeutrons(const Nuclide* nuclide, NeutronSpectrum& spectrum) const;

    // The summary of the index as it now is: made from one read of the lines file when first
    // asked for, and again when the index has been filled anew or the last attempt failed.
    const SpectraSummary& summary();

    // A file missing or unreadable (not one too short, which is the index's mismatch, not the
    // disk's fault).
    Notice<const SpectrumRead&> readFailed;

private:
    [[nodiscard]] SpectrumRead readRecords(SpectraFile file, std::int64_t pos, int count, QByteArray& bytes) const;
    SpectrumRead failed(SpectraFile file, SpectrumRead::Status status) const;
    void buildSummary();

    const NuclideIndex& m_index;
    SpectraSummary m_summary;
    std::uint64_t m_summaryGeneration = 0; // the index's generation the summary was made from
};

} // namespace kav
