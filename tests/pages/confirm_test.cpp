// The confirmation sub-page without a device: the rows by security mode, the two layouts, the
// captions by mode, the saved file's bytes and the printed page.
#include "wlprofile_fixture.h"

#include "controls/smallcontrols.h"

#include <QFileInfo>
#include <QLabel>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>

namespace {

constexpr std::uint32_t Ip(int a, int b, int c, int d)
{
    return std::uint32_t(a) << 24 | std::uint32_t(b) << 16 | std::uint32_t(c) << 8 | std::uint32_t(d);
}

// A paint device whose engine records every text drawn: where (baseline), what, in which font.
class CRecordingEngine : public QPaintEngine
{
public:
    struct TText
    {
        QPointF baseline;
        QString text;
        QFont font;
    };
    CRecordingEngine()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }
    bool begin(QPaintDevice*) override
    {
        ++begins;
        return true;
    }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyFont) {
            font = state.font();
        }
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        texts.push_back({ p, item.text(), font });
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<TText> texts;
    QFont font;
    int begins = 0;
};

class CRecordingDevice : public QPaintDevice
{
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable CRecordingEngine engine;

protected:
    // An A4 page at 600 dots per inch.
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 4960;
        case PdmHeight:
            return 7016;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 600;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

} // namespace

class ConfirmTest : public WlWizardTest
{
protected:
    void SetUp() override
    {
        WlWizardTest::SetUp();
        g_Var.NewIPConfig.LAN_IP = Ip(192, 168, 1, 20);
        g_Var.NewIPConfig.LAN_NETMASK = Ip(255, 255, 255, 0);
        g_Var.NewIPConfig.LAN_GATEWAY = Ip(192, 168, 1, 1);
        std::strcpy(g_Var.NewWlConfig.WL_SSID, "office");
        g_Var.NewWlConfig.WL_MODE = 9;
    }
    void SetWpa()
    {
        g_Var.NewWlConfig.WL_SECURITY_MODE = 2;
        g_Var.NewWlConfig.WL_WPA_MODE = 1;
        g_Var.NewWlConfig.WL_WPA_CIPHER = 1;
        std::strcpy(g_Var.NewWlConfig.WL_WPA_PSK, "passphrase1");
    }
    void SetWep()
    {
        g_Var.NewWlConfig.WL_SECURITY_MODE = 1;
        g_Var.NewWlConfig.WL_WEPKEY_LEN = 1;
        g_Var.NewWlConfig.WL_AUTH_MODE = 1;
        std::strcpy(g_Var.NewWlConfig.WL_WEPKEY, "0123456789ABCDEF0123456789");
    }
    // The host on the confirmation page, entered forward from the security page.
    TFrameWlProfConfirm* EnterConfirm()
    {
        EnterHost();
        EXPECT_TRUE(host->ShowSubPage(host->FrameWlProfSecurity1, WZ_DIR_FORWARD));
        EXPECT_TRUE(host->ShowSubPage(host->FrameWlProfConfirm1, WZ_DIR_FORWARD));
        return host->FrameWlProfConfirm1;
    }
    static QByteArray ReadAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

struct TRowsCase
{
    const char* name;
    int security;
    const char* rows[3][2]; // caption, value of the three detail rows
    const char* securityText;
};

class ConfirmRowsTest : public ConfirmTest, public ::testing::WithParamInterface<TRowsCase>
{
};

TEST_P(ConfirmRowsTest, DetailRowsFollowSecurityMode)
{
    const TRowsCase& c = GetParam();
    if (c.security == 1) {
        SetWep();
    } else if (c.security == 2) {
        SetWpa();
    } else {
        g_Var.NewWlConfig.WL_SECURITY_MODE = c.security;
    }
    auto* page = EnterConfirm();
    EXPECT_EQ(page->LblIP->text(), QStringLiteral("192.168.1.20"));
    EXPECT_EQ(page->LblMask->text(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(page->LblGateway->text(), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(page->LblSSID->text(), QStringLiteral("office"));
    EXPECT_EQ(page->LblWirelessMode->text(), QStringLiteral("2.4GHz 802.11 b/g/n mixed mode"));
    EXPECT_EQ(page->LblSecurity->text(), QString::fromLatin1(c.securityText));
    QLabel* captions[] = { page->LbInfo1, page->LbInfo2, page->LbInfo3 };
    QLabel* values[] = { page->LblInfo1, page->LblInfo2, page->LblInfo3 };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(captions[i]->text(), QString::fromLatin1(c.rows[i][0])) << i;
        EXPECT_EQ(values[i]->text(), QString::fromLatin1(c.rows[i][1])) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ConfirmRowsTest,
    ::testing::Values(TRowsCase { "None", 0, { { "", "" }, { "", "" }, { "", "" } }, "None" },
        TRowsCase { "Wep", 1,
            { { "WEP Key Length:", "128 bit" }, { "Authentication:", "Shared" },
                { "Key:", "0123456789ABCDEF0123456789" } },
            "WEP" },
        TRowsCase { "WpaPsk", 2,
            { { "WPA Mode:", "WPA2 Only" }, { "Cipher Type:", "AES" }, { "Key:", "passphrase1" } },
            "WPA-PSK" },
        TRowsCase { "Unknown", 5, { { "", "" }, { "", "" }, { "", "" } }, "" }),
    [](const ::testing::TestParamInfo<TRowsCase>& info) { return std::string(info.param.name); });

TEST_F(ConfirmTest, RowsAreRefilledOnEveryForwardEntry)
{
    SetWpa();
    auto* page = EnterConfirm();
    ASSERT_FALSE(page->LbInfo3->text().isEmpty());
    g_Var.NewWlConfig.WL_SECURITY_MODE = 0;
    g_Var.NewWlConfig.WL_MODE = 42; // no text
    ASSERT_TRUE(host->ShowSubPage(host->FrameWlProfSecurity1, WZ_DIR_BACK));
    ASSERT_TRUE(host->ShowSubPage(page, WZ_DIR_FORWARD));
    EXPECT_TRUE(page->LbInfo3->text().isEmpty());
    EXPECT_TRUE(page->LblInfo3->text().isEmpty());
    EXPECT_TRUE(page->LblWirelessMode->text().isEmpty());
}

struct TLayoutCase
{
    const char* name;
    int deviceMode;
    int wlMethod;
    bool network;
    const char* heading;
    const char* next;
};

class ConfirmLayoutTest : public ConfirmTest, public ::testing::WithParamInterface<TLayoutCase>
{
};

TEST_P(ConfirmLayoutTest, SectionsAndCaptionsByMode)
{
    const TLayoutCase& c = GetParam();
    g_Var.DeviceMode = c.deviceMode;
    g_Var.WlMethod = c.wlMethod;
    SetWpa();
    auto* page = EnterConfirm();
    EXPECT_EQ(page->LbNetworkInfo->isVisibleTo(page), c.network);
    for (QLabel* l :
        { page->LbIP, page->LblIP, page->LbMask, page->LblMask, page->LbGateway, page->LblGateway }) {
        EXPECT_EQ(l->isVisibleTo(page), c.network) << l->objectName().toStdString();
    }
    EXPECT_EQ(page->LbWirelessInfo->text(), QString::fromLatin1(c.heading));
    EXPECT_EQ(page->BtnNext->text(), QString::fromLatin1(c.next));
    // Hidden: the wireless heading takes the network heading's place.
    if (!c.network) {
        EXPECT_EQ(page->LbWirelessInfo->y(), page->LbNetworkInfo->y());
    } else {
        EXPECT_GT(page->LbWirelessInfo->y(), page->LblGateway->y());
    }
    // The wireless rows keep their order at equal spacing, captions level with their values.
    QLabel* rows[] = { page->LbWirelessInfo, page->LbSSID, page->LbWirelessMode, page->LbSecurity,
        page->LbInfo1, page->LbInfo2, page->LbInfo3 };
    const int step = rows[2]->y() - rows[1]->y();
    EXPECT_GT(step, 0);
    for (int i = 2; i < 7; ++i) {
        EXPECT_EQ(rows[i]->y() - rows[i - 1]->y(), step) << i;
    }
    EXPECT_EQ(page->LblInfo3->y(), page->LbInfo3->y());
    EXPECT_LE(page->LbInfo3->geometry().bottom(), page->LbComfirmMsg->y());
}

INSTANTIATE_TEST_SUITE_P(Modes, ConfirmLayoutTest,
    ::testing::Values(TLayoutCase { "AccessPoint", 1, 1, true, "Wireless Settings", "Configure" },
        TLayoutCase { "BridgeChosenAp", 2, 1, false, "Wireless Profile", "Connect" },
        TLayoutCase { "BridgeManual", 2, 2, true, "Wireless Profile", "Connect" },
        TLayoutCase { "BridgeWps", 2, 0, false, "Wireless Profile", "Connect" }),
    [](const ::testing::TestParamInfo<TLayoutCase>& info) { return std::string(info.param.name); });

TEST_F(ConfirmTest, SsidKeepsAmpersandAndEndsWithEllipsisWhenLong)
{
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "Dock&Yard");
    auto* page = EnterConfirm();
    EXPECT_EQ(page->LblSSID->ShownText(page->LblSSID->width()), QStringLiteral("Dock&Yard"));
    EXPECT_TRUE(page->LblSSID->EllipsisEnd());
    const QString shortened = page->LblSSID->ShownText(30);
    EXPECT_TRUE(shortened.endsWith(QChar(0x2026)) || shortened.endsWith(QStringLiteral("...")))
        << shortened.toStdString();
}

// --- Save ------------------------------------------------------------------------------------

TEST_F(ConfirmTest, SavedFileHoldsTheExactTextInAccessPointMode)
{
    SetWpa();
    auto* page = EnterConfirm();
    const QString path = m_dir.filePath(QStringLiteral("settings.txt"));
    DialogSeam::QueueSaveFileName(path);
    Click(page->BtnSave);
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Save);
    EXPECT_EQ(DialogSeam::Shown()[0].text, QStringLiteral("Text File(*.txt)"));
    EXPECT_EQ(ReadAll(path),
        QByteArray("Network Settings\r\n"
                   "\tIP Address: 192.168.1.20\r\n"
                   "\tSubnet: 255.255.255.0\r\n"
                   "\tGateway: 192.168.1.1\r\n"
                   "Wireless Settings\r\n"
                   "\tSSID office\r\n"
                   "\tWireless Mode: 2.4GHz 802.11 b/g/n mixed mode\r\n"
                   "\tSecurity Mode: WPA-PSK\r\n"
                   "\tWPA Mode: WPA2 Only\r\n"
                   "\tCipher Type: AES\r\n"
                   "\tKey: passphrase1\r\n"));
}

TEST_F(ConfirmTest, BridgeProfileWithoutSecuritySavesOnlyWirelessRows)
{
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    g_Var.WlMethod = 1;
    g_Var.NewWlConfig.WL_SECURITY_MODE = 0;
    std::strcpy(g_Var.NewWlConfig.WL_SSID, "Caf\xc3\xa9");
    auto* page = EnterConfirm();
    const QString path = m_dir.filePath(QStringLiteral("bridge")); // no extension typed
    DialogSeam::QueueSaveFileName(path);
    Click(page->BtnSave);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(ReadAll(path + QStringLiteral(".txt")),
        QByteArray("Wireless Profile\r\n"
                   "\tSSID Caf\xc3\xa9\r\n"
                   "\tWireless Mode: 2.4GHz 802.11 b/g/n mixed mode\r\n"
                   "\tSecurity Mode: None\r\n"));
}

TEST_F(ConfirmTest, SaveOverwritesAndKeepsAnotherExtension)
{
    SetWep();
    auto* page = EnterConfirm();
    const QString path = m_dir.filePath(QStringLiteral("settings.cfg"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4000, 'x'));
    }
    DialogSeam::QueueSaveFileName(path);
    Click(page->BtnSave);
    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.startsWith("Network Settings\r\n"));
    EXPECT_TRUE(bytes.endsWith("\tWEP Key Length: 128 bit\r\n\tAuthentication: Shared\r\n"
                               "\tKey: 0123456789ABCDEF0123456789\r\n"));
    EXPECT_FALSE(bytes.contains("xxxx")); // emptied first
}

