// kav: the viewer's dose data for scripts. "kav show" prints a nuclide's dose coefficients,
// "kav bioassay" the bioassay view's table, "kav assess" the intake a worker's measurements
// point to, "kav dose" the dose of a mixture's intakes, "kav decay" what a source becomes, "kav check" loads every data
// file of a folder and reports those that fail.
#include "assesscommand.h"
#include "bioassaycommand.h"
#include "commandproblem.h"
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/doseexport.h"
#include "data/programsettings.h"
#include "decaycommand.h"
#include "dosecommand.h"
#include "linescommand.h"
#include "nuclides/nuclideindex.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

const char kHelp[] = "usage: kav show NUCLIDE [--data DIR]\n"
                     "       kav bioassay NUCLIDE --route R --material N [--size S] [--show z|content|m] [--dose D]\n"
                     "                    [--data DIR]\n"
                     "       kav assess NUCLIDE --route R --material N [--size S] FILE.csv [--data DIR]\n"
                     "       kav dose FILE.csv [--data DIR]\n"
                     "       kav decay NUCLIDE=ACTIVITY ... --time T | --at T1,T2,... [--unit U]\n"
                     "       kav export [--out DIR] [--data DIR]\n"
                     "       kav check [--data DIR]\n"
                     "       kav lines --gamma LOW:HIGH [--min-yield Y] [--half-life MIN:MAX]\n"
                     "  Every command also takes --verbose.\n"
                     "\n"
                     "  show      prints the dose coefficients of one nuclide (such as Co-60) as semicolon-separated\n"
                     "            lines: two header lines, then a male and a female line for every route, material\n"
                     "            and particle size; e(50) and hT(50) in Sv/Bq.\n"
                     "  bioassay  prints the bioassay view's table as tab-separated lines, with its head lines, as\n"
                     "            the viewer copies it: R is ingestion, inhalation or injection; N the number of the\n"
                     "            material in the route's list, from 1 (a wrong one lists them); S the particle size\n"
                     "            in um of an inhaled aerosol (5 unless given); z the dose per content (the default),\n"
                     "            content the content for the dose D in mSv (1 unless given), m the content per\n"
                     "            intake. Units and \"Exclude fractions of the day\" are the viewer's.\n"
                     "  assess    prints the intake and committed effective dose that a worker's measurements point\n"
                     "            to, as the Intake Assessment page copies them, in Bq and Sv: R, N and S as for\n"
                     "            bioassay; FILE.csv holds lines compartment,time,value[,sf] (whole-body, urine,\n"
                     "            faeces, alimentary-tract, lungs, thyroid, skeleton or liver; the time in days\n"
                     "            after intake, or a date 2026-03-05 with a line intake,DATE or intake,FIRST,LAST;\n"
                     "            a value <L lies below the detection limit L; Bq, or Bq per day for urine and\n"
                     "            faeces; '#' starts a comment). Exits with 2 and the line for a row that cannot\n"
                     "            be used.\n"
                     "  dose      prints the committed effective dose of a mixture's intakes, as the Radionuclides\n"
                     "            page copies its table, in Bq and Sv, ending with the line Total, intake, dose:\n"
                     "            FILE.csv holds lines nuclide,route,material,size,intake (route ingestion,\n"
                     "            inhalation or injection; material its number in the route's list, from 1; size\n"
                     "            in um or -, 5 for an aerosol given -; intake in Bq; '#' starts a comment). Exits\n"
                     "            with 2 and the line for a row that cannot be used.\n"
                     "  decay     prints the activity of every member of the source's decay chains at the time T\n"
                     "            after the reference (30y, 3.5d, 12h, 90m, 20s; a year of 365.25 days), or at\n"
                     "            each of several times, one column each: a line NUCLIDE, activity per member with\n"
                     "            activity above 0, then Total, in six significant digits and the unit U of the\n"
                     "            activities given (Bq unless said). Exits with 2 for an input it cannot use.\n"
                     "  export    writes every dose coefficient of the data folder into one semicolon-separated\n"
                     "            file per element (Co.csv, ...) in DIR, by default the folder Export beside this\n"
                     "            program, as the viewer's \"Export Doses\" does; prints the files written.\n"
                     "  check     loads every data file (*.qvd) of the folder and prints one line for each file\n"
                     "            that fails, with the reason; exits with 0 when all load and 1 when any fails.\n"
                     "  lines     prints the photon lines (gamma and X-rays, annihilation photons) of every nuclide\n"
                     "            between LOW and HIGH MeV, with at least Y photons per decay (all when not given)\n"
                     "            and a half-life between MIN and MAX (such as 1d:100y; units y, d, h, m, s, ms,\n"
                     "            us; either end may be left out), as tab-separated lines, the most intense first.\n"
                     "\n"
                     "  --data DIR  the data folder; by default the viewer's (its preferences beside it).\n"
                     "  --verbose   says on standard error which data folder is read.\n";

