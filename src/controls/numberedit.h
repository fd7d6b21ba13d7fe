#pragma once

#include "base/language.h"
#include "base/messageboxes.h"

#include <QLineEdit>

#include <functional>
#include <limits>
#include <utility>
#include <vector>

class QToolButton;

namespace kav {

enum class IncrementKind : std::uint8_t { Stable, LastDigit };

// How a number is shown: a default pattern, and patterns that take over from a threshold on.
class FloatFormatList {
public:
    static constexpr int MaxEntries = 10;

    QString defaultFormat = QStringLiteral("0.###");
    // Keeps the thresholds in ascending order; false for a threshold already present or a full list.
    bool add(double threshold, const QString& format);
    void clear() { m_entries.clear(); }
    int count() const { return static_cast<int>(m_entries.size()); }
    // The pattern for a value: the default below the first threshold, an entry's from its
    // threshold up to the next one, the last entry's above the last threshold.
    const QString& formatFor(double value) const;
    // "(1 '0.###') (1000 '0.###e-0')".
    QString toText() const;

private:
    std::vector<std::pair<double, QString>> m_entries;
};

// A single-line field that holds a number: limits with their messages ("Input error"),
// stepping with the arrow keys and small buttons, multiply and divide by a factor.
class NumberEdit : public QLineEdit {
public:
    std::function<void()> onChange;
    // A short text for the owner's status line: a step stopped at a limit.
    std::function<void(const QString& text)> onStatusText;

    UiLanguage language() const { return m_language; }
    void setLanguage(UiLanguage value) { m_language = value; }
    bool showMessages() const { return m_showMessages; }
    void setShowMessages(bool value) { m_showMessages = value; }
    // Where the field's messages go (not owned; it outlives the field); without it, nowhere.
    void setMessageBoxes(MessageBoxes* boxes) { m_messageBoxes = boxes; }
    bool reachLimit() const { return m_reachLimit; }
    void setReachLimit(bool value) { m_reachLimit = value; }
    bool usePlusMinusKeys() const { return m_usePlusMinusKeys; }
    void setUsePlusMinusKeys(bool value) { m_usePlusMinusKeys = value; }
    bool useMulDivKeys() const { return m_useMulDivKeys; }
    void setUseMulDivKeys(bool value) { m_useMulDivKeys = value; }
    int mulDivValue() const { return m_mulDivValue; }
    void setMulDivValue(int value);
    bool upDownButtons() const { return m_upDown != nullptr; }
    void setUpDownButtons(bool value);
    bool mulDivButtons() const { return m_mul != nullptr; }
    void setMulDivButtons(bool value);

    virtual void increase() = 0;
    virtual void decrease() = 0;
    virtual void multiplyBy(double factor) = 0;
    virtual void divideBy(double factor) = 0;

protected:
    explicit NumberEdit(QWidget* parent);

    // The limit messages: which limits apply decides the text.
    void showLimitMessage(bool lowerApplies, bool upperApplies, const QString& min, const QString& max) const;
    // Reads the field's text; empty text is 0.
    virtual bool readText(const QString& text, bool& ok) = 0;
    // Called on every change of the text, once the value is read and checked.
    virtual void takeTypedText() = 0;
    // Whether a typed character may go in at the caret.
    virtual bool acceptsChar(QChar c) const = 0;
    virtual void rewriteText() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Brings a text left below the lower limit while it was typed up to that limit.
    virtual void checkTypedText() = 0;
    bool m_updating = false;
    // Set while a keystroke changes the text: a number typed digit by digit passes below the
    // lower limit on its way ("0" on the way to "0.25"), so that limit waits for the typing to end.
    bool m_typing = false;

private:
    void layoutButtons();
    void pasteNumber();

