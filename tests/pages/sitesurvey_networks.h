#pragma once
// A dozen access points around the emulated bridge, for the survey list tests and screenshots:
// unique signals, channels and BSSIDs, every encryption and authentication code, mixed-case names,
// seven of them offering WPS.

#include "app/utils.h"
#include "protocol/codec/records.h"

#include <QString>
#include <QStringList>

#include <cstring>
#include <vector>

namespace surveytest {

struct TNetwork
{
    const char* ssid;
    unsigned char bssid[6];
    int signal;
    int channel;
    int encryption;
    int authentication;
    int icon;
    bool wps;
};

inline const std::vector<TNetwork>& Dozen()
{
    static const std::vector<TNetwork> nets {
        { "HomeNet", { 0x02, 0xaa, 0, 0, 0, 0x01 }, 92, 6, 3, 3, 0, true },
        { "CoffeeShop", { 0x02, 0xaa, 0, 0, 0, 0x02 }, 71, 1, 0, 0, 0, false },
        { "office-WEP", { 0x02, 0xaa, 0, 0, 0, 0x03 }, 55, 11, 1, 1, 1, false },
        { "Lab-Mixed", { 0x0a, 0, 0, 0, 0, 0x04 }, 40, 3, 4, 4, 0, true },
        { "Guest", { 0x02, 0xaa, 0, 0, 0, 0x05 }, 19, 9, 2, 2, 1, true },
        { "Enterprise", { 0x12, 0, 0, 0, 0, 0x06 }, 100, 36, 3, 6, 0, true },
        { "Corp-Legacy", { 0x02, 0xab, 0, 0, 0, 0x07 }, 33, 2, 2, 5, 0, false },
        { "Campus", { 0x02, 0xaa, 0x01, 0, 0, 0x08 }, 64, 13, 4, 7, 1, true },
        { "mesh-node", { 0x02, 0xaa, 0, 0, 0, 0x09 }, 0, 4, 5, 0, 1, false },
        { "Printer", { 0x02, 0xaa, 0, 0, 0, 0x0a }, 80, 5, 0, 0, 1, true },
        { "Attic", { 0x02, 0xaa, 0, 0, 0, 0x0b }, 20, 7, 3, 3, 0, false },
        { "zeta", { 0x02, 0xaa, 0, 0, 0, 0x0c }, 79, 8, 2, 3, 0, true },
    };
    return nets;
}

inline tag_AP_ROFIILE Entry(const TNetwork& n)
{
    tag_AP_ROFIILE e {};
    CopyTextToField(QString::fromLatin1(n.ssid), e.SSID, int(sizeof e.SSID));
    std::memcpy(e.BSSID, n.bssid, 6);
    e.Signal = n.signal;
    e.Channel = n.channel;
    e.Encryption = std::uint8_t(n.encryption);
    e.Authentication = std::uint8_t(n.authentication);
    e.IconFlag = std::uint8_t(n.icon);
    e.WPS = n.wps;
    return e;
}

inline std::vector<tag_AP_ROFIILE> Entries()
{
    std::vector<tag_AP_ROFIILE> out;
    for (const TNetwork& n : Dozen()) {
        out.push_back(Entry(n));
    }
    return out;
}

// The "survey" member of an emulated device.
inline QString SurveyJson()
{
    QStringList items;
    for (const TNetwork& n : Dozen()) {
        items << QStringLiteral(R"({"ssid":"%1","bssid":"%2","signal":%3,"channel":%4,"encryption":%5,)"
                                R"("authentication":%6,"icon":%7,"wps":%8})")
                     .arg(QString::fromLatin1(n.ssid), MacToText(n.bssid).toLower())
                     .arg(n.signal)
                     .arg(n.channel)
                     .arg(n.encryption)
                     .arg(n.authentication)
                     .arg(n.icon)
                     .arg(n.wps ? QStringLiteral("true") : QStringLiteral("false"));
    }
    return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

// A bridge with the dozen networks around it; faults as JSON ("{}" for none).
inline QString BridgeConfig(const QString& faults = QStringLiteral("{}"))
{
    return QStringLiteral(R"({"devices":[{"mode":"bridge","idle_timeout_ms":0,"survey":%1,"faults":%2}]})")
        .arg(SurveyJson(), faults);
}

} // namespace surveytest
