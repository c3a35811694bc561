#include "pages/accesskit.h"

#include "app/validation.h"
#include "platform/core/clock.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"

#include <QGroupBox>
#include <QLabel>

namespace acc {

QGroupBox* CreatePageGroupBox(QWidget* page, const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(12, 8, 576, 276);
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { background-color: white; border: 1px solid #9fb5d2; border-radius: 3px;"
        " margin-top: 7px; padding-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
        " padding: 0px 1px; color: #1c3f78; background-color: white; }"));
    return box;
}

QLabel* CreateLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h,
    bool bold, bool wrap, Qt::Alignment align)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, h);
    label->setWordWrap(wrap);
    label->setAlignment(wrap ? (align & Qt::AlignHorizontal_Mask) | Qt::AlignTop : align);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

void MakeGreyBold(QLabel* label)
{
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(QRgb(VALUE_GREY)));
    label->setPalette(pal);
}

int RunProgressDialog(QWidget* page, TFormProgress*& holder, std::function<void()> start)
{
    auto* dlg = new TFormProgress();
    dlg->OnStart = std::move(start);
    holder = dlg;
    const int result = dlg->ExecuteCentered(page);
    holder = nullptr;
    delete dlg;
    return result;
}

void CloseProgressDialog(TFormProgress* holder, int result)
{
    if (holder) {
        holder->SetModalResult(result);
    }
}

QString AddressText(std::uint32_t value)
{
    return CIpBoxes::FromValue(value).Text();
}

std::uint32_t AddressValue(const QString& dotted)
{
    if (dotted.trimmed().isEmpty()) {
        return 0;
    }
    return CIpBoxes::FromText(dotted).Value();
}

void ShowMessageText(const char* key, const char* defaultText)
{
    MessageBoxInfo(MessageText(key, defaultText));
}

namespace {
constexpr std::uint32_t LOGIN_TIMEOUT = 5000;
constexpr std::uint32_t IP_SETTING_TIMEOUT = 32000;
constexpr std::uint32_t GET_CONFIG_TIMEOUT = 15000;
constexpr std::uint32_t SETTLE_WAIT = 3000;
} // namespace

bool CIPSettingExchange::Run(QWidget* page)
{
    RetryLogin = true;
    return RunProgressDialog(page, Progress, [this] { StartIPSetting(); }) == 1;
}

void CIPSettingExchange::StartIPSetting()
{
    if (FormUDP && FormUDP->LoggedIn) {
        FormUDP->SendIPSetting(IP_SETTING_TIMEOUT);
    } else if (FormUDP && RetryLogin) {
        RetryLogin = false;
        FormUDP->SendLogin(LOGIN_TIMEOUT);
    } else {
        CloseProgressDialog(Progress, 2);
    }
}

void CIPSettingExchange::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!Progress || !FormUDP || (msg != UM_UDP_RECV && msg != UM_UDP_TIMEOUT)) {
        return;
    }
    const int op = int(wParam);
    if (msg == UM_UDP_RECV) {
        switch (op) {
        case OP_IP_SETTING:
            if (lParam == 0) {
                CloseProgressDialog(Progress, 2);
                break;
            }
            // The device applies the address before it answers a read.
            WaitWithMessages(SETTLE_WAIT);
            if (Progress && Progress->isVisible()) {
                FormUDP->SendGetConfig(GET_CONFIG_TIMEOUT);
            }
            break;
        case OP_LOGIN:
            if (lParam != 0) {
                StartIPSetting();
            } else {
                CloseProgressDialog(Progress, 2);
            }
            break;
        case OP_GET_CONFIG:
            CloseProgressDialog(Progress, 1);
            break;
        default:
            break;
        }
        return;
    }
    switch (op) {
    case OP_IP_SETTING:
        if (RetryLogin) {
            RetryLogin = false;
            FormUDP->SendLogout(0);
            FormUDP->SendLogin(LOGIN_TIMEOUT);
        } else {
            CloseProgressDialog(Progress, 2);
        }
        break;
    case OP_LOGIN:
    case OP_GET_CONFIG:
        CloseProgressDialog(Progress, 2);
        break;
    default:
        break;
    }
}

} // namespace acc
