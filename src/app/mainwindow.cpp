#include "app/mainwindow.h"

#include "app/materialsview.h"
#include "app/mixtureview.h"
#include "app/radonview.h"

#include "app/aboutbox.h"
#include "app/application.h"
#include "app/bioassayview.h"
#include "app/helpwindow.h"
#include "base/messageboxes.h"
#include "base/savefile.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/keyboard.h"
#include "controls/numberedit.h"
#include "controls/translatedcombobox.h"
#include "data/applicationcontext.h"
#include "data/bioassaydata.h"
#include "data/doseexport.h"
#include "data/mixture.h"
#include "data/mixturefile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
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

QRect WindowPlacement(QSize wanted, QRect available, QMargins frame)
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
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , EditOptions(std::move(optionsDialog))
    , FContext(context)
{
    if (!EditOptions)
        EditOptions = [this](ProgramSettings& preference, OptionsPage options) {
            const std::optional<QStringList> confirmed = ExecuteOptionsDialog(preference, options, FOptionsPages, this);
            if (!confirmed)
                return false;
            // What the user saw and accepted is kept at once, and nothing else: units changed
            // in a view stay for this run only. A failure to keep it is said, the choice
            // applies all the same.
            FContext.WritePreferences(ApplicationContext::FailureNotice::EveryTime, *confirmed);
            return true;
        };
    CreateControls();
    qApp->installEventFilter(this);
    FStartupFailed = !FormCreate();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void MainWindow::CreateControls()
{

    // The client area on the original platform's frame of 16 × 39 pixels makes 1024 × 768.
    resize(kClientSize);
    // Smaller screens get a smaller window: the pages scroll what does not fit.
    setMinimumSize(kSmallestClientSize);

    FPages = new QTabWidget(this);
    FPages->setObjectName(QStringLiteral("pcMain"));
    setCentralWidget(FPages);

    FDosePerIntakeTab = new QWidget;
    FDosePerIntakePages = new QTabWidget(FDosePerIntakeTab);
    FDosePerIntakePages->setObjectName(QStringLiteral("pcDosePerIntake"));
    FMixtureTab = new QWidget;
    FMaterialsTab = new QWidget;
    FDosePerIntakePages->addTab(FMixtureTab, QStringLiteral("Radio&nuclides"));
    FDosePerIntakePages->addTab(FMaterialsTab, QStringLiteral("&Materials"));
    auto* doseLayout = new QVBoxLayout(FDosePerIntakeTab);
    doseLayout->setContentsMargins(2, 2, 2, 2);
    doseLayout->addWidget(FDosePerIntakePages);

    FBioassayTab = new QWidget;
    FRadonTab = new QWidget;
    // A single ampersand marks the letter that opens a tab with Alt; a doubled one shows as one.
    FPages->addTab(FDosePerIntakeTab, QStringLiteral("   &Dose per Intake   "));
    FPages->addTab(FBioassayTab, QStringLiteral("   Dose per Content && Reference &Bioassay Functions   "));
    FPages->addTab(FRadonTab, QStringLiteral("   R&adon   "));

    CreateViews();

    CreateHelp();
}

void MainWindow::CreateHelp()
{
    FHelp = std::make_unique<HelpWindow>(FContext.Settings().HelpCollectionFile(), FContext.Boxes());
    // Closing the main window ends the program, the help's window open or not.
    FHelp->setAttribute(Qt::WA_QuitOnClose, false);
    FHelp->SetWorkingFolder(FContext.Settings().Locations().HelpCacheDir);
    const auto showHelp = [this](const QString& topic) { FHelp->ShowTopic(topic); };
    FMixtureView->ShowHelp = showHelp;
    FMaterialsView->ShowHelp = showHelp;
    FBioassayView->ShowHelp = showHelp;

    FHelpMenu = new QMenu(this);
    FHelpMenu->addAction(QStringLiteral("About"), this, [this] { aAboutExecute(); });
    FHelpMenu->addAction(QStringLiteral("Key Terms"), this, [this] { FHelp->ShowContext(1006); });
    FHelpMenu->addAction(QStringLiteral("NVA Task Group"), this, [this] { FHelp->ShowContext(1009); });
    FHelpMenu->addAction(QStringLiteral("Copyright Notice"), this, [this] { FHelp->ShowContext(1002); });
    FHelpMenu->addSeparator();
    FHelpMenu->addAction(QStringLiteral("Options..."), this, [this] { EditOptions(FContext.Settings(), poGeneral); });
    FExportAction = FHelpMenu->addAction(QStringLiteral("Export Doses"), this, [this] { aExportDosesExecute(); });
    FExportAction->setVisible(false);
    FHelpButton = new QToolButton(FPages);
    FHelpButton->setObjectName(QStringLiteral("JxpbHelp"));
    FHelpButton->setText(QStringLiteral("?"));
    FHelpButton->setToolTip(QStringLiteral("Help"));
    FHelpButton->setPopupMode(QToolButton::MenuButtonPopup);
    FHelpButton->setMenu(FHelpMenu);
    FHelpButton->setAutoRaise(true);
    OpenMenuByKeys(*FHelpButton);
    connect(FHelpButton, &QToolButton::clicked, this, [this] { FHelp->ShowTopic(HelpTopic::Contents); });
    FPages->setCornerWidget(FHelpButton, Qt::TopRightCorner);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { FHelp->ShowContext(HelpContext()); });
}

