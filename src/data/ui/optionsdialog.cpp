#include "data/ui/optionsdialog.h"

#include "units/ui/unitcombobox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace kav {

namespace {

const DoseUnits kDoseUnits{du_mkSv, du_mSv, du_Sv};
const ActivityUnits kActivityUnits{au__mBq, au_Bq, au_kBq, au_MBq};
const TimeUnits kTimeUnits{tuYear, tuDay, tuHour};

QString defaultBrowse(QWidget* parent, const QString& start)
{
    QFileDialog dialog(parent, QStringLiteral("Browsing folder for Radionuclides data"), start);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, false);
    dialog.setNameFilter(QStringLiteral("Find files *.qvd (*.qvd)"));
    // Wide enough for the names, sizes and dates of the files side by side, each column as wide
    // as what it shows in the toolkit's language once the folder is read, and the places on the
    // left wide enough for their names.
    dialog.resize(720, 440);
    auto* files = dialog.findChild<QTreeView*>();
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (files && model)
        QObject::connect(model, &QFileSystemModel::directoryLoaded, files, [files] {
            for (int column = 0; column < files->header()->count(); ++column)
                files->resizeColumnToContents(column);
        });
    if (auto* sides = dialog.findChild<QSplitter*>())
        sides->setSizes({170, 550});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

const QString OptionsDialog::NoDataFilesMessage
    = QStringLiteral("Files with the VESK radionuclides data (files with .qvd extention) are not found! Please, select "
                     "folder with the VESK radionuclides data.");

OptionsDialog::OptionsDialog(const ProgramLocations& locations, OptionsPages& remembered, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , BrowseFolder([this](const QString& start) { return defaultBrowse(this, start); })
    , FRemembered(remembered)
    , FPreference(ProgramSettings::WithDefaults(locations)) // Load fills it from the caller's
{
    setWindowTitle(QStringLiteral("Options"));
    FMainPages = new QTabWidget(this);
    FMainPages->addTab(BuildFoldersPage(), QStringLiteral("Folders"));
    FMainPages->addTab(BuildUnitsPage(), QStringLiteral("Units"));
    // Wide enough for the three units pages' tabs side by side.
    resize(std::max(533, FUnitsPages->tabBar()->sizeHint().width() + 48), 300);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);
    // Below the pages, shown whichever page the dialog opens on.
    FLanguage = new QComboBox(this);
    for (const UiLanguage language : {l_English, l_Russian, l_Ukrainian})
        FLanguage->addItem(LanguageOwnName(language), int(language));
    FLanguage->setToolTip(QStringLiteral("The language of the radionuclide choosers, their dialogs and messages, "
                                         "and of the system's dialogs"));
    auto* languageLabel = new QLabel(QStringLiteral("&Language"), this);
    languageLabel->setBuddy(FLanguage);
    FAutoSave = new QCheckBox(QStringLiteral("&Save settings at exit"), this);
    FAutoSave->setToolTip(QStringLiteral("Units chosen in the views are kept for the next run too"));
    auto* foot = new QHBoxLayout;
    foot->addWidget(languageLabel);
    foot->addWidget(FLanguage);
    foot->addSpacing(24);
    foot->addWidget(FAutoSave);
    foot->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FMainPages, 1);
    layout->addLayout(foot);
    layout->addWidget(buttons);

    // Each box is named after the setting it holds.
    const std::pair<QWidget*, const char*> names[] = {{FBioassayDose, "DPUMDoseUnit"},
                                                      {FBioassayContent, "DPUMContentActivityUnit"},
                                                      {FBioassayIntake, "DPUMIntakeActivityUnit"},
                                                      {FBioassayTime, "DPUMTimeUnit"},
                                                      {FBioassayWholeDays, "DPUMIntDaysOnly"},
                                                      {FMixtureDose, "MixtureDoseUnit"},
                                                      {FMixtureActivity, "MixtureActivityUnit"},
                                                      {FMaterialsDose, "DPUIDosesUnit"},
                                                      {FMaterialsActivity, "DPUIActivityUnit"},
                                                      {FDataFolderEdit, "QVD"},
                                                      {FAutoSave, "AutoSave"},
                                                      {FLanguage, "Language"}};
    for (const auto& [box, name] : names) {
        box->setObjectName(QLatin1String(name));
        FSettingBoxes << box;
    }
    connect(FMainPages, &QTabWidget::currentChanged, this, [this] { NoteShownPage(); });
    connect(FUnitsPages, &QTabWidget::currentChanged, this, [this] { NoteShownPage(); });
    // A unit chosen in a box goes straight into the working copy.
    ProgramSettings& p = *FPreference;
    FBioassayDose->SetOnChange([this, &p] { p.SetBioassayDoseUnit(FBioassayDose->Value()); });
    FBioassayContent->SetOnChange([this, &p] { p.SetBioassayContentUnit(FBioassayContent->Value()); });
    FBioassayIntake->SetOnChange([this, &p] { p.SetBioassayIntakeUnit(FBioassayIntake->Value()); });
    FBioassayTime->SetOnChange([this, &p] { p.SetBioassayTimeUnit(FBioassayTime->Value()); });
    connect(FBioassayWholeDays, &QCheckBox::toggled, this, [&p](bool on) { p.SetBioassayWholeDays(on); });
    FMixtureDose->SetOnChange([this, &p] { p.SetMixtureDoseUnit(FMixtureDose->Value()); });
    FMixtureActivity->SetOnChange([this, &p] { p.SetMixtureActivityUnit(FMixtureActivity->Value()); });
    FMaterialsDose->SetOnChange([this, &p] { p.SetMaterialsDoseUnit(FMaterialsDose->Value()); });
    FMaterialsActivity->SetOnChange([this, &p] { p.SetMaterialsActivityUnit(FMaterialsActivity->Value()); });
    connect(FAutoSave, &QCheckBox::toggled, this, [&p](bool on) { p.SetAutoSave(on); });
    connect(FLanguage, &QComboBox::activated, this,
            [this, &p] { p.SetLanguage(static_cast<UiLanguage>(FLanguage->currentData().toInt())); });
}

