#include "chooser/ui/periodictable.h"

#include "chooser/ui/filterdialog.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/spectrafiles.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace kav {

namespace {

// The table row by row; None stands for an empty cell.
using TableLayout = std::array<std::array<ChemicalElement, PeriodicTablePopup::Columns>, PeriodicTablePopup::Rows>;
constexpr TableLayout kTable = [] {
    using enum ChemicalElement;
    return TableLayout{{
        {H, None, None, None, None, None, None, He, None, None},
        {Li, Be, B, C, N, O, F, Ne, None, None},
        {Na, Mg, Al, Si, P, S, Cl, Ar, None, None},
        {K, Ca, Sc, Ti, V, Cr, Mn, Fe, Co, Ni},
        {Cu, Zn, Ga, Ge, As, Se, Br, Kr, None, None},
        {Rb, Sr, Y, Zr, Nb, Mo, Tc, Ru, Rh, Pd},
        {Ag, Cd, In, Sn, Sb, Te, I, Xe, None, None},
        {Cs, Ba, La, Hf, Ta, W, Re, Os, Ir, Pt},
        {Au, Hg, Tl, Pb, Bi, Po, At, Rn, None, None},
        {Fr, Ra, Ac, Rf, Db, None, None, None, None, None},
        {None, None, None, None, None, None, None, None, None, None},
        {Ce, Pr, Nd, Pm, Sm, Eu, Gd, None, None, None},
        {Tb, Dy, Ho, Er, Tm, Yb, Lu, None, None, None},
        {None, None, None, None, None, None, None, None, None, None},
        {Th, Pa, U, Np, Pu, Am, Cm, None, None, None},
        {Bk, Cf, Es, Fm, Md, No, Lr, None, None, None},
    }};
}();

bool isSeparatorRow(int row)
{
    return row == 10 || row == 13;
}

QColor lightened(const QColor& c)
{
    return QColor((3 * c.red() + 255) / 4, (3 * c.green() + 255) / 4, (3 * c.blue() + 255) / 4);
}

bool in(ChemicalElement e, std::initializer_list<ChemicalElement> group)
{
    return std::find(group.begin(), group.end(), e) != group.end();
}

} // namespace

QColor ElementGroupColours::getElementColor(ChemicalElement e) const
{
    using enum ChemicalElement;
    if (in(e, {Li, Na, K, Rb, Cs, Fr}))
        return alkaliMetalsColor;
    if (in(e, {Be, Mg, Ca, Sr, Ba, Ra}))
        return alkalineEarthMetalsColor;
    if (in(e, {Al, Ga, Ge, In, Sn, Sb, Tl, Pb, Bi, Po}))
        return otherMetalsColor;
    if (in(e, {H, B, C, N, O, F, Si, P, S, Cl, As, Se, Br, Te, I, At}))
        return nonMetalsColor;
    if (in(e, {He, Ne, Ar, Kr, Xe, Rn}))
        return nobleGasesColor;
    if (e >= La && e <= Lu)
        return lanthanideSeriesColor;
    if (e >= Ac && e <= Lr)
        return actinideSeriesColor;
    return transitionMetalsColor;
}

OfferedElements::OfferedElements(const NuclideIndex& index)
    : execModal([](QDialog& dialog) { return dialog.exec(); })
    , m_index(index)
    , m_elementSet(index.elements())
{
}

void OfferedElements::setEnableElementType(ElementsOffered value)
{
    if (value == m_type)
        return;
    m_type = value;
    if (onChange)
        onChange();
}

void OfferedElements::setElementSet(const ElementSet& value)
{
    if (value == m_elementSet)
        return;
    m_elementSet = value;
    if (onChange)
        onChange();
}

std::array<std::int32_t, 4> OfferedElements::storedElementSet() const
{
    return encodeElementSet(m_elementSet);
}

void OfferedElements::readStoredElementSet(const std::array<std::int32_t, 4>& stored)
{
    setElementSet(decodeElementSet(stored));
}

bool OfferedElements::editDlg(QWidget* parent)
{
    // The element page alone is shown: the spectra are never read.
    SpectraFiles spectra(m_index);
    NuclideFilter working(m_index, spectra);
    working.setElementSet(m_elementSet);
    FilterDialog form(working, true, false, parent);
    form.useElementFilter()->hide();
    form.useElementFilter()->setChecked(true);
    if (execModal(form) != QDialog::Accepted)
        return false;
    m_elementSet = working.elements();
    if (onChange)
        onChange();
    return true;
}

