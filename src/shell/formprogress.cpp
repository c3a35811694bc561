#include "shell/formprogress.h"

#include "app/globalvar.h"
#include "platform/core/messages.h"
#include "platform/core/timer.h"
#include "shell/formres.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

TFormProgress::TFormProgress(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(QStringLiteral("FormProgress"));
    setFixedSize(190, 50);
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    ImgBG = new TPictureBox(this);
    ImgBG->setObjectName(QStringLiteral("ImgBG"));
    ImgBG->SetAutoSize(true);
    ImgBG->setGeometry(0, 0, 190, 50);

    LbWait = new QLabel(QStringLiteral("Please wait..."), this);
    LbWait->setObjectName(QStringLiteral("LbWait"));
    LbWait->setGeometry(20, 8, 150, 13);
    QFont bold = LbWait->font();
    bold.setBold(true);
    LbWait->setFont(bold);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(20, 25, 150, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    TimerProc = new TTimer(this);
    TimerProc->setObjectName(QStringLiteral("TimerProc"));
    TimerProc->SetEnabled(false);
    TimerProc->SetInterval(TICK_INTERVAL);
    TimerProc->OnTimer = [this](TTimer* t) { TimerProcTimer(t); };

    FormCreate();
}

TFormProgress::~TFormProgress() = default;

void TFormProgress::FormCreate()
{
    setWindowTitle(g_Var.AppTitle);
    ApplyTextsLocked(this, QStringLiteral("FormProgress"));
    if (FormRes) {
        ImgBG->SetPicture(FormRes->ImgBGProgress->Picture());
    }
    ApplyLayoutLocked(this, QStringLiteral("FormProgress"));
}

int TFormProgress::ExecuteCentered(QWidget* control)
{
    try {
        QWidget* form = control ? control->window() : nullptr;
        if (!form) {
            form = qobject_cast<QWidget*>(ApplicationMainWindow());
        }
        if (form) {
            const QRect r = form->frameGeometry();
            // Integer division halves towards zero.
            move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
        }
        m_modalResult = 0;
        return exec();
    } catch (...) {
        TimerProc->SetEnabled(false);
        hide();
        return 0;
    }
}

void TFormProgress::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != 0 && isVisible()) {
        m_closing = true;
        done(result);
        m_closing = false;
    } else if (result != 0) {
        setResult(result);
    }
}

void TFormProgress::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TFormProgress::hideEvent(QHideEvent* e)
{
    // A closed dialog keeps no timer running.
    TimerProc->SetEnabled(false);
    QDialog::hideEvent(e);
}

void TFormProgress::FormShow()
{
    TimerProc->Tag = 0;
    TimerProc->SetEnabled(true);
}

void TFormProgress::TimerProcTimer(TTimer* timer)
{
    // One step; past the end the bar starts again from the beginning.
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next > ProgressBar1->maximum() ? ProgressBar1->minimum() : next);

    if (timer->Tag != 0) {
        ++timer->Tag;
        if (timer->Tag > TICK_LIMIT) {
            SetModalResult(2);
        }
        return;
    }
    // First tick: the start step, with the timer off while it runs.
    timer->SetEnabled(false);
    timer->Tag = 1;
    if (OnStart) {
        // An exception may not pass through the event loop: it ends the showing with 0 here.
        try {
            OnStart();
        } catch (...) {
            SetModalResult(0);
            m_closing = true;
            done(0);
            m_closing = false;
            return;
        }
    }
    if (isVisible()) {
        timer->SetEnabled(true);
    }
}

void TFormProgress::keyPressEvent(QKeyEvent* e)
{
    // Only the page or the time limit closes the dialog: Alt+F4 is swallowed, and so is Escape,
    // which would otherwise cancel a dialog.
    if ((e->key() == Qt::Key_F4 && (e->modifiers() & Qt::AltModifier)) || e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormProgress::closeEvent(QCloseEvent* e)
{
    // A close request from the window system (Alt+F4) does nothing either.
    if (!m_closing) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}
