#pragma once

#include "chooser/nuclidefilter.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace kav {

// The filter dialog: elements and nuclides moved between the offered list (left) and the
// others (right), each page with its switch.
class FilterDialog : public QDialog {
public:
    FilterDialog(NuclideFilter& filter, bool showElementPage, bool showNuclidePage, QWidget* parent = nullptr);

    QListWidget* ElementsIn() const { return FElementsIn; }
    QListWidget* ElementsOut() const { return FElementsOut; }
    QListWidget* NuclidesIn() const { return FNuclidesIn; }
    QListWidget* NuclidesOut() const { return FNuclidesOut; }
    QCheckBox* UseElementFilter() const { return FUseElements; }
    QCheckBox* UseNuclideFilter() const { return FUseNuclide; }
    QTabWidget* Pages() const { return FPages; }

    // The buttons "<", "<<", ">", ">>" of the page shown.
    void MoveSelected(bool toLeft);
    void MoveAll(bool toLeft);
    // OK: the filter takes what the pages show.
    void accept() override;

private:
    void SortElements(QListWidget* list) const;

    NuclideFilter& FFilter;
    bool FShowElements;
    bool FShowNuclide;
    QTabWidget* FPages = nullptr;
    QCheckBox* FUseElements = nullptr;
    QCheckBox* FUseNuclide = nullptr;
    QListWidget* FElementsIn = nullptr;
    QListWidget* FElementsOut = nullptr;
    QListWidget* FNuclidesIn = nullptr;
    QListWidget* FNuclidesOut = nullptr;
};

} // namespace kav
