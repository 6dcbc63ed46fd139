#include "platform/ui/flexgrid.h"
#include "platform/data/sql_text.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>
#include "platform/data/data_control.h"
#include "platform/data/recordset.h"
#include "platform/data/region.h"
#include "platform/ui/colors.h"
#include "platform/ui/column_widths.h"
#include "platform/ui/guard.h"

namespace ui {

namespace {

constexpr int kDefaultColWidthTwips = 960;

// A stable merge sort that stays within bounds whatever the comparison answers (the generic
// comparison mixes numeric and text order, which need not be transitive).
template <class T, class Less>
void mergeSort(std::vector<T>& a, Less less) {
    const size_t n = a.size();
    std::vector<T> buf(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) buf[k++] = less(a[j], a[i]) ? a[j++] : a[i++];
            while (i < mid) buf[k++] = a[i++];
            while (j < hi) buf[k++] = a[j++];
        }
        a.swap(buf);
    }
}

// A row id with the number it sorts by, as the number's bits.
struct NumberKey {
    std::uint64_t bits;
    int id;
};

double numberOf(const NumberKey& k) {
    double v;
    std::memcpy(&v, &k.bits, sizeof v);
    return v;
}

// Memory for the keys of the sorts of one grid, kept from one sort to the next: a large grid sorted
// at each refresh of its screen then does not take fresh memory, which the system must clear, each
// time. The keys of many rows take huge pages (see Region), so that a first large sort is not
// slowed by making its memory resident page by page.
class SortMemory {
public:
    NumberKey* keys(size_t n) { return atLeast(keys_, keysCount_, n); }
    NumberKey* spare(size_t n) { return atLeast(spare_, spareCount_, n); }
    // Gives the memory back when it is far larger than sorts of rows rows need.
    void fitTo(size_t rows) {
        if (keysCount_ > 4 * rows) keys_ = platform::Region(), keysCount_ = 0;
        if (spareCount_ > 4 * rows) spare_ = platform::Region(), spareCount_ = 0;
    }

private:
    static NumberKey* atLeast(platform::Region& region, size_t& count, size_t n) {
        if (count < n) {
            region = platform::Region();
            region = platform::Region(n * sizeof(NumberKey));
            count = n;
        }
        return region.as<NumberKey>();
    }
    platform::Region keys_, spare_;
    size_t keysCount_ = 0, spareCount_ = 0;
};

// Writes the ids of keys[0, n) to out ordered by their numbers (none NaN), ascending or
// descending; equal numbers keep the order they come in. Each number becomes a 64-bit key that
// orders as the number does, and the keys are sorted eleven bits at a time from the lowest,
// skipping the digits all keys share (whole numbers share most of theirs): a few passes over
// memory in order instead of a comparison sort.
void sortByNumber(NumberKey* keys, size_t n, bool descending, int* out, SortMemory& memory) {
    constexpr int kBits = 11;
    constexpr size_t kBuckets = size_t(1) << kBits;
    constexpr int kPasses = (64 + kBits - 1) / kBits;
    std::vector<std::array<size_t, kBuckets>> counts(kPasses);
    for (auto& c : counts) c.fill(0);
    for (size_t i = 0; i < n; ++i) {
        const double v = numberOf(keys[i]) + 0.0;   // -0 and 0 are one number
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
        keys[i].bits = descending ? ~bits : bits;
        for (int p = 0; p < kPasses; ++p) ++counts[size_t(p)][(keys[i].bits >> (p * kBits)) & (kBuckets - 1)];
    }
    NumberKey* spare = nullptr;
    NumberKey* a = keys;
    for (int p = 0; p < kPasses; ++p) {
        auto& c = counts[size_t(p)];
        if (std::find(c.begin(), c.end(), n) != c.end()) continue;   // every key has this digit
        if (!spare) spare = memory.spare(n);
        NumberKey* b = a == keys ? spare : keys;
        size_t sum = 0;
        for (size_t& k : c) sum += std::exchange(k, sum);
        for (size_t i = 0; i < n; ++i) b[c[(a[i].bits >> (p * kBits)) & (kBuckets - 1)]++] = a[i];
        a = b;
    }
    for (size_t i = 0; i < n; ++i) out[i] = a[i].id;
}

