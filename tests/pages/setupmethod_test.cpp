// The setup method page against the emulator: the current values, the two options and the Next
// caption, the DHCP write with its single re-login, refusal, time-outs, an expired login and
// NonWorking.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "pages/framedevipcfg.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framewlmodesel.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");

// A static device with the given extra members for device 1 ("ip" and "faults" merged in).
QString StaticDevice(const QString& extra = {}, const QString& gateway = QStringLiteral("127.0.0.254"))
{
    return QStringLiteral(R"({"devices":[{"ip":{"dhcp":false,"address":"127.0.1.1","netmask":"255.0.0.0",)"
                          R"("gateway":"%1"}%2}]})")
        .arg(gateway, extra.isEmpty() ? QString() : QStringLiteral(",") + extra);
}

class SetupMethodTest : public CPageFixture
{
protected:
    TFrameSetupMethod* Page() const { return Main()->FrameSetupMethod1; }

    // Logged in on the operating mode page, then on to this page (access-point mode).
    void Reach(const QString& config)
    {
        ASSERT_TRUE(StartDevice(1, config));
        ASSERT_TRUE(ConnectDevice());
        Main()->FrameWlModeSel1->BtnNextClick();
        ASSERT_TRUE(WaitForPage(Page()));
        Apsim().MarkLog();
    }
    void Next()
    {
        Page()->BtnNext->click(); // returns when any dialog has closed
        ProcessEvents();
    }
};

TEST_F(SetupMethodTest, ShowsTheCurrentValuesAndChecksDynamicOnForwardEntry)
{
    Reach(StaticDevice());
    EXPECT_EQ(Page()->LblIP->text(), QStringLiteral("127.0.1.1"));
    EXPECT_EQ(Page()->LblMask->text(), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(Page()->LblGateway->text(), QStringLiteral("127.0.0.254"));
    EXPECT_TRUE(Page()->RBtnSetIPDHCP->isChecked());
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Configure"));
}

TEST_F(SetupMethodTest, GatewayZeroOrAllOnesIsShownEmpty)
{
    for (std::uint32_t gw : { 0u, 0xFFFFFFFFu }) {
        g_Var.DevIPConfig.LAN_IP = 0x0A000005;
        g_Var.DevIPConfig.LAN_NETMASK = 0xFF000000;
        g_Var.DevIPConfig.LAN_GATEWAY = gw;
        ASSERT_TRUE(Navigate(Main()->FrameWlModeSel1, 1));
        ASSERT_TRUE(Navigate(Page()));
        EXPECT_EQ(Page()->LblIP->text(), QStringLiteral("10.0.0.5"));
        EXPECT_EQ(Page()->LblGateway->text(), QString()) << gw;
    }
}

TEST_F(SetupMethodTest, TheRadioButtonsSwitchTheNextCaptionAndBackKeepsTheChoice)
{
    ASSERT_TRUE(Navigate(Page()));
    Page()->RBtnSetIP->click();
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Next"));
    Page()->RBtnSetIPDHCP->click();
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Configure"));
    Page()->RBtnSetIP->click();

    // Entered going back the choice stays; going forward the dynamic option is checked again.
    ASSERT_TRUE(Navigate(Main()->FrameDevIPCfg1));
    ASSERT_TRUE(Navigate(Page(), 1));
    EXPECT_TRUE(Page()->RBtnSetIP->isChecked());
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Next"));
    ASSERT_TRUE(Navigate(Main()->FrameWlModeSel1, 1));
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_TRUE(Page()->RBtnSetIPDHCP->isChecked());
}

class SetupMethodTextsTest : public SetupMethodTest
{
protected:
    SetupMethodTextsTest()
    {
        IniText = QStringLiteral("[TFrameSetupMethod]\nBtnNext_DHCP=Apply now\nBtnNext_STATIC=Continue\n");
    }
};

TEST_F(SetupMethodTextsTest, TheCaptionsAreLookedUp)
{
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Apply now"));
    Page()->RBtnSetIP->click();
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Continue"));
}

TEST_F(SetupMethodTest, DynamicWritesTheSettingPausesReadsBackAndMovesOn)
{
    Reach(StaticDevice());
    ASSERT_EQ(g_Var.DevIPConfig.IP_MODE, 0u);
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("set_ip"), QStringLiteral("get_config") }));
    const auto reqs = Apsim().Requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_TRUE(reqs.front().Items.contains(QStringLiteral("IP_MODE=1"))) << reqs.front().Line.toStdString();
    // The configuration read back replaces the one read at login.
    EXPECT_EQ(g_Var.DevIPConfig.IP_MODE, 1u);
    EXPECT_EQ(g_Var.SetupMethod, 1);
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(SetupMethodTest, ADeviceAlreadyOnDhcpMovesOnWithoutAPacket)
{
    Reach(QStringLiteral(R"({"devices":[{"ip":{"dhcp":true}}]})"));
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_TRUE(Apsim().Keys().isEmpty());
}

