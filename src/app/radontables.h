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

    RadonTable radonDataType() const { return m_radonDataType; }
    // Another table: read again and shown.
    void setRadonDataType(RadonTable value);
    bool showOrganDoses() const { return m_showOrganDoses; }
    // Only the layout and the caption change.
    void setShowOrganDoses(bool value);
    // Another data folder: the table shown is read again from it.
    void setFolder(const QString& folder);
    bool dataLoaded() const { return m_dataLoaded; }
    // Why the table could not be read; empty when it was.
    const QString& problem() const { return m_problem; }
    // The caption as mark-up.
    const QString& captionText() const { return m_captionText; }

    bool loadRadonData();
    void fillRadonGrid();
    void layoutRadonGrid();
    void clearRadonGrid();
    void setRadonOrganHeaders();
    int radonFixedColCount() const;
    int radonFirstOrganCol() const { return m_radonDataType == RadonTable::GasAlone ? 3 : 4; }

private:
    void setCaption(const QString& markup);
    void fillGasTable();
    void fillProgenyTable();
    // A header cell whose text holds units or hT is drawn through the mark-up.
    void markUpHeader(int col);

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
QString radonDataTypeText(RadonTable type);
QString radonCaption(RadonTable type, bool organDoses);
QString radonRowLabel(RadonTable type);

} // namespace kav
