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
    const double v = ParseFloatDef(t, 0);
    return std::isfinite(v) ? v : 0;
}

} // namespace

bool FloatFormatList::Add(double threshold, const QString& format)
{
    if (Count() >= MaxEntries)
        return false;
    const auto at = std::lower_bound(FEntries.begin(), FEntries.end(), threshold,
                                     [](const auto& e, double t) { return e.first < t; });
    if (at != FEntries.end() && at->first == threshold)
        return false;
    FEntries.insert(at, {threshold, format});
    return true;
}

const QString& FloatFormatList::FormatFor(double value) const
{
    for (std::size_t i = 0; i < FEntries.size(); ++i)
        if (value >= FEntries[i].first && (i + 1 == FEntries.size() || value <= FEntries[i + 1].first))
            return FEntries[i].second;
    return DefaultFormat;
}

QString FloatFormatList::ToText() const
{
    QStringList parts;
    for (const auto& [threshold, format] : FEntries)
        parts << QStringLiteral("(%1 '%2')").arg(formatPicture(threshold, u"0.###############", u'.'), format);
    return parts.join(u' ');
}

NumberEdit::NumberEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!FUpdating)
            TextEdited();
    });
}

void NumberEdit::SetMulDivValue(int value)
{
    FMulDivValue = std::clamp(value, 0, 100);
    if (FMul) {
        FMul->setText(QStringLiteral("\u2022 %1").arg(FMulDivValue));
        FDiv->setText(QStringLiteral("/ %1").arg(FMulDivValue));
    }
}

void NumberEdit::SetUpDownButtons(bool value)
{
    if (value == UpDownButtons())
        return;
    if (!value) {
        delete FUpDown;
        FUpDown = nullptr;
    } else {
        FUpDown = new QWidget(this);
        auto* layout = new QVBoxLayout(FUpDown);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const bool up : {true, false}) {
            auto* b = new QToolButton(FUpDown);
            b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            b->setAutoRepeat(true);
            b->setFocusPolicy(Qt::NoFocus);
            b->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
            connect(b, &QToolButton::clicked, this, [this, up] {
                if (!isReadOnly())
                    up ? Increase() : Decrease();
            });
            layout->addWidget(b);
        }
        FUpDown->show();
    }
    LayoutButtons();
}

void NumberEdit::SetMulDivButtons(bool value)
{
    if (value == MulDivButtons())
        return;
    delete FMul;
    delete FDiv;
    FMul = FDiv = nullptr;
    if (value) {
        FMul = new QToolButton(this);
        FDiv = new QToolButton(this);
        for (QToolButton* b : {FMul, FDiv}) {
            b->setFocusPolicy(Qt::NoFocus);
            b->show();
        }
        connect(FMul, &QToolButton::clicked, this, [this] {
            if (!isReadOnly())
                MultiplyBy(FMulDivValue);
        });
        connect(FDiv, &QToolButton::clicked, this, [this] {
            if (!isReadOnly())
                DivideBy(FMulDivValue);
        });
        SetMulDivValue(FMulDivValue);
    }
    LayoutButtons();
}

void NumberEdit::LayoutButtons()
{
    int right = 0;
    const int h = height();
    if (FUpDown) {
        const int w = std::max(12, h * 2 / 3);
        right += w;
        FUpDown->setGeometry(width() - right, 0, w, h);
    }
    if (FMul) {
        constexpr int buttonWidth = 25;
        right += buttonWidth;
        FMul->setGeometry(width() - right, 0, buttonWidth, std::min(17, h / 2));
        FDiv->setGeometry(width() - right, h - std::min(17, h / 2), buttonWidth, std::min(17, h / 2));
    }
    setTextMargins(0, 0, right, 0);
}

void NumberEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    LayoutButtons();
}

void NumberEdit::ShowLimitMessage(bool lowerApplies, bool upperApplies, const QString& min, const QString& max) const
{
    if (!FShowMessages || !FMessageBoxes || (!lowerApplies && !upperApplies))
        return;
    const TextCatalogue& texts = Catalogue(FLanguage);
    QString text;
    if (lowerApplies && upperApplies)
        text = QString::fromUtf16(texts.LimitLeads[2]) + u' ' + min + QStringLiteral(" .. ") + max;
    else if (lowerApplies)
        text = QString::fromUtf16(texts.LimitLeads[0]) + u' ' + min;
    else
        text = QString::fromUtf16(texts.LimitLeads[1]) + u' ' + max;
    FMessageBoxes->Show(MessageKind::Error, QString::fromUtf16(texts.InputErrorCaption), text + QStringLiteral(" !"),
                        mbOK, mbOK);
}

