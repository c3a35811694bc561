#include "pages/framepassword.h"

#include "app/globalvar.h"
#include "app/ui/widgetutils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/accesskit.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>

namespace {
constexpr std::uint32_t LOGIN_TIMEOUT = 5000;
constexpr std::uint32_t GET_CONFIG_TIMEOUT = 15000;
constexpr int PASSWORD_MAX = 16;

class CStarMaskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return '*';
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

TFramePassword::TFramePassword(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 323);
    ImgBG = CreatePageBackground(this);

    GBoxPassword = acc::CreatePageGroupBox(this, "GBoxPassword", QString());
    LbPassword = acc::CreateLabel(GBoxPassword, "LbPassword", QStringLiteral("Password:"), 60, 92, 120, 21,
        false, false, Qt::AlignRight | Qt::AlignVCenter);
    EdtPassword = new QLineEdit(GBoxPassword);
    EdtPassword->setObjectName(QStringLiteral("EdtPassword"));
    EdtPassword->setGeometry(188, 92, 200, 21);
    EdtPassword->setMaxLength(PASSWORD_MAX);
    // Each character shown as "*" (the style's own mask character otherwise).
    auto* maskStyle = new CStarMaskStyle();
    maskStyle->setParent(this);
    EdtPassword->setStyle(maskStyle);
    EdtPassword->setEchoMode(QLineEdit::Password);
    LbDefPswd = acc::CreateLabel(
        GBoxPassword, "LbDefPswd", QStringLiteral("( default password is blank )"), 188, 118, 300, 16);
    LbInfo1 = acc::CreateLabel(GBoxPassword, "LbInfo1",
        QStringLiteral(
            "NOTE: For security purposed we recommend changing the default password after setup is "
            "complete."),
        60, 190, 456, 40, true, true);
    acc::MakeGreyBold(LbInfo1);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFramePassword::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFramePassword::BtnBackClick);
    BtnLogin = CreateWizardButton(this, "BtnLogin", QStringLiteral("Login"), TButtonPlace::Right);
    connect(BtnLogin, &TTrifaceBtn::clicked, this, &TFramePassword::BtnLoginClick);
}

void TFramePassword::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnLogin });
    TFrameBase::InitFrame();
}

bool TFramePassword::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        EdtPassword->setText(g_Var.Password);
    }
    // Always these two texts, whatever the settings file says for the label.
    LbDefPswd->setText(QStringLiteral("( default password is blank. ") + QStringLiteral(" )"));
    return TFrameBase::CanEnter(from, direction, param);
}

void TFramePassword::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    FocusControl(EdtPassword);
    TFrameBase::EnterFrame(from, direction, param);
}

void TFramePassword::BtnLoginClick()
{
    if (m_progress) {
        return; // a login is already under way
    }
    g_Var.Password = EdtPassword->text();
    const int result = acc::RunProgressDialog(this, m_progress, [this] { StartLogin(); });
    if (result == 1) {
        PostWizard(WZ_NEXT);
        return;
    }
    acc::ShowMessageText(msg::ER_LOGIN, msg::ER_LOGINText);
    FocusControl(EdtPassword);
    if (g_Var.NonWorking) {
        PostWizard(WZ_NEXT);
    }
}

void TFramePassword::StartLogin()
{
    if (!FormUDP || !FormUDP->SendLogin(LOGIN_TIMEOUT)) {
        acc::CloseProgressDialog(m_progress, 2);
    }
}

LRESULT TFramePassword::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT) && m_progress) {
        const int op = int(wParam);
        if (msg == UM_UDP_RECV && op == OP_LOGIN) {
            if (lParam != 0 && FormUDP) {
                FormUDP->SendGetConfig(GET_CONFIG_TIMEOUT);
            } else {
                acc::CloseProgressDialog(m_progress, 2);
            }
        } else if (msg == UM_UDP_RECV && op == OP_GET_CONFIG) {
            acc::CloseProgressDialog(m_progress, 1);
        } else if (msg == UM_UDP_TIMEOUT && (op == OP_LOGIN || op == OP_GET_CONFIG)) {
            acc::CloseProgressDialog(m_progress, 2);
        }
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFramePassword::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFramePassword::BtnBackClick()
{
    PostWizard(WZ_BACK);
}
