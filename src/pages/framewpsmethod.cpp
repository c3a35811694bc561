#include "pages/framewpsmethod.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/formwpssurvey.h"
#include "pages/framewlprofkit.h"
#include "platform/core/clock.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

std::uint32_t WpsStartTick = 0;

namespace {

constexpr std::uint32_t LISTEN_LIMIT = 180000;
constexpr std::uint32_t WPS_REQUEST_WAIT = 10000;
constexpr std::uint32_t LOGIN_WAIT = 5000;
constexpr std::uint32_t STATION_PIN_WAIT = 3000;
constexpr std::uint32_t GET_CONFIG_WAIT = 15000;
constexpr std::uint32_t IDLE_SETTLE_WAIT = 25000;
constexpr std::uint32_t CONFIGURED_SETTLE_WAIT = 10000;

constexpr int STATUS_IDLE = 1;
constexpr int STATUS_WSC_FAIL = 2;
constexpr int STATUS_START_WSC = 3;
constexpr int STATUS_CONFIGURED = 34;
constexpr WPARAM EVENT_WPS_STATUS = 150;

// Columns of the PIN block inside the group box.
constexpr int kCaptionLeft = 44;
constexpr int kCaptionWidth = 130;
constexpr int kFieldLeft = 180;
constexpr int kFieldWidth = 170;
constexpr int kFieldHeight = 21;
constexpr int kSelectLeft = 360;
constexpr int kSelectBelowRowTop = 18;

QLabel* WrappedLabel(QWidget* parent, const char* name, const QString& text, const QRect& r)
{
    QLabel* label = CreateWlLabel(parent, name, text, r, false);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString StringText(const char* key, const QString& def)
{
    return ReadSettingString(QStringLiteral("String"), QString::fromLatin1(key), def);
}

} // namespace

TFrameWPSMethod::TFrameWPSMethod(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);

    GBoxWPSMethod = CreateWlGroupBox(this, "GBoxWPSMethod", QStringLiteral("Wi-Fi Protected Setup"));

    RBtnPBC = new QRadioButton(QStringLiteral("Push Button Method"), GBoxWPSMethod);
    RBtnPBC->setObjectName(QStringLiteral("RBtnPBC"));
    RBtnPBC->setGeometry(24, 24, 300, 18);
    LbPBCInfo = WrappedLabel(GBoxWPSMethod, "LbPBCInfo",
        QStringLiteral("This device and an adapter is setup automatically by pushing the WPS buttons on each "
                       "respective device. The Push Button Method is recommended."),
        QRect(kCaptionLeft, 44, 510, 30));

    RBtnPIN = new QRadioButton(QStringLiteral("PIN Method"), GBoxWPSMethod);
    RBtnPIN->setObjectName(QStringLiteral("RBtnPIN"));
    RBtnPIN->setGeometry(24, 80, 300, 18);
    // The PIN method comes first in the tab order.
    setTabOrder(RBtnPIN, RBtnPBC);
    connect(RBtnPBC, &QRadioButton::toggled, this, &TFrameWPSMethod::RBtnPINClick);
    connect(RBtnPIN, &QRadioButton::toggled, this, &TFrameWPSMethod::RBtnPINClick);

    LbSSID = CreateWlLabel(GBoxWPSMethod, "LbSSID", QStringLiteral("Wireless Device SSID:"),
        QRect(kCaptionLeft, 103, kCaptionWidth, kFieldHeight), false);
    EdtSSID = new QLineEdit(GBoxWPSMethod);
    EdtSSID->setObjectName(QStringLiteral("EdtSSID"));
    EdtSSID->setMaxLength(SSID_MAX_CHARS);
    EdtSSID->setGeometry(kFieldLeft, 103, kFieldWidth, kFieldHeight);
    connect(EdtSSID, &QLineEdit::textChanged, this, &TFrameWPSMethod::updateinfo);
    BtnSelect = CreateWizardButton(GBoxWPSMethod, "BtnSelect", QStringLiteral("Select"), TButtonPlace::Left);
    BtnSelect->SetBounds(kSelectLeft, 103 + kSelectBelowRowTop, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnSelect, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnSelectClick);

