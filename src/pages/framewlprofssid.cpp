#include "pages/framewlprofssid.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "platform/ui/dialogs.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFrameWlProfSSID::TFrameWlProfSSID(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxSSID = CreateWlGroupBox(this, "GBoxSSID", QStringLiteral("Wireless Network"));
    LbSSID = CreateWlLabel(GBoxSSID, "LbSSID", QStringLiteral("SSID:"), WlCaptionRect(0), true);
    EdtSSID = new QLineEdit(GBoxSSID);
    EdtSSID->setObjectName(QStringLiteral("EdtSSID"));
    EdtSSID->setGeometry(WlFieldRect(0));
    EdtSSID->setMaxLength(SSID_MAX_CHARS);
    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfSSID::BtnNextClick);
}

void TFrameWlProfSSID::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

bool TFrameWlProfSSID::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        const QString proposal = ReadSettingString(QStringLiteral("Setting"), QStringLiteral("SSID"),
            FieldToText(g_Var.NewWlConfig.WL_SSID, int(sizeof(g_Var.NewWlConfig.WL_SSID))));
        if (g_Var.DeviceMode == DEVICE_WBRIDGE) {
            EdtSSID->setText(FieldToText(g_Var.SelectedAP.SSID, int(sizeof(g_Var.SelectedAP.SSID))));
        } else {
            // The edit keeps at most 32 characters of a longer text from the settings file.
            EdtSSID->setText(proposal);
        }
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlProfSSID::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    FocusControl(EdtSSID);
    TFrameBase::EnterFrame(from, direction, param);
}

void TFrameWlProfSSID::BtnNextClick()
{
    const QString ssid = EdtSSID->text();
    // The empty text is refused ("No SSID"); so is a typed text whose UTF-8 form does not fit the
    // 32-byte field, which would otherwise be cut on the wire.
    const CCheckResult check = CheckSsid(ssid);
    if (!check.Ok()) {
        MessageBoxInfo(check.Text());
        FocusControl(EdtSSID);
        return;
    }
    CopyTextToField(ssid, g_Var.NewWlConfig.WL_SSID, int(sizeof(g_Var.NewWlConfig.WL_SSID)), SSID_MAX_CHARS);
    g_Var.NewWlConfig.WL_STD_CH = 0;
    g_Var.NewWlConfig.WL_EXT_CH = 0;
    PostWizard(WZ_NEXT);
}
