#include "launcher/framewelcome.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameWelcome::TFrameWelcome(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWelcome::BtnExitClick);
    BtnStart = CreateWizardButton(this, "BtnStart", QStringLiteral("Start"), TButtonPlace::Right);
    connect(BtnStart, &TTrifaceBtn::clicked, this, &TFrameWelcome::BtnStartClick);
    BtnUG = CreateWizardButton(this, "BtnUG", QStringLiteral("User Guide"), TButtonPlace::Middle);
    BtnUG->setVisible(false);
}

void TFrameWelcome::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnStart, BtnUG });
    TFrameBase::InitFrame();
}

void TFrameWelcome::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameWelcome::BtnStartClick()
{
    PostWizard(WZ_NEXT);
}
