#pragma once
// The one global state object: the program's folder, the settings store, the product texts, the
// device the user picked, its configuration as read and as being prepared, the wizard's choices
// and the option texts of the wireless settings.

#include "app/threadini.h"
#include "protocol/codec/records.h"

#include <QString>

#include <memory>

class CGlobalVar
{
public:
    CGlobalVar();
    virtual ~CGlobalVar();

    CGlobalVar(const CGlobalVar&) = delete;
    CGlobalVar& operator=(const CGlobalVar&) = delete;

    // Loads the settings of the program's own path (/proc/self/exe). Always true.
    bool Init();
    // Same for a given program path (tests and tools). Always true.
    bool InitFrom(const QString& programPath);

    // IP_MODE 1 (automatic), every address 0.
    void ResetIPConfig(tag_IP_CONFIG& config);
    // Defaults of the wireless settings; SSID from [Setting] SSID (default "wireless"), cut to 32
    // characters and, by whole characters, to 32 UTF-8 bytes. WL_MODE keeps its value.
    void ResetWlConfig(tag_WL_CONFIG& config);
    // Opens [Product] UserGuide (relative to AppPath): 0 opened, 2 cannot be opened, 3 no program
    // registered for the document's type.
    int OpenUserGuide();

    QString AppPath; // program folder with a trailing '/'
    std::unique_ptr<CThreadIni> Ini;
    QString ShortName;
    QString MutexName;
    QString AppTitle;
    QString MsgTitle;
    QString AcrobatReader;
    QString AcrobatReaderTitle;
    QString Password;
    bool NonWorking = false;
    tag_DEV_INFO SelectedDevice {};
    int SetupMethod = 0; // 0 IP settings, 1 wireless settings, 2 advanced settings
    int DeviceMode = 0; // DEVICE_AP or DEVICE_WBRIDGE
    int WlMethod = 0; // 0 WPS, 1 profile / chosen AP, 2 manual entry (bridge)
    char ApClientPIN[12] = {};
    int WpsMethod = 0; // 1 push button, any other value PIN
    tag_AP_ROFIILE SelectedAP {};
    tag_IP_CONFIG DevIPConfig {};
    tag_IP_CONFIG NewIPConfig {};
    tag_WL_CONFIG DevWlConfig {};
    tag_WL_CONFIG NewWlConfig {};
    bool LicenseAccepted = false;

    // Option texts, indexed by the code of the matching tag_WL_CONFIG field.
    QString SecurityText[4];
    QString AuthText[3];
    QString WepLenText[2];
    QString WpaModeText[3];
    QString CipherText[3];
    QString WlModeText[10];

    // Full path of the settings file (set by Init).
    QString IniPath;
};

extern CGlobalVar g_Var;
