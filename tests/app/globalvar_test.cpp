// g_Var: defaults and settings overrides, the configuration resets, the user guide, the store.
#include "app/globalvar.h"
#include "platform/core/shell.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

class GlobalVarTest : public ::testing::Test
{
protected:
    // A program "qrx-setup" in a temporary folder, with the given settings file (none when null).
    void Start(const char* ini)
    {
        program = dir.filePath(QStringLiteral("qrx-setup"));
        if (ini != nullptr) {
            QFile f(dir.filePath(QStringLiteral("qrx-setup.ini")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini);
        }
        ASSERT_TRUE(var.InitFrom(program));
    }
    QTemporaryDir dir;
    QString program;
    CGlobalVar var;
};

TEST_F(GlobalVarTest, ConstructionValues)
{
    const CGlobalVar fresh;
    EXPECT_TRUE(fresh.AppPath.isEmpty());
    EXPECT_EQ(fresh.Ini, nullptr);
    EXPECT_FALSE(fresh.NonWorking);
    EXPECT_EQ(fresh.DeviceMode, 0);
    EXPECT_EQ(fresh.SelectedDevice.DevIP, 0u);
    EXPECT_EQ(fresh.ApClientPIN[0], 0);
    EXPECT_EQ(fresh.NewWlConfig.WL_SSID[0], 0);
    EXPECT_EQ(fresh.WlModeText[9], QStringLiteral("2.4GHz 802.11 b/g/n mixed mode"));
}

TEST_F(GlobalVarTest, DefaultsWithoutSettingsFile)
{
    Start(nullptr);
    EXPECT_EQ(var.AppPath, dir.path() + u'/');
    EXPECT_EQ(var.Ini->FileName, dir.filePath(QStringLiteral("qrx-setup.ini")));
    EXPECT_FALSE(var.Ini->Named);
    EXPECT_EQ(var.ShortName, QStringLiteral("QRX-512"));
    EXPECT_EQ(var.MutexName, QStringLiteral("QRX-512_Mutex"));
    EXPECT_EQ(var.AppTitle, QStringLiteral("qrx-setup"));
    EXPECT_EQ(var.MsgTitle, QStringLiteral("qrx-setup"));
    EXPECT_TRUE(var.AcrobatReader.isEmpty());
    EXPECT_EQ(var.AcrobatReaderTitle, QStringLiteral("Adobe Reader 7.0.5 - Setup"));
    EXPECT_FALSE(var.NonWorking);
    EXPECT_FALSE(var.LicenseAccepted);
    EXPECT_TRUE(var.Password.isEmpty());

    const QStringList expected = {
        u"None"_s,
        u"WEP"_s,
        u"WPA-PSK"_s,
        u"WPA"_s,
        u"Open"_s,
        u"Shared"_s,
        u"Auto"_s,
        u"64 bit"_s,
        u"128 bit"_s,
        u"WPA Only"_s,
        u"WPA2 Only"_s,
        u"WPA or WPA2"_s,
        u"TKIP"_s,
        u"AES"_s,
        u"TKIP and AES"_s,
        u"2.4GHz 802.11 b/g mixed mode"_s,
        u"2.4GHz 802.11 b only"_s,
        u"2.4GHz 802.11 a only"_s,
        u"2.4GHz 802.11 a/b/g mixed mode"_s,
        u"2.4GHz 802.11 g only"_s,
        u"2.4GHz 802.11 a/b/g/n mixed mode"_s,
        u"2.4GHz 802.11 n only"_s,
        u"2.4GHz 802.11 g/n mixed mode"_s,
        u"2.4GHz 802.11 a/n mixed mode"_s,
        u"2.4GHz 802.11 b/g/n mixed mode"_s,
    };
    QStringList got;
    for (const auto& t : var.SecurityText)
        got << t;
    for (const auto& t : var.AuthText)
        got << t;
    for (const auto& t : var.WepLenText)
        got << t;
    for (const auto& t : var.WpaModeText)
        got << t;
    for (const auto& t : var.CipherText)
        got << t;
    for (const auto& t : var.WlModeText)
        got << t;
    EXPECT_EQ(got, expected);
}

TEST_F(GlobalVarTest, SettingsOverrideDefaults)
{
    Start("[Product]\n"
          "ShortName=AP-9\n"
          "AppTitle=Setup Title\n"
          "AcrobatReader=Reader/setup.exe\n"
          "AcrobatReaderTitle=Reader Setup\n"
          "[Setting]\n"
          "NonWorking=1\n"
          "[String]\n"
          "securitywep=Wired Equivalent\n"
          "WirlessMode_BGN=b+g+n\n"
          "CipherAuto=\n");
    EXPECT_EQ(var.ShortName, QStringLiteral("AP-9"));
    EXPECT_EQ(var.MutexName, QStringLiteral("AP-9_Mutex"));
    EXPECT_EQ(var.AppTitle, QStringLiteral("Setup Title"));
    EXPECT_EQ(var.MsgTitle, QStringLiteral("Setup Title")); // follows the AppTitle from the file
    EXPECT_EQ(var.AcrobatReader, dir.path() + u"/Reader/setup.exe");
    EXPECT_EQ(var.AcrobatReaderTitle, QStringLiteral("Reader Setup"));
    EXPECT_TRUE(var.NonWorking);
    EXPECT_EQ(var.SecurityText[1], QStringLiteral("Wired Equivalent"));
    EXPECT_EQ(var.WlModeText[9], QStringLiteral("b+g+n"));
    EXPECT_EQ(var.CipherText[2], QString()); // present but empty
    EXPECT_EQ(var.CipherText[1], QStringLiteral("AES"));
}

TEST_F(GlobalVarTest, EdgeValues)
{
    struct Case
    {
        const char* ini;
        bool nonWorking;
        const char* msgTitle;
        bool readerEmpty;
    };
    const Case cases[] = {
        { "[Setting]\nNonWorking=true\n", false, "qrx-setup", true }, // a word gives the default
        { "[Setting]\nNonWorking=0x10\n", true, "qrx-setup", true },
        { "[Setting]\nNonWorking=-1\n", true, "qrx-setup", true },
        { "[Product]\nAcrobatReader=\nMsgTitle=Box\n", false, "Box", true }, // no bare folder
    };
    for (const Case& c : cases) {
        QTemporaryDir d;
        QFile f(d.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.ini);
        f.close();
        CGlobalVar v;
        v.InitFrom(d.filePath(QStringLiteral("qrx-setup")));
        EXPECT_EQ(v.NonWorking, c.nonWorking) << c.ini;
        EXPECT_EQ(v.MsgTitle, QString::fromUtf8(c.msgTitle)) << c.ini;
        EXPECT_EQ(v.AcrobatReader.isEmpty(), c.readerEmpty) << c.ini;
    }
}

TEST_F(GlobalVarTest, ProgramWithExtensionUsesItsBaseName)
{
    CGlobalVar v;
    v.InitFrom(dir.filePath(QStringLiteral("Setup.v2.exe")));
    EXPECT_EQ(v.Ini->FileName, dir.filePath(QStringLiteral("Setup.v2.ini")));
    EXPECT_EQ(v.AppTitle, QStringLiteral("Setup.v2"));
}

TEST_F(GlobalVarTest, ResetIPConfig)
{
    Start(nullptr);
    tag_IP_CONFIG ip;
    ip.IP_MODE = 0;
    ip.LAN_IP = 1;
    ip.LAN_NETMASK = 2;
    ip.LAN_GATEWAY = 3;
    ip.DNS1 = 4;
    ip.DNS2 = 5;
    var.ResetIPConfig(ip);
    EXPECT_EQ(ip.IP_MODE, 1u);
    EXPECT_EQ(ip.LAN_IP + ip.LAN_NETMASK + ip.LAN_GATEWAY + ip.DNS1 + ip.DNS2, 0u);
}

TEST_F(GlobalVarTest, ResetWlConfigDefaultsAndKeepsMode)
{
    Start(nullptr);
    tag_WL_CONFIG wl;
    std::memset(static_cast<void*>(&wl), 0x5A, sizeof(wl));
    wl.WL_MODE = 7;
    var.ResetWlConfig(wl);
    EXPECT_STREQ(wl.WL_SSID, "wireless");
    EXPECT_EQ(wl.WL_STD_CH, 0);
    EXPECT_EQ(wl.WL_EXT_CH, 0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(wl.WL_CH_LIST[i], 0) << i;
    }
    EXPECT_EQ(wl.WL_SECURITY_MODE, 0);
    EXPECT_EQ(wl.WL_AUTH_MODE, 2);
    EXPECT_EQ(wl.WL_WEPKEY_LEN, 0);
    EXPECT_EQ(wl.WepKeyId, 1);
    EXPECT_EQ(wl.WL_WPA_MODE, 2);
    EXPECT_EQ(wl.WL_WPA_CIPHER, 2);
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(wl.WL_WEPKEY[i], 0);
        ASSERT_EQ(wl.WL_WPA_PSK[i], 0);
    }
    EXPECT_EQ(wl.WL_WPS_PIN, 0u);
    EXPECT_EQ(wl.WpsPinInput, 0);
    EXPECT_EQ(wl.WL_MODE, 7);
}

