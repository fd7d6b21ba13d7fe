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
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , FSelection(selection)
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
    CriteriaEditor& editor = *this;
    FMassPage = new MassPage(editor);
    FChainPage = new DecayChainPage(editor);
    FModePage = new DecayModePage(editor);
    FHalfLifePage = new HalfLifePage(editor, FSelection.Language());
    FSpectrumPage = new SpectrumPage(editor);
    FPages->addTab(FMassPage, pageName(0));
    FPages->addTab(FChainPage, pageName(1));
    FPages->addTab(FModePage, pageName(2));
    FPages->addTab(FHalfLifePage, pageName(3));
    FPages->addTab(FSpectrumPage, pageName(4));
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
    FEnabledBox = new QCheckBox(QStringLiteral("&Enabled"), left);
    FEnabledBox->setObjectName(QStringLiteral("cbEnabled"));
    FEnabledBox->setStyleSheet(NavyWhenChecked());
    connect(FEnabledBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!FUpdating)
            WriteFilter([&] { EditedFilter().SetEnabled(on); });
    });
    FLinesButton = new QPushButton(QStringLiteral("Spectrum &lines list"), left);
    FLinesButton->setObjectName(QStringLiteral("bLinesList"));
    FLinesButton->setVisible(false);
    connect(FLinesButton, &QPushButton::clicked, this, [this] { SetIsMoreWidth(!FIsMoreWidth); });
    enabledRow->addWidget(FEnabledBox);
    enabledRow->addStretch(1);
    enabledRow->addWidget(FLinesButton);
    column->addLayout(enabledRow);

    FResultPages = new QTabWidget(left);
    auto resultPage
        = [&](const QString& title, int columns, const QString& widest, ColumnsList*& list, QLabel*& count) {
              auto* page = new QWidget;
              auto* layout = new QVBoxLayout(page);
              layout->setContentsMargins(2, 2, 2, 2);
              layout->setSpacing(2);
              list = new ColumnsList(columns, page);
              list->SetWidestText(widest);
              count = new QLabel(page);
              layout->addWidget(list, 1);
              layout->addWidget(count);
              FResultPages->addTab(page, title);
          };
    resultPage(QStringLiteral("&Radionuclides"), 4, QStringLiteral("Ag-110m"), FNuclidesList, FNuclidesCount);
    resultPage(QStringLiteral("Elemen&ts"), 8, QStringLiteral("Mn"), FElementsList, FElementsCount);
    FNuclidesList->setObjectName(QStringLiteral("lbNuclides"));
    FElementsList->setObjectName(QStringLiteral("lbElements"));
    column->addWidget(FResultPages, 1);
    root->addWidget(left);
    FLines = new SpectrumLinesPanel(FSelection, this);
    FLines->ExecModal = [this](QDialog& dialog) { return ExecModal(dialog); };
    root->addWidget(FLines, 1);
    FLines->setVisible(false);
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
        edit->SetLanguage(FSelection.Language());
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this] { FSelection.SetChoiceHeld(false); });
    }
    ShowFilter();
    // Heard beside the selection's other listeners, while the dialog is open.
    FFilterApplied = FSelection.FilterApplied.Connect([this] { Refresh(); });
    Refresh();
}

bool AdvancedFilterDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && dynamic_cast<NumberEdit*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ends = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab
            || key == Qt::Key_Escape;
        if (!ends)
            FSelection.SetChoiceHeld(true);
    }
    return QDialog::eventFilter(watched, event);
}

AdvancedFilterDialog::~AdvancedFilterDialog()
{
    FSelection.SetChoiceHeld(false);
}

QListWidget* AdvancedFilterDialog::ResultNuclides() const
{
    return FNuclidesList;
}

QListWidget* AdvancedFilterDialog::ResultElements() const
{
    return FElementsList;
}

// Showing and writing the filter

AdvancedFilter& AdvancedFilterDialog::EditedFilter()
{
    return FSelection.Filter().Advanced();
}

void AdvancedFilterDialog::ShowFilter()
{
    const bool wasUpdating = std::exchange(FUpdating, true);
    FEnabledBox->setChecked(EditedFilter().Enabled());
    for (CriteriaPage* page :
         std::initializer_list<CriteriaPage*>{FMassPage, FChainPage, FModePage, FHalfLifePage, FSpectrumPage})
        page->ShowCriteria();
    FUpdating = wasUpdating;
}

void AdvancedFilterDialog::WriteFilter(const std::function<void()>& change)
{
    if (FUpdating)
        return;
    FRefreshed = false;
    change();
    // A change the selection did not take up (the filter is off) still changes the lines list.
    if (!FRefreshed)
        BuildLines();
}

void AdvancedFilterDialog::SwitchFilterOn()
{
    // The box's own handler writes the filter.
    if (!FUpdating && !FEnabledBox->isChecked())
        FEnabledBox->setChecked(true);
}

// Refreshing

void AdvancedFilterDialog::Refresh()
{
    FRefreshed = true;
    const NuclideFilter& filter = FSelection.Filter();
    const UiLanguage language = FSelection.Language();
    FNuclidesList->clear();
    FNuclidesList->addItems(filter.FullNuclideList().Names());
    FNuclidesCount->setText(CountText(static_cast<int>(FSelection.Nuclides().size()), ckNuclides, language));
    FElementsList->clear();
    for (int e = 0; e < ElementCount; ++e)
        if (filter.FullElementSet().contains(static_cast<ChemicalElement>(e)))
            FElementsList->addItem(ElementSymbol(static_cast<ChemicalElement>(e)));
    FElementsCount->setText(CountText(static_cast<int>(FSelection.ElementList().size()), ckElements, language));
    BuildLines();
}

void AdvancedFilterDialog::BuildLines()
{
    if (FShown)
        FLines->Rebuild();
}

// Width and pages

void AdvancedFilterDialog::SetIsMoreWidth(bool value)
{
    FIsMoreWidth = value;
    if (FPages->currentIndex() == pgSpectrum)
        UpdateWidth();
}

void AdvancedFilterDialog::PageChanged(int page)
{
    FLinesButton->setVisible(page == pgSpectrum);
    UpdateWidth();
}

void AdvancedFilterDialog::UpdateWidth()
{
    const bool wide = FIsMoreWidth && FPages->currentIndex() == pgSpectrum;
    FLinesButton->setIcon(style()->standardIcon(wide ? QStyle::SP_ArrowLeft : QStyle::SP_ArrowRight));
    FLinesButton->setToolTip(wide ? QStringLiteral("Hide the list of spectrum lines")
                                  : QStringLiteral("Show the list of spectrum lines"));
    FLines->setVisible(wide);
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

void AdvancedFilterDialog::FocusPage()
{
    QWidget* page = FPages->currentWidget();
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
        const int count = FPages->count();
        FPages->setCurrentIndex((FPages->currentIndex() + (back ? count - 1 : 1)) % count);
        return;
    }
    QDialog::keyPressEvent(event);
}

void AdvancedFilterDialog::done(int result)
{
    FSelection.SetChoiceHeld(false);
    FFilterApplied.Reset();
    QDialog::done(result);
}

} // namespace kav
