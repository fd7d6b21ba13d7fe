#include "chooser/ui/advfilterform.h"

#include "base/catalogue.h"
#include "chooser/spectrumlines.h"
#include "chooser/ui/rnxpanel.h"
#include "controls/columnslist.h"
#include "controls/inputcolours.h"
#include "controls/markup.h"
#include "controls/numberedit.h"
#include "controls/stringgrid.h"
#include "nuclides/rnxnames.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kav {

namespace {

// "Enabled" boxes say in navy that their criterion is on.
const QString kNavyWhenChecked = QStringLiteral("QCheckBox:checked { color: #000080; }");

// A caption in the mark-up of cells (subscripts, superscripts, Greek letters as they are).
class MarkupCaption : public QWidget {
public:
    MarkupCaption(QString text, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft)
        : QWidget(parent)
        , m_text(std::move(text))
        , m_alignment(alignment)
    {
        setMinimumHeight(16);
    }
    QSize sizeHint() const override
    {
        QImage scratch(1, 1, QImage::Format_ARGB32);
        QPainter p(&scratch);
        p.setFont(font());
        const TMarkupResult r = DrawMarkupText(p, m_text, QRect(0, 0, 1000, 100), true, false);
        return {r.Width + 4, std::max(r.Height, 16)};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        QRect r = rect();
        if (m_alignment & Qt::AlignHCenter) {
            const TMarkupResult size = DrawMarkupText(p, m_text, r, true, false);
            r.setLeft((width() - size.Width) / 2);
        }
        DrawMarkupTextCentred(p, m_text, r, false);
    }

private:
    QString m_text;
    Qt::Alignment m_alignment;
};

// A check list: each item a check box that a click anywhere on it toggles, as Space does on
// the current item.
class CheckList : public TQzColumnsList {
public:
    using TQzColumnsList::TQzColumnsList;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QListWidgetItem* item = currentItem();
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && item) {
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            return;
        }
        TQzColumnsList::keyPressEvent(event);
    }
};

QListWidget* makeCheckList(const QStringList& items, int columns, QWidget* parent)
{
    auto* list = new CheckList(columns, parent);
    list->SetWidestText(*std::max_element(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return a.size() < b.size();
    }) + QStringLiteral("WW"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        item->setFlags(Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 20));
    }
    QObject::connect(list, &QListWidget::itemClicked, list, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    return list;
}

void setChecked(QListWidget* list, int row, bool checked)
{
    list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool isChecked(const QListWidget* list, int row)
{
    return list->item(row)->checkState() == Qt::Checked;
}

void makeHalfLifeField(TQzFloatEdit* edit)
{
    edit->SetMinValue(1e-30);
    edit->SetMaxValue(1e30);
    edit->SetMinValueEnabled(true);
    edit->SetMaxValueEnabled(true);
    edit->SetShowMessages(false);
    TQzFloatFormatList& formats = edit->FloatFormatList();
    formats.DefaultFormat = QStringLiteral("0.###e-0");
    formats.Add(1, QStringLiteral("0.###"));
    formats.Add(1000, QStringLiteral("0.###e-0"));
    edit->FormatsChanged();
    ApplyInputColours(edit);
}

void makeBoundField(TQzFloatEdit* edit, bool percent)
{
    edit->SetMinValue(0);
    edit->SetMaxValue(percent ? 100 : 1e6);
    edit->SetMinValueEnabled(true);
    edit->SetMaxValueEnabled(true);
    edit->SetShowMessages(false);
    edit->SetUpDownButtons(false);
    TQzFloatFormatList& formats = edit->FloatFormatList();
    formats.DefaultFormat = QStringLiteral("0.####e-0");
    const std::pair<double, const char*> thresholds[]
        = {{0.01, "0.######"}, {0.1, "0.#####"}, {1, "0.####"},       {10, "0.###"},
           {100, "0.##"},      {1000, "0.#"},    {10000, "0.####e-0"}};
    for (const auto& [threshold, format] : thresholds)
        formats.Add(threshold, QString::fromLatin1(format));
    edit->FormatsChanged();
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight);
    ApplyInputColours(edit);
}

// The spectrum criteria as the grid shows them: caption, and what it means for the tip.
struct CriterionCaption {
    const char16_t* caption;
    const char* tip;
};
const CriterionCaption kCriteria[RNXSpectrumOptionCount] = {
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
double shownBound(TQzRNXSpectrumOption option, float stored)
{
    // In single precision, so that a stored 0.2 shows as 20, not 20.0000003.
    return IsFractionOption(option) ? static_cast<double>(stored * 100.0f) : stored;
}
float storedBound(TQzRNXSpectrumOption option, double shown)
{
    return static_cast<float>(IsFractionOption(option) ? shown / 100 : shown);
}

// The criteria grid: a row of 18 pixels for each option, lines between the cells.
class CriteriaGrid : public QWidget {
public:
    using QWidget::QWidget;
    static constexpr int RowHeight = 18;
    std::array<int, 3> ColumnRights{};

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(0xC0, 0xC0, 0xC0));
        for (int r = 1; r <= RNXSpectrumOptionCount; ++r)
            p.drawLine(0, r * (RowHeight + 1) - 1, width(), r * (RowHeight + 1) - 1);
        for (int x : ColumnRights)
            p.drawLine(x, 0, x, height());
    }
};

QString lineKindText(int kind)
{
    static const char16_t* const letters[] = {u"α", u"β", u"γ"};
    return QString::fromUtf16(letters[kind]);
}

} // namespace

// The count texts

QString TQzRNXAdvFilterForm::CountText(int count, CountKind kind, TQzLanguage language)
{
    const TQzCatalogue& texts = Catalogue(language);
    if (count == 0)
        return QString::fromUtf16(texts.ListEmpty);
    return QString::fromUtf16(count == 1 ? texts.CountOfOne : texts.CountOfMany)
        .arg(QString::number(count), QString::fromUtf16(texts.CountedThings[kind]));
}

// Building the dialog