    LbDevPIN = CreateWlLabel(GBoxWPSMethod, "LbDevPIN", QStringLiteral("Wireless Device PIN:"),
        QRect(kCaptionLeft, 126, kCaptionWidth, kFieldHeight), false);
    EdtPIN = new QLineEdit(GBoxWPSMethod);
    EdtPIN->setObjectName(QStringLiteral("EdtPIN"));
    EdtPIN->setMaxLength(8);
    // Digits only, as the number style of an edit.
    EdtPIN->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), EdtPIN));
    EdtPIN->setGeometry(kFieldLeft, 126, kFieldWidth, kFieldHeight);
    connect(EdtPIN, &QLineEdit::textChanged, this, &TFrameWPSMethod::updateinfo);
    LbDevPINCode = CreateWlLabel(GBoxWPSMethod, "LbDevPINCode", QStringLiteral("................"),
        QRect(kFieldLeft, 126, kFieldWidth, kFieldHeight), false);
    LbDevPINCode->hide();

    LbPINInfo = WrappedLabel(GBoxWPSMethod, "LbPINInfo",
        QStringLiteral(
            "This device and an adapter is setup by inputing the PIN number from each respective device. "),
        QRect(kCaptionLeft, 149, 510, 30));
    LbWPSMethodMsg = WrappedLabel(GBoxWPSMethod, "LbWPSMethodMsg",
        QStringLiteral("When using Wi-Fi Protected Setup, select the one of the two options available, refer "
                       "to your User\u2019s Guide for further instructions."),
        QRect(24, 204, 528, 56));

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Connect"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWPSMethod::BtnNextClick);

    TimerTimerout = new TTimer(this);
    TimerTimerout->setObjectName(QStringLiteral("TimerTimerout"));
    TimerTimerout->SetEnabled(false);
    TimerTimerout->SetInterval(LISTEN_LIMIT);
    TimerTimerout->OnTimer = [this](TTimer*) { TimerTimeroutTimer(); };
}

TFrameWPSMethod::~TFrameWPSMethod()
{
    TimerTimerout->SetEnabled(false);
}

void TFrameWPSMethod::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext, BtnSelect });
    TFrameBase::InitFrame();
}

bool TFrameWPSMethod::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        const bool bridge = g_Var.DeviceMode != DEVICE_AP;
        // The bridge's own PIN, shown as soon as the device answers.
        if (bridge && FormUDP) {
            FormUDP->SendStationGetConfig(STATION_PIN_WAIT);
        }
        RBtnPBC->setChecked(true);
        RBtnPINClick();
        if (bridge) {
            LbPBCInfo->setText(StringText("WPSMethod_BRIDGE_MODE_PBC_MSG", QString()));
            LbPINInfo->setText(StringText("WPSMethod_BRIDGE_MODE_PIN_MSG", QString()));
            LbWPSMethodMsg->setText(StringText("WPSMethod_BRIDGE_MODE_MSG", QString()));
            LbSSID->setText(StringText("WPSMethod_BRIDGE_MODE_SSID", QStringLiteral("AP SSID:")));
            LbDevPIN->setText(StringText("WPSMethod_BRIDGE_MODE_DevPIN", QStringLiteral("Device PIN:")));
            EdtSSID->setText(FieldToText(g_Var.SelectedAP.SSID, int(sizeof g_Var.SelectedAP.SSID)));
        } else {
            LbPBCInfo->setText(StringText("WPSMethod_AP_MODE_PBC_MSG", QString()));
            LbPINInfo->setText(StringText("WPSMethod_AP_MODE_PIN_MSG", QString()));
            LbWPSMethodMsg->setText(StringText("WPSMethod_AP_MODE_MSG", QString()));
            LbSSID->setText(StringText("WPSMethod_AP_MODE_SSID", QStringLiteral("Wireless Device SSID:")));
            LbDevPIN->setText(StringText("WPSMethod_AP_MODE_DevPIN", QStringLiteral("Wireless Device PIN:")));
            EdtSSID->clear();
        }
        LayOutPinBlock(bridge);
    }
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameWPSMethod::LayOutPinBlock(bool bridge)
{
    int top = RBtnPIN->y() + PIN_ROW_HEIGHT;
    LbSSID->setVisible(bridge);
    EdtSSID->setVisible(bridge);
    BtnSelect->setVisible(bridge);
    if (bridge) {
        LbSSID->move(kCaptionLeft, top);
        EdtSSID->move(kFieldLeft, top);
        BtnSelect->move(kSelectLeft, top + kSelectBelowRowTop);
        top += PIN_ROW_HEIGHT;
    }
    LbDevPIN->move(kCaptionLeft, top);
    EdtPIN->move(kFieldLeft, top);
    LbDevPINCode->setGeometry(EdtPIN->geometry());
    EdtPIN->setVisible(!bridge);
    LbDevPINCode->setVisible(bridge);
    top += PIN_ROW_HEIGHT;
    LbPINInfo->move(kCaptionLeft, top);
}

