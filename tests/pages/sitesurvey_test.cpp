// The site survey page: the survey against the emulator (login first, time-out, refusal, the
// largest survey), the order of the rows by each column and the header's rules, icons and texts
// of the cells, Connect, WPS and Manual with and without a device, and the owner drawing (stripes,
// selection box, blue rows, icons).
#include "page_fixture.h"
#include "sitesurvey_networks.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/frameadhocmode.h"
#include "pages/framesetupmethod.h"
#include "pages/framesitesurvey.h"
#include "pages/framewlprofile.h"
#include "pages/framewpsmethod.h"
#include "pages/surveylist.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/imagelist.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QTest>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace pagetest;
using namespace surveytest;

namespace {

class SiteSurveyTest : public CPageFixture
{
protected:
    TFrameSiteSurvey* Page() const { return Main()->FrameSiteSurvey1; }
    TSortListView* List() const { return Page()->SurveyList; }

    // The page entered going forward in bridge mode; waits for the list.
    bool EnterPage()
    {
        g_Var.DeviceMode = DEVICE_WBRIDGE;
        Apsim().MarkLog();
        if (!Navigate(Page())) {
            ADD_FAILURE() << "the site survey page refused to be entered";
            return false;
        }
        return WaitListed();
    }

    bool WaitListed()
    {
        // WPS is enabled by the listing only.
        const bool ok = WaitFor([this] {
            return Page()->BtnWPS->isEnabled() && Page()->BtnRefresh->isEnabled()
                && !Page()->PlSearch->isVisibleTo(Page()->GroupBox1);
        });
        if (!ok) {
            ADD_FAILURE() << "the survey was not listed";
        }
        return ok;
    }

    // The texts of one column, top to bottom.
    QStringList Column(int column) const
    {
        QStringList out;
        for (int i = 0; i < List()->RowCount(); ++i) {
            out << List()->Row(i)->text(column);
        }
        return out;
    }

    QTreeWidgetItem* RowOf(const QString& ssid) const
    {
        for (int i = 0; i < List()->RowCount(); ++i) {
            if (List()->Row(i)->text(SURVEY_COL_SSID) == ssid) {
                return List()->Row(i);
            }
        }
        return nullptr;
    }

