#include "app/mainwindow.h"

#include "app/decayview.h"
#include "app/intakeassessmentview.h"
#include "app/materialsview.h"
#include "app/mixtureview.h"
#include "app/radonview.h"

#include "app/aboutbox.h"
#include "app/application.h"
#include "app/bioassayview.h"
#include "app/helpwindow.h"
#include "base/messageboxes.h"
#include "base/readfile.h"
#include "base/savefile.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/keyboard.h"
#include "controls/numberedit.h"
#include "controls/translatedcombobox.h"
#include "data/applicationcontext.h"
#include "data/bioassaydata.h"
#include "data/decaysourcefile.h"
#include "data/doseexport.h"
#include "data/measurementfile.h"
#include "data/mixture.h"
#include "data/mixturefile.h"
#include "nuclides/decaycalculation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <utility>

namespace kav {

namespace {

constexpr QSize kClientSize{1008, 729};
constexpr QSize kSmallestClientSize{600, 400};
// What a window manager's frame is taken to add round the window before it is shown.
constexpr QMargins kFrameAllowance{8, 31, 8, 8};

// Runs an action when the scope ends, however it ends.
template <typename F> struct AtScopeEnd {
    F action;
    ~AtScopeEnd() { action(); }
};
template <typename F> AtScopeEnd(F) -> AtScopeEnd<F>;

} // namespace

QRect windowPlacement(QSize wanted, QRect available, QMargins frame)
{
    const QRect room = available.marginsRemoved(frame);
    const QSize size = wanted.boundedTo(room.size()).expandedTo(kSmallestClientSize);
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(room.center());
    // A window larger than the room starts at its top left: the title bar stays on the screen.
    placed.moveLeft(std::max(placed.left(), room.left()));
    placed.moveTop(std::max(placed.top(), room.top()));
    return placed;
}

MainWindow::MainWindow(ApplicationContext& context, OptionsEditor optionsDialog, QWidget* parent)
    : QMainWindow(parent)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , editOptions(std::move(optionsDialog))
    , m_context(context)
{
    if (!editOptions)
        editOptions = [this](ProgramSettings& preference, OptionsPage options) {
            const std::optional<QStringList> confirmed
                = executeOptionsDialog(preference, options, m_optionsPages, this);
            if (!confirmed)
                return false;
            // What the user saw and accepted is kept at once, and nothing else: units changed
            // in a view stay for this run only. A failure to keep it is said, the choice
            // applies all the same.
            m_context.writePreferences(ApplicationContext::FailureNotice::EveryTime, *confirmed);
            return true;
        };
    createControls();
    qApp->installEventFilter(this);
    m_startupFailed = !formCreate();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    formDestroy();
}

void MainWindow::createControls()
{

    // The client area on the original platform's frame of 16 × 39 pixels makes 1024 × 768.
    resize(kClientSize);
    // Smaller screens get a smaller window: the pages scroll what does not fit.
    setMinimumSize(kSmallestClientSize);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    setCentralWidget(m_pages);

    m_dosePerIntakeTab = new QWidget;
    m_dosePerIntakePages = new QTabWidget(m_dosePerIntakeTab);
    m_dosePerIntakePages->setObjectName(QStringLiteral("dosePerIntakePages"));
    m_mixtureTab = new QWidget;
    m_materialsTab = new QWidget;
    m_dosePerIntakePages->addTab(m_mixtureTab, QStringLiteral("Radio&nuclides"));
    m_dosePerIntakePages->addTab(m_materialsTab, QStringLiteral("&Materials"));
    auto* doseLayout = new QVBoxLayout(m_dosePerIntakeTab);
    doseLayout->setContentsMargins(2, 2, 2, 2);
    doseLayout->addWidget(m_dosePerIntakePages);

    m_bioassayTab = new QWidget;
    m_assessmentTab = new QWidget;
    m_radonTab = new QWidget;
    m_decayTab = new QWidget;
    // A single ampersand marks the letter that opens a tab with Alt; a doubled one shows as one.
    m_pages->addTab(m_dosePerIntakeTab, QStringLiteral("   &Dose per Intake   "));
    m_pages->addTab(m_bioassayTab, QStringLiteral("   Dose per Content && Reference &Bioassay Functions   "));
    m_pages->addTab(m_assessmentTab, QStringLiteral("   Inta&ke Assessment   "));
    m_pages->addTab(m_radonTab, QStringLiteral("   R&adon   "));
    m_pages->addTab(m_decayTab, QStringLiteral("   Deca&y   "));
    // The assessment starts on the intake the bioassay page shows, the first time it is opened.
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        if (m_pages->currentWidget() != m_assessmentTab || m_startupFailed || std::exchange(m_assessmentStarted, true))
            return;
        m_assessmentView->startFrom(m_bioassayView->intakeParameters());
    });

    createViews();

    createHelp();
}

