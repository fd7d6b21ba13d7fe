#include "chooser/ui/criteriapages.h"

#include "chooser/ui/filtercontrols.h"
#include "controls/inputcolours.h"
#include "controls/numberedit.h"
#include "nuclides/nuclidenames.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>

namespace kav {

namespace {

// The spectrum criteria as the grid shows them: caption, and what it means for the tip.
struct CriterionCaption {
    const char16_t* caption;
    const char* tip;
};
const CriterionCaption kCriteria[SpectrumCriterionCount] = {
    {u"Δ", "Energy per decay of alpha, beta-group and photon-group radiation, MeV"},
    {u"Δ<sub>α</sub>", "Energy per decay of alpha particles, MeV"},
    {u"Δ<sub>β</sub>", "Energy per decay of beta particles and electrons, MeV"},
    {u"Δ<sub>γ</sub>", "Energy per decay of gamma and X-rays and annihilation photons, MeV"},
    {u"Δ<sub>SF</sub>", "Energy per decay of spontaneous-fission fragments and neutrons, MeV"},
    {u"χ<sub>α</sub>, %", "Share of alpha energy (weighted 20) in the dose constant, %"},
    {u"χ<sub>β</sub>, %", "Share of beta energy in the dose constant, %"},
    {u"χ<sub>γ</sub>, %", "Share of photon energy in the dose constant, %"},
    {u"χ<sub>SF</sub>, %", "Share of decays that are spontaneous fissions, %"},
    {u"E<sub>α,i</sub>", "Energy of an alpha line, MeV"},
    {u"E<sub>β,i</sub>", "Energy of a beta-group line, MeV"},
    {u"E<sub>γ,i</sub>", "Energy of a photon line, MeV"},
    {u"Δ<sub>α,i</sub>", "Energy per decay of an alpha line, MeV"},
    {u"Δ<sub>β,i</sub>", "Energy per decay of a beta-group line, MeV"},
    {u"Δ<sub>γ,i</sub>", "Energy per decay of a photon line, MeV"},
};

// The stored bound of an option as the grid shows it, and back.
double shownBound(SpectrumCriterion option, float stored)
{
    // In single precision, so that a stored 0.2 shows as 20, not 20.0000003.
    return isFractionOption(option) ? static_cast<double>(stored * 100.0f) : stored;
}
float storedBound(SpectrumCriterion option, double shown)
{
    return static_cast<float>(isFractionOption(option) ? shown / 100 : shown);
}

// The criteria grid: a row of 18 pixels for each option, lines between the cells.
class CriteriaGrid : public QWidget {
public:
    using QWidget::QWidget;
    static constexpr int RowHeight = 18;
    std::array<int, 3> columnRights{};

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(0xC0, 0xC0, 0xC0));
        for (int r = 1; r <= SpectrumCriterionCount; ++r)
            p.drawLine(0, r * (RowHeight + 1) - 1, width(), r * (RowHeight + 1) - 1);
        for (int x : columnRights)
            p.drawLine(x, 0, x, height());
    }
};

} // namespace

CriteriaPage::CriteriaPage(CriteriaEditor& editor)
    : m_editor(editor)
{
}

void CriteriaPage::showQuietly(const std::function<void()>& show)
{
    const bool wasShowing = std::exchange(m_showing, true);
    show();
    m_showing = wasShowing;
}

void CriteriaPage::write(const std::function<void()>& change)
{
    if (!quiet())
        m_editor.writeFilter(change);
}

void CriteriaPage::switchFilterOnIf(bool on)
{
    if (on && !quiet())
        m_editor.switchFilterOn();
}

void CriteriaPage::switchOn(QCheckBox* box)
{
    if (quiet())
        return;
    if (!box->isChecked())
        box->setChecked(true);
    m_editor.switchFilterOn();
}

// Atomic mass

