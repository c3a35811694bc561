// The access point emulator as a device: requests built by the codec's client side, sent over
// loopback, and the replies, events and request log checked.
#include "apsim_harness.h"

#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

using namespace apsimtest;

namespace {

#ifndef QRX_APSIM_EXE
#define SKIP_WITHOUT_APSIM() GTEST_SKIP() << "qrx-apsim is not built"
#else
#define SKIP_WITHOUT_APSIM() (void)0
#endif

QJsonObject ReadState(const QString& path, int k)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QJsonArray devices = QJsonDocument::fromJson(f.readAll()).object().value(u"devices").toArray();
    return k >= 1 && k <= devices.size() ? devices.at(k - 1).toObject() : QJsonObject {};
}

int Result(const std::optional<Packet>& reply)
{
    return reply ? DecodeResultReply(reply->data(), reply->size()) : -1;
}

std::vector<std::uint8_t> ItemTypes(const Packet& p)
{
    std::vector<std::uint8_t> types;
    TlvReader r(PacketPayload(p.data(), p.size()));
    Tlv t;
    while (r.Next(t)) {
        types.push_back(t.Type);
    }
    return types;
}

// One emulator process with its client and state file.
struct Session
{
    ApsimProcess sim;
    ProtocolClient client;
    QString statePath;

    // Starts the emulator with the arguments and, when given, a configuration text.
    bool Start(QStringList args, const std::string& config = {})
    {
        if (!config.empty()) {
            args << QStringLiteral("--config") << sim.WriteConfig(config);
        }
        statePath = sim.TempPath(QStringLiteral("state.json"));
        args << QStringLiteral("--state") << statePath;
        return sim.Start(args) && client.Ok();
    }
};

class ApsimTest : public ::testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_APSIM(); }

    void StartSim(const QStringList& args, const std::string& config = {})
    {
        ASSERT_TRUE(session.Start(args, config)) << "the emulator did not start";
    }

    Session session;
    ApsimProcess& sim = session.sim;
    ProtocolClient& client = session.client;
    QString& statePath = session.statePath;
};

// ---------------------------------------------------------------------------------------------
// Discovery and login
// ---------------------------------------------------------------------------------------------

TEST_F(ApsimTest, DiscoveryAnswersFromEveryDeviceAddressWithItsName)
{
    StartSim({ QStringLiteral("--devices"), QStringLiteral("3") });
    client.Send(BuildDiscoverRequest(client.Mac()), {}, sim.Port());
    auto replies = client.Collect(3, 3000);
    ASSERT_EQ(replies.size(), 3u);
    std::sort(replies.begin(), replies.end(),
        [](const Datagram& a, const Datagram& b) { return a.SourceIp < b.SourceIp; });
    for (int k = 1; k <= 3; ++k) {
        const Datagram& d = replies[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(d.SourceIp, FIRST_DEVICE + static_cast<std::uint32_t>(k - 1));
        EXPECT_EQ(d.SourcePort, sim.Port());
        ReceiveContext ctx;
        EXPECT_EQ(CheckReceivedPacket(d.Bytes.data(), d.Bytes.size(), ctx), RecvCheck::Ok);
        tag_DEV_INFO info;
        ASSERT_TRUE(DecodeDiscoverReply(d.Bytes.data(), d.Bytes.size(), info));
        EXPECT_STREQ(info.DevName, ("QRX-512 #" + std::to_string(k)).c_str());
        EXPECT_EQ(MacFromBytes(info.DevMAC), DeviceMac(k));
        EXPECT_EQ(info.DevMAC[0] & 0x02, 0x02) << "locally administered";
    }
    EXPECT_TRUE(sim.WaitForLineContaining("REQ dev=all"));
    EXPECT_TRUE(sim.WaitForLineContaining("DISCOVER replies=3"));

    // Sent to one device's own address, only that device answers.
    client.Send(BuildDiscoverRequest(client.Mac()), {}, sim.Port(), FIRST_DEVICE + 1);
    const auto one = client.Collect(3, 500);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].SourceIp, FIRST_DEVICE + 1);
}