    void ClickHeader(int column)
    {
        QHeaderView* header = List()->header();
        const QPoint at(
            header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        ProcessEvents();
    }

    void Select(const QString& ssid)
    {
        QTreeWidgetItem* row = RowOf(ssid);
        ASSERT_NE(row, nullptr) << ssid.toStdString();
        const QRect r = List()->visualItemRect(row);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, r.center());
        ProcessEvents();
    }
};

std::vector<int> Numbers(const QStringList& texts)
{
    std::vector<int> out;
    for (const QString& t : texts) {
        out.push_back(QString(t).remove(QLatin1Char('%')).toInt());
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Against the emulator

TEST_F(SiteSurveyTest, EnteringListsEveryNetworkStrongestFirst)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    g_Var.SelectedAP.Signal = 42;
    ASSERT_TRUE(EnterPage());
    EXPECT_EQ(g_Var.SelectedAP.Signal, 0); // the previous choice is forgotten
    EXPECT_EQ(Apsim().Keys(), QStringList({ "survey" }));
    ASSERT_EQ(List()->RowCount(), 12);
    const std::vector<int> signal = Numbers(Column(SURVEY_COL_SIGNAL));
    EXPECT_TRUE(std::is_sorted(signal.rbegin(), signal.rend()));
    EXPECT_EQ(signal.front(), 100);
    EXPECT_EQ(List()->SortColunm(), SURVEY_COL_SIGNAL);
    EXPECT_FALSE(List()->Increase());
    EXPECT_TRUE(Page()->BtnWPS->isEnabled());
    EXPECT_TRUE(Page()->BtnRefresh->isEnabled());
    EXPECT_FALSE(Page()->BtnNext->isEnabled()); // until a row is selected
    Select(QStringLiteral("Guest"));
    EXPECT_TRUE(Page()->BtnNext->isEnabled());
    EXPECT_TRUE(TakeShownTexts().isEmpty());

    // The cells of one row.
    QTreeWidgetItem* row = RowOf(QStringLiteral("Lab-Mixed"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(SURVEY_COL_ICON), QString());
    EXPECT_EQ(row->text(SURVEY_COL_CHANNEL), QStringLiteral("3"));
    EXPECT_EQ(row->text(SURVEY_COL_SIGNAL), QStringLiteral("40%"));
    EXPECT_EQ(row->text(SURVEY_COL_ENCRYPTION), QStringLiteral("TKIP/AES"));
    EXPECT_EQ(row->text(SURVEY_COL_AUTH), QStringLiteral("WPA-PSK/WPA2-PSK"));
    EXPECT_EQ(row->text(SURVEY_COL_BSSID), QStringLiteral("0A:00:00:00:00:04"));
}

// Every entry into the page, back included, starts a new survey.
TEST_F(SiteSurveyTest, RefreshAndEveryEntrySurveyAgain)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    Select(QStringLiteral("HomeNet"));
    Page()->BtnRefresh->click();
    EXPECT_FALSE(Page()->BtnNext->isEnabled());
    EXPECT_FALSE(Page()->BtnWPS->isEnabled());
    EXPECT_FALSE(Page()->BtnRefresh->isEnabled());
    EXPECT_TRUE(Page()->PlSearch->isVisible());
    EXPECT_EQ(List()->RowCount(), 0);
    ASSERT_TRUE(WaitListed());
    EXPECT_EQ(List()->RowCount(), 12);
    EXPECT_EQ(List()->Selected(), nullptr);
    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    ASSERT_TRUE(Navigate(Page(), 1));
    ASSERT_TRUE(WaitListed());
    EXPECT_EQ(Apsim().Count(QStringLiteral("survey")), 3);
}

TEST_F(SiteSurveyTest, LogsInFirstWhenNotLoggedIn)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    FormUDP->SendLogout(0);
    ASSERT_TRUE(WaitFor([this] { return Apsim().Count(QStringLiteral("logout")) == 1; }));
    ASSERT_TRUE(EnterPage());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login", "survey" }));
    EXPECT_EQ(List()->RowCount(), 12);
}

// No answer: the list shows what the engine holds from the last reply, without a message.
TEST_F(SiteSurveyTest, UnansweredSurveyListsTheHeldEntries)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    ASSERT_EQ(List()->RowCount(), 12);
    Apsim().Stop();
    Page()->BtnRefresh->click();
    EXPECT_EQ(List()->RowCount(), 0);
    ASSERT_TRUE(WaitListed());
    EXPECT_EQ(List()->RowCount(), 12);
    EXPECT_TRUE(Page()->BtnWPS->isEnabled());
    EXPECT_FALSE(Page()->BtnNext->isEnabled());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

// Refresh while the login has lapsed and the device is gone: the login times out and the list is
// filled again from the held entries, once, not added to the rows already shown.
TEST_F(SiteSurveyTest, LoginTimeOutOnRefreshDoesNotDuplicateRows)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    ASSERT_EQ(List()->RowCount(), 12);
    Apsim().Stop();
    FormUDP->SendLogout(0);
    Page()->BtnRefresh->click();
    EXPECT_EQ(List()->RowCount(), 12); // the login comes first; the rows stay meanwhile
    ASSERT_TRUE(WaitListed());
    EXPECT_EQ(List()->RowCount(), 12);
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

TEST_F(SiteSurveyTest, FirstSurveyUnansweredListsNothing)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig(QStringLiteral(R"({"survey":{"drop":"all"}})"))));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    EXPECT_EQ(List()->RowCount(), 0);
    EXPECT_TRUE(Page()->BtnWPS->isEnabled());
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