int MainWindow::HelpContext() const
{
    if (FPages->currentWidget() == FDosePerIntakeTab)
        return FDosePerIntakePages->currentWidget() == FMixtureTab ? 1003 : 1004;
    if (FPages->currentWidget() == FBioassayTab)
        return 1005;
    if (FPages->currentWidget() == FRadonTab)
        return 1011;
    return 1007;
}

void MainWindow::SetMaintenance(bool on)
{
    FExportAction->setVisible(on);
}

void MainWindow::aExportDosesExecute()
{
    const ProgramSettings& preference = FContext.Settings();
    QProgressDialog progress(QStringLiteral("Exporting the dose coefficients..."), QStringLiteral("Cancel"), 0,
                             FContext.DataNuclideList().Count(), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const QString folder = preference.ExportDir();
    const DoseExportResult result = ExportDoses(preference.DataFolder(), FContext.DataNuclideList(),
                                                FContext.DataElementList(), folder, [&progress](int done, int) {
                                                    progress.setValue(done);
                                                    return !progress.wasCanceled();
                                                });
    progress.reset();
    const MessageKind kind = result.Error.isEmpty() ? MessageKind::Information : MessageKind::Error;
    const QString summary = DoseExportSummary(result, folder);
    MessageBoxes& boxes = FContext.Boxes();
    if (result.Files.isEmpty()) {
        boxes.Show(kind, ViewerApplication::Title, summary, mbOK, mbOK);
        return;
    }
    if (boxes.Show(kind, ViewerApplication::Title, summary + QStringLiteral("\n\nOpen the folder?"), mbYes | mbNo, mbNo)
            == mbYes
        && !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        boxes.Show(MessageKind::Warning, ViewerApplication::Title,
                   folder + QStringLiteral(" cannot be opened: no program for showing folders answered."), mbOK, mbOK);
}

void MainWindow::CreateViews()
{
    auto configure = [this](NuclideChooser* panel, int shiftAMass) {
        ChooserLayout layout;
        layout.WidthElement = 48;
        layout.WidthElementDropDown = 129;
        layout.WidthAMass = 58;
        layout.WidthNuclide = 95;
        layout.ShiftAMass = shiftAMass;
        panel->SetWidthsNShifts(layout);
        panel->Selection().Filter().ReadStoredElementSet({-23, -1, -1, 15}); // hydrogen to fermium but He, Li, B
        panel->Selection().Filter().SetUseElementFilter(true);
        panel->SetPopupMenuOptions({pmoChoice, pmoSort, pmoAdvancedFilter});
        panel->OnStatusText = [this](const QString& text) { ShowStatus(text); };
    };
    // The half-life range the panels keep for their advanced filter, both ends off.
    auto configureHalfLife = [](NuclideChooser* panel) {
        HalfLifeFilter& halfLife = panel->Selection().Filter().Advanced().HalfLifeTime();
        halfLife.SetMaxValue(9.3e15f);
        halfLife.SetMinUnits(tuYear);
        halfLife.SetMinValue(0.305f);
    };
    FMixtureView = new MixtureView(FContext, FMixtureTab);
    PlaceOnPage(FMixtureView, FMixtureTab);
    FMaterialsView = new MaterialsView(FContext, FMaterialsTab);
    PlaceOnPage(FMaterialsView, FMaterialsTab);
    FMaterialsChooser = FMaterialsView->Chooser();
    configure(FMaterialsChooser, 8);
    FBioassayView = new BioassayView(FContext, FBioassayTab);
    PlaceOnPage(FBioassayView, FBioassayTab);
    FBioassayView->OnEditUnits = [this] { EditOptions(FContext.Settings(), poBioassayUnits); };
    FIntakeChooser = FBioassayView->IntakeChooser();
    configure(FIntakeChooser, 10);
    FMixtureView->SetAddSource(FIntakeChooser);
    FMixtureView->ExecModal = [this](QDialog& dialog) { return ExecModal(dialog); };
    FMeasuredChooser = FBioassayView->MeasuredChooser();
    for (NuclideChooser* panel : {FMaterialsChooser, FIntakeChooser, FMeasuredChooser})
        configureHalfLife(panel);
    FBioassayView->DoseForContentField()->OnStatusText = [this](const QString& text) { ShowStatus(text); };
    FRadonView = new RadonView(FContext.Boxes(), FRadonTab);
    PlaceOnPage(FRadonView, FRadonTab);
}

void MainWindow::PlaceOnPage(QWidget* view, QWidget* page)
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

void MainWindow::ShowStatus(const QString& text)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text, 15000);
}

