#include "controls/numberedit.h"

#include "base/catalogue.h"
#include "base/messageboxes.h"
#include "base/numberformat.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>

namespace kav {

namespace {

// The text of the clipboard as a number, or 0 when it is none.
double clipboardNumber()
{
    QString t = QApplication::clipboard()->text().trimmed();
    t.replace(decimalSeparator(), u'.');
    const double v = parseFloatDef(t, 0);
    return std::isfinite(v) ? v : 0;
}

} // namespace

bool FloatFormatList::add(double threshold, const QString& format)
{
    if (count() >= MaxEntries)
        return false;
    const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), threshold,
                                     [](const auto& e, double t) { return e.first < t; });
    if (at != m_entries.end() && at->first == threshold)
        return false;
    m_entries.insert(at, {threshold, format});
    return true;
}

const QString& FloatFormatList::formatFor(double value) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (value >= m_entries[i].first && (i + 1 == m_entries.size() || value <= m_entries[i + 1].first))
            return m_entries[i].second;
    return defaultFormat;
}

QString FloatFormatList::toText() const
{
    QStringList parts;
    for (const auto& [threshold, format] : m_entries)
        parts << QStringLiteral("(%1 '%2')").arg(formatPicture(threshold, u"0.###############", u'.'), format);
    return parts.join(u' ');
}

NumberEdit::NumberEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_updating)
            takeTypedText();
    });
}

void NumberEdit::setMulDivValue(int value)
{
    m_mulDivValue = std::clamp(value, 0, 100);
    if (m_mul) {
        m_mul->setText(QStringLiteral("\u2022 %1").arg(m_mulDivValue));
        m_div->setText(QStringLiteral("/ %1").arg(m_mulDivValue));
    }
}

void NumberEdit::setUpDownButtons(bool value)
{
    if (value == upDownButtons())
        return;
    if (!value) {
        delete m_upDown;
        m_upDown = nullptr;
    } else {
        m_upDown = new QWidget(this);
        auto* layout = new QVBoxLayout(m_upDown);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const bool up : {true, false}) {
            auto* b = new QToolButton(m_upDown);
            b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            b->setAutoRepeat(true);
            b->setFocusPolicy(Qt::NoFocus);
            b->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
            connect(b, &QToolButton::clicked, this, [this, up] {
                if (!isReadOnly())
                    up ? increase() : decrease();
            });
            layout->addWidget(b);
        }
        m_upDown->show();
    }
    layoutButtons();
}

void NumberEdit::setMulDivButtons(bool value)
{
    if (value == mulDivButtons())
        return;
    delete m_mul;
    delete m_div;
    m_mul = m_div = nullptr;
    if (value) {
        m_mul = new QToolButton(this);
        m_div = new QToolButton(this);
        for (QToolButton* b : {m_mul, m_div}) {
            b->setFocusPolicy(Qt::NoFocus);
            b->show();
        }
        connect(m_mul, &QToolButton::clicked, this, [this] {
            if (!isReadOnly())
                multiplyBy(m_mulDivValue);
        });
        connect(m_div, &QToolButton::clicked, this, [this] {
            if (!isReadOnly())
                divideBy(m_mulDivValue);
        });
        setMulDivValue(m_mulDivValue);
    }
    layoutButtons();
}

void NumberEdit::layoutButtons()
{
    int right = 0;
    const int h = height();
    if (m_upDown) {
        const int w = std::max(12, h * 2 / 3);
        right += w;
        m_upDown->setGeometry(width() - right, 0, w, h);
    }
    if (m_mul) {
        constexpr int buttonWidth = 25;
        right += buttonWidth;
        m_mul->setGeometry(width() - right, 0, buttonWidth, std::min(17, h / 2));
        m_div->setGeometry(width() - right, h - std::min(17, h / 2), buttonWidth, std::min(17, h / 2));
    }
    setTextMargins(0, 0, right, 0);
}

void NumberEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    layoutButtons();
}