TQzRNXAdvFilterForm::TQzRNXAdvFilterForm(TQzRNXPanel& panel, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , FPanel(panel)
    , FBetaSet(RNXBetaGroup)
    , FGammaSet(RNXPhotonGroup)
{
    setObjectName(QStringLiteral("AdvFilterForm"));
    setWindowTitle(QStringLiteral("Advanced radionuclide filter"));
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    root->setSpacing(6);

    auto* left = new QWidget(this);
    left->setFixedWidth(NarrowWidth - 8);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    // Tabs on two lines: the tab bar of the page control would not fit the narrow form.
    FPages = new QTabWidget(left);
    FPages->tabBar()->hide();
    // The hidden bar would take the focus that Tab passes on, and keep it out of sight.
    FPages->tabBar()->setFocusPolicy(Qt::NoFocus);
    FPages->setDocumentMode(true);
    // The underlined letters (Alt+A and the others) open the pages, as Ctrl+Tab does in turn.
    const char* titles[] = {"&Atomic mass", "&Decay chain", "&Mode of decay", "&Half-life", "&Spectrum"};
    auto* tabs = new QButtonGroup(this);
    auto* tabRows = new QVBoxLayout;
    tabRows->setSpacing(0);
    QHBoxLayout* row = nullptr;
    for (int i = 0; i < 5; ++i) {
        if (i == 0 || i == 3) {
            row = new QHBoxLayout;
            row->setSpacing(0);
            tabRows->addLayout(row);
        }
        auto* tab = new QToolButton(left);
        tab->setText(QString::fromLatin1(titles[i]));
        tab->setCheckable(true);
        tab->setObjectName(QStringLiteral("tab%1").arg(i));
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        tab->setStyleSheet(QStringLiteral(
            "QToolButton { border: 1px solid #A0A0A0; border-bottom: none; padding: 2px 4px; "
            "background: #E4E4E4; } QToolButton:checked { background: palette(window); color: #000080; } "
            "QToolButton:focus { border: 1px solid #2A6FCF; border-bottom: none; }"));
        tabs->addButton(tab, i);
        row->addWidget(tab);
    }
    // The hidden tab bar keeps the page names without the marks of the letters.
    const auto pageName = [&titles](int i) { return QString::fromLatin1(titles[i]).remove(u'&'); };
    FPages->addTab(MakeMassPage(), pageName(0));
    FPages->addTab(MakeDecayChainPage(), pageName(1));
    FPages->addTab(MakeModeOfDecayPage(), pageName(2));
    FPages->addTab(MakeHalfLifePage(), pageName(3));
    FPages->addTab(MakeSpectrumPage(), pageName(4));
    tabs->button(0)->setChecked(true);
    connect(tabs, &QButtonGroup::idClicked, FPages, &QTabWidget::setCurrentIndex);
    connect(FPages, &QTabWidget::currentChanged, this, [this, tabs](int page) {
        tabs->button(page)->setChecked(true);
        PageChanged(page);
    });
    column->addLayout(tabRows);
    FPages->setFixedHeight(250);
    column->addWidget(FPages);

    auto* enabledRow = new QHBoxLayout;
    cbEnabled = new QCheckBox(QStringLiteral("&Enabled"), left);
    cbEnabled->setObjectName(QStringLiteral("cbEnabled"));
    cbEnabled->setStyleSheet(kNavyWhenChecked);
    connect(cbEnabled, &QCheckBox::toggled, this, [this](bool on) { Write([&] { FFilter->SetEnabled(on); }); });
    bLinesList = new QPushButton(QStringLiteral("Spectrum &lines list"), left);
    bLinesList->setObjectName(QStringLiteral("bLinesList"));
    bLinesList->setVisible(false);
    connect(bLinesList, &QPushButton::clicked, this, [this] { SetIsMoreWidth(!FIsMoreWidth); });
    enabledRow->addWidget(cbEnabled);
    enabledRow->addStretch(1);
    enabledRow->addWidget(bLinesList);
    column->addLayout(enabledRow);

    FResultPages = new QTabWidget(left);
    auto resultPage
        = [&](const QString& title, int columns, const QString& widest, TQzColumnsList*& list, QLabel*& count) {
              auto* page = new QWidget;
              auto* layout = new QVBoxLayout(page);
              layout->setContentsMargins(2, 2, 2, 2);
              layout->setSpacing(2);
              list = new TQzColumnsList(columns, page);
              list->SetWidestText(widest);
              count = new QLabel(page);
              layout->addWidget(list, 1);
              layout->addWidget(count);
              FResultPages->addTab(page, title);
          };
    resultPage(QStringLiteral("&Radionuclides"), 4, QStringLiteral("Ag-110m"), lbNuclides, lNuclidesCount);
    resultPage(QStringLiteral("Elemen&ts"), 8, QStringLiteral("Mn"), lbElements, lElementsCount);
    lbNuclides->setObjectName(QStringLiteral("lbNuclides"));
    lbElements->setObjectName(QStringLiteral("lbElements"));
    column->addWidget(FResultPages, 1);
    root->addWidget(left);
    root->addWidget(MakeLinesArea(), 1);
    gbLines->setVisible(false);
    setFixedSize(NarrowWidth, ClientHeight);

    // While a number is typed, digit by digit, the chooser's lists follow it but its choice
    // waits for the end of the typing (a mass bound of 100 passes 1 and 10 on its way). Heard
    // after the fields' own ends of typing, which may still change the filter. A number beyond a
    // field's limits is said in the chooser's language. (The toolkit's own cast does not know
    // the number fields' class.)
    for (QLineEdit* line : findChildren<QLineEdit*>()) {
        auto* edit = dynamic_cast<TQzCustomNumberEdit*>(line);
        if (!edit)
            continue;
        edit->SetLanguage(FPanel.Language());
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this] { FPanel.Selection().SetChoiceHeld(false); });
    }
}

bool TQzRNXAdvFilterForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && dynamic_cast<TQzCustomNumberEdit*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ends = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab
            || key == Qt::Key_Escape;
        if (!ends)
            FPanel.Selection().SetChoiceHeld(true);
    }
    return QDialog::eventFilter(watched, event);
}

