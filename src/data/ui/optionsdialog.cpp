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

const DoseUnits kDoseUnits{DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv};
const ActivityUnits kActivityUnits{ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq, ActivityUnit::MBq};
const TimeUnits kTimeUnits{TimeUnit::Year, TimeUnit::Day, TimeUnit::Hour};

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
    , browseFolder([this](const QString& start) { return defaultBrowse(this, start); })
    , m_remembered(remembered)
    , m_preference(ProgramSettings::withDefaults(locations)) // Load fills it from the caller's
{
    setWindowTitle(QStringLiteral("Options"));
    m_mainPages = new QTabWidget(this);
    m_mainPages->addTab(buildFoldersPage(), QStringLiteral("Folders"));
    m_mainPages->addTab(buildUnitsPage(), QStringLiteral("Units"));
    // Wide enough for the three units pages' tabs side by side.
    resize(std::max(533, m_unitsPages->tabBar()->sizeHint().width() + 48), 300);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);
    // Below the pages, shown whichever page the dialog opens on.
    m_language = new QComboBox(this);
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Russian, UiLanguage::Ukrainian})
        m_language->addItem(languageOwnName(language), int(language));
    m_language->setToolTip(QStringLiteral("The language of the radionuclide choosers, their dialogs and messages, "
                                          "and of the system's dialogs"));
    auto* languageLabel = new QLabel(QStringLiteral("&Language"), this);
    languageLabel->setBuddy(m_language);
    m_autoSave = new QCheckBox(QStringLiteral("&Save settings at exit"), this);
    m_autoSave->setToolTip(QStringLiteral("Units chosen in the views are kept for the next run too"));
    auto* foot = new QHBoxLayout;
    foot->addWidget(languageLabel);
    foot->addWidget(m_language);
    foot->addSpacing(24);
    foot->addWidget(m_autoSave);
    foot->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_mainPages, 1);
    layout->addLayout(foot);
    layout->addWidget(buttons);

    // Each box is named after the setting it holds.
    const std::pair<QWidget*, const char*> names[] = {{m_bioassayDose, "DPUMDoseUnit"},
                                                      {m_bioassayContent, "DPUMContentActivityUnit"},
                                                      {m_bioassayIntake, "DPUMIntakeActivityUnit"},
                                                      {m_bioassayTime, "DPUMTimeUnit"},
                                                      {m_bioassayWholeDays, "DPUMIntDaysOnly"},
                                                      {m_mixtureDose, "MixtureDoseUnit"},
                                                      {m_mixtureActivity, "MixtureActivityUnit"},
                                                      {m_materialsDose, "DPUIDosesUnit"},
                                                      {m_materialsActivity, "DPUIActivityUnit"},
                                                      {m_dataFolderEdit, "QVD"},
                                                      {m_autoSave, "AutoSave"},
                                                      {m_language, "Language"}};
    for (const auto& [box, name] : names) {
        box->setObjectName(QLatin1String(name));
        m_settingBoxes << box;
    }
    connect(m_mainPages, &QTabWidget::currentChanged, this, [this] { noteShownPage(); });
    connect(m_unitsPages, &QTabWidget::currentChanged, this, [this] { noteShownPage(); });
    // A unit chosen in a box goes straight into the working copy.
    ProgramSettings& p = *m_preference;
    m_bioassayDose->setOnChange([this, &p] { p.setBioassayDoseUnit(m_bioassayDose->value()); });
    m_bioassayContent->setOnChange([this, &p] { p.setBioassayContentUnit(m_bioassayContent->value()); });
    m_bioassayIntake->setOnChange([this, &p] { p.setBioassayIntakeUnit(m_bioassayIntake->value()); });
    m_bioassayTime->setOnChange([this, &p] { p.setBioassayTimeUnit(m_bioassayTime->value()); });
    connect(m_bioassayWholeDays, &QCheckBox::toggled, this, [&p](bool on) { p.setBioassayWholeDays(on); });
    m_mixtureDose->setOnChange([this, &p] { p.setMixtureDoseUnit(m_mixtureDose->value()); });
    m_mixtureActivity->setOnChange([this, &p] { p.setMixtureActivityUnit(m_mixtureActivity->value()); });
    m_materialsDose->setOnChange([this, &p] { p.setMaterialsDoseUnit(m_materialsDose->value()); });
    m_materialsActivity->setOnChange([this, &p] { p.setMaterialsActivityUnit(m_materialsActivity->value()); });
    connect(m_autoSave, &QCheckBox::toggled, this, [&p](bool on) { p.setAutoSave(on); });
    connect(m_language, &QComboBox::activated, this,
            [this, &p] { p.setLanguage(static_cast<UiLanguage>(m_language->currentData().toInt())); });
}

