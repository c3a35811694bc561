// The WPS page against the emulator: push button and PIN in access-point and bridge mode, the
// status events that end a run ("Configured", "Idle" in and out of 100 s, "Idle" without a
// "Start WSC Process" of the run, "WSC Fail"), the 180 s limit, statuses that are only logged,
// the re-login after an unanswered request, NonWorking; and the page's fields: enabling rules,
// the PIN block layout of each mode, the texts of each mode and the device's own PIN.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/frameadhocmode.h"
#include "pages/framesuccess.h"
#include "pages/framewpsmethod.h"
#include "platform/core/clock.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

using namespace pagetest;

namespace {

const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");

enum class TRole { AccessPoint, Bridge };
enum class TMethod { PushButton, Pin };

// An eight-digit PIN with a valid check digit whose first digits are zeros.
QString LeadingZeroPin()
{
    const std::uint32_t first7 = 1234;
    return QStringLiteral("%1").arg(
        first7 * 10 + std::uint32_t(WpsPinChecksum(first7)), 8, 10, QLatin1Char('0'));
}

// The emulator's device, in the given mode, with a WPS run of its own. Logins never time out.
QString DeviceConfig(TRole role, const QString& wps, const QString& faults = QStringLiteral("{}"))
{
    return QStringLiteral(R"({"devices":[{"mode":"%1","idle_timeout_ms":0,"station_pin":"76543210",)"
                          R"("wps":%2,"faults":%3}]})")
        .arg(role == TRole::Bridge ? QStringLiteral("bridge") : QStringLiteral("ap"), wps, faults);
}

class WpsPageTest : public CPageFixture
{
protected:
    TFrameWPSMethod* Page() const { return Main()->FrameWPSMethod1; }

    static void Click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        ProcessEvents();
    }

    // The device found, logged in and on the WPS page in the role, entered going forward.
    bool EnterWithDevice(TRole role, const QString& config)
    {
        if (!StartDevice(1, config) || !ConnectDevice()) {
            return false;
        }
        return EnterPage(role);
    }

    bool EnterPage(TRole role)
    {
        g_Var.DeviceMode = role == TRole::Bridge ? DEVICE_WBRIDGE : DEVICE_AP;
        if (!Navigate(Page())) {
            ADD_FAILURE() << "the WPS page refused to be entered";
            return false;
        }
        if (role == TRole::Bridge && !WaitEngineIdle()) {
            ADD_FAILURE() << "the device PIN query did not end";
            return false;
        }
        ProcessEvents();
        TakeShownTexts();
        Apsim().MarkLog();
        return true;
    }

    // Chooses the method and fills what it needs: the client's PIN (access point) or the SSID
    // (bridge; the device's own PIN is already there).
    void Choose(TMethod method, const QString& pin = QStringLiteral("12345670"))
    {
        if (method == TMethod::PushButton) {
            Page()->RBtnPBC->click();
            return;
        }
        Page()->RBtnPIN->click();
        if (g_Var.DeviceMode == DEVICE_AP) {
            Page()->EdtPIN->setText(pin);
        } else {
            Page()->EdtSSID->setText(QStringLiteral("HomeNet"));
        }
    }

    // Connect: the run goes on under the progress dialog until it ends; then the outcome.
    bool Run()
    {
        EXPECT_TRUE(Page()->BtnNext->isEnabled());
        Click(Page()->BtnNext);
        ProcessEvents();
        return Main()->CurrentPage == Main()->FrameSuccess1 || WaitForPage(Main()->FrameSuccess1, 300);
    }
};

// ---------------------------------------------------------------------------------------------
// Runs against the emulator, by role, method and how the device's run ends.

struct TRunCase
{
    const char* name;
    TRole role;
    TMethod method;
    const char* wps; // the device's "wps" member
    bool success;
    QStringList keys; // the device's requests from Connect on
    std::uint32_t minProgramMs; // at least this long (program time) from Connect to the end
    std::uint32_t maxProgramMs = 179000; // and at most this long
};

class WpsRunTest : public WpsPageTest, public ::testing::WithParamInterface<TRunCase>
{
};

