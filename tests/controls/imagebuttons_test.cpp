// The image buttons: face choice, strip parts, shaping, double clicks and hover.
#include "controls/imagebuttons.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

using F = TFaceChoice;

struct FaceCase
{
    const char* name;
    TFaceInput in;
    TFaceChoice out;
};

TFaceInput All(bool disabled, bool pressed, bool inside, bool shift, bool autoShape)
{
    return { disabled, pressed, inside, shift, autoShape, true, true, true, true };
}

TEST(TrifaceFaceChoice, FirstRuleThatApplies)
{
    TFaceInput noOver = All(false, false, true, true, true);
    noOver.hasFaceOver = false;
    TFaceInput noOverPlain = All(false, false, true, false, false);
    noOverPlain.hasFaceOver = false;
    TFaceInput noDisable = All(true, false, false, false, false);
    noDisable.hasFaceDisable = false;
    TFaceInput noDown = All(false, true, true, false, false);
    noDown.hasFaceDown = false;
    TFaceInput nothing;
    nothing.disabled = true;
    TFaceInput onlyOver = All(false, false, true, false, false);
    onlyOver.hasFace = false;
    onlyOver.hasFaceDown = onlyOver.hasFaceDisable = false;
    TFaceInput shiftNothing = All(false, false, true, true, true);
    shiftNothing.hasFace = shiftNothing.hasFaceOver = false;

    const FaceCase cases[] = {
        { "normal", All(false, false, false, false, false), { F::Face, F::Plain } },
        { "disabled beats pressed and hover", All(true, true, true, true, true),
            { F::FaceDisable, F::Plain } },
        { "pressed beats hover", All(false, true, true, true, true), { F::FaceDown, F::Plain } },
        { "hover", All(false, false, true, false, false), { F::FaceOver, F::Plain } },
        { "hover with shift and shape", All(false, false, true, true, true), { F::FaceOver, F::Shift } },
        { "hover with shift, no shape", All(false, false, true, true, false), { F::FaceOver, F::Offset } },
        { "shift without FaceOver shows Face shifted", noOver, { F::Face, F::Shift } },
        { "hover without FaceOver shows Face", noOverPlain, { F::Face, F::Plain } },
        { "disabled without FaceDisable shows Face", noDisable, { F::Face, F::Plain } },
        { "pressed without FaceDown shows Face", noDown, { F::Face, F::Plain } },
        { "no pictures at all: the flat face", nothing, { F::ColorFace, F::Plain } },
        { "hover picture but no Face: the flat face only when not chosen", onlyOver,
            { F::FaceOver, F::Plain } },
        { "shift with neither picture: flat face", shiftNothing, { F::ColorFace, F::Plain } },
    };
    for (const FaceCase& c : cases) {
        const TFaceChoice got = ChooseTrifaceFace(c.in);
        EXPECT_EQ(got.face, c.out.face) << c.name;
        EXPECT_EQ(got.mode, c.out.mode) << c.name;
    }
}

TEST(BitmapBtnStrip, PartOfTheStripByStateAndFaceCount)
{
    struct Case
    {
        int numFaces;
        bool pressed;
        bool disabled;
        std::optional<QRect> src;
    };
    const QSize strip(90, 20);
    const Case cases[] = {
        { 0, false, false, std::nullopt },
        { 1, false, false, QRect(0, 0, 90, 20) },
        { 1, true, false, QRect(0, 0, 90, 20) },
        { 1, false, true, QRect(0, 0, 90, 20) },
        { 2, false, false, QRect(0, 0, 45, 20) },
        { 2, true, false, QRect(45, 0, 45, 20) },
        { 2, false, true, QRect(0, 0, 45, 20) },
        { 3, false, false, QRect(0, 0, 30, 20) },
        { 3, true, false, QRect(30, 0, 30, 20) },
        { 3, false, true, QRect(60, 0, 30, 20) },
        { 4, false, false, QRect(0, 0, 22, 20) },
        { 4, true, false, QRect() },
        { 4, false, true, QRect() },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BitmapBtnSourceRect(strip, c.numFaces, c.pressed, c.disabled), c.src)
            << c.numFaces << " faces, pressed " << c.pressed << ", disabled " << c.disabled;
    }
    EXPECT_EQ(BitmapBtnSourceRect(QSize(), 2, false, false), std::nullopt);
}

// A rounded face: fuchsia corners, solid colour inside.
QImage RoundFace(QColor inside, int w = 40, int h = 16)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawRoundedRect(QRect(0, 0, w, h), 6, 6);
    return img;
}

