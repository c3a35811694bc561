#include "pages/framedevipcfg.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameDevIPCfg::TFrameDevIPCfg(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Configure"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnNextClick);
}

void TFrameDevIPCfg::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameDevIPCfg::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameDevIPCfg::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameDevIPCfg::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