TQzRNXAdvFilterForm::~TQzRNXAdvFilterForm()
{
    FPanel.Selection().SetChoiceHeld(false);
}

QListWidget* TQzRNXAdvFilterForm::ResultNuclides() const
{
    return lbNuclides;
}

QListWidget* TQzRNXAdvFilterForm::ResultElements() const
{
    return lbElements;
}

QWidget* TQzRNXAdvFilterForm::MakeMassPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 12, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Enabled"), page), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Atomic mass"), page), 0, 2, Qt::AlignHCenter);
    for (bool max : {false, true}) {
        QCheckBox*& box = max ? cbMassMax : cbMassMin;
        TQzIntegerEdit*& edit = max ? ieMassMax : ieMassMin;
        grid->addWidget(new QLabel(max ? QStringLiteral("Max") : QStringLiteral("Min"), page), max ? 2 : 1, 0);
        box = new QCheckBox(page);
        box->setObjectName(max ? QStringLiteral("cbMassMax") : QStringLiteral("cbMassMin"));
        edit = new TQzIntegerEdit(page);
        edit->setObjectName(max ? QStringLiteral("ieMassMax") : QStringLiteral("ieMassMin"));
        edit->SetMinValue(TQzRNXAMassFilter::Lowest);
        edit->SetMaxValue(TQzRNXAMassFilter::Highest);
        edit->SetMinValueEnabled(true);
        edit->SetMaxValueEnabled(true);
        edit->SetShowMessages(false);
        edit->setFixedWidth(90);
        ApplyInputColours(edit);
        grid->addWidget(box, max ? 2 : 1, 1, Qt::AlignHCenter);
        grid->addWidget(edit, max ? 2 : 1, 2);
        connect(box, &QCheckBox::toggled, this, [this, max](bool on) {
            Write([&] { max ? FFilter->AMass().SetMaxEnabled(on) : FFilter->AMass().SetMinEnabled(on); });
            SwitchOnIf(on, cbEnabled);
        });
        edit->OnChange = [this, max, edit, box] {
            if (FUpdating)
                return;
            Write([&] {
                max ? FFilter->AMass().SetMaxValue(edit->Value()) : FFilter->AMass().SetMinValue(edit->Value());
            });
            SwitchOnIf(true, box);
        };
    }
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* TQzRNXAdvFilterForm::MakeDecayChainPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    const QStringList counts{"0", "1", "2", "3", "4"};
    for (bool daughters : {false, true}) {
        auto* group = new QGroupBox(daughters ? QStringLiteral("Daughters") : QStringLiteral("Ancestors"), page);
        auto* g = new QHBoxLayout(group);
        QCheckBox*& box = daughters ? cbDaughters : cbAncestors;
        QListWidget*& list = daughters ? clbDaughters : clbAncestors;
        box = new QCheckBox(QStringLiteral("Enabled"), group);
        box->setObjectName(daughters ? QStringLiteral("cbDaughters") : QStringLiteral("cbAncestors"));
        box->setStyleSheet(kNavyWhenChecked);
        list = makeCheckList(counts, 2, group);
        list->setObjectName(daughters ? QStringLiteral("clbDaughters") : QStringLiteral("clbAncestors"));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFixedHeight(3 * 20 + 6);
        g->addWidget(box, 0, Qt::AlignTop);
        g->addWidget(list, 1);
        layout->addWidget(group);
        auto sub = [this, daughters]() -> TQzRNXChainCountFilter& {
            return daughters ? static_cast<TQzRNXChainCountFilter&>(FFilter->Daughters()) : FFilter->Ancestors();
        };
        connect(box, &QCheckBox::toggled, this, [this, sub](bool on) {
            Write([&] { sub().SetEnabled(on); });
            SwitchOnIf(on, cbEnabled);
        });
        connect(list, &QListWidget::itemChanged, this, [this, sub, list, box] {
            if (FUpdating)
                return;
            TQzRNXAncestorsCountSet set;
            for (int c = 0; c < 5; ++c)
                if (isChecked(list, c))
                    set.insert(static_cast<TQzRNXAncestorsCount>(c));
            Write([&] { sub().SetCountSet(set); });
            SwitchOnIf(true, box);
        });
    }
    layout->addStretch(1);
    return page;
}

