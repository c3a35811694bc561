// The protocol engine over real sockets on loopback against a scripted device.
#include "engine_fixture.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "platform/core/clock.h"
#include "platform/core/notify.h"
#include "protocol/codec/messages.h"
#include "protocol/formudp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <unistd.h>

using namespace enginetest;
using Reply = ScriptedDevice::Reply;

namespace {

const MacAddress kOwn = { 0x02, 0x00, 0x00, 0xAA, 0xBB, 0xCC };

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetTimeScale(1);
        SetApplicationMainWindow(&main);
        g_Var.Password.clear();
        g_Var.SelectedDevice = {};
        g_Var.DevIPConfig = {};
        g_Var.DevWlConfig = {};
        g_Var.NewIPConfig = {};
        g_Var.NewWlConfig = {};
        g_Var.DeviceMode = 0;
        std::memset(g_Var.ApClientPIN, 0, sizeof(g_Var.ApClientPIN));
        ASSERT_TRUE(dev.Ok()) << "the device cannot listen on its ports";
        engine = std::make_unique<TFormUDP>();
        // A MAC of its own, so that the log shows it apart from lo's all-zero adapter MAC.
        engine->OwnMAC = kOwn;
    }

    void TearDown() override
    {
        engine.reset();
        SetApplicationMainWindow(nullptr);
        SetSimpleMessageHandler({});
        SetTimeScale(1);
        DrainEvents();
    }

    bool WaitPosted(UINT msg, std::size_t count = 1, int ms = 5000)
    {
        return WaitFor([&] { return Count(msg) >= count; }, ms);
    }
    std::size_t Count(UINT msg) const
    {
        return std::size_t(std::count_if(
            main.Messages.begin(), main.Messages.end(), [msg](const Posted& p) { return p.Msg == msg; }));
    }
    bool WaitLog(const std::string& line, int count = 1, int ms = 5000)
    {
        return WaitFor([&] { return log.Count(line) >= count; }, ms);
    }

    // A discovery that finds device 1 at 127.0.1.1 and ends by its time-out.
    void DiscoverOne()
    {
        dev.OnRequest = [](const SeenRequest& r) -> std::vector<Reply> {
            if (r.Req.Cmd == CMD_DISCOVER) {
                return { { BuildDiscoverReply(Mac(1), "AP-One"), "127.0.1.1" } };
            }
            return {};
        };
        ASSERT_TRUE(engine->SendDiscover(200, true));
        ASSERT_TRUE(WaitPosted(UM_UDP_TIMEOUT));
        ASSERT_EQ(engine->Devices().size(), 1u);
        main.Messages.clear();
    }

    // Logs in to device 1, whose reply names port 6000.
    void LoginOne(int result = 1, std::optional<std::uint16_t> port = 6000)
    {
        DiscoverOne();
        std::memcpy(g_Var.SelectedDevice.DevMAC, Mac(1).data(), 6);
        dev.OnRequest = [result, port](const SeenRequest& r) -> std::vector<Reply> {
            if (r.Req.Cmd == CMD_LOGIN) {
                return { { BuildLoginReply(Mac(1), result, port), "127.0.1.1" } };
            }
            return {};
        };
        ASSERT_TRUE(engine->SendLogin(5000));
        ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
        main.Messages.clear();
    }

    LogCapture log;
    MainWindowCatcher main;
    ScriptedDevice dev { { 5432, 6000 } };
    std::unique_ptr<TFormUDP> engine;
};

} // namespace

