#include "pages/framewlconfig.h"

#include "controls/imagebuttons.h"
#include "pages/accesskit.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

TFrameWlConfig::TFrameWlConfig(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxWlConfig = acc::CreatePageGroupBox(this, "GBoxWlConfig", QStringLiteral("Wireless Configuration"));
    RBtnAdhoc = new QRadioButton(QStringLiteral("Adhoc"), GBoxWlConfig);
    RBtnAdhoc->setObjectName(QStringLiteral("RBtnAdhoc"));
    RBtnAdhoc->setGeometry(24, 30, 300, 17);
    LbAdhocInfo = acc::CreateLabel(GBoxWlConfig, "LbAdhocInfo",
        QStringLiteral("Use this mode if you only plan to have a completely wireless network environment."),
        44, 50, 510, 32, false, true);
    RBtnInfrastructure = new QRadioButton(QStringLiteral("Infrastructure"), GBoxWlConfig);
    RBtnInfrastructure->setObjectName(QStringLiteral("RBtnInfrastructure"));
    RBtnInfrastructure->setGeometry(24, 100, 300, 17);
    RBtnInfrastructure->setChecked(true);
    LbInfrastructureInfo = acc::CreateLabel(GBoxWlConfig, "LbInfrastructureInfo",
        QStringLiteral("Use this mode if you are planning to connect a Access Point or Wireless Router."), 44,
        120, 510, 32, false, true);

    // The buttons have no click handlers.
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
}

void TFrameWlConfig::InitFrame()
{
    // The built-in background and button faces, as the page was designed; then the texts.
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}
