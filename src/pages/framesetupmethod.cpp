#include "pages/framesetupmethod.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QRadioButton>

TFrameSetupMethod::TFrameSetupMethod(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    RBtnSetIPDHCP = new QRadioButton(QStringLiteral("‘Dynamic IP Address’ Configuration"), this);
    RBtnSetIPDHCP->setObjectName(QStringLiteral("RBtnSetIPDHCP"));
    RBtnSetIPDHCP->setGeometry(40, 110, 400, 17);
    RBtnSetIPDHCP->setChecked(true);
    RBtnSetIP = new QRadioButton(QStringLiteral("‘Static IP Address’ Configuration"), this);
    RBtnSetIP->setObjectName(QStringLiteral("RBtnSetIP"));
    RBtnSetIP->setGeometry(40, 180, 400, 17);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSetupMethod::BtnNextClick);
}

void TFrameSetupMethod::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameSetupMethod::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameSetupMethod::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameSetupMethod::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
