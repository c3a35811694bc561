#include "pages/framewlprofwlmode.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {
constexpr int MODE_BGN = 9;
constexpr int MODE_BG = 0;
constexpr int MODE_N = 6;
} // namespace

TFrameWlProfWlMode::TFrameWlProfWlMode(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxWirelessMode = CreateWlGroupBox(this, "GBoxWirelessMode", QStringLiteral("Wireless Mode"));
    LbMode
        = CreateWlLabel(GBoxWirelessMode, "LbMode", QStringLiteral("Wireless Mode:"), WlCaptionRect(0), true);
    CmbMode = CreateWlDropDown(GBoxWirelessMode, "CmbMode", WlFieldRect(0));
    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfWlMode::BtnNextClick);
}

void TFrameWlProfWlMode::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    CmbMode->clear();
    for (int code : { MODE_BGN, MODE_BG, MODE_N }) {
        AddCodeItem(CmbMode, g_Var.WlModeText[code], code);
    }
    TFrameBase::InitFrame();
}

bool TFrameWlProfWlMode::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        SelectComboByValue(CmbMode, MODE_BGN);
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlProfWlMode::BtnNextClick()
{
    g_Var.NewWlConfig.WL_MODE = SelectedCode(CmbMode, MODE_BGN);
    PostWizard(WZ_NEXT);
}
