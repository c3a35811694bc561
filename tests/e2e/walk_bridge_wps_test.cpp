// WPS in access-point mode (push button, then PIN, with the device's status events), and bridge
// mode: the mode change written and read back, the site survey, a surveyed WPA2 network joined
// with the station profile, and WPS PIN with the WPS survey dialog and the device's own PIN.
#include "e2e_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "pages/formwpssurvey.h"
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
#include "pages/framewlprofwlmode.h"
#include "pages/framewpsmethod.h"
#include "pages/framewpssitesurvey.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

using namespace e2e;

namespace {

const QString kWpsFast
    = QStringLiteral(R"({"defaults":{"wps":{"outcome":"configured","start_delay_ms":300,"step_ms":100}}})");

class WalkWpsBridgeTest : public CWalkFixture
{
protected:
    TFrameWlProfile* Host() const { return Main()->FrameWlProfile1; }

    // From the setup method page with its choice kept: Next, WPS on the wireless method page, Next,
    // up to the WPS method page.
    bool SetupMethodToWpsMethod()
    {
        TFormMain* m = Main();
        Click(m->FrameSetupMethod1->BtnNext);
        if (!WaitForPage(m->FrameSetWlMethod1)) {
            ADD_FAILURE() << "no wireless method page: " << TakeShownTexts().join(u'|').toStdString();
            return false;
        }
        ClickRadio(m->FrameSetWlMethod1->RBtnWPS);
        Click(m->FrameSetWlMethod1->BtnNext);
        return WaitForPage(m->FrameWPSMethod1);
    }

    // The WPS statuses the emulator sent since the last mark.
    QStringList Events()
    {
        QStringList out;
        for (const QString& l : Apsim().Lines()) {
            if (l.startsWith(QLatin1String("EVENT "))) {
                const qsizetype at = l.indexOf(QLatin1String("status="));
                out << l.mid(at + 7).section(u' ', 0, 0);
            }
        }
        return out;
    }
};

} // namespace

TEST_F(WalkWpsBridgeTest, AccessPointWpsPushButtonThenPin)
{
    ASSERT_TRUE(StartDevices(3, kWpsFast));
    pagetest::CLogCapture log;
    const int result = RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(3));
        ASSERT_TRUE(Login(1));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        ASSERT_TRUE(SetupMethodToWpsMethod());
        TFrameWPSMethod* wps = m->FrameWPSMethod1;
        ClickRadio(wps->RBtnPBC);
        Shot(QStringLiteral("FrameWPSMethod1_PBC"));
        Apsim().MarkLog();
        Click(wps->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1, 30000)) << TakeShownTexts().join(u'|').toStdString();
        Shot(QStringLiteral("FrameSuccess1_PBC"));
        EXPECT_EQ(Apsim().Keys(QStringLiteral("2")).value(0), QStringLiteral("wps_pbc"));
        EXPECT_EQ(Events().value(0), QStringLiteral("3"));
        EXPECT_EQ(Events().value(Events().size() - 1), QStringLiteral("34"));

        // Once more with a PIN: the success page's Next leads round to the setup method page.
        Click(m->FrameSuccess1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        ASSERT_TRUE(SetupMethodToWpsMethod());
        ClickRadio(wps->RBtnPIN);
        wps->EdtPIN->setText(QStringLiteral("12345670"));
        Shot(QStringLiteral("FrameWPSMethod1_PIN"));
        Apsim().MarkLog();
        Click(wps->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1, 30000)) << TakeShownTexts().join(u'|').toStdString();
        const auto reqs = Apsim().Requests();
        bool pinSeen = false;
        for (const CApsimRequest& r : reqs) {
            if (r.Key == QStringLiteral("wps_pin")) {
                pinSeen = true;
                EXPECT_TRUE(r.Items.contains(QStringLiteral("12345670"))) << r.Items.toStdString();
            }
        }
        EXPECT_TRUE(pinSeen);
        EXPECT_EQ(Events().value(Events().size() - 1), QStringLiteral("34"));
        EXPECT_TRUE(TakeShownTexts().isEmpty());
        DialogSeam::QueueAnswer(mrYes);
        Click(m->FrameSuccess1->BtnExit);
    });
    EXPECT_EQ(result, mrOk);
    // The page followed the status events of both runs, from the start to "Configured".
    const QStringList statuses = log.Entries().filter(QStringLiteral("TFrameWPSMethod::RecvWPSStatus"));
    EXPECT_EQ(statuses.filter(QStringLiteral("RecvWPSStatus 3=")).size(), 2)
        << statuses.join(u'|').toStdString();
    EXPECT_EQ(statuses.filter(QStringLiteral("RecvWPSStatus 34=")).size(), 2)
        << statuses.join(u'|').toStdString();
    EXPECT_EQ(DeviceState(2).value(QStringLiteral("wps_runs")).toInt(), 2);
    EXPECT_EQ(DeviceState(2).value(QStringLiteral("last_wps_status")).toInt(), 34);
}

