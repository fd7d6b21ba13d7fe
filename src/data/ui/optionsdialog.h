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
    int main = 0;
    int units = 0;
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
    void load(const ProgramSettings& preference, OptionsPage options);
    const ProgramSettings& preference() const { return *m_preference; }
    // The INI keys of the settings whose boxes were on the screen while the dialog was open (or
    // that "Restore default values" set): what accepting it confirms. A unit chosen in a view
    // and never seen here is not among them.
    QStringList confirmedKeys() const;

    // Asks for a folder, starting at the given one; empty when the user cancels. Tests replace it.
    std::function<QString(const QString& start)> browseFolder;

    void browseDataFolder();
    void restoreDefaultValues();
    void accept() override;
    void done(int result) override;

    QTabWidget* mainPages() const { return m_mainPages; }
    QTabWidget* unitsPages() const { return m_unitsPages; }
    QLineEdit* dataFolderField() const { return m_dataFolderEdit; }
    QLabel* messageLabel() const { return m_message; }

private:
    QWidget* buildFoldersPage();
    QWidget* buildUnitsPage();
    void showSettings();
    // Counts the settings on the page now on the screen as seen.
    void noteShownPage();

    OptionsPages& m_remembered;
    std::unique_ptr<ProgramSettings> m_preference;
    OptionsPage m_options = OptionsPage::General;
    QTabWidget* m_mainPages = nullptr;
    QWidget* m_foldersPage = nullptr;
    QWidget* m_unitsPage = nullptr;
    QTabWidget* m_unitsPages = nullptr;
    QLabel* m_message = nullptr;
    QCheckBox* m_autoSave = nullptr;
    QComboBox* m_language = nullptr;
    // Every box that holds a setting, named after the setting's key.
    QList<QWidget*> m_settingBoxes;
    QSet<QString> m_confirmedKeys;
    QLineEdit* m_dataFolderEdit = nullptr;
    DoseUnitComboBox* m_bioassayDose = nullptr;
    ActivityUnitComboBox* m_bioassayContent = nullptr;
    ActivityUnitComboBox* m_bioassayIntake = nullptr;
    TimeUnitComboBox* m_bioassayTime = nullptr;
    QCheckBox* m_bioassayWholeDays = nullptr;
    DoseUnitComboBox* m_mixtureDose = nullptr;
    ActivityUnitComboBox* m_mixtureActivity = nullptr;
    DoseUnitComboBox* m_materialsDose = nullptr;
    ActivityUnitComboBox* m_materialsActivity = nullptr;
};

// Opens the dialog modally on a preferences object. When the user accepts it, the object is
// updated and the keys of the settings the user confirmed are returned; nothing when cancelled.
std::optional<QStringList> executeOptionsDialog(ProgramSettings& preference, OptionsPage options,
                                                OptionsPages& remembered, QWidget* parent);

} // namespace kav
