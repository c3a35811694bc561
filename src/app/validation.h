#pragma once
// The value rules that the wizard's pages and qrxctl share: the checks of an IP address, subnet
// mask and gateway, the octet arithmetic of the address editor, the mask proposal, the .255 ->
// .254 correction, the WEP key and pre-shared key checks, the SSID and WPS PIN rules, and a few
// fixed tables of texts that both show. No widgets here: a page passes the texts of its controls
// and shows the message of a refusal; the command line prints it.
//
// A refusal is a CCheckResult naming the message: section "Message", its key and its compiled
// default text. Text() looks the message up in the settings file through g_Var.Ini (the default
// when there is no settings store), exactly as the wizard's message boxes do.

#include <QString>

#include <array>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

// The outcome of one check: accepted, or refused with the message to show.
struct CCheckResult
{
    const char* Key = nullptr; // key in section "Message"; nullptr when accepted
    const char* DefaultText = nullptr; // compiled default of that message
    int Check = 0; // number of the failing check where a rule numbers them (ValidateIP: 1 to 10)
    // When set, the default of Key is this key's text (itself defaulting to DefaultText): the WEP
    // key messages all fall back to ER_WEPKey.
    const char* FallbackKey = nullptr;

    bool Ok() const { return Key == nullptr; }
    // The message text: [Message] Key from the settings store, its default when absent.
    QString Text() const;

    static CCheckResult Accept() { return {}; }
    static CCheckResult Refuse(const char* key, const char* defaultText, int check = 0)
    {
        return { key, defaultText, check, nullptr };
    }
};

// [Message] key from the settings store (g_Var.Ini), def when the store or the key is absent.
QString MessageText(const char* key, const char* def);

// The message keys and compiled defaults.
namespace msg {
inline constexpr const char* ErIPAddr = "ErIPAddr";
inline constexpr const char* ErIPAddrText = "The IP Address entered is invalid.";
inline constexpr const char* ErSubnetMask = "ErSubnetMask";
inline constexpr const char* ErSubnetMaskText = "The Subnet Mask entered is invalid.";
inline constexpr const char* ErIPSameAsLocahost = "ErIPSameAsLocahost";
inline constexpr const char* ErIPSameAsLocahostText = "The IP Address is the same as local host IP.";
inline constexpr const char* ErDefaultGateway = "ErDefaultGateway";
inline constexpr const char* ErDefaultGatewayText = "The Default Gateway entered is invalid.";
inline constexpr const char* ER_CONNECT = "ER_CONNECT";
inline constexpr const char* ER_CONNECTText = "Unable to connect to the device.";
inline constexpr const char* ER_LOGIN = "ER_LOGIN";
inline constexpr const char* ER_LOGINText = "Unable to login the deivce.";
inline constexpr const char* ER_Empty_SSID = "ER_Empty_SSID";
inline constexpr const char* ER_Empty_SSIDText = "No SSID";
// An SSID that does not fit the 32-character (32-byte) field; the pages cut such a text instead.
inline constexpr const char* ER_SSID_Length = "ER_SSID_Length";
inline constexpr const char* ER_SSID_LengthText = "The SSID can have at most 32 characters.";
inline constexpr const char* ER_WEPKey = "ER_WEPKey";
inline constexpr const char* ER_WEPKeyText = "You have entered an incorrect WEP key. Please try again.";
inline constexpr const char* ER_WEP64 = "ER_WEP64";
inline constexpr const char* ER_WEP64Hex = "ER_WEP64Hex";
inline constexpr const char* ER_WEP128 = "ER_WEP128";
inline constexpr const char* ER_WEP128Hex = "ER_WEP128Hex";
inline constexpr const char* ER_PSKKeyHex = "ER_PSKKeyHex";
inline constexpr const char* ER_PSKKeyHexText = "Passphrase should be 64 hex digits.";
inline constexpr const char* ER_PSKKey = "ER_PSKKey";
inline constexpr const char* ER_PSKKeyText
    = "Passphrase should be between 8 to 63 charachers in ASCII format.";
inline constexpr const char* ER_PIN_Code = "ER_PIN_Code";
inline constexpr const char* ER_PIN_CodeText = "Invaild PIN Code";
inline constexpr const char* ER_SSID = "ER_SSID";
inline constexpr const char* ER_SSIDText = "Invaild SSID";
inline constexpr const char* ER_Ethr_Interface = "ER_Ethr_Interface";
inline constexpr const char* ER_Ethr_InterfaceText = "Unable to initialize adapter interface.";
} // namespace msg

