// qrxctl against the access point emulator on loopback: every command, every exit code, the JSON
// shapes, the wizard's request order (log-in first, one re-login after a time-out, read-back), the
// value checks that refuse before anything is sent, and a discovery of a thousand devices.
#include "qrxctl_fixture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

using namespace ctltest;

namespace {

#if defined(QRXCTL_EXE) && defined(QRX_APSIM_EXE)

constexpr double kScale = 0.2;

QStringList Keys(std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* n : names) {
        out.push_back(QString::fromUtf8(n));
    }
    return out;
}

QStringList SortedKeys(const QJsonObject& o)
{
    QStringList keys = o.keys();
    keys.sort();
    return keys;
}

// Every test runs in a loopback namespace of its own when the system allows one (root), so that
// no other program's requests or sockets on the shared loopback meet the emulator or qrxctl.
class QrxCtlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RemoveNamespaces({ QStringLiteral("qrxL_") });
        QString why;
        ns.Create(why);
    }

    // One emulated device unless told otherwise; the emulator runs on the same time scale.
    void StartSim(const QByteArray& config = {}, int devices = 0, const QStringList& extra = {})
    {
        QStringList args { QStringLiteral("--time-scale"), QString::number(kScale) };
        if (devices > 0) {
            args << QStringLiteral("--devices") << QString::number(devices);
        } else if (config.isEmpty()) {
            args << QStringLiteral("--devices") << QStringLiteral("1");
        }
        args += extra;
        ASSERT_TRUE(sim.Start(args, config, ns.Exec())) << sim.ErrorText().toStdString();
    }

    CtlRun Ctl(const QStringList& args) { return RunCtlLo(args, &sim, kScale, ns.Exec()); }
    CtlRun CtlEnv(const QStringList& args, const QProcessEnvironment& env)
    {
        return RunCtl(args, &sim, kScale, ns.Exec(), &env);
    }
    CtlRun Ctl(std::initializer_list<const char*> args) { return Ctl(Keys(args)); }

    // The requests after the discovery, in order.
    QStringList Exchange()
    {
        QStringList keys = sim.RequestKeys();
        keys.removeAll(QStringLiteral("discover"));
        return keys;
    }

    CLoopbackNamespace ns { QStringLiteral("qrxL_") }; // removed after the emulator stopped
    CApSim sim;
};

// ---------------------------------------------------------------------------------------------
// Usage
// ---------------------------------------------------------------------------------------------

