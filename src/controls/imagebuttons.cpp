#include "controls/imagebuttons.h"

#include <QBitmap>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QColor kWindowFrame(0, 0, 0);

// Round to the nearest integer, halves to even.
int RoundEven(double v)
{
    return int(std::nearbyint(v));
}

void DrawFocusRectInset(QPainter& p, const QRect& r, int inset)
{
    const QRect fr = r.adjusted(inset, inset, -inset - 1, -inset - 1);
    if (fr.width() <= 0 || fr.height() <= 0) {
        return;
    }
    QPen pen(kWindowFrame);
    pen.setStyle(Qt::DotLine);
    p.save();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(fr);
    p.restore();
}

// A one-colour silhouette of a glyph: its opaque pixels.
QBitmap GlyphMask(const QPixmap& glyph)
{
    if (glyph.hasAlphaChannel()) {
        return glyph.mask();
    }
    return QBitmap::fromImage(glyph.toImage().createHeuristicMask());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TColorBtn

TColorBtn::TColorBtn(QWidget* parent)
    : QAbstractButton(parent)
    , m_colorLo(palette().color(QPalette::Dark))
    , m_colorHi(palette().color(QPalette::Light))
    , m_color(palette().color(QPalette::Button))
{
    setFocusPolicy(Qt::StrongFocus);
}

TColorBtn::~TColorBtn() = default;

void TColorBtn::SetColorLo(const QColor& c)
{
    if (c == m_colorLo) {
        return;
    }
    m_colorLo = c;
    update();
}

void TColorBtn::SetColorHi(const QColor& c)
{
    if (c == m_colorHi) {
        return;
    }
    m_colorHi = c;
    update();
}

void TColorBtn::SetColor(const QColor& c)
{
    if (c == m_color) {
        return;
    }
    m_color = c;
    update();
}

void TColorBtn::SetGlyphs(const QList<QPixmap>& glyphs)
{
    m_glyphs = glyphs;
    update();
}

void TColorBtn::SetGlyphIndex(int index)
{
    if (index == m_glyphIndex) {
        return;
    }
    m_glyphIndex = index;
    update();
}

void TColorBtn::SetDefaultButton(bool on)
{
    if (on == m_default) {
        return;
    }
    m_default = on;
    update();
}

TButtonDrawState TColorBtn::DrawState() const
{
    TButtonDrawState st;
    st.pressed = isDown();
    st.disabled = !isEnabled();
    st.focused = hasFocus();
    st.isDefault = m_default;
    return st;
}

QSize TColorBtn::sizeHint() const
{
    return { 75, 25 };
}

bool TColorBtn::HasGlyph() const
{
    return !m_glyphs.isEmpty() && m_glyphIndex >= 0 && m_glyphIndex < m_glyphs.size()
        && !m_glyphs.at(m_glyphIndex).isNull();
}

void TColorBtn::DoRedrawButton()
{
    if (QWidget* par = parentWidget()) {
        par->update(geometry());
    }
    update();
}

void TColorBtn::ReportShapeError(TShapeError error)
{
    m_shapeError = error;
    if (error != TShapeError::None) {
        Q_EMIT graphicsError(ShapeErrorText(error));
    }
}

void TColorBtn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const TButtonDrawState st = DrawState();
    p.save();
    DoDrawButtonFace(p, st);
    p.restore();
    p.save();
    DoDrawButtonGlyph(p, st);
    p.restore();
    p.save();
    DoDrawButtonText(p, st);
    p.restore();
}

void TColorBtn::mouseDoubleClickEvent(QMouseEvent* e)
{
    // A double click is a second button-down, so fast clicks each count.
    mousePressEvent(e);
}

void TColorBtn::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange) {
        update();
    }
    QAbstractButton::changeEvent(e);
}

void TColorBtn::DoDrawButtonFace(QPainter& p, const TButtonDrawState& st)
{
    DrawColorFace(p, st);
}

