#include "protocol/codec/device_side.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool DecodeRequest(const std::uint8_t* data, std::size_t size, DeviceRequest& out)
{
    out = DeviceRequest {};
    PacketHeader header;
    if (!ParseHeader(data, size, header)) {
        return false;
    }
    out.Cmd = header.Cmd;
    out.SenderMAC = header.SenderMAC;
    TlvReader reader(PacketPayload(data, size));
    Tlv item;
    while (reader.Next(item)) {
        out.ItemTypes.push_back(item.Type);
        switch (item.Type) {
        case DEVICE_MAC:
            out.HasDeviceMAC = true;
            std::memcpy(out.DeviceMAC.data(), item.Value, std::min<std::size_t>(item.Len, 6));
            break;
        case TLVTYPE_OTHER_AUTH:
            out.HasAuth = true;
            out.Auth.assign(item.Text());
            break;
        case TLVTYPE_OTHER_GET_ALL:
            out.GetAll = true;
            break;
        case DEVICE_MODE:
            out.HasDeviceMode = true;
            out.DeviceMode = item.U8();
            break;
        case IP_MODE:
            out.HasIPMode = true;
            out.Ip.IP_MODE = item.U8();
            break;
        case LAN_IP:
            out.HasLanIP = true;
            out.Ip.LAN_IP = item.U32();
            break;
        case LAN_NETMASK:
            out.HasLanNetmask = true;
            out.Ip.LAN_NETMASK = item.U32();
            break;
        case LAN_GATEWAY:
            out.HasLanGateway = true;
            out.Ip.LAN_GATEWAY = item.U32();
            break;
        case WL_SSID:
            out.HasSSID = true;
            CopyTextField(out.Wl.WL_SSID, item.Text());
            break;
        case WL_STD_CH:
            out.HasStdCh = true;
            out.Wl.WL_STD_CH = item.U8();
            break;
        case WL_EXT_CH:
            out.HasExtCh = true;
            out.Wl.WL_EXT_CH = item.U8();
            break;
        case WL_MODE:
            out.HasWlMode = true;
            out.Wl.WL_MODE = item.U8();
            break;
        case WL_STA_FLAG:
            out.HasStaFlag = true;
            out.StaFlag = item.U8();
            break;
        case WL_SECURITY_MODE:
            out.HasSecurity = true;
            out.Wl.WL_SECURITY_MODE = item.U8();
            break;
        case WL_AUTH_MODE:
            out.HasAuthMode = true;
            out.Wl.WL_AUTH_MODE = item.U8();
            break;
        case WL_WEPKEY:
            out.HasWepKey = true;
            CopyTextField(out.Wl.WL_WEPKEY, item.Text());
            break;
        case WL_WEPKEY_INDEX:
            out.HasWepKeyIndex = true;
            out.WepKeyIndex = item.U8();
            break;
        case WL_WPA_MODE:
            out.HasWpaMode = true;
            out.Wl.WL_WPA_MODE = item.U8();
            break;
        case WL_WPA_CIPHER:
            out.HasWpaCipher = true;
            out.Wl.WL_WPA_CIPHER = item.U8();
            break;
        case WL_WPA_PSK:
            out.HasWpaPsk = true;
            CopyTextField(out.Wl.WL_WPA_PSK, item.Text());
            break;
        case WL_WPS_PBC:
            out.WpsPBC = true;
            break;
        case WL_WPS_PIN:
            out.HasWpsPin = true;
            out.WpsPin.assign(item.Text());
            break;
        default:
            break;
        }
    }
    out.Truncated = reader.Truncated();
    return true;
}

namespace {
constexpr std::size_t REPLY_CAPACITY = PACKET_HEADER_SIZE + 0xFFFF;

Packet ResultReply(const MacAddress& devMac, std::uint8_t cmd, int result)
{
    PacketWriter w(devMac);
    w.AddTlvU8(TLVTYPE_OTHER_RESULT, static_cast<std::uint32_t>(result));
    return w.Finish(cmd);
}
} // namespace

Packet BuildDiscoverReply(const MacAddress& devMac, std::string_view devName)
{
    PacketWriter w(devMac);
    w.AddTlvText(DEVICE_NAME, devName.substr(0, Utf8CutLength(devName, 255)));
    return w.Finish(CMD_DISCOVER);
}

Packet BuildLoginReply(const MacAddress& devMac, int result, std::optional<std::uint16_t> port)
{
    PacketWriter w(devMac);
    w.AddTlvU8(TLVTYPE_OTHER_RESULT, static_cast<std::uint32_t>(result));
    if (port) {
        w.AddTlvU16(TLVTYPE_OTHER_PORT, *port);
    }
    return w.Finish(CMD_LOGIN);
}

Packet BuildLogoutReply(const MacAddress& devMac, int result)
{
    return ResultReply(devMac, CMD_LOGOUT, result);
}

Packet BuildSetResultReply(const MacAddress& devMac, std::uint8_t cmd, int result)
{
    return ResultReply(devMac, cmd, result);
}

