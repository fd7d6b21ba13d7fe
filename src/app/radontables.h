#pragma once

#include "data/radonfile.h"

#include <QString>

namespace kav {

class MessageBoxes;
class OwnerDrawnLabel;
class DataGrid;

// The radon view's logic: reads the chosen table from the data folder's "RadonData.txt" and
// lays it out in the grid and the caption it is given (neither owned): effective values alone,
// or with the organ doses, men's and women's rows, merged labels and units in the headers.
class RadonTables {
public:
    // Reads the gas table at once.
    RadonTables(DataGrid& grid, OwnerDrawnLabel& caption, MessageBoxes& boxes, QString folder);

    RadonTable RadonDataType() const { return m_radonDataType; }
    // Another table: read again and shown.
    void SetRadonDataType(RadonTable value);
    bool ShowOrganDoses() const { return m_showOrganDoses; }
    // Only the layout and the caption change.
    void SetShowOrganDoses(bool value);
    // Another data folder: the table shown is read again from it.
    void SetFolder(const QString& folder);
    bool DataLoaded() const { return m_dataLoaded; }
    // Why the table could not be read; empty when it was.
    const QString& Problem() const { return m_problem; }
    // The caption as mark-up.
    const QString& CaptionText() const { return m_captionText; }

    bool LoadRadonData();
    void FillRadonGrid();
    void LayoutRadonGrid();
    void ClearRadonGrid();
    void SetRadonOrganHeaders();
    int RadonFixedColCount() const;
    int RadonFirstOrganCol() const { return m_radonDataType == RadonTable::GasAlone ? 3 : 4; }

private:
    void SetCaption(const QString& markup);
    void FillGasTable();
    void FillProgenyTable();
    // A header cell whose text holds units or hT is drawn through the mark-up.
    void MarkUpHeader(int col);

    DataGrid& m_strGrid;
    OwnerDrawnLabel& m_caption;
    MessageBoxes& m_boxes;
    QString m_folder;
    RadonTable m_radonDataType = RadonTable::GasAlone;
    bool m_showOrganDoses = false;
    bool m_dataLoaded = false;
    RadonBlock m_block;
    QString m_problem;
    QString m_captionText;
};

// The radio items, captions and row labels of the six tables.
QString RadonDataTypeText(RadonTable type);
QString RadonCaption(RadonTable type, bool organDoses);
QString RadonRowLabel(RadonTable type);

} // namespace kav
