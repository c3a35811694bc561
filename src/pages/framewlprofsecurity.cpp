#include "pages/framewlprofsecurity.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "protocol/codec/records.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <cstring>

TFrameWlProfSecurity::TFrameWlProfSecurity(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxSecurity = CreateWlGroupBox(this, "GBoxSecurity", QStringLiteral("Wireless Security"));
    LbSecurity
        = CreateWlLabel(GBoxSecurity, "LbSecurity", QStringLiteral("Security Mode:"), WlCaptionRect(0), true);
    CmbSecurity = CreateWlDropDown(GBoxSecurity, "CmbSecurity", WlFieldRect(0));
    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfSecurity::BtnNextClick);
}

void TFrameWlProfSecurity::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    CmbSecurity->clear();
    for (int code = 0; code <= 2; ++code) {
        AddCodeItem(CmbSecurity, g_Var.SecurityText[code], code);
    }
    TFrameBase::InitFrame();
}

int TFrameWlProfSecurity::ProposedSecurity(const tag_AP_ROFIILE& ap)
{
    if (ap.Encryption == 0) {
        return 0;
    }
    if (ap.Encryption == 1) {
        return 1;
    }
    return ap.Authentication >= 2 && ap.Authentication <= 4 ? 2 : 0;
}

bool TFrameWlProfSecurity::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        SelectComboByValue(
            CmbSecurity, g_Var.DeviceMode == DEVICE_AP ? 0 : ProposedSecurity(g_Var.SelectedAP));
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlProfSecurity::BtnNextClick()
{
    tag_WL_CONFIG& wl = g_Var.NewWlConfig;
    wl.WL_SECURITY_MODE = SelectedCode(CmbSecurity, 0);
    if (wl.WL_SECURITY_MODE == 0) {
        wl.WL_AUTH_MODE = 0;
        wl.WL_WEPKEY_LEN = 0;
        wl.WepKeyId = 1;
        std::memset(wl.WL_WEPKEY, 0, sizeof(wl.WL_WEPKEY));
        wl.WL_WPA_MODE = 2;
        wl.WL_WPA_CIPHER = 2;
        std::memset(wl.WL_WPA_PSK, 0, sizeof(wl.WL_WPA_PSK));
    }
    PostWizard(WZ_NEXT);
}
