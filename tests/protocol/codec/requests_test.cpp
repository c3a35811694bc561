// Every request, byte for byte, from the pending configuration.
#include "protocol/codec/messages.h"

#include "codec_test_util.h"

#include <cstring>
#include <functional>

namespace {

const std::uint8_t kSelectedDevMac[6] = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55 };

tag_IP_CONFIG StaticIp()
{
    tag_IP_CONFIG ip;
    ip.IP_MODE = 0;
    ip.LAN_IP = 0xC0A80114; // 192.168.1.20
    ip.LAN_NETMASK = 0xFFFFFF00;
    ip.LAN_GATEWAY = 0xC0A80101;
    ip.DNS1 = 0x08080808; // never sent
    return ip;
}

tag_IP_CONFIG AutoIp(std::uint32_t mode)
{
    tag_IP_CONFIG ip = StaticIp();
    ip.IP_MODE = mode;
    return ip;
}

tag_WL_CONFIG Wl(const char* ssid, std::uint8_t stdCh, std::uint8_t extCh, int mode, int security)
{
    tag_WL_CONFIG wl;
    CopyTextField(wl.WL_SSID, ssid);
    wl.WL_STD_CH = stdCh;
    wl.WL_EXT_CH = extCh;
    wl.WL_MODE = mode;
    wl.WL_SECURITY_MODE = security;
    wl.WL_AUTH_MODE = 2;
    wl.WL_WEPKEY_LEN = 1;
    wl.WepKeyId = 3; // never sent: the index always goes as 0
    std::strcpy(wl.WL_WEPKEY, "12345");
    wl.WL_WPA_MODE = 1;
    wl.WL_WPA_CIPHER = 2;
    std::strcpy(wl.WL_WPA_PSK, "passphrase1");
    wl.WL_WPS_PIN = 0x12345678; // never sent
    wl.WpsPinInput = 1234;
    return wl;
}

tag_WL_CONFIG FullSsid()
{
    // A field filled to the brim without a terminator: 31 letters and a two-byte character.
    tag_WL_CONFIG wl = Wl("", 0, 0, 9, 0);
    std::memset(wl.WL_SSID, 'a', 31);
    wl.WL_SSID[31] = '\xC3';
    wl.WL_SSID[32] = '\xA9';
    return wl;
}

struct RequestCase
{
    const char* name;
    std::function<Packet()> build;
    std::uint8_t cmd;
    Bytes payload;
    std::size_t size;
};