Packet BuildGetConfigReply(
    const MacAddress& devMac, const tag_IP_CONFIG& ip, const tag_WL_CONFIG& wl, int deviceMode)
{
    PacketWriter w(devMac);
    w.AddTlvU8(DEVICE_MODE, static_cast<std::uint32_t>(deviceMode));
    w.AddTlvU8(IP_MODE, ip.IP_MODE != 0 ? 1 : 0);
    w.AddTlvU32(LAN_IP, ip.LAN_IP);
    w.AddTlvU32(LAN_NETMASK, ip.LAN_NETMASK);
    w.AddTlvU32(LAN_GATEWAY, ip.LAN_GATEWAY);
    const std::string_view ssid = FieldText(wl.WL_SSID);
    w.AddTlvText(WL_SSID, ssid.substr(0, Utf8CutLength(ssid, 32)));
    const auto* chEnd = static_cast<const std::uint8_t*>(std::memchr(wl.WL_CH_LIST, 0, 255));
    const std::size_t chCount = chEnd ? static_cast<std::size_t>(chEnd - wl.WL_CH_LIST) : 255;
    w.AddTlv(WL_CH_LIST, wl.WL_CH_LIST, chCount);
    w.AddTlvU8(WL_STD_CH, wl.WL_STD_CH);
    w.AddTlvU8(WL_EXT_CH, wl.WL_EXT_CH);
    w.AddTlvU8(WL_SECURITY_MODE, static_cast<std::uint32_t>(wl.WL_SECURITY_MODE));
    w.AddTlvU8(WL_AUTH_MODE, static_cast<std::uint32_t>(wl.WL_AUTH_MODE));
    w.AddTlvU8(WL_WEPKEY_LEN, static_cast<std::uint32_t>(wl.WL_WEPKEY_LEN));
    w.AddTlvU8(WL_WEPKEY_INDEX, 0);
    w.AddTlvU8(WL_WPA_MODE, static_cast<std::uint32_t>(wl.WL_WPA_MODE));
    w.AddTlvU8(WL_WPA_CIPHER, static_cast<std::uint32_t>(wl.WL_WPA_CIPHER));
    w.AddTlvU32(WL_WPS_PIN, wl.WL_WPS_PIN);
    return w.Finish(CMD_GET_CONFIG);
}

Packet BuildGetModeReply(const MacAddress& devMac, int deviceMode)
{
    PacketWriter w(devMac);
    w.AddTlvU8(DEVICE_MODE, static_cast<std::uint32_t>(deviceMode));
    return w.Finish(CMD_GET_CONFIG);
}

void EncodeSurveyEntry(const tag_AP_ROFIILE& ap, std::uint8_t* entry)
{
    std::memset(entry, 0, SURVEY_ENTRY_SIZE);
    entry[0] = ap.EntryFlag ? 1 : 0;
    const std::string_view ssid = FieldText(ap.SSID);
    std::memcpy(entry + 1, ssid.data(), Utf8CutLength(ssid, 32));
    std::memcpy(entry + 33, ap.BSSID, 6);
    char num[16];
    std::snprintf(num, sizeof num, "%d", static_cast<int>(ap.Signal));
    std::memcpy(entry + 39, num, std::min<std::size_t>(std::strlen(num), 3));
    std::snprintf(num, sizeof num, "%d", static_cast<int>(ap.Channel));
    std::memcpy(entry + 42, num, std::min<std::size_t>(std::strlen(num), 3));
    entry[45] = ap.Encryption;
    entry[46] = ap.Authentication;
    entry[47] = ap.IconFlag;
    entry[48] = ap.WPS ? 1 : 0;
}

Packet BuildSiteSurveyReply(const MacAddress& devMac, const std::vector<tag_AP_ROFIILE>& list)
{
    PacketWriter w(devMac, REPLY_CAPACITY);
    std::uint8_t entry[SURVEY_ENTRY_SIZE];
    for (const tag_AP_ROFIILE& ap : list) {
        EncodeSurveyEntry(ap, entry);
        if (!w.AddRaw(entry, sizeof entry)) {
            break; // the payload length field holds no more
        }
    }
    return w.Finish(CMD_SITE_SURVEY);
}

Packet BuildStationGetConfigReply(const MacAddress& devMac, std::string_view pin)
{
    PacketWriter w(devMac);
    w.AddTlvText(WL_WPS_PIN, pin.substr(0, Utf8CutLength(pin, 255)));
    return w.Finish(CMD_STATION_GET_CONFIG);
}

Packet BuildConnectTimeoutEvent(const MacAddress& devMac)
{
    PacketWriter w(devMac);
    w.AddTlvEmpty(TLVTYPE_OTHER_CONNECTTIMEOUT);
    return w.Finish(CMD_EVENT);
}

Packet BuildWpsStatusEvent(const MacAddress& devMac, std::int32_t status)
{
    PacketWriter w(devMac);
    w.AddTlvU32(TLVTYPE_OTHER_WPS_STATUS, static_cast<std::uint32_t>(status));
    return w.Finish(CMD_EVENT);
}
