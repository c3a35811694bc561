// The sortable list: header click rules, arrow and caption placement, sorting by the owner's rule.
#include "controls/sortlistview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

QImage Arrow(int w = 10, int h = 10)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 128));
    return img;
}

std::unique_ptr<TSortListView> SurveyLikeList()
{
    auto list = std::make_unique<TSortListView>();
    list->AddColumn(QString(), 30);
    list->AddColumn(QStringLiteral("SSID"), 115);
    list->AddColumn(QStringLiteral("Channel"), 50, Qt::AlignHCenter);
    list->AddColumn(QStringLiteral("Signal"), 60);
    list->SetIncrease(false);
    list->SetSortColunm(3);
    list->SetSkipSort1(0);
    list->SetIncBMP(Arrow());
    list->SetDecBMP(Arrow());
    return list;
}

TEST(SortListView, Defaults)
{
    TSortListView list;
    EXPECT_TRUE(list.Increase());
    EXPECT_EQ(list.SortColunm(), 0);
    EXPECT_EQ(list.SkipSort1(), -1);
    EXPECT_TRUE(list.IncBMP().isNull());
}

TEST(SortListView, HeaderClickRules)
{
    struct Step
    {
        int click;
        int sortColunm;
        bool increase;
    };
    // Starting from the survey settings: Signal (3), descending, column 0 never sorts.
    const Step steps[] = {
        { 0, 3, false }, // the skipped column changes nothing
        { 3, 3, true }, // the sorted column again: direction inverted
        { 3, 3, false }, // twice: back to the first direction
        { 1, 1, false }, // a new column keeps the direction
        { 2, 2, false },
        { 2, 2, true },
        { 0, 2, true },
    };
    auto list = SurveyLikeList();
    QSignalSpy spy(list.get(), &TSortListView::ColumnClick);
    for (const Step& s : steps) {
        list->HeaderClick(s.click);
        EXPECT_EQ(list->SortColunm(), s.sortColunm) << "click " << s.click;
        EXPECT_EQ(list->Increase(), s.increase) << "click " << s.click;
    }
    // The owner hears every click, the skipped column's too, after the state changed.
    ASSERT_EQ(spy.count(), int(std::size(steps)));
    EXPECT_EQ(spy.at(0).at(0).toInt(), 0);
}

TEST(SortListView, SkippingTheSortedColumnMovesTheSortToTheNext)
{
    TSortListView list;
    list.SetSkipSort1(0);
    EXPECT_EQ(list.SortColunm(), 1);
    list.SetSortColunm(4);
    list.SetSkipSort1(2);
    EXPECT_EQ(list.SortColunm(), 4);
}

// A press and release delivered to the header as the window system would.
void Click(QWidget* w, QPoint pos)
{
    QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &press);
    QMouseEvent release(
        QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &release);
}

TEST(SortListView, RealHeaderClickGoesThroughTheRule)
{
    auto list = SurveyLikeList();
    list->resize(400, 200);
    list->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    QHeaderView* h = list->header();
    const QPoint signal(h->sectionViewportPosition(3) + 10, h->height() / 2);
    Click(h->viewport(), signal);
    EXPECT_TRUE(list->Increase());
    const QPoint icon(h->sectionViewportPosition(0) + 5, h->height() / 2);
    Click(h->viewport(), icon);
    EXPECT_EQ(list->SortColunm(), 3);
    EXPECT_TRUE(list->Increase());
}

TEST(HeaderLayout, ArrowPlacement)
{
    // Item 100 x 20 at (50, 0), arrow 10 x 10: 5 pixels from the right edge, centred vertically.
    const THeaderItemLayout l = LayoutHeaderItem(QRect(50, 0, 100, 20), QSize(10, 10), 30, Qt::AlignLeft);
    ASSERT_TRUE(l.hasArrow);
    EXPECT_EQ(l.arrow, QRect(135, 5, 10, 10));
    EXPECT_EQ(l.text, QRect(55, 0, 90, 20)) << "short text: the text rectangle is not pulled back";

    // No arrow for an unsorted column: no place reserved.
    const THeaderItemLayout none = LayoutHeaderItem(QRect(50, 0, 100, 20), QSize(), 300, Qt::AlignRight);
    EXPECT_FALSE(none.hasArrow);
    EXPECT_EQ(none.text, QRect(55, 0, 90, 20));
}

TEST(HeaderLayout, ColumnNarrowerThanTheArrowClipsIt)
{
    const THeaderItemLayout l = LayoutHeaderItem(QRect(30, 0, 8, 20), QSize(10, 10), 10, Qt::AlignLeft);
    ASSERT_TRUE(l.hasArrow);
    EXPECT_EQ(l.arrow, QRect(30, 5, 8, 10));
    EXPECT_TRUE(l.text.isEmpty());
    // A header lower than the arrow clips it at the top and bottom.
    const THeaderItemLayout low = LayoutHeaderItem(QRect(0, 0, 60, 6), QSize(10, 10), 0, Qt::AlignLeft);
    EXPECT_EQ(low.arrow, QRect(45, 0, 10, 6));
}

