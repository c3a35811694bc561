// The device access pages' part of the screenshot tour: with QRX_SCREENSHOT_DIR set, the wizard
// walks the real road against two emulated devices and writes FormMain_<page instance>.png of the
// device list, login, operating mode, setup method and IP settings pages, each filled with what the
// device reported, and of the two mode pages that are never shown.
#include "page_fixture.h"

#include "controls/sortlistview.h"
#include "pages/frameadhocmode.h"
#include "pages/framedevipcfg.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framesetupmethod.h"
#include "pages/framewlconfig.h"
#include "pages/framewlmodesel.h"
#include "shell/formmain.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

class AccessTourTest : public CPageFixture
{
protected:
    // The wizard window with its current page, saved as FormMain_<instance>.png.
    void Shot(const QString& folder)
    {
        ProcessEvents();
        const QImage img = Main()->grab().toImage();
        const QString path = QDir(folder).filePath(
            QStringLiteral("FormMain_") + Main()->CurrentPage->objectName() + u".png");
        EXPECT_TRUE(img.save(path)) << path.toStdString();
        written << path;
    }
    QStringList written;
};

TEST_F(AccessTourTest, ShowsEachPageWithADevicesData)
{
    const QString folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QRX_SCREENSHOT_DIR not set";
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(StartDevice(2,
        QStringLiteral(
            R"({"devices":[)"
            R"({"name":"QRX-640 Lobby","password":"admin","ip":{"dhcp":false,"address":"192.168.1.20",)"
            R"("netmask":"255.255.255.0","gateway":"192.168.1.1"},"wireless":{"ssid":"lobby"}},)"
            R"({"name":"QRX-640 Warehouse","mode":"bridge"}]})")));

    TFrameDevList* list = Main()->FrameDevList1;
    ASSERT_TRUE(Navigate(list));
    ASSERT_TRUE(WaitSearchDone());
    ASSERT_EQ(list->LvDevList->RowCount(), 2);
    list->LvDevList->setCurrentItem(list->LvDevList->Row(0));
    list->LvDevList->Row(0)->setSelected(true);
    Shot(folder);

    list->BtnCfgClick();
    ASSERT_TRUE(WaitForPage(Main()->FramePassword1));
    Main()->FramePassword1->EdtPassword->setText(QStringLiteral("admin"));
    Shot(folder);

    Main()->FramePassword1->BtnLoginClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameWlModeSel1));
    ASSERT_TRUE(WaitEngineIdle());
    Shot(folder);

    Main()->FrameWlModeSel1->BtnNextClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameSetupMethod1));
    Shot(folder);

    Main()->FrameSetupMethod1->RBtnSetIP->click();
    Main()->FrameSetupMethod1->BtnNextClick();
    ASSERT_TRUE(WaitForPage(Main()->FrameDevIPCfg1));
    Shot(folder);

    // The two pages the navigation never reaches, as they are.
    ASSERT_TRUE(Navigate(Main()->FrameWlConfig1));
    Shot(folder);
    ASSERT_TRUE(Navigate(Main()->FrameAdhocMode1));
    Shot(folder);

    EXPECT_EQ(written.size(), 7);
}

} // namespace
