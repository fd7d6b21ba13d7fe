#include "units/ui/unitcombobox.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include <QImage>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

namespace kav {
namespace {

QStringList itemTexts(const QComboBox& box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

// Picks an item the way a user does: the box reports it through "activated".
void pickItem(QComboBox& box, int index)
{
    box.setCurrentIndex(index);
    emit box.activated(index);
}

TEST(UnitComboBox, DefaultsListTheDefaultUnitsInOrdinalOrder)
{
    TimeUnitComboBox time;
    ActivityUnitComboBox activity;
    DoseUnitComboBox dose;
    EXPECT_EQ(time.value(), TimeUnit::Hour);
    EXPECT_EQ(itemTexts(time), (QStringList{"d", "h", "m", "s"}));
    EXPECT_EQ(activity.value(), ActivityUnit::Bq);
    EXPECT_EQ(itemTexts(activity),
              (QStringList{"mBq", "Bq", "kBq", "MBq", "GBq", "TBq", "nCi", QString::fromUtf16(u"\u00B5Ci"), "mCi", "Ci",
                           "kCi", "MCi"}));
    EXPECT_EQ(dose.value(), DoseUnit::mSv);
    EXPECT_EQ(itemTexts(dose), (QStringList{QString::fromUtf16(u"\u00B5Sv"), "mSv", "Sv", "mrem", "rem"}));
    EXPECT_EQ(dose.currentText(), QStringLiteral("mSv"));
    EXPECT_EQ(dose.sizeHint().width(), 64);
}

TEST(UnitComboBox, RestrictingMovesTheValueWithoutAChangeEvent)
{
    DoseUnitComboBox dose;
    int changes = 0;
    dose.setOnChange([&] { ++changes; });
    dose.setEnabledDoseUnits({DoseUnit::uSv, DoseUnit::Sv});
    EXPECT_EQ(dose.value(), DoseUnit::uSv);
    EXPECT_EQ(dose.currentText(), QString::fromUtf16(u"\u00B5Sv"));
    EXPECT_EQ(itemTexts(dose), (QStringList{QString::fromUtf16(u"\u00B5Sv"), "Sv"}));
    EXPECT_EQ(changes, 0);
}

TEST(UnitComboBox, SettingAUnitOutsideTheEnabledSetChangesNothing)
{
    ActivityUnitComboBox activity;
    activity.setEnabledActivityUnits({ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq, ActivityUnit::MBq});
    activity.setValue(ActivityUnit::GBq);
    EXPECT_EQ(activity.value(), ActivityUnit::Bq);
    EXPECT_EQ(activity.currentText(), QStringLiteral("Bq"));
    activity.setValue(ActivityUnit::kBq);
    EXPECT_EQ(activity.value(), ActivityUnit::kBq);
    EXPECT_EQ(activity.currentText(), QStringLiteral("kBq"));
}

TEST(UnitComboBox, EmptySetRestoresTheDefaultSet)
{
    TimeUnitComboBox time;
    time.setEnabledTimeUnits({TimeUnit::Year});
    EXPECT_EQ(time.value(), TimeUnit::Year);
    time.setEnabledTimeUnits({});
    EXPECT_EQ(time.enabledTimeUnits(), TimeUnitComboBox::DefaultEnabled);
    EXPECT_EQ(time.count(), 4);
    // The year is no longer offered: the lowest enabled unit takes its place.
    EXPECT_EQ(time.value(), TimeUnit::Day);
}

TEST(UnitComboBox, UserChoiceUpdatesValueBeforeTheChangeEvent)
{
    DoseUnitComboBox dose;
    std::vector<DoseUnit> seen;
    dose.setOnChange([&] { seen.push_back(dose.value()); });
    pickItem(dose, 2);
    EXPECT_EQ(seen, std::vector<DoseUnit>{DoseUnit::Sv});
    dose.setValue(DoseUnit::uSv);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(UnitComboBox, LongNamesAndAssignment)
{
    TimeUnitComboBox time;
    time.setUseLongNames(true);
    EXPECT_EQ(itemTexts(time), (QStringList{"day", "hour", "minute", "second"}));

    DoseUnitComboBox source;
    source.setEnabledDoseUnits({DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv});
    source.setValue(DoseUnit::Sv);
    DoseUnitComboBox dest;
    source.assignToComboBox(&dest);
    EXPECT_EQ(dest.value(), DoseUnit::Sv);
    EXPECT_EQ(dest.enabledDoseUnits(), source.enabledDoseUnits());
    EXPECT_EQ(dest.alignment(), source.alignment());

    // A box of another kind is left alone.
    ActivityUnitComboBox other;
    source.assignToComboBox(&other);
    EXPECT_EQ(other.value(), ActivityUnit::Bq);
}

TEST(UnitComboBox, CentresItsTextInTheList)
{
    DoseUnitComboBox dose;
    const auto alignment = dose.itemData(0, Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(alignment & Qt::AlignHCenter);
    // The closed box shows its text in the middle of the room beside the arrow.
    dose.resize(200, dose.sizeHint().height());
    QStyleOptionComboBox option;
    option.initFrom(&dose);
    option.editable = false;
    const QRect field = dose.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &dose);
    const QImage image = dose.grab().toImage();
    int left = image.width(), right = -1;
    for (int y = field.top(); y <= field.bottom(); ++y)
        for (int x = field.left(); x <= field.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, field.center().x(), 3);
}

} // namespace
} // namespace kav