void MainWindow::createHelp()
{
    m_help = std::make_unique<HelpWindow>(m_context.settings().helpCollectionFile(), m_context.boxes());
    // Closing the main window ends the program, the help's window open or not.
    m_help->setAttribute(Qt::WA_QuitOnClose, false);
    m_help->setWorkingFolder(m_context.settings().locations().helpCacheDir);
    const auto showHelp = [this](const QString& topic) { m_help->showTopic(topic); };
    m_mixtureView->showHelp = showHelp;
    m_materialsView->showHelp = showHelp;
    m_bioassayView->showHelp = showHelp;
    m_assessmentView->showHelp = showHelp;
    m_decayView->showHelp = showHelp;

    m_helpMenu = new QMenu(this);
    m_helpMenu->addAction(QStringLiteral("About"), this, [this] { showAbout(); });
    m_helpMenu->addAction(QStringLiteral("Key Terms"), this, [this] { m_help->showContext(1006); });
    m_helpMenu->addAction(QStringLiteral("NVA Task Group"), this, [this] { m_help->showContext(1009); });
    m_helpMenu->addAction(QStringLiteral("Copyright Notice"), this, [this] { m_help->showContext(1002); });
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(QStringLiteral("Options..."), this,
                          [this] { editOptions(m_context.settings(), OptionsPage::General); });
    m_exportAction = m_helpMenu->addAction(QStringLiteral("Export Doses"), this, [this] { runDoseExport(); });
    m_exportAction->setVisible(false);
    m_helpButton = new QToolButton(m_pages);
    m_helpButton->setObjectName(QStringLiteral("helpButton"));
    m_helpButton->setText(QStringLiteral("?"));
    m_helpButton->setToolTip(QStringLiteral("Help"));
    m_helpButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_helpButton->setMenu(m_helpMenu);
    m_helpButton->setAutoRaise(true);
    openMenuByKeys(*m_helpButton);
    connect(m_helpButton, &QToolButton::clicked, this, [this] { m_help->showTopic(HelpTopic::Contents); });
    m_pages->setCornerWidget(m_helpButton, Qt::TopRightCorner);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { m_help->showContext(helpContext()); });
}

int MainWindow::helpContext() const
{
    if (m_pages->currentWidget() == m_dosePerIntakeTab)
        return m_dosePerIntakePages->currentWidget() == m_mixtureTab ? 1003 : 1004;
    if (m_pages->currentWidget() == m_bioassayTab)
        return 1005;
    if (m_pages->currentWidget() == m_assessmentTab)
        return 1012;
    if (m_pages->currentWidget() == m_radonTab)
        return 1011;
    if (m_pages->currentWidget() == m_decayTab)
        return 1013;
    return 1007;
}

void MainWindow::setMaintenance(bool on)
{
    m_exportAction->setVisible(on);
}