// ---------------------------------------------------------------------------------------------
// IP addresses: the four boxes of an address editor and the arithmetic on them
// ---------------------------------------------------------------------------------------------

// The raw texts of an address editor's four boxes (GetOctet(1) to GetOctet(4)).
struct CIpBoxes
{
    std::array<QString, 4> Box;

    // Every box empty (after trimming) / at least one box empty.
    bool AllEmpty() const;
    bool AnyEmpty() const;
    // box 1 x 2^24 + box 2 x 2^16 + box 3 x 2^8 + box 4, each box read with OctetValue after
    // trimming (host order).
    std::uint32_t Value() const;
    // The editor's dotted text (GetText): empty when all four boxes are empty, otherwise the four
    // OctetValues joined by "." (an empty box counts as 0).
    QString Text() const;

    // The editor's SetText: the text split at "."; box i takes part i, empty when there are fewer
    // parts; parts after the fourth are dropped. The parts are not cleaned.
    static CIpBoxes FromText(const QString& text);
    // A host-order address as four boxes ("192", "168", "1", "20").
    static CIpBoxes FromValue(std::uint32_t value);
};

// The editor's octet rule: the text cut before its first character that is not a digit 0-9; an
// empty result gives 0, a value of 256 or more 255.
int OctetValue(const QString& box);
// The editor's cleaning of a box as it changes: cut before the first non-digit, a number of 256
// or more becomes "255", an empty or failed conversion the empty text.
QString CleanOctetText(const QString& box);

// Strict reading of a typed dotted address (command line): exactly four dot-separated parts, each
// one to three digits with a value of at most 255; spaces around the parts are allowed. The empty
// text reads as four empty boxes. False for anything else (boxes then unchanged).
bool ParseDottedBoxes(const QString& text, CIpBoxes& boxes);

// The mask the IP page proposes when the mask editor gets the focus empty: nothing when the IP
// editor is empty; otherwise from its first box as a number n (an empty first box counts as 0):
// "255.0.0.0" below 128, "255.255.255.0" from 192, "255.255.0.0" between.
QString ProposedMask(const CIpBoxes& ip);

// The .255 -> .254 correction applied to the IP editor's dotted text before validation: when the
// text's last part has the value 255, its last character becomes "4". True when it changed.
bool CorrectBroadcastHost(QString& dottedText);

// The IP page's ten checks, in order; the first that fails names its message:
//   1 every IP box filled (ErIPAddr); 2 a usable host address: not 0, below 224.0.0.0, first octet
//   neither 127 nor 255 (ErIPAddr); 3 every mask box filled (ErSubnetMask); 4 contiguous mask,
//   neither 0 nor 255.255.255.255 (ErSubnetMask); 5 host part neither all zeros nor all ones
//   (ErIPAddr); 6 the IP text differs from lastLocalIp (ErIPSameAsLocahost); 7 an all-empty gateway
//   ends the checks with success; 8 every gateway box filled (ErDefaultGateway); 9 gateway in the
//   address's subnet (ErDefaultGateway); 10 gateway host part neither all zeros nor all ones
//   (ErDefaultGateway).
// lastLocalIp is the engine's LastLocalIP (the computer's address on the adapter that heard the
// device); pass the empty text to leave check 6 out.
CCheckResult ValidateIP(
    const CIpBoxes& ip, const CIpBoxes& mask, const CIpBoxes& gateway, const QString& lastLocalIp);

