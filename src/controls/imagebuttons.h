#pragma once

// The owner-drawn image buttons of every window: a flat two-colour button (TColorBtn), a button that
// shows one of four pictures by state (TTrifaceBtn) and one that takes its faces from one picture
// strip (TBitmapBtn). The caption is always drawn by the button on top of the face.

#include "controls/shaperegion.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QRegion>

class QPainter;

// Drawing state handed to the face, glyph and text painters.
struct TButtonDrawState
{
    bool pressed = false;
    bool disabled = false;
    bool focused = false;
    bool isDefault = false; // only the focus marks look at it
};

class TColorBtn : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TColorBtn(QWidget* parent = nullptr);
    ~TColorBtn() override;

    QColor ColorLo() const { return m_colorLo; }
    void SetColorLo(const QColor& c);
    QColor ColorHi() const { return m_colorHi; }
    void SetColorHi(const QColor& c);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& c);
    // The glyph image list (all pictures of one size); empty means none.
    const QList<QPixmap>& Glyphs() const { return m_glyphs; }
    void SetGlyphs(const QList<QPixmap>& glyphs);
    int GlyphIndex() const { return m_glyphIndex; }
    void SetGlyphIndex(int index);
    bool IsDefaultButton() const { return m_default; }
    void SetDefaultButton(bool on);

    // The state the next paint would use.
    TButtonDrawState DrawState() const;

    QSize sizeHint() const override;

    // Graphics fault of the last shaping, and its text ("" when none).
    TShapeError LastShapeError() const { return m_shapeError; }
    QString LastShapeErrorText() const { return ShapeErrorText(m_shapeError); }

Q_SIGNALS:
    // A shaping fault: the button keeps its previous region.
    void graphicsError(const QString& message);

protected:
    virtual void DoDrawButtonFace(QPainter& p, const TButtonDrawState& st);
    virtual void DoDrawButtonText(QPainter& p, const TButtonDrawState& st);
    virtual void DoDrawButtonGlyph(QPainter& p, const TButtonDrawState& st);

    // The flat face of this class, used by the picture buttons when they have no picture.
    void DrawColorFace(QPainter& p, const TButtonDrawState& st);
    // The caption (and focus rectangle) as this class draws it, offset by (dx, dy) when enabled.
    void DrawColorText(QPainter& p, const TButtonDrawState& st);
    bool HasGlyph() const;
    // Repaints the button and its surroundings on the parent (a shaped button's corners).
    void DoRedrawButton();
    void ReportShapeError(TShapeError error);

    void paintEvent(QPaintEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QColor m_colorLo;
    QColor m_colorHi;
    QColor m_color;
    QList<QPixmap> m_glyphs;
    int m_glyphIndex = 0;
    bool m_default = false;
    TShapeError m_shapeError = TShapeError::None;
};

// Which of the four pictures a TTrifaceBtn draws, and how.
struct TFaceChoice
{
    enum Pic { ColorFace, Face, FaceOver, FaceDown, FaceDisable };
    enum Mode { Plain, Offset, Shift }; // Offset: drawn at (-1, -1); Shift: raised over its shadow
    Pic face = ColorFace;
    Mode mode = Plain;
    friend bool operator==(const TFaceChoice&, const TFaceChoice&) = default;
};

struct TFaceInput
{
    bool disabled = false;
    bool pressed = false;
    bool mouseInside = false;
    bool shiftOnOver = false;
    bool autoShape = false;
    bool hasFace = false;
    bool hasFaceOver = false;
    bool hasFaceDown = false;
    bool hasFaceDisable = false;
};

// The first rule that applies: disabled, pressed, hovered with shift, hovered, normal; an empty
// choice falls back to Face, an empty Face to the flat face.
TFaceChoice ChooseTrifaceFace(const TFaceInput& in);

class TTrifaceBtn : public TColorBtn
{
    Q_OBJECT
public:
    explicit TTrifaceBtn(QWidget* parent = nullptr);

    QImage Face() const { return m_face; }
    void SetFace(const QImage& img);
    QImage FaceOver() const { return m_faceOver; }
    void SetFaceOver(const QImage& img);
    QImage FaceDown() const { return m_faceDown; }
    void SetFaceDown(const QImage& img);
    QImage FaceDisable() const { return m_faceDisable; }
    void SetFaceDisable(const QImage& img);

    bool FocusRect() const { return m_focusRect; }
    void SetFocusRect(bool on);
    bool AutoShape() const { return m_autoShape; }
    void SetAutoShape(bool on);
    QColor TransColor() const { return m_transColor; }
    void SetTransColor(const QColor& c);
    qint16 TransTolerance() const { return m_transTolerance; }
    void SetTransTolerance(qint16 t);
    bool ShiftOnOver() const { return m_shiftOnOver; }
    void SetShiftOnOver(bool on);

    bool IsMouseInside() const { return m_mouseInside; }
    TFaceChoice CurrentFaceChoice() const;

    // Moves and sizes the button; with AutoShape the size is the face's.
    void SetBounds(int left, int top, int width, int height);
    QSize sizeHint() const override;

protected:
    void DoDrawButtonFace(QPainter& p, const TButtonDrawState& st) override;
    void DoDrawButtonText(QPainter& p, const TButtonDrawState& st) override;
    virtual bool DoShapeButton();

    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void ApplyShapeState();
    void DrawShifted(QPainter& p, const QImage& img);

    QImage m_face;
    QImage m_faceOver;
    QImage m_faceDown;
    QImage m_faceDisable;
    bool m_focusRect = true;
    bool m_autoShape = false;
    QColor m_transColor = QColor(255, 0, 255);
    qint16 m_transTolerance = 0;
    bool m_shiftOnOver = false;
    bool m_mouseInside = false;
    bool m_tracking = false;
};

// The part of a picture strip of numFaces equal faces that a TBitmapBtn copies. Returns nothing when
// the flat face is to be drawn (empty strip, numFaces < 1); an empty rectangle draws nothing.
std::optional<QRect> BitmapBtnSourceRect(QSize strip, int numFaces, bool pressed, bool disabled);

class TBitmapBtn : public TColorBtn
{
    Q_OBJECT
public:
    explicit TBitmapBtn(QWidget* parent = nullptr);

    QImage Faces() const { return m_faces; }
    void SetFaces(const QImage& img);
    int NumFaces() const { return m_numFaces; }
    void SetNumFaces(int n);
    bool FocusRect() const { return m_focusRect; }
    void SetFocusRect(bool on);
    bool AutoShape() const { return m_autoShape; }
    void SetAutoShape(bool on);
    QColor TransColor() const { return m_transColor; }
    void SetTransColor(const QColor& c);
    qint16 TransTolerance() const { return m_transTolerance; }
    void SetTransTolerance(qint16 t);

    // Size of one face: the strip's width divided by NumFaces, and its height.
    QSize FaceSize() const;
    void SetBounds(int left, int top, int width, int height);
    QSize sizeHint() const override;

protected:
    void DoDrawButtonFace(QPainter& p, const TButtonDrawState& st) override;
    virtual bool DoShapeButton();

private:
    void ApplyShapeState();

    QImage m_faces;
    int m_numFaces = 2;
    bool m_focusRect = true;
    bool m_autoShape = false;
    QColor m_transColor = QColor(255, 0, 255);
    qint16 m_transTolerance = 0;
};

// The eight corner strokes (6 pixels each) that mark a focused picture button.
void DrawCornerFocusMarks(QPainter& p, const QRect& r);
