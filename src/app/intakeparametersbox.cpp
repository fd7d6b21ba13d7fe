#include "app/intakeparametersbox.h"

#include "app/helpwindow.h"
#include "app/materialsview.h"
#include "app/materialtext.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/inputcolours.h"
#include "data/applicationcontext.h"
#include "data/bioassaydata.h"
#include "data/vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace kav {

IntakeParametersBox::IntakeParametersBox(ApplicationContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Intake Parameters"), parent)
    , m_context(context)
{
    m_chooser = new NuclideChooser(m_context.index(), m_context.spectra(), m_context.boxes(), this);
    m_chooser->setObjectName(QStringLiteral("intakeChooser"));
    m_followingChooser
        = m_chooser->selection().nuclideChosen.connect([this](const NuclideIdentity& rnx) { loadNuclide(rnx); });
    m_loader.emplace(*m_chooser, m_context.boxes());

    m_routeBox = new QComboBox(this);
    m_routeBox->setObjectName(QStringLiteral("routeBox"));
    m_routeBox->addItems(intakePathNames());
    m_routeBox->setCurrentIndex(static_cast<int>(IntakeRoute::Inhalation));
    m_materialBox = new MaterialComboBox(this);
    m_materialBox->setObjectName(QStringLiteral("materialBox"));
    setMaterialWidth(30);
    m_sizeBox = new QComboBox(this);
    m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
    m_sizeBox->setMaxVisibleItems(AMADCount);
    m_sizeBox->setToolTip(MaterialsView::AMADHint);
    for (QComboBox* box : {m_routeBox, m_materialBox, m_sizeBox, m_chooser->elementBox(), m_chooser->aMassBox(),
                           m_chooser->nuclideBox()})
        applyInputColours(box);
    connect(m_routeBox, &QComboBox::currentIndexChanged, this, [this] {
        fillMaterials();
        notifyChanged();
    });
    connect(m_materialBox, &QComboBox::currentIndexChanged, this, [this] {
        fillSizes();
        notifyChanged();
    });
    connect(m_sizeBox, &QComboBox::currentIndexChanged, this, [this] { notifyChanged(); });

    m_sizeLabel = new QLabel(QString::fromUtf16(u"AM&TD/AMAD, \u00B5m"), this);
    m_sizeLabel->setBuddy(m_sizeBox);
    m_sizeLabel->setToolTip(MaterialsView::AMADHint);
    auto* grid = new QGridLayout(this);
    // The labels' underlined letters take the keys to their boxes.
    const auto label = [this](const QString& text, QWidget* box) {
        auto* l = new QLabel(text, this);
        l->setBuddy(box);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Radionuclide"), m_chooser->elementBox()), 0, 0);
    grid->addWidget(m_chooser, 0, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Route of &Intake"), m_routeBox), 1, 0);
    grid->addWidget(m_routeBox, 1, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Mat&erial"), m_materialBox), 2, 0);
    grid->addWidget(m_materialBox, 2, 1);
    grid->addWidget(m_sizeLabel, 3, 0);
    grid->addWidget(m_sizeBox, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    fillSizes();
}

void IntakeParametersBox::setMaterialWidth(int characters)
{
    m_materialBox->setMinimumContentsLength(characters);
}

void IntakeParametersBox::loadNuclide(const NuclideIdentity& rnx)
{
    if (!m_bioassayData || rnx.element == ChemicalElement::None)
        return;
    m_loader->load(m_context.settings().dataFolder(), *m_bioassayData, rnx, [this] {
        fillMaterials();
        if (nuclideLoaded)
            nuclideLoaded();
        notifyChanged();
    });
}

void IntakeParametersBox::chooseLike(const IntakeParametersBox& other)
{
    const NuclideIdentity* rnx = other.m_chooser->selection().chosenIdentity();
    if (!rnx || !m_bioassayData)
        return;
    m_chooser->selection().setElementAndAMass(rnx->element, rnx->mass);
    // A chooser not yet shown reports its nuclide only when it is: the data are loaded here.
    if (!m_bioassayData->isLoaded() || m_bioassayData->nuclideNameText() != other.nuclideText())
        loadNuclide(*rnx);
    m_routeBox->setCurrentIndex(other.m_routeBox->currentIndex());
    // A box whose materials were never filled has none to give.
    if (other.m_materialBox->currentIndex() < 0 || other.m_materialBox->count() != m_materialBox->count())
        return;
    m_materialBox->setCurrentIndex(other.m_materialBox->currentIndex());
    m_sizeBox->setCurrentIndex(other.m_sizeBox->currentIndex());
}

void IntakeParametersBox::notifyChanged()
{
    if (changed)
        changed();
}

void IntakeParametersBox::fillMaterials()
{
    {
        const QSignalBlocker blocker(m_materialBox);
        m_materialBox->clear();
        QStringList materials;
        if (m_bioassayData)
            m_bioassayData->getCompoundsList(route(), materials);
        // A material without a text (an injection, as a rule) shows "-"; a route without one
        // says so in the empty box.
        for (QString& material : materials)
            if (material.isEmpty())
                material = QStringLiteral("-");
        m_materialBox->setPlaceholderText(QStringLiteral("no material for this route"));
        m_materialBox->addItems(materials);
        m_materialBox->setCurrentIndex(materials.isEmpty() ? -1 : 0);
    }
    fillSizes();
}

void IntakeParametersBox::fillSizes()
{
    const QSignalBlocker blocker(m_sizeBox);
    m_sizeBox->clear();
    const bool aerosol = route() == IntakeRoute::Inhalation && m_bioassayData
        && m_bioassayData->isAerosol(m_materialBox->currentIndex());
    if (aerosol) {
        m_sizeBox->addItems(amadLabels());
        m_sizeBox->setCurrentIndex(DefaultAMADIndex);
    } else {
        m_sizeBox->addItem(QStringLiteral("-"));
        m_sizeBox->setCurrentIndex(0);
    }
    // The sizes stand in the middle of their list too.
    for (int i = 0; i < m_sizeBox->count(); ++i)
        m_sizeBox->setItemData(i, Qt::AlignCenter, Qt::TextAlignmentRole);
}

IntakeRoute IntakeParametersBox::route() const
{
    return static_cast<IntakeRoute>(std::max(m_routeBox->currentIndex(), 0));
}

int IntakeParametersBox::material() const
{
    return m_materialBox->currentIndex();
}

int IntakeParametersBox::amadIndex() const
{
    return m_sizeBox->count() == AMADCount ? m_sizeBox->currentIndex() : 0;
}

QString IntakeParametersBox::routeText() const
{
    return m_routeBox->currentText();
}

QString IntakeParametersBox::materialText() const
{
    return m_materialBox->currentText();
}

QString IntakeParametersBox::sizeText() const
{
    return m_sizeBox->currentText();
}

QString IntakeParametersBox::nuclideText() const
{
    return m_bioassayData && m_bioassayData->isLoaded() ? m_bioassayData->nuclideNameText()
                                                        : m_chooser->selection().name();
}

} // namespace kav
