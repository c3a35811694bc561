#include "launcher/frametutorial.h"

#include "controls/imagebuttons.h"
#include "launcher/introkit.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameTutorial::TFrameTutorial(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    ImgTutorial = new TPictureBox(this);
    ImgTutorial->setObjectName(QStringLiteral("ImgTutorial"));
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

bool TFrameTutorial::CanEnter(TFrameBase* from, int direction, LPARAM param)
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