TEST_F(ApsimTest, LoginNeedsTheDevicesMacPasswordAndPhrase)
{
    StartSim({ QStringLiteral("--devices"), QStringLiteral("2"), QStringLiteral("--password"),
        QStringLiteral("secret") });

    // Wrong password: the login deciphers to noise and no device answers.
    EXPECT_FALSE(Exchange(client, sim, BuildLoginRequest(client.Mac(), DeviceMac(1).data()), "wrong", 500));
    EXPECT_TRUE(sim.WaitForLineContaining("note=login-not-for-any-device"));

    // Readable login with a wrong phrase: result 0, and configuration stays closed.
    PacketWriter w(client.Mac());
    w.AddTlv(DEVICE_MAC, DeviceMac(1).data(), 6);
    w.AddTlvText(TLVTYPE_OTHER_AUTH, "not the phrase");
    auto reply = Exchange(client, sim, w.Finish(CMD_LOGIN), "secret");
    ASSERT_TRUE(reply);
    EXPECT_EQ(DecodeLoginReply(reply->data(), reply->size()).Result, 0);
    EXPECT_FALSE(Exchange(client, sim, BuildGetConfigRequest(client.Mac()), "secret", 300));
    EXPECT_TRUE(sim.WaitForLineContaining("note=not-logged-in"));

    // The right login for device 2: only device 2 answers, from its own address.
    client.Drain();
    client.Send(BuildLoginRequest(client.Mac(), DeviceMac(2).data()), "secret", sim.Port());
    const auto replies = client.Collect(2, 500);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].SourceIp, FIRST_DEVICE + 1);
    const Packet plain = Plain(replies[0], "secret");
    const LoginReply login = DecodeLoginReply(plain.data(), plain.size());
    EXPECT_EQ(login.Result, 1);
    EXPECT_FALSE(login.HasPort);
    EXPECT_TRUE(sim.WaitForLineContaining("REQ dev=2 from=127.0.0.1:" + std::to_string(client.LocalPort())));
    EXPECT_TRUE(sim.WaitForLineContaining("TLVTYPE_OTHER_AUTH=\"QRX-512 Unit has been verified here;"));

    // Another client (other port) is not the logged-in one.
    ProtocolClient other;
    EXPECT_FALSE(Exchange(other, sim, BuildGetConfigRequest(other.Mac()), "secret", 300));
    // The logged-in one is served.
    EXPECT_TRUE(Exchange(client, sim, BuildGetConfigRequest(client.Mac()), "secret"));
    EXPECT_TRUE(ReadState(statePath, 2).value(u"logged_in").toBool());
}

// ---------------------------------------------------------------------------------------------
// Every command after a login
// ---------------------------------------------------------------------------------------------