void NumberEdit::showLimitMessage(bool lowerApplies, bool upperApplies, const QString& min, const QString& max) const
{
    if (!m_showMessages || !m_messageBoxes || (!lowerApplies && !upperApplies))
        return;
    const TextCatalogue& texts = catalogue(m_language);
    QString text;
    if (lowerApplies && upperApplies)
        text = QString::fromUtf16(texts.limitLeads[2]) + u' ' + min + QStringLiteral(" .. ") + max;
    else if (lowerApplies)
        text = QString::fromUtf16(texts.limitLeads[0]) + u' ' + min;
    else
        text = QString::fromUtf16(texts.limitLeads[1]) + u' ' + max;
    m_messageBoxes->show(MessageKind::Error, QString::fromUtf16(texts.inputErrorCaption), text + QStringLiteral(" !"),
                         ButtonOk, ButtonOk);
}

void NumberEdit::pasteNumber()
{
    bool ok = false;
    const QString pasted = QApplication::clipboard()->text().trimmed();
    QString candidate = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    candidate.replace(start, selectedText().size(), pasted);
    if (readText(candidate, ok))
        insert(pasted);
}

void NumberEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Up: increase(); return;
    case Qt::Key_Down: decrease(); return;
    case Qt::Key_Plus:
        if (keypad && shift && m_usePlusMinusKeys) {
            increase();
            return;
        }
        break;
    case Qt::Key_Minus:
        if (keypad && shift && m_usePlusMinusKeys) {
            decrease();
            return;
        }
        break;
    case Qt::Key_Asterisk:
    case Qt::Key_Slash:
        if (keypad && m_useMulDivKeys) {
            const double factor = shift ? clipboardNumber() : m_mulDivValue;
            if (!shift || factor != 0)
                event->key() == Qt::Key_Asterisk ? multiplyBy(factor) : divideBy(factor);
            return;
        }
        break;
    default: break;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteNumber();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        checkTypedText();
    // The point and the comma both stand for the decimal separator, the one of the locale in
    // force: a user types what his keyboard (its keypad's key gives either) or habit gives, and
    // the number is never read as another one for want of it.
    QString typed = event->text();
    if (typed == QStringLiteral(".") || typed == QStringLiteral(","))
        typed = decimalSeparator();
    if (typed.size() == 1 && typed[0].isPrint() && !acceptsChar(typed[0])) {
        // Refused where it can be seen: dropping it quietly could make another number.
        QToolTip::showText(mapToGlobal(QPoint(0, height())),
                           QStringLiteral("\"%1\" cannot be typed here").arg(event->text()), this);
        event->accept();
        return;
    }
    m_typing = true;
    if (typed == event->text()) {
        QLineEdit::keyPressEvent(event);
    } else {
        QKeyEvent separator(event->type(), event->key(), event->modifiers(), typed, event->isAutoRepeat(),
                            static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&separator);
    }
    m_typing = false;
}

void NumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    bool ok = false;
    readText(text(), ok);
    if (ok) {
        checkTypedText();
        return;
    }
    // Text that is no number: the last value comes back and the field keeps the focus.
    rewriteText();
    QTimer::singleShot(0, this, [this] { setFocus(); });
}

template <typename T> void RangedEdit<T>::message() const
{
    showLimitMessage(m_minValueEnabled, m_maxValueEnabled, formatValue(m_minValue), formatValue(m_maxValue));
}

template <typename T> void RangedEdit<T>::rewriteText()
{
    m_updating = true;
    setText(formatValue(m_value));
    m_updating = false;
}

template <typename T> void RangedEdit<T>::takeTypedText()
{
    bool ok = false;
    if (readText(text(), ok) && !(m_typing && m_read < lowerLimit())) {
        if (m_read < lowerLimit() || m_read > upperLimit()) {
            m_value = m_read < lowerLimit() ? lowerLimit() : upperLimit();
            rewriteText();
            message();
        } else {
            m_value = m_read;
        }
    }
    if (onChange)
        onChange();
}

template <typename T> void RangedEdit<T>::checkTypedText()
{
    bool ok = false;
    if (readText(text(), ok) && m_read < lowerLimit())
        takeTypedText();
}

