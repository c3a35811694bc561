// The screenshot tour of the wireless pages: with QRX_SCREENSHOT_DIR set, the wireless method
// page, every profile sub-page and the success page in both device modes, and the confirmation
// page in each security variant and layout, rendered with the shipped settings file:
// FormMain_<page>[_<variant>].png and FormMain_FrameWlProfile1_<sub-page>[_<variant>].png.
#include "wlprofile_fixture.h"

#include "app/ui/startup.h"

#include <QApplication>

#include <QDir>
#include <QImage>

class WlTourTest : public WlWizardTest
{
protected:
    QByteArray IniText() const override
    {
        QFile f(QStringLiteral(QRX_SOURCE_DIR "/dist/qrx-setup.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("[Product]\r\n");
    }

    // The program's own font (Tahoma when the Wine fonts are there), for this test only.
    void SetUp() override
    {
        m_appFont = QApplication::font();
        InstallApplicationFont();
        WlWizardTest::SetUp();
    }
    void TearDown() override
    {
        WlWizardTest::TearDown();
        QApplication::setFont(m_appFont);
    }

    void Save(const QString& name)
    {
        Pump();
        const QImage img = form->grab().toImage();
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        EXPECT_TRUE(!img.isNull() && img.save(path)) << path.toStdString();
        m_written << path;
    }

    void Profile(int deviceMode, int wlMethod, const QString& suffix)
    {
        g_Var.DeviceMode = deviceMode;
        g_Var.WlMethod = wlMethod;
        g_Var.SelectedAP = tag_AP_ROFIILE {};
        std::strcpy(g_Var.SelectedAP.SSID, "HomeNet");
        g_Var.SelectedAP.Encryption = 3;
        g_Var.SelectedAP.Authentication = 3;
        g_Var.ResetWlConfig(g_Var.NewWlConfig);
        ASSERT_TRUE(form->SwitchTo(form->FrameSetWlMethod1, WZ_DIR_FORWARD, 0));
        Save(QStringLiteral("FormMain_FrameSetWlMethod1") + suffix);
        ASSERT_TRUE(form->SwitchTo(host, WZ_DIR_FORWARD, 0));
        const QString sub = QStringLiteral("FormMain_FrameWlProfile1_");
        Save(sub + QStringLiteral("FrameWlProfSSID1") + suffix);
        Click(host->FrameWlProfSSID1->BtnNext);
        Save(sub + QStringLiteral("FrameWlProfWlMode1") + suffix);
        Click(host->FrameWlProfWlMode1->BtnNext);
        Save(sub + QStringLiteral("FrameWlProfSecurity1") + suffix);
        Choose(host->FrameWlProfSecurity1->CmbSecurity, 1);
        Click(host->FrameWlProfSecurity1->BtnNext);
        Type(host->FrameWlProfWEP1->EdtKey1, QStringLiteral("0123456789"));
        Save(sub + QStringLiteral("FrameWlProfWEP1") + suffix);
        Click(host->FrameWlProfWEP1->BtnNext);
        Save(sub + QStringLiteral("FrameWlProfConfirm1") + suffix + QStringLiteral("_WEP"));
        Click(host->FrameWlProfConfirm1->BtnBack);
        Click(host->FrameWlProfWEP1->BtnBack);
        Choose(host->FrameWlProfSecurity1->CmbSecurity, 2);
        Click(host->FrameWlProfSecurity1->BtnNext);
        Type(host->FrameWlProfPSK1->EdtPassphrase,
            QString(32, QLatin1Char('a')) + QString(32, QLatin1Char('F')));
        Save(sub + QStringLiteral("FrameWlProfPSK1") + suffix);
        Click(host->FrameWlProfPSK1->BtnNext);
        Save(sub + QStringLiteral("FrameWlProfConfirm1") + suffix + QStringLiteral("_WPAPSK"));
        Click(host->FrameWlProfConfirm1->BtnBack);
        Click(host->FrameWlProfPSK1->BtnBack);
        Choose(host->FrameWlProfSecurity1->CmbSecurity, 0);
        Click(host->FrameWlProfSecurity1->BtnNext);
        Save(sub + QStringLiteral("FrameWlProfConfirm1") + suffix + QStringLiteral("_None"));
        ASSERT_TRUE(form->SwitchTo(form->FrameSuccess1, WZ_DIR_FORWARD, 0));
        Save(QStringLiteral("FormMain_FrameSuccess1") + suffix);
    }

    QString m_folder;
    QStringList m_written;
    QFont m_appFont;
};

TEST_F(WlTourTest, RendersWirelessPagesInBothModes)
{
    m_folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (m_folder.isEmpty()) {
        GTEST_SKIP() << "QRX_SCREENSHOT_DIR not set";
    }
    ASSERT_TRUE(QDir().mkpath(m_folder));
    g_Var.NewIPConfig.LAN_IP = 0xC0A80114; // 192.168.1.20
    g_Var.NewIPConfig.LAN_NETMASK = 0xFFFFFF00;
    g_Var.NewIPConfig.LAN_GATEWAY = 0xC0A80101;
    Profile(DEVICE_AP, 1, QString());
    Profile(DEVICE_WBRIDGE, 1, QStringLiteral("_Bridge"));
    Profile(DEVICE_WBRIDGE, 2, QStringLiteral("_BridgeManual"));
    // The band sub-page, which the sequence never shows.
    for (TFrameBase* p : host->SubPages()) {
        p->setVisible(p == host->FrameWlProfBand1);
    }
    form->FrameSuccess1->hide();
    host->show();
    Save(QStringLiteral("FormMain_FrameWlProfile1_FrameWlProfBand1"));
    EXPECT_GE(m_written.size(), 30);
}
