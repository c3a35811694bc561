#pragma once
// The setup method page: shows the device's current address and offers a dynamic address, which
// it writes to the device at once (logging in again once when the write goes unanswered), or a
// fixed address, which the IP settings page asks for next.

#include "pages/accesskit.h"
#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TFormProgress;
class TPictureBox;
class TTrifaceBtn;

class TFrameSetupMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSetupMethod(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    // The engine's answers while the dialog is open; dropped without one.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxSetupMethod;
    QLabel* LbCurrentIP;
    QLabel* LbIP;
    QLabel* LbMask;
    QLabel* LbGateway;
    QLabel* LblIP;
    QLabel* LblMask;
    QLabel* LblGateway;
    QRadioButton* RBtnSetIPDHCP;
    QLabel* LbDHCPInfo;
    QRadioButton* RBtnSetIP;
    QLabel* LbSetIPInfo;
    QLabel* LbClickNext;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    // The dialog of the change under way, or null.
    TFormProgress* Progress() const { return m_ipWrite.Progress; }
    // True while one renewed login is still allowed in the running change.
    bool RetryLogin() const { return m_ipWrite.RetryLogin; }

    // Public for tests.
    void BtnNextClick();
    bool ApplyDHCP();

private:
    void RBtnSetIPDHCPClick();
    void RBtnSetIPClick();
    void BtnExitClick();
    void BtnBackClick();

    acc::CIPSettingExchange m_ipWrite;
};
