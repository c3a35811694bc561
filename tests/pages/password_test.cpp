// The login page against the emulator: login and configuration read under the progress dialog,
// refusal, silence, the failure message, NonWorking, the password edit and its label.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framewlmodesel.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

const QString kLoginFailed = QStringLiteral("Unable to login the deivce.");

class PasswordTest : public CPageFixture
{
protected:
    TFramePassword* Page() const { return Main()->FramePassword1; }

    // Device list -> first device -> login page.
    void ReachLoginPage()
    {
        ASSERT_TRUE(Navigate(Main()->FrameDevList1));
        ASSERT_TRUE(WaitSearchDone());
        ASSERT_GE(Main()->FrameDevList1->LvDevList->RowCount(), 1);
        Main()->FrameDevList1->LvDevList->Row(0)->setSelected(true);
        Main()->FrameDevList1->BtnCfgClick();
        ASSERT_TRUE(WaitForPage(Page()));
        Apsim().MarkLog();
    }
    void Login(const QString& password)
    {
        Page()->EdtPassword->setText(password);
        Page()->BtnLogin->click(); // returns when the dialog has closed
        ProcessEvents();
    }
};

TEST_F(PasswordTest, LoginThenWholeConfigurationReadMovesOn)
{
    ASSERT_TRUE(StartDevice(1,
        QStringLiteral(
            R"({"devices":[{"password":"s3cret","ip":{"dhcp":false,"address":"127.0.1.1",)"
            R"("netmask":"255.255.0.0","gateway":"127.0.0.254"},"wireless":{"ssid":"lobby"}}]})")));
    ReachLoginPage();
    Login(QStringLiteral("s3cret"));

    ASSERT_TRUE(WaitForPage(Main()->FrameWlModeSel1));
    EXPECT_EQ(
        Apsim().Keys().mid(0, 2), QStringList({ QStringLiteral("login"), QStringLiteral("get_config") }));
    EXPECT_EQ(g_Var.Password, QStringLiteral("s3cret"));
    EXPECT_TRUE(FormUDP->LoggedIn);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0x7F000101u);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_NETMASK, 0xFFFF0000u);
    EXPECT_EQ(g_Var.DevIPConfig.LAN_GATEWAY, 0x7F0000FEu);
    EXPECT_EQ(QString::fromUtf8(g_Var.DevWlConfig.WL_SSID), QStringLiteral("lobby"));
    EXPECT_EQ(g_Var.DeviceMode, DEVICE_AP);
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(PasswordTest, AnEmptyPasswordMatchesABlankDevice)
{
    ASSERT_TRUE(StartDevice(1));
    ReachLoginPage();
    Login(QString());
    ASSERT_TRUE(WaitForPage(Main()->FrameWlModeSel1));
    EXPECT_TRUE(FormUDP->LoggedIn);
}

// Each failure closes the dialog with failure, shows the message once, keeps the page and the
// password.
struct LoginFailureCase
{
    const char* name;
    const char* config;
    const char* password;
    QStringList keys; // of device 1
};

class PasswordFailureTest : public PasswordTest, public ::testing::WithParamInterface<LoginFailureCase>
{
};

TEST_P(PasswordFailureTest, ShowsTheLoginMessageAndStays)
{
    const LoginFailureCase& c = GetParam();
    ASSERT_TRUE(StartDevice(1, QString::fromUtf8(c.config)));
    ReachLoginPage();
    Login(QString::fromUtf8(c.password));

    EXPECT_EQ(TakeShownTexts(), QStringList({ kLoginFailed }));
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_EQ(Page()->EdtPassword->text(), QString::fromUtf8(c.password));
    EXPECT_EQ(g_Var.Password, QString::fromUtf8(c.password));
    EXPECT_EQ(Apsim().Keys(), c.keys);
    // No late message of the exchange moves the page afterwards.
    ProcessEvents();
    EXPECT_EQ(Main()->CurrentPage, Page());
}

INSTANTIATE_TEST_SUITE_P(Failures, PasswordFailureTest,
    ::testing::Values(LoginFailureCase { "Refused", R"({"devices":[{"faults":{"login":{"result":0}}}]})", "",
                          { QStringLiteral("login") } },
        // Under a wrong password no device can read the login: silence, the 5 s time-out.
        LoginFailureCase { "WrongPassword", R"({"devices":[{"password":"right"}]})", "wrong", {} },
        LoginFailureCase { "NoLoginAnswer", R"({"devices":[{"faults":{"login":{"drop":"all"}}}]})", "",
            { QStringLiteral("login") } },
        LoginFailureCase { "NoConfigurationAnswer",
            R"({"devices":[{"faults":{"get_config":{"drop":"all"}}}]})", "",
            { QStringLiteral("login"), QStringLiteral("get_config") } }),
    [](const ::testing::TestParamInfo<LoginFailureCase>& info) { return std::string(info.param.name); });

