// The small controls: centred edit, picture button, ellipsis label, paint panel.
#include "controls/smallcontrols.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

QPixmap Pic(QColor c)
{
    QPixmap pm(20, 10);
    pm.fill(c);
    return pm;
}

QColor Shown(const TKestImage& k)
{
    return QColor(k.pixmap().toImage().pixel(1, 1));
}

TEST(CenterEdit, TextIsCentred)
{
    TCenterEdit e;
    EXPECT_EQ(e.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

struct KestFixture : ::testing::Test
{
    QWidget form;
    QWidget* panel = new QWidget(&form);
    QLabel* normal = new QLabel(&form);
    QLabel* hot = new QLabel(&form);
    QLabel* off = new QLabel(&form);
    void SetUp() override
    {
        normal->setPixmap(Pic(Qt::blue));
        hot->setPixmap(Pic(Qt::yellow));
        off->setPixmap(Pic(Qt::gray));
    }
    TKestImage* Make(bool withDisabled)
    {
        auto* k = new TKestImage(panel);
        k->SetImageSource(TKestImage::isrcImage);
        k->SetMouseOverEffect(true);
        k->SetImage(0, normal);
        k->SetImage(1, hot);
        if (withDisabled) {
            k->SetImage(3, off);
        }
        return k;
    }
};

TEST_F(KestFixture, HoverShowsThePictureOneAndFiresTheEvents)
{
    TKestImage* k = Make(false);
    EXPECT_EQ(Shown(*k), QColor(Qt::blue)) << "assigning Image0 shows it";
    QSignalSpy enter(k, &TKestImage::mouseEnter);
    QSignalSpy leave(k, &TKestImage::mouseLeave);
    k->MouseEntered();
    EXPECT_EQ(Shown(*k), QColor(Qt::yellow));
    k->MouseLeft();
    EXPECT_EQ(Shown(*k), QColor(Qt::blue));
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(leave.count(), 1);
}

TEST_F(KestFixture, DisabledWithoutImage3KeepsItsPictureAndIgnoresTheMouse)
{
    TKestImage* k = Make(false);
    k->setEnabled(false);
    EXPECT_EQ(Shown(*k), QColor(Qt::blue));
    QSignalSpy enter(k, &TKestImage::mouseEnter);
    QSignalSpy leave(k, &TKestImage::mouseLeave);
    k->MouseEntered();
    EXPECT_EQ(Shown(*k), QColor(Qt::blue));
    k->MouseLeft();
    EXPECT_EQ(enter.count() + leave.count(), 0);
    // Enabling again while the mouse is inside shows the highlighted picture.
    k->MouseEntered();
    k->setEnabled(true);
    EXPECT_EQ(Shown(*k), QColor(Qt::yellow));
}

TEST_F(KestFixture, DisablingShowsImage3)
{
    TKestImage* k = Make(true);
    k->setEnabled(false);
    EXPECT_EQ(Shown(*k), QColor(Qt::gray));
    EXPECT_EQ(k->ImageIndex(), 3);
}

TEST_F(KestFixture, TabButtonsOfOneGroupReleaseEachOther)
{
    TKestImage* a = Make(false);
    TKestImage* b = Make(false);
    TKestImage* other = Make(false);
    for (TKestImage* k : { a, b, other }) {
        k->SetImageStyle(TKestImage::isTabButton);
        k->SetMouseOverEffect(false);
        k->resize(20, 10);
    }
    a->SetTag(1);
    b->SetTag(1);
    other->SetTag(2);
    QTest::mousePress(b, Qt::LeftButton);
    QTest::mousePress(other, Qt::LeftButton);
    EXPECT_EQ(b->ImageIndex(), 1);
    QTest::mousePress(a, Qt::LeftButton);
    EXPECT_EQ(a->ImageIndex(), 1);
    EXPECT_EQ(b->ImageIndex(), 0) << "same group released";
    EXPECT_EQ(other->ImageIndex(), 1) << "other group untouched";
}

TEST_F(KestFixture, PushButtonAndClick)
{
    TKestImage* k = Make(false);
    k->SetImageStyle(TKestImage::isPushButton);
    k->SetMouseOverEffect(false);
    k->resize(20, 10);
    QSignalSpy clicked(k, &TKestImage::clicked);
    QTest::mousePress(k, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(k->ImageIndex(), 1);
    QTest::mouseRelease(k, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(k->ImageIndex(), 0);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(KestImage, ImageListSource)
{
    TKestImage k;
    k.SetImageIndex(2);
    EXPECT_EQ(k.ImageIndex(), 0) << "no list: nothing changes";
    k.SetImageList({ Pic(Qt::red), Pic(Qt::green), Pic(Qt::blue) });
    EXPECT_EQ(Shown(k), QColor(Qt::red));
    k.SetImageIndex(2);
    EXPECT_EQ(Shown(k), QColor(Qt::blue));
    k.SetImageIndex(7);
    EXPECT_EQ(k.ImageIndex(), 2);
}

TEST(EllipsisLabel, ShorteningRules)
{
    QFont f;
    f.setPixelSize(12);
    const QFontMetrics fm(f);
    const QString path = QStringLiteral("/media/cdrom/Documents/Manual/UserGuide.pdf");
    const int w = fm.horizontalAdvance(QStringLiteral("/media/...UserGuide.pdf")) + 2;
    EXPECT_EQ(TEllipsisLabel::Elide(path, fm, w, false, false, false), path) << "no flag: unchanged";
    const QString p = TEllipsisLabel::Elide(path, fm, w, false, false, true);
    EXPECT_TRUE(p.endsWith(QStringLiteral("/UserGuide.pdf"))) << qPrintable(p);
    EXPECT_TRUE(p.contains(QStringLiteral("..."))) << qPrintable(p);
    EXPECT_LE(fm.horizontalAdvance(p), w);
    const QString e = TEllipsisLabel::Elide(path, fm, w, true, false, false);
    EXPECT_TRUE(e.startsWith(QStringLiteral("/media"))) << qPrintable(e);
    EXPECT_LE(fm.horizontalAdvance(e), w);
    const QString words = QStringLiteral("Unable to open the user guide.");
    const QString wd = TEllipsisLabel::Elide(
        words, fm, fm.horizontalAdvance(QStringLiteral("Unable to op")), false, true, false);
    EXPECT_EQ(wd, QStringLiteral("Unable to...")) << qPrintable(wd);
    EXPECT_EQ(TEllipsisLabel::Elide(words, fm, 1000, true, true, true), words) << "fits: unchanged";
}

TEST(PaintPanel, OwnerPaintingReplacesThePanelsOwn)
{
    TPaintPanel panel;
    panel.resize(50, 30);
    panel.setText(QStringLiteral("Searching..."));
    EXPECT_EQ(panel.Caption(), QStringLiteral("Searching..."));
    int calls = 0;
    panel.SetOnPaint([&](TPaintPanel* pp, QPainter& p) {
        ++calls;
        p.fillRect(pp->rect(), Qt::magenta);
    });
    const QImage shot = panel.grab().toImage();
    EXPECT_GE(calls, 1);
    EXPECT_EQ(QColor(shot.pixel(25, 15)), QColor(Qt::magenta));
}

} // namespace
