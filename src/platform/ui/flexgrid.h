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
    // The text of col in the current row while a data row is current; empty while none is (the
    // header row current, say, or no rows): what a window's boxes that follow the current row show.
    QString currentRowText(int col) const;
    void setTextMatrix(int row, int col, const QString& text);   // changes only the grid
    int Row() const;
    void setRow(int row);          // selects the current cell and raises EnterCell
    int Col() const;
    void setCol(int col);          // likewise
    unsigned CellBackColor() const;
    void setCellBackColor(unsigned bgrColor);   // the current cell, header row included
    // Twips. A column shows at least its widest code, date or number (see fitColumns), so it may
    // read wider than it was set.
    int ColWidth(int col) const;
    void setColWidth(int col, int widthTwips);
    bool Redraw() const;
    void setRedraw(bool on);
    // 1 generic asc, 2 generic desc, 3 numeric asc, 4 numeric desc, 5 string asc ignoring case,
    // 6 string desc ignoring case, 7 string asc. Rows 1 onward, on the current column.
    void Sort(int setting);
    int FixedRows = 1;
    int FixedCols = 1;
    int AllowUserResizing = 0;

    // Raised when the current cell moves, and when it comes to hold another record (or none)
    // through a refresh or a sort, so that what a window shows of the current row follows it.
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
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class HeaderView;
    FlexGridModel* model_;
    class HeaderView* header_;
    platform::DataControl* data_ = nullptr;
    int row_ = 0, col_ = 0;
    bool redraw_ = true;
    bool programmatic_ = false;
    bool filled_ = false;       // the grid has shown records since it was made
    // What decides a column's width (see fitColumns), kept across refreshes.
    struct ColumnWidth {
        int setTwips = -1;      // as the program set it
        int userPixels = -1;    // as the person dragged it
        int valuesPixels = 0;   // the widest code, date or number shown since the fields last changed
        int freshPixels = 0;    // the widest of those measured since the columns were last fitted
        int headingPixels = 0;  // a heading that is a code or a date, written by the program
    };
    std::vector<ColumnWidth> widths_;
    QStringList widthFields_;   // the fields valuesPixels were measured on
    bool sizing_ = false;       // the grid itself is sizing its columns
    ColumnWidth& widthOf(int col);
    void fitColumns();
    void measureValues();
    void measureWritten(int row, int col, const QString& text);
    void moveTo(int row, int col, bool raise);
    void reload(bool raise);   // raise: EnterCell after the new rows are in
    void showCurrent();
    void headerPressed(int col);
    // MouseDown with the press's button, keys and place in the grid (twips), header row included.
    void raiseMouseDown(const QMouseEvent* e, QPoint inGrid);
    void checkCell(int row, int col) const;
};

}  // namespace ui