// A refused login: nothing further, "Searching..." stays.
TEST_F(SiteSurveyTest, RefusedLoginLeavesTheSearchPanel)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig(QStringLiteral(R"({"login":{"result":0}})"))));
    ASSERT_TRUE(FormUDP->SendDiscover(4000, true));
    ASSERT_TRUE(WaitEngineIdle());
    ASSERT_FALSE(FormUDP->Devices().empty());
    g_Var.SelectedDevice = FormUDP->Devices().front();
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    Apsim().MarkLog();
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitFor([this] { return Apsim().Count(QStringLiteral("login")) == 1; }));
    ASSERT_TRUE(WaitEngineIdle());
    ProcessEvents();
    EXPECT_TRUE(Page()->PlSearch->isVisible());
    EXPECT_EQ(List()->RowCount(), 0);
    EXPECT_FALSE(Page()->BtnWPS->isEnabled());
    EXPECT_EQ(Apsim().Keys(), QStringList({ "login" }));
    EXPECT_TRUE(TakeShownTexts().isEmpty());
}

// The most entries one datagram holds.
TEST_F(SiteSurveyTest, ListsTheLargestSurvey)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig(QStringLiteral(R"({"survey":{"max_survey":true}})"))));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    EXPECT_EQ(List()->RowCount(), 1336);
    const std::vector<int> signal = Numbers(Column(SURVEY_COL_SIGNAL));
    EXPECT_TRUE(std::is_sorted(signal.rbegin(), signal.rend()));
}

// Connect takes the selected network; the profile pages follow.
TEST_F(SiteSurveyTest, ConnectTakesTheSelectedNetwork)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    Relay().Wizard.clear();
    Page()->BtnNext->setEnabled(true);
    Page()->BtnNextClick(); // nothing selected: nothing happens
    ProcessEvents();
    EXPECT_TRUE(Relay().Wizard.empty());
    EXPECT_EQ(Main()->CurrentPage, Page());

    Select(QStringLiteral("Campus"));
    QTest::mouseClick(Page()->BtnNext, Qt::LeftButton, {}, Page()->BtnNext->rect().center());
    ASSERT_TRUE(WaitForPage(Main()->FrameWlProfile1));
    EXPECT_EQ(g_Var.WlMethod, 1);
    EXPECT_STREQ(g_Var.SelectedAP.SSID, "Campus");
    EXPECT_EQ(g_Var.SelectedAP.Signal, 64);
    EXPECT_EQ(g_Var.SelectedAP.Channel, 13);
    EXPECT_EQ(g_Var.SelectedAP.Authentication, 7);
    EXPECT_EQ(g_Var.SelectedAP.IconFlag, 1);
    EXPECT_TRUE(g_Var.SelectedAP.WPS);
    const unsigned char bssid[6] = { 0x02, 0xaa, 0x01, 0, 0, 0x08 };
    EXPECT_EQ(std::memcmp(g_Var.SelectedAP.BSSID, bssid, 6), 0);
}

// WPS goes on with or without a selection; Manual to the setup method page.
TEST_F(SiteSurveyTest, WpsAndManualGoOn)
{
    ASSERT_TRUE(StartDevice(1, BridgeConfig()));
    ASSERT_TRUE(ConnectDevice());
    ASSERT_TRUE(EnterPage());
    Page()->BtnWPSClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameWPSMethod1));
    EXPECT_EQ(g_Var.WlMethod, 0);
    EXPECT_STREQ(g_Var.SelectedAP.SSID, "");
    EXPECT_EQ(g_Var.SelectedAP.Signal, 0);

    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitListed());
    Select(QStringLiteral("zeta"));
    Page()->BtnWPSClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameWPSMethod1));
    EXPECT_STREQ(g_Var.SelectedAP.SSID, "zeta");
    EXPECT_EQ(Main()->FrameWPSMethod1->EdtSSID->text(), QStringLiteral("zeta"));

    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitListed());
    Page()->BtnManualClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetupMethod1));
    EXPECT_EQ(g_Var.WlMethod, 2);
}

