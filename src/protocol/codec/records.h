// Records and vocabulary of the device protocol: command codes, item types, pending-operation
// codes and the records that discovery, configuration and site survey fill.
// Standard C++ only: shared by the wizard, qrxctl and the access point emulator.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Datagram layout
// ---------------------------------------------------------------------------------------------

inline constexpr char PACKET_MAGIC[9] = "SWP12345"; // 8 bytes on the wire, no terminator
inline constexpr std::size_t PACKET_MAGIC_LEN = 8;
inline constexpr std::uint8_t PACKET_VERSION = 2;
inline constexpr std::size_t PACKET_HEADER_SIZE = 18;
inline constexpr std::uint8_t PACKET_BUILD_CMD = 0x0A; // command byte while a request is being built

inline constexpr std::size_t DISCOVER_BUFFER_SIZE = 256; // discovery request buffer
inline constexpr std::size_t REQUEST_BUFFER_SIZE = 1024; // every other request
inline constexpr std::size_t RECV_BUFFER_SIZE = 65536; // one received datagram
inline constexpr std::size_t MAX_UDP_DATAGRAM = 65507; // largest IPv4 UDP payload

inline constexpr std::uint16_t DEVICE_PORT = 5432; // devices listen here
inline constexpr std::uint16_t LOCAL_PORT = 5433; // every adapter socket binds here

// Offsets inside the header.
inline constexpr std::size_t HDR_MAGIC = 0;
inline constexpr std::size_t HDR_VERSION = 8;
inline constexpr std::size_t HDR_MAC = 9;
inline constexpr std::size_t HDR_CMD = 15;
inline constexpr std::size_t HDR_LEN = 16;

// ---------------------------------------------------------------------------------------------
// Command codes (header byte 15)
// ---------------------------------------------------------------------------------------------

inline constexpr std::uint8_t CMD_DISCOVER = 0;
inline constexpr std::uint8_t CMD_LOGIN = 1;
inline constexpr std::uint8_t CMD_LOGOUT = 2;
inline constexpr std::uint8_t CMD_GET_CONFIG = 3;
inline constexpr std::uint8_t CMD_SET_CONFIG = 4;
inline constexpr std::uint8_t CMD_EVENT = 6;
inline constexpr std::uint8_t CMD_SITE_SURVEY = 7;
inline constexpr std::uint8_t CMD_STATION_GET_CONFIG = 8;
inline constexpr std::uint8_t CMD_STATION_SET_CONFIG = 9;

// ---------------------------------------------------------------------------------------------
// Item (TLV) types
// ---------------------------------------------------------------------------------------------

inline constexpr std::uint8_t DEVICE_MODE = 0x00;
inline constexpr std::uint8_t DEVICE_NAME = 0x01;
inline constexpr std::uint8_t DEVICE_MAC = 0x02;
inline constexpr std::uint8_t IP_MODE = 0x30;
inline constexpr std::uint8_t LAN_IP = 0x31;
inline constexpr std::uint8_t LAN_NETMASK = 0x32;
inline constexpr std::uint8_t LAN_GATEWAY = 0x33;
inline constexpr std::uint8_t WL_SSID = 0x50;
inline constexpr std::uint8_t WL_CH_LIST = 0x51;
inline constexpr std::uint8_t WL_EXT_CH = 0x52;
inline constexpr std::uint8_t WL_STD_CH = 0x53;
inline constexpr std::uint8_t WL_MODE = 0x54;
inline constexpr std::uint8_t WL_STA_FLAG = 0x59;
inline constexpr std::uint8_t WL_SECURITY_MODE = 0x60;
inline constexpr std::uint8_t WL_AUTH_MODE = 0x61;
inline constexpr std::uint8_t WL_WEPKEY_LEN = 0x62;
inline constexpr std::uint8_t WL_WEPKEY = 0x63;
inline constexpr std::uint8_t WL_WEPKEY_INDEX = 0x67;
inline constexpr std::uint8_t WL_WPA_MODE = 0x68;
inline constexpr std::uint8_t WL_WPA_CIPHER = 0x69;
inline constexpr std::uint8_t WL_WPA_PSK = 0x6A;
inline constexpr std::uint8_t WL_WPS_PBC = 0x6B;
inline constexpr std::uint8_t WL_WPS_PIN = 0x6C;
inline constexpr std::uint8_t TLVTYPE_OTHER_AUTH = 0x90;
inline constexpr std::uint8_t TLVTYPE_OTHER_RESULT = 0x91;
inline constexpr std::uint8_t TLVTYPE_OTHER_PORT = 0x92;
inline constexpr std::uint8_t TLVTYPE_OTHER_GET_ALL = 0x93;
inline constexpr std::uint8_t TLVTYPE_OTHER_CONNECTTIMEOUT = 0x95;
inline constexpr std::uint8_t TLVTYPE_OTHER_WPS_STATUS = 0x96;

// Operating modes (DEVICE_MODE values, g_Var.DeviceMode).
inline constexpr int DEVICE_AP = 1;
inline constexpr int DEVICE_WBRIDGE = 2;

