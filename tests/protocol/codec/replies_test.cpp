// Reply and event decoders, reply matching, and round trips between device and computer side.
#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"

#include "codec_test_util.h"

#include <algorithm>
#include <cstring>

#include <cstring>

namespace {

class ReplyTest : public CodecLogTest
{
};

using LogLines = std::vector<std::string>;

// ---------------------------------------------------------------------------------------------
// Discovery

TEST_F(ReplyTest, DiscoveryAnswerFillsMacAndName)
{
    const Bytes p = Datagram(kDevMac, CMD_DISCOVER, Cat({ H("30 01 01  01 06"), T("AP-300") }));
    tag_DEV_INFO info;
    info.LocalIP = 0x7F000001;
    EXPECT_TRUE(DecodeDiscoverReply(p.data(), p.size(), info));
    EXPECT_EQ(0, std::memcmp(info.DevMAC, kDevMac.data(), 6));
    EXPECT_STREQ(info.DevName, "AP-300");
    EXPECT_EQ(info.LocalIP, 0x7F000001u); // left to the caller
    EXPECT_EQ(TakeLog(), (LogLines { "  DevName=AP-300" })); // other items are silent
}

struct DiscoveryCase
{
    const char* name;
    Bytes payload;
    bool listed;
    std::string devName;
    LogLines log;
};

class DiscoveryEdgeTest : public CodecLogTest, public ::testing::WithParamInterface<DiscoveryCase>
{
};

TEST_P(DiscoveryEdgeTest, ListsOnlyWithAWellFormedItem)
{
    const DiscoveryCase& c = GetParam();
    const Bytes p = Datagram(kDevMac, CMD_DISCOVER, c.payload);
    tag_DEV_INFO info;
    EXPECT_EQ(DecodeDiscoverReply(p.data(), p.size(), info), c.listed);
    EXPECT_EQ(std::string(info.DevName), c.devName);
    EXPECT_EQ(info.DevName[33], '\0');
    EXPECT_EQ(TakeLog(), c.log);
}

INSTANTIATE_TEST_SUITE_P(Edges, DiscoveryEdgeTest,
    ::testing::Values(DiscoveryCase { "empty_payload", {}, false, "", {} },
        DiscoveryCase {
            "only_truncated_item", H("01 09 41 42"), false, "", { "  not enough bytes in buffer" } },
        DiscoveryCase { "lone_byte", H("01"), false, "", {} },
        DiscoveryCase { "other_item_only", H("30 01 01"), true, "", {} },
        DiscoveryCase { "name_cut_to_33", Cat({ H("01 28"), Bytes(40, 'N') }), true, std::string(33, 'N'),
            { "  DevName=" + std::string(33, 'N') } },
        DiscoveryCase { "cut_never_splits_a_character", Cat({ H("01 22"), Bytes(32, 'N'), T("\xC3\xA9") }),
            true, std::string(32, 'N'), { "  DevName=" + std::string(32, 'N') } },
        DiscoveryCase { "name_then_truncated_item", Cat({ H("01 02"), T("AP"), H("50 10 41") }), true, "AP",
            { "  DevName=AP", "  not enough bytes in buffer" } }),
    [](const ::testing::TestParamInfo<DiscoveryCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Login, logout, set results

struct LoginCase
{
    const char* name;
    Bytes payload;
    int result;
    bool hasPort;
    int port;
    LogLines log;
};

class LoginReplyTest : public CodecLogTest, public ::testing::WithParamInterface<LoginCase>
{
};

TEST_P(LoginReplyTest, ReadsResultAndPort)
{
    const LoginCase& c = GetParam();
    const Bytes p = Datagram(kDevMac, CMD_LOGIN, c.payload);
    const LoginReply r = DecodeLoginReply(p.data(), p.size());
    EXPECT_EQ(r.Result, c.result);
    EXPECT_EQ(r.HasPort, c.hasPort);
    EXPECT_EQ(r.Port, c.port);
    EXPECT_EQ(TakeLog(), c.log);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginReplyTest,
    ::testing::Values(LoginCase { "accepted_with_port", H("91 01 01 92 02 17 70"), 1, true, 6000,
                          { "  Result=1", "  Port=6000" } },
        LoginCase { "accepted_without_port", H("91 01 01"), 1, false, 0, { "  Result=1" } },
        LoginCase { "refused_port_still_read", H("92 02 17 70 91 01 00"), 0, true, 6000,
            { "  Port=6000", "  Result=0" } },
        LoginCase { "result_absent", H("30 01 01"), 0, false, 0, {} },
        LoginCase { "empty_result_value", H("91 00"), 0, false, 0, { "  Result=0" } },
        LoginCase {
            "short_port_value", H("91 01 05 92 01 17"), 5, true, 0x1700, { "  Result=5", "  Port=5888" } },
        LoginCase { "truncated_port", H("91 01 01 92 02 17"), 1, false, 0,
            { "  Result=1", "  not enough bytes in buffer" } }),
    [](const ::testing::TestParamInfo<LoginCase>& info) { return std::string(info.param.name); });

TEST_F(ReplyTest, ResultRepliesReadTheResultByteOrZero)
{
    const Bytes ok = Datagram(kDevMac, CMD_SET_CONFIG, H("91 01 01"));
    EXPECT_EQ(DecodeResultReply(ok.data(), ok.size()), 1);
    const Bytes other = Datagram(kDevMac, CMD_STATION_SET_CONFIG, H("91 01 FE"));
    EXPECT_EQ(DecodeResultReply(other.data(), other.size()), 254);
    const Bytes none = Datagram(kDevMac, CMD_LOGOUT, {});
    EXPECT_EQ(DecodeResultReply(none.data(), none.size()), 0);
    EXPECT_EQ(TakeLog(), (LogLines { "  Result=1", "  Result=254" }));
}

// ---------------------------------------------------------------------------------------------
// Get-config

TEST_F(ReplyTest, GetConfigStoresEveryItemWithItsLogLine)
{
    const Bytes payload
        = Cat({ H("00 01 02  30 01 07  31 04 C0 A8 01 FE  32 04 FF FF FF 00  33 04 C0 A8 01 01"), H("50 04"),
            T("Home"), H("51 03 01 06 0B  52 01 01  53 01 06  60 01 02  61 01 01  62 01 01  67 01 03"),
            H("68 01 01  69 01 02  6C 04 01 2D 68 7F  54 01 09  01 02 41 42") });
    const Bytes p = Datagram(kDevMac, CMD_GET_CONFIG, payload);
    tag_IP_CONFIG ip;
    ip.DNS1 = 0x01010101;
    tag_WL_CONFIG wl;
    wl.WL_MODE = 4;
    wl.WepKeyId = 1;
    int mode = 0;
    DecodeGetConfigReply(p.data(), p.size(), ip, wl, mode);

    EXPECT_EQ(mode, DEVICE_WBRIDGE);
    EXPECT_EQ(ip.IP_MODE, 1u); // any non-zero byte means automatic
    EXPECT_EQ(ip.LAN_IP, 0xC0A801FEu);
    EXPECT_EQ(ip.LAN_NETMASK, 0xFFFFFF00u);
    EXPECT_EQ(ip.LAN_GATEWAY, 0xC0A80101u);
    EXPECT_EQ(ip.DNS1, 0x01010101u);
    EXPECT_STREQ(wl.WL_SSID, "Home");
    EXPECT_EQ(wl.WL_CH_LIST[0], 1);
    EXPECT_EQ(wl.WL_CH_LIST[2], 11);
    EXPECT_EQ(wl.WL_CH_LIST[3], 0);
    EXPECT_EQ(wl.WL_EXT_CH, 1);
    EXPECT_EQ(wl.WL_STD_CH, 6);
    EXPECT_EQ(wl.WL_SECURITY_MODE, 2);
    EXPECT_EQ(wl.WL_AUTH_MODE, 1);
    EXPECT_EQ(wl.WL_WEPKEY_LEN, 1);
    EXPECT_EQ(wl.WepKeyId, 1); // the key index is only logged
    EXPECT_EQ(wl.WL_WPA_MODE, 1);
    EXPECT_EQ(wl.WL_WPA_CIPHER, 2);
    EXPECT_EQ(wl.WL_WPS_PIN, 0x012D687Fu);
    EXPECT_EQ(wl.WL_MODE, 4); // not read from this reply
    EXPECT_EQ(TakeLog(),
        (LogLines { "  DEVICE_MODE=0x02", "  IP_MODE=1", "  LAN_IP=C0A801FE", "  LAN_NETMASK=FFFFFF00",
            "  LAN_GATEWAY=C0A80101", "  WL_SSID=Home", "  WL_CH_LIST=(3)  1 6 11", "  WL_EXT_CH=1",
            "  WL_STD_CH=6", "  WL_SECURITY_MODE=2", "  WL_AUTH_MODE=1", "  WL_WEPKEY_LEN=1",
            "  WL_WEPKEY_INDEX=3", "  WL_WPA_MODE=1", "  WL_WPA_CIPHER=2", "  WL_WPS_PIN=0x012D687F",
            "  TLV=0x54", "  TLV=0x1" }));
}

TEST_F(ReplyTest, GetModeReplyTouchesOnlyTheMode)
{
    const Bytes p = Datagram(kDevMac, CMD_GET_CONFIG, H("00 01 01"));
    tag_IP_CONFIG ip;
    ip.LAN_IP = 42;
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "keep");
    int mode = DEVICE_WBRIDGE;
    DecodeGetConfigReply(p.data(), p.size(), ip, wl, mode);
    EXPECT_EQ(mode, DEVICE_AP);
    EXPECT_EQ(ip.LAN_IP, 42u);
    EXPECT_STREQ(wl.WL_SSID, "keep");
}

TEST_F(ReplyTest, GetConfigMalformedItemsStayInsideTheirFields)
{
    const Bytes payload = Cat({ H("31 02 0A 01"), H("50 28"), Bytes(40, 'S'), H("51 FF"), Bytes(255, 6),
        H("53 00"), H("6C 01 AB"), H("50 03 61") });
    const Bytes p = Datagram(kDevMac, CMD_GET_CONFIG, payload);
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    wl.WL_STD_CH = 9;
    int mode = 0;
    DecodeGetConfigReply(p.data(), p.size(), ip, wl, mode);
    EXPECT_EQ(ip.LAN_IP, 0x0A010000u); // missing bytes read as 0
    EXPECT_EQ(std::string(wl.WL_SSID), std::string(32, 'S'));
    EXPECT_EQ(wl.WL_CH_LIST[254], 6);
    EXPECT_EQ(wl.WL_CH_LIST[255], 0);
    EXPECT_EQ(wl.WL_CH_LIST[256], 0);
    EXPECT_EQ(wl.WL_STD_CH, 0);
    EXPECT_EQ(wl.WL_WPS_PIN, 0xAB000000u);
    const LogLines log = TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "  not enough bytes in buffer");
}

TEST_F(ReplyTest, ShorterChannelListClearsTheLongerOne)
{
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    int mode = 0;
    const Bytes many = Datagram(kDevMac, CMD_GET_CONFIG, H("51 04 01 02 03 04"));
    DecodeGetConfigReply(many.data(), many.size(), ip, wl, mode);
    const Bytes few = Datagram(kDevMac, CMD_GET_CONFIG, H("51 01 0B"));
    DecodeGetConfigReply(few.data(), few.size(), ip, wl, mode);
    EXPECT_EQ(wl.WL_CH_LIST[0], 11);
    EXPECT_EQ(wl.WL_CH_LIST[1], 0);
    EXPECT_EQ(wl.WL_CH_LIST[2], 0);
}

// ---------------------------------------------------------------------------------------------
// Events

TEST_F(ReplyTest, EventsInItemOrder)
{
    const Bytes p = Datagram(
        kDevMac, CMD_EVENT, H("96 04 00 00 00 03  95 00  30 01 01  96 04 FF FF FF FF  95 02 00 00"));
    const std::vector<DeviceEvent> events = DecodeEvent(p.data(), p.size());
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Type, TLVTYPE_OTHER_WPS_STATUS);
    EXPECT_EQ(events[0].WpsStatus, 3);
    EXPECT_EQ(events[1].Type, TLVTYPE_OTHER_CONNECTTIMEOUT);
    EXPECT_EQ(events[2].WpsStatus, -1);
    EXPECT_EQ(events[3].Type, TLVTYPE_OTHER_CONNECTTIMEOUT); // any length
    EXPECT_EQ(TakeLog(),
        (LogLines { "  TLVTYPE_OTHER_WPS_STATUS 3", "  TLVTYPE_OTHER_CONNECTTIMEOUT", "  TLV=0x30",
            "  TLVTYPE_OTHER_WPS_STATUS -1", "  TLVTYPE_OTHER_CONNECTTIMEOUT" }));
}

