#pragma once

#include "widgetinput.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kav {

// The parts of the "Add radionuclides" dialog, found by their object names.
struct AddNuclidesParts {
    explicit AddNuclidesParts(const QWidget& dialog)
        : chosenList(namedChild<QListWidget>(dialog, "chosenList"))
        , removeButton(namedChild<QPushButton>(dialog, "removeButton"))
        , upButton(namedChild<QToolButton>(dialog, "upButton"))
        , downButton(namedChild<QToolButton>(dialog, "downButton"))
        , addButton(namedChild<QPushButton>(dialog, "addButton"))
        , addAllButton(namedChild<QPushButton>(dialog, "addAllButton"))
        , offeredPages(namedChild<QTabWidget>(dialog, "offeredPages"))
        , elementsPage(namedChild<QWidget>(dialog, "elementsPage"))
        , nuclidesPage(namedChild<QWidget>(dialog, "nuclidesPage"))
        , elementTree(namedChild<QTreeWidget>(dialog, "elementTree"))
        , offeredList(namedChild<QListWidget>(dialog, "offeredList"))
        , offeredCount(namedChild<QLabel>(dialog, "offeredCount"))
        , sortMenu(namedChild<QMenu>(dialog, "sortMenu"))
        , okButton(namedChild<QPushButton>(dialog, "okButton"))
        , cancelButton(namedChild<QPushButton>(dialog, "cancelButton"))
    {
        expectAllFound({chosenList, removeButton, upButton, downButton, addButton, addAllButton, offeredPages,
                        elementsPage, nuclidesPage, elementTree, offeredList, offeredCount, sortMenu, okButton,
                        cancelButton});
    }
    // The sort order of the menu whose caption holds the words.
    QAction* sortBy(const char* words) const
    {
        for (QAction* action : sortMenu->actions())
            if (action->text().contains(QLatin1String(words)))
                return action;
        ADD_FAILURE() << "no sort order " << words;
        return nullptr;
    }

    QListWidget* chosenList;
    QPushButton* removeButton;
    QToolButton* upButton;
    QToolButton* downButton;
    QPushButton* addButton;
    QPushButton* addAllButton;
    QTabWidget* offeredPages;
    QWidget* elementsPage;
    QWidget* nuclidesPage;
    QTreeWidget* elementTree;
    QListWidget* offeredList;
    QLabel* offeredCount;
    QMenu* sortMenu;
    QPushButton* okButton;
    QPushButton* cancelButton;
};

} // namespace kav
