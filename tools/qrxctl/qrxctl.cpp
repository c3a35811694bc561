#include "qrxctl.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/utils.h"
#include "app/validation.h"
#include "platform/core/clock.h"
#include "platform/core/timer.h"
#include "protocol/formudp.h"
#include "protocol/iphelp.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Time-outs of the wizard's exchanges.
constexpr std::uint32_t LOGIN_WAIT = 5000;
constexpr std::uint32_t GET_CONFIG_WAIT = 15000;
constexpr std::uint32_t GET_MODE_WAIT = 3000;
constexpr std::uint32_t SETTING_WAIT = 32000;
constexpr std::uint32_t SET_MODE_WAIT = 28000;
constexpr std::uint32_t WPS_WAIT = 10000;
constexpr std::uint32_t SURVEY_WAIT = 7000;
constexpr std::uint32_t STATION_GET_WAIT = 3000;
constexpr std::uint32_t PUMPED_PAUSE = 3000;
constexpr std::uint32_t PROGRESS_GUARD = 300000; // the progress dialog's 1,500 ticks of 200 ms
constexpr std::uint32_t WPS_LISTEN_LIMIT = 180000;
constexpr std::uint32_t WPS_IDLE_WINDOW = 100000;
constexpr std::uint32_t WPS_IDLE_PAUSE = 25000;
constexpr std::uint32_t WPS_CONFIGURED_PAUSE = 10000;
constexpr int WPS_STATUS_ITEM = 150;

// Tick count of the last "Start WSC Process" status; one value for the whole program.
std::uint32_t WpsStartTick = 0;

QString TableText(const QString* table, int count, int code)
{
    return code >= 0 && code < count ? table[code] : QString();
}

QString ModeToken(int mode)
{
    if (mode == DEVICE_AP) {
        return QStringLiteral("ap");
    }
    if (mode == DEVICE_WBRIDGE) {
        return QStringLiteral("bridge");
    }
    return QStringLiteral("unknown");
}

QString ModeName(int mode)
{
    if (mode == DEVICE_AP) {
        return QStringLiteral("Access Point");
    }
    if (mode == DEVICE_WBRIDGE) {
        return QStringLiteral("AP Client (wireless bridge)");
    }
    return QStringLiteral("unknown (%1)").arg(mode);
}

QString Token(int code, std::initializer_list<const char*> names)
{
    if (code >= 0 && code < int(names.size())) {
        return QString::fromUtf8(names.begin()[code]);
    }
    return QStringLiteral("unknown");
}

// The gateway as the pages show it: nothing for 0 and 255.255.255.255.
QString GatewayText(std::uint32_t gw)
{
    return gw == 0 || gw == 0xFFFFFFFFu ? QString() : IpToText(gw);
}

QString PinText(std::uint32_t pin)
{
    return QString::asprintf("%08u", pin);
}

QString Padded(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '));
}

} // namespace

TQrxCtl::TQrxCtl(const CCtlOptions& options, const QString& password)
    : Opt(options)
    , Password(password)
{
    setObjectName(QStringLiteral("qrxctl"));
    SetApplicationMainWindow(this);
    TimerTimerout = new TTimer(this);
    TimerTimerout->SetEnabled(false);
    TimerTimerout->SetInterval(WPS_LISTEN_LIMIT);
    TimerTimerout->OnTimer = [this](TTimer* t) {
        DebugPrint("TQrxCtl::TimerTimeroutTimer");
        Listening = false;
        t->SetEnabled(false);
        if (Open) {
            EndExchange(2);
        }
    };
    Engine = std::make_unique<TFormUDP>();
}

TQrxCtl::~TQrxCtl()
{
    // The engine logs a device still logged in out while its sockets are open.
    Engine.reset();
    if (ApplicationMainWindow() == this) {
        SetApplicationMainWindow(nullptr);
    }
}

// ---------------------------------------------------------------------------------------------
// Messages and exchanges
// ---------------------------------------------------------------------------------------------

LRESULT TQrxCtl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT || msg == UM_UDP_EVENT) {
        if (Open && Current) {
            const Handler handler = Current; // the handler may end the exchange
            handler(msg, wParam, lParam);
        } else if (msg != UM_UDP_EVENT && Awaited != 0 && int(wParam) == Awaited) {
            AwaitedOutcome = msg == UM_UDP_RECV ? 1 : 2;
            if (Loop) {
                Loop->quit();
            }
        } else if (msg == UM_UDP_EVENT) {
            DebugPrint("TQrxCtl::WndProc ignore UM_UDP_EVENT %d, %d", int(wParam), int(lParam));
        }
    }
    return DefaultHandler(msg, wParam, lParam);
}

int TQrxCtl::RunExchange(const std::function<void()>& start, const Handler& handler)
{
    Result = 0;
    Current = handler;
    Open = true;
    start();
    if (Result == 0) {
        QEventLoop loop;
        Loop = &loop;
        TTimer guard;
        guard.SetInterval(PROGRESS_GUARD);
        guard.OnTimer = [this](TTimer* t) {
            t->SetEnabled(false);
            EndExchange(2);
        };
        guard.SetEnabled(true);
        while (Result == 0) {
            loop.exec();
        }
        Loop = nullptr;
    }
    Open = false;
    Current = nullptr;
    TimerTimerout->SetEnabled(false);
    Listening = false;
    return Result;
}

void TQrxCtl::EndExchange(int result)
{
    if (Result == 0) {
        Result = result;
    }
    if (Loop) {
        Loop->quit();
    }
}

