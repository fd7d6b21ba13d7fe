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

    QListWidget* elementsIn() const { return m_elementsIn; }
    QListWidget* elementsOut() const { return m_elementsOut; }
    QListWidget* nuclidesIn() const { return m_nuclidesIn; }
    QListWidget* nuclidesOut() const { return m_nuclidesOut; }
    QCheckBox* useElementFilter() const { return m_useElements; }
    QCheckBox* useNuclideFilter() const { return m_useNuclide; }
    QTabWidget* pages() const { return m_pages; }

    // The buttons "<", "<<", ">", ">>" of the page shown.
    void moveSelected(bool toLeft);
    void moveAll(bool toLeft);
    // OK: the filter takes what the pages show.
    void accept() override;

private:
    void sortElements(QListWidget* list) const;

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
