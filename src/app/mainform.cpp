#include "app/mainform.h"

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

TMainForm::TMainForm(ApplicationContext& context, OptionsEditor optionsDialog, QWidget* parent)
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

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TMainForm::CreateControls()
{

    // The client area on the original platform's frame of 16 × 39 pixels makes 1024 × 768.
    resize(kClientSize);
    // Smaller screens get a smaller window: the pages scroll what does not fit.
    setMinimumSize(kSmallestClientSize);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    setCentralWidget(pcMain);

    tsDosePerIntake = new QWidget;
    pcDosePerIntake = new QTabWidget(tsDosePerIntake);
    pcDosePerIntake->setObjectName(QStringLiteral("pcDosePerIntake"));
    tsMixture = new QWidget;
    tsDPUI = new QWidget;
    pcDosePerIntake->addTab(tsMixture, QStringLiteral("Radio&nuclides"));
    pcDosePerIntake->addTab(tsDPUI, QStringLiteral("&Materials"));
    auto* doseLayout = new QVBoxLayout(tsDosePerIntake);
    doseLayout->setContentsMargins(2, 2, 2, 2);
    doseLayout->addWidget(pcDosePerIntake);

    tsDPUM = new QWidget;
    tsRadon = new QWidget;
    // A single ampersand marks the letter that opens a tab with Alt; a doubled one shows as one.
    pcMain->addTab(tsDosePerIntake, QStringLiteral("   &Dose per Intake   "));
    pcMain->addTab(tsDPUM, QStringLiteral("   Dose per Content && Reference &Bioassay Functions   "));
    pcMain->addTab(tsRadon, QStringLiteral("   R&adon   "));

    CreateViews();

    CreateHelp();
}

void TMainForm::CreateHelp()
{
    FHelp = std::make_unique<THelpWindow>(FContext.Settings().HelpCollectionFile(), FContext.Boxes());
    // Closing the main window ends the program, the help's window open or not.
    FHelp->setAttribute(Qt::WA_QuitOnClose, false);
    FHelp->SetWorkingFolder(FContext.Settings().Locations().HelpCacheDir);
    const auto showHelp = [this](const QString& topic) { FHelp->ShowTopic(topic); };
    FMixtureView->ShowHelp = showHelp;
    FMaterialsView->ShowHelp = showHelp;
    FBioassayView->ShowHelp = showHelp;

    pmHelp = new QMenu(this);
    pmHelp->addAction(QStringLiteral("About"), this, [this] { aAboutExecute(); });
    pmHelp->addAction(QStringLiteral("Key Terms"), this, [this] { FHelp->ShowContext(1006); });
    pmHelp->addAction(QStringLiteral("NVA Task Group"), this, [this] { FHelp->ShowContext(1009); });
    pmHelp->addAction(QStringLiteral("Copyright Notice"), this, [this] { FHelp->ShowContext(1002); });
    pmHelp->addSeparator();
    pmHelp->addAction(QStringLiteral("Options..."), this, [this] { EditOptions(FContext.Settings(), poGeneral); });
    aExportDoses = pmHelp->addAction(QStringLiteral("Export Doses"), this, [this] { aExportDosesExecute(); });
    aExportDoses->setVisible(false);
    JxpbHelp = new QToolButton(pcMain);
    JxpbHelp->setObjectName(QStringLiteral("JxpbHelp"));
    JxpbHelp->setText(QStringLiteral("?"));
    JxpbHelp->setToolTip(QStringLiteral("Help"));
    JxpbHelp->setPopupMode(QToolButton::MenuButtonPopup);
    JxpbHelp->setMenu(pmHelp);
    JxpbHelp->setAutoRaise(true);
    OpenMenuByKeys(*JxpbHelp);
    connect(JxpbHelp, &QToolButton::clicked, this, [this] { FHelp->ShowTopic(HelpTopic::Contents); });
    pcMain->setCornerWidget(JxpbHelp, Qt::TopRightCorner);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { FHelp->ShowContext(HelpContext()); });
}

int TMainForm::HelpContext() const
{
    if (pcMain->currentWidget() == tsDosePerIntake)
        return pcDosePerIntake->currentWidget() == tsMixture ? 1003 : 1004;
    if (pcMain->currentWidget() == tsDPUM)
        return 1005;
    if (pcMain->currentWidget() == tsRadon)
        return 1011;
    return 1007;
}

