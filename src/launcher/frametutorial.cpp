#include "launcher/frametutorial.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameTutorial::TFrameTutorial(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    ImgTutorial = new TPictureBox(this);
    ImgTutorial->setObjectName(QStringLiteral("ImgTutorial"));
    ImgTutorial->SetAutoSize(true);
    ImgTutorial->setGeometry(42, 12, 516, 270);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameTutorial::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameTutorial::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameTutorial::BtnNextClick);
}

void TFrameTutorial::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    if (FormRes) {
        ImgTutorial->SetPicture(FormRes->ImgTutorial->Picture());
    }
    TFrameBase::InitFrame();
}

void TFrameTutorial::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameTutorial::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameTutorial::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