void NumberEdit::PasteNumber()
{
    bool ok = false;
    const QString pasted = QApplication::clipboard()->text().trimmed();
    QString candidate = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    candidate.replace(start, selectedText().size(), pasted);
    if (ReadText(candidate, ok))
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
    case Qt::Key_Up: Increase(); return;
    case Qt::Key_Down: Decrease(); return;
    case Qt::Key_Plus:
        if (keypad && shift && FUsePlusMinusKeys) {
            Increase();
            return;
        }
        break;
    case Qt::Key_Minus:
        if (keypad && shift && FUsePlusMinusKeys) {
            Decrease();
            return;
        }
        break;
    case Qt::Key_Asterisk:
    case Qt::Key_Slash:
        if (keypad && FUseMulDivKeys) {
            const double factor = shift ? clipboardNumber() : FMulDivValue;
            if (!shift || factor != 0)
                event->key() == Qt::Key_Asterisk ? MultiplyBy(factor) : DivideBy(factor);
            return;
        }
        break;
    default: break;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteNumber();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        CheckTypedText();
    // The point and the comma both stand for the decimal separator, the one of the locale in
    // force: a user types what his keyboard (its keypad's key gives either) or habit gives, and
    // the number is never read as another one for want of it.
    QString typed = event->text();
    if (typed == QStringLiteral(".") || typed == QStringLiteral(","))
        typed = decimalSeparator();
    if (typed.size() == 1 && typed[0].isPrint() && !AcceptsChar(typed[0])) {
        // Refused where it can be seen: dropping it quietly could make another number.
        QToolTip::showText(mapToGlobal(QPoint(0, height())),
                           QStringLiteral("\"%1\" cannot be typed here").arg(event->text()), this);
        event->accept();
        return;
    }
    FTyping = true;
    if (typed == event->text()) {
        QLineEdit::keyPressEvent(event);
    } else {
        QKeyEvent separator(event->type(), event->key(), event->modifiers(), typed, event->isAutoRepeat(),
                            static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&separator);
    }
    FTyping = false;
}

void NumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    bool ok = false;
    ReadText(text(), ok);
    if (ok) {
        CheckTypedText();
        return;
    }
    // Text that is no number: the last value comes back and the field keeps the focus.
    RewriteText();
    QTimer::singleShot(0, this, [this] { setFocus(); });
}

template <typename T> void RangedEdit<T>::Message() const
{
    ShowLimitMessage(FMinValueEnabled, FMaxValueEnabled, FormatValue(FMinValue), FormatValue(FMaxValue));
}

template <typename T> void RangedEdit<T>::RewriteText()
{
    FUpdating = true;
    setText(FormatValue(FValue));
    FUpdating = false;
}

template <typename T> void RangedEdit<T>::TextEdited()
{
    bool ok = false;
    if (ReadText(text(), ok) && !(FTyping && FRead < Lower())) {
        if (FRead < Lower() || FRead > Upper()) {
            FValue = FRead < Lower() ? Lower() : Upper();
            RewriteText();
            Message();
        } else {
            FValue = FRead;
        }
    }
    if (OnChange)
        OnChange();
}

template <typename T> void RangedEdit<T>::CheckTypedText()
{
    bool ok = false;
    if (ReadText(text(), ok) && FRead < Lower())
        TextEdited();
}

template <typename T> void RangedEdit<T>::SetValue(T value)
{
    if (value == FValue && !text().isEmpty())
        return;
    FValue = value;
    ApplyLimits();
    RewriteText();
    if (OnChange)
        OnChange();
}

template <typename T> void RangedEdit<T>::StepTo(T value)
{
    if (value >= Lower() && value <= Upper()) {
        SetValue(value);
        return;
    }
    const bool below = value < Lower();
    const T limit = below ? Lower() : Upper();
    if (OnStatusText)
        OnStatusText((below ? QStringLiteral("%1 is the lowest value") : QStringLiteral("%1 is the highest value"))
                         .arg(FormatValue(limit)));
    SetValue(limit);
}

template <typename T> void RangedEdit<T>::ApplyLimits()
{
    if (FValue >= Lower() && FValue <= Upper())
        return;
    FValue = FValue < Lower() ? Lower() : Upper();
    RewriteText();
    Message();
}

template <typename T> void RangedEdit<T>::SetMinValue(T value)
{
    if (FMinValueEnabled && FMaxValueEnabled && value > FMaxValue)
        return;
    FMinValue = value;
    ApplyLimits();
}

template <typename T> void RangedEdit<T>::SetMaxValue(T value)
{
    if (FMinValueEnabled && FMaxValueEnabled && value < FMinValue)
        return;
    FMaxValue = value;
    ApplyLimits();
}

template <typename T> void RangedEdit<T>::SetMinValueEnabled(bool value)
{
    FMinValueEnabled = value;
    if (value && FMaxValueEnabled && FMinValue > FMaxValue)
        FMinValue = FMaxValue;
    ApplyLimits();
}

template <typename T> void RangedEdit<T>::SetMaxValueEnabled(bool value)
{
    FMaxValueEnabled = value;
    if (value && FMinValueEnabled && FMaxValue < FMinValue)
        FMaxValue = FMinValue;
    ApplyLimits();
}

template class RangedEdit<double>;
template class RangedEdit<int>;