TEST(HeaderLayout, TextPulledBackFromTheArrow)
{
    struct Case
    {
        const char* name;
        Qt::Alignment align;
        int textWidth;
        int right; // expected right end (one past) of the text rectangle
    };
    // Item (0, 0, 100, 20): text area 5..95, arrow at 85..95.
    const Case cases[] = {
        { "left, short text", Qt::AlignLeft, 77, 95 }, // 85 < 5 + 77 + 2 is false
        { "left, text reaching the arrow", Qt::AlignLeft, 79, 83 }, // 85 < 86
        { "right, always", Qt::AlignRight, 1, 83 },
        { "centre, short text", Qt::AlignHCenter, 66, 95 }, // centred end 83, 85 < 85 is false
        { "centre, longer text", Qt::AlignHCenter, 68, 83 }, // end 84, 85 < 86
    };
    for (const Case& c : cases) {
        const THeaderItemLayout l
            = LayoutHeaderItem(QRect(0, 0, 100, 20), QSize(10, 10), c.textWidth, c.align);
        EXPECT_EQ(l.text.left() + l.text.width(), c.right) << c.name;
        EXPECT_EQ(l.text.left(), 5) << c.name;
    }
}

TEST(SortListView, HeaderDrawsTheArrowOfTheDirectionInTheSortedColumn)
{
    auto list = SurveyLikeList();
    QImage up(10, 10, QImage::Format_RGB32);
    up.fill(qRgb(0, 160, 0));
    QImage down(10, 10, QImage::Format_RGB32);
    down.fill(qRgb(200, 0, 0));
    list->SetIncBMP(up);
    list->SetDecBMP(down);
    list->resize(400, 200);
    list->show();
    QHeaderView* h = list->header();
    auto arrowPixel = [&] {
        const QRect item(h->sectionViewportPosition(3), 0, h->sectionSize(3), h->height());
        const THeaderItemLayout l = LayoutHeaderItem(item, QSize(10, 10), 0, Qt::AlignLeft);
        return QColor(h->viewport()->grab().toImage().pixel(l.arrow.center()));
    };
    EXPECT_EQ(arrowPixel(), QColor(200, 0, 0)) << "descending";
    list->HeaderClick(3);
    EXPECT_EQ(arrowPixel(), QColor(0, 160, 0)) << "ascending";
}

TEST(SortListView, RowsCarryDataAndSortByTheOwnersRule)
{
    auto list = SurveyLikeList();
    const int signal[] = { 40, 90, 10 };
    for (int i = 0; i < 3; ++i) {
        list->AddRow({ QString(), QStringLiteral("net%1").arg(i), QString::number(i + 1),
                         QStringLiteral("%1%").arg(signal[i]) },
            i, i % 2);
    }
    list->SetOnCompare([&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        const int sa = signal[TSortListView::RowData(a).toInt()];
        const int sb = signal[TSortListView::RowData(b).toInt()];
        const int r = sa < sb ? -1 : (sa > sb ? 1 : 0);
        return list->Increase() ? r : -r;
    });
    list->Row(2)->setSelected(true);
    list->SortRows();
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(TSortListView::RowData(list->Row(0)).toInt(), 1) << "strongest first";
    EXPECT_EQ(TSortListView::RowData(list->Row(2)).toInt(), 2);
    EXPECT_EQ(TSortListView::RowData(list->Selected()).toInt(), 2) << "the selection follows its row";
    EXPECT_EQ(TSortListView::CellImage(list->Row(0), 0), 1);
    list->HeaderClick(3);
    list->SortRows();
    EXPECT_EQ(TSortListView::RowData(list->Row(0)).toInt(), 2) << "weakest first";
}

TEST(SortListView, SelectionIsReported)
{
    TSortListView list;
    list.AddColumn(QStringLiteral("Name"), 300);
    list.AddRow({ QStringLiteral("a") });
    list.AddRow({ QStringLiteral("b") });
    QSignalSpy spy(&list, &TSortListView::SelectItem);
    list.Row(1)->setSelected(true);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(1).toBool());
}

TEST(SortListView, SubItemTextOutDrawsNothingForEmptyTextAndKeepsThePadding)
{
    QImage img(100, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        TSortListView::SubItemTextOut(p, QString(), QRect(0, 0, 100, 20), Qt::AlignLeft);
    }
    EXPECT_EQ(img.pixel(50, 10), qRgb(255, 255, 255));
    {
        QPainter p(&img);
        p.setPen(Qt::black);
        TSortListView::SubItemTextOut(
            p, QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWW"), QRect(0, 0, 100, 20), Qt::AlignLeft);
    }
    for (int y = 0; y < 20; ++y) {
        for (int x : { 0, 1, 2, 3, 4, 95, 96, 97, 98, 99 }) {
            ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
        }
    }
}

} // namespace