// The value of a number text with a fraction or an exponent ("-1.08790016366612", "1.5e-05").
std::optional<double> fractionalNumber(QStringView t) {
    if (t.isEmpty() || !(t.contains(u'.') || t.contains(u'e') || t.contains(u'E'))) return std::nullopt;
    for (QChar c : t)
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E')) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// A number rounded to so many decimals; a number that rounds to zero shows no sign.
QString roundedText(double v, int decimals) {
    QString s = QString::number(v, 'f', decimals);
    if (s.startsWith(u'-') && std::all_of(s.begin() + 1, s.end(), [](QChar c) { return c == u'0' || c == u'.'; }))
        s.remove(0, 1);
    return s;
}

// What a cell must show of a text at the least: all of it, but of a number with a fraction only its
// whole part (rounded), since a narrow cell rounds the fraction away.
QString leastShown(const QString& text) {
    const std::optional<double> v = fractionalNumber(text);
    return v ? roundedText(*v, 0) : text;
}

// The number rounded to as many decimals as fit in room pixels; empty when even its whole part
// does not fit.
QString roundedToFit(double v, const QFontMetrics& fm, int room) {
    const QString whole = roundedText(v, 0);
    int decimals = (room - fm.horizontalAdvance(whole) - fm.horizontalAdvance(u'.')) / std::max(1, fm.horizontalAdvance(u'0'));
    for (decimals = std::clamp(decimals, 0, 15); decimals >= 0; --decimals) {
        const QString shown = roundedText(v, decimals);
        if (fm.horizontalAdvance(shown) <= room) return shown;
    }
    return {};
}

// The mark of a text cut at the right edge of its cell: a small red wedge pointing right.
constexpr int kCutMarkWidth = 4;

void paintCutMark(QPainter* p, const QRect& cell) {
    const int right = cell.right() - 1, mid = cell.center().y();
    const QPoint wedge[] = {{right, mid}, {right - kCutMarkWidth, mid - kCutMarkWidth}, {right - kCutMarkWidth, mid + kCutMarkWidth}};
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(Qt::NoPen);
    p->setBrush(QColor(0xD0, 0x00, 0x00));
    p->drawPolygon(wedge, int(std::size(wedge)));
    p->restore();
}

// Draws text in area on one line from its start (line breaks as blanks), cut before a cut mark at
// the area's right edge.
void paintCutText(QPainter* p, const QRect& area, QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar lineBreak : {QChar('\n'), QChar('\r'), QChar(QChar::LineSeparator)}) text.replace(lineBreak, QChar(' '));
    p->save();
    const QRect shown = area.adjusted(0, 0, -(kCutMarkWidth + 2), 0);
    p->setClipRect(shown);
    p->drawText(shown, Qt::AlignLeft | Qt::AlignVCenter, text);
    p->restore();
    paintCutMark(p, area.adjusted(0, 0, 1, 0));
}

// The room a cell's text has on each side, as the style lays out an item's text.
int cellTextMargin(const QWidget* view) {
    const QStyle* style = view ? view->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

// What a cell's paint knows of texts' widths in one font without laying them out. A text of digits
// and the signs of numbers and dates is at most its length times the widest of those characters,
// and any text of printable ASCII characters its length times the widest of them: such a text
// within its cell's room needs no measuring. Other texts (names, notes) are measured once and
// their widths kept, so that a paint measures only texts it has not met in this font.
class TextWidths {
public:
    // The text's width in pixels, or an upper bound of it where that is known without measuring
    // and within room.
    int widthWithin(const QString& text, const QFont& font, int room) {
        if (!metrics_ || !(font == font_)) reset(font);
        bool ascii = true, numeric = true;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x20 || u > 0x7E) {
                ascii = numeric = false;
                break;
            }
            numeric = numeric && isNumberChar(u);
        }
        // Whole pixels above the sum of the characters' advances, which may have fractions.
        const qsizetype n = text.size();
        if (numeric && boundOf(n, numeric_) <= room) return boundOf(n, numeric_);
        if (ascii && boundOf(n, ascii_) <= room) return boundOf(n, ascii_);
        if (const auto it = measured_.constFind(text); it != measured_.constEnd()) return *it;
        if (measured_.size() >= kKeptTexts) measured_.clear();
        const int width = metrics_->horizontalAdvance(text);
        measured_.insert(text, width);
        return width;
    }

private:
    static constexpr qsizetype kKeptTexts = 20000;

    static int boundOf(qsizetype chars, qreal widest) { return int(std::ceil(qreal(chars) * widest)) + 1; }

    static bool isNumberChar(char16_t u) {
        return (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u',' || u == u'/' || u == u':' || u == u' ';
    }

    void reset(const QFont& font) {
        font_ = font;
        metrics_.emplace(font);
        numeric_ = ascii_ = 0;
        const QFontMetricsF exact(font);
        for (char16_t u = 0x20; u <= 0x7E; ++u) {
            const qreal w = exact.horizontalAdvance(QChar(u));
            ascii_ = std::max(ascii_, w);
            if (isNumberChar(u)) numeric_ = std::max(numeric_, w);
        }
        measured_.clear();
    }

    QFont font_;
    std::optional<QFontMetrics> metrics_;
    qreal numeric_ = 0, ascii_ = 0;   // the widest advance among a number's characters; among all printable ASCII
    QHash<QString, int> measured_;
};

