#include "launcher/framelicense.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "launcher/introkit.h"
#include "launcher/rtftextdocument.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QTextEdit>

TFrameLicense::TFrameLicense(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GBoxLicense = CreateWhiteGroupBox(this, "GBoxLicense", QStringLiteral("License Agreement"));
    REdtLicense = new QTextEdit(GBoxLicense);
    REdtLicense->setObjectName(QStringLiteral("REdtLicense"));
    REdtLicense->setReadOnly(true);
    REdtLicense->setAcceptRichText(true);
    REdtLicense->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REdtLicense->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    REdtLicense->setFont(QFont(QStringLiteral("Tahoma"), 8));
    REdtLicense->setGeometry(12, 22, 552, 216);

    ChkAccept = new QCheckBox(QStringLiteral("I accept the terms in the License Agreement."), GBoxLicense);
    ChkAccept->setObjectName(QStringLiteral("ChkAccept"));
    QFont bold(QStringLiteral("Tahoma"), 8);
    bold.setBold(true);
    ChkAccept->setFont(bold);
    ChkAccept->setGeometry(12, 246, 552, 20);
    connect(ChkAccept, &QCheckBox::clicked, this, &TFrameLicense::ChkAcceptClick);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameLicense::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameLicense::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameLicense::BtnNextClick);
}

void TFrameLicense::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

void TFrameLicense::PassByItself()
{
    ChkAccept->setChecked(true);
    BtnNextClick();
}

bool TFrameLicense::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    // The wizard enters this page only going forward.
    if (ReadSettingBool(QStringLiteral("Setting"), QStringLiteral("SkipLicense"), false)) {
        PassByItself();
        return TFrameBase::CanEnter(from, direction, param);
    }
    // Accepted once, accepted for the whole run.
    if (g_Var.LicenseAccepted) {
        PassByItself();
        return TFrameBase::CanEnter(from, direction, param);
    }
    const QString name = ReadSettingString(QStringLiteral("Product"), QStringLiteral("License"), QString());
    const QString path = g_Var.AppPath + name;
    if (name.isEmpty() || !QFileInfo(path).isFile()) {
        PassByItself();
        return TFrameBase::CanEnter(from, direction, param);
    }
    REdtLicense->clear();
    LoadRichTextFile(REdtLicense, path);
    ChkAccept->setChecked(false);
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameLicense::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    BtnNext->setEnabled(ChkAccept->isChecked());
    TFrameBase::EnterFrame(from, direction, param);
}

bool TFrameLicense::CanLeave(TFrameBase* to, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD && ChkAccept->isChecked()) {
        g_Var.LicenseAccepted = true; // never cleared during the run
    }
    return TFrameBase::CanLeave(to, direction, param);
}

void TFrameLicense::ChkAcceptClick()
{
    BtnNext->setEnabled(ChkAccept->isChecked());
}

void TFrameLicense::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameLicense::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameLicense::BtnNextClick()
{
    PostWizard(WZ_NEXT);
}