TEST_F(ApsimTest, ConfigurationCommandsAnswerAndChangeTheDevice)
{
    StartSim({ QStringLiteral("--devices"), QStringLiteral("1") });
    ASSERT_TRUE(Login(client, sim, 1));

    // Factory configuration.
    auto reply = Exchange(client, sim, BuildGetConfigRequest(client.Mac()));
    ASSERT_TRUE(reply);
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    int mode = 0;
    DecodeGetConfigReply(reply->data(), reply->size(), ip, wl, mode);
    EXPECT_EQ(mode, DEVICE_AP);
    EXPECT_EQ(ip.IP_MODE, 0u);
    EXPECT_EQ(ip.LAN_IP, FIRST_DEVICE);
    EXPECT_STREQ(wl.WL_SSID, "wireless");
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(wl.WL_CH_LIST)), std::string("\1\2\3\4\5\6\7\10\11\12\13"));
    EXPECT_EQ(wl.WL_SECURITY_MODE, 0);
    const std::uint32_t pin = wl.WL_WPS_PIN;
    std::uint32_t sum = 0;
    for (std::uint32_t p = pin, i = 0; i < 8; ++i, p /= 10) {
        sum += (i % 2 == 1 ? 3 : 1) * (p % 10);
    }
    EXPECT_EQ(sum % 10, 0u) << "the factory WPS PIN has a valid checksum";

    tag_IP_CONFIG staticIp;
    staticIp.IP_MODE = 0;
    staticIp.LAN_IP = 0x7F000109;
    staticIp.LAN_NETMASK = 0xFF000000;
    staticIp.LAN_GATEWAY = 0x7F000001;
    tag_IP_CONFIG dhcp;
    dhcp.IP_MODE = 1;
    tag_WL_CONFIG wpa;
    CopyTextField(wpa.WL_SSID, "office");
    wpa.WL_STD_CH = 6;
    wpa.WL_EXT_CH = 2;
    wpa.WL_MODE = 9;
    wpa.WL_SECURITY_MODE = 2;
    wpa.WL_WPA_MODE = 1;
    wpa.WL_WPA_CIPHER = 1;
    CopyTextField(wpa.WL_WPA_PSK, "passphrase1");
    tag_WL_CONFIG shortPsk = wpa;
    CopyTextField(shortPsk.WL_WPA_PSK, "short");
    tag_WL_CONFIG wep = wpa;
    wep.WL_SECURITY_MODE = 1;
    wep.WL_AUTH_MODE = 1;
    CopyTextField(wep.WL_WEPKEY, "0123456789abc");
    tag_WL_CONFIG badChannel = wpa;
    badChannel.WL_STD_CH = 14;
    tag_WL_CONFIG goodPin;
    goodPin.WpsPinInput = 12345670; // checksum 0
    tag_WL_CONFIG badPin;
    badPin.WpsPinInput = 12345678;
    tag_WL_CONFIG station = wpa;
    CopyTextField(station.WL_SSID, "HomeNet");

    struct Row
    {
        const char* Name;
        Packet Request;
        std::uint8_t ReplyCmd;
        int Result; // -1: not a result reply
        const char* LogKey;
    };
    const MacAddress& m = client.Mac();
    const Row rows[] = {
        { "static IP", BuildIPSettingRequest(m, staticIp), CMD_SET_CONFIG, 1, "key=set_ip" },
        { "DHCP", BuildIPSettingRequest(m, dhcp), CMD_SET_CONFIG, 1, "key=set_ip" },
        { "WPA profile", BuildWlSettingRequest(m, wpa), CMD_SET_CONFIG, 1, "key=set_wireless" },
        { "short passphrase", BuildWlSettingRequest(m, shortPsk), CMD_SET_CONFIG, 0, nullptr },
        { "channel not offered", BuildWlSettingRequest(m, badChannel), CMD_SET_CONFIG, 0, nullptr },
        { "WEP profile", BuildWlSettingRequest(m, wep), CMD_SET_CONFIG, 1, "WL_WEPKEY=\"0123456789abc\"" },
        { "WPS push button", BuildWPSPBCRequest(m), CMD_SET_CONFIG, 1, "key=wps_pbc items=WL_WPS_PBC" },
        { "WPS PIN", BuildWPSPINRequest(m, goodPin), CMD_SET_CONFIG, 1,
            "key=wps_pin items=WL_WPS_PIN=\"12345670\"" },
        { "WPS PIN bad checksum", BuildWPSPINRequest(m, badPin), CMD_SET_CONFIG, 0, nullptr },
        { "mode 7", BuildSetModeRequest(m, 7), CMD_SET_CONFIG, 0, nullptr },
        { "bridge mode", BuildSetModeRequest(m, DEVICE_WBRIDGE), CMD_SET_CONFIG, 1,
            "key=set_mode items=DEVICE_MODE=2" },
        { "station profile", BuildWlStationSettingRequest(m, station), CMD_STATION_SET_CONFIG, 1,
            "key=station_set items=WL_SSID=\"HomeNet\" WL_STA_FLAG=1" },
        { "station WPS PIN", BuildStationWPSPINRequest(m, station), CMD_SET_CONFIG, 1,
            "WL_WPS_PIN=\"HomeNet\"" },
        { "get mode", BuildGetModeRequest(m), CMD_GET_CONFIG, -1, "key=get_mode" },
        { "site survey", BuildSiteSurveyRequest(m), CMD_SITE_SURVEY, -1, "key=survey" },
        { "station get-config", BuildStationGetConfigRequest(m), CMD_STATION_GET_CONFIG, -1,
            "key=station_get_config" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const auto r = Exchange(client, sim, row.Request);
        ASSERT_TRUE(r) << "no reply";
        ReceiveContext ctx;
        ctx.PeerMAC = DeviceMac(1);
        EXPECT_EQ(CheckReceivedPacket(r->data(), r->size(), ctx), RecvCheck::Ok);
        EXPECT_EQ((*r)[HDR_CMD], row.ReplyCmd);
        if (row.Result >= 0) {
            EXPECT_EQ(Result(r), row.Result);
        }
        if (row.LogKey) {
            EXPECT_TRUE(sim.WaitForLineContaining(row.LogKey)) << row.LogKey;
        }
        if (row.ReplyCmd == CMD_GET_CONFIG) {
            EXPECT_EQ(ItemTypes(*r), std::vector<std::uint8_t> { DEVICE_MODE });
            int m2 = 0;
            DecodeGetConfigReply(r->data(), r->size(), ip, wl, m2);
            EXPECT_EQ(m2, DEVICE_WBRIDGE);
        }
        if (row.ReplyCmd == CMD_SITE_SURVEY) {
            EXPECT_EQ((r->size() - PACKET_HEADER_SIZE) % SURVEY_ENTRY_SIZE, 0u);
            std::vector<tag_AP_ROFIILE> list;
            DecodeSiteSurveyReply(r->data(), r->size(), list);
            ASSERT_EQ(list.size(), 5u);
            EXPECT_STREQ(list[0].SSID, "HomeNet");
            EXPECT_TRUE(std::any_of(list.begin(), list.end(), [](const tag_AP_ROFIILE& a) { return a.WPS; }));
            EXPECT_TRUE(
                std::any_of(list.begin(), list.end(), [](const tag_AP_ROFIILE& a) { return !a.WPS; }));
            EXPECT_TRUE(std::any_of(
                list.begin(), list.end(), [](const tag_AP_ROFIILE& a) { return a.Encryption == 0; }));
            EXPECT_TRUE(std::any_of(
                list.begin(), list.end(), [](const tag_AP_ROFIILE& a) { return a.Encryption == 1; }));
        }
        if (row.ReplyCmd == CMD_STATION_GET_CONFIG) {
            char pinText[12] = {};
            DecodeStationGetConfigReply(r->data(), r->size(), pinText);
            EXPECT_EQ(std::strlen(pinText), 8u);
        }
    }

    // What the writes left: the WEP profile (the last accepted), DHCP, bridge mode, station.
    reply = Exchange(client, sim, BuildGetConfigRequest(client.Mac()));
    ASSERT_TRUE(reply);
    DecodeGetConfigReply(reply->data(), reply->size(), ip, wl, mode);
    EXPECT_EQ(ip.IP_MODE, 1u);
    EXPECT_STREQ(wl.WL_SSID, "office");
    EXPECT_EQ(wl.WL_STD_CH, 6);
    EXPECT_EQ(wl.WL_SECURITY_MODE, 1);
    EXPECT_EQ(wl.WL_AUTH_MODE, 1);
    EXPECT_EQ(wl.WL_WEPKEY_LEN, 1);
    const QJsonObject state = ReadState(statePath, 1);
    EXPECT_EQ(state.value(u"mode").toString(), QStringLiteral("bridge"));
    EXPECT_EQ(state.value(u"ip").toObject().value(u"gateway").toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(
        state.value(u"wireless").toObject().value(u"wep_key").toString(), QStringLiteral("0123456789abc"));
    EXPECT_EQ(state.value(u"station").toObject().value(u"wpa_psk").toString(), QStringLiteral("passphrase1"));
    // The static address was a loopback one: the device took it over and answered from it.
    EXPECT_EQ(state.value(u"address").toString(), QStringLiteral("127.0.1.9"));

    // Logout ends the session.
    EXPECT_EQ(Result(Exchange(client, sim, BuildLogoutRequest(client.Mac()))), 1);
    EXPECT_FALSE(Exchange(client, sim, BuildGetConfigRequest(client.Mac()), {}, 300));
    EXPECT_FALSE(ReadState(statePath, 1).value(u"logged_in").toBool());
}

// ---------------------------------------------------------------------------------------------
// Faults
// ---------------------------------------------------------------------------------------------

struct FaultRow
{
    const char* Name;
    const char* Fault; // JSON of faults
    std::function<Packet(const MacAddress&)> Request;
    std::function<void(const std::vector<Datagram>&, Session&)> Check;
    int Sends = 1;
    std::size_t Expect = 1; // datagrams to wait for
    int WaitMs = 1500;
};

TEST_F(ApsimTest, EachFaultShowsOnTheWire)
{
    auto discover = [](const MacAddress& m) { return BuildDiscoverRequest(m); };
    auto getConfig = [](const MacAddress& m) { return BuildGetConfigRequest(m); };
    auto survey = [](const MacAddress& m) { return BuildSiteSurveyRequest(m); };
    auto check = [](RecvCheck expected) {
        return [expected](const std::vector<Datagram>& d, Session&) {
            ASSERT_EQ(d.size(), 1u);
            EXPECT_EQ(CheckReceivedPacket(d[0].Bytes.data(), d[0].Bytes.size(), ReceiveContext {}), expected);
        };
    };
    const FaultRow rows[] = {
        { "drop the first two", R"({"discover": {"drop": 2}})", discover,
            [](const std::vector<Datagram>& d, Session&) {
                EXPECT_EQ(d.size(), 1u) << "only the third answer";
            },
            3, 3, 800 },
        { "drop all", R"({"get_config": {"drop": "all"}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) { EXPECT_TRUE(d.empty()); }, 2, 2, 500 },
        { "duplicate", R"({"get_config": {"duplicate": 2}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 3u);
                EXPECT_EQ(d[0].Bytes, d[1].Bytes);
                EXPECT_EQ(d[1].Bytes, d[2].Bytes);
            },
            1, 4, 800 },
        { "result 0", R"({"set_mode": {"result": 0}})",
            [](const MacAddress& m) { return BuildSetModeRequest(m, DEVICE_WBRIDGE); },
            [](const std::vector<Datagram>& d, Session& t) {
                ASSERT_EQ(d.size(), 1u);
                const Packet p = Plain(d[0], {});
                EXPECT_EQ(DecodeResultReply(p.data(), p.size()), 0);
                EXPECT_EQ(ReadState(t.statePath, 1).value(u"mode").toString(), QStringLiteral("ap"))
                    << "a refused write changes nothing";
            } },
        { "corrupt magic", R"({"discover": {"corrupt": "magic"}})", discover, check(RecvCheck::Magic) },
        { "corrupt version", R"({"get_config": {"corrupt": "version"}})", getConfig,
            check(RecvCheck::Version) },
        { "corrupt length", R"({"get_config": {"corrupt": "length"}})", getConfig,
            check(RecvCheck::TotalLength) },
        { "short datagram", R"({"get_config": {"corrupt": "short"}})", getConfig, check(RecvCheck::Length) },
        { "wrong sender MAC", R"({"get_config": {"wrong_mac": "02:00:00:00:0b:ad"}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                ReceiveContext ctx;
                ctx.PeerMAC = DeviceMac(1);
                EXPECT_EQ(CheckReceivedPacket(d[0].Bytes.data(), d[0].Bytes.size(), ctx), RecvCheck::PeerMac);
                EXPECT_EQ(MacFromBytes(d[0].Bytes.data() + HDR_MAC), (MacAddress { 2, 0, 0, 0, 0x0B, 0xAD }));
            } },
        { "truncated item", R"({"get_config": {"truncate_tlv": true}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                const Packet p = Plain(d[0], {});
                EXPECT_EQ(CheckReceivedPacket(p.data(), p.size(), ReceiveContext {}), RecvCheck::Ok);
                TlvReader r(PacketPayload(p.data(), p.size()));
                Tlv t;
                int n = 0;
                while (r.Next(t)) {
                    ++n;
                }
                EXPECT_TRUE(r.Truncated());
                EXPECT_GT(n, 10) << "the items before the truncated one are whole";
            } },
        { "unknown items", R"({"get_config": {"unknown_tlv": true}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                const auto types = ItemTypes(Plain(d[0], {}));
                ASSERT_FALSE(types.empty());
                EXPECT_EQ(types.front(), 0xEE);
                EXPECT_EQ(types.back(), 0x7D);
                EXPECT_NE(std::find(types.begin(), types.end(), WL_SSID), types.end());
            } },
        { "oversized name", R"({"discover": {"oversize": true}})", discover,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                TlvReader r(PacketPayload(d[0].Bytes.data(), d[0].Bytes.size()));
                Tlv t;
                ASSERT_TRUE(r.Next(t));
                EXPECT_EQ(t.Type, DEVICE_NAME);
                EXPECT_EQ(t.Len, 255);
                tag_DEV_INFO info;
                EXPECT_TRUE(DecodeDiscoverReply(d[0].Bytes.data(), d[0].Bytes.size(), info));
                EXPECT_EQ(std::strlen(info.DevName), 33u);
            } },
        { "oversized SSID", R"({"get_config": {"oversize": true}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                const Packet p = Plain(d[0], {});
                TlvReader r(PacketPayload(p.data(), p.size()));
                Tlv t;
                bool seen = false;
                while (r.Next(t)) {
                    if (t.Type == WL_SSID) {
                        seen = true;
                        EXPECT_EQ(t.Len, 255);
                        EXPECT_EQ(t.Text().substr(0, 8), "wireless");
                    }
                }
                EXPECT_TRUE(seen);
            } },
        { "oversized PIN", R"({"station_get_config": {"oversize": true}})",
            [](const MacAddress& m) { return BuildStationGetConfigRequest(m); },
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                const Packet p = Plain(d[0], {});
                char pin[12] = {};
                DecodeStationGetConfigReply(p.data(), p.size(), pin);
                EXPECT_EQ(std::strlen(pin), 11u);
                EXPECT_EQ(p.size(), PACKET_HEADER_SIZE + 2 + 255);
            } },
        { "largest survey", R"({"survey": {"max_survey": true}})", survey,
            [](const std::vector<Datagram>& d, Session&) {
                ASSERT_EQ(d.size(), 1u);
                EXPECT_EQ(d[0].Bytes.size(), PACKET_HEADER_SIZE + 1336 * SURVEY_ENTRY_SIZE);
                const Packet p = Plain(d[0], {});
                EXPECT_EQ(CheckReceivedPacket(p.data(), p.size(), ReceiveContext {}), RecvCheck::Ok);
                std::vector<tag_AP_ROFIILE> list;
                DecodeSiteSurveyReply(p.data(), p.size(), list);
                ASSERT_EQ(list.size(), 1336u);
                EXPECT_STREQ(list.back().SSID, "Neighbour-1336");
            } },
        { "any command", R"({"any": {"duplicate": 1}})", getConfig,
            [](const std::vector<Datagram>& d, Session&) { EXPECT_EQ(d.size(), 2u); }, 1, 3, 600 },
    };
    for (const FaultRow& row : rows) {
        SCOPED_TRACE(row.Name);
        Session t;
        ASSERT_TRUE(t.Start({ QStringLiteral("--devices"), QStringLiteral("1") },
            std::string(R"({"devices": [{"faults": )") + row.Fault + "}]}"));
        const Packet probe = row.Request(t.client.Mac());
        if (probe[HDR_CMD] != CMD_DISCOVER) {
            ASSERT_TRUE(Login(t.client, t.sim, 1));
            t.client.Collect(10, 100); // a duplicated login reply may still be on its way
        }
        t.client.Drain();
        for (int i = 0; i < row.Sends; ++i) {
            t.client.Send(probe, {}, t.sim.Port());
        }
        const auto got = t.client.Collect(row.Expect, row.WaitMs);
        row.Check(got, t);
    }
}

