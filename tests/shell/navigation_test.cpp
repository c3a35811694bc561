// The wizard window: the page switch, both page graphs, the exit question and the engine's
// messages on their way to the page on show.
#include "app/globalvar.h"
#include "launcher/framelicense.h"
#include "launcher/frametutorial.h"
#include "launcher/frametutorial2.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framewpsmethod.h"
#include "platform/ui/dialogs.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/framebase.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

void ProcessPosted()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Keeps the wizard's choices of g_Var for one test.
class CChoicesGuard
{
public:
    CChoicesGuard()
        : m_device(g_Var.DeviceMode)
        , m_setup(g_Var.SetupMethod)
        , m_wl(g_Var.WlMethod)
    {
    }
    ~CChoicesGuard()
    {
        g_Var.DeviceMode = m_device;
        g_Var.SetupMethod = m_setup;
        g_Var.WlMethod = m_wl;
    }

private:
    int m_device, m_setup, m_wl;
};

std::string NameOf(const TFrameBase* page)
{
    return page ? page->objectName().toStdString() : std::string("none");
}

// A page that writes every operation into a shared log, with whether it was visible at the time.
class TRecordingPage : public TFrameBase
{
public:
    TRecordingPage(QWidget* parent, const char* name, std::vector<std::string>& log)
        : TFrameBase(parent)
        , m_log(log)
    {
        setObjectName(QString::fromLatin1(name));
        hide();
    }
    bool refuseEnter = false;
    bool refuseLeave = false;
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> messages;

    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override
    {
        Log("CanEnter", from, direction, param);
        return !refuseEnter && TFrameBase::CanEnter(from, direction, param);
    }
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override
    {
        Log("EnterFrame", from, direction, param);
    }
    bool CanLeave(TFrameBase* to, int direction, LPARAM param) override
    {
        Log("CanLeave", to, direction, param);
        return !refuseLeave && TFrameBase::CanLeave(to, direction, param);
    }
    void LeaveFrame(TFrameBase* to, int direction, LPARAM param) override
    {
        Log("LeaveFrame", to, direction, param);
    }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        messages.emplace_back(msg, wParam, lParam);
        return TFrameBase::WndProc(msg, wParam, lParam);
    }

private:
    void Log(const char* op, TFrameBase* other, int direction, LPARAM param)
    {
        m_log.push_back(objectName().toStdString() + "." + op + "(" + NameOf(other) + ","
            + std::to_string(direction) + "," + std::to_string(param) + ")"
            + (isVisibleTo(parentWidget()) ? " shown" : " hidden"));
    }
    std::vector<std::string>& m_log;
};

class SwitchToTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProcessPosted();
        form.CurrentPage = nullptr;
        a = new TRecordingPage(&form, "PageA", log);
        b = new TRecordingPage(&form, "PageB", log);
    }
    TFormMain form;
    std::vector<std::string> log;
    TRecordingPage* a = nullptr;
    TRecordingPage* b = nullptr;
};

} // namespace

TEST(FormMainStart, LicencePageIsCurrentBeforeTheWindowIsShown)
{
    TFormMain form;
    EXPECT_EQ(form.CurrentPage, nullptr);
    for (TFrameBase* page : form.Pages()) {
        EXPECT_FALSE(page->isVisibleTo(&form)) << page->objectName().toStdString();
    }
    ProcessPosted();
    EXPECT_EQ(form.CurrentPage, form.FrameLicense1);
    EXPECT_TRUE(form.FrameLicense1->isVisibleTo(&form));
    EXPECT_FALSE(form.isVisible());
}

