#pragma once

#include "chooser/rnxfilter.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace kav {

// The filter dialog: elements and nuclides moved between the offered list (left) and the
// others (right), each page with its switch.
class TQzRNXFilterForm : public QDialog {
public:
    TQzRNXFilterForm(TQzRNXFilter& filter, bool showElementPage, bool showRNXPage, QWidget* parent = nullptr);

    QListWidget* ElementsIn() const { return FElementsIn; }
    QListWidget* ElementsOut() const { return FElementsOut; }
    QListWidget* RNXIn() const { return FRNXIn; }
    QListWidget* RNXOut() const { return FRNXOut; }
    QCheckBox* UseElementFilter() const { return FUseElements; }
    QCheckBox* UseRNXFilter() const { return FUseRNX; }
    QTabWidget* Pages() const { return FPages; }

    // The buttons "<", "<<", ">", ">>" of the page shown.
    void MoveSelected(bool toLeft);
    void MoveAll(bool toLeft);
    // OK: the filter takes what the pages show.
    void accept() override;

private:
    void SortElements(QListWidget* list) const;

    TQzRNXFilter& FFilter;
    bool FShowElements;
    bool FShowRNX;
    QTabWidget* FPages = nullptr;
    QCheckBox* FUseElements = nullptr;
    QCheckBox* FUseRNX = nullptr;
    QListWidget* FElementsIn = nullptr;
    QListWidget* FElementsOut = nullptr;
    QListWidget* FRNXIn = nullptr;
    QListWidget* FRNXOut = nullptr;
};

} // namespace kav
