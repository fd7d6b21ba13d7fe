#include "nuclides/nuclideindex.h"

#include "base/numberformat.h"
#include "base/savefile.h"
#include "nuclides/nuclidenames.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <stdexcept>

// The index as a tab-separated table: one row per nuclide with its half-life, daughters, spectrum
// positions, ancestors, spectrum summary when it has been built, and main decay chain.

namespace kav {

namespace {

// The index file's own 23-character scientific notation: " 2.09999998332933E-0004".
QString fixedScientific(double value)
{
    if (!std::isfinite(value))
        return QString::fromLatin1(std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF").rightJustified(23);
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    std::string text(buf, r.ptr); // d.ddddddddddddddde±XX
    const auto e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    char out[32];
    std::snprintf(out, sizeof out, "%c%sE%c%04d", std::signbit(value) ? '-' : ' ', text.substr(0, e).c_str(),
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    return QString::fromLatin1(out);
}

QString timeUnitLetter(TimeUnit unit)
{
    static const char letters[] = "ydhmstu";
    return QString(QLatin1Char(letters[std::min(static_cast<int>(unit), static_cast<int>(TimeUnit::Microsecond))]));
}

} // namespace

QByteArray NuclideIndex::toText(const std::vector<SpectrumSummary>& summaries) const
{
    QString out = QStringLiteral("RNuclide\tElement\tElementOrder\tAMassInt\tAMass\t"
                                 "T1/2, d\tHalfLife\tHalfLifeUnits\tLr, d-1\tRType\t");
    for (int k = 1; k <= 4; ++k)
        out += QStringLiteral("DaughterIndex[%1]\tDaughterName[%1]\tYield[%1]\t").arg(k);
    out += QStringLiteral("SLinePos\tNLines\tBetaLinePos\tBetaLines\t");
    for (int k = 1; k <= 4; ++k)
        out += QStringLiteral("AncestorIndex[%1]\tAncestorName[%1]\t").arg(k);
    out += QStringLiteral("DaughtersCount\tAncestorsCount");
    const bool withSummary = summaries.size() == m_items.size() && !m_items.empty();
    if (withSummary) {
        out += QStringLiteral("\tTotal\tAlphaTotal\tBetaTotal\tGammaTotal\tFFNTotal\t"
                              "AlphaFrac\tBetaFrac\tGammaFrac\tFFNFrac\tDoseConst");
        // The file's columns are named the same whatever language the choosers speak.
        for (int code = 1; code <= RadiationTypeCount; ++code)
            out += u'\t' + radiationCode(code, UiLanguage::English);
    }
    out += QStringLiteral("\tChainLength\tMaxCutted\r\n");

    const QString tab(u'\t');
    const QString dash(u'-');
    for (const auto& node : m_items) {
        QStringList row;
        row << node->name.toString() << elementSymbol(node->element)
            << QString::number(static_cast<int>(node->element) + 1) << QString::number(node->massNumber)
            << node->mass.toString() << formatPicture(std::log(2.0) / node->decayConstant, u"0.#####e-0")
            << formatPicture(node->halfLife, u"0.###e-0") << timeUnitLetter(node->halfLifeUnit)
            << formatPicture(node->decayConstant, u"0.#####e-0") << decayModeCodes(*node);
        for (int slot = 0; slot < 4; ++slot) {
            const DaughterSlot& d = node->daughters[static_cast<std::size_t>(slot)];
            if (slot < node->daughterCount && d.position >= 0)
                row << QString::number(d.position + 2) << d.name.toString() << formatPicture(d.yield, u"0.#####e-0");
            else
                row << dash << dash << dash;
        }
        row << QString::number(node->firstLine) << QString::number(node->lineCount)
            << QString::number(node->firstBetaLine) << QString::number(node->betaLineCount);
        for (std::int32_t pos : node->ancestors) {
            if (const Nuclide* a = nodeAt(pos))
                row << QString::number(pos + 2) << a->name.toString();
            else
                row << dash << dash;
        }
        row << QString::number(node->daughterCount) << QString::number(node->ancestorCount);
        if (withSummary) {
            const SpectrumSummary& d = summaries[static_cast<std::size_t>(node->position)];
            for (float value : {d.total, d.radTotalOf(AlphaRadiation), d.betaTotal, d.gammaTotal, d.ffnTotal,
                                d.alphaFraction, d.betaFraction, d.gammaFraction, d.ffnFraction, d.doseConstant})
                row << formatPicture(value, u"0.###e-0");
            for (float value : d.radiationTotal)
                row << formatPicture(value, u"0.###e-0");
        }
        DecayChain chain;
        float maxCutted = 0;
        node->getChainArray(chain, maxCutted);
        row << QString::number(chain.size());
        if (!chain.empty()) {
            row << QStringLiteral("MaxCutted") << fixedScientific(maxCutted);
            for (const ChainStep& c : chain)
                row << c.name.toString();
            for (const ChainStep& c : chain)
                row << fixedScientific(c.decayConstant);
            for (const ChainStep& c : chain)
                row << fixedScientific(c.yield);
        }
        out += row.join(tab) + QStringLiteral("\r\n");
    }
    return out.toLocal8Bit();
}

bool NuclideIndex::saveToText(const QString& fileName, const std::vector<SpectrumSummary>& summaries,
                              QString* error) const
{
    return saveFileAtomically(fileName, toText(summaries), error);
}

} // namespace kav