TEST(QrxCtlUsage, HelpVersionAndBadUsage)
{
    const CtlRun help = RunCtl({ QStringLiteral("--help") });
    EXPECT_EQ(help.Code, 0);
    EXPECT_TRUE(help.OutText().contains(QStringLiteral("Usage: qrxctl")));
    for (const char* cmd :
        { "discover", "show", "set-ip", "set-mode", "set-wireless", "wps", "survey", "station-pin" }) {
        EXPECT_TRUE(help.OutText().contains(QString::fromUtf8(cmd))) << cmd;
    }
    const CtlRun version = RunCtl({ QStringLiteral("--version") });
    EXPECT_EQ(version.Code, 0);
    EXPECT_TRUE(version.OutText().startsWith(QStringLiteral("qrxctl "))) << version.OutText().toStdString();

    const std::vector<QStringList> bad = {
        {},
        { QStringLiteral("frobnicate") },
        { QStringLiteral("--bogus"), QStringLiteral("show") },
        { QStringLiteral("show"), QStringLiteral("extra") },
        { QStringLiteral("-i") },
        { QStringLiteral("--wait"), QStringLiteral("soon"), QStringLiteral("discover") },
        { QStringLiteral("-d"), QStringLiteral("not-a-mac"), QStringLiteral("show") },
        { QStringLiteral("set-ip") },
        { QStringLiteral("set-ip"), QStringLiteral("static"), QStringLiteral("10.0.0.2") },
        { QStringLiteral("set-mode"), QStringLiteral("adhoc") },
        { QStringLiteral("set-wireless") },
        { QStringLiteral("set-wireless"), QStringLiteral("--ssid"), QStringLiteral("x"),
            QStringLiteral("--security"), QStringLiteral("wpa") },
        { QStringLiteral("set-wireless"), QStringLiteral("--ssid"), QStringLiteral("x"),
            QStringLiteral("--key"), QStringLiteral("k") },
        { QStringLiteral("set-wireless"), QStringLiteral("--ssid"), QStringLiteral("x"),
            QStringLiteral("--wireless-mode"), QStringLiteral("ac") },
        { QStringLiteral("wps") },
        { QStringLiteral("wps"), QStringLiteral("pin") },
        { QStringLiteral("wps"), QStringLiteral("pbc"), QStringLiteral("--ssid"), QStringLiteral("x") },
    };
    for (const QStringList& args : bad) {
        const CtlRun r = RunCtl(QStringList { QStringLiteral("--interface"), QStringLiteral("lo") } + args);
        EXPECT_EQ(r.Code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.Out.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
    }
}

// Values the wizard refuses: the wizard's message, exit 2, and not one datagram sent.
TEST_F(QrxCtlTest, RefusedValuesSendNothing)
{
    StartSim();
    struct Case
    {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        { Keys({ "set-ip", "static", "127.0.0.5", "255.0.0.0" }), "The IP Address entered is invalid." },
        { Keys({ "set-ip", "static", "10.1.2", "255.0.0.0" }), "The IP Address entered is invalid." },
        { Keys({ "set-ip", "static", "192.168.1.0", "255.255.255.0" }),
            "The IP Address entered is invalid." },
        { Keys({ "set-ip", "static", "192.168.1.10", "255.0.255.0" }),
            "The Subnet Mask entered is invalid." },
        { Keys({ "set-ip", "static", "192.168.1.10", "mask" }), "The Subnet Mask entered is invalid." },
        { Keys({ "set-ip", "static", "192.168.1.10", "255.255.255.0", "192.168.2.1" }),
            "The Default Gateway entered is invalid." },
        { Keys({ "set-ip", "static", "192.168.1.10", "255.255.255.0", "192.168.1.255" }),
            "The Default Gateway entered is invalid." },
        { Keys({ "set-wireless", "--ssid", "" }), "No SSID" },
        { Keys({ "set-wireless", "--ssid", "a-name-that-is-far-longer-than-32-chars" }),
            "The SSID can have at most 32 characters." },
        { Keys({ "set-wireless", "--ssid", "x", "--security", "wep", "--key", "1234567" }),
            "You have entered an incorrect WEP key. Please try again." },
        { Keys({ "set-wireless", "--ssid", "x", "--security", "wep", "--key-length", "128", "--key",
              "0123456789abcdef012345678z" }),
            "You have entered an incorrect WEP key. Please try again." },
        { Keys({ "set-wireless", "--ssid", "x", "--security", "wep" }),
            "You have entered an incorrect WEP key. Please try again." },
        { Keys({ "set-wireless", "--ssid", "x", "--security", "wpa-psk", "--key", "short" }),
            "Passphrase should be between 8 to 63 charachers in ASCII format." },
        { QStringList { QStringLiteral("set-wireless"), QStringLiteral("--ssid"), QStringLiteral("x"),
              QStringLiteral("--security"), QStringLiteral("wpa-psk"), QStringLiteral("--key"),
              QString(63, QLatin1Char('a')) + QLatin1Char('x') },
            "Passphrase should be 64 hex digits." },
        { Keys({ "wps", "pin", "1234" }), "Invaild PIN Code" },
        { Keys({ "wps", "pin", "1234567a" }), "Invaild PIN Code" },
        { Keys({ "wps", "pin", "--ssid", "" }), "Invaild SSID" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CtlRun r = Ctl(c.args);
        EXPECT_EQ(r.Code, 2);
        EXPECT_EQ(r.ErrText().trimmed(), QString::fromUtf8(c.message));
        EXPECT_TRUE(r.Out.isEmpty());
    }
    EXPECT_TRUE(sim.RequestKeys().isEmpty()) << sim.RequestKeys().join(QLatin1Char(' ')).toStdString();
}

// ---------------------------------------------------------------------------------------------
// discover
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, DiscoverListsEveryDevice)
{
    StartSim({}, 3);
    const CtlRun text = Ctl({ "discover" });
    ASSERT_EQ(text.Code, 0) << text.ErrText().toStdString();
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(text.OutText().contains(QStringLiteral("QRX-512 #%1").arg(k)));
        EXPECT_TRUE(text.OutText().contains(QStringLiteral("127.0.1.%1").arg(k)));
    }

    const CtlRun json = Ctl({ "--json", "discover" });
    ASSERT_EQ(json.Code, 0);
    const QJsonArray list = json.Json().array();
    ASSERT_EQ(list.size(), 3) << json.OutText().toStdString();
    QSet<QString> macs;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        EXPECT_EQ(SortedKeys(o), Keys({ "ip", "local_ip", "local_mask", "mac", "name" }));
        EXPECT_TRUE(o.value(QStringLiteral("name")).toString().startsWith(QStringLiteral("QRX-512 #")));
        EXPECT_EQ(o.value(QStringLiteral("local_ip")).toString(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(o.value(QStringLiteral("local_mask")).toString(), QStringLiteral("255.0.0.0"));
        EXPECT_EQ(o.value(QStringLiteral("mac")).toString().size(), 17);
        macs.insert(o.value(QStringLiteral("mac")).toString());
    }
    EXPECT_EQ(macs.size(), 3);
}

TEST_F(QrxCtlTest, DiscoverNamesTheAdaptersWhenNothingAnswers)
{
    const CtlRun r = Ctl({ "discover" });
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.ErrText().contains(QStringLiteral("No device answered"))) << r.ErrText().toStdString();
    EXPECT_TRUE(r.ErrText().contains(QStringLiteral("lo (127.0.0.1)"))) << r.ErrText().toStdString();
    const CtlRun json = Ctl({ "--json", "discover" });
    EXPECT_EQ(json.Code, 1);
    EXPECT_TRUE(json.Json().isArray());
    EXPECT_TRUE(json.Json().array().isEmpty());
    // An adapter that does not exist: the engine's message, exit 1.
    const CtlRun none = RunCtl(Keys({ "-i", "qrxnone0", "show" }), nullptr, kScale, ns.Exec());
    EXPECT_EQ(none.Code, 1);
    EXPECT_TRUE(none.ErrText().contains(QStringLiteral("Unable to initialize adapter interface.")));
}

