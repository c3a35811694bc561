#pragma once

// The report-style list of the device and survey lists: rows of cells with item data, a remembered
// sort column and direction changed by header clicks, one column that never sorts, and a header that
// draws an arrow beside the caption of the sorted column. The page that owns the list compares rows
// (its compare hook reads SortColunm and Increase) and may draw the rows itself.

#include <QHeaderView>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QTreeWidget>
#include <QVariant>

#include <functional>

// Where the header draws the arrow and the caption of one column.
struct THeaderItemLayout
{
    bool hasArrow = false;
    QRect arrow; // clipped to the item
    QRect text; // may be empty (nothing drawn)
};

// item: the header item's rectangle; arrowSize: the arrow picture's size, or an empty size when the
// column is not the sorted one or there is no picture; textWidth: the caption's measured width.
THeaderItemLayout LayoutHeaderItem(const QRect& item, QSize arrowSize, int textWidth, Qt::Alignment align);

class TSortListView;

class TSortHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit TSortHeader(TSortListView* list);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TSortListView* m_list;
};

class TSortListView : public QTreeWidget
{
    Q_OBJECT
public:
    // Result < 0: a before b; 0: equal; > 0: a after b. The hook applies Increase itself.
    using CompareFn = std::function<int(const QTreeWidgetItem* a, const QTreeWidgetItem* b)>;
    // Draws one whole row (background, cells, icons, text) into rowRect.
    using DrawItemFn
        = std::function<void(QPainter& p, QTreeWidgetItem* item, const QRect& rowRect, bool selected)>;
    // Paints the list's background before the rows; area: the part of the viewport being drawn.
    using CustomDrawFn = std::function<void(QPainter& p, const QRect& area)>;

    explicit TSortListView(QWidget* parent = nullptr);

    // Sort state.
    bool Increase() const { return m_increase; }
    void SetIncrease(bool on);
    int SortColunm() const { return m_sortColunm; }
    void SetSortColunm(int column);
    int SkipSort1() const { return m_skipSort1; }
    void SetSkipSort1(int column);
    QImage IncBMP() const { return m_incBmp; }
    void SetIncBMP(const QImage& img);
    QImage DecBMP() const { return m_decBmp; }
    void SetDecBMP(const QImage& img);
    // The arrow of the current direction (IncBMP when Increase).
    QImage CurrentArrow() const { return m_increase ? m_incBmp : m_decBmp; }

    // The header click rule (also run by a real header click), then ColumnClick.
    void HeaderClick(int column);

    // Columns.
    int AddColumn(const QString& caption, int width, Qt::Alignment align = Qt::AlignLeft);
    Qt::Alignment ColumnAlignment(int column) const;
    int HeaderHeight() const;

    // Rows. Column 0 holds the caption, column i > 0 sub-item i - 1.
    QTreeWidgetItem* AddRow(const QStringList& cells, const QVariant& data = {}, int imageIndex = -1);
    int RowCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* Row(int index) const { return topLevelItem(index); }
    void ClearRows() { clear(); }
    QTreeWidgetItem* Selected() const;
    static QVariant RowData(const QTreeWidgetItem* item);
    static void SetRowData(QTreeWidgetItem* item, const QVariant& data);
    // Index into SmallImages of a cell, -1 for none.
    static int CellImage(const QTreeWidgetItem* item, int column);
    void SetCellImage(QTreeWidgetItem* item, int column, int imageIndex);

    // The small image list (icons of the rows and cells).
    void SetSmallImages(const QList<QPixmap>& images);
    const QList<QPixmap>& SmallImages() const { return m_smallImages; }

    // Sorting: stable, by the compare hook; without one, case-insensitive text of SortColunm honouring
    // Increase.
    void SetOnCompare(CompareFn fn) { m_compare = std::move(fn); }
    void SortRows();

    // Owner drawing of rows and of the background.
    void SetOnDrawItem(DrawItemFn fn);
    void SetOnCustomDraw(CustomDrawFn fn);
    void SetGridLines(bool on);
    bool GridLines() const { return m_gridLines; }
    // The row's whole rectangle in viewport coordinates (empty when not shown).
    QRect RowRect(const QTreeWidgetItem* item) const;

    // Cell text as the lists draw it: alignment, no prefix, tabs expanded, end ellipsis, 5 pixels of
    // padding left and right, centred vertically; nothing for an empty text.
    static void SubItemTextOut(QPainter& p, const QString& text, const QRect& cell, Qt::Alignment align);

Q_SIGNALS:
    // After a header click changed (or kept) the sort state; the page re-sorts.
    void ColumnClick(int column);
    // A row became selected (selected true) or unselected.
    void SelectItem(QTreeWidgetItem* item, bool selected);

protected:
    void drawRow(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* e) override;

private:
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    bool m_increase = true;
    int m_sortColunm = 0;
    int m_skipSort1 = -1;
    QImage m_incBmp;
    QImage m_decBmp;
    QList<Qt::Alignment> m_alignments;
    QList<QPixmap> m_smallImages;
    CompareFn m_compare;
    DrawItemFn m_drawItem;
    CustomDrawFn m_customDraw;
    bool m_gridLines = false;
    TSortHeader* m_header = nullptr;
};
