#include "app/mixtureview.h"

#include "app/application.h"
#include "app/helpwindow.h"
#include "app/materialsview.h"
#include "app/materialtext.h"
#include "base/messageboxes.h"
#include "chooser/ui/addnuclidesdialog.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "controls/inputcolours.h"
#include "controls/keyboard.h"
#include "controls/paintedicon.h"
#include "data/applicationcontext.h"
#include "data/mixture.h"
#include "data/mixturedoses.h"
#include "units/ui/unitcombobox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace kav {

namespace {

const QColor kLightYellow(0xFF, 0xFF, 0xCC);
const QColor kLightCyan(0xCC, 0xFF, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kGrey(0x80, 0x80, 0x80);

enum Column {
    MarkerColumn,
    ElementColumn,
    NuclideColumn,
    RouteColumn,
    MaterialColumn,
    SizeColumn,
    IntakeColumn,
    CoefficientColumn,
    DoseColumn,
    PercentColumn,
    ColumnCount
};

// The pictures of the tool buttons.
enum class Glyph { Add, Remove, Clear, Undo, Redo, Top, Up, Down, Bottom };

// The word a tool button is named after: "add" for the addButton.
const char* glyphName(Glyph glyph)
{
    static const char* const names[] = {"add", "remove", "clear", "undo", "redo", "top", "up", "down", "bottom"};
    return names[static_cast<int>(glyph)];
}

QIcon glyphIcon(Glyph glyph)
{
    return paintedIcon(16, [glyph](QPainter& p) {
        auto triangle = [&p](bool up, int top) {
            QPainterPath path;
            path.moveTo(3, up ? top + 6 : top);
            path.lineTo(13, up ? top + 6 : top);
            path.lineTo(8, up ? top : top + 6);
            path.closeSubpath();
            p.fillPath(path, kNavy);
        };
        switch (glyph) {
        case Glyph::Add:
            p.fillRect(7, 2, 3, 12, QColor(0x00, 0x80, 0x00));
            p.fillRect(2, 7, 12, 3, QColor(0x00, 0x80, 0x00));
            break;
        case Glyph::Remove: p.fillRect(2, 7, 12, 3, QColor(0xC0, 0x00, 0x00)); break;
        case Glyph::Clear:
            p.setPen(QPen(QColor(0xC0, 0x00, 0x00), 2.5));
            p.drawLine(3, 3, 13, 13);
            p.drawLine(13, 3, 3, 13);
            break;
        case Glyph::Undo:
        case Glyph::Redo: {
            // A hooked arrow: an arc from the right, its head at the left (mirrored for redo).
            p.save();
            if (glyph == Glyph::Redo) {
                p.translate(16, 0);
                p.scale(-1, 1);
            }
            p.setPen(QPen(kNavy, 2));
            QPainterPath arc;
            arc.moveTo(13, 13);
            arc.cubicTo(14, 5, 8, 4, 4, 7);
            p.drawPath(arc);
            QPainterPath head;
            head.moveTo(1, 5);
            head.lineTo(7, 4);
            head.lineTo(5, 10);
            head.closeSubpath();
            p.fillPath(head, kNavy);
            p.restore();
            break;
        }
        case Glyph::Top:
            p.fillRect(3, 2, 10, 2, kNavy);
            triangle(true, 6);
            break;
        case Glyph::Up: triangle(true, 5); break;
        case Glyph::Down: triangle(false, 5); break;
        case Glyph::Bottom:
            triangle(false, 4);
            p.fillRect(3, 12, 10, 2, kNavy);
            break;
        }
    });
}

} // namespace

MixtureView::MixtureView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , m_context(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildToolBar());
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("mixtureTable"));
    copyByKeys(*m_copyAction, *m_grid);
    layout->addWidget(m_grid, 1);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("totalLabel"));
    m_total->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_total);
    initMixtureGrid();
    connectGridEvents();
    followUnits();
    m_watchingUnits = m_context.settings().settingsChanged.connect([this] { followUnits(); });
}