// Without a device: the search ends with an empty list, Connect is enabled, and Connect and WPS
// carry the demonstration entry.
TEST_F(SiteSurveyTest, NonWorkingUsesTheDemonstrationEntry)
{
    g_Var.NonWorking = true;
    for (const bool wps : { false, true }) {
        ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
        g_Var.DeviceMode = DEVICE_WBRIDGE;
        ASSERT_TRUE(Navigate(Page()));
        ASSERT_TRUE(WaitListed()); // the login found nobody
        EXPECT_EQ(List()->RowCount(), 0);
        EXPECT_TRUE(Page()->BtnNext->isEnabled());
        EXPECT_TRUE(Page()->BtnWPS->isEnabled());
        if (wps) {
            Page()->BtnWPSClick();
            ASSERT_TRUE(WaitForPage(Main()->FrameWPSMethod1));
            EXPECT_EQ(g_Var.WlMethod, 0);
        } else {
            Page()->BtnNextClick();
            ASSERT_TRUE(WaitForPage(Main()->FrameWlProfile1));
            EXPECT_EQ(g_Var.WlMethod, 1);
        }
        const tag_AP_ROFIILE& ap = g_Var.SelectedAP;
        EXPECT_STREQ(ap.SSID, "NonWorkingTestMode");
        EXPECT_EQ(MacToText(ap.BSSID), QStringLiteral("31:32:33:34:35:36"));
        EXPECT_EQ(ap.Signal, 80);
        EXPECT_EQ(ap.Channel, 1);
        EXPECT_EQ(ap.Encryption, 0);
        EXPECT_EQ(ap.Authentication, 0);
        EXPECT_EQ(ap.IconFlag, 1);
        EXPECT_TRUE(ap.WPS);
        EXPECT_FALSE(ap.EntryFlag);
    }
}

// ---------------------------------------------------------------------------------------------
// Order and header rules (the dozen listed without a device)

class SurveyOrderTest : public SiteSurveyTest
{
protected:
    void SetUp() override
    {
        SiteSurveyTest::SetUp();
        for (TFrameBase* p : Main()->Pages()) {
            p->setVisible(p == Page());
        }
        FillSurveyRows(List(), Entries(), TSurveyTexts::AllCodes);
        ProcessEvents();
    }
};

TEST_F(SurveyOrderTest, HeaderClicksSortByEachColumn)
{
    // A new column keeps the direction (descending at first); the same column turns it.
    struct TStep
    {
        int column;
        bool increase;
    };
    const TStep steps[]
        = { { SURVEY_COL_SSID, false }, { SURVEY_COL_SSID, true }, { SURVEY_COL_CHANNEL, true },
              { SURVEY_COL_CHANNEL, false }, { SURVEY_COL_SIGNAL, false }, { SURVEY_COL_SIGNAL, true },
              { SURVEY_COL_ENCRYPTION, true }, { SURVEY_COL_ENCRYPTION, false }, { SURVEY_COL_AUTH, false },
              { SURVEY_COL_AUTH, true }, { SURVEY_COL_BSSID, true }, { SURVEY_COL_BSSID, false } };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.column);
        ClickHeader(s.column);
        EXPECT_EQ(List()->SortColunm(), s.column);
        EXPECT_EQ(List()->Increase(), s.increase);
        const QStringList texts = Column(s.column);
        for (int i = 1; i < texts.size(); ++i) {
            int r = CompareTextAsciiFolded(texts[i - 1], texts[i]);
            if (s.column == SURVEY_COL_CHANNEL || s.column == SURVEY_COL_SIGNAL) {
                const std::vector<int> n = Numbers({ texts[i - 1], texts[i] });
                r = (n[0] > n[1]) - (n[0] < n[1]);
            }
            EXPECT_TRUE(s.increase ? r <= 0 : r >= 0) << texts.join(QLatin1Char(',')).toStdString();
        }
    }
}

TEST_F(SurveyOrderTest, IconColumnNeverSorts)
{
    const QStringList before = Column(SURVEY_COL_SSID);
    ClickHeader(SURVEY_COL_ICON);
    EXPECT_EQ(List()->SortColunm(), SURVEY_COL_SIGNAL);
    EXPECT_FALSE(List()->Increase());
    EXPECT_EQ(Column(SURVEY_COL_SSID), before);
    // Signal once more: weakest first.
    ClickHeader(SURVEY_COL_SIGNAL);
    EXPECT_TRUE(List()->Increase());
    EXPECT_EQ(Column(SURVEY_COL_SSID).first(), QStringLiteral("mesh-node"));
    EXPECT_EQ(Column(SURVEY_COL_SSID).last(), QStringLiteral("Enterprise"));
}

