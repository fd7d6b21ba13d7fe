#pragma once

#include "units.h"

#include <QLineEdit>

#include <functional>
#include <utility>
#include <vector>

class QToolButton;

namespace kav {

enum TQzIncrementType : std::uint8_t { itStable, itLastDigit };

// How a number is shown: a default pattern, and patterns that take over from a threshold on.
class TQzFloatFormatList {
public:
    static constexpr int MaxEntries = 10;

    QString DefaultFormat = QStringLiteral("0.###");
    // Keeps the thresholds in ascending order; false for a threshold already present or a full list.
    bool Add(double threshold, const QString& format);
    void Clear() { FEntries.clear(); }
    int Count() const { return static_cast<int>(FEntries.size()); }
    // The pattern for a value: the default below the first threshold, an entry's from its
    // threshold up to the next one, the last entry's above the last threshold.
    const QString& FormatFor(double value) const;
    // "(1 '0.###') (1000 '0.###e-0')".
    QString ToText() const;

private:
    std::vector<std::pair<double, QString>> FEntries;
};

// A single-line field that holds a number: limits with their messages ("Input error"),
// stepping with the arrow keys and small buttons, multiply and divide by a factor.
class TQzCustomNumberEdit : public QLineEdit {
public:
    std::function<void()> OnChange;

    TQzLanguage Language() const { return FLanguage; }
    void SetLanguage(TQzLanguage value) { FLanguage = value; }
    bool ShowMessages() const { return FShowMessages; }
    void SetShowMessages(bool value) { FShowMessages = value; }
    bool ReachLimit() const { return FReachLimit; }
    void SetReachLimit(bool value) { FReachLimit = value; }
    bool UsePlusMinusKeys() const { return FUsePlusMinusKeys; }
    void SetUsePlusMinusKeys(bool value) { FUsePlusMinusKeys = value; }
    bool UseMulDivKeys() const { return FUseMulDivKeys; }
    void SetUseMulDivKeys(bool value) { FUseMulDivKeys = value; }
    int MulDivValue() const { return FMulDivValue; }
    void SetMulDivValue(int value);
    bool UpDownButtons() const { return FUpDown != nullptr; }
    void SetUpDownButtons(bool value);
    bool MulDivButtons() const { return FMul != nullptr; }
    void SetMulDivButtons(bool value);

    virtual void Increase() = 0;
    virtual void Decrease() = 0;
    virtual void MultiplyBy(double factor) = 0;
    virtual void DivideBy(double factor) = 0;

protected:
    explicit TQzCustomNumberEdit(QWidget* parent);

    // The limit messages: which limits apply decides the text.
    void ShowLimitMessage(bool lowerApplies, bool upperApplies, const QString& min, const QString& max) const;
    // Reads the field's text; empty text is 0.
    virtual bool ReadText(const QString& text, bool& ok) = 0;
    // Called on every change of the text, once the value is read and checked.
    virtual void TextEdited() = 0;
    // Whether a typed character may go in at the caret.
    virtual bool AcceptsChar(QChar c) const = 0;
    virtual void RewriteText() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Brings a text left below the lower limit while it was typed up to that limit.
    virtual void CheckTypedText() = 0;
    bool FUpdating = false;
    // Set while a keystroke changes the text: a number typed digit by digit passes below the
    // lower limit on its way ("0" on the way to "0.25"), so that limit waits for the typing to end.
    bool FTyping = false;

private:
    void LayoutButtons();
    void PasteNumber();

    TQzLanguage FLanguage = l_English;
    bool FShowMessages = true;
    bool FReachLimit = false;
    bool FUsePlusMinusKeys = true;
    bool FUseMulDivKeys = true;
    int FMulDivValue = 10;
    QWidget* FUpDown = nullptr;
    QToolButton* FMul = nullptr;
    QToolButton* FDiv = nullptr;
};

// A floating-point number field.
class TQzFloatEdit : public TQzCustomNumberEdit {
public:
    explicit TQzFloatEdit(QWidget* parent = nullptr);

    double Value() const { return FValue; }
    void SetValue(double value);
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value);
    bool MinValueEnabled() const { return FMinValueEnabled; }
    void SetMinValueEnabled(bool value);
    bool MaxValueEnabled() const { return FMaxValueEnabled; }
    void SetMaxValueEnabled(bool value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    TQzIncrementType IncrementType() const { return FIncrementType; }
    void SetIncrementType(TQzIncrementType value) { FIncrementType = value; }
    TQzFloatFormatList& FloatFormatList() { return FFormats; }
    // Rewrites the text after a change of the format list.
    void FormatsChanged() { RewriteText(); }

    // The text a value is shown with.
    QString FormatValue(double value) const;

    void Increase() override;
    void Decrease() override;
    void MultiplyBy(double factor) override;
    void DivideBy(double factor) override;

protected:
    bool ReadText(const QString& text, bool& ok) override;
    void TextEdited() override;
    bool AcceptsChar(QChar c) const override;
    void RewriteText() override;
    void CheckTypedText() override;

private:
    double Lower() const { return FMinValueEnabled ? FMinValue : -1e250; }
    double Upper() const { return FMaxValueEnabled ? FMaxValue : 1e250; }
    // Brings the value inside the limits; says so when asked.
    void ApplyLimits(bool message);
    void Step(int direction);
    void Message() const;

    double FValue = 0;
    double FRead = 0;
    double FMinValue = 0;
    double FMaxValue = 100;
    bool FMinValueEnabled = false;
    bool FMaxValueEnabled = false;
    double FIncrement = 1;
    TQzIncrementType FIncrementType = itStable;
    TQzFloatFormatList FFormats;
};

// A whole-number field; a selected digit sets the step, Cycling wraps at the limits.
class TQzIntegerEdit : public TQzCustomNumberEdit {
public:
    explicit TQzIntegerEdit(QWidget* parent = nullptr);

    int Value() const { return FValue; }
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    bool MinValueEnabled() const { return FMinValueEnabled; }
    void SetMinValueEnabled(bool value);
    bool MaxValueEnabled() const { return FMaxValueEnabled; }
    void SetMaxValueEnabled(bool value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool Cycling() const { return FCycling; }
    void SetCycling(bool value) { FCycling = value; }

    void Increase() override;
    void Decrease() override;
    void MultiplyBy(double factor) override;
    void DivideBy(double factor) override;

protected:
    bool ReadText(const QString& text, bool& ok) override;
    void TextEdited() override;
    bool AcceptsChar(QChar c) const override;
    void RewriteText() override;
    void CheckTypedText() override;

private:
    long long Lower() const { return FMinValueEnabled ? FMinValue : std::numeric_limits<int>::min(); }
    long long Upper() const { return FMaxValueEnabled ? FMaxValue : std::numeric_limits<int>::max(); }
    void ApplyLimits(bool message);
    void Step(int direction);
    void Message() const;
    // Sets a value reached by an operation: kept, brought to the limit, or refused.
    void SetOperated(long long value);

    int FValue = 0;
    int FRead = 0;
    int FMinValue = 0;
    int FMaxValue = 100;
    bool FMinValueEnabled = false;
    bool FMaxValueEnabled = false;
    int FIncrement = 1;
    bool FCycling = false;
};

} // namespace kav