// A cell shows its text at its alignment (a number on the right) when it fits. A number with a
// fraction that does not fit is rounded to the decimals that do. Any other text wider than its
// cell is shown from its start, cut before a red mark at the cell's right edge, so that a cut
// text never passes for a whole one. The whole text stays in the cell's tooltip. A text known to
// fit (see TextWidths) is drawn as it is, unmeasured.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QWidget* view = opt.widget;
        const QStyle* style = view ? view->style() : QApplication::style();
        if (!(opt.features & QStyleOptionViewItem::HasDisplay) || opt.text.isEmpty()) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);
            return;
        }
        const int margin = cellTextMargin(view);
        const int room = opt.rect.width() - 2 * margin;
        if (textWidths_.widthWithin(opt.text, opt.font, room) <= room) {
            paintText(painter, opt, margin, false);
            return;
        }
        if (const std::optional<double> v = fractionalNumber(opt.text)) {
            if (const QString rounded = roundedToFit(*v, QFontMetrics(opt.font), room); !rounded.isEmpty()) {
                opt.text = rounded;
                paintText(painter, opt, margin, false);
                return;
            }
        }
        paintText(painter, opt, margin, true);
    }

private:
    // The cell's background, selection and focus as the style draws them, then its text on one
    // line at its alignment, or from its start cut before the cut mark. The text is drawn here, not
    // by the style, which would lay it out again to see whether it fits.
    static void paintText(QPainter* painter, QStyleOptionViewItem& opt, int margin, bool cut) {
        const QWidget* view = opt.widget;
        const QStyle* style = view ? view->style() : QApplication::style();
        const QString text = std::exchange(opt.text, QString());
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                                : QPalette::Inactive;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                      : QPalette::Text));
        if (cut) {
            paintCutText(painter, opt.rect.adjusted(margin, 0, -1, 0), text);
        } else {
            const QRect area = opt.rect.adjusted(margin, 0, -margin, 0);
            painter->setClipRect(area, Qt::IntersectClip);
            // Placed on whole pixels as the style places an item's text, a line high at the
            // cell's vertical alignment.
            const int high = opt.fontMetrics.height();
            const QRect line = QStyle::alignedRect(opt.direction, opt.displayAlignment & Qt::AlignVertical_Mask,
                                                   QSize(area.width(), high), area);
            painter->drawText(line, int(opt.displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextSingleLine,
                              text);
        }
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideNone;
    }

private:
    mutable TextWidths textWidths_;
};

}  // namespace

// The grid's cells: row 0 (the header) lives in the horizontal header, model row m is grid row m+1.
// A grid row is an id: ids below the record count are records of the bound record set; rows added
// by Rows get ids above. Texts written into the grid and cell colours are kept per id, so they move
// with their rows when the grid is sorted.
class FlexGridModel : public QAbstractTableModel {
public:
    const platform::Recordset* rs = nullptr;
    int recCount = 0;
    int fieldCount = 0;
    int cols = 1;
    std::vector<int> order;      // order[r - 1]: id shown in grid row r
    int nextId = 0;
    std::vector<QString> header;
    std::vector<QColor> headerBack;
    QHash<quint64, QString> texts;
    QHash<quint64, QColor> backs;
    SortMemory sortMemory;

    static quint64 key(int id, int col) { return (quint64(quint32(id)) << 32) | quint32(col); }

    int gridRows() const { return int(order.size()) + 1; }

    // Whether (id, col) is a cell of the bound record set.
    bool isRecordCell(int id, int col) const {
        return col >= 1 && rs && id < recCount && col - 1 < fieldCount && rs->isOpen() && id < rs->recordCount() &&
               col - 1 < rs->fieldCount();
    }

    // The stored number of a record cell, read without making a text of it.
    bool storedNumber(int id, int col, double* value) const {
        bool ok = false;
        if (isRecordCell(id, col)) *value = rs->number(id, col - 1, &ok);
        return ok;
    }

    // The stored number of a cell the program has not written: what the sorts compare first.
    bool storedNumberCell(int id, int col, double* value) const {
        return (texts.isEmpty() || !texts.contains(key(id, col))) && storedNumber(id, col, value);
    }

