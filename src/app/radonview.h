#pragma once

#include <QWidget>

#include <memory>

class QAction;
class QButtonGroup;
class QToolButton;

namespace kav {

class MessageBoxes;
class OwnerDrawnLabel;
class DataGrid;
class RadonTables;

// The "Radon" view: the six radon and thoron tables of the data folder's "RadonData.txt", one at
// a time, with or without the organ doses, under a caption that says what they are. The file is
// read when the view is first shown, and again for every table chosen.
class RadonView : public QWidget {
public:
    // The boxes outlive the view.
    explicit RadonView(MessageBoxes& boxes, QWidget* parent = nullptr);
    ~RadonView() override;

    // The folder the tables are read from: the main window gives it during start-up and when the
    // user picks another; a table already shown is read again from it.
    void setDataFolder(const QString& folder);
    // Null until the view has been shown.
    RadonTables* radonData() const { return m_radonData.get(); }

    // Its parts are found by their object names: "displayedData" (the button group),
    // "plusButton", "minusButton", "equivalentDosesAction", "copyAction", "captionLabel",
    // "radonTable".

protected:
    void showEvent(QShowEvent* event) override;

private:
    void copyToClipboard();
    QWidget* buildChoices();
    void buildGrid();
    void paintCaption();

    QButtonGroup* m_tableButtons = nullptr;
    QToolButton* m_showOrganDosesButton = nullptr;
    QToolButton* m_hideOrganDosesButton = nullptr;
    QAction* m_showOrganDosesAction = nullptr;
    QAction* m_copyAction = nullptr;
    OwnerDrawnLabel* m_caption = nullptr;
    DataGrid* m_grid = nullptr;

    MessageBoxes& m_boxes;
    QString m_folder;
    std::unique_ptr<RadonTables> m_radonData;
};

} // namespace kav
