#include "launcher/framewelcome.h"

#include "controls/imagebuttons.h"
#include "launcher/introkit.h"
#include "platform/core/timer.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>

TFrameWelcome::TFrameWelcome(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GBoxWelcome = CreateWhiteGroupBox(this, "GBoxWelcome", QStringLiteral("Welcome"));
    LbInfo1 = new QLabel(QStringLiteral("Welcome to the Setup Wizard for your QRX-640."), GBoxWelcome);
    LbInfo1->setObjectName(QStringLiteral("LbInfo1"));
    QFont big(QStringLiteral("Tahoma"));
    big.setPixelSize(18);
    big.setBold(true);
    LbInfo1->setFont(big);
    LbInfo1->setWordWrap(true);
    LbInfo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LbInfo1->setGeometry(24, 40, 528, 60);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWelcome::BtnExitClick);
    BtnUG = CreateWizardButton(this, "BtnUG", QStringLiteral("User Guide"), TButtonPlace::Middle);
    connect(BtnUG, &TTrifaceBtn::clicked, this, &TFrameWelcome::BtnUGClick);
    BtnUG->setVisible(false);
    BtnStart = CreateWizardButton(this, "BtnStart", QStringLiteral("Start"), TButtonPlace::Right);
    connect(BtnStart, &TTrifaceBtn::clicked, this, &TFrameWelcome::BtnStartClick);

    TimerInstAcrobat = new TTimer(this);
    TimerInstAcrobat->setObjectName(QStringLiteral("TimerInstAcrobat"));
    TimerInstAcrobat->SetEnabled(false);
    m_watch = std::make_unique<CInstallerWatch>(TimerInstAcrobat);
}

TFrameWelcome::~TFrameWelcome()
{
    TimerInstAcrobat->SetEnabled(false);
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

void TFrameWelcome::BtnUGClick()
{
    m_watch->OpenGuide();
}
