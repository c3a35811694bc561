// The command line of qrxctl: global options, the command and its arguments.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

enum class CtlCommand {
    None,
    Discover,
    Show,
    SetIp,
    SetMode,
    SetWireless,
    Wps,
    Survey,
    StationPin,
};

struct CCtlOptions
{
    // Global options.
    QStringList Interfaces; // -i/--interface, repeatable
    bool Json = false;
    QString Device; // -d/--device MAC text as typed
    std::optional<QString> Password; // -p/--password
    std::uint32_t WaitMs = 4000; // --wait: how long a discovery collects answers

    CtlCommand Command = CtlCommand::None;

    // set-ip
    bool Dhcp = false;
    QString Ip, Mask, Gateway;

    // set-mode
    int Mode = 0; // DEVICE_AP or DEVICE_WBRIDGE

    // set-wireless
    QString Ssid;
    bool HasSsid = false;
    int WirelessMode = 9; // bgn
    int Security = 0; // 0 none, 1 WEP, 2 WPA-PSK
    QString Key;
    bool HasKey = false;
    int KeyLength = -1; // 0 64 bit, 1 128 bit, -1 from the key's form
    int Auth = -1; // 0 open, 1 shared, 2 auto, -1 the wizard's proposal
    int WpaMode = -1; // 0 WPA, 1 WPA2, 2 both, -1 the wizard's proposal

    // wps
    bool WpsPbc = false;
    QString WpsPin; // access-point mode: the client's PIN
    bool WpsBridgePin = false; // wps pin --ssid SSID
};

enum class ParseOutcome { Run, Help, Version, Error };

// Reads the arguments (without the program name). On Error, error holds the reason.
ParseOutcome ParseCommandLine(const QStringList& args, CCtlOptions& options, QString& error);

// The text of --help.
QString UsageText();

// MAC text "02:00:5E:00:01:02" (":" or "-" between the bytes, either case) into 6 bytes.
bool ParseMacText(const QString& text, std::uint8_t mac[6]);
