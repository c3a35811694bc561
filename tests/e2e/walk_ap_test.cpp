// Access-point mode from the launcher to the end: the manual WPA-PSK profile with DHCP (the saved
// summary, the device's final state, the password kept off the wire and out of the log), the static
// address with a WEP profile changed after Back from the confirmation page, and the NonWorking
// demonstration without any device.
#include "e2e_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "launcher/formautorun.h"
#include "pages/framedevipcfg.h"
#include "pages/framedevlist.h"
#include "pages/frameipeditrect.h"
#include "pages/framepassword.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framesitesurvey.h"
#include "pages/framesuccess.h"
#include "pages/framewlmodesel.h"
#include "pages/framewlprofconfirm.h"
#include "pages/framewlprofile.h"
#include "pages/framewlprofpsk.h"
#include "pages/framewlprofsecurity.h"
#include "pages/framewlprofssid.h"
#include "pages/framewlprofwep.h"
#include "pages/framewlprofwlmode.h"
#include "pages/framewpsmethod.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>

using namespace e2e;

namespace {

class WalkApTest : public CWalkFixture
{
protected:
    TFrameWlProfile* Host() const { return Main()->FrameWlProfile1; }

    // Operating mode page (access point unchanged) -> setup method page with DHCP -> wireless
    // method page.
    void ModeAndDhcp()
    {
        TFormMain* m = Main();
        EXPECT_TRUE(m->FrameWlModeSel1->RBtnAPMode->isChecked());
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        Shot(QStringLiteral("FrameSetupMethod1"));
        ClickRadio(m->FrameSetupMethod1->RBtnSetIPDHCP);
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1)) << TakeShownTexts().join(u'|').toStdString();
        Shot(QStringLiteral("FrameSetWlMethod1"));
    }

    // Manual profile: SSID, wireless mode (as proposed), security.
    void ProfileStart(const QString& ssid, int security)
    {
        TFormMain* m = Main();
        ClickRadio(m->FrameSetWlMethod1->RBtnManual);
        Click(m->FrameSetWlMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(Host()));
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfSSID1);
        Host()->FrameWlProfSSID1->EdtSSID->setText(ssid);
        Shot(QStringLiteral("FrameWlProfSSID1"));
        Click(Host()->FrameWlProfSSID1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfWlMode1);
        Shot(QStringLiteral("FrameWlProfWlMode1"));
        Click(Host()->FrameWlProfWlMode1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfSecurity1);
        Choose(Host()->FrameWlProfSecurity1->CmbSecurity, security);
        Shot(QStringLiteral("FrameWlProfSecurity1"));
        Click(Host()->FrameWlProfSecurity1->BtnNext);
    }

    // Confirmation page: Next writes, pauses, reads back; the success page follows.
    void WriteAndSucceed()
    {
        Apsim().MarkLog();
        Click(Host()->FrameWlProfConfirm1->BtnNext);
        ASSERT_TRUE(WaitForPage(Main()->FrameSuccess1)) << TakeShownTexts().join(u'|').toStdString();
        Shot(QStringLiteral("FrameSuccess1"));
        const QStringList texts = TakeShownTexts();
        EXPECT_TRUE(texts.isEmpty()) << texts.join(u'|').toStdString();
        EXPECT_EQ(Apsim().Keys(), QStringList({ "set_wireless", "get_config" }));
    }

    // Exit on the success page, Yes to the question: the wizard ends with OK.
    void ExitYes()
    {
        DialogSeam::QueueAnswer(mrYes);
        Click(Main()->FrameSuccess1->BtnExit);
        Shot(QStringLiteral("ExitQuestion"));
        EXPECT_EQ(TakeShownTexts(), QStringList({ QStringLiteral("Do you want to exit the Setup Wizard?") }));
    }
};

} // namespace

