#pragma once

// Small controls of the custom set: the centred edit box of the address editor, the picture button of
// the launcher's document menu, a label that shortens its text with ellipses and a panel that can be
// painted by its owner.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>

// An edit box whose text is centred.
class TCenterEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TCenterEdit(QWidget* parent = nullptr);
};

// A picture that behaves like a button: shows picture 0 normally, 1 when highlighted or pressed,
// 3 when disabled. Pictures come from an image list or from other picture controls.
class TKestImage : public QLabel
{
    Q_OBJECT
public:
    enum TImageStyle { isButton = 0, isPushButton = 1, isTabButton = 2 };
    enum TImageSource { isrcImageList = 0, isrcImage = 1 };

    explicit TKestImage(QWidget* parent = nullptr);

    TImageStyle ImageStyle() const { return m_style; }
    void SetImageStyle(TImageStyle s) { m_style = s; }
    TImageSource ImageSource() const { return m_source; }
    void SetImageSource(TImageSource s) { m_source = s; }

    const QList<QPixmap>& ImageList() const { return m_imageList; }
    // Assigning the image list shows its picture 0.
    void SetImageList(const QList<QPixmap>& list);
    int ImageIndex() const { return m_imageIndex; }
    // Shows picture i; with no source for i nothing changes.
    void SetImageIndex(int index);

    // References (not owned) to the picture controls 0..7. Assigning Image0 shows it at once.
    QLabel* Image(int i) const;
    void SetImage(int i, QLabel* image);

    bool MouseOverEffect() const { return m_mouseOverEffect; }
    void SetMouseOverEffect(bool on) { m_mouseOverEffect = on; }
    bool IsMouseInside() const { return m_mouseInside; }

    // The integer tag that groups tab buttons.
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // After the window's properties are set: with picture controls, show the one at ImageIndex.
    void Loaded();

    // The mouse entering and leaving, as the control sees them (also used by tests).
    void MouseEntered();
    void MouseLeft();

Q_SIGNALS:
    void mouseEnter();
    void mouseLeave();
    void clicked();

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    bool ShowPicture(int index);

    TImageStyle m_style = isButton;
    TImageSource m_source = isrcImageList;
    QList<QPixmap> m_imageList;
    int m_imageIndex = 0;
    std::array<QPointer<QLabel>, 8> m_images;
    bool m_mouseOverEffect = false;
    bool m_mouseInside = false;
    bool m_pressed = false;
    int m_tag = 0;
};

// A label that shortens its text with an ellipsis at the end, per word or in the middle of a path.
class TEllipsisLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TEllipsisLabel(QWidget* parent = nullptr);

    bool EllipsisEnd() const { return m_end; }
    void SetEllipsisEnd(bool on);
    bool EllipsisWord() const { return m_word; }
    void SetEllipsisWord(bool on);
    bool EllipsisPath() const { return m_path; }
    void SetEllipsisPath(bool on);

    // The text as it is shown in a width of `width` pixels.
    QString ShownText(int width) const;
    // The shortening rules on their own.
    static QString Elide(
        const QString& text, const QFontMetrics& fm, int width, bool end, bool word, bool path);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool m_end = false;
    bool m_word = false;
    bool m_path = false;
};

// A panel with a caption; when OnPaint is set, the owner paints it instead.
class TPaintPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
public:
    using PaintFn = std::function<void(TPaintPanel* panel, QPainter& p)>;

    explicit TPaintPanel(QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& text);
    // text() / setText() as for the other captioned widgets.
    QString text() const { return m_caption; }
    void setText(const QString& text) { SetCaption(text); }

    void SetOnPaint(PaintFn fn);
    bool HasOnPaint() const { return bool(m_onPaint); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString m_caption;
    PaintFn m_onPaint;
};
