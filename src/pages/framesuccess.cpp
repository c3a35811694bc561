#include "pages/framesuccess.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameSuccess::TFrameSuccess(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Right);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSuccess::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSuccess::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Left);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSuccess::BtnNextClick);
    BtnNext->setVisible(false);
}

void TFrameSuccess::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameSuccess::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameSuccess::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameSuccess::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
