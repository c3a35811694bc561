#include "pages/framesitesurvey.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameSiteSurvey::TFrameSiteSurvey(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Connect"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameSiteSurvey::BtnNextClick);
}

void TFrameSiteSurvey::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameSiteSurvey::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameSiteSurvey::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameSiteSurvey::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
