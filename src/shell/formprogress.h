#pragma once
// The small modal "Please wait..." window a page shows while it talks to the device. It runs the
// page's start step once on its first 200 ms tick, sweeps its bar, and closes when the page sets
// its modal result (1 success, 2 failure) from its own handling of the engine's messages, or by
// itself with 2 after 1,500 further ticks (about 300 seconds).
//
//   TFormProgress dlg;                       // one dialog per exchange
//   dlg.OnStart = [this] { StartLogin(); };  // may close the dialog at once
//   m_progress = &dlg;                       // the page's WndProc calls m_progress->SetModalResult(1)
//   const int result = dlg.ExecuteCentered(this);
//   m_progress = nullptr;

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class TPictureBox;
class TTimer;

class TFormProgress : public QDialog
{
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* owner = nullptr);
    ~TFormProgress() override;

    TPictureBox* ImgBG;
    QLabel* LbWait;
    QProgressBar* ProgressBar1;
    TTimer* TimerProc;

    // The start step; empty: the dialog only sweeps its bar.
    std::function<void()> OnStart;

    // Centres the dialog over the window that contains control (the application's main window
    // when there is none), shows it modally and returns its modal result: 1 or 2 as the page set
    // it, 2 at the time limit, 0 when an exception ended the showing.
    int ExecuteCentered(QWidget* control);

    // Sets the modal result, which closes the dialog while it is shown.
    void SetModalResult(int result);
    int ModalResult() const { return m_modalResult; }

    // Ticks after which the dialog gives up, counted after the start step.
    static constexpr int TICK_LIMIT = 1500;
    static constexpr int TICK_INTERVAL = 200;

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void TimerProcTimer(TTimer* timer);

    int m_modalResult = 0;
    bool m_closing = false;
};