TEST_F(QrxCtlTest, ThousandDevicesAnswerOneDiscovery)
{
    StartSim({}, 1000);
    const CtlRun r = RunCtlLo({ QStringLiteral("--json"), QStringLiteral("discover") }, &sim, 1.0, ns.Exec());
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonArray list = r.Json().array();
    EXPECT_EQ(list.size(), 1000);
    QSet<QString> macs, names;
    for (const QJsonValue& v : list) {
        macs.insert(v.toObject().value(QStringLiteral("mac")).toString());
        names.insert(v.toObject().value(QStringLiteral("name")).toString());
    }
    EXPECT_EQ(macs.size(), 1000);
    EXPECT_TRUE(names.contains(QStringLiteral("QRX-512 #1000")));
}

// ---------------------------------------------------------------------------------------------
// Device choice, login, show
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, ShowPrintsTheWholeConfiguration)
{
    StartSim();
    const CtlRun r = Ctl({ "--json", "show" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonObject o = r.Json().object();
    EXPECT_EQ(SortedKeys(o), Keys({ "ip", "mode", "wireless" }));
    EXPECT_EQ(o.value(QStringLiteral("mode")).toString(), QStringLiteral("ap"));
    const QJsonObject ip = o.value(QStringLiteral("ip")).toObject();
    EXPECT_EQ(SortedKeys(ip), Keys({ "address", "dhcp", "gateway", "netmask" }));
    EXPECT_FALSE(ip.value(QStringLiteral("dhcp")).toBool());
    EXPECT_EQ(ip.value(QStringLiteral("address")).toString(), QStringLiteral("127.0.1.1"));
    const QJsonObject wl = o.value(QStringLiteral("wireless")).toObject();
    EXPECT_EQ(SortedKeys(wl),
        Keys({ "auth", "channels", "cipher", "extension_channel", "security", "ssid", "standard_channel",
            "wep_key_length", "wireless_mode", "wpa_mode", "wps_pin" }));
    EXPECT_EQ(wl.value(QStringLiteral("ssid")).toString(), QStringLiteral("wireless"));
    EXPECT_EQ(wl.value(QStringLiteral("security")).toString(), QStringLiteral("none"));
    EXPECT_EQ(wl.value(QStringLiteral("channels")).toArray().size(), 11);
    EXPECT_EQ(wl.value(QStringLiteral("wps_pin")).toString().size(), 8);
    EXPECT_TRUE(wl.value(QStringLiteral("wireless_mode")).isNull());
    // Login, then the whole configuration, and a logout when the program ends.
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "logout" }));

    const CtlRun text = Ctl({ "show" });
    ASSERT_EQ(text.Code, 0);
    EXPECT_TRUE(text.OutText().contains(QStringLiteral("Security mode:    None")))
        << text.OutText().toStdString();
    EXPECT_TRUE(text.OutText().contains(QStringLiteral("QRX-512 #1")));
}