TEST_F(EngineTest, DiscoveryCollectsDistinctDevicesUntilTheTimeOut)
{
    // 4 s of program time at a tenth of the real time.
    SetTimeScale(0.1);
    dev.OnRequest = [](const SeenRequest& r) -> std::vector<Reply> {
        if (r.Req.Cmd != CMD_DISCOVER) {
            return {};
        }
        Packet empty = BuildDiscoverReply(Mac(4), "");
        empty.resize(PACKET_HEADER_SIZE);
        empty[HDR_LEN] = 0;
        empty[HDR_LEN + 1] = 0;
        return {
            { BuildDiscoverReply(Mac(1), "AP-One"), "127.0.1.1" },
            { BuildDiscoverReply(Mac(2), "AP-Two"), "127.0.1.2" },
            { BuildDiscoverReply(Mac(1), "AP-One again"), "127.0.1.3" }, // same MAC: one entry
            { empty, "127.0.1.4" }, // no item: no entry
        };
    };
    ASSERT_TRUE(engine->SendDiscover(4000, true));
    EXPECT_EQ(engine->PendingOp, OP_DISCOVER);
    EXPECT_EQ(engine->PeerMAC, BROADCAST_MAC);
    EXPECT_EQ(engine->DestPort, 5432);
    ASSERT_EQ(engine->Sockets().size(), 1u);
    EXPECT_TRUE(engine->Sockets()[0]->BoundToDevice());
    EXPECT_EQ(engine->Sockets()[0]->LocalIP, QStringLiteral("127.0.0.1"));

    ASSERT_TRUE(WaitPosted(UM_UDP_TIMEOUT));
    ASSERT_EQ(main.Messages.size(), 1u) << "discovery answers post nothing";
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_TIMEOUT, OP_DISCOVER, 0 }));
    EXPECT_EQ(engine->PendingOp, OP_NONE);
    EXPECT_TRUE(log.Has("TFormUDP::TimerWaitTimer() 1"));
    EXPECT_TRUE(log.Has("  already exist"));

    std::vector<tag_DEV_INFO> list;
    engine->GetDeviceList(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0].DevName, "AP-One");
    EXPECT_EQ(0, std::memcmp(list[0].DevMAC, Mac(1).data(), 6));
    EXPECT_EQ(list[0].DevIP, 0x7F000101u);
    EXPECT_EQ(list[0].LocalIP, 0x7F000001u);
    EXPECT_EQ(list[0].LocalMask, 0xFF000000u);
    EXPECT_STREQ(list[1].DevName, "AP-Two");
    EXPECT_EQ(list[1].DevIP, 0x7F000102u);

    // The request on the wire: 18 bytes, command 0, lo's adapter MAC instead of OwnMAC.
    ASSERT_EQ(dev.Requests.size(), 1u);
    const Packet& wire = dev.Requests[0].Wire;
    ASSERT_EQ(wire.size(), 18u);
    EXPECT_EQ(0, std::memcmp(wire.data(), "SWP12345", 8));
    EXPECT_EQ(wire[HDR_VERSION], 2);
    EXPECT_EQ(wire[HDR_CMD], CMD_DISCOVER);
    EXPECT_EQ(MacFromBytes(wire.data() + HDR_MAC), MacFromBytes(engine->Sockets()[0]->MAC));

    // A late answer finds no discovery waiting.
    log.Clear();
    ASSERT_TRUE(dev.SendToEngine(BuildDiscoverReply(Mac(3), "Late"), "127.0.1.5"));
    ASSERT_TRUE(WaitLog("  ignore data"));
    EXPECT_EQ(engine->Devices().size(), 2u);
    EXPECT_EQ(main.Messages.size(), 1u);
}

TEST_F(EngineTest, BurstOfAThousandDiscoveryAnswersIsNotDropped)
{
    dev.OnRequest = [](const SeenRequest& r) -> std::vector<Reply> {
        std::vector<Reply> out;
        if (r.Req.Cmd == CMD_DISCOVER) {
            for (int n = 0; n < 1000; ++n) {
                MacAddress mac = { 0x00, 0x1E, 0x77, 0x00, std::uint8_t(n >> 8), std::uint8_t(n) };
                out.push_back({ BuildDiscoverReply(mac, "AP-" + std::to_string(n)), "127.0.1.1" });
            }
        }
        return out;
    };
    ASSERT_TRUE(engine->SendDiscover(60000, true));
    if (engine->Sockets()[0]->ReceiveBufferSize() < 1024 * 1024 && ::geteuid() != 0) {
        GTEST_SKIP() << "the system limit (net.core.rmem_max) keeps the receive buffer small without root";
    }
    EXPECT_GE(engine->Sockets()[0]->ReceiveBufferSize(), 1024 * 1024);
    EXPECT_TRUE(WaitFor([&] { return engine->Devices().size() == 1000; }, 30000))
        << "listed " << engine->Devices().size();
    EXPECT_STREQ(engine->Devices().back().DevName, "AP-999");
}