void MainWindow::ApplyLanguage()
{
    const UiLanguage language = FContext.Settings().Language();
    FLanguageShown = language;
    // The controls are told one by one: their classes are not known to the toolkit's casts.
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (auto* panel = dynamic_cast<NuclideChooser*>(widget))
            panel->SetLanguage(language);
        else if (auto* field = dynamic_cast<NumberEdit*>(widget))
            field->SetLanguage(language);
        else if (auto* units = dynamic_cast<TranslatedComboBox*>(widget))
            units->SetLanguage(language);
    }
    UseToolkitLanguage(language);
}

bool MainWindow::FormCreate()
{
    setWindowTitle(ViewerApplication::Title);
    FIsFormActivated = false;
    ProgramSettings& preference = FContext.Settings();
    FContext.LoadIndex();
    ApplyLanguage();

    if (!preference.DataFolder().HoldsDataFiles() && !EditOptions(preference, poDataFolder))
        return false;

    FMaterialsData = std::make_unique<DoseData>();
    FMaterialsView->SetMaterialsData(FMaterialsData.get());
    FBioassayData = std::make_unique<BioassayData>();
    FBioassayView->SetBioassayData(FBioassayData.get());
    FContext.FillDataLists();
    if (!CreateMixture())
        return false;
    FDataFolderInUse = preference.DataFolderPath();
    FRadonView->SetDataFolder(FDataFolderInUse);
    ShowDataFolder();
    ShowSampleNotice();
    // The two visible choosers offer only nuclides that have data files, both start on Co-60;
    // they report it when first shown.
    for (NuclideChooser* panel : {FMaterialsChooser, FIntakeChooser}) {
        panel->Selection().Filter().SetUseNuclideFilter(true);
        panel->Selection().Filter().SetNuclideList(FContext.DataNuclideList());
        panel->Selection().SetElementAndAMass(_Co, "60");
    }

    FWatchingSettings = preference.SettingsChanged.Connect([this] { FollowSettings(); });
    FPages->setCurrentWidget(FDosePerIntakeTab);
    FDosePerIntakePages->setCurrentWidget(FMixtureTab);

    if (const QScreen* s = screen())
        setGeometry(WindowPlacement(size(), s->availableGeometry(), kFrameAllowance));
    return true;
}

bool MainWindow::CreateMixture()
{
    FMixtureData = std::make_unique<DoseDataCache>(FContext.Settings());
    FMixture = std::make_unique<Mixture>(FContext.Index(), FContext.DataNuclideList(), *FMixtureData);
    QString error;
    if (!FMixture->Restore(ReadMixtureFile(FContext.Settings().MixtureFileName()), error)) {
        // The example nuclide could not be read: say why once; the window then closes.
        FContext.Boxes().Show(MessageKind::Error, ViewerApplication::Title, error, mbOK, mbOK);
        FMixture.reset();
        return false;
    }
    FMixtureView->SetMixture(FMixture.get());
    FMixtureView->FillMixtureGrid();
    return true;
}

void MainWindow::UseNewDataFolder()
{
    const ProgramSettings& preference = FContext.Settings();
    FDataFolderInUse = preference.DataFolderPath();
    FContext.FillDataLists();
    // The nuclides shown were read from the old folder: empty data objects read them again.
    FMaterialsData = std::make_unique<DoseData>();
    FMaterialsView->SetMaterialsData(FMaterialsData.get());
    FBioassayData = std::make_unique<BioassayData>();
    FBioassayView->SetBioassayData(FBioassayData.get());
    // A chooser whose nuclide the new folder lacks moves to one it has and reports it; one that
    // keeps its nuclide is reloaded here.
    for (NuclideChooser* panel : {FMaterialsChooser, FIntakeChooser})
        panel->Selection().Filter().SetNuclideList(FContext.DataNuclideList());
    if (const NuclideIdentity* rnx = FMaterialsChooser->Selection().ChosenIdentity();
        rnx && !FMaterialsData->IsLoaded())
        FMaterialsView->NuclideChanged(*rnx);
    if (const NuclideIdentity* rnx = FIntakeChooser->Selection().ChosenIdentity(); rnx && !FBioassayData->IsLoaded())
        FBioassayView->IntakeNuclideChanged(*rnx);
    // The rows stay as chosen, each with the new folder's data or the reason it has none; what
    // could be undone belonged to the old data.
    QString error;
    if (!FMixture->Restore(FMixture->KeptRows(), error))
        ShowStatus(error);
    FMixtureView->FillMixtureGrid();
    FRadonView->SetDataFolder(FDataFolderInUse);
    ShowDataFolder();
    ShowSampleNotice();
}