TEST_P(WpsRunTest, EndsAsTheDeviceReports)
{
    const TRunCase& c = GetParam();
    ASSERT_TRUE(EnterWithDevice(c.role, DeviceConfig(c.role, QString::fromLatin1(c.wps))));
    Choose(c.method);
    const std::uint32_t start = GetTickCount();
    const bool success = Run();
    const std::uint32_t elapsed = GetTickCount() - start;
    EXPECT_EQ(success, c.success);
    EXPECT_EQ(TakeShownTexts(), c.success ? QStringList() : QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys(), c.keys);
    EXPECT_GE(elapsed, c.minProgramMs);
    EXPECT_LE(elapsed, c.maxProgramMs);
    EXPECT_EQ(Page()->Progress(), nullptr);
    EXPECT_FALSE(Page()->TimerTimerout->Enabled());
    EXPECT_FALSE(Page()->Listening);
    EXPECT_EQ(g_Var.WpsMethod, c.method == TMethod::PushButton ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Runs, WpsRunTest,
    ::testing::Values(
        // "Configured": the access point is read back after 10 s; the bridge ends at once.
        TRunCase { "ApPushButtonConfigured", TRole::AccessPoint, TMethod::PushButton,
            R"({"outcome":"configured","start_delay_ms":500,"step_ms":1000})", true,
            { "wps_pbc", "get_config" }, 10000 },
        TRunCase { "ApPinConfigured", TRole::AccessPoint, TMethod::Pin,
            R"({"outcome":"configured","start_delay_ms":500,"step_ms":1000})", true,
            { "wps_pin", "get_config" }, 10000 },
        TRunCase { "BridgePushButtonConfigured", TRole::Bridge, TMethod::PushButton,
            R"({"outcome":"configured","start_delay_ms":500,"step_ms":1000})", true, { "wps_pbc" }, 0 },
        TRunCase { "BridgePinConfigured", TRole::Bridge, TMethod::Pin,
            R"({"outcome":"configured","start_delay_ms":500,"step_ms":1000})", true, { "wps_pin" }, 0 },
        // "Idle" soon after "Start WSC Process": success through the read-back after 25 s.
        TRunCase { "ApIdleWithin100s", TRole::AccessPoint, TMethod::PushButton,
            R"({"statuses":[3,4,5,1],"start_delay_ms":500,"step_ms":5000})", true,
            { "wps_pbc", "get_config" }, 25000 + 15000 },
        TRunCase { "BridgeIdleWithin100s", TRole::Bridge, TMethod::Pin,
            R"({"statuses":[3,35,1],"start_delay_ms":500,"step_ms":5000})", true, { "wps_pin", "get_config" },
            25000 + 9000 },
        // "Idle" 120 s after "Start WSC Process": failure, nothing read back.
        TRunCase { "ApIdleAfter100s", TRole::AccessPoint, TMethod::PushButton,
            R"({"statuses":[3,1],"start_delay_ms":500,"step_ms":120000})", false, { "wps_pbc" }, 120000 },
        // "WSC Fail" ends the run at once, long before the 180 s limit.
        TRunCase { "ApWscFail", TRole::AccessPoint, TMethod::Pin,
            R"({"outcome":"wsc_fail","start_delay_ms":500,"step_ms":1000})", false, { "wps_pin" }, 5000 },
        TRunCase { "BridgePasswordMismatchThenFail", TRole::Bridge, TMethod::Pin,
            R"({"outcome":"password_mismatch","start_delay_ms":500,"step_ms":1000})", false, { "wps_pin" },
            6000 },
        // No status at all: the 180 s timer ends the run.
        TRunCase { "ApNoStatusTimerExpires", TRole::AccessPoint, TMethod::PushButton, R"({"outcome":"none"})",
            false, { "wps_pbc" }, 180000, 200000 },
        TRunCase { "BridgeNoStatusTimerExpires", TRole::Bridge, TMethod::PushButton, R"({"outcome":"none"})",
            false, { "wps_pbc" }, 180000, 200000 }),
    [](const ::testing::TestParamInfo<TRunCase>& info) { return std::string(info.param.name); });

// The request the access point gets carries the PIN as eight digits, leading zeros included.
TEST_F(WpsPageTest, ApPinIsSentWithItsLeadingZeros)
{
    ASSERT_TRUE(
        EnterWithDevice(TRole::AccessPoint, DeviceConfig(TRole::AccessPoint, R"({"outcome":"configured"})")));
    const QString pin = LeadingZeroPin();
    ASSERT_TRUE(pin.startsWith(QStringLiteral("000")));
    Choose(TMethod::Pin, pin);
    EXPECT_TRUE(Run());
    EXPECT_EQ(g_Var.NewWlConfig.WpsPinInput, pin.toInt());
    bool seen = false;
    for (const CApsimRequest& r : Apsim().Requests()) {
        if (r.Key == QStringLiteral("wps_pin")) {
            seen = true;
            EXPECT_TRUE(r.Items.contains(pin)) << r.Items.toStdString();
        }
    }
    EXPECT_TRUE(seen);
}

// The bridge's request names the access point to join.
TEST_F(WpsPageTest, BridgePinRequestCarriesTheSsid)
{
    ASSERT_TRUE(EnterWithDevice(TRole::Bridge, DeviceConfig(TRole::Bridge, R"({"outcome":"configured"})")));
    Page()->RBtnPIN->click();
    Page()->EdtSSID->setText(QStringLiteral("Lab-Mixed"));
    EXPECT_TRUE(Run());
    EXPECT_STREQ(g_Var.NewWlConfig.WL_SSID, "Lab-Mixed");
    const auto requests = Apsim().Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front().Key, QStringLiteral("wps_pin"));
    EXPECT_TRUE(requests.front().Items.contains(QStringLiteral("\"Lab-Mixed\"")))
        << requests.front().Items.toStdString();
}

