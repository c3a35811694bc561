// The IP settings page: the editors filled on entry, the mask proposal, the .255 correction, the
// ten checks with their messages (table), unchanged values, and the write against the emulator
// with its single re-login, refusal, an expired login and NonWorking.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "pages/framedevipcfg.h"
#include "pages/frameipeditrect.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framewlmodesel.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");
const QString kErIPAddr = QStringLiteral("The IP Address entered is invalid.");
const QString kErMask = QStringLiteral("The Subnet Mask entered is invalid.");
const QString kErLocal = QStringLiteral("The IP Address is the same as local host IP.");
const QString kErGateway = QStringLiteral("The Default Gateway entered is invalid.");

class DevIPCfgTest : public CPageFixture
{
protected:
    TFrameDevIPCfg* Page() const { return Main()->FrameDevIPCfg1; }

    // Logged in to a static device (127.0.1.1/255.0.0.0, gateway 0), then through the setup
    // method page's static option to this page.
    void Reach(const QString& deviceExtra = {})
    {
        ASSERT_TRUE(StartDevice(1,
            QStringLiteral(R"({"devices":[{"ip":{"dhcp":false,"address":"127.0.1.1","netmask":"255.0.0.0",)"
                           R"("gateway":"0.0.0.0"}%1}]})")
                .arg(deviceExtra.isEmpty() ? QString() : QStringLiteral(",") + deviceExtra)));
        ASSERT_TRUE(ConnectDevice());
        Main()->FrameWlModeSel1->BtnNextClick();
        ASSERT_TRUE(WaitForPage(Main()->FrameSetupMethod1));
        Main()->FrameSetupMethod1->RBtnSetIP->click();
        Main()->FrameSetupMethod1->BtnNextClick();
        ASSERT_TRUE(WaitForPage(Page()));
        Apsim().MarkLog();
    }
    // Enters the page directly with a pending configuration.
    void EnterWith(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway)
    {
        g_Var.NewIPConfig.LAN_IP = ip;
        g_Var.NewIPConfig.LAN_NETMASK = mask;
        g_Var.NewIPConfig.LAN_GATEWAY = gateway;
        ASSERT_TRUE(Navigate(Main()->FrameSetupMethod1, 1));
        ASSERT_TRUE(Navigate(Page()));
    }
    void Fill(const QString& ip, const QString& mask, const QString& gateway)
    {
        Page()->IPEditIP->SetText(ip);
        Page()->IPEditMask->SetText(mask);
        Page()->IPEditGateway->SetText(gateway);
    }
    void Configure()
    {
        Page()->BtnNext->click(); // returns when any dialog has closed
        ProcessEvents();
    }
};