void TMainForm::SetMaintenance(bool on)
{
    aExportDoses->setVisible(on);
}

void TMainForm::aExportDosesExecute()
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
        boxes.Show(kind, TKavApplication::Title, summary, mbOK, mbOK);
        return;
    }
    if (boxes.Show(kind, TKavApplication::Title, summary + QStringLiteral("\n\nOpen the folder?"), mbYes | mbNo, mbNo)
            == mbYes
        && !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        boxes.Show(MessageKind::Warning, TKavApplication::Title,
                   folder + QStringLiteral(" cannot be opened: no program for showing folders answered."), mbOK, mbOK);
}

void TMainForm::CreateViews()
{
    auto configure = [this](NuclideChooser* panel, int shiftAMass) {
        ChooserLayout layout;
        layout.WidthElement = 48;
        layout.WidthElementDropDown = 129;
        layout.WidthAMass = 58;
        layout.WidthRNuclide = 95;
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
    FMixtureView = new TMixtureView(FContext, tsMixture);
    PlaceOnPage(FMixtureView, tsMixture);
    FMaterialsView = new TMaterialsView(FContext, tsDPUI);
    PlaceOnPage(FMaterialsView, tsDPUI);
    rnpDPUI = FMaterialsView->Chooser();
    configure(rnpDPUI, 8);
    FBioassayView = new TBioassayView(FContext, tsDPUM);
    PlaceOnPage(FBioassayView, tsDPUM);
    FBioassayView->OnEditUnits = [this] { EditOptions(FContext.Settings(), poBioassayUnits); };
    rnpDPUMRNIntake = FBioassayView->IntakeChooser();
    configure(rnpDPUMRNIntake, 10);
    FMixtureView->SetAddSource(rnpDPUMRNIntake);
    FMixtureView->ExecModal = [this](QDialog& dialog) { return ExecModal(dialog); };
    rnpDPUMRNMeasured = FBioassayView->MeasuredChooser();
    for (NuclideChooser* panel : {rnpDPUI, rnpDPUMRNIntake, rnpDPUMRNMeasured})
        configureHalfLife(panel);
    FBioassayView->DoseForContentField()->OnStatusText = [this](const QString& text) { ShowStatus(text); };
    FRadonView = new TRadonView(FContext.Boxes(), tsRadon);
    PlaceOnPage(FRadonView, tsRadon);
}

void TMainForm::PlaceOnPage(QWidget* view, QWidget* page)
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

void TMainForm::ShowStatus(const QString& text)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text, 15000);
}

void TMainForm::ApplyLanguage()
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

bool TMainForm::FormCreate()
{
    setWindowTitle(TKavApplication::Title);
    FIsFormActivated = false;
    ProgramSettings& preference = FContext.Settings();
    FContext.LoadIndex();
    ApplyLanguage();

    if (!preference.DataFolder().HoldsDataFiles() && !EditOptions(preference, poDataFolder))
        return false;

    DPUI_RNData = std::make_unique<DoseData>();
    FMaterialsView->SetMaterialsData(DPUI_RNData.get());
    DPUM_RNData = std::make_unique<BioassayData>();
    FBioassayView->SetBioassayData(DPUM_RNData.get());
    FContext.FillDataLists();
    if (!CreateMixture())
        return false;
    FDataFolderInUse = preference.DataFolderPath();
    FRadonView->SetDataFolder(FDataFolderInUse);
    ShowDataFolder();
    ShowSampleNotice();
    // The two visible choosers offer only nuclides that have data files, both start on Co-60;
    // they report it when first shown.
    for (NuclideChooser* panel : {rnpDPUI, rnpDPUMRNIntake}) {
        panel->Selection().Filter().SetUseNuclideFilter(true);
        panel->Selection().Filter().SetNuclideList(FContext.DataNuclideList());
        panel->Selection().SetElementAndAMass(_Co, "60");
    }

    FWatchingSettings = preference.SettingsChanged.Connect([this] { FollowSettings(); });
    pcMain->setCurrentWidget(tsDosePerIntake);
    pcDosePerIntake->setCurrentWidget(tsMixture);

    if (const QScreen* s = screen())
        setGeometry(WindowPlacement(size(), s->availableGeometry(), kFrameAllowance));
    return true;
}

