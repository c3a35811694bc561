// Adapter list, local address lookup, neighbour-cache flush and the adapter socket.
#include "engine_fixture.h"

#include "app/globalvar.h"
#include "protocol/formudp.h"
#include "protocol/iphelp.h"
#include "protocol/udpmessages.h"
#include "protocol/udpsocket.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

using namespace enginetest;

namespace {

CAdapterInfo Adapter(const char* name, int index, std::uint8_t macLast, std::vector<CAdapterAddress> addrs,
    std::vector<std::uint32_t> gateways = {}, bool loopback = false)
{
    CAdapterInfo a;
    a.Name = QString::fromLatin1(name);
    a.Description = a.Name;
    a.Index = index;
    a.MAC[0] = 0x00;
    a.MAC[5] = macLast;
    a.Loopback = loopback;
    a.Addresses = std::move(addrs);
    a.Gateways = std::move(gateways);
    return a;
}

// Adapters for the list tests only: no socket is ever opened on them.
CAdapterList FakeSystem()
{
    return {
        Adapter("lo", 1, 0, { { "127.0.0.1", "255.0.0.0" } }, {}, true),
        Adapter(
            "eth0", 2, 0x11, { { "0.0.0.0", "0.0.0.0" }, { "10.1.2.3", "255.255.255.0" } }, { 0x0A010201 }),
        Adapter("wlan0", 3, 0x22, {}),
        Adapter("eth1", 4, 0x33, { { "10.9.0.5", "255.255.0.0" }, { "10.9.0.6", "255.255.0.0" } },
            { 0x0A090001 }),
    };
}

class AdapterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = qgetenv("QRX_ADAPTERS");
        help.SetAdapterSource([](CAdapterList& out) {
            out = FakeSystem();
            return true;
        });
    }
    void TearDown() override
    {
        qputenv("QRX_ADAPTERS", saved);
        g_Var.Ini.reset();
    }
    QStringList Names(const CAdapterList& list)
    {
        QStringList out;
        for (const CAdapterInfo& a : list) {
            out << a.Name;
        }
        return out;
    }

    QByteArray saved;
    CIPHelp help;
};

} // namespace

TEST_F(AdapterTest, RestrictionChoosesInterfacesAndAllowsNamedLoopback)
{
    struct Case
    {
        const char* env;
        const char* setting; // null: no settings file
        QStringList expected;
    };
    const std::vector<Case> cases = {
        // No restriction: loopback and the adapter without an IPv4 address are left out.
        { "", nullptr, { "eth0", "eth1" } },
        { "lo", nullptr, { "lo" } },
        { " eth1 , lo ", nullptr, { "lo", "eth1" } }, // interface order, not the order named
        { "wlan0", nullptr, {} }, // no IPv4 address
        { "", "eth1", { "eth1" } },
        { "lo", "eth1", { "lo" } }, // the variable wins
        { "", "", { "eth0", "eth1" } },
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        qputenv("QRX_ADAPTERS", c.env);
        g_Var.Ini.reset();
        if (c.setting) {
            const QString path = dir.filePath(QStringLiteral("qrx.ini"));
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray("[Setting]\r\nAdapters=") + c.setting + "\r\n");
            f.close();
            g_Var.Ini = std::make_unique<CThreadIni>(path);
        }
        CAdapterList list;
        EXPECT_EQ(help.GetAdapters(list), !c.expected.isEmpty()) << c.env;
        EXPECT_EQ(Names(list), c.expected) << c.env << " / " << (c.setting ? c.setting : "-");
    }
}

TEST_F(AdapterTest, LocalAddressLookup)
{
    qputenv("QRX_ADAPTERS", "");
    std::uint32_t ip = 0, mask = 1, gw = 1;
    std::uint8_t mac[6] = {};
    // The first usable address: 0.0.0.0 is skipped.
    ASSERT_TRUE(help.GetLocalAddress(ip, mask, gw, mac));
    EXPECT_EQ(ip, 0x0A010203u);
    EXPECT_EQ(mask, 0xFFFFFF00u);
    EXPECT_EQ(gw, 0x0A010201u);
    EXPECT_EQ(mac[5], 0x11);

    // A wanted address, second in its adapter's chain; no MAC asked for.
    ip = 0x0A090006;
    ASSERT_TRUE(help.GetLocalAddress(ip, mask, gw, nullptr));
    EXPECT_EQ(ip, 0x0A090006u);
    EXPECT_EQ(mask, 0xFFFF0000u);
    EXPECT_EQ(gw, 0x0A090001u);

    // Not found: the first entry's mask and gateway, false.
    ip = 0x0B000001;
    std::memset(mac, 0xEE, 6);
    EXPECT_FALSE(help.GetLocalAddress(ip, mask, gw, mac));
    EXPECT_EQ(mask, 0xFFFFFF00u);
    EXPECT_EQ(gw, 0x0A010201u);
    EXPECT_EQ(mac[0], 0xEE) << "the MAC is written only for an answer";

    // No adapter list: false, outputs unchanged.
    help.SetAdapterSource([](CAdapterList&) { return false; });
    ip = 0;
    mask = 7;
    gw = 8;
    EXPECT_FALSE(help.GetLocalAddress(ip, mask, gw, mac));
    EXPECT_EQ(mask, 7u);
    EXPECT_EQ(gw, 8u);
}

TEST(RouteTable, DefaultGatewaysPerInterface)
{
    const QByteArray text
        = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
          "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
          "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
          "eth1\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
          "eth2\t00000000\t0101A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n" // down
          "garbage line\n";
    const auto gw = CIPHelp::ParseRouteTable(text);
    ASSERT_EQ(gw.size(), 2u);
    ASSERT_EQ(gw.at(QStringLiteral("eth0")).size(), 1u);
    EXPECT_EQ(gw.at(QStringLiteral("eth0"))[0], 0xC0000201u);
    EXPECT_EQ(gw.at(QStringLiteral("eth1"))[0], 0xC0A80001u);
}

