#include "device.h"

#include "protocol/codec/device_side.h"

#include <arpa/inet.h>
#include <cmath>
#include <cstdio>

namespace apsim {

std::string MacText(const MacAddress& mac)
{
    char buf[18];
    std::snprintf(
        buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return buf;
}

bool ParseMac(const std::string& text, MacAddress& mac)
{
    unsigned v[6];
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2x%*1[:-]%2x%*1[:-]%2x%*1[:-]%2x%*1[:-]%2x%*1[:-]%2x%c", &v[0], &v[1],
            &v[2], &v[3], &v[4], &v[5], &tail)
        != 6) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        mac[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v[i]);
    }
    return true;
}

std::string IpText(std::uint32_t hostOrder)
{
    in_addr a {};
    a.s_addr = htonl(hostOrder);
    char buf[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

bool ParseIp(const std::string& text, std::uint32_t& hostOrder)
{
    in_addr a {};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1) {
        return false;
    }
    hostOrder = ntohl(a.s_addr);
    return true;
}

int WpsChecksum(std::uint32_t pin)
{
    std::uint32_t accum = 0;
    while (pin) {
        accum += 3 * (pin % 10);
        pin /= 10;
        accum += pin % 10;
        pin /= 10;
    }
    return static_cast<int>((10 - accum % 10) % 10);
}

bool WpsPinValid(std::uint32_t pin)
{
    return pin <= 99999999 && static_cast<std::uint32_t>(WpsChecksum(pin / 10)) == pin % 10;
}

bool WpsPinTextValid(const std::string& text)
{
    if (text.size() != 8) {
        return false;
    }
    std::uint32_t pin = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        pin = pin * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return WpsPinValid(pin);
}

std::vector<std::uint8_t> DefaultChannels()
{
    std::vector<std::uint8_t> list;
    for (std::uint8_t ch = 1; ch <= 11; ++ch) {
        list.push_back(ch);
    }
    return list;
}

std::string CommandKey(const Device& dev, std::uint8_t cmd, const DeviceRequest& req)
{
    (void)dev;
    switch (cmd) {
    case CMD_DISCOVER:
        return "discover";
    case CMD_LOGIN:
        return "login";
    case CMD_LOGOUT:
        return "logout";
    case CMD_GET_CONFIG:
        return (!req.GetAll && req.HasDeviceMode) ? "get_mode" : "get_config";
    case CMD_SET_CONFIG:
        if (req.WpsPBC) {
            return "wps_pbc";
        }
        if (req.HasWpsPin) {
            return "wps_pin";
        }
        if (req.HasDeviceMode) {
            return "set_mode";
        }
        if (req.HasIPMode) {
            return "set_ip";
        }
        if (req.HasSSID) {
            return "set_wireless";
        }
        return "set";
    case CMD_EVENT:
        return "event";
    case CMD_SITE_SURVEY:
        return "survey";
    case CMD_STATION_GET_CONFIG:
        return "station_get_config";
    case CMD_STATION_SET_CONFIG:
        return "station_set";
    default:
        return "unknown";
    }
}

namespace {

SurveyEntry MakeEntry(const char* ssid, int k, int n, int signal, int channel, int enc, int auth, bool wps)
{
    SurveyEntry e;
    e.Ssid = ssid;
    e.Bssid = { 0x02, 0x4E, static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k & 0xFF), 0x00,
        static_cast<std::uint8_t>(n) };
    e.Signal = signal;
    e.Channel = channel;
    e.Encryption = enc;
    e.Authentication = auth;
    e.IconFlag = enc != 0 ? 1 : 0;
    e.Wps = wps;
    return e;
}

std::vector<SurveyEntry> GeneratedSurvey(int k, int count)
{
    std::vector<SurveyEntry> list;
    list.reserve(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) {
        char ssid[40];
        std::snprintf(ssid, sizeof ssid, "Neighbour-%04d", n + 1);
        SurveyEntry e
            = MakeEntry(ssid, k, 0, 1 + n % 100, 1 + n % 11, n % 5, (n % 5 == 0) ? 0 : 2 + n % 6, n % 2 == 0);
        e.Bssid[4] = static_cast<std::uint8_t>(n >> 8);
        e.Bssid[5] = static_cast<std::uint8_t>(n & 0xFF);
        list.push_back(e);
    }
    return list;
}

} // namespace

