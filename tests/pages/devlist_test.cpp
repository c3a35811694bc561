// The device list page against the emulator: discovery on forward entry, the search panel, the
// rows in order of first answer, Configure, Refresh, NonWorking and the failure paths.
#include "page_fixture.h"

#include "app/globalvar.h"
#include "app/utils.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "platform/core/timer.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

class DevListTest : public CPageFixture
{
protected:
    TFrameDevList* Page() const { return Main()->FrameDevList1; }
    QStringList Row(int i) const
    {
        QTreeWidgetItem* item = Page()->LvDevList->Row(i);
        return item ? QStringList { item->text(0), item->text(1) } : QStringList {};
    }
};

TEST_F(DevListTest, ForwardEntrySearchesAndListsDevicesInOrderOfFirstAnswer)
{
    // Device 1 answers late, so device 2's answer is the first.
    ASSERT_TRUE(StartDevice(2, QStringLiteral(R"({"devices":[{"faults":{"discover":{"delay_ms":1000}}}]})")));
    ASSERT_TRUE(Navigate(Page()));

    // Searching: Refresh off, the panel shown, Configure off.
    EXPECT_FALSE(Page()->BtnRefresh->isEnabled());
    EXPECT_TRUE(Page()->PlSearch->isVisible());
    EXPECT_EQ(Page()->PlSearch->Caption(), QStringLiteral("Searching..."));
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());

    ASSERT_TRUE(WaitSearchDone());
    EXPECT_FALSE(Page()->PlSearch->isVisible());
    ASSERT_EQ(Page()->LvDevList->RowCount(), 2);
    EXPECT_EQ(Row(0), QStringList({ QStringLiteral("QRX-512 #2"), QStringLiteral("02:51:52:00:00:02") }));
    EXPECT_EQ(Row(1), QStringList({ QStringLiteral("QRX-512 #1"), QStringLiteral("02:51:52:00:00:01") }));
    EXPECT_EQ(Apsim().Count(QStringLiteral("discover"), QStringLiteral("all")), 1);

    // Configure is enabled exactly while a row is selected.
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
    Page()->LvDevList->Row(1)->setSelected(true);
    EXPECT_TRUE(Page()->BtnCfg->isEnabled());
    Page()->LvDevList->clearSelection();
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
}

TEST_F(DevListTest, ConfigureCopiesTheDeviceResetsTheConfigurationsAndMovesOn)
{
    ASSERT_TRUE(StartDevice(2));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitSearchDone());
    ASSERT_EQ(Page()->LvDevList->RowCount(), 2);

    g_Var.DevIPConfig.LAN_IP = 0x0A000001;
    g_Var.NewIPConfig.IP_MODE = 0;
    g_Var.DevWlConfig.WL_SSID[0] = 'x';
    g_Var.NewWlConfig.WL_SSID[0] = 'y';

    Page()->LvDevList->Row(1)->setSelected(true);
    Page()->BtnCfg->click();
    ASSERT_TRUE(WaitForPage(Main()->FramePassword1));

    const QTreeWidgetItem* row = Page()->LvDevList->Row(1);
    EXPECT_EQ(FieldToText(g_Var.SelectedDevice.DevName, sizeof g_Var.SelectedDevice.DevName), row->text(0));
    EXPECT_EQ(MacToText(g_Var.SelectedDevice.DevMAC), row->text(1));
    EXPECT_EQ(g_Var.SelectedDevice.DevIP, 0x7F000102u); // 127.0.1.2
    EXPECT_EQ(g_Var.DevIPConfig.LAN_IP, 0u);
    EXPECT_EQ(g_Var.DevIPConfig.IP_MODE, 1u);
    EXPECT_EQ(g_Var.NewIPConfig.IP_MODE, 1u);
    EXPECT_EQ(QString::fromUtf8(g_Var.DevWlConfig.WL_SSID), QStringLiteral("wireless"));
    EXPECT_EQ(QString::fromUtf8(g_Var.NewWlConfig.WL_SSID), QStringLiteral("wireless"));
    EXPECT_EQ(Relay().Wizard.back(), WZ_NEXT);
}

