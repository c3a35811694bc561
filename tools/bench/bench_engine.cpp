// The engine's receive path per datagram (socket read, the seven checks, decipher, decoding into
// g_Var) against a bare recvfrom loop on the same kind of socket. Both read batches of datagrams
// already waiting in the socket, so only the receiving side is timed. Runs on loopback only, in a
// network namespace of its own when permitted.
#include "app/globalvar.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/packet.h"
#include "protocol/formudp.h"

#include <QCoreApplication>

#include "private_loopback.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kBatch = 200;
const MacAddress kDevice = { 0x00, 0x1E, 0x5A, 0x00, 0x00, 0x01 };

// A typical reply: the whole configuration, enciphered with the password.
Packet ConfigReply()
{
    tag_IP_CONFIG ip {};
    ip.LAN_IP = 0xC0A80102;
    ip.LAN_NETMASK = 0xFFFFFF00;
    tag_WL_CONFIG wl {};
    std::strcpy(wl.WL_SSID, "office-network");
    for (int n = 0; n < 13; ++n) {
        wl.WL_CH_LIST[n] = std::uint8_t(n + 1);
    }
    wl.WL_SECURITY_MODE = 2;
    Packet p = BuildGetConfigReply(kDevice, ip, wl, DEVICE_AP);
    CipherPayload(p, "admin");
    return p;
}

int Sender()
{
    static int fd = [] {
        const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_port = htons(5432);
        inet_pton(AF_INET, "127.0.1.1", &a.sin_addr);
        const int one = 1;
        ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
        ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        return s;
    }();
    return fd;
}

void SendBatch(const Packet& p, std::uint16_t port)
{
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int n = 0; n < kBatch; ++n) {
        ::sendto(Sender(), p.data(), p.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof(to));
    }
}

void BM_EngineReceive(benchmark::State& state)
{
    g_Var.Password = QStringLiteral("admin");
    TFormUDP engine;
    if (!engine.SendDiscover(0, true) || engine.Sockets().empty()) {
        state.SkipWithError("no loopback socket");
        return;
    }
    CUDPSocket* socket = engine.Sockets()[0];
    const Packet reply = ConfigReply();
    for (auto _ : state) {
        SendBatch(reply, LOCAL_PORT);
        const auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < kBatch; ++n) {
            engine.PendingOp = OP_GET_CONFIG;
            engine.UDPSocketRead(socket);
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    if (g_Var.DevIPConfig.LAN_IP != 0xC0A80102) {
        state.SkipWithError("the replies were not read");
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_EngineReceive)->UseManualTime();

void BM_BareRecvfrom(benchmark::State& state)
{
    // The same kind of socket as the engine's: any-address, tied to lo, 4 MB receive buffer.
    CUDPSocket socket;
    socket.LocalIP = QStringLiteral("127.0.0.1");
    socket.LocalPort = 5434;
    socket.Device = QStringLiteral("lo");
    if (!socket.Open(nullptr, 0)) {
        state.SkipWithError("no loopback socket");
        return;
    }
    const Packet reply = ConfigReply();
    std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE);
    for (auto _ : state) {
        SendBatch(reply, 5434);
        const auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < kBatch; ++n) {
            sockaddr_in from {};
            socklen_t len = sizeof(from);
            benchmark::DoNotOptimize(::recvfrom(
                socket.Handle(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len));
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_BareRecvfrom)->UseManualTime();

// Both loops in one benchmark, batch after batch, so that a change in the machine's load falls on
// both alike: recv_overhead_ratio is the median engine batch over the median bare batch.
void BM_ReceiveSideBySide(benchmark::State& state)
{
    g_Var.Password = QStringLiteral("admin");
    TFormUDP engine;
    if (!engine.SendDiscover(0, true) || engine.Sockets().empty()) {
        state.SkipWithError("no loopback socket");
        return;
    }
    CUDPSocket* socket = engine.Sockets()[0];
    CUDPSocket bare;
    bare.LocalIP = QStringLiteral("127.0.0.1");
    bare.LocalPort = 5434;
    bare.Device = QStringLiteral("lo");
    if (!bare.Open(nullptr, 0)) {
        state.SkipWithError("no loopback socket");
        return;
    }
    const Packet reply = ConfigReply();
    std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE);
    std::vector<double> engineTimes, bareTimes;
    for (auto _ : state) {
        SendBatch(reply, LOCAL_PORT);
        auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < kBatch; ++n) {
            engine.PendingOp = OP_GET_CONFIG;
            engine.UDPSocketRead(socket);
        }
        auto end = std::chrono::steady_clock::now();
        const double engineTime = std::chrono::duration<double>(end - start).count();

        SendBatch(reply, 5434);
        start = std::chrono::steady_clock::now();
        for (int n = 0; n < kBatch; ++n) {
            sockaddr_in from {};
            socklen_t len = sizeof(from);
            benchmark::DoNotOptimize(::recvfrom(
                bare.Handle(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len));
        }
        end = std::chrono::steady_clock::now();
        const double bareTime = std::chrono::duration<double>(end - start).count();
        engineTimes.push_back(engineTime);
        bareTimes.push_back(bareTime);
        state.SetIterationTime(engineTime + bareTime);
    }
    if (g_Var.DevIPConfig.LAN_IP != 0xC0A80102 || engineTimes.empty()) {
        state.SkipWithError("the replies were not read");
        return;
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double engineMedian = median(engineTimes);
    const double bareMedian = median(bareTimes);
    state.counters["engine_ns_per_datagram"] = engineMedian / kBatch * 1e9;
    state.counters["bare_ns_per_datagram"] = bareMedian / kBatch * 1e9;
    state.counters["recv_overhead_ratio"] = engineMedian / bareMedian;
}
BENCHMARK(BM_ReceiveSideBySide)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    // Never anything but loopback.
    setenv("QRX_ADAPTERS", "lo", 1);
    PrivateLoopback();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