TEST_F(ConfirmTest, CancelledOrUnopenableSaveDoesNothingAndShowsNothing)
{
    auto* page = EnterConfirm();
    Click(page->BtnSave); // the seam answers "cancelled"
    const QString folder = m_dir.filePath(QStringLiteral("no-such-folder/settings.txt"));
    DialogSeam::QueueSaveFileName(folder);
    Click(page->BtnSave);
    EXPECT_FALSE(QFileInfo::exists(folder));
    // Only the two save dialogs: no message box.
    ASSERT_EQ(DialogSeam::Shown().size(), 2);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Save);
    EXPECT_EQ(DialogSeam::Shown()[1].kind, DialogSeam::Kind::Save);
    EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
}

// --- Print -----------------------------------------------------------------------------------

class ConfirmPrintTest : public ConfirmTest
{
protected:
    void SetUp() override
    {
        ConfirmTest::SetUp();
        TFrameWlProfConfirm::PrintDeviceOverride = [this] { return &device; };
    }
    void TearDown() override
    {
        TFrameWlProfConfirm::PrintDeviceOverride = nullptr;
        ConfirmTest::TearDown();
    }
    // Expected lines: (x, top) for each text, from the 10-point font on this device.
    void ExpectPage(const std::vector<std::pair<bool, QString>>& lines)
    {
        const auto& texts = device.engine.texts;
        ASSERT_EQ(texts.size(), lines.size());
        ASSERT_FALSE(texts.empty());
        QFont font = texts[0].font;
        EXPECT_EQ(font.pointSize(), 10);
        const QFontMetrics fm(font, &device);
        int y = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const bool heading = lines[i].first;
            if (heading) {
                y += 100;
            }
            EXPECT_EQ(texts[i].text, lines[i].second) << i;
            EXPECT_EQ(texts[i].baseline.x(), heading ? 100 : 200) << i;
            EXPECT_EQ(texts[i].baseline.y() - fm.ascent(), y) << i;
            EXPECT_EQ(texts[i].font.pointSize(), 10) << i;
            y += fm.height();
        }
        EXPECT_EQ(device.engine.begins, 1); // one document, one page
    }
    CRecordingDevice device;
};

