// The advanced filter dialog on the full carried index: one live change, from the control that
// changed to the refreshed lists of nuclides, elements and (in the wide mode) spectrum lines.
// Baseline of the same run: the same change written straight into the filter, with no dialog
// and no panel to refresh.
#include "base/messageboxes.h"
#include "chooser/ui/advancedfilterdialog.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/numberedit.h"

#include <QCheckBox>
#include <QListWidget>

#include <benchmark/benchmark.h>

namespace {

using namespace kav;

// Message boxes that are never shown: nothing here should raise one.
class NoMessageBoxes final : public MessageBoxes {
public:
    MessageButton show(MessageKind, const QString&, const QString&, MessageButtons, MessageButton) override
    {
        std::abort();
    }
};

// The carried index with its spectrum summary, loaded before anything is made on it.
struct LoadedIndex {
    LoadedIndex()
    {
        if (index.loadIndexFrom(QString(), true).status != IndexLoadResult::Loaded)
            std::abort();
        if (spectra.summary().nuclides.empty())
            std::abort();
    }
    NuclideIndex index;
    SpectraFiles spectra{index};
};

struct Fixture : LoadedIndex {
    Fixture()
    {
        panel.selection().setElementAndAMass(ChemicalElement::Co, "60");
        panel.resize(260, 40);
        panel.show();
        form.show();
    }
    NoMessageBoxes boxes;
    NuclideChooser panel{index, spectra, boxes};
    AdvancedFilterDialog form{panel.selection(), &panel};
};

// The whole filter switched on and off with its box, a decay-mode criterion being active.
void BM_SwitchFilterByItsBox(benchmark::State& state)
{
    Fixture f;
    f.form.decayEnabled()->click();
    f.form.decayModes()->item(0)->setCheckState(Qt::Checked);
    for (auto _ : state)
        f.form.enabledBox()->click();
    state.counters["offered"] = f.form.resultNuclides()->count();
}
BENCHMARK(BM_SwitchFilterByItsBox)->Unit(benchmark::kMillisecond);

// A bound typed into a field: its text changes as a keystroke changes it.
void typeAlternately(benchmark::State& state, Fixture& f, QLineEdit* field, const QString& a, const QString& b)
{
    field->setText(a);
    bool flip = false;
    for (auto _ : state)
        field->setText((flip = !flip) ? b : a);
    state.counters["offered"] = f.form.resultNuclides()->count();
}

void BM_TypeMassBound(benchmark::State& state)
{
    Fixture f;
    typeAlternately(state, f, f.form.massValue(false), QStringLiteral("220"), QStringLiteral("221"));
}
BENCHMARK(BM_TypeMassBound)->Unit(benchmark::kMillisecond);

void BM_TypeHalfLifeBound(benchmark::State& state)
{
    Fixture f;
    typeAlternately(state, f, f.form.halfLifeValue(false), QStringLiteral("1"), QStringLiteral("2"));
}
BENCHMARK(BM_TypeHalfLifeBound)->Unit(benchmark::kMillisecond);

// The costliest change: a line criterion re-reads every nuclide's lines, and the wide mode lists
// the lines that meet it.
void BM_TypeGammaEnergyBoundWide(benchmark::State& state)
{
    Fixture f;
    f.form.setIsMoreWidth(true);
    f.form.criterionBound(SpectrumCriterion::GammaLineEnergy, true)->setText(QStringLiteral("0.7"));
    typeAlternately(state, f, f.form.criterionBound(SpectrumCriterion::GammaLineEnergy, false), QStringLiteral("0.6"),
                    QStringLiteral("0.65"));
}
BENCHMARK(BM_TypeGammaEnergyBoundWide)->Unit(benchmark::kMillisecond);

void BM_GammaEnergyBoundFilterOnlyBaseline(benchmark::State& state)
{
    LoadedIndex loaded;
    AdvancedFilter filter(&loaded.index, loaded.spectra);
    filter.spectrum().setOptions({SpectrumCriterion::GammaLineEnergy});
    filter.spectrum().setMax(SpectrumCriterion::GammaLineEnergy, 0.7f);
    filter.spectrum().setEnabled(true);
    filter.setEnabled(true);
    bool flip = false;
    for (auto _ : state) {
        filter.spectrum().setMin(SpectrumCriterion::GammaLineEnergy, (flip = !flip) ? 0.65f : 0.6f);
        benchmark::DoNotOptimize(filter.nuclides().count());
    }
}
BENCHMARK(BM_GammaEnergyBoundFilterOnlyBaseline)->Unit(benchmark::kMillisecond);

} // namespace