TEST_F(EngineTest, LoginSetsPeerAndPortAndLaterRequestsGoThere)
{
    DiscoverOne();
    g_Var.Password = QStringLiteral("s3cret");
    dev.Password = "s3cret";
    std::memcpy(g_Var.SelectedDevice.DevMAC, Mac(1).data(), 6);
    tag_IP_CONFIG ip {};
    ip.IP_MODE = 0;
    ip.LAN_IP = 0xC0A80102;
    ip.LAN_NETMASK = 0xFFFFFF00;
    ip.LAN_GATEWAY = 0xC0A80101;
    tag_WL_CONFIG wl {};
    std::strcpy(wl.WL_SSID, "office");
    wl.WL_STD_CH = 6;
    wl.WL_SECURITY_MODE = 2;
    wl.WL_WPS_PIN = 12345670;
    dev.OnRequest = [&](const SeenRequest& r) -> std::vector<Reply> {
        switch (r.Req.Cmd) {
        case CMD_LOGIN:
            return { { BuildLoginReply(Mac(1), 1, 6000), "127.0.1.1" } };
        case CMD_GET_CONFIG:
            return {
                // Another device's configuration is not heard after the login.
                { BuildGetConfigReply(Mac(2), {}, {}, DEVICE_AP), "127.0.1.2" },
                { BuildGetConfigReply(Mac(1), ip, wl, DEVICE_WBRIDGE), "127.0.1.1" },
            };
        default:
            return {};
        }
    };
    ASSERT_TRUE(engine->SendLogin(5000));
    EXPECT_EQ(engine->DestPort, 5432);
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_LOGIN, 1 }));
    EXPECT_TRUE(engine->LoggedIn);
    EXPECT_EQ(engine->PeerMAC, Mac(1));
    EXPECT_EQ(engine->DestPort, 6000);
    EXPECT_EQ(engine->PendingOp, OP_NONE);
    EXPECT_FALSE(engine->TimerWait->Enabled());
    EXPECT_EQ(engine->LastLocalIP, QStringLiteral("127.0.0.1"));

    // The login went to 5432 with the device's MAC and the phrase, enciphered with the password.
    const SeenRequest& login = dev.Requests.back();
    EXPECT_EQ(login.LocalPort, 5432);
    EXPECT_EQ(login.Wire.size(), 119u);
    EXPECT_TRUE(login.Req.HasDeviceMAC);
    EXPECT_EQ(login.Req.DeviceMAC, Mac(1));
    EXPECT_EQ(login.Req.Auth, std::string(AUTH_PHRASE));

    main.Messages.clear();
    ASSERT_TRUE(engine->SendGetConfig(5000));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(dev.Requests.back().LocalPort, 6000);
    EXPECT_EQ(dev.Requests.back().Req.Cmd, CMD_GET_CONFIG);
    EXPECT_TRUE(log.Has("TFormUDP::ProcRecvData() FAIL destination address doesn't match"));
    EXPECT_EQ(main.Messages.size(), 1u);
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_GET_CONFIG, 1 }));
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_WBRIDGE);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0xC0A80102u);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_GATEWAY, 0xC0A80101u);
    EXPECT_STREQ(g_Var.DevWlConfig.WL_SSID, "office");
    EXPECT_EQ(g_Var.DevWlConfig.WL_STD_CH, 6);
    EXPECT_EQ(g_Var.DevWlConfig.WL_WPS_PIN, 12345670u);

    // A new discovery hears every device again and goes back to port 5432.
    main.Messages.clear();
    dev.OnRequest = [](const SeenRequest&) -> std::vector<Reply> {
        return { { BuildDiscoverReply(Mac(2), "AP-Two"), "127.0.1.2" } };
    };
    ASSERT_TRUE(engine->SendDiscover(200, true));
    EXPECT_EQ(engine->DestPort, 5432);
    EXPECT_FALSE(engine->LoggedIn) << "re-opening the sockets logs out first";
    ASSERT_TRUE(WaitPosted(UM_UDP_TIMEOUT));
    ASSERT_EQ(engine->Devices().size(), 1u);
    EXPECT_STREQ(engine->Devices()[0].DevName, "AP-Two");
    // The logout of the re-opening went out first, to the login's port.
    ASSERT_TRUE(WaitFor([&] {
        return std::any_of(dev.Requests.begin(), dev.Requests.end(),
            [](const SeenRequest& r) { return r.Req.Cmd == CMD_LOGOUT && r.LocalPort == 6000; });
    }));
}