    QString text(int id, int col) const {
        if (!texts.isEmpty()) {
            auto it = texts.constFind(key(id, col));
            if (it != texts.constEnd()) return *it;
        }
        return isRecordCell(id, col) ? rs->text(id, col - 1) : QString();
    }

    // The cell as the sorts compare it: (true, value) when it is a number, a stored one or a text
    // that is one by the program's one rule for numbers (platform::sqlNumber). The text is made,
    // into *shown when given, only for a cell that is no stored number.
    std::pair<bool, double> number(int id, int col, QString* shown = nullptr) const {
        double v = 0;
        if (storedNumberCell(id, col, &v)) return {true, v};
        QString t = text(id, col);
        const std::optional<double> n = platform::sqlNumber(t);
        if (shown) *shown = std::move(t);
        return {n.has_value(), n.value_or(0.0)};
    }

    QString cell(int row, int col) const {
        if (row == 0) return col < int(header.size()) ? header[size_t(col)] : QString();
        return text(order[size_t(row - 1)], col);
    }

    QColor back(int row, int col) const {
        if (row == 0) return col < int(headerBack.size()) ? headerBack[size_t(col)] : QColor();
        return backs.value(key(order[size_t(row - 1)], col));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(order.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        try {
            const int id = order[size_t(index.row())];
            const int col = index.column();
            switch (role) {
            case Qt::DisplayRole:
            case Qt::ToolTipRole:
                return text(id, col);
            case Qt::BackgroundRole: {
                if (!backs.isEmpty()) {
                    auto it = backs.constFind(key(id, col));
                    if (it != backs.constEnd()) return *it;
                }
                if (col == 0) return QApplication::palette().color(QPalette::Button);
                return {};
            }
            case Qt::TextAlignmentRole: {
                double unused = 0;
                return int(Qt::AlignVCenter | (storedNumber(id, col, &unused) ? Qt::AlignRight : Qt::AlignLeft));
            }
            default:
                return {};
            }
        } catch (...) {
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || section < 0 || section >= int(header.size())) return {};
        if (role == Qt::DisplayRole) return header[size_t(section)];
        if (role == Qt::BackgroundRole && headerBack[size_t(section)].isValid()) return headerBack[size_t(section)];
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void resetTo(const platform::Recordset* r) {
        beginResetModel();
        rs = (r && r->isOpen()) ? r : nullptr;
        recCount = rs ? rs->recordCount() : 0;
        fieldCount = rs ? rs->fieldCount() : 0;
        cols = fieldCount + 1;
        order.resize(size_t(recCount));
        std::iota(order.begin(), order.end(), 0);
        sortMemory.fitTo(size_t(recCount));
        nextId = recCount;
        header.assign(size_t(cols), QString());
        for (int f = 0; f < fieldCount; ++f) header[size_t(f + 1)] = rs->fieldName(f);
        headerBack.assign(size_t(cols), QColor());
        texts.clear();
        backs.clear();
        endResetModel();
    }

    void setRows(int n) {
        const int now = gridRows();
        if (n > now) {
            beginInsertRows({}, now - 1, n - 2);
            while (gridRows() < n) order.push_back(nextId++);
            endInsertRows();
        } else if (n < now) {
            beginRemoveRows({}, n - 1, now - 2);
            order.resize(size_t(n - 1));
            endRemoveRows();
        }
    }

    void setCols(int n) {
        if (n > cols) {
            beginInsertColumns({}, cols, n - 1);
            cols = n;
            header.resize(size_t(n));
            headerBack.resize(size_t(n));
            endInsertColumns();
        } else if (n < cols) {
            beginRemoveColumns({}, n, cols - 1);
            cols = n;
            header.resize(size_t(n));
            headerBack.resize(size_t(n));
            endRemoveColumns();
        }
    }

    void allChanged() {
        if (!order.empty()) emit dataChanged(index(0, 0), index(int(order.size()) - 1, cols - 1));
    }
};

// The header row: field names (or what the program wrote there) on the fixed-cell colour, or on
// the colour the program gave the cell; the current cell framed when the header row is current.
class HeaderView : public QHeaderView {
public:
    static constexpr int kHeadingMargin = 2;   // on each side of a heading's text

    HeaderView(FlexGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setSectionsClickable(false);
        setHighlightSections(false);
        setMinimumSectionSize(0);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

protected:
    void paintSection(QPainter* p, const QRect& rect, int section) const override {
        if (!rect.isValid()) return;
        const FlexGridModel* m = grid_->model_;
        p->save();
        const QColor tint = m->back(0, section);
        p->fillRect(rect, tint.isValid() ? tint : palette().color(QPalette::Button));
        p->setPen(palette().color(QPalette::Dark));
        p->drawLine(rect.topRight(), rect.bottomRight());
        p->drawLine(rect.bottomLeft(), rect.bottomRight());
        if (grid_->row_ == 0 && grid_->col_ == section) {
            QPen pen(palette().color(QPalette::Text));
            pen.setStyle(Qt::DotLine);
            p->setPen(pen);
            p->drawRect(rect.adjusted(1, 1, -2, -2));
        }
        // A heading too long for its column is drawn smaller, as captions are; one that does not fit
        // even so is cut before the cut mark.
        p->setPen(palette().color(QPalette::ButtonText));
        const QRect textRect = rect.adjusted(kHeadingMargin, 0, -kHeadingMargin, 0);
        const QString text = m->cell(0, section);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter;
        if (p->fontMetrics().horizontalAdvance(text) > textRect.width()) p->setFont(fittingFont(p->font(), textRect, flags, text));
        if (p->fontMetrics().horizontalAdvance(text) > textRect.width()) {
            paintCutText(p, textRect, text);
        } else {
            p->setClipRect(textRect);
            p->drawText(textRect, flags, text);
        }
        p->restore();
    }

    // Presses on the header row choose a column; a double-click there is no double-click on a
    // cell (the current data row is not the one the person pointed at).
    void mousePressEvent(QMouseEvent* e) override {
        QHeaderView::mousePressEvent(e);
        const QPoint at = e->position().toPoint();
        const int section = logicalIndexAt(at.x());
        // A press on a section's border resizes the column; anywhere else it picks the cell.
        if (section >= 0) {
            const int left = sectionViewportPosition(section), right = left + sectionSize(section);
            if (at.x() - left > 2 && right - at.x() > 3) grid_->headerPressed(section);
        }
        grid_->raiseMouseDown(e, viewport()->mapTo(grid_, at));
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override { QHeaderView::mouseDoubleClickEvent(e); }

private:
    FlexGrid* grid_;
};

FlexGrid::FlexGrid(QWidget* parent, const ControlSpec& def)
    : QTableView(parent), model_(new FlexGridModel), header_(nullptr) {
    model_->setParent(this);
    init(this, def);
    header_ = new HeaderView(this);
    header_->setPalette(QApplication::palette());   // not the window's colour behind the last column
    setHorizontalHeader(header_);
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);   // a narrow column shows as much of its text as fits
    setItemDelegate(new CellDelegate(this));
    setTabKeyNavigation(false);
    setAccessibleName(Name);
    const int rowHeight = fontMetrics().height() + 4;
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    header_->setFixedHeight(rowHeight);
    header_->setDefaultSectionSize(px(kDefaultColWidthTwips));
    header_->setSectionResizeMode(QHeaderView::Interactive);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& cur) {
        if (programmatic_ || !cur.isValid()) return;
        row_ = cur.row() + 1;
        col_ = cur.column();
        header_->viewport()->update();
        fire(EnterCell, "EnterCell");
    });
    connect(header_, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!sizing_) widthOf(col).userPixels = size;
    });
    reload(false);
}

