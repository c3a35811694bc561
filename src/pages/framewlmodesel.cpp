#include "pages/framewlmodesel.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/accesskit.h"
#include "platform/core/clock.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {
constexpr std::uint32_t GET_MODE_TIMEOUT = 3000;
constexpr std::uint32_t SET_MODE_TIMEOUT = 28000;
constexpr std::uint32_t LOGIN_TIMEOUT = 5000;
constexpr std::uint32_t GET_CONFIG_TIMEOUT = 15000;
constexpr std::uint32_t SETTLE_WAIT = 3000;
} // namespace

TFrameWlModeSel::TFrameWlModeSel(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxWlModeSel = acc::CreatePageGroupBox(this, "GBoxWlModeSel", QStringLiteral("Wireless Modes"));
    RBtnAPMode = new QRadioButton(QStringLiteral("Access Point"), GBoxWlModeSel);
    RBtnAPMode->setObjectName(QStringLiteral("RBtnAPMode"));
    RBtnAPMode->setGeometry(24, 24, 280, 17);
    QFont bold = RBtnAPMode->font();
    bold.setBold(true);
    RBtnAPMode->setFont(bold);
    LbAPModeInfo = acc::CreateLabel(GBoxWlModeSel, "LbAPModeInfo",
        QStringLiteral(
            "Select this option to use the QRX-640 in to an Access Point. This will allow you to add "
            "or upgrade you wireless connection to wireless N and share wireless access with others."),
        44, 44, 280, 66, false, true);
    ImgAP = new TPictureBox(GBoxWlModeSel);
    ImgAP->setObjectName(QStringLiteral("ImgAP"));
    ImgAP->SetAutoSize(true);
    ImgAP->setGeometry(340, 18, 208, 102);

    RBtnWirelessBridge = new QRadioButton(QStringLiteral("AP Client"), GBoxWlModeSel);
    RBtnWirelessBridge->setObjectName(QStringLiteral("RBtnWirelessBridge"));
    RBtnWirelessBridge->setGeometry(24, 128, 280, 17);
    RBtnWirelessBridge->setFont(bold);
    LbWirelessBridgeInfo = acc::CreateLabel(GBoxWlModeSel, "LbWirelessBridgeInfo",
        QStringLiteral(
            "Select option to allow the QRX-640 to work as a wireless network adapter. Use this mode "
            "to add wireless connectivity to you gaming console or Ethernet enable device."),
        44, 148, 280, 66, false, true);
    ImgBridge = new TPictureBox(GBoxWlModeSel);
    ImgBridge->setObjectName(QStringLiteral("ImgBridge"));
    ImgBridge->SetAutoSize(true);
    ImgBridge->setGeometry(332, 122, 226, 117);

    Label1 = acc::CreateLabel(GBoxWlModeSel, "Label1",
        QStringLiteral(
            "Note: Additional AP Modes (Bridge and WDS) can be configured using the Web Browser, please "
            "consult the User\u2019s Guide for more information."),
        24, 242, 530, 30, false, true);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnNextClick);
}

void TFrameWlModeSel::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    if (FormRes) {
        ImgAP->SetPicture(FormRes->ImgAP->Picture());
        ImgBridge->SetPicture(FormRes->ImgBridge->Picture());
    }
    g_Var.DeviceMode = DEVICE_AP;
    RBtnAPMode->setChecked(true);
    TFrameBase::InitFrame();
}

bool TFrameWlModeSel::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD && FormUDP) {
        FormUDP->SendGetMode(GET_MODE_TIMEOUT);
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlModeSel::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    SyncModeButtons();
    TFrameBase::EnterFrame(from, direction, param);
}

void TFrameWlModeSel::SyncModeButtons()
{
    if (g_Var.DeviceMode == DEVICE_AP) {
        DebugPrint("g_Var.DeviceMode DEVICE_AP");
        RBtnAPMode->setChecked(true);
        RBtnWirelessBridge->setChecked(false);
    } else if (g_Var.DeviceMode == DEVICE_WBRIDGE) {
        DebugPrint("g_Var.DeviceMode DEVICE_WBRIDGE");
        RBtnAPMode->setChecked(false);
        RBtnWirelessBridge->setChecked(true);
    } else {
        DebugPrint("g_Var.DeviceMode != DEVICE_AP, DEVICE_WBRIDGE");
    }
}