QWidget* TQzRNXAdvFilterForm::MakeModeOfDecayPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    cbDecay = new QCheckBox(QStringLiteral("Enabled"), page);
    cbDecay->setObjectName(QStringLiteral("cbDecay"));
    cbDecay->setStyleSheet(kNavyWhenChecked);
    auto* operation = new QGroupBox(QStringLiteral("Operation"), page);
    auto* ops = new QHBoxLayout(operation);
    ops->setContentsMargins(6, 2, 6, 2);
    rgOperation = new QButtonGroup(this);
    for (auto [text, op] : {std::pair{"Or", foOr}, std::pair{"And", foAnd}}) {
        auto* button = new QRadioButton(QString::fromLatin1(text), operation);
        rgOperation->addButton(button, op);
        ops->addWidget(button);
    }
    top->addWidget(cbDecay);
    top->addWidget(operation, 1);
    layout->addLayout(top);
    auto* lists = new QHBoxLayout;
    clbModes = makeCheckList({QStringLiteral("Alpha"), QStringLiteral("Beta \u2014"), QStringLiteral("Beta +"),
                              QStringLiteral("IT"), QStringLiteral("SF")},
                             1, page);
    clbModes->setObjectName(QStringLiteral("clbModes"));
    clbOnlyModes = makeCheckList({QStringLiteral("Alpha only"), QStringLiteral("Beta \u2014  only"),
                                  QStringLiteral("Beta +  only"), QStringLiteral("IT only")},
                                 1, page);
    clbOnlyModes->setObjectName(QStringLiteral("clbOnlyModes"));
    lists->addWidget(clbModes);
    lists->addWidget(clbOnlyModes);
    layout->addLayout(lists, 1);

    connect(cbDecay, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { FFilter->Decay().SetEnabled(on); });
        SwitchOnIf(on, cbEnabled);
    });
    connect(rgOperation, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || FUpdating)
            return;
        Write([&] { FFilter->Decay().SetOperation(static_cast<TQzRNXFilterOperation>(id)); });
        ShowModes();
        SwitchOnIf(true, cbDecay);
    });
    auto modesChanged = [this] {
        if (FUpdating)
            return;
        TQzRNXDecayFilter& decay = FFilter->Decay();
        if (decay.Operation() == foAnd) {
            TQzRNXAndDecayFilterSet set;
            for (int m = 0; m < 5; ++m)
                if (isChecked(clbModes, m))
                    set.insert(static_cast<TQzRNXDecayFilterType>(m));
            Write([&] { decay.SetAndSet(set); });
            SwitchOnIf(true, cbDecay);
            return;
        }
        TQzRNXOrDecayFilterSet set;
        for (int m = 0; m < 5; ++m)
            if (isChecked(clbModes, m))
                set.insert(static_cast<TQzRNXDecayFilterType>(m));
        for (int m = 0; m < 4; ++m)
            if (isChecked(clbOnlyModes, m))
                set.insert(static_cast<TQzRNXDecayFilterType>(dfxAlphaOnly + m));
        Write([&] { decay.SetOrSet(set); });
        SwitchOnIf(true, cbDecay);
    };
    connect(clbModes, &QListWidget::itemChanged, this, modesChanged);
    connect(clbOnlyModes, &QListWidget::itemChanged, this, modesChanged);
    return page;
}

QWidget* TQzRNXAdvFilterForm::MakeHalfLifePage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 10, 4, 6);
    grid->setHorizontalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("Enabled"), page), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new MarkupCaption(QStringLiteral("T<sub>1/2</sub>"), page, Qt::AlignHCenter), 0, 2);
    grid->addWidget(new MarkupCaption(QStringLiteral("λ<sub><i>r</i></sub>, d<sup>-1</sup>"), page, Qt::AlignHCenter),
                    0, 4);
    for (bool max : {false, true}) {
        HalfLifeEnd& end = FHalfLife[max];
        const int r = max ? 2 : 1;
        const QString suffix = max ? QStringLiteral("Max") : QStringLiteral("Min");
        grid->addWidget(new QLabel(suffix, page), r, 0);
        end.enabled = new QCheckBox(page);
        end.enabled->setObjectName(QStringLiteral("cbHalfLife") + suffix);
        end.value = new TQzFloatEdit(page);
        end.value->setObjectName(QStringLiteral("feHalfLife") + suffix);
        makeHalfLifeField(end.value);
        end.units = new QComboBox(page);
        end.units->setObjectName(QStringLiteral("cbUnits") + suffix);
        end.lambda = new TQzFloatEdit(page);
        end.lambda->setObjectName(QStringLiteral("feLambda") + suffix);
        makeHalfLifeField(end.lambda);
        end.value->setFixedWidth(74);
        end.units->setFixedWidth(52);
        end.lambda->setFixedWidth(90);
        grid->addWidget(end.enabled, r, 1, Qt::AlignHCenter);
        grid->addWidget(end.value, r, 2);
        grid->addWidget(end.units, r, 3);
        grid->addWidget(end.lambda, r, 4);

        connect(end.enabled, &QCheckBox::toggled, this, [this, max](bool on) {
            Write([&] { max ? FFilter->HalfLifeTime().SetMaxEnabled(on) : FFilter->HalfLifeTime().SetMinEnabled(on); });
            SwitchOnIf(on, cbEnabled);
        });
        end.value->OnChange = [this, max] {
            if (FUpdating)
                return;
            const float v = static_cast<float>(FHalfLife[max].value->Value());
            Write([&] { max ? FFilter->HalfLifeTime().SetMaxValue(v) : FFilter->HalfLifeTime().SetMinValue(v); });
            ShowHalfLife(max, false, false, true);
            SwitchOnIf(true, FHalfLife[max].enabled);
        };
        connect(end.units, &QComboBox::activated, this, [this, max](int unit) {
            Write([&] {
                max ? FFilter->HalfLifeTime().SetMaxUnits(static_cast<TQzTimeUnit>(unit))
                    : FFilter->HalfLifeTime().SetMinUnits(static_cast<TQzTimeUnit>(unit));
            });
            ShowHalfLife(max, true, true, true);
            SwitchOnIf(true, FHalfLife[max].enabled);
        });
        end.lambda->OnChange = [this, max] {
            if (FUpdating)
                return;
            const float v = static_cast<float>(FHalfLife[max].lambda->Value());
            Write([&] { max ? FFilter->HalfLifeTime().SetMaxLambda(v) : FFilter->HalfLifeTime().SetMinLambda(v); });
            ShowHalfLife(max, true, true, false);
            SwitchOnIf(true, FHalfLife[max].enabled);
        };
    }
    bDatabase = new QPushButton(QStringLiteral("Set 'Min' && 'Max' values from database"), page);
    bDatabase->setObjectName(QStringLiteral("bDatabase"));
    connect(bDatabase, &QPushButton::clicked, this, [this] {
        Write([&] { FFilter->HalfLifeTime().SetAutoMinMaxValues(); });
        ShowHalfLife(false, true, true, true);
        ShowHalfLife(true, true, true, true);
    });
    grid->addWidget(bDatabase, 3, 0, 1, 5);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* TQzRNXAdvFilterForm::MakeSpectrumPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 4, 2, 2);
    layout->setSpacing(2);
    cbSpectrum = new QCheckBox(QStringLiteral("Enabled"), page);
    cbSpectrum->setObjectName(QStringLiteral("cbSpectrum"));
    cbSpectrum->setStyleSheet(kNavyWhenChecked);
    connect(cbSpectrum, &QCheckBox::toggled, this, [this](bool on) {
        Write([&] { FFilter->Spectrum().SetEnabled(on); });
        SwitchOnIf(on, cbEnabled);
    });
    layout->addWidget(cbSpectrum, 0, Qt::AlignLeft);

    const int captionWidth = 58, checkWidth = 20, boundWidth = 76;
    auto* heads = new QHBoxLayout;
    heads->setContentsMargins(0, 0, 0, 0);
    heads->addSpacing(captionWidth + checkWidth + 2);
    for (const char* text : {"Min", "Max"}) {
        auto* label = new QLabel(QString::fromLatin1(text), page);
        label->setAlignment(Qt::AlignHCenter);
        label->setFixedWidth(boundWidth);
        heads->addWidget(label);
    }
    heads->addStretch(1);
    layout->addLayout(heads);

    auto* scroll = new QScrollArea(page);
    scroll->setObjectName(QStringLiteral("sgCriteria"));
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* grid = new CriteriaGrid;
    grid->ColumnRights = {captionWidth, captionWidth + checkWidth + 1, captionWidth + checkWidth + boundWidth + 2};
    const int rowPitch = CriteriaGrid::RowHeight + 1;
    grid->setFixedSize(captionWidth + checkWidth + 2 * boundWidth + 3, RNXSpectrumOptionCount * rowPitch);
    for (int o = 0; o < RNXSpectrumOptionCount; ++o) {
        const auto option = static_cast<TQzRNXSpectrumOption>(o);
        CriterionRow& row = FCriteria[option];
        const int y = o * rowPitch;
        auto* caption = new MarkupCaption(QString::fromUtf16(kCriteria[o].caption), grid);
        caption->setGeometry(3, y, captionWidth - 4, CriteriaGrid::RowHeight);
        caption->setToolTip(QString::fromLatin1(kCriteria[o].tip));
        row.use = new QCheckBox(grid);
        row.use->setObjectName(QStringLiteral("cbCriterion%1").arg(o));
        row.use->setToolTip(caption->toolTip());
        row.use->setGeometry(captionWidth + 3, y, checkWidth - 2, CriteriaGrid::RowHeight);
        for (bool max : {false, true}) {
            TQzFloatEdit*& edit = max ? row.max : row.min;
            edit = new TQzFloatEdit(grid);
            edit->setObjectName(
                QStringLiteral("feCriterion%1%2").arg(o).arg(max ? QStringLiteral("Max") : QStringLiteral("Min")));
            makeBoundField(edit, IsFractionOption(option));
            edit->setGeometry(captionWidth + checkWidth + 2 + (max ? boundWidth + 1 : 0), y, boundWidth,
                              CriteriaGrid::RowHeight);
            edit->OnChange = [this, option, max] { WriteBound(option, max, false); };
            connect(edit, &QLineEdit::editingFinished, this, [this, option, max] { WriteBound(option, max, true); });
        }
        connect(row.use, &QCheckBox::toggled, this, [this, option](bool on) {
            if (FUpdating)
                return;
            TQzRNXSpectrumOptions options = FFilter->Spectrum().Options();
            on ? options.insert(option) : options.erase(option);
            Write([&] { FFilter->Spectrum().SetOptions(options); });
            SwitchOnIf(on, cbSpectrum);
        });
    }
    scroll->setWidget(grid);
    layout->addWidget(scroll, 1);
    return page;
}