TEST(FormMainStart, SixteenPagesInCreationOrderBelowTheBanner)
{
    TFormMain form;
    const std::vector<std::string> expected { "FrameWelcome1", "FrameLicense1", "FrameTutorial1",
        "FrameDevList1", "FramePassword1", "FrameSetupMethod1", "FrameDevIPCfg1", "FrameSetWlMethod1",
        "FrameWPSMethod1", "FrameSuccess1", "FrameWlProfile1", "FrameAdhocMode1", "FrameWlModeSel1",
        "FrameWlConfig1", "FrameSiteSurvey1", "FrameTutorial21" };
    std::vector<std::string> names;
    for (TFrameBase* page : form.Pages()) {
        names.push_back(page->objectName().toStdString());
        EXPECT_EQ(page->pos(), QPoint(0, 105)) << names.back();
        EXPECT_EQ(page->width(), 600) << names.back();
        // The login page and the profile host are one pixel lower.
        const bool lower = names.back() == "FramePassword1" || names.back() == "FrameWlProfile1";
        EXPECT_EQ(page->height(), lower ? 323 : 324) << names.back();
        EXPECT_EQ(page->metaObject()->className(), "T" + names.back().substr(0, names.back().size() - 1))
            << names.back();
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(form.size(), QSize(600, 450));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(SwitchToTest, SamePageCallsNothing)
{
    form.CurrentPage = a;
    EXPECT_TRUE(form.SwitchTo(a, 0, 0));
    EXPECT_TRUE(log.empty());
    form.CurrentPage = nullptr;
    EXPECT_TRUE(form.SwitchTo(nullptr, 1, 0));
    EXPECT_TRUE(log.empty());
}

TEST_F(SwitchToTest, OrderOfCallsAndVisibility)
{
    form.CurrentPage = a;
    a->show();
    ASSERT_TRUE(form.SwitchTo(b, 0, 7));
    const std::vector<std::string> expected {
        "PageA.CanLeave(PageB,0,7) shown",
        "PageB.CanEnter(PageA,0,7) hidden",
        "PageA.LeaveFrame(PageB,0,7) hidden",
        "PageB.EnterFrame(PageA,0,7) shown",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(form.CurrentPage, b);
    EXPECT_EQ(b->PrevPage, a);
}

TEST_F(SwitchToTest, RefusedLeaveChangesNothing)
{
    form.CurrentPage = a;
    a->show();
    a->refuseLeave = true;
    EXPECT_FALSE(form.SwitchTo(b, 0, 0));
    EXPECT_EQ(log, std::vector<std::string> { "PageA.CanLeave(PageB,0,0) shown" });
    EXPECT_EQ(form.CurrentPage, a);
    EXPECT_TRUE(a->isVisibleTo(&form));
    EXPECT_FALSE(b->isVisibleTo(&form));
}

TEST_F(SwitchToTest, RefusedEnterChangesNothing)
{
    form.CurrentPage = a;
    a->show();
    b->refuseEnter = true;
    EXPECT_FALSE(form.SwitchTo(b, 1, 0));
    const std::vector<std::string> expected { "PageA.CanLeave(PageB,1,0) shown",
        "PageB.CanEnter(PageA,1,0) hidden" };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(form.CurrentPage, a);
    EXPECT_TRUE(a->isVisibleTo(&form));
    EXPECT_FALSE(b->isVisibleTo(&form));
}

TEST_F(SwitchToTest, FromNoPageAndToNoPage)
{
    ASSERT_TRUE(form.SwitchTo(a, 0, 0));
    ASSERT_TRUE(form.SwitchTo(nullptr, 1, 0));
    const std::vector<std::string> expected {
        "PageA.CanEnter(none,0,0) hidden",
        "PageA.EnterFrame(none,0,0) shown",
        "PageA.CanLeave(none,1,0) shown",
        "PageA.LeaveFrame(none,1,0) hidden",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(form.CurrentPage, nullptr);
}

TEST(FrameBase, PrevPageIsKeptGoingForwardAndForgottenGoingBack)
{
    TFrameBase page;
    TFrameBase other;
    EXPECT_EQ(page.PrevPage, nullptr);
    EXPECT_TRUE(page.CanEnter(&other, WZ_DIR_BACK, 0));
    EXPECT_EQ(page.PrevPage, nullptr);
    EXPECT_TRUE(page.CanEnter(&other, WZ_DIR_FORWARD, 0));
    EXPECT_EQ(page.PrevPage, &other);
    EXPECT_TRUE(page.CanLeave(nullptr, WZ_DIR_FORWARD, 0));
    EXPECT_EQ(page.PrevPage, &other);
    EXPECT_TRUE(page.CanLeave(nullptr, WZ_DIR_BACK, 0));
    EXPECT_EQ(page.PrevPage, nullptr);
}

namespace {

// The wizard window with its switch recorded instead of performed and a scripted profile host.
class TTableForm : public TFormMain
{
public:
    struct Call
    {
        TFrameBase* target;
        int direction;
        LPARAM param;
    };
    std::vector<Call> calls;
    bool switchResult = true;
    bool stepResult = true;
    std::vector<bool> steps; // the direction of every StepSubPage call (true forward)

    bool SwitchTo(TFrameBase* target, int direction, LPARAM param) override
    {
        calls.push_back({ target, direction, param });
        return switchResult;
    }

protected:
    bool StepSubPage(bool forward) override
    {
        steps.push_back(forward);
        return stepResult;
    }
};

struct NavCase
{
    const char* current; // instance name, nullptr for none
    int deviceMode;
    int setupMethod;
    int wlMethod;
    bool setIP;
    bool step; // StepSubPage's answer
    const char* target; // nullptr: stay
    int direction;
    int setupMethodAfter;
    bool copies; // the configuration as read is copied over the pending one
    bool cancels = false; // GoBack only: the wizard closes with Cancel
};

std::ostream& operator<<(std::ostream& os, const NavCase& c)
{
    return os << (c.current ? c.current : "none") << " mode=" << c.deviceMode << " setup=" << c.setupMethod
              << " wl=" << c.wlMethod << " setIP=" << c.setIP << " step=" << c.step;
}

// Distinct configurations as read and pending, to see whether the navigation copied them.
void MarkConfigurations()
{
    g_Var.DevIPConfig = tag_IP_CONFIG {};
    g_Var.DevIPConfig.LAN_IP = 0x0A000001;
    g_Var.DevIPConfig.DNS2 = 0x0A000002;
    g_Var.DevWlConfig = tag_WL_CONFIG {};
    std::strcpy(g_Var.DevWlConfig.WL_SSID, "device");
    g_Var.DevWlConfig.WL_MODE = 7;
    g_Var.NewIPConfig = tag_IP_CONFIG {};
    g_Var.NewIPConfig.LAN_IP = 0x0B000001;
    g_Var.NewWlConfig = tag_WL_CONFIG {};
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "pending");
    g_Var.NewWlConfig.WL_MODE = 3;
}

bool Copied()
{
    return g_Var.NewIPConfig.LAN_IP == 0x0A000001 && g_Var.NewIPConfig.DNS2 == 0x0A000002
        && std::strcmp(g_Var.NewWlConfig.WL_SSID, "device") == 0 && g_Var.NewWlConfig.WL_MODE == 7;
}

bool Untouched()
{
    return g_Var.NewIPConfig.LAN_IP == 0x0B000001 && g_Var.NewIPConfig.DNS2 == 0
        && std::strcmp(g_Var.NewWlConfig.WL_SSID, "pending") == 0 && g_Var.NewWlConfig.WL_MODE == 3;
}

void RunCase(const NavCase& c, bool forward, bool switchResult)
{
    CChoicesGuard guard;
    TTableForm form;
    ProcessPosted(); // the start-up WZ_NEXT
    form.calls.clear();
    form.steps.clear();
    form.switchResult = switchResult;
    form.stepResult = c.step;
    form.CurrentPage = c.current ? form.PageByName(QString::fromLatin1(c.current)) : nullptr;
    ASSERT_TRUE(c.current == nullptr || form.CurrentPage) << c;
    g_Var.DeviceMode = c.deviceMode;
    g_Var.SetupMethod = c.setupMethod;
    g_Var.WlMethod = c.wlMethod;
    form.FrameSetupMethod1->RBtnSetIP->setChecked(c.setIP);
    form.FrameSetupMethod1->RBtnSetIPDHCP->setChecked(!c.setIP);
    form.setResult(0);
    MarkConfigurations();

    if (forward) {
        form.GoNext(5);
    } else {
        form.GoBack(5);
    }

    if (c.target) {
        ASSERT_EQ(form.calls.size(), 1u) << c;
        EXPECT_EQ(NameOf(form.calls[0].target), c.target) << c;
        EXPECT_EQ(form.calls[0].direction, c.direction) << c;
        EXPECT_EQ(form.calls[0].param, 5) << c;
    } else {
        EXPECT_TRUE(form.calls.empty())
            << c << " went to " << NameOf(form.calls.empty() ? nullptr : form.calls[0].target);
    }
    EXPECT_EQ(g_Var.SetupMethod, c.setupMethodAfter) << c;
    EXPECT_EQ(c.copies ? Copied() : Untouched(), true) << c;
    EXPECT_EQ(form.result(), c.cancels ? mrCancel : 0) << c;
    if (c.current && std::string(c.current) == "FrameWlProfile1") {
        EXPECT_EQ(form.steps, std::vector<bool> { forward }) << c;
    } else {
        EXPECT_TRUE(form.steps.empty()) << c;
    }
}

// clang-format off
const NavCase kNextCases[] = {
    // current              mode setup wl setIP step  target               dir setupAfter copies
    {nullptr,                1,   0,   0, false, true, "FrameLicense1",      0, 0, false},
    {"FrameWelcome1",        1,   0,   0, false, true, "FrameLicense1",      0, 0, false},
    {"FrameLicense1",        1,   0,   0, false, true, "FrameTutorial1",     0, 0, false},
    {"FrameTutorial1",       1,   0,   0, false, true, "FrameTutorial21",    0, 0, false},
    {"FrameTutorial21",      1,   0,   0, false, true, "FrameDevList1",      0, 0, false},
    {"FrameDevList1",        1,   0,   0, false, true, "FramePassword1",     0, 0, false},
    {"FramePassword1",       2,   0,   0, false, true, "FrameWlModeSel1",    0, 0, false},
    {"FrameWlModeSel1",      1,   0,   0, false, true, "FrameSetupMethod1",  0, 0, false},
    {"FrameWlModeSel1",      2,   0,   0, false, true, "FrameSiteSurvey1",   0, 0, false},
    {"FrameWlModeSel1",      0,   0,   0, false, true, "FrameSiteSurvey1",   0, 0, false},
    {"FrameSetupMethod1",    1,   0,   0, true,  true, "FrameDevIPCfg1",     0, 0, false},
    {"FrameSetupMethod1",    2,   0,   2, true,  true, "FrameDevIPCfg1",     0, 0, false},
    {"FrameSetupMethod1",    1,   0,   0, false, true, "FrameSetWlMethod1",  0, 1, true},
    {"FrameSetupMethod1",    2,   0,   2, false, true, "FrameWlProfile1",    0, 1, true},
    {"FrameSetupMethod1",    1,   1,   0, true,  true, "FrameSetWlMethod1",  0, 1, false},
    {"FrameSetupMethod1",    2,   1,   0, false, true, "FrameWlProfile1",    0, 1, false},
    {"FrameSetupMethod1",    1,   2,   0, false, true, nullptr,              0, 2, false},
    {"FrameSetupMethod1",    1,  -1,   0, true,  true, nullptr,              0, -1, false},
    {"FrameDevIPCfg1",       1,   0,   0, true,  true, "FrameSetWlMethod1",  0, 1, true},
    {"FrameDevIPCfg1",       2,   0,   2, true,  true, "FrameWlProfile1",    0, 1, true},
    {"FrameDevIPCfg1",       1,   2,   0, true,  true, "FrameSetWlMethod1",  0, 1, true},
    {"FrameSetWlMethod1",    1,   1,   0, false, true, "FrameWPSMethod1",    0, 1, false},
    {"FrameSetWlMethod1",    1,   1,   1, false, true, "FrameWlProfile1",    0, 1, false},
    {"FrameSetWlMethod1",    2,   1,   1, false, true, "FrameSiteSurvey1",   0, 1, false},
    {"FrameSetWlMethod1",    1,   1,   2, false, true, nullptr,              0, 1, false},
    {"FrameSiteSurvey1",     2,   1,   1, false, true, "FrameWlProfile1",    0, 1, false},
    {"FrameSiteSurvey1",     2,   1,   0, false, true, "FrameWPSMethod1",    0, 1, false},
    {"FrameSiteSurvey1",     2,   1,   2, false, true, "FrameSetupMethod1",  0, 1, false},
    {"FrameSiteSurvey1",     2,   1,   3, false, true, nullptr,              0, 1, false},
    {"FrameWlProfile1",      1,   1,   1, false, true, "FrameSuccess1",      0, 1, false},
    {"FrameWlProfile1",      1,   1,   1, false, false, nullptr,             0, 1, false},
    {"FrameWPSMethod1",      2,   1,   0, false, true, "FrameSuccess1",      0, 1, false},
    {"FrameSuccess1",        1,   1,   1, false, true, "FrameSetupMethod1",  0, 1, false},
    {"FrameAdhocMode1",      1,   1,   1, false, true, nullptr,              0, 1, false},
    {"FrameWlConfig1",       1,   1,   1, false, true, nullptr,              0, 1, false},
};

const NavCase kBackCases[] = {
    // current              mode setup wl setIP step  target               dir setupAfter copies cancels
    {nullptr,                1,   0,   0, false, true, nullptr,              1, 0, false},
    {"FrameWelcome1",        1,   0,   0, false, true, nullptr,              1, 0, false},
    {"FrameLicense1",        1,   0,   0, false, true, nullptr,              1, 0, false, true},
    {"FrameTutorial1",       1,   0,   0, false, true, nullptr,              1, 0, false, true},
    {"FrameTutorial21",      1,   0,   0, false, true, "FrameTutorial1",     1, 0, false},
    {"FrameDevList1",        1,   0,   0, false, true, "FrameTutorial21",    1, 0, false},
    {"FramePassword1",       1,   0,   0, false, true, "FrameDevList1",      1, 0, false},
    {"FrameWlModeSel1",      2,   0,   0, false, true, "FrameDevList1",      1, 0, false},
    {"FrameSetupMethod1",    1,   0,   0, false, true, "FrameWlModeSel1",    1, 0, false},
    {"FrameSetupMethod1",    2,   0,   2, false, true, "FrameSiteSurvey1",   1, 0, false},
    {"FrameDevIPCfg1",       1,   0,   0, true,  true, "FrameSetupMethod1",  1, 0, false},
    {"FrameSetWlMethod1",    1,   1,   1, true,  true, "FrameDevIPCfg1",     1, 1, false},
    {"FrameSetWlMethod1",    1,   1,   1, false, true, "FrameSetupMethod1",  1, 1, false},
    {"FrameSiteSurvey1",     2,   1,   1, false, true, "FrameWlModeSel1",    1, 1, false},
    {"FrameWlProfile1",      1,   1,   1, false, false, nullptr,             1, 1, false},
    {"FrameWlProfile1",      2,   1,   2, true,  false, nullptr,             1, 1, false},
    {"FrameWlProfile1",      1,   1,   0, true,  true, "FrameSetWlMethod1",  1, 1, false},
    {"FrameWlProfile1",      2,   1,   1, true,  true, "FrameSiteSurvey1",   1, 1, false},
    {"FrameWlProfile1",      2,   1,   2, true,  true, "FrameDevIPCfg1",     1, 1, false},
    {"FrameWlProfile1",      2,   1,   2, false, true, "FrameSetupMethod1",  1, 1, false},
    {"FrameWlProfile1",      2,   1,   0, true,  true, nullptr,              1, 1, false},
    {"FrameWPSMethod1",      1,   1,   0, false, true, "FrameSetWlMethod1",  0, 1, false},
    {"FrameWPSMethod1",      2,   1,   0, false, true, "FrameSiteSurvey1",   1, 1, false},
    {"FrameSuccess1",        1,   1,   1, false, true, "FrameWlModeSel1",    1, 1, false},
    {"FrameAdhocMode1",      1,   1,   1, false, true, nullptr,              1, 1, false},
    {"FrameWlConfig1",       1,   1,   1, false, true, nullptr,              1, 1, false},
};
// clang-format on

} // namespace

TEST(Navigation, EveryRowOfTheForwardTable)
{
    for (const NavCase& c : kNextCases) {
        RunCase(c, true, true);
    }
}

TEST(Navigation, EveryRowOfTheBackTable)
{
    for (const NavCase& c : kBackCases) {
        RunCase(c, false, true);
    }
}

TEST(Navigation, AssignmentsBeforeTheSwitchRemainWhenItIsRefused)
{
    // From the setup method page with the dynamic address chosen, a refused entry into the
    // wireless method page still leaves SetupMethod at 1 and the pending configuration overwritten.
    RunCase({ "FrameSetupMethod1", 1, 0, 0, false, true, "FrameSetWlMethod1", 0, 1, true }, true, false);
    RunCase({ "FrameDevIPCfg1", 2, 0, 2, true, true, "FrameWlProfile1", 0, 1, true }, true, false);
}

TEST(Navigation, BackOnTheWpsPageEntersTheWirelessMethodPageAsFromTheFront)
{
    CChoicesGuard guard;
    TFormMain form;
    ProcessPosted();
    g_Var.DeviceMode = 1;
    form.FrameLicense1->hide();
    form.CurrentPage = form.FrameWPSMethod1;
    form.FrameWPSMethod1->show();
    form.FrameSetWlMethod1->PrevPage = nullptr;
    SendMessage(&form, UM_WIZARD, WZ_BACK, 0);
    EXPECT_EQ(form.CurrentPage, form.FrameSetWlMethod1);
    EXPECT_EQ(form.FrameSetWlMethod1->PrevPage, form.FrameWPSMethod1);
    EXPECT_TRUE(form.FrameSetWlMethod1->isVisibleTo(&form));
    EXPECT_FALSE(form.FrameWPSMethod1->isVisibleTo(&form));
}

TEST(Navigation, BackOnTheLicencePageClosesWithCancelAndReopensThere)
{
    TFormMain form;
    ProcessPosted();
    ASSERT_EQ(form.CurrentPage, form.FrameLicense1);
    QTimer::singleShot(0, &form, [&] { PostMessage(&form, UM_WIZARD, WZ_BACK, 0); });
    EXPECT_EQ(form.exec(), mrCancel);
    EXPECT_EQ(form.CurrentPage, form.FrameLicense1);
    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(form.FrameLicense1->isVisible());
        form.done(mrCancel);
    });
    form.exec();
}

TEST(Navigation, UnknownWizardKindDoesNothing)
{
    TFormMain form;
    ProcessPosted();
    SendMessage(&form, UM_WIZARD, 0, 0);
    SendMessage(&form, UM_WIZARD, 4, 0);
    EXPECT_EQ(form.CurrentPage, form.FrameLicense1);
    EXPECT_EQ(form.result(), 0);
}

TEST(ExitQuestion, YesClosesWithOkNoLeavesEverything)
{
    ScopedDialogSeam seam;
    g_Var.MsgTitle = QStringLiteral("Setup");
    TFormMain form;
    ProcessPosted();

    DialogSeam::QueueAnswer(mrNo);
    form.show();
    SendMessage(&form, UM_WIZARD, WZ_EXIT, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 0);
    EXPECT_EQ(form.CurrentPage, form.FrameLicense1);
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Question);
    EXPECT_EQ(DialogSeam::Shown()[0].text, QStringLiteral("Do you want to exit the Setup Wizard?"));
    EXPECT_EQ(DialogSeam::Shown()[0].caption, QStringLiteral("Setup"));
    form.hide();

    DialogSeam::QueueAnswer(mrYes);
    QTimer::singleShot(0, &form, [&] { PostMessage(&form, UM_WIZARD, WZ_EXIT, 0); });
    EXPECT_EQ(form.exec(), mrOk);
    EXPECT_EQ(DialogSeam::Shown().size(), 2);
    g_Var.MsgTitle.clear();
}