TEST_F(WalkWpsBridgeTest, BridgeModeSurveyAndStationProfile)
{
    ASSERT_TRUE(StartDevices(3));
    const int result = RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(3));
        ASSERT_TRUE(Login(0));
        ClickRadio(m->FrameWlModeSel1->RBtnWirelessBridge);
        Apsim().MarkLog();
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSiteSurvey1, 30000)) << TakeShownTexts().join(u'|').toStdString();
        const QStringList keys = Apsim().Keys();
        EXPECT_TRUE(keys.contains(QStringLiteral("set_mode"))) << keys.join(u',').toStdString();
        const qsizetype setAt = keys.indexOf(QStringLiteral("set_mode"));
        bool readBack = false;
        for (qsizetype i = setAt + 1; setAt >= 0 && i < keys.size(); ++i) {
            readBack = readBack || keys[i] == QStringLiteral("get_mode")
                || keys[i] == QStringLiteral("get_config");
        }
        EXPECT_TRUE(readBack) << "no read-back after the mode write: " << keys.join(u',').toStdString();
        TFrameSiteSurvey* survey = m->FrameSiteSurvey1;
        ASSERT_TRUE(WaitFor([survey] { return survey->SurveyList->RowCount() == 5; }, 20000))
            << survey->SurveyList->RowCount();
        Shot(QStringLiteral("FrameSiteSurvey1"));
        QTreeWidgetItem* home = FindRow(survey->SurveyList, QStringLiteral("HomeNet"));
        ASSERT_NE(home, nullptr);
        SelectRow(survey->SurveyList, home);
        Click(survey->BtnNext);
        ASSERT_TRUE(WaitForPage(Host()));
        // Proposals from the survey: the SSID, then WPA-PSK.
        EXPECT_EQ(Host()->FrameWlProfSSID1->EdtSSID->text(), QStringLiteral("HomeNet"));
        Shot(QStringLiteral("FrameWlProfSSID1"));
        Click(Host()->FrameWlProfSSID1->BtnNext);
        if (Host()->SubPage() == Host()->FrameWlProfWlMode1) {
            Click(Host()->FrameWlProfWlMode1->BtnNext);
        }
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfSecurity1);
        EXPECT_EQ(Host()->FrameWlProfSecurity1->CmbSecurity->currentData().toInt(), 2);
        Shot(QStringLiteral("FrameWlProfSecurity1"));
        Click(Host()->FrameWlProfSecurity1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfPSK1);
        EXPECT_EQ(Host()->FrameWlProfPSK1->CmbWPAMode->currentData().toInt(), 1);
        Host()->FrameWlProfPSK1->EdtPassphrase->setText(QStringLiteral("home-passphrase"));
        Shot(QStringLiteral("FrameWlProfPSK1"));
        Click(Host()->FrameWlProfPSK1->BtnNext);
        ASSERT_EQ(Host()->SubPage(), Host()->FrameWlProfConfirm1);
        Shot(QStringLiteral("FrameWlProfConfirm1"));
        Apsim().MarkLog();
        Click(Host()->FrameWlProfConfirm1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_EQ(Apsim().Keys(), QStringList({ "station_set", "get_config" }));
        Shot(QStringLiteral("FrameSuccess1"));
        DialogSeam::QueueAnswer(mrYes);
        Click(m->FrameSuccess1->BtnExit);
    });
    EXPECT_EQ(result, mrOk);
    const QJsonObject dev = DeviceState(1);
    EXPECT_EQ(dev.value(QStringLiteral("mode")).toString(), QStringLiteral("bridge"));
    const QJsonObject st = dev.value(QStringLiteral("station")).toObject();
    EXPECT_EQ(st.value(QStringLiteral("ssid")).toString(), QStringLiteral("HomeNet"));
    EXPECT_EQ(st.value(QStringLiteral("security")).toInt(), 2);
    EXPECT_EQ(st.value(QStringLiteral("wpa_psk")).toString(), QStringLiteral("home-passphrase"));
    // The access point's own profile is untouched.
    EXPECT_EQ(dev.value(QStringLiteral("wireless")).toObject().value(QStringLiteral("ssid")).toString(),
        QStringLiteral("wireless"));
}

