#include "controls/smallcontrols.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

// ---------------------------------------------------------------------------------------------
// TCenterEdit

TCenterEdit::TCenterEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignCenter);
}

// ---------------------------------------------------------------------------------------------
// TKestImage

TKestImage::TKestImage(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool TKestImage::ShowPicture(int index)
{
    if (index < 0) {
        return false;
    }
    if (m_source == isrcImage) {
        if (index >= int(m_images.size()) || !m_images[index]) {
            return false;
        }
        setPixmap(m_images[index]->pixmap());
    } else {
        if (m_imageList.isEmpty() || index >= m_imageList.size()) {
            return false;
        }
        setPixmap(m_imageList.at(index));
    }
    m_imageIndex = index;
    update();
    return true;
}

void TKestImage::SetImageList(const QList<QPixmap>& list)
{
    m_imageList = list;
    if (m_source == isrcImageList) {
        ShowPicture(0);
    }
}

void TKestImage::SetImageIndex(int index)
{
    ShowPicture(index);
}

QLabel* TKestImage::Image(int i) const
{
    return i >= 0 && i < int(m_images.size()) ? m_images[i].data() : nullptr;
}

void TKestImage::SetImage(int i, QLabel* image)
{
    if (i < 0 || i >= int(m_images.size())) {
        return;
    }
    m_images[i] = image;
    if (i == 0 && image) {
        setPixmap(image->pixmap());
        m_imageIndex = 0;
        update();
    }
}

void TKestImage::Loaded()
{
    if (m_source == isrcImage) {
        ShowPicture(m_imageIndex);
    }
}

void TKestImage::MouseEntered()
{
    m_mouseInside = true;
    if (!isEnabled()) {
        return;
    }
    if (m_mouseOverEffect) {
        ShowPicture(1);
    }
    Q_EMIT mouseEnter();
}

void TKestImage::MouseLeft()
{
    m_mouseInside = false;
    if (!isEnabled()) {
        return;
    }
    if (m_mouseOverEffect) {
        ShowPicture(0);
    }
    Q_EMIT mouseLeave();
}

void TKestImage::enterEvent(QEnterEvent* e)
{
    MouseEntered();
    QLabel::enterEvent(e);
}

void TKestImage::leaveEvent(QEvent* e)
{
    MouseLeft();
    QLabel::leaveEvent(e);
}

void TKestImage::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_pressed = true;
        if (m_style == isPushButton) {
            ShowPicture(1);
        } else if (m_style == isTabButton) {
            ShowPicture(1);
            // Release the other tab buttons of the same group on the same form.
            QWidget* par = parentWidget();
            QWidget* form = par ? par->parentWidget() : nullptr;
            if (form) {
                const QList<TKestImage*> all = form->findChildren<TKestImage*>();
                for (TKestImage* other : all) {
                    if (other != this && other->m_style == isTabButton && other->m_tag == m_tag) {
                        other->ShowPicture(0);
                    }
                }
            }
        }
    }
    QLabel::mousePressEvent(e);
}

void TKestImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        if (m_style == isPushButton) {
            ShowPicture(0);
        }
        const bool wasPressed = m_pressed;
        m_pressed = false;
        if (wasPressed && rect().contains(e->position().toPoint())) {
            Q_EMIT clicked();
        }
    }
    QLabel::mouseReleaseEvent(e);
}

void TKestImage::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        if (isEnabled()) {
            ShowPicture(m_mouseOverEffect && m_mouseInside ? 1 : 0);
        } else {
            ShowPicture(3);
        }
    }
    QLabel::changeEvent(e);
}

// ---------------------------------------------------------------------------------------------
// TEllipsisLabel

TEllipsisLabel::TEllipsisLabel(QWidget* parent)
    : QLabel(parent)
{
}

void TEllipsisLabel::SetEllipsisEnd(bool on)
{
    if (on != m_end) {
        m_end = on;
        update();
    }
}

void TEllipsisLabel::SetEllipsisWord(bool on)
{
    if (on != m_word) {
        m_word = on;
        update();
    }
}

void TEllipsisLabel::SetEllipsisPath(bool on)
{
    if (on != m_path) {
        m_path = on;
        update();
    }
}

QString TEllipsisLabel::Elide(
    const QString& text, const QFontMetrics& fm, int width, bool end, bool word, bool path)
{
    if (fm.horizontalAdvance(text) <= width || (!end && !word && !path)) {
        return text;
    }
    const QString dots = QStringLiteral("...");
    if (path) {
        // Keep the last part of the path whole and shorten what comes before it.
        const qsizetype cut = std::max(text.lastIndexOf(u'/'), text.lastIndexOf(u'\\'));
        if (cut > 0) {
            const QString tail = text.mid(cut);
            const QString head = text.left(cut);
            for (qsizetype n = head.size(); n >= 0; --n) {
                const QString s = head.left(n) + dots + tail;
                if (fm.horizontalAdvance(s) <= width) {
                    return s;
                }
            }
            return fm.elidedText(dots + tail, Qt::ElideRight, width);
        }
    }
    if (word && !end) {
        // Cut at the end of a whole word, then mark the cut.
        qsizetype pos = text.size();
        while (pos > 0) {
            pos = text.lastIndexOf(u' ', pos - 1);
            if (pos <= 0) {
                break;
            }
            const QString s = text.left(pos) + dots;
            if (fm.horizontalAdvance(s) <= width) {
                return s;
            }
        }
    }
    return fm.elidedText(text, Qt::ElideRight, width);
}

QString TEllipsisLabel::ShownText(int width) const
{
    return Elide(text(), fontMetrics(), width, m_end, m_word, m_path);
}

void TEllipsisLabel::paintEvent(QPaintEvent* e)
{
    if (!m_end && !m_word && !m_path) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    p.setPen(palette().color(foregroundRole()));
    p.drawText(r, int(alignment() | Qt::TextSingleLine), ShownText(r.width()));
}

// ---------------------------------------------------------------------------------------------
// TPaintPanel

TPaintPanel::TPaintPanel(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void TPaintPanel::SetCaption(const QString& text)
{
    if (text != m_caption) {
        m_caption = text;
        update();
    }
}

void TPaintPanel::SetOnPaint(PaintFn fn)
{
    m_onPaint = std::move(fn);
    update();
}

void TPaintPanel::paintEvent(QPaintEvent* e)
{
    if (m_onPaint) {
        QPainter p(this);
        m_onPaint(this, p);
        return;
    }
    QFrame::paintEvent(e);
    if (!m_caption.isEmpty()) {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
    }
}
