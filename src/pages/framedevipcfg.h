#pragma once
// The IP settings page: the fixed address, subnet mask and gateway in three address editors,
// checked with the shared rules (app/validation.h), stored in g_Var.NewIPConfig and, when they
// differ from what the device reported, written to the device under the progress dialog.

#include "pages/accesskit.h"
#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TFormProgress;
class TFrameIPEditRect;
class TPictureBox;
class TTrifaceBtn;

class TFrameDevIPCfg : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameDevIPCfg(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    // The engine's answers while the dialog is open; dropped without one.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxCfg;
    QLabel* LbCfgInfo;
    QLabel* LbIP;
    TFrameIPEditRect* IPEditIP;
    QLabel* LbMask;
    TFrameIPEditRect* IPEditMask;
    QLabel* LbGateway;
    TFrameIPEditRect* IPEditGateway;
    QLabel* LbDNS1;
    TFrameIPEditRect* IPEditDNS1;
    QLabel* LbDNS2;
    TFrameIPEditRect* IPEditDNS2;
    QRadioButton* RBtnDHCP;
    QRadioButton* RBtnStatic;
    QLabel* LbStaticIPInfo;
    QLabel* LbClickNext;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    TFormProgress* Progress() const { return m_ipWrite.Progress; }
    bool RetryLogin() const { return m_ipWrite.RetryLogin; }

    // Public for tests.
    void BtnNextClick();
    // The ten checks; the first that fails shows its message. True when all hold.
    bool ValidateIP();
    // The mask editor got the focus: proposes a mask from the IP editor's first box when empty.
    void IPEditMaskEnter();
    bool SendIPWithProgress();

private:
    void UpdateEditors();
    void RBtnDHCPClick();
    void BtnExitClick();
    void BtnBackClick();

    acc::CIPSettingExchange m_ipWrite;
};
