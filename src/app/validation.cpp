#include "app/validation.h"

#include "app/globalvar.h"
#include "app/utils.h"

#include <QStringList>

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

QString MessageText(const char* key, const char* def)
{
    const QString fallback = QString::fromUtf8(def ? def : "");
    if (!key || !g_Var.Ini) {
        return fallback;
    }
    return g_Var.Ini->ReadString(QStringLiteral("Message"), QString::fromUtf8(key), fallback);
}

QString CCheckResult::Text() const
{
    if (Ok()) {
        return {};
    }
    if (FallbackKey) {
        const QString def = MessageText(FallbackKey, DefaultText);
        if (!g_Var.Ini) {
            return def;
        }
        return g_Var.Ini->ReadString(QStringLiteral("Message"), QString::fromUtf8(Key), def);
    }
    return MessageText(Key, DefaultText);
}

// ---------------------------------------------------------------------------------------------
// IP addresses
// ---------------------------------------------------------------------------------------------

namespace {

// The leading decimal digits of a text, cut before the first other character.
QString LeadingDigits(const QString& text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n) >= u'0' && text.at(n) <= u'9') {
        ++n;
    }
    return text.left(n);
}

} // namespace

int OctetValue(const QString& box)
{
    const QString digits = LeadingDigits(box);
    if (digits.isEmpty()) {
        return 0;
    }
    // Any run of digits longer than three is at least 256.
    if (digits.size() > 3) {
        return 255;
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok) {
        return 0;
    }
    return value >= 256 ? 255 : value;
}

QString CleanOctetText(const QString& box)
{
    const QString digits = LeadingDigits(box);
    if (digits.isEmpty()) {
        return {};
    }
    if (digits.size() > 3) {
        return QStringLiteral("255");
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok) {
        return {};
    }
    return value >= 256 ? QStringLiteral("255") : digits;
}

bool CIpBoxes::AllEmpty() const
{
    for (const QString& b : Box) {
        if (!b.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

bool CIpBoxes::AnyEmpty() const
{
    for (const QString& b : Box) {
        if (b.trimmed().isEmpty()) {
            return true;
        }
    }
    return false;
}

std::uint32_t CIpBoxes::Value() const
{
    std::uint32_t value = 0;
    for (const QString& b : Box) {
        value = (value << 8) | std::uint32_t(OctetValue(b.trimmed()));
    }
    return value;
}

QString CIpBoxes::Text() const
{
    bool allEmpty = true;
    for (const QString& b : Box) {
        allEmpty = allEmpty && b.isEmpty();
    }
    if (allEmpty) {
        return {};
    }
    return QStringLiteral("%1.%2.%3.%4")
        .arg(OctetValue(Box[0]))
        .arg(OctetValue(Box[1]))
        .arg(OctetValue(Box[2]))
        .arg(OctetValue(Box[3]));
}

CIpBoxes CIpBoxes::FromText(const QString& text)
{
    CIpBoxes boxes;
    if (text.isEmpty()) {
        return boxes;
    }
    const QStringList parts = text.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < 4 && i < parts.size(); ++i) {
        boxes.Box[std::size_t(i)] = parts.at(i);
    }
    return boxes;
}

CIpBoxes CIpBoxes::FromValue(std::uint32_t value)
{
    CIpBoxes boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.Box[std::size_t(i)] = QString::number((value >> (24 - 8 * i)) & 0xFF);
    }
    return boxes;
}

bool ParseDottedBoxes(const QString& text, CIpBoxes& boxes)
{
    if (text.trimmed().isEmpty()) {
        boxes = CIpBoxes {};
        return true;
    }
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) {
        return false;
    }
    CIpBoxes out;
    for (qsizetype i = 0; i < 4; ++i) {
        const QString part = parts.at(i).trimmed();
        if (part.isEmpty() || part.size() > 3 || LeadingDigits(part) != part || part.toInt() > 255) {
            return false;
        }
        out.Box[std::size_t(i)] = part;
    }
    boxes = out;
    return true;
}

QString ProposedMask(const CIpBoxes& ip)
{
    if (ip.Text().isEmpty()) {
        return {};
    }
    const int n = OctetValue(ip.Box[0].trimmed());
    if (n < 128) {
        return QStringLiteral("255.0.0.0");
    }
    if (n >= 192) {
        return QStringLiteral("255.255.255.0");
    }
    return QStringLiteral("255.255.0.0");
}

bool CorrectBroadcastHost(QString& dottedText)
{
    const qsizetype dot = dottedText.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dottedText.isEmpty()) {
        return false;
    }
    const QString last = dottedText.mid(dot + 1).trimmed();
    bool ok = false;
    if (last.toInt(&ok) != 255 || !ok) {
        return false;
    }
    dottedText.chop(1);
    dottedText += QLatin1Char('4');
    return true;
}

bool IsContiguousMask(std::uint32_t m)
{
    if (m == 0 || m == 0xFFFFFFFFu) {
        return false;
    }
    const std::uint32_t low = ~m + 1u; // the two's complement: a power of two for a valid mask
    return (low & (low - 1u)) == 0;
}