void TFrameWPSMethod::RBtnPINClick()
{
    updateinfo();
}

void TFrameWPSMethod::updateinfo()
{
    const bool pin = RBtnPIN->isChecked();
    EdtPIN->setEnabled(pin);
    EdtSSID->setEnabled(pin);
    BtnSelect->setEnabled(pin);
    const bool pinComplete = EdtPIN->text().size() == 8;
    bool next = false;
    if (RBtnPBC->isChecked()) {
        next = true;
    } else if (pin && g_Var.DeviceMode == DEVICE_AP) {
        next = pinComplete;
    } else if (pin && g_Var.DeviceMode == DEVICE_WBRIDGE) {
        next = !EdtSSID->text().isEmpty() && pinComplete;
    }
    BtnNext->setEnabled(next);
}

void TFrameWPSMethod::BtnSelectClick()
{
    TFormWPSSurvey dialog;
    m_survey = &dialog;
    if (dialog.ExecuteCentered(this) == mrOk) {
        EdtSSID->setText(dialog.SelectedSSID());
    }
    m_survey = nullptr;
}

void TFrameWPSMethod::BtnNextClick()
{
    if (RBtnPBC->isChecked()) {
        g_Var.WpsMethod = 1;
    } else {
        const QString pin = EdtPIN->text();
        if (pin.isEmpty()) {
            MessageBoxInfo(MessageText(msg::ER_PIN_Code, msg::ER_PIN_CodeText));
            return;
        }
        if (g_Var.DeviceMode == DEVICE_WBRIDGE && EdtSSID->text().isEmpty()) {
            MessageBoxInfo(MessageText(msg::ER_SSID, msg::ER_SSIDText));
            return;
        }
        g_Var.WpsMethod = 0;
        g_Var.NewWlConfig.WpsPinInput = pin.toInt();
        if (g_Var.DeviceMode == DEVICE_AP && CheckWpsPin(pin).Ok()
            && !WpsPinChecksumValid(std::uint32_t(pin.toUInt()))) {
            // Devices that check the PIN refuse this one; the run tells.
            DebugPrint("  PIN %s: the last digit is not the check digit", pin.toUtf8().constData());
        }
        if (g_Var.DeviceMode == DEVICE_WBRIDGE) {
            CopyTextToField(EdtSSID->text(), g_Var.NewWlConfig.WL_SSID, int(sizeof g_Var.NewWlConfig.WL_SSID),
                SSID_MAX_CHARS);
        }
    }
    if (RunWps()) {
        PostWizard(WZ_NEXT);
    } else {
        MessageBoxInfo(MessageText(msg::ER_CONNECT, msg::ER_CONNECTText));
        if (g_Var.NonWorking) {
            PostWizard(WZ_NEXT);
        }
    }
    TimerTimerout->SetEnabled(false);
}

void TFrameWPSMethod::BtnBackClick()
{
    PostWizard(WZ_BACK);
}

void TFrameWPSMethod::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

bool TFrameWPSMethod::RunWps()
{
    RetryLogin = true;
    // A run listens only to its own events.
    Listening = false;
    StartSeen = false;
    TFormProgress dialog;
    dialog.OnStart = [this] { StartWps(); };
    m_progress = &dialog;
    const int result = dialog.ExecuteCentered(this);
    m_progress = nullptr;
    StopListening();
    return result == mrOk;
}

void TFrameWPSMethod::StartWps()
{
    if (FormUDP && FormUDP->LoggedIn) {
        const bool ap = g_Var.DeviceMode == DEVICE_AP;
        if (g_Var.WpsMethod == 1) {
            if (ap) {
                FormUDP->SendWPSPBC(WPS_REQUEST_WAIT);
            } else {
                FormUDP->SendStationWPSPBC(WPS_REQUEST_WAIT);
            }
        } else if (ap) {
            FormUDP->SendWPSPIN(WPS_REQUEST_WAIT);
        } else {
            FormUDP->SendStationWPSPIN(WPS_REQUEST_WAIT);
        }
    } else if (FormUDP && RetryLogin) {
        RetryLogin = false;
        FormUDP->SendLogin(LOGIN_WAIT);
    } else {
        EndRun(mrCancel);
    }
}

