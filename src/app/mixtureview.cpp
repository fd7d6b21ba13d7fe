#include "app/mixtureview.h"

#include "app/application.h"
#include "app/helpwindow.h"
#include "app/materialsview.h"
#include "app/materialtext.h"
#include "base/messageboxes.h"
#include "chooser/ui/addrnuclidesform.h"
#include "chooser/ui/rnxpanel.h"
#include "controls/inputcolours.h"
#include "controls/paintedicon.h"
#include "controls/stringgrid.h"
#include "data/applicationcontext.h"
#include "data/mixturelist.h"
#include "units/ui/unitcombobox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
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

enum Column { cMarker, cElement, cNuclide, cRoute, cMaterial, cSize, cIntake, cDose, cPercent, ColumnCount };

// The pictures of the tool buttons.
enum class Glyph { Add, Remove, Clear, Top, Up, Down, Bottom };

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

bool isSizeLabel(const QString& text)
{
    int index = -1;
    return AMADIndexFromText(text, index);
}

} // namespace

TMixtureView::TMixtureView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , FContext(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildToolBar());
    sgMixture = new TQzStringGrid(this);
    sgMixture->setObjectName(QStringLiteral("sgMixture"));
    layout->addWidget(sgMixture, 1);
    InitMixtureGrid();
    ConnectGridEvents();
}

QLayout* TMixtureView::BuildToolBar()
{
    auto button = [this](QToolButton*& into, Glyph glyph, const char* hint, void (TMixtureView::*click)()) {
        into = new QToolButton(this);
        into->setIcon(glyphIcon(glyph));
        into->setToolTip(QString::fromLatin1(hint));
        into->setAutoRaise(true);
        connect(into, &QToolButton::clicked, this, [this, click] { (this->*click)(); });
    };
    button(tbAddRN, Glyph::Add, "Add radionuclides...", &TMixtureView::tbAddRNClick);
    button(tbRemoveSelectedRN, Glyph::Remove, "Remove selected radionuclide from the list",
           &TMixtureView::tbRemoveSelectedRNClick);
    button(tbClearList, Glyph::Clear, "Clear radionuclides list", &TMixtureView::tbClearListClick);
    button(tbTop, Glyph::Top, "Move current row to the top", &TMixtureView::tbTopClick);
    button(tbUp, Glyph::Up, "Move current row up", &TMixtureView::tbUpClick);
    button(tbDown, Glyph::Down, "Move current row down", &TMixtureView::tbDownClick);
    button(tbBottom, Glyph::Bottom, "Move current row to the bottom", &TMixtureView::tbBottomClick);

    ducbMixtureUnit = new TQzDoseUnitComboBox(this);
    ducbMixtureUnit->SetEnabledDoseUnits({du_mkSv, du_mSv, du_Sv});
    aucbMixtureUnit = new TQzActivityUnitComboBox(this);
    aucbMixtureUnit->SetEnabledActivityUnits({au__mBq, au_Bq, au_kBq, au_MBq});
    ducbMixtureUnit->SetOnChange([this] {
        FContext.ProgramPreference().SetMixtureDoseUnit(ducbMixtureUnit->Value());
        UpdateMixtureDoseCaption();
        UpdateMixtureDoses();
    });
    aucbMixtureUnit->SetOnChange([this] {
        FContext.ProgramPreference().SetMixtureActivityUnit(aucbMixtureUnit->Value());
        UpdateMixtureDoseCaption();
        UpdateMixtureDoses();
    });
    for (QWidget* box : std::initializer_list<QWidget*>{ducbMixtureUnit, aucbMixtureUnit})
        ApplyInputColours(box);

    aMixtureCopyToClipboard = new QAction(QStringLiteral("Copy to Clipboard"), this);
    aMixtureCopyToClipboard->setToolTip(TMaterialsView::CopyHint);
    connect(aMixtureCopyToClipboard, &QAction::triggered, this, [this] { aMixtureCopyToClipboardExecute(); });
    auto* copy = new QToolButton(this);
    copy->setDefaultAction(aMixtureCopyToClipboard);
    copy->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* bar = new QHBoxLayout;
    for (QToolButton* b : {tbAddRN, tbRemoveSelectedRN, tbClearList})
        bar->addWidget(b);
    bar->addSpacing(16);
    for (QToolButton* b : {tbTop, tbUp, tbDown, tbBottom})
        bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(new QLabel(QStringLiteral("Units"), this));
    bar->addWidget(ducbMixtureUnit);
    bar->addWidget(new QLabel(QStringLiteral("/"), this));
    bar->addWidget(aucbMixtureUnit);
    bar->addSpacing(24);
    bar->addWidget(copy);
    return bar;
}

