#pragma once

#include "data/programsettings.h"

#include <QDialog>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QTabWidget;
class QCheckBox;
class QComboBox;

namespace kav {

class ActivityUnitComboBox;
class DoseUnitComboBox;
class TimeUnitComboBox;

// The pages of the last options dialog closed in the general mode, which the next one shows again.
struct OptionsPages {
    int Main = 0;
    int Units = 0;
};

// The options dialog: the data folder, the units of the three dose views, the language and
// whether settings are saved at exit, edited on a copy of the preferences that is handed back when accepted (the
// caller keeps it), with the keys of the settings the user saw on its pages.
class OptionsDialog : public QDialog {
public:
    static const QString NoDataFilesMessage;

    // The pages remembered outlive the dialog.
    OptionsDialog(const ProgramLocations& locations, OptionsPages& remembered, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Shows the given preferences on the pages of the page set.
    void Load(const ProgramSettings& preference, OptionsPage options);
    const ProgramSettings& Preference() const { return *FPreference; }
    // The INI keys of the settings whose boxes were on the screen while the dialog was open (or
    // that "Restore default values" set): what accepting it confirms. A unit chosen in a view
    // and never seen here is not among them.
    QStringList ConfirmedKeys() const;

    // Asks for a folder, starting at the given one; empty when the user cancels. Tests replace it.
    std::function<QString(const QString& start)> BrowseFolder;

    void BrowseDataFolder();
    void RestoreDefaultValues();
    void accept() override;
    void done(int result) override;

    QTabWidget* MainPages() const { return FMainPages; }
    QTabWidget* UnitsPages() const { return FUnitsPages; }
    QLineEdit* DataFolderField() const { return FDataFolderEdit; }
    QLabel* MessageLabel() const { return FMessage; }

private:
    QWidget* BuildFoldersPage();
    QWidget* BuildUnitsPage();
    void ShowSettings();
    // Counts the settings on the page now on the screen as seen.
    void NoteShownPage();

    OptionsPages& FRemembered;
    std::unique_ptr<ProgramSettings> FPreference;
    OptionsPage FOptions = poGeneral;
    QTabWidget* FMainPages = nullptr;
    QWidget* FFoldersPage = nullptr;
    QWidget* FUnitsPage = nullptr;
    QTabWidget* FUnitsPages = nullptr;
    QLabel* FMessage = nullptr;
    QCheckBox* FAutoSave = nullptr;
    QComboBox* FLanguage = nullptr;
    // Every box that holds a setting, named after the setting's key.
    QList<QWidget*> FSettingBoxes;
    QSet<QString> FConfirmedKeys;
    QLineEdit* FDataFolderEdit = nullptr;
    DoseUnitComboBox* FBioassayDose = nullptr;
    ActivityUnitComboBox* FBioassayContent = nullptr;
    ActivityUnitComboBox* FBioassayIntake = nullptr;
    TimeUnitComboBox* FBioassayTime = nullptr;
    QCheckBox* FBioassayWholeDays = nullptr;
    DoseUnitComboBox* FMixtureDose = nullptr;
    ActivityUnitComboBox* FMixtureActivity = nullptr;
    DoseUnitComboBox* FMaterialsDose = nullptr;
    ActivityUnitComboBox* FMaterialsActivity = nullptr;
};

// Opens the dialog modally on a preferences object. When the user accepts it, the object is
// updated and the keys of the settings the user confirmed are returned; nothing when cancelled.
std::optional<QStringList> ExecuteOptionsDialog(ProgramSettings& preference, OptionsPage options,
                                                OptionsPages& remembered, QWidget* parent);

} // namespace kav
