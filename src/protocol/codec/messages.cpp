#include "protocol/codec/messages.h"

#include "protocol/codec/codec_log.h"

#include <cstdio>
#include <cstring>

namespace {

// Text of a NUL-terminated record field as it goes on the wire: never past the field, never
// longer than the field's text capacity, never ending inside a character.
std::string_view WireText(const char* field, std::size_t fieldSize)
{
    const std::string_view text = FieldText(field, fieldSize);
    return text.substr(0, Utf8CutLength(text, fieldSize - 1));
}
template <std::size_t N> std::string_view WireText(const char (&field)[N])
{
    return WireText(field, N);
}

Packet EmptyRequest(const MacAddress& ownMac, std::uint8_t cmd, std::size_t capacity = REQUEST_BUFFER_SIZE)
{
    PacketWriter w(ownMac, capacity);
    return w.Finish(cmd);
}

// The security items shared by the access-point and station profiles.
void AddSecurityItems(PacketWriter& w, const tag_WL_CONFIG& pending)
{
    w.AddTlvU8(WL_SECURITY_MODE, static_cast<std::uint32_t>(pending.WL_SECURITY_MODE));
    if (pending.WL_SECURITY_MODE == 1) {
        w.AddTlvU8(WL_AUTH_MODE, static_cast<std::uint32_t>(pending.WL_AUTH_MODE));
        w.AddTlvText(WL_WEPKEY, WireText(pending.WL_WEPKEY));
        w.AddTlvU8(WL_WEPKEY_INDEX, 0);
    } else if (pending.WL_SECURITY_MODE == 2) {
        w.AddTlvU8(WL_WPA_MODE, static_cast<std::uint32_t>(pending.WL_WPA_MODE));
        w.AddTlvU8(WL_WPA_CIPHER, static_cast<std::uint32_t>(pending.WL_WPA_CIPHER));
        w.AddTlvText(WL_WPA_PSK, WireText(pending.WL_WPA_PSK));
    }
}

std::span<const std::uint8_t> Payload(const std::uint8_t* data, std::size_t size)
{
    return PacketPayload(data, size);
}

// Reads up to three characters as a decimal number the way atoi does; anything else gives 0.
std::int32_t ThreeCharNumber(const std::uint8_t* bytes)
{
    char buf[4] = {};
    std::memcpy(buf, bytes, 3);
    int n = 0;
    while (n < 3 && (buf[n] == ' ' || buf[n] == '\t')) {
        ++n;
    }
    bool negative = false;
    if (n < 3 && (buf[n] == '+' || buf[n] == '-')) {
        negative = buf[n] == '-';
        ++n;
    }
    std::int32_t value = 0;
    while (n < 3 && buf[n] >= '0' && buf[n] <= '9') {
        value = value * 10 + (buf[n] - '0');
        ++n;
    }
    return negative ? -value : value;
}

} // namespace

// ---------------------------------------------------------------------------------------------

Packet BuildDiscoverRequest(const MacAddress& ownMac)
{
    return EmptyRequest(ownMac, CMD_DISCOVER, DISCOVER_BUFFER_SIZE);
}

Packet BuildLoginRequest(const MacAddress& ownMac, const std::uint8_t devMac[6])
{
    PacketWriter w(ownMac);
    w.AddTlv(DEVICE_MAC, devMac, 6);
    w.AddTlv(TLVTYPE_OTHER_AUTH, AUTH_PHRASE, AUTH_PHRASE_LEN);
    return w.Finish(CMD_LOGIN);
}

Packet BuildLogoutRequest(const MacAddress& ownMac)
{
    return EmptyRequest(ownMac, CMD_LOGOUT);
}

Packet BuildGetConfigRequest(const MacAddress& ownMac)
{
    PacketWriter w(ownMac);
    w.AddTlvU8(TLVTYPE_OTHER_GET_ALL, 0);
    return w.Finish(CMD_GET_CONFIG);
}

Packet BuildGetModeRequest(const MacAddress& ownMac)
{
    PacketWriter w(ownMac);
    w.AddTlvU8(DEVICE_MODE, 0);
    return w.Finish(CMD_GET_CONFIG);
}