Device FactoryDevice(int k, std::uint32_t address, const std::string& password)
{
    Device d;
    d.Index = k;
    d.Name = "QRX-512 #" + std::to_string(k);
    d.Mac = { 0x02, 0x51, 0x52, static_cast<std::uint8_t>(k >> 16), static_cast<std::uint8_t>(k >> 8),
        static_cast<std::uint8_t>(k) };
    d.Address = address;
    d.Password = password;
    d.Mode = DEVICE_AP;
    d.Dhcp = false;
    d.LanIp = address;
    d.LanNetmask = (address >> 24) == 127 ? 0xFF000000u : 0xFFFFFF00u;
    d.LanGateway = 0;
    const std::uint32_t apSeven = (1234500u + static_cast<std::uint32_t>(k)) % 10000000u;
    d.WpsPin = apSeven * 10 + static_cast<std::uint32_t>(WpsChecksum(apSeven));
    const std::uint32_t staSeven = (7654300u + static_cast<std::uint32_t>(k)) % 10000000u;
    char pin[16];
    std::snprintf(pin, sizeof pin, "%07u%d", staSeven, WpsChecksum(staSeven));
    d.StationPin = pin;
    d.Station.Ssid.clear();
    d.Survey = {
        MakeEntry("HomeNet", k, 1, 80, 1, 3, 3, true),
        MakeEntry("CoffeeShop", k, 2, 55, 6, 0, 0, false),
        MakeEntry("Office-WEP", k, 3, 40, 11, 1, 0, false),
        MakeEntry("Lab-Mixed", k, 4, 67, 3, 4, 4, true),
        MakeEntry("Guest", k, 5, 23, 9, 2, 2, true),
    };
    return d;
}

// ---------------------------------------------------------------------------------------------
// Reading JSON
// ---------------------------------------------------------------------------------------------

namespace {

struct Reader
{
    std::string& Error;
    std::string Where;

    bool Fail(const std::string& key, const char* what)
    {
        Error = Where + key + ": " + what;
        return false;
    }

    bool Int(const std::string& key, const JsonValue& v, int& out, double lo, double hi)
    {
        if (!v.IsNumber() || v.AsNumber() != std::floor(v.AsNumber()) || v.AsNumber() < lo
            || v.AsNumber() > hi) {
            return Fail(key, "expected an integer in range");
        }
        out = static_cast<int>(v.AsNumber());
        return true;
    }

    bool Bool(const std::string& key, const JsonValue& v, bool& out)
    {
        if (!v.IsBool()) {
            return Fail(key, "expected true or false");
        }
        out = v.AsBool();
        return true;
    }

    bool Text(const std::string& key, const JsonValue& v, std::string& out, std::size_t maxLen = 255)
    {
        if (!v.IsString() || v.AsString().size() > maxLen) {
            return Fail(key, "expected a text of at most 255 bytes");
        }
        out = v.AsString();
        return true;
    }

    bool Ip(const std::string& key, const JsonValue& v, std::uint32_t& out)
    {
        if (!v.IsString() || !ParseIp(v.AsString(), out)) {
            return Fail(key, "expected an IPv4 address text");
        }
        return true;
    }

    bool Mac(const std::string& key, const JsonValue& v, MacAddress& out)
    {
        if (!v.IsString() || !ParseMac(v.AsString(), out)) {
            return Fail(key, "expected a MAC address text aa:bb:cc:dd:ee:ff");
        }
        return true;
    }

