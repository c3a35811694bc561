// Device side of the message catalogue, for the access point emulator and for tests: reading the
// computer's requests and building the device's replies and events. Replies are built in plain
// text; the caller enciphers every payload but the discovery answer's (CipherPayload).
#pragma once

#include "protocol/codec/packet.h"
#include "protocol/codec/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Everything a request may carry. The Has* flags tell which items were present.
struct DeviceRequest
{
    std::uint8_t Cmd = 0;
    MacAddress SenderMAC {};
    bool Truncated = false; // an item ran past the payload
    std::vector<std::uint8_t> ItemTypes; // the well-formed items in order

    // Login
    bool HasDeviceMAC = false;
    MacAddress DeviceMAC {};
    bool HasAuth = false;
    std::string Auth;

    // Get-config: the whole configuration or the operating mode alone
    bool GetAll = false;
    // Get-mode (command 3) or set-mode (command 4)
    bool HasDeviceMode = false;
    int DeviceMode = 0;

    // IP setting; fields of Ip are set only for the items present
    bool HasIPMode = false, HasLanIP = false, HasLanNetmask = false, HasLanGateway = false;
    tag_IP_CONFIG Ip;

    // Wireless profile (access point or station); fields of Wl set only for the items present
    bool HasSSID = false, HasStdCh = false, HasExtCh = false, HasWlMode = false, HasStaFlag = false;
    bool HasSecurity = false, HasAuthMode = false, HasWepKey = false, HasWepKeyIndex = false;
    bool HasWpaMode = false, HasWpaCipher = false, HasWpaPsk = false;
    int StaFlag = 0;
    int WepKeyIndex = 0;
    tag_WL_CONFIG Wl;

    // WPS
    bool WpsPBC = false;
    bool HasWpsPin = false;
    std::string WpsPin; // eight digits (access point) or the SSID text (station)
};

// Reads a request that passed the checks a device makes (caller's business) and whose payload is
// already deciphered. False when the datagram is shorter than the header.
bool DecodeRequest(const std::uint8_t* data, std::size_t size, DeviceRequest& out);

// Replies; devMac is the device's MAC for the header.
Packet BuildDiscoverReply(const MacAddress& devMac, std::string_view devName);
Packet BuildLoginReply(const MacAddress& devMac, int result, std::optional<std::uint16_t> port);
Packet BuildLogoutReply(const MacAddress& devMac, int result);
// Set-config result for command 4 or 9.
Packet BuildSetResultReply(const MacAddress& devMac, std::uint8_t cmd, int result);
// The whole configuration: DEVICE_MODE, the IP items, SSID, channel list (up to its first 0),
// channels, security items, WEP key index 0 and the WPS PIN number.
Packet BuildGetConfigReply(
    const MacAddress& devMac, const tag_IP_CONFIG& ip, const tag_WL_CONFIG& wl, int deviceMode);
// The operating mode alone.
Packet BuildGetModeReply(const MacAddress& devMac, int deviceMode);
// 49-byte entries; signal and channel written as decimal text of up to three characters.
Packet BuildSiteSurveyReply(const MacAddress& devMac, const std::vector<tag_AP_ROFIILE>& list);
void EncodeSurveyEntry(const tag_AP_ROFIILE& ap, std::uint8_t* entry49);
Packet BuildStationGetConfigReply(const MacAddress& devMac, std::string_view pin);
Packet BuildConnectTimeoutEvent(const MacAddress& devMac);
Packet BuildWpsStatusEvent(const MacAddress& devMac, std::int32_t status);
