#include "controls/sortlistview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>

namespace {

constexpr int kDataRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

Qt::Alignment HorizontalOf(Qt::Alignment a)
{
    const Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight) {
        return Qt::AlignRight;
    }
    if (h & Qt::AlignHCenter) {
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

// The arrow pictures carry fuchsia where the header shows through.
QPixmap ArrowPixmap(const QImage& img)
{
    QPixmap pm = QPixmap::fromImage(img);
    pm.setMask(QBitmap::fromImage(img.createMaskFromColor(qRgb(255, 0, 255), Qt::MaskInColor)));
    return pm;
}

} // namespace

THeaderItemLayout LayoutHeaderItem(const QRect& item, QSize arrowSize, int textWidth, Qt::Alignment align)
{
    THeaderItemLayout out;
    const int l = item.left();
    const int t = item.top();
    const int r = l + item.width(); // one past the right edge
    const int b = t + item.height(); // one past the bottom edge
    int al = 0;
    if (!arrowSize.isEmpty()) {
        out.hasArrow = true;
        al = std::max(r - arrowSize.width() - 5, l);
        const int ar = std::min(al + arrowSize.width(), r);
        const int at = std::max(t + (item.height() - arrowSize.height()) / 2, t);
        const int ab = std::min(at + arrowSize.height(), b);
        out.arrow = QRect(al, at, std::max(ar - al, 0), std::max(ab - at, 0));
    }
    const int tl = l + 5;
    int tr = r - 5;
    if (tr > tl && out.hasArrow) {
        switch (HorizontalOf(align)) {
        case Qt::AlignRight:
            tr = al - 2;
            break;
        case Qt::AlignHCenter: {
            const int end = tl + (tr - tl - textWidth) / 2 + textWidth;
            if (al < end + 2) {
                tr = al - 2;
            }
            break;
        }
        default:
            if (al < tl + textWidth + 2) {
                tr = al - 2;
            }
            break;
        }
    }
    out.text = QRect(tl, t, std::max(tr - tl, 0), item.height());
    return out;
}

// ---------------------------------------------------------------------------------------------

TSortHeader::TSortHeader(TSortListView* list)
    : QHeaderView(Qt::Horizontal, list)
    , m_list(list)
{
    setSectionsClickable(true);
    setSortIndicatorShown(false);
    setHighlightSections(false);
}

void TSortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid()) {
        return;
    }
    painter->save();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    opt.sortIndicator = QStyleOptionHeader::None;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

    const QImage arrow = m_list->CurrentArrow();
    const bool sorted = logicalIndex == m_list->SortColunm() && !arrow.isNull();
    const QString caption
        = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    const Qt::Alignment align = HorizontalOf(m_list->ColumnAlignment(logicalIndex));
    const QFontMetrics fm(m_list->font());
    const int tw = fm.horizontalAdvance(caption);
    const THeaderItemLayout lay = LayoutHeaderItem(rect, sorted ? arrow.size() : QSize(), tw, align);

    painter->setFont(m_list->font());
    painter->setPen(palette().color(QPalette::ButtonText));
    if (!lay.text.isEmpty() && !caption.isEmpty()) {
        const QString shown = fm.elidedText(caption, Qt::ElideRight, lay.text.width(), Qt::TextExpandTabs);
        painter->setClipRect(lay.text);
        painter->drawText(
            lay.text, int(align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs), shown);
        painter->setClipping(false);
    }
    if (lay.hasArrow && !lay.arrow.isEmpty()) {
        painter->drawPixmap(lay.arrow.topLeft(), ArrowPixmap(arrow), QRect(QPoint(0, 0), lay.arrow.size()));
    }
    painter->restore();
}

// ---------------------------------------------------------------------------------------------