TEST_F(ConfirmPrintTest, AccessPointPageWithWep)
{
    SetWep();
    auto* page = EnterConfirm();
    DialogSeam::QueuePrintAccepted(true);
    Click(page->BtnPrint);
    ExpectPage({ { true, QStringLiteral("Network Settings") },
        { false, QStringLiteral("IP Address: 192.168.1.20") },
        { false, QStringLiteral("Subnet: 255.255.255.0") }, { false, QStringLiteral("Gateway: 192.168.1.1") },
        { true, QStringLiteral("Wireless Settings") }, { false, QStringLiteral("SSID office") },
        { false, QStringLiteral("Wireless Mode: 2.4GHz 802.11 b/g/n mixed mode") },
        { false, QStringLiteral("Security Mode: WEP") }, { false, QStringLiteral("WEP Key Length: 128 bit") },
        { false, QStringLiteral("Authentication: Shared") },
        { false, QStringLiteral("Key: 0123456789ABCDEF0123456789") } });
}

TEST_F(ConfirmPrintTest, BridgePageWithoutNetworkSectionOrDetails)
{
    g_Var.DeviceMode = DEVICE_WBRIDGE;
    g_Var.WlMethod = 1;
    g_Var.NewWlConfig.WL_SECURITY_MODE = 0;
    auto* page = EnterConfirm();
    DialogSeam::QueuePrintAccepted(true);
    Click(page->BtnPrint);
    ExpectPage({ { true, QStringLiteral("Wireless Profile") }, { false, QStringLiteral("SSID office") },
        { false, QStringLiteral("Wireless Mode: 2.4GHz 802.11 b/g/n mixed mode") },
        { false, QStringLiteral("Security Mode: None") } });
}