void MainWindow::runDoseExport()
{
    const ProgramSettings& preference = m_context.settings();
    QProgressDialog progress(QStringLiteral("Exporting the dose coefficients..."), QStringLiteral("Cancel"), 0,
                             m_context.dataNuclideList().count(), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const QString folder = preference.exportDir();
    const DoseExportResult result = exportDoses(preference.dataFolder(), m_context.dataNuclideList(),
                                                m_context.dataElementList(), folder, [&progress](int done, int) {
                                                    progress.setValue(done);
                                                    return !progress.wasCanceled();
                                                });
    progress.reset();
    const MessageKind kind = result.error.isEmpty() ? MessageKind::Information : MessageKind::Error;
    const QString summary = doseExportSummary(result, folder);
    MessageBoxes& boxes = m_context.boxes();
    if (result.files.isEmpty()) {
        boxes.show(kind, ViewerApplication::Title, summary, ButtonOk, ButtonOk);
        return;
    }
    if (boxes.show(kind, ViewerApplication::Title, summary + QStringLiteral("\n\nOpen the folder?"),
                   ButtonYes | ButtonNo, ButtonNo)
            == ButtonYes
        && !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        boxes.show(MessageKind::Warning, ViewerApplication::Title,
                   folder + QStringLiteral(" cannot be opened: no program for showing folders answered."), ButtonOk,
                   ButtonOk);
}

void MainWindow::createViews()
{
    auto configure = [this](NuclideChooser* panel, int shiftAMass) {
        ChooserLayout layout;
        layout.widthElement = 48;
        layout.widthElementDropDown = 129;
        layout.widthMass = 58;
        layout.widthNuclide = 95;
        layout.shiftMass = shiftAMass;
        panel->setWidthsNShifts(layout);
        panel->selection().filter().readStoredElementSet({-23, -1, -1, 15}); // hydrogen to fermium but He, Li, B
        panel->selection().filter().setUseElementFilter(true);
        panel->setPopupMenuOptions(
            {ChooserMenuEntry::Choice, ChooserMenuEntry::Sort, ChooserMenuEntry::AdvancedFilter});
        panel->onStatusText = [this](const QString& text) { showStatus(text); };
    };
    // The half-life range the panels keep for their advanced filter, both ends off.
    auto configureHalfLife = [](NuclideChooser* panel) {
        HalfLifeFilter& halfLife = panel->selection().filter().advanced().halfLifeTime();
        halfLife.setMaxValue(9.3e15f);
        halfLife.setMinUnits(TimeUnit::Year);
        halfLife.setMinValue(0.305f);
    };
    m_mixtureView = new MixtureView(m_context, m_mixtureTab);
    placeOnPage(m_mixtureView, m_mixtureTab);
    m_materialsView = new MaterialsView(m_context, m_materialsTab);
    placeOnPage(m_materialsView, m_materialsTab);
    m_materialsChooser = m_materialsView->chooser();
    configure(m_materialsChooser, 8);
    m_bioassayView = new BioassayView(m_context, m_bioassayTab);
    placeOnPage(m_bioassayView, m_bioassayTab);
    m_bioassayView->onEditUnits = [this] { editOptions(m_context.settings(), OptionsPage::BioassayUnits); };
    m_intakeChooser = m_bioassayView->intakeChooser();
    configure(m_intakeChooser, 10);
    m_mixtureView->setAddSource(m_intakeChooser);
    m_mixtureView->execModal = [this](QDialog& dialog) { return execModal(dialog); };
    m_measuredChooser = m_bioassayView->measuredChooser();
    for (NuclideChooser* panel : {m_materialsChooser, m_intakeChooser, m_measuredChooser})
        configureHalfLife(panel);
    m_bioassayView->doseForContentField()->onStatusText = [this](const QString& text) { showStatus(text); };
    m_assessmentView = new IntakeAssessmentView(m_context, m_assessmentTab);
    placeOnPage(m_assessmentView, m_assessmentTab);
    m_assessmentChooser = m_assessmentView->intakeChooser();
    configure(m_assessmentChooser, 10);
    configureHalfLife(m_assessmentChooser);
    m_radonView = new RadonView(m_context.boxes(), m_radonTab);
    placeOnPage(m_radonView, m_radonTab);
    m_decayView = new DecayView(m_context, m_decayTab);
    placeOnPage(m_decayView, m_decayTab);
    configure(m_decayView->chooser(), 10);
    configureHalfLife(m_decayView->chooser());
}

void MainWindow::placeOnPage(QWidget* view, QWidget* page)
{
    // A window smaller than what a view needs scrolls it, rather than lay its controls over
    // each other.
    auto* scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // A click on a control that takes no focus (a tool button) leaves it where it was.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(view);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

void MainWindow::showStatus(const QString& text)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text, 15000);
}

void MainWindow::applyLanguage()
{
    const UiLanguage language = m_context.settings().language();
    m_languageShown = language;
    // The controls are told one by one: their classes are not known to the toolkit's casts.
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (auto* panel = dynamic_cast<NuclideChooser*>(widget))
            panel->setLanguage(language);
        else if (auto* field = dynamic_cast<NumberEdit*>(widget))
            field->setLanguage(language);
        else if (auto* units = dynamic_cast<TranslatedComboBox*>(widget))
            units->setLanguage(language);
    }
    useToolkitLanguage(language);
}

