#include "pages/framesuccess.h"

#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>

namespace {
QFont TahomaPixels(const QFont& base, int pixels)
{
    QFont f = base;
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    return f;
}
} // namespace

TFrameSuccess::TFrameSuccess(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GBoxSuccess = CreateWlGroupBox(this, "GBoxSuccess", QString());
    LbSuccess1 = CreateWlLabel(
        GBoxSuccess, "LbSuccess1", QStringLiteral("Congratulations!"), QRect(40, 70, 500, 32), false);
    LbSuccess1->setFont(TahomaPixels(LbSuccess1->font(), 24));
    LbSuccess2 = CreateWlLabel(GBoxSuccess, "LbSuccess2",
        QStringLiteral("Your 300Mbps Wireless N PoE Access Point is Now Configured"), QRect(40, 112, 500, 60),
        false);
    LbSuccess2->setFont(TahomaPixels(LbSuccess2->font(), 20));
    LbSuccess2->setWordWrap(true);
    LbSuccess2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Exit takes the right-most place, where the other pages have Next.
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
