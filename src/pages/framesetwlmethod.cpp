#include "pages/framesetwlmethod.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "protocol/codec/records.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

TFrameSetWlMethod::TFrameSetWlMethod(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GBoxSetWlMethod = CreateWlGroupBox(this, "GBoxSetWlMethod", QString());
    LbClickNext = CreateWlLabel(GBoxSetWlMethod, "LbClickNext", QStringLiteral("Click Next to continue"),
        QRect(300, 250, 260, 16), true);
    LbSetWlInfo = CreateWlLabel(GBoxSetWlMethod, "LbSetWlInfo", QStringLiteral("Wireless Configuration"),
        QRect(24, 18, 400, 20), false);
    QFont heading = LbSetWlInfo->font();
    heading.setBold(true);
    heading.setPixelSize(14);
    LbSetWlInfo->setFont(heading);
    LbSetWlMsg = CreateWlLabel(GBoxSetWlMethod, "LbSetWlMsg",
        QStringLiteral(
            "WPS automates the setup process between this device and another wireless adapter that "
            "supports WPS. Please note that your wireless adapter must support WPS in order for this "
            "technology to work. Not all adapters support WPS. Please refer to your wireless "
            "adapter\u2019s user guide to confirm this feature is support."),
        QRect(24, 46, 528, 84), false);
    LbSetWlMsg->setWordWrap(true);
    LbSetWlMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // "Manual Setup" above WPS, and first in the tab order.
    RBtnManual = new QRadioButton(QStringLiteral("Manual Setup"), GBoxSetWlMethod);
    RBtnManual->setObjectName(QStringLiteral("RBtnManual"));
    RBtnManual->setGeometry(48, 146, 300, 20);
    RBtnWPS = new QRadioButton(QStringLiteral("Wi-Fi Protected Setup (WPS)"), GBoxSetWlMethod);
    RBtnWPS->setObjectName(QStringLiteral("RBtnWPS"));
    RBtnWPS->setGeometry(48, 174, 300, 20);
    setTabOrder(RBtnManual, RBtnWPS);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSetWlMethod::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSetWlMethod::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSetWlMethod::BtnNextClick);
}

void TFrameSetWlMethod::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

bool TFrameSetWlMethod::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        RBtnManual->setChecked(true);
        const QString key = g_Var.DeviceMode == DEVICE_AP ? QStringLiteral("SetWlMethod_AP_MODE_MSG")
                                                          : QStringLiteral("SetWlMethod_BRIDGE_MODE_MSG");
        LbSetWlMsg->setText(ReadSettingString(QStringLiteral("String"), key, QString()));
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameSetWlMethod::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameSetWlMethod::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameSetWlMethod::BtnNextClick()
{
    if (RBtnWPS->isChecked()) {
        g_Var.WlMethod = 0;
    } else if (RBtnManual->isChecked()) {
        g_Var.WlMethod = 1;
    }
    PostWizard(WZ_NEXT);
}