// ---------------------------------------------------------------------------------------------
// Site survey

Bytes SurveyEntry(std::uint8_t flag, std::string_view ssid, const char* signal, const char* channel,
    std::uint8_t enc, std::uint8_t auth, std::uint8_t icon, std::uint8_t wps)
{
    Bytes e(49, 0);
    e[0] = flag;
    std::memcpy(e.data() + 1, ssid.data(), std::min<std::size_t>(ssid.size(), 32));
    const std::uint8_t bssid[6] = { 0xA0, 0xB1, 0xC2, 0xD3, 0xE4, 0xF5 };
    std::memcpy(e.data() + 33, bssid, 6);
    std::memcpy(e.data() + 39, signal, std::min<std::size_t>(std::strlen(signal), 3));
    std::memcpy(e.data() + 42, channel, std::min<std::size_t>(std::strlen(channel), 3));
    e[45] = enc;
    e[46] = auth;
    e[47] = icon;
    e[48] = wps;
    return e;
}

TEST_F(ReplyTest, SurveyOfHundredBytesGivesTwoEntries)
{
    const Bytes payload = Cat({ SurveyEntry(1, "Alpha", "075", "6", 4, 4, 1, 1),
        SurveyEntry(0, std::string(32, 'B'), "9", "abc", 0, 0, 0, 0), H("FF FF") });
    ASSERT_EQ(payload.size(), 100u);
    const Bytes p = Datagram(kDevMac, CMD_SITE_SURVEY, payload);
    std::vector<tag_AP_ROFIILE> list(3); // emptied first
    DecodeSiteSurveyReply(p.data(), p.size(), list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].EntryFlag);
    EXPECT_STREQ(list[0].SSID, "Alpha");
    EXPECT_EQ(list[0].BSSID[0], 0xA0);
    EXPECT_EQ(list[0].BSSID[5], 0xF5);
    EXPECT_EQ(list[0].Signal, 75);
    EXPECT_EQ(list[0].Channel, 6);
    EXPECT_EQ(list[0].Encryption, 4);
    EXPECT_EQ(list[0].Authentication, 4);
    EXPECT_EQ(list[0].IconFlag, 1);
    EXPECT_TRUE(list[0].WPS);
    EXPECT_FALSE(list[1].EntryFlag);
    EXPECT_EQ(std::string(list[1].SSID), std::string(32, 'B'));
    EXPECT_EQ(list[1].Signal, 9);
    EXPECT_EQ(list[1].Channel, 0); // not a number
    EXPECT_FALSE(list[1].WPS);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ReplyTest, SurveyNumberFields)
{
    struct Case
    {
        const char* text;
        int value;
    } cases[] = { { "100", 100 }, { "42", 42 }, { "", 0 }, { "x1", 0 }, { "7a9", 7 }, { " 11", 11 } };
    for (const Case& c : cases) {
        const Bytes e = SurveyEntry(1, "A", c.text, c.text, 0, 0, 0, 0);
        const tag_AP_ROFIILE ap = DecodeSurveyEntry(e.data());
        EXPECT_EQ(ap.Signal, c.value) << c.text;
        EXPECT_EQ(ap.Channel, c.value) << c.text;
    }
}

