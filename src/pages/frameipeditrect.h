#pragma once
// The IP address editor: four centred boxes of up to three digits with the caret moving between
// them the way an address field does (a dot or the third digit moves on, backspace in an empty box
// and the arrow keys at a box's edge move back and forth). The IP settings page holds five.
//
//   IPEditIP->SetText(QStringLiteral("192.168.1.20"));
//   const QString ip = IPEditIP->GetText(); // "192.168.1.20", or "" when every box is empty
//   const QString first = IPEditIP->GetOctet(1); // raw text of box 1

#include <QFrame>
#include <QList>

class QEvent;
class QKeyEvent;
class TCenterEdit;
class TPictureBox;

class TFrameIPEditRect : public QFrame
{
    Q_OBJECT
public:
    explicit TFrameIPEditRect(QWidget* parent = nullptr);
    ~TFrameIPEditRect() override;

    static constexpr int FRAME_WIDTH = 116;
    static constexpr int FRAME_HEIGHT = 21;

    TPictureBox* ImgEnableBG;
    TPictureBox* ImgDisableBG;

    // Box i (1 to 4) receives part i of the text split at "."; fewer parts leave the rest empty,
    // parts after the fourth are dropped.
    void SetText(const QString& text);
    // The empty text when all four boxes are empty; otherwise the four octet values joined by "."
    // (an empty box counts as 0).
    QString GetText() const;
    // The raw text of box n (1 to 4); the empty text for any other n.
    QString GetOctet(int n) const;
    // The enabled look (white boxes) or the disabled one (silver boxes), and the frame's own state.
    void SetEnabled(bool value);

    // The boxes in order (1 to 4 at index 0 to 3).
    const QList<TCenterEdit*>& Boxes() const { return m_boxes; }

    // Runs when the focus leaves the frame: fills empty boxes with 0 and drops leading zeros,
    // unless every box is empty.
    void FrameExit();

Q_SIGNALS:
    // The focus moved into the frame from another control of its window (OnEnter).
    void Entered();
    // The focus moved from the frame to another control of its window, after FrameExit (OnExit).
    void Exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TCaret { Keep, Start, End };

    void BoxKeyPress(int index, QKeyEvent* e, bool& consumed);
    void BoxKeyDown(int index, QKeyEvent* e, bool& consumed);
    void BoxChange(int index);
    // Gives the focus to box index (no box for an index outside 0..3: nothing happens).
    void MoveTo(int index, TCaret caret);
    void FocusChanged(QWidget* old, QWidget* now);
    bool Contains(const QWidget* w) const;

    QList<TCenterEdit*> m_boxes;
    bool m_focusInside = false;
};