QWidget* TQzRNXAdvFilterForm::MakeLinesArea()
{
    gbLines = new QGroupBox(QStringLiteral("Spectrum lines"), this);
    gbLines->setObjectName(QStringLiteral("gbLines"));
    auto* layout = new QVBoxLayout(gbLines);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* kinds = new QGroupBox(gbLines);
    kinds->setObjectName(QStringLiteral("rgLineKind"));
    kinds->setToolTip(QStringLiteral("Right-click to choose the radiation types of beta and photon lines"));
    kinds->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(kinds, &QWidget::customContextMenuRequested, this, [this] { ChooseRadiations(); });
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->setContentsMargins(6, 2, 6, 2);
    rgLineKind = new QButtonGroup(this);
    for (int k = lkAlpha; k <= lkGamma; ++k) {
        auto* button = new QRadioButton(lineKindText(k), kinds);
        button->setObjectName(QStringLiteral("rbLineKind%1").arg(k));
        rgLineKind->addButton(button, k);
        kindRow->addWidget(button);
    }
    rgLineKind->button(lkAlpha)->setChecked(true);
    connect(rgLineKind, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        FViewKind = static_cast<LineKind>(id);
        BuildLines();
    });
    layout->addWidget(kinds);

    sgLines = new TQzStringGrid(gbLines);
    sgLines->setObjectName(QStringLiteral("sgLines"));
    sgLines->SetColCount(6);
    sgLines->SetRowCount(2);
    sgLines->SetFixedRows(1);
    sgLines->SetFixedCols(1);
    sgLines->SetDefaultRowHeight(18);
    sgLines->SetRowHeights(0, 34);
    sgLines->SetOption(qzgoRowSelect, true);
    const int widths[] = {40, 88, 88, 100, 100, -1};
    const char* heads[] = {"No", "Radionuclide", "Half-life", "Energy (Ei), MeV", "Di, MeV / trans.", "Lr"};
    for (int c = 0; c < 6; ++c) {
        sgLines->SetColWidths(c, widths[c]);
        sgLines->SetCells(c, 0, QString::fromLatin1(heads[c]));
    }
    *sgLines->CreateCellCaption(3, 0) = QStringLiteral("Energy (E<sub>i</sub>), MeV");
    *sgLines->CreateCellCaption(4, 0) = QStringLiteral("Δ<sub>i</sub>, MeV / trans.");
    sgLines->FixedCellsFormat.Normal.MultiLine = true;
    sgLines->SetCells(0, 1, QStringLiteral("1"));
    layout->addWidget(sgLines, 1);
    lLines = new QLabel(gbLines);
    lLines->setObjectName(QStringLiteral("lLines"));
    layout->addWidget(lLines);

    pmLines = new QMenu(this);
    QMenu* sortMenu = pmLines->addMenu(QStringLiteral("Sort by"));
    auto* sorts = new QActionGroup(this);
    const std::pair<const char*, LinesSort> entries[] = {{"periodic table", lsListOrder},
                                                         {"half-life", lsHalfLife},
                                                         {"energy", lsEnergy},
                                                         {"energy \u2022 yield", lsYield}};
    for (std::size_t i = 0; i < 4; ++i) {
        QAction* a = sortMenu->addAction(QString::fromUtf8(entries[i].first));
        a->setCheckable(true);
        sorts->addAction(a);
        const LinesSort sort = entries[i].second;
        connect(a, &QAction::triggered, this, [this, sort] { SortLines(sort); });
        FSortActions[i] = a;
    }
    FSortActions[0]->setChecked(true);
    pmLines->addSeparator();
    connect(pmLines->addAction(QStringLiteral("Copy to clipboard")), &QAction::triggered, this,
            [this] { sgLines->CopyToClipboard(QString(), QString(), {5}, true); });
    sgLines->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgLines, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { pmLines->popup(sgLines->viewport()->mapToGlobal(pos)); });
    return gbLines;
}