    bool Profile(const JsonValue& obj, WirelessProfile& p)
    {
        if (!obj.IsObject()) {
            return Fail("", "expected an object");
        }
        for (const auto& [key, v] : obj.Members()) {
            bool ok = true;
            if (key == "ssid") {
                ok = Text(key, v, p.Ssid);
            } else if (key == "standard_channel") {
                ok = Int(key, v, p.StdChannel, 0, 255);
            } else if (key == "extension_channel") {
                ok = Int(key, v, p.ExtChannel, 0, 255);
            } else if (key == "channels") {
                if (!v.IsArray() || v.Items().size() > 255) {
                    return Fail(key, "expected an array of at most 255 channel numbers");
                }
                p.Channels.clear();
                for (const JsonValue& c : v.Items()) {
                    int ch = 0;
                    if (!Int(key, c, ch, 1, 255)) {
                        return false;
                    }
                    p.Channels.push_back(static_cast<std::uint8_t>(ch));
                }
            } else if (key == "wireless_mode") {
                ok = Int(key, v, p.WirelessMode, 0, 255);
            } else if (key == "security") {
                ok = Int(key, v, p.Security, 0, 255);
            } else if (key == "auth") {
                ok = Int(key, v, p.AuthMode, 0, 255);
            } else if (key == "wep_key_length") {
                ok = Int(key, v, p.WepKeyLength, 0, 255);
            } else if (key == "wep_key") {
                ok = Text(key, v, p.WepKey);
            } else if (key == "wpa_mode") {
                ok = Int(key, v, p.WpaMode, 0, 255);
            } else if (key == "wpa_cipher") {
                ok = Int(key, v, p.WpaCipher, 0, 255);
            } else if (key == "wpa_psk") {
                ok = Text(key, v, p.WpaPsk);
            } else {
                return Fail(key, "unknown member");
            }
            if (!ok) {
                return false;
            }
        }
        return true;
    }

    bool Survey(const JsonValue& v, std::vector<SurveyEntry>& list, int k)
    {
        if (!v.IsArray()) {
            return Fail("survey", "expected an array");
        }
        list.clear();
        int n = 0;
        for (const JsonValue& e : v.Items()) {
            ++n;
            if (!e.IsObject()) {
                return Fail("survey", "expected objects");
            }
            SurveyEntry s = MakeEntry("", k, n, 50, 6, 0, 0, false);
            for (const auto& [key, m] : e.Members()) {
                bool ok = true;
                if (key == "ssid") {
                    ok = Text(key, m, s.Ssid, 32);
                } else if (key == "bssid") {
                    ok = Mac(key, m, s.Bssid);
                } else if (key == "signal") {
                    ok = Int(key, m, s.Signal, 0, 999);
                } else if (key == "channel") {
                    ok = Int(key, m, s.Channel, 0, 999);
                } else if (key == "encryption") {
                    ok = Int(key, m, s.Encryption, 0, 255);
                } else if (key == "authentication") {
                    ok = Int(key, m, s.Authentication, 0, 255);
                } else if (key == "icon") {
                    ok = Int(key, m, s.IconFlag, 0, 255);
                } else if (key == "wps") {
                    ok = Bool(key, m, s.Wps);
                } else {
                    return Fail("survey." + key, "unknown member");
                }
                if (!ok) {
                    return false;
                }
            }
            list.push_back(s);
        }
        return true;
    }