TEST_F(WalkApTest, WpaPskProfileWithDhcpFromLauncherToExit)
{
    ASSERT_TRUE(StartDevices(3));
    pagetest::CLogCapture log;
    CLoopbackCapture capture;
    QTemporaryDir saveDir;
    const QString saved = saveDir.filePath(QStringLiteral("settings.txt"));

    const int result = RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(3));
        EXPECT_NE(FindRow(m->FrameDevList1->LvDevList, QStringLiteral("QRX-512 #2")), nullptr);
        Apsim().MarkLog();
        ASSERT_TRUE(Login(0));
        EXPECT_TRUE(TakeShownTexts().isEmpty());
        EXPECT_EQ(Apsim().Keys().value(0), QStringLiteral("login"));
        EXPECT_TRUE(Apsim().Keys().contains(QStringLiteral("get_config")));
        ASSERT_NO_FATAL_FAILURE(ModeAndDhcp());
        ASSERT_NO_FATAL_FAILURE(ProfileStart(QStringLiteral("office-net"), 2));
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfPSK1);
        Choose(Host()->FrameWlProfPSK1->CmbWPAMode, 1);
        Host()->FrameWlProfPSK1->CmbWPAModeSelect();
        Host()->FrameWlProfPSK1->EdtPassphrase->setText(QStringLiteral("passphrase-123"));
        Shot(QStringLiteral("FrameWlProfPSK1"));
        Click(Host()->FrameWlProfPSK1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfConfirm1);
        TFrameWlProfConfirm* confirm = Host()->FrameWlProfConfirm1;
        EXPECT_EQ(confirm->LblSSID->text(), QStringLiteral("office-net"));
        Shot(QStringLiteral("FrameWlProfConfirm1"));
        DialogSeam::QueueSaveFileName(saved);
        Click(confirm->BtnSave);
        QFile f(saved);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "the summary was not saved";
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(text.contains(QStringLiteral("office-net"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("passphrase-123"))) << text.toStdString();
        TakeShownTexts(); // the save dialog's record
        ASSERT_NO_FATAL_FAILURE(WriteAndSucceed());
        ExitYes();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(Launcher()->IsClosed());

    // The device took the whole road and keeps the profile.
    const QJsonObject dev = DeviceState(1);
    const QJsonObject wl = dev.value(QStringLiteral("wireless")).toObject();
    EXPECT_EQ(wl.value(QStringLiteral("ssid")).toString(), QStringLiteral("office-net"));
    EXPECT_EQ(wl.value(QStringLiteral("security")).toInt(), 2);
    EXPECT_EQ(wl.value(QStringLiteral("wpa_mode")).toInt(), 1);
    EXPECT_EQ(wl.value(QStringLiteral("wpa_psk")).toString(), QStringLiteral("passphrase-123"));
    EXPECT_TRUE(dev.value(QStringLiteral("ip")).toObject().value(QStringLiteral("dhcp")).toBool());
    EXPECT_EQ(dev.value(QStringLiteral("mode")).toString(), QStringLiteral("ap"));
    // The other devices were left alone.
    EXPECT_EQ(
        DeviceState(2).value(QStringLiteral("wireless")).toObject().value(QStringLiteral("ssid")).toString(),
        QStringLiteral("wireless"));
    const QStringList all = Apsim().Lines(true);
    // The whole road on the wire, one request at a time and nothing twice.
    Apsim().MarkLog();
    QStringList road;
    for (const QString& l : all) {
        if (l.startsWith(QLatin1String("REQ "))) {
            road << l.section(QStringLiteral("key="), 1).section(u' ', 0, 0);
        }
    }
    EXPECT_EQ(road,
        QStringList({ "discover", "login", "get_config", "get_mode", "set_ip", "get_config", "set_wireless",
            "get_config" }))
        << road.join(u',').toStdString();
    EXPECT_FALSE(all.filter(QStringLiteral("key=set_mode")).size()) << "an unchanged mode was written";
    EXPECT_EQ(all.filter(QStringLiteral("key=set_ip")).size(), 1);

    // The password: on no datagram, in no emulator line, in no log line.
    const QByteArray pw = kPassword.toUtf8();
    for (const QString& line : all) {
        EXPECT_FALSE(line.contains(kPassword)) << line.toStdString();
    }
    const QStringList entries = log.Entries();
    EXPECT_GT(entries.size(), 10) << "the log stayed silent";
    EXPECT_TRUE(entries.contains(QStringLiteral("TFormUDP::SendLogin()")));
    for (const QString& e : entries) {
        EXPECT_FALSE(e.contains(kPassword)) << e.toStdString();
    }
    if (capture.Active()) {
        const auto& payloads = capture.Payloads();
        EXPECT_GT(payloads.size(), 10u);
        // The capture sees the protocol: every request starts with the magic.
        EXPECT_TRUE(std::any_of(
            payloads.begin(), payloads.end(), [](const QByteArray& p) { return p.startsWith("SWP12345"); }));
        for (const QByteArray& p : payloads) {
            EXPECT_FALSE(p.contains(pw)) << p.toHex().toStdString();
        }
    }
}

