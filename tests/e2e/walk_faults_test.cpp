// Faults on the whole road: a wrong password then the right one, a set request lost twice, the
// device's connection time-out in the middle forcing a new login, a device that vanishes; and the
// fault matrix: every kind of emulator fault reaches the wizard once, at the page where it matters.
#include "e2e_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framesitesurvey.h"
#include "pages/framewlmodesel.h"
#include "pages/framewlprofile.h"
#include "pages/framewlprofssid.h"
#include "pages/framewpsmethod.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace e2e;

namespace {

const QString kLoginFailed = QStringLiteral("Unable to login the deivce.");
const QString kConnectFailed = QStringLiteral("Unable to connect to the device.");

class WalkFaultTest : public CWalkFixture
{
};

} // namespace

TEST_F(WalkFaultTest, WrongPasswordThenTheRightOne)
{
    ASSERT_TRUE(StartDevices(1));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        SelectRow(m->FrameDevList1->LvDevList, m->FrameDevList1->LvDevList->Row(0));
        Click(m->FrameDevList1->BtnCfg);
        ASSERT_TRUE(WaitForPage(m->FramePassword1));
        m->FramePassword1->EdtPassword->setText(QStringLiteral("not-the-password"));
        Apsim().MarkLog();
        Click(m->FramePassword1->BtnLogin);
        ASSERT_TRUE(WaitEngineIdle());
        EXPECT_EQ(TakeShownTexts(), QStringList({ kLoginFailed }));
        Shot(QStringLiteral("WrongPassword"));
        EXPECT_EQ(m->CurrentPage, m->FramePassword1);
        // Under a wrong key the device cannot read the login and stays silent.
        EXPECT_GE(Apsim().Lines().filter(QStringLiteral("login-not-for-any-device")).size(), 1);
        EXPECT_FALSE(DeviceState(1).value(QStringLiteral("logged_in")).toBool());
        m->FramePassword1->EdtPassword->setText(kPassword);
        Click(m->FramePassword1->BtnLogin);
        ASSERT_TRUE(WaitForPage(m->FrameWlModeSel1)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_TRUE(TakeShownTexts().isEmpty());
        EXPECT_TRUE(DeviceState(1).value(QStringLiteral("logged_in")).toBool());
    });
}

TEST_F(WalkFaultTest, SetRequestLostTwiceFailsWithOneMessage)
{
    ASSERT_TRUE(StartDevices(1, QStringLiteral(R"({"defaults":{"faults":{"set_ip":{"drop":2}}}})")));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        ASSERT_TRUE(Login(0));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        ClickRadio(m->FrameSetupMethod1->RBtnSetIPDHCP);
        Apsim().MarkLog();
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitEngineIdle());
        EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
        Shot(QStringLiteral("SetLostTwice"));
        EXPECT_EQ(m->CurrentPage, m->FrameSetupMethod1);
        EXPECT_EQ(Apsim().Keys(), QStringList({ "set_ip", "logout", "login", "set_ip" }));
        // The third try gets through.
        Apsim().MarkLog();
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1)) << TakeShownTexts().join(u'|').toStdString();
        EXPECT_EQ(Apsim().Keys().value(0), QStringLiteral("set_ip"));
    });
    EXPECT_TRUE(DeviceState(1).value(QStringLiteral("ip")).toObject().value(QStringLiteral("dhcp")).toBool());
}

TEST_F(WalkFaultTest, ConnectionTimeOutMidwayForcesANewLogin)
{
    // 60 s of idleness: 3 s at the walk's time scale.
    ASSERT_TRUE(StartDevices(1, QStringLiteral(R"({"defaults":{"idle_timeout_ms":60000}})")));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        ASSERT_TRUE(Login(0));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        Apsim().MarkLog();
        ASSERT_TRUE(Apsim().WaitForLine(QStringLiteral("TIMEOUT dev=1"), 20000));
        ASSERT_TRUE(WaitFor([] { return !FormUDP->LoggedIn; }, 10000)) << "the time-out event was not taken";
        ClickRadio(m->FrameSetupMethod1->RBtnSetIPDHCP);
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetWlMethod1)) << TakeShownTexts().join(u'|').toStdString();
        const QStringList keys = Apsim().Keys();
        ASSERT_GE(keys.size(), 2);
        EXPECT_EQ(keys.value(0), QStringLiteral("login")) << keys.join(u',').toStdString();
        EXPECT_EQ(keys.value(1), QStringLiteral("set_ip")) << keys.join(u',').toStdString();
        EXPECT_TRUE(Apsim().Lines().filter(QStringLiteral("not-logged-in")).isEmpty());
    });
}

