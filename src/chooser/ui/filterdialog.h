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

    QListWidget* ElementsIn() const { return m_elementsIn; }
    QListWidget* ElementsOut() const { return m_elementsOut; }
    QListWidget* NuclidesIn() const { return m_nuclidesIn; }
    QListWidget* NuclidesOut() const { return m_nuclidesOut; }
    QCheckBox* UseElementFilter() const { return m_useElements; }
    QCheckBox* UseNuclideFilter() const { return m_useNuclide; }
    QTabWidget* Pages() const { return m_pages; }

    // The buttons "<", "<<", ">", ">>" of the page shown.
    void MoveSelected(bool toLeft);
    void MoveAll(bool toLeft);
    // OK: the filter takes what the pages show.
    void accept() override;

private:
    void SortElements(QListWidget* list) const;

    NuclideFilter& m_filter;
    bool m_showElements;
    bool m_showNuclide;
    QTabWidget* m_pages = nullptr;
    QCheckBox* m_useElements = nullptr;
    QCheckBox* m_useNuclide = nullptr;
    QListWidget* m_elementsIn = nullptr;
    QListWidget* m_elementsOut = nullptr;
    QListWidget* m_nuclidesIn = nullptr;
    QListWidget* m_nuclidesOut = nullptr;
};

} // namespace kav
