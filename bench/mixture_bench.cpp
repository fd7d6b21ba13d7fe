// The Radionuclides table with 100 nuclides of the full-size set (the first 100 of the index
// with a half-life of at least 10 minutes, about 1 MB each). Measured: adding them all through
// the dialog's OK, against reading the same files alone; and refilling the table after a change
// of the dose unit, against formatting as many numbers alone.
#include "app/mixtureview.h"
#include "base/messageboxes.h"
#include "chooser/ui/addrnuclidesform.h"
#include "chooser/ui/rnxpanel.h"
#include "controls/stringgrid.h"
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/mixturelist.h"
#include "nuclides/rnxindex.h"
#include "qvdgen/samplegenerator.h"
#include "units/units.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kNuclides = 100;

struct Mixture {
    QTemporaryDir dir;
    kav::TStderrMessageBoxes messages;
    kav::ApplicationContext context{dir.filePath(QStringLiteral("viewer")), messages};
    std::vector<const kav::TRNXnode*> nuclides;
    std::unique_ptr<kav::TQzRNXPanel> source;
    std::unique_ptr<kav::TVESKRNList> list;
    std::unique_ptr<kav::TMixtureView> view;

    Mixture()
    {
        kav::TRNXindex& index = context.RNXIndex();
        if (index.LoadFromFile(QStringLiteral(KAV_INDEX_FILE)).Failed())
            std::abort();
        const float tenMinutesLr = static_cast<float>(std::log(2.0) / (10.0 / 1440.0));
        for (int i = 0; i < index.Count() && static_cast<int>(nuclides.size()) < kNuclides; ++i)
            if (index.Items(i)->Lr <= tenMinutesLr)
                nuclides.push_back(index.Items(i));
        const kav::SampleFolderResult written =
            kav::WriteSampleFolder(dir.path(), index, nuclides, kav::SampleSize::FullSize);
        if (!written.error.isEmpty() || written.written < kNuclides) {
            std::fprintf(stderr, "writing the data files: %s (%d written)\n", qUtf8Printable(written.error), written.written);
            std::abort();
        }
        context.ProgramPreference().SetQVDDir(dir.path());
        context.FillDataLists();

        source = std::make_unique<kav::TQzRNXPanel>(index, messages);
        source->Filter().SetUseRNXFilter(true);
        source->Filter().SetRNXList(context.DataNuclideList());
        list = std::make_unique<kav::TVESKRNList>(&context.ProgramPreference());
        view = std::make_unique<kav::TMixtureView>(context);
        view->SetMixtureList(list.get());
        view->SetAddSource(source.get());
        view->FillMixtureGrid();
        view->ResetMixtureRow(0); // the first nuclide on offer
        view->resize(1000, 600);
        view->show();
        // The dialog's "<<" then OK, as a user adds everything on offer.
        view->ExecModal = [](QDialog& dialog) {
            auto& add = static_cast<kav::TAddRNuclidesForm&>(dialog);
            add.bAddAll->click();
            add.bbOK->click();
            return add.result();
        };
    }
};

// Made on first use and released with the application, before the widgets' toolkit goes.
Mixture& mixture()
{
    static Mixture* m = [] {
        auto* made = new Mixture;
        qAddPostRoutine([] {
            delete m;
        });
        return made;
    }();
    return *m;
}

void BM_ReadTheHundredFilesBaseline(benchmark::State& state)
{
    Mixture& m = mixture();
    for (auto _ : state)
        for (const kav::TRNXnode* node : m.nuclides) {
            kav::TVESKRNDosesData data(&m.context.ProgramPreference());
            data.AssignRNuclide(*node);
            benchmark::DoNotOptimize(data.IsLoaded());
        }
}
BENCHMARK(BM_ReadTheHundredFilesBaseline)->Unit(benchmark::kMillisecond);

void BM_AddTheHundredThroughTheDialog(benchmark::State& state)
{
    Mixture& m = mixture();
    for (auto _ : state) {
        m.view->tbAddRNClick();
        state.PauseTiming();
        if (m.list->Count() != kNuclides + 1)
            std::abort();
        m.view->tbClearListClick();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddTheHundredThroughTheDialog)->Unit(benchmark::kMillisecond);

void BM_FormatAsManyNumbersBaseline(benchmark::State& state)
{
    for (auto _ : state)
        for (int i = 0; i <= kNuclides; ++i)
            benchmark::DoNotOptimize(kav::FormatScientific(1.234e-9 * i, 2));
}
BENCHMARK(BM_FormatAsManyNumbersBaseline)->Unit(benchmark::kMicrosecond);

void BM_RefillOnADoseUnitChange(benchmark::State& state)
{
    Mixture& m = mixture();
    if (m.list->Count() == 1)
        m.view->tbAddRNClick();
    kav::TQzProgramPreference& preference = m.context.ProgramPreference();
    bool milli = false;
    for (auto _ : state) {
        milli = !milli;
        preference.SetMixtureDoseUnit(milli ? kav::du_mSv : kav::du_Sv);
        m.view->UpdateMixtureDoseCaption();
        m.view->UpdateMixtureDoses();
    }
    state.counters["rows"] = m.view->sgMixture->RowCount() - 1;
}
BENCHMARK(BM_RefillOnADoseUnitChange)->Unit(benchmark::kMicrosecond);

} // namespace