Packet BuildIPSettingRequest(const MacAddress& ownMac, const tag_IP_CONFIG& pending)
{
    PacketWriter w(ownMac);
    if (pending.IP_MODE != 0) {
        w.AddTlvU8(IP_MODE, 1);
    } else {
        w.AddTlvU8(IP_MODE, 0);
        w.AddTlvU32(LAN_IP, pending.LAN_IP);
        w.AddTlvU32(LAN_NETMASK, pending.LAN_NETMASK);
        w.AddTlvU32(LAN_GATEWAY, pending.LAN_GATEWAY);
    }
    return w.Finish(CMD_SET_CONFIG);
}

Packet BuildWlSettingRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending)
{
    PacketWriter w(ownMac);
    w.AddTlvText(WL_SSID, WireText(pending.WL_SSID));
    w.AddTlvU8(WL_STD_CH, pending.WL_STD_CH);
    if (pending.WL_STD_CH != 0) {
        w.AddTlvU8(WL_EXT_CH, pending.WL_EXT_CH);
    }
    w.AddTlvU8(WL_MODE, static_cast<std::uint32_t>(pending.WL_MODE));
    AddSecurityItems(w, pending);
    return w.Finish(CMD_SET_CONFIG);
}

Packet BuildSetModeRequest(const MacAddress& ownMac, int mode)
{
    PacketWriter w(ownMac);
    w.AddTlvU8(DEVICE_MODE, static_cast<std::uint32_t>(mode));
    return w.Finish(CMD_SET_CONFIG);
}

Packet BuildWPSPBCRequest(const MacAddress& ownMac)
{
    PacketWriter w(ownMac);
    w.AddTlvEmpty(WL_WPS_PBC);
    return w.Finish(CMD_SET_CONFIG);
}

std::string WpsPinDigits(std::int32_t pin)
{
    // Always eight digits: a value outside 0..99999999 keeps its last eight digits.
    const std::uint32_t value = static_cast<std::uint32_t>(pin) % 100000000u;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08u", static_cast<unsigned>(value));
    return buf;
}

Packet BuildWPSPINRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending)
{
    PacketWriter w(ownMac);
    w.AddTlvText(WL_WPS_PIN, WpsPinDigits(pending.WpsPinInput));
    return w.Finish(CMD_SET_CONFIG);
}

Packet BuildStationWPSPBCRequest(const MacAddress& ownMac)
{
    return BuildWPSPBCRequest(ownMac);
}

Packet BuildStationWPSPINRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending)
{
    PacketWriter w(ownMac);
    w.AddTlvText(WL_WPS_PIN, WireText(pending.WL_SSID));
    return w.Finish(CMD_SET_CONFIG);
}

Packet BuildSiteSurveyRequest(const MacAddress& ownMac)
{
    return EmptyRequest(ownMac, CMD_SITE_SURVEY);
}

Packet BuildStationGetConfigRequest(const MacAddress& ownMac)
{
    return EmptyRequest(ownMac, CMD_STATION_GET_CONFIG);
}

Packet BuildWlStationSettingRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending)
{
    PacketWriter w(ownMac);
    w.AddTlvText(WL_SSID, WireText(pending.WL_SSID));
    w.AddTlvU8(WL_STA_FLAG, 1);
    w.AddTlvU8(WL_MODE, static_cast<std::uint32_t>(pending.WL_MODE));
    AddSecurityItems(w, pending);
    return w.Finish(CMD_STATION_SET_CONFIG);
}

// ---------------------------------------------------------------------------------------------