// SSIDs compare with ASCII letters folded: "mesh-node" between "Lab-Mixed" and "office-WEP".
TEST_F(SurveyOrderTest, SsidOrderIgnoresCase)
{
    ClickHeader(SURVEY_COL_SSID);
    ClickHeader(SURVEY_COL_SSID);
    EXPECT_EQ(Column(SURVEY_COL_SSID),
        QStringList({ "Attic", "Campus", "CoffeeShop", "Corp-Legacy", "Enterprise", "Guest", "HomeNet",
            "Lab-Mixed", "mesh-node", "office-WEP", "Printer", "zeta" }));
    // BSSID: byte by byte, first byte first.
    ClickHeader(SURVEY_COL_BSSID);
    EXPECT_EQ(Column(SURVEY_COL_BSSID).first(), QStringLiteral("02:AA:00:00:00:01"));
    EXPECT_EQ(Column(SURVEY_COL_BSSID).last(), QStringLiteral("12:00:00:00:00:06"));
}

struct TCompareCase
{
    const char* name;
    int column;
    bool increase;
    tag_AP_ROFIILE a;
    tag_AP_ROFIILE b;
    int sign;
};

tag_AP_ROFIILE Ap(
    const char* ssid, int signal, int channel, unsigned char bssid0 = 0, int enc = 0, int auth = 0)
{
    tag_AP_ROFIILE e {};
    std::strcpy(e.SSID, ssid);
    e.Signal = signal;
    e.Channel = channel;
    e.BSSID[0] = bssid0;
    e.Encryption = std::uint8_t(enc);
    e.Authentication = std::uint8_t(auth);
    return e;
}

class SurveyCompareTest : public ::testing::TestWithParam<TCompareCase>
{
};

TEST_P(SurveyCompareTest, FollowsTheColumnAndDirection)
{
    const TCompareCase& c = GetParam();
    TSortListView list;
    list.AddColumn(QString(), 30);
    for (int i = 1; i < 7; ++i) {
        list.AddColumn(QStringLiteral("c%1").arg(i), 50);
    }
    list.SetSortColunm(c.column);
    list.SetIncrease(c.increase);
    QTreeWidgetItem* a = list.AddRow(SurveyRowCells(c.a, TSurveyTexts::AllCodes), QVariant::fromValue(c.a));
    QTreeWidgetItem* b = list.AddRow(SurveyRowCells(c.b, TSurveyTexts::AllCodes), QVariant::fromValue(c.b));
    const int r = CompareSurveyRows(&list, a, b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign);
}