void OptionsDialog::noteShownPage()
{
    QWidget* page
        = m_mainPages->currentWidget() == m_unitsPage ? m_unitsPages->currentWidget() : m_mainPages->currentWidget();
    for (QWidget* box : std::as_const(m_settingBoxes))
        if (!m_mainPages->isAncestorOf(box) || (page && page->isAncestorOf(box)))
            m_confirmedKeys.insert(box->objectName());
}

QStringList OptionsDialog::confirmedKeys() const
{
    QStringList keys(m_confirmedKeys.begin(), m_confirmedKeys.end());
    keys.sort();
    return keys;
}

QWidget* OptionsDialog::buildFoldersPage()
{
    m_foldersPage = new QWidget;
    m_message = new QLabel(m_foldersPage);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #C00000"));
    m_dataFolderEdit = new QLineEdit(m_foldersPage);
    m_dataFolderEdit->setReadOnly(true);
    auto* browse = new QToolButton(m_foldersPage);
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Browsing folder for Radionuclides data"));
    connect(browse, &QToolButton::clicked, this, [this] { browseDataFolder(); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_dataFolderEdit, 1);
    folderRow->addWidget(browse);
    auto* foldersLayout = new QVBoxLayout(m_foldersPage);
    foldersLayout->addWidget(m_message);
    foldersLayout->addWidget(new QLabel(QStringLiteral("Radionuclides data"), m_foldersPage));
    foldersLayout->addLayout(folderRow);
    foldersLayout->addStretch(1);
    return m_foldersPage;
}

QWidget* OptionsDialog::buildUnitsPage()
{
    auto doseBox = [](QWidget* p) {
        auto* b = new DoseUnitComboBox(p);
        b->setEnabledDoseUnits(kDoseUnits);
        return b;
    };
    auto activityBox = [](QWidget* p) {
        auto* b = new ActivityUnitComboBox(p);
        b->setEnabledActivityUnits(kActivityUnits);
        return b;
    };
    auto* dpumPage = new QWidget;
    auto* dpumGroup = new QGroupBox(QStringLiteral("Units"), dpumPage);
    auto* dpumForm = new QFormLayout(dpumGroup);
    // A unit box as wide as its units, not as the page.
    dpumForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_bioassayDose = doseBox(dpumGroup);
    m_bioassayContent = activityBox(dpumGroup);
    m_bioassayIntake = activityBox(dpumGroup);
    m_bioassayTime = new TimeUnitComboBox(dpumGroup);
    m_bioassayTime->setEnabledTimeUnits(kTimeUnits);
    m_bioassayTime->setUseLongNames(true); // year, day, hour
    dpumForm->addRow(QStringLiteral("Doses"), m_bioassayDose);
    dpumForm->addRow(QStringLiteral("Content activity"), m_bioassayContent);
    dpumForm->addRow(QStringLiteral("Intake activity"), m_bioassayIntake);
    dpumForm->addRow(QStringLiteral("Time"), m_bioassayTime);
    m_bioassayWholeDays = new QCheckBox(QStringLiteral("Exclude fractional day values"), dpumPage);
    auto* dpumLayout = new QVBoxLayout(dpumPage);
    dpumLayout->addWidget(dpumGroup);
    dpumLayout->addWidget(m_bioassayWholeDays);
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
    m_unitsPage = new QWidget;
    m_unitsPages = new QTabWidget(m_unitsPage);
    m_unitsPages->addTab(dpumPage, QStringLiteral("   'Doses per unit measurement' page   "));
    m_unitsPages->addTab(pairPage(m_mixtureDose, m_mixtureActivity), QStringLiteral("   'Mixture' page   "));
    m_unitsPages->addTab(pairPage(m_materialsDose, m_materialsActivity), QStringLiteral("   'Organ doses' page   "));
    auto* restore = new QPushButton(QStringLiteral("Restore default values"), m_unitsPage);
    connect(restore, &QPushButton::clicked, this, [this] { restoreDefaultValues(); });
    auto* unitsLayout = new QVBoxLayout(m_unitsPage);
    unitsLayout->addWidget(m_unitsPages, 1);
    unitsLayout->addWidget(restore, 0, Qt::AlignLeft);
    return m_unitsPage;
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::showSettings()
{
    const ProgramSettings& p = *m_preference;
    m_bioassayDose->setValue(p.bioassayDoseUnit());
    m_bioassayContent->setValue(p.bioassayContentUnit());
    m_bioassayIntake->setValue(p.bioassayIntakeUnit());
    m_bioassayTime->setValue(p.bioassayTimeUnit());
    for (QCheckBox* box : {m_bioassayWholeDays, m_autoSave}) {
        const QSignalBlocker blocker(box);
        box->setChecked(box == m_autoSave ? p.autoSave() : p.bioassayWholeDays());
    }
    m_language->setCurrentIndex(m_language->findData(int(p.language())));
    m_mixtureDose->setValue(p.mixtureDoseUnit());
    m_mixtureActivity->setValue(p.mixtureActivityUnit());
    m_materialsDose->setValue(p.materialsDoseUnit());
    m_materialsActivity->setValue(p.materialsActivityUnit());
}

void OptionsDialog::load(const ProgramSettings& preference, OptionsPage options)
{
    m_options = options;
    m_preference->assign(preference);
    m_dataFolderEdit->setText(m_preference->dataFolderPath());
    showSettings();
    switch (options) {
    case OptionsPage::DataFolder:
        m_message->setText(NoDataFilesMessage);
        m_mainPages->removeTab(m_mainPages->indexOf(m_unitsPage));
        m_mainPages->setCurrentWidget(m_foldersPage);
        break;
    case OptionsPage::MixtureUnits:
    case OptionsPage::MaterialsUnits:
    case OptionsPage::BioassayUnits:
        m_mainPages->removeTab(m_mainPages->indexOf(m_foldersPage));
        m_mainPages->setCurrentWidget(m_unitsPage);
        // Each view's page set shows that view's units page.
        m_unitsPages->setCurrentIndex(options == OptionsPage::BioassayUnits      ? 0
                                          : options == OptionsPage::MixtureUnits ? 1
                                                                                 : 2);
        break;
    case OptionsPage::General:
        m_mainPages->setCurrentIndex(m_remembered.main);
        m_unitsPages->setCurrentIndex(m_remembered.units);
        break;
    }
    // Only the page the dialog opens on has been seen, not those passed on the way to it.
    m_confirmedKeys.clear();
    noteShownPage();
}

void OptionsDialog::browseDataFolder()
{
    const QString chosen = browseFolder(m_preference->dataFolderPath());
    if (chosen.isEmpty())
        return;
    if (DoseDataFolder(chosen).holdsDataFiles()) {
        m_message->clear();
    } else if (m_preference->dataFolder().holdsDataFiles()) {
        // A folder without data files would leave every view empty: the one in use stays.
        m_message->setText(
            QStringLiteral("%1 holds no data files (*.qvd): the data folder stays %2.")
                .arg(QDir::toNativeSeparators(chosen), QDir::toNativeSeparators(m_preference->dataFolderPath())));
        return;
    } else {
        m_message->setText(NoDataFilesMessage);
    }
    m_preference->setDataFolderPath(chosen);
    m_dataFolderEdit->setText(m_preference->dataFolderPath());
}

void OptionsDialog::restoreDefaultValues()
{
    m_preference->restoreDefaultValues();
    showSettings();
    // The defaults go to every units page, seen or not: the user asked for all of them.
    for (QWidget* box : std::as_const(m_settingBoxes))
        if (m_unitsPage->isAncestorOf(box))
            m_confirmedKeys.insert(box->objectName());
}

void OptionsDialog::accept()
{
    if (m_mainPages->indexOf(m_foldersPage) >= 0) {
        if (!QFileInfo(m_preference->dataFolderPath()).isDir()) {
            m_mainPages->setCurrentWidget(m_foldersPage);
            m_dataFolderEdit->setFocus();
            return;
        }
        // A folder without data files cannot be taken; the message above says what is wanted.
        if (!m_preference->dataFolder().holdsDataFiles())
            return;
    }
    QDialog::accept();
}

void OptionsDialog::done(int result)
{
    if (m_options == OptionsPage::General) {
        m_remembered.main = m_mainPages->currentIndex();
        m_remembered.units = m_unitsPages->currentIndex();
    }
    QDialog::done(result);
}

std::optional<QStringList> executeOptionsDialog(ProgramSettings& preference, OptionsPage options,
                                                OptionsPages& remembered, QWidget* parent)
{
    OptionsDialog dialog(preference.locations(), remembered, parent);
    dialog.load(preference, options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    preference.assign(dialog.preference());
    return dialog.confirmedKeys();
}

} // namespace kav