QLayout* MixtureView::buildToolBar()
{
    auto button = [this](QToolButton*& into, Glyph glyph, const QString& hint, void (MixtureView::*click)()) {
        into = new QToolButton(this);
        into->setObjectName(QLatin1String(glyphName(glyph)) + QStringLiteral("Button"));
        into->setIcon(glyphIcon(glyph));
        into->setToolTip(hint);
        into->setAutoRaise(true);
        connect(into, &QToolButton::clicked, this, [this, click] { (this->*click)(); });
    };
    button(m_addButton, Glyph::Add, QStringLiteral("Add radionuclides..."), &MixtureView::addNuclides);
    button(m_removeButton, Glyph::Remove, QStringLiteral("Remove selected radionuclide from the list"),
           &MixtureView::removeSelected);
    button(m_clearButton, Glyph::Clear, QStringLiteral("Clear radionuclides list"), &MixtureView::clearRows);
    button(m_undoButton, Glyph::Undo,
           QStringLiteral("Undo (%1)").arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)),
           &MixtureView::undoEdit);
    button(m_redoButton, Glyph::Redo,
           QStringLiteral("Redo (%1)").arg(QKeySequence(QKeySequence::Redo).toString(QKeySequence::NativeText)),
           &MixtureView::redoEdit);
    button(m_topButton, Glyph::Top, QStringLiteral("Move current row to the top"), &MixtureView::moveToTop);
    button(m_upButton, Glyph::Up, QStringLiteral("Move current row up"), &MixtureView::moveUp);
    button(m_downButton, Glyph::Down, QStringLiteral("Move current row down"), &MixtureView::moveDown);
    button(m_bottomButton, Glyph::Bottom, QStringLiteral("Move current row to the bottom"), &MixtureView::moveToBottom);

    m_doseUnitBox = new DoseUnitComboBox(this);
    m_doseUnitBox->setObjectName(QStringLiteral("doseUnitBox"));
    m_doseUnitBox->setEnabledDoseUnits({DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv});
    m_activityUnitBox = new ActivityUnitComboBox(this);
    m_activityUnitBox->setObjectName(QStringLiteral("activityUnitBox"));
    m_activityUnitBox->setEnabledActivityUnits(
        {ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq, ActivityUnit::MBq});
    // The preferences hold the units; the table follows them when they change.
    m_doseUnitBox->setOnChange([this] { m_context.settings().setMixtureDoseUnit(m_doseUnitBox->value()); });
    m_activityUnitBox->setOnChange([this] { m_context.settings().setMixtureActivityUnit(m_activityUnitBox->value()); });
    for (QWidget* box : std::initializer_list<QWidget*>{m_doseUnitBox, m_activityUnitBox})
        applyInputColours(box);

    m_copyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setToolTip(MaterialsView::CopyHint);
    connect(m_copyAction, &QAction::triggered, this, [this] { copyToClipboard(); });
    // Undo and redo answer their keys anywhere on the page.
    m_undoAction = new QAction(QStringLiteral("Undo"), this);
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = new QAction(QStringLiteral("Redo"), this);
    m_redoAction->setObjectName(QStringLiteral("redoAction"));
    m_redoAction->setShortcuts({QKeySequence(QKeySequence::Redo), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {m_undoAction, m_redoAction}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(m_undoAction, &QAction::triggered, this, [this] { undoEdit(); });
    connect(m_redoAction, &QAction::triggered, this, [this] { redoEdit(); });
    QToolButton* copy = textButtonFor(*m_copyAction, this);

    auto* bar = new QHBoxLayout;
    for (QToolButton* b : {m_addButton, m_removeButton, m_clearButton})
        bar->addWidget(b);
    bar->addSpacing(16);
    for (QToolButton* b : {m_undoButton, m_redoButton})
        bar->addWidget(b);
    bar->addSpacing(16);
    for (QToolButton* b : {m_topButton, m_upButton, m_downButton, m_bottomButton})
        bar->addWidget(b);
    bar->addStretch(1);
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    unitsLabel->setBuddy(m_doseUnitBox);
    bar->addWidget(unitsLabel);
    bar->addWidget(m_doseUnitBox);
    bar->addWidget(new QLabel(QStringLiteral("/"), this));
    bar->addWidget(m_activityUnitBox);
    bar->addSpacing(24);
    bar->addWidget(copy);
    return bar;
}

void MixtureView::initMixtureGrid()
{
    DataGrid& g = *m_grid;
    g.setColCount(ColumnCount);
    g.setRowCount(2);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setRowHeights(0, 50);
    const int widths[ColumnCount] = {16, 59, 81, 97, 300, 88, 80, 105, 105, 50};
    const char* headers[ColumnCount]
        = {"", "Element", "Radionuclide", "Route of Intake", "Material", "", "Intake", "", "", "%"};
    for (int c = 0; c < ColumnCount; ++c) {
        g.setColWidths(c, widths[c]);
        g.setCells(c, 0, QString::fromLatin1(headers[c]));
    }
    g.setCells(SizeColumn, 0, QString::fromUtf16(u"AMTD/AMAD, \u00B5m"));
    *g.createCellHint(SizeColumn, 0) = MaterialsView::AMADHint;
    for (int c : {ElementColumn, NuclideColumn, RouteColumn, SizeColumn})
        g.setColValueType(c, CellValueType::StringList);
    g.setColValueType(MaterialColumn, CellValueType::ExtendedStringList);
    g.setColValueType(IntakeColumn, CellValueType::Float);
    for (int c : {CoefficientColumn, DoseColumn, PercentColumn})
        g.setColEnabled(c, false);
    *g.createCellHint(IntakeColumn, 0)
        = QStringLiteral("The activity taken in; a row without one is left out of the total");
    *g.createCellHint(PercentColumn, 0) = QStringLiteral("The row's share of the total committed effective dose");
    g.autoScaleColumns.enabled = true;
    g.autoScaleColumns.weights.assign(ColumnCount, 0);
    // The material's text takes the room the window gives; the numbers keep the width of their
    // heading.
    g.autoScaleColumns.weights[MaterialColumn] = 1;
    g.setOption(GridOption::Editing, true);
    g.openListOnClick = true;
    for (CellFormat* f : {&g.fixedCellsFormat.normal, &g.fixedCellsFormat.selected, &g.fixedCellsFormat.disabled})
        f->multiLine = true;
    g.selectedCellFormat.color = kLightCyan;
    g.selectedCellFormat.font.setBold(true);
    g.selectedCellFormat.fontColor = kNavy;
    updateUndoButtons();
}

void MixtureView::connectGridEvents()
{
    DataGrid& g = *m_grid;
    g.onCanEditShow = [this](DataGrid*, int col, int row, bool& can) { can = can && canEditCell(col, row); };
    g.onGetStringList = [this](DataGrid*, int col, int row, QStringList& list) { list = cellChoices(col, row); };
    g.onGetExtStringList = [this](DataGrid*, int col, int row, std::vector<ListItem>& list) {
        list.clear();
        if (col != MaterialColumn || !m_mixture || row < 1 || row > m_mixture->count())
            return;
        for (const QString& m : m_mixture->materials(row - 1))
            list.push_back({m, materialCaption(m)});
    };
    g.onGetComboBoxFormat = [](DataGrid*, int, int, QComboBox& box) {
        QPalette palette = box.view()->palette();
        palette.setColor(QPalette::Base, kLightYellow);
        box.view()->setPalette(palette);
    };
    g.onSetEditText = [this](DataGrid*, int col, int row, const QString& value) { cellEdited(col, row, value); };
    g.onAfterSelectCell = [this](DataGrid*, int, int) { updateMixtureMoveButtons(); };
    auto dataFormat = [this](DataGrid*, int col, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == MaterialColumn)
            f.horizontalAlignment = HorizontalAlignment::Left;
        if (col >= ElementColumn && col <= IntakeColumn)
            f.color = kLightYellow;
        // The doses cannot be edited, but they are what the table is for: not greyed.
        if (col >= CoefficientColumn)
            f.fontColor = Qt::black;
        // A row without data says why in grey.
        if (m_mixture && row >= 1 && row <= m_mixture->count() && !m_mixture->rowAt(row - 1).available())
            f.fontColor = kGrey;
    };
    g.onGetFixedCellFormat = [](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col >= CoefficientColumn)
            f.fontColor = kNavy;
    };
    g.onGetInnerCellFormat = dataFormat;
    g.onGetSelectedCellFormat = [](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == MaterialColumn)
            f.horizontalAlignment = HorizontalAlignment::Left;
    };
    g.onDrawCell = [](DataGrid* grid, QPainter& p, int col, int row, const QRect& rect, CellDrawState) {
        if (col != MarkerColumn || row != grid->row() || row < 1)
            return;
        const QPointF corners[3]
            = {QPointF(rect.left() + 4, rect.bottom() - 3), QPointF(rect.left() + 4, rect.top() + 3),
               QPointF(rect.left() + 11, rect.center().y())};
        p.save();
        p.setBrush(Qt::black);
        p.setPen(grid->palette().color(QPalette::WindowText));
        p.drawPolygon(corners, 3);
        p.restore();
    };
    g.viewport()->installEventFilter(this);
    g.installEventFilter(this);
}