void OptionsDialog::NoteShownPage()
{
    QWidget* page
        = FMainPages->currentWidget() == FUnitsPage ? FUnitsPages->currentWidget() : FMainPages->currentWidget();
    for (QWidget* box : std::as_const(FSettingBoxes))
        if (!FMainPages->isAncestorOf(box) || (page && page->isAncestorOf(box)))
            FConfirmedKeys.insert(box->objectName());
}

QStringList OptionsDialog::ConfirmedKeys() const
{
    QStringList keys(FConfirmedKeys.begin(), FConfirmedKeys.end());
    keys.sort();
    return keys;
}

QWidget* OptionsDialog::BuildFoldersPage()
{
    FFoldersPage = new QWidget;
    FMessage = new QLabel(FFoldersPage);
    FMessage->setWordWrap(true);
    FMessage->setStyleSheet(QStringLiteral("color: #C00000"));
    FDataFolderEdit = new QLineEdit(FFoldersPage);
    FDataFolderEdit->setReadOnly(true);
    auto* browse = new QToolButton(FFoldersPage);
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Browsing folder for Radionuclides data"));
    connect(browse, &QToolButton::clicked, this, [this] { BrowseDataFolder(); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(FDataFolderEdit, 1);
    folderRow->addWidget(browse);
    auto* foldersLayout = new QVBoxLayout(FFoldersPage);
    foldersLayout->addWidget(FMessage);
    foldersLayout->addWidget(new QLabel(QStringLiteral("Radionuclides data"), FFoldersPage));
    foldersLayout->addLayout(folderRow);
    foldersLayout->addStretch(1);
    return FFoldersPage;
}

QWidget* OptionsDialog::BuildUnitsPage()
{
    auto doseBox = [](QWidget* p) {
        auto* b = new DoseUnitComboBox(p);
        b->SetEnabledDoseUnits(kDoseUnits);
        return b;
    };
    auto activityBox = [](QWidget* p) {
        auto* b = new ActivityUnitComboBox(p);
        b->SetEnabledActivityUnits(kActivityUnits);
        return b;
    };
    auto* dpumPage = new QWidget;
    auto* dpumGroup = new QGroupBox(QStringLiteral("Units"), dpumPage);
    auto* dpumForm = new QFormLayout(dpumGroup);
    // A unit box as wide as its units, not as the page.
    dpumForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    FBioassayDose = doseBox(dpumGroup);
    FBioassayContent = activityBox(dpumGroup);
    FBioassayIntake = activityBox(dpumGroup);
    FBioassayTime = new TimeUnitComboBox(dpumGroup);
    FBioassayTime->SetEnabledTimeUnits(kTimeUnits);
    FBioassayTime->SetUseLongNames(true); // year, day, hour
    dpumForm->addRow(QStringLiteral("Doses"), FBioassayDose);
    dpumForm->addRow(QStringLiteral("Content activity"), FBioassayContent);
    dpumForm->addRow(QStringLiteral("Intake activity"), FBioassayIntake);
    dpumForm->addRow(QStringLiteral("Time"), FBioassayTime);
    FBioassayWholeDays = new QCheckBox(QStringLiteral("Exclude fractional day values"), dpumPage);
    auto* dpumLayout = new QVBoxLayout(dpumPage);
    dpumLayout->addWidget(dpumGroup);
    dpumLayout->addWidget(FBioassayWholeDays);
    dpumLayout->addStretch(1);

    auto pairPage = [&](DoseUnitComboBox*& dose, ActivityUnitComboBox*& activity) {
        auto* page = new QWidget;
        auto* form = new QFormLayout(page);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        dose = doseBox(page);
        activity = activityBox(page);
        form->addRow(QStringLiteral("Dose"), dose);
        form->addRow(QStringLiteral("Activity"), activity);
        return page;
    };
    FUnitsPage = new QWidget;
    FUnitsPages = new QTabWidget(FUnitsPage);
    FUnitsPages->addTab(dpumPage, QStringLiteral("   'Doses per unit measurement' page   "));
    FUnitsPages->addTab(pairPage(FMixtureDose, FMixtureActivity), QStringLiteral("   'Mixture' page   "));
    FUnitsPages->addTab(pairPage(FMaterialsDose, FMaterialsActivity), QStringLiteral("   'Organ doses' page   "));
    auto* restore = new QPushButton(QStringLiteral("Restore default values"), FUnitsPage);
    connect(restore, &QPushButton::clicked, this, [this] { RestoreDefaultValues(); });
    auto* unitsLayout = new QVBoxLayout(FUnitsPage);
    unitsLayout->addWidget(FUnitsPages, 1);
    unitsLayout->addWidget(restore, 0, Qt::AlignLeft);
    return FUnitsPage;
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::ShowSettings()
{
    const ProgramSettings& p = *FPreference;
    FBioassayDose->SetValue(p.BioassayDoseUnit());
    FBioassayContent->SetValue(p.BioassayContentUnit());
    FBioassayIntake->SetValue(p.BioassayIntakeUnit());
    FBioassayTime->SetValue(p.BioassayTimeUnit());
    for (QCheckBox* box : {FBioassayWholeDays, FAutoSave}) {
        const QSignalBlocker blocker(box);
        box->setChecked(box == FAutoSave ? p.AutoSave() : p.BioassayWholeDays());
    }
    FLanguage->setCurrentIndex(FLanguage->findData(int(p.Language())));
    FMixtureDose->SetValue(p.MixtureDoseUnit());
    FMixtureActivity->SetValue(p.MixtureActivityUnit());
    FMaterialsDose->SetValue(p.MaterialsDoseUnit());
    FMaterialsActivity->SetValue(p.MaterialsActivityUnit());
}

void OptionsDialog::Load(const ProgramSettings& preference, OptionsPage options)
{
    FOptions = options;
    FPreference->Assign(preference);
    FDataFolderEdit->setText(FPreference->DataFolderPath());
    ShowSettings();
    switch (options) {
    case poDataFolder:
        FMessage->setText(NoDataFilesMessage);
        FMainPages->removeTab(FMainPages->indexOf(FUnitsPage));
        FMainPages->setCurrentWidget(FFoldersPage);
        break;
    case poMixtureUnits:
    case poMaterialsUnits:
    case poBioassayUnits:
        FMainPages->removeTab(FMainPages->indexOf(FFoldersPage));
        FMainPages->setCurrentWidget(FUnitsPage);
        // Each view's page set shows that view's units page.
        FUnitsPages->setCurrentIndex(options == poBioassayUnits ? 0 : options == poMixtureUnits ? 1 : 2);
        break;
    case poGeneral:
        FMainPages->setCurrentIndex(FRemembered.Main);
        FUnitsPages->setCurrentIndex(FRemembered.Units);
        break;
    }
    // Only the page the dialog opens on has been seen, not those passed on the way to it.
    FConfirmedKeys.clear();
    NoteShownPage();
}

void OptionsDialog::BrowseDataFolder()
{
    const QString chosen = BrowseFolder(FPreference->DataFolderPath());
    if (chosen.isEmpty())
        return;
    if (DoseDataFolder(chosen).HoldsDataFiles()) {
        FMessage->clear();
    } else if (FPreference->DataFolder().HoldsDataFiles()) {
        // A folder without data files would leave every view empty: the one in use stays.
        FMessage->setText(
            QStringLiteral("%1 holds no data files (*.qvd): the data folder stays %2.")
                .arg(QDir::toNativeSeparators(chosen), QDir::toNativeSeparators(FPreference->DataFolderPath())));
        return;
    } else {
        FMessage->setText(NoDataFilesMessage);
    }
    FPreference->SetDataFolderPath(chosen);
    FDataFolderEdit->setText(FPreference->DataFolderPath());
}

void OptionsDialog::RestoreDefaultValues()
{
    FPreference->RestoreDefaultValues();
    ShowSettings();
    // The defaults go to every units page, seen or not: the user asked for all of them.
    for (QWidget* box : std::as_const(FSettingBoxes))
        if (FUnitsPage->isAncestorOf(box))
            FConfirmedKeys.insert(box->objectName());
}

void OptionsDialog::accept()
{
    if (FMainPages->indexOf(FFoldersPage) >= 0) {
        if (!QFileInfo(FPreference->DataFolderPath()).isDir()) {
            FMainPages->setCurrentWidget(FFoldersPage);
            FDataFolderEdit->setFocus();
            return;
        }
        // A folder without data files cannot be taken; the message above says what is wanted.
        if (!FPreference->DataFolder().HoldsDataFiles())
            return;
    }
    QDialog::accept();
}

void OptionsDialog::done(int result)
{
    if (FOptions == poGeneral) {
        FRemembered.Main = FMainPages->currentIndex();
        FRemembered.Units = FUnitsPages->currentIndex();
    }
    QDialog::done(result);
}

std::optional<QStringList> ExecuteOptionsDialog(ProgramSettings& preference, OptionsPage options,
                                                OptionsPages& remembered, QWidget* parent)
{
    OptionsDialog dialog(preference.Locations(), remembered, parent);
    dialog.Load(preference, options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    preference.Assign(dialog.Preference());
    return dialog.ConfirmedKeys();
}

} // namespace kav
