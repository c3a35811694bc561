// The confirmation page's write against the emulator: login first, the set request of the
// device's mode, the pumped pause and the read-back; refusal, a set request without reply (one
// re-login, then failure with one message), a read-back without reply, and NonWorking.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "pages/framesetwlmethod.h"
#include "pages/framesuccess.h"
#include "pages/framewlprofconfirm.h"
#include "pages/framewlprofile.h"
#include "pages/framewlprofpsk.h"
#include "pages/framewlprofsecurity.h"
#include "pages/framewlprofssid.h"
#include "pages/framewlprofwlmode.h"
#include "platform/core/clock.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

using namespace pagetest;

namespace {

const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");

class ConfirmDeviceTest : public CPageFixture
{
protected:
    TFrameWlProfile* Host() const { return Main()->FrameWlProfile1; }
    TFrameWlProfConfirm* Page() const { return Host()->FrameWlProfConfirm1; }

    static void Click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        ProcessEvents();
    }

    // The device found and chosen, not logged in: the page must log in itself.
    bool FindDevice()
    {
        if (!FormUDP->SendDiscover(4000, true) || !WaitEngineIdle()) {
            ADD_FAILURE() << "discovery did not end";
            return false;
        }
        if (FormUDP->Devices().empty()) {
            ADD_FAILURE() << "no device answered";
            return false;
        }
        g_Var.SelectedDevice = FormUDP->Devices().front();
        return true;
    }

    // Walks the profile sub-pages with a WPA2 profile "office" up to the confirmation page.
    void WalkToConfirm(int deviceMode, int wlMethod)
    {
        g_Var.DeviceMode = deviceMode;
        g_Var.WlMethod = wlMethod;
        std::strcpy(g_Var.SelectedAP.SSID, "HomeNet");
        g_Var.SelectedAP.Encryption = 3;
        g_Var.SelectedAP.Authentication = 3;
        ASSERT_TRUE(Navigate(Main()->FrameSetWlMethod1));
        ASSERT_TRUE(Navigate(Host()));
        Host()->FrameWlProfSSID1->EdtSSID->setText(QStringLiteral("office"));
        Click(Host()->FrameWlProfSSID1->BtnNext);
        Click(Host()->FrameWlProfWlMode1->BtnNext);
        QComboBox* security = Host()->FrameWlProfSecurity1->CmbSecurity;
        security->setCurrentIndex(security->findData(2));
        Click(Host()->FrameWlProfSecurity1->BtnNext);
        Host()->FrameWlProfPSK1->EdtPassphrase->setText(QStringLiteral("passphrase1"));
        QComboBox* mode = Host()->FrameWlProfPSK1->CmbWPAMode;
        mode->setCurrentIndex(mode->findData(1));
        Host()->FrameWlProfPSK1->CmbWPAModeSelect();
        Click(Host()->FrameWlProfPSK1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Page());
        TakeShownTexts();
        Apsim().MarkLog();
    }

    // Next on the confirmation page: the write runs under the progress dialog and returns.
    void Write()
    {
        Click(Page()->BtnNext);
        ProcessEvents();
    }
};

} // namespace