void MixtureView::setMixture(Mixture* mixture)
{
    m_mixture = mixture;
    updateUndoButtons();
}

bool MixtureView::canEditCell(int col, int row) const
{
    if (!m_mixture || row < 1 || row > m_mixture->count())
        return false;
    const int index = row - 1;
    switch (col) {
    case ElementColumn:
    case NuclideColumn: return true;
    case RouteColumn: return m_mixture->rowAt(index).available();
    // A list of one offers no choice.
    case MaterialColumn: return m_mixture->materials(index).size() > 1;
    case SizeColumn: return m_mixture->hasSize(index);
    // A row without data keeps its intake, counted again once its data can be had.
    case IntakeColumn: return true;
    default: return false;
    }
}

QStringList MixtureView::cellChoices(int col, int row) const
{
    switch (col) {
    case ElementColumn: return m_context.dataElementList();
    case NuclideColumn: {
        if (!m_mixture || row < 1 || row > m_mixture->count())
            return {};
        QStringList names;
        const QString prefix = m_mixture->rowAt(row - 1).setting.nuclide.section(u'-', 0, 0) + u'-';
        for (const NuclideList::Entry& e : m_context.dataNuclideList().items())
            if (e.name.startsWith(prefix))
                names << e.name;
        return names;
    }
    case RouteColumn: return intakePathNames();
    case SizeColumn: return amadLabels();
    default: return {};
    }
}