namespace {

// Check 2: a usable host address.
bool IsUsableHost(std::uint32_t a)
{
    const std::uint32_t first = a >> 24;
    return a != 0 && a < 0xE0000000u && first != 127 && first != 255;
}

} // namespace

CCheckResult ValidateIP(
    const CIpBoxes& ip, const CIpBoxes& mask, const CIpBoxes& gateway, const QString& lastLocalIp)
{
    using namespace msg;
    if (ip.AnyEmpty()) {
        return CCheckResult::Refuse(ErIPAddr, ErIPAddrText, 1);
    }
    const std::uint32_t a = ip.Value();
    if (!IsUsableHost(a)) {
        return CCheckResult::Refuse(ErIPAddr, ErIPAddrText, 2);
    }
    if (mask.AnyEmpty()) {
        return CCheckResult::Refuse(ErSubnetMask, ErSubnetMaskText, 3);
    }
    const std::uint32_t m = mask.Value();
    if (!IsContiguousMask(m)) {
        return CCheckResult::Refuse(ErSubnetMask, ErSubnetMaskText, 4);
    }
    if ((a & m) == a || (a & ~m) == ~m) {
        return CCheckResult::Refuse(ErIPAddr, ErIPAddrText, 5);
    }
    if (!lastLocalIp.isEmpty() && ip.Text() == lastLocalIp) {
        return CCheckResult::Refuse(ErIPSameAsLocahost, ErIPSameAsLocahostText, 6);
    }
    if (gateway.AllEmpty()) {
        return CCheckResult::Accept();
    }
    if (gateway.AnyEmpty()) {
        return CCheckResult::Refuse(ErDefaultGateway, ErDefaultGatewayText, 8);
    }
    const std::uint32_t g = gateway.Value();
    if ((g & m) != (a & m)) {
        return CCheckResult::Refuse(ErDefaultGateway, ErDefaultGatewayText, 9);
    }
    if ((g & ~m) == 0 || (g | m) == 0xFFFFFFFFu) {
        return CCheckResult::Refuse(ErDefaultGateway, ErDefaultGatewayText, 10);
    }
    return CCheckResult::Accept();
}

// ---------------------------------------------------------------------------------------------
// Wireless profile
// ---------------------------------------------------------------------------------------------

namespace {

// Characters as the user sees them (a surrogate pair is one).
qsizetype CharCount(const QString& text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isLowSurrogate()) {
            ++n;
        }
    }
    return n;
}

} // namespace

bool SsidFitsField(const QString& ssid)
{
    return CharCount(ssid) <= SSID_MAX_CHARS && ssid.toUtf8().size() <= SSID_MAX_CHARS;
}

CCheckResult CheckSsid(const QString& ssid)
{
    if (ssid.isEmpty()) {
        return CCheckResult::Refuse(msg::ER_Empty_SSID, msg::ER_Empty_SSIDText);
    }
    if (!SsidFitsField(ssid)) {
        return CCheckResult::Refuse(msg::ER_SSID_Length, msg::ER_SSID_LengthText);
    }
    return CCheckResult::Accept();
}

int WepKeyLimit(int keyLength)
{
    return keyLength == 1 ? 26 : 10;
}

const char* KeyErrorKey(int keyLength, bool hexFault)
{
    if (keyLength == 0) {
        return hexFault ? msg::ER_WEP64Hex : msg::ER_WEP64;
    }
    if (keyLength == 1) {
        return hexFault ? msg::ER_WEP128Hex : msg::ER_WEP128;
    }
    return nullptr;
}

QString KeyErrorText(int keyLength, bool hexFault)
{
    const QString k = MessageText(msg::ER_WEPKey, msg::ER_WEPKeyText);
    const char* key = KeyErrorKey(keyLength, hexFault);
    if (!key || !g_Var.Ini) {
        return k;
    }
    return g_Var.Ini->ReadString(QStringLiteral("Message"), QString::fromUtf8(key), k);
}

int CheckKey(int keyLength, const QString& key, int limit, CCheckResult* error)
{
    const qsizetype n = key.size();
    if (n == limit / 2) {
        return 0;
    }
    if (n == limit && IsHexText(key)) {
        return 1;
    }
    if (error) {
        const char* k = KeyErrorKey(keyLength, n == limit);
        // The default of every specific key is the general WEP key message.
        *error = CCheckResult::Refuse(k ? k : msg::ER_WEPKey, msg::ER_WEPKeyText);
        if (k) {
            error->FallbackKey = msg::ER_WEPKey;
        }
    }
    return -1;
}

QString NormalizedKey(const QString& key, int limit, int form)
{
    if (form == 0) {
        return key.size() == limit / 2 ? key : QString();
    }
    if (form == 1) {
        return key.size() == limit && IsHexText(key) ? key.toUpper() : QString();
    }
    return {};
}