TEST_F(PasswordTest, ACorrectedPasswordLogsInOnTheSecondTry)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"password":"right"}]})")));
    ReachLoginPage();
    Login(QStringLiteral("wrong"));
    EXPECT_EQ(TakeShownTexts(), QStringList({ kLoginFailed }));
    Login(QStringLiteral("right"));
    ASSERT_TRUE(WaitForPage(Main()->FrameWlModeSel1));
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(PasswordTest, EngineMessagesWithoutADialogAreDropped)
{
    ASSERT_TRUE(StartDevice(1));
    ReachLoginPage();
    SendMessage(Page(), UM_UDP_RECV, OP_LOGIN, 1);
    SendMessage(Page(), UM_UDP_RECV, OP_GET_CONFIG, 1);
    SendMessage(Page(), UM_UDP_TIMEOUT, OP_LOGIN, 0);
    ProcessEvents();
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_EQ(FormUDP->PendingOp, OP_NONE);
    EXPECT_TRUE(Apsim().Keys().isEmpty());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(PasswordTest, EditTakesSixteenMaskedCharacters)
{
    ASSERT_TRUE(Navigate(Page()));
    Page()->EdtPassword->clear();
    QTest::keyClicks(Page()->EdtPassword, QStringLiteral("abcdefghijklmnopq")); // 17
    EXPECT_EQ(Page()->EdtPassword->text(), QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(Page()->EdtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Page()->EdtPassword->displayText(), QString(16, QLatin1Char('*')));
}

TEST_F(PasswordTest, ForwardEntryFillsTheLastPasswordAndBackKeepsWhatWasTyped)
{
    ASSERT_TRUE(Navigate(Main()->FrameDevList1));
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_EQ(Page()->EdtPassword->text(), QString());
    g_Var.Password = QStringLiteral("last-one");
    ASSERT_TRUE(Navigate(Main()->FrameDevList1, 1));
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_EQ(Page()->EdtPassword->text(), QStringLiteral("last-one"));

    // Coming back from the next page keeps the typed text.
    Page()->EdtPassword->setText(QStringLiteral("typed"));
    ASSERT_TRUE(Navigate(Main()->FrameWlModeSel1));
    ASSERT_TRUE(Navigate(Page(), 1));
    EXPECT_EQ(Page()->EdtPassword->text(), QStringLiteral("typed"));
}

class PasswordTextsTest : public PasswordTest
{
protected:
    PasswordTextsTest()
    {
        IniText = QStringLiteral("[TFramePassword]\nLbDefPswd=Something else\nLbPassword=Passwort:\n");
    }
};

TEST_F(PasswordTextsTest, TheDefaultPasswordLabelAlwaysShowsTheTwoJoinedTexts)
{
    EXPECT_EQ(Page()->LbPassword->text(), QStringLiteral("Passwort:"));
    for (int direction : { 0, 1 }) {
        ASSERT_TRUE(Navigate(Main()->FrameDevList1, 1));
        ASSERT_TRUE(Navigate(Page(), direction));
        EXPECT_EQ(Page()->LbDefPswd->text(), QStringLiteral("( default password is blank.  )"));
    }
}

TEST_F(PasswordTest, EnteringGivesThePasswordEditTheFocus)
{
    Main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main()));
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_TRUE(WaitFor([this] { return Page()->EdtPassword->hasFocus(); }, 5000));
}

class PasswordNonWorkingTest : public PasswordTest
{
protected:
    PasswordNonWorkingTest() { IniText = QStringLiteral("[Setting]\nNonWorking=1\n"); }
};

TEST_F(PasswordNonWorkingTest, AFailedLoginShowsTheMessageThenMovesOn)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"login":{"result":0}}}]})")));
    ReachLoginPage();
    Login(QString());
    EXPECT_EQ(TakeShownTexts(), QStringList({ kLoginFailed }));
    ASSERT_TRUE(WaitForPage(Main()->FrameWlModeSel1));
    EXPECT_FALSE(FormUDP->LoggedIn);
}

} // namespace