void MixtureView::cellEdited(int col, int row, const QString& value)
{
    if (!m_mixture || row < 1 || row > m_mixture->count())
        return;
    const int index = row - 1;
    QString error;
    bool done = true;
    switch (col) {
    case ElementColumn: done = m_mixture->setElement(index, value, error); break;
    case NuclideColumn: done = m_mixture->setNuclide(index, value, error); break;
    case RouteColumn: m_mixture->setRoute(index, intakePathFromText(value)); break;
    case MaterialColumn: {
        const int picked = m_grid->committedListIndex();
        m_mixture->setMaterial(index,
                               picked >= 0 ? picked : static_cast<int>(m_mixture->materials(index).indexOf(value)));
        break;
    }
    case SizeColumn: {
        int size = -1;
        if (amadIndexFromText(value, size))
            m_mixture->setSize(index, size);
        break;
    }
    case IntakeColumn:
        // The number as it is being typed stays in the cell; the doses and the total follow it.
        {
            const std::optional<double> intake = intakeFromText(value, units().activity);
            m_mixture->setIntake(index, intake);
            m_intakeProblem = intake || value.trimmed().isEmpty()
                ? QString()
                : QStringLiteral("Row %1: the intake \"%2\" is not a positive number; the row is not counted.")
                      .arg(row)
                      .arg(value);
            updateMixtureDoses();
            updateUndoButtons();
            return;
        }
    default: return;
    }
    // The row shows what the mixture holds, the old pairing when the new one could not be had,
    // before anything is said about it.
    showRow(index);
    updateMixtureDoses();
    updateUndoButtons();
    if (!done)
        reportLoadErrors({error});
}

void MixtureView::showRow(int index)
{
    const MixtureRow& r = m_mixture->rowAt(index);
    const int row = index + 1;
    const KeptMixtureRow& s = r.setting;
    m_grid->setCells(ElementColumn, row, s.nuclide.section(u'-', 0, 0));
    m_grid->setCells(NuclideColumn, row, s.nuclide);
    m_grid->setCells(RouteColumn, row, intakePathName(s.path));
    const QString material = mixtureMaterialText(*m_mixture, index);
    m_grid->setCells(MaterialColumn, row, material);
    if (QString* caption = m_grid->createCellCaption(MaterialColumn, row))
        *caption = r.available() ? materialCaption(material) : QString();
    if (QString* hint = m_grid->createCellHint(MaterialColumn, row))
        *hint = r.available() ? QString() : r.unavailable;
    const bool sized = m_mixture->hasSize(index);
    m_grid->setCells(SizeColumn, row, sized ? amadLabels().value(s.amadIndex) : QStringLiteral("-"));
    // The size's hint stands where a size can be picked.
    if (sized)
        *m_grid->createCellHint(SizeColumn, row) = MaterialsView::AMADHint;
    else if (m_grid->getCellHint(SizeColumn, row))
        m_grid->createCellHint(SizeColumn, row)->clear();
    m_grid->setCells(IntakeColumn, row, s.intakeBq ? mixtureIntakeText(*s.intakeBq, units().activity) : QString());
}

