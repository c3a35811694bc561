// End to end over a real broadcast: two network namespaces made by the test, joined by a veth
// pair with 10.99.x addresses that exist only inside them. The emulator runs in one, qrxctl in
// the other with its own adapter enumeration (no --interface, no QRX_ADAPTERS), so the discovery
// really goes to 255.255.255.255 on the veth adapter. Needs root and "ip netns"; skipped
// otherwise. The namespaces are removed also when a test fails, and leftovers of earlier runs
// with the same prefix are removed first.
#include "qrxctl_fixture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

#include <unistd.h>

using namespace ctltest;

namespace {

#if defined(QRXCTL_EXE) && defined(QRX_APSIM_EXE)

const QString kPrefixA = QStringLiteral("qrxA_");
const QString kPrefixB = QStringLiteral("qrxB_");

// Runs "ip" with the arguments; the exit code (-1 when it could not run).
int Ip(const QStringList& args, QString* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ip"), args);
    if (!p.waitForStarted(5000) || !p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    if (output) {
        *output = QString::fromUtf8(p.readAll());
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Two namespaces and a veth pair between them; removed on destruction.
class CNetnsPair
{
public:
    CNetnsPair()
        : A(kPrefixA + QString::number(getpid()))
        , B(kPrefixB + QString::number(getpid()))
        , Net(QStringLiteral("10.99.%1.").arg(getpid() % 250 + 1))
    {
    }
    ~CNetnsPair() { Remove(); }
    CNetnsPair(const CNetnsPair&) = delete;
    CNetnsPair& operator=(const CNetnsPair&) = delete;

    // Namespaces of earlier runs with our prefixes.
    static void RemoveLeftovers()
    {
        QString list;
        if (Ip({ QStringLiteral("netns"), QStringLiteral("list") }, &list) != 0) {
            return;
        }
        for (const QString& line : list.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString name = line.section(QLatin1Char(' '), 0, 0).trimmed();
            if ((name.startsWith(kPrefixA) || name.startsWith(kPrefixB))
                && !NamespaceOwnerAlive(name.mid(kPrefixA.size()))) {
                Ip({ QStringLiteral("netns"), QStringLiteral("del"), name });
            }
        }
    }

    // Creates both namespaces, the pair (va in A, vb in B), the addresses and the links.
    // deviceAddresses: extra addresses in A for the emulated devices.
    bool Create(int deviceAddresses, QString& why)
    {
        if (Ip({ QStringLiteral("netns"), QStringLiteral("add"), A }, &why) != 0) {
            return false;
        }
        created = true;
        if (Ip({ QStringLiteral("netns"), QStringLiteral("add"), B }, &why) != 0) {
            return false;
        }
        const std::vector<QStringList> steps = {
            { QStringLiteral("-n"), A, QStringLiteral("link"), QStringLiteral("add"), QStringLiteral("va"),
                QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"),
                QStringLiteral("name"), QStringLiteral("vb"), QStringLiteral("netns"), B },
            { QStringLiteral("-n"), A, QStringLiteral("addr"), QStringLiteral("add"),
                Net + QStringLiteral("1/24"), QStringLiteral("dev"), QStringLiteral("va") },
            { QStringLiteral("-n"), B, QStringLiteral("addr"), QStringLiteral("add"),
                Net + QStringLiteral("2/24"), QStringLiteral("dev"), QStringLiteral("vb") },
            { QStringLiteral("-n"), A, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"),
                QStringLiteral("up") },
            { QStringLiteral("-n"), B, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"),
                QStringLiteral("up") },
            { QStringLiteral("-n"), A, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("va"),
                QStringLiteral("up") },
            { QStringLiteral("-n"), B, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("vb"),
                QStringLiteral("up") },
        };
        for (const QStringList& step : steps) {
            if (Ip(step, &why) != 0) {
                why = step.join(QLatin1Char(' ')) + QStringLiteral(": ") + why;
                return false;
            }
        }
        for (int k = 0; k < deviceAddresses; ++k) {
            const QString addr = Net + QString::number(11 + k) + QStringLiteral("/24");
            if (Ip({ QStringLiteral("-n"), A, QStringLiteral("addr"), QStringLiteral("add"), addr,
                       QStringLiteral("dev"), QStringLiteral("va") },
                    &why)
                != 0) {
                return false;
            }
        }
        return true;
    }

    void Remove()
    {
        if (created) {
            Ip({ QStringLiteral("netns"), QStringLiteral("del"), A });
            Ip({ QStringLiteral("netns"), QStringLiteral("del"), B });
            created = false;
        }
    }

    QStringList Exec(const QString& ns) const
    {
        return { QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), ns };
    }

    const QString A, B, Net;

private:
    bool created = false;
};

class NetnsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root for ip netns";
        }
        CNetnsPair::RemoveLeftovers();
        QString why;
        if (!ns.Create(2, why)) {
            ns.Remove();
            GTEST_SKIP() << "ip netns is not permitted here: " << why.toStdString();
        }
        // qrxctl enumerates the namespace's adapters itself: no restriction at all.
        env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QRX_ADAPTERS"));
        env.remove(QStringLiteral("QRX_PASSWORD"));
        env.insert(QStringLiteral("QRX_TIME_SCALE"), QStringLiteral("0.5"));
    }