CCheckResult CheckPassphrase(const QString& passphrase)
{
    const qsizetype n = passphrase.size();
    if (n == 64) {
        if (IsHexText(passphrase)) {
            return CCheckResult::Accept();
        }
        return CCheckResult::Refuse(msg::ER_PSKKeyHex, msg::ER_PSKKeyHexText);
    }
    // The key field holds 127 bytes and its NUL: a longer UTF-8 form would be cut on the wire.
    if (n >= 8 && n <= 63 && passphrase.toUtf8().size() <= 127) {
        return CCheckResult::Accept();
    }
    return CCheckResult::Refuse(msg::ER_PSKKey, msg::ER_PSKKeyText);
}

int CipherForWpaMode(int wpaMode)
{
    if (wpaMode == 0) {
        return 0;
    }
    if (wpaMode == 1) {
        return 1;
    }
    return 2;
}

// ---------------------------------------------------------------------------------------------
// WPS
// ---------------------------------------------------------------------------------------------

CCheckResult CheckWpsPin(const QString& pin)
{
    if (pin.size() != 8 || LeadingDigits(pin) != pin) {
        return CCheckResult::Refuse(msg::ER_PIN_Code, msg::ER_PIN_CodeText);
    }
    return CCheckResult::Accept();
}

int WpsPinChecksum(std::uint32_t first7)
{
    std::uint32_t pin = (first7 % 10000000u) * 10u;
    std::uint32_t accum = 0;
    accum += 3 * ((pin / 10000000u) % 10);
    accum += 1 * ((pin / 1000000u) % 10);
    accum += 3 * ((pin / 100000u) % 10);
    accum += 1 * ((pin / 10000u) % 10);
    accum += 3 * ((pin / 1000u) % 10);
    accum += 1 * ((pin / 100u) % 10);
    accum += 3 * ((pin / 10u) % 10);
    return int((10 - accum % 10) % 10);
}

bool WpsPinChecksumValid(std::uint32_t pin)
{
    if (pin > 99999999u) {
        return false;
    }
    return WpsPinChecksum(pin / 10) == int(pin % 10);
}

QString WpsStatusText(int code)
{
    static const char* const low[] = {
        "Not used",
        "Idle",
        "WSC Fail(Ignore this if Intel/Marvell registrar used)",
        "Start WSC Process",
        "Received EAPOL-Start",
        "Sending EAP-Req(ID)",
        "Receive EAP-Rsp(ID)",
        "Receive EAP-Req with wrong WSC SMI Vendor Id",
        "Receive EAPReq with wrong WSC Vendor Type",
        "Sending EAP-Req(WSC_START)",
        "Send M1",
        "Received M1",
        "Send M2",
        "Received M2",
        "Received M2D",
        "Send M3",
        "Received M3",
        "Send M4",
        "Received M4",
        "Send M5",
        "Received M5",
        "Send M6",
        "Received M6",
        "Send M7",
        "Received M7",
        "Send M8",
        "Received M8",
        "Processing EAP Response (ACK)",
        "Processing EAP Request (Done)",
        "Processing EAP Response (Done)",
        "Sending EAP-Fail",
        "WSC_ERROR_HASH_FAIL",
        "WSC_ERROR_HMAC_FAIL",
        "WSC_ERROR_DEV_PWD_AUTH_FAIL",
        "Configured",
        "SCAN AP",
        "EAPOL START SENT",
        "WSC_EAP_RSP_DONE_SENT",
        "WAIT PINCODE",
    };
    static const char* const high[] = {
        "PBC:TOO MANY AP",
        "PBC:NO AP",
        "EAP_FAIL_RECEIVED",
        "EAP_NONCE_MISMATCH",
        "EAP_INVALID_DATA",
        "PASSWORD_MISMATCH",
        "EAP_REQ_WRONG_SMI",
        "EAP_REQ_WRONG_VENDOR_TYPE",
    };
    constexpr int lowCount = int(sizeof(low) / sizeof(low[0]));
    constexpr int highCount = int(sizeof(high) / sizeof(high[0]));
    if (code >= 0 && code < lowCount) {
        return QString::fromUtf8(low[code]);
    }
    if (code >= 257 && code < 257 + highCount) {
        return QString::fromUtf8(high[code - 257]);
    }
    return QStringLiteral("Unknown");
}

// ---------------------------------------------------------------------------------------------
// Site survey texts
// ---------------------------------------------------------------------------------------------

QString SurveyEncryptionText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Not Use");
    case 1:
        return QStringLiteral("WEP");
    case 2:
        return QStringLiteral("TKIP");
    case 3:
        return QStringLiteral("AES");
    case 4:
        return QStringLiteral("TKIP/AES");
    default:
        return {};
    }
}

QString SurveyAuthenticationText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("OPEN");
    case 2:
        return QStringLiteral("WPA-PSK");
    case 3:
        return QStringLiteral("WPA2-PSK");
    case 4:
        return QStringLiteral("WPA-PSK/WPA2-PSK");
    case 5:
        return QStringLiteral("WPA");
    case 6:
        return QStringLiteral("WPA2");
    case 7:
        return QStringLiteral("WPA/WPA2");
    default:
        return {};
    }
}