TEST_F(SetupMethodTest, TheStaticOptionSendsNothingAndLeadsToTheIPPage)
{
    Reach(StaticDevice());
    Page()->RBtnSetIP->click();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameDevIPCfg1));
    EXPECT_TRUE(Apsim().Keys().isEmpty());
    EXPECT_EQ(g_Var.SetupMethod, 0);
    EXPECT_EQ(g_Var.NewIPConfig.LAN_IP, g_Var.DevIPConfig.LAN_IP);
}

TEST_F(SetupMethodTest, AnUnansweredWriteLogsOutAndInOnceAndRepeatsIt)
{
    Reach(StaticDevice(QStringLiteral(R"("faults":{"set_ip":{"drop":1}})")));
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(),
        QStringList({ QStringLiteral("set_ip"), QStringLiteral("logout"), QStringLiteral("login"),
            QStringLiteral("set_ip"), QStringLiteral("get_config") }));
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

// Failures: the message once, the page stays, IP_MODE stays 1 in the pending configuration.
struct DhcpFailureCase
{
    const char* name;
    const char* faults;
    QStringList keys;
};

class SetupMethodFailureTest : public SetupMethodTest, public ::testing::WithParamInterface<DhcpFailureCase>
{
};

TEST_P(SetupMethodFailureTest, ShowsTheConnectMessageAndStays)
{
    Reach(StaticDevice(QString::fromUtf8(GetParam().faults)));
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_EQ(g_Var.NewIPConfig.IP_MODE, 1u);
    EXPECT_EQ(Apsim().Keys(), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(Failures, SetupMethodFailureTest,
    ::testing::Values(
        DhcpFailureCase { "Refused", R"("faults":{"set_ip":{"result":0}})", { QStringLiteral("set_ip") } },
        // Exactly one renewed login, then the second silence ends it.
        DhcpFailureCase { "UnansweredTwice", R"("faults":{"set_ip":{"drop":"all"}})",
            { QStringLiteral("set_ip"), QStringLiteral("logout"), QStringLiteral("login"),
                QStringLiteral("set_ip") } }),
    [](const ::testing::TestParamInfo<DhcpFailureCase>& info) { return std::string(info.param.name); });

TEST_F(SetupMethodTest, AnExpiredLoginLogsInBeforeTheWrite)
{
    // The device drops the login after 5 s (program time) of silence and says so.
    Reach(StaticDevice(QStringLiteral(R"("idle_timeout_ms":5000)")));
    ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("TIMEOUT dev=1")));
    ASSERT_TRUE(WaitFor([] { return !FormUDP->LoggedIn; }));
    Apsim().MarkLog();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
    EXPECT_EQ(Apsim().Keys(),
        QStringList({ QStringLiteral("login"), QStringLiteral("set_ip"), QStringLiteral("get_config") }));
}

class SetupMethodNonWorkingTest : public SetupMethodTest
{
protected:
    SetupMethodNonWorkingTest() { IniText = QStringLiteral("[Setting]\nNonWorking=1\n"); }
};

TEST_F(SetupMethodNonWorkingTest, AFailedWriteShowsTheMessageThenMovesOn)
{
    Reach(StaticDevice(QStringLiteral(R"("faults":{"set_ip":{"result":0}})")));
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    ASSERT_TRUE(WaitForPage(Main()->FrameSetWlMethod1));
}

} // namespace