void TMixtureView::InitMixtureGrid()
{
    TQzStringGrid& g = *sgMixture;
    g.SetColCount(ColumnCount);
    g.SetRowCount(2);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetRowHeights(0, 36);
    const int widths[ColumnCount] = {16, 59, 81, 97, 364, 88, -1, 105, -1};
    const char* headers[ColumnCount] = {"", "Element", "Radionuclide", "Route of Intake", "Material", "", "Intake", "", "%"};
    for (int c = 0; c < ColumnCount; ++c) {
        g.SetColWidths(c, widths[c]);
        g.SetCells(c, 0, QString::fromLatin1(headers[c]));
    }
    g.SetCells(cSize, 0, QString::fromUtf16(u"AMTD/AMAD, \u00B5m"));
    *g.CreateCellHint(cSize, 0) = TMaterialsView::AMADHint;
    for (int c : {cElement, cNuclide, cRoute, cSize})
        g.SetColValueType(c, vtStringList);
    g.SetColValueType(cMaterial, vtExtStringList);
    g.SetColValueType(cIntake, vtFloat);
    for (int c : {cIntake, cDose, cPercent})
        g.SetColEnabled(c, false);
    g.AutoScaleColData.Enabled = true;
    g.AutoScaleColData.Weights.assign(ColumnCount, 0);
    g.AutoScaleColData.Weights[cMaterial] = 387;
    g.AutoScaleColData.Weights[cDose] = 90;
    g.SetOption(qzgoEditing, true);
    g.OpenListOnClick = true;
    for (TQzCellFormat* f : {&g.FixedCellsFormat.Normal, &g.FixedCellsFormat.Selected, &g.FixedCellsFormat.Disabled})
        f->MultiLine = true;
    g.SelectedCellFormat.Color = kLightCyan;
    g.SelectedCellFormat.Font.setBold(true);
    g.SelectedCellFormat.FontColor = kNavy;
    UpdateMixtureDoseCaption();
}