    bool Faults(const JsonValue& obj, std::map<std::string, Fault>& faults)
    {
        static const char* const keys[] = { "any", "discover", "login", "logout", "get_config", "get_mode",
            "set_ip", "set_wireless", "set_mode", "set", "wps_pbc", "wps_pin", "survey", "station_get_config",
            "station_set", "event" };
        if (!obj.IsObject()) {
            return Fail("faults", "expected an object");
        }
        for (const auto& [cmd, fo] : obj.Members()) {
            bool known = false;
            for (const char* k : keys) {
                known = known || cmd == k;
            }
            if (!known) {
                return Fail("faults." + cmd, "unknown command key");
            }
            if (!fo.IsObject()) {
                return Fail("faults." + cmd, "expected an object");
            }
            Fault f;
            for (const auto& [key, v] : fo.Members()) {
                const std::string name = "faults." + cmd + "." + key;
                bool ok = true;
                if (key == "drop") {
                    if (v.IsString() && v.AsString() == "all") {
                        f.DropAll = true;
                    } else if (v.IsBool()) {
                        f.DropAll = v.AsBool();
                    } else {
                        ok = Int(name, v, f.DropFirst, 0, 1e9);
                    }
                } else if (key == "delay_ms") {
                    ok = Int(name, v, f.DelayMs, 0, 1e9);
                } else if (key == "result") {
                    int r = 0;
                    ok = Int(name, v, r, 0, 255);
                    f.Result = r;
                } else if (key == "duplicate") {
                    if (v.IsBool()) {
                        f.Duplicates = v.AsBool() ? 1 : 0;
                    } else {
                        ok = Int(name, v, f.Duplicates, 0, 100);
                    }
                } else if (key == "corrupt") {
                    ok = Text(name, v, f.Corrupt);
                    if (ok && f.Corrupt != "magic" && f.Corrupt != "version" && f.Corrupt != "length"
                        && f.Corrupt != "short") {
                        return Fail(name, "expected magic, version, length or short");
                    }
                } else if (key == "wrong_mac") {
                    if (v.IsBool()) {
                        f.WrongMac = v.AsBool();
                        f.WrongMacValue = { 0x02, 0xBA, 0xD0, 0xBA, 0xD0, 0x01 };
                    } else {
                        f.WrongMac = true;
                        ok = Mac(name, v, f.WrongMacValue);
                    }
                } else if (key == "truncate_tlv") {
                    ok = Bool(name, v, f.TruncateTlv);
                } else if (key == "unknown_tlv") {
                    ok = Bool(name, v, f.UnknownTlv);
                } else if (key == "oversize") {
                    ok = Bool(name, v, f.Oversize);
                } else if (key == "max_survey") {
                    ok = Bool(name, v, f.MaxSurvey);
                } else {
                    return Fail(name, "unknown member");
                }
                if (!ok) {
                    return false;
                }
            }
            faults[cmd] = f;
        }
        return true;
    }

    bool Wps(const JsonValue& obj, WpsBehaviour& w)
    {
        if (!obj.IsObject()) {
            return Fail("wps", "expected an object");
        }
        for (const auto& [key, v] : obj.Members()) {
            bool ok = true;
            if (key == "outcome") {
                ok = Text("wps.outcome", v, w.Outcome);
                static const char* const outcomes[] = { "configured", "idle", "wsc_fail", "too_many_ap",
                    "no_ap", "password_mismatch", "none" };
                bool known = false;
                for (const char* o : outcomes) {
                    known = known || w.Outcome == o;
                }
                if (ok && !known) {
                    return Fail("wps.outcome", "unknown outcome");
                }
            } else if (key == "statuses") {
                if (!v.IsArray()) {
                    return Fail("wps.statuses", "expected an array of status codes");
                }
                w.Statuses.clear();
                for (const JsonValue& s : v.Items()) {
                    int code = 0;
                    if (!Int("wps.statuses", s, code, -2147483648.0, 2147483647.0)) {
                        return false;
                    }
                    w.Statuses.push_back(code);
                }
            } else if (key == "start_delay_ms") {
                ok = Int("wps.start_delay_ms", v, w.StartDelayMs, 0, 1e9);
            } else if (key == "step_ms") {
                ok = Int("wps.step_ms", v, w.StepMs, 0, 1e9);
            } else {
                return Fail("wps." + key, "unknown member");
            }
            if (!ok) {
                return false;
            }
        }
        return true;
    }
};

} // namespace

