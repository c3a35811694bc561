#include "pages/framewlconfig.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameWlConfig::TFrameWlConfig(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWlConfig::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameWlConfig::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlConfig::BtnNextClick);
}

void TFrameWlConfig::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameWlConfig::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameWlConfig::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameWlConfig::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