bool MainWindow::formCreate()
{
    setWindowTitle(ViewerApplication::Title);
    m_isFormActivated = false;
    ProgramSettings& preference = m_context.settings();
    m_context.loadIndex();
    applyLanguage();

    if (!preference.dataFolder().holdsDataFiles() && !editOptions(preference, OptionsPage::DataFolder))
        return false;

    m_materialsData = std::make_unique<DoseData>();
    m_materialsView->setMaterialsData(m_materialsData.get());
    m_bioassayData = std::make_unique<BioassayData>();
    m_bioassayView->setBioassayData(m_bioassayData.get());
    m_assessmentData = std::make_unique<BioassayData>();
    m_assessmentView->setBioassayData(m_assessmentData.get());
    m_context.fillDataLists();
    if (!createMixture())
        return false;
    restoreMeasurements();
    restoreDecaySource();
    m_dataFolderInUse = preference.dataFolderPath();
    m_radonView->setDataFolder(m_dataFolderInUse);
    showDataFolder();
    showSampleNotice();
    // The two visible choosers offer only nuclides that have data files, both start on Co-60;
    // they report it when first shown.
    for (NuclideChooser* panel : {m_materialsChooser, m_intakeChooser, m_assessmentChooser}) {
        panel->selection().filter().setUseNuclideFilter(true);
        panel->selection().filter().setNuclideList(m_context.dataNuclideList());
        panel->selection().setElementAndAMass(ChemicalElement::Co, "60");
    }

    // The decay calculator offers every radioactive nuclide of the index, starting on Cs-137.
    QStringList radioactive;
    for (int i = 0; i < m_context.index().count(); ++i)
        if (decayConstantPerDay(*m_context.index().items(i)) > 0)
            radioactive << m_context.index().items(i)->nameText();
    NuclideSelection& decaySelection = m_decayView->chooser()->selection();
    decaySelection.filter().setUseNuclideFilter(true);
    decaySelection.filter().setNuclideList(radioactive);
    decaySelection.setElementAndAMass(ChemicalElement::Cs, "137");

    m_watchingSettings = preference.settingsChanged.connect([this] { followSettings(); });
    m_pages->setCurrentWidget(m_dosePerIntakeTab);
    m_dosePerIntakePages->setCurrentWidget(m_mixtureTab);

    if (const QScreen* s = screen())
        setGeometry(windowPlacement(size(), s->availableGeometry(), kFrameAllowance));
    return true;
}

bool MainWindow::createMixture()
{
    m_mixtureData = std::make_unique<DoseDataCache>(m_context.settings());
    m_mixture = std::make_unique<Mixture>(m_context.index(), m_context.dataNuclideList(), *m_mixtureData);
    QString error;
    if (!m_mixture->restore(readMixtureFile(m_context.settings().mixtureFileName()), error)) {
        // The example nuclide could not be read: say why once; the window then closes.
        m_context.boxes().show(MessageKind::Error, ViewerApplication::Title, error, ButtonOk, ButtonOk);
        m_mixture.reset();
        return false;
    }
    m_mixtureView->setMixture(m_mixture.get());
    m_mixtureView->fillMixtureGrid();
    return true;
}

void MainWindow::useNewDataFolder()
{
    const ProgramSettings& preference = m_context.settings();
    m_dataFolderInUse = preference.dataFolderPath();
    m_context.fillDataLists();
    // The nuclides shown were read from the old folder: empty data objects read them again.
    m_materialsData = std::make_unique<DoseData>();
    m_materialsView->setMaterialsData(m_materialsData.get());
    m_bioassayData = std::make_unique<BioassayData>();
    m_bioassayView->setBioassayData(m_bioassayData.get());
    m_assessmentData = std::make_unique<BioassayData>();
    m_assessmentView->setBioassayData(m_assessmentData.get());
    // A chooser whose nuclide the new folder lacks moves to one it has and reports it; one that
    // keeps its nuclide is reloaded here.
    for (NuclideChooser* panel : {m_materialsChooser, m_intakeChooser, m_assessmentChooser})
        panel->selection().filter().setNuclideList(m_context.dataNuclideList());
    if (const NuclideIdentity* rnx = m_materialsChooser->selection().chosenIdentity();
        rnx && !m_materialsData->isLoaded())
        m_materialsView->nuclideChanged(*rnx);
    if (const NuclideIdentity* rnx = m_intakeChooser->selection().chosenIdentity(); rnx && !m_bioassayData->isLoaded())
        m_bioassayView->intakeNuclideChanged(*rnx);
    if (const NuclideIdentity* rnx = m_assessmentChooser->selection().chosenIdentity();
        rnx && !m_assessmentData->isLoaded())
        m_assessmentView->loadNuclide(*rnx);
    // The rows stay as chosen, each with the new folder's data or the reason it has none; what
    // could be undone belonged to the old data.
    QString error;
    if (!m_mixture->restore(m_mixture->keptRows(), error))
        showStatus(error);
    m_mixtureView->fillMixtureGrid();
    m_radonView->setDataFolder(m_dataFolderInUse);
    showDataFolder();
    showSampleNotice();
}

