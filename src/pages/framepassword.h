#pragma once
// The login page: the administrator password, the login and the read of the whole configuration,
// both under the progress dialog. The password is never sent: it keys the payload cipher from the
// moment Login is pressed.

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class TFormProgress;
class TPictureBox;
class TTrifaceBtn;

class TFramePassword : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFramePassword(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;
    // The engine's answers while the dialog is open; dropped without one.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxPassword;
    QLabel* LbPassword;
    QLineEdit* EdtPassword;
    QLabel* LbDefPswd;
    QLabel* LbInfo1;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnLogin;

    // The dialog of the login under way, or null.
    TFormProgress* Progress() const { return m_progress; }

    // Public for tests.
    void BtnLoginClick();

private:
    void StartLogin();
    void BtnExitClick();
    void BtnBackClick();

    TFormProgress* m_progress = nullptr;
};