TEST_F(ApsimTest, DelayedReplyComesLater)
{
    StartSim({ QStringLiteral("--time-scale"), QStringLiteral("0.1") },
        R"({"devices": [{"faults": {"get_config": {"delay_ms": 3000}}}]})");
    ASSERT_TRUE(Login(client, sim, 1));
    client.Send(BuildGetConfigRequest(client.Mac()), {}, sim.Port());
    EXPECT_FALSE(client.Receive(100)) << "300 ms under the time scale";
    EXPECT_TRUE(client.Receive(3000));
}

// ---------------------------------------------------------------------------------------------
// Login port, idle time-out, broadcast answers
// ---------------------------------------------------------------------------------------------

TEST_F(ApsimTest, LoginReplyNamesAPortTheDeviceThenServes)
{
    const std::uint16_t extra = FreeUdpPort();
    StartSim({ QStringLiteral("--devices"), QStringLiteral("2") },
        R"({"devices": [{"login_port": )" + std::to_string(extra) + "}]}");
    const auto reply = Exchange(client, sim, BuildLoginRequest(client.Mac(), DeviceMac(1).data()));
    ASSERT_TRUE(reply);
    const LoginReply login = DecodeLoginReply(reply->data(), reply->size());
    EXPECT_EQ(login.Result, 1);
    ASSERT_TRUE(login.HasPort);
    EXPECT_EQ(login.Port, extra);
    ASSERT_TRUE(sim.WaitForLineContaining("LISTEN dev=1 port=" + std::to_string(extra)));

    client.Drain();
    client.Send(BuildGetModeRequest(client.Mac()), {}, extra);
    const auto d = client.Receive(2000);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->SourcePort, extra);
    EXPECT_EQ(d->SourceIp, FIRST_DEVICE);
    // Device 2 does not listen there: a discovery on that port gets one answer only.
    client.Send(BuildDiscoverRequest(client.Mac()), {}, extra);
    EXPECT_EQ(client.Collect(2, 500).size(), 1u);
}

