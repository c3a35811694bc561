#include "pages/framepassword.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFramePassword::TFramePassword(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 323);
    ImgBG = CreatePageBackground(this);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFramePassword::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFramePassword::BtnBackClick);
    BtnLogin = CreateWizardButton(this, "BtnLogin", QStringLiteral("Login"), TButtonPlace::Right);
    connect(BtnLogin, &TTrifaceBtn::clicked, this, &TFramePassword::BtnLoginClick);
}

void TFramePassword::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnLogin });
    TFrameBase::InitFrame();
}

void TFramePassword::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFramePassword::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFramePassword::BtnLoginClick()
{
    PostWizard(WZ_NEXT);
}
