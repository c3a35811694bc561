// The key sub-pages: every WEP and pre-shared key form, the messages of a refusal, the lists and
// proposals by mode, and the cipher that follows the WPA mode.
#include "wlprofile_fixture.h"

#include "app/utils.h"

#include <QLabel>

class KeysTest : public WlWizardTest
{
protected:
    // The host on the key page of that security mode (1 WEP, 2 WPA-PSK), entered forward.
    void EnterKeyPage(int security)
    {
        EnterHost();
        Click(host->FrameWlProfSSID1->BtnNext);
        Click(host->FrameWlProfWlMode1->BtnNext);
        Choose(host->FrameWlProfSecurity1->CmbSecurity, security);
        Click(host->FrameWlProfSecurity1->BtnNext);
        ASSERT_EQ(SubPageName(), security == 1 ? "FrameWlProfWEP1" : "FrameWlProfPSK1");
    }
    TFrameWlProfWEP* Wep() const { return host->FrameWlProfWEP1; }
    TFrameWlProfPSK* Psk() const { return host->FrameWlProfPSK1; }
};

// --- WEP -------------------------------------------------------------------------------------

struct TWepCase
{
    const char* name;
    int length; // key length code chosen
    const char* typed;
    const char* stored; // nullptr: refused
    const char* message; // the refusal shown (default texts)
};

class WepKeyFormTest : public KeysTest, public ::testing::WithParamInterface<TWepCase>
{
};

TEST_P(WepKeyFormTest, AcceptsOrRefusesTheKey)
{
    const TWepCase& c = GetParam();
    std::strcpy(g_Var.NewWlConfig.WL_WEPKEY, "untouched");
    g_Var.NewWlConfig.WL_WEPKEY_LEN = 0;
    EnterKeyPage(1);
    if (c.length != 0) {
        Choose(Wep()->CmbWEP, c.length);
    }
    Type(Wep()->EdtKey1, QString::fromLatin1(c.typed));
    Click(Wep()->BtnNext);
    if (c.stored) {
        EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
        EXPECT_TRUE(DialogSeam::Shown().isEmpty());
        EXPECT_STREQ(g_Var.NewWlConfig.WL_WEPKEY, c.stored);
        EXPECT_EQ(g_Var.NewWlConfig.WL_WEPKEY_LEN, c.length);
    } else {
        EXPECT_EQ(SubPageName(), "FrameWlProfWEP1");
        ASSERT_EQ(DialogSeam::ShownTexts().size(), 1);
        EXPECT_EQ(DialogSeam::ShownTexts()[0], QString::fromLatin1(c.message));
        EXPECT_STREQ(g_Var.NewWlConfig.WL_WEPKEY, "untouched");
        EXPECT_TRUE(Wep()->EdtKey1->hasFocus() || !form->isActiveWindow());
    }
}

#define WEP_MSG "You have entered an incorrect WEP key. Please try again."
INSTANTIATE_TEST_SUITE_P(Forms, WepKeyFormTest,
    ::testing::Values(TWepCase { "Ascii64AnyCharacters", 0, "a b!~", "a b!~", nullptr },
        TWepCase { "Ascii64HexDigitsCountAsAscii", 0, "abcde", "abcde", nullptr },
        TWepCase { "Hex64", 0, "0123456789", "0123456789", nullptr },
        TWepCase { "Hex64LowerStoredUpper", 0, "abcdef0123", "ABCDEF0123", nullptr },
        TWepCase { "Hex64WithNonHex", 0, "012345678g", nullptr, WEP_MSG },
        TWepCase { "Seven64", 0, "1234567", nullptr, WEP_MSG },
        TWepCase { "Empty64", 0, "", nullptr, WEP_MSG },
        TWepCase { "Ascii128", 1, "thirteen-char", "thirteen-char", nullptr },
        TWepCase { "Hex128Lower", 1, "0123456789abcdef0123456789", "0123456789ABCDEF0123456789", nullptr },
        TWepCase { "Hex128WithNonHex", 1, "0123456789abcdef012345678z", nullptr, WEP_MSG },
        TWepCase { "Ten128", 1, "0123456789", nullptr, WEP_MSG }),
    [](const ::testing::TestParamInfo<TWepCase>& info) { return std::string(info.param.name); });

