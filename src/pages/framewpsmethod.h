#pragma once
// The WPS page: Wi-Fi Protected Setup by push button or PIN, followed through the device's status
// events until the run succeeds, fails or times out. In access-point mode the device lets a client
// join it (the PIN is the client's); in bridge mode the device joins an access point as a client
// (the SSID names that access point, and the page shows the device's own PIN).

#include "shell/framebase.h"

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TFormProgress;
class TFormWPSSurvey;
class TPictureBox;
class TTimer;
class TTrifaceBtn;

// Tick count of the last "Start WSC Process" status: one value for the whole program, 0 at start.
extern std::uint32_t WpsStartTick;

class TFrameWPSMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWPSMethod(QWidget* parent = nullptr);
    ~TFrameWPSMethod() override;

    void InitFrame() override;
    // Going forward: asks a bridge for its own PIN, proposes the push button, sets the texts of
    // the mode and lays out the PIN block.
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    // While the survey dialog is open every message goes on to it; otherwise the engine's
    // replies, time-outs and status events drive the run under the progress dialog.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void RBtnPINClick();
    // Enables the PIN fields for the PIN method and Next when the entries allow a run.
    void updateinfo();
    void BtnSelectClick();
    void BtnNextClick();
    void BtnBackClick();
    void BtnExitClick();
    void TimerTimeroutTimer();

    // One WPS run under the progress dialog; true when it ended with success.
    bool RunWps();
    // The dialog's start step, and again after an accepted re-login: the WPS request of the mode
    // and method (10 s) when logged in, else one login.
    void StartWps();
    // One status event of a listening run.
    void RecvWPSStatus(int code);

    // Pixel rows of the PIN block below RBtnPIN.
    static constexpr int PIN_ROW_HEIGHT = 23;
    // How long after "Start WSC Process" an "Idle" still counts as the end of a good run.
    static constexpr std::uint32_t IDLE_AFTER_START_LIMIT = 100000;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWPSMethod;
    QRadioButton* RBtnPBC;
    QLabel* LbPBCInfo;
    QRadioButton* RBtnPIN;
    QLabel* LbSSID;
    QLineEdit* EdtSSID;
    TTrifaceBtn* BtnSelect;
    QLabel* LbDevPIN;
    QLineEdit* EdtPIN;
    QLabel* LbDevPINCode;
    QLabel* LbPINInfo;
    QLabel* LbWPSMethodMsg;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;
    TTimer* TimerTimerout;

    // One re-login is still allowed in the run under way.
    bool RetryLogin = false;
    // The run follows the device's WPS status events.
    bool Listening = false;
    // A "Start WSC Process" arrived during the run under way.
    bool StartSeen = false;

    TFormProgress* Progress() const { return m_progress; }
    TFormWPSSurvey* SurveyDialog() const { return m_survey; }

private:
    void LayOutPinBlock(bool bridge);
    void EndRun(int result);
    void StopListening();

    TFormProgress* m_progress = nullptr;
    TFormWPSSurvey* m_survey = nullptr;
};