TEST_F(EngineTest, RefusedLoginKeepsPeerAndPort)
{
    LoginOne(0, std::nullopt);
    EXPECT_FALSE(engine->LoggedIn);
    EXPECT_EQ(engine->PeerMAC, BROADCAST_MAC);
    EXPECT_EQ(engine->DestPort, 5432);
    EXPECT_TRUE(log.Has("  Result=0"));
}

TEST_F(EngineTest, LoginWithoutPortItemKeepsDevicePort)
{
    LoginOne(1, std::nullopt);
    EXPECT_TRUE(engine->LoggedIn);
    EXPECT_EQ(engine->DestPort, 5432);
}

TEST_F(EngineTest, SetConfigGroupAcceptsEachOthersReplies)
{
    LoginOne();
    struct Case
    {
        std::function<bool()> send;
        std::uint8_t replyCmd;
        int result;
        Posted expected;
    };
    const std::vector<Case> cases = {
        { [&] { return engine->SendIPSetting(5000); }, CMD_STATION_SET_CONFIG, 1,
            { UM_UDP_RECV, OP_IP_SETTING, 1 } },
        { [&] { return engine->SendWlSetting(5000); }, CMD_SET_CONFIG, 0, { UM_UDP_RECV, OP_WL_SETTING, 0 } },
        { [&] { return engine->SendWlStationSetting(5000); }, CMD_SET_CONFIG, 1,
            { UM_UDP_RECV, OP_WL_STATION_SETTING, 1 } },
        { [&] { return engine->SendSetMode(5000, DEVICE_WBRIDGE); }, CMD_STATION_SET_CONFIG, 1,
            { UM_UDP_RECV, OP_SET_MODE, 1 } },
        { [&] { return engine->SendWPSPBC(5000); }, CMD_SET_CONFIG, 1, { UM_UDP_RECV, OP_WPS_PBC, 1 } },
        { [&] { return engine->SendStationWPSPIN(5000); }, CMD_SET_CONFIG, 2,
            { UM_UDP_RECV, OP_WPS_PIN, 2 } },
    };
    for (const Case& c : cases) {
        main.Messages.clear();
        dev.OnRequest = [&c](const SeenRequest&) -> std::vector<Reply> {
            return { { BuildSetResultReply(Mac(1), c.replyCmd, c.result), "127.0.1.1" } };
        };
        ASSERT_TRUE(c.send());
        ASSERT_TRUE(WaitPosted(UM_UDP_RECV)) << "op " << c.expected.WParam;
        EXPECT_EQ(main.Messages.size(), 1u);
        EXPECT_EQ(main.Messages[0], c.expected);
        EXPECT_EQ(engine->PendingOp, OP_NONE);
        EXPECT_FALSE(engine->TimerWait->Enabled());
        EXPECT_EQ(dev.Requests.back().LocalPort, 6000);
    }

    // A write sent while another waits takes its place; the earlier write's reply answers it.
    main.Messages.clear();
    dev.OnRequest = {};
    engine->SendIPSetting(5000);
    engine->SendWlSetting(5000);
    ASSERT_TRUE(WaitFor([&] { return dev.Requests.size() >= 2; }));
    ASSERT_TRUE(dev.SendToEngine(BuildSetResultReply(Mac(1), CMD_SET_CONFIG, 1), "127.0.1.1"));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_WL_SETTING, 1 }));
}

