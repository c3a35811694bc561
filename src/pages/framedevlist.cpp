#include "pages/framedevlist.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameDevList::TFrameDevList(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnBackClick);
    BtnCfg = CreateWizardButton(this, "BtnCfg", QStringLiteral("Configure"), TButtonPlace::Right);
    connect(BtnCfg, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnCfgClick);
}

void TFrameDevList::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnCfg });
    TFrameBase::InitFrame();
}

void TFrameDevList::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameDevList::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameDevList::BtnCfgClick()
{
    PostWizard(WZ_NEXT);
}