TEST_F(ReplyTest, ShortOrEmptySurveyGivesAnEmptyList)
{
    std::vector<tag_AP_ROFIILE> list(2);
    const Bytes p = Datagram(kDevMac, CMD_SITE_SURVEY, Bytes(48, 1));
    DecodeSiteSurveyReply(p.data(), p.size(), list);
    EXPECT_TRUE(list.empty());
}

// ---------------------------------------------------------------------------------------------
// Station get-config

TEST_F(ReplyTest, StationPinText)
{
    char pin[12];
    std::memset(pin, 'Z', sizeof pin);
    const Bytes p = Datagram(kDevMac, CMD_STATION_GET_CONFIG, Cat({ H("30 01 00  6C 08"), T("12345670") }));
    DecodeStationGetConfigReply(p.data(), p.size(), pin);
    EXPECT_STREQ(pin, "12345670");
    EXPECT_EQ(TakeLog(), (LogLines { "  TLV=0x30", "  AP Client PIN Code = 12345670" }));

    const Bytes longer
        = Datagram(kDevMac, CMD_STATION_GET_CONFIG, Cat({ H("6C 14"), T("12345678901234567890") }));
    DecodeStationGetConfigReply(longer.data(), longer.size(), pin);
    EXPECT_EQ(std::string(pin), "12345678901");
    EXPECT_EQ(pin[11], '\0');

    const Bytes absent = Datagram(kDevMac, CMD_STATION_GET_CONFIG, {});
    DecodeStationGetConfigReply(absent.data(), absent.size(), pin);
    EXPECT_EQ(std::string(pin), "12345678901"); // unchanged
}

