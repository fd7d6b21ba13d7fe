#include "base/numberformat.h"
#include "controls/numberedit.h"
#include "recordingmessageboxes.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLocale>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace kav {
namespace {

class NumberEditTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    // Types over the whole text, as a user does after selecting it.
    static void type(QLineEdit& edit, const QString& keys)
    {
        edit.selectAll();
        QTest::keyClicks(&edit, keys);
    }
    QStringList texts() const
    {
        QStringList t;
        for (const auto& b : messages.boxes)
            t << b.text;
        return t;
    }
    RecordingMessageBoxes messages;
};

TEST_F(NumberEditTest, TypingPastTheUpperLimitStopsAtItWithAMessage)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setMinValue(0.01);
    edit.setMaxValue(100);
    edit.setMaxValueEnabled(true);
    type(edit, QStringLiteral("150"));
    EXPECT_EQ(edit.value(), 100);
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    EXPECT_EQ(texts(), QStringList{"Input value must not be greater than 100 !"});
    ASSERT_FALSE(messages.boxes.empty());
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Input error"));
}

TEST_F(NumberEditTest, BothLimitsGiveTheRangeMessageInTheFieldsFormat)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.formats().defaultFormat = QStringLiteral("0.###e-0");
    edit.setMinValue(1e-30);
    edit.setMaxValue(1e30);
    edit.setMinValueEnabled(true);
    edit.setMaxValueEnabled(true);
    messages.boxes.clear();
    edit.setValue(1e-31);
    EXPECT_EQ(edit.value(), 1e-30);
    EXPECT_EQ(texts(), QStringList{"Input value must be in range 1e-30 .. 1e30 !"});
}

TEST_F(NumberEditTest, DoseFieldStepsByTheLastDigit)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setUpDownButtons(true);
    edit.setIncrementType(IncrementKind::LastDigit);
    edit.setMinValue(0.01);
    edit.setMaxValue(100);
    edit.setMinValueEnabled(true);
    edit.setMaxValueEnabled(true);
    messages.boxes.clear();
    type(edit, QStringLiteral("150"));
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    EXPECT_EQ(texts(), QStringList{"Input value must be in range 0.01 .. 100 !"});

    type(edit, QStringLiteral("1"));
    edit.findChild<QToolButton*>(QStringLiteral("up"))->click();
    EXPECT_EQ(edit.text(), QStringLiteral("2"));

    type(edit, QStringLiteral("0.25"));
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("0.26"));
    EXPECT_DOUBLE_EQ(edit.value(), 0.26);
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), QStringLiteral("0.24"));
}

TEST_F(NumberEditTest, ScientificTextStepsByItsLastDigit)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.formats().defaultFormat = QStringLiteral("0.###e-0");
    edit.setIncrementType(IncrementKind::LastDigit);
    edit.setValue(1.5e3);
    EXPECT_EQ(edit.text(), QStringLiteral("1.5e3"));
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("1.6e3"));
}