TEST_F(ApsimTest, IdleTimeoutDropsTheLoginWithAnEvent)
{
    StartSim({ QStringLiteral("--time-scale"), QStringLiteral("0.01") },
        R"({"devices": [{"idle_timeout_ms": 30000}]})");
    ASSERT_TRUE(Login(client, sim, 1));
    const auto d = client.Receive(5000);
    ASSERT_TRUE(d) << "no time-out event";
    const Packet p = Plain(*d, {});
    EXPECT_EQ(p[HDR_CMD], CMD_EVENT);
    const auto events = DecodeEvent(p.data(), p.size());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Type, TLVTYPE_OTHER_CONNECTTIMEOUT);
    EXPECT_TRUE(sim.WaitForLineContaining("TIMEOUT dev=1"));
    EXPECT_FALSE(Exchange(client, sim, BuildGetConfigRequest(client.Mac()), {}, 300)) << "the login is gone";
}

TEST_F(ApsimTest, BroadcastAnswerStaysOnLoopback)
{
    ProtocolClient listener(FreeUdpPort(), 0 /* any address: broadcasts reach only such sockets */);
    ASSERT_TRUE(listener.Ok());
    StartSim({ QStringLiteral("--reply-port"), QString::number(listener.LocalPort()) },
        R"({"devices": [{"reply_broadcast": true}]})");
    client.Send(BuildDiscoverRequest(client.Mac()), {}, sim.Port());
    const auto d = listener.Receive(2000);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->SourceIp, FIRST_DEVICE);
    EXPECT_FALSE(client.Receive(200)) << "nothing to the requester's own port";
}