TEST_F(GlobalVarTest, ResetWlConfigCutsSsidTo32Characters)
{
    struct Case
    {
        QString ssid;
        QByteArray expected;
    };
    const QString e = QStringLiteral("\u00E9"); // two UTF-8 bytes
    const Case cases[] = {
        { QString(40, u'a'), QByteArray(32, 'a') },
        { QString(32, u'b'), QByteArray(32, 'b') },
        { QStringLiteral("home"), "home" },
        // 20 two-byte characters are 40 bytes: whole characters up to 32 bytes.
        { e.repeated(20), e.repeated(16).toUtf8() },
        // 31 ASCII characters then a two-byte one: it would not fit whole, so it is left out.
        { QString(31, u'c') + e, QByteArray(31, 'c') },
        // A character outside the basic plane counts as one character (4 bytes).
        { QString(30, u'd') + QStringLiteral("\U0001F600"), QByteArray(30, 'd') },
        { QString(28, u'd') + QStringLiteral("\U0001F600") + u"zz",
            QByteArray(28, 'd') + "\xF0\x9F\x98\x80" },
    };
    for (const Case& c : cases) {
        QTemporaryDir d;
        QFile f(d.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Setting]\nSSID=" + c.ssid.toUtf8() + "\n");
        f.close();
        CGlobalVar v;
        v.InitFrom(d.filePath(QStringLiteral("qrx-setup")));
        tag_WL_CONFIG wl;
        std::memset(wl.WL_SSID, 'x', sizeof(wl.WL_SSID));
        v.ResetWlConfig(wl);
        EXPECT_EQ(QByteArray(wl.WL_SSID), c.expected) << c.ssid.toStdString();
        EXPECT_EQ(wl.WL_SSID[32], 0);
    }
}

