// The emulated access point: its settings, its run-time state and the faults it is told to make.
#pragma once

#include "json.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/packet.h"
#include "protocol/codec/records.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace apsim {

// What one device does wrong when it answers a given command.
struct Fault
{
    int DropFirst = 0; // the first K replies are not sent
    bool DropAll = false; // no reply at all
    int DelayMs = 0; // device milliseconds before the reply leaves (time scale applies)
    std::optional<int> Result; // result byte forced (0: the request is refused and not applied)
    int Duplicates = 0; // extra copies of every reply
    std::string Corrupt; // "", "magic", "version", "length", "short"
    bool WrongMac = false; // the header carries WrongMacValue instead of the device's MAC
    MacAddress WrongMacValue {};
    bool TruncateTlv = false; // the last item's value runs past the end of the payload
    bool UnknownTlv = false; // items of unknown types around the real ones
    bool Oversize = false; // names, SSIDs and PINs padded to 255 bytes
    bool MaxSurvey = false; // the survey reply carries the largest list a datagram holds

    int Sent = 0; // replies counted so far, for DropFirst
};

// One neighbouring access point of the survey list.
struct SurveyEntry
{
    std::string Ssid;
    MacAddress Bssid {};
    int Signal = 0;
    int Channel = 0;
    int Encryption = 0; // 0 none, 1 WEP, 2 TKIP, 3 AES, 4 TKIP and AES
    int Authentication = 0; // 0 open, 2 WPA-PSK, 3 WPA2-PSK, 4 both PSK, 5 WPA, 6 WPA2, 7 both
    int IconFlag = 0;
    bool Wps = false;
};

// Channels 1 to 11.
std::vector<std::uint8_t> DefaultChannels();

// A wireless profile (the access point's own, or the one the bridge joins).
struct WirelessProfile
{
    std::string Ssid = "wireless";
    int StdChannel = 0;
    int ExtChannel = 0;
    std::vector<std::uint8_t> Channels = DefaultChannels();
    int WirelessMode = 9;
    int Security = 0;
    int AuthMode = 2;
    int WepKeyLength = 0;
    std::string WepKey;
    int WpaMode = 2;
    int WpaCipher = 2;
    std::string WpaPsk;
};

// How a WPS run unfolds.
struct WpsBehaviour
{
    std::string Outcome = "configured"; // configured, idle, wsc_fail, too_many_ap, no_ap,
                                        // password_mismatch, none
    std::vector<int> Statuses; // explicit status codes; overrides Outcome when not empty
    int StartDelayMs = 500;
    int StepMs = 1000;
};

struct Device
{
    // Identity and settings (configuration and state file).
    int Index = 0; // 1-based
    std::string Name;
    MacAddress Mac {};
    std::uint32_t Address = 0; // the address it answers from (host order)
    std::string Password;
    int Mode = DEVICE_AP;
    bool Dhcp = false;
    std::uint32_t LanIp = 0, LanNetmask = 0, LanGateway = 0;
    WirelessProfile Ap;
    WirelessProfile Station; // bridge mode: the network the bridge joins
    std::uint32_t WpsPin = 0; // the access point's PIN number
    std::string StationPin; // the bridge's own PIN text
    std::vector<SurveyEntry> Survey;
    int SurveyGenerated = 0; // the survey was generated with this many entries (kept short in files)
    std::optional<std::uint16_t> LoginPort; // named in the login reply
    bool ReplyBroadcast = false; // answers by broadcast to port 5433
    int IdleTimeoutMs = 300000;
    int ApplyDelayMs = 0; // time a setting takes before its reply
    WpsBehaviour Wps;
    std::map<std::string, Fault> Faults; // by command key, "any" for every command

    // Run-time state.
    bool LoggedIn = false;
    std::uint32_t ClientIp = 0; // host order
    std::uint16_t ClientPort = 0;
    MacAddress ClientMac {};
    std::int64_t LastActivityMs = 0; // monotonic real ms
    bool ListeningOnLoginPort = false;
    int WpsRunId = 0; // increases with every run; stale steps are dropped
    int LastWpsStatus = 0;
    int WpsRuns = 0;
    int Requests = 0;
};

// Command keys, used in faults and in the request log.
std::string CommandKey(const Device& dev, std::uint8_t cmd, const DeviceRequest& req);

// Factory settings of device k (1-based) with the given address.
Device FactoryDevice(int k, std::uint32_t address, const std::string& password);

// Applies a JSON object (a "defaults" or "devices" entry, or a state-file device) on top of a
// device. Unknown keys are errors so that typos do not pass unnoticed.
bool ApplyDeviceJson(Device& dev, const JsonValue& obj, std::string& error);

// The device's settings and run-time state as a JSON object (the state file's device entry);
// ApplyDeviceJson reads it back, ignoring the run-time members.
JsonValue DeviceToJson(const Device& dev);

// Text helpers.
std::string MacText(const MacAddress& mac);
bool ParseMac(const std::string& text, MacAddress& mac);
std::string IpText(std::uint32_t hostOrder);
bool ParseIp(const std::string& text, std::uint32_t& hostOrder);

// WPS PIN: checksum digit of the first seven digits, and the validity of an eight-digit PIN.
int WpsChecksum(std::uint32_t sevenDigits);
bool WpsPinValid(std::uint32_t pin);
bool WpsPinTextValid(const std::string& text);

} // namespace apsim