TEST_F(ConfirmPrintTest, CancelledPrintDrawsNothing)
{
    auto* page = EnterConfirm();
    Click(page->BtnPrint);
    EXPECT_TRUE(device.engine.texts.empty());
    EXPECT_EQ(device.engine.begins, 0);
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Print);
}

// --- Settings file captions -----------------------------------------------------------------

class ConfirmTextsTest : public ConfirmTest
{
protected:
    QByteArray IniText() const override
    {
        return "[TFrameWlProfConfirm]\r\nBtnNext_AP=Write\r\nLbWirelessInfo_AP=Radio\r\nLbKey=Secret:\r\n"
               "LbNetworkInfo=Addresses\r\nLbIP=IP:\r\n";
    }
};

TEST_F(ConfirmTextsTest, CaptionsComeFromThePageSection)
{
    SetWpa();
    auto* page = EnterConfirm();
    EXPECT_EQ(page->BtnNext->text(), QStringLiteral("Write"));
    EXPECT_EQ(page->LbWirelessInfo->text(), QStringLiteral("Radio"));
    EXPECT_EQ(page->LbInfo3->text(), QStringLiteral("Secret:"));
    const QString path = m_dir.filePath(QStringLiteral("out.txt"));
    DialogSeam::QueueSaveFileName(path);
    Click(page->BtnSave);
    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.startsWith("Addresses\r\n\tIP: 192.168.1.20\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Radio\r\n\tSSID office\r\n"));
    EXPECT_TRUE(bytes.endsWith("\tSecret: passphrase1\r\n"));
}

