#include "nuclides/rnxindex.h"

#include "base/catalogue.h"
#include "base/messageboxes.h"

#include <QFile>

// The spectra files beside the index: each nuclide's records found by the positions and counts
// of its node, and the summary of every nuclide's discrete lines.

namespace kav {

namespace {

struct SpectrumFile {
    const char* fileName;
    const char* resourceName;
    int recordSize;
    bool TRNXindex::*firstRead;
};

enum SpectrumFileId { kLinesFile, kBetaFile, kAugerFile, kNeutronFile };

const SpectrumFile kSpectrumFiles[] = {
    {"Spectra.rnx", "Spectra", RNXSpectrumRecordSize, &TRNXindex::FirstReadSpectrum},
    {"Beta.rnx", "Beta", RNXBetaRecordSize, &TRNXindex::FirstReadBetaSpectrum},
    {"AugerCK.rnx", "AugerCK", RNXAugerRecordSize, &TRNXindex::FirstReadAugerSpectrum},
    {"Neutrons.rnx", "Neutrons", RNXNeutronRecordSize, &TRNXindex::FirstReadNeutronSpectrum},
};

enum class SourceState { Open, Missing, Unreadable };

// The resource the program carries or the file in the index's folder. A resource the program
// lacks counts as a missing file.
SourceState openSource(const TRNXindex& index, const SpectrumFile& spectra, QFile& file)
{
    file.setFileName(index.LoadFromResource() ? QStringLiteral(":/") + QLatin1String(spectra.resourceName)
                                              : index.RNXFolder() + QLatin1String(spectra.fileName));
    if (!file.exists())
        return SourceState::Missing;
    return file.open(QIODevice::ReadOnly) ? SourceState::Open : SourceState::Unreadable;
}

// The records of a file that a node may have none of: true at once then.
template <class Spectrum, class Read, class Decode>
bool readCountedRecords(const TRNXnode* rnx, int count, Spectrum& spectrum, Read read, Decode decode)
{
    spectrum.clear();
    if (!rnx)
        return false;
    if (count == 0)
        return true;
    QByteArray bytes;
    if (!read(bytes))
        return false;
    spectrum = decode(bytes.constData(), count);
    return true;
}

} // namespace

void TRNXindex::SaySpectrumProblem(int file, bool missing) const
{
    if (!FMessageBoxes)
        return;
    const TQzCatalogue& texts = Catalogue(FLanguage);
    FMessageBoxes->Show(
        MessageKind::Error, QString::fromUtf16(texts.IndexErrorCaption),
        QString::fromUtf16(texts.SpectrumMessages[static_cast<std::size_t>(2 * file + (missing ? 0 : 1))]), mbOK, mbOK);
}

bool TRNXindex::ReadSpectrumRecords(int file, std::int64_t pos, int count, QByteArray& bytes) const
{
    const SpectrumFile& spectra = kSpectrumFiles[file];
    // The flags are mutable members; a pointer to member does not carry that.
    bool& firstRead = const_cast<TRNXindex*>(this)->*spectra.firstRead;
    QFile source;
    switch (openSource(*this, spectra, source)) {
    case SourceState::Missing:
        if (!WarnFirstTimeOnly || firstRead)
            SaySpectrumProblem(file, true);
        firstRead = false;
        return false;
    case SourceState::Unreadable: SaySpectrumProblem(file, false); return false;
    case SourceState::Open: break;
    }
    firstRead = false;
    const qint64 offset = pos * spectra.recordSize;
    const qint64 length = qint64(count) * spectra.recordSize;
    // Records beyond the end are a file too short for this index, not a fault of the disk.
    if (pos < 0 || offset + length > source.size())
        return false;
    if (!source.seek(offset)) {
        SaySpectrumProblem(file, false);
        return false;
    }
    bytes = source.read(length);
    if (bytes.size() == length)
        return true;
    if (source.error() != QFileDevice::NoError)
        SaySpectrumProblem(file, false);
    bytes.clear();
    return false;
}

bool TRNXindex::ReadSpectrum(const TRNXnode* rnx, TRNXSpectrum& spectrum) const
{
    spectrum.clear();
    if (!rnx)
        return false;
    QByteArray bytes;
    if (!ReadSpectrumRecords(kLinesFile, rnx->SLinePos, rnx->NLines, bytes))
        return false;
    spectrum = DecodeSpectrumRecords(bytes.constData(), rnx->NLines);
    return true;
}

bool TRNXindex::ReadSpectrum(TRNXElement element, const TRNXAMass& aMass, TRNXSpectrum& spectrum) const
{
    return ReadSpectrum(FindRNX(element, aMass), spectrum);
}

bool TRNXindex::ReadSpectrum(int index, TRNXSpectrum& spectrum) const
{
    return ReadSpectrum(NodeAt(index), spectrum);
}

bool TRNXindex::ReadBetaSpectrum(const TRNXnode* rnx, TRNXBetaSpectrum& spectrum) const
{
    return readCountedRecords(
        rnx, rnx ? rnx->BetaLines : 0, spectrum,
        [&](QByteArray& bytes) { return ReadSpectrumRecords(kBetaFile, rnx->BetaLinePos, rnx->BetaLines, bytes); },
        DecodeFloatRecords);
}

bool TRNXindex::ReadBetaSpectrum(TRNXElement element, const TRNXAMass& aMass, TRNXBetaSpectrum& spectrum) const
{
    return ReadBetaSpectrum(FindRNX(element, aMass), spectrum);
}

bool TRNXindex::ReadAugerSpectrum(const TRNXnode* rnx, TRNXAugerSpectrum& spectrum) const
{
    return readCountedRecords(
        rnx, rnx ? rnx->AugerLines : 0, spectrum,
        [&](QByteArray& bytes) { return ReadSpectrumRecords(kAugerFile, rnx->AugerLinePos, rnx->AugerLines, bytes); },
        DecodeAugerRecords);
}

bool TRNXindex::ReadAugerSpectrum(TRNXElement element, const TRNXAMass& aMass, TRNXAugerSpectrum& spectrum) const
{
    return ReadAugerSpectrum(FindRNX(element, aMass), spectrum);
}

bool TRNXindex::ReadNeutronSpectrum(const TRNXnode* rnx, TRNXNeutronSpectrum& spectrum) const
{
    return readCountedRecords(
        rnx, rnx ? rnx->NeutronLines : 0, spectrum,
        [&](QByteArray& bytes) {
            return ReadSpectrumRecords(kNeutronFile, rnx->NeutronLinePos, rnx->NeutronLines, bytes);
        },
        DecodeFloatRecords);
}

bool TRNXindex::ReadNeutronSpectrum(TRNXElement element, const TRNXAMass& aMass, TRNXNeutronSpectrum& spectrum) const
{
    return ReadNeutronSpectrum(FindRNX(element, aMass), spectrum);
}

void TRNXindex::BuildRNXSpectrumData() const
{
    const SpectrumFile& spectra = kSpectrumFiles[kLinesFile];
    if (Count() == 0 || (!FLoadFromResource && !QFile::exists(FRNXFolder + QLatin1String(spectra.fileName))))
        return;
    FRNXSpectrumData.assign(static_cast<std::size_t>(Count()), TQzRNXSpectrumData{});
    FRNXSpectrumMax = {};
    // All the lines the index points at, in one read.
    qint64 end = 0;
    for (const auto& node : FItems)
        if (node->SLinePos >= 0)
            end = std::max(end, (qint64(node->SLinePos) + node->NLines) * RNXSpectrumRecordSize);
    QFile source;
    switch (openSource(*this, spectra, source)) {
    case SourceState::Missing: // a program without its spectra: every summary stays empty
        if (!WarnFirstTimeOnly || FirstReadSpectrum)
            SaySpectrumProblem(kLinesFile, true);
        FirstReadSpectrum = false;
        return;
    case SourceState::Unreadable:
        SaySpectrumProblem(kLinesFile, false);
        FRNXSpectrumData.clear();
        return;
    case SourceState::Open: break;
    }
    FirstReadSpectrum = false;
    // A damaged index may point far beyond the file: only what is there is read.
    const QByteArray bytes = source.read(std::min(end, source.size()));
    if (source.error() != QFileDevice::NoError) {
        SaySpectrumProblem(kLinesFile, false);
        FRNXSpectrumData.clear();
        return;
    }
    for (const auto& node : FItems) {
        const qint64 first = qint64(node->SLinePos) * RNXSpectrumRecordSize;
        // A node whose lines the file does not hold whole keeps an empty summary.
        if (node->NLines == 0 || node->SLinePos < 0
            || first + qint64(node->NLines) * RNXSpectrumRecordSize > bytes.size())
            continue;
        const TQzRNXSpectrumData r = SummarizeSpectrum(DecodeSpectrumRecords(bytes.constData() + first, node->NLines));
        TakeSpectrumMaxima(FRNXSpectrumMax, r);
        FRNXSpectrumData[static_cast<std::size_t>(node->Index)] = r;
    }
}

} // namespace kav
