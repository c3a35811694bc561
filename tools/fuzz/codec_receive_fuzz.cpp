// Fuzz target: the whole receive path of the codec for every pending operation.
// Input: byte 0 picks the pending operation and the peer filter, byte 1 the password, the rest is
// the datagram as it arrives. The datagram goes through the checks, the decipher and the decoder
// the engine would call; every decoder and the device-side reader also run on the plain bytes.
#include "protocol/codec/codec_log.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"
#include "protocol/codec/packet.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

volatile std::size_t g_logBytes = 0;

void CountingSink(const char* line)
{
    g_logBytes = g_logBytes + std::strlen(line);
}

void Require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

const MacAddress kOwn = { 0x02, 0x00, 0x00, 0xAA, 0xBB, 0x01 };
const MacAddress kSockets[]
    = { { 0x52, 0x54, 0x00, 0x00, 0x00, 0x0A }, { 0x52, 0x54, 0x00, 0x00, 0x00, 0x0B } };
const MacAddress kPeer = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55 };
const std::string_view kPasswords[] = { "", "admin", "a much longer administrator password 0123456789" };

// Runs the decoder that belongs to a command (what the engine's reply handlers call).
void Decode(const std::uint8_t* data, std::size_t size, std::uint8_t cmd)
{
    switch (cmd) {
    case CMD_DISCOVER: {
        tag_DEV_INFO info;
        DecodeDiscoverReply(data, size, info);
        Require(info.DevName[33] == '\0');
        break;
    }
    case CMD_LOGIN:
        DecodeLoginReply(data, size);
        break;
    case CMD_LOGOUT:
    case CMD_SET_CONFIG:
    case CMD_STATION_SET_CONFIG:
        DecodeResultReply(data, size);
        break;
    case CMD_GET_CONFIG: {
        tag_IP_CONFIG ip;
        tag_WL_CONFIG wl;
        int mode = 0;
        DecodeGetConfigReply(data, size, ip, wl, mode);
        Require(wl.WL_SSID[32] == '\0' && wl.WL_CH_LIST[256] == 0 && ip.IP_MODE <= 1);
        break;
    }
    case CMD_EVENT:
        DecodeEvent(data, size);
        break;
    case CMD_SITE_SURVEY: {
        std::vector<tag_AP_ROFIILE> list;
        DecodeSiteSurveyReply(data, size, list);
        Require(list.size() <= size / SURVEY_ENTRY_SIZE);
        for (const tag_AP_ROFIILE& ap : list) {
            Require(ap.SSID[32] == '\0' && ap.Signal > -100 && ap.Signal < 1000);
        }
        break;
    }
    case CMD_STATION_GET_CONFIG: {
        char pin[12] = {};
        DecodeStationGetConfigReply(data, size, pin);
        Require(pin[11] == '\0');
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t inputSize)
{
    SetCodecLogSink(&CountingSink);
    if (inputSize < 2) {
        return 0;
    }
    const int pendingOp = input[0] % 13;
    const bool filterPeer = (input[0] / 13) % 2 != 0;
    const std::string_view password = kPasswords[input[1] % 3];
    const std::uint8_t* wire = input + 2;
    const std::size_t size = std::min<std::size_t>(inputSize - 2, RECV_BUFFER_SIZE);

    // The engine's path: a zero-filled receive buffer, checks, decipher, dump, dispatch.
    std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE, 0);
    std::memcpy(buffer.data(), wire, size);
    ReceiveContext ctx;
    ctx.SocketMACs = kSockets;
    ctx.OwnMAC = kOwn;
    ctx.PeerMAC = filterPeer ? kPeer : BROADCAST_MAC;
    if (AcceptReceivedPacket(buffer.data(), size, ctx, password) == RecvCheck::Ok) {
        Require(size >= PACKET_HEADER_SIZE);
        const std::vector<std::string> dump = RxDumpLines(buffer.data(), size, "127.0.0.1", 5432);
        Require(dump.size() == 1 + (size + 15) / 16);
        const std::uint8_t cmd = buffer[HDR_CMD];
        if (cmd == CMD_EVENT || ReplyMatchesPending(pendingOp, cmd)) {
            Decode(buffer.data(), size, cmd);
        }
    }

    // Every decoder on the plain bytes, as if the cipher had produced them; exact-size copy so
    // that any read past the datagram is caught.
    std::vector<std::uint8_t> exact(wire, wire + size);
    for (std::uint8_t cmd : { CMD_DISCOVER, CMD_LOGIN, CMD_LOGOUT, CMD_GET_CONFIG, CMD_SET_CONFIG, CMD_EVENT,
             CMD_SITE_SURVEY, CMD_STATION_GET_CONFIG }) {
        Decode(exact.data(), exact.size(), cmd);
    }
    DeviceRequest request;
    DecodeRequest(exact.data(), exact.size(), request);
    CheckReceivedPacket(exact.data(), exact.size(), ctx);
    return 0;
}