// --- Without a device ------------------------------------------------------------------------

TEST_F(ConfirmTest, WriteWithoutEngineFailsWithOneMessageAndStays)
{
    auto* page = EnterConfirm();
    Click(page->BtnNext);
    EXPECT_EQ(DialogSeam::ShownTexts(), QStringList({ QStringLiteral("Unable to connect to the device.") }));
    EXPECT_EQ(CurrentName(), "FrameWlProfile1");
    EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
    EXPECT_EQ(page->Progress(), nullptr);
}

TEST_F(ConfirmTest, NonWorkingMovesOnToSuccessAfterTheMessage)
{
    g_Var.NonWorking = true;
    auto* page = EnterConfirm();
    Click(page->BtnNext);
    EXPECT_EQ(DialogSeam::ShownTexts(), QStringList({ QStringLiteral("Unable to connect to the device.") }));
    EXPECT_EQ(CurrentName(), "FrameSuccess1");
}

TEST_F(ConfirmTest, EngineMessagesWithoutWriteAreDropped)
{
    auto* page = EnterConfirm();
    form->WndProc(UM_UDP_RECV, OP_GET_CONFIG, 1);
    form->WndProc(UM_UDP_TIMEOUT, OP_WL_SETTING, 0);
    Pump();
    EXPECT_TRUE(DialogSeam::Shown().isEmpty());
    EXPECT_EQ(page->Progress(), nullptr);
    EXPECT_EQ(SubPageName(), "FrameWlProfConfirm1");
}
