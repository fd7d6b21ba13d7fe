#include "data/applicationcontext.h"
#include "data/inifile.h"
#include "data/programsettings.h"
#include "recordingmessageboxes.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A folder standing for the executable's, with "viewer" as the executable.
class ProgramSettingsTest : public testing::Test {
protected:
    QString exe() const { return m_dir.filePath("viewer"); }
    QString iniPath() const { return m_dir.filePath("viewer.ini"); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void writeIni(const QByteArray& text) const
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void makeFolder(const QString& name) const { ASSERT_TRUE(QDir(m_dir.path()).mkpath(name)); }

    QTemporaryDir m_dir;
};

TEST_F(ProgramSettingsTest, MissingFileGivesDefaultsAndTheExecutablesFolder)
{
    const ProgramSettings p(exe());
    EXPECT_EQ(p.locations().exeName, QStringLiteral("viewer"));
    EXPECT_EQ(p.locations().programDir, m_dir.path());
    EXPECT_EQ(p.iniFileName(), iniPath());
    EXPECT_EQ(p.dataFolderPath(), m_dir.path());
    EXPECT_FALSE(p.autoSave());
    EXPECT_FALSE(p.notFirstRun());
    EXPECT_FALSE(p.checkIniExists());
    EXPECT_EQ(p.materialsDoseUnit(), DoseUnit::Sv);
    EXPECT_EQ(p.mixtureActivityUnit(), ActivityUnit::Bq);
    EXPECT_EQ(p.bioassayTimeUnit(), TimeUnit::Day);
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(ProgramSettingsTest, DefaultDataFolderBesideTheExecutable)
{
    makeFolder("QVData");
    const ProgramSettings p(exe());
    EXPECT_EQ(p.dataFolderPath(), path("QVData"));
}

TEST_F(ProgramSettingsTest, ValuesAreReducedToTheirLowByteAndValidated)
{
    struct Case {
        const char* line;
        std::function<int(const ProgramSettings&)> field;
        int expected;
    };
    const Case cases[] = {
        {"DPUIDosesUnit=5", [](auto& p) { return int(p.materialsDoseUnit()); }, int(DoseUnit::mSv)},
        {"DPUIDosesUnit=6", [](auto& p) { return int(p.materialsDoseUnit()); }, int(DoseUnit::Sv)},
        {"DPUIDoseUnit=5", [](auto& p) { return int(p.materialsDoseUnit()); }, int(DoseUnit::Sv)},
        {"MixtureActivityUnit=264", [](auto& p) { return int(p.mixtureActivityUnit()); }, int(ActivityUnit::Bq)},
        {"MixtureActivityUnit=265", [](auto& p) { return int(p.mixtureActivityUnit()); }, int(ActivityUnit::kBq)},
        {"MixtureActivityUnit=-251", [](auto& p) { return int(p.mixtureActivityUnit()); }, int(ActivityUnit::mBq)},
        {"MixtureActivityUnit=11", [](auto& p) { return int(p.mixtureActivityUnit()); }, int(ActivityUnit::Bq)},
        {"MixtureDoseUnit=4", [](auto& p) { return int(p.mixtureDoseUnit()); }, int(DoseUnit::uSv)},
        {"DPUMContentActivityUnit=5", [](auto& p) { return int(p.bioassayContentUnit()); }, int(ActivityUnit::mBq)},
        {"DPUMIntakeActivityUnit=10", [](auto& p) { return int(p.bioassayIntakeUnit()); }, int(ActivityUnit::MBq)},
        {"DPUMDoseUnit=abc", [](auto& p) { return int(p.bioassayDoseUnit()); }, int(DoseUnit::Sv)},
        {"DPUMTimeUnit=3", [](auto& p) { return int(p.bioassayTimeUnit()); }, int(TimeUnit::Day)},
        {"DPUMTimeUnit=2", [](auto& p) { return int(p.bioassayTimeUnit()); }, int(TimeUnit::Hour)},
        {"DPUMTimeUnit=256", [](auto& p) { return int(p.bioassayTimeUnit()); }, int(TimeUnit::Year)},
        {"DPUIActivityUnit=9", [](auto& p) { return int(p.materialsActivityUnit()); }, int(ActivityUnit::kBq)},
        {"DPUMIntDaysOnly=7", [](auto& p) { return int(p.bioassayWholeDays()); }, 1},
        {"DPUMIntDaysOnly=x", [](auto& p) { return int(p.bioassayWholeDays()); }, 0},
    };
    for (const Case& c : cases) {
        writeIni(QByteArray("[Units]\n") + c.line + "\n");
        const ProgramSettings p(exe());
        EXPECT_EQ(c.field(p), c.expected) << c.line;
    }
}

TEST_F(ProgramSettingsTest, GeneralKeysTakeAnyNonZeroIntegerAsTrue)
{
    writeIni("[General]\nAutoSave=-2\nInitialized=0\n");
    const ProgramSettings p(exe());
    EXPECT_TRUE(p.autoSave());
    EXPECT_FALSE(p.notFirstRun());
}

TEST_F(ProgramSettingsTest, WriteStoresEveryKeyInOrder)
{
    makeFolder("data");
    ProgramSettings p(exe());
    p.setDataFolderPath(path("data"));
    p.setMaterialsDoseUnit(DoseUnit::mSv);
    p.setBioassayTimeUnit(TimeUnit::Hour);
    p.setBioassayWholeDays(true);
    ASSERT_TRUE(p.write());
    // The data folder lies in the program's folder: kept relative to it.
    const QByteArray expected = QByteArray("[General]\nAutoSave=0\nInitialized=0\nLanguage=en\n[Directories]\nQVD=data")
        + "\n[Units]\nMixtureActivityUnit=8\nMixtureDoseUnit=8\nDPUMContentActivityUnit=8\n"
          "DPUMIntakeActivityUnit=8\nDPUMDoseUnit=8\nDPUMTimeUnit=2\nDPUMIntDaysOnly=1\n"
          "DPUIActivityUnit=8\nDPUIDosesUnit=5\n";
    EXPECT_EQ(readIni(), expected);

    const ProgramSettings again(exe());
    EXPECT_EQ(again.dataFolderPath(), path("data"));
    EXPECT_EQ(again.materialsDoseUnit(), DoseUnit::mSv);
    EXPECT_EQ(again.bioassayTimeUnit(), TimeUnit::Hour);
    EXPECT_TRUE(again.bioassayWholeDays());
    EXPECT_TRUE(again.checkIniExists());
}

// A copy of the program folder (a USB stick, a second installation) reads its own data folder,
// not the original's; a folder outside the program's is kept whole.
TEST_F(ProgramSettingsTest, ADataFolderInsideTheProgramsTravelsWithACopy)
{
    makeFolder("original/QVData");
    makeFolder("outside");
    {
        ProgramSettings p(path("original/viewer"));
        p.setDataFolderPath(path("original/QVData"));
        ASSERT_TRUE(p.write());
    }
    QFile original(path("original/viewer.ini"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray ini = original.readAll();
    EXPECT_TRUE(ini.contains("\nQVD=QVData\n")) << ini.toStdString();
    // The copy: its own folder, its own data.
    makeFolder("copy/QVData");
    {
        QFile copied(path("copy/viewer.ini"));
        ASSERT_TRUE(copied.open(QIODevice::WriteOnly));
        copied.write(ini);
    }
    EXPECT_EQ(ProgramSettings(path("copy/viewer")).dataFolderPath(), path("copy/QVData"));
    // Elsewhere: kept as it is.
    ProgramSettings p(path("copy/viewer"));
    p.setDataFolderPath(path("outside"));
    ASSERT_TRUE(p.write());
    QFile copy(path("copy/viewer.ini"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copy.readAll().contains("\nQVD=" + path("outside").toUtf8() + "\n"));
}

TEST_F(ProgramSettingsTest, WriteKeepsWhatElseTheFileHolds)
{
    writeIni("; kept\n[General]\nAutoSave=1\nTheme=dark\n[Mine]\nx=1\n");
    ProgramSettings p(exe());
    ASSERT_TRUE(p.write());
    const QByteArray text = readIni();
    EXPECT_TRUE(
        text.startsWith("; kept\n[General]\nAutoSave=1\nTheme=dark\nInitialized=0\nLanguage=en\n[Mine]\nx=1\n"));
}

TEST_F(ProgramSettingsTest, AFileThatCannotBeReadWholeIsNeverReplaced)
{
    // Large but readable: every setting is taken, and the rest comes back byte for byte.
    QByteArray notes = "[Notes]\nName=M\xfcller\n";
    while (notes.size() < (1 << 20) + 200000)
        notes += "Line=" + QByteArray(60, 'x') + "\n";
    writeIni("[General]\nAutoSave=1\nInitialized=1\n" + notes);
    {
        ProgramSettings p(exe());
        EXPECT_TRUE(p.autoSave());
        EXPECT_TRUE(p.write());
    }
    EXPECT_TRUE(readIni().startsWith("[General]\nAutoSave=1\nInitialized=1\nLanguage=en\n" + notes));

    // Too large to be a settings file: defaults, and the file stays as it is.
    const QByteArray huge = "[General]\nAutoSave=1\n" + QByteArray(IniFile::MaxFileSize, ';');
    writeIni(huge);
    ProgramSettings p(exe());
    EXPECT_FALSE(p.autoSave());
    p.setMaterialsDoseUnit(DoseUnit::mSv);
    p.setNotFirstRun(true);
    EXPECT_FALSE(p.write());
    EXPECT_EQ(readIni(), huge);
}

// The language: on a first run the system's when it is one of the three, English otherwise;
// afterwards the file's, whatever the system; a code the program does not know counts as none.
TEST_F(ProgramSettingsTest, TheLanguageIsTheSystemsOnAFirstRunAndTheFilesAfterwards)
{
    struct Case {
        QLocale::Language system;
        const char* file; // nullptr: no file yet
        UiLanguage expected;
    } cases[] = {
        {QLocale::Russian, nullptr, UiLanguage::Russian},
        {QLocale::Ukrainian, nullptr, UiLanguage::Ukrainian},
        {QLocale::German, nullptr, UiLanguage::English},
        {QLocale::English, nullptr, UiLanguage::English},
        {QLocale::Russian, "Language=en\n", UiLanguage::English},
        {QLocale::English, "Language=uk\n", UiLanguage::Ukrainian},
        {QLocale::English, "Language=RU\n", UiLanguage::Russian},
        {QLocale::Ukrainian, "Language=de\n", UiLanguage::Ukrainian},
        {QLocale::Russian, "AutoSave=0\n", UiLanguage::Russian}, // a file from before the choice existed
    };
    const QLocale saved;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no file");
        SCOPED_TRACE(QLocale::languageToString(c.system).toStdString());
        QFile::remove(path("viewer.ini"));
        if (c.file)
            writeIni(QByteArray("[General]\n") + c.file);
        QLocale::setDefault(QLocale(c.system));
        EXPECT_EQ(ProgramSettings(exe()).language(), c.expected);
    }
    QLocale::setDefault(saved);

    ProgramSettings p(exe());
    int changes = 0;
    const auto listening = p.settingsChanged.connect([&] { ++changes; });
    p.setLanguage(UiLanguage::Ukrainian);
    p.setLanguage(static_cast<UiLanguage>(3));
    EXPECT_EQ(p.language(), UiLanguage::Ukrainian);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(p.write());
    EXPECT_TRUE(readIni().contains("\nLanguage=uk\n")) << readIni().toStdString();
}

TEST_F(ProgramSettingsTest, NotFirstRunOnlyTurnsTrueAndWritesNothingItself)
{
    ProgramSettings p(exe());
    int changes = 0;
    const auto listening = p.settingsChanged.connect([&] { ++changes; });
    p.setNotFirstRun(false);
    EXPECT_FALSE(p.notFirstRun());
    p.setNotFirstRun(true);
    p.setNotFirstRun(true);
    EXPECT_TRUE(p.notFirstRun());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(QFile::exists(iniPath()));
    ASSERT_TRUE(p.write());
    EXPECT_TRUE(readIni().contains("Initialized=1"));
}

TEST_F(ProgramSettingsTest, RestoreDefaultValuesKeepsFolderAndAutoSave)
{
    makeFolder("data");
    ProgramSettings p(exe());
    p.setDataFolderPath(path("data"));
    p.setAutoSave(true);
    p.setMixtureDoseUnit(DoseUnit::uSv);
    p.setBioassayContentUnit(ActivityUnit::MBq);
    p.setBioassayTimeUnit(TimeUnit::Year);
    p.setBioassayWholeDays(true);
    p.restoreDefaultValues();
    EXPECT_EQ(p.dataFolderPath(), path("data"));
    EXPECT_TRUE(p.autoSave());
    EXPECT_EQ(p.mixtureDoseUnit(), DoseUnit::Sv);
    EXPECT_EQ(p.bioassayContentUnit(), ActivityUnit::Bq);
    EXPECT_EQ(p.bioassayTimeUnit(), TimeUnit::Day);
    EXPECT_FALSE(p.bioassayWholeDays());
}

TEST_F(ProgramSettingsTest, AssignCopiesSettingsButNotIdentity)
{
    makeFolder("data");
    ProgramSettings source(exe());
    source.setDataFolderPath(path("data"));
    source.setAutoSave(true);
    source.setMixtureActivityUnit(ActivityUnit::kBq);
    source.setBioassayIntakeUnit(ActivityUnit::mBq);
    source.setBioassayDoseUnit(DoseUnit::mSv);
    source.setMaterialsActivityUnit(ActivityUnit::MBq);
    int heardBySource = 0;
    const auto listening = source.settingsChanged.connect([&] { ++heardBySource; });

    QTemporaryDir other;
    ProgramSettings dest(other.filePath("tool"));
    dest.assign(source);
    EXPECT_EQ(dest.dataFolderPath(), path("data"));
    EXPECT_TRUE(dest.autoSave());
    EXPECT_EQ(dest.mixtureActivityUnit(), ActivityUnit::kBq);
    EXPECT_EQ(dest.bioassayIntakeUnit(), ActivityUnit::mBq);
    EXPECT_EQ(dest.bioassayDoseUnit(), DoseUnit::mSv);
    EXPECT_EQ(dest.materialsActivityUnit(), ActivityUnit::MBq);
    EXPECT_EQ(dest.locations().exeName, QStringLiteral("tool"));
    EXPECT_EQ(dest.locations().programDir, other.path());
    EXPECT_EQ(heardBySource, 0) << "the source's listeners stay with it";
}

TEST_F(ProgramSettingsTest, DataFolderFallsBackToTheDefaultThenTheExecutablesFolder)
{
    ProgramSettings p(exe());
    p.setDataFolderPath(path("absent"));
    EXPECT_EQ(p.dataFolderPath(), m_dir.path());

    makeFolder("QVData");
    p.setDataFolderPath(path("absent"));
    EXPECT_EQ(p.dataFolderPath(), path("QVData"));

    // A relative folder that exists from the current folder is kept as written.
    makeFolder("rel/sub");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path("rel"));
    p.setDataFolderPath("sub");
    QDir::setCurrent(previous);
    EXPECT_EQ(p.dataFolderPath(), QStringLiteral("sub"));
}

TEST_F(ProgramSettingsTest, CheckDataFilesCountsAnyMatchingEntry)
{
    makeFolder("empty");
    makeFolder("notes");
    makeFolder("folder/x.qvd");
    QFile notes(path("notes/notes.qvd"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    ProgramSettings p(exe());
    const std::pair<const char*, bool> cases[] = {{"empty", false}, {"notes", true}, {"folder", true}};
    for (const auto& [folder, expected] : cases) {
        p.setDataFolderPath(path(folder));
        EXPECT_EQ(p.dataFolder().holdsDataFiles(), expected) << folder;
    }
}

// A prefix laid out as an installation (bin/ beside share/kav-data-viewer/QVData) and the user's
// own folders, which the environment points at for the test.
class InstalledCopyTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath("bin"));
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath("share/kav-data-viewer/QVData"));
        m_saved = {qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("XDG_CACHE_HOME")};
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        qputenv("XDG_CACHE_HOME", m_home.filePath("cache").toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", std::get<0>(m_saved));
        qputenv("XDG_DATA_HOME", std::get<1>(m_saved));
        qputenv("XDG_CACHE_HOME", std::get<2>(m_saved));
    }
    QString exe() const { return m_prefix.filePath("bin/kav-data-viewer"); }
    QString shared() const { return m_prefix.filePath("share/kav-data-viewer"); }
    QString config() const { return m_home.filePath("config/kav-data-viewer"); }
    QString helpCache() const { return m_home.filePath("cache/kav-data-viewer/help"); }

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    std::tuple<QByteArray, QByteArray, QByteArray> m_saved;
};

TEST_F(InstalledCopyTest, KeepsItsSettingsInTheUsersConfigurationFolder)
{
    ProgramSettings p(exe());
    const ProgramLocations& l = p.locations();
    EXPECT_TRUE(l.installed);
    EXPECT_EQ(l.sharedDir, shared());
    EXPECT_EQ(l.settingsDir, config());
    EXPECT_EQ(l.userDataDir, m_home.filePath("data/kav-data-viewer"));
    EXPECT_EQ(p.iniFileName(), config() + "/kav-data-viewer.ini");
    EXPECT_EQ(p.mixtureFileName(), config() + "/kav-data-viewer.mixture");
    EXPECT_EQ(p.helpCollectionFile(), shared() + "/kav-data-viewer.qhc");
    EXPECT_EQ(l.helpCacheDir, helpCache());
    EXPECT_EQ(p.exportDir(), m_home.filePath("data/kav-data-viewer/Export"));
    EXPECT_EQ(p.dataFolderPath(), shared() + "/QVData") << "the installed sample data until the user picks another";

    p.setMaterialsDoseUnit(DoseUnit::mSv);
    ASSERT_TRUE(p.canWrite());
    QString error;
    ASSERT_TRUE(p.write(&error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(m_prefix.filePath("bin/kav-data-viewer.ini")));
    const ProgramSettings next(exe());
    EXPECT_EQ(next.materialsDoseUnit(), DoseUnit::mSv);
}

TEST_F(InstalledCopyTest, WithoutAShareFolderItIsACopyRunFromItsOwnFolder)
{
    ASSERT_TRUE(QDir(shared()).removeRecursively());
    const ProgramLocations l = ProgramLocations::forExecutable(exe());
    EXPECT_FALSE(l.installed);
    EXPECT_EQ(l.settingsDir, m_prefix.filePath("bin"));
    EXPECT_EQ(l.sharedDir, m_prefix.filePath("bin"));
    EXPECT_EQ(l.helpCacheDir, "") << "the help keeps its index beside the program";
}

TEST_F(InstalledCopyTest, AProgramFolderThatCannotBeWrittenSendsTheSettingsHome)
{
    const QString folder = m_prefix.filePath("bin");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder + "/probe");
    const bool stillWritable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    if (stillWritable) { // the superuser writes anyway
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not apply to this user";
    }
    ASSERT_TRUE(QDir(shared()).removeRecursively());
    const ProgramLocations l = ProgramLocations::forExecutable(folder + "/viewer");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(l.installed);
    EXPECT_EQ(l.settingsDir, config());
    EXPECT_EQ(l.sharedDir, folder) << "what it carries is still beside it";
    EXPECT_EQ(l.helpCacheDir, helpCache()) << "the help's search index cannot be kept beside the program";
}

TEST_F(InstalledCopyTest, SettingsThatCannotBeWrittenSayWhy)
{
    // The configuration folder cannot be made: a file stands where its parent should be.
    QFile blocker(m_home.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgramSettings p(exe());
    QString canWrite, write;
    EXPECT_FALSE(p.canWrite(&canWrite));
    EXPECT_FALSE(p.write(&write));
    EXPECT_TRUE(canWrite.startsWith(config())) << canWrite.toStdString();
    EXPECT_EQ(write, canWrite);
}

TEST_F(ProgramSettingsTest, ADataFolderForThisRunIsNotKept)
{
    makeFolder("stored");
    makeFolder("this-run");
    makeFolder("picked");
    ProgramSettings p(exe());
    p.setDataFolderPath(path("stored"));
    p.setDataFolderPathForThisRun(path("this-run"));
    EXPECT_EQ(p.dataFolderPath(), path("this-run"));
    ASSERT_TRUE(p.write());
    EXPECT_EQ(ProgramSettings(exe()).dataFolderPath(), path("stored"));
    // Through the options dialog's copy and back, it is still this run's folder.
    ProgramSettings copy(p.locations());
    copy.assign(p);
    EXPECT_EQ(copy.dataFolderPath(), path("this-run"));
    ASSERT_TRUE(copy.write());
    EXPECT_EQ(ProgramSettings(exe()).dataFolderPath(), path("stored"));
    // A folder the user picks during the run is kept.
    p.setDataFolderPath(path("picked"));
    ASSERT_TRUE(p.write());
    EXPECT_EQ(ProgramSettings(exe()).dataFolderPath(), path("picked"));
}

TEST_F(ProgramSettingsTest, ChangesAreHeardOnceEach)
{
    ProgramSettings p(exe());
    int heard = 0;
    int heardByOther = 0;
    const auto listening = p.settingsChanged.connect([&] { ++heard; });
    auto otherListening = p.settingsChanged.connect([&] { ++heardByOther; });
    p.setMaterialsDoseUnit(DoseUnit::mSv);
    p.setMaterialsDoseUnit(DoseUnit::mSv);
    p.setMaterialsDoseUnit(DoseUnit::nSv); // not accepted
    EXPECT_EQ(heard, 1);
    p.setAutoSave(true);
    p.setBioassayWholeDays(true);
    EXPECT_EQ(heard, 3);
    ProgramSettings other(exe());
    other.assign(p);
    p.assign(other);
    EXPECT_EQ(heard, 3) << "nothing changed";
    other.setMixtureDoseUnit(DoseUnit::uSv);
    other.setBioassayTimeUnit(TimeUnit::Year);
    p.assign(other);
    EXPECT_EQ(heard, 4) << "once for all that one Assign changes";
    EXPECT_EQ(heardByOther, 4);
    otherListening.reset();
    p.setAutoSave(false);
    EXPECT_EQ(heard, 5);
    EXPECT_EQ(heardByOther, 4);
}

TEST_F(InstalledCopyTest, TheUserHearsOnceThatSettingsCannotBeKept)
{
    QFile blocker(m_home.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RecordingMessageBoxes boxes;
    ApplicationContext context(exe(), boxes);
    EXPECT_TRUE(boxes.boxes.empty()) << "nothing is said before anything changes";
    context.settings().setAutoSave(true);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, MessageKind::Warning);
    EXPECT_TRUE(boxes.boxes[0].text.contains(config())) << boxes.boxes[0].text.toStdString();
    context.settings().setMaterialsDoseUnit(DoseUnit::mSv);
    context.savePreferencesAtExit();
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(InstalledCopyTest, ASettingsFileThatCannotBeWrittenAtExitIsSaid)
{
    RecordingMessageBoxes boxes;
    ApplicationContext context(exe(), boxes);
    context.settings().setAutoSave(true);
    EXPECT_TRUE(boxes.boxes.empty());
    // Taken away during the run: the folder is replaced by a file.
    ASSERT_TRUE(QDir(m_home.filePath("config")).removeRecursively());
    QFile blocker(m_home.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    context.savePreferencesAtExit();
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(InstalledCopyTest, AMissingSpectraFileIsSaidOnceAnUnreadableOneEachTimeInTheUsersLanguage)
{
    // The shipped index in a folder of its own, without its lines file and with a folder where
    // the beta file should be.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(KAV_INDEX_FILE), folder.filePath("Index.rnx")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("Beta.rnx"));
    RecordingMessageBoxes boxes;
    ApplicationContext context(exe(), boxes);
    context.settings().setLanguage(UiLanguage::Ukrainian);
    boxes.boxes.clear(); // whatever the settings change said
    ASSERT_EQ(context.index().loadFromFile(folder.filePath("Index.rnx")).status, IndexLoadResult::Loaded);
    const Nuclide* cobalt = context.index().findNuclide(u"Co-60");
    ASSERT_TRUE(cobalt);
    SpectrumLines lines;
    BetaSpectrum beta;
    for (int call = 0; call < 2; ++call) {
        EXPECT_FALSE(context.spectra().readLines(cobalt, lines));
        EXPECT_TRUE(context.spectra().summary().nuclides.empty());
        EXPECT_FALSE(context.spectra().readBeta(cobalt, beta));
    }
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Помилка"));
    EXPECT_EQ(boxes.boxes[0].kind, MessageKind::Error);
    EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral("Файл з даними енергетичних спектрiв")))
        << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(boxes.boxes[1].text, boxes.boxes[2].text) << "the unreadable beta file, each time";
    EXPECT_NE(boxes.boxes[1].text, boxes.boxes[0].text);
}

} // namespace
} // namespace kav