bool TQrxCtl::WaitForReply(int op)
{
    Awaited = op;
    AwaitedOutcome = 0;
    QEventLoop loop;
    Loop = &loop;
    // The engine's time-out always ends the wait; this only guards against a lost message.
    TTimer guard;
    guard.SetInterval(PROGRESS_GUARD);
    guard.OnTimer = [this](TTimer* t) {
        t->SetEnabled(false);
        AwaitedOutcome = 2;
        if (Loop) {
            Loop->quit();
        }
    };
    guard.SetEnabled(true);
    while (AwaitedOutcome == 0) {
        loop.exec();
    }
    Loop = nullptr;
    Awaited = 0;
    return AwaitedOutcome == 1;
}

// ---------------------------------------------------------------------------------------------
// Output
// ---------------------------------------------------------------------------------------------

void TQrxCtl::PrintError(const QString& text) const
{
    const QByteArray bytes = text.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

void TQrxCtl::PrintOut(const QString& text) const
{
    const QByteArray bytes = text.toUtf8();
    std::fprintf(stdout, "%s\n", bytes.constData());
    std::fflush(stdout);
}

int TQrxCtl::Fail(const char* key, const char* def)
{
    PrintError(MessageText(key, def));
    return EXIT_DEVICE;
}

namespace {

QJsonObject ConfigJson()
{
    const tag_IP_CONFIG& ip = g_Var.DevIPConfig;
    const tag_WL_CONFIG& wl = g_Var.DevWlConfig;
    QJsonObject ipObj {
        { QStringLiteral("dhcp"), ip.IP_MODE != 0 },
        { QStringLiteral("address"), IpToText(ip.LAN_IP) },
        { QStringLiteral("netmask"), IpToText(ip.LAN_NETMASK) },
        { QStringLiteral("gateway"), GatewayText(ip.LAN_GATEWAY) },
    };
    QJsonArray channels;
    for (std::size_t i = 0; i < sizeof(wl.WL_CH_LIST) && wl.WL_CH_LIST[i] != 0; ++i) {
        channels.append(int(wl.WL_CH_LIST[i]));
    }
    QJsonObject wlObj {
        { QStringLiteral("ssid"), FieldToText(wl.WL_SSID, sizeof(wl.WL_SSID)) },
        { QStringLiteral("standard_channel"), int(wl.WL_STD_CH) },
        { QStringLiteral("extension_channel"), int(wl.WL_EXT_CH) },
        { QStringLiteral("channels"), channels },
        // The configuration read carries no wireless mode item.
        { QStringLiteral("wireless_mode"), QJsonValue(QJsonValue::Null) },
        { QStringLiteral("security"), Token(wl.WL_SECURITY_MODE, { "none", "wep", "wpa-psk", "wpa" }) },
        { QStringLiteral("auth"), Token(wl.WL_AUTH_MODE, { "open", "shared", "auto" }) },
        { QStringLiteral("wep_key_length"), wl.WL_WEPKEY_LEN == 1 ? 128 : 64 },
        { QStringLiteral("wpa_mode"), Token(wl.WL_WPA_MODE, { "wpa", "wpa2", "wpa-wpa2" }) },
        { QStringLiteral("cipher"), Token(wl.WL_WPA_CIPHER, { "tkip", "aes", "tkip-aes" }) },
        { QStringLiteral("wps_pin"), PinText(wl.WL_WPS_PIN) },
    };
    return QJsonObject {
        { QStringLiteral("mode"), ModeToken(g_Var.DeviceMode) },
        { QStringLiteral("ip"), ipObj },
        { QStringLiteral("wireless"), wlObj },
    };
}

QString JsonText(const QJsonDocument& doc)
{
    return QString::fromUtf8(doc.toJson(QJsonDocument::Indented)).trimmed();
}

} // namespace

void TQrxCtl::PrintConfig() const
{
    if (Opt.Json) {
        PrintOut(JsonText(QJsonDocument(ConfigJson())));
        return;
    }
    const tag_DEV_INFO& dev = g_Var.SelectedDevice;
    const tag_IP_CONFIG& ip = g_Var.DevIPConfig;
    const tag_WL_CONFIG& wl = g_Var.DevWlConfig;
    QStringList lines;
    auto row = [&](const char* caption, const QString& value) {
        lines.push_back(Padded(QString::fromUtf8(caption), 18) + value);
    };
    row("Device:",
        FieldToText(dev.DevName, sizeof(dev.DevName)) + QStringLiteral("  ") + MacToText(dev.DevMAC));
    row("Operating mode:", ModeName(g_Var.DeviceMode));
    row("IP mode:", ip.IP_MODE != 0 ? QStringLiteral("dynamic (DHCP)") : QStringLiteral("static"));
    row("IP address:", IpToText(ip.LAN_IP));
    row("Subnet mask:", IpToText(ip.LAN_NETMASK));
    row("Gateway:", GatewayText(ip.LAN_GATEWAY));
    row("SSID:", FieldToText(wl.WL_SSID, sizeof(wl.WL_SSID)));
    QStringList channels;
    for (std::size_t i = 0; i < sizeof(wl.WL_CH_LIST) && wl.WL_CH_LIST[i] != 0; ++i) {
        channels.push_back(QString::number(wl.WL_CH_LIST[i]));
    }
    row("Channel:",
        (wl.WL_STD_CH == 0 ? QStringLiteral("automatic")
                           : QStringLiteral("%1 (extension %2)").arg(wl.WL_STD_CH).arg(wl.WL_EXT_CH)));
    row("Channels offered:", channels.join(QLatin1Char(' ')));
    row("Wireless mode:", QStringLiteral("(not reported by the device)"));
    QString security = TableText(g_Var.SecurityText, 4, wl.WL_SECURITY_MODE);
    if (wl.WL_SECURITY_MODE == 1) {
        security += QStringLiteral(" (%1, %2)")
                        .arg(TableText(g_Var.WepLenText, 2, wl.WL_WEPKEY_LEN),
                            TableText(g_Var.AuthText, 3, wl.WL_AUTH_MODE));
    } else if (wl.WL_SECURITY_MODE == 2) {
        security += QStringLiteral(" (%1, %2)")
                        .arg(TableText(g_Var.WpaModeText, 3, wl.WL_WPA_MODE),
                            TableText(g_Var.CipherText, 3, wl.WL_WPA_CIPHER));
    }
    row("Security mode:", security);
    row("WPS PIN:", PinText(wl.WL_WPS_PIN));
    PrintOut(lines.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------------------------
// Discovery, device choice, login
// ---------------------------------------------------------------------------------------------

int TQrxCtl::Discover(std::vector<tag_DEV_INFO>& devices)
{
    devices.clear();
    // The device list page: a discovery that re-opens the sockets; its message box (no adapter)
    // is printed by the engine.
    if (!Engine->SendDiscover(Opt.WaitMs, true)) {
        const QStringList only = CIPHelp::AdapterRestriction();
        if (!only.isEmpty()) {
            PrintError(QStringLiteral("No usable adapter among: %1.").arg(only.join(QStringLiteral(", "))));
        }
        return EXIT_DEVICE;
    }
    // The engine's time-out ends the search; the page's fallback timer guards it.
    Awaited = OP_DISCOVER;
    AwaitedOutcome = 0;
    {
        QEventLoop loop;
        Loop = &loop;
        TTimer fallback;
        fallback.SetInterval(std::max<std::uint32_t>(10000, Opt.WaitMs + 6000));
        fallback.OnTimer = [this](TTimer* t) {
            t->SetEnabled(false);
            AwaitedOutcome = 2;
            if (Loop) {
                Loop->quit();
            }
        };
        fallback.SetEnabled(true);
        while (AwaitedOutcome == 0) {
            loop.exec();
        }
        Loop = nullptr;
        Awaited = 0;
    }
    Engine->GetDeviceList(devices);
    if (devices.empty()) {
        QStringList used;
        for (const CUDPSocket* socket : Engine->Sockets()) {
            used.push_back(QStringLiteral("%1 (%2)").arg(socket->Device, socket->LocalIP));
        }
        PrintError(
            QStringLiteral("No device answered within %1 ms on %2. Check the adapter (--interface) and "
                           "that no firewall drops UDP port 5433.")
                .arg(Opt.WaitMs)
                .arg(used.isEmpty() ? QStringLiteral("no adapter") : used.join(QStringLiteral(", "))));
        return EXIT_DEVICE;
    }
    return EXIT_OK;
}

int TQrxCtl::SelectDevice(const std::vector<tag_DEV_INFO>& devices)
{
    const tag_DEV_INFO* chosen = nullptr;
    if (!Opt.Device.isEmpty()) {
        std::uint8_t mac[6] = {};
        ParseMacText(Opt.Device, mac);
        for (const tag_DEV_INFO& dev : devices) {
            if (std::memcmp(dev.DevMAC, mac, 6) == 0) {
                chosen = &dev;
                break;
            }
        }
        if (!chosen) {
            PrintError(QStringLiteral("Device %1 did not answer the discovery (%2 other device(s) did).")
                           .arg(MacToText(mac))
                           .arg(devices.size()));
            return EXIT_DEVICE;
        }
    } else if (devices.size() == 1) {
        chosen = &devices.front();
    } else {
        QStringList lines;
        lines.push_back(
            QStringLiteral("%1 devices answered; choose one with --device MAC:").arg(devices.size()));
        for (const tag_DEV_INFO& dev : devices) {
            lines.push_back(QStringLiteral("  %1  %2")
                                .arg(MacToText(dev.DevMAC), FieldToText(dev.DevName, sizeof(dev.DevName))));
        }
        PrintError(lines.join(QLatin1Char('\n')));
        return EXIT_USAGE;
    }
    // "Configure" on the device list: the device is copied and the configurations reset.
    g_Var.SelectedDevice = *chosen;
    g_Var.ResetIPConfig(g_Var.DevIPConfig);
    g_Var.ResetIPConfig(g_Var.NewIPConfig);
    g_Var.ResetWlConfig(g_Var.DevWlConfig);
    g_Var.ResetWlConfig(g_Var.NewWlConfig);
    return EXIT_OK;
}

int TQrxCtl::Login()
{
    // The login page: the password keys the cipher from now on; login, then the whole
    // configuration.
    g_Var.Password = Password;
    const int result = RunExchange([this] { Engine->SendLogin(LOGIN_WAIT); },
        [this](UINT msg, WPARAM op, LPARAM value) {
            if (msg == UM_UDP_RECV && int(op) == OP_LOGIN) {
                if (value != 0) {
                    Engine->SendGetConfig(GET_CONFIG_WAIT);
                } else {
                    EndExchange(2);
                }
            } else if (msg == UM_UDP_RECV && int(op) == OP_GET_CONFIG) {
                EndExchange(1);
            } else if (msg == UM_UDP_TIMEOUT && (int(op) == OP_LOGIN || int(op) == OP_GET_CONFIG)) {
                EndExchange(2);
            }
        });
    if (result != 1) {
        return Fail(msg::ER_LOGIN, msg::ER_LOGINText);
    }
    return EXIT_OK;
}

int TQrxCtl::Connect()
{
    std::vector<tag_DEV_INFO> devices;
    int rc = Discover(devices);
    if (rc != EXIT_OK) {
        return rc;
    }
    rc = SelectDevice(devices);
    if (rc != EXIT_OK) {
        return rc;
    }
    // The IP page refuses the computer's own address, as the engine last saw it.
    if (Opt.Command == CtlCommand::SetIp && !Opt.Dhcp) {
        CIpBoxes ip, mask, gateway;
        ParseDottedBoxes(Opt.Ip, ip);
        QString ipText = ip.Text();
        CorrectBroadcastHost(ipText);
        ip = CIpBoxes::FromText(ipText);
        ParseDottedBoxes(Opt.Mask, mask);
        ParseDottedBoxes(Opt.Gateway, gateway);
        const CCheckResult check = ValidateIP(ip, mask, gateway, Engine->LastLocalIP);
        if (!check.Ok()) {
            PrintError(check.Text());
            return EXIT_USAGE;
        }
    }
    return Login();
}

// ---------------------------------------------------------------------------------------------
// Checks before anything is sent
// ---------------------------------------------------------------------------------------------

int TQrxCtl::PreCheck()
{
    if (Opt.Command == CtlCommand::SetIp && !Opt.Dhcp) {
        // A text that the address editor could not hold counts as an empty box at its place, so
        // the checks keep their order.
        CIpBoxes ip, mask, gateway;
        if (!ParseDottedBoxes(Opt.Ip, ip)) {
            ip = CIpBoxes {};
        }
        QString ipText = ip.Text();
        if (CorrectBroadcastHost(ipText)) {
            ip = CIpBoxes::FromText(ipText);
            if (!Opt.Json) {
                PrintOut(
                    QStringLiteral("The address %1 ends in 255; using %2.").arg(Opt.Ip.trimmed(), ipText));
            }
        }
        if (!ParseDottedBoxes(Opt.Mask, mask)) {
            mask = CIpBoxes {};
        }
        if (!ParseDottedBoxes(Opt.Gateway, gateway)) {
            gateway = CIpBoxes {};
            gateway.Box[0] = QStringLiteral("0"); // partly filled: refused by the gateway checks
        }
        const CCheckResult check = ValidateIP(ip, mask, gateway, QString());
        if (!check.Ok()) {
            PrintError(check.Text());
            return EXIT_USAGE;
        }
        // Keep the corrected address for the request.
        Opt.Ip = ip.Text();
    }
    if (Opt.Command == CtlCommand::SetWireless) {
        const CCheckResult ssid = CheckSsid(Opt.Ssid);
        if (!ssid.Ok()) {
            PrintError(ssid.Text());
            return EXIT_USAGE;
        }
        if (Opt.Security == 1) {
            if (Opt.KeyLength < 0) {
                Opt.KeyLength = Opt.Key.size() == 13 || Opt.Key.size() == 26 ? 1 : 0;
            }
            CCheckResult error;
            if (CheckKey(Opt.KeyLength, Opt.Key, WepKeyLimit(Opt.KeyLength), &error) < 0) {
                PrintError(error.Text());
                return EXIT_USAGE;
            }
        } else if (Opt.Security == 2) {
            const CCheckResult psk = CheckPassphrase(Opt.Key);
            if (!psk.Ok()) {
                PrintError(psk.Text());
                return EXIT_USAGE;
            }
        }
    }
    if (Opt.Command == CtlCommand::Wps) {
        if (!Opt.WpsPbc && !Opt.WpsBridgePin) {
            const CCheckResult pin = CheckWpsPin(Opt.WpsPin);
            if (!pin.Ok()) {
                PrintError(pin.Text());
                return EXIT_USAGE;
            }
        }
        if (Opt.WpsBridgePin) {
            if (Opt.Ssid.isEmpty()) {
                PrintError(MessageText(msg::ER_SSID, msg::ER_SSIDText));
                return EXIT_USAGE;
            }
            const CCheckResult ssid = CheckSsid(Opt.Ssid);
            if (!ssid.Ok()) {
                PrintError(ssid.Text());
                return EXIT_USAGE;
            }
        }
    }
    return EXIT_OK;
}

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------

int TQrxCtl::Run()
{
    // The mode page starts the wizard in access-point mode until the device says otherwise.
    g_Var.DeviceMode = DEVICE_AP;
    int rc = PreCheck();
    if (rc != EXIT_OK) {
        return rc;
    }
    switch (Opt.Command) {
    case CtlCommand::Discover:
        return CmdDiscover();
    case CtlCommand::Show:
        return CmdShow();
    case CtlCommand::SetIp:
        return CmdSetIp();
    case CtlCommand::SetMode:
        return CmdSetMode();
    case CtlCommand::SetWireless:
        return CmdSetWireless();
    case CtlCommand::Wps:
        return CmdWps();
    case CtlCommand::Survey:
        return CmdSurvey();
    case CtlCommand::StationPin:
        return CmdStationPin();
    case CtlCommand::None:
        break;
    }
    return EXIT_USAGE;
}

int TQrxCtl::CmdDiscover()
{
    std::vector<tag_DEV_INFO> devices;
    const int rc = Discover(devices);
    if (Opt.Json) {
        QJsonArray list;
        for (const tag_DEV_INFO& dev : devices) {
            list.append(QJsonObject {
                { QStringLiteral("name"), FieldToText(dev.DevName, sizeof(dev.DevName)) },
                { QStringLiteral("mac"), MacToText(dev.DevMAC) },
                { QStringLiteral("ip"), IpToText(dev.DevIP) },
                { QStringLiteral("local_ip"), IpToText(dev.LocalIP) },
                { QStringLiteral("local_mask"), IpToText(dev.LocalMask) },
            });
        }
        PrintOut(JsonText(QJsonDocument(list)));
        return rc;
    }
    if (rc != EXIT_OK) {
        return rc;
    }
    int nameWidth = 4;
    for (const tag_DEV_INFO& dev : devices) {
        nameWidth = std::max(nameWidth, int(FieldToText(dev.DevName, sizeof(dev.DevName)).size()));
    }
    QStringList lines;
    lines.push_back(Padded(QStringLiteral("NAME"), nameWidth + 2) + Padded(QStringLiteral("MAC"), 19)
        + Padded(QStringLiteral("IP"), 17) + Padded(QStringLiteral("LOCAL IP"), 17)
        + QStringLiteral("LOCAL MASK"));
    for (const tag_DEV_INFO& dev : devices) {
        lines.push_back(Padded(FieldToText(dev.DevName, sizeof(dev.DevName)), nameWidth + 2)
            + Padded(MacToText(dev.DevMAC), 19) + Padded(IpToText(dev.DevIP), 17)
            + Padded(IpToText(dev.LocalIP), 17) + IpToText(dev.LocalMask));
    }
    PrintOut(lines.join(QLatin1Char('\n')));
    return EXIT_OK;
}

int TQrxCtl::CmdShow()
{
    const int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    PrintConfig();
    return EXIT_OK;
}

int TQrxCtl::WriteAndReadBack(
    const std::function<void()>& sendWrite, const std::function<bool(int op)>& isWrite)
{
    RetryLogin = true;
    const std::function<void()> start = [this, &sendWrite] {
        if (Engine->LoggedIn) {
            sendWrite();
        } else if (RetryLogin) {
            RetryLogin = false;
            Engine->SendLogin(LOGIN_WAIT);
        } else {
            EndExchange(2);
        }
    };
    return RunExchange(start, [this, &start, &isWrite](UINT msg, WPARAM op, LPARAM value) {
        const bool write = isWrite(int(op));
        if (msg == UM_UDP_RECV) {
            if (write) {
                if (value != 0) {
                    WaitWithMessages(PUMPED_PAUSE);
                    Engine->SendGetConfig(GET_CONFIG_WAIT);
                } else {
                    EndExchange(2);
                }
            } else if (int(op) == OP_LOGIN) {
                if (value != 0) {
                    start();
                } else {
                    EndExchange(2);
                }
            } else if (int(op) == OP_GET_CONFIG) {
                EndExchange(1);
            }
        } else if (msg == UM_UDP_TIMEOUT) {
            if (write) {
                if (RetryLogin) {
                    RetryLogin = false;
                    Engine->SendLogout(0);
                    Engine->SendLogin(LOGIN_WAIT);
                } else {
                    EndExchange(2);
                }
            } else if (int(op) == OP_LOGIN || int(op) == OP_GET_CONFIG) {
                EndExchange(2);
            }
        }
    });
}

int TQrxCtl::CmdSetIp()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    // The setup method page: both choices start from the configuration as read.
    g_Var.SetupMethod = 0;
    g_Var.NewIPConfig = g_Var.DevIPConfig;
    if (Opt.Dhcp) {
        if (g_Var.NewIPConfig.IP_MODE == 1) {
            if (!Opt.Json) {
                PrintOut(
                    QStringLiteral("The device already obtains its address automatically; nothing sent."));
            } else {
                PrintConfig();
            }
            return EXIT_OK;
        }
        g_Var.NewIPConfig.IP_MODE = 1;
    } else {
        // The IP settings page: always a static address; an empty gateway is stored as 0.
        CIpBoxes ip, mask, gateway;
        ParseDottedBoxes(Opt.Ip, ip);
        ParseDottedBoxes(Opt.Mask, mask);
        ParseDottedBoxes(Opt.Gateway, gateway);
        g_Var.NewIPConfig.IP_MODE = 0;
        g_Var.NewIPConfig.LAN_IP = ip.Value();
        g_Var.NewIPConfig.LAN_NETMASK = mask.Value();
        g_Var.NewIPConfig.LAN_GATEWAY = gateway.AllEmpty() ? 0 : gateway.Value();
        const tag_IP_CONFIG& n = g_Var.NewIPConfig;
        const tag_IP_CONFIG& d = g_Var.DevIPConfig;
        if (n.IP_MODE == d.IP_MODE && n.LAN_IP == d.LAN_IP && n.LAN_NETMASK == d.LAN_NETMASK
            && n.LAN_GATEWAY == d.LAN_GATEWAY && n.DNS1 == d.DNS1 && n.DNS2 == d.DNS2) {
            if (!Opt.Json) {
                PrintOut(QStringLiteral("The device already uses these settings; nothing sent."));
            } else {
                PrintConfig();
            }
            return EXIT_OK;
        }
    }

    const int result = WriteAndReadBack(
        [this] { Engine->SendIPSetting(SETTING_WAIT); }, [](int op) { return op == OP_IP_SETTING; });
    if (result != 1) {
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    if (Opt.Json) {
        PrintConfig();
    } else {
        PrintOut(Opt.Dhcp ? QStringLiteral("The device now obtains its address automatically.")
                          : QStringLiteral("The device now uses the address %1.").arg(Opt.Ip));
        PrintConfig();
    }
    return EXIT_OK;
}

int TQrxCtl::CmdSetMode()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    // The operating mode page asks for the mode when it is entered.
    Engine->SendGetMode(GET_MODE_WAIT);
    WaitForReply(OP_GET_CONFIG);
    if (g_Var.DeviceMode == Opt.Mode) {
        if (Opt.Json) {
            PrintConfig();
        } else {
            PrintOut(QStringLiteral("The device already works as %1; nothing sent.").arg(ModeName(Opt.Mode)));
        }
        return EXIT_OK;
    }
    g_Var.DeviceMode = Opt.Mode;

    RetryLogin = true;
    const int result = RunExchange(
        [this] {
            if (Engine->LoggedIn) {
                Engine->SendSetMode(SET_MODE_WAIT, g_Var.DeviceMode);
            } else if (RetryLogin) {
                RetryLogin = false;
                Engine->SendLogin(LOGIN_WAIT);
            } else {
                EndExchange(2);
            }
        },
        [this](UINT msg, WPARAM op, LPARAM value) {
            if (msg == UM_UDP_RECV) {
                if (int(op) == OP_LOGIN) {
                    if (value != 0) {
                        Engine->SendSetMode(SET_MODE_WAIT, g_Var.DeviceMode);
                    } else {
                        EndExchange(2);
                    }
                } else if (int(op) == OP_SET_MODE) {
                    if (value != 0) {
                        Engine->SendGetConfig(GET_CONFIG_WAIT);
                    } else {
                        EndExchange(2);
                    }
                } else if (int(op) == OP_GET_CONFIG) {
                    WaitWithMessages(PUMPED_PAUSE);
                    EndExchange(1);
                }
            } else if (msg == UM_UDP_TIMEOUT) {
                if (int(op) == OP_LOGIN || int(op) == OP_GET_CONFIG) {
                    EndExchange(2);
                } else if (int(op) == OP_SET_MODE) {
                    if (RetryLogin) {
                        RetryLogin = false;
                        Engine->SendLogin(LOGIN_WAIT);
                    } else {
                        EndExchange(2);
                    }
                }
            }
        });
    if (result != 1) {
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    // The read-back replaced the mode with what the device reports.
    if (g_Var.DeviceMode != Opt.Mode) {
        PrintError(QStringLiteral("The device accepted the change but reports the mode %1.")
                       .arg(ModeName(g_Var.DeviceMode)));
        return EXIT_DEVICE;
    }
    if (Opt.Json) {
        PrintConfig();
    } else {
        PrintOut(QStringLiteral("The device now works as %1.").arg(ModeName(g_Var.DeviceMode)));
    }
    return EXIT_OK;
}

int TQrxCtl::CmdSetWireless()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    const bool apMode = g_Var.DeviceMode == DEVICE_AP;
    if (!apMode && Opt.Security == 1 && Opt.Auth == 2) {
        PrintError(
            QStringLiteral("The authentication \"auto\" is offered in access-point mode only; this device "
                           "works as a bridge."));
        return EXIT_USAGE;
    }
    // In access-point mode the wizard starts the profile from the configuration as read; the
    // bridge's way from the site survey keeps the defaults.
    tag_WL_CONFIG& wl = g_Var.NewWlConfig;
    if (apMode) {
        wl = g_Var.DevWlConfig;
    }
    // SSID page: the name, and automatic channel choice.
    CopyTextToField(Opt.Ssid, wl.WL_SSID, sizeof(wl.WL_SSID), SSID_MAX_CHARS);
    wl.WL_STD_CH = 0;
    wl.WL_EXT_CH = 0;
    // Wireless mode page.
    wl.WL_MODE = Opt.WirelessMode;
    // Security page.
    wl.WL_SECURITY_MODE = Opt.Security;
    if (Opt.Security == 0) {
        wl.WL_AUTH_MODE = 0;
        wl.WL_WEPKEY_LEN = 0;
        wl.WepKeyId = 1;
        std::memset(wl.WL_WEPKEY, 0, sizeof(wl.WL_WEPKEY));
        wl.WL_WPA_MODE = 2;
        wl.WL_WPA_CIPHER = 2;
        std::memset(wl.WL_WPA_PSK, 0, sizeof(wl.WL_WPA_PSK));
    } else if (Opt.Security == 1) {
        // WEP page: the proposal for the authentication is the stored one (or "Auto") in
        // access-point mode, "Open" in bridge mode.
        const int limit = WepKeyLimit(Opt.KeyLength);
        const int form = CheckKey(Opt.KeyLength, Opt.Key, limit);
        int auth = Opt.Auth;
        if (auth < 0) {
            auth = apMode ? (wl.WL_AUTH_MODE >= 0 && wl.WL_AUTH_MODE <= 2 ? wl.WL_AUTH_MODE : 2) : 0;
        }
        wl.WL_WEPKEY_LEN = Opt.KeyLength;
        CopyTextToField(NormalizedKey(Opt.Key, limit, form), wl.WL_WEPKEY, sizeof(wl.WL_WEPKEY));
        wl.WL_AUTH_MODE = auth;
    } else if (Opt.Security == 2) {
        // PSK page: the proposal for the WPA mode is the stored one in access-point mode.
        int mode = Opt.WpaMode;
        if (mode < 0) {
            mode = apMode && wl.WL_WPA_MODE >= 0 && wl.WL_WPA_MODE <= 2 ? wl.WL_WPA_MODE : 2;
        }
        wl.WL_WPA_MODE = mode;
        CopyTextToField(Opt.Key, wl.WL_WPA_PSK, sizeof(wl.WL_WPA_PSK));
        wl.WL_WPA_CIPHER = CipherForWpaMode(mode);
    }

    // Confirmation page: write, pause, read back; one re-login after a time-out.
    const int result = WriteAndReadBack(
        [this] {
            if (g_Var.DeviceMode == DEVICE_AP) {
                DebugPrint("DEVICE_AP");
                Engine->SendWlSetting(SETTING_WAIT);
            } else {
                DebugPrint("not DEVICE_AP");
                Engine->SendWlStationSetting(SETTING_WAIT);
            }
        },
        [](int op) { return op == OP_WL_SETTING || op == OP_WL_STATION_SETTING; });
    if (result != 1) {
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    if (Opt.Json) {
        PrintConfig();
    } else {
        PrintOut(apMode ? QStringLiteral("The access-point profile \"%1\" was written.").arg(Opt.Ssid)
                        : QStringLiteral("The station profile \"%1\" was written.").arg(Opt.Ssid));
    }
    return EXIT_OK;
}

int TQrxCtl::CmdWps()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    const bool apMode = g_Var.DeviceMode == DEVICE_AP;
    QString devicePin;
    // The WPS page in bridge mode asks the device for its own PIN when it is entered.
    if (!apMode) {
        Engine->SendStationGetConfig(STATION_GET_WAIT);
        if (WaitForReply(OP_STATION_GET_CONFIG)) {
            devicePin = FieldToText(g_Var.ApClientPIN, sizeof(g_Var.ApClientPIN));
        }
    }
    if (apMode && Opt.WpsBridgePin) {
        PrintError(QStringLiteral(
            "The device works as an access point: use \"wps pin PIN\" with the client's PIN."));
        return EXIT_USAGE;
    }
    if (!apMode && !Opt.WpsPbc && !Opt.WpsBridgePin) {
        PrintError(QStringLiteral(
            "The device works as a bridge: use \"wps pin --ssid SSID\" to join an access point."));
        return EXIT_USAGE;
    }
    if (Opt.WpsPbc) {
        g_Var.WpsMethod = 1;
    } else {
        g_Var.WpsMethod = 0;
        if (apMode) {
            g_Var.NewWlConfig.WpsPinInput = std::int32_t(Opt.WpsPin.toUInt());
        } else {
            CopyTextToField(
                Opt.Ssid, g_Var.NewWlConfig.WL_SSID, sizeof(g_Var.NewWlConfig.WL_SSID), SSID_MAX_CHARS);
            if (!Opt.Json && !devicePin.isEmpty()) {
                PrintOut(QStringLiteral("Enter the device PIN %1 at the access point \"%2\".")
                             .arg(devicePin, Opt.Ssid));
            }
        }
    }

    WpsEvents.clear();
    RetryLogin = true;
    Listening = false;
    std::function<void()> startWps = [this] {
        if (Engine->LoggedIn) {
            const bool ap = g_Var.DeviceMode == DEVICE_AP;
            if (g_Var.WpsMethod == 1) {
                ap ? Engine->SendWPSPBC(WPS_WAIT) : Engine->SendStationWPSPBC(WPS_WAIT);
            } else {
                ap ? Engine->SendWPSPIN(WPS_WAIT) : Engine->SendStationWPSPIN(WPS_WAIT);
            }
        } else if (RetryLogin) {
            RetryLogin = false;
            Engine->SendLogin(LOGIN_WAIT);
        } else {
            EndExchange(2);
        }
    };
    auto recvWpsStatus = [this](int code) {
        DebugPrint("TQrxCtl::RecvWPSStatus %d=%s", code, WpsStatusText(code).toUtf8().constData());
        WpsEvents.push_back(code);
        if (!Opt.Json) {
            PrintOut(QStringLiteral("WPS status %1: %2").arg(code).arg(WpsStatusText(code)));
        }
        switch (code) {
        case 1: // Idle
            Listening = false;
            TimerTimerout->SetEnabled(false);
            if (std::uint32_t(GetTickCount() - WpsStartTick) <= WPS_IDLE_WINDOW) {
                WaitWithMessages(WPS_IDLE_PAUSE);
                Engine->SendGetConfig(GET_CONFIG_WAIT);
            } else {
                EndExchange(2);
            }
            break;
        case 2: // WSC Fail
            Listening = false;
            TimerTimerout->SetEnabled(false);
            EndExchange(2);
            break;
        case 3: // Start WSC Process
            WpsStartTick = GetTickCount();
            break;
        case 34: // Configured
            Listening = false;
            TimerTimerout->SetEnabled(false);
            if (g_Var.DeviceMode == DEVICE_AP) {
                WaitWithMessages(WPS_CONFIGURED_PAUSE);
                Engine->SendGetConfig(GET_CONFIG_WAIT);
            } else {
                EndExchange(1);
            }
            break;
        default:
            break;
        }
    };
    const int result
        = RunExchange(startWps, [this, &startWps, &recvWpsStatus](UINT msg, WPARAM op, LPARAM value) {
              if (msg == UM_UDP_RECV) {
                  if (int(op) == OP_WPS_PBC || int(op) == OP_WPS_PIN) {
                      if (value != 0) {
                          Listening = true;
                          TimerTimerout->SetEnabled(true);
                      } else {
                          EndExchange(2);
                      }
                  } else if (int(op) == OP_LOGIN) {
                      if (value != 0) {
                          startWps();
                      } else {
                          EndExchange(2);
                      }
                  } else if (int(op) == OP_GET_CONFIG) {
                      EndExchange(1);
                  }
              } else if (msg == UM_UDP_TIMEOUT) {
                  if (int(op) == OP_WPS_PBC || int(op) == OP_WPS_PIN) {
                      if (RetryLogin) {
                          RetryLogin = false;
                          Engine->SendLogout(0);
                          Engine->SendLogin(LOGIN_WAIT);
                      } else {
                          EndExchange(2);
                      }
                  } else if (int(op) == OP_LOGIN || int(op) == OP_GET_CONFIG) {
                      EndExchange(2);
                  }
              } else if (msg == UM_UDP_EVENT) {
                  if (!Listening) {
                      DebugPrint("TQrxCtl::WndProc ignore UM_UDP_EVENT %d, %d", int(op), int(value));
                  } else if (int(op) == WPS_STATUS_ITEM) {
                      recvWpsStatus(int(value));
                  } else {
                      DebugPrint("TQrxCtl::WndProc UM_UDP_EVENT, %d, %d", int(op), int(value));
                  }
              }
          });
    if (Opt.Json) {
        QJsonArray events;
        for (int code : WpsEvents) {
            events.append(QJsonObject {
                { QStringLiteral("code"), code }, { QStringLiteral("text"), WpsStatusText(code) } });
        }
        QJsonObject doc {
            { QStringLiteral("result"), result == 1 ? QStringLiteral("success") : QStringLiteral("failure") },
            { QStringLiteral("events"), events },
        };
        if (!devicePin.isEmpty()) {
            doc.insert(QStringLiteral("device_pin"), devicePin);
        }
        PrintOut(JsonText(QJsonDocument(doc)));
    }
    if (result != 1) {
        if (apMode && !Opt.WpsPbc && !WpsPinChecksumValid(Opt.WpsPin.toUInt())) {
            PrintError(QStringLiteral("Note: the last digit of the PIN %1 is not its WPS check digit.")
                           .arg(Opt.WpsPin));
        }
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    if (!Opt.Json) {
        PrintOut(QStringLiteral("Wi-Fi Protected Setup succeeded."));
    }
    return EXIT_OK;
}

int TQrxCtl::CmdSurvey()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    // The site survey page: log in when needed, then the survey.
    std::function<void()> startSearch = [this] {
        if (!Engine->LoggedIn) {
            Engine->SendLogin(LOGIN_WAIT);
            return;
        }
        Engine->SendSiteSurvey(SURVEY_WAIT);
    };
    const int result = RunExchange(startSearch, [this, &startSearch](UINT msg, WPARAM op, LPARAM value) {
        if (msg == UM_UDP_RECV && int(op) == OP_SITE_SURVEY) {
            EndExchange(1);
        } else if (msg == UM_UDP_RECV && int(op) == OP_LOGIN) {
            if (value != 0) {
                startSearch();
            } else {
                EndExchange(2);
            }
        } else if (msg == UM_UDP_TIMEOUT) {
            EndExchange(2);
        }
    });
    if (result != 1) {
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    std::vector<tag_AP_ROFIILE> list;
    Engine->GetSurveyList(list);
    // The page's list opens sorted by signal, strongest first.
    std::stable_sort(list.begin(), list.end(),
        [](const tag_AP_ROFIILE& a, const tag_AP_ROFIILE& b) { return a.Signal > b.Signal; });
    if (Opt.Json) {
        QJsonArray out;
        for (const tag_AP_ROFIILE& ap : list) {
            out.append(QJsonObject {
                { QStringLiteral("ssid"), FieldToText(ap.SSID, sizeof(ap.SSID)) },
                { QStringLiteral("bssid"), MacToText(ap.BSSID) },
                { QStringLiteral("channel"), int(ap.Channel) },
                { QStringLiteral("signal"), int(ap.Signal) },
                { QStringLiteral("encryption"), SurveyEncryptionText(ap.Encryption) },
                { QStringLiteral("authentication"), SurveyAuthenticationText(ap.Authentication) },
                { QStringLiteral("wps"), ap.WPS },
            });
        }
        PrintOut(JsonText(QJsonDocument(out)));
        return EXIT_OK;
    }
    int ssidWidth = 4;
    for (const tag_AP_ROFIILE& ap : list) {
        ssidWidth = std::max(ssidWidth, int(FieldToText(ap.SSID, sizeof(ap.SSID)).size()));
    }
    QStringList lines;
    lines.push_back(Padded(QStringLiteral("SSID"), ssidWidth + 2) + QStringLiteral("CH  SIGNAL  ")
        + Padded(QStringLiteral("ENCRYPTION"), 12) + Padded(QStringLiteral("AUTHENTICATION"), 18)
        + Padded(QStringLiteral("BSSID"), 19) + QStringLiteral("WPS"));
    for (const tag_AP_ROFIILE& ap : list) {
        lines.push_back(Padded(FieldToText(ap.SSID, sizeof(ap.SSID)), ssidWidth + 2)
            + Padded(QString::number(ap.Channel), 4) + Padded(QStringLiteral("%1%").arg(ap.Signal), 8)
            + Padded(SurveyEncryptionText(ap.Encryption), 12)
            + Padded(SurveyAuthenticationText(ap.Authentication), 18) + Padded(MacToText(ap.BSSID), 19)
            + (ap.WPS ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    PrintOut(lines.join(QLatin1Char('\n')));
    return EXIT_OK;
}

int TQrxCtl::CmdStationPin()
{
    int rc = Connect();
    if (rc != EXIT_OK) {
        return rc;
    }
    // As the WPS page asks for it in bridge mode.
    Engine->SendStationGetConfig(STATION_GET_WAIT);
    if (!WaitForReply(OP_STATION_GET_CONFIG)) {
        return Fail(msg::ER_CONNECT, msg::ER_CONNECTText);
    }
    const QString pin = FieldToText(g_Var.ApClientPIN, sizeof(g_Var.ApClientPIN));
    if (Opt.Json) {
        PrintOut(JsonText(QJsonDocument(QJsonObject { { QStringLiteral("pin"), pin } })));
    } else {
        PrintOut(pin);
    }
    return EXIT_OK;
}
