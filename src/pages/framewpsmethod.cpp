#include "pages/framewpsmethod.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameWPSMethod::TFrameWPSMethod(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Connect"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnNextClick);
}

void TFrameWPSMethod::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameWPSMethod::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameWPSMethod::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameWPSMethod::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