TEST_F(NumberEditTest, FormatsFollowTheThresholds)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    FloatFormatList& formats = edit.formats();
    formats.defaultFormat = QStringLiteral("0.###e-0");
    EXPECT_TRUE(formats.add(1000, QStringLiteral("0.###e-0")));
    EXPECT_TRUE(formats.add(1, QStringLiteral("0.###")));
    EXPECT_FALSE(formats.add(1, QStringLiteral("0.0")));
    EXPECT_EQ(formats.toText(), QStringLiteral("(1 '0.###') (1000 '0.###e-0')"));
    const std::pair<double, const char*> cases[]
        = {{0.5, "5e-1"}, {1, "1"}, {10, "10"}, {1000, "1000"}, {5000, "5e3"}, {0, "0"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(edit.formatValue(value), QString::fromLatin1(text)) << value;
    edit.setValue(5000);
    EXPECT_EQ(edit.text(), QStringLiteral("5e3"));
}

TEST_F(NumberEditTest, MultiplyAndDivideByTheFactor)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setValue(3);
    QTest::keyClick(&edit, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(edit.value(), 30);
    QTest::keyClick(&edit, Qt::Key_Slash, Qt::KeypadModifier);
    QTest::keyClick(&edit, Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(edit.value(), 0.3);
    edit.setValue(0);
    QTest::keyClick(&edit, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(edit.value(), 0);
    EXPECT_EQ(edit.text(), QStringLiteral("0"));

    // Beyond a limit the product is refused, or with ReachLimit the limit is taken.
    edit.setMaxValue(50);
    edit.setMaxValueEnabled(true);
    edit.setValue(20);
    edit.multiplyBy(10);
    EXPECT_EQ(edit.value(), 20);
    edit.setReachLimit(true);
    edit.multiplyBy(10);
    EXPECT_EQ(edit.value(), 50);

    QApplication::clipboard()->setText(QStringLiteral("2.5"));
    QTest::keyClick(&edit, Qt::Key_Slash, Qt::KeypadModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit.value(), 20);
}

TEST_F(NumberEditTest, TypingTakesOnlyWhatCanMakeANumber)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    type(edit, QStringLiteral("1x2.5.5e-3e"));
    EXPECT_EQ(edit.text(), QStringLiteral("12.55e-3"));
    EXPECT_DOUBLE_EQ(edit.value(), 12.55e-3);
    type(edit, QStringLiteral("e5"));
    EXPECT_EQ(edit.text(), QStringLiteral("5"));
    type(edit, QStringLiteral("-3-"));
    EXPECT_EQ(edit.text(), QStringLiteral("-3"));

    QApplication::clipboard()->setText(QStringLiteral("not a number"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("-3"));
    QApplication::clipboard()->setText(QStringLiteral("7"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
}

// The point and the comma are both the decimal separator, whatever the locale; the field shows
// the locale's. A separator typed where none may go is refused where it can be seen.
TEST_F(NumberEditTest, EitherSeparatorIsTheDecimalSeparator)
{
    struct Case {
        QLocale::Language language;
        const char* keys;
        const char* shown;
        double value;
    } cases[] = {
        {QLocale::C, "0.5", "0.5", 0.5},         {QLocale::C, "0,5", "0.5", 0.5},
        {QLocale::Ukrainian, "0.5", "0,5", 0.5}, {QLocale::Ukrainian, "0,5", "0,5", 0.5},
        {QLocale::Russian, "2.5", "2,5", 2.5},   {QLocale::Russian, "1.2e-3", "1,2e-3", 1.2e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " in " + QLocale::languageToString(c.language).toStdString());
        QLocale::setDefault(QLocale(c.language));
        FloatEdit edit;
        edit.setMessageBoxes(&messages);
        type(edit, QString::fromLatin1(c.keys));
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown));
        EXPECT_DOUBLE_EQ(edit.value(), c.value);
    }
    // The keypad's key.
    QLocale::setDefault(QLocale(QLocale::Ukrainian));
    FloatEdit keypad;
    keypad.selectAll();
    QTest::keyClick(&keypad, Qt::Key_1);
    QTest::keyClick(&keypad, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(&keypad, Qt::Key_5);
    EXPECT_DOUBLE_EQ(keypad.value(), 1.5);
    QLocale::setDefault(QLocale::c());

    // A whole-number field has no decimals: the separator is refused where it can be seen.
    IntegerEdit whole;
    whole.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&whole));
    whole.selectAll();
    QTest::keyClick(&whole, Qt::Key_2);
    QTest::keyClick(&whole, Qt::Key_Period);
    EXPECT_EQ(whole.text(), QStringLiteral("2"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("\".\" cannot be typed here"));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(NumberEditTest, LeavingWithBadTextBringsTheValueBack)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setValue(4.5);
    int changes = 0;
    edit.onChange = [&] { ++changes; };
    edit.setText(QStringLiteral("abc"));
    EXPECT_EQ(edit.value(), 4.5);
    EXPECT_EQ(changes, 1);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.text(), QStringLiteral("4.5"));
}

TEST_F(NumberEditTest, LowerLimitWaitsForTheTypingToEnd)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setMinValue(0.01);
    edit.setMinValueEnabled(true);
    messages.boxes.clear();
    type(edit, QStringLiteral("0.005"));
    EXPECT_EQ(edit.text(), QStringLiteral("0.005"));
    EXPECT_TRUE(messages.boxes.empty());
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.text(), QStringLiteral("0.01"));
    EXPECT_EQ(edit.value(), 0.01);
    EXPECT_EQ(texts(), QStringList{"Input value must not be lesser than 0.01 !"});

    messages.boxes.clear();
    type(edit, QStringLiteral("0"));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.text(), QStringLiteral("0.01"));
    EXPECT_EQ(messages.boxes.size(), 1u);
}

TEST_F(NumberEditTest, LimitsThatCrossAreRefusedOrMoved)
{
    FloatEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setMinValueEnabled(true);
    edit.setMaxValueEnabled(true);
    edit.setMinValue(200); // above the maximum of 100: ignored
    EXPECT_EQ(edit.minValue(), 0);
    edit.setMaxValueEnabled(false);
    edit.setMinValue(200);
    edit.setMaxValueEnabled(true); // switched on across the minimum: moved onto it
    EXPECT_EQ(edit.maxValue(), 200);
    EXPECT_EQ(edit.value(), 200);
}

TEST_F(NumberEditTest, IntegerFieldStepsBySelectedDigitAndCycles)
{
    IntegerEdit edit;
    edit.setMessageBoxes(&messages);
    edit.setValue(1234);
    edit.setSelection(1, 1); // the hundreds
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.value(), 1334);
    edit.deselect();
    edit.setMaxValue(1335);
    edit.setMaxValueEnabled(true);
    edit.setMinValueEnabled(true);
    edit.setCycling(true);
    edit.increase();
    EXPECT_EQ(edit.value(), 1335);
    edit.increase();
    EXPECT_EQ(edit.value(), 0);
    edit.decrease();
    EXPECT_EQ(edit.value(), 1335);
    type(edit, QStringLiteral("1.5e2"));
    EXPECT_EQ(edit.text(), QStringLiteral("152"));
    edit.divideBy(10);
    EXPECT_EQ(edit.value(), 15);
    edit.multiplyBy(1000);
    EXPECT_EQ(edit.value(), 15);

    // The owner may take over at a limit.
    std::vector<IntegerEdit::LimitReason> reasons;
    edit.onReachLimit = [&](IntegerEdit*, IntegerEdit::LimitReason reason, long long& value, bool& doDefault) {
        reasons.push_back(reason);
        if (reason == IntegerEdit::LimitReason::Multiply) {
            value = 1000;
            doDefault = false;
        }
    };
    edit.multiplyBy(1000);
    EXPECT_EQ(edit.value(), 1000);
    edit.setValue(1335);
    edit.increase(); // cycling: the owner hears of the wrap, the field wraps
    EXPECT_EQ(edit.value(), 0);
    EXPECT_EQ(
        reasons,
        (std::vector<IntegerEdit::LimitReason>{IntegerEdit::LimitReason::Multiply, IntegerEdit::LimitReason::Wrap}));
}

} // namespace
} // namespace kav
