#include "app/globalvar.h"

#include "app/debug.h"
#include "app/utils.h"
#include "platform/core/shell.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <unistd.h>

namespace {

QString OwnProgramPath()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) {
        return {};
    }
    return QFile::decodeName(QByteArray(buf, static_cast<qsizetype>(n)));
}

} // namespace

CGlobalVar::CGlobalVar()
{
    SecurityText[0] = QStringLiteral("None");
    SecurityText[1] = QStringLiteral("WEP");
    SecurityText[2] = QStringLiteral("WPA-PSK");
    SecurityText[3] = QStringLiteral("WPA");
    AuthText[0] = QStringLiteral("Open");
    AuthText[1] = QStringLiteral("Shared");
    AuthText[2] = QStringLiteral("Auto");
    WepLenText[0] = QStringLiteral("64 bit");
    WepLenText[1] = QStringLiteral("128 bit");
    WpaModeText[0] = QStringLiteral("WPA Only");
    WpaModeText[1] = QStringLiteral("WPA2 Only");
    WpaModeText[2] = QStringLiteral("WPA or WPA2");
    CipherText[0] = QStringLiteral("TKIP");
    CipherText[1] = QStringLiteral("AES");
    CipherText[2] = QStringLiteral("TKIP and AES");
    WlModeText[0] = QStringLiteral("2.4GHz 802.11 b/g mixed mode");
    WlModeText[1] = QStringLiteral("2.4GHz 802.11 b only");
    WlModeText[2] = QStringLiteral("2.4GHz 802.11 a only");
    WlModeText[3] = QStringLiteral("2.4GHz 802.11 a/b/g mixed mode");
    WlModeText[4] = QStringLiteral("2.4GHz 802.11 g only");
    WlModeText[5] = QStringLiteral("2.4GHz 802.11 a/b/g/n mixed mode");
    WlModeText[6] = QStringLiteral("2.4GHz 802.11 n only");
    WlModeText[7] = QStringLiteral("2.4GHz 802.11 g/n mixed mode");
    WlModeText[8] = QStringLiteral("2.4GHz 802.11 a/n mixed mode");
    WlModeText[9] = QStringLiteral("2.4GHz 802.11 b/g/n mixed mode");
}

CGlobalVar::~CGlobalVar() = default;

bool CGlobalVar::Init()
{
    return InitFrom(OwnProgramPath());
}

bool CGlobalVar::InitFrom(const QString& programPath)
{
    const QFileInfo info(programPath);
    AppPath = info.path();
    if (!AppPath.endsWith(u'/')) {
        AppPath += u'/';
    }
    IniPath = CDebug::ChangeFileExt(programPath, QStringLiteral(".ini"));
    Ini = std::make_unique<CThreadIni>(IniPath);

    const QString section = QStringLiteral("Product");
    ShortName = Ini->ReadString(section, QStringLiteral("ShortName"), "QRX-512");
    MutexName = ShortName + u"_Mutex";
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString baseName = dot > 0 ? fileName.left(dot) : fileName;
    AppTitle = Ini->ReadString(section, QStringLiteral("AppTitle"), baseName);
    MsgTitle = Ini->ReadString(section, QStringLiteral("MsgTitle"), AppTitle);
    const QString reader = Ini->ReadString(section, QStringLiteral("AcrobatReader"), QString());
    if (!reader.isEmpty()) {
        AcrobatReader = AppPath + reader;
    }
    AcrobatReaderTitle
        = Ini->ReadString(section, QStringLiteral("AcrobatReaderTitle"), "Adobe Reader 7.0.5 - Setup");
    LicenseAccepted = false;
    Password.clear();
    NonWorking = Ini->ReadBool(QStringLiteral("Setting"), QStringLiteral("NonWorking"), false);

    struct Entry
    {
        QString* text;
        const char* key;
    };
    const Entry texts[] = {
        { &SecurityText[0], "SecurityNone" },
        { &SecurityText[1], "SecurityWEP" },
        { &SecurityText[2], "SecurityWPAPSK" },
        { &SecurityText[3], "SecurityWPA" },
        { &AuthText[0], "AuthenOpen" },
        { &AuthText[1], "AuthenShared" },
        { &AuthText[2], "AuthenAuto" },
        { &WepLenText[0], "WEP64" },
        { &WepLenText[1], "WEP128" },
        { &WpaModeText[0], "WPA_WPA" },
        { &WpaModeText[1], "WPA_WPA2" },
        { &WpaModeText[2], "WPA_WPAAuto" },
        { &CipherText[0], "CipherTKIP" },
        { &CipherText[1], "CipherAES" },
        { &CipherText[2], "CipherAuto" },
        { &WlModeText[0], "WirlessMode_BG" },
        { &WlModeText[1], "WirlessMode_B" },
        { &WlModeText[2], "WirlessMode_A" },
        { &WlModeText[3], "WirlessMode_ABG" },
        { &WlModeText[4], "WirlessMode_G" },
        { &WlModeText[5], "WirlessMode_ABGN" },
        { &WlModeText[6], "WirlessMode_N" },
        { &WlModeText[7], "WirlessMode_GN" },
        { &WlModeText[8], "WirlessMode_AN" },
        { &WlModeText[9], "WirlessMode_BGN" },
    };
    for (const Entry& e : texts) {
        *e.text = Ini->ReadString(QStringLiteral("String"), QString::fromLatin1(e.key), *e.text);
    }
    return true;
}

void CGlobalVar::ResetIPConfig(tag_IP_CONFIG& config)
{
    config.IP_MODE = 1;
    config.LAN_IP = 0;
    config.LAN_NETMASK = 0;
    config.LAN_GATEWAY = 0;
    config.DNS1 = 0;
    config.DNS2 = 0;
}

void CGlobalVar::ResetWlConfig(tag_WL_CONFIG& config)
{
    const QString ssid = Ini ? Ini->ReadString(QStringLiteral("Setting"), QStringLiteral("SSID"), "wireless")
                             : QStringLiteral("wireless");
    CopyTextToField(ssid, config.WL_SSID, static_cast<int>(sizeof(config.WL_SSID)), 32);
    config.WL_STD_CH = 0;
    config.WL_EXT_CH = 0;
    std::memset(config.WL_CH_LIST, 0, 256);
    config.WL_SECURITY_MODE = 0;
    config.WL_AUTH_MODE = 2;
    config.WL_WEPKEY_LEN = 0;
    config.WepKeyId = 1;
    std::memset(config.WL_WEPKEY, 0, sizeof(config.WL_WEPKEY));
    config.WL_WPA_MODE = 2;
    config.WL_WPA_CIPHER = 2;
    std::memset(config.WL_WPA_PSK, 0, sizeof(config.WL_WPA_PSK));
    config.WL_WPS_PIN = 0;
    config.WpsPinInput = 0;
}

int CGlobalVar::OpenUserGuide()
{
    const QString guide = Ini
        ? Ini->ReadString(QStringLiteral("Product"), QStringLiteral("UserGuide"), QString())
        : QString();
    if (guide.isEmpty()) {
        return 2;
    }
    const QString document = AppPath + guide;
    if (!QFileInfo(document).isFile()) {
        return 2;
    }
    if (Shell().FindExecutable(document) == SHELL_NO_ASSOCIATION) {
        return 3;
    }
    return Shell().OpenDocument(document) > 32 ? 0 : 2;
}
