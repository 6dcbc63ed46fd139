#pragma once
#include <QTableView>
#include <functional>
#include "platform/ui/controls.h"

namespace platform { class DataControl; }

namespace ui {

class FlexGridModel;

// The bound grid. Row 0 is the header row (field names after each refresh), column 0 a fixed
// empty column; rows 1 onward hold the records in delivery order, column k the k-th field.
// A model/view grid: the cells are read from the data control's record set, not copied.
class FlexGrid : public QTableView, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    FlexGrid(QWidget* parent, const ControlSpec& def);
    ~FlexGrid() override;

    // Binds the grid to a data control: after each of its refreshes the grid shows its rows.
    void bind(platform::DataControl* data);

    int Rows() const;
    void setRows(int n);           // unbound use; keeps what fits
    int Cols() const;
    void setCols(int n);
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);   // changes only the grid
    int Row() const;
    void setRow(int row);          // selects the current cell and raises EnterCell
    int Col() const;
    void setCol(int col);          // likewise
    unsigned CellBackColor() const;
    void setCellBackColor(unsigned bgrColor);   // the current cell, header row included
    int ColWidth(int col) const;   // twips
    void setColWidth(int col, int widthTwips);
    bool Redraw() const;
    void setRedraw(bool on);
    // 1 generic asc, 2 generic desc, 3 numeric asc, 4 numeric desc, 5 string asc ignoring case,
    // 6 string desc ignoring case, 7 string asc. Rows 1 onward, on the current column.
    void Sort(int setting);
    int FixedRows = 1;
    int FixedCols = 1;
    int AllowUserResizing = 0;

    std::function<void()> EnterCell;
    std::function<void()> DblClick;
    std::function<void(int button, int shift, int xTwips, int yTwips)> MouseDown;

    // The record behind grid row r (1-based) after sorts; -1 for row 0 or an unbound row.
    int recordOfRow(int row) const;
    // The colour shown by cell (row, col), header row included.
    unsigned cellBackColorAt(int row, int col) const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class HeaderView;
    FlexGridModel* model_;
    class HeaderView* header_;
    platform::DataControl* data_ = nullptr;
    int row_ = 0, col_ = 0;
    bool redraw_ = true;
    bool programmatic_ = false;
    bool filled_ = false;       // the grid has shown records since it was made
    std::vector<int> widths_;       // pixels per column, kept across refreshes
    std::vector<int> widthTwips_;   // the widths as the program set them
    void moveTo(int row, int col, bool raise);
    void reload();
    void showCurrent();
    void headerPressed(int col);
    // MouseDown with the press's button, keys and place in the grid (twips), header row included.
    void raiseMouseDown(const QMouseEvent* e, QPoint inGrid);
    void checkCell(int row, int col) const;
};

}  // namespace ui