TEST_F(EngineTest, TimeOutPostsThePendingCodeAndLateRepliesAreIgnored)
{
    LoginOne();
    dev.OnRequest = {};
    ASSERT_TRUE(engine->SendGetConfig(100));
    EXPECT_EQ(engine->PendingOp, OP_GET_CONFIG);
    ASSERT_TRUE(WaitPosted(UM_UDP_TIMEOUT));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_TIMEOUT, OP_GET_CONFIG, 0 }));
    EXPECT_EQ(engine->PendingOp, OP_NONE);
    EXPECT_TRUE(log.Has("TFormUDP::TimerWaitTimer() 6"));

    log.Clear();
    tag_IP_CONFIG ip {};
    ip.LAN_IP = 0x0A000001;
    ASSERT_TRUE(dev.SendToEngine(BuildGetConfigReply(Mac(1), ip, {}, DEVICE_AP), "127.0.1.1"));
    ASSERT_TRUE(WaitLog("  ignore data"));
    EXPECT_TRUE(log.Has("TFormUDP::RecvGetConfig()"));
    DrainEvents();
    EXPECT_EQ(main.Messages.size(), 1u);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0u);

    // Each operation's own code times out the same way.
    const std::vector<std::pair<std::function<bool()>, int>> ops = {
        { [&] { return engine->SendLogin(50); }, OP_LOGIN },
        { [&] { return engine->SendSiteSurvey(50); }, OP_SITE_SURVEY },
        { [&] { return engine->SendStationGetConfig(50); }, OP_STATION_GET_CONFIG },
        { [&] { return engine->SendGetMode(50); }, OP_GET_CONFIG },
        { [&] { return engine->SendWPSPIN(50); }, OP_WPS_PIN },
    };
    for (const auto& [send, op] : ops) {
        main.Messages.clear();
        ASSERT_TRUE(send());
        ASSERT_TRUE(WaitPosted(UM_UDP_TIMEOUT));
        EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_TIMEOUT, WPARAM(op), 0 }));
    }
}

TEST_F(EngineTest, EventsClearLoginAndPassWpsStatus)
{
    LoginOne();
    dev.OnRequest = {};
    ASSERT_TRUE(engine->SendWPSPBC(5000));
    ASSERT_TRUE(dev.SendToEngine(BuildWpsStatusEvent(Mac(1), 3), "127.0.1.1"));
    ASSERT_TRUE(WaitPosted(UM_UDP_EVENT));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_EVENT, 150, 3 }));
    EXPECT_EQ(engine->PendingOp, OP_WPS_PBC) << "an event leaves the waiting request alone";
    EXPECT_TRUE(engine->TimerWait->Enabled());
    EXPECT_TRUE(engine->LoggedIn);
    EXPECT_TRUE(log.Has("  TLVTYPE_OTHER_WPS_STATUS 3"));

    main.Messages.clear();
    ASSERT_TRUE(dev.SendToEngine(BuildConnectTimeoutEvent(Mac(1)), "127.0.1.1"));
    ASSERT_TRUE(WaitLog("  TLVTYPE_OTHER_CONNECTTIMEOUT"));
    DrainEvents();
    EXPECT_FALSE(engine->LoggedIn);
    EXPECT_TRUE(main.Messages.empty());
    EXPECT_EQ(engine->PendingOp, OP_WPS_PBC);

    // Events of another device are not heard.
    ASSERT_TRUE(dev.SendToEngine(BuildWpsStatusEvent(Mac(2), 4), "127.0.1.2"));
    ASSERT_TRUE(WaitLog("TFormUDP::ProcRecvData() FAIL destination address doesn't match"));
    DrainEvents();
    EXPECT_TRUE(main.Messages.empty());
}

TEST_F(EngineTest, LogoutWithoutWaitPostsNothing)
{
    LoginOne();
    dev.OnRequest = [](const SeenRequest& r) -> std::vector<Reply> {
        if (r.Req.Cmd == CMD_LOGOUT) {
            return { { BuildLogoutReply(Mac(1), 1), "127.0.1.1" } };
        }
        return {};
    };
    ASSERT_TRUE(engine->SendLogout(0));
    EXPECT_FALSE(engine->LoggedIn);
    EXPECT_EQ(engine->PendingOp, OP_NONE);
    EXPECT_FALSE(engine->TimerWait->Enabled());
    ASSERT_TRUE(WaitLog("TFormUDP::RecvLogout()"));
    ASSERT_TRUE(WaitLog("  ignore data"));
    DrainEvents();
    EXPECT_TRUE(main.Messages.empty());

    // With a wait, the reply is taken: a successful logout ends the login.
    engine->LoggedIn = true;
    ASSERT_TRUE(engine->SendLogout(5000));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_LOGOUT, 1 }));
    EXPECT_FALSE(engine->LoggedIn);
}