MassPage::MassPage(CriteriaEditor& editor)
    : CriteriaPage(editor)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 12, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Enabled"), this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Atomic mass"), this), 0, 2, Qt::AlignHCenter);
    for (bool max : {false, true}) {
        End& end = m_ends[max];
        grid->addWidget(new QLabel(max ? QStringLiteral("Max") : QStringLiteral("Min"), this), max ? 2 : 1, 0);
        end.enabled = new QCheckBox(this);
        end.enabled->setObjectName(max ? QStringLiteral("massMaxEnabled") : QStringLiteral("massMinEnabled"));
        end.value = new IntegerEdit(this);
        end.value->setObjectName(max ? QStringLiteral("massMax") : QStringLiteral("massMin"));
        end.value->setMinValue(MassNumberFilter::Lowest);
        end.value->setMaxValue(MassNumberFilter::Highest);
        end.value->setMinValueEnabled(true);
        end.value->setMaxValueEnabled(true);
        end.value->setShowMessages(false);
        end.value->setFixedWidth(90);
        applyInputColours(end.value);
        grid->addWidget(end.enabled, max ? 2 : 1, 1, Qt::AlignHCenter);
        grid->addWidget(end.value, max ? 2 : 1, 2);
        connect(end.enabled, &QCheckBox::toggled, this, [this, max](bool on) {
            write([&] { max ? filter().aMass().setMaxEnabled(on) : filter().aMass().setMinEnabled(on); });
            switchFilterOnIf(on);
        });
        end.value->onChange = [this, max] {
            if (quiet())
                return;
            const int value = m_ends[max].value->value();
            write([&] { max ? filter().aMass().setMaxValue(value) : filter().aMass().setMinValue(value); });
            switchOn(m_ends[max].enabled);
        };
    }
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
}

void MassPage::showCriteria()
{
    showQuietly([this] {
        const MassNumberFilter& mass = filter().aMass();
        m_ends[false].enabled->setChecked(mass.minEnabled());
        m_ends[true].enabled->setChecked(mass.maxEnabled());
        m_ends[false].value->setValue(mass.minValue());
        m_ends[true].value->setValue(mass.maxValue());
    });
}

// Decay chain

DecayChainPage::DecayChainPage(CriteriaEditor& editor)
    : CriteriaPage(editor)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    const QStringList counts{"0", "1", "2", "3", "4"};
    for (bool daughters : {false, true}) {
        auto* group = new QGroupBox(daughters ? QStringLiteral("Daughters") : QStringLiteral("Ancestors"), this);
        auto* g = new QHBoxLayout(group);
        Part& part = m_parts[daughters];
        part.enabled = new QCheckBox(QStringLiteral("Enabled"), group);
        part.enabled->setObjectName(daughters ? QStringLiteral("daughtersEnabled")
                                              : QStringLiteral("ancestorsEnabled"));
        part.enabled->setStyleSheet(navyWhenChecked());
        part.counts = makeCheckList(counts, 2, group);
        part.counts->setObjectName(daughters ? QStringLiteral("daughterCounts") : QStringLiteral("ancestorCounts"));
        part.counts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        part.counts->setFixedHeight(3 * 20 + 6);
        g->addWidget(part.enabled, 0, Qt::AlignTop);
        g->addWidget(part.counts, 1);
        layout->addWidget(group);
        connect(part.enabled, &QCheckBox::toggled, this, [this, daughters](bool on) {
            write([&] { countFilter(daughters).setEnabled(on); });
            switchFilterOnIf(on);
        });
        connect(part.counts, &QListWidget::itemChanged, this, [this, daughters] {
            if (quiet())
                return;
            RelativesCountSet set;
            for (int c = 0; c < 5; ++c)
                if (isItemChecked(m_parts[daughters].counts, c))
                    set.insert(static_cast<RelativesCount>(c));
            write([&] { countFilter(daughters).setCountSet(set); });
            switchOn(m_parts[daughters].enabled);
        });
    }
    layout->addStretch(1);
}

RelativesCountFilter& DecayChainPage::countFilter(bool daughters)
{
    return daughters ? static_cast<RelativesCountFilter&>(filter().daughters()) : filter().ancestors();
}

void DecayChainPage::showCriteria()
{
    showQuietly([this] {
        for (bool daughters : {false, true}) {
            const RelativesCountFilter& counts = countFilter(daughters);
            m_parts[daughters].enabled->setChecked(counts.enabled());
            for (int c = 0; c < 5; ++c)
                setItemChecked(m_parts[daughters].counts, c,
                               counts.countSet().contains(static_cast<RelativesCount>(c)));
        }
    });
}

// Mode of decay

