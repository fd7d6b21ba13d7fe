#pragma once

#include "data/programsettings.h"
#include "data/ui/optionsdialog.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTabWidget;
class QToolButton;

namespace kav {

class ApplicationContext;
class BioassayView;
class HelpWindow;
class DecayView;
class IntakeAssessmentView;
class MaterialsView;
class MixtureView;
class RadonView;
class NuclideChooser;
class NuclideIdentity;
class BioassayData;
class DoseData;
class DoseDataCache;
class Mixture;

// Where a window of the wanted client size opens in a screen's available area, its frame
// included: cut to the area (but not below the window's smallest size), centred, and never above
// or left of the area, so that its title bar can be reached.
QRect windowPlacement(QSize wanted, QRect available, QMargins frame);

// The single main window: five main tabs (dose per intake with its two sub-tabs, the bioassay
// view, the intake assessment, radon, decay) and the help button over the tab row. Creating it runs the start-up
// sequence on the program's shared state, which outlives it.
class MainWindow : public QMainWindow {
public:
    // Lets the user edit the preferences on the pages of the kind given and commits what was
    // accepted to them; false when cancelled.
    using OptionsEditor = std::function<bool(ProgramSettings&, OptionsPage)>;

    // The options dialog is the real one unless another is given (tests give their own).
    explicit MainWindow(ApplicationContext& context, OptionsEditor optionsDialog = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    bool isFormActivated() const { return m_isFormActivated; }
    // Start-up could not complete (no data folder chosen, the example nuclide unreadable): the
    // window does no more and closes on its first activation.
    bool startupFailed() const { return m_startupFailed; }

    // Start-up, first activation and tear-down. FormCreate says whether start-up completed.
    bool formCreate();
    void formActivate();
    void formDestroy();

    // Sends a wheel turn to the control under the pointer; true when the event was handled.
    bool handleApplicationEvent(QObject* receiver, QEvent* event);

    // Shows a modal dialog; tests replace it so that nothing blocks.
    std::function<int(QDialog&)> execModal;
    // The options dialog on the preferences.
    OptionsEditor editOptions;

    QTabWidget* mainTabs() const { return m_pages; }
    QTabWidget* dosePerIntakeTabs() const { return m_dosePerIntakePages; }
    QToolButton* helpButton() const { return m_helpButton; }
    // Shown when the data files are synthetic samples.
    QLabel* sampleNotice() const { return m_sampleNotice; }
    // Names the data folder in use.
    QLabel* dataFolderLabel() const { return m_dataFolder; }
    DoseData* materialsData() const { return m_materialsData.get(); }
    BioassayData* bioassayDataShown() const { return m_bioassayData.get(); }
    // The rows of the "Radionuclides" view.
    const Mixture* mixtureRows() const { return m_mixture.get(); }
    NuclideChooser* materialsChooser() const { return m_materialsChooser; }
    MaterialsView* materialsPage() const { return m_materialsView; }
    MixtureView* mixturePage() const { return m_mixtureView; }
    BioassayView* bioassayPage() const { return m_bioassayView; }
    IntakeAssessmentView* assessmentPage() const { return m_assessmentView; }
    DecayView* decayPage() const { return m_decayView; }
    RadonView* radonPage() const { return m_radonView; }
    NuclideChooser* intakeChooser() const { return m_intakeChooser; }
    NuclideChooser* measuredChooser() const { return m_measuredChooser; }

    // The language chosen in the options reaches the index, every chooser with its menus, every
    // number field and unit box, and the toolkit's own dialogs.
    void applyLanguage();
    HelpWindow* help() const { return m_help.get(); }
    QMenu* helpMenu() const { return m_helpMenu; }
    // The help context of what is shown: the page of the tab in front.
    int helpContext() const;
    // Offers the maintenance command "Export Doses" in the help menu.
    void setMaintenance(bool on);
    // Writes every dose coefficient of the data folder, one file per element, into "Export"
    // beside the program, with a progress dialog that can cancel it.
    void runDoseExport();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void showAbout();
    void showSampleNotice();
    void showDataFolder();
    void createViews();
    void createHelp();
    // A view in its tab page, scrolled when the window is smaller than it needs.
    void placeOnPage(QWidget* view, QWidget* page);
    // A passing text in the status line; empty clears it.
    void showStatus(const QString& text);
    // Fills the mixture with the rows kept at the last exit (a row whose nuclide cannot be loaded
    // now is kept, unavailable), or with its example; false when there were none and the
    // example could not be read.
    bool createMixture();
    // Writes a file kept for the next run; empty, or what could not be kept and why.
    QString keepFile(const QString& what, const QString& path, const QByteArray& bytes) const;
    // Keep the mixture's rows, the measurements and the decay source for the next run; each
    // returns its failure, said by keepForNextRun.
    QString saveMixture() const;
    // The intake assessment's measurements of the last run; a file that cannot be read is said
    // and left as it is.
    void restoreMeasurements();
    QString saveMeasurements() const;
    // The Decay page's source of the last run.
    void restoreDecaySource();
    QString saveDecaySource() const;
    // Writes the settings (when saving at exit is on), the mixture's rows and the measurements,
    // once.
    void keepForNextRun();
    // The user picked another data folder: every view shows its data.
    void useNewDataFolder();
    // The settings changed: another data folder or language is taken up (the views follow the
    // units themselves).
    void followSettings();

    ApplicationContext& m_context;
    OptionsPages m_optionsPages;
    bool m_isFormActivated = false;
    bool m_startupFailed = false;
    bool m_keptForNextRun = false;
    bool m_routingWheel = false;
    Notice<>::Connection m_watchingSettings;

    QTabWidget* m_pages = nullptr;
    QTabWidget* m_dosePerIntakePages = nullptr;
    QWidget* m_dosePerIntakeTab = nullptr;
    QWidget* m_mixtureTab = nullptr;
    QWidget* m_materialsTab = nullptr;
    QWidget* m_bioassayTab = nullptr;
    QWidget* m_assessmentTab = nullptr;
    QWidget* m_radonTab = nullptr;
    QWidget* m_decayTab = nullptr;
    QToolButton* m_helpButton = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_exportAction = nullptr;
    // A window of its own, not of this one: a dialog modal to this window leaves it usable.
    std::unique_ptr<HelpWindow> m_help;
    QLabel* m_sampleNotice = nullptr;
    QLabel* m_dataFolder = nullptr;
    // The folder the views show the data of.
    QString m_dataFolderInUse;
    UiLanguage m_languageShown = UiLanguage::English; // the language the controls were last told
    MaterialsView* m_materialsView = nullptr;
    MixtureView* m_mixtureView = nullptr;
    BioassayView* m_bioassayView = nullptr;
    IntakeAssessmentView* m_assessmentView = nullptr;
    // The assessment starts on the bioassay page's intake when it is first shown.
    bool m_assessmentStarted = false;
    // The measurements kept from the last run could not be read: their file is not overwritten.
    bool m_keptMeasurementsUnread = false;
    RadonView* m_radonView = nullptr;
    DecayView* m_decayView = nullptr;
    NuclideChooser* m_materialsChooser = nullptr;
    NuclideChooser* m_intakeChooser = nullptr;
    NuclideChooser* m_measuredChooser = nullptr;
    NuclideChooser* m_assessmentChooser = nullptr;

    std::unique_ptr<DoseData> m_materialsData;
    std::unique_ptr<BioassayData> m_bioassayData;
    std::unique_ptr<BioassayData> m_assessmentData;
    std::unique_ptr<DoseDataCache> m_mixtureData;
    std::unique_ptr<Mixture> m_mixture;
};

} // namespace kav
