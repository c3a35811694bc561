#include "pages/framewlprofile.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

TFrameWlProfile::TFrameWlProfile(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);
}

void TFrameWlProfile::InitFrame()
{
    TakePageArtwork(ImgBG, {});
    TFrameBase::InitFrame();
}

bool TFrameWlProfile::StepSubPage(bool /*forward*/)
{
    return true;
}