    UiLanguage m_language = UiLanguage::English;
    bool m_showMessages = true;
    MessageBoxes* m_messageBoxes = nullptr;
    bool m_reachLimit = false;
    bool m_usePlusMinusKeys = true;
    bool m_useMulDivKeys = true;
    int m_mulDivValue = 10;
    QWidget* m_upDown = nullptr;
    QToolButton* m_mul = nullptr;
    QToolButton* m_div = nullptr;
};

// A number field of one type with optional limits, which every change of the value and of
// the limits respects.
template <typename T> class RangedEdit : public NumberEdit {
public:
    T value() const { return m_value; }
    void setValue(T value);
    T minValue() const { return m_minValue; }
    void setMinValue(T value);
    T maxValue() const { return m_maxValue; }
    void setMaxValue(T value);
    bool minValueEnabled() const { return m_minValueEnabled; }
    void setMinValueEnabled(bool value);
    bool maxValueEnabled() const { return m_maxValueEnabled; }
    void setMaxValueEnabled(bool value);
    T increment() const { return m_increment; }
    void setIncrement(T value) { m_increment = value; }

    // The text a value is shown with.
    virtual QString formatValue(T value) const = 0;

protected:
    explicit RangedEdit(QWidget* parent)
        : NumberEdit(parent)
    {
    }

    // The limits in force; one that does not apply lies beyond every value.
    T lowerLimit() const { return m_minValueEnabled ? m_minValue : std::numeric_limits<T>::lowest(); }
    T upperLimit() const { return m_maxValueEnabled ? m_maxValue : std::numeric_limits<T>::max(); }
    // Brings the value inside the limits, saying so.
    void applyLimits();
    // The value a step gives, stopped at a limit it would pass, with a word in the status line
    // rather than a box (the arrow keys are pressed again and again).
    void stepTo(T value);
    void message() const;
    void takeTypedText() override;
    void rewriteText() override;
    void checkTypedText() override;

    T m_value{};
    T m_read{}; // the last number read from the text
    T m_minValue{};
    T m_maxValue = 100;
    bool m_minValueEnabled = false;
    bool m_maxValueEnabled = false;
    T m_increment = 1;
};

// A floating-point number field.
class FloatEdit : public RangedEdit<double> {
public:
    explicit FloatEdit(QWidget* parent = nullptr);

    IncrementKind incrementType() const { return m_incrementType; }
    void setIncrementType(IncrementKind value) { m_incrementType = value; }
    FloatFormatList& formats() { return m_formats; }
    // Rewrites the text after a change of the format list.
    void formatsChanged() { rewriteText(); }

    QString formatValue(double value) const override;

    void increase() override;
    void decrease() override;
    void multiplyBy(double factor) override;
    void divideBy(double factor) override;

protected:
    bool readText(const QString& text, bool& ok) override;
    bool acceptsChar(QChar c) const override;

private:
    void step(int direction);
    // Sets the result of a multiplication or division, brought to the limit it passed when the
    // field may, the selected digits still selected.
    void setOperated(double value, bool pastUpper, bool pastLower);

    IncrementKind m_incrementType = IncrementKind::Stable;
    FloatFormatList m_formats;
};

// A whole-number field; a selected digit sets the step, Cycling wraps at the limits.
class IntegerEdit : public RangedEdit<int> {
public:
    explicit IntegerEdit(QWidget* parent = nullptr);

    QString formatValue(int value) const override { return QString::number(value); }
    bool cycling() const { return m_cycling; }
    void setCycling(bool value) { m_cycling = value; }

    // What reached a limit: a step up or down, a multiplication, a division, or a wrap.
    enum class LimitReason : std::uint8_t { Increase, Decrease, Multiply, Divide, Wrap };
    // Told before the field acts at a limit, with the value it would take. An owner that clears
    // doDefault takes over: the field then takes the value as the owner left it.
    std::function<void(IntegerEdit* sender, LimitReason reason, long long& value, bool& doDefault)> onReachLimit;

    void increase() override;
    void decrease() override;
    void multiplyBy(double factor) override;
    void divideBy(double factor) override;

protected:
    bool readText(const QString& text, bool& ok) override;
    bool acceptsChar(QChar c) const override;

private:
    void step(int direction);
    // Sets a value reached by an operation: kept, brought to the limit, or refused.
    void setOperated(long long value, LimitReason reason);
    // Asks the owner about a value beyond a limit; true when the owner took over.
    bool ownerTakesOver(LimitReason reason, long long value);

    bool m_cycling = false;
};

} // namespace kav