TEST_F(WalkFaultTest, VanishedDeviceTimesOutWithMessagesAndNothingHangs)
{
    ASSERT_TRUE(StartDevices(1));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(1));
        ASSERT_TRUE(Login(0));
        Click(m->FrameWlModeSel1->BtnNext);
        ASSERT_TRUE(WaitForPage(m->FrameSetupMethod1));
        Apsim().Stop();
        ClickRadio(m->FrameSetupMethod1->RBtnSetIPDHCP);
        Click(m->FrameSetupMethod1->BtnNext);
        ASSERT_TRUE(WaitEngineIdle(60000));
        EXPECT_EQ(TakeShownTexts(), QStringList({ kConnectFailed }));
        EXPECT_EQ(m->CurrentPage, m->FrameSetupMethod1);
        // Back to the list: a new search finds nothing; Configure does nothing without a row.
        Click(m->FrameSetupMethod1->BtnBack);
        ASSERT_TRUE(WaitFor(
            [m] { return m->CurrentPage == m->FrameWlModeSel1 || m->CurrentPage == m->FramePassword1; }));
        while (m->CurrentPage != m->FrameDevList1) {
            TFrameBase* before = m->CurrentPage;
            PostMessage(ApplicationMainWindow(), UM_WIZARD, WZ_BACK, 0);
            ASSERT_TRUE(WaitFor([m, before] { return m->CurrentPage != before; }));
        }
        TFrameDevList* list = m->FrameDevList1;
        Click(list->BtnRefresh);
        ASSERT_TRUE(WaitFor(
            [list] { return !list->TimerSearch->Enabled() && list->BtnRefresh->isEnabled(); }, 30000));
        EXPECT_EQ(list->LvDevList->RowCount(), 0);
        Shot(QStringLiteral("NoDevice"));
        Click(list->BtnCfg);
        EXPECT_EQ(m->CurrentPage, list);
        TakeShownTexts();
    });
}

// ---------------------------------------------------------------------------------------------
// Fault matrix
// ---------------------------------------------------------------------------------------------

namespace {

enum class Stage { DeviceList, Login, Survey, BridgePin };

struct FaultCase
{
    const char* name;
    const char* device; // JSON of device 1
    Stage stage;
    int rows; // device rows, or survey rows
    bool loggedIn; // Login stage: the operating mode page reached
    const char* message; // the one message shown, or null
    const char* check; // a text the wizard shows (device name / SSID), or null
};

// Test names and failure output show the case's name.
void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.name;
}

const FaultCase kFaults[] = {
    { "drop", R"({"faults":{"login":{"drop":1}}})", Stage::Login, 1, false, "Unable to login the deivce.",
        nullptr },
    { "delay", R"({"faults":{"get_config":{"delay_ms":3000}}})", Stage::Login, 1, true, nullptr, nullptr },
    { "result0", R"({"faults":{"login":{"result":0}}})", Stage::Login, 1, false,
        "Unable to login the deivce.", nullptr },
    { "duplicate", R"({"faults":{"any":{"duplicate":2}}})", Stage::Login, 1, true, nullptr, nullptr },
    { "corrupt_magic", R"({"faults":{"discover":{"corrupt":"magic"}}})", Stage::DeviceList, 1, false, nullptr,
        nullptr },
    { "corrupt_version", R"({"faults":{"discover":{"corrupt":"version"}}})", Stage::DeviceList, 1, false,
        nullptr, nullptr },
    { "corrupt_length", R"({"faults":{"discover":{"corrupt":"length"}}})", Stage::DeviceList, 1, false,
        nullptr, nullptr },
    { "corrupt_short", R"({"faults":{"discover":{"corrupt":"short"}}})", Stage::DeviceList, 1, false, nullptr,
        nullptr },
    { "wrong_mac", R"({"faults":{"login":{"wrong_mac":"02:99:99:99:99:99"}}})", Stage::Login, 1, false,
        "Unable to login the deivce.", nullptr },
    { "truncate_tlv", R"({"faults":{"get_config":{"truncate_tlv":true}}})", Stage::Login, 1, true, nullptr,
        nullptr },
    { "unknown_tlv", R"({"faults":{"any":{"unknown_tlv":true}}})", Stage::Login, 1, true, nullptr, nullptr },
    { "oversize_name",
        R"({"name":"N-0123456789012345678901234567890123456789012345678901234567890123456789","faults":{"discover":{"oversize":true}}})",
        Stage::DeviceList, 2, false, nullptr, "N-0123456789012345678901234567890" },
    { "oversize_ssid", R"({"faults":{"get_config":{"oversize":true}}})", Stage::Login, 1, true, nullptr,
        nullptr },
    { "oversize_pin", R"({"mode":"bridge","faults":{"station_get_config":{"oversize":true}}})",
        Stage::BridgePin, 0, true, nullptr, nullptr },
    { "max_survey", R"({"mode":"bridge","faults":{"survey":{"max_survey":true}}})", Stage::Survey, 1336, true,
        nullptr, nullptr },
};

class FaultMatrixTest : public CWalkFixture, public ::testing::WithParamInterface<FaultCase>
{
};

} // namespace