// The model goes before the view: an accessibility client (a screen reader) that has walked the
// cells leaves one accessible object per cell, each holding a persistent index of the model. Once
// the model is gone those indexes are void and each goes at no cost; while it stands, each goes
// with a search through the model's persistent indexes, which grows with their number (minutes
// for a large grid).
FlexGrid::~FlexGrid() {
    delete std::exchange(model_, nullptr);
}

void FlexGrid::bind(platform::DataControl* data) {
    data_ = data;
    QPointer<FlexGrid> self(this);
    data->addRefreshListener([self] {
        if (self) self->reload(true);
    });
    // A data control of another window may go before the grid does: the grid then empties.
    if (auto* owner = dynamic_cast<QObject*>(data)) {
        connect(owner, &QObject::destroyed, this, [this, data] {
            if (data_ != data) return;
            data_ = nullptr;
            reload(false);   // its window may be going too: nothing of it runs
        });
    }
    reload(false);
}

void FlexGrid::reload(bool raise) {
    const platform::Recordset* rs = (data_ && data_->hasRecordset()) ? &data_->recordset() : nullptr;
    programmatic_ = true;
    sizing_ = true;
    model_->resetTo(rs);
    sizing_ = false;
    measureValues();
    fitColumns();
    programmatic_ = false;
    // The current cell stays where it was while the new rows reach it; a first fill starts at the
    // first record's first field.
    const int rows = model_->gridRows(), cols = model_->cols;
    if (!filled_ || row_ >= rows) row_ = rows > 1 ? 1 : 0;
    if (!filled_ || col_ >= cols) col_ = cols > 1 ? 1 : 0;
    filled_ = filled_ || rows > 1;
    showCurrent();
    // The current cell holds another record now (or none): the window follows it as after a move.
    if (raise) fire(EnterCell, "EnterCell");
}