void TMixtureView::ConnectGridEvents()
{
    TQzStringGrid& g = *sgMixture;
    g.OnCanEditShow = [this](TQzStringGrid*, int col, int row, bool& can) { can = can && sgMixtureCanEditShow(col, row); };
    g.OnGetStringList = [this](TQzStringGrid*, int col, int row, QStringList& list) { list = sgMixtureGetStringList(col, row); };
    g.OnGetExtStringList = [this](TQzStringGrid*, int col, int row, std::vector<TQzListItem>& list) {
        list.clear();
        const TVESKRNDosesData* entry = Entry(row);
        QStringList materials;
        if (col == cMaterial && entry && entry->IsLoaded())
            entry->GetCompoundsList(IntakePathFromText(sgMixture->Cells(cRoute, row)), materials);
        for (const QString& m : materials)
            list.push_back({m, MaterialCaption(m)});
    };
    g.OnGetComboBoxFormat = [](TQzStringGrid*, int, int, QComboBox& box) {
        QPalette palette = box.view()->palette();
        palette.setColor(QPalette::Base, kLightYellow);
        box.view()->setPalette(palette);
    };
    g.OnSetEditText = [this](TQzStringGrid*, int col, int row, const QString& value) { sgMixtureSetEditText(col, row, value); };
    g.OnAfterSelectCell = [this](TQzStringGrid*, int, int) { sgMixtureAfterSelectCell(); };
    auto dataFormat = [](TQzStringGrid*, int col, int, TQzDrawCellFormat& f, QRect&, TQzGridDrawState&, QString&) {
        if (col == cMaterial)
            f.HorzAlignment = haLeft;
        if (col >= cElement && col <= cSize)
            f.Color = kLightYellow;
        // The doses cannot be edited, but they are what the table is for: not greyed.
        if (col == cDose)
            f.FontColor = Qt::black;
    };
    g.OnGetFixedCellFormat = [](TQzStringGrid*, int col, int, TQzDrawCellFormat& f, QRect&, TQzGridDrawState&, QString&) {
        if (col == cDose)
            f.FontColor = kNavy;
    };
    g.OnGetInnerCellFormat = dataFormat;
    g.OnGetSelectedCellFormat = [](TQzStringGrid*, int col, int, TQzDrawCellFormat& f, QRect&, TQzGridDrawState&, QString&) {
        if (col == cMaterial)
            f.HorzAlignment = haLeft;
    };
    g.OnDrawCell = [](TQzStringGrid* grid, QPainter& p, int col, int row, const QRect& rect, TQzGridDrawState) {
        if (col != cMarker || row != grid->Row() || row < 1)
            return;
        const QPointF corners[3] = {QPointF(rect.left() + 4, rect.bottom() - 3), QPointF(rect.left() + 4, rect.top() + 3),
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

TVESKRNDosesData* TMixtureView::Entry(int row) const
{
    return MixtureRNList ? MixtureRNList->GetRNDosesData(row - 1) : nullptr;
}

bool TMixtureView::sgMixtureCanEditShow(int col, int row) const
{
    const QString route = sgMixture->Cells(cRoute, row);
    switch (col) {
    case cElement:
    case cNuclide:
    case cRoute: return true;
    case cMaterial: return IntakePathNames().contains(route);
    case cSize: {
        const TVESKRNDosesData* entry = Entry(row);
        if (route != IntakePathName(ipInhalation) || !entry || !entry->IsLoaded())
            return false;
        QStringList materials;
        entry->GetCompoundsList(ipInhalation, materials);
        return entry->IsAerosol(static_cast<int>(materials.indexOf(sgMixture->Cells(cMaterial, row))));
    }
    default: return false;
    }
}

QStringList TMixtureView::sgMixtureGetStringList(int col, int row) const
{
    switch (col) {
    case cElement: return FContext.DataElementList();
    case cNuclide: {
        QStringList names;
        if (!Entry(row))
            return names;
        const QString prefix = sgMixture->Cells(cElement, row) + u'-';
        for (const TRNXStringList::Entry& e : FContext.DataNuclideList().Items())
            if (e.name.startsWith(prefix))
                names << e.name;
        return names;
    }
    case cRoute: return IntakePathNames();
    case cSize: return AMADLabels();
    default: return {};
    }
}

void TMixtureView::sgMixtureSetEditText(int col, int row, const QString& value)
{
    TVESKRNDosesData* entry = Entry(row);
    if (!entry)
        return;
    switch (col) {
    case cElement: {
        if (!MixtureFilling && value == FLastEl)
            return;
        const QString prefix = value + u'-';
        const auto& items = FContext.DataNuclideList().Items();
        const auto first = std::find_if(items.begin(), items.end(), [&prefix](const auto& e) { return e.name.startsWith(prefix); });
        if (first == items.end())
            return;
        sgMixture->SetCells(cNuclide, row, first->name);
        if (!AssignRowNuclide(row, *entry, first->name))
            return;
        RefreshMixtureMaterial(row, *entry);
        break;
    }
    case cNuclide:
        if (!MixtureFilling && value == FLastRN)
            return;
        if (!AssignRowNuclide(row, *entry, value))
            return;
        RefreshMixtureMaterial(row, *entry);
        break;
    case cRoute:
        if (!MixtureFilling && value == FLastPath)
            return;
        RefreshMixtureMaterial(row, *entry);
        break;
    case cMaterial:
        if (!MixtureFilling && value == FLastType)
            return;
        SetMaterialCell(row, value);
        UpdateSizeCell(row, *entry);
        break;
    case cSize: sgMixture->SetCells(cSize, row, value); break;
    default: return;
    }
    if (!MixtureFilling)
        UpdateMixtureDoses();
}

bool TMixtureView::AssignRowNuclide(int row, TVESKRNDosesData& entry, const QString& name)
{
    try {
        entry.AssignRNuclide(FContext.RNXIndex(), name);
        return true;
    } catch (const std::exception& e) {
        ReportLoadErrors({QString::fromUtf8(e.what())});
    }
    // The row goes back to what it showed, its entry to the nuclide it held.
    const bool current = row == sgMixture->Row();
    if (!MixtureFilling && current) {
        try {
            entry.AssignRNuclide(FContext.RNXIndex(), FLastRN);
        } catch (const std::exception&) {
            // Its file went bad meanwhile: the row shows no dose.
        }
        sgMixture->SetCells(cElement, row, FLastEl);
        sgMixture->SetCells(cNuclide, row, FLastRN);
        sgMixture->SetCells(cRoute, row, FLastPath);
        SetMaterialCell(row, FLastType);
        sgMixture->SetCells(cSize, row, FLastSize);
        UpdateMixtureDoses();
    }
    return false;
}

void TMixtureView::RefreshMixtureMaterial(int row, TVESKRNDosesData& entry)
{
    QStringList materials;
    entry.GetCompoundsList(IntakePathFromText(sgMixture->Cells(cRoute, row)), materials);
    SetMaterialCell(row, materials.value(0));
    UpdateSizeCell(row, entry);
}

void TMixtureView::UpdateSizeCell(int row, const TVESKRNDosesData& entry)
{
    bool aerosol = false;
    if (sgMixture->Cells(cRoute, row) == IntakePathName(ipInhalation)) {
        QStringList materials;
        entry.GetCompoundsList(ipInhalation, materials);
        aerosol = entry.IsAerosol(static_cast<int>(materials.indexOf(sgMixture->Cells(cMaterial, row))));
    }
    if (!aerosol)
        sgMixture->SetCells(cSize, row, QStringLiteral("-"));
    else if (!isSizeLabel(sgMixture->Cells(cSize, row)))
        sgMixture->SetCells(cSize, row, AMADLabels().value(DefaultAMADIndex));
    // The size's hint stands where a size can be picked.
    if (aerosol)
        *sgMixture->CreateCellHint(cSize, row) = TMaterialsView::AMADHint;
    else if (sgMixture->GetCellHint(cSize, row))
        sgMixture->CreateCellHint(cSize, row)->clear();
}

void TMixtureView::SetMaterialCell(int row, const QString& text)
{
    sgMixture->SetCells(cMaterial, row, text);
    if (QString* caption = sgMixture->CreateCellCaption(cMaterial, row))
        *caption = MaterialCaption(text);
}

void TMixtureView::FillRow(int row, const TVESKRNDosesData& entry, const QString& route)
{
    sgMixture->SetCells(cElement, row, RNXElementSymbol(entry.RNuclide().El));
    sgMixture->SetCells(cNuclide, row, entry.RNuclideName());
    sgMixture->SetCells(cRoute, row, route);
    sgMixtureSetEditText(cRoute, row, route);
}

std::vector<TMixtureRowSetting> TMixtureView::AddSavedRows(const std::vector<TMixtureRowSetting>& saved)
{
    std::vector<TMixtureRowSetting> kept;
    if (!MixtureRNList)
        return kept;
    const TRNXStringList& offered = FContext.DataNuclideList();
    for (const TMixtureRowSetting& setting : saved) {
        const int at = offered.IndexOf(setting.Nuclide);
        if (at < 0 || !offered.Objects(at))
            continue;
        // The list starts with one empty entry, which the first nuclide replaces.
        if (kept.empty() && MixtureRNList->Count() == 1 && !MixtureRNList->GetRNDosesData(0)->IsLoaded())
            MixtureRNList->Remove(0);
        try {
            MixtureRNList->Add(*offered.Objects(at));
            kept.push_back(setting);
        } catch (const std::exception&) {
            // A file that cannot be read any more leaves its row out.
            MixtureRNList->Remove(MixtureRNList->Count() - 1);
        }
    }
    return kept;
}

void TMixtureView::FillMixtureGrid(const std::vector<TMixtureRowSetting>& settings)
{
    if (!MixtureRNList)
        return;
    sgMixture->SetRowCount(MixtureRNList->Count() + 1);
    MixtureFilling = true;
    for (int i = 0; i < MixtureRNList->Count(); ++i) {
        const int row = i + 1;
        FillRow(row, *MixtureRNList->GetRNDosesData(i), IntakePathName(ipInhalation));
        if (sgMixture->Cells(cSize, row) != QStringLiteral("-"))
            sgMixture->SetCells(cSize, row, AMADLabels().value(DefaultAMADIndex));
        if (i < static_cast<int>(settings.size()))
            ApplyRowSetting(row, settings[static_cast<std::size_t>(i)]);
    }
    MixtureFilling = false;
    StoreMixtureRowTexts();
    UpdateMixtureMoveButtons();
}

void TMixtureView::ApplyRowSetting(int row, const TMixtureRowSetting& setting)
{
    const TVESKRNDosesData* entry = Entry(row);
    if (!entry)
        return;
    const QString route = IntakePathName(setting.Path);
    sgMixture->SetCells(cRoute, row, route);
    sgMixtureSetEditText(cRoute, row, route);
    QStringList materials;
    entry->GetCompoundsList(setting.Path, materials);
    if (setting.Material >= 0 && setting.Material < materials.size())
        sgMixtureSetEditText(cMaterial, row, materials[setting.Material]);
    if (sgMixtureCanEditShow(cSize, row) && setting.AMADIndex >= 0 && setting.AMADIndex < AMADCount)
        sgMixture->SetCells(cSize, row, AMADLabels()[setting.AMADIndex]);
}

std::vector<TMixtureRowSetting> TMixtureView::MixtureSettings() const
{
    std::vector<TMixtureRowSetting> settings;
    for (int row = 1; row < sgMixture->RowCount(); ++row) {
        const TVESKRNDosesData* entry = Entry(row);
        if (!entry || !entry->IsLoaded())
            continue;
        TMixtureRowSetting s;
        s.Nuclide = entry->RNuclideName();
        s.Path = IntakePathFromText(sgMixture->Cells(cRoute, row));
        QStringList materials;
        entry->GetCompoundsList(s.Path, materials);
        s.Material = std::max(0, static_cast<int>(materials.indexOf(sgMixture->Cells(cMaterial, row))));
        AMADIndexFromText(sgMixture->Cells(cSize, row), s.AMADIndex);
        settings.push_back(s);
    }
    return settings;
}

void TMixtureView::UpdateMixtureDoses()
{
    if (!MixtureRNList)
        return;
    const TQzProgramPreference& preference = FContext.ProgramPreference();
    const double factor = static_cast<double>(BqPerUnit(preference.MixtureActivityUnit())) / SvPerUnit(preference.MixtureDoseUnit());
    for (int i = 0; i < MixtureRNList->Count() && i + 1 < sgMixture->RowCount(); ++i) {
        const int row = i + 1;
        const TVESKRNDosesData& entry = *MixtureRNList->GetRNDosesData(i);
        if (!entry.IsLoaded()) {
            sgMixture->SetCells(cDose, row, QString());
            continue;
        }
        const TVESKIntakePath path = IntakePathFromText(sgMixture->Cells(cRoute, row));
        QStringList materials;
        entry.GetCompoundsList(path, materials);
        int material = static_cast<int>(materials.indexOf(sgMixture->Cells(cMaterial, row)));
        if (material < 0 && path == ipInjection)
            material = 0;
        int size = 0;
        if (path == ipInhalation && entry.IsAerosol(material))
            AMADIndexFromText(sgMixture->Cells(cSize, row), size);
        float dose = 0;
        if (!entry.GetEffDose(path, material, size, dose))
            dose = 0;
        sgMixture->SetCells(cDose, row, FormatScientific(dose * factor, 2));
    }
    StoreMixtureRowTexts();
}

void TMixtureView::UpdateMixtureDoseCaption()
{
    const TQzProgramPreference& preference = FContext.ProgramPreference();
    sgMixture->SetCells(cDose, 0, QStringLiteral("Dose Coefficient e(50), ") + DoseUnitLabel(preference.MixtureDoseUnit())
                                      + u'/' + ActivityUnitLabel(preference.MixtureActivityUnit()));
}

void TMixtureView::StoreMixtureRowTexts()
{
    const int row = sgMixture->Row();
    FLastEl = sgMixture->Cells(cElement, row);
    FLastRN = sgMixture->Cells(cNuclide, row);
    FLastPath = sgMixture->Cells(cRoute, row);
    FLastType = sgMixture->Cells(cMaterial, row);
    FLastSize = sgMixture->Cells(cSize, row);
}

void TMixtureView::UpdateMixtureMoveButtons()
{
    const int row = sgMixture->Row();
    const bool last = row >= sgMixture->RowCount() - 1;
    tbTop->setEnabled(row > 1);
    tbUp->setEnabled(row > 1);
    tbDown->setEnabled(!last);
    tbBottom->setEnabled(!last);
}

void TMixtureView::ResetMixtureRow(int index)
{
    const TRNXStringList& offered = FContext.DataNuclideList();
    TVESKRNDosesData* entry = MixtureRNList ? MixtureRNList->GetRNDosesData(index) : nullptr;
    if (offered.Count() == 0 || !entry)
        return;
    try {
        entry->AssignRNuclide(FContext.RNXIndex(), offered.Strings(0));
    } catch (const std::exception& e) {
        ReportLoadErrors({QString::fromUtf8(e.what())});
    }
    const int row = index + 1;
    MixtureFilling = true;
    sgMixture->SetCells(cElement, row, offered.Strings(0).section(u'-', 0, 0));
    sgMixture->SetCells(cNuclide, row, offered.Strings(0));
    sgMixture->SetCells(cRoute, row, IntakePathName(ipIngestion));
    sgMixtureSetEditText(cRoute, row, IntakePathName(ipIngestion));
    MixtureFilling = false;
    UpdateMixtureDoses();
}

void TMixtureView::ApplyPreferenceUnits()
{
    ducbMixtureUnit->SetValue(FContext.ProgramPreference().MixtureDoseUnit());
    aucbMixtureUnit->SetValue(FContext.ProgramPreference().MixtureActivityUnit());
    UpdateMixtureDoseCaption();
    UpdateMixtureDoses();
}

void TMixtureView::sgMixtureAfterSelectCell()
{
    UpdateMixtureMoveButtons();
    StoreMixtureRowTexts();
}

void TMixtureView::tbAddRNClick()
{
    if (!tbAddRN->isVisible() || !tbAddRN->isEnabled() || !FAddSource || !MixtureRNList)
        return;
    TRNXnodeArray nodes;
    const auto help = [this] {
        if (ShowHelp)
            ShowHelp(HelpTopicOfContext(1010));
    };
    if (!ExecuteAddRNuclidesDialog(*FAddSource, nodes, ExecModal, this, help))
        return;
    QStringList errors;
    MixtureFilling = true;
    for (const TRNXnode* node : nodes) {
        try {
            MixtureRNList->Add(*node);
        } catch (const std::exception& e) {
            // A nuclide whose file cannot be read is left out; the others come in.
            MixtureRNList->Remove(MixtureRNList->Count() - 1);
            errors << QString::fromUtf8(e.what());
            continue;
        }
        const int row = sgMixture->RowCount();
        sgMixture->SetRowCount(row + 1);
        FillRow(row, *MixtureRNList->GetRNDosesData(row - 1), IntakePathName(ipIngestion));
    }
    MixtureFilling = false;
    UpdateMixtureDoses();
    UpdateMixtureMoveButtons();
    ReportLoadErrors(errors);
}

void TMixtureView::ReportLoadErrors(const QStringList& messages)
{
    if (messages.isEmpty())
        return;
    constexpr int shown = 10;
    QStringList text = messages.mid(0, shown);
    if (messages.size() > shown)
        text << QStringLiteral("... and %1 more files that could not be read.").arg(messages.size() - shown);
    FContext.MessageBoxes().Show(MessageKind::Error, QStringLiteral("Error"), text.join(QStringLiteral("\r\n")), mbCancel,
                                 mbCancel);
}

void TMixtureView::tbRemoveSelectedRNClick()
{
    if (!MixtureRNList)
        return;
    if (MixtureRNList->Count() == 1) {
        ResetMixtureRow(0);
    } else {
        const int row = sgMixture->Row();
        MixtureRNList->Remove(row - 1);
        sgMixture->DeleteRow(row);
        sgMixture->SetRow(std::min(row, sgMixture->RowCount() - 1));
    }
    UpdateMixtureMoveButtons();
    StoreMixtureRowTexts();
}

void TMixtureView::tbClearListClick()
{
    if (!MixtureRNList)
        return;
    while (MixtureRNList->Count() > 1) {
        MixtureRNList->Remove(MixtureRNList->Count() - 1);
        sgMixture->DeleteRow(sgMixture->RowCount() - 1);
    }
    ResetMixtureRow(0);
    sgMixture->SetRow(1);
    UpdateMixtureMoveButtons();
    StoreMixtureRowTexts();
}

void TMixtureView::MoveCurrentRow(int toRow)
{
    const int row = sgMixture->Row();
    const int last = sgMixture->RowCount() - 1;
    toRow = std::clamp(toRow, 1, last);
    if (!MixtureRNList || row == toRow || row < 1 || row > last)
        return;
    // The entry moves by single steps, those in between shifting by one, as the row does.
    for (int i = row - 1; i < toRow - 1; ++i)
        MixtureRNList->Exchange(i, i + 1);
    for (int i = row - 1; i > toRow - 1; --i)
        MixtureRNList->Exchange(i, i - 1);
    sgMixture->MoveRow(row, toRow);
    sgMixture->ScrollIntoView(sgMixture->Col(), toRow);
    UpdateMixtureMoveButtons();
    StoreMixtureRowTexts();
}

void TMixtureView::tbTopClick()
{
    MoveCurrentRow(1);
}

void TMixtureView::tbUpClick()
{
    MoveCurrentRow(sgMixture->Row() - 1);
}

void TMixtureView::tbDownClick()
{
    MoveCurrentRow(sgMixture->Row() + 1);
}

void TMixtureView::tbBottomClick()
{
    MoveCurrentRow(sgMixture->RowCount() - 1);
}

void TMixtureView::aMixtureCopyToClipboardExecute()
{
    sgMixture->CopyToClipboard(QString(), QString(), {cMarker, cIntake, cPercent}, true);
}

void TMixtureView::sgMixtureMouseMove(QPoint pos)
{
    const QPoint cell = sgMixture->MouseCoord(pos.x(), pos.y());
    const bool pickable = cell.y() >= 1
        && ((cell.x() >= cElement && cell.x() <= cMaterial) || (cell.x() == cSize && sgMixtureCanEditShow(cSize, cell.y())));
    sgMixture->viewport()->setCursor(pickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TMixtureView::sgMixtureContextPopup(const QContextMenuEvent& event)
{
    QMenu menu;
    menu.addAction(aMixtureCopyToClipboard);
    const QPoint at = sgMixture->viewport()->mapFromGlobal(event.globalPos());
    const int col = event.reason() == QContextMenuEvent::Keyboard ? sgMixture->Col() : sgMixture->MouseCoord(at.x(), at.y()).x();
    if (col == cSize && ShowHelp) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Help"), this, [this] { ShowHelp(HelpTopic::AMAD); });
    }
    menu.exec(event.globalPos());
}

bool TMixtureView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgMixture->viewport() && event->type() == QEvent::MouseMove)
        sgMixtureMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    if ((watched == sgMixture->viewport() || watched == sgMixture) && event->type() == QEvent::ContextMenu) {
        sgMixtureContextPopup(*static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (watched == sgMixture && event->type() == QEvent::KeyPress) {
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