bool ApplyDeviceJson(Device& dev, const JsonValue& obj, std::string& error)
{
    Reader r { error, "device " + std::to_string(dev.Index) + ": " };
    if (!obj.IsObject()) {
        return r.Fail("", "expected an object");
    }
    for (const auto& [key, v] : obj.Members()) {
        bool ok = true;
        if (key == "name") {
            ok = r.Text(key, v, dev.Name);
        } else if (key == "mac") {
            ok = r.Mac(key, v, dev.Mac);
        } else if (key == "address") {
            ok = r.Ip(key, v, dev.Address);
        } else if (key == "password") {
            ok = r.Text(key, v, dev.Password);
        } else if (key == "mode") {
            if (v.IsString() && (v.AsString() == "ap" || v.AsString() == "bridge")) {
                dev.Mode = v.AsString() == "ap" ? DEVICE_AP : DEVICE_WBRIDGE;
            } else {
                ok = r.Int(key, v, dev.Mode, 0, 255);
            }
        } else if (key == "ip") {
            if (!v.IsObject()) {
                return r.Fail(key, "expected an object");
            }
            for (const auto& [ik, iv] : v.Members()) {
                if (ik == "dhcp") {
                    ok = r.Bool("ip.dhcp", iv, dev.Dhcp);
                } else if (ik == "address") {
                    ok = r.Ip("ip.address", iv, dev.LanIp);
                } else if (ik == "netmask") {
                    ok = r.Ip("ip.netmask", iv, dev.LanNetmask);
                } else if (ik == "gateway") {
                    ok = r.Ip("ip.gateway", iv, dev.LanGateway);
                } else {
                    return r.Fail("ip." + ik, "unknown member");
                }
                if (!ok) {
                    return false;
                }
            }
        } else if (key == "wireless") {
            r.Where = "device " + std::to_string(dev.Index) + ": wireless.";
            ok = r.Profile(v, dev.Ap);
        } else if (key == "station") {
            r.Where = "device " + std::to_string(dev.Index) + ": station.";
            ok = r.Profile(v, dev.Station);
        } else if (key == "wps_pin") {
            if (v.IsString()) {
                if (v.AsString().size() != 8
                    || v.AsString().find_first_not_of("0123456789") != std::string::npos) {
                    return r.Fail(key, "expected eight digits");
                }
                dev.WpsPin = static_cast<std::uint32_t>(std::stoul(v.AsString()));
            } else {
                int pin = 0;
                ok = r.Int(key, v, pin, 0, 99999999);
                dev.WpsPin = static_cast<std::uint32_t>(pin);
            }
        } else if (key == "station_pin") {
            ok = r.Text(key, v, dev.StationPin);
        } else if (key == "survey") {
            ok = r.Survey(v, dev.Survey, dev.Index);
            dev.SurveyGenerated = 0;
        } else if (key == "survey_generate") {
            int n = 0;
            ok = r.Int(key, v, n, 0, 100000);
            if (ok) {
                dev.Survey = GeneratedSurvey(dev.Index, n);
                dev.SurveyGenerated = n;
            }
        } else if (key == "login_port") {
            if (v.IsNull()) {
                dev.LoginPort.reset();
            } else {
                int port = 0;
                ok = r.Int(key, v, port, 1, 65535);
                dev.LoginPort = static_cast<std::uint16_t>(port);
            }
        } else if (key == "reply_broadcast") {
            ok = r.Bool(key, v, dev.ReplyBroadcast);
        } else if (key == "idle_timeout_ms") {
            ok = r.Int(key, v, dev.IdleTimeoutMs, 0, 1e9);
        } else if (key == "apply_delay_ms") {
            ok = r.Int(key, v, dev.ApplyDelayMs, 0, 1e9);
        } else if (key == "wps") {
            ok = r.Wps(v, dev.Wps);
        } else if (key == "faults") {
            ok = r.Faults(v, dev.Faults);
        } else if (key == "index" || key == "logged_in" || key == "client" || key == "wps_runs"
            || key == "last_wps_status" || key == "requests") {
            // run-time members of a state file
        } else {
            return r.Fail(key, "unknown member");
        }
        if (!ok) {
            return false;
        }
        r.Where = "device " + std::to_string(dev.Index) + ": ";
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Writing JSON
// ---------------------------------------------------------------------------------------------

namespace {

JsonValue Num(double n)
{
    return JsonValue::MakeNumber(n);
}

JsonValue Str(std::string s)
{
    return JsonValue::MakeString(std::move(s));
}

JsonValue ProfileToJson(const WirelessProfile& p)
{
    JsonValue o = JsonValue::MakeObject();
    o.Set("ssid", Str(p.Ssid));
    o.Set("standard_channel", Num(p.StdChannel));
    o.Set("extension_channel", Num(p.ExtChannel));
    JsonValue ch = JsonValue::MakeArray();
    for (std::uint8_t c : p.Channels) {
        ch.Push(Num(c));
    }
    o.Set("channels", ch);
    o.Set("wireless_mode", Num(p.WirelessMode));
    o.Set("security", Num(p.Security));
    o.Set("auth", Num(p.AuthMode));
    o.Set("wep_key_length", Num(p.WepKeyLength));
    o.Set("wep_key", Str(p.WepKey));
    o.Set("wpa_mode", Num(p.WpaMode));
    o.Set("wpa_cipher", Num(p.WpaCipher));
    o.Set("wpa_psk", Str(p.WpaPsk));
    return o;
}

} // namespace

JsonValue DeviceToJson(const Device& dev)
{
    JsonValue o = JsonValue::MakeObject();
    o.Set("index", Num(dev.Index));
    o.Set("name", Str(dev.Name));
    o.Set("mac", Str(MacText(dev.Mac)));
    o.Set("address", Str(IpText(dev.Address)));
    o.Set("password", Str(dev.Password));
    o.Set("mode", Str(dev.Mode == DEVICE_WBRIDGE ? "bridge" : "ap"));
    JsonValue ip = JsonValue::MakeObject();
    ip.Set("dhcp", JsonValue::MakeBool(dev.Dhcp));
    ip.Set("address", Str(IpText(dev.LanIp)));
    ip.Set("netmask", Str(IpText(dev.LanNetmask)));
    ip.Set("gateway", Str(IpText(dev.LanGateway)));
    o.Set("ip", ip);
    o.Set("wireless", ProfileToJson(dev.Ap));
    o.Set("station", ProfileToJson(dev.Station));
    char pin[16];
    std::snprintf(pin, sizeof pin, "%08u", dev.WpsPin);
    o.Set("wps_pin", Str(pin));
    o.Set("station_pin", Str(dev.StationPin));
    JsonValue survey = JsonValue::MakeArray();
    for (const SurveyEntry& e : dev.SurveyGenerated > 0 ? std::vector<SurveyEntry> {} : dev.Survey) {
        JsonValue s = JsonValue::MakeObject();
        s.Set("ssid", Str(e.Ssid));
        s.Set("bssid", Str(MacText(e.Bssid)));
        s.Set("signal", Num(e.Signal));
        s.Set("channel", Num(e.Channel));
        s.Set("encryption", Num(e.Encryption));
        s.Set("authentication", Num(e.Authentication));
        s.Set("icon", Num(e.IconFlag));
        s.Set("wps", JsonValue::MakeBool(e.Wps));
        survey.Push(s);
    }
    if (dev.SurveyGenerated > 0) {
        o.Set("survey_generate", Num(dev.SurveyGenerated));
    } else {
        o.Set("survey", survey);
    }
    o.Set("login_port", dev.LoginPort ? Num(*dev.LoginPort) : JsonValue());
    o.Set("reply_broadcast", JsonValue::MakeBool(dev.ReplyBroadcast));
    o.Set("idle_timeout_ms", Num(dev.IdleTimeoutMs));
    // Run-time state.
    o.Set("logged_in", JsonValue::MakeBool(dev.LoggedIn));
    o.Set("client",
        dev.LoggedIn ? Str(IpText(dev.ClientIp) + ":" + std::to_string(dev.ClientPort)) : JsonValue());
    o.Set("wps_runs", Num(dev.WpsRuns));
    o.Set("last_wps_status", Num(dev.LastWpsStatus));
    o.Set("requests", Num(dev.Requests));
    return o;
}

} // namespace apsim
