#pragma once

#include "app/bioassaychart.h"
#include "app/bioassayview.h"
#include "chooser/ui/rnxpanel.h"
#include "controls/numberedit.h"
#include "controls/stringgrid.h"
#include "widgetinput.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

namespace kav {

// The parts of the bioassay view, found by their object names.
struct BioassayParts {
    explicit BioassayParts(const QWidget& view)
        : intakeChooser(namedChild<TQzRNXPanel>(view, "intakeChooser"))
        , measuredChooser(namedChild<TQzRNXPanel>(view, "measuredChooser"))
        , routeBox(namedChild<QComboBox>(view, "routeBox"))
        , materialBox(namedChild<QComboBox>(view, "materialBox"))
        , sizeBox(namedChild<QComboBox>(view, "sizeBox"))
        , displayedData(namedChild<QButtonGroup>(view, "displayedData"))
        , doseForContentField(namedChild<TQzFloatEdit>(view, "doseForContentField"))
        , doseUnitLabel(namedChild<QLabel>(view, "doseUnitLabel"))
        , captionLabel(namedChild<QLabel>(view, "captionLabel"))
        , keyTermLink(namedChild<QLabel>(view, "keyTermLink"))
        , bioassayTable(namedChild<TQzStringGrid>(view, "bioassayTable"))
        , tableMenu(namedChild<QMenu>(view, "tableMenu"))
        , wholeDaysAction(namedChild<QAction>(view, "wholeDaysAction"))
        , copyAction(namedChild<QAction>(view, "copyAction"))
        , unitsAction(namedChild<QAction>(view, "unitsAction"))
        , bioassayChart(namedChild<TBioassayChart>(view, "bioassayChart"))
    {
        for (const QObject* part : std::initializer_list<const QObject*>{
                 intakeChooser, measuredChooser, routeBox, materialBox, sizeBox, displayedData, doseForContentField,
                 doseUnitLabel, captionLabel, keyTermLink, bioassayTable, tableMenu, wholeDaysAction, copyAction,
                 unitsAction, bioassayChart})
            EXPECT_TRUE(part) << "a part of the view is missing";
    }

    TQzRNXPanel* intakeChooser;
    TQzRNXPanel* measuredChooser;
    QComboBox* routeBox;
    QComboBox* materialBox;
    QComboBox* sizeBox;
    QButtonGroup* displayedData;
    TQzFloatEdit* doseForContentField;
    QLabel* doseUnitLabel;
    QLabel* captionLabel;
    QLabel* keyTermLink;
    TQzStringGrid* bioassayTable;
    QMenu* tableMenu;
    QAction* wholeDaysAction;
    QAction* copyAction;
    QAction* unitsAction;
    TBioassayChart* bioassayChart;
};

} // namespace kav