TEST_F(DevListTest, RefreshEmptiesTheListBeforeTheNewSearch)
{
    ASSERT_TRUE(StartDevice(1));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitSearchDone());
    ASSERT_EQ(Page()->LvDevList->RowCount(), 1);
    Page()->LvDevList->Row(0)->setSelected(true);
    ASSERT_TRUE(Page()->BtnCfg->isEnabled());

    Page()->BtnRefresh->click();
    EXPECT_EQ(Page()->LvDevList->RowCount(), 0);
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
    EXPECT_TRUE(Page()->PlSearch->isVisible());
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 1);
    EXPECT_EQ(Apsim().Count(QStringLiteral("discover")), 2); // one device: logged as dev=1
}

TEST_F(DevListTest, GoingBackFromTheLoginPageKeepsTheListWithoutSearching)
{
    ASSERT_TRUE(StartDevice(2));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitSearchDone());
    Page()->LvDevList->Row(0)->setSelected(true);
    Page()->BtnCfg->click();
    ASSERT_TRUE(WaitForPage(Main()->FramePassword1));

    Main()->FramePassword1->BtnBack->click();
    ASSERT_TRUE(WaitForPage(Page()));
    EXPECT_FALSE(Page()->TimerSearch->Enabled());
    EXPECT_FALSE(Page()->PlSearch->isVisible());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 2);
    EXPECT_EQ(Apsim().Count(QStringLiteral("discover"), QStringLiteral("all")), 1);
}

TEST_F(DevListTest, TheEngineTimeOutEndsTheSearchAndTheFallbackTimerOnlyWithoutIt)
{
    ASSERT_TRUE(StartDevice(1));
    // The engine's 4 s wait ends the search: with the fallback pushed far away it still ends.
    ASSERT_TRUE(Navigate(Page()));
    Page()->TimerSearch->SetInterval(600000);
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 1);

    // Without the engine's message the 10 s timer ends it.
    Page()->BtnRefreshClick();
    ASSERT_TRUE(Page()->TimerSearch->Enabled());
    Page()->TimerSearch->SetInterval(10000);
    FormUDP->TimerWait->SetEnabled(false);
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 1);
}

TEST_F(DevListTest, ADeviceAnsweringTwiceGivesOneRow)
{
    ASSERT_TRUE(StartDevice(1, QStringLiteral(R"({"devices":[{"faults":{"discover":{"duplicate":2}}}]})")));
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 1);
}

TEST_F(DevListTest, NoDeviceLeavesConfigureDisabled)
{
    // No emulator: nobody answers.
    ASSERT_TRUE(Navigate(Page()));
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 0);
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
    Page()->BtnCfgClick();
    ProcessEvents();
    EXPECT_EQ(Main()->CurrentPage, Page());
}

TEST_F(DevListTest, NoUsableAdapterShowsTheEngineMessageAndStaysIdle)
{
    qputenv("QRX_ADAPTERS", "qrx-no-such-adapter");
    ASSERT_TRUE(Navigate(Page()));
    qputenv("QRX_ADAPTERS", "lo");
    EXPECT_EQ(TakeShownTexts(), QStringList({ QStringLiteral("Unable to initialize adapter interface.") }));
    EXPECT_TRUE(Page()->BtnRefresh->isEnabled());
    EXPECT_FALSE(Page()->PlSearch->isVisible());
    EXPECT_FALSE(Page()->TimerSearch->Enabled());
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 0);
}

class DevListNonWorkingTest : public DevListTest
{
protected:
    DevListNonWorkingTest() { IniText = QStringLiteral("[Setting]\nNonWorking=1\n"); }
};

TEST_F(DevListNonWorkingTest, ConfigureIsEnabledWithoutADeviceAndMovesOnWithNoneCopied)
{
    ASSERT_TRUE(g_Var.NonWorking);
    ASSERT_TRUE(Navigate(Page()));
    EXPECT_FALSE(Page()->BtnCfg->isEnabled());
    ASSERT_TRUE(WaitSearchDone());
    EXPECT_EQ(Page()->LvDevList->RowCount(), 0);
    EXPECT_TRUE(Page()->BtnCfg->isEnabled());

    Page()->BtnCfg->click();
    ASSERT_TRUE(WaitForPage(Main()->FramePassword1));
    EXPECT_EQ(g_Var.SelectedDevice.DevName[0], '\0');
    EXPECT_EQ(g_Var.SelectedDevice.DevIP, 0u);
}

} // namespace