int FlexGrid::Rows() const { return model_->gridRows(); }

void FlexGrid::setRows(int n) {
    if (n < 1) throw std::out_of_range("Rows: 1 以上を指定してください");
    model_->setRows(n);
    if (row_ >= n) moveTo(n - 1, col_, false);
}

int FlexGrid::Cols() const { return model_->cols; }

void FlexGrid::setCols(int n) {
    if (n < 1) throw std::out_of_range("Cols: 1 以上を指定してください");
    sizing_ = true;
    model_->setCols(n);
    sizing_ = false;
    fitColumns();
    if (col_ >= n) moveTo(row_, n - 1, false);
}

void FlexGrid::checkCell(int row, int col) const {
    if (row < 0 || row >= Rows()) throw std::out_of_range(QStringLiteral("行 %1 はありません").arg(row).toStdString());
    if (col < 0 || col >= Cols()) throw std::out_of_range(QStringLiteral("列 %1 はありません").arg(col).toStdString());
}

QString FlexGrid::TextMatrix(int row, int col) const {
    checkCell(row, col);
    return model_->cell(row, col);
}

QString FlexGrid::currentRowText(int col) const { return row_ >= 1 ? TextMatrix(row_, col) : QString(); }

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    checkCell(row, col);
    measureWritten(row, col, text);
    if (row == 0) {
        model_->header[size_t(col)] = text;
        emit model_->headerDataChanged(Qt::Horizontal, col, col);
        header_->viewport()->update();
        return;
    }
    model_->texts.insert(FlexGridModel::key(model_->order[size_t(row - 1)], col), text);
    const QModelIndex i = model_->index(row - 1, col);
    emit model_->dataChanged(i, i);
}

int FlexGrid::Row() const { return row_; }
void FlexGrid::setRow(int row) {
    checkCell(row, col_);
    moveTo(row, col_, true);
}
int FlexGrid::Col() const { return col_; }
void FlexGrid::setCol(int col) {
    checkCell(row_, col);
    moveTo(row_, col, true);
}

void FlexGrid::moveTo(int row, int col, bool raise) {
    row_ = row;
    col_ = col;
    showCurrent();
    if (raise) fire(EnterCell, "EnterCell");
}

void FlexGrid::showCurrent() {
    programmatic_ = true;
    if (row_ >= 1 && row_ < Rows() && col_ < Cols())
        selectionModel()->setCurrentIndex(model_->index(row_ - 1, col_), QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clearSelection();
    programmatic_ = false;
    header_->viewport()->update();
}

// A press on a column heading chooses that column (for a sort, say); the header row never becomes
// the current row. With a current data row the cell moves along it and EnterCell runs.
void FlexGrid::headerPressed(int col) {
    if (col < 0 || col >= Cols()) return;
    if (row_ >= 1 && row_ < Rows()) {
        moveTo(row_, col, true);
    } else {
        col_ = col;
        showCurrent();
    }
}

unsigned FlexGrid::cellBackColorAt(int row, int col) const {
    checkCell(row, col);
    const QColor c = model_->back(row, col);
    if (c.isValid()) return toBgr(c);
    const bool fixed = row == 0 || col == 0;
    return toBgr(palette().color(fixed ? QPalette::Button : QPalette::Base));
}

unsigned FlexGrid::CellBackColor() const { return cellBackColorAt(row_, col_); }

void FlexGrid::setCellBackColor(unsigned bgrColor) {
    checkCell(row_, col_);
    if (row_ == 0) {
        model_->headerBack[size_t(col_)] = bgr(bgrColor);
        header_->viewport()->update();
        return;
    }
    model_->backs.insert(FlexGridModel::key(model_->order[size_t(row_ - 1)], col_), bgr(bgrColor));
    const QModelIndex i = model_->index(row_ - 1, col_);
    emit model_->dataChanged(i, i);
}

FlexGrid::ColumnWidth& FlexGrid::widthOf(int col) {
    if (col >= int(widths_.size())) widths_.resize(size_t(col) + 1);
    return widths_[size_t(col)];
}

// The columns' widths by the grid's width rule (fitColumnWidths), with the room the grid shows
// beside its vertical scroll bar and a floor of three characters. The widths of a window's layout
// suit another face, whose digits are narrower than this one's: the rule widens them to show the
// codes, dates and numbers whole (the whole part of a number with a fraction).
void FlexGrid::fitColumns() {
    const int n = model_->cols;
    std::vector<ColumnNeeds> needs(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) {
        const ColumnWidth& w = widthOf(c);
        needs[size_t(c)] = {.laid = w.setTwips >= 0 ? px(w.setTwips) : px(kDefaultColWidthTwips),
                            .dragged = w.userPixels,
                            .widestBefore = w.valuesPixels,
                            .widestNow = w.freshPixels,
                            .heading = w.headingPixels,
                            .fixed = c < FixedCols};
    }
    const int room = width() - 2 * frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int floor = 3 * fontMetrics().horizontalAdvance(QChar(0x65E5)) + 2 * cellTextMargin(this) + 1;
    const std::vector<ColumnFit> fit = fitColumnWidths(needs, room, floor);
    sizing_ = true;
    for (int c = 0; c < n; ++c) {
        ColumnWidth& w = widthOf(c);
        w.valuesPixels = fit[size_t(c)].widest;
        w.freshPixels = 0;
        if (header_->sectionSize(c) != fit[size_t(c)].width) header_->resizeSection(c, fit[size_t(c)].width);
    }
    sizing_ = false;
}

void FlexGrid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    if (header_) fitColumns();   // not while the grid is being made
}