void MainWindow::FollowSettings()
{
    if (FContext.Settings().DataFolderPath() != FDataFolderInUse)
        UseNewDataFolder();
    if (FContext.Settings().Language() != FLanguageShown)
        ApplyLanguage();
}

void MainWindow::SaveMixture()
{
    const ProgramSettings& preference = FContext.Settings();
    const QString path = preference.MixtureFileName();
    QString error;
    if ((!preference.MakeSettingsFolder(&error)
         || !SaveFileAtomically(path, MixtureFileBytes(FMixture->KeptRows()), &error))
        && !FContext.SaidListCannotBeKept())
        FContext.Boxes().Show(MessageKind::Warning, ViewerApplication::Title,
                              QStringLiteral("The list of radionuclides could not be kept for the next run: ") + path
                                  + QStringLiteral(": ") + error,
                              mbOK, mbOK);
}

void MainWindow::FormActivate()
{
    if (FStartupFailed) {
        close();
        return;
    }
    if (FIsFormActivated)
        return;
    const AtScopeEnd markActivated{[this] { FIsFormActivated = true; }};
    try {
        if (!FContext.Settings().NotFirstRun()) {
            aAboutExecute();
            FContext.Settings().SetNotFirstRun(true);
            FContext.WritePreferences(ApplicationContext::FailureNotice::OncePerRun);
        }
        FMaterialsView->CheckAllMaterials();
        FMaterialsView->FillMaterialsGrid();
    } catch (const std::exception& e) {
        ShowException(FContext.Boxes(), e);
    }
}

void MainWindow::KeepForNextRun()
{
    if (FStartupFailed || !FMixture || std::exchange(FKeptForNextRun, true))
        return;
    FContext.SavePreferencesAtExit();
    SaveMixture();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // While the window is still there, so that a warning has it to stand on.
    KeepForNextRun();
    QMainWindow::closeEvent(event);
}

void MainWindow::FormDestroy()
{
    FWatchingSettings.Reset();
    KeepForNextRun(); // a window that was never closed: the program ended by a signal
    FMixtureView->SetMixture(nullptr);
    FMaterialsData.reset();
    FBioassayData.reset();
    FMixture.reset();
    FMixtureData.reset();
}

void MainWindow::ShowSampleNotice()
{
    // The rows' data stand for the folder's: the first row that has any.
    bool sample = false;
    for (int i = 0; i < FMixture->Count(); ++i)
        if (FMixture->Row(i).Available()) {
            sample = FMixture->Row(i).loaded->data.IsSyntheticSample();
            break;
        }
    if (sample && !FSampleNotice) {
        FSampleNotice
            = new QLabel(QStringLiteral("Synthetic sample data: these numbers were made up for trying the viewer; "
                                        "they are not reference values."),
                         this);
        FSampleNotice->setObjectName(QStringLiteral("lSampleNotice"));
        FSampleNotice->setStyleSheet(QStringLiteral("color: #B00000; font-weight: bold"));
        // Permanent: a passing message in the status line does not hide it.
        statusBar()->addPermanentWidget(FSampleNotice, 1);
    }
    if (FSampleNotice)
        FSampleNotice->setVisible(sample);
}

void MainWindow::ShowDataFolder()
{
    // Which data the numbers come from is always in sight: a copied program folder, a folder
    // given for one run.
    if (!FDataFolder) {
        FDataFolder = new QLabel(this);
        FDataFolder->setObjectName(QStringLiteral("lDataFolder"));
        statusBar()->addPermanentWidget(FDataFolder);
    }
    const QString folder = QDir::toNativeSeparators(FContext.Settings().DataFolderPath());
    FDataFolder->setText(QStringLiteral("Data: ")
                         + FDataFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle, 320));
    FDataFolder->setToolTip(QStringLiteral("The data folder in use: ") + folder);
}

void MainWindow::aAboutExecute()
{
    AboutBox about(this);
    ExecModal(about);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    // Without a window manager a window may never be activated; its first showing then
    // stands in for the first activation, once the window is on the screen.
    if (event->type() == QEvent::Show && !FIsFormActivated)
        QMetaObject::invokeMethod(this, &MainWindow::FormActivate, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (JxApplicationEventsMessage(watched, event) || OpenContextMenuByKeys(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::JxApplicationEventsMessage(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::Wheel || FRoutingWheel)
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
    FRoutingWheel = true;
    const AtScopeEnd doneRouting{[this] { FRoutingWheel = false; }};
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
