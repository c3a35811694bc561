// The operating mode page against the emulator: the mode query on entry, SyncModeButtons and its
// log lines, the mode change with login-first and its single re-login, refusal, NonWorking, Back
// and the two pages that are never shown.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "pages/frameadhocmode.h"
#include "pages/framedevlist.h"
#include "pages/framesetupmethod.h"
#include "pages/framesitesurvey.h"
#include "pages/framewlconfig.h"
#include "pages/framewlmodesel.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");

class WlModeSelTest : public CPageFixture
{
protected:
    TFrameWlModeSel* Page() const { return Main()->FrameWlModeSel1; }

    void Reach(const QString& config = {})
    {
        ASSERT_TRUE(StartDevice(1, config));
        ASSERT_TRUE(ConnectDevice());
        Apsim().MarkLog();
    }
    void Next()
    {
        Page()->BtnNext->click(); // returns when any dialog has closed
        ProcessEvents();
    }
};

TEST_F(WlModeSelTest, InitFrameStartsInAccessPointMode)
{
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_AP); // set when the wizard window was created
    EXPECT_TRUE(Page()->RBtnAPMode->isChecked());
    EXPECT_EQ(Page()->GBoxWlModeSel->title().trimmed(), QStringLiteral("Wireless Modes"));
    EXPECT_EQ(Page()->RBtnWirelessBridge->text(), QStringLiteral("AP Client"));
}

TEST_F(WlModeSelTest, TheModeQueryOnEntryFlipsTheButtonsEvenAfterAClick)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"mode":"bridge"}]})")));
    ASSERT_TRUE(ConnectDevice());
    // The login's read already told the mode; the query answers the same.
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_WBRIDGE);
    EXPECT_TRUE(Page()->RBtnWirelessBridge->isChecked());

    // Entering again: the user clicks meanwhile, the answer puts the device's mode back.
    Apsim().MarkLog();
    ASSERT_TRUE(Navigate(Main()->FrameDevList1, 1));
    ASSERT_TRUE(Navigate(Page()));
    Page()->RBtnAPMode->click();
    ASSERT_TRUE(WaitEngineIdle());
    ASSERT_TRUE(WaitFor([this] { return Page()->RBtnWirelessBridge->isChecked(); }));
    EXPECT_FALSE(Page()->RBtnAPMode->isChecked());
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("get_mode") }));
}

TEST_F(WlModeSelTest, SyncModeButtonsWritesItsThreeLogLines)
{
    CLogCapture log;
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    Page()->SyncModeButtons();
    EXPECT_TRUE(Page()->RBtnWirelessBridge->isChecked());
    g_Var.DeviceMode = DEVICE_AP;
    Page()->SyncModeButtons();
    EXPECT_TRUE(Page()->RBtnAPMode->isChecked());
    // Another value leaves the buttons as they are.
    g_Var.DeviceMode = 3;
    Page()->SyncModeButtons();
    EXPECT_TRUE(Page()->RBtnAPMode->isChecked());
    EXPECT_FALSE(Page()->RBtnWirelessBridge->isChecked());
    EXPECT_EQ(log.Entries(),
        QStringList(
            { QStringLiteral("g_Var.DeviceMode DEVICE_WBRIDGE"), QStringLiteral("g_Var.DeviceMode DEVICE_AP"),
                QStringLiteral("g_Var.DeviceMode != DEVICE_AP, DEVICE_WBRIDGE") }));
}

TEST_F(WlModeSelTest, NextWithoutAChangeSendsNothingAndMovesOn)
{
    Reach();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetupMethod1));
    EXPECT_TRUE(Apsim().Keys().isEmpty());
}

TEST_F(WlModeSelTest, ChangingTheModeWritesItReadsBackAndFollowsTheNewMode)
{
    Reach();
    Page()->RBtnWirelessBridge->click();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSiteSurvey1));
    EXPECT_EQ(
        Apsim().Keys().mid(0, 2), QStringList({ QStringLiteral("set_mode"), QStringLiteral("get_config") }));
    const auto reqs = Apsim().Requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_TRUE(reqs.front().Items.contains(QStringLiteral("DEVICE_MODE=2")))
        << reqs.front().Line.toStdString();
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_WBRIDGE);
    EXPECT_TRUE(Page()->RBtnWirelessBridge->isChecked());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(WlModeSelTest, AnUnansweredChangeLogsInOnceAndRepeatsIt)
{
    Reach(QStringLiteral(R"({"devices":[{"faults":{"set_mode":{"drop":1}}}]})"));
    Page()->RBtnWirelessBridge->click();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSiteSurvey1));
    EXPECT_EQ(Apsim().Keys().mid(0, 4),
        QStringList({ QStringLiteral("set_mode"), QStringLiteral("login"), QStringLiteral("set_mode"),
            QStringLiteral("get_config") }));
}

TEST_F(WlModeSelTest, AnExpiredLoginLogsInFirstAndAllowsNoSecondLogin)
{
    Reach(QStringLiteral(R"({"devices":[{"idle_timeout_ms":5000,"faults":{"set_mode":{"drop":"all"}}}]})"));
    ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("TIMEOUT dev=1")));
    ASSERT_TRUE(WaitFor([] { return !FormUDP->LoggedIn; }));
    Apsim().MarkLog();
    Page()->RBtnWirelessBridge->click();
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    // The change began with the one login it may make: the silence after it ends the change.
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("login"), QStringLiteral("set_mode") }));
}