TEST_F(WalkWpsBridgeTest, BridgeWpsPinWithTheWpsSurveyDialog)
{
    ASSERT_TRUE(StartDevices(1,
        QStringLiteral(
            R"({"defaults":{"mode":"bridge","wps":{"outcome":"configured","start_delay_ms":300,"step_ms":100}}})")));
    const QString stationPin = DeviceState(1).value(QStringLiteral("station_pin")).toString();
    ASSERT_EQ(stationPin.size(), 8);
    bool dialogSeen = false;
    const int result = RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        ASSERT_TRUE(Login(0));
        EXPECT_TRUE(m->FrameWlModeSel1->RBtnWirelessBridge->isChecked());
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSiteSurvey1, 30000)) << TakeShownTexts().join(u'|').toStdString();
        TFrameSiteSurvey* survey = m->FrameSiteSurvey1;
        ASSERT_TRUE(WaitFor([survey] { return survey->SurveyList->RowCount() == 5; }, 20000));
        QTreeWidgetItem* lab = FindRow(survey->SurveyList, QStringLiteral("Lab-Mixed"));
        ASSERT_NE(lab, nullptr);
        SelectRow(survey->SurveyList, lab);
        ASSERT_TRUE(WaitFor([survey] { return survey->BtnWPS->isEnabled(); }))
            << "WPS stays disabled with a WPS network selected";
        Click(survey->BtnWPS);
        TFrameWPSMethod* wps = m->FrameWPSMethod1;
        ASSERT_TRUE(WaitForPage(wps));
        ClickRadio(wps->RBtnPIN);
        // The device's own PIN comes from the station query.
        ASSERT_TRUE(WaitFor([&] { return wps->LbDevPINCode->text() == stationPin; }, 20000))
            << wps->LbDevPINCode->text().toStdString();
        EXPECT_TRUE(wps->LbDevPINCode->isVisible());
        Shot(QStringLiteral("FrameWPSMethod1_BridgePIN"));
        // The WPS survey dialog: pick the first WPS network.
        QTimer::singleShot(0, [&] {
            TFormWPSSurvey* dlg = nullptr;
            WaitFor([&] {
                dlg = qobject_cast<TFormWPSSurvey*>(QApplication::activeModalWidget());
                return dlg != nullptr;
            });
            if (!dlg) {
                ADD_FAILURE() << "the WPS survey dialog did not open";
                return;
            }
            dialogSeen = true;
            TSortListView* list = dlg->FrameWPSSiteSurvey1->SurveyList;
            if (!WaitFor([list] { return list->RowCount() > 0; }, 20000)) {
                ADD_FAILURE() << "the WPS survey stayed empty";
                dlg->done(mrCancel);
                return;
            }
            Shot(QStringLiteral("FormWPSSurvey"), dlg);
            QTreeWidgetItem* home = FindRow(list, QStringLiteral("HomeNet"));
            SelectRow(list, home ? home : list->Row(0));
            Click(dlg->BtnSelect);
        });
        Click(wps->BtnSelect);
        EXPECT_TRUE(dialogSeen);
        EXPECT_EQ(wps->EdtSSID->text(), QStringLiteral("HomeNet"));
        Apsim().MarkLog();
        Click(wps->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSuccess1, 30000)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_TRUE(Apsim().Keys().contains(QStringLiteral("wps_pin")))
            << Apsim().Keys().join(u',').toStdString();
        Shot(QStringLiteral("FrameSuccess1"));
        DialogSeam::QueueAnswer(mrYes);
        Click(m->FrameSuccess1->BtnExit);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(DeviceState(1).value(QStringLiteral("last_wps_status")).toInt(), 34);
    EXPECT_EQ(
        DeviceState(1).value(QStringLiteral("station")).toObject().value(QStringLiteral("ssid")).toString(),
        QStringLiteral("HomeNet"));
}

TEST_F(WalkWpsBridgeTest, AccessPointWpsFailureShowsTheMessageAndStays)
{
    ASSERT_TRUE(StartDevices(1,
        QStringLiteral(R"({"defaults":{"wps":{"outcome":"wsc_fail","start_delay_ms":300,"step_ms":100}}})")));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        ASSERT_TRUE(Login(0));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        ASSERT_TRUE(SetupMethodToWpsMethod());
        TFrameWPSMethod* wps = m->FrameWPSMethod1;
        ClickRadio(wps->RBtnPBC);
        Apsim().MarkLog();
        Click(wps->BtnNext);
        ASSERT_TRUE(WaitEngineIdle(30000));
        EXPECT_EQ(TakeShownTexts(), QStringList({ QStringLiteral("Unable to connect to the device.") }));
        Shot(QStringLiteral("WpsFailed"));
        EXPECT_EQ(m->CurrentPage, wps);
        EXPECT_EQ(Events().value(Events().size() - 1), QStringLiteral("2"));
        // The failed run leaves nothing running: a second try starts a new run.
        Apsim().MarkLog();
        Click(wps->BtnNext);
        ASSERT_TRUE(WaitEngineIdle(30000));
        EXPECT_EQ(Apsim().Count(QStringLiteral("wps_pbc")), 1);
        EXPECT_EQ(TakeShownTexts().size(), 1);
    });
    EXPECT_EQ(DeviceState(1).value(QStringLiteral("wps_runs")).toInt(), 2);
}