TEST_F(DevIPCfgTest, ForwardEntryFillsTheEditorsFromThePendingConfiguration)
{
    g_Var.NewIPConfig.DNS1 = 0x08080808;
    EnterWith(0xC0A8010A, 0xFFFFFF00, 0xFFFFFFFF);
    EXPECT_EQ(Page()->IPEditIP->GetText(), QStringLiteral("192.168.1.10"));
    EXPECT_EQ(Page()->IPEditMask->GetText(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(Page()->IPEditGateway->GetText(), QString()); // all ones shows empty
    EXPECT_EQ(Page()->IPEditDNS1->GetText(), QStringLiteral("8.8.8.8"));
    EXPECT_EQ(Page()->IPEditDNS2->GetText(), QString());
    EXPECT_TRUE(Page()->RBtnStatic->isChecked());
    EXPECT_FALSE(Page()->RBtnStatic->isVisible());
    EXPECT_FALSE(Page()->IPEditDNS1->isVisible());
    EXPECT_TRUE(Page()->IPEditIP->isEnabled());
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Configure"));
    EnterWith(0, 0, 0);
    EXPECT_EQ(Page()->IPEditIP->GetText(), QString());
    EXPECT_EQ(Page()->IPEditGateway->GetText(), QString());
}

// The checks in order, each with the first message that must show (or none).
struct ValidateCase
{
    const char* name;
    const char* ip;
    const char* mask;
    const char* gateway;
    const char* localIp; // the engine's LastLocalIP
    QString message; // empty: accepted
};

class DevIPCfgValidate : public DevIPCfgTest, public ::testing::WithParamInterface<ValidateCase>
{
};

TEST_P(DevIPCfgValidate, ShowsTheMessageOfTheFirstFailingCheck)
{
    const ValidateCase& c = GetParam();
    ASSERT_TRUE(Navigate(Page()));
    FormUDP->LastLocalIP = QString::fromLatin1(c.localIp);
    Fill(QString::fromLatin1(c.ip), QString::fromLatin1(c.mask), QString::fromLatin1(c.gateway));
    const tag_IP_CONFIG before = g_Var.NewIPConfig;
    const bool ok = Page()->ValidateIP();
    const QStringList shown = TakeShownTexts();
    if (c.message.isEmpty()) {
        EXPECT_TRUE(ok);
        EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('|')).toStdString();
    } else {
        EXPECT_FALSE(ok);
        EXPECT_EQ(shown, QStringList({ c.message }));
        if (QString::fromLatin1(c.ip).endsWith(QLatin1String(".255"))) {
            return; // Configure would correct the address to .254 first
        }
        // A refusal through Configure stores nothing and keeps the entries.
        Configure();
        EXPECT_EQ(TakeShownTexts(), QStringList({ c.message }));
        EXPECT_EQ(g_Var.NewIPConfig.LAN_IP, before.LAN_IP);
        EXPECT_EQ(g_Var.NewIPConfig.LAN_NETMASK, before.LAN_NETMASK);
        EXPECT_EQ(Page()->IPEditMask->GetText(),
            QString::fromLatin1(c.mask).isEmpty() ? QString()
                                                  : CIpBoxes::FromText(QString::fromLatin1(c.mask)).Text());
        EXPECT_EQ(Main()->CurrentPage, Page());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DevIPCfgValidate,
    ::testing::Values(ValidateCase { "Accepted", "192.168.1.10", "255.255.255.0", "192.168.1.1", "", {} },
        ValidateCase { "EmptyIP", "", "255.255.255.0", "", "", kErIPAddr },
        ValidateCase { "IPBoxEmpty", "192..1.10", "255.255.255.0", "", "", kErIPAddr },
        ValidateCase { "Loopback", "127.0.0.5", "255.0.0.0", "", "", kErIPAddr },
        ValidateCase { "Zero", "0.0.0.0", "255.0.0.0", "", "", kErIPAddr },
        ValidateCase { "Multicast", "224.0.0.1", "255.0.0.0", "", "", kErIPAddr },
        ValidateCase { "FirstOctet255", "255.1.2.3", "255.0.0.0", "", "", kErIPAddr },
        ValidateCase { "EmptyMask", "192.168.1.10", "", "", "", kErMask },
        ValidateCase { "MaskAllOnes", "192.168.1.10", "255.255.255.255", "", "", kErMask },
        ValidateCase { "MaskZero", "192.168.1.10", "0.0.0.0", "", "", kErMask },
        ValidateCase { "MaskWithAHole", "192.168.1.10", "255.0.255.0", "", "", kErMask },
        ValidateCase { "ShortestMask", "10.1.2.3", "128.0.0.0", "", "", {} },
        // 255.255.255.254 passes the mask check, but then every address is a subnet's first or
        // last: the address check after it refuses.
        ValidateCase { "LongestMask", "192.168.1.11", "255.255.255.254", "", "", kErIPAddr },
        ValidateCase { "HostPartZero", "192.168.1.0", "255.255.255.0", "", "", kErIPAddr },
        ValidateCase { "HostPartOnes", "10.255.255.255", "255.0.0.0", "", "", kErIPAddr },
        ValidateCase {
            "TheComputersOwnAddress", "192.168.1.10", "255.255.255.0", "", "192.168.1.10", kErLocal },
        ValidateCase { "EmptyGatewayAccepted", "192.168.1.10", "255.255.255.0", "", "192.168.1.2", {} },
        ValidateCase { "GatewayBoxEmpty", "192.168.1.10", "255.255.255.0", "192.168..1", "", kErGateway },
        ValidateCase { "GatewayOtherSubnet", "192.168.1.10", "255.255.255.0", "192.168.2.1", "", kErGateway },
        ValidateCase { "GatewayHostZero", "192.168.1.10", "255.255.255.0", "192.168.1.0", "", kErGateway },
        ValidateCase { "GatewayHostOnes", "192.168.1.10", "255.255.255.0", "192.168.1.255", "", kErGateway }),
    [](const ::testing::TestParamInfo<ValidateCase>& info) { return std::string(info.param.name); });

TEST_F(DevIPCfgTest, TheBroadcastHostBecomes254InTheEditor)
{
    ASSERT_TRUE(Navigate(Page()));
    g_Var.DevIPConfig = {};
    Fill(QStringLiteral("192.168.0.255"), QStringLiteral("255.255.255.0"), QString());
    // Configure corrects the text before the checks; with no device the write fails after that.
    Configure();
    EXPECT_EQ(Page()->IPEditIP->GetText(), QStringLiteral("192.168.0.254"));
    EXPECT_EQ(g_Var.NewIPConfig.LAN_IP, 0xC0A800FEu);
    EXPECT_EQ(TakeShownTexts().last(), kConnectFailed);
}

TEST_F(DevIPCfgTest, FocusingTheEmptyMaskEditorProposesAMask)
{
    Main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main()));
    ASSERT_TRUE(Navigate(Page()));
    struct
    {
        const char* ip;
        const char* proposed;
    } cases[] = { { "10.1.2.3", "255.0.0.0" }, { "127.0.0.1", "255.0.0.0" }, { "128.0.0.1", "255.255.0.0" },
        { "172.16.0.1", "255.255.0.0" }, { "191.1.1.1", "255.255.0.0" }, { "192.168.1.1", "255.255.255.0" },
        { ".5.6.7", "255.0.0.0" }, { "", "" } };
    for (const auto& c : cases) {
        Page()->IPEditIP->SetText(QString::fromLatin1(c.ip));
        Page()->IPEditMask->SetText(QString());
        Page()->IPEditIP->Boxes()[0]->setFocus();
        ASSERT_TRUE(WaitFor([this] { return Page()->IPEditIP->Boxes()[0]->hasFocus(); }, 5000));
        Page()->IPEditMask->Boxes()[0]->setFocus();
        ASSERT_TRUE(WaitFor([this] { return Page()->IPEditMask->Boxes()[0]->hasFocus(); }, 5000));
        EXPECT_EQ(Page()->IPEditMask->GetText(), QString::fromLatin1(c.proposed)) << c.ip;
    }
    // A mask already there is kept.
    Page()->IPEditIP->SetText(QStringLiteral("10.0.0.1"));
    Page()->IPEditMask->SetText(QStringLiteral("255.255.0.0"));
    Page()->IPEditIP->Boxes()[0]->setFocus();
    Page()->IPEditMask->Boxes()[0]->setFocus();
    EXPECT_EQ(Page()->IPEditMask->GetText(), QStringLiteral("255.255.0.0"));
}