TEST_P(FaultMatrixTest, ReachesTheWizardWithItsOutcome)
{
    const FaultCase& c = GetParam();
    // Device 1 carries the fault, device 2 is sound (the list shows whether 1 got through).
    ASSERT_TRUE(StartDevices(2, QStringLiteral(R"({"devices":[%1,{}]})").arg(QString::fromUtf8(c.device))));
    RunWizard([&] {
        TFormMain* m = Main();
        ASSERT_TRUE(WalkToDeviceList(c.stage == Stage::DeviceList ? c.rows : 2)) << c.name;
        if (c.stage == Stage::DeviceList) {
            EXPECT_TRUE(TakeShownTexts().isEmpty());
            for (int r = 0; r < m->FrameDevList1->LvDevList->RowCount(); ++r) {
                // Every name shown fits the record's field (33 bytes).
                EXPECT_LE(m->FrameDevList1->LvDevList->Row(r)->text(0).toUtf8().size(), 33) << c.name;
            }
            if (c.check) {
                // The name cut to the record's 33 bytes.
                EXPECT_NE(FindRow(m->FrameDevList1->LvDevList, QString::fromUtf8(c.check)), nullptr)
                    << c.name;
            }
            return;
        }
        // Device 1 carries the fault: its row by name.
        QTreeWidgetItem* row = FindRow(m->FrameDevList1->LvDevList, QStringLiteral("QRX-512 #1"));
        ASSERT_NE(row, nullptr);
        SelectRow(m->FrameDevList1->LvDevList, row);
        Click(m->FrameDevList1->BtnCfg);
        ASSERT_TRUE(WaitForPage(m->FramePassword1));
        m->FramePassword1->EdtPassword->setText(kPassword);
        Click(m->FramePassword1->BtnLogin);
        ASSERT_TRUE(WaitEngineIdle(60000));
        if (!c.loggedIn) {
            EXPECT_EQ(TakeShownTexts(), QStringList({ QString::fromUtf8(c.message) })) << c.name;
            EXPECT_EQ(m->CurrentPage, m->FramePassword1) << c.name;
            return;
        }
        ASSERT_TRUE(WaitForPage(m->FrameWlModeSel1))
            << c.name << ": " << TakeShownTexts().join(u'|').toStdString();
        EXPECT_TRUE(TakeShownTexts().isEmpty()) << c.name;
        if (std::string(c.name) == "oversize_ssid") {
            // The SSID read comes cut to its 32 bytes and is proposed that way.
            EXPECT_LE(qstrnlen(g_Var.DevWlConfig.WL_SSID, sizeof g_Var.DevWlConfig.WL_SSID), 32u);
        }
        if (c.stage == Stage::BridgePin) {
            // The bridge's own PIN padded to 255 bytes: shown cut to the PIN field, nothing overrun.
            Click(m->FrameWlModeSel1->BtnNext);
            ASSERT_TRUE(WaitForPage(m->FrameSiteSurvey1, 30000)) << TakeShownTexts().join(u'|').toStdString();
            TFrameSiteSurvey* survey = m->FrameSiteSurvey1;
            ASSERT_TRUE(WaitFor([survey] { return survey->SurveyList->RowCount() == 5; }, 20000));
            SelectRow(survey->SurveyList, FindRow(survey->SurveyList, QStringLiteral("HomeNet")));
            Click(survey->BtnWPS);
            TFrameWPSMethod* wps = m->FrameWPSMethod1;
            ASSERT_TRUE(WaitForPage(wps));
            ClickRadio(wps->RBtnPIN);
            // The label holds a row of dots until the bridge's PIN is read.
            const QString placeholder(16, u'.');
            ASSERT_TRUE(WaitFor(
                [wps, placeholder] {
                    const QString shown = wps->LbDevPINCode->text();
                    return !shown.isEmpty() && shown != placeholder;
                },
                20000));
            EXPECT_LT(wps->LbDevPINCode->text().toUtf8().size(), qsizetype(sizeof g_Var.ApClientPIN));
            EXPECT_EQ(qstrnlen(g_Var.ApClientPIN, sizeof g_Var.ApClientPIN) < sizeof g_Var.ApClientPIN, true);
            Shot(QStringLiteral("OversizePin"));
        }
        if (c.stage == Stage::Survey) {
            ClickRadio(m->FrameWlModeSel1->RBtnWirelessBridge);
            Click(m->FrameWlModeSel1->BtnNext);
            ASSERT_TRUE(WaitForPage(m->FrameSiteSurvey1, 30000)) << TakeShownTexts().join(u'|').toStdString();
            TSortListView* list = m->FrameSiteSurvey1->SurveyList;
            EXPECT_TRUE(WaitFor([&] { return list->RowCount() == c.rows; }, 30000)) << list->RowCount();
            Shot(QStringLiteral("MaxSurvey"));
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrixTest, ::testing::ValuesIn(kFaults),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });
