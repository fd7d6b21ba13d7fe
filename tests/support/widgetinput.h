#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>

namespace kav {

// Picks an item of a drop-down list the way a user does: a click on the box opens the list, the
// arrow keys walk to the item and Enter takes it. (The list ignores a click that follows the
// opening one within the double-click time, so the keys stand in for the second click.)
inline void pickComboItem(QComboBox* box, const QString& text)
{
    ASSERT_TRUE(box->isVisible()) << text.toStdString();
    const int row = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    ASSERT_GE(row, 0) << text.toStdString() << " is not offered";
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(list->isVisible()) << "the list did not open for " << text.toStdString();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible()) << "the list stayed open after picking " << text.toStdString();
}

// The child of the given object name and type, or null. (The toolkit's own cast does not know
// the program's widget classes, which carry no meta-object of their own.)
template <typename T> T* namedChild(const QObject& parent, const char* name)
{
    for (QObject* child : parent.findChildren<QObject*>(QLatin1String(name)))
        if (auto* found = dynamic_cast<T*>(child))
            return found;
    return nullptr;
}

// Fails the test for each part that was not found by its name.
inline void expectAllFound(std::initializer_list<const QObject*> parts)
{
    for (const QObject* part : parts)
        EXPECT_TRUE(part) << "a part was not found by its name";
}

} // namespace kav