template <typename T> void RangedEdit<T>::setValue(T value)
{
    if (value == m_value && !text().isEmpty())
        return;
    m_value = value;
    applyLimits();
    rewriteText();
    if (onChange)
        onChange();
}

template <typename T> void RangedEdit<T>::stepTo(T value)
{
    if (value >= lowerLimit() && value <= upperLimit()) {
        setValue(value);
        return;
    }
    const bool below = value < lowerLimit();
    const T limit = below ? lowerLimit() : upperLimit();
    if (onStatusText)
        onStatusText((below ? QStringLiteral("%1 is the lowest value") : QStringLiteral("%1 is the highest value"))
                         .arg(formatValue(limit)));
    setValue(limit);
}

template <typename T> void RangedEdit<T>::applyLimits()
{
    if (m_value >= lowerLimit() && m_value <= upperLimit())
        return;
    m_value = m_value < lowerLimit() ? lowerLimit() : upperLimit();
    rewriteText();
    message();
}

template <typename T> void RangedEdit<T>::setMinValue(T value)
{
    if (m_minValueEnabled && m_maxValueEnabled && value > m_maxValue)
        return;
    m_minValue = value;
    applyLimits();
}

template <typename T> void RangedEdit<T>::setMaxValue(T value)
{
    if (m_minValueEnabled && m_maxValueEnabled && value < m_minValue)
        return;
    m_maxValue = value;
    applyLimits();
}

template <typename T> void RangedEdit<T>::setMinValueEnabled(bool value)
{
    m_minValueEnabled = value;
    if (value && m_maxValueEnabled && m_minValue > m_maxValue)
        m_minValue = m_maxValue;
    applyLimits();
}

template <typename T> void RangedEdit<T>::setMaxValueEnabled(bool value)
{
    m_maxValueEnabled = value;
    if (value && m_minValueEnabled && m_maxValue < m_minValue)
        m_maxValue = m_minValue;
    applyLimits();
}

template class RangedEdit<double>;
template class RangedEdit<int>;

FloatEdit::FloatEdit(QWidget* parent)
    : RangedEdit<double>(parent)
{
    rewriteText();
}

QString FloatEdit::formatValue(double value) const
{
    if (value == 0)
        return QStringLiteral("0");
    return formatPicture(value, m_formats.formatFor(value));
}

bool FloatEdit::readText(const QString& text, bool& ok)
{
    QString t = text.trimmed();
    t.replace(decimalSeparator(), u'.');
    const double v = parseFloatDef(t, std::nan(""));
    ok = !std::isnan(v) && std::isfinite(v);
    if (ok)
        m_read = v;
    return ok;
}

void FloatEdit::step(int direction)
{
    double step = m_increment;
    if (m_incrementType == IncrementKind::LastDigit) {
        if (direction < 0 && m_value <= 1e-20)
            return;
        // One unit of the last digit shown.
        const QString t = text();
        qsizetype e = t.indexOf(u'e', 0, Qt::CaseInsensitive);
        int exponent = 0;
        if (e >= 0)
            parseInt(t.mid(e + 1), exponent);
        const QString mantissa = e >= 0 ? t.left(e) : t;
        const qsizetype point = mantissa.indexOf(decimalSeparator());
        const int decimals = point < 0 ? 0 : static_cast<int>(mantissa.size() - point - 1);
        step = std::pow(10.0, exponent - decimals);
    }
    stepTo(m_value + direction * step);
}

void FloatEdit::increase()
{
    step(1);
}
void FloatEdit::decrease()
{
    step(-1);
}

void FloatEdit::setOperated(double value, bool pastUpper, bool pastLower)
{
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    if (pastUpper || pastLower) {
        if (!reachLimit())
            return;
        value = pastUpper ? upperLimit() : lowerLimit();
    }
    setValue(value);
    if (start >= 0)
        setSelection(start, length);
}