bool ReplyMatchesPending(int pendingOp, std::uint8_t cmd)
{
    switch (pendingOp) {
    case OP_DISCOVER:
        return cmd == CMD_DISCOVER;
    case OP_LOGIN:
        return cmd == CMD_LOGIN;
    case OP_LOGOUT:
        return cmd == CMD_LOGOUT;
    case OP_GET_CONFIG:
        return cmd == CMD_GET_CONFIG;
    case OP_IP_SETTING:
    case OP_WL_SETTING:
    case OP_WPS_PBC:
    case OP_WPS_PIN:
    case OP_SET_MODE:
    case OP_WL_STATION_SETTING:
        return cmd == CMD_SET_CONFIG || cmd == CMD_STATION_SET_CONFIG;
    case OP_SITE_SURVEY:
        return cmd == CMD_SITE_SURVEY;
    case OP_STATION_GET_CONFIG:
        return cmd == CMD_STATION_GET_CONFIG;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------

bool DecodeDiscoverReply(const std::uint8_t* data, std::size_t size, tag_DEV_INFO& info)
{
    PacketHeader header;
    if (!ParseHeader(data, size, header)) {
        return false;
    }
    std::memcpy(info.DevMAC, header.SenderMAC.data(), 6);
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        if (item.Type == DEVICE_NAME) {
            CopyTextField(info.DevName, item.Text());
            CodecLog("  DevName=%s", info.DevName);
        }
    }
    return reader.ItemCount() > 0;
}

LoginReply DecodeLoginReply(const std::uint8_t* data, std::size_t size)
{
    LoginReply reply;
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        if (item.Type == TLVTYPE_OTHER_RESULT) {
            reply.Result = item.U8();
            CodecLog("  Result=%d", reply.Result);
        } else if (item.Type == TLVTYPE_OTHER_PORT) {
            reply.HasPort = true;
            reply.Port = item.U16();
            CodecLog("  Port=%d", static_cast<int>(reply.Port));
        }
    }
    return reply;
}

int DecodeResultReply(const std::uint8_t* data, std::size_t size)
{
    int result = 0;
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        if (item.Type == TLVTYPE_OTHER_RESULT) {
            result = item.U8();
            CodecLog("  Result=%d", result);
        }
    }
    return result;
}

void DecodeGetConfigReply(
    const std::uint8_t* data, std::size_t size, tag_IP_CONFIG& ip, tag_WL_CONFIG& wl, int& deviceMode)
{
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        switch (item.Type) {
        case DEVICE_MODE:
            deviceMode = item.U8();
            CodecLog("  DEVICE_MODE=0x%02X", static_cast<unsigned>(deviceMode));
            break;
        case IP_MODE:
            ip.IP_MODE = item.U8() != 0 ? 1 : 0;
            CodecLog("  IP_MODE=%d", static_cast<int>(ip.IP_MODE));
            break;
        case LAN_IP:
            ip.LAN_IP = item.U32();
            CodecLog("  LAN_IP=%X", static_cast<unsigned>(ip.LAN_IP));
            break;
        case LAN_NETMASK:
            ip.LAN_NETMASK = item.U32();
            CodecLog("  LAN_NETMASK=%X", static_cast<unsigned>(ip.LAN_NETMASK));
            break;
        case LAN_GATEWAY:
            ip.LAN_GATEWAY = item.U32();
            CodecLog("  LAN_GATEWAY=%X", static_cast<unsigned>(ip.LAN_GATEWAY));
            break;
        case WL_SSID:
            CopyTextField(wl.WL_SSID, item.Text());
            CodecLog("  WL_SSID=%s", wl.WL_SSID);
            break;
        case WL_CH_LIST: {
            std::memset(wl.WL_CH_LIST, 0, sizeof wl.WL_CH_LIST);
            std::memcpy(wl.WL_CH_LIST, item.Value, item.Len); // at most 255 of 257 bytes
            if (GetCodecLogSink() != nullptr) {
                std::string entries;
                char one[8];
                for (int n = 0; n < item.Len; ++n) {
                    std::snprintf(one, sizeof one, " %d", item.Value[n]);
                    entries += one;
                }
                CodecLog("  WL_CH_LIST=(%d) %s", static_cast<int>(item.Len), entries.c_str());
            }
            break;
        }
        case WL_EXT_CH:
            wl.WL_EXT_CH = item.U8();
            CodecLog("  WL_EXT_CH=%d", wl.WL_EXT_CH);
            break;
        case WL_STD_CH:
            wl.WL_STD_CH = item.U8();
            CodecLog("  WL_STD_CH=%d", wl.WL_STD_CH);
            break;
        case WL_SECURITY_MODE:
            wl.WL_SECURITY_MODE = item.U8();
            CodecLog("  WL_SECURITY_MODE=%d", wl.WL_SECURITY_MODE);
            break;
        case WL_AUTH_MODE:
            wl.WL_AUTH_MODE = item.U8();
            CodecLog("  WL_AUTH_MODE=%d", wl.WL_AUTH_MODE);
            break;
        case WL_WEPKEY_LEN:
            wl.WL_WEPKEY_LEN = item.U8();
            CodecLog("  WL_WEPKEY_LEN=%d", wl.WL_WEPKEY_LEN);
            break;
        case WL_WEPKEY_INDEX:
            CodecLog("  WL_WEPKEY_INDEX=%d", item.U8());
            break;
        case WL_WPA_MODE:
            wl.WL_WPA_MODE = item.U8();
            CodecLog("  WL_WPA_MODE=%d", wl.WL_WPA_MODE);
            break;
        case WL_WPA_CIPHER:
            wl.WL_WPA_CIPHER = item.U8();
            CodecLog("  WL_WPA_CIPHER=%d", wl.WL_WPA_CIPHER);
            break;
        case WL_WPS_PIN:
            wl.WL_WPS_PIN = item.U32();
            CodecLog("  WL_WPS_PIN=0x%08X", static_cast<unsigned>(wl.WL_WPS_PIN));
            break;
        default:
            CodecLog("  TLV=0x%X", static_cast<unsigned>(item.Type));
            break;
        }
    }
}

