#pragma once
// The wizard window with its real pages for the wireless page tests that need no device: the
// image form, FormMain as the application's main window (so the pages' UM_WIZARD posts arrive),
// the dialog seam, and g_Var's wizard state and texts restored after each test. The tests that
// talk to the emulator use the shared page fixture instead.

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "pages/framesetwlmethod.h"
#include "pages/framesuccess.h"
#include "pages/framewlprofband.h"
#include "pages/framewlprofconfirm.h"
#include "pages/framewlprofile.h"
#include "pages/framewlprofpsk.h"
#include "pages/framewlprofsecurity.h"
#include "pages/framewlprofssid.h"
#include "pages/framewlprofwep.h"
#include "pages/framewlprofwlmode.h"
#include "platform/core/messages.h"
#include "platform/ui/dialogs.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/wizardmessages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// Keeps the parts of g_Var the wireless pages read and write.
class CWlStateGuard
{
public:
    CWlStateGuard()
    {
        m_deviceMode = g_Var.DeviceMode;
        m_wlMethod = g_Var.WlMethod;
        m_setupMethod = g_Var.SetupMethod;
        m_nonWorking = g_Var.NonWorking;
        m_newWl = g_Var.NewWlConfig;
        m_newIp = g_Var.NewIPConfig;
        m_ap = g_Var.SelectedAP;
        m_msgTitle = g_Var.MsgTitle;
        for (int i = 0; i < 4; ++i)
            m_security[i] = g_Var.SecurityText[i];
        for (int i = 0; i < 3; ++i)
            m_auth[i] = g_Var.AuthText[i];
        for (int i = 0; i < 2; ++i)
            m_wepLen[i] = g_Var.WepLenText[i];
        for (int i = 0; i < 3; ++i)
            m_wpaMode[i] = g_Var.WpaModeText[i];
        for (int i = 0; i < 3; ++i)
            m_cipher[i] = g_Var.CipherText[i];
        for (int i = 0; i < 10; ++i)
            m_wlMode[i] = g_Var.WlModeText[i];
        m_ini = std::move(g_Var.Ini);
    }
    ~CWlStateGuard()
    {
        g_Var.DeviceMode = m_deviceMode;
        g_Var.WlMethod = m_wlMethod;
        g_Var.SetupMethod = m_setupMethod;
        g_Var.NonWorking = m_nonWorking;
        g_Var.NewWlConfig = m_newWl;
        g_Var.NewIPConfig = m_newIp;
        g_Var.SelectedAP = m_ap;
        g_Var.MsgTitle = m_msgTitle;
        for (int i = 0; i < 4; ++i)
            g_Var.SecurityText[i] = m_security[i];
        for (int i = 0; i < 3; ++i)
            g_Var.AuthText[i] = m_auth[i];
        for (int i = 0; i < 2; ++i)
            g_Var.WepLenText[i] = m_wepLen[i];
        for (int i = 0; i < 3; ++i)
            g_Var.WpaModeText[i] = m_wpaMode[i];
        for (int i = 0; i < 3; ++i)
            g_Var.CipherText[i] = m_cipher[i];
        for (int i = 0; i < 10; ++i)
            g_Var.WlModeText[i] = m_wlMode[i];
        g_Var.Ini = std::move(m_ini);
    }

private:
    int m_deviceMode, m_wlMethod, m_setupMethod;
    bool m_nonWorking;
    tag_WL_CONFIG m_newWl;
    tag_IP_CONFIG m_newIp;
    tag_AP_ROFIILE m_ap;
    QString m_msgTitle;
    QString m_security[4], m_auth[3], m_wepLen[2], m_wpaMode[3], m_cipher[3], m_wlMode[10];
    std::unique_ptr<CThreadIni> m_ini;
};

// Base of the wireless page tests: the wizard window on a page of the test's choosing.
class WlWizardTest : public ::testing::Test
{
protected:
    // Settings file text ([Section] lines) to load before the wizard window is built; empty: none.
    virtual QByteArray IniText() const { return {}; }

    void SetUp() override
    {
        const QByteArray ini = IniText();
        if (!ini.isEmpty()) {
            ASSERT_TRUE(m_dir.isValid());
            QFile f(m_dir.filePath(QStringLiteral("qrx-setup.ini")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini);
            f.close();
            g_Var.InitFrom(m_dir.filePath(QStringLiteral("qrx-setup")));
        }
        if (!FormRes) {
            m_res = std::make_unique<TFormRes>();
            FormRes = m_res.get();
        }
        m_previousMain = ApplicationMainWindow();
        form = std::make_unique<TFormMain>();
        SetApplicationMainWindow(form.get());
        form->setAttribute(Qt::WA_DontShowOnScreen, true);
        form->show();
        Pump(); // the window's first WZ_NEXT
        host = form->FrameWlProfile1;
        g_Var.DeviceMode = DEVICE_AP;
        g_Var.WlMethod = 1;
        g_Var.NonWorking = false;
        g_Var.SelectedAP = tag_AP_ROFIILE {};
        std::strcpy(g_Var.SelectedAP.SSID, "surveyed"); // bridge mode proposes it
        g_Var.ResetWlConfig(g_Var.NewWlConfig);
    }

    void TearDown() override
    {
        form->hide();
        form.reset();
        SetApplicationMainWindow(m_previousMain);
        if (m_res) {
            FormRes = nullptr;
            m_res.reset();
        }
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    // A real mouse click in the middle of the button, then the posted navigation.
    static void Click(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        Pump();
    }

    // Chooses the item of that code with the keyboard, as a user does (raises the selection event).
    static void Choose(QComboBox* combo, int code)
    {
        const int target = combo->findData(code);
        ASSERT_GE(target, 0) << "no item of code " << code;
        if (combo->currentIndex() < 0) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
        while (combo->currentIndex() < target) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
        while (combo->currentIndex() > target) {
            QTest::keyClick(combo, Qt::Key_Up);
        }
        Pump();
    }

    // Replaces the edit's text by typing (the character limit applies).
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Enters the profile host forward, as from the wireless method page.
    void EnterHost()
    {
        ASSERT_TRUE(form->SwitchTo(form->FrameSetWlMethod1, WZ_DIR_FORWARD, 0));
        ASSERT_TRUE(form->SwitchTo(host, WZ_DIR_FORWARD, 0));
        ASSERT_EQ(host->SubPage(), host->FrameWlProfSSID1);
    }

    // The sub-page on show, by instance name.
    std::string SubPageName() const
    {
        return host->SubPage() ? host->SubPage()->objectName().toStdString() : std::string("none");
    }
    std::string CurrentName() const
    {
        return form->CurrentPage ? form->CurrentPage->objectName().toStdString() : std::string("none");
    }

    CWlStateGuard guard;
    ScopedDialogSeam seam;
    QTemporaryDir m_dir;
    std::unique_ptr<TFormRes> m_res;
    std::unique_ptr<TFormMain> form;
    TFrameWlProfile* host = nullptr;
    QObject* m_previousMain = nullptr;
};