INSTANTIATE_TEST_SUITE_P(Rule, SurveyCompareTest,
    ::testing::Values(TCompareCase { "CaptionsAlwaysEqual", 0, true, Ap("a", 1, 1), Ap("b", 2, 2), 0 },
        TCompareCase { "NegativeColumnUsesCaptions", -1, false, Ap("a", 1, 1), Ap("b", 2, 2), 0 },
        TCompareCase { "SsidFoldsAscii", 1, true, Ap("abc", 0, 0), Ap("ABD", 0, 0), -1 },
        TCompareCase { "SsidEqualButCase", 1, true, Ap("Home", 0, 0), Ap("hOME", 0, 0), 0 },
        TCompareCase { "SsidDescending", 1, false, Ap("abc", 0, 0), Ap("ABD", 0, 0), 1 },
        TCompareCase { "ChannelNumeric", 2, true, Ap("x", 0, 9), Ap("x", 0, 11), -1 },
        TCompareCase { "ChannelUnsigned", 2, true, Ap("x", 0, -1), Ap("x", 0, 11), 1 },
        TCompareCase { "SignalSigned", 3, true, Ap("x", -5, 0), Ap("x", 3, 0), -1 },
        TCompareCase { "SignalDescending", 3, false, Ap("x", 20, 0), Ap("x", 3, 0), -1 },
        TCompareCase {
            "EncryptionText", 4, true, Ap("x", 0, 0, 0, 3), Ap("x", 0, 0, 0, 0), -1 }, // AES < Not Use
        TCompareCase { "AuthenticationText", 5, true, Ap("x", 0, 0, 0, 0, 2), Ap("x", 0, 0, 0, 0, 0), 1 },
        TCompareCase { "BssidBytes", 6, true, Ap("x", 0, 0, 0x80), Ap("x", 0, 0, 0x7f), 1 },
        TCompareCase { "BeyondTheColumns", 9, true, Ap("a", 1, 1), Ap("b", 2, 2), 0 }),
    [](const ::testing::TestParamInfo<TCompareCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Cells: icons and texts

TEST(SurveyCells, SignalIconBySteps)
{
    const std::pair<int, int> cases[] = { { 100, 8 }, { 80, 8 }, { 79, 7 }, { 60, 7 }, { 59, 6 }, { 40, 6 },
        { 39, 5 }, { 20, 5 }, { 19, 4 }, { 0, 4 }, { -25, 4 }, { 250, 8 } };
    for (const auto& [signal, icon] : cases) {
        EXPECT_EQ(SurveySignalIcon(signal), icon) << signal;
    }
}

TEST(SurveyCells, RowIconByKindAndSecurity)
{
    tag_AP_ROFIILE e {};
    EXPECT_EQ(SurveyRowIcon(e), 0);
    e.Authentication = 3;
    EXPECT_EQ(SurveyRowIcon(e), 2);
    e.IconFlag = 7;
    EXPECT_EQ(SurveyRowIcon(e), 3);
    e.Authentication = 0;
    EXPECT_EQ(SurveyRowIcon(e), 1);
}

TEST(SurveyCells, TextsOfTheCodes)
{
    const char* const auth[]
        = { "OPEN", "", "WPA-PSK", "WPA2-PSK", "WPA-PSK/WPA2-PSK", "WPA", "WPA2", "WPA/WPA2", "" };
    for (int code = 0; code < 9; ++code) {
        EXPECT_EQ(SurveyAuthText(code, TSurveyTexts::AllCodes), QString::fromLatin1(auth[code])) << code;
        EXPECT_EQ(SurveyAuthText(code, TSurveyTexts::PskCodesOnly),
            code <= 4 ? QString::fromLatin1(auth[code]) : QString())
            << code;
    }
    tag_AP_ROFIILE e = Ap("mesh", 19, 4, 0xab, 5, 1);
    const QStringList cells = SurveyRowCells(e, TSurveyTexts::AllCodes);
    EXPECT_EQ(cells, QStringList({ "", "mesh", "4", "19%", "", "", "AB:00:00:00:00:00" }));
    // The SSID ends at its first zero byte; a full 32-byte SSID is shown whole.
    std::memset(e.SSID, 'S', 32);
    EXPECT_EQ(SurveyRowCells(e, TSurveyTexts::AllCodes).at(SURVEY_COL_SSID), QString(32, QLatin1Char('S')));
}

// ---------------------------------------------------------------------------------------------
// Drawing

class SurveyDrawTest : public SiteSurveyTest
{
protected:
    QImage Grab()
    {
        Main()->FrameAdhocMode1->hide();
        for (TFrameBase* p : Main()->Pages()) {
            p->setVisible(p == Page());
        }
        ProcessEvents();
        List()->viewport()->repaint();
        return List()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static bool HasBlueText(const QImage& img, const QRect& r)
    {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.blue() - c.red() > 100 && c.blue() - c.green() > 100) {
                    return true;
                }
            }
        }
        return false;
    }
    static bool HasDarkText(const QImage& img, const QRect& r)
    {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() < 80 && c.green() < 80 && c.blue() < 80) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(SurveyDrawTest, StripesSelectionBlueRowsAndIcons)
{
    std::vector<tag_AP_ROFIILE> entries = Entries();
    entries[0].EntryFlag = true; // HomeNet
    FillSurveyRows(List(), entries, TSurveyTexts::AllCodes);
    QTreeWidgetItem* selected = RowOf(QStringLiteral("Printer"));
    ASSERT_NE(selected, nullptr);
    List()->setCurrentItem(selected);
    selected->setSelected(true);
    const QImage img = Grab();
    const int right = List()->header()->length(); // beyond the columns: only the stripes
    ASSERT_LT(right + 2, img.width());
    const QColor pale = QColor::fromRgb(SURVEY_STRIPE_RGB);
    for (int i = 0; i < 6; ++i) {
        const QRect r = List()->RowRect(List()->Row(i));
        EXPECT_EQ(img.pixelColor(right + 2, r.center().y()), (i % 2) != 0 ? pale : QColor(Qt::white)) << i;
    }
    // The selection box: pen on its edge, brush inside (in the empty part of the centred channel cell).
    const QRect sr = List()->RowRect(selected);
    EXPECT_EQ(img.pixelColor(sr.left() + 40, sr.top()), QColor::fromRgb(SURVEY_SELECT_PEN_RGB));
    const int channelLeft = List()->header()->sectionViewportPosition(SURVEY_COL_CHANNEL);
    EXPECT_EQ(img.pixelColor(channelLeft + 3, sr.center().y()), QColor::fromRgb(SURVEY_SELECT_BRUSH_RGB));
    // Blue text for the flagged entry only.
    auto ssidCell = [this](QTreeWidgetItem* row) {
        const QRect r = List()->RowRect(row);
        const int left = List()->header()->sectionViewportPosition(SURVEY_COL_SSID);
        return QRect(left + 1, r.top(), List()->columnWidth(SURVEY_COL_SSID) - 2, r.height() - 1);
    };
    EXPECT_TRUE(HasBlueText(img, ssidCell(RowOf(QStringLiteral("HomeNet")))));
    EXPECT_FALSE(HasBlueText(img, ssidCell(RowOf(QStringLiteral("zeta")))));
    EXPECT_TRUE(HasDarkText(img, ssidCell(RowOf(QStringLiteral("zeta")))));
    // The signal icon is copied at the cell's left + 1 and top.
    QTreeWidgetItem* top = List()->Row(0); // Enterprise, 100 %
    const QImage icon = FormRes->ImgsType->Images().at(8).toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect tr = List()->RowRect(top);
    const int signalLeft = List()->header()->sectionViewportPosition(SURVEY_COL_SIGNAL) + 1 + 1;
    int matched = 0;
    int opaque = 0;
    for (int y = 0; y < icon.height() && tr.top() + y < tr.bottom(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y);
            if (qAlpha(p) == 255) {
                ++opaque;
                matched += QColor(img.pixel(signalLeft + x, tr.top() + y)).rgb() == QColor(p).rgb();
            }
        }
    }
    EXPECT_GT(opaque, 20);
    EXPECT_GE(matched, opaque * 9 / 10);
}

TEST_F(SurveyDrawTest, EmptyListStillShowsStripes)
{
    ClearSurveyRows(List());
    const QImage img = Grab();
    // Stripes of the icon height + 1 from 2 pixels below the header: white, pale yellow, ...
    // (a grid line may cross a stripe, so the stripe's column of pixels is looked at as a whole).
    const int h = FormRes->ImgsType->Height() + 1;
    const QColor pale = QColor::fromRgb(SURVEY_STRIPE_RGB);
    for (int stripe = 0; stripe < 4; ++stripe) {
        int white = 0;
        int yellow = 0;
        for (int y = 2 + stripe * h; y < 2 + (stripe + 1) * h; ++y) {
            white += img.pixelColor(40, y) == QColor(Qt::white);
            yellow += img.pixelColor(40, y) == pale;
        }
        if (stripe % 2 != 0) {
            EXPECT_GE(yellow, h - 1) << stripe;
            EXPECT_EQ(white, 0) << stripe;
        } else {
            EXPECT_GE(white, h - 1) << stripe;
            EXPECT_EQ(yellow, 0) << stripe;
        }
    }
}

} // namespace