// An "Idle" counts only after this run's own "Start WSC Process": a start moments ago in another
// run (or a computer that booted moments ago) does not make a device that never ran a success.
TEST_F(WpsPageTest, IdleWithoutStartOfTheRunFails)
{
    ASSERT_TRUE(EnterWithDevice(TRole::AccessPoint,
        DeviceConfig(TRole::AccessPoint, R"({"statuses":[4,1],"start_delay_ms":500,"step_ms":1000})")));
    WpsStartTick = GetTickCount();
    CLogCapture log;
    Choose(TMethod::PushButton);
    EXPECT_FALSE(Run());
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "wps_pbc" })); // nothing read back
    EXPECT_TRUE(log.Entries().contains(QStringLiteral("TFrameWPSMethod::RecvWPSStatus 1=Idle")));
}

// Statuses other than 1, 2, 3 and 34 are written to the log and change nothing.
TEST_F(WpsPageTest, OtherStatusesAreOnlyLogged)
{
    ASSERT_TRUE(EnterWithDevice(TRole::AccessPoint,
        DeviceConfig(TRole::AccessPoint,
            R"({"statuses":[3,257,262,258,999,34],"start_delay_ms":500,"step_ms":1000})")));
    CLogCapture log;
    const std::uint32_t before = WpsStartTick;
    Choose(TMethod::PushButton);
    EXPECT_TRUE(Run());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
    EXPECT_NE(WpsStartTick, before);
    const QStringList entries = log.Entries();
    for (const char* line : { "TFrameWPSMethod::RecvWPSStatus 3=Start WSC Process",
             "TFrameWPSMethod::RecvWPSStatus 257=PBC:TOO MANY AP",
             "TFrameWPSMethod::RecvWPSStatus 262=PASSWORD_MISMATCH",
             "TFrameWPSMethod::RecvWPSStatus 258=PBC:NO AP", "TFrameWPSMethod::RecvWPSStatus 999=Unknown",
             "TFrameWPSMethod::RecvWPSStatus 34=Configured" }) {
        EXPECT_TRUE(entries.contains(QString::fromLatin1(line))) << line;
    }
}

// The 180 s limit writes its log line.
TEST_F(WpsPageTest, TimerExpiryIsLogged)
{
    ASSERT_TRUE(
        EnterWithDevice(TRole::AccessPoint, DeviceConfig(TRole::AccessPoint, R"({"outcome":"none"})")));
    CLogCapture log;
    Choose(TMethod::PushButton);
    EXPECT_FALSE(Run());
    EXPECT_TRUE(log.Entries().contains(QStringLiteral("TFrameWPSMethod::TimerTimeroutTimer")));
}

// A request the device refuses ends the run at once.
TEST_F(WpsPageTest, RefusedRequestFails)
{
    ASSERT_TRUE(EnterWithDevice(TRole::AccessPoint,
        DeviceConfig(TRole::AccessPoint, R"({"outcome":"configured"})", R"({"wps_pbc":{"result":0}})")));
    Choose(TMethod::PushButton);
    EXPECT_FALSE(Run());
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "wps_pbc" }));
}

