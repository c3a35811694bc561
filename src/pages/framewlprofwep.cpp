#include "pages/framewlprofwep.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/framewlprofkit.h"
#include "platform/ui/dialogs.h"
#include "protocol/codec/records.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFrameWlProfWEP::TFrameWlProfWEP(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxWEP = CreateWlGroupBox(this, "GBoxWEP", QStringLiteral("Wireless Security"));
    LbWEP = CreateWlLabel(GBoxWEP, "LbWEP", QStringLiteral("WEP Key Length:"), WlCaptionRect(0), true);
    CmbWEP = CreateWlDropDown(GBoxWEP, "CmbWEP", WlFieldRect(0));
    LbWEPKey = CreateWlLabel(GBoxWEP, "LbWEPKey", QStringLiteral("WEP Key:"), WlCaptionRect(1), true);
    EdtKey1 = new QLineEdit(GBoxWEP);
    EdtKey1->setObjectName(QStringLiteral("EdtKey1"));
    EdtKey1->setGeometry(WlFieldRect(1));
    EdtKey1->setMaxLength(WepKeyLimit(0));
    LbAuthen = CreateWlLabel(GBoxWEP, "LbAuthen", QStringLiteral("Authentication:"), WlCaptionRect(2), true);
    CmbAuthen = CreateWlDropDown(GBoxWEP, "CmbAuthen", WlFieldRect(2));
    setTabOrder(CmbWEP, EdtKey1);
    setTabOrder(EdtKey1, CmbAuthen);
    connect(CmbWEP, &QComboBox::activated, this, [this] { CmbWEPSelect(); });

    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfWEP::BtnNextClick);
}

void TFrameWlProfWEP::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    CmbWEP->clear();
    AddCodeItem(CmbWEP, g_Var.WepLenText[0], 0);
    AddCodeItem(CmbWEP, g_Var.WepLenText[1], 1);
    TFrameBase::InitFrame();
}

bool TFrameWlProfWEP::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        const tag_WL_CONFIG& wl = g_Var.NewWlConfig;
        const bool apMode = g_Var.DeviceMode == DEVICE_AP;
        CmbAuthen->clear();
        AddCodeItem(CmbAuthen, g_Var.AuthText[0], 0);
        AddCodeItem(CmbAuthen, g_Var.AuthText[1], 1);
        if (apMode) {
            AddCodeItem(CmbAuthen, g_Var.AuthText[2], 2);
        }
        if (!SelectComboByValue(CmbWEP, wl.WL_WEPKEY_LEN)) {
            SelectComboByValue(CmbWEP, 0);
        }
        CmbWEPSelect();
        EdtKey1->setText(FieldToText(wl.WL_WEPKEY, int(sizeof(wl.WL_WEPKEY))));
        if (apMode) {
            if (!SelectComboByValue(CmbAuthen, wl.WL_AUTH_MODE)) {
                SelectComboByValue(CmbAuthen, 2);
            }
        } else {
            SelectComboByValue(CmbAuthen, 0);
        }
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWlProfWEP::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    FocusControl(EdtKey1);
    TFrameBase::EnterFrame(from, direction, param);
}

void TFrameWlProfWEP::CmbWEPSelect()
{
    EdtKey1->setMaxLength(WepKeyLimit(SelectedCode(CmbWEP, 0)));
    EdtKey1->clear();
}

int TFrameWlProfWEP::CheckKey(int keyLength)
{
    const QString key = EdtKey1->text();
    const int limit = EdtKey1->maxLength();
    const int form = ::CheckKey(keyLength, key, limit);
    if (form >= 0) {
        return form;
    }
    const QString text = KeyErrorText(keyLength, key.size() == limit);
    FocusControl(EdtKey1);
    MessageBoxInfo(text);
    return -1;
}

QString TFrameWlProfWEP::KeyErrorText(int keyLength, bool hexFault)
{
    return ::KeyErrorText(keyLength, hexFault);
}

QString TFrameWlProfWEP::NormalizedKey(const QLineEdit* edit, int form)
{
    return ::NormalizedKey(edit->text(), edit->maxLength(), form);
}

void TFrameWlProfWEP::BtnNextClick()
{
    const int keyLength = SelectedCode(CmbWEP, 0);
    const int form = CheckKey(keyLength);
    if (form == -1) {
        return;
    }
    tag_WL_CONFIG& wl = g_Var.NewWlConfig;
    wl.WL_WEPKEY_LEN = keyLength;
    CopyTextToField(NormalizedKey(EdtKey1, form), wl.WL_WEPKEY, int(sizeof(wl.WL_WEPKEY)));
    wl.WL_AUTH_MODE = SelectedCode(CmbAuthen, 2);
    PostWizard(WZ_NEXT);
}