TEST_F(EngineTest, SurveyAndStationPin)
{
    LoginOne();
    tag_AP_ROFIILE a {}, b {};
    a.EntryFlag = true;
    std::strcpy(a.SSID, "neighbour");
    a.Signal = 87;
    a.Channel = 11;
    a.WPS = false;
    b.EntryFlag = true;
    std::strcpy(b.SSID, "wps-ap");
    b.Signal = 40;
    b.Channel = 1;
    b.WPS = true;
    dev.OnRequest = [&](const SeenRequest& r) -> std::vector<Reply> {
        if (r.Req.Cmd == CMD_SITE_SURVEY) {
            return { { BuildSiteSurveyReply(Mac(1), { a, b }), "127.0.1.1" } };
        }
        if (r.Req.Cmd == CMD_STATION_GET_CONFIG) {
            return { { BuildStationGetConfigReply(Mac(1), "87654321"), "127.0.1.1" } };
        }
        return {};
    };
    ASSERT_TRUE(engine->SendSiteSurvey(5000));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_SITE_SURVEY, 0 }));
    std::vector<tag_AP_ROFIILE> all, wps;
    engine->GetSurveyList(all);
    engine->GetWpsSurveyList(wps);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_STREQ(all[0].SSID, "neighbour");
    EXPECT_EQ(all[0].Signal, 87);
    EXPECT_EQ(all[1].Channel, 1);
    ASSERT_EQ(wps.size(), 1u);
    EXPECT_STREQ(wps[0].SSID, "wps-ap");

    main.Messages.clear();
    ASSERT_TRUE(engine->SendStationGetConfig(5000));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_STATION_GET_CONFIG, 1 }));
    EXPECT_STREQ(g_Var.ApClientPIN, "87654321");
}

TEST_F(EngineTest, DumpsShowPlainPacketsAndWireCarriesAdapterMacAndCipher)
{
    DiscoverOne();
    g_Var.Password = QStringLiteral("pw");
    dev.Password = "pw";
    std::memcpy(g_Var.SelectedDevice.DevMAC, Mac(1).data(), 6);
    dev.OnRequest = [](const SeenRequest&) -> std::vector<Reply> {
        return { { BuildLoginReply(Mac(1), 1, std::nullopt), "127.0.1.1" } };
    };
    log.Clear();
    ASSERT_TRUE(engine->SendLogin(5000));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));

    // The Tx dump: header line, then 119 bytes at sixteen to a line (7 full lines and 7 bytes).
    const std::vector<std::string> lines = log.Lines();
    const auto tx = std::find(lines.begin(), lines.end(), "[Tx] size=119");
    ASSERT_NE(tx, lines.end());
    std::vector<std::uint8_t> dumped;
    for (auto it = tx + 1; it != lines.end() && it <= tx + 8; ++it) {
        for (std::size_t p = 0; p + 3 <= it->size(); p += 3) {
            ASSERT_EQ((*it)[p + 2], ' ');
            dumped.push_back(std::uint8_t(std::stoul(it->substr(p, 2), nullptr, 16)));
        }
        if (it - tx < 8) {
            EXPECT_EQ(it->size(), 48u) << *it;
        }
    }
    EXPECT_EQ(tx[8].size(), 7u * 3);
    ASSERT_EQ(dumped.size(), 119u);
    EXPECT_EQ(MacFromBytes(dumped.data() + HDR_MAC), kOwn) << "the dump shows OwnMAC";
    const std::string phrase(reinterpret_cast<const char*>(dumped.data()) + 28, AUTH_PHRASE_LEN);
    EXPECT_EQ(phrase, std::string(AUTH_PHRASE)) << "the dump shows the plain phrase";

    // On the wire: lo's adapter MAC and the enciphered payload.
    const SeenRequest& login = dev.Requests.back();
    ASSERT_EQ(login.Wire.size(), 119u);
    EXPECT_EQ(MacFromBytes(login.Wire.data() + HDR_MAC), MacFromBytes(engine->Sockets()[0]->MAC));
    EXPECT_NE(0, std::memcmp(login.Wire.data() + 28, AUTH_PHRASE, AUTH_PHRASE_LEN));
    EXPECT_EQ(0, std::memcmp(login.Plain.data() + 18, dumped.data() + 18, 101));

    // The Rx dump names the source and shows the deciphered reply.
    const Packet reply = BuildLoginReply(Mac(1), 1, std::nullopt);
    const std::string rxHeader = "[Rx] 127.0.1.1:5432 size=" + std::to_string(reply.size());
    const auto rx = std::find(lines.begin(), lines.end(), rxHeader);
    ASSERT_NE(rx, lines.end());
    char first[64];
    std::snprintf(first, sizeof(first), "%02X %02X %02X ", reply[18], reply[19], reply[20]);
    EXPECT_EQ(rx[2].substr(6, 9), std::string(first)) << "payload shown in plain text";
}