// An unanswered request: one logout without waiting, one login, the request again.
TEST_F(WpsPageTest, UnansweredRequestIsRepeatedOnceAfterFreshLogin)
{
    ASSERT_TRUE(EnterWithDevice(TRole::AccessPoint,
        DeviceConfig(TRole::AccessPoint, R"({"outcome":"configured"})", R"({"wps_pbc":{"drop":1}})")));
    Choose(TMethod::PushButton);
    EXPECT_TRUE(Run());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "wps_pbc", "logout", "login", "wps_pbc", "get_config" }));
}

TEST_F(WpsPageTest, RequestUnansweredTwiceFailsWithOneMessage)
{
    ASSERT_TRUE(EnterWithDevice(TRole::Bridge,
        DeviceConfig(TRole::Bridge, R"({"outcome":"configured"})", R"({"wps_pin":{"drop":"all"}})")));
    Choose(TMethod::Pin);
    EXPECT_FALSE(Run());
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
    EXPECT_EQ(Apsim().Keys(), QStringList({ "wps_pin", "logout", "login", "wps_pin" }));
    EXPECT_EQ(Main()->CurrentPage, Page()); // the page stays with the user's entries
    EXPECT_EQ(Page()->EdtSSID->text(), QStringLiteral("HomeNet"));
}

// Not logged in any more: the run logs in first.
TEST_F(WpsPageTest, LogsInFirstWhenNotLoggedIn)
{
    ASSERT_TRUE(
        EnterWithDevice(TRole::AccessPoint, DeviceConfig(TRole::AccessPoint, R"({"outcome":"configured"})")));
    FormUDP->SendLogout(0);
    ASSERT_TRUE(WaitFor([this] { return Apsim().Count(QStringLiteral("logout")) == 1; }));
    Apsim().MarkLog();
    Choose(TMethod::PushButton);
    EXPECT_TRUE(Run());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "wps_pbc", "get_config" }));
}

// With NonWorking a failed run still shows its message, then the wizard moves on.
TEST_F(WpsPageTest, NonWorkingMovesOnAfterTheMessage)
{
    ASSERT_TRUE(EnterWithDevice(TRole::AccessPoint,
        DeviceConfig(TRole::AccessPoint, R"({"outcome":"wsc_fail","start_delay_ms":500,"step_ms":500})")));
    g_Var.NonWorking = true;
    Choose(TMethod::PushButton);
    EXPECT_TRUE(Run());
    EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
}

// Status events while no run is under way are dropped.
TEST_F(WpsPageTest, EventsWithoutRunAreDropped)
{
    ASSERT_TRUE(
        EnterWithDevice(TRole::AccessPoint, DeviceConfig(TRole::AccessPoint, R"({"outcome":"configured"})")));
    CLogCapture log;
    const std::uint32_t before = WpsStartTick;
    PostMessage(ApplicationMainWindow(), UM_UDP_EVENT, 150, 3);
    PostMessage(ApplicationMainWindow(), UM_UDP_EVENT, 150, 34);
    ProcessEvents();
    EXPECT_EQ(WpsStartTick, before);
    EXPECT_EQ(Main()->CurrentPage, Page());
    EXPECT_FALSE(log.Entries().join(QLatin1Char('\n')).contains(QStringLiteral("RecvWPSStatus")));
}

// ---------------------------------------------------------------------------------------------
// The fields of the page.

// The device's own PIN replaces the dots and fills the hidden PIN edit as soon as it answers.
TEST_F(WpsPageTest, BridgeShowsTheDevicePin)
{
    ASSERT_TRUE(EnterWithDevice(TRole::Bridge, DeviceConfig(TRole::Bridge, R"({"outcome":"configured"})")));
    EXPECT_EQ(Page()->LbDevPINCode->text(), QStringLiteral("76543210"));
    EXPECT_EQ(Page()->EdtPIN->text(), QStringLiteral("76543210"));
    EXPECT_TRUE(Page()->LbDevPINCode->isVisible());
    EXPECT_FALSE(Page()->EdtPIN->isVisible());
    Page()->RBtnPIN->click();
    Page()->EdtSSID->clear();
    EXPECT_FALSE(Page()->BtnNext->isEnabled());
    Page()->EdtSSID->setText(QStringLiteral("x"));
    EXPECT_TRUE(Page()->BtnNext->isEnabled());
}

