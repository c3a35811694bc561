#include "options.h"

#include "protocol/codec/records.h"

namespace {

struct ArgReader
{
    const QStringList& args;
    qsizetype pos = 0;

    bool AtEnd() const { return pos >= args.size(); }
    QString Next() { return args.at(pos++); }
};

// One option with a value: "--name value", "--name=value", "-x value". Sets value and returns
// true when arg is the option; error when the value is missing.
bool TakeValue(const QString& arg, const char* longName, const char* shortName, ArgReader& reader,
    QString& value, QString& error)
{
    const QString lng = QString::fromUtf8(longName);
    if (arg == lng || (shortName && arg == QString::fromUtf8(shortName))) {
        if (reader.AtEnd()) {
            error = QStringLiteral("option %1 needs a value").arg(arg);
            return true;
        }
        value = reader.Next();
        return true;
    }
    if (arg.startsWith(lng + QLatin1Char('='))) {
        value = arg.mid(lng.size() + 1);
        return true;
    }
    return false;
}

bool ParseChoice(const QString& text, std::initializer_list<std::pair<const char*, int>> choices, int& out)
{
    for (const auto& [name, code] : choices) {
        if (text == QString::fromUtf8(name)) {
            out = code;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseMacText(const QString& text, std::uint8_t mac[6])
{
    QString t = text.trimmed();
    t.replace(QLatin1Char('-'), QLatin1Char(':'));
    const QStringList parts = t.split(QLatin1Char(':'));
    if (parts.size() != 6) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        const QString& p = parts.at(i);
        bool ok = false;
        const uint v = p.toUInt(&ok, 16);
        if (!ok || p.isEmpty() || p.size() > 2 || v > 255) {
            return false;
        }
        mac[i] = std::uint8_t(v);
    }
    return true;
}

ParseOutcome ParseCommandLine(const QStringList& args, CCtlOptions& o, QString& error)
{
    ArgReader reader { args };
    QStringList positional;
    bool afterCommand = false;
    QString value;

    while (!reader.AtEnd()) {
        const QString arg = reader.Next();
        error.clear();
        if (arg == u"-h" || arg == u"--help") {
            return ParseOutcome::Help;
        }
        if (arg == u"--version") {
            return ParseOutcome::Version;
        }
        if (arg == u"--json") {
            o.Json = true;
            continue;
        }
        if (TakeValue(arg, "--interface", "-i", reader, value, error)) {
            if (!error.isEmpty()) {
                return ParseOutcome::Error;
            }
            if (value.trimmed().isEmpty() || value.contains(QLatin1Char(','))) {
                error = QStringLiteral("--interface needs one adapter name");
                return ParseOutcome::Error;
            }
            o.Interfaces.push_back(value.trimmed());
            continue;
        }
        if (TakeValue(arg, "--device", "-d", reader, value, error)) {
            if (!error.isEmpty()) {
                return ParseOutcome::Error;
            }
            std::uint8_t mac[6];
            if (!ParseMacText(value, mac)) {
                error = QStringLiteral("--device needs a MAC address such as 02:00:5E:00:01:02");
                return ParseOutcome::Error;
            }
            o.Device = value;
            continue;
        }
        if (TakeValue(arg, "--password", "-p", reader, value, error)) {
            if (!error.isEmpty()) {
                return ParseOutcome::Error;
            }
            o.Password = value;
            continue;
        }
        if (TakeValue(arg, "--wait", nullptr, reader, value, error)) {
            if (!error.isEmpty()) {
                return ParseOutcome::Error;
            }
            bool ok = false;
            const uint ms = value.toUInt(&ok);
            if (!ok || ms == 0 || ms > 600000) {
                error = QStringLiteral("--wait needs a number of milliseconds from 1 to 600000");
                return ParseOutcome::Error;
            }
            o.WaitMs = ms;
            continue;
        }
        // Options of set-wireless and wps.
        if (afterCommand) {
            if (TakeValue(arg, "--ssid", nullptr, reader, value, error)) {
                if (!error.isEmpty()) {
                    return ParseOutcome::Error;
                }
                o.Ssid = value;
                o.HasSsid = true;
                continue;
            }
            if (TakeValue(arg, "--wireless-mode", nullptr, reader, value, error)) {
                if (!error.isEmpty()
                    || !ParseChoice(value, { { "bgn", 9 }, { "bg", 0 }, { "n", 6 } }, o.WirelessMode)) {
                    error = QStringLiteral("--wireless-mode is one of bgn, bg, n");
                    return ParseOutcome::Error;
                }
                continue;
            }
            if (TakeValue(arg, "--security", nullptr, reader, value, error)) {
                if (!error.isEmpty()
                    || !ParseChoice(value, { { "none", 0 }, { "wep", 1 }, { "wpa-psk", 2 } }, o.Security)) {
                    error = QStringLiteral("--security is one of none, wep, wpa-psk");
                    return ParseOutcome::Error;
                }
                continue;
            }
            if (TakeValue(arg, "--key", nullptr, reader, value, error)) {
                if (!error.isEmpty()) {
                    return ParseOutcome::Error;
                }
                o.Key = value;
                o.HasKey = true;
                continue;
            }
            if (TakeValue(arg, "--key-length", nullptr, reader, value, error)) {
                if (!error.isEmpty() || !ParseChoice(value, { { "64", 0 }, { "128", 1 } }, o.KeyLength)) {
                    error = QStringLiteral("--key-length is 64 or 128");
                    return ParseOutcome::Error;
                }
                continue;
            }
            if (TakeValue(arg, "--auth", nullptr, reader, value, error)) {
                if (!error.isEmpty()
                    || !ParseChoice(value, { { "open", 0 }, { "shared", 1 }, { "auto", 2 } }, o.Auth)) {
                    error = QStringLiteral("--auth is one of open, shared, auto");
                    return ParseOutcome::Error;
                }
                continue;
            }
            if (TakeValue(arg, "--wpa-mode", nullptr, reader, value, error)) {
                if (!error.isEmpty()
                    || !ParseChoice(value, { { "wpa", 0 }, { "wpa2", 1 }, { "wpa-wpa2", 2 } }, o.WpaMode)) {
                    error = QStringLiteral("--wpa-mode is one of wpa, wpa2, wpa-wpa2");
                    return ParseOutcome::Error;
                }
                continue;
            }
        }
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(arg);
            return ParseOutcome::Error;
        }
        positional.push_back(arg);
        afterCommand = true;
    }

    if (positional.isEmpty()) {
        error = QStringLiteral("no command given");
        return ParseOutcome::Error;
    }
    const QString cmd = positional.takeFirst();
    auto noArgs = [&](CtlCommand c) {
        if (!positional.isEmpty()) {
            error = QStringLiteral("%1 takes no arguments").arg(cmd);
            return false;
        }
        o.Command = c;
        return true;
    };
    const bool hasWirelessOptions = o.HasSsid || o.HasKey || o.KeyLength >= 0 || o.Auth >= 0 || o.WpaMode >= 0
        || o.Security != 0 || o.WirelessMode != 9;

    if (cmd == u"discover" || cmd == u"show" || cmd == u"survey" || cmd == u"station-pin") {
        const CtlCommand c = cmd == u"discover" ? CtlCommand::Discover
            : cmd == u"show"                    ? CtlCommand::Show
            : cmd == u"survey"                  ? CtlCommand::Survey
                                                : CtlCommand::StationPin;
        if (hasWirelessOptions) {
            error = QStringLiteral("%1 takes no wireless options").arg(cmd);
            return ParseOutcome::Error;
        }
        return noArgs(c) ? ParseOutcome::Run : ParseOutcome::Error;
    }
    if (cmd == u"set-ip") {
        o.Command = CtlCommand::SetIp;
        if (hasWirelessOptions) {
            error = QStringLiteral("set-ip takes no wireless options");
            return ParseOutcome::Error;
        }
        if (positional.size() == 1 && positional.at(0) == u"dhcp") {
            o.Dhcp = true;
            return ParseOutcome::Run;
        }
        if ((positional.size() == 3 || positional.size() == 4) && positional.at(0) == u"static") {
            o.Ip = positional.at(1);
            o.Mask = positional.at(2);
            o.Gateway = positional.size() == 4 ? positional.at(3) : QString();
            return ParseOutcome::Run;
        }
        error = QStringLiteral("usage: set-ip dhcp | set-ip static IP MASK [GATEWAY]");
        return ParseOutcome::Error;
    }
    if (cmd == u"set-mode") {
        o.Command = CtlCommand::SetMode;
        if (hasWirelessOptions || positional.size() != 1
            || !ParseChoice(
                positional.at(0), { { "ap", DEVICE_AP }, { "bridge", DEVICE_WBRIDGE } }, o.Mode)) {
            error = QStringLiteral("usage: set-mode ap|bridge");
            return ParseOutcome::Error;
        }
        return ParseOutcome::Run;
    }
    if (cmd == u"set-wireless") {
        o.Command = CtlCommand::SetWireless;
        if (!positional.isEmpty()) {
            error = QStringLiteral("set-wireless takes options only");
            return ParseOutcome::Error;
        }
        if (!o.HasSsid) {
            error = QStringLiteral("set-wireless needs --ssid");
            return ParseOutcome::Error;
        }
        if (o.Security == 0 && (o.HasKey || o.KeyLength >= 0 || o.Auth >= 0 || o.WpaMode >= 0)) {
            error
                = QStringLiteral("--key, --key-length, --auth and --wpa-mode need --security wep or wpa-psk");
            return ParseOutcome::Error;
        }
        if (o.Security == 1 && o.WpaMode >= 0) {
            error = QStringLiteral("--wpa-mode goes with --security wpa-psk");
            return ParseOutcome::Error;
        }
        if (o.Security == 2 && (o.KeyLength >= 0 || o.Auth >= 0)) {
            error = QStringLiteral("--key-length and --auth go with --security wep");
            return ParseOutcome::Error;
        }
        return ParseOutcome::Run;
    }
    if (cmd == u"wps") {
        o.Command = CtlCommand::Wps;
        const bool otherWireless = o.HasKey || o.KeyLength >= 0 || o.Auth >= 0 || o.WpaMode >= 0
            || o.Security != 0 || o.WirelessMode != 9;
        if (!otherWireless && positional.size() == 1 && positional.at(0) == u"pbc" && !o.HasSsid) {
            o.WpsPbc = true;
            return ParseOutcome::Run;
        }
        if (!otherWireless && positional.size() == 2 && positional.at(0) == u"pin" && !o.HasSsid) {
            o.WpsPin = positional.at(1);
            return ParseOutcome::Run;
        }
        if (!otherWireless && positional.size() == 1 && positional.at(0) == u"pin" && o.HasSsid) {
            o.WpsBridgePin = true;
            return ParseOutcome::Run;
        }
        error = QStringLiteral("usage: wps pbc | wps pin PIN | wps pin --ssid SSID");
        return ParseOutcome::Error;
    }
    error = QStringLiteral("unknown command %1").arg(cmd);
    return ParseOutcome::Error;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: qrxctl [-i|--interface NAME]... [--json] [-d|--device MAC] [-p|--password TEXT]\n"
        "              [--wait MS] COMMAND\n"
        "\n"
        "Configures QRX-512 access points on the local network with the setup wizard's protocol.\n"
        "\n"
        "Commands:\n"
        "  discover                        list the devices that answer (name, MAC, device IP,\n"
        "                                  local IP, local mask)\n"
        "  show                            log in, read and print the whole configuration\n"
        "  set-ip dhcp | set-ip static IP MASK [GATEWAY]\n"
        "  set-mode ap|bridge\n"
        "  set-wireless --ssid S [--wireless-mode bgn|bg|n] [--security none|wep|wpa-psk] [--key K]\n"
        "               [--key-length 64|128] [--auth open|shared|auto] [--wpa-mode wpa|wpa2|wpa-wpa2]\n"
        "                                  writes the access-point profile in access-point mode and\n"
        "                                  the station profile in bridge mode (automatic channel)\n"
        "  wps pbc | wps pin PIN | wps pin --ssid SSID   (the last in bridge mode)\n"
        "  survey                          list the access points the device hears\n"
        "  station-pin                     print the bridge's own WPS PIN\n"
        "\n"
        "Options:\n"
        "  -i, --interface NAME   use only this network adapter (repeatable; loopback allowed);\n"
        "                         without it QRX_ADAPTERS (comma-separated), else every adapter\n"
        "  --json                 print one JSON document on standard output\n"
        "  -d, --device MAC       the device to configure, when more than one answers\n"
        "  -p, --password TEXT    administrator password; else QRX_PASSWORD; else blank\n"
        "  --wait MS              how long a discovery collects answers (default 4000)\n"
        "  -h, --help             show this text\n"
        "  --version              show the version\n"
        "\n"
        "Without --key-length a WEP key of 13 or 26 characters is taken as a 128-bit key.\n"
        "Exit status: 0 success; 1 the device refused, did not answer, or the login failed;\n"
        "2 bad usage or a value the setup wizard would refuse.\n");
}
