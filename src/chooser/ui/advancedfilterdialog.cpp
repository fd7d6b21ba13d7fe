#include "chooser/ui/advancedfilterdialog.h"

#include "chooser/nuclideselection.h"
#include "chooser/ui/filtercontrols.h"
#include "controls/columnslist.h"
#include "controls/numberedit.h"
#include "nuclides/nuclidenames.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace kav {

// Building the dialog

AdvancedFilterDialog::AdvancedFilterDialog(NuclideSelection& selection, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , m_selection(selection)
{
    setObjectName(QStringLiteral("advancedFilterDialog"));
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
    m_pages = new QTabWidget(left);
    m_pages->tabBar()->hide();
    // The hidden bar would take the focus that Tab passes on, and keep it out of sight.
    m_pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pages->setDocumentMode(true);
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
        tab->setObjectName(QStringLiteral("page%1").arg(i));
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
    CriteriaEditor& editor = *this;
    m_massPage = new MassPage(editor);
    m_chainPage = new DecayChainPage(editor);
    m_modePage = new DecayModePage(editor);
    m_halfLifePage = new HalfLifePage(editor, m_selection.language());
    m_spectrumPage = new SpectrumPage(editor);
    m_pages->addTab(m_massPage, pageName(0));
    m_pages->addTab(m_chainPage, pageName(1));
    m_pages->addTab(m_modePage, pageName(2));
    m_pages->addTab(m_halfLifePage, pageName(3));
    m_pages->addTab(m_spectrumPage, pageName(4));
    tabs->button(0)->setChecked(true);
    connect(tabs, &QButtonGroup::idClicked, m_pages, &QTabWidget::setCurrentIndex);
    connect(m_pages, &QTabWidget::currentChanged, this, [this, tabs](int page) {
        tabs->button(page)->setChecked(true);
        pageChanged(page);
    });
    column->addLayout(tabRows);
    m_pages->setFixedHeight(250);
    column->addWidget(m_pages);

    auto* enabledRow = new QHBoxLayout;
    m_enabledBox = new QCheckBox(QStringLiteral("&Enabled"), left);
    m_enabledBox->setObjectName(QStringLiteral("filterEnabled"));
    m_enabledBox->setStyleSheet(navyWhenChecked());
    connect(m_enabledBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            writeFilter([&] { editedFilter().setEnabled(on); });
    });
    m_linesButton = new QPushButton(QStringLiteral("Spectrum &lines list"), left);
    m_linesButton->setObjectName(QStringLiteral("linesButton"));
    m_linesButton->setVisible(false);
    connect(m_linesButton, &QPushButton::clicked, this, [this] { setIsMoreWidth(!m_isMoreWidth); });
    enabledRow->addWidget(m_enabledBox);
    enabledRow->addStretch(1);
    enabledRow->addWidget(m_linesButton);
    column->addLayout(enabledRow);

    m_resultPages = new QTabWidget(left);
    auto resultPage
        = [&](const QString& title, int columns, const QString& widest, ColumnsList*& list, QLabel*& count) {
              auto* page = new QWidget;
              auto* layout = new QVBoxLayout(page);
              layout->setContentsMargins(2, 2, 2, 2);
              layout->setSpacing(2);
              list = new ColumnsList(columns, page);
              list->setWidestText(widest);
              count = new QLabel(page);
              layout->addWidget(list, 1);
              layout->addWidget(count);
              m_resultPages->addTab(page, title);
          };
    resultPage(QStringLiteral("&Radionuclides"), 4, QStringLiteral("Ag-110m"), m_nuclidesList, m_nuclidesCount);
    resultPage(QStringLiteral("Elemen&ts"), 8, QStringLiteral("Mn"), m_elementsList, m_elementsCount);
    m_nuclidesList->setObjectName(QStringLiteral("nuclidesList"));
    m_elementsList->setObjectName(QStringLiteral("elementsList"));
    column->addWidget(m_resultPages, 1);
    root->addWidget(left);
    m_lines = new SpectrumLinesPanel(m_selection, this);
    m_lines->execModal = [this](QDialog& dialog) { return execModal(dialog); };
    root->addWidget(m_lines, 1);
    m_lines->setVisible(false);
    setFixedSize(NarrowWidth, ClientHeight);

    // While a number is typed, digit by digit, the chooser's lists follow it but its choice
    // waits for the end of the typing (a mass bound of 100 passes 1 and 10 on its way). Heard
    // after the fields' own ends of typing, which may still change the filter. A number beyond a
    // field's limits is said in the chooser's language. (The toolkit's own cast does not know
    // the number fields' class.)
    for (QLineEdit* line : findChildren<QLineEdit*>()) {
        auto* edit = dynamic_cast<NumberEdit*>(line);
        if (!edit)
            continue;
        edit->setLanguage(m_selection.language());
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this] { m_selection.setChoiceHeld(false); });
    }
    showFilter();
    // Heard beside the selection's other listeners, while the dialog is open.
    m_filterApplied = m_selection.filterApplied.connect([this] { refresh(); });
    refresh();
}