void TFrameWPSMethod::EndRun(int result)
{
    if (m_progress) {
        m_progress->SetModalResult(result);
    }
}

void TFrameWPSMethod::StopListening()
{
    Listening = false;
    TimerTimerout->SetEnabled(false);
}

void TFrameWPSMethod::TimerTimeroutTimer()
{
    DebugPrint("TFrameWPSMethod::TimerTimeroutTimer");
    StopListening();
    EndRun(mrCancel);
}

void TFrameWPSMethod::RecvWPSStatus(int code)
{
    DebugPrint("TFrameWPSMethod::RecvWPSStatus %d=%s", code, WpsStatusText(code).toUtf8().constData());
    switch (code) {
    case STATUS_IDLE: {
        StopListening();
        // "Idle" ends a good run only shortly after this run's own "Start WSC Process": without
        // one it is a device that never ran.
        const std::uint32_t since = GetTickCount() - WpsStartTick;
        if (StartSeen && since <= IDLE_AFTER_START_LIMIT) {
            WaitWithMessages(IDLE_SETTLE_WAIT);
            if (m_progress && FormUDP) {
                FormUDP->SendGetConfig(GET_CONFIG_WAIT);
            }
        } else {
            EndRun(mrCancel);
        }
        break;
    }
    case STATUS_WSC_FAIL:
        StopListening();
        EndRun(mrCancel);
        break;
    case STATUS_START_WSC:
        WpsStartTick = GetTickCount();
        StartSeen = true;
        break;
    case STATUS_CONFIGURED:
        StopListening();
        if (g_Var.DeviceMode == DEVICE_AP) {
            WaitWithMessages(CONFIGURED_SETTLE_WAIT);
            if (m_progress && FormUDP) {
                FormUDP->SendGetConfig(GET_CONFIG_WAIT);
            }
        } else {
            EndRun(mrOk);
        }
        break;
    default:
        break;
    }
}

LRESULT TFrameWPSMethod::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The engine's answers belong to the survey dialog while it is open.
    if (m_survey) {
        m_survey->ForwardMessage(msg, wParam, lParam);
        return TFrameBase::WndProc(msg, wParam, lParam);
    }
    const int op = int(wParam);
    switch (msg) {
    case UM_UDP_RECV:
        if (!m_progress) {
            if (op == OP_STATION_GET_CONFIG) {
                const QString pin = FieldToText(g_Var.ApClientPIN, int(sizeof g_Var.ApClientPIN));
                LbDevPINCode->setText(pin);
                EdtPIN->setText(pin);
            }
            break;
        }
        if (op == OP_WPS_PBC || op == OP_WPS_PIN) {
            if (lParam != 0) {
                Listening = true;
                TimerTimerout->SetEnabled(true);
            } else {
                EndRun(mrCancel);
            }
        } else if (op == OP_LOGIN) {
            if (lParam != 0) {
                StartWps();
            } else {
                EndRun(mrCancel);
            }
        } else if (op == OP_GET_CONFIG) {
            EndRun(mrOk);
        }
        break;
    case UM_UDP_TIMEOUT:
        if (!m_progress) {
            break;
        }
        if (op == OP_WPS_PBC || op == OP_WPS_PIN) {
            if (RetryLogin && FormUDP) {
                RetryLogin = false;
                FormUDP->SendLogout(0);
                FormUDP->SendLogin(LOGIN_WAIT);
            } else {
                EndRun(mrCancel);
            }
        } else if (op == OP_LOGIN || op == OP_GET_CONFIG) {
            EndRun(mrCancel);
        }
        break;
    case UM_UDP_EVENT:
        if (!m_progress) {
            break;
        }
        if (!Listening) {
            DebugPrint("TFrameWPSMethod::WndProc ignore UM_UDP_EVENT %d, %d", int(wParam), int(lParam));
            break;
        }
        if (wParam == EVENT_WPS_STATUS) {
            RecvWPSStatus(int(lParam));
        } else {
            DebugPrint("TFrameWPSMethod::WndProc UM_UDP_EVENT, %d, %d", int(wParam), int(lParam));
        }
        break;
    default:
        break;
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}