TEST_F(EngineTest, MalformedDatagramsAreDroppedWithTheirLogLine)
{
    DiscoverOne();
    std::memcpy(g_Var.SelectedDevice.DevMAC, Mac(1).data(), 6);
    dev.OnRequest = {};
    ASSERT_TRUE(engine->SendGetConfig(60000));
    const MacAddress socketMac = MacFromBytes(engine->Sockets()[0]->MAC);

    tag_IP_CONFIG ip {};
    ip.LAN_IP = 0x0A0B0C0D;
    const Packet good = BuildGetConfigReply(Mac(1), ip, {}, DEVICE_AP);
    auto withMac = [&](const MacAddress& mac) {
        Packet p = good;
        SetPacketMac(p, mac);
        return p;
    };
    auto edit = [&](std::size_t at, std::uint8_t value) {
        Packet p = good;
        p[at] = value;
        return p;
    };
    Packet shortOne(good.begin(), good.begin() + 17);
    Packet extraByte = good;
    extraByte.push_back(0);
    Packet cmd5 = edit(HDR_CMD, 5);
    Packet cmd12 = edit(HDR_CMD, 12);
    struct Case
    {
        const char* name;
        Packet data;
        std::string line;
    };
    const std::vector<Case> cases = {
        { "17 bytes", shortOne, "TFormUDP::ProcRecvData() FAIL length" },
        { "magic", edit(3, 'x'), "TFormUDP::ProcRecvData() FAIL magic word" },
        { "version", edit(HDR_VERSION, 3), "TFormUDP::ProcRecvData() FAIL version" },
        { "adapter MAC", withMac(socketMac), "TFormUDP::ProcRecvData() FAIL received a request" },
        { "OwnMAC", withMac(kOwn), "TFormUDP::ProcRecvData() FAIL received a request" },
        { "total length", extraByte, "TFormUDP::ProcRecvData() FAIL total length" },
        { "command 5", cmd5, "" },
        { "command 12", cmd12, "" },
    };
    for (const Case& c : cases) {
        log.Clear();
        Packet wire = c.data;
        if (wire.size() >= PACKET_HEADER_SIZE) {
            CipherPayload(wire, "");
        }
        ASSERT_TRUE(dev.SendToEngine(wire, "127.0.1.1", true)) << c.name;
        if (!c.line.empty()) {
            ASSERT_TRUE(WaitLog(c.line)) << c.name;
            EXPECT_FALSE(log.Text().find("[Rx]") != std::string::npos) << c.name;
        } else {
            ASSERT_TRUE(WaitFor([&] { return log.Text().find("[Rx]") != std::string::npos; })) << c.name;
            EXPECT_EQ(log.Text().find("TFormUDP::Recv"), std::string::npos) << c.name;
        }
        DrainEvents();
        EXPECT_TRUE(main.Messages.empty()) << c.name;
        EXPECT_EQ(engine->PendingOp, OP_GET_CONFIG) << c.name;
        EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0u) << c.name;
    }

    // The good reply still gets through afterwards.
    ASSERT_TRUE(dev.SendToEngine(good, "127.0.1.1"));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV));
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0x0A0B0C0Du);
}