TEST_F(KeysTest, SwitchingKeyLengthEmptiesKeyAndChangesLimit)
{
    EnterKeyPage(1);
    EXPECT_EQ(Wep()->CmbWEP->count(), 2);
    EXPECT_EQ(Wep()->CmbWEP->itemText(0), QStringLiteral("64 bit"));
    EXPECT_EQ(Wep()->CmbWEP->itemText(1), QStringLiteral("128 bit"));
    EXPECT_EQ(Wep()->EdtKey1->maxLength(), 10);
    Type(Wep()->EdtKey1, QStringLiteral("0123456789ABCDEF"));
    EXPECT_EQ(Wep()->EdtKey1->text(), QStringLiteral("0123456789"));
    Choose(Wep()->CmbWEP, 1);
    EXPECT_TRUE(Wep()->EdtKey1->text().isEmpty());
    EXPECT_EQ(Wep()->EdtKey1->maxLength(), 26);
    Choose(Wep()->CmbWEP, 0);
    EXPECT_EQ(Wep()->EdtKey1->maxLength(), 10);
}

TEST_F(KeysTest, ForwardEntryFillsFromPendingProfile)
{
    g_Var.NewWlConfig.WL_WEPKEY_LEN = 1;
    std::strcpy(g_Var.NewWlConfig.WL_WEPKEY, "0123456789ABCDEF0123456789");
    g_Var.NewWlConfig.WL_AUTH_MODE = 1;
    EnterKeyPage(1);
    EXPECT_EQ(Wep()->CmbWEP->currentData().toInt(), 1);
    EXPECT_EQ(Wep()->EdtKey1->maxLength(), 26);
    EXPECT_EQ(Wep()->EdtKey1->text(), QStringLiteral("0123456789ABCDEF0123456789"));
    EXPECT_EQ(Wep()->CmbAuthen->currentData().toInt(), 1);
    Click(Wep()->BtnNext);
    EXPECT_EQ(g_Var.NewWlConfig.WL_AUTH_MODE, 1);
}

TEST_F(KeysTest, UnknownKeyLengthFallsBackTo64Bit)
{
    g_Var.NewWlConfig.WL_WEPKEY_LEN = 7;
    EnterKeyPage(1);
    EXPECT_EQ(Wep()->CmbWEP->currentData().toInt(), 0);
    EXPECT_EQ(Wep()->EdtKey1->maxLength(), 10);
}

TEST_F(KeysTest, AccessPointModeOffersAutoAndProposesItForUnknownCode)
{
    g_Var.NewWlConfig.WL_AUTH_MODE = 7;
    EnterKeyPage(1);
    QComboBox* auth = Wep()->CmbAuthen;
    ASSERT_EQ(auth->count(), 3);
    EXPECT_EQ(auth->itemText(0), QStringLiteral("Open"));
    EXPECT_EQ(auth->itemText(1), QStringLiteral("Shared"));
    EXPECT_EQ(auth->itemText(2), QStringLiteral("Auto"));
    EXPECT_EQ(auth->currentData().toInt(), 2);
}

TEST_F(KeysTest, BridgeModeOffersOpenAndSharedAndProposesOpen)
{
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    g_Var.SelectedAP.Encryption = 1;
    g_Var.NewWlConfig.WL_AUTH_MODE = 1;
    EnterKeyPage(1);
    QComboBox* auth = Wep()->CmbAuthen;
    ASSERT_EQ(auth->count(), 2);
    EXPECT_EQ(auth->itemText(0), QStringLiteral("Open"));
    EXPECT_EQ(auth->itemText(1), QStringLiteral("Shared"));
    EXPECT_EQ(auth->currentData().toInt(), 0);
    Choose(auth, 1);
    Type(Wep()->EdtKey1, QStringLiteral("abcde"));
    Click(Wep()->BtnNext);
    EXPECT_EQ(g_Var.NewWlConfig.WL_AUTH_MODE, 1);
}