// A bridge that does not answer the PIN query leaves the dots and no PIN: the PIN method cannot go on.
TEST_F(WpsPageTest, BridgeWithoutPinAnswerKeepsTheDots)
{
    ASSERT_TRUE(EnterWithDevice(TRole::Bridge,
        DeviceConfig(
            TRole::Bridge, R"({"outcome":"configured"})", R"({"station_get_config":{"drop":"all"}})")));
    EXPECT_EQ(Page()->LbDevPINCode->text(), QStringLiteral("................"));
    EXPECT_TRUE(Page()->EdtPIN->text().isEmpty());
    Page()->RBtnPIN->click();
    Page()->EdtSSID->setText(QStringLiteral("HomeNet"));
    EXPECT_FALSE(Page()->BtnNext->isEnabled());
    Page()->RBtnPBC->click();
    EXPECT_TRUE(Page()->BtnNext->isEnabled());
}

struct TEnableCase
{
    const char* name;
    int deviceMode;
    bool pinMethod;
    const char* ssid;
    const char* pin;
    bool next;
};

class WpsEnableTest : public WpsPageTest, public ::testing::WithParamInterface<TEnableCase>
{
};

TEST_P(WpsEnableTest, NextFollowsTheEntries)
{
    const TEnableCase& c = GetParam();
    g_Var.DeviceMode = c.deviceMode;
    ASSERT_TRUE(Navigate(Page()));
    (c.pinMethod ? Page()->RBtnPIN : Page()->RBtnPBC)->click();
    Page()->EdtSSID->setText(QString::fromLatin1(c.ssid));
    Page()->EdtPIN->setText(QString::fromLatin1(c.pin));
    EXPECT_EQ(Page()->BtnNext->isEnabled(), c.next);
    EXPECT_EQ(Page()->EdtPIN->isEnabled(), c.pinMethod);
    EXPECT_EQ(Page()->EdtSSID->isEnabled(), c.pinMethod);
    EXPECT_EQ(Page()->BtnSelect->isEnabled(), c.pinMethod);
}

INSTANTIATE_TEST_SUITE_P(Rules, WpsEnableTest,
    ::testing::Values(TEnableCase { "ApPushButton", DEVICE_AP, false, "", "", true },
        TEnableCase { "ApPinEmpty", DEVICE_AP, true, "", "", false },
        TEnableCase { "ApPinSevenDigits", DEVICE_AP, true, "", "1234567", false },
        TEnableCase { "ApPinEightDigits", DEVICE_AP, true, "", "12345670", true },
        TEnableCase { "BridgePushButton", DEVICE_WBRIDGE, false, "", "", true },
        TEnableCase { "BridgePinNoSsid", DEVICE_WBRIDGE, true, "", "12345670", false },
        TEnableCase { "BridgePinNoPin", DEVICE_WBRIDGE, true, "HomeNet", "", false },
        TEnableCase { "BridgePinSsidAndPin", DEVICE_WBRIDGE, true, "HomeNet", "12345670", true },
        TEnableCase { "OtherModePin", 3, true, "HomeNet", "12345670", false }),
    [](const ::testing::TestParamInfo<TEnableCase>& info) { return std::string(info.param.name); });

// Letters cannot be typed into the PIN, and it holds eight digits at most.
TEST_F(WpsPageTest, PinTakesDigitsOnly)
{
    g_Var.DeviceMode = DEVICE_AP;
    ASSERT_TRUE(Navigate(Page()));
    Page()->RBtnPIN->click();
    QTest::keyClicks(Page()->EdtPIN, QStringLiteral("12a3-4b5 6789012"));
    EXPECT_EQ(Page()->EdtPIN->text(), QStringLiteral("12345678"));
    EXPECT_TRUE(Page()->BtnNext->isEnabled());
}