QRadioButton* TQzRNXAdvFilterForm::OperationButton(TQzRNXFilterOperation operation) const
{
    return static_cast<QRadioButton*>(rgOperation->button(operation));
}

QRadioButton* TQzRNXAdvFilterForm::LineKindButton(LineKind kind) const
{
    return static_cast<QRadioButton*>(rgLineKind->button(kind));
}

// Showing the filter

void TQzRNXAdvFilterForm::SetAdvancedFilter(TQzRNXAdvancedFilter& filter)
{
    FFilter = &filter;
    for (HalfLifeEnd& end : FHalfLife) {
        end.units->clear();
        for (int u = tuYear; u <= tuMkSec; ++u)
            end.units->addItem(RNXHalfLifeUnitLabel(static_cast<TQzTimeUnit>(u), FPanel.Language()));
    }
    ShowFilter();
    const TRNXindex& index = FPanel.Filter().Index();
    if (index.RNXSpectrumData().empty())
        index.BuildRNXSpectrumData();
    // Heard beside the panel's other listeners, while the dialog is open.
    FPanelFilterChanged = FPanel.Selection().FilterApplied.Connect([this] { Refresh(); });
    Refresh();
}

void TQzRNXAdvFilterForm::ShowFilter()
{
    const bool wasUpdating = std::exchange(FUpdating, true);
    const TQzRNXAdvancedFilter& f = *FFilter;
    cbEnabled->setChecked(f.Enabled());
    cbMassMin->setChecked(f.AMass().MinEnabled());
    cbMassMax->setChecked(f.AMass().MaxEnabled());
    ieMassMin->SetValue(f.AMass().MinValue());
    ieMassMax->SetValue(f.AMass().MaxValue());
    for (bool daughters : {false, true}) {
        const TQzRNXChainCountFilter& sub
            = daughters ? static_cast<const TQzRNXChainCountFilter&>(f.Daughters()) : f.Ancestors();
        (daughters ? cbDaughters : cbAncestors)->setChecked(sub.Enabled());
        for (int c = 0; c < 5; ++c)
            setChecked(daughters ? clbDaughters : clbAncestors, c,
                       sub.CountSet().contains(static_cast<TQzRNXAncestorsCount>(c)));
    }
    cbDecay->setChecked(f.Decay().Enabled());
    rgOperation->button(f.Decay().Operation())->setChecked(true);
    ShowModes();
    for (bool max : {false, true}) {
        FHalfLife[max].enabled->setChecked(max ? f.HalfLifeTime().MaxEnabled() : f.HalfLifeTime().MinEnabled());
        ShowHalfLife(max, true, true, true);
    }
    cbSpectrum->setChecked(f.Spectrum().Enabled());
    for (int o = 0; o < RNXSpectrumOptionCount; ++o) {
        const auto option = static_cast<TQzRNXSpectrumOption>(o);
        FCriteria[option].use->setChecked(f.Spectrum().Options().contains(option));
        ShowBound(option, false);
        ShowBound(option, true);
    }
    FUpdating = wasUpdating;
}

void TQzRNXAdvFilterForm::ShowModes()
{
    const bool wasUpdating = std::exchange(FUpdating, true);
    const TQzRNXDecayFilter& decay = FFilter->Decay();
    const bool any = decay.Operation() == foOr;
    for (int m = 0; m < 5; ++m)
        setChecked(clbModes, m,
                   any ? decay.OrSet().contains(static_cast<TQzRNXDecayFilterType>(m))
                       : decay.AndSet().contains(static_cast<TQzRNXDecayFilterType>(m)));
    for (int m = 0; m < 4; ++m)
        setChecked(clbOnlyModes, m, decay.OrSet().contains(static_cast<TQzRNXDecayFilterType>(dfxAlphaOnly + m)));
    clbOnlyModes->setVisible(any);
    FUpdating = wasUpdating;
}

void TQzRNXAdvFilterForm::ShowHalfLife(bool max, bool value, bool units, bool lambda)
{
    const bool wasUpdating = std::exchange(FUpdating, true);
    const TQzRNXHalfLifeTimeFilter& h = FFilter->HalfLifeTime();
    HalfLifeEnd& end = FHalfLife[max];
    if (value)
        end.value->SetValue(max ? h.MaxValue() : h.MinValue());
    if (units)
        end.units->setCurrentIndex(max ? h.MaxUnits() : h.MinUnits());
    if (lambda)
        end.lambda->SetValue(max ? h.MaxLambda() : h.MinLambda());
    FUpdating = wasUpdating;
}

void TQzRNXAdvFilterForm::ShowBound(TQzRNXSpectrumOption option, bool max)
{
    const bool wasUpdating = std::exchange(FUpdating, true);
    const TQzRNXSpectrumFilter& s = FFilter->Spectrum();
    TQzFloatEdit* edit = max ? FCriteria[option].max : FCriteria[option].min;
    edit->SetValue(shownBound(option, max ? s.Max(option) : s.Min(option)));
    FUpdating = wasUpdating;
}