std::vector<RequestCase> RequestCases()
{
    const Bytes wepTail = H("60 01 01  61 01 02  63 05 31 32 33 34 35  67 01 00");
    const Bytes wpaTail = Cat({ H("60 01 02  68 01 01  69 01 02  6A 0B"), T("passphrase1") });
    return {
        { "discover", [] { return BuildDiscoverRequest(kOwnMac); }, 0, {}, 18 },
        { "login", [] { return BuildLoginRequest(kOwnMac, kSelectedDevMac); }, 1,
            Cat({ H("02 06 00 11 22 33 44 55  90 5B"),
                T("QRX-512 Unit has been verified here; Marked (m) Dareri Group Ltd. No part may be reused "
                  "ok.") }),
            119 },
        { "logout", [] { return BuildLogoutRequest(kOwnMac); }, 2, {}, 18 },
        { "get_config", [] { return BuildGetConfigRequest(kOwnMac); }, 3, H("93 01 00"), 21 },
        { "get_mode", [] { return BuildGetModeRequest(kOwnMac); }, 3, H("00 01 00"), 21 },
        { "ip_automatic", [] { return BuildIPSettingRequest(kOwnMac, AutoIp(1)); }, 4, H("30 01 01"), 21 },
        { "ip_automatic_any_nonzero", [] { return BuildIPSettingRequest(kOwnMac, AutoIp(7)); }, 4,
            H("30 01 01"), 21 },
        { "ip_static", [] { return BuildIPSettingRequest(kOwnMac, StaticIp()); }, 4,
            H("30 01 00  31 04 C0 A8 01 14  32 04 FF FF FF 00  33 04 C0 A8 01 01"), 39 },
        { "wl_open_auto_channel_omits_ext",
            [] { return BuildWlSettingRequest(kOwnMac, Wl("wireless", 0, 5, 9, 0)); }, 4,
            Cat({ H("50 08"), T("wireless"), H("53 01 00  54 01 09  60 01 00") }), 37 },
        { "wl_wep_with_channels", [] { return BuildWlSettingRequest(kOwnMac, Wl("Home", 6, 1, 7, 1)); }, 4,
            Cat({ H("50 04"), T("Home"), H("53 01 06  52 01 01  54 01 07"), wepTail }), 18 + 6 + 9 + 16 },
        { "wl_wpa", [] { return BuildWlSettingRequest(kOwnMac, Wl("Home", 11, 0, 9, 2)); }, 4,
            Cat({ H("50 04"), T("Home"), H("53 01 0B  52 01 00  54 01 09"), wpaTail }), 18 + 6 + 9 + 22 },
        { "wl_unknown_security_stops_after_mode",
            [] { return BuildWlSettingRequest(kOwnMac, Wl("Home", 0, 0, 9, 3)); }, 4,
            Cat({ H("50 04"), T("Home"), H("53 01 00  54 01 09  60 01 03") }), 18 + 6 + 9 },
        { "wl_full_ssid_field_cut_before_split_char",
            [] { return BuildWlSettingRequest(kOwnMac, FullSsid()); }, 4,
            Cat({ H("50 1F"), Bytes(31, 'a'), H("53 01 00  54 01 09  60 01 00") }), 18 + 33 + 9 },
        { "set_mode_bridge", [] { return BuildSetModeRequest(kOwnMac, DEVICE_WBRIDGE); }, 4, H("00 01 02"),
            21 },
        { "set_mode_ap", [] { return BuildSetModeRequest(kOwnMac, DEVICE_AP); }, 4, H("00 01 01"), 21 },
        { "wps_pbc", [] { return BuildWPSPBCRequest(kOwnMac); }, 4, H("6B 00"), 20 },
        { "station_wps_pbc", [] { return BuildStationWPSPBCRequest(kOwnMac); }, 4, H("6B 00"), 20 },
        { "wps_pin_leading_zeros", [] { return BuildWPSPINRequest(kOwnMac, Wl("x", 0, 0, 9, 0)); }, 4,
            Cat({ H("6C 08"), T("00001234") }), 28 },
        { "wps_pin_eight_digits",
            [] {
                tag_WL_CONFIG wl;
                wl.WpsPinInput = 12345670;
                return BuildWPSPINRequest(kOwnMac, wl);
            },
            4, Cat({ H("6C 08"), T("12345670") }), 28 },
        { "station_wps_pin_carries_ssid",
            [] { return BuildStationWPSPINRequest(kOwnMac, Wl("Neighbour", 0, 0, 9, 0)); }, 4,
            Cat({ H("6C 09"), T("Neighbour") }), 18 + 11 },
        { "site_survey", [] { return BuildSiteSurveyRequest(kOwnMac); }, 7, {}, 18 },
        { "station_get_config", [] { return BuildStationGetConfigRequest(kOwnMac); }, 8, {}, 18 },
        { "station_wpa_no_channels",
            [] { return BuildWlStationSettingRequest(kOwnMac, Wl("Upstream", 6, 1, 9, 2)); }, 9,
            Cat({ H("50 08"), T("Upstream"), H("59 01 01  54 01 09"), wpaTail }), 18 + 10 + 6 + 22 },
        { "station_wep", [] { return BuildWlStationSettingRequest(kOwnMac, Wl("Up", 0, 0, 4, 1)); }, 9,
            Cat({ H("50 02"), T("Up"), H("59 01 01  54 01 04"), wepTail }), 18 + 4 + 6 + 16 },
        { "station_open", [] { return BuildWlStationSettingRequest(kOwnMac, Wl("Up", 0, 0, 4, 0)); }, 9,
            Cat({ H("50 02"), T("Up"), H("59 01 01  54 01 04  60 01 00") }), 18 + 4 + 9 },
    };
}

class RequestTest : public ::testing::TestWithParam<RequestCase>
{
};

TEST_P(RequestTest, IsByteExact)
{
    const RequestCase& c = GetParam();
    const Packet p = c.build();
    EXPECT_EQ(p.size(), c.size);
    // The header carries OwnMAC until a socket puts its adapter's MAC there.
    EXPECT_EQ(HexOf(p), HexOf(Datagram(kOwnMac, c.cmd, c.payload)));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, RequestTest, ::testing::ValuesIn(RequestCases()),
    [](const ::testing::TestParamInfo<RequestCase>& info) { return std::string(info.param.name); });

TEST(WpsPin, AlwaysEightDigits)
{
    EXPECT_EQ(WpsPinDigits(0), "00000000");
    EXPECT_EQ(WpsPinDigits(7), "00000007");
    EXPECT_EQ(WpsPinDigits(99999999), "99999999");
    // Out-of-range values never widen the request.
    EXPECT_EQ(WpsPinDigits(123456789).size(), 8u);
    EXPECT_EQ(WpsPinDigits(-1).size(), 8u);
}

TEST(Requests, LongestProfileFitsTheRequestBuffer)
{
    tag_WL_CONFIG wl = Wl("", 6, 1, 9, 1);
    std::memset(wl.WL_SSID, 's', sizeof wl.WL_SSID); // no terminators anywhere
    std::memset(wl.WL_WEPKEY, 'k', sizeof wl.WL_WEPKEY);
    std::memset(wl.WL_WPA_PSK, 'p', sizeof wl.WL_WPA_PSK);
    const Packet wep = BuildWlSettingRequest(kOwnMac, wl);
    EXPECT_EQ(wep.size(), 18u + 34 + 9 + 3 + 3 + 129 + 3);
    wl.WL_SECURITY_MODE = 2;
    const Packet wpa = BuildWlStationSettingRequest(kOwnMac, wl);
    EXPECT_EQ(wpa.size(), 18u + 34 + 9 + 3 + 3 + 129);
}

} // namespace
