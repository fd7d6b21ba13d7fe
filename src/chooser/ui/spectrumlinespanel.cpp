#include "chooser/ui/spectrumlinespanel.h"

#include "base/catalogue.h"
#include "chooser/nuclideselection.h"
#include "chooser/ui/filtercontrols.h"
#include "controls/datagrid.h"
#include "nuclides/nuclidenames.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace kav {

namespace {

QString lineKindText(int kind)
{
    static const char16_t* const letters[] = {u"α", u"β", u"γ"};
    return QString::fromUtf16(letters[kind]);
}

} // namespace

SpectrumLinesPanel::SpectrumLinesPanel(const NuclideSelection& selection, QWidget* parent)
    : QGroupBox(QStringLiteral("Spectrum lines"), parent)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , m_selection(selection)
    , m_betaSet(BetaGroup)
    , m_gammaSet(PhotonGroup)
{
    setObjectName(QStringLiteral("spectrumLinesPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* kinds = new QGroupBox(this);
    kinds->setObjectName(QStringLiteral("lineKinds"));
    kinds->setToolTip(QStringLiteral("Right-click to choose the radiation types of beta and photon lines"));
    kinds->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(kinds, &QWidget::customContextMenuRequested, this, [this] { chooseRadiations(); });
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->setContentsMargins(6, 2, 6, 2);
    m_kinds = new QButtonGroup(this);
    for (int k = 0; k <= static_cast<int>(LineKind::Gamma); ++k) {
        auto* button = new QRadioButton(lineKindText(k), kinds);
        button->setObjectName(QStringLiteral("lineKind%1").arg(k));
        m_kinds->addButton(button, k);
        kindRow->addWidget(button);
    }
    m_kinds->button(static_cast<int>(LineKind::Alpha))->setChecked(true);
    connect(m_kinds, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        m_kind = static_cast<LineKind>(id);
        rebuild();
    });
    layout->addWidget(kinds);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("linesTable"));
    m_grid->setColCount(6);
    m_grid->setRowCount(2);
    m_grid->setFixedRows(1);
    m_grid->setFixedCols(1);
    m_grid->setDefaultRowHeight(18);
    m_grid->setRowHeights(0, 34);
    m_grid->setOption(GridOption::RowSelect, true);
    const int widths[] = {40, 88, 88, 100, 100, -1};
    const char* heads[] = {"No", "Radionuclide", "Half-life", "Energy (Ei), MeV", "Di, MeV / trans.", "Lr"};
    for (int c = 0; c < 6; ++c) {
        m_grid->setColWidths(c, widths[c]);
        m_grid->setCells(c, 0, QString::fromLatin1(heads[c]));
    }
    *m_grid->createCellCaption(3, 0) = QStringLiteral("Energy (E<sub>i</sub>), MeV");
    *m_grid->createCellCaption(4, 0) = QStringLiteral("Δ<sub>i</sub>, MeV / trans.");
    m_grid->fixedCellsFormat.normal.multiLine = true;
    m_grid->setCells(0, 1, QStringLiteral("1"));
    layout->addWidget(m_grid, 1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lineCount"));
    layout->addWidget(m_count);

    m_menu = new QMenu(this);
    QMenu* sortMenu = m_menu->addMenu(QStringLiteral("Sort by"));
    auto* sorts = new QActionGroup(this);
    const std::pair<const char*, LinesSort> entries[] = {{"periodic table", LinesSort::ListOrder},
                                                         {"half-life", LinesSort::HalfLife},
                                                         {"energy", LinesSort::Energy},
                                                         {"energy \u2022 yield", LinesSort::Yield}};
    for (std::size_t i = 0; i < 4; ++i) {
        QAction* a = sortMenu->addAction(QString::fromUtf8(entries[i].first));
        a->setCheckable(true);
        sorts->addAction(a);
        const LinesSort sort = entries[i].second;
        connect(a, &QAction::triggered, this, [this, sort] { sortLines(sort); });
        m_sortActions[i] = a;
    }
    m_sortActions[0]->setChecked(true);
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Copy to clipboard")), &QAction::triggered, this,
            [this] { m_grid->copyToClipboard(QString(), QString(), {5}, true); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { m_menu->popup(m_grid->viewport()->mapToGlobal(pos)); });
}

QRadioButton* SpectrumLinesPanel::lineKindButton(LineKind kind) const
{
    return static_cast<QRadioButton*>(m_kinds->button(static_cast<int>(kind)));
}

void SpectrumLinesPanel::rebuild()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lines.clear();
    m_linesCut = false;
    const SpectrumFilter& s = m_selection.filter().advanced().spectrum();
    // The kinds of lines offered are the groups of the spectrum criteria, in their order.
    const auto group = static_cast<LineGroup>(m_kind);
    const SpectrumCriterion energy = energyOptionOf(group);
    const SpectrumCriterion yield = yieldOptionOf(group);
    LineQuery query;
    query.types = m_kind == LineKind::Alpha ? radiationsOf(LineGroup::Alpha)
        : m_kind == LineKind::Beta          ? m_betaSet
                                            : m_gammaSet;
    if (s.options().contains(energy))
        query.energy = LineBounds{s.min(energy), s.max(energy)};
    if (s.options().contains(yield))
        query.yield = LineBounds{s.min(yield), s.max(yield)};
    query.cap = MaxLines;
    const NuclideIndex& index = m_selection.filter().index();
    if (query.energy || query.yield) {
        std::vector<const Nuclide*> nuclides;
        for (const NuclideSelection::Entry& entry : m_selection.nuclides())
            nuclides.push_back(index.findNuclide(entry.name));
        FoundLines found = findLines(s.spectra(), nuclides, query);
        m_lines = std::move(found.lines);
        m_linesCut = found.cut;
    }
    sortRows(m_sort);
    showLines();
    QApplication::restoreOverrideCursor();
}