// The widest code, date or number of each field, found without measuring every cell: digits are
// all of one width, so the widest texts are those of a field's smallest and largest number and of
// its longest short ASCII text, and only those are measured. A column keeps the widest it has
// shown while its field stays the same (a narrower selection leaves the layout as it was).
void FlexGrid::measureValues() {
    const platform::Recordset* rs = model_->rs;
    QStringList fields;
    for (int f = 0; f < model_->fieldCount; ++f) fields << rs->fieldName(f);
    if (fields != widthFields_)
        for (ColumnWidth& w : widths_) w.valuesPixels = 0;
    widthFields_ = fields;
    for (ColumnWidth& w : widths_) w.headingPixels = 0;   // the headings are field names again
    if (!rs || model_->recCount == 0) return;
    const QFontMetrics fm(font());
    const int margins = 2 * cellTextMargin(this) + 1;   // and the grid line
    const std::vector<platform::Recordset::WidestRecords> widest = rs->widestRecords(kCodeChars);
    for (int f = 0; f < int(widest.size()) && f < model_->fieldCount; ++f) {
        ColumnWidth& w = widthOf(f + 1);
        for (int record : {widest[size_t(f)].lowest, widest[size_t(f)].highest, widest[size_t(f)].longestCode}) {
            if (record < 0) continue;
            const QString shown = leastShown(rs->text(record, f));
            if (isCodeText(shown)) w.freshPixels = std::max(w.freshPixels, fm.horizontalAdvance(shown) + margins);
        }
    }
}

// A code, date or number the program writes into a cell widens its column as a stored one does;
// a heading the program writes decides its column's heading width anew.
void FlexGrid::measureWritten(int row, int col, const QString& text) {
    const QString shown = row == 0 ? text : leastShown(text);
    ColumnWidth& w = widthOf(col);
    const int needed = !isCodeText(shown) ? 0
                       : row == 0 ? header_->fontMetrics().horizontalAdvance(shown) + 2 * HeaderView::kHeadingMargin + 1
                                  : fontMetrics().horizontalAdvance(shown) + 2 * cellTextMargin(this) + 1;
    if (row == 0 ? needed == w.headingPixels : needed <= w.valuesPixels) return;
    (row == 0 ? w.headingPixels : w.freshPixels) = needed;
    fitColumns();
}

// A width set by the program reads back as it was set, as long as the column shows it so.
int FlexGrid::ColWidth(int col) const {
    checkCell(0, col);
    const int pixels = header_->sectionSize(col);
    if (col < int(widths_.size()) && widths_[size_t(col)].setTwips >= 0 && px(widths_[size_t(col)].setTwips) == pixels)
        return widths_[size_t(col)].setTwips;
    return twips(pixels);
}

void FlexGrid::setColWidth(int col, int widthTwips) {
    checkCell(0, col);
    ColumnWidth& w = widthOf(col);
    w.setTwips = std::max(0, widthTwips);
    w.userPixels = -1;
    fitColumns();
}

bool FlexGrid::Redraw() const { return redraw_; }

void FlexGrid::setRedraw(bool on) {
    redraw_ = on;
    setUpdatesEnabled(on);
    if (on) viewport()->update();
}

