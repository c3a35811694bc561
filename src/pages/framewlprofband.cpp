#include "pages/framewlprofband.h"

#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

TFrameWlProfBand::TFrameWlProfBand(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxWirelessBand = CreateWlGroupBox(this, "GBoxWirelessBand", QStringLiteral("Wireless Band"));
    LbBand
        = CreateWlLabel(GBoxWirelessBand, "LbBand", QStringLiteral("Wireless Band:"), WlCaptionRect(0), true);
    CmbBand = CreateWlDropDown(GBoxWirelessBand, "CmbBand", WlFieldRect(0));
    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, [] { PostWizard(WZ_NEXT); });
}

void TFrameWlProfBand::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}