void TQzRNXAdvFilterForm::WriteBound(TQzRNXSpectrumOption option, bool max, bool typingEnded)
{
    if (FUpdating)
        return;
    TQzRNXSpectrumFilter& s = FFilter->Spectrum();
    const float value = storedBound(option, (max ? FCriteria[option].max : FCriteria[option].min)->Value());
    // A bound typed past the other one moves that one too; while the digits are still coming
    // ("0" on the way to "0.7") that would lose the other bound, so it waits for the end.
    const bool crosses = max ? value < s.Min(option) : value > s.Max(option);
    if (crosses && !typingEnded)
        return;
    if (value == (max ? s.Max(option) : s.Min(option)))
        return;
    Write([&] { max ? s.SetMax(option, value) : s.SetMin(option, value); });
    ShowBound(option, !max);
    SwitchOnIf(true, FCriteria[option].use);
}

template <class Change> void TQzRNXAdvFilterForm::Write(Change change)
{
    if (FUpdating || !FFilter)
        return;
    FRefreshed = false;
    change();
    // A change the panel did not take up (the filter is off) still changes the lines list.
    if (!FRefreshed)
        BuildLines();
}

void TQzRNXAdvFilterForm::SwitchOnIf(bool condition, QCheckBox* box)
{
    if (!condition || FUpdating)
        return;
    // The criterion, its page (for a spectrum criterion) and the whole filter, each whose box is
    // off; each box's own handler writes the filter.
    const bool spectrumCriterion
        = std::any_of(FCriteria.begin(), FCriteria.end(), [box](const CriterionRow& row) { return row.use == box; });
    for (QCheckBox* b : {box, spectrumCriterion ? cbSpectrum : nullptr, cbEnabled})
        if (b && !b->isChecked())
            b->setChecked(true);
}

// Refreshing

void TQzRNXAdvFilterForm::Refresh()
{
    FRefreshed = true;
    const TQzRNXFilter& filter = FPanel.Filter();
    const TQzLanguage language = FPanel.Language();
    lbNuclides->clear();
    lbNuclides->addItems(filter.FullRNXList().Names());
    lNuclidesCount->setText(CountText(FPanel.RNXCount(), ckNuclides, language));
    lbElements->clear();
    for (int e = 0; e < RNXElementCount; ++e)
        if (filter.FullElementSet().contains(static_cast<TRNXElement>(e)))
            lbElements->addItem(RNXElementSymbol(static_cast<TRNXElement>(e)));
    lElementsCount->setText(CountText(FPanel.ElCount(), ckElements, language));
    BuildLines();
}

void TQzRNXAdvFilterForm::BuildLines()
{
    if (!FShown || !FFilter)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FLines.clear();
    FLinesTooMany = false;
    const TQzRNXSpectrumFilter& s = FFilter->Spectrum();
    // The kinds of lines offered are the groups of the spectrum criteria, in their order.
    const auto group = static_cast<LineGroup>(FViewKind);
    const TQzRNXSpectrumOption energy = EnergyOptionOf(group);
    const TQzRNXSpectrumOption yield = YieldOptionOf(group);
    LineQuery query;
    query.types = FViewKind == lkAlpha ? TRNXRadiationSet{RNXAlphaRadiation}
        : FViewKind == lkBeta          ? FBetaSet
                                       : FGammaSet;
    if (s.Options().contains(energy))
        query.energy = LineBounds{s.Min(energy), s.Max(energy)};
    if (s.Options().contains(yield))
        query.yield = LineBounds{s.Min(yield), s.Max(yield)};
    query.cap = MaxLines;
    const TRNXindex& index = FPanel.Filter().Index();
    if (index.RNXSpectrumData().empty())
        index.BuildRNXSpectrumData();
    if (query.energy || query.yield) {
        std::vector<const TRNXnode*> nuclides;
        for (const QString& name : FPanel.FullRNXList())
            nuclides.push_back(index.FindRNX(name));
        FoundLines found = FindLines(index, nuclides, query);
        FLines = std::move(found.lines);
        FLinesTooMany = found.cut;
    }
    SortRows(FSortCol);
    ShowLines();
    QApplication::restoreOverrideCursor();
}

void TQzRNXAdvFilterForm::SortRows(LinesSort sort)
{
    switch (sort) {
    case lsHalfLife: kav::SortLines(FLines, LineOrder::ShortestHalfLifeFirst); break;
    case lsEnergy: kav::SortLines(FLines, LineOrder::Energy); break;
    case lsYield: kav::SortLines(FLines, LineOrder::Yield); break;
    case lsListOrder: break;
    }
}

void TQzRNXAdvFilterForm::SortLines(LinesSort sort)
{
    FSortCol = sort;
    for (QAction* a : FSortActions)
        a->setChecked(false);
    const LinesSort order[] = {lsListOrder, lsHalfLife, lsEnergy, lsYield};
    for (std::size_t i = 0; i < 4; ++i)
        if (order[i] == sort)
            FSortActions[i]->setChecked(true);
    if (sort == lsListOrder) {
        BuildLines();
        return;
    }
    SortRows(sort);
    ShowLines();
}

void TQzRNXAdvFilterForm::ShowLines()
{
    const int rows = std::max<int>(1, static_cast<int>(FLines.size()));
    sgLines->SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        sgLines->SetCells(0, r, QString::number(r));
        if (FLines.empty()) {
            for (int c = 1; c < 6; ++c)
                sgLines->SetCells(c, r, QString());
            continue;
        }
        const FoundLine& line = FLines[static_cast<std::size_t>(r - 1)];
        sgLines->SetCells(1, r, line.node->RNXname.toString());
        sgLines->SetCells(2, r, line.node->GetHalfLifeAndUnits(FPanel.Language()));
        sgLines->SetCells(3, r, QString::number(line.energy, 'g', 6));
        sgLines->SetCells(4, r, QString::number(line.yield, 'g', 4));
        sgLines->SetCells(5, r, QString::number(line.node->Lr, 'g', 8));
    }
    if (FLinesTooMany) {
        lLines->setText(QString::fromUtf16(Catalogue(FPanel.Language()).ListTooLong));
        lLines->setStyleSheet(QStringLiteral("color: blue"));
        return;
    }
    lLines->setStyleSheet(QString());
    lLines->setText(CountText(static_cast<int>(FLines.size()), ckLines, FPanel.Language()));
}