void FlexGrid::Sort(int setting) {
    if (setting < 1 || setting > 7) return;
    const int col = col_;
    std::vector<int>& order = model_->order;
    const size_t n = order.size();
    if (n < 2 || col < 0 || col >= Cols()) return;
    const bool descending = setting == 2 || setting == 4 || setting == 6;
    // Rows by positions: each sort is stable, equal rows keep the order they had.
    auto sortBy = [&](auto less) {
        std::vector<int> pos(n);
        std::iota(pos.begin(), pos.end(), 0);
        if (descending) mergeSort(pos, [&](int a, int b) { return less(b, a); });
        else mergeSort(pos, less);
        std::vector<int> sorted(n);
        for (size_t i = 0; i < n; ++i) sorted[i] = order[size_t(pos[i])];
        order.swap(sorted);
    };
    // Numbers sort by key (see sortByNumber), in the grid's sort memory; a column holding NaN keeps
    // the comparison sort, under which NaN compares with nothing.
    NumberKey* keys = nullptr;
    auto newKeys = [&] { keys = model_->sortMemory.keys(n); };
    auto keyOf = [](double v, int id) {
        NumberKey k;
        std::memcpy(&k.bits, &v, sizeof v);
        k.id = id;
        return k;
    };
    auto sortByNumbers = [&] {
        if (std::none_of(keys, keys + n, [](const NumberKey& k) { return std::isnan(numberOf(k)); })) {
            sortByNumber(keys, n, descending, order.data(), model_->sortMemory);
            return;
        }
        std::vector<NumberKey> keyed(keys, keys + n);
        mergeSort(keyed, [descending](const NumberKey& a, const NumberKey& b) {
            return descending ? numberOf(b) < numberOf(a) : numberOf(a) < numberOf(b);
        });
        for (size_t i = 0; i < n; ++i) order[i] = keyed[i].id;
    };
    if (setting == 3 || setting == 4) {
        newKeys();
        for (size_t i = 0; i < n; ++i) keys[i] = keyOf(model_->number(order[i], col).second, order[i]);
        sortByNumbers();
    } else if (setting == 1 || setting == 2) {
        // A column of stored numbers sorts on them alone; otherwise each cell's text is made once,
        // the texts of stored numbers only when some cell is no number.
        newKeys();
        size_t stored = 0;
        for (double v = 0; stored < n && model_->storedNumberCell(order[stored], col, &v); ++stored)
            keys[stored] = keyOf(v, order[stored]);
        if (stored == n) {
            sortByNumbers();
        } else {
            std::vector<std::pair<bool, double>> nums(n);
            std::vector<QString> texts(n);
            bool allNumbers = true;
            for (size_t i = 0; i < n; ++i) allNumbers = (nums[i] = model_->number(order[i], col, &texts[i])).first && allNumbers;
            if (!allNumbers)
                for (size_t i = 0; i < n; ++i)
                    if (texts[i].isNull()) texts[i] = model_->text(order[i], col);
            sortBy([&](int a, int b) {
                const auto &x = nums[size_t(a)], &y = nums[size_t(b)];
                if (x.first && y.first) return x.second < y.second;
                return QString::compare(texts[size_t(a)], texts[size_t(b)], Qt::CaseSensitive) < 0;
            });
        }
    } else {
        std::vector<QString> texts(n);
        for (size_t i = 0; i < n; ++i) texts[i] = model_->text(order[i], col);
        const Qt::CaseSensitivity cs = setting == 7 ? Qt::CaseSensitive : Qt::CaseInsensitive;
        sortBy([&](int a, int b) { return QString::compare(texts[size_t(a)], texts[size_t(b)], cs) < 0; });
    }
    model_->allChanged();
    fire(EnterCell, "EnterCell");   // the current row holds another record now
}

int FlexGrid::recordOfRow(int row) const {
    if (row < 1 || row >= Rows()) return -1;
    const int id = model_->order[size_t(row - 1)];
    return id < model_->recCount ? id : -1;
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    raiseMouseDown(e, viewport()->mapTo(this, e->position().toPoint()));
}

void FlexGrid::raiseMouseDown(const QMouseEvent* e, QPoint p) {
    int button = 0;
    if (e->button() == Qt::LeftButton) button = 1;
    else if (e->button() == Qt::RightButton) button = 2;
    else if (e->button() == Qt::MiddleButton) button = 4;
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    if (MouseDown) {
        const auto handler = MouseDown;
        fire([&] { handler(button, shift, twips(p.x()), twips(p.y())); }, "MouseDown");
    }
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    fire(DblClick, "DblClick");
}

}  // namespace ui