bool AdvancedFilterDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && dynamic_cast<NumberEdit*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ends = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab
            || key == Qt::Key_Escape;
        if (!ends)
            m_selection.setChoiceHeld(true);
    }
    return QDialog::eventFilter(watched, event);
}

AdvancedFilterDialog::~AdvancedFilterDialog()
{
    m_selection.setChoiceHeld(false);
}

QListWidget* AdvancedFilterDialog::resultNuclides() const
{
    return m_nuclidesList;
}

QListWidget* AdvancedFilterDialog::resultElements() const
{
    return m_elementsList;
}

// Showing and writing the filter

AdvancedFilter& AdvancedFilterDialog::editedFilter()
{
    return m_selection.filter().advanced();
}

void AdvancedFilterDialog::showFilter()
{
    const bool wasUpdating = std::exchange(m_updating, true);
    m_enabledBox->setChecked(editedFilter().enabled());
    for (CriteriaPage* page :
         std::initializer_list<CriteriaPage*>{m_massPage, m_chainPage, m_modePage, m_halfLifePage, m_spectrumPage})
        page->showCriteria();
    m_updating = wasUpdating;
}

void AdvancedFilterDialog::writeFilter(const std::function<void()>& change)
{
    if (m_updating)
        return;
    m_refreshed = false;
    change();
    // A change the selection did not take up (the filter is off) still changes the lines list.
    if (!m_refreshed)
        buildLines();
}

void AdvancedFilterDialog::switchFilterOn()
{
    // The box's own handler writes the filter.
    if (!m_updating && !m_enabledBox->isChecked())
        m_enabledBox->setChecked(true);
}

// Refreshing

void AdvancedFilterDialog::refresh()
{
    m_refreshed = true;
    const NuclideFilter& filter = m_selection.filter();
    const UiLanguage language = m_selection.language();
    m_nuclidesList->clear();
    m_nuclidesList->addItems(filter.fullNuclideList().names());
    m_nuclidesCount->setText(countText(static_cast<int>(m_selection.nuclides().size()), CountKind::Nuclides, language));
    m_elementsList->clear();
    for (std::size_t e = 0; e < ElementCount; ++e)
        if (filter.fullElementSet().contains(static_cast<ChemicalElement>(e)))
            m_elementsList->addItem(elementSymbol(static_cast<ChemicalElement>(e)));
    m_elementsCount->setText(
        countText(static_cast<int>(m_selection.elementList().size()), CountKind::Elements, language));
    buildLines();
}

void AdvancedFilterDialog::buildLines()
{
    if (m_shown)
        m_lines->rebuild();
}

// Width and pages

void AdvancedFilterDialog::setIsMoreWidth(bool value)
{
    m_isMoreWidth = value;
    if (m_pages->currentIndex() == static_cast<int>(Page::Spectrum))
        updateWidth();
}

void AdvancedFilterDialog::pageChanged(int page)
{
    m_linesButton->setVisible(page == static_cast<int>(Page::Spectrum));
    updateWidth();
}

void AdvancedFilterDialog::updateWidth()
{
    const bool wide = m_isMoreWidth && m_pages->currentIndex() == static_cast<int>(Page::Spectrum);
    m_linesButton->setIcon(style()->standardIcon(wide ? QStyle::SP_ArrowLeft : QStyle::SP_ArrowRight));
    m_linesButton->setToolTip(wide ? QStringLiteral("Hide the list of spectrum lines")
                                   : QStringLiteral("Show the list of spectrum lines"));
    m_lines->setVisible(wide);
    setFixedSize(wide ? WideWidth : NarrowWidth, ClientHeight);
    if (!wide || !isVisible())
        return;
    const QRect screen = this->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.left() + frame.width() > screen.right())
        move(screen.right() - frame.width() - 5, y());
}

void AdvancedFilterDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    updateWidth();
    buildLines();
    // A tool window is not made active by the window system as it opens: without this the
    // keys would go on to the window below until the dialog is clicked.
    activateWindow();
    focusPage();
}

void AdvancedFilterDialog::focusPage()
{
    QWidget* page = m_pages->currentWidget();
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain())
        if (page->isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
}

void AdvancedFilterDialog::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+Tab and Ctrl+PgDn to the next page, with Shift or PgUp to the one before, wherever the
    // focus is outside the result lists (whose own pages turn there).
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (control && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_PageDown || key == Qt::Key_PageUp)) {
        const bool back = key == Qt::Key_Backtab || key == Qt::Key_PageUp || (event->modifiers() & Qt::ShiftModifier);
        const int count = m_pages->count();
        m_pages->setCurrentIndex((m_pages->currentIndex() + (back ? count - 1 : 1)) % count);
        return;
    }
    QDialog::keyPressEvent(event);
}

void AdvancedFilterDialog::done(int result)
{
    m_selection.setChoiceHeld(false);
    m_filterApplied.reset();
    QDialog::done(result);
}

} // namespace kav