// ---------------------------------------------------------------------------------------------
// Pending-operation codes: the request the engine waits for; also wParam of its notifications.
// ---------------------------------------------------------------------------------------------

inline constexpr int OP_NONE = 0;
inline constexpr int OP_DISCOVER = 1;
inline constexpr int OP_LOGIN = 2;
inline constexpr int OP_LOGOUT = 3;
inline constexpr int OP_IP_SETTING = 4;
inline constexpr int OP_WL_SETTING = 5;
inline constexpr int OP_GET_CONFIG = 6;
inline constexpr int OP_WPS_PBC = 7;
inline constexpr int OP_WPS_PIN = 8;
inline constexpr int OP_SITE_SURVEY = 9;
inline constexpr int OP_SET_MODE = 10;
inline constexpr int OP_WL_STATION_SETTING = 11;
inline constexpr int OP_STATION_GET_CONFIG = 12;

// The client authentication phrase carried by the login request (91 characters).
inline constexpr char AUTH_PHRASE[]
    = "QRX-512 Unit has been verified here; Marked (m) Dareri Group Ltd. No part may be reused ok.";
inline constexpr std::size_t AUTH_PHRASE_LEN = sizeof(AUTH_PHRASE) - 1;
static_assert(AUTH_PHRASE_LEN == 91);

// Size of one site-survey entry.
inline constexpr std::size_t SURVEY_ENTRY_SIZE = 49;

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

// One discovered device.
struct tag_DEV_INFO
{
    std::uint32_t LocalIP = 0; // address (host order) of the adapter whose socket got the answer
    std::uint32_t LocalMask = 0; // that adapter's subnet mask (host order)
    std::uint32_t DevIP = 0; // source address of the answer (host order)
    std::uint8_t DevMAC[6] = {}; // sender MAC of the answer
    char DevName[34] = {}; // DEVICE_NAME, NUL-terminated (at most 33 bytes)
};

// IP part of a device configuration; addresses in host order.
struct tag_IP_CONFIG
{
    std::uint32_t IP_MODE = 0; // 1 automatic (DHCP), 0 static
    std::uint32_t LAN_IP = 0;
    std::uint32_t LAN_NETMASK = 0;
    std::uint32_t LAN_GATEWAY = 0;
    std::uint32_t DNS1 = 0; // kept by the IP page, never sent
    std::uint32_t DNS2 = 0; // kept by the IP page, never sent
};

// Wireless part of a device configuration.
struct tag_WL_CONFIG
{
    char WL_SSID[33] = {}; // NUL-terminated, at most 32 bytes
    std::uint8_t WL_STD_CH = 0; // standard channel, 0 automatic
    std::uint8_t WL_EXT_CH = 0; // extension channel
    std::uint8_t WL_CH_LIST[257] = {}; // offered channels, one per byte, then a 0 byte
    std::int32_t WL_MODE = 0; // wireless mode code
    std::int32_t WL_SECURITY_MODE = 0; // 0 none, 1 WEP, 2 WPA-PSK
    std::int32_t WL_AUTH_MODE = 0; // WEP authentication: 0 open, 1 shared, 2 automatic
    std::int32_t WL_WEPKEY_LEN = 0; // 0 64-bit, 1 128-bit
    std::int32_t WepKeyId = 0; // WEP default key number; never sent or shown
    char WL_WEPKEY[128] = {}; // NUL-terminated
    std::int32_t WL_WPA_MODE = 0; // 0 WPA, 1 WPA2, 2 WPA or WPA2
    std::int32_t WL_WPA_CIPHER = 0; // 0 TKIP, 1 AES, 2 TKIP and AES
    char WL_WPA_PSK[128] = {}; // NUL-terminated
    std::uint32_t WL_WPS_PIN = 0; // the device's WPS PIN as read
    std::int32_t WpsPinInput = 0; // PIN entered on the WPS page (pending configuration only)
};

// A device's configuration: the IP part followed by the wireless part.
struct tag_DEV_CONFIG
{
    tag_IP_CONFIG IPConfig;
    tag_WL_CONFIG WlConfig;
};

// One access point seen in a site survey.
struct tag_AP_ROFIILE
{
    bool EntryFlag = false; // entry byte 0 not 0
    char SSID[33] = {}; // entry bytes 1..32, NUL-terminated
    std::uint8_t BSSID[6] = {}; // entry bytes 33..38
    std::int32_t Signal = 0; // entry bytes 39..41, decimal text (percent)
    std::int32_t Channel = 0; // entry bytes 42..44, decimal text
    std::uint8_t Encryption = 0; // 0 none, 1 WEP, 2 TKIP, 3 AES, 4 TKIP and AES
    std::uint8_t Authentication = 0; // 0 open, 2 WPA-PSK, 3 WPA2-PSK, 4 both PSK, 5 WPA, 6 WPA2, 7 both
    std::uint8_t IconFlag = 0; // entry byte 47
    bool WPS = false; // entry byte 48 not 0: offers WPS
};