void TColorBtn::DrawColorFace(QPainter& p, const TButtonDrawState& st)
{
    QRect r = rect();
    if (st.isDefault || st.focused) {
        p.setPen(kWindowFrame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (st.pressed) {
        p.setPen(m_colorLo);
        p.setBrush(m_color);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    p.fillRect(r, m_color);
    // One-pixel 3-D frame: light top-left, frame colour bottom-right.
    p.setPen(m_colorHi);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(kWindowFrame);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
    if (r.isEmpty()) {
        return;
    }
    p.setPen(m_colorLo);
    const QPoint pts[] = { { r.left(), r.bottom() }, { r.right(), r.bottom() }, { r.right(), r.top() - 1 } };
    p.drawPolyline(pts, 3);
}

void TColorBtn::DoDrawButtonGlyph(QPainter& p, const TButtonDrawState& st)
{
    if (!HasGlyph()) {
        return;
    }
    const QPixmap& g = m_glyphs.at(m_glyphIndex);
    const int tw = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    int x = RoundEven((width() - tw - g.width() - 2) / 2.0);
    int y = RoundEven((height() - g.height() + 2) / 2.0);
    if (st.pressed) {
        ++x;
        ++y;
    }
    if (st.disabled) {
        // Embossed: the silhouette in the light colour one pixel down-right, then in the dark colour.
        const QBitmap mask = GlyphMask(g);
        QPixmap hi(g.size());
        QPixmap lo(g.size());
        hi.fill(m_colorHi);
        hi.setMask(mask);
        lo.fill(m_colorLo);
        lo.setMask(mask);
        p.drawPixmap(x + 1, y + 1, hi);
        p.drawPixmap(x, y, lo);
        return;
    }
    p.drawPixmap(x, y, g);
}

void TColorBtn::DoDrawButtonText(QPainter& p, const TButtonDrawState& st)
{
    DrawColorText(p, st);
}

void TColorBtn::DrawColorText(QPainter& p, const TButtonDrawState& st)
{
    if (text().isEmpty()) {
        return;
    }
    QRect r = rect();
    if (HasGlyph()) {
        r.setLeft(r.left() + m_glyphs.at(m_glyphIndex).width() + 6);
    }
    if (st.pressed) {
        r.translate(1, 1);
    }
    p.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (st.disabled) {
        p.setPen(m_colorHi);
        p.drawText(r.translated(1, 1), flags, text());
        p.setPen(m_colorLo);
        p.drawText(r, flags, text());
    } else {
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(r, flags, text());
    }
    if (st.focused) {
        DrawFocusRectInset(p, rect(), 4);
    }
}

// ---------------------------------------------------------------------------------------------
// Face choice

TFaceChoice ChooseTrifaceFace(const TFaceInput& in)
{
    TFaceChoice c;
    bool has = false;
    if (in.disabled) {
        c.face = TFaceChoice::FaceDisable;
        has = in.hasFaceDisable;
    } else if (in.pressed) {
        c.face = TFaceChoice::FaceDown;
        has = in.hasFaceDown;
    } else if (in.mouseInside && in.shiftOnOver) {
        c.face = in.hasFaceOver ? TFaceChoice::FaceOver : TFaceChoice::Face;
        has = in.hasFaceOver || in.hasFace;
        c.mode = in.autoShape ? TFaceChoice::Shift : TFaceChoice::Offset;
    } else if (in.mouseInside) {
        c.face = TFaceChoice::FaceOver;
        has = in.hasFaceOver;
    } else {
        c.face = TFaceChoice::Face;
        has = in.hasFace;
    }
    if (!has) {
        c.face = TFaceChoice::Face;
        if (!in.hasFace) {
            return { TFaceChoice::ColorFace, TFaceChoice::Plain };
        }
    }
    return c;
}

void DrawCornerFocusMarks(QPainter& p, const QRect& r)
{
    if (r.isEmpty()) {
        return;
    }
    const int n = 5; // 6 pixels from the corner pixel on
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    p.save();
    p.setPen(kWindowFrame);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawLine(l, t, l + n, t);
    p.drawLine(l, t, l, t + n);
    p.drawLine(rt, t, rt - n, t);
    p.drawLine(rt, t, rt, t + n);
    p.drawLine(l, b, l + n, b);
    p.drawLine(l, b, l, b - n);
    p.drawLine(rt, b, rt - n, b);
    p.drawLine(rt, b, rt, b - n);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// TTrifaceBtn

TTrifaceBtn::TTrifaceBtn(QWidget* parent)
    : TColorBtn(parent)
{
    setMouseTracking(true);
}

void TTrifaceBtn::SetFace(const QImage& img)
{
    if (img == m_face && img.isNull() == m_face.isNull()) {
        return;
    }
    m_face = img;
    ApplyShapeState();
    DoRedrawButton();
}

void TTrifaceBtn::SetFaceOver(const QImage& img)
{
    if (img == m_faceOver) {
        return;
    }
    m_faceOver = img;
    DoRedrawButton();
}

void TTrifaceBtn::SetFaceDown(const QImage& img)
{
    if (img == m_faceDown) {
        return;
    }
    m_faceDown = img;
    DoRedrawButton();
}

void TTrifaceBtn::SetFaceDisable(const QImage& img)
{
    if (img == m_faceDisable) {
        return;
    }
    m_faceDisable = img;
    DoRedrawButton();
}

void TTrifaceBtn::SetFocusRect(bool on)
{
    if (on == m_focusRect) {
        return;
    }
    m_focusRect = on;
    if (on && m_autoShape) {
        // A shaped button shows no focus marks: the two exclude each other.
        m_autoShape = false;
        ApplyShapeState();
    }
    DoRedrawButton();
}

void TTrifaceBtn::SetAutoShape(bool on)
{
    if (on == m_autoShape) {
        return;
    }
    if (on && m_face.isNull()) {
        return; // nothing to shape by
    }
    m_autoShape = on;
    if (on) {
        m_focusRect = false;
    }
    ApplyShapeState();
    DoRedrawButton();
}

void TTrifaceBtn::SetTransColor(const QColor& c)
{
    if (c == m_transColor) {
        return;
    }
    m_transColor = c;
    ApplyShapeState();
    DoRedrawButton();
}

void TTrifaceBtn::SetTransTolerance(qint16 t)
{
    if (t == m_transTolerance) {
        return;
    }
    m_transTolerance = t;
    ApplyShapeState();
    DoRedrawButton();
}

void TTrifaceBtn::SetShiftOnOver(bool on)
{
    if (on == m_shiftOnOver) {
        return;
    }
    m_shiftOnOver = on;
    DoRedrawButton();
}

void TTrifaceBtn::SetBounds(int left, int top, int width, int height)
{
    if (m_autoShape && !m_face.isNull()) {
        width = m_face.width();
        height = m_face.height();
    }
    setGeometry(left, top, width, height);
}

QSize TTrifaceBtn::sizeHint() const
{
    return m_face.isNull() ? TColorBtn::sizeHint() : m_face.size();
}

void TTrifaceBtn::ApplyShapeState()
{
    if (!DoShapeButton()) {
        return;
    }
    ReportShapeError(TShapeError::None);
}

bool TTrifaceBtn::DoShapeButton()
{
    if (!m_autoShape || m_face.isNull()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        clearMask();
        return true;
    }
    // The button takes the face's size; layout changes keep it.
    setFixedSize(m_face.size());
    const QImage dib = m_face.convertToFormat(QImage::Format_RGB888);
    if (dib.isNull()) {
        ReportShapeError(TShapeError::DibSection);
        return false;
    }
    const std::optional<QRegion> rgn = RegionFromFace(dib, m_transColor.rgb(), m_transTolerance);
    if (!rgn) {
        ReportShapeError(TShapeError::Region);
        return false;
    }
    // An all-transparent face hides the whole button (an empty mask would show all of it).
    setMask(rgn->isEmpty() ? QRegion(-1, -1, 1, 1) : *rgn);
    return true;
}

TFaceChoice TTrifaceBtn::CurrentFaceChoice() const
{
    const TButtonDrawState st = DrawState();
    TFaceInput in;
    in.disabled = st.disabled;
    in.pressed = st.pressed;
    in.mouseInside = m_mouseInside;
    in.shiftOnOver = m_shiftOnOver;
    in.autoShape = m_autoShape;
    in.hasFace = !m_face.isNull();
    in.hasFaceOver = !m_faceOver.isNull();
    in.hasFaceDown = !m_faceDown.isNull();
    in.hasFaceDisable = !m_faceDisable.isNull();
    return ChooseTrifaceFace(in);
}

void TTrifaceBtn::DrawShifted(QPainter& p, const QImage& img)
{
    // The face raised by one pixel up and left over its own dark shadow, within the window region.
    const QRegion shape = mask().isEmpty() ? QRegion(rect()) : mask();
    p.setClipRegion(shape);
    p.fillRect(rect(), Qt::black);
    p.setClipRegion(shape.intersected(shape.translated(-1, -1)));
    p.drawImage(QRect(QPoint(-1, -1), size()), img);
    p.setClipping(false);
}

void TTrifaceBtn::DoDrawButtonFace(QPainter& p, const TButtonDrawState& st)
{
    const TFaceChoice c = CurrentFaceChoice();
    const QImage* img = nullptr;
    switch (c.face) {
    case TFaceChoice::ColorFace:
        DrawColorFace(p, st);
        return;
    case TFaceChoice::Face:
        img = &m_face;
        break;
    case TFaceChoice::FaceOver:
        img = &m_faceOver;
        break;
    case TFaceChoice::FaceDown:
        img = &m_faceDown;
        break;
    case TFaceChoice::FaceDisable:
        img = &m_faceDisable;
        break;
    }
    switch (c.mode) {
    case TFaceChoice::Plain:
        p.drawImage(rect(), *img);
        break;
    case TFaceChoice::Offset:
        p.drawImage(QRect(QPoint(-1, -1), size()), *img);
        break;
    case TFaceChoice::Shift:
        DrawShifted(p, *img);
        break;
    }
    if (m_focusRect && (st.focused || st.isDefault)) {
        DrawCornerFocusMarks(p, rect());
    }
}

void TTrifaceBtn::DoDrawButtonText(QPainter& p, const TButtonDrawState& state)
{
    TButtonDrawState st = state;
    if (!m_face.isNull()) {
        st.focused = false; // the corner marks stand for the focus rectangle
    }
    if (m_mouseInside && m_shiftOnOver && !st.disabled && !st.pressed) {
        if (text().isEmpty()) {
            return;
        }
        QRect r = rect();
        if (HasGlyph()) {
            r.setLeft(r.left() + Glyphs().at(GlyphIndex()).width() + 6);
        }
        p.setFont(font());
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(r.translated(-1, -1), Qt::AlignCenter | Qt::TextSingleLine, text());
        if (st.focused) {
            DrawFocusRectInset(p, rect(), 4);
        }
        return;
    }
    DrawColorText(p, st);
}

void TTrifaceBtn::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_tracking) {
        m_tracking = true; // from now on the leave is reported
    }
    const bool inside = rect().contains(e->position().toPoint());
    if (inside != m_mouseInside) {
        m_mouseInside = inside;
        DoRedrawButton();
    }
    TColorBtn::mouseMoveEvent(e);
}

void TTrifaceBtn::leaveEvent(QEvent* e)
{
    m_tracking = false;
    if (m_mouseInside) {
        m_mouseInside = false;
        DoRedrawButton();
    }
    TColorBtn::leaveEvent(e);
}

// ---------------------------------------------------------------------------------------------
// TBitmapBtn

std::optional<QRect> BitmapBtnSourceRect(QSize strip, int numFaces, bool pressed, bool disabled)
{
    if (strip.isEmpty() || numFaces < 1) {
        return std::nullopt;
    }
    const int fw = strip.width() / numFaces;
    const int h = strip.height();
    if (disabled) {
        switch (numFaces) {
        case 1:
            return QRect(QPoint(0, 0), strip);
        case 2:
            return QRect(0, 0, fw, h);
        case 3:
            return QRect(2 * fw, 0, fw, h);
        default:
            return QRect();
        }
    }
    if (pressed) {
        switch (numFaces) {
        case 1:
            return QRect(QPoint(0, 0), strip);
        case 2:
            return QRect(fw, 0, fw, h);
        case 3:
            return QRect(fw, 0, fw, h);
        default:
            return QRect();
        }
    }
    return QRect(0, 0, fw, h);
}

TBitmapBtn::TBitmapBtn(QWidget* parent)
    : TColorBtn(parent)
{
}

QSize TBitmapBtn::FaceSize() const
{
    if (m_faces.isNull() || m_numFaces < 1) {
        return {};
    }
    return { m_faces.width() / m_numFaces, m_faces.height() };
}

void TBitmapBtn::SetFaces(const QImage& img)
{
    if (img == m_faces && img.isNull() == m_faces.isNull()) {
        return;
    }
    m_faces = img;
    ApplyShapeState();
    DoRedrawButton();
}

void TBitmapBtn::SetNumFaces(int n)
{
    if (n == m_numFaces) {
        return;
    }
    m_numFaces = n;
    ApplyShapeState();
    DoRedrawButton();
}

void TBitmapBtn::SetFocusRect(bool on)
{
    if (on == m_focusRect) {
        return;
    }
    m_focusRect = on;
    DoRedrawButton();
}

void TBitmapBtn::SetAutoShape(bool on)
{
    if (on == m_autoShape) {
        return;
    }
    if (on && m_faces.isNull()) {
        return;
    }
    m_autoShape = on;
    ApplyShapeState();
    DoRedrawButton();
}

void TBitmapBtn::SetTransColor(const QColor& c)
{
    if (c == m_transColor) {
        return;
    }
    m_transColor = c;
    ApplyShapeState();
    DoRedrawButton();
}

void TBitmapBtn::SetTransTolerance(qint16 t)
{
    if (t == m_transTolerance) {
        return;
    }
    m_transTolerance = t;
    ApplyShapeState();
    DoRedrawButton();
}

void TBitmapBtn::SetBounds(int left, int top, int width, int height)
{
    const QSize fs = FaceSize();
    if (m_autoShape && !fs.isEmpty()) {
        width = fs.width();
        height = fs.height();
    }
    setGeometry(left, top, width, height);
}

QSize TBitmapBtn::sizeHint() const
{
    const QSize fs = FaceSize();
    return fs.isEmpty() ? TColorBtn::sizeHint() : fs;
}

void TBitmapBtn::ApplyShapeState()
{
    if (DoShapeButton()) {
        ReportShapeError(TShapeError::None);
    }
}

bool TBitmapBtn::DoShapeButton()
{
    const QSize fs = FaceSize();
    if (!m_autoShape || fs.isEmpty()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        clearMask();
        return true;
    }
    setFixedSize(fs);
    const QImage dib = m_faces.copy(0, 0, fs.width(), fs.height()).convertToFormat(QImage::Format_RGB888);
    if (dib.isNull()) {
        ReportShapeError(TShapeError::DibSection);
        return false;
    }
    const std::optional<QRegion> rgn = RegionFromFace(dib, m_transColor.rgb(), m_transTolerance);
    if (!rgn) {
        ReportShapeError(TShapeError::Region);
        return false;
    }
    setMask(rgn->isEmpty() ? QRegion(-1, -1, 1, 1) : *rgn);
    return true;
}

void TBitmapBtn::DoDrawButtonFace(QPainter& p, const TButtonDrawState& st)
{
    const std::optional<QRect> src = BitmapBtnSourceRect(m_faces.size(), m_numFaces, st.pressed, st.disabled);
    if (!src) {
        DrawColorFace(p, st);
        return;
    }
    if (!src->isEmpty()) {
        p.drawImage(rect(), m_faces, *src);
    }
    if (m_focusRect && (st.focused || st.isDefault)) {
        DrawCornerFocusMarks(p, rect());
    }
}