TEST(EngineMessages, ReachThePageOnShowOrAreDropped)
{
    TFormMain form;
    ProcessPosted();
    std::vector<std::string> log;
    auto* page = new TRecordingPage(&form, "PageA", log);

    form.CurrentPage = nullptr;
    SendMessage(&form, UM_UDP_RECV, 1, 1); // dropped, no crash
    EXPECT_TRUE(page->messages.empty());

    form.CurrentPage = page;
    SendMessage(&form, UM_UDP_RECV, 3, 1);
    SendMessage(&form, UM_UDP_TIMEOUT, 4, 0);
    SendMessage(&form, UM_UDP_EVENT, 150, 9);
    SendMessage(&form, WM_APP + 200, 1, 2); // not an engine message
    const std::vector<std::tuple<UINT, WPARAM, LPARAM>> expected { { UM_UDP_RECV, 3, 1 },
        { UM_UDP_TIMEOUT, 4, 0 }, { UM_UDP_EVENT, 150, 9 } };
    EXPECT_EQ(page->messages, expected);
    EXPECT_TRUE(log.empty());
    form.CurrentPage = nullptr;
}

TEST(EngineMessages, PostedReplyWhileTheLicencePageIsCurrent)
{
    TFormMain form;
    ProcessPosted();
    ASSERT_EQ(form.CurrentPage, form.FrameLicense1);
    PostMessage(&form, UM_UDP_RECV, 2, 1);
    ProcessPosted();
    EXPECT_EQ(form.CurrentPage, form.FrameLicense1);
}