TEST_F(WalkApTest, StaticAddressAndWepKeyChangedAfterBack)
{
    // The wizard refuses loopback addresses for the device, so the fixed address comes from the
    // documentation range, made local on lo of the test's own network namespace: nothing leaves.
    if (!pagetest::EnterPrivateNetwork()) {
        GTEST_SKIP() << "needs the private network namespace (root) to give the device a fixed address";
    }
    QProcess::execute(QStringLiteral("ip"),
        { QStringLiteral("route"), QStringLiteral("replace"), QStringLiteral("local"),
            QStringLiteral("192.0.2.0/24"), QStringLiteral("dev"), QStringLiteral("lo") });
    ASSERT_TRUE(StartDevices(3));
    const int result = RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(3));
        // The third device this time.
        ASSERT_TRUE(Login(2));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        ClickRadio(m->FrameSetupMethod1->RBtnSetIP);
        Apsim().MarkLog();
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameDevIPCfg1)) << TakeShownTexts().join(u'|').toStdString();
        TFrameDevIPCfg* ip = m->FrameDevIPCfg1;
        ClickRadio(ip->RBtnStatic);
        ip->IPEditIP->SetText(QStringLiteral("192.0.2.77"));
        ip->IPEditMask->SetText(QStringLiteral("255.255.255.0"));
        ip->IPEditGateway->SetText(QStringLiteral("192.0.2.1"));
        Shot(QStringLiteral("FrameDevIPCfg1"));
        Click(ip->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_EQ(Apsim().Count(QStringLiteral("set_ip"), QStringLiteral("3")), 1);

        ASSERT_NO_FATAL_FAILURE(ProfileStart(QStringLiteral("wep-lab"), 1));
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfWEP1);
        TFrameWlProfWEP* wep = Host()->FrameWlProfWEP1;
        Choose(wep->CmbWEP, 0);
        wep->CmbWEPSelect();
        wep->EdtKey1->setText(QStringLiteral("abcde"));
        Shot(QStringLiteral("FrameWlProfWEP1"));
        Click(wep->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfConfirm1);
        Shot(QStringLiteral("FrameWlProfConfirm1_WEP64"));
        // Back to the key page: the key is still there; a 128-bit key instead.
        Click(Host()->FrameWlProfConfirm1->BtnBack);
        ASSERT_EQ(Host()->SubPage(), wep);
        EXPECT_EQ(wep->EdtKey1->text(), QStringLiteral("abcde"));
        Choose(wep->CmbWEP, 1);
        wep->CmbWEPSelect();
        wep->EdtKey1->setText(QStringLiteral("0123456789abcdef0123456789"));
        Click(wep->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfConfirm1);
        Shot(QStringLiteral("FrameWlProfConfirm1_WEP128"));
        Apsim().MarkLog();
        Click(Host()->FrameWlProfConfirm1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_EQ(Apsim().Keys(QStringLiteral("3")), QStringList({ "set_wireless", "get_config" }));
        Shot(QStringLiteral("FrameSuccess1"));
        DialogSeam::QueueAnswer(mrYes);
        Click(m->FrameSuccess1->BtnExit);
    });
    EXPECT_EQ(result, mrOk);
    const QJsonObject dev = DeviceState(3);
    const QJsonObject ipState = dev.value(QStringLiteral("ip")).toObject();
    EXPECT_FALSE(ipState.value(QStringLiteral("dhcp")).toBool());
    EXPECT_EQ(ipState.value(QStringLiteral("address")).toString(), QStringLiteral("192.0.2.77"));
    EXPECT_EQ(ipState.value(QStringLiteral("netmask")).toString(), QStringLiteral("255.255.255.0"));
    const QJsonObject wl = dev.value(QStringLiteral("wireless")).toObject();
    EXPECT_EQ(wl.value(QStringLiteral("ssid")).toString(), QStringLiteral("wep-lab"));
    EXPECT_EQ(wl.value(QStringLiteral("security")).toInt(), 1);
    EXPECT_EQ(wl.value(QStringLiteral("wep_key_length")).toInt(), 1);
    EXPECT_EQ(wl.value(QStringLiteral("wep_key")).toString().toLower(),
        QStringLiteral("0123456789abcdef0123456789"));
    EXPECT_EQ(
        DeviceState(1).value(QStringLiteral("wireless")).toObject().value(QStringLiteral("ssid")).toString(),
        QStringLiteral("wireless"));
}

class WalkNonWorkingTest : public WalkApTest
{
protected:
    WalkNonWorkingTest() { NonWorking = true; }
};

