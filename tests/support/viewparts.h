#pragma once

#include "app/bioassaychart.h"
#include "app/bioassayview.h"
#include "app/materialsview.h"
#include "app/mixtureview.h"
#include "app/radonview.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "controls/numberedit.h"
#include "controls/tipwindow.h"
#include "units/ui/unitcombobox.h"
#include "widgetinput.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kav {

// The parts of the bioassay view, found by their object names.
struct BioassayParts {
    explicit BioassayParts(const QWidget& view)
        : intakeChooser(namedChild<NuclideChooser>(view, "intakeChooser"))
        , measuredChooser(namedChild<NuclideChooser>(view, "measuredChooser"))
        , routeBox(namedChild<QComboBox>(view, "routeBox"))
        , materialBox(namedChild<QComboBox>(view, "materialBox"))
        , sizeBox(namedChild<QComboBox>(view, "sizeBox"))
        , displayedData(namedChild<QButtonGroup>(view, "displayedData"))
        , doseForContentField(namedChild<FloatEdit>(view, "doseForContentField"))
        , doseUnitLabel(namedChild<QLabel>(view, "doseUnitLabel"))
        , captionLabel(namedChild<QLabel>(view, "captionLabel"))
        , keyTermLink(namedChild<QLabel>(view, "keyTermLink"))
        , bioassayTable(namedChild<DataGrid>(view, "bioassayTable"))
        , tableMenu(namedChild<QMenu>(view, "tableMenu"))
        , wholeDaysAction(namedChild<QAction>(view, "wholeDaysAction"))
        , copyAction(namedChild<QAction>(view, "copyAction"))
        , unitsAction(namedChild<QAction>(view, "unitsAction"))
        , bioassayChart(namedChild<BioassayChart>(view, "bioassayChart"))
    {
        expectAllFound({intakeChooser, measuredChooser, routeBox, materialBox, sizeBox, displayedData,
                        doseForContentField, doseUnitLabel, captionLabel, keyTermLink, bioassayTable, tableMenu,
                        wholeDaysAction, copyAction, unitsAction, bioassayChart});
    }

    NuclideChooser* intakeChooser;
    NuclideChooser* measuredChooser;
    QComboBox* routeBox;
    QComboBox* materialBox;
    QComboBox* sizeBox;
    QButtonGroup* displayedData;
    FloatEdit* doseForContentField;
    QLabel* doseUnitLabel;
    QLabel* captionLabel;
    QLabel* keyTermLink;
    DataGrid* bioassayTable;
    QMenu* tableMenu;
    QAction* wholeDaysAction;
    QAction* copyAction;
    QAction* unitsAction;
    BioassayChart* bioassayChart;
};

// The parts of the Radionuclides page.
struct MixtureParts {
    explicit MixtureParts(const QWidget& view)
        : mixtureTable(namedChild<DataGrid>(view, "mixtureTable"))
        , doseUnitBox(namedChild<DoseUnitComboBox>(view, "doseUnitBox"))
        , activityUnitBox(namedChild<ActivityUnitComboBox>(view, "activityUnitBox"))
        , addButton(namedChild<QToolButton>(view, "addButton"))
        , removeButton(namedChild<QToolButton>(view, "removeButton"))
        , clearButton(namedChild<QToolButton>(view, "clearButton"))
        , undoButton(namedChild<QToolButton>(view, "undoButton"))
        , redoButton(namedChild<QToolButton>(view, "redoButton"))
        , topButton(namedChild<QToolButton>(view, "topButton"))
        , upButton(namedChild<QToolButton>(view, "upButton"))
        , downButton(namedChild<QToolButton>(view, "downButton"))
        , bottomButton(namedChild<QToolButton>(view, "bottomButton"))
        , copyAction(namedChild<QAction>(view, "copyAction"))
        , undoAction(namedChild<QAction>(view, "undoAction"))
        , redoAction(namedChild<QAction>(view, "redoAction"))
    {
        expectAllFound({mixtureTable, doseUnitBox, activityUnitBox, addButton, removeButton, clearButton, undoButton,
                        redoButton, topButton, upButton, downButton, bottomButton, copyAction, undoAction, redoAction});
    }

    DataGrid* mixtureTable;
    DoseUnitComboBox* doseUnitBox;
    ActivityUnitComboBox* activityUnitBox;
    QToolButton* addButton;
    QToolButton* removeButton;
    QToolButton* clearButton;
    QToolButton* undoButton;
    QToolButton* redoButton;
    QToolButton* topButton;
    QToolButton* upButton;
    QToolButton* downButton;
    QToolButton* bottomButton;
    QAction* copyAction;
    QAction* undoAction;
    QAction* redoAction;
};

// The parts of the Materials page.
struct MaterialsParts {
    explicit MaterialsParts(const QWidget& view)
        : chooser(namedChild<NuclideChooser>(view, "chooser"))
        , ingestedList(namedChild<QListWidget>(view, "ingestedList"))
        , inhaledList(namedChild<QListWidget>(view, "inhaledList"))
        , sizeBoxes(view.findChildren<QCheckBox*>(QStringLiteral("sizeBox")))
        , injectionBox(namedChild<QCheckBox>(view, "injectionBox"))
        , plusButton(namedChild<QToolButton>(view, "plusButton"))
        , minusButton(namedChild<QToolButton>(view, "minusButton"))
        , equivalentDosesAction(namedChild<QAction>(view, "equivalentDosesAction"))
        , copyAction(namedChild<QAction>(view, "copyAction"))
        , doseUnitBox(namedChild<DoseUnitComboBox>(view, "doseUnitBox"))
        , activityUnitBox(namedChild<ActivityUnitComboBox>(view, "activityUnitBox"))
        , materialsTable(namedChild<DataGrid>(view, "materialsTable"))
    {
        expectAllFound({chooser, ingestedList, inhaledList, injectionBox, plusButton, minusButton,
                        equivalentDosesAction, copyAction, doseUnitBox, activityUnitBox, materialsTable});
        EXPECT_EQ(sizeBoxes.size(), 11);
    }

    NuclideChooser* chooser;
    QListWidget* ingestedList;
    QListWidget* inhaledList;
    QList<QCheckBox*> sizeBoxes; // in the order of the sizes
    QCheckBox* injectionBox;
    QToolButton* plusButton;
    QToolButton* minusButton;
    QAction* equivalentDosesAction;
    QAction* copyAction;
    DoseUnitComboBox* doseUnitBox;
    ActivityUnitComboBox* activityUnitBox;
    DataGrid* materialsTable;
};

// The parts of the radon view.
struct RadonParts {
    explicit RadonParts(const QWidget& view)
        : displayedData(namedChild<QButtonGroup>(view, "displayedData"))
        , plusButton(namedChild<QToolButton>(view, "plusButton"))
        , minusButton(namedChild<QToolButton>(view, "minusButton"))
        , equivalentDosesAction(namedChild<QAction>(view, "equivalentDosesAction"))
        , copyAction(namedChild<QAction>(view, "copyAction"))
        , captionLabel(namedChild<OwnerDrawnLabel>(view, "captionLabel"))
        , radonTable(namedChild<DataGrid>(view, "radonTable"))
    {
        expectAllFound(
            {displayedData, plusButton, minusButton, equivalentDosesAction, copyAction, captionLabel, radonTable});
    }

    QButtonGroup* displayedData;
    QToolButton* plusButton;
    QToolButton* minusButton;
    QAction* equivalentDosesAction;
    QAction* copyAction;
    OwnerDrawnLabel* captionLabel;
    DataGrid* radonTable;
};

} // namespace kav