TEST_F(QrxCtlTest, PasswordFromOptionOrEnvironmentAndWrongPassword)
{
    StartSim({}, 1, { QStringLiteral("--password"), QStringLiteral("s3cret") });
    const CtlRun wrong = Ctl({ "show" });
    EXPECT_EQ(wrong.Code, 1);
    EXPECT_EQ(wrong.ErrText().trimmed(), QStringLiteral("Unable to login the deivce."));

    const CtlRun option = Ctl({ "-p", "s3cret", "show" });
    EXPECT_EQ(option.Code, 0) << option.ErrText().toStdString();
    EXPECT_FALSE(option.OutText().contains(QStringLiteral("s3cret")));
    EXPECT_FALSE(option.ErrText().contains(QStringLiteral("s3cret")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QRX_TIME_SCALE"), QString::number(kScale));
    env.insert(QStringLiteral("QRX_PASSWORD"), QStringLiteral("s3cret"));
    const CtlRun fromEnv = CtlEnv(Keys({ "-i", "lo", "show" }), env);
    EXPECT_EQ(fromEnv.Code, 0) << fromEnv.ErrText().toStdString();
    // --password wins over the environment.
    const CtlRun both = CtlEnv(Keys({ "-i", "lo", "--password", "other", "show" }), env);
    EXPECT_EQ(both.Code, 1);
}

TEST_F(QrxCtlTest, DeviceChoiceAmongSeveral)
{
    StartSim({}, 2);
    const CtlRun ambiguous = Ctl({ "show" });
    EXPECT_EQ(ambiguous.Code, 2);
    EXPECT_TRUE(ambiguous.ErrText().contains(QStringLiteral("--device")));
    EXPECT_TRUE(sim.Requests(QStringLiteral("login")).isEmpty());

    const QJsonArray list = Ctl({ "--json", "discover" }).Json().array();
    ASSERT_EQ(list.size(), 2);
    const QString second = list.at(1).toObject().value(QStringLiteral("mac")).toString();
    const CtlRun chosen = Ctl(QStringList {
        QStringLiteral("-d"), second.toLower(), QStringLiteral("--json"), QStringLiteral("show") });
    ASSERT_EQ(chosen.Code, 0) << chosen.ErrText().toStdString();
    EXPECT_EQ(chosen.Json()
                  .object()
                  .value(QStringLiteral("ip"))
                  .toObject()
                  .value(QStringLiteral("address"))
                  .toString(),
        list.at(1).toObject().value(QStringLiteral("ip")).toString());

    const CtlRun absent = Ctl({ "--device", "02:00:00:00:00:99", "show" });
    EXPECT_EQ(absent.Code, 1);
    EXPECT_TRUE(absent.ErrText().contains(QStringLiteral("02:00:00:00:00:99")));
}

// ---------------------------------------------------------------------------------------------
// set-ip
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, SetIpStaticWritesReadsBackAndSkipsUnchanged)
{
    StartSim();
    const CtlRun r = Ctl({ "--json", "set-ip", "static", "192.168.5.255", "255.255.255.0", "192.168.5.1" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    // x.y.z.255 is written as x.y.z.254; the read-back shows the device's new settings.
    const QJsonObject ip = r.Json().object().value(QStringLiteral("ip")).toObject();
    EXPECT_EQ(ip.value(QStringLiteral("address")).toString(), QStringLiteral("192.168.5.254"));
    EXPECT_EQ(ip.value(QStringLiteral("netmask")).toString(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(ip.value(QStringLiteral("gateway")).toString(), QStringLiteral("192.168.5.1"));
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "set_ip", "get_config", "logout" }));
}

TEST_F(QrxCtlTest, SetIpUnchangedSendsNoWrite)
{
    StartSim(
        R"({"devices":[{"ip":{"dhcp":false,"address":"10.20.30.40","netmask":"255.255.0.0","gateway":"10.20.0.1"}}]})");
    const CtlRun same = Ctl({ "set-ip", "static", "10.20.30.40", "255.255.0.0", "10.20.0.1" });
    ASSERT_EQ(same.Code, 0) << same.ErrText().toStdString();
    EXPECT_TRUE(same.OutText().contains(QStringLiteral("nothing sent")));
    EXPECT_TRUE(sim.Requests(QStringLiteral("set_ip")).isEmpty());
}

TEST_F(QrxCtlTest, SetIpDhcpAndAlreadyDhcp)
{
    StartSim();
    const CtlRun r = Ctl({ "--json", "set-ip", "dhcp" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_TRUE(
        r.Json().object().value(QStringLiteral("ip")).toObject().value(QStringLiteral("dhcp")).toBool());
    ASSERT_EQ(sim.Requests(QStringLiteral("set_ip")).size(), 1);

    const CtlRun again = Ctl({ "set-ip", "dhcp" });
    EXPECT_EQ(again.Code, 0);
    EXPECT_TRUE(again.OutText().contains(QStringLiteral("nothing sent")));
    EXPECT_EQ(sim.Requests(QStringLiteral("set_ip")).size(), 1);
}

TEST_F(QrxCtlTest, SetIpRefusedByTheDevice)
{
    StartSim(R"({"devices":[{"faults":{"set_ip":{"result":0}}}]})");
    const CtlRun r = Ctl({ "set-ip", "static", "192.168.5.20", "255.255.255.0" });
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.ErrText().trimmed(), QStringLiteral("Unable to connect to the device."));
    EXPECT_EQ(sim.Requests(QStringLiteral("set_ip")).size(), 1);
}

// A write that gets no answer: one logout, one login, the write again; a second silence fails.
TEST_F(QrxCtlTest, SetIpTimeOutLogsInAgainOnce)
{
    StartSim(R"({"devices":[{"faults":{"set_ip":{"drop":1}}}]})");
    const CtlRun r = Ctl({ "set-ip", "static", "192.168.5.20", "255.255.255.0" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_EQ(Exchange(),
        Keys({ "login", "get_config", "set_ip", "logout", "login", "set_ip", "get_config", "logout" }));
}

TEST_F(QrxCtlTest, SetIpSilentTwiceFails)
{
    StartSim(R"({"devices":[{"faults":{"set_ip":{"drop":"all"}}}]})");
    const CtlRun r = Ctl({ "set-ip", "dhcp" });
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.ErrText().trimmed(), QStringLiteral("Unable to connect to the device."));
    EXPECT_EQ(sim.Requests(QStringLiteral("set_ip")).size(), 2);
    EXPECT_EQ(sim.Requests(QStringLiteral("login")).size(), 2);
}

// ---------------------------------------------------------------------------------------------
// set-mode
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, SetModeWritesOnlyAChange)
{
    StartSim();
    const CtlRun r = Ctl({ "set-mode", "bridge" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "get_mode", "set_mode", "get_config", "logout" }));
    const CtlRun show = Ctl({ "--json", "show" });
    EXPECT_EQ(show.Json().object().value(QStringLiteral("mode")).toString(), QStringLiteral("bridge"));

    const CtlRun same = Ctl({ "set-mode", "bridge" });
    EXPECT_EQ(same.Code, 0);
    EXPECT_TRUE(same.OutText().contains(QStringLiteral("nothing sent")));
    EXPECT_EQ(sim.Requests(QStringLiteral("set_mode")).size(), 1);
}

// The mode page logs in again after a silent mode request without logging out first.
TEST_F(QrxCtlTest, SetModeTimeOutLogsInAgainOnce)
{
    StartSim(R"({"devices":[{"faults":{"set_mode":{"drop":1}}}]})");
    const CtlRun r = Ctl({ "set-mode", "bridge" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_EQ(Exchange(),
        Keys({ "login", "get_config", "get_mode", "set_mode", "login", "set_mode", "get_config", "logout" }));

    sim.Stop();
    StartSim(R"({"devices":[{"faults":{"set_mode":{"result":0}}}]})");
    const CtlRun refused = Ctl({ "set-mode", "bridge" });
    EXPECT_EQ(refused.Code, 1);
    EXPECT_EQ(refused.ErrText().trimmed(), QStringLiteral("Unable to connect to the device."));
}

// A device that dropped the login (its connection time-out event) gets a login before the write.
TEST_F(QrxCtlTest, ExpiredLoginLogsInBeforeTheWrite)
{
    StartSim(R"({"devices":[{"idle_timeout_ms":1000,"faults":{"get_mode":{"delay_ms":4000}}}]})");
    const CtlRun r = Ctl({ "set-mode", "bridge" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QStringList keys = Exchange();
    const qsizetype setMode = keys.indexOf(QStringLiteral("set_mode"));
    ASSERT_GE(setMode, 1) << keys.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(keys.at(setMode - 1), QStringLiteral("login")) << keys.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(sim.Requests(QStringLiteral("set_mode")).size(), 1);
}

// ---------------------------------------------------------------------------------------------
// set-wireless
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, SetWirelessAccessPointProfile)
{
    StartSim(R"({"devices":[{"wireless":{"standard_channel":6,"extension_channel":2}}]})");
    const CtlRun r = Ctl({ "--json", "set-wireless", "--ssid", "office net", "--wireless-mode", "n",
        "--security", "wpa-psk", "--key", "correct horse", "--wpa-mode", "wpa2" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonObject wl = r.Json().object().value(QStringLiteral("wireless")).toObject();
    EXPECT_EQ(wl.value(QStringLiteral("ssid")).toString(), QStringLiteral("office net"));
    EXPECT_EQ(wl.value(QStringLiteral("standard_channel")).toInt(), 0); // automatic channel
    // The configuration read does not carry the wireless mode; the request does.
    EXPECT_TRUE(wl.value(QStringLiteral("wireless_mode")).isNull());
    EXPECT_EQ(wl.value(QStringLiteral("security")).toString(), QStringLiteral("wpa-psk"));
    EXPECT_EQ(wl.value(QStringLiteral("wpa_mode")).toString(), QStringLiteral("wpa2"));
    EXPECT_EQ(wl.value(QStringLiteral("cipher")).toString(), QStringLiteral("aes"));
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "set_wireless", "get_config", "logout" }));
    const QStringList writes = sim.Requests(QStringLiteral("set_wireless"));
    ASSERT_EQ(writes.size(), 1);
    EXPECT_FALSE(writes.front().contains(QStringLiteral("WL_EXT_CH"))) << writes.front().toStdString();
    EXPECT_TRUE(writes.front().contains(QStringLiteral("WL_MODE=6"))) << writes.front().toStdString();
    EXPECT_TRUE(writes.front().contains(QStringLiteral("WL_STD_CH=0"))) << writes.front().toStdString();
}

TEST_F(QrxCtlTest, SetWirelessWepKeyAndDefaults)
{
    StartSim();
    const CtlRun r = Ctl({ "--json", "set-wireless", "--ssid", "wep-net", "--security", "wep", "--key",
        "0123456789abcdef0123456789", "--auth", "shared" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonObject wl = r.Json().object().value(QStringLiteral("wireless")).toObject();
    EXPECT_EQ(wl.value(QStringLiteral("security")).toString(), QStringLiteral("wep"));
    EXPECT_EQ(wl.value(QStringLiteral("wep_key_length")).toInt(), 128);
    EXPECT_EQ(wl.value(QStringLiteral("auth")).toString(), QStringLiteral("shared"));
    const QStringList writes = sim.Requests(QStringLiteral("set_wireless"));
    ASSERT_EQ(writes.size(), 1);
    // The hexadecimal key travels in upper case.
    EXPECT_TRUE(writes.front().contains(QStringLiteral("0123456789ABCDEF0123456789")))
        << writes.front().toStdString();
}

TEST_F(QrxCtlTest, SetWirelessBridgeWritesTheStationProfile)
{
    StartSim(R"({"devices":[{"mode":"bridge"}]})");
    const CtlRun r
        = Ctl({ "set-wireless", "--ssid", "upstream", "--security", "wpa-psk", "--key", "0123456789" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "station_set", "get_config", "logout" }));
    // "auto" authentication is not offered to a bridge.
    const CtlRun autoAuth = Ctl(
        { "set-wireless", "--ssid", "upstream", "--security", "wep", "--key", "abcde", "--auth", "auto" });
    EXPECT_EQ(autoAuth.Code, 2);
    EXPECT_EQ(sim.Requests(QStringLiteral("station_set")).size(), 1);
}

TEST_F(QrxCtlTest, SetWirelessTimeOutAndRefusal)
{
    StartSim(R"({"devices":[{"faults":{"set_wireless":{"drop":1}}}]})");
    const CtlRun r = Ctl({ "set-wireless", "--ssid", "again" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_EQ(Exchange(),
        Keys({ "login", "get_config", "set_wireless", "logout", "login", "set_wireless", "get_config",
            "logout" }));

    sim.Stop();
    StartSim(R"({"devices":[{"faults":{"set_wireless":{"result":0}}}]})");
    const CtlRun refused = Ctl({ "set-wireless", "--ssid", "again" });
    EXPECT_EQ(refused.Code, 1);
    EXPECT_EQ(refused.ErrText().trimmed(), QStringLiteral("Unable to connect to the device."));
}

// ---------------------------------------------------------------------------------------------
// wps
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, WpsPushButtonInAccessPointMode)
{
    StartSim(R"({"devices":[{"wps":{"outcome":"configured","start_delay_ms":200,"step_ms":200}}]})");
    const CtlRun r = Ctl({ "--json", "wps", "pbc" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonObject o = r.Json().object();
    EXPECT_EQ(o.value(QStringLiteral("result")).toString(), QStringLiteral("success"));
    const QJsonArray events = o.value(QStringLiteral("events")).toArray();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.last().toObject().value(QStringLiteral("code")).toInt(), 34);
    EXPECT_EQ(
        events.last().toObject().value(QStringLiteral("text")).toString(), QStringLiteral("Configured"));
    // Access-point mode reads the configuration back after "Configured".
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "wps_pbc", "get_config", "logout" }));
}

TEST_F(QrxCtlTest, WpsPinAndFailures)
{
    StartSim(R"({"devices":[{"wps":{"outcome":"configured","start_delay_ms":200,"step_ms":200}}]})");
    const CtlRun ok = Ctl({ "wps", "pin", "12345670" });
    EXPECT_EQ(ok.Code, 0) << ok.ErrText().toStdString();
    EXPECT_TRUE(ok.OutText().contains(QStringLiteral("Configured")));
    const QStringList pins = sim.Requests(QStringLiteral("wps_pin"));
    ASSERT_EQ(pins.size(), 1);
    EXPECT_TRUE(pins.front().contains(QStringLiteral("12345670"))) << pins.front().toStdString();

    // A PIN whose check digit is wrong is the device's to refuse.
    const CtlRun badSum = Ctl({ "wps", "pin", "12345671" });
    EXPECT_EQ(badSum.Code, 1);
    EXPECT_TRUE(badSum.ErrText().contains(QStringLiteral("Unable to connect to the device.")));
    EXPECT_TRUE(badSum.ErrText().contains(QStringLiteral("check digit")));
    // pin --ssid belongs to bridge mode.
    EXPECT_EQ(Ctl({ "wps", "pin", "--ssid", "home" }).Code, 2);

    sim.Stop();
    StartSim(R"({"devices":[{"wps":{"outcome":"wsc_fail","start_delay_ms":200,"step_ms":200}}]})");
    const CtlRun fail = Ctl({ "--json", "wps", "pbc" });
    EXPECT_EQ(fail.Code, 1);
    EXPECT_EQ(fail.Json().object().value(QStringLiteral("result")).toString(), QStringLiteral("failure"));
}

TEST_F(QrxCtlTest, WpsPinInBridgeMode)
{
    StartSim(R"({"devices":[{"mode":"bridge","station_pin":"87654325",
                 "wps":{"outcome":"configured","start_delay_ms":200,"step_ms":200}}]})");
    const CtlRun r = Ctl({ "wps", "pin", "--ssid", "upstream" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    EXPECT_TRUE(r.OutText().contains(QStringLiteral("87654325")));
    // The page asks for the bridge's own PIN first; "Configured" alone ends a bridge's run.
    EXPECT_EQ(Exchange(), Keys({ "login", "get_config", "station_get_config", "wps_pin", "logout" }));
    EXPECT_TRUE(sim.Requests(QStringLiteral("wps_pin")).front().contains(QStringLiteral("upstream")));
    EXPECT_EQ(Ctl({ "wps", "pin", "12345670" }).Code, 2);
}

// ---------------------------------------------------------------------------------------------
// survey, station-pin
// ---------------------------------------------------------------------------------------------

TEST_F(QrxCtlTest, SurveyListsTheNeighboursStrongestFirst)
{
    StartSim(R"({"devices":[{"mode":"bridge","survey":[
        {"ssid":"weak","bssid":"02:00:00:00:AA:01","signal":15,"channel":3,"encryption":0,"authentication":0,"wps":false},
        {"ssid":"strong","bssid":"02:00:00:00:AA:02","signal":90,"channel":11,"encryption":4,"authentication":4,"wps":true},
        {"ssid":"middle","bssid":"02:00:00:00:AA:03","signal":50,"channel":6,"encryption":1,"authentication":1,"wps":false}]}]})");
    const CtlRun r = Ctl({ "--json", "survey" });
    ASSERT_EQ(r.Code, 0) << r.ErrText().toStdString();
    const QJsonArray list = r.Json().array();
    ASSERT_EQ(list.size(), 3) << r.OutText().toStdString();
    const QJsonObject first = list.at(0).toObject();
    EXPECT_EQ(SortedKeys(first),
        Keys({ "authentication", "bssid", "channel", "encryption", "signal", "ssid", "wps" }));
    EXPECT_EQ(first.value(QStringLiteral("ssid")).toString(), QStringLiteral("strong"));
    EXPECT_EQ(first.value(QStringLiteral("bssid")).toString(), QStringLiteral("02:00:00:00:AA:02"));
    EXPECT_EQ(first.value(QStringLiteral("channel")).toInt(), 11);
    EXPECT_EQ(first.value(QStringLiteral("signal")).toInt(), 90);
    EXPECT_EQ(first.value(QStringLiteral("encryption")).toString(), QStringLiteral("TKIP/AES"));
    EXPECT_EQ(first.value(QStringLiteral("authentication")).toString(), QStringLiteral("WPA-PSK/WPA2-PSK"));
    EXPECT_TRUE(first.value(QStringLiteral("wps")).toBool());
    EXPECT_EQ(list.at(1).toObject().value(QStringLiteral("ssid")).toString(), QStringLiteral("middle"));
    EXPECT_EQ(list.at(1).toObject().value(QStringLiteral("authentication")).toString(), QString());
    EXPECT_EQ(
        list.at(2).toObject().value(QStringLiteral("encryption")).toString(), QStringLiteral("Not Use"));

    const CtlRun text = Ctl({ "survey" });
    EXPECT_EQ(text.Code, 0);
    EXPECT_TRUE(text.OutText().contains(QStringLiteral("strong")));
}