int show(const kav::NuclideIndex& index, const kav::ProgramSettings& preference, const QString& nuclide)
{
    const kav::Nuclide* node = index.findNuclide(nuclide);
    if (!node)
        return kav::commandProblem(nuclide + QStringLiteral(" is not a nuclide of the index"), 2);
    kav::DoseData data;
    if (const std::optional<kav::DoseDataFailure> failure = preference.dataFolder().load(*node, data))
        return kav::commandProblem(failure->message);
    const QByteArray text = kav::doseExportHeaderText() + kav::doseExportText(data);
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

int runExport(const kav::NuclideIndex& index, const kav::ProgramSettings& preference, const QString& folder)
{
    kav::NuclideList nuclides;
    preference.dataFolder().listNuclides(index, nuclides);
    if (nuclides.count() == 0)
        return kav::commandProblem(preference.dataFolderPath() + QStringLiteral(": no data files"));
    const QString out = folder.isEmpty() ? preference.exportDir() : folder;
    const kav::DoseExportResult result
        = kav::exportDoses(preference.dataFolder(), nuclides, kav::dataElementsOf(nuclides), out);
    for (const QString& file : result.files)
        std::printf("%s\n", qUtf8Printable(file));
    std::fflush(stdout);
    return result.error.isEmpty() ? 0 : kav::commandProblem(kav::doseExportSummary(result, out));
}

int check(const kav::NuclideIndex& index, const kav::ProgramSettings& preference)
{
    const QDir dir(preference.dataFolderPath());
    int failed = 0;
    const QStringList files = dir.entryList({QStringLiteral("*.qvd")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString name = file.left(file.size() - 4);
        const kav::Nuclide* node = index.findNuclide(name);
        QString problem;
        if (!node || node->name.toString().compare(name, Qt::CaseInsensitive) != 0) {
            problem = QStringLiteral("not named after a nuclide of the index");
        } else if (const QString read = preference.dataFolder().fileOf(node->name.toString());
                   read != dir.filePath(file)) {
            problem = QStringLiteral("not read: the file of %1 is %2").arg(node->name.toString(), read);
        } else {
            kav::DoseData data;
            if (const std::optional<kav::DoseDataFailure> failure = preference.dataFolder().load(*node, data))
                problem = failure->message;
        }
        if (!problem.isEmpty()) {
            ++failed;
            std::printf("%s: %s\n", qUtf8Printable(dir.filePath(file)), qUtf8Printable(problem));
        }
    }
    std::fflush(stdout);
    if (files.isEmpty())
        return kav::commandProblem(dir.path() + QStringLiteral(": no data files"));
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kHelp, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    // The viewer's preferences, as if this were the viewer beside it.
    kav::ProgramSettings preference(QCoreApplication::applicationDirPath() + QStringLiteral("/kav-data-viewer"));
    const qsizetype dataArg = args.indexOf(QStringLiteral("--data"));
    if (dataArg >= 0) {
        if (dataArg + 1 >= args.size())
            return kav::commandProblem(QStringLiteral("--data needs a folder"), 2);
        const QString folder = args[dataArg + 1];
        if (QFileInfo(folder).isFile())
            return kav::commandProblem(folder + QStringLiteral(" is a file, not a folder"), 2);
        if (!QFileInfo(folder).isDir())
            return kav::commandProblem(folder + QStringLiteral(": no such folder"), 2);
        preference.setDataFolderPath(folder);
        args.remove(dataArg, 2);
    }
    if (args.removeAll(QStringLiteral("--verbose")) > 0)
        std::fprintf(stderr, "kav: data folder %s\n",
                     qUtf8Printable(QDir::toNativeSeparators(preference.dataFolderPath())));
    kav::NuclideIndex index;
    if (index.loadIndexFrom(QString(), true).failed() || index.count() == 0)
        return kav::commandProblem(QStringLiteral("the radionuclide index could not be loaded"), 2);

    if (args.size() == 2 && args[0] == QStringLiteral("show"))
        return show(index, preference, args[1]);
    if (args.size() == 1 && args[0] == QStringLiteral("check"))
        return check(index, preference);
    if (args.value(0) == QStringLiteral("export")
        && (args.size() == 1 || (args.size() == 3 && args[1] == QStringLiteral("--out"))))
        return runExport(index, preference, args.value(2));
    if (args.size() >= 2 && args[0] == QStringLiteral("lines")) {
        const int status = kav::linesCommand(index, args.mid(1));
        if (status != 2)
            return status;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("assess")) {
        const int status = kav::assessCommand(index, preference, args.mid(1));
        if (status != kav::UsageStatus)
            return status;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("decay")) {
        const int status = kav::decayCommand(index, args.mid(1));
        if (status != kav::UsageStatus)
            return status;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("dose")) {
        const int status = kav::doseCommand(index, preference, args.mid(1));
        if (status != kav::UsageStatus)
            return status;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("bioassay")) {
        const int status = kav::bioassayCommand(index, preference, args.mid(1));
        if (status != 2)
            return status;
    }
    std::fputs(kHelp, stderr);
    return 2;
}