TEST_F(KeysTest, RefusedKeyLeavesProfileAndBackKeepsTyping)
{
    EnterKeyPage(1);
    Type(Wep()->EdtKey1, QStringLiteral("abc"));
    Click(Wep()->BtnNext);
    EXPECT_EQ(DialogSeam::ShownTexts().size(), 1);
    Type(Wep()->EdtKey1, QStringLiteral("abcde"));
    Click(Wep()->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfConfirm1");
    Click(host->FrameWlProfConfirm1->BtnBack);
    EXPECT_EQ(SubPageName(), "FrameWlProfWEP1");
    EXPECT_EQ(Wep()->EdtKey1->text(), QStringLiteral("abcde"));
}

// Message texts: the four specific keys default to ER_WEPKey.
struct TMessageCase
{
    const char* name;
    QByteArray ini;
    int length;
    const char* typed;
    const char* message;
};

class WepMessageTest : public KeysTest, public ::testing::WithParamInterface<TMessageCase>
{
protected:
    QByteArray IniText() const override { return GetParam().ini; }
};

TEST_P(WepMessageTest, ShowsTheMessageOfTheFault)
{
    const TMessageCase& c = GetParam();
    EnterKeyPage(1);
    if (c.length) {
        Choose(Wep()->CmbWEP, c.length);
    }
    Type(Wep()->EdtKey1, QString::fromLatin1(c.typed));
    Click(Wep()->BtnNext);
    ASSERT_EQ(DialogSeam::ShownTexts().size(), 1);
    EXPECT_EQ(DialogSeam::ShownTexts()[0], QString::fromLatin1(c.message));
}

const QByteArray kGeneralOnly = "[Message]\r\nER_WEPKey=General key fault\r\n";
const QByteArray kAllFour = "[Message]\r\nER_WEPKey=General\r\nER_WEP64=64 length\r\nER_WEP64Hex=64 hex\r\n"
                            "ER_WEP128=128 length\r\nER_WEP128Hex=128 hex\r\n";

INSTANTIATE_TEST_SUITE_P(Texts, WepMessageTest,
    ::testing::Values(TMessageCase { "GeneralOnly64Length", kGeneralOnly, 0, "123", "General key fault" },
        TMessageCase { "GeneralOnly64Hex", kGeneralOnly, 0, "12345678zz", "General key fault" },
        TMessageCase { "GeneralOnly128Length", kGeneralOnly, 1, "123", "General key fault" },
        TMessageCase {
            "GeneralOnly128Hex", kGeneralOnly, 1, "0123456789012345678901234z", "General key fault" },
        TMessageCase { "Own64Length", kAllFour, 0, "123", "64 length" },
        TMessageCase { "Own64Hex", kAllFour, 0, "12345678zz", "64 hex" },
        TMessageCase { "Own128Length", kAllFour, 1, "123", "128 length" },
        TMessageCase { "Own128Hex", kAllFour, 1, "0123456789012345678901234z", "128 hex" }),
    [](const ::testing::TestParamInfo<TMessageCase>& info) { return std::string(info.param.name); });

// --- Pre-shared key --------------------------------------------------------------------------

struct TPskCase
{
    const char* name;
    QString typed;
    bool accepted;
    const char* message;
};

class PskKeyFormTest : public KeysTest, public ::testing::WithParamInterface<TPskCase>
{
};

TEST_P(PskKeyFormTest, AcceptsOrRefusesTheKey)
{
    const TPskCase& c = GetParam();
    std::strcpy(g_Var.NewWlConfig.WL_WPA_PSK, "untouched");
    EnterKeyPage(2);
    Type(Psk()->EdtPassphrase, c.typed);
    Click(Psk()->BtnNext);
    if (c.accepted) {
        EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
        EXPECT_TRUE(DialogSeam::Shown().isEmpty());
        EXPECT_EQ(FieldToText(g_Var.NewWlConfig.WL_WPA_PSK, 128), c.typed); // stored as typed
    } else {
        EXPECT_EQ(SubPageName(), "FrameWlProfPSK1");
        ASSERT_EQ(DialogSeam::ShownTexts().size(), 1);
        EXPECT_EQ(DialogSeam::ShownTexts()[0], QString::fromLatin1(c.message));
        EXPECT_STREQ(g_Var.NewWlConfig.WL_WPA_PSK, "untouched");
    }
}

#define PSK_MSG "Passphrase should be between 8 to 63 charachers in ASCII format."
#define PSK_HEX_MSG "Passphrase should be 64 hex digits."
INSTANTIATE_TEST_SUITE_P(Forms, PskKeyFormTest,
    ::testing::Values(TPskCase { "Seven", QStringLiteral("1234567"), false, PSK_MSG },
        TPskCase { "Empty", QString(), false, PSK_MSG },
        TPskCase { "EightAnyKind", QStringLiteral("a b!~?#%"), true, nullptr },
        TPskCase { "SixtyThree", QString(63, QLatin1Char('z')), true, nullptr },
        TPskCase {
            "SixtyFourHex", QString(32, QLatin1Char('a')) + QString(32, QLatin1Char('F')), true, nullptr },
        TPskCase { "SixtyFourNotHex", QString(63, QLatin1Char('a')) + QLatin1Char('g'), false, PSK_HEX_MSG }),
    [](const ::testing::TestParamInfo<TPskCase>& info) { return std::string(info.param.name); });

TEST_F(KeysTest, PskEditStopsAtSixtyFour)
{
    EnterKeyPage(2);
    Type(Psk()->EdtPassphrase, QString(70, QLatin1Char('a')));
    EXPECT_EQ(Psk()->EdtPassphrase->text().size(), 64);
}

struct TCipherCase
{
    int mode;
    const char* shown;
    int stored;
};

class PskCipherTest : public KeysTest, public ::testing::WithParamInterface<TCipherCase>
{
};

TEST_P(PskCipherTest, CipherFollowsWpaMode)
{
    const TCipherCase& c = GetParam();
    g_Var.NewWlConfig.WL_WPA_MODE = 0;
    EnterKeyPage(2);
    EXPECT_EQ(Psk()->LbCipherValue->text(), QStringLiteral("TKIP"));
    Choose(Psk()->CmbWPAMode, c.mode);
    EXPECT_EQ(Psk()->LbCipherValue->text(), QString::fromLatin1(c.shown));
    Type(Psk()->EdtPassphrase, QStringLiteral("passphrase"));
    Click(Psk()->BtnNext);
    EXPECT_EQ(g_Var.NewWlConfig.WL_WPA_MODE, c.mode);
    EXPECT_EQ(g_Var.NewWlConfig.WL_WPA_CIPHER, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Modes, PskCipherTest,
    ::testing::Values(
        TCipherCase { 0, "TKIP", 0 }, TCipherCase { 1, "AES", 1 }, TCipherCase { 2, "TKIP and AES", 2 }));

TEST_F(KeysTest, WpaModeListAndAccessPointProposal)
{
    g_Var.NewWlConfig.WL_WPA_MODE = 9; // not in the list: "WPA or WPA2"
    std::strcpy(g_Var.NewWlConfig.WL_WPA_PSK, "stored-key");
    EnterKeyPage(2);
    QComboBox* cmb = Psk()->CmbWPAMode;
    ASSERT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->itemText(0), QStringLiteral("WPA Only"));
    EXPECT_EQ(cmb->itemText(1), QStringLiteral("WPA2 Only"));
    EXPECT_EQ(cmb->itemText(2), QStringLiteral("WPA or WPA2"));
    EXPECT_EQ(cmb->currentData().toInt(), 2);
    EXPECT_EQ(Psk()->EdtPassphrase->text(), QStringLiteral("stored-key"));
    EXPECT_EQ(Psk()->LbCipherValue->text(), QStringLiteral("TKIP and AES"));
}

struct TBridgeWpaCase
{
    int authentication;
    int proposed;
};

class PskBridgeProposalTest : public KeysTest, public ::testing::WithParamInterface<TBridgeWpaCase>
{
};

TEST_P(PskBridgeProposalTest, ProposesFromChosenAccessPoint)
{
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    g_Var.SelectedAP.Encryption = 3;
    g_Var.SelectedAP.Authentication = std::uint8_t(GetParam().authentication);
    g_Var.NewWlConfig.WL_WPA_MODE = 0;
    EnterHost();
    Click(host->FrameWlProfSSID1->BtnNext);
    Click(host->FrameWlProfWlMode1->BtnNext);
    Choose(host->FrameWlProfSecurity1->CmbSecurity, 2);
    Click(host->FrameWlProfSecurity1->BtnNext);
    ASSERT_EQ(SubPageName(), "FrameWlProfPSK1");
    EXPECT_EQ(Psk()->CmbWPAMode->currentData().toInt(), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(Table, PskBridgeProposalTest,
    ::testing::Values(
        TBridgeWpaCase { 2, 0 }, TBridgeWpaCase { 3, 1 }, TBridgeWpaCase { 4, 2 }, TBridgeWpaCase { 0, 2 }));

TEST_F(KeysTest, SameCipherWordingStoresFirstMatch)
{
    g_Var.CipherText[1] = g_Var.CipherText[0]; // AES worded as TKIP
    EnterKeyPage(2);
    Choose(Psk()->CmbWPAMode, 1);
    EXPECT_EQ(Psk()->LbCipherValue->text(), QStringLiteral("TKIP"));
    Type(Psk()->EdtPassphrase, QStringLiteral("passphrase"));
    Click(Psk()->BtnNext);
    EXPECT_EQ(g_Var.NewWlConfig.WL_WPA_CIPHER, 0);
}
