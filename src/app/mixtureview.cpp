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
#include "units/ui/unitcombobox.h"

#include <QAbstractItemView>
#include <QAction>
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

enum Column { cMarker, cElement, cNuclide, cRoute, cMaterial, cSize, cIntake, cDose, cPercent, ColumnCount };

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
    return PaintedIcon(16, [glyph](QPainter& p) {
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
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , FContext(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildToolBar());
    FGrid = new DataGrid(this);
    FGrid->setObjectName(QStringLiteral("mixtureTable"));
    CopyByKeys(*FCopyAction, *FGrid);
    layout->addWidget(FGrid, 1);
    InitMixtureGrid();
    ConnectGridEvents();
    FollowUnits();
    FWatchingUnits = FContext.Settings().SettingsChanged.Connect([this] { FollowUnits(); });
}

QLayout* MixtureView::BuildToolBar()
{
    auto button = [this](QToolButton*& into, Glyph glyph, const QString& hint, void (MixtureView::*click)()) {
        into = new QToolButton(this);
        into->setObjectName(QLatin1String(glyphName(glyph)) + QStringLiteral("Button"));
        into->setIcon(glyphIcon(glyph));
        into->setToolTip(hint);
        into->setAutoRaise(true);
        connect(into, &QToolButton::clicked, this, [this, click] { (this->*click)(); });
    };
    button(FAddButton, Glyph::Add, QStringLiteral("Add radionuclides..."), &MixtureView::tbAddRNClick);
    button(FRemoveButton, Glyph::Remove, QStringLiteral("Remove selected radionuclide from the list"),
           &MixtureView::tbRemoveSelectedRNClick);
    button(FClearButton, Glyph::Clear, QStringLiteral("Clear radionuclides list"), &MixtureView::tbClearListClick);
    button(FUndoButton, Glyph::Undo,
           QStringLiteral("Undo (%1)").arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)),
           &MixtureView::aMixtureUndoExecute);
    button(FRedoButton, Glyph::Redo,
           QStringLiteral("Redo (%1)").arg(QKeySequence(QKeySequence::Redo).toString(QKeySequence::NativeText)),
           &MixtureView::aMixtureRedoExecute);
    button(FTopButton, Glyph::Top, QStringLiteral("Move current row to the top"), &MixtureView::tbTopClick);
    button(FUpButton, Glyph::Up, QStringLiteral("Move current row up"), &MixtureView::tbUpClick);
    button(FDownButton, Glyph::Down, QStringLiteral("Move current row down"), &MixtureView::tbDownClick);
    button(FBottomButton, Glyph::Bottom, QStringLiteral("Move current row to the bottom"), &MixtureView::tbBottomClick);

    FDoseUnitBox = new DoseUnitComboBox(this);
    FDoseUnitBox->setObjectName(QStringLiteral("doseUnitBox"));
    FDoseUnitBox->SetEnabledDoseUnits({du_mkSv, du_mSv, du_Sv});
    FActivityUnitBox = new ActivityUnitComboBox(this);
    FActivityUnitBox->setObjectName(QStringLiteral("activityUnitBox"));
    FActivityUnitBox->SetEnabledActivityUnits({au__mBq, au_Bq, au_kBq, au_MBq});
    // The preferences hold the units; the table follows them when they change.
    FDoseUnitBox->SetOnChange([this] { FContext.Settings().SetMixtureDoseUnit(FDoseUnitBox->Value()); });
    FActivityUnitBox->SetOnChange([this] { FContext.Settings().SetMixtureActivityUnit(FActivityUnitBox->Value()); });
    for (QWidget* box : std::initializer_list<QWidget*>{FDoseUnitBox, FActivityUnitBox})
        ApplyInputColours(box);

    FCopyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    FCopyAction->setObjectName(QStringLiteral("copyAction"));
    FCopyAction->setToolTip(MaterialsView::CopyHint);
    connect(FCopyAction, &QAction::triggered, this, [this] { aMixtureCopyToClipboardExecute(); });
    // Undo and redo answer their keys anywhere on the page.
    FUndoAction = new QAction(QStringLiteral("Undo"), this);
    FUndoAction->setObjectName(QStringLiteral("undoAction"));
    FUndoAction->setShortcut(QKeySequence::Undo);
    FRedoAction = new QAction(QStringLiteral("Redo"), this);
    FRedoAction->setObjectName(QStringLiteral("redoAction"));
    FRedoAction->setShortcuts({QKeySequence(QKeySequence::Redo), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {FUndoAction, FRedoAction}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(FUndoAction, &QAction::triggered, this, [this] { aMixtureUndoExecute(); });
    connect(FRedoAction, &QAction::triggered, this, [this] { aMixtureRedoExecute(); });
    QToolButton* copy = TextButtonFor(*FCopyAction, this);

    auto* bar = new QHBoxLayout;
    for (QToolButton* b : {FAddButton, FRemoveButton, FClearButton})
        bar->addWidget(b);
    bar->addSpacing(16);
    for (QToolButton* b : {FUndoButton, FRedoButton})
        bar->addWidget(b);
    bar->addSpacing(16);
    for (QToolButton* b : {FTopButton, FUpButton, FDownButton, FBottomButton})
        bar->addWidget(b);
    bar->addStretch(1);
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    unitsLabel->setBuddy(FDoseUnitBox);
    bar->addWidget(unitsLabel);
    bar->addWidget(FDoseUnitBox);
    bar->addWidget(new QLabel(QStringLiteral("/"), this));
    bar->addWidget(FActivityUnitBox);
    bar->addSpacing(24);
    bar->addWidget(copy);
    return bar;
}

void MixtureView::InitMixtureGrid()
{
    DataGrid& g = *FGrid;
    g.SetColCount(ColumnCount);
    g.SetRowCount(2);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetRowHeights(0, 36);
    const int widths[ColumnCount] = {16, 59, 81, 97, 364, 88, -1, 105, -1};
    const char* headers[ColumnCount]
        = {"", "Element", "Radionuclide", "Route of Intake", "Material", "", "Intake", "", "%"};
    for (int c = 0; c < ColumnCount; ++c) {
        g.SetColWidths(c, widths[c]);
        g.SetCells(c, 0, QString::fromLatin1(headers[c]));
    }
    g.SetCells(cSize, 0, QString::fromUtf16(u"AMTD/AMAD, \u00B5m"));
    *g.CreateCellHint(cSize, 0) = MaterialsView::AMADHint;
    for (int c : {cElement, cNuclide, cRoute, cSize})
        g.SetColValueType(c, vtStringList);
    g.SetColValueType(cMaterial, vtExtStringList);
    g.SetColValueType(cIntake, vtFloat);
    for (int c : {cIntake, cDose, cPercent})
        g.SetColEnabled(c, false);
    g.AutoScaleColData.Enabled = true;
    g.AutoScaleColData.Weights.assign(ColumnCount, 0);
    // The material's text takes the room the window gives; the numbers keep the width of their
    // heading.
    g.AutoScaleColData.Weights[cMaterial] = 1;
    g.SetOption(qzgoEditing, true);
    g.OpenListOnClick = true;
    for (CellFormat* f : {&g.FixedCellsFormat.Normal, &g.FixedCellsFormat.Selected, &g.FixedCellsFormat.Disabled})
        f->MultiLine = true;
    g.SelectedCellFormat.Color = kLightCyan;
    g.SelectedCellFormat.Font.setBold(true);
    g.SelectedCellFormat.FontColor = kNavy;
    UpdateUndoButtons();
}

void MixtureView::ConnectGridEvents()
{
    DataGrid& g = *FGrid;
    g.OnCanEditShow = [this](DataGrid*, int col, int row, bool& can) { can = can && sgMixtureCanEditShow(col, row); };
    g.OnGetStringList
        = [this](DataGrid*, int col, int row, QStringList& list) { list = sgMixtureGetStringList(col, row); };
    g.OnGetExtStringList = [this](DataGrid*, int col, int row, std::vector<ListItem>& list) {
        list.clear();
        if (col != cMaterial || !FMixture || row < 1 || row > FMixture->Count())
            return;
        for (const QString& m : FMixture->Materials(row - 1))
            list.push_back({m, MaterialCaption(m)});
    };
    g.OnGetComboBoxFormat = [](DataGrid*, int, int, QComboBox& box) {
        QPalette palette = box.view()->palette();
        palette.setColor(QPalette::Base, kLightYellow);
        box.view()->setPalette(palette);
    };
    g.OnSetEditText
        = [this](DataGrid*, int col, int row, const QString& value) { sgMixtureSetEditText(col, row, value); };
    g.OnAfterSelectCell = [this](DataGrid*, int, int) { UpdateMixtureMoveButtons(); };
    auto dataFormat = [this](DataGrid*, int col, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == cMaterial)
            f.HorzAlignment = haLeft;
        if (col >= cElement && col <= cSize)
            f.Color = kLightYellow;
        // The doses cannot be edited, but they are what the table is for: not greyed.
        if (col == cDose)
            f.FontColor = Qt::black;
        // A row without data says why in grey.
        if (FMixture && row >= 1 && row <= FMixture->Count() && !FMixture->Row(row - 1).Available())
            f.FontColor = kGrey;
    };
    g.OnGetFixedCellFormat = [](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == cDose)
            f.FontColor = kNavy;
    };
    g.OnGetInnerCellFormat = dataFormat;
    g.OnGetSelectedCellFormat = [](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == cMaterial)
            f.HorzAlignment = haLeft;
    };
    g.OnDrawCell = [](DataGrid* grid, QPainter& p, int col, int row, const QRect& rect, CellDrawState) {
        if (col != cMarker || row != grid->Row() || row < 1)
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

void MixtureView::SetMixture(Mixture* mixture)
{
    FMixture = mixture;
    UpdateUndoButtons();
}

bool MixtureView::sgMixtureCanEditShow(int col, int row) const
{
    if (!FMixture || row < 1 || row > FMixture->Count())
        return false;
    const int index = row - 1;
    switch (col) {
    case cElement:
    case cNuclide: return true;
    case cRoute: return FMixture->Row(index).Available();
    // A list of one offers no choice.
    case cMaterial: return FMixture->Materials(index).size() > 1;
    case cSize: return FMixture->HasSize(index);
    default: return false;
    }
}

QStringList MixtureView::sgMixtureGetStringList(int col, int row) const
{
    switch (col) {
    case cElement: return FContext.DataElementList();
    case cNuclide: {
        if (!FMixture || row < 1 || row > FMixture->Count())
            return {};
        QStringList names;
        const QString prefix = FMixture->Row(row - 1).setting.Nuclide.section(u'-', 0, 0) + u'-';
        for (const NuclideList::Entry& e : FContext.DataNuclideList().Items())
            if (e.name.startsWith(prefix))
                names << e.name;
        return names;
    }
    case cRoute: return IntakePathNames();
    case cSize: return AMADLabels();
    default: return {};
    }
}

void MixtureView::sgMixtureSetEditText(int col, int row, const QString& value)
{
    if (!FMixture || row < 1 || row > FMixture->Count())
        return;
    const int index = row - 1;
    QString error;
    bool done = true;
    switch (col) {
    case cElement: done = FMixture->SetElement(index, value, error); break;
    case cNuclide: done = FMixture->SetNuclide(index, value, error); break;
    case cRoute: FMixture->SetRoute(index, IntakePathFromText(value)); break;
    case cMaterial: {
        const int picked = FGrid->CommittedListIndex();
        FMixture->SetMaterial(index,
                              picked >= 0 ? picked : static_cast<int>(FMixture->Materials(index).indexOf(value)));
        break;
    }
    case cSize: {
        int size = -1;
        if (AMADIndexFromText(value, size))
            FMixture->SetSize(index, size);
        break;
    }
    default: return;
    }
    // The row shows what the mixture holds, the old pairing when the new one could not be had,
    // before anything is said about it.
    ShowRow(index);
    UpdateUndoButtons();
    if (!done)
        ReportLoadErrors({error});
}

void MixtureView::ShowRow(int index)
{
    const MixtureRow& r = FMixture->Row(index);
    const int row = index + 1;
    const KeptMixtureRow& s = r.setting;
    FGrid->SetCells(cElement, row, s.Nuclide.section(u'-', 0, 0));
    FGrid->SetCells(cNuclide, row, s.Nuclide);
    FGrid->SetCells(cRoute, row, IntakePathName(s.Path));
    // The reason as a sentence, without the name of the kind of error the message boxes carry.
    static const QString kErrorKind = QStringLiteral("DataFileException: ");
    const QString reason = r.unavailable.startsWith(kErrorKind) ? r.unavailable.mid(kErrorKind.size()) : r.unavailable;
    const QString material
        = r.Available() ? FMixture->Materials(index).value(s.Material) : QStringLiteral("Not available: ") + reason;
    FGrid->SetCells(cMaterial, row, material);
    if (QString* caption = FGrid->CreateCellCaption(cMaterial, row))
        *caption = r.Available() ? MaterialCaption(material) : QString();
    if (QString* hint = FGrid->CreateCellHint(cMaterial, row))
        *hint = r.Available() ? QString() : r.unavailable;
    const bool sized = FMixture->HasSize(index);
    FGrid->SetCells(cSize, row, sized ? AMADLabels().value(s.AMADIndex) : QStringLiteral("-"));
    // The size's hint stands where a size can be picked.
    if (sized)
        *FGrid->CreateCellHint(cSize, row) = MaterialsView::AMADHint;
    else if (FGrid->GetCellHint(cSize, row))
        FGrid->CreateCellHint(cSize, row)->clear();
    ShowDose(index, DoseFactor());
}

void MixtureView::ShowDose(int index, double factor)
{
    const std::optional<float> dose = FMixture->Dose(index);
    FGrid->SetCells(cDose, index + 1, dose ? FormatScientific(*dose * factor, 2) : QStringLiteral("-"));
}

double MixtureView::DoseFactor() const
{
    const ProgramSettings& preference = FContext.Settings();
    return static_cast<double>(BqPerUnit(preference.MixtureActivityUnit())) / SvPerUnit(preference.MixtureDoseUnit());
}

void MixtureView::FillMixtureGrid()
{
    if (!FMixture)
        return;
    FGrid->SetRowCount(FMixture->Count() + 1);
    for (int i = 0; i < FMixture->Count(); ++i)
        ShowRow(i);
    UpdateMixtureMoveButtons();
    UpdateUndoButtons();
}

void MixtureView::ShowChangedRows(int currentIndex)
{
    FillMixtureGrid();
    const int row = std::clamp(currentIndex + 1, 1, FGrid->RowCount() - 1);
    FGrid->SetRow(row);
    FGrid->ScrollIntoView(FGrid->Col(), row);
    UpdateMixtureMoveButtons();
}

void MixtureView::UpdateMixtureDoses()
{
    if (!FMixture)
        return;
    const double factor = DoseFactor();
    for (int i = 0; i < FMixture->Count() && i + 1 < FGrid->RowCount(); ++i)
        ShowDose(i, factor);
}

void MixtureView::UpdateMixtureDoseCaption()
{
    const ProgramSettings& preference = FContext.Settings();
    const QString units
        = DoseUnitLabel(preference.MixtureDoseUnit()) + u'/' + ActivityUnitLabel(preference.MixtureActivityUnit());
    FGrid->SetCells(cDose, 0, QStringLiteral("Dose Coefficient e(50), ") + units);
    // Wide enough for the heading in two lines, "Dose Coefficient" over "e(50), Sv/Bq".
    const QFontMetrics metrics(FGrid->FixedCellsFormat.Normal.Font);
    const int heading = std::max(metrics.horizontalAdvance(QStringLiteral("Dose Coefficient")),
                                 metrics.horizontalAdvance(QStringLiteral("e(50), ") + units));
    FGrid->SetColWidths(cDose, std::max(105, heading + 12));
}

void MixtureView::UpdateMixtureMoveButtons()
{
    const int row = FGrid->Row();
    const bool last = row >= FGrid->RowCount() - 1;
    FTopButton->setEnabled(row > 1);
    FUpButton->setEnabled(row > 1);
    FDownButton->setEnabled(!last);
    FBottomButton->setEnabled(!last);
}

void MixtureView::UpdateUndoButtons()
{
    const bool undo = FMixture && FMixture->CanUndo();
    const bool redo = FMixture && FMixture->CanRedo();
    FUndoButton->setEnabled(undo);
    FUndoAction->setEnabled(undo);
    FRedoButton->setEnabled(redo);
    FRedoAction->setEnabled(redo);
}

void MixtureView::FollowUnits()
{
    const ProgramSettings& preference = FContext.Settings();
    const std::pair units{preference.MixtureDoseUnit(), preference.MixtureActivityUnit()};
    if (units == FUnitsShown)
        return;
    FUnitsShown = units;
    FDoseUnitBox->SetValue(units.first);
    FActivityUnitBox->SetValue(units.second);
    UpdateMixtureDoseCaption();
    UpdateMixtureDoses();
}

void MixtureView::tbAddRNClick()
{
    if (!FAddButton->isVisible() || !FAddButton->isEnabled() || !FAddSource || !FMixture)
        return;
    NuclidePointers nodes;
    const auto help = [this] {
        if (ShowHelp)
            ShowHelp(HelpTopicOfContext(1010));
    };
    if (!ExecuteAddNuclidesDialog(*FAddSource, nodes, ExecModal, this, help))
        return;
    const int before = FMixture->Count();
    // A nuclide whose file cannot be read is left out; the others come in.
    const QStringList errors = FMixture->Append(std::vector<const NuclideIdentity*>(nodes.begin(), nodes.end()));
    if (FMixture->Count() > before) {
        FGrid->SetRowCount(FMixture->Count() + 1);
        for (int i = before; i < FMixture->Count(); ++i)
            ShowRow(i);
    }
    UpdateMixtureMoveButtons();
    UpdateUndoButtons();
    ReportLoadErrors(errors);
}

void MixtureView::ReportLoadErrors(const QStringList& messages)
{
    if (messages.isEmpty())
        return;
    constexpr int shown = 10;
    QStringList text = messages.mid(0, shown);
    if (messages.size() > shown)
        text << QStringLiteral("... and %1 more files that could not be read.").arg(messages.size() - shown);
    FContext.Boxes().Show(MessageKind::Error, QStringLiteral("Error"), text.join(QStringLiteral("\r\n")), mbCancel,
                          mbCancel);
}

void MixtureView::tbRemoveSelectedRNClick()
{
    if (!FMixture)
        return;
    const int index = FGrid->Row() - 1;
    FMixture->Remove(index);
    ShowChangedRows(index);
}

void MixtureView::tbClearListClick()
{
    if (!FMixture)
        return;
    FMixture->Clear();
    ShowChangedRows(0);
}

void MixtureView::aMixtureUndoExecute()
{
    if (FMixture && FMixture->CanUndo())
        ShowChangedRows(FMixture->Undo());
}

void MixtureView::aMixtureRedoExecute()
{
    if (FMixture && FMixture->CanRedo())
        ShowChangedRows(FMixture->Redo());
}

void MixtureView::MoveCurrentRow(int toRow)
{
    const int row = FGrid->Row();
    const int last = FGrid->RowCount() - 1;
    toRow = std::clamp(toRow, 1, last);
    if (!FMixture || row == toRow || row < 1 || row > last)
        return;
    FMixture->Move(row - 1, toRow - 1);
    ShowChangedRows(toRow - 1);
}

void MixtureView::tbTopClick()
{
    MoveCurrentRow(1);
}

void MixtureView::tbUpClick()
{
    MoveCurrentRow(FGrid->Row() - 1);
}

void MixtureView::tbDownClick()
{
    MoveCurrentRow(FGrid->Row() + 1);
}

void MixtureView::tbBottomClick()
{
    MoveCurrentRow(FGrid->RowCount() - 1);
}

void MixtureView::aMixtureCopyToClipboardExecute()
{
    FGrid->CopyToClipboard(QString(), QString(), {cMarker, cIntake, cPercent}, true);
}

void MixtureView::sgMixtureMouseMove(QPoint pos)
{
    const QPoint cell = FGrid->MouseCoord(pos.x(), pos.y());
    const bool pickable = cell.x() >= cElement && cell.x() <= cSize && sgMixtureCanEditShow(cell.x(), cell.y());
    FGrid->viewport()->setCursor(pickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MixtureView::sgMixtureContextPopup(const QContextMenuEvent& event)
{
    QMenu menu;
    menu.addAction(FCopyAction);
    menu.addSeparator();
    menu.addAction(FUndoAction);
    menu.addAction(FRedoAction);
    const QPoint at = FGrid->viewport()->mapFromGlobal(event.globalPos());
    const int col
        = event.reason() == QContextMenuEvent::Keyboard ? FGrid->Col() : FGrid->MouseCoord(at.x(), at.y()).x();
    if (col == cSize && ShowHelp) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Help"), this, [this] { ShowHelp(HelpTopic::AMAD); });
    }
    menu.exec(event.globalPos());
}

bool MixtureView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FGrid->viewport() && event->type() == QEvent::MouseMove)
        sgMixtureMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    if ((watched == FGrid->viewport() || watched == FGrid) && event->type() == QEvent::ContextMenu) {
        sgMixtureContextPopup(*static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (watched == FGrid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->modifiers() & Qt::ControlModifier;
        if (key->key() == Qt::Key_Delete) {
            tbRemoveSelectedRNClick();
            return true;
        }
        if (key->key() == Qt::Key_Insert) {
            tbAddRNClick();
            return true;
        }
        if (control && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            key->key() == Qt::Key_Up ? tbUpClick() : tbDownClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kav