TEST(SystemAdapters, LoopbackIsListedWithItsAddress)
{
    CAdapterList all;
    ASSERT_TRUE(CIPHelp::ReadSystemAdapters(all));
    const auto lo = std::find_if(all.begin(), all.end(), [](const CAdapterInfo& a) { return a.Loopback; });
    ASSERT_NE(lo, all.end());
    EXPECT_EQ(lo->Name, QStringLiteral("lo"));
    ASSERT_FALSE(lo->Addresses.empty());
    EXPECT_EQ(lo->Addresses[0].IpText, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(lo->Addresses[0].MaskText, QStringLiteral("255.0.0.0"));
    for (std::size_t n = 1; n < all.size(); ++n) {
        EXPECT_LT(all[n - 1].Index, all[n].Index) << "interface order";
    }
}

TEST(NeighbourFlush, OnlyTheAdaptersInUseAndNeverLoopback)
{
    const auto cmds
        = TFormUDP::NeighbourFlushCommands({ QStringLiteral("lo"), QStringLiteral("eth1"), QString() });
    ASSERT_EQ(cmds.size(), 1);
    EXPECT_EQ(cmds[0], (QStringList { "neigh", "flush", "dev", "eth1" }));
    EXPECT_TRUE(TFormUDP::NeighbourFlushCommands({ QStringLiteral("lo") }).isEmpty());
}

TEST(NeighbourFlush, DiscoveryOnLoopbackRunsNothing)
{
    LogCapture log;
    auto saved = TFormUDP::RunHidden;
    QList<QStringList> ran;
    TFormUDP::RunHidden = [&](const QString&, const QStringList& args) { ran << args; };
    {
        TFormUDP engine;
        ASSERT_TRUE(engine.SendDiscover(0, true));
        EXPECT_EQ(engine.PendingOp, OP_NONE) << "no wait with time-out 0";
    }
    TFormUDP::RunHidden = saved;
    EXPECT_TRUE(ran.isEmpty());
}

namespace {

class Owner : public QObject, public CMessageReceiver
{
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        got.push_back({ msg, wParam, lParam });
        return 0;
    }
    std::vector<Posted> got;
};

} // namespace

TEST(UDPSocket, ClosedSocketTouchesNothing)
{
    CUDPSocket s;
    char buf[8] = {};
    std::uint16_t port = 77;
    QString ip = QStringLiteral("x");
    EXPECT_FALSE(s.IsOpen());
    EXPECT_FALSE(s.Send(buf, 8, 5432, QStringLiteral("127.0.0.1")));
    EXPECT_EQ(s.Recv(buf, 8, port, ip), 0);
    EXPECT_EQ(port, 77);
    EXPECT_EQ(ip, QStringLiteral("x"));
    s.Close();
    EXPECT_FALSE(s.IsOpen());
}

TEST(UDPSocket, TiedToLoopbackKeepsAdapterAddressAndNotifiesOwner)
{
    LogCapture log;
    Owner owner;
    CUDPSocket s;
    s.LocalIP = QStringLiteral("127.0.0.1");
    s.LocalMask = QStringLiteral("255.0.0.0");
    s.LocalPort = 5433;
    s.Device = QStringLiteral("lo");
    ASSERT_TRUE(s.Open(&owner, UM_SOCKET));
    EXPECT_TRUE(s.BoundToDevice());
    EXPECT_EQ(s.LocalIP, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(s.LocalPort, 5433);
    if (::geteuid() == 0) {
        EXPECT_GE(s.ReceiveBufferSize(), 1024 * 1024) << "root passes the system limit";
    }
    EXPECT_TRUE(log.Has("WSAAsyncSelect() OK"));

    // A readiness message naming another socket, and a close event, are logged and go no further.
    s.WndProc(UM_SOCKET_SELECT, WPARAM(s.Handle() + 1000), FD_READ);
    EXPECT_TRUE(log.Has("  socket doesn't match"));
    s.WndProc(UM_SOCKET_SELECT, WPARAM(s.Handle()), FD_CLOSE);
    EXPECT_TRUE(owner.got.empty());

    // A datagram: the owner hears of it with UM_SOCKET and reads it through Recv.
    ScriptedDevice dev;
    owner.got.clear();
    ASSERT_TRUE(dev.SendToEngine(Packet { 1, 2, 3 }, "127.0.1.9", true));
    ASSERT_TRUE(WaitFor([&] { return !owner.got.empty(); }));
    EXPECT_EQ(owner.got[0], (Posted { UM_SOCKET, 1, LPARAM(&s) }));
    char buf[16];
    std::uint16_t port = 0;
    QString ip;
    EXPECT_EQ(s.Recv(buf, sizeof(buf), port, ip), 3);
    EXPECT_EQ(ip, QStringLiteral("127.0.1.9"));
    EXPECT_EQ(port, 5432);
    EXPECT_TRUE(
        log.Has("CUDPSocket::WndProc()aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa "
                "32769, 32769, "
            + std::to_string(s.Handle()) + ", 1"));
}

TEST(UDPSocket, TwoSocketsShareThePortOnTheirOwnInterfaces)
{
    // Two engines' worth of sockets tied to lo on one port: the reuse option lets both bind.
    Owner owner;
    CUDPSocket a, b;
    for (CUDPSocket* s : { &a, &b }) {
        s->LocalIP = QStringLiteral("127.0.0.1");
        s->LocalPort = 5433;
        s->Device = QStringLiteral("lo");
        EXPECT_TRUE(s->Open(&owner, UM_SOCKET));
    }
}