void MixtureView::showDoses(const MixtureDoses& doses)
{
    const MixtureUnits u = units();
    const double coefficientFactor = static_cast<double>(bqPerUnit(u.activity)) / svPerUnit(u.dose);
    const QString none = QStringLiteral("-");
    for (int i = 0; i < m_mixture->count() && i + 1 < m_grid->rowCount(); ++i) {
        const std::optional<float> coefficient = m_mixture->dose(i);
        const auto at = static_cast<std::size_t>(i);
        m_grid->setCells(CoefficientColumn, i + 1,
                         coefficient ? formatScientific(*coefficient * coefficientFactor, 2) : none);
        m_grid->setCells(DoseColumn, i + 1,
                         doses.doseSv[at] ? formatScientific(*doses.doseSv[at] / svPerUnit(u.dose), 2) : none);
        m_grid->setCells(PercentColumn, i + 1,
                         doses.sharePercent[at] ? QString::number(*doses.sharePercent[at], 'f', 1) : none);
    }
    const QString total = mixtureTotalText(doses, m_mixture->count(), u).toHtmlEscaped();
    m_total->setText(m_intakeProblem.isEmpty() ? total
                                               : total + QStringLiteral("<br><span style=\"color:#B00000\">")
                             + m_intakeProblem.toHtmlEscaped() + QStringLiteral("</span>"));
}

MixtureUnits MixtureView::units() const
{
    const ProgramSettings& preference = m_context.settings();
    return {preference.mixtureActivityUnit(), preference.mixtureDoseUnit()};
}

void MixtureView::fillMixtureGrid()
{
    if (!m_mixture)
        return;
    m_grid->setRowCount(m_mixture->count() + 1);
    for (int i = 0; i < m_mixture->count(); ++i)
        showRow(i);
    updateMixtureDoses();
    updateMixtureMoveButtons();
    updateUndoButtons();
}

void MixtureView::showChangedRows(int currentIndex)
{
    fillMixtureGrid();
    const int row = std::clamp(currentIndex + 1, 1, m_grid->rowCount() - 1);
    m_grid->setRow(row);
    m_grid->scrollIntoView(m_grid->col(), row);
    updateMixtureMoveButtons();
}

void MixtureView::updateMixtureDoses()
{
    if (m_mixture)
        showDoses(computeMixtureDoses(*m_mixture));
}

void MixtureView::updateMixtureDoseCaption()
{
    const MixtureUnits u = units();
    const QString activity = activityUnitLabel(u.activity);
    const QString dose = doseUnitLabel(u.dose);
    const QString coefficient = dose + u'/' + activity;
    m_grid->setCells(CoefficientColumn, 0, QStringLiteral("Dose Coefficient e(50), ") + coefficient);
    m_grid->setCells(IntakeColumn, 0, QStringLiteral("Intake, ") + activity);
    m_grid->setCells(DoseColumn, 0, QStringLiteral("Committed Effective Dose, ") + dose);
    // Wide enough for the heading in two lines, "Dose Coefficient" over "e(50), Sv/Bq".
    const QFontMetrics metrics(m_grid->fixedCellsFormat.normal.font);
    const int heading = std::max(metrics.horizontalAdvance(QStringLiteral("Dose Coefficient")),
                                 metrics.horizontalAdvance(QStringLiteral("e(50), ") + coefficient));
    m_grid->setColWidths(CoefficientColumn, std::max(105, heading + 12));
}

void MixtureView::updateMixtureMoveButtons()
{
    const int row = m_grid->row();
    const bool last = row >= m_grid->rowCount() - 1;
    m_topButton->setEnabled(row > 1);
    m_upButton->setEnabled(row > 1);
    m_downButton->setEnabled(!last);
    m_bottomButton->setEnabled(!last);
}

void MixtureView::updateUndoButtons()
{
    const bool undo = m_mixture && m_mixture->canUndo();
    const bool redo = m_mixture && m_mixture->canRedo();
    m_undoButton->setEnabled(undo);
    m_undoAction->setEnabled(undo);
    m_redoButton->setEnabled(redo);
    m_redoAction->setEnabled(redo);
}

void MixtureView::followUnits()
{
    const ProgramSettings& preference = m_context.settings();
    const std::pair units{preference.mixtureDoseUnit(), preference.mixtureActivityUnit()};
    if (units == m_unitsShown)
        return;
    m_unitsShown = units;
    m_doseUnitBox->setValue(units.first);
    m_activityUnitBox->setValue(units.second);
    updateMixtureDoseCaption();
    fillMixtureGrid();
}

