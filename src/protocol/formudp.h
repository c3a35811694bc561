// The protocol engine: sends one request at a time through every adapter socket, checks and
// reads the replies into g_Var and its lists, times out, and tells the pages with messages posted
// to the application's main window. A hidden window object (no widget), so a console program can
// run it under a core event loop.
#pragma once

#include "platform/core/messages.h"
#include "platform/core/timer.h"
#include "protocol/codec/packet.h"
#include "protocol/codec/rc4.h"
#include "protocol/codec/records.h"
#include "protocol/iphelp.h"
#include "protocol/udpmessages.h"
#include "protocol/udpsocket.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class TFormUDP : public QObject, public CMessageReceiver
{
    Q_OBJECT
public:
    // Runs FormCreate; the first engine created becomes FormUDP.
    explicit TFormUDP(QObject* owner = nullptr);
    // Runs FormDestroy (a device still logged in is logged out first).
    ~TFormUDP() override;

    void FormCreate();
    void FormDestroy();

    // Requests. timeout in milliseconds; 0 sends without waiting. All return true except
    // SendDiscover, which returns false when it re-opens the sockets and none can be opened.
    bool SendDiscover(std::uint32_t timeout, bool reinit);
    bool SendLogin(std::uint32_t timeout);
    bool SendLogout(std::uint32_t timeout);
    bool SendGetConfig(std::uint32_t timeout);
    bool SendGetMode(std::uint32_t timeout);
    bool SendIPSetting(std::uint32_t timeout);
    bool SendWlSetting(std::uint32_t timeout);
    bool SendWlStationSetting(std::uint32_t timeout);
    bool SendWPSPBC(std::uint32_t timeout);
    bool SendWPSPIN(std::uint32_t timeout);
    bool SendStationWPSPBC(std::uint32_t timeout);
    bool SendStationWPSPIN(std::uint32_t timeout);
    bool SendSetMode(std::uint32_t timeout, int mode);
    bool SendSiteSurvey(std::uint32_t timeout);
    bool SendStationGetConfig(std::uint32_t timeout);

    // Logs the plain packet, enciphers its payload in place and sends it through every socket
    // (each with its adapter's MAC) to 255.255.255.255:DestPort. Send failures are ignored.
    void SendPacket(Packet& packet);
    // Logs out a device still logged in, then destroys every socket.
    void CloseSockets();
    // One socket per adapter; true when at least one was opened.
    bool InitInterfaces();
    void ClearDeviceList();
    void ClearSurveyList();

    // Append copies of the records, in list order (the WPS list: only access points offering WPS).
    void GetDeviceList(std::vector<tag_DEV_INFO>& list) const;
    void GetSurveyList(std::vector<tag_AP_ROFIILE>& list) const;
    void GetWpsSurveyList(std::vector<tag_AP_ROFIILE>& list) const;

    // UM_SOCKET reads the waiting datagram; everything goes on to the default handling.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Receive path.
    void UDPSocketRead(CUDPSocket* socket);
    void ProcRecvData(
        std::uint8_t* data, int size, CUDPSocket* socket, std::uint16_t sourcePort, const QString& sourceIp);
    void RecvDiscover(const std::uint8_t* data, int size, CUDPSocket* socket, const QString& sourceIp);
    void RecvLogin(const std::uint8_t* data, int size);
    void RecvLogout(const std::uint8_t* data, int size);
    void RecvGetConfig(const std::uint8_t* data, int size);
    void RecvSetConfig(const std::uint8_t* data, int size);
    void RecvEvent(const std::uint8_t* data, int size);
    void RecvSiteSurvey(const std::uint8_t* data, int size);
    void RecvStationGetConfig(const std::uint8_t* data, int size);

    void TimerWaitTimer(TTimer* sender);
    // "[Tx] size=%d" or "[Rx] %s:%d size=%d", then the bytes sixteen to a line.
    void DumpPacket(
        bool received, const std::uint8_t* data, int size, std::uint16_t sourcePort, const QString& sourceIp);

    // The arguments of "ip" that empty the neighbour cache of each adapter in use; never for
    // loopback.
    static QList<QStringList> NeighbourFlushCommands(const std::vector<QString>& devices);
    // Runs a command hidden, detached and not awaited (test seam: replace to record the calls).
    static std::function<void(const QString& program, const QStringList& args)> RunHidden;

    const std::vector<CUDPSocket*>& Sockets() const { return SocketList; }
    const std::vector<tag_DEV_INFO>& Devices() const { return DeviceList; }
    const std::vector<tag_AP_ROFIILE>& Survey() const { return SurveyList; }

    TTimer* TimerWait = nullptr;
    int PendingOp = OP_NONE;
    MacAddress OwnMAC {};
    MacAddress PeerMAC {}; // all ones: any sender; all zero until the first discovery
    std::uint16_t DestPort = 0;
    bool LoggedIn = false;
    QString LastLocalIP;

private:
    // The common end of every request: PendingOp, SendPacket, the wait timer.
    bool SendRequest(int op, Packet packet, std::uint32_t timeout);
    bool IsOwnSocket(const CUDPSocket* socket) const;
    void PostToMain(UINT msg, WPARAM wParam, LPARAM lParam);
    // Deciphers a received payload in place with the keystream of the current password.
    void DecipherPayload(std::uint8_t* data, int size);

    std::vector<CUDPSocket*> SocketList;
    std::vector<tag_DEV_INFO> DeviceList;
    std::vector<tag_AP_ROFIILE> SurveyList;
    std::vector<std::uint8_t> m_recvBuffer; // zero outside the datagram being read
    bool m_reading = false;

    // Every payload is enciphered from a fresh key schedule, so all of them share the keystream
    // of the password: it is kept, and grown as longer payloads arrive, until the password changes.
    QString m_keyPassword;
    bool m_keyValid = false;
    Rc4State m_keyState {}; // the generator after the bytes already in m_keystream
    std::vector<std::uint8_t> m_keystream;
    std::vector<MacAddress> m_socketMacs; // adapter MAC of every socket, for the receive checks
};

extern TFormUDP* FormUDP;