// The PIN block: rows of 23 pixels below the PIN radio button.
TEST_F(WpsPageTest, PinBlockLayoutByMode)
{
    TFrameWPSMethod* p = Page();
    g_Var.DeviceMode = DEVICE_AP;
    ASSERT_TRUE(Navigate(p));
    const int top = p->RBtnPIN->y();
    EXPECT_FALSE(p->LbSSID->isVisible());
    EXPECT_FALSE(p->EdtSSID->isVisible());
    EXPECT_FALSE(p->BtnSelect->isVisible());
    EXPECT_EQ(p->LbDevPIN->y(), top + 23);
    EXPECT_EQ(p->EdtPIN->y(), top + 23);
    EXPECT_TRUE(p->EdtPIN->isVisible());
    EXPECT_FALSE(p->LbDevPINCode->isVisible());
    EXPECT_EQ(p->LbPINInfo->y(), top + 46);
    EXPECT_TRUE(p->RBtnPBC->isChecked());

    // Forward again in bridge mode (from another page).
    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    std::strcpy(g_Var.SelectedAP.SSID, "HomeNet");
    p->RBtnPIN->click();
    ASSERT_TRUE(Navigate(p));
    EXPECT_TRUE(p->RBtnPBC->isChecked());
    EXPECT_TRUE(p->LbSSID->isVisible());
    EXPECT_TRUE(p->EdtSSID->isVisible());
    EXPECT_TRUE(p->BtnSelect->isVisible());
    EXPECT_EQ(p->LbSSID->y(), top + 23);
    EXPECT_EQ(p->EdtSSID->y(), top + 23);
    EXPECT_EQ(p->BtnSelect->y(), top + 23 + 18);
    EXPECT_EQ(p->LbDevPIN->y(), top + 46);
    EXPECT_EQ(p->LbDevPINCode->geometry(), p->EdtPIN->geometry());
    EXPECT_TRUE(p->LbDevPINCode->isVisible());
    EXPECT_FALSE(p->EdtPIN->isVisible());
    EXPECT_EQ(p->LbPINInfo->y(), top + 69);
    EXPECT_EQ(p->EdtSSID->text(), QStringLiteral("HomeNet"));
}

// Without settings-file texts the explanations are blank and the captions their defaults.
TEST_F(WpsPageTest, DefaultTextsByMode)
{
    g_Var.DeviceMode = DEVICE_AP;
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_TRUE(Page()->LbPBCInfo->text().isEmpty());
    EXPECT_TRUE(Page()->LbPINInfo->text().isEmpty());
    EXPECT_TRUE(Page()->LbWPSMethodMsg->text().isEmpty());
    EXPECT_EQ(Page()->LbSSID->text(), QStringLiteral("Wireless Device SSID:"));
    EXPECT_EQ(Page()->LbDevPIN->text(), QStringLiteral("Wireless Device PIN:"));
    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_TRUE(Page()->LbPBCInfo->text().isEmpty());
    EXPECT_EQ(Page()->LbSSID->text(), QStringLiteral("AP SSID:"));
    EXPECT_EQ(Page()->LbDevPIN->text(), QStringLiteral("Device PIN:"));
}

class WpsTextsTest : public WpsPageTest
{
protected:
    WpsTextsTest()
    {
        IniText
            = QStringLiteral("[String]\n"
                             "WPSMethod_AP_MODE_PBC_MSG=ap pbc\nWPSMethod_AP_MODE_PIN_MSG=ap pin\n"
                             "WPSMethod_AP_MODE_MSG=ap msg\nWPSMethod_AP_MODE_SSID=ap ssid\n"
                             "WPSMethod_AP_MODE_DevPIN=ap devpin\n"
                             "WPSMethod_BRIDGE_MODE_PBC_MSG=br pbc\nWPSMethod_BRIDGE_MODE_PIN_MSG=br pin\n"
                             "WPSMethod_BRIDGE_MODE_MSG=br msg\nWPSMethod_BRIDGE_MODE_SSID=br ssid\n"
                             "WPSMethod_BRIDGE_MODE_DevPIN=br devpin\n");
    }
};

TEST_F(WpsTextsTest, TextsOfEachModeFromTheSettingsFile)
{
    for (const bool bridge : { false, true }) {
        g_Var.DeviceMode = bridge ? DEVICE_WBRIDGE : DEVICE_AP;
        ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
        ASSERT_TRUE(Navigate(Page()));
        const QString p = bridge ? QStringLiteral("br ") : QStringLiteral("ap ");
        EXPECT_EQ(Page()->LbPBCInfo->text(), p + QStringLiteral("pbc"));
        EXPECT_EQ(Page()->LbPINInfo->text(), p + QStringLiteral("pin"));
        EXPECT_EQ(Page()->LbWPSMethodMsg->text(), p + QStringLiteral("msg"));
        EXPECT_EQ(Page()->LbSSID->text(), p + QStringLiteral("ssid"));
        EXPECT_EQ(Page()->LbDevPIN->text(), p + QStringLiteral("devpin"));
    }
}

} // namespace