TEST(TrifaceBtn, AutoShapeTakesTheFaceSizeAndItsRegion)
{
    QWidget host;
    host.resize(200, 100);
    auto* b = new TTrifaceBtn(&host);
    const QImage face = RoundFace(Qt::blue);
    b->SetAutoShape(true);
    EXPECT_FALSE(b->AutoShape()) << "no face yet: AutoShape stays off";
    b->SetFace(face);
    b->SetAutoShape(true);
    ASSERT_TRUE(b->AutoShape());
    EXPECT_FALSE(b->FocusRect()) << "a shaped button shows no focus marks";
    EXPECT_EQ(b->size(), face.size());
    EXPECT_EQ(b->mask(), *RegionFromFace(face, qRgb(255, 0, 255), 0));
    EXPECT_FALSE(b->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(b->mask().contains(QPoint(20, 8)));
    b->SetBounds(5, 6, 100, 50);
    EXPECT_EQ(b->geometry(), QRect(5, 6, 40, 16));
    b->setGeometry(1, 1, 90, 90);
    EXPECT_EQ(b->size(), face.size()) << "a layout cannot resize a shaped button";
    // Turning the focus marks on removes the shape.
    b->SetFocusRect(true);
    EXPECT_FALSE(b->AutoShape());
    EXPECT_TRUE(b->mask().isEmpty());
    b->setGeometry(1, 1, 90, 30);
    EXPECT_EQ(b->size(), QSize(90, 30));
}

TEST(TrifaceBtn, ToleranceReshapes)
{
    QWidget host;
    auto* b = new TTrifaceBtn(&host);
    QImage face = RoundFace(Qt::blue);
    face.setPixel(20, 8, qRgb(255, 3, 251)); // 5 away from fuchsia
    b->SetFace(face);
    b->SetAutoShape(true);
    EXPECT_TRUE(b->mask().contains(QPoint(20, 8)));
    b->SetTransTolerance(5);
    EXPECT_FALSE(b->mask().contains(QPoint(20, 8)));
    EXPECT_EQ(b->LastShapeError(), TShapeError::None);
}

TEST(ColorBtn, DoubleClickCountsAsASecondClick)
{
    TTrifaceBtn b;
    b.resize(80, 20);
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    const QPointF pos(10, 10);
    auto send = [&](QEvent::Type t) {
        QMouseEvent e(t, pos, b.mapToGlobal(pos), Qt::LeftButton,
            t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&b, &e);
    };
    // What the system sends for a fast double click: press, release, double click, release.
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

QRgb Centre(QWidget& w)
{
    return w.grab().toImage().pixel(w.width() / 2, w.height() / 2);
}

TEST(TrifaceBtn, HoverTrackingShowsFaceOverUntilTheMouseLeaves)
{
    QWidget host;
    host.resize(200, 100);
    auto* b = new TTrifaceBtn(&host);
    b->setGeometry(10, 10, 40, 16);
    b->SetFace(RoundFace(Qt::red));
    b->SetFaceOver(RoundFace(Qt::green));
    host.show();
    EXPECT_EQ(QColor(Centre(*b)), QColor(Qt::red));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 8), b->mapToGlobal(QPointF(20, 8)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b, &move);
    EXPECT_TRUE(b->IsMouseInside());
    EXPECT_EQ(QColor(Centre(*b)), QColor(Qt::green));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    EXPECT_FALSE(b->IsMouseInside());
    EXPECT_EQ(QColor(Centre(*b)), QColor(Qt::red));
    // Disabled with no FaceDisable: Face.
    b->setEnabled(false);
    EXPECT_EQ(b->CurrentFaceChoice().face, TFaceChoice::Face);
    EXPECT_EQ(QColor(Centre(*b)), QColor(Qt::red));
}

TEST(TrifaceBtn, ShiftOnOverRaisesTheFaceOverAShadow)
{
    QWidget host;
    host.resize(200, 100);
    auto* b = new TTrifaceBtn(&host);
    b->SetFace(RoundFace(Qt::white, 40, 16));
    b->SetAutoShape(true);
    b->SetShiftOnOver(true);
    host.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 8), b->mapToGlobal(QPointF(20, 8)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b, &move);
    ASSERT_EQ(b->CurrentFaceChoice().mode, TFaceChoice::Shift);
    const QImage shot = b->grab().toImage();
    // The bottom row of the shape is the shadow, the middle is the face.
    EXPECT_EQ(QColor(shot.pixel(20, 15)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(20, 8)), QColor(Qt::white));
}

TEST(TrifaceBtn, EmptyCaptionDrawsNoTextAndNoFocusRectangle)
{
    TColorBtn withText;
    withText.resize(60, 24);
    TColorBtn empty;
    empty.resize(60, 24);
    withText.setText(QStringLiteral("Next"));
    // Same flat face; only the caption differs.
    const QImage a = withText.grab().toImage();
    const QImage b = empty.grab().toImage();
    EXPECT_NE(a, b);
    bool anyDifferentFromFace = false;
    for (int x = 5; x < 55; ++x) {
        anyDifferentFromFace |= b.pixel(x, 12) != b.pixel(30, 3);
    }
    EXPECT_FALSE(anyDifferentFromFace) << "no text pixels without a caption";
}

} // namespace