DecayModePage::DecayModePage(CriteriaEditor& editor)
    : CriteriaPage(editor)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    m_enabled = new QCheckBox(QStringLiteral("Enabled"), this);
    m_enabled->setObjectName(QStringLiteral("decayEnabled"));
    m_enabled->setStyleSheet(navyWhenChecked());
    auto* operation = new QGroupBox(QStringLiteral("Operation"), this);
    auto* ops = new QHBoxLayout(operation);
    ops->setContentsMargins(6, 2, 6, 2);
    m_operation = new QButtonGroup(this);
    for (auto [text, op] : {std::pair{"Or", DecayModeMatch::Any}, std::pair{"And", DecayModeMatch::All}}) {
        auto* button = new QRadioButton(QString::fromLatin1(text), operation);
        m_operation->addButton(button, static_cast<int>(op));
        ops->addWidget(button);
    }
    top->addWidget(m_enabled);
    top->addWidget(operation, 1);
    layout->addLayout(top);
    auto* lists = new QHBoxLayout;
    m_modes = makeCheckList({QStringLiteral("Alpha"), QStringLiteral("Beta \u2014"), QStringLiteral("Beta +"),
                             QStringLiteral("IT"), QStringLiteral("SF")},
                            1, this);
    m_modes->setObjectName(QStringLiteral("decayModes"));
    m_onlyModes = makeCheckList({QStringLiteral("Alpha only"), QStringLiteral("Beta \u2014  only"),
                                 QStringLiteral("Beta +  only"), QStringLiteral("IT only")},
                                1, this);
    m_onlyModes->setObjectName(QStringLiteral("onlyDecayModes"));
    lists->addWidget(m_modes);
    lists->addWidget(m_onlyModes);
    layout->addLayout(lists, 1);

    connect(m_enabled, &QCheckBox::toggled, this, [this](bool on) {
        write([&] { filter().decay().setEnabled(on); });
        switchFilterOnIf(on);
    });
    connect(m_operation, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || quiet())
            return;
        write([&] { filter().decay().setOperation(static_cast<DecayModeMatch>(id)); });
        showModes();
        switchOn(m_enabled);
    });
    connect(m_modes, &QListWidget::itemChanged, this, [this] { writeModes(); });
    connect(m_onlyModes, &QListWidget::itemChanged, this, [this] { writeModes(); });
}

QRadioButton* DecayModePage::operationButton(DecayModeMatch operation) const
{
    return static_cast<QRadioButton*>(m_operation->button(static_cast<int>(operation)));
}

void DecayModePage::writeModes()
{
    if (quiet())
        return;
    DecayModeFilter& decay = filter().decay();
    if (decay.operation() == DecayModeMatch::All) {
        DecayModesAllOf set;
        for (int m = 0; m < 5; ++m)
            if (isItemChecked(m_modes, m))
                set.insert(static_cast<DecayFilterKind>(m));
        write([&] { decay.setAndSet(set); });
        switchOn(m_enabled);
        return;
    }
    DecayModesAnyOf set;
    for (int m = 0; m < 5; ++m)
        if (isItemChecked(m_modes, m))
            set.insert(static_cast<DecayFilterKind>(m));
    for (int m = 0; m < 4; ++m)
        if (isItemChecked(m_onlyModes, m))
            set.insert(static_cast<DecayFilterKind>(static_cast<int>(DecayFilterKind::AlphaOnly) + m));
    write([&] { decay.setOrSet(set); });
    switchOn(m_enabled);
}

void DecayModePage::showCriteria()
{
    showQuietly([this] {
        m_enabled->setChecked(filter().decay().enabled());
        m_operation->button(static_cast<int>(filter().decay().operation()))->setChecked(true);
    });
    showModes();
}

void DecayModePage::showModes()
{
    showQuietly([this] {
        const DecayModeFilter& decay = filter().decay();
        const bool any = decay.operation() == DecayModeMatch::Any;
        for (int m = 0; m < 5; ++m)
            setItemChecked(m_modes, m,
                           any ? decay.orSet().contains(static_cast<DecayFilterKind>(m))
                               : decay.andSet().contains(static_cast<DecayFilterKind>(m)));
        for (int m = 0; m < 4; ++m)
            setItemChecked(
                m_onlyModes, m,
                decay.orSet().contains(static_cast<DecayFilterKind>(static_cast<int>(DecayFilterKind::AlphaOnly) + m)));
        m_onlyModes->setVisible(any);
    });
}

// Half-life

