#include "pages/frameipeditrect.h"

#include "app/validation.h"
#include "controls/smallcontrols.h"
#include "shell/picturebox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr int BOX_LEFT[4] = { 6, 34, 62, 90 };
constexpr int BOX_TOP = 4;
constexpr int BOX_WIDTH = 22;
constexpr int BOX_HEIGHT = 14;

// The backgrounds: a bordered field with the three dots between the boxes, white when enabled,
// silver when not.
QImage FieldBackground(bool enabled)
{
    QImage img(TFrameIPEditRect::FRAME_WIDTH, TFrameIPEditRect::FRAME_HEIGHT, QImage::Format_RGB32);
    const QColor fill = enabled ? QColor(Qt::white) : QColor(192, 192, 192);
    img.fill(fill);
    QPainter p(&img);
    p.setPen(enabled ? QColor(127, 157, 185) : QColor(160, 160, 160));
    p.drawRect(0, 0, img.width() - 1, img.height() - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? QColor(Qt::black) : QColor(128, 128, 128));
    for (int i = 0; i < 3; ++i) {
        const int x = BOX_LEFT[i] + BOX_WIDTH + 2;
        p.drawRect(x, BOX_TOP + BOX_HEIGHT - 4, 2, 2);
    }
    return img;
}

bool IsDigitChar(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TFrameIPEditRect::TFrameIPEditRect(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    resize(FRAME_WIDTH, FRAME_HEIGHT);
    setFocusPolicy(Qt::NoFocus); // the boxes take part in the tab order

    ImgEnableBG = new TPictureBox(this);
    ImgEnableBG->setObjectName(QStringLiteral("ImgEnableBG"));
    ImgEnableBG->setGeometry(0, 0, FRAME_WIDTH, FRAME_HEIGHT);
    ImgEnableBG->SetPicture(FieldBackground(true));
    ImgDisableBG = new TPictureBox(this);
    ImgDisableBG->setObjectName(QStringLiteral("ImgDisableBG"));
    ImgDisableBG->setGeometry(0, 0, FRAME_WIDTH, FRAME_HEIGHT);
    ImgDisableBG->SetPicture(FieldBackground(false));
    ImgDisableBG->hide();

    for (int i = 0; i < 4; ++i) {
        auto* box = new TCenterEdit(this);
        box->setGeometry(BOX_LEFT[i], BOX_TOP, BOX_WIDTH, BOX_HEIGHT);
        box->setFrame(false);
        box->setMaxLength(3);
        box->setTextMargins(0, 0, 0, 0);
        box->setContentsMargins(0, 0, 0, 0);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, Qt::white);
        box->setPalette(pal);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, i] { BoxChange(i); });
        m_boxes.append(box);
    }
    connect(qApp, &QApplication::focusChanged, this, &TFrameIPEditRect::FocusChanged);
}

TFrameIPEditRect::~TFrameIPEditRect()
{
    for (TCenterEdit* box : m_boxes) {
        box->removeEventFilter(this);
    }
}

void TFrameIPEditRect::SetText(const QString& text)
{
    const CIpBoxes parts = CIpBoxes::FromText(text);
    for (int i = 0; i < 4; ++i) {
        m_boxes[i]->setText(parts.Box[std::size_t(i)]);
    }
}

QString TFrameIPEditRect::GetText() const
{
    CIpBoxes boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.Box[std::size_t(i)] = m_boxes[i]->text();
    }
    bool allEmpty = true;
    for (const QString& b : boxes.Box) {
        allEmpty = allEmpty && b.isEmpty();
    }
    if (allEmpty) {
        return {};
    }
    QStringList parts;
    for (const QString& b : boxes.Box) {
        parts << QString::number(OctetValue(b));
    }
    return parts.join(QLatin1Char('.'));
}

QString TFrameIPEditRect::GetOctet(int n) const
{
    if (n < 1 || n > 4) {
        return {};
    }
    return m_boxes[n - 1]->text();
}

void TFrameIPEditRect::SetEnabled(bool value)
{
    ImgEnableBG->setVisible(value);
    ImgDisableBG->setVisible(!value);
    for (TCenterEdit* box : m_boxes) {
        QPalette pal = box->palette();
        const QColor c = value ? QColor(Qt::white) : QColor(192, 192, 192);
        pal.setColor(QPalette::Base, c);
        pal.setColor(QPalette::Disabled, QPalette::Base, c);
        box->setPalette(pal);
    }
    setEnabled(value);
}

