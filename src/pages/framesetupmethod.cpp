#include "pages/framesetupmethod.h"

#include "app/globalvar.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/accesskit.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

TFrameSetupMethod::TFrameSetupMethod(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxSetupMethod = acc::CreatePageGroupBox(this, "GBoxSetupMethod", QString());
    LbCurrentIP = acc::CreateLabel(
        GBoxSetupMethod, "LbCurrentIP", QStringLiteral("Current Network Information:"), 24, 20, 300, 16);
    LbIP = acc::CreateLabel(GBoxSetupMethod, "LbIP", QStringLiteral("IP Address:"), 40, 40, 90, 16, true);
    LbMask = acc::CreateLabel(GBoxSetupMethod, "LbMask", QStringLiteral("Subnet:"), 40, 58, 90, 16, true);
    LbGateway
        = acc::CreateLabel(GBoxSetupMethod, "LbGateway", QStringLiteral("Gateway:"), 40, 76, 90, 16, true);
    LblIP = acc::CreateLabel(GBoxSetupMethod, "LblIP", QString(), 136, 40, 200, 16);
    LblMask = acc::CreateLabel(GBoxSetupMethod, "LblMask", QString(), 136, 58, 200, 16);
    LblGateway = acc::CreateLabel(GBoxSetupMethod, "LblGateway", QString(), 136, 76, 200, 16);
    for (QLabel* l : { LblIP, LblMask, LblGateway }) {
        acc::MakeGreyBold(l);
    }

    RBtnSetIPDHCP
        = new QRadioButton(QStringLiteral("\u2018Dynamic IP Address\u2019 Configuration"), GBoxSetupMethod);
    RBtnSetIPDHCP->setObjectName(QStringLiteral("RBtnSetIPDHCP"));
    RBtnSetIPDHCP->setGeometry(24, 104, 400, 17);
    RBtnSetIPDHCP->setChecked(true);
    connect(RBtnSetIPDHCP, &QRadioButton::clicked, this, &TFrameSetupMethod::RBtnSetIPDHCPClick);
    LbDHCPInfo = acc::CreateLabel(GBoxSetupMethod, "LbDHCPInfo",
        QStringLiteral("With this setting the 300Mbps Wireless N PoE Access Point will attain an IP address "
                       "automatically. This setting is recommend for most users."),
        44, 124, 510, 30, false, true);

    RBtnSetIP
        = new QRadioButton(QStringLiteral("\u2018Static IP Address\u2019 Configuration"), GBoxSetupMethod);
    RBtnSetIP->setObjectName(QStringLiteral("RBtnSetIP"));
    RBtnSetIP->setGeometry(24, 162, 400, 17);
    connect(RBtnSetIP, &QRadioButton::clicked, this, &TFrameSetupMethod::RBtnSetIPClick);
    LbSetIPInfo = acc::CreateLabel(GBoxSetupMethod, "LbSetIPInfo",
        QStringLiteral(
            "With this setting the 300Mbps Wireless N PoE Access Point will maintain a specific IP "
            "Address that does not change. An additional step of inputting the specific IP Address "
            "is required. This feature is recommended for advanced users only. "),
        44, 182, 510, 44, false, true);
    LbClickNext = acc::CreateLabel(GBoxSetupMethod, "LbClickNext", QStringLiteral("Click Next to continue"),
        300, 248, 256, 16, false, false, Qt::AlignRight | Qt::AlignVCenter);

    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnNextClick);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnExitClick);
}

void TFrameSetupMethod::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

namespace {
QString NextCaption(bool dhcp)
{
    return dhcp ? ReadSettingString(QStringLiteral("TFrameSetupMethod"), QStringLiteral("BtnNext_DHCP"),
               QStringLiteral("Configure"))
                : ReadSettingString(QStringLiteral("TFrameSetupMethod"), QStringLiteral("BtnNext_STATIC"),
                    QStringLiteral("Next"));
}
} // namespace

bool TFrameSetupMethod::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    const tag_IP_CONFIG& cfg = g_Var.DevIPConfig;
    LblIP->setText(acc::AddressText(cfg.LAN_IP));
    LblMask->setText(acc::AddressText(cfg.LAN_NETMASK));
    const bool noGateway = cfg.LAN_GATEWAY == 0 || cfg.LAN_GATEWAY == 0xFFFFFFFFu;
    LblGateway->setText(noGateway ? QString() : acc::AddressText(cfg.LAN_GATEWAY));
    if (direction == WZ_DIR_FORWARD) {
        RBtnSetIPDHCP->setChecked(true);
    }
    BtnNext->setText(NextCaption(RBtnSetIPDHCP->isChecked()));
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameSetupMethod::RBtnSetIPDHCPClick()
{
    BtnNext->setText(NextCaption(true));
}

void TFrameSetupMethod::RBtnSetIPClick()
{
    BtnNext->setText(NextCaption(false));
}

void TFrameSetupMethod::BtnNextClick()
{
    if (m_ipWrite.Progress) {
        return;
    }
    if (RBtnSetIPDHCP->isChecked()) {
        g_Var.SetupMethod = 0;
        g_Var.NewIPConfig = g_Var.DevIPConfig;
        if (ApplyDHCP()) {
            PostWizard(WZ_NEXT);
            return;
        }
        acc::ShowMessageText(msg::ER_CONNECT, msg::ER_CONNECTText);
        if (g_Var.NonWorking) {
            PostWizard(WZ_NEXT);
        }
    } else if (RBtnSetIP->isChecked()) {
        g_Var.SetupMethod = 0;
        g_Var.NewIPConfig = g_Var.DevIPConfig;
        PostWizard(WZ_NEXT);
    }
}

bool TFrameSetupMethod::ApplyDHCP()
{
    if (g_Var.NewIPConfig.IP_MODE == 1) {
        return true; // the device already obtains its address automatically
    }
    g_Var.NewIPConfig.IP_MODE = 1;
    return m_ipWrite.Run(this);
}

LRESULT TFrameSetupMethod::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_ipWrite.Handle(msg, wParam, lParam);
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFrameSetupMethod::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameSetupMethod::BtnBackClick()
{
    PostWizard(WZ_BACK);
}