PeriodicTablePopup::PeriodicTablePopup(const NuclideIndex& index, QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_enabled(index)
{
    m_enabled.onChange = [this] { enabledChanged(); };
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_nameTip = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
    m_nameTip->setObjectName(QStringLiteral("elementNameTip"));
    m_nameTip->setForegroundRole(QPalette::ToolTipText);
    m_nameTip->setBackgroundRole(QPalette::ToolTipBase);
    m_nameTip->setAutoFillBackground(true);
    m_nameTip->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_nameTip->setMargin(2);
    const QFontMetrics fm(font());
    m_cellWidth = std::max(fm.horizontalAdvance(QStringLiteral("Wg")) + 8, 24);
    m_cellHeight = fm.height() + 5;
    int height = 0;
    for (int r = 0; r < Rows; ++r)
        height += isSeparatorRow(r) ? m_cellHeight / 4 : m_cellHeight;
    setFixedSize(Columns * m_cellWidth + 2, height + 2);
}

PeriodicTablePopup::~PeriodicTablePopup() = default;

ChemicalElement PeriodicTablePopup::cellElement(int row, int column)
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return ChemicalElement::None;
    return kTable[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

bool PeriodicTablePopup::isElementEnabled(ChemicalElement e) const
{
    if (m_element == ChemicalElement::None || e == ChemicalElement::None)
        return false;
    switch (m_enabled.enableElementType()) {
    case ElementsOffered::All: return true;
    case ElementsOffered::InIndex: return m_enabled.index().elements().contains(e);
    case ElementsOffered::Custom: return m_enabled.elements().contains(e);
    }
    return false;
}

void PeriodicTablePopup::enabledChanged()
{
    if (!isElementEnabled(m_element)) {
        m_element = ChemicalElement::H;
        for (int e = 0; e < 100; ++e)
            if (isElementEnabled(static_cast<ChemicalElement>(e))) {
                m_element = static_cast<ChemicalElement>(e);
                break;
            }
    }
    update();
}

void PeriodicTablePopup::setElement(ChemicalElement value)
{
    if (value == m_element)
        return;
    m_element = value;
    enabledChanged();
}

void PeriodicTablePopup::setEnabledElements(ElementsOffered type, const ElementSet& set)
{
    m_enabled.onChange = nullptr;
    m_enabled.setEnableElementType(type);
    m_enabled.setElementSet(set);
    m_enabled.onChange = [this] { enabledChanged(); };
    enabledChanged();
}

void PeriodicTablePopup::setLanguage(UiLanguage value)
{
    m_language = value;
    update();
}

QRect PeriodicTablePopup::cellRect(int row, int column) const
{
    int top = 1;
    for (int r = 0; r < row; ++r)
        top += isSeparatorRow(r) ? m_cellHeight / 4 : m_cellHeight;
    return QRect(1 + column * m_cellWidth, top, m_cellWidth, isSeparatorRow(row) ? m_cellHeight / 4 : m_cellHeight);
}

QPoint PeriodicTablePopup::cellAt(QPoint pos) const
{
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            if (cellRect(r, c).contains(pos))
                return {c, r};
    return {-1, -1};
}

QPoint PeriodicTablePopup::cellOf(ChemicalElement element) const
{
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            if (cellElement(r, c) == element)
                return {c, r};
    return {-1, -1};
}

void PeriodicTablePopup::popup(QPoint topLeft, bool byMousePress)
{
    m_awaitingRelease = byMousePress;
    m_dragged = false;
    move(topLeft);
    show();
    setFocus(Qt::PopupFocusReason);
    setHot(isElementEnabled(m_element) ? cellOf(m_element) : QPoint(-1, -1));
}

void PeriodicTablePopup::setHot(QPoint cell)
{
    const ChemicalElement e = cellElement(cell.y(), cell.x());
    m_hot = isElementEnabled(e) ? cell : QPoint(-1, -1);
    update();
    if (m_hot.x() < 0 || !isVisible()) {
        m_nameTip->hide();
        return;
    }
    m_nameTip->setText(elementName(e, m_language).trimmed());
    m_nameTip->adjustSize();
    // Above the table, over the cell's column: it hides no element (below the table where the
    // screen has no room above it).
    const QRect r = cellRect(cell.y(), cell.x());
    QPoint at = mapToGlobal(QPoint(r.center().x() - m_nameTip->width() / 2, -m_nameTip->height() - 2));
    const QScreen* shown = screen();
    if (shown && at.y() < shown->geometry().top())
        at.setY(mapToGlobal(QPoint(0, height() + 2)).y());
    m_nameTip->move(at);
    m_nameTip->show();
    m_nameTip->raise();
}

QPoint PeriodicTablePopup::nextEnabledCell(QPoint from, int dColumn, int dRow) const
{
    if (from.x() < 0)
        return cellOf(m_element);
    for (QPoint cell = from + QPoint(dColumn, dRow);
         cell.x() >= 0 && cell.x() < Columns && cell.y() >= 0 && cell.y() < Rows; cell += QPoint(dColumn, dRow))
        if (isElementEnabled(cellElement(cell.y(), cell.x())))
            return cell;
    return from;
}

void PeriodicTablePopup::pick(QPoint cell)
{
    const ChemicalElement e = cellElement(cell.y(), cell.x());
    if (!isElementEnabled(e))
        return;
    hide();
    if (onChoiceElement)
        onChoiceElement(e);
}

void PeriodicTablePopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            const QRect cell = cellRect(r, c);
            if (isSeparatorRow(r)) {
                const int mid = cell.center().y();
                p.setPen(pal.color(QPalette::Dark));
                p.drawLine(cell.left(), mid, cell.right(), mid);
                p.setPen(pal.color(QPalette::Base));
                p.drawLine(cell.left(), mid + 1, cell.right(), mid + 1);
                continue;
            }
            const ChemicalElement e = cellElement(r, c);
            if (e == ChemicalElement::None)
                continue;
            const QString symbol = elementSymbol(e);
            if (!isElementEnabled(e)) {
                // Engraved: light text with the grey one a pixel up and left of it.
                p.setPen(pal.color(QPalette::Light));
                p.drawText(cell.translated(1, 1), Qt::AlignCenter, symbol);
                p.setPen(pal.color(QPalette::Disabled, QPalette::WindowText));
                p.drawText(cell, Qt::AlignCenter, symbol);
                continue;
            }
            const bool current = e == m_element;
            const bool hot = m_hot == QPoint(c, r);
            QColor colour = m_groups.getElementColor(e);
            if (current || hot)
                colour = lightened(colour);
            p.fillRect(cell.adjusted(1, 1, -1, -1), colour);
            if (current || hot) {
                const QColor shade = pal.color(QPalette::Disabled, QPalette::WindowText);
                const QColor bright = pal.color(QPalette::Base);
                p.setPen(current ? shade : bright);
                p.drawLine(cell.left() + 1, cell.top() + 1, cell.right() - 1, cell.top() + 1);
                p.drawLine(cell.left() + 1, cell.top() + 1, cell.left() + 1, cell.bottom() - 1);
                p.setPen(current ? bright : shade);
                p.drawLine(cell.left() + 1, cell.bottom() - 1, cell.right() - 1, cell.bottom() - 1);
                p.drawLine(cell.right() - 1, cell.top() + 1, cell.right() - 1, cell.bottom() - 1);
            }
            p.setPen(pal.color(QPalette::ButtonText));
            p.drawText(cell, Qt::AlignCenter, symbol);
        }
    }
}

void PeriodicTablePopup::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_awaitingRelease && rect().contains(pos))
        m_dragged = true;
    const QPoint cell = cellAt(pos);
    if (cell != m_hot && cell.x() >= 0)
        setHot(cell);
}

void PeriodicTablePopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // The release of the click that opened the table leaves it open.
    if (m_awaitingRelease) {
        m_awaitingRelease = false;
        if (!m_dragged)
            return;
    }
    if (!rect().contains(pos)) {
        hide();
        return;
    }
    pick(cellAt(pos));
}

void PeriodicTablePopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: hide(); return;
    case Qt::Key_Left: setHot(nextEnabledCell(m_hot, -1, 0)); return;
    case Qt::Key_Right: setHot(nextEnabledCell(m_hot, 1, 0)); return;
    case Qt::Key_Up: setHot(nextEnabledCell(m_hot, 0, -1)); return;
    case Qt::Key_Down: setHot(nextEnabledCell(m_hot, 0, 1)); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: pick(m_hot); return;
    default: QWidget::keyPressEvent(event);
    }
}

void PeriodicTablePopup::hideEvent(QHideEvent* event)
{
    m_nameTip->hide();
    m_awaitingRelease = false;
    QWidget::hideEvent(event);
}

} // namespace kav