void TFrameIPEditRect::FrameExit()
{
    bool allEmpty = true;
    for (TCenterEdit* box : m_boxes) {
        allEmpty = allEmpty && box->text().isEmpty();
    }
    if (allEmpty) {
        return;
    }
    for (TCenterEdit* box : m_boxes) {
        const QString number = QString::number(OctetValue(box->text()));
        if (box->text() != number) {
            box->setText(number);
        }
    }
}

bool TFrameIPEditRect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int index = m_boxes.indexOf(static_cast<TCenterEdit*>(watched));
        if (index >= 0) {
            auto* e = static_cast<QKeyEvent*>(event);
            bool consumed = false;
            // Key down first, then the character, as the keyboard delivers them.
            BoxKeyDown(index, e, consumed);
            if (!consumed) {
                BoxKeyPress(index, e, consumed);
            }
            if (consumed) {
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TFrameIPEditRect::BoxKeyPress(int index, QKeyEvent* e, bool& consumed)
{
    TCenterEdit* box = m_boxes[index];
    const QString text = e->text();
    if (e->key() == Qt::Key_Backspace) {
        if (box->text().isEmpty()) {
            MoveTo(index - 1, TCaret::End);
            consumed = true;
        }
        return;
    }
    if (text.size() != 1 || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        return; // editing keys and shortcuts (copy, paste, undo) go to the box
    }
    const QChar c = text.at(0);
    if (c == QLatin1Char('.')) {
        if (!box->hasSelectedText() && box->cursorPosition() > 0) {
            MoveTo(index + 1, TCaret::Keep);
        }
        consumed = true; // the dot itself is never shown
        return;
    }
    if (IsDigitChar(c)) {
        if (!box->hasSelectedText() && box->text().size() >= 2
            && box->cursorPosition() == box->text().size()) {
            // The digit still lands in this box (or is refused by its limit).
            MoveTo(index + 1, TCaret::Keep);
        }
        return;
    }
    if (c.isPrint()) {
        consumed = true; // the boxes take digits only
    }
}

void TFrameIPEditRect::BoxKeyDown(int index, QKeyEvent* e, bool& consumed)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier || QGuiApplication::mouseButtons() != Qt::NoButton) {
        return;
    }
    TCenterEdit* box = m_boxes[index];
    if (e->key() == Qt::Key_Left && !box->hasSelectedText() && box->cursorPosition() == 0) {
        if (index > 0) {
            MoveTo(index - 1, TCaret::End);
            consumed = true;
        }
    } else if (e->key() == Qt::Key_Right && !box->hasSelectedText()
        && box->cursorPosition() == box->text().size()) {
        if (index < 3) {
            MoveTo(index + 1, TCaret::Start);
            consumed = true;
        }
    }
}

void TFrameIPEditRect::BoxChange(int index)
{
    TCenterEdit* box = m_boxes[index];
    if (box->text().isEmpty()) {
        return;
    }
    const QString cleaned = CleanOctetText(box->text());
    if (cleaned != box->text()) {
        box->setText(cleaned);
        box->deselect();
        box->setCursorPosition(cleaned.size());
    }
}

void TFrameIPEditRect::MoveTo(int index, TCaret caret)
{
    if (index < 0 || index > 3) {
        return;
    }
    TCenterEdit* box = m_boxes[index];
    box->setFocus(Qt::OtherFocusReason);
    switch (caret) {
    case TCaret::Keep:
        // Entering a box by a dot or a third digit selects its contents, as a box does when it
        // gets the focus, so typing replaces them.
        box->selectAll();
        break;
    case TCaret::Start:
        box->deselect();
        box->setCursorPosition(0);
        break;
    case TCaret::End:
        box->deselect();
        box->setCursorPosition(box->text().size());
        break;
    }
}

bool TFrameIPEditRect::Contains(const QWidget* w) const
{
    return w && (w == this || isAncestorOf(w));
}

void TFrameIPEditRect::FocusChanged(QWidget* old, QWidget* now)
{
    // A focus that leaves for another window (a message box, a deactivated window) is still the
    // frame's: the frame is left or entered only within its own window.
    if (now == nullptr || now->window() != window()) {
        return;
    }
    const bool inside = Contains(now);
    if (inside && !m_focusInside) {
        m_focusInside = true;
        Q_EMIT Entered();
    } else if (!inside && m_focusInside) {
        m_focusInside = false;
        FrameExit();
        Q_EMIT Exited();
    }
    Q_UNUSED(old);
}
