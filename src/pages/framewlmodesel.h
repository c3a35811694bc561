#pragma once
// The operating mode page: access point or wireless bridge ("AP Client"). Entering it going
// forward asks the device for its mode, which flips the radio buttons when it answers; Next with
// the other mode writes it under the progress dialog (logging in first when needed, and once more
// after a write that went unanswered), reads the configuration back and pauses 3 s before the
// wizard goes on.

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TFormProgress;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlModeSel : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlModeSel(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;
    // The engine's answers: the mode change's while the dialog is open; without a dialog only the
    // answer to the mode query, which syncs the buttons.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWlModeSel;
    QRadioButton* RBtnAPMode;
    QLabel* LbAPModeInfo;
    TPictureBox* ImgAP;
    QRadioButton* RBtnWirelessBridge;
    QLabel* LbWirelessBridgeInfo;
    TPictureBox* ImgBridge;
    QLabel* Label1;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    TFormProgress* Progress() const { return m_progress; }
    bool RetryLogin() const { return m_retryLogin; }

    // The radio buttons from g_Var.DeviceMode, with its log line.
    void SyncModeButtons();
    // Public for tests.
    void BtnNextClick();
    void BtnBackClick();

private:
    void ApplyMode(int previousMode);
    void StartSetMode();
    void BtnExitClick();

    TFormProgress* m_progress = nullptr;
    bool m_retryLogin = false;
};