TEST_F(ConfirmDeviceTest, AccessPointWriteLogsInSetsPausesAndReadsBack)
{
    ASSERT_TRUE(StartDevice());
    ASSERT_TRUE(FindDevice());
    WalkToConfirm(DEVICE_AP, 1);
    ASSERT_FALSE(FormUDP->LoggedIn);
    const std::uint32_t start = GetTickCount();
    Write();
    ASSERT_TRUE(WaitForPage(Main()->FrameSuccess1));
    EXPECT_GE(GetTickCount() - start, 3000u); // the pause before the read-back
    EXPECT_TRUE(TakeShownTexts().isEmpty());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "set_wireless", "get_config" }));
    const auto requests = Apsim().Requests();
    bool seen = false;
    for (const CApsimRequest& r : requests) {
        if (r.Key == QStringLiteral("set_wireless")) {
            seen = true;
            EXPECT_EQ(r.Cmd, QStringLiteral("CMD_SET_CONFIG"));
            EXPECT_TRUE(r.Items.contains(QStringLiteral("WL_SSID=\"office\""))) << r.Items.toStdString();
            EXPECT_TRUE(r.Items.contains(QStringLiteral("WL_STD_CH=0"))) << r.Items.toStdString();
            EXPECT_TRUE(r.Items.contains(QStringLiteral("WL_WPA_PSK=\"passphrase1\"")))
                << r.Items.toStdString();
            EXPECT_TRUE(r.Items.contains(QStringLiteral("WL_WPA_MODE=1"))) << r.Items.toStdString();
            EXPECT_TRUE(r.Items.contains(QStringLiteral("WL_WPA_CIPHER=1"))) << r.Items.toStdString();
        }
    }
    EXPECT_TRUE(seen);
    // The read-back filled the configuration as read.
    EXPECT_STREQ(g_Var.DevWlConfig.WL_SSID, "office");
    EXPECT_EQ(Page()->Progress(), nullptr);
}

TEST_F(ConfirmDeviceTest, BridgeWriteUsesTheStationRequest)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"mode":"bridge"}]})")));
    ASSERT_TRUE(ConnectDevice());
    WalkToConfirm(DEVICE_WBRIDGE, 1);
    EXPECT_EQ(Page()->BtnNext->text(), QStringLiteral("Connect"));
    ASSERT_TRUE(FormUDP->LoggedIn);
    Write();
    ASSERT_TRUE(WaitForPage(Main()->FrameSuccess1));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "station_set", "get_config" }));
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(ConfirmDeviceTest, RefusedSetShowsOneMessageAndStays)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"set_wireless":{"result":0}}}]})")));
    ASSERT_TRUE(FindDevice());
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Main()->CurrentPage, Host());
    EXPECT_EQ(Host()->SubPage(), Page());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "set_wireless" }));
    // The user's values stay for another try.
    EXPECT_STREQ(g_Var.NewWlConfig.WL_SSID, "office");
}

TEST_F(ConfirmDeviceTest, SetWithoutReplyTwiceReloginsOnceAndShowsOneMessage)
{
    ASSERT_TRUE(
        StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"set_wireless":{"drop":"all"}}}]})")));
    ASSERT_TRUE(ConnectDevice());
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Host()->SubPage(), Page());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "set_wireless", "logout", "login", "set_wireless" }));
}

TEST_F(ConfirmDeviceTest, FirstSetLostSecondAnsweredSucceeds)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"set_wireless":{"drop":1}}}]})")));
    ASSERT_TRUE(ConnectDevice());
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    ASSERT_TRUE(WaitForPage(Main()->FrameSuccess1));
    EXPECT_TRUE(TakeShownTexts().isEmpty());
    EXPECT_EQ(
        Apsim().Keys(), QStringList({ "set_wireless", "logout", "login", "set_wireless", "get_config" }));
}

TEST_F(ConfirmDeviceTest, ReadBackWithoutReplyIsAFailure)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"get_config":{"drop":"all"}}}]})")));
    ASSERT_TRUE(FindDevice());
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Host()->SubPage(), Page());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "set_wireless", "get_config" }));
}

TEST_F(ConfirmDeviceTest, RefusedLoginIsAFailure)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"login":{"result":0}}}]})")));
    ASSERT_TRUE(FindDevice());
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login" }));
}

class ConfirmNonWorkingTest : public ConfirmDeviceTest
{
protected:
    ConfirmNonWorkingTest() { IniText = QStringLiteral("[Setting]\r\nNonWorking=1\r\n"); }
};

TEST_F(ConfirmNonWorkingTest, FailedWriteStillMovesOnAfterTheMessage)
{
    ASSERT_TRUE(g_Var.NonWorking);
    // No device at all: the login gets no reply.
    WalkToConfirm(DEVICE_AP, 1);
    Write();
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_TRUE(WaitForPage(Main()->FrameSuccess1));
}
