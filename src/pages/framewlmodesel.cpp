#include "pages/framewlmodesel.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameWlModeSel::TFrameWlModeSel(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlModeSel::BtnNextClick);
}

void TFrameWlModeSel::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameWlModeSel::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameWlModeSel::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameWlModeSel::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