FloatEdit::FloatEdit(QWidget* parent)
    : RangedEdit<double>(parent)
{
    RewriteText();
}

QString FloatEdit::FormatValue(double value) const
{
    if (value == 0)
        return QStringLiteral("0");
    return formatPicture(value, FFormats.FormatFor(value));
}

bool FloatEdit::ReadText(const QString& text, bool& ok)
{
    QString t = text.trimmed();
    t.replace(decimalSeparator(), u'.');
    const double v = ParseFloatDef(t, std::nan(""));
    ok = !std::isnan(v) && std::isfinite(v);
    if (ok)
        FRead = v;
    return ok;
}

void FloatEdit::Step(int direction)
{
    double step = FIncrement;
    if (FIncrementType == itLastDigit) {
        if (direction < 0 && FValue <= 1e-20)
            return;
        // One unit of the last digit shown.
        const QString t = text();
        qsizetype e = t.indexOf(u'e', 0, Qt::CaseInsensitive);
        int exponent = 0;
        if (e >= 0)
            ParseInt(t.mid(e + 1), exponent);
        const QString mantissa = e >= 0 ? t.left(e) : t;
        const qsizetype point = mantissa.indexOf(decimalSeparator());
        const int decimals = point < 0 ? 0 : static_cast<int>(mantissa.size() - point - 1);
        step = std::pow(10.0, exponent - decimals);
    }
    StepTo(FValue + direction * step);
}

void FloatEdit::Increase()
{
    Step(1);
}
void FloatEdit::Decrease()
{
    Step(-1);
}

void FloatEdit::SetOperated(double value, bool pastUpper, bool pastLower)
{
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    if (pastUpper || pastLower) {
        if (!ReachLimit())
            return;
        value = pastUpper ? Upper() : Lower();
    }
    SetValue(value);
    if (start >= 0)
        setSelection(start, length);
}

void FloatEdit::MultiplyBy(double factor)
{
    if (FValue == 0)
        return;
    if (factor == 0) {
        setText(QStringLiteral("0"));
        return;
    }
    const double product = FValue * factor;
    SetOperated(product, product > 0 && product > Upper(), product < 0 && product < Lower());
}

void FloatEdit::DivideBy(double factor)
{
    if (FValue == 0 || factor == 0)
        return;
    const double quotient = FValue / factor;
    SetOperated(quotient, quotient < 0 && quotient > Upper(), quotient > 0 && quotient < Lower());
}

bool FloatEdit::AcceptsChar(QChar c) const
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
    RewriteText();
}

bool IntegerEdit::ReadText(const QString& text, bool& ok)
{
    const QString t = text.trimmed();
    int v = 0;
    ok = t.isEmpty() || ParseInt(t, v);
    if (ok)
        FRead = t.isEmpty() ? 0 : v;
    return ok;
}

void IntegerEdit::Step(int direction)
{
    long long step = FIncrement;
    if (hasSelectedText()) {
        // The place value of the last selected digit.
        const qsizetype after = text().size() - (selectionStart() + selectedText().size());
        step = 1;
        for (qsizetype i = 0; i < after && step < 1000000000LL; ++i)
            step *= 10;
    }
    const long long next = FValue + direction * step;
    if (next > Upper() || next < Lower()) {
        if (OwnerTakesOver(FCycling ? lrWrap : direction > 0 ? lrIncrease : lrDecrease, next))
            return;
        if (FCycling) {
            SetValue(static_cast<int>(next > Upper() ? Lower() : Upper()));
            return;
        }
    }
    StepTo(static_cast<int>(
        std::clamp<long long>(next, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void IntegerEdit::Increase()
{
    Step(1);
}
void IntegerEdit::Decrease()
{
    Step(-1);
}

bool IntegerEdit::OwnerTakesOver(LimitReason reason, long long value)
{
    if (!OnReachLimit)
        return false;
    bool doDefault = true;
    OnReachLimit(this, reason, value, doDefault);
    if (doDefault)
        return false;
    SetValue(static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    return true;
}

void IntegerEdit::SetOperated(long long value, LimitReason reason)
{
    if (value > Upper() || value < Lower()) {
        if (OwnerTakesOver(reason, value))
            return;
        if (!ReachLimit())
            return;
        value = value > Upper() ? Upper() : Lower();
    }
    SetValue(static_cast<int>(value));
}

void IntegerEdit::MultiplyBy(double factor)
{
    if (FValue == 0)
        return;
    if (factor == 0) {
        setText(QStringLiteral("0"));
        return;
    }
    SetOperated(static_cast<long long>(FValue) * static_cast<long long>(factor), lrMultiply);
}

void IntegerEdit::DivideBy(double factor)
{
    const auto n = static_cast<long long>(factor);
    if (FValue == 0 || n == 0)
        return;
    SetOperated(FValue / n, lrDivide);
}

bool IntegerEdit::AcceptsChar(QChar c) const
{
    if (c.isDigit())
        return true;
    return c == u'-' && (!text().contains(u'-') || cursorPosition() == 0);
}

} // namespace kav