void MainWindow::followSettings()
{
    if (m_context.settings().dataFolderPath() != m_dataFolderInUse)
        useNewDataFolder();
    if (m_context.settings().language() != m_languageShown)
        applyLanguage();
}

void MainWindow::restoreMeasurements()
{
    const QString path = m_context.settings().measurementsFileName();
    QFile file(path);
    if (!file.exists())
        return;
    constexpr qint64 kMaxKeptBytes = 16 * 1024 * 1024;
    MeasurementFile kept;
    if (!file.open(QIODevice::ReadOnly))
        kept.error = file.errorString();
    else if (const QByteArray bytes = readAtMost(file, kMaxKeptBytes + 1); bytes.size() > kMaxKeptBytes)
        kept.error = QStringLiteral("larger than 16 MB");
    else
        kept = readMeasurementFile(bytes);
    if (!kept.ok()) {
        m_keptMeasurementsUnread = true;
        m_context.boxes().show(MessageKind::Warning, ViewerApplication::Title,
                               QStringLiteral("The measurements of the intake assessment kept from the last run could "
                                              "not be read; the file is left as it is: ")
                                   + path + QStringLiteral(": ") + kept.error,
                               ButtonOk, ButtonOk);
        return;
    }
    m_assessmentView->setMeasurements(kept.intake, std::move(kept.measurements));
}

void MainWindow::restoreDecaySource()
{
    QFile file(m_context.settings().decaySourceFileName());
    if (file.open(QIODevice::ReadOnly))
        m_decayView->setSource(parseDecaySourceFile(readAtMost(file, 1024 * 1024)));
}

void MainWindow::formActivate()
{
    if (m_startupFailed) {
        close();
        return;
    }
    if (m_isFormActivated)
        return;
    const AtScopeEnd markActivated{[this] { m_isFormActivated = true; }};
    try {
        if (!m_context.settings().notFirstRun()) {
            showAbout();
            m_context.settings().setNotFirstRun(true);
            m_context.writePreferences(ApplicationContext::FailureNotice::OncePerRun);
        }
        m_materialsView->checkAllMaterials();
        m_materialsView->fillMaterialsGrid();
    } catch (const std::exception& e) {
        showException(m_context.boxes(), e);
    }
}

QString MainWindow::keepFile(const QString& what, const QString& path, const QByteArray& bytes) const
{
    QString error;
    if (m_context.settings().makeSettingsFolder(&error) && saveFileAtomically(path, bytes, &error))
        return {};
    return QStringLiteral("The %1 could not be kept for the next run: ").arg(what) + path + QStringLiteral(": ")
        + error;
}

QString MainWindow::saveMixture() const
{
    return keepFile(QStringLiteral("list of radionuclides"), m_context.settings().mixtureFileName(),
                    mixtureFileBytes(m_mixture->keptRows()));
}

QString MainWindow::saveMeasurements() const
{
    const QString path = m_context.settings().measurementsFileName();
    // A measurement still lacking a field is an unfinished row: it is not kept.
    std::vector<DatedMeasurement> complete;
    for (const DatedMeasurement& entry : m_assessmentView->measurements())
        if (isComplete(entry))
            complete.push_back(entry);
    if (m_keptMeasurementsUnread && complete.empty())
        return {};
    if (complete.empty() && !m_assessmentView->intakeDate().isSaid()) {
        QFile::remove(path);
        return {};
    }
    return keepFile(QStringLiteral("measurements of the intake assessment"), path,
                    measurementFileBytes(m_assessmentView->intakeDate(), complete));
}

QString MainWindow::saveDecaySource() const
{
    const QString path = m_context.settings().decaySourceFileName();
    const DecaySourceFile source = m_decayView->source();
    // An empty source that was never kept leaves no file behind.
    if (source.rows.empty() && !QFile::exists(path))
        return {};
    return keepFile(QStringLiteral("decay source"), path, decaySourceFileBytes(source));
}