TEST_F(GlobalVarTest, OpenUserGuide)
{
    QFile doc(dir.filePath(QStringLiteral("guide.pdf")));
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.write("%PDF-1.4\n");
    doc.close();
    Start("[Product]\nUserGuide=guide.pdf\n");
    CScopedFakeShell shell;

    // No program registered for the type: 3, nothing opened.
    EXPECT_EQ(var.OpenUserGuide(), 3);
    ASSERT_EQ(shell.Fake.Calls.size(), 1);
    EXPECT_EQ(shell.Fake.Calls[0].what, QStringLiteral("FindExecutable"));
    EXPECT_EQ(shell.Fake.Calls[0].target, dir.filePath(QStringLiteral("guide.pdf")));

    shell.Fake.FindExecutableResult = SHELL_OK;
    EXPECT_EQ(var.OpenUserGuide(), 0);
    EXPECT_EQ(shell.Fake.Calls.last().what, QStringLiteral("OpenDocument"));

    shell.Fake.OpenResult = SHELL_FILE_NOT_FOUND;
    EXPECT_EQ(var.OpenUserGuide(), 2);

    // The key is read at each call: a missing file or an empty key gives 2 without asking the shell.
    QFile ini(dir.filePath(QStringLiteral("qrx-setup.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Product]\nUserGuide=missing.pdf\n");
    ini.close();
    const auto calls = shell.Fake.Calls.size();
    EXPECT_EQ(var.OpenUserGuide(), 2);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Product]\nUserGuide=\n");
    ini.close();
    EXPECT_EQ(var.OpenUserGuide(), 2);
    EXPECT_EQ(shell.Fake.Calls.size(), calls);
}

TEST_F(GlobalVarTest, StoreLockGivesTheReaderAndNests)
{
    Start("[Message]\nA=text\n");
    CIniReader* reader = var.Ini->Lock();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->ReadString(QStringLiteral("message"), QStringLiteral("a"), QString()),
        QStringLiteral("text"));
    // The holder may read through the store too without blocking.
    EXPECT_EQ(
        var.Ini->ReadString(QStringLiteral("Message"), QStringLiteral("B"), "def"), QStringLiteral("def"));
    var.Ini->Unlock();
    CThreadIni named(QStringLiteral("/nonexistent.ini"), QStringLiteral("Store_Mutex"));
    EXPECT_TRUE(named.Named);
    EXPECT_EQ(named.MutexName, QStringLiteral("Store_Mutex"));
    EXPECT_TRUE(named.ReadBool(QStringLiteral("S"), QStringLiteral("K"), true));
}

} // namespace
