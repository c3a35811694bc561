#include "pages/frameadhocmode.h"

#include "controls/imagebuttons.h"
#include "pages/accesskit.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFrameAdhocMode::TFrameAdhocMode(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxAdhocMode = acc::CreatePageGroupBox(this, "GBoxAdhocMode", QStringLiteral("Adhoc Mode"));
    LbTitle = acc::CreateLabel(
        GBoxAdhocMode, "LbTitle", QStringLiteral("Add your SSID and select your Channel:"), 24, 24, 400, 16);
    LbSSID = acc::CreateLabel(GBoxAdhocMode, "LbSSID", QStringLiteral("SSID:"), 60, 60, 80, 21, false, false,
        Qt::AlignRight | Qt::AlignVCenter);
    EdtSSID = new QLineEdit(GBoxAdhocMode);
    EdtSSID->setObjectName(QStringLiteral("EdtSSID"));
    EdtSSID->setGeometry(150, 60, 200, 21);
    LbChannel = acc::CreateLabel(GBoxAdhocMode, "LbChannel", QStringLiteral("Channel:"), 60, 92, 80, 21,
        false, false, Qt::AlignRight | Qt::AlignVCenter);
    CmbChannel = new QComboBox(GBoxAdhocMode);
    CmbChannel->setObjectName(QStringLiteral("CmbChannel"));
    CmbChannel->setGeometry(150, 92, 100, 21);

    // The buttons have no click handlers.
    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
}

void TFrameAdhocMode::InitFrame()
{
    // The built-in background and button faces, as the page was designed; then the texts.
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}