// ---------------------------------------------------------------------------------------------
// Matching

TEST(ReplyMatching, EachOperationAcceptsItsCommands)
{
    const std::vector<std::pair<int, std::vector<int>>> table = {
        { OP_NONE, {} },
        { OP_DISCOVER, { 0 } },
        { OP_LOGIN, { 1 } },
        { OP_LOGOUT, { 2 } },
        { OP_IP_SETTING, { 4, 9 } },
        { OP_WL_SETTING, { 4, 9 } },
        { OP_GET_CONFIG, { 3 } },
        { OP_WPS_PBC, { 4, 9 } },
        { OP_WPS_PIN, { 4, 9 } },
        { OP_SITE_SURVEY, { 7 } },
        { OP_SET_MODE, { 4, 9 } },
        { OP_WL_STATION_SETTING, { 4, 9 } },
        { OP_STATION_GET_CONFIG, { 8 } },
        { 13, {} },
    };
    for (const auto& [op, cmds] : table) {
        for (int cmd = 0; cmd < 256; ++cmd) {
            const bool expected = std::find(cmds.begin(), cmds.end(), cmd) != cmds.end();
            EXPECT_EQ(ReplyMatchesPending(op, static_cast<std::uint8_t>(cmd)), expected) << op << " " << cmd;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Round trips

TEST_F(ReplyTest, DeviceReadsEveryRequest)
{
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "Caf\xC3\xA9");
    wl.WL_STD_CH = 6;
    wl.WL_EXT_CH = 1;
    wl.WL_MODE = 9;
    wl.WL_SECURITY_MODE = 2;
    wl.WL_WPA_MODE = 1;
    wl.WL_WPA_CIPHER = 2;
    std::strcpy(wl.WL_WPA_PSK, "secret-psk");
    wl.WpsPinInput = 42;
    const std::uint8_t devMac[6] = { 0, 0x11, 0x22, 0x33, 0x44, 0x55 };

    DeviceRequest r;
    Packet p = BuildLoginRequest(kOwnMac, devMac);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_EQ(r.Cmd, CMD_LOGIN);
    EXPECT_EQ(r.SenderMAC, kOwnMac);
    EXPECT_EQ(r.DeviceMAC, kDevMac);
    EXPECT_EQ(r.Auth, AUTH_PHRASE);

    p = BuildWlSettingRequest(kOwnMac, wl);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_EQ(r.ItemTypes,
        (std::vector<std::uint8_t> { WL_SSID, WL_STD_CH, WL_EXT_CH, WL_MODE, WL_SECURITY_MODE, WL_WPA_MODE,
            WL_WPA_CIPHER, WL_WPA_PSK }));
    EXPECT_STREQ(r.Wl.WL_SSID, "Caf\xC3\xA9");
    EXPECT_STREQ(r.Wl.WL_WPA_PSK, "secret-psk");
    EXPECT_EQ(r.Wl.WL_WPA_CIPHER, 2);

    p = BuildWlStationSettingRequest(kOwnMac, wl);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_EQ(r.Cmd, CMD_STATION_SET_CONFIG);
    EXPECT_TRUE(r.HasStaFlag);
    EXPECT_FALSE(r.HasStdCh);

    tag_IP_CONFIG ip;
    ip.LAN_IP = 0x0A000002;
    ip.LAN_NETMASK = 0xFF000000;
    ip.LAN_GATEWAY = 0x0A000001;
    p = BuildIPSettingRequest(kOwnMac, ip);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_TRUE(r.HasIPMode && r.HasLanIP && r.HasLanNetmask && r.HasLanGateway);
    EXPECT_EQ(r.Ip.LAN_GATEWAY, 0x0A000001u);

    p = BuildGetModeRequest(kOwnMac);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_TRUE(r.HasDeviceMode);
    EXPECT_FALSE(r.GetAll);
    p = BuildGetConfigRequest(kOwnMac);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_TRUE(r.GetAll);

    p = BuildWPSPINRequest(kOwnMac, wl);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_EQ(r.WpsPin, "00000042");
    p = BuildStationWPSPINRequest(kOwnMac, wl);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_EQ(r.WpsPin, "Caf\xC3\xA9");
    p = BuildWPSPBCRequest(kOwnMac);
    ASSERT_TRUE(DecodeRequest(p.data(), p.size(), r));
    EXPECT_TRUE(r.WpsPBC);
    EXPECT_FALSE(r.Truncated);

    const Bytes shortOne = H("53 57 50");
    EXPECT_FALSE(DecodeRequest(shortOne.data(), shortOne.size(), r));
}

TEST_F(ReplyTest, ComputerReadsEveryDeviceReplyThroughTheCipher)
{
    const MacAddress sockets[] = { { 0x52, 0x54, 0, 0, 0, 1 } };
    ReceiveContext ctx;
    ctx.SocketMACs = sockets;
    ctx.OwnMAC = kOwnMac;
    const std::string password = "admin";
    auto receive = [&](Packet p, bool encipher) {
        if (encipher) {
            CipherPayload(p, password);
        }
        EXPECT_EQ(AcceptReceivedPacket(p.data(), p.size(), ctx, password), RecvCheck::Ok);
        return p;
    };

    // Discovery answers travel plain even with a password set.
    Packet p = receive(BuildDiscoverReply(kDevMac, "Lobby AP"), false);
    tag_DEV_INFO info;
    EXPECT_TRUE(DecodeDiscoverReply(p.data(), p.size(), info));
    EXPECT_STREQ(info.DevName, "Lobby AP");

    p = receive(BuildLoginReply(kDevMac, 1, 6000), true);
    const LoginReply login = DecodeLoginReply(p.data(), p.size());
    EXPECT_EQ(login.Result, 1);
    EXPECT_EQ(login.Port, 6000);
    p = receive(BuildLoginReply(kDevMac, 0, std::nullopt), true);
    EXPECT_FALSE(DecodeLoginReply(p.data(), p.size()).HasPort);

    p = receive(BuildLogoutReply(kDevMac, 1), true);
    EXPECT_EQ(DecodeResultReply(p.data(), p.size()), 1);
    p = receive(BuildSetResultReply(kDevMac, CMD_STATION_SET_CONFIG, 1), true);
    EXPECT_EQ(p[HDR_CMD], CMD_STATION_SET_CONFIG);
    EXPECT_EQ(DecodeResultReply(p.data(), p.size()), 1);

    tag_IP_CONFIG ip;
    ip.IP_MODE = 0;
    ip.LAN_IP = 0xC0A80102;
    ip.LAN_NETMASK = 0xFFFFFF00;
    ip.LAN_GATEWAY = 0xC0A80101;
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "wireless");
    const std::uint8_t channels[] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 };
    std::memcpy(wl.WL_CH_LIST, channels, sizeof channels);
    wl.WL_STD_CH = 0;
    wl.WL_SECURITY_MODE = 1;
    wl.WL_AUTH_MODE = 2;
    wl.WL_WEPKEY_LEN = 1;
    wl.WL_WPA_MODE = 2;
    wl.WL_WPA_CIPHER = 2;
    wl.WL_WPS_PIN = 12345670;
    p = receive(BuildGetConfigReply(kDevMac, ip, wl, DEVICE_AP), true);
    tag_IP_CONFIG ipRead;
    tag_WL_CONFIG wlRead;
    int mode = 0;
    DecodeGetConfigReply(p.data(), p.size(), ipRead, wlRead, mode);
    EXPECT_EQ(mode, DEVICE_AP);
    EXPECT_EQ(0, std::memcmp(&ipRead, &ip, sizeof ip));
    EXPECT_STREQ(wlRead.WL_SSID, "wireless");
    EXPECT_EQ(0, std::memcmp(wlRead.WL_CH_LIST, wl.WL_CH_LIST, sizeof wl.WL_CH_LIST));
    EXPECT_EQ(wlRead.WL_SECURITY_MODE, 1);
    EXPECT_EQ(wlRead.WL_AUTH_MODE, 2);
    EXPECT_EQ(wlRead.WL_WEPKEY_LEN, 1);
    EXPECT_EQ(wlRead.WL_WPS_PIN, 12345670u);

    p = receive(BuildGetModeReply(kDevMac, DEVICE_WBRIDGE), true);
    DecodeGetConfigReply(p.data(), p.size(), ipRead, wlRead, mode);
    EXPECT_EQ(mode, DEVICE_WBRIDGE);

    std::vector<tag_AP_ROFIILE> aps(3);
    CopyTextField(aps[0].SSID, "First");
    aps[0].EntryFlag = true;
    aps[0].Signal = 100;
    aps[0].Channel = 11;
    aps[0].Authentication = 3;
    aps[0].Encryption = 3;
    aps[0].WPS = true;
    aps[1].BSSID[2] = 0x77;
    aps[1].IconFlag = 2;
    std::memset(aps[2].SSID, 'L', 32);
    p = receive(BuildSiteSurveyReply(kDevMac, aps), true);
    EXPECT_EQ(p.size(), 18u + 3 * 49);
    std::vector<tag_AP_ROFIILE> read;
    DecodeSiteSurveyReply(p.data(), p.size(), read);
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(0, std::memcmp(&read[n].SSID, &aps[n].SSID, sizeof aps[n].SSID)) << n;
        EXPECT_EQ(read[n].EntryFlag, aps[n].EntryFlag);
        EXPECT_EQ(read[n].Signal, aps[n].Signal);
        EXPECT_EQ(read[n].Channel, aps[n].Channel);
        EXPECT_EQ(0, std::memcmp(read[n].BSSID, aps[n].BSSID, 6));
        EXPECT_EQ(read[n].Encryption, aps[n].Encryption);
        EXPECT_EQ(read[n].Authentication, aps[n].Authentication);
        EXPECT_EQ(read[n].IconFlag, aps[n].IconFlag);
        EXPECT_EQ(read[n].WPS, aps[n].WPS);
    }

    p = receive(BuildStationGetConfigReply(kDevMac, "87654321"), true);
    char pin[12] = {};
    DecodeStationGetConfigReply(p.data(), p.size(), pin);
    EXPECT_STREQ(pin, "87654321");

    p = receive(BuildWpsStatusEvent(kDevMac, 7), true);
    std::vector<DeviceEvent> events = DecodeEvent(p.data(), p.size());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].WpsStatus, 7);
    p = receive(BuildConnectTimeoutEvent(kDevMac), true);
    events = DecodeEvent(p.data(), p.size());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Type, TLVTYPE_OTHER_CONNECTTIMEOUT);
}

TEST_F(ReplyTest, SurveyReplyNeverOutgrowsTheLengthField)
{
    const std::vector<tag_AP_ROFIILE> many(2000);
    const Packet p = BuildSiteSurveyReply(kDevMac, many);
    EXPECT_LE(p.size(), 18u + 0xFFFF);
    EXPECT_EQ((p.size() - 18) % 49, 0u);
    PacketHeader h;
    ASSERT_TRUE(ParseHeader(p.data(), p.size(), h));
    EXPECT_EQ(h.PayloadLen + 18u, p.size());
}

} // namespace
