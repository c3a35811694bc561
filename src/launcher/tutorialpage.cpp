#include "launcher/tutorialpage.h"

#include "controls/imagebuttons.h"
#include "launcher/introkit.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

CTutorialPage::CTutorialPage(QWidget* parent, const char* pictureName, const QRect& pictureGeometry)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    m_tutorial = new TPictureBox(this);
    m_tutorial->setObjectName(QString::fromLatin1(pictureName));
    m_tutorial->setGeometry(pictureGeometry);
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &CTutorialPage::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &CTutorialPage::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &CTutorialPage::BtnNextClick);
}

void CTutorialPage::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    if (FormRes) {
        if (const TPictureBox* source = FormRes->FindPicture(m_tutorial->objectName())) {
            m_tutorial->SetPicture(source->Picture());
        }
    }
    TFrameBase::InitFrame();
}

bool CTutorialPage::CanEnter(TFrameBase* from, int direction, LPARAM param)
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

void CTutorialPage::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void CTutorialPage::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void CTutorialPage::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