void TFrameWlModeSel::BtnNextClick()
{
    if (m_progress) {
        return;
    }
    const int previous = g_Var.DeviceMode;
    if (RBtnAPMode->isChecked() && g_Var.DeviceMode != DEVICE_AP) {
        g_Var.DeviceMode = DEVICE_AP;
        ApplyMode(previous);
    } else if (RBtnWirelessBridge->isChecked() && g_Var.DeviceMode != DEVICE_WBRIDGE) {
        g_Var.DeviceMode = DEVICE_WBRIDGE;
        ApplyMode(previous);
    } else {
        PostWizard(WZ_NEXT);
    }
}

void TFrameWlModeSel::ApplyMode(int previousMode)
{
    m_retryLogin = true;
    const int result = acc::RunProgressDialog(this, m_progress, [this] { StartSetMode(); });
    if (result == 1) {
        PostWizard(WZ_NEXT);
        return;
    }
    acc::ShowMessageText(msg::ER_CONNECT, msg::ER_CONNECTText);
    if (g_Var.NonWorking) {
        PostWizard(WZ_NEXT); // walking through without a device: go on in the chosen mode
        return;
    }
    // The device did not confirm the change: keep the mode it was last known to run in, so that
    // Next with the same choice tries again instead of moving on in a mode the device may not have.
    g_Var.DeviceMode = previousMode;
}

void TFrameWlModeSel::StartSetMode()
{
    if (FormUDP && FormUDP->LoggedIn) {
        FormUDP->SendSetMode(SET_MODE_TIMEOUT, g_Var.DeviceMode);
    } else if (FormUDP && m_retryLogin) {
        m_retryLogin = false;
        FormUDP->SendLogin(LOGIN_TIMEOUT);
    } else {
        acc::CloseProgressDialog(m_progress, 2);
    }
}

LRESULT TFrameWlModeSel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int op = int(wParam);
    if (!m_progress) {
        // The answer to the mode query of CanEnter; the engine has stored the mode already.
        if (msg == UM_UDP_RECV && op == OP_GET_CONFIG) {
            SyncModeButtons();
        }
        return TFrameBase::WndProc(msg, wParam, lParam);
    }
    if (msg == UM_UDP_RECV && FormUDP) {
        switch (op) {
        case OP_LOGIN:
            if (lParam != 0) {
                FormUDP->SendSetMode(SET_MODE_TIMEOUT, g_Var.DeviceMode);
            } else {
                acc::CloseProgressDialog(m_progress, 2);
            }
            break;
        case OP_SET_MODE:
            if (lParam != 0) {
                FormUDP->SendGetConfig(GET_CONFIG_TIMEOUT);
            } else {
                acc::CloseProgressDialog(m_progress, 2);
            }
            break;
        case OP_GET_CONFIG:
            // The device restarts its radio in the new mode before the wizard goes on.
            WaitWithMessages(SETTLE_WAIT);
            SyncModeButtons();
            acc::CloseProgressDialog(m_progress, 1);
            break;
        default:
            break;
        }
    } else if (msg == UM_UDP_TIMEOUT && FormUDP) {
        switch (op) {
        case OP_LOGIN:
        case OP_GET_CONFIG:
            acc::CloseProgressDialog(m_progress, 2);
            break;
        case OP_SET_MODE:
            if (m_retryLogin) {
                m_retryLogin = false;
                FormUDP->SendLogin(LOGIN_TIMEOUT);
            } else {
                acc::CloseProgressDialog(m_progress, 2);
            }
            break;
        default:
            break;
        }
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFrameWlModeSel::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameWlModeSel::BtnBackClick()
{
    if (FormUDP) {
        FormUDP->SendLogout(0);
    }
    PostWizard(WZ_BACK);
}