TEST_F(WlModeSelTest, AnExpiredLoginIsRenewedBeforeTheWrite)
{
    Reach(QStringLiteral(R"({"devices":[{"idle_timeout_ms":5000}]})"));
    ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("TIMEOUT dev=1")));
    ASSERT_TRUE(WaitFor([] { return !FormUDP->LoggedIn; }));
    Apsim().MarkLog();
    Page()->RBtnWirelessBridge->click();
    Next();
    ASSERT_TRUE(WaitForPage(Main()->FrameSiteSurvey1));
    EXPECT_EQ(Apsim().Keys().mid(0, 3),
        QStringList({ QStringLiteral("login"), QStringLiteral("set_mode"), QStringLiteral("get_config") }));
}

struct ModeFailureCase
{
    const char* name;
    const char* config;
    QStringList keys;
};

class WlModeSelFailureTest : public WlModeSelTest, public ::testing::WithParamInterface<ModeFailureCase>
{
};

TEST_P(WlModeSelFailureTest, ShowsTheConnectMessageStaysAndTriesAgainOnNext)
{
    Reach(QString::fromUtf8(GetParam().config));
    Page()->RBtnWirelessBridge->click();
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_EQ(Apsim().Keys(), GetParam().keys);
    // The device did not confirm the mode: the wizard keeps the mode it had, so Next with the
    // same choice tries again rather than moving on as a bridge.
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_AP);
    EXPECT_TRUE(Page()->RBtnWirelessBridge->isChecked());
    Apsim().MarkLog();
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys().value(0), QStringLiteral("set_mode"));
    EXPECT_EQ(Main()->CurrentPage, Page());
}

INSTANTIATE_TEST_SUITE_P(Failures, WlModeSelFailureTest,
    ::testing::Values(ModeFailureCase { "Refused", R"({"devices":[{"faults":{"set_mode":{"result":0}}}]})",
                          { QStringLiteral("set_mode") } },
        ModeFailureCase { "UnansweredTwice", R"({"devices":[{"faults":{"set_mode":{"drop":"all"}}}]})",
            { QStringLiteral("set_mode"), QStringLiteral("login"), QStringLiteral("set_mode") } }),
    [](const ::testing::TestParamInfo<ModeFailureCase>& info) { return std::string(info.param.name); });

class WlModeSelNonWorkingTest : public WlModeSelTest
{
protected:
    WlModeSelNonWorkingTest() { IniText = QStringLiteral("[Setting]\nNonWorking=1\n"); }
};

TEST_F(WlModeSelNonWorkingTest, AFailedChangeShowsTheMessageThenGoesOnInTheChosenMode)
{
    Reach(QStringLiteral(R"({"devices":[{"faults":{"set_mode":{"result":0}}}]})"));
    Page()->RBtnWirelessBridge->click();
    Next();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    ASSERT_TRUE(WaitForPage(Main()->FrameSiteSurvey1));
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_WBRIDGE);
}

TEST_F(WlModeSelTest, BackLogsOutWithoutWaitingAndReturnsToTheList)
{
    Reach();
    ASSERT_TRUE(FormUDP->LoggedIn);
    Page()->BtnBack->click();
    EXPECT_FALSE(FormUDP->LoggedIn); // at once, before any answer
    EXPECT_EQ(FormUDP->PendingOp, OP_NONE);
    ASSERT_TRUE(WaitForPage(Main()->FrameDevList1));
    ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("REQ dev=1")));
    EXPECT_EQ(Apsim().Keys(), QStringList({ QStringLiteral("logout") }));
    EXPECT_FALSE(Main()->FrameDevList1->TimerSearch->Enabled()); // no new search going back
}

TEST_F(WlModeSelTest, EngineMessagesWithoutADialogAreDroppedExceptTheModeAnswer)
{
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitEngineIdle());
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    SendMessage(Page(), UM_UDP_RECV, OP_SET_MODE, 1);
    SendMessage(Page(), UM_UDP_TIMEOUT, OP_SET_MODE, 0);
    SendMessage(Page(), UM_UDP_RECV, OP_LOGIN, 1);
    EXPECT_EQ(FormUDP->PendingOp, OP_NONE);
    EXPECT_TRUE(Page()->RBtnAPMode->isChecked());
    SendMessage(Page(), UM_UDP_RECV, OP_GET_CONFIG, 1);
    EXPECT_TRUE(Page()->RBtnWirelessBridge->isChecked());
    ProcessEvents();
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(WlModeSelTest, TheTwoUnusedPagesCarryTheirTextsAndDoNothing)
{
    TFrameWlConfig* config = Main()->FrameWlConfig1;
    TFrameAdhocMode* adhoc = Main()->FrameAdhocMode1;
    EXPECT_EQ(config->GBoxWlConfig->title().trimmed(), QStringLiteral("Wireless Configuration"));
    EXPECT_EQ(config->RBtnAdhoc->text(), QStringLiteral("Adhoc"));
    EXPECT_EQ(config->RBtnInfrastructure->text(), QStringLiteral("Infrastructure"));
    EXPECT_EQ(adhoc->GBoxAdhocMode->title().trimmed(), QStringLiteral("Adhoc Mode"));
    EXPECT_EQ(adhoc->LbTitle->text(), QStringLiteral("Add your SSID and select your Channel:"));
    EXPECT_EQ(adhoc->EdtSSID->text(), QString());
    EXPECT_EQ(adhoc->CmbChannel->count(), 0);
    const size_t before = Relay().Wizard.size();
    for (TTrifaceBtn* b : { config->BtnExit, config->BtnBack, config->BtnNext, adhoc->BtnExit, adhoc->BtnBack,
             adhoc->BtnNext }) {
        b->click();
    }
    ProcessEvents();
    EXPECT_EQ(Relay().Wizard.size(), before);
}

} // namespace