HalfLifePage::HalfLifePage(CriteriaEditor& editor, UiLanguage language)
    : CriteriaPage(editor)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 10, 4, 6);
    grid->setHorizontalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("Enabled"), this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new MarkupCaption(QStringLiteral("T<sub>1/2</sub>"), this, Qt::AlignHCenter), 0, 2);
    grid->addWidget(new MarkupCaption(QStringLiteral("λ<sub><i>r</i></sub>, d<sup>-1</sup>"), this, Qt::AlignHCenter),
                    0, 4);
    for (bool max : {false, true}) {
        End& end = m_ends[max];
        const int r = max ? 2 : 1;
        const QString suffix = max ? QStringLiteral("Max") : QStringLiteral("Min");
        grid->addWidget(new QLabel(suffix, this), r, 0);
        end.enabled = new QCheckBox(this);
        end.enabled->setObjectName(QStringLiteral("halfLifeEnabled") + suffix);
        end.value = new FloatEdit(this);
        end.value->setObjectName(QStringLiteral("halfLife") + suffix);
        makeHalfLifeField(end.value);
        end.units = new QComboBox(this);
        end.units->setObjectName(QStringLiteral("halfLifeUnit") + suffix);
        for (int u = 0; u < TimeUnitCount; ++u)
            end.units->addItem(halfLifeUnitLabel(static_cast<TimeUnit>(u), language));
        end.lambda = new FloatEdit(this);
        end.lambda->setObjectName(QStringLiteral("decayConstant") + suffix);
        makeHalfLifeField(end.lambda);
        end.value->setFixedWidth(74);
        end.units->setFixedWidth(52);
        end.lambda->setFixedWidth(90);
        grid->addWidget(end.enabled, r, 1, Qt::AlignHCenter);
        grid->addWidget(end.value, r, 2);
        grid->addWidget(end.units, r, 3);
        grid->addWidget(end.lambda, r, 4);

        connect(end.enabled, &QCheckBox::toggled, this, [this, max](bool on) {
            write([&] { max ? filter().halfLifeTime().setMaxEnabled(on) : filter().halfLifeTime().setMinEnabled(on); });
            switchFilterOnIf(on);
        });
        end.value->onChange = [this, max] {
            if (quiet())
                return;
            const auto v = static_cast<float>(m_ends[max].value->value());
            write([&] { max ? filter().halfLifeTime().setMaxValue(v) : filter().halfLifeTime().setMinValue(v); });
            showEnd(max, false, false, true);
            switchOn(m_ends[max].enabled);
        };
        connect(end.units, &QComboBox::activated, this, [this, max](int unit) {
            write([&] {
                max ? filter().halfLifeTime().setMaxUnits(static_cast<TimeUnit>(unit))
                    : filter().halfLifeTime().setMinUnits(static_cast<TimeUnit>(unit));
            });
            showEnd(max, true, true, true);
            switchOn(m_ends[max].enabled);
        });
        end.lambda->onChange = [this, max] {
            if (quiet())
                return;
            const auto v = static_cast<float>(m_ends[max].lambda->value());
            write([&] { max ? filter().halfLifeTime().setMaxLambda(v) : filter().halfLifeTime().setMinLambda(v); });
            showEnd(max, true, true, false);
            switchOn(m_ends[max].enabled);
        };
    }
    m_database = new QPushButton(QStringLiteral("Set 'Min' && 'Max' values from database"), this);
    m_database->setObjectName(QStringLiteral("databaseButton"));
    connect(m_database, &QPushButton::clicked, this, [this] {
        write([&] { filter().halfLifeTime().setAutoMinMaxValues(); });
        showEnd(false, true, true, true);
        showEnd(true, true, true, true);
    });
    grid->addWidget(m_database, 3, 0, 1, 5);
    grid->setRowStretch(4, 1);
}

void HalfLifePage::showCriteria()
{
    for (bool max : {false, true}) {
        showQuietly([&] {
            const HalfLifeFilter& h = filter().halfLifeTime();
            m_ends[max].enabled->setChecked(max ? h.maxEnabled() : h.minEnabled());
        });
        showEnd(max, true, true, true);
    }
}

void HalfLifePage::showEnd(bool max, bool value, bool units, bool lambda)
{
    showQuietly([&] {
        const HalfLifeFilter& h = filter().halfLifeTime();
        End& end = m_ends[max];
        if (value)
            end.value->setValue(max ? h.maxValue() : h.minValue());
        if (units)
            end.units->setCurrentIndex(static_cast<int>(max ? h.maxUnits() : h.minUnits()));
        if (lambda)
            end.lambda->setValue(max ? h.maxLambda() : h.minLambda());
    });
}

// Spectrum