// ---------------------------------------------------------------------------------------------
// WPS runs
// ---------------------------------------------------------------------------------------------

TEST_F(ApsimTest, WpsRunsSendTheirStatusEvents)
{
    struct Row
    {
        const char* Outcome;
        bool Bridge;
        std::vector<std::int32_t> MustContain;
        std::int32_t Last;
    };
    const Row rows[] = {
        { "configured", false, { 3 }, 34 },
        { "idle", false, { 3 }, 1 },
        { "wsc_fail", false, { 3 }, 2 },
        { "too_many_ap", false, { 3, 257 }, 2 },
        { "password_mismatch", false, { 3, 262 }, 2 },
        { "configured", true, { 3, 35 }, 34 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Outcome) + (row.Bridge ? " bridge" : " access point"));
        Session t;
        ASSERT_TRUE(t.Start({ QStringLiteral("--time-scale"), QStringLiteral("0.01") },
            std::string(R"({"devices": [{"mode": ")") + (row.Bridge ? "bridge" : "ap")
                + R"(", "wps": {"outcome": ")" + row.Outcome + R"("}}]})"));
        ASSERT_TRUE(Login(t.client, t.sim, 1));
        tag_WL_CONFIG pending;
        CopyTextField(pending.WL_SSID, "Lab-Mixed");
        const Packet request = row.Bridge ? BuildStationWPSPINRequest(t.client.Mac(), pending)
                                          : BuildWPSPBCRequest(t.client.Mac());
        const auto reply = Exchange(t.client, t.sim, request);
        ASSERT_TRUE(reply);
        EXPECT_EQ(Result(reply), 1);
        std::vector<std::int32_t> statuses;
        while (statuses.empty() || (statuses.back() != row.Last && statuses.size() < 40)) {
            const auto d = t.client.Receive(3000);
            ASSERT_TRUE(d) << "the run stopped after " << statuses.size() << " events";
            const Packet p = Plain(*d, {});
            ASSERT_EQ(p[HDR_CMD], CMD_EVENT);
            for (const DeviceEvent& e : DecodeEvent(p.data(), p.size())) {
                ASSERT_EQ(e.Type, TLVTYPE_OTHER_WPS_STATUS);
                statuses.push_back(e.WpsStatus);
            }
        }
        EXPECT_EQ(statuses.front(), 3) << "Start WSC Process first";
        EXPECT_EQ(statuses.back(), row.Last);
        for (std::int32_t s : row.MustContain) {
            EXPECT_NE(std::find(statuses.begin(), statuses.end(), s), statuses.end()) << s;
        }
        EXPECT_FALSE(t.client.Receive(100)) << "nothing after the last status";
        EXPECT_TRUE(t.sim.WaitForLineContaining("status=" + std::to_string(row.Last)));
        if (row.Bridge) {
            ASSERT_TRUE(t.sim.WaitForLine([&](const std::string&) {
                return ReadState(t.statePath, 1).value(u"station").toObject().value(u"ssid").toString()
                    == QStringLiteral("Lab-Mixed");
            }));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// A thousand devices, the state file across runs, the command line
// ---------------------------------------------------------------------------------------------

TEST_F(ApsimTest, AThousandDevicesAllAnswerOneDiscovery)
{
    StartSim({ QStringLiteral("--devices"), QStringLiteral("1000") });
    client.Send(BuildDiscoverRequest(client.Mac()), {}, sim.Port());
    const auto replies = client.Collect(1000, 10000);
    std::set<MacAddress> macs;
    std::set<std::uint32_t> addresses;
    for (const Datagram& d : replies) {
        macs.insert(MacFromBytes(d.Bytes.data() + HDR_MAC));
        addresses.insert(d.SourceIp);
    }
    EXPECT_EQ(macs.size(), 1000u);
    EXPECT_EQ(addresses.size(), 1000u);
    EXPECT_EQ(*addresses.rbegin(), FIRST_DEVICE + 999);
    ASSERT_TRUE(sim.WaitForLineContaining("DISCOVER replies=1000"));
    const auto lines = sim.LinesContaining("DISCOVER replies=1000");
    ASSERT_EQ(lines.size(), 1u);
    RecordProperty("apsim_discover_1000", lines[0]);
    std::printf("qrx-apsim: %s\n", lines[0].c_str());
}

TEST_F(ApsimTest, StateFileKeepsSettingsAcrossRuns)
{
    StartSim({ QStringLiteral("--devices"), QStringLiteral("2") });
    ASSERT_TRUE(Login(client, sim, 2));
    tag_WL_CONFIG profile;
    CopyTextField(profile.WL_SSID, "kept");
    profile.WL_MODE = 9;
    EXPECT_EQ(Result(Exchange(client, sim, BuildWlSettingRequest(client.Mac(), profile))), 1);
    ASSERT_TRUE(sim.Stop());

    ApsimProcess again;
    ASSERT_TRUE(again.Start(
        { QStringLiteral("--devices"), QStringLiteral("2"), QStringLiteral("--state"), statePath }));
    ProtocolClient c2;
    ASSERT_TRUE(Login(c2, again, 2));
    const auto reply = Exchange(c2, again, BuildGetConfigRequest(c2.Mac()));
    ASSERT_TRUE(reply);
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    int mode = 0;
    DecodeGetConfigReply(reply->data(), reply->size(), ip, wl, mode);
    EXPECT_STREQ(wl.WL_SSID, "kept");
    EXPECT_EQ(ReadState(statePath, 1).value(u"wireless").toObject().value(u"ssid").toString(),
        QStringLiteral("wireless"));
}

TEST_F(ApsimTest, ExampleConfigurationFromTheReadme)
{
    const QString example = QStringLiteral(QRX_SOURCE_DIR "/tests/tools/fixtures/apsim_example.json");
    StartSim({ QStringLiteral("--config"), example });
    client.Send(BuildDiscoverRequest(client.Mac()), {}, sim.Port());
    auto replies = client.Collect(3, 2000);
    ASSERT_EQ(replies.size(), 3u);
    std::set<std::string> names;
    for (const Datagram& d : replies) {
        tag_DEV_INFO info;
        DecodeDiscoverReply(d.Bytes.data(), d.Bytes.size(), info);
        names.insert(info.DevName);
    }
    EXPECT_EQ(names, (std::set<std::string> { "Lobby", "Warehouse bridge", "QRX-512 #3" }));
    // The second device is a bridge with its own password and the Lobby device's faults do not
    // touch it.
    ASSERT_TRUE(Login(client, sim, 2, "bridge-pw"));
    const auto mode = Exchange(client, sim, BuildGetModeRequest(client.Mac()), "bridge-pw");
    ASSERT_TRUE(mode);
    tag_IP_CONFIG ip;
    tag_WL_CONFIG wl;
    int m = 0;
    DecodeGetConfigReply(mode->data(), mode->size(), ip, wl, m);
    EXPECT_EQ(m, DEVICE_WBRIDGE);
}

TEST(ApsimCommandLine, HelpBadOptionsAndBadConfiguration)
{
#ifndef QRX_APSIM_EXE
    GTEST_SKIP() << "qrx-apsim is not built";
#else
    QProcess p;
    p.start(QStringLiteral(QRX_APSIM_EXE), { QStringLiteral("--help") });
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* opt :
        { "--devices", "--password", "--address-base", "--time-scale", "--config", "--state", "--verbose" }) {
        EXPECT_TRUE(help.contains(QLatin1String(opt))) << opt;
    }

    p.start(QStringLiteral(QRX_APSIM_EXE), { QStringLiteral("--devices"), QStringLiteral("0") });
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 2);

    // Loopback device addresses must stay inside 127.0.0.0/8.
    p.start(QStringLiteral(QRX_APSIM_EXE),
        { QStringLiteral("--devices"), QStringLiteral("300"), QStringLiteral("--address-base"),
            QStringLiteral("127.255.255.0") });
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 2);

    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"devices": [{"faults": {"get_config": {"drop": 1, "colour": "red"}}}]})");
    f.close();
    p.start(QStringLiteral(QRX_APSIM_EXE), { QStringLiteral("--config"), bad });
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("colour")));
#endif
}

} // namespace