void FloatEdit::multiplyBy(double factor)
{
    if (m_value == 0)
        return;
    if (factor == 0) {
        setText(QStringLiteral("0"));
        return;
    }
    const double product = m_value * factor;
    setOperated(product, product > 0 && product > upperLimit(), product < 0 && product < lowerLimit());
}

void FloatEdit::divideBy(double factor)
{
    if (m_value == 0 || factor == 0)
        return;
    const double quotient = m_value / factor;
    setOperated(quotient, quotient < 0 && quotient > upperLimit(), quotient > 0 && quotient < lowerLimit());
}

bool FloatEdit::acceptsChar(QChar c) const
{
    const QString t = text();
    const int caret = cursorPosition();
    const QChar separator = decimalSeparator();
    const qsizetype exponent = std::max(t.indexOf(u'e'), t.indexOf(u'E'));
    if (c.isDigit())
        return true;
    if (c == u'-')
        return !t.contains(u'-') || caret == 0 || t[caret - 1] == u'e' || t[caret - 1] == u'E';
    if (c == u'e' || c == u'E') {
        const qsizetype point = t.indexOf(separator);
        return exponent < 0 && caret > 0 && !(point >= caret);
    }
    if (c == separator)
        return !t.contains(separator) && !(exponent >= 0 && caret > exponent) && !(caret < t.size() && t[caret] == u'-')
            && !(exponent >= 0 && caret == exponent);
    return false;
}

IntegerEdit::IntegerEdit(QWidget* parent)
    : RangedEdit<int>(parent)
{
    rewriteText();
}

bool IntegerEdit::readText(const QString& text, bool& ok)
{
    const QString t = text.trimmed();
    int v = 0;
    ok = t.isEmpty() || parseInt(t, v);
    if (ok)
        m_read = t.isEmpty() ? 0 : v;
    return ok;
}

void IntegerEdit::step(int direction)
{
    long long step = m_increment;
    if (hasSelectedText()) {
        // The place value of the last selected digit.
        const qsizetype after = text().size() - (selectionStart() + selectedText().size());
        step = 1;
        for (qsizetype i = 0; i < after && step < 1000000000LL; ++i)
            step *= 10;
    }
    const long long next = m_value + direction * step;
    if (next > upperLimit() || next < lowerLimit()) {
        if (ownerTakesOver(m_cycling           ? LimitReason::Wrap
                               : direction > 0 ? LimitReason::Increase
                                               : LimitReason::Decrease,
                           next))
            return;
        if (m_cycling) {
            setValue(static_cast<int>(next > upperLimit() ? lowerLimit() : upperLimit()));
            return;
        }
    }
    stepTo(static_cast<int>(
        std::clamp<long long>(next, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void IntegerEdit::increase()
{
    step(1);
}
void IntegerEdit::decrease()
{
    step(-1);
}

bool IntegerEdit::ownerTakesOver(LimitReason reason, long long value)
{
    if (!onReachLimit)
        return false;
    bool doDefault = true;
    onReachLimit(this, reason, value, doDefault);
    if (doDefault)
        return false;
    setValue(static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    return true;
}

void IntegerEdit::setOperated(long long value, LimitReason reason)
{
    if (value > upperLimit() || value < lowerLimit()) {
        if (ownerTakesOver(reason, value))
            return;
        if (!reachLimit())
            return;
        value = value > upperLimit() ? upperLimit() : lowerLimit();
    }
    setValue(static_cast<int>(value));
}

void IntegerEdit::multiplyBy(double factor)
{
    if (m_value == 0)
        return;
    if (factor == 0) {
        setText(QStringLiteral("0"));
        return;
    }
    setOperated(static_cast<long long>(m_value) * static_cast<long long>(factor), LimitReason::Multiply);
}

void IntegerEdit::divideBy(double factor)
{
    const auto n = static_cast<long long>(factor);
    if (m_value == 0 || n == 0)
        return;
    setOperated(m_value / n, LimitReason::Divide);
}

bool IntegerEdit::acceptsChar(QChar c) const
{
    if (c.isDigit())
        return true;
    return c == u'-' && (!text().contains(u'-') || cursorPosition() == 0);
}

} // namespace kav
