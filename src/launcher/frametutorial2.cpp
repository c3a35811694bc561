#include "launcher/frametutorial2.h"

#include "controls/imagebuttons.h"
#include "launcher/introkit.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameTutorial2::TFrameTutorial2(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    ImgTutorial2 = new TPictureBox(this);
    ImgTutorial2->setObjectName(QStringLiteral("ImgTutorial2"));
    ImgTutorial2->setGeometry(24, 24, 552, 240);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameTutorial2::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameTutorial2::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameTutorial2::BtnNextClick);
}

void TFrameTutorial2::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    if (FormRes) {
        ImgTutorial2->SetPicture(FormRes->ImgTutorial2->Picture());
    }
    TFrameBase::InitFrame();
}

bool TFrameTutorial2::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (ReadSettingBool(QStringLiteral("Setting"), QStringLiteral("SkipTutorial"), false)) {
        // The click posts the navigation message; the page is entered and shown first, then the
        // message moves the wizard on.
        if (direction == WZ_DIR_FORWARD) {
            BtnNextClick();
        } else {
            BtnBackClick();
        }
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameTutorial2::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameTutorial2::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameTutorial2::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