void SpectrumLinesPanel::sortRows(LinesSort sort)
{
    switch (sort) {
    case LinesSort::HalfLife: kav::sortLines(m_lines, LineOrder::ShortestHalfLifeFirst); break;
    case LinesSort::Energy: kav::sortLines(m_lines, LineOrder::Energy); break;
    case LinesSort::Yield: kav::sortLines(m_lines, LineOrder::Yield); break;
    case LinesSort::ListOrder: break;
    }
}

void SpectrumLinesPanel::sortLines(LinesSort sort)
{
    m_sort = sort;
    for (QAction* a : m_sortActions)
        a->setChecked(false);
    const LinesSort order[] = {LinesSort::ListOrder, LinesSort::HalfLife, LinesSort::Energy, LinesSort::Yield};
    for (std::size_t i = 0; i < 4; ++i)
        if (order[i] == sort)
            m_sortActions[i]->setChecked(true);
    if (sort == LinesSort::ListOrder) {
        rebuild();
        return;
    }
    sortRows(sort);
    showLines();
}

void SpectrumLinesPanel::showLines()
{
    const UiLanguage language = m_selection.language();
    const int rows = std::max<int>(1, static_cast<int>(m_lines.size()));
    m_grid->setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        m_grid->setCells(0, r, QString::number(r));
        if (m_lines.empty()) {
            for (int c = 1; c < 6; ++c)
                m_grid->setCells(c, r, QString());
            continue;
        }
        const FoundLine& line = m_lines[static_cast<std::size_t>(r - 1)];
        m_grid->setCells(1, r, line.node->name.toString());
        m_grid->setCells(2, r, halfLifeText(*line.node, language));
        m_grid->setCells(3, r, QString::number(line.energy, 'g', 6));
        m_grid->setCells(4, r, QString::number(line.yield, 'g', 4));
        m_grid->setCells(5, r, QString::number(line.node->decayConstant, 'g', 8));
    }
    if (m_linesCut) {
        m_count->setText(QString::fromUtf16(catalogue(language).listTooLong));
        m_count->setStyleSheet(QStringLiteral("color: blue"));
        return;
    }
    m_count->setStyleSheet(QString());
    m_count->setText(countText(static_cast<int>(m_lines.size()), CountKind::Lines, language));
}

void SpectrumLinesPanel::chooseRadiations()
{
    LineTypesDialog form(m_betaSet, m_gammaSet, m_selection.language(), this);
    QWidget* kinds = lineKindButton(LineKind::Alpha)->parentWidget();
    form.move(kinds->mapToGlobal(QPoint(0, kinds->height())));
    if (execModal(form) != QDialog::Accepted)
        return;
    m_betaSet = form.betaSet();
    m_gammaSet = form.gammaSet();
    rebuild();
}

// The radiation-type chooser

LineTypesDialog::LineTypesDialog(const RadiationTypes& beta, const RadiationTypes& gamma, UiLanguage language,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("lineTypesDialog"));
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
    auto makeList = [&](std::initializer_list<int> codes, const RadiationTypes& set) {
        QStringList names;
        for (int code : codes)
            names << radiationName(code, language);
        QListWidget* list = makeCheckList(names, 1, frame);
        int row = 0;
        for (int code : codes) {
            list->item(row)->setData(Qt::UserRole, code);
            setItemChecked(list, row++, set.contains(code));
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
    m_betaList = makeList({4, 5, 6, 7, 14}, beta);
    m_betaList->setObjectName(QStringLiteral("betaTypes"));
    m_gammaList = makeList({1, 2, 3, 12, 13}, gamma);
    m_gammaList->setObjectName(QStringLiteral("gammaTypes"));
    layout->addLayout(lists, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, frame);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

namespace {

RadiationTypes checkedCodes(const QListWidget* list)
{
    RadiationTypes set;
    for (int row = 0; row < list->count(); ++row)
        if (isItemChecked(list, row))
            set.insert(list->item(row)->data(Qt::UserRole).toInt());
    return set;
}

} // namespace

RadiationTypes LineTypesDialog::betaSet() const
{
    return checkedCodes(m_betaList);
}

RadiationTypes LineTypesDialog::gammaSet() const
{
    return checkedCodes(m_gammaList);
}

void LineTypesDialog::accept()
{
    bool refilled = false;
    for (QListWidget* list : {m_betaList, m_gammaList})
        if (checkedCodes(list).empty()) {
            for (int row = 0; row < list->count(); ++row)
                setItemChecked(list, row, true);
            refilled = true;
        }
    if (!refilled)
        QDialog::accept();
}

} // namespace kav