TEST(PageButtons, PostTheirWizardMessageToTheMainWindow)
{
    TFormMain form;
    ProcessPosted();
    QObject* before = ApplicationMainWindow();
    SetApplicationMainWindow(&form);
    form.FrameLicense1->hide();
    form.FrameTutorial1->show();
    form.CurrentPage = form.FrameTutorial1;
    form.FrameTutorial1->findChild<QAbstractButton*>(QStringLiteral("BtnNext"))->click();
    EXPECT_EQ(form.CurrentPage, form.FrameTutorial1); // posted, not yet handled
    ProcessPosted();
    EXPECT_EQ(form.CurrentPage, form.FrameTutorial21);
    form.FrameTutorial21->findChild<QAbstractButton*>(QStringLiteral("BtnBack"))->click();
    ProcessPosted();
    EXPECT_EQ(form.CurrentPage, form.FrameTutorial1);
    SetApplicationMainWindow(before);
}

TEST(FormMainDrag, DraggingTheBackgroundMovesTheWindow)
{
    TFormMain form;
    ProcessPosted();
    form.move(100, 80);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    QTest::mousePress(form.ImgBG, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(form.ImgBG, QPoint(60, 50));
    QTRY_COMPARE_WITH_TIMEOUT(form.pos(), start + QPoint(40, 30), 5000);
    QTest::mouseRelease(form.ImgBG, Qt::LeftButton, {}, QPoint(60, 50));
    // Without the button held the background does not drag.
    const QPoint after = form.pos();
    QTest::mouseMove(form.ImgBG, QPoint(10, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(form.pos(), after);
}