void MainWindow::keepForNextRun()
{
    if (m_startupFailed || !m_mixture || std::exchange(m_keptForNextRun, true))
        return;
    m_context.savePreferencesAtExit();
    // What could not be kept is said in one box, unless the user heard already that the settings
    // folder takes no files.
    QStringList failures;
    for (const QString& failure : {saveMixture(), saveMeasurements(), saveDecaySource()})
        if (!failure.isEmpty())
            failures << failure;
    if (!failures.isEmpty() && !m_context.saidListCannotBeKept())
        m_context.boxes().show(MessageKind::Warning, ViewerApplication::Title, failures.join(u'\n'), ButtonOk,
                               ButtonOk);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // While the window is still there, so that a warning has it to stand on.
    keepForNextRun();
    QMainWindow::closeEvent(event);
}

void MainWindow::formDestroy()
{
    m_watchingSettings.reset();
    keepForNextRun(); // a window that was never closed: the program ended by a signal
    m_mixtureView->setMixture(nullptr);
    m_materialsData.reset();
    m_bioassayData.reset();
    m_assessmentData.reset();
    m_mixture.reset();
    m_mixtureData.reset();
}

void MainWindow::showSampleNotice()
{
    // The rows' data stand for the folder's: the first row that has any.
    bool sample = false;
    for (int i = 0; i < m_mixture->count(); ++i)
        if (m_mixture->rowAt(i).available()) {
            sample = m_mixture->rowAt(i).loaded->data.isSyntheticSample();
            break;
        }
    if (sample && !m_sampleNotice) {
        m_sampleNotice
            = new QLabel(QStringLiteral("Synthetic sample data: these numbers were made up for trying the viewer; "
                                        "they are not reference values."),
                         this);
        m_sampleNotice->setObjectName(QStringLiteral("sampleNotice"));
        m_sampleNotice->setStyleSheet(QStringLiteral("color: #B00000; font-weight: bold"));
        // Permanent: a passing message in the status line does not hide it.
        statusBar()->addPermanentWidget(m_sampleNotice, 1);
    }
    if (m_sampleNotice)
        m_sampleNotice->setVisible(sample);
}

void MainWindow::showDataFolder()
{
    // Which data the numbers come from is always in sight: a copied program folder, a folder
    // given for one run.
    if (!m_dataFolder) {
        m_dataFolder = new QLabel(this);
        m_dataFolder->setObjectName(QStringLiteral("dataFolder"));
        statusBar()->addPermanentWidget(m_dataFolder);
    }
    const QString folder = QDir::toNativeSeparators(m_context.settings().dataFolderPath());
    m_dataFolder->setText(QStringLiteral("Data: ")
                          + m_dataFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle, 320));
    m_dataFolder->setToolTip(QStringLiteral("The data folder in use: ") + folder);
}

void MainWindow::showAbout()
{
    AboutBox about(this);
    execModal(about);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        formActivate();
    // Without a window manager a window may never be activated; its first showing then
    // stands in for the first activation, once the window is on the screen.
    if (event->type() == QEvent::Show && !m_isFormActivated)
        QMetaObject::invokeMethod(this, &MainWindow::formActivate, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (handleApplicationEvent(watched, event) || openContextMenuByKeys(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::handleApplicationEvent(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::Wheel || m_routingWheel)
        return false;
    auto* addressee = qobject_cast<QWidget*>(receiver);
    if (!addressee)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* target = QApplication::widgetAt(wheel->globalPosition().toPoint());
    // The toolkit already hands a wheel turn to the widget under the pointer and passes it up
    // to its parents; only a turn addressed elsewhere (the focus, a grab) is sent on.
    if (!target || target == addressee || addressee->isAncestorOf(target))
        return false;
    m_routingWheel = true;
    const AtScopeEnd doneRouting{[this] { m_routingWheel = false; }};
    // A sent turn is not passed up by the toolkit: a widget that does not scroll (a label in a
    // scrolled page) hands it to its parents here, up to its window.
    for (QWidget* w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QWheelEvent routed(w->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(), wheel->pixelDelta(),
                           wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                           wheel->source());
        QCoreApplication::sendEvent(w, &routed);
        if (routed.isAccepted())
            break;
    }
    return true;
}

} // namespace kav