// The radiation types of the lines list

void TQzRNXAdvFilterForm::ChooseRadiations()
{
    TQzSetFilteredLinesForm form(FBetaSet, FGammaSet, FPanel.Language(), this);
    QWidget* kinds = LineKindButton(lkAlpha)->parentWidget();
    form.move(kinds->mapToGlobal(QPoint(0, kinds->height())));
    if (ExecModal(form) != QDialog::Accepted)
        return;
    FBetaSet = form.BetaSet();
    FGammaSet = form.GammaSet();
    BuildLines();
}

// Width and pages

void TQzRNXAdvFilterForm::SetIsMoreWidth(bool value)
{
    FIsMoreWidth = value;
    if (FPages->currentIndex() == pgSpectrum)
        UpdateWidth();
}

void TQzRNXAdvFilterForm::PageChanged(int page)
{
    bLinesList->setVisible(page == pgSpectrum);
    UpdateWidth();
}

void TQzRNXAdvFilterForm::UpdateWidth()
{
    const bool wide = FIsMoreWidth && FPages->currentIndex() == pgSpectrum;
    bLinesList->setIcon(style()->standardIcon(wide ? QStyle::SP_ArrowLeft : QStyle::SP_ArrowRight));
    bLinesList->setToolTip(wide ? QStringLiteral("Hide the list of spectrum lines")
                                : QStringLiteral("Show the list of spectrum lines"));
    gbLines->setVisible(wide);
    setFixedSize(wide ? WideWidth : NarrowWidth, ClientHeight);
    if (!wide || !isVisible())
        return;
    const QRect screen = this->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.left() + frame.width() > screen.right())
        move(screen.right() - frame.width() - 5, y());
}

void TQzRNXAdvFilterForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    UpdateWidth();
    BuildLines();
    // A tool window is not made active by the window system as it opens: without this the
    // keys would go on to the window below until the dialog is clicked.
    activateWindow();
    FocusPage();
}

void TQzRNXAdvFilterForm::FocusPage()
{
    QWidget* page = FPages->currentWidget();
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain())
        if (page->isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
}

void TQzRNXAdvFilterForm::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+Tab and Ctrl+PgDn to the next page, with Shift or PgUp to the one before, wherever the
    // focus is outside the result lists (whose own pages turn there).
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (control && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_PageDown || key == Qt::Key_PageUp)) {
        const bool back = key == Qt::Key_Backtab || key == Qt::Key_PageUp || (event->modifiers() & Qt::ShiftModifier);
        const int count = FPages->count();
        FPages->setCurrentIndex((FPages->currentIndex() + (back ? count - 1 : 1)) % count);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TQzRNXAdvFilterForm::done(int result)
{
    FPanel.Selection().SetChoiceHeld(false);
    FPanelFilterChanged.Reset();
    QDialog::done(result);
}

// The radiation-type chooser

TQzSetFilteredLinesForm::TQzSetFilteredLinesForm(const TRNXRadiationSet& beta, const TRNXRadiationSet& gamma,
                                                 TQzLanguage language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SetFilteredLinesForm"));
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    // As large as the lists' names in the chosen language need, and no larger.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* lists = new QHBoxLayout;
    auto makeList = [&](std::initializer_list<int> codes, const TRNXRadiationSet& set) {
        QStringList names;
        for (int code : codes)
            names << RNXRadiationName(code, language);
        QListWidget* list = makeCheckList(names, 1, frame);
        int row = 0;
        for (int code : codes) {
            list->item(row)->setData(Qt::UserRole, code);
            setChecked(list, row++, set.contains(code));
        }
        // Every name whole, every row in sight: no scroll bars.
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        int widest = 0;
        for (const QString& name : names)
            widest = std::max(widest, list->fontMetrics().horizontalAdvance(name));
        const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 12;
        const int frameWidth = 2 * list->frameWidth();
        const int rowStep = list->gridSize().height();
        const int lastRow = std::max(rowStep, list->sizeHintForRow(0));
        list->setFixedSize(std::max(list->gridSize().width(), widest + indicator) + frameWidth,
                           (list->count() - 1) * rowStep + lastRow + frameWidth + 2);
        lists->addWidget(list);
        return list;
    };
    clbBeta = makeList({4, 5, 6, 7, 14}, beta);
    clbBeta->setObjectName(QStringLiteral("clbBeta"));
    clbGamma = makeList({1, 2, 3, 12, 13}, gamma);
    clbGamma->setObjectName(QStringLiteral("clbGamma"));
    layout->addLayout(lists, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, frame);
    bOK = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

namespace {

TRNXRadiationSet checkedCodes(const QListWidget* list)
{
    TRNXRadiationSet set;
    for (int row = 0; row < list->count(); ++row)
        if (isChecked(list, row))
            set.insert(list->item(row)->data(Qt::UserRole).toInt());
    return set;
}

} // namespace

TRNXRadiationSet TQzSetFilteredLinesForm::BetaSet() const
{
    return checkedCodes(clbBeta);
}

TRNXRadiationSet TQzSetFilteredLinesForm::GammaSet() const
{
    return checkedCodes(clbGamma);
}

void TQzSetFilteredLinesForm::accept()
{
    bool refilled = false;
    for (QListWidget* list : {clbBeta, clbGamma})
        if (checkedCodes(list).empty()) {
            for (int row = 0; row < list->count(); ++row)
                setChecked(list, row, true);
            refilled = true;
        }
    if (!refilled)
        QDialog::accept();
}

} // namespace kav
