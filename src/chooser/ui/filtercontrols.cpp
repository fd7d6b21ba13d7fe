#include "chooser/ui/filtercontrols.h"

#include "base/catalogue.h"
#include "base/enumset.h"
#include "controls/columnslist.h"
#include "controls/inputcolours.h"
#include "controls/markup.h"
#include "controls/numberedit.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>

#include <algorithm>

namespace kav {

namespace {

// A check list: each item a check box that a click anywhere on it toggles, as Space does on
// the current item.
class CheckList : public ColumnsList {
public:
    using ColumnsList::ColumnsList;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QListWidgetItem* item = currentItem();
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && item) {
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            return;
        }
        ColumnsList::keyPressEvent(event);
    }
};

} // namespace

QString navyWhenChecked()
{
    return QStringLiteral("QCheckBox:checked { color: #000080; }");
}

MarkupCaption::MarkupCaption(QString text, QWidget* parent, Qt::Alignment alignment)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_alignment(alignment)
{
    setMinimumHeight(16);
}

QSize MarkupCaption::sizeHint() const
{
    QImage scratch(1, 1, QImage::Format_ARGB32);
    QPainter p(&scratch);
    p.setFont(font());
    const MarkupResult r = drawMarkupText(p, m_text, QRect(0, 0, 1000, 100), true, false);
    return {r.width + 4, std::max(r.height, 16)};
}

void MarkupCaption::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QRect r = rect();
    if (m_alignment & Qt::AlignHCenter) {
        const MarkupResult size = drawMarkupText(p, m_text, r, true, false);
        r.setLeft((width() - size.width) / 2);
    }
    drawMarkupTextCentred(p, m_text, r, false);
}

QListWidget* makeCheckList(const QStringList& items, int columns, QWidget* parent)
{
    auto* list = new CheckList(columns, parent);
    list->setWidestText(*std::max_element(items.begin(), items.end(), [](const QString& a, const QString& b) {
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

void setItemChecked(QListWidget* list, int row, bool checked)
{
    list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool isItemChecked(const QListWidget* list, int row)
{
    return list->item(row)->checkState() == Qt::Checked;
}

void makeHalfLifeField(FloatEdit* edit)
{
    edit->setMinValue(1e-30);
    edit->setMaxValue(1e30);
    edit->setMinValueEnabled(true);
    edit->setMaxValueEnabled(true);
    edit->setShowMessages(false);
    FloatFormatList& formats = edit->formats();
    formats.defaultFormat = QStringLiteral("0.###e-0");
    formats.add(1, QStringLiteral("0.###"));
    formats.add(1000, QStringLiteral("0.###e-0"));
    edit->formatsChanged();
    applyInputColours(edit);
}

void makeBoundField(FloatEdit* edit, bool percent)
{
    edit->setMinValue(0);
    edit->setMaxValue(percent ? 100 : 1e6);
    edit->setMinValueEnabled(true);
    edit->setMaxValueEnabled(true);
    edit->setShowMessages(false);
    edit->setUpDownButtons(false);
    FloatFormatList& formats = edit->formats();
    formats.defaultFormat = QStringLiteral("0.####e-0");
    const std::pair<double, const char*> thresholds[]
        = {{0.01, "0.######"}, {0.1, "0.#####"}, {1, "0.####"},       {10, "0.###"},
           {100, "0.##"},      {1000, "0.#"},    {10000, "0.####e-0"}};
    for (const auto& [threshold, format] : thresholds)
        formats.add(threshold, QString::fromLatin1(format));
    edit->formatsChanged();
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight);
    applyInputColours(edit);
}

QString countText(int count, CountKind kind, UiLanguage language)
{
    const TextCatalogue& texts = catalogue(language);
    if (count == 0)
        return QString::fromUtf16(texts.listEmpty);
    return QString::fromUtf16(count == 1 ? texts.countOfOne : texts.countOfMany)
        .arg(QString::number(count), QString::fromUtf16(texts.countedThings[ordinal(kind)]));
}

} // namespace kav