bool TMainForm::CreateMixture()
{
    FMixtureData = std::make_unique<DoseDataCache>(FContext.Settings());
    FMixture = std::make_unique<Mixture>(FContext.Index(), FContext.DataNuclideList(), *FMixtureData);
    QString error;
    if (!FMixture->Restore(ReadMixtureFile(FContext.Settings().MixtureFileName()), error)) {
        // The example nuclide could not be read: say why once; the window then closes.
        FContext.Boxes().Show(MessageKind::Error, TKavApplication::Title, error, mbOK, mbOK);
        FMixture.reset();
        return false;
    }
    FMixtureView->SetMixture(FMixture.get());
    FMixtureView->FillMixtureGrid();
    return true;
}

void TMainForm::UseNewDataFolder()
{
    const ProgramSettings& preference = FContext.Settings();
    FDataFolderInUse = preference.DataFolderPath();
    FContext.FillDataLists();
    // The nuclides shown were read from the old folder: empty data objects read them again.
    DPUI_RNData = std::make_unique<DoseData>();
    FMaterialsView->SetMaterialsData(DPUI_RNData.get());
    DPUM_RNData = std::make_unique<BioassayData>();
    FBioassayView->SetBioassayData(DPUM_RNData.get());
    // A chooser whose nuclide the new folder lacks moves to one it has and reports it; one that
    // keeps its nuclide is reloaded here.
    for (NuclideChooser* panel : {rnpDPUI, rnpDPUMRNIntake})
        panel->Selection().Filter().SetNuclideList(FContext.DataNuclideList());
    if (const NuclideIdentity* rnx = rnpDPUI->Selection().ChosenIdentity(); rnx && !DPUI_RNData->IsLoaded())
        FMaterialsView->rnpDPUIRNXChanged(*rnx);
    if (const NuclideIdentity* rnx = rnpDPUMRNIntake->Selection().ChosenIdentity(); rnx && !DPUM_RNData->IsLoaded())
        FBioassayView->rnpDPUMRNIntakeRNXChanged(*rnx);
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

void TMainForm::FollowSettings()
{
    if (FContext.Settings().DataFolderPath() != FDataFolderInUse)
        UseNewDataFolder();
    if (FContext.Settings().Language() != FLanguageShown)
        ApplyLanguage();
}

void TMainForm::SaveMixture()
{
    const ProgramSettings& preference = FContext.Settings();
    const QString path = preference.MixtureFileName();
    QString error;
    if ((!preference.MakeSettingsFolder(&error)
         || !SaveFileAtomically(path, MixtureFileBytes(FMixture->KeptRows()), &error))
        && !FContext.SaidListCannotBeKept())
        FContext.Boxes().Show(MessageKind::Warning, TKavApplication::Title,
                              QStringLiteral("The list of radionuclides could not be kept for the next run: ") + path
                                  + QStringLiteral(": ") + error,
                              mbOK, mbOK);
}

void TMainForm::FormActivate()
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

void TMainForm::KeepForNextRun()
{
    if (FStartupFailed || !FMixture || std::exchange(FKeptForNextRun, true))
        return;
    FContext.SavePreferencesAtExit();
    SaveMixture();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // While the window is still there, so that a warning has it to stand on.
    KeepForNextRun();
    QMainWindow::closeEvent(event);
}

void TMainForm::FormDestroy()
{
    FWatchingSettings.Reset();
    KeepForNextRun(); // a window that was never closed: the program ended by a signal
    FMixtureView->SetMixture(nullptr);
    DPUI_RNData.reset();
    DPUM_RNData.reset();
    FMixture.reset();
    FMixtureData.reset();
}

void TMainForm::ShowSampleNotice()
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

void TMainForm::ShowDataFolder()
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

void TMainForm::aAboutExecute()
{
    TVESKAboutBox about(this);
    ExecModal(about);
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    // Without a window manager a window may never be activated; its first showing then
    // stands in for the first activation, once the window is on the screen.
    if (event->type() == QEvent::Show && !FIsFormActivated)
        QMetaObject::invokeMethod(this, &TMainForm::FormActivate, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (JxApplicationEventsMessage(watched, event) || OpenContextMenuByKeys(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::JxApplicationEventsMessage(QObject* receiver, QEvent* event)
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
