// The shared value rules: address checks in their order, octet arithmetic, mask proposal, the
// .255 correction, WEP and pre-shared keys, SSID, WPS PIN, and the settings-file message lookup.
#include "app/globalvar.h"
#include "app/validation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

CIpBoxes B(const char* text)
{
    return CIpBoxes::FromText(QString::fromUtf8(text));
}

// Runs the tests without a settings store, so that every message is its compiled default, and
// puts the program's store back afterwards.
class ValidationTest : public ::testing::Test
{
protected:
    void SetUp() override { saved = std::move(g_Var.Ini); }
    void TearDown() override { g_Var.Ini = std::move(saved); }

    // A settings file beside a fake program path, with the given [Message] lines.
    void UseMessages(const QByteArray& lines)
    {
        ASSERT_TRUE(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("qrx-setup"));
        QFile ini(program + QStringLiteral(".ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Message]\r\n" + lines);
        ini.close();
        g_Var.Ini = std::make_unique<CThreadIni>(ini.fileName());
    }

    std::unique_ptr<CThreadIni> saved;
    QTemporaryDir dir;
};

struct IpCase
{
    const char* ip;
    const char* mask;
    const char* gateway;
    const char* local;
    int check; // 0: accepted
    const char* key;
};

TEST_F(ValidationTest, ValidateIpRunsTheTenChecksInOrder)
{
    const IpCase cases[] = {
        // accepted
        { "192.168.1.10", "255.255.255.0", "", "", 0, nullptr },
        { "192.168.1.10", "255.255.255.0", "192.168.1.1", "192.168.1.5", 0, nullptr },
        { "10.1.2.3", "128.0.0.0", "", "", 0, nullptr },
        { "223.255.1.1", "255.255.0.0", "", "", 0, nullptr },
        // 1: an empty IP box
        { "192.168..10", "255.255.255.0", "", "", 1, "ErIPAddr" },
        { "", "", "", "", 1, "ErIPAddr" },
        // 2: not a usable host
        { "127.0.0.5", "255.0.0.0", "", "", 2, "ErIPAddr" },
        { "0.0.0.0", "255.0.0.0", "", "", 2, "ErIPAddr" },
        { "224.0.0.1", "255.255.255.0", "", "", 2, "ErIPAddr" },
        { "255.1.2.3", "255.255.255.0", "", "", 2, "ErIPAddr" },
        // 2 comes before the mask: a bad address with an empty mask names the address
        { "127.0.0.5", "", "", "", 2, "ErIPAddr" },
        // 3: an empty mask box
        { "192.168.1.10", "255.255..0", "", "", 3, "ErSubnetMask" },
        // 4: not a contiguous mask
        { "192.168.1.10", "255.255.255.255", "", "", 4, "ErSubnetMask" },
        { "192.168.1.10", "0.0.0.0", "", "", 4, "ErSubnetMask" },
        { "192.168.1.10", "255.0.255.0", "", "", 4, "ErSubnetMask" },
        // 5: host part all zeros or all ones; a 255.255.255.254 mask passes check 4 but leaves
        // no host part that is neither
        { "192.168.1.10", "255.255.255.254", "", "", 5, "ErIPAddr" },
        { "192.168.1.11", "255.255.255.254", "", "", 5, "ErIPAddr" },
        { "192.168.1.0", "255.255.255.0", "", "", 5, "ErIPAddr" },
        { "192.168.1.255", "255.255.255.0", "", "", 5, "ErIPAddr" },
        { "10.255.255.255", "255.0.0.0", "", "", 5, "ErIPAddr" },
        // 6: the computer's own address (as dotted text)
        { "192.168.1.10", "255.255.255.0", "", "192.168.1.10", 6, "ErIPSameAsLocahost" },
        { "192.168.1.010", "255.255.255.0", "", "192.168.1.10", 6, "ErIPSameAsLocahost" },
        // 6 comes before the gateway
        { "192.168.1.10", "255.255.255.0", "1.2.3.4", "192.168.1.10", 6, "ErIPSameAsLocahost" },
        // 8: a partly filled gateway
        { "192.168.1.10", "255.255.255.0", "192.168..1", "", 8, "ErDefaultGateway" },
        // 9: gateway in another subnet
        { "192.168.1.10", "255.255.255.0", "192.168.2.1", "", 9, "ErDefaultGateway" },
        // 10: gateway host part all zeros or all ones
        { "192.168.1.10", "255.255.255.0", "192.168.1.0", "", 10, "ErDefaultGateway" },
        { "192.168.1.10", "255.255.255.0", "192.168.1.255", "", 10, "ErDefaultGateway" },
    };
    for (const IpCase& c : cases) {
        const CCheckResult r = ValidateIP(B(c.ip), B(c.mask), B(c.gateway), QString::fromUtf8(c.local));
        SCOPED_TRACE(std::string(c.ip) + " / " + c.mask + " / " + c.gateway + " / " + c.local);
        EXPECT_EQ(r.Check, c.check);
        EXPECT_EQ(r.Ok(), c.check == 0);
        if (c.key) {
            ASSERT_NE(r.Key, nullptr);
            EXPECT_STREQ(r.Key, c.key);
        }
    }
}

TEST_F(ValidationTest, AddressMessagesHaveTheirCompiledTexts)
{
    EXPECT_EQ(ValidateIP(B("127.0.0.5"), B("255.0.0.0"), {}, {}).Text(),
        QStringLiteral("The IP Address entered is invalid."));
    EXPECT_EQ(ValidateIP(B("10.0.0.5"), B("255.0.255.0"), {}, {}).Text(),
        QStringLiteral("The Subnet Mask entered is invalid."));
    EXPECT_EQ(ValidateIP(B("10.0.0.5"), B("255.0.0.0"), {}, QStringLiteral("10.0.0.5")).Text(),
        QStringLiteral("The IP Address is the same as local host IP."));
    EXPECT_EQ(ValidateIP(B("10.0.0.5"), B("255.0.0.0"), B("11.0.0.1"), {}).Text(),
        QStringLiteral("The Default Gateway entered is invalid."));
}

TEST_F(ValidationTest, OctetArithmeticFollowsTheEditor)
{
    EXPECT_EQ(OctetValue(QStringLiteral("")), 0);
    EXPECT_EQ(OctetValue(QStringLiteral("300")), 255);
    EXPECT_EQ(OctetValue(QStringLiteral("12a4")), 12);
    EXPECT_EQ(OctetValue(QStringLiteral("007")), 7);
    EXPECT_EQ(OctetValue(QStringLiteral("99999999999")), 255);
    EXPECT_EQ(CleanOctetText(QStringLiteral("300")), QStringLiteral("255"));
    EXPECT_EQ(CleanOctetText(QStringLiteral("12a4")), QStringLiteral("12"));
    EXPECT_EQ(CleanOctetText(QStringLiteral("x1")), QString());

    EXPECT_EQ(B("192.168.1.20").Value(), 0xC0A80114u);
    EXPECT_EQ(B("192.168.1.20").Text(), QStringLiteral("192.168.1.20"));
    // Empty boxes count as 0 in the text, all empty gives the empty text.
    CIpBoxes partial;
    partial.Box = { QStringLiteral("10"), QString(), QStringLiteral("0"), QStringLiteral("1") };
    EXPECT_EQ(partial.Text(), QStringLiteral("10.0.0.1"));
    EXPECT_TRUE(partial.AnyEmpty());
    EXPECT_FALSE(partial.AllEmpty());
    EXPECT_EQ(CIpBoxes {}.Text(), QString());
    // SetText: fewer parts leave boxes empty, parts after the fourth are dropped.
    const CIpBoxes two = B("10.1");
    EXPECT_EQ(two.Box[1], QStringLiteral("1"));
    EXPECT_TRUE(two.Box[2].isEmpty());
    EXPECT_EQ(B("1.2.3.4.5").Text(), QStringLiteral("1.2.3.4"));
    EXPECT_EQ(CIpBoxes::FromValue(0x0A000001u).Text(), QStringLiteral("10.0.0.1"));
    // Boxes are trimmed before the arithmetic.
    EXPECT_EQ(B(" 10. 0.0 .1").Value(), 0x0A000001u);
}

TEST_F(ValidationTest, StrictParsingOfTypedAddresses)
{
    CIpBoxes b;
    EXPECT_TRUE(ParseDottedBoxes(QStringLiteral("192.168.1.20"), b));
    EXPECT_EQ(b.Value(), 0xC0A80114u);
    EXPECT_TRUE(ParseDottedBoxes(QString(), b));
    EXPECT_TRUE(b.AllEmpty());
    for (const char* bad : { "192.168.1", "192.168.1.300", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1.2.3.0004",
             "1.2.3.-4", "1.2.3.4 x" }) {
        EXPECT_FALSE(ParseDottedBoxes(QString::fromUtf8(bad), b)) << bad;
    }
}

TEST_F(ValidationTest, MaskProposalFromTheFirstBox)
{
    EXPECT_EQ(ProposedMask(B("10.1.2.3")), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(ProposedMask(B("127.1.2.3")), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(ProposedMask(B("128.1.2.3")), QStringLiteral("255.255.0.0"));
    EXPECT_EQ(ProposedMask(B("172.16.2.3")), QStringLiteral("255.255.0.0"));
    EXPECT_EQ(ProposedMask(B("191.16.2.3")), QStringLiteral("255.255.0.0"));
    EXPECT_EQ(ProposedMask(B("192.168.2.3")), QStringLiteral("255.255.255.0"));
    // An empty first box counts as 0; an empty editor proposes nothing.
    EXPECT_EQ(ProposedMask(B(".168.2.3")), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(ProposedMask(CIpBoxes {}), QString());
}

TEST_F(ValidationTest, BroadcastHostBecomesDot254)
{
    QString t = QStringLiteral("192.168.0.255");
    EXPECT_TRUE(CorrectBroadcastHost(t));
    EXPECT_EQ(t, QStringLiteral("192.168.0.254"));
    EXPECT_TRUE(ValidateIP(CIpBoxes::FromText(t), B("255.255.255.0"), {}, {}).Ok());
    for (const char* same : { "192.168.0.25", "192.168.0.254", "255.255.255.0", "" }) {
        QString s = QString::fromUtf8(same);
        EXPECT_FALSE(CorrectBroadcastHost(s)) << same;
        EXPECT_EQ(s, QString::fromUtf8(same));
    }
}

struct WepCase
{
    int length;
    const char* key;
    int form;
    const char* normalized;
    const char* errorKey;
};

TEST_F(ValidationTest, WepKeyForms)
{
    const WepCase cases[] = {
        { 0, "ab!de", 0, "ab!de", nullptr }, // five characters of any kind, as typed
        { 0, "abcde", 0, "abcde", nullptr }, // five hex digits count as ASCII
        { 0, "0123456789", 1, "0123456789", nullptr },
        { 0, "abcdef0123", 1, "ABCDEF0123", nullptr },
        { 0, "012345678g", -1, "", "ER_WEP64Hex" },
        { 0, "1234567", -1, "", "ER_WEP64" },
        { 0, "", -1, "", "ER_WEP64" },
        { 0, "0123456789A", -1, "", "ER_WEP64" }, // longer than the edit takes
        { 1, "thirteen-char", 0, "thirteen-char", nullptr },
        { 1, "0123456789abcdef0123456789", 1, "0123456789ABCDEF0123456789", nullptr },
        { 1, "0123456789abcdef012345678z", -1, "", "ER_WEP128Hex" },
        { 1, "12345", -1, "", "ER_WEP128" },
    };
    for (const WepCase& c : cases) {
        SCOPED_TRACE(c.key);
        const QString key = QString::fromUtf8(c.key);
        const int limit = WepKeyLimit(c.length);
        CCheckResult error;
        const int form = CheckKey(c.length, key, limit, &error);
        EXPECT_EQ(form, c.form);
        if (form >= 0) {
            EXPECT_TRUE(error.Ok());
            EXPECT_EQ(NormalizedKey(key, limit, form), QString::fromUtf8(c.normalized));
        } else {
            ASSERT_FALSE(error.Ok());
            EXPECT_STREQ(error.Key, c.errorKey);
            EXPECT_EQ(
                error.Text(), QStringLiteral("You have entered an incorrect WEP key. Please try again."));
        }
    }
    EXPECT_EQ(WepKeyLimit(0), 10);
    EXPECT_EQ(WepKeyLimit(1), 26);
    EXPECT_EQ(NormalizedKey(QStringLiteral("abcde"), 10, 7), QString());
    EXPECT_EQ(NormalizedKey(QStringLiteral("abcdefghij"), 10, 1), QString());
}

TEST_F(ValidationTest, WepMessagesFallBackToTheGeneralText)
{
    // Without a settings file all four read the general text.
    for (int l : { 0, 1 }) {
        for (bool hex : { false, true }) {
            EXPECT_EQ(KeyErrorText(l, hex),
                QStringLiteral("You have entered an incorrect WEP key. Please try again."));
        }
    }
    // A file that sets only ER_WEPKey changes all four; a specific key wins for its case.
    UseMessages("ER_WEPKey=General\r\nER_WEP128Hex=Only hex digits for 128 bit\r\n");
    EXPECT_EQ(KeyErrorText(0, false), QStringLiteral("General"));
    EXPECT_EQ(KeyErrorText(0, true), QStringLiteral("General"));
    EXPECT_EQ(KeyErrorText(1, false), QStringLiteral("General"));
    EXPECT_EQ(KeyErrorText(1, true), QStringLiteral("Only hex digits for 128 bit"));
    EXPECT_EQ(KeyErrorText(5, true), QStringLiteral("General"));
    // CheckKey's refusal shows the same texts.
    CCheckResult error;
    EXPECT_EQ(CheckKey(0, QStringLiteral("1234567"), 10, &error), -1);
    EXPECT_EQ(error.Text(), QStringLiteral("General"));
    EXPECT_EQ(CheckKey(1, QStringLiteral("0123456789abcdef012345678z"), 26, &error), -1);
    EXPECT_EQ(error.Text(), QStringLiteral("Only hex digits for 128 bit"));
}

TEST_F(ValidationTest, MessagesComeFromTheSettingsFile)
{
    UseMessages("ErIPAddr=Bad address\r\n");
    EXPECT_EQ(ValidateIP(B("0.0.0.0"), {}, {}, {}).Text(), QStringLiteral("Bad address"));
    EXPECT_EQ(ValidateIP(B("10.0.0.5"), B("1.0.0.0"), {}, {}).Text(),
        QStringLiteral("The Subnet Mask entered is invalid."));
}

TEST_F(ValidationTest, Passphrase)
{
    const QString hex64 = QString(64, QLatin1Char('a'));
    struct Case
    {
        QString text;
        const char* key;
    } cases[] = {
        { QString(7, QLatin1Char('x')), "ER_PSKKey" },
        { QString(), "ER_PSKKey" },
        { QString(8, QLatin1Char(' ')), nullptr },
        { QString(63, QLatin1Char('#')), nullptr },
        { hex64, nullptr },
        { QString(63, QLatin1Char('a')) + QLatin1Char('g'), "ER_PSKKeyHex" },
        { QString(65, QLatin1Char('a')), "ER_PSKKey" },
        // 63 characters that need four bytes each would not fit the 128-byte field
        { QString(63, QChar(0x20AC)), "ER_PSKKey" },
        { QString(40, QChar(0x00E9)), nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const CCheckResult r = CheckPassphrase(c.text);
        if (c.key) {
            ASSERT_FALSE(r.Ok());
            EXPECT_STREQ(r.Key, c.key);
        } else {
            EXPECT_TRUE(r.Ok());
        }
    }
    EXPECT_EQ(CheckPassphrase(QStringLiteral("short")).Text(),
        QStringLiteral("Passphrase should be between 8 to 63 charachers in ASCII format."));
    EXPECT_EQ(CheckPassphrase(QString(64, QLatin1Char('z'))).Text(),
        QStringLiteral("Passphrase should be 64 hex digits."));
    EXPECT_EQ(CipherForWpaMode(0), 0);
    EXPECT_EQ(CipherForWpaMode(1), 1);
    EXPECT_EQ(CipherForWpaMode(2), 2);
    EXPECT_EQ(CipherForWpaMode(9), 2);
}

TEST_F(ValidationTest, Ssid)
{
    EXPECT_EQ(CheckSsid(QString()).Text(), QStringLiteral("No SSID"));
    EXPECT_TRUE(CheckSsid(QStringLiteral("   ")).Ok());
    EXPECT_TRUE(CheckSsid(QString(32, QLatin1Char('s'))).Ok());
    EXPECT_FALSE(CheckSsid(QString(33, QLatin1Char('s'))).Ok());
    // 16 two-byte characters fill the 32 bytes exactly; 17 do not fit.
    EXPECT_TRUE(CheckSsid(QString(16, QChar(0x00E9))).Ok());
    EXPECT_STREQ(CheckSsid(QString(17, QChar(0x00E9))).Key, "ER_SSID_Length");
}

TEST_F(ValidationTest, WpsPin)
{
    EXPECT_TRUE(CheckWpsPin(QStringLiteral("12345670")).Ok());
    EXPECT_TRUE(CheckWpsPin(QStringLiteral("00000000")).Ok());
    for (const char* bad : { "", "1234567", "123456789", "1234567a", " 1234567" }) {
        EXPECT_EQ(CheckWpsPin(QString::fromUtf8(bad)).Text(), QStringLiteral("Invaild PIN Code")) << bad;
    }
    EXPECT_EQ(WpsPinChecksum(1234567), 0);
    EXPECT_TRUE(WpsPinChecksumValid(12345670));
    EXPECT_FALSE(WpsPinChecksumValid(12345671));
    EXPECT_EQ(WpsPinChecksum(0), 0);
    EXPECT_TRUE(WpsPinChecksumValid(0));
    // A PIN with leading zeros: 0123456 gives 3*0+1+3*2+3+3*4+5+3*6 = 45 -> 5.
    EXPECT_EQ(WpsPinChecksum(123456), 5);
    EXPECT_TRUE(WpsPinChecksumValid(1234565));
    EXPECT_FALSE(WpsPinChecksumValid(100000000));
    // Every first seven digits have exactly one valid eighth digit.
    for (std::uint32_t first : { 0u, 1u, 9999999u, 5550123u, 3141592u }) {
        int valid = 0;
        for (std::uint32_t d = 0; d < 10; ++d) {
            valid += WpsPinChecksumValid(first * 10 + d) ? 1 : 0;
        }
        EXPECT_EQ(valid, 1) << first;
    }
}

TEST_F(ValidationTest, StatusAndSurveyTexts)
{
    EXPECT_EQ(WpsStatusText(1), QStringLiteral("Idle"));
    EXPECT_EQ(WpsStatusText(2), QStringLiteral("WSC Fail(Ignore this if Intel/Marvell registrar used)"));
    EXPECT_EQ(WpsStatusText(34), QStringLiteral("Configured"));
    EXPECT_EQ(WpsStatusText(38), QStringLiteral("WAIT PINCODE"));
    EXPECT_EQ(WpsStatusText(39), QStringLiteral("Unknown"));
    EXPECT_EQ(WpsStatusText(256), QStringLiteral("Unknown"));
    EXPECT_EQ(WpsStatusText(257), QStringLiteral("PBC:TOO MANY AP"));
    EXPECT_EQ(WpsStatusText(262), QStringLiteral("PASSWORD_MISMATCH"));
    EXPECT_EQ(WpsStatusText(264), QStringLiteral("EAP_REQ_WRONG_VENDOR_TYPE"));
    EXPECT_EQ(WpsStatusText(265), QStringLiteral("Unknown"));
    EXPECT_EQ(WpsStatusText(-1), QStringLiteral("Unknown"));
    EXPECT_EQ(SurveyEncryptionText(4), QStringLiteral("TKIP/AES"));
    EXPECT_EQ(SurveyEncryptionText(5), QString());
    EXPECT_EQ(SurveyAuthenticationText(1), QString());
    EXPECT_EQ(SurveyAuthenticationText(7), QStringLiteral("WPA/WPA2"));
}

} // namespace