TEST_F(DevIPCfgTest, UnchangedValuesMoveOnWithoutARequest)
{
    Reach();
    EXPECT_EQ(Page()->IPEditIP->GetText(), QStringLiteral("127.0.1.1"));
    EXPECT_EQ(Page()->IPEditGateway->GetText(), QString());
    // 127.x cannot be entered, so the device's own settings are given as static ones it holds.
    g_Var.DevIPConfig.LAN_IP = 0x0A000032;
    g_Var.DevIPConfig.LAN_NETMASK = 0xFF000000;
    g_Var.DevIPConfig.LAN_GATEWAY = 0;
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_TRUE(Apsim().Keys().isEmpty());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
    EXPECT_EQ(g_Var.NewIPConfig.LAN_GATEWAY, 0u); // an empty gateway is stored as 0
}

TEST_F(DevIPCfgTest, AChangedAddressIsWrittenReadBackAndTheWizardMovesOn)
{
    Reach();
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QStringLiteral("10.0.0.1"));
    Configure();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("set_ip"), QStringLiteral("get_config") }));
    const auto reqs = Apsim().Requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_TRUE(reqs.front().Items.contains(QStringLiteral("LAN_IP=10.0.0.50")))
        << reqs.front().Line.toStdString();
    EXPECT_TRUE(reqs.front().Items.contains(QStringLiteral("LAN_GATEWAY=10.0.0.1")))
        << reqs.front().Line.toStdString();
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0x0A000032u); // as read back
    EXPECT_EQ(g_Var.DevIPConfig.IP_MODE, 0u);
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(DevIPCfgTest, AnUnansweredWriteLogsOutAndInOnceAndRepeatsIt)
{
    Reach(QStringLiteral(R"("faults":{"set_ip":{"drop":1}})"));
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(),
        QStringList({ QStringLiteral("set_ip"), QStringLiteral("logout"), QStringLiteral("login"),
            QStringLiteral("set_ip"), QStringLiteral("get_config") }));
}

TEST_F(DevIPCfgTest, TwoUnansweredWritesFailAfterOneRelogin)
{
    Reach(QStringLiteral(R"("faults":{"set_ip":{"drop":"all"}})"));
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(Apsim().Keys(),
        QStringList({ QStringLiteral("set_ip"), QStringLiteral("logout"), QStringLiteral("login"),
            QStringLiteral("set_ip") }));
}

TEST_F(DevIPCfgTest, ARefusedWriteShowsTheMessageAndKeepsTheEntries)
{
    Reach(QStringLiteral(R"("faults":{"set_ip":{"result":0}})"));
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("set_ip") }));
    EXPECT_EQ(g_Var.NewIPConfig.LAN_IP, 0x0A000032u);

    // Forward entry again shows the entered values.
    ASSERT_TRUE(Navigate(Main()->FrameSetupMethod1, 1));
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_EQ(Page()->IPEditIP->GetText(), QStringLiteral("10.0.0.50"));
}

TEST_F(DevIPCfgTest, AnExpiredLoginLogsInBeforeTheWrite)
{
    Reach(QStringLiteral(R"("idle_timeout_ms":5000)"));
    ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("TIMEOUT dev=1")));
    ASSERT_TRUE(WaitFor([] { return !FormUDP->LoggedIn; }));
    Apsim().MarkLog();
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(),
        QStringList({ QStringLiteral("login"), QStringLiteral("set_ip"), QStringLiteral("get_config") }));
}

class DevIPCfgNonWorkingTest : public DevIPCfgTest
{
protected:
    DevIPCfgNonWorkingTest() { IniText = QStringLiteral("[Setting]\nNonWorking=1\n"); }
};

TEST_F(DevIPCfgNonWorkingTest, AFailedWriteShowsTheMessageThenMovesOn)
{
    ASSERT_TRUE(Navigate(Page()));
    Fill(QStringLiteral("10.0.0.50"), QStringLiteral("255.0.0.0"), QString());
    Configure(); // no device: the login runs out
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
}

} // namespace