TSortListView::TSortListView(QWidget* parent)
    : QTreeWidget(parent)
{
    m_header = new TSortHeader(this);
    setHeader(m_header);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    // Turning the view's own sorting off also made the header unclickable: the clicks are ours.
    m_header->setSectionsClickable(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    connect(m_header, &QHeaderView::sectionClicked, this, &TSortListView::HeaderClick);
    connect(
        selectionModel(), &QItemSelectionModel::selectionChanged, this, &TSortListView::OnSelectionChanged);
}

void TSortListView::SetIncrease(bool on)
{
    if (on == m_increase) {
        return;
    }
    m_increase = on;
    m_header->viewport()->update();
}

void TSortListView::SetSortColunm(int column)
{
    if (column == m_sortColunm) {
        return;
    }
    m_sortColunm = column;
    m_header->viewport()->update();
}

void TSortListView::SetSkipSort1(int column)
{
    m_skipSort1 = column;
    if (column == m_sortColunm) {
        SetSortColunm(column + 1);
    }
}

void TSortListView::SetIncBMP(const QImage& img)
{
    if (img == m_incBmp && img.isNull() == m_incBmp.isNull()) {
        return;
    }
    m_incBmp = img;
    m_header->viewport()->update();
}

void TSortListView::SetDecBMP(const QImage& img)
{
    if (img == m_decBmp && img.isNull() == m_decBmp.isNull()) {
        return;
    }
    m_decBmp = img;
    m_header->viewport()->update();
}

void TSortListView::HeaderClick(int column)
{
    if (column != m_skipSort1) {
        if (column == m_sortColunm) {
            m_increase = !m_increase;
        } else {
            m_sortColunm = column;
        }
    }
    m_header->viewport()->update();
    Q_EMIT ColumnClick(column);
}

int TSortListView::AddColumn(const QString& caption, int width, Qt::Alignment align)
{
    const int c = columnCount();
    setColumnCount(c + 1);
    headerItem()->setText(c, caption);
    headerItem()->setTextAlignment(c, HorizontalOf(align) | Qt::AlignVCenter);
    setColumnWidth(c, width);
    m_alignments.resize(c + 1);
    m_alignments[c] = HorizontalOf(align);
    return c;
}

Qt::Alignment TSortListView::ColumnAlignment(int column) const
{
    return column >= 0 && column < m_alignments.size() ? m_alignments.at(column) : Qt::AlignLeft;
}

int TSortListView::HeaderHeight() const
{
    return m_header->isHidden() ? 0 : m_header->height();
}

QTreeWidgetItem* TSortListView::AddRow(const QStringList& cells, const QVariant& data, int imageIndex)
{
    auto* item = new QTreeWidgetItem(this);
    for (int c = 0; c < columnCount(); ++c) {
        item->setTextAlignment(c, ColumnAlignment(c) | Qt::AlignVCenter);
        item->setData(c, kImageRole, -1);
    }
    for (int c = 0; c < cells.size(); ++c) {
        item->setText(c, cells.at(c));
    }
    item->setData(0, kDataRole, data);
    if (imageIndex >= 0) {
        SetCellImage(item, 0, imageIndex);
    }
    return item;
}

QTreeWidgetItem* TSortListView::Selected() const
{
    const QList<QTreeWidgetItem*> sel = selectedItems();
    return sel.isEmpty() ? nullptr : sel.first();
}

QVariant TSortListView::RowData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kDataRole) : QVariant();
}

void TSortListView::SetRowData(QTreeWidgetItem* item, const QVariant& data)
{
    if (item) {
        item->setData(0, kDataRole, data);
    }
}

int TSortListView::CellImage(const QTreeWidgetItem* item, int column)
{
    if (!item) {
        return -1;
    }
    const QVariant v = item->data(column, kImageRole);
    return v.isValid() ? v.toInt() : -1;
}

void TSortListView::SetCellImage(QTreeWidgetItem* item, int column, int imageIndex)
{
    if (!item) {
        return;
    }
    item->setData(column, kImageRole, imageIndex);
    if (imageIndex >= 0 && imageIndex < m_smallImages.size()) {
        item->setIcon(column, QIcon(m_smallImages.at(imageIndex)));
    } else {
        item->setIcon(column, QIcon());
    }
}

void TSortListView::SetSmallImages(const QList<QPixmap>& images)
{
    m_smallImages = images;
    if (!images.isEmpty()) {
        setIconSize(images.first().size());
    }
    viewport()->update();
}