SpectrumPage::SpectrumPage(CriteriaEditor& editor)
    : CriteriaPage(editor)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 4, 2, 2);
    layout->setSpacing(2);
    m_enabled = new QCheckBox(QStringLiteral("Enabled"), this);
    m_enabled->setObjectName(QStringLiteral("spectrumEnabled"));
    m_enabled->setStyleSheet(navyWhenChecked());
    connect(m_enabled, &QCheckBox::toggled, this, [this](bool on) {
        write([&] { filter().spectrum().setEnabled(on); });
        switchFilterOnIf(on);
    });
    layout->addWidget(m_enabled, 0, Qt::AlignLeft);

    const int captionWidth = 58, checkWidth = 20, boundWidth = 76;
    auto* heads = new QHBoxLayout;
    heads->setContentsMargins(0, 0, 0, 0);
    heads->addSpacing(captionWidth + checkWidth + 2);
    for (const char* text : {"Min", "Max"}) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setAlignment(Qt::AlignHCenter);
        label->setFixedWidth(boundWidth);
        heads->addWidget(label);
    }
    heads->addStretch(1);
    layout->addLayout(heads);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("criteria"));
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* grid = new CriteriaGrid;
    grid->columnRights = {captionWidth, captionWidth + checkWidth + 1, captionWidth + checkWidth + boundWidth + 2};
    const int rowPitch = CriteriaGrid::RowHeight + 1;
    grid->setFixedSize(captionWidth + checkWidth + 2 * boundWidth + 3, SpectrumCriterionCount * rowPitch);
    for (int o = 0; o < SpectrumCriterionCount; ++o) {
        const auto option = static_cast<SpectrumCriterion>(o);
        Row& row = m_rows[ordinal(option)];
        const int y = o * rowPitch;
        auto* caption = new MarkupCaption(QString::fromUtf16(kCriteria[o].caption), grid);
        caption->setGeometry(3, y, captionWidth - 4, CriteriaGrid::RowHeight);
        caption->setToolTip(QString::fromLatin1(kCriteria[o].tip));
        row.use = new QCheckBox(grid);
        row.use->setObjectName(QStringLiteral("criterionEnabled%1").arg(o));
        row.use->setToolTip(caption->toolTip());
        row.use->setGeometry(captionWidth + 3, y, checkWidth - 2, CriteriaGrid::RowHeight);
        for (bool max : {false, true}) {
            FloatEdit*& edit = max ? row.max : row.min;
            edit = new FloatEdit(grid);
            edit->setObjectName(
                QStringLiteral("criterion%1%2").arg(o).arg(max ? QStringLiteral("Max") : QStringLiteral("Min")));
            makeBoundField(edit, isFractionOption(option));
            edit->setGeometry(captionWidth + checkWidth + 2 + (max ? boundWidth + 1 : 0), y, boundWidth,
                              CriteriaGrid::RowHeight);
            edit->onChange = [this, option, max] { writeBound(option, max, false); };
            connect(edit, &QLineEdit::editingFinished, this, [this, option, max] { writeBound(option, max, true); });
        }
        connect(row.use, &QCheckBox::toggled, this, [this, option](bool on) {
            if (quiet())
                return;
            SpectrumCriteria options = filter().spectrum().options();
            on ? options.insert(option) : options.erase(option);
            write([&] { filter().spectrum().setOptions(options); });
            if (on)
                CriteriaPage::switchOn(m_enabled);
        });
    }
    scroll->setWidget(grid);
    layout->addWidget(scroll, 1);
}

void SpectrumPage::showCriteria()
{
    showQuietly([this] {
        const SpectrumFilter& spectrum = filter().spectrum();
        m_enabled->setChecked(spectrum.enabled());
        for (int o = 0; o < SpectrumCriterionCount; ++o) {
            const auto option = static_cast<SpectrumCriterion>(o);
            m_rows[ordinal(option)].use->setChecked(spectrum.options().contains(option));
            showBound(option, false);
            showBound(option, true);
        }
    });
}

void SpectrumPage::switchOn(QCheckBox* box)
{
    if (quiet())
        return;
    for (QCheckBox* b : {box, m_enabled})
        if (!b->isChecked())
            b->setChecked(true);
    CriteriaPage::switchOn(m_enabled);
}

void SpectrumPage::showBound(SpectrumCriterion option, bool max)
{
    showQuietly([&] {
        const SpectrumFilter& s = filter().spectrum();
        boundField(option, max)->setValue(shownBound(option, max ? s.max(option) : s.min(option)));
    });
}

void SpectrumPage::writeBound(SpectrumCriterion option, bool max, bool typingEnded)
{
    if (quiet())
        return;
    SpectrumFilter& s = filter().spectrum();
    const float value = storedBound(option, boundField(option, max)->value());
    // A bound typed past the other one moves that one too; while the digits are still coming
    // ("0" on the way to "0.7") that would lose the other bound, so it waits for the end.
    const bool crosses = max ? value < s.min(option) : value > s.max(option);
    if (crosses && !typingEnded)
        return;
    if (value == (max ? s.max(option) : s.min(option)))
        return;
    write([&] { max ? s.setMax(option, value) : s.setMin(option, value); });
    showBound(option, !max);
    switchOn(m_rows[ordinal(option)].use);
}

} // namespace kav