void MixtureView::addNuclides()
{
    if (!m_addButton->isVisible() || !m_addButton->isEnabled() || !m_addSource || !m_mixture)
        return;
    NuclidePointers nodes;
    const auto help = [this] {
        if (showHelp)
            showHelp(helpTopicOfContext(1010));
    };
    if (!executeAddNuclidesDialog(*m_addSource, nodes, execModal, this, help))
        return;
    const int before = m_mixture->count();
    // A nuclide whose file cannot be read is left out; the others come in.
    const QStringList errors = m_mixture->append(std::vector<const NuclideIdentity*>(nodes.begin(), nodes.end()));
    if (m_mixture->count() > before) {
        m_grid->setRowCount(m_mixture->count() + 1);
        for (int i = before; i < m_mixture->count(); ++i)
            showRow(i);
        updateMixtureDoses();
    }
    updateMixtureMoveButtons();
    updateUndoButtons();
    reportLoadErrors(errors);
}

void MixtureView::reportLoadErrors(const QStringList& messages)
{
    if (messages.isEmpty())
        return;
    constexpr int shown = 10;
    QStringList text = messages.mid(0, shown);
    if (messages.size() > shown)
        text << QStringLiteral("... and %1 more files that could not be read.").arg(messages.size() - shown);
    m_context.boxes().show(MessageKind::Error, QStringLiteral("Error"), text.join(QStringLiteral("\r\n")), ButtonCancel,
                           ButtonCancel);
}

void MixtureView::removeSelected()
{
    if (!m_mixture)
        return;
    const int index = m_grid->row() - 1;
    m_mixture->remove(index);
    showChangedRows(index);
}

void MixtureView::clearRows()
{
    if (!m_mixture)
        return;
    m_mixture->clear();
    showChangedRows(0);
}

void MixtureView::undoEdit()
{
    if (m_mixture && m_mixture->canUndo())
        showChangedRows(m_mixture->undo());
}

void MixtureView::redoEdit()
{
    if (m_mixture && m_mixture->canRedo())
        showChangedRows(m_mixture->redo());
}

void MixtureView::moveCurrentRow(int toRow)
{
    const int row = m_grid->row();
    const int last = m_grid->rowCount() - 1;
    toRow = std::clamp(toRow, 1, last);
    if (!m_mixture || row == toRow || row < 1 || row > last)
        return;
    m_mixture->move(row - 1, toRow - 1);
    showChangedRows(toRow - 1);
}

void MixtureView::moveToTop()
{
    moveCurrentRow(1);
}

void MixtureView::moveUp()
{
    moveCurrentRow(m_grid->row() - 1);
}

void MixtureView::moveDown()
{
    moveCurrentRow(m_grid->row() + 1);
}

void MixtureView::moveToBottom()
{
    moveCurrentRow(m_grid->rowCount() - 1);
}

void MixtureView::copyToClipboard()
{
    if (m_mixture)
        QApplication::clipboard()->setText(mixtureDoseText(*m_mixture, computeMixtureDoses(*m_mixture), units()));
}

void MixtureView::gridMouseMoved(QPoint pos)
{
    const QPoint cell = m_grid->mouseCoord(pos.x(), pos.y());
    const bool pickable = cell.x() >= ElementColumn && cell.x() <= SizeColumn && canEditCell(cell.x(), cell.y());
    m_grid->viewport()->setCursor(pickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MixtureView::gridContextMenu(const QContextMenuEvent& event)
{
    QMenu menu;
    menu.addAction(m_copyAction);
    menu.addSeparator();
    menu.addAction(m_undoAction);
    menu.addAction(m_redoAction);
    const QPoint at = m_grid->viewport()->mapFromGlobal(event.globalPos());
    const int col
        = event.reason() == QContextMenuEvent::Keyboard ? m_grid->col() : m_grid->mouseCoord(at.x(), at.y()).x();
    if (col == SizeColumn && showHelp) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Help"), this, [this] { showHelp(HelpTopic::AMAD); });
    }
    menu.exec(event.globalPos());
}

bool MixtureView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseMove)
        gridMouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
    if ((watched == m_grid->viewport() || watched == m_grid) && event->type() == QEvent::ContextMenu) {
        gridContextMenu(*static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->modifiers() & Qt::ControlModifier;
        if (key->key() == Qt::Key_Delete) {
            removeSelected();
            return true;
        }
        if (key->key() == Qt::Key_Insert) {
            addNuclides();
            return true;
        }
        if (control && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            key->key() == Qt::Key_Up ? moveUp() : moveDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kav