void TSortListView::SortRows()
{
    QTreeWidgetItem* sel = Selected();
    QTreeWidgetItem* cur = currentItem();
    QList<QTreeWidgetItem*> items;
    {
        const QSignalBlocker block(selectionModel());
        while (topLevelItemCount() > 0) {
            items.append(takeTopLevelItem(0));
        }
    }
    const int col = m_sortColunm;
    const bool inc = m_increase;
    auto less = [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        if (m_compare) {
            return m_compare(a, b) < 0;
        }
        const int r = QString::compare(a->text(col), b->text(col), Qt::CaseInsensitive);
        return (inc ? r : -r) < 0;
    };
    std::stable_sort(items.begin(), items.end(), less);
    {
        const QSignalBlocker block(selectionModel());
        addTopLevelItems(items);
        if (cur) {
            setCurrentItem(cur, 0, QItemSelectionModel::NoUpdate);
        }
        if (sel) {
            sel->setSelected(true);
        }
    }
    viewport()->update();
}

void TSortListView::SetOnDrawItem(DrawItemFn fn)
{
    m_drawItem = std::move(fn);
    viewport()->update();
}

void TSortListView::SetOnCustomDraw(CustomDrawFn fn)
{
    m_customDraw = std::move(fn);
    viewport()->update();
}

void TSortListView::SetGridLines(bool on)
{
    if (on == m_gridLines) {
        return;
    }
    m_gridLines = on;
    viewport()->update();
}

QRect TSortListView::RowRect(const QTreeWidgetItem* item) const
{
    if (!item) {
        return {};
    }
    const QRect cell = visualItemRect(item);
    if (!cell.isValid()) {
        return {};
    }
    return QRect(-horizontalScrollBar()->value(), cell.top(), m_header->length(), cell.height());
}

void TSortListView::SubItemTextOut(QPainter& p, const QString& text, const QRect& cell, Qt::Alignment align)
{
    if (text.isEmpty()) {
        return;
    }
    const QFontMetrics fm(p.font());
    const int flags = int(HorizontalOf(align) | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs);
    QRect r = cell.adjusted(5, 0, -5, 0);
    const int th = fm.height();
    r.setTop(r.top() + (cell.height() - th) / 2);
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    p.save();
    p.setBackgroundMode(Qt::TransparentMode);
    p.setClipRect(r, Qt::IntersectClip);
    p.drawText(r, flags, fm.elidedText(text, Qt::ElideRight, r.width(), Qt::TextExpandTabs));
    p.restore();
}

void TSortListView::drawRow(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QTreeWidgetItem* item = itemFromIndex(index);
    const QRect row(
        -horizontalScrollBar()->value(), option.rect.top(), m_header->length(), option.rect.height());
    if (m_drawItem && item) {
        painter->save();
        painter->setFont(font());
        m_drawItem(*painter, item, row, selectionModel()->isSelected(index));
        painter->restore();
    } else {
        QTreeWidget::drawRow(painter, option, index);
    }
}

void TSortListView::paintEvent(QPaintEvent* e)
{
    if (m_customDraw) {
        QPainter p(viewport());
        m_customDraw(p, e->rect());
    }
    QTreeWidget::paintEvent(e);
    if (!m_gridLines || columnCount() == 0) {
        return;
    }
    // Grid lines over the whole client area: one per column edge, one per row height.
    QPainter p(viewport());
    p.setPen(QColor(0xE0, 0xE0, 0xE0));
    const int h = viewport()->height();
    const int x0 = -horizontalScrollBar()->value();
    int x = x0;
    for (int c = 0; c < columnCount(); ++c) {
        x += columnWidth(c);
        p.drawLine(x - 1, 0, x - 1, h);
    }
    int rowH = topLevelItemCount() > 0 ? visualItemRect(topLevelItem(0)).height() : 0;
    if (rowH <= 0) {
        rowH = fontMetrics().height() + 4;
    }
    int y = 0;
    if (topLevelItemCount() > 0) {
        const QRect first = visualItemRect(topLevelItem(0));
        y = first.top() % rowH;
    }
    for (int yy = y + rowH - 1; yy < h; yy += rowH) {
        p.drawLine(x0, yy, x0 + m_header->length(), yy);
    }
}

void TSortListView::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    for (const QModelIndex& i : deselected.indexes()) {
        if (i.column() == 0) {
            Q_EMIT SelectItem(itemFromIndex(i), false);
        }
    }
    for (const QModelIndex& i : selected.indexes()) {
        if (i.column() == 0) {
            Q_EMIT SelectItem(itemFromIndex(i), true);
        }
    }
}