    CtlRun CtlInB(const QStringList& args) { return RunCtl(args, &sim, 0.5, ns.Exec(ns.B), &env); }

    CNetnsPair ns; // declared first: removed after the emulator has stopped
    CApSim sim;
    QProcessEnvironment env;
};

TEST_F(NetnsTest, RealBroadcastDiscoverShowAndWrite)
{
    ASSERT_TRUE(
        sim.Start({ QStringLiteral("--devices"), QStringLiteral("2"), QStringLiteral("--address-base"),
                      ns.Net + QStringLiteral("11"), QStringLiteral("--time-scale"), QStringLiteral("0.5") },
            {}, ns.Exec(ns.A)))
        << sim.ErrorText().toStdString();

    const CtlRun found = CtlInB({ QStringLiteral("--json"), QStringLiteral("discover") });
    ASSERT_EQ(found.Code, 0) << found.ErrText().toStdString();
    const QJsonArray list = found.Json().array();
    ASSERT_EQ(list.size(), 2) << found.OutText().toStdString();
    QStringList ips;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        ips.push_back(o.value(QStringLiteral("ip")).toString());
        EXPECT_EQ(o.value(QStringLiteral("local_ip")).toString(), ns.Net + QStringLiteral("2"));
        EXPECT_EQ(o.value(QStringLiteral("local_mask")).toString(), QStringLiteral("255.255.255.0"));
    }
    ips.sort();
    EXPECT_EQ(ips, QStringList({ ns.Net + QStringLiteral("11"), ns.Net + QStringLiteral("12") }));
    // The request came from the veth adapter's address in the other namespace.
    const QStringList discover = sim.Requests(QStringLiteral("discover"));
    ASSERT_FALSE(discover.isEmpty());
    EXPECT_TRUE(discover.front().contains(QStringLiteral("from=") + ns.Net + QStringLiteral("2:5433")))
        << discover.front().toStdString();

    const QString mac = list.at(0).toObject().value(QStringLiteral("mac")).toString();
    const CtlRun write = CtlInB({ QStringLiteral("-d"), mac, QStringLiteral("set-wireless"),
        QStringLiteral("--ssid"), QStringLiteral("through veth") });
    ASSERT_EQ(write.Code, 0) << write.ErrText().toStdString();
    const CtlRun show
        = CtlInB({ QStringLiteral("-d"), mac, QStringLiteral("--json"), QStringLiteral("show") });
    ASSERT_EQ(show.Code, 0) << show.ErrText().toStdString();
    EXPECT_EQ(show.Json()
                  .object()
                  .value(QStringLiteral("wireless"))
                  .toObject()
                  .value(QStringLiteral("ssid"))
                  .toString(),
        QStringLiteral("through veth"));
}

#endif

} // namespace
