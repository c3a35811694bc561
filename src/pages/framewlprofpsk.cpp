#include "pages/framewlprofpsk.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "platform/ui/dialogs.h"
#include "protocol/codec/records.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFrameWlProfPSK::TFrameWlProfPSK(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxPSK = CreateWlGroupBox(this, "GBoxPSK", QStringLiteral("Wireless Security"));
    LbWPAMode = CreateWlLabel(GBoxPSK, "LbWPAMode", QStringLiteral("WPA Mode:"), WlCaptionRect(0), true);
    CmbWPAMode = CreateWlDropDown(GBoxPSK, "CmbWPAMode", WlFieldRect(0));
    LbPassphrase
        = CreateWlLabel(GBoxPSK, "LbPassphrase", QStringLiteral("Pre-Shared Key:"), WlCaptionRect(1), true);
    EdtPassphrase = new QLineEdit(GBoxPSK);
    EdtPassphrase->setObjectName(QStringLiteral("EdtPassphrase"));
    EdtPassphrase->setGeometry(WlFieldRect(1, 340));
    EdtPassphrase->setMaxLength(64);
    LbCipher = CreateWlLabel(GBoxPSK, "LbCipher", QStringLiteral("Cipher Type:"), WlCaptionRect(2), true);
    LbCipherValue = CreateWlLabel(GBoxPSK, "LbCipherValue", QString(), WlFieldRect(2), false);
    setTabOrder(CmbWPAMode, EdtPassphrase);
    connect(CmbWPAMode, &QComboBox::activated, this, [this] { CmbWPAModeSelect(); });

    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfPSK::BtnNextClick);
}

void TFrameWlProfPSK::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    CmbWPAMode->clear();
    for (int code = 0; code <= 2; ++code) {
        AddCodeItem(CmbWPAMode, g_Var.WpaModeText[code], code);
    }
    TFrameBase::InitFrame();
}

bool TFrameWlProfPSK::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        const tag_WL_CONFIG& wl = g_Var.NewWlConfig;
        if (g_Var.DeviceMode == DEVICE_AP) {
            if (!SelectComboByValue(CmbWPAMode, wl.WL_WPA_MODE)) {
                SelectComboByValue(CmbWPAMode, 2);
            }
        } else {
            const int auth = g_Var.SelectedAP.Authentication;
            SelectComboByValue(CmbWPAMode, auth == 2 ? 0 : auth == 3 ? 1 : 2);
        }
        EdtPassphrase->setText(FieldToText(wl.WL_WPA_PSK, int(sizeof(wl.WL_WPA_PSK))));
        CmbWPAModeSelect();
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlProfPSK::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    FocusControl(EdtPassphrase);
    TFrameBase::EnterFrame(from, direction, param);
}

void TFrameWlProfPSK::CmbWPAModeSelect()
{
    LbCipherValue->setText(g_Var.CipherText[CipherForWpaMode(SelectedCode(CmbWPAMode, 2))]);
}

bool TFrameWlProfPSK::CheckPassphrase()
{
    const CCheckResult check = ::CheckPassphrase(EdtPassphrase->text());
    if (check.Ok()) {
        return true;
    }
    FocusControl(EdtPassphrase);
    MessageBoxInfo(check.Text());
    return false;
}

void TFrameWlProfPSK::BtnNextClick()
{
    if (!CheckPassphrase()) {
        return;
    }
    tag_WL_CONFIG& wl = g_Var.NewWlConfig;
    wl.WL_WPA_MODE = SelectedCode(CmbWPAMode, 2);
    CopyTextToField(EdtPassphrase->text(), wl.WL_WPA_PSK, int(sizeof(wl.WL_WPA_PSK)));
    const QString cipher = LbCipherValue->text();
    wl.WL_WPA_CIPHER = cipher == g_Var.CipherText[0] ? 0 : cipher == g_Var.CipherText[1] ? 1 : 2;
    PostWizard(WZ_NEXT);
}
