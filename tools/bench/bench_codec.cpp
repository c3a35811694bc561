// Codec benchmarks: RC4 throughput and the receive path of one datagram (checks, decipher,
// decode) for a typical get-config reply and a discovery answer.
#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"
#include "protocol/codec/rc4.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

const MacAddress kDev = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55 };
const MacAddress kOwn = { 0x02, 0x00, 0x00, 0xAA, 0xBB, 0x01 };
const MacAddress kSockets[] = { { 0x52, 0x54, 0x00, 0x00, 0x00, 0x0A } };

void BM_Rc4Throughput(benchmark::State& state)
{
    std::vector<std::uint8_t> data(static_cast<std::size_t>(state.range(0)), 0x5A);
    const std::uint8_t key[] = { 'a', 'd', 'm', 'i', 'n' };
    for (auto _ : state) {
        Rc4Encrypt(key, sizeof key, data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rc4Throughput)->Arg(64)->Arg(1024)->Arg(65489);

void BM_Rc4KeySchedule(benchmark::State& state)
{
    const std::uint8_t key[] = { 'a', 'd', 'm', 'i', 'n' };
    Rc4State rc4;
    for (auto _ : state) {
        Rc4Init(key, sizeof key, &rc4);
        benchmark::DoNotOptimize(&rc4);
    }
}
BENCHMARK(BM_Rc4KeySchedule);

Packet TypicalGetConfigReply()
{
    tag_IP_CONFIG ip;
    ip.LAN_IP = 0xC0A801FE;
    ip.LAN_NETMASK = 0xFFFFFF00;
    ip.LAN_GATEWAY = 0xC0A80101;
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "wireless");
    for (int n = 0; n < 13; ++n) {
        wl.WL_CH_LIST[n] = static_cast<std::uint8_t>(n + 1);
    }
    wl.WL_STD_CH = 6;
    wl.WL_SECURITY_MODE = 2;
    wl.WL_WPA_MODE = 2;
    wl.WL_WPA_CIPHER = 2;
    wl.WL_WPS_PIN = 12345670;
    Packet p = BuildGetConfigReply(kDev, ip, wl, DEVICE_AP);
    CipherPayload(p, "admin");
    return p;
}

// Copy into the receive buffer, checks, decipher, decode: what the engine does per datagram
// (the log is off, as in a run without a log file).
void BM_ReceiveGetConfigReply(benchmark::State& state)
{
    const Packet wire = TypicalGetConfigReply();
    std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE);
    ReceiveContext ctx;
    ctx.SocketMACs = kSockets;
    ctx.OwnMAC = kOwn;
    ctx.PeerMAC = kDev;
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    int mode = 0;
    for (auto _ : state) {
        std::memcpy(buffer.data(), wire.data(), wire.size());
        if (AcceptReceivedPacket(buffer.data(), wire.size(), ctx, "admin") == RecvCheck::Ok) {
            DecodeGetConfigReply(buffer.data(), wire.size(), ip, wl, mode);
        }
        benchmark::DoNotOptimize(&wl);
    }
    state.counters["bytes"] = static_cast<double>(wire.size());
}
BENCHMARK(BM_ReceiveGetConfigReply);

void BM_ReceiveDiscoveryAnswer(benchmark::State& state)
{
    const Packet wire = BuildDiscoverReply(kDev, "AP-300N Lobby");
    std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE);
    ReceiveContext ctx;
    ctx.SocketMACs = kSockets;
    ctx.OwnMAC = kOwn;
    for (auto _ : state) {
        std::memcpy(buffer.data(), wire.data(), wire.size());
        tag_DEV_INFO info;
        if (AcceptReceivedPacket(buffer.data(), wire.size(), ctx, "admin") == RecvCheck::Ok) {
            benchmark::DoNotOptimize(DecodeDiscoverReply(buffer.data(), wire.size(), info));
        }
        benchmark::DoNotOptimize(&info);
    }
    state.counters["bytes"] = static_cast<double>(wire.size());
}
BENCHMARK(BM_ReceiveDiscoveryAnswer);

// A rejected datagram (foreign device after login) costs only the checks.
void BM_ReceiveRejected(benchmark::State& state)
{
    const Packet wire = TypicalGetConfigReply();
    std::vector<std::uint8_t> buffer(wire);
    ReceiveContext ctx;
    ctx.SocketMACs = kSockets;
    ctx.OwnMAC = kOwn;
    ctx.PeerMAC = kOwn;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckReceivedPacket(buffer.data(), buffer.size(), ctx));
    }
}
BENCHMARK(BM_ReceiveRejected);

void BM_BuildWlSettingRequest(benchmark::State& state)
{
    tag_WL_CONFIG wl;
    std::strcpy(wl.WL_SSID, "wireless");
    wl.WL_SECURITY_MODE = 2;
    std::strcpy(wl.WL_WPA_PSK, "a passphrase of some length");
    for (auto _ : state) {
        Packet p = BuildWlSettingRequest(kOwn, wl);
        CipherPayload(p, "admin");
        benchmark::DoNotOptimize(p.data());
    }
}
BENCHMARK(BM_BuildWlSettingRequest);

} // namespace

BENCHMARK_MAIN();