// True when m is a subnet mask of contiguous ones from the top, neither 0 nor 255.255.255.255.
bool IsContiguousMask(std::uint32_t m);

// ---------------------------------------------------------------------------------------------
// Wireless profile: SSID, WEP key, pre-shared key
// ---------------------------------------------------------------------------------------------

inline constexpr int SSID_MAX_CHARS = 32; // and at most 32 UTF-8 bytes (the field holds 33 with NUL)

// The SSID page's rule: the empty text is refused ("No SSID"); every other text, spaces alone
// included, is accepted when it fits the field (at most 32 characters and 32 UTF-8 bytes),
// otherwise refused with ER_SSID_Length.
CCheckResult CheckSsid(const QString& ssid);
// True when the text fits the SSID field whole.
bool SsidFitsField(const QString& ssid);

// Character limit of the WEP key edit for the key length code: 26 for 1 (128 bit), 10 otherwise.
int WepKeyLimit(int keyLength);

// The WEP page's CheckKey: the form of the key for an edit whose character limit is limit:
// 0 (ASCII) when its length is half the limit (the characters are not examined), 1 (hex) when its
// length is the limit and every character a hexadecimal digit, -1 otherwise; then *error (if given)
// names the message of KeyErrorText(keyLength, length == limit): its Text() equals that text.
int CheckKey(int keyLength, const QString& key, int limit, CCheckResult* error = nullptr);
// The message key of a refused WEP key: ER_WEP64Hex / ER_WEP64 / ER_WEP128Hex / ER_WEP128 for key
// length 0 or 1 with or without a hexadecimal fault; nullptr for another length.
const char* KeyErrorKey(int keyLength, bool hexFault);
// The text of a refused WEP key: [Message] ER_WEPKey (default "You have entered an incorrect WEP
// key. Please try again.") is K; then the key of KeyErrorKey with K as its default, or K itself.
QString KeyErrorText(int keyLength, bool hexFault);
// The key as stored: form 0 the text when its length is half the limit, form 1 the text in upper
// case when its length is the limit and it is all hexadecimal digits; the empty text otherwise.
QString NormalizedKey(const QString& key, int limit, int form);

// The PSK page's CheckPassphrase: 64 characters must all be hexadecimal digits (ER_PSKKeyHex);
// 8 to 63 characters of any kind are accepted; any other length is refused (ER_PSKKey). A text
// whose UTF-8 form does not fit the 128-byte key field is refused with ER_PSKKey too.
CCheckResult CheckPassphrase(const QString& passphrase);

// The cipher that goes with a WPA mode code: 0 TKIP for 0 (WPA), 1 AES for 1 (WPA2), 2 otherwise.
int CipherForWpaMode(int wpaMode);

// ---------------------------------------------------------------------------------------------
// WPS
// ---------------------------------------------------------------------------------------------

// The WPS page's PIN rule for the PIN typed in access-point mode: exactly 8 digits (the edit
// takes digits only, Next needs 8). An empty text is refused with ER_PIN_Code, like any other
// text that is not 8 digits.
CCheckResult CheckWpsPin(const QString& pin);
// The WPS check digit of the first seven digits (0 to 9999999) of a PIN.
int WpsPinChecksum(std::uint32_t first7);
// True when the eighth digit of an eight-digit PIN is the check digit of the first seven.
bool WpsPinChecksumValid(std::uint32_t pin);

// The text of a WPS status code as the log and the WPS page name it ("Unknown" for others).
QString WpsStatusText(int code);

// ---------------------------------------------------------------------------------------------
// Site survey texts
// ---------------------------------------------------------------------------------------------

// Encryption code 0..4: "Not Use", "WEP", "TKIP", "AES", "TKIP/AES"; empty for other codes.
QString SurveyEncryptionText(int code);
// Authentication code: 0 "OPEN", 2 "WPA-PSK", 3 "WPA2-PSK", 4 "WPA-PSK/WPA2-PSK", 5 "WPA",
// 6 "WPA2", 7 "WPA/WPA2"; empty for 1 and other codes.
QString SurveyAuthenticationText(int code);
