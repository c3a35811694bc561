// Writes the seed corpus of the codec_receive target: typical replies and events, enciphered as a
// device sends them, each prefixed with the two selector bytes the target reads.
// Build by hand: g++ -std=c++20 -I src tools/fuzz/make_seeds.cpp src/protocol/codec/*.cpp
// Run: ./a.out tools/fuzz/corpus/codec_receive
#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
const MacAddress kDev = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55 };

void Write(const std::string& dir, const char* name, int op, int passwordIndex, Packet p)
{
    static const char* passwords[] = { "", "admin", "a much longer administrator password 0123456789" };
    if (p.size() > PACKET_HEADER_SIZE && p[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(p, passwords[passwordIndex]);
    }
    const std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return;
    }
    const unsigned char head[2]
        = { static_cast<unsigned char>(op), static_cast<unsigned char>(passwordIndex) };
    std::fwrite(head, 1, 2, f);
    std::fwrite(p.data(), 1, p.size(), f);
    std::fclose(f);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    tag_IP_CONFIG ip;
    ip.LAN_IP = 0xC0A801FE;
    ip.LAN_NETMASK = 0xFFFFFF00;
    ip.LAN_GATEWAY = 0xC0A80101;
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "wireless");
    for (int n = 0; n < 11; ++n) {
        wl.WL_CH_LIST[n] = static_cast<std::uint8_t>(n + 1);
    }
    wl.WL_STD_CH = 6;
    wl.WL_SECURITY_MODE = 2;
    wl.WL_WPA_MODE = 2;
    wl.WL_WPA_CIPHER = 2;
    wl.WL_WPS_PIN = 12345670;
    std::vector<tag_AP_ROFIILE> aps(2);
    std::strcpy(aps[0].SSID, "Neighbour");
    aps[0].Signal = 80;
    aps[0].Channel = 11;
    aps[0].WPS = true;
    aps[1].EntryFlag = true;

    Write(dir, "discover_answer", OP_DISCOVER, 1, BuildDiscoverReply(kDev, "AP-300N"));
    Write(dir, "login_reply_port", OP_LOGIN, 1, BuildLoginReply(kDev, 1, 6000));
    Write(dir, "login_reply_refused", OP_LOGIN, 0, BuildLoginReply(kDev, 0, std::nullopt));
    Write(dir, "logout_reply", OP_LOGOUT, 1, BuildLogoutReply(kDev, 1));
    Write(dir, "get_config_reply", OP_GET_CONFIG + 13, 1, BuildGetConfigReply(kDev, ip, wl, DEVICE_AP));
    Write(dir, "get_mode_reply", OP_GET_CONFIG, 2, BuildGetModeReply(kDev, DEVICE_WBRIDGE));
    Write(dir, "set_result", OP_WL_SETTING, 1, BuildSetResultReply(kDev, CMD_SET_CONFIG, 1));
    Write(dir, "station_set_result", OP_IP_SETTING, 1, BuildSetResultReply(kDev, CMD_STATION_SET_CONFIG, 1));
    Write(dir, "survey_reply", OP_SITE_SURVEY, 1, BuildSiteSurveyReply(kDev, aps));
    Write(dir, "station_pin_reply", OP_STATION_GET_CONFIG, 1, BuildStationGetConfigReply(kDev, "87654321"));
    Write(dir, "event_timeout", OP_NONE, 1, BuildConnectTimeoutEvent(kDev));
    Write(dir, "event_wps", OP_WPS_PBC, 1, BuildWpsStatusEvent(kDev, 3));
    // Requests as the computer sends them (its own broadcast coming back).
    Write(dir, "login_request", OP_LOGIN, 1, BuildLoginRequest(kDev, kDev.data()));
    Write(dir, "wl_request", OP_WL_SETTING, 1, BuildWlSettingRequest(kDev, wl));
    return 0;
}