TEST_F(QrxCtlTest, SurveyWithoutAnswerFails)
{
    StartSim(R"({"devices":[{"faults":{"survey":{"drop":"all"}}}]})");
    const CtlRun r = Ctl({ "survey" });
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.ErrText().trimmed(), QStringLiteral("Unable to connect to the device."));
}

TEST_F(QrxCtlTest, StationPin)
{
    StartSim(R"({"devices":[{"mode":"bridge","station_pin":"87654325"}]})");
    const CtlRun text = Ctl({ "station-pin" });
    ASSERT_EQ(text.Code, 0) << text.ErrText().toStdString();
    EXPECT_EQ(text.OutText().trimmed(), QStringLiteral("87654325"));
    const CtlRun json = Ctl({ "--json", "station-pin" });
    EXPECT_EQ(json.Json().object().value(QStringLiteral("pin")).toString(), QStringLiteral("87654325"));

    sim.Stop();
    StartSim(R"({"devices":[{"faults":{"station_get_config":{"drop":"all"}}}]})");
    EXPECT_EQ(Ctl({ "station-pin" }).Code, 1);
}

#else

TEST(QrxCtl, NeedsTheProgramsBuilt)
{
    GTEST_SKIP() << "qrxctl or qrx-apsim is not built";
}

#endif

} // namespace