TEST_F(WalkNonWorkingTest, EveryPageReachableWithoutADevice)
{
    ASSERT_TRUE(g_Var.NonWorking);
    QList<TFrameBase*> reached;
    const int result = RunWizard([&] {
        TFormMain* m = Main();
        auto note = [&] {
            if (!reached.contains(m->CurrentPage)) {
                reached << m->CurrentPage;
            }
        };
        note();
        ASSERT_TRUE(WalkToDeviceList(0));
        note();
        // No device: Configure still leads on in the demonstration.
        Click(m->FrameDevList1->BtnCfg);
        ASSERT_TRUE(WaitForPage(m->FramePassword1)) << TakeShownTexts().join(u'|').toStdString();
        note();
        Shot(QStringLiteral("FramePassword1"));
        Click(m->FramePassword1->BtnLogin);
        ASSERT_TRUE(WaitForPage(m->FrameWlModeSel1, 60000)) << TakeShownTexts().join(u'|').toStdString();
        note();
        Shot(QStringLiteral("FrameWlModeSel1"));
        // Access point: setup method with a fixed address, the IP page, the WPS page.
        ClickRadio(m->FrameWlModeSel1->RBtnAPMode);
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1, 60000)) << TakeShownTexts().join(u'|').toStdString();
        note();
        ClickRadio(m->FrameSetupMethod1->RBtnSetIP);
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameDevIPCfg1, 60000)) << TakeShownTexts().join(u'|').toStdString();
        note();
        Shot(QStringLiteral("FrameDevIPCfg1"));
        ClickRadio(m->FrameDevIPCfg1->RBtnStatic);
        m->FrameDevIPCfg1->IPEditIP->SetText(QStringLiteral("192.0.2.10"));
        m->FrameDevIPCfg1->IPEditMask->SetText(QStringLiteral("255.255.255.0"));
        m->FrameDevIPCfg1->IPEditGateway->SetText(QStringLiteral("192.0.2.1"));
        Click(m->FrameDevIPCfg1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1, 60000)) << TakeShownTexts().join(u'|').toStdString();
        note();
        ClickRadio(m->FrameSetWlMethod1->RBtnWPS);
        Click(m->FrameSetWlMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameWPSMethod1)) << TakeShownTexts().join(u'|').toStdString();
        note();
        Shot(QStringLiteral("FrameWPSMethod1"));
        // Back to the method page, the manual profile to its end.
        Click(m->FrameWPSMethod1->BtnBack);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1));
        ASSERT_NO_FATAL_FAILURE(ProfileStart(QStringLiteral("demo"), 2));
        note();
        Host()->FrameWlProfPSK1->EdtPassphrase->setText(QStringLiteral("demo-passphrase"));
        Click(Host()->FrameWlProfPSK1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfConfirm1);
        TakeShownTexts();
        Click(Host()->FrameWlProfConfirm1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1, 60000));
        note();
        EXPECT_EQ(TakeShownTexts(), QStringList({ QStringLiteral("Unable to connect to the device.") }));
        Shot(QStringLiteral("FrameSuccess1"));
        // Bridge side: Back, page by page, to the operating mode page.
        for (int step = 0; step < 12 && m->CurrentPage != m->FrameWlModeSel1; ++step) {
            TFrameBase* const before = m->CurrentPage;
            const TFrameBase* const beforeSub = Host()->SubPage();
            PostMessage(ApplicationMainWindow(), UM_WIZARD, WZ_BACK, 0);
            ASSERT_TRUE(WaitFor([&] { return m->CurrentPage != before || Host()->SubPage() != beforeSub; }))
                << "Back stayed on " << before->objectName().toStdString();
            TakeShownTexts();
        }
        ASSERT_EQ(m->CurrentPage, m->FrameWlModeSel1);
        ClickRadio(m->FrameWlModeSel1->RBtnWirelessBridge);
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSiteSurvey1, 60000)) << TakeShownTexts().join(u'|').toStdString();
        note();
        TFrameSiteSurvey* survey = m->FrameSiteSurvey1;
        EXPECT_TRUE(WaitFor([survey] { return survey->BtnRefresh->isEnabled(); }, 30000));
        Shot(QStringLiteral("FrameSiteSurvey1"));
        DialogSeam::QueueAnswer(mrYes);
        Click(m->FrameSiteSurvey1->BtnExit);
    });
    EXPECT_EQ(result, mrOk);
    // Licence, device list, login, mode, setup method, IP, wireless method, WPS, profile, success,
    // site survey (the tutorials are passed on the way).
    EXPECT_EQ(reached.size(), 11);
}