std::vector<DeviceEvent> DecodeEvent(const std::uint8_t* data, std::size_t size)
{
    std::vector<DeviceEvent> events;
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        if (item.Type == TLVTYPE_OTHER_CONNECTTIMEOUT) {
            CodecLog("  TLVTYPE_OTHER_CONNECTTIMEOUT");
            events.push_back({ item.Type, 0 });
        } else if (item.Type == TLVTYPE_OTHER_WPS_STATUS) {
            const auto status = static_cast<std::int32_t>(item.U32());
            CodecLog("  TLVTYPE_OTHER_WPS_STATUS %d", status);
            events.push_back({ item.Type, status });
        } else {
            CodecLog("  TLV=0x%X", static_cast<unsigned>(item.Type));
        }
    }
    return events;
}

tag_AP_ROFIILE DecodeSurveyEntry(const std::uint8_t* entry)
{
    tag_AP_ROFIILE ap;
    ap.EntryFlag = entry[0] != 0;
    CopyTextField(ap.SSID, FieldText(reinterpret_cast<const char*>(entry + 1), 32));
    std::memcpy(ap.BSSID, entry + 33, 6);
    ap.Signal = ThreeCharNumber(entry + 39);
    ap.Channel = ThreeCharNumber(entry + 42);
    ap.Encryption = entry[45];
    ap.Authentication = entry[46];
    ap.IconFlag = entry[47];
    ap.WPS = entry[48] != 0;
    return ap;
}

void DecodeSiteSurveyReply(const std::uint8_t* data, std::size_t size, std::vector<tag_AP_ROFIILE>& list)
{
    list.clear();
    const std::span<const std::uint8_t> payload = Payload(data, size);
    for (std::size_t o = 0; payload.size() - o >= SURVEY_ENTRY_SIZE; o += SURVEY_ENTRY_SIZE) {
        list.push_back(DecodeSurveyEntry(payload.data() + o));
    }
}

void DecodeStationGetConfigReply(const std::uint8_t* data, std::size_t size, char (&apClientPin)[12])
{
    TlvReader reader(Payload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        if (item.Type == WL_WPS_PIN) {
            CopyTextField(apClientPin, item.Text());
            CodecLog("  AP Client PIN Code = %s", apClientPin);
        } else {
            CodecLog("  TLV=0x%X", static_cast<unsigned>(item.Type));
        }
    }
}