TEST_F(EngineTest, LargestDatagramIsDecipheredWhole)
{
    DiscoverOne();
    g_Var.Password = QStringLiteral("long");
    dev.Password = "long";
    dev.OnRequest = {};
    ASSERT_TRUE(engine->SendGetConfig(60000));

    // 65,507 bytes: 254 oversized SSID items, then a channel item whose value lies past 32,767.
    Packet big(MAX_UDP_DATAGRAM, 0);
    std::memcpy(big.data(), "SWP12345", 8);
    big[HDR_VERSION] = 2;
    std::memcpy(big.data() + HDR_MAC, Mac(1).data(), 6);
    big[HDR_CMD] = CMD_GET_CONFIG;
    const std::size_t payload = MAX_UDP_DATAGRAM - PACKET_HEADER_SIZE;
    big[HDR_LEN] = std::uint8_t(payload >> 8);
    big[HDR_LEN + 1] = std::uint8_t(payload);
    std::size_t o = PACKET_HEADER_SIZE;
    for (int n = 0; n < 254; ++n) {
        big[o] = WL_SSID;
        big[o + 1] = 255;
        for (std::size_t k = 0; k < 255; k += 2) {
            big[o + 2 + k] = 0xC3;
            if (k + 1 < 255) {
                big[o + 3 + k] = 0xA9; // "é"
            }
        }
        o += 257;
    }
    big[o] = WL_STD_CH;
    big[o + 1] = std::uint8_t(MAX_UDP_DATAGRAM - o - 2);
    big[o + 2] = 7;
    ASSERT_EQ(o + 2 + big[o + 1], MAX_UDP_DATAGRAM);
    ASSERT_TRUE(dev.SendToEngine(big, "127.0.1.1"));
    ASSERT_TRUE(WaitPosted(UM_UDP_RECV, 1, 15000));
    EXPECT_EQ(main.Messages[0], (Posted { UM_UDP_RECV, OP_GET_CONFIG, 1 }));
    EXPECT_EQ(g_Var.DevWlConfig.WL_STD_CH, 7) << "the tail past 32,767 bytes was deciphered";
    // The SSID is cut to its field on a character boundary: sixteen "é".
    EXPECT_EQ(std::strlen(g_Var.DevWlConfig.WL_SSID), 32u);
    EXPECT_EQ(static_cast<unsigned char>(g_Var.DevWlConfig.WL_SSID[31]), 0xA9);
}

TEST_F(EngineTest, DestroyingTheEngineLogsOutADeviceStillLoggedIn)
{
    LoginOne();
    dev.OnRequest = {};
    const std::size_t before = dev.Requests.size();
    engine.reset();
    ASSERT_TRUE(WaitFor([&] { return dev.Requests.size() > before; }));
    EXPECT_EQ(dev.Requests.back().Req.Cmd, CMD_LOGOUT);
    EXPECT_EQ(dev.Requests.back().LocalPort, 6000);
    EXPECT_EQ(dev.Requests.back().Wire.size(), 18u);
}

TEST_F(EngineTest, NoAdapterReportsTheAdapterError)
{
    const QByteArray saved = qgetenv("QRX_ADAPTERS");
    qputenv("QRX_ADAPTERS", "qrx-no-such-if");
    QStringList shown;
    SetSimpleMessageHandler([&](const QString& text) { shown << text; });
    EXPECT_FALSE(engine->SendDiscover(100, true));
    qputenv("QRX_ADAPTERS", saved);
    EXPECT_EQ(shown, QStringList { QStringLiteral("Unable to initialize adapter interface.") });
    EXPECT_TRUE(log.Has("TFormUDP::SendDiscover() FAIL init interface"));
    EXPECT_TRUE(engine->Sockets().empty());
    EXPECT_EQ(engine->PendingOp, OP_NONE);
    EXPECT_TRUE(dev.Requests.empty());
}
