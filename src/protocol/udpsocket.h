// One UDP socket per network adapter. The socket tells its owner that a datagram waits with a
// message sent synchronously; readiness comes from a socket notifier on the GUI thread, which
// stands in for the socket's own hidden window.
#pragma once

#include "platform/core/messages.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QSocketNotifier;

// Readiness of a socket, to the socket's own window procedure (wParam the socket handle,
// lParam the event in the low word and the error in the high word).
constexpr UINT UM_SOCKET_SELECT = WM_APP + 1;

// Readiness events in the low word of UM_SOCKET_SELECT's lParam.
constexpr LPARAM FD_READ = 0x01;
constexpr LPARAM FD_CONNECT = 0x10;
constexpr LPARAM FD_CLOSE = 0x20;

// Receive buffer asked for, so that a burst of a thousand discovery answers is not dropped.
constexpr int UDP_RECEIVE_BUFFER = 4 * 1024 * 1024;

class CUDPSocket : public QObject, public CMessageReceiver
{
    Q_OBJECT
public:
    CUDPSocket();
    ~CUDPSocket() override;

    // Stores the owner and creates the socket; false when the socket cannot be created.
    bool Open(QObject* ownerWindow, UINT ownerMessage);
    // Creates, configures and binds the socket and starts the readiness notifications.
    bool CreateSocket();
    // Stops the notifications and closes the socket (nothing when closed).
    void Close();

    // One datagram to ip:port (host-order port, dotted ip); false when closed or sendto fails.
    bool Send(const void* data, int length, std::uint16_t port, const QString& ip);
    // One datagram into buffer: the byte count, -1 on a socket error, 0 when closed. The
    // sender's address and port (host order) are returned on success.
    int Recv(void* buffer, int size, std::uint16_t& port, QString& ip);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnUMSocket(WPARAM wParam, LPARAM lParam);

    int Handle() const { return m_socket; }
    bool IsOpen() const { return m_socket >= 0; }
    // True when the socket is tied to its interface (else it is bound to the adapter address).
    bool BoundToDevice() const { return m_boundToDevice; }
    // The receive buffer the kernel granted (0 when closed).
    int ReceiveBufferSize() const;

    // Filled by the engine before Open.
    std::uint8_t MAC[6] = {}; // adapter MAC
    QString LocalIP; // adapter address to bind to; empty means any address
    QString LocalMask; // adapter subnet mask
    std::uint16_t LocalPort = 0; // port to bind to
    QString Device; // interface name the socket is tied to; empty binds the address only

private:
    void OnReadable();

    bool m_started = false;
    int m_socket = -1;
    bool m_boundToDevice = false;
    QObject* m_owner = nullptr;
    UINT m_ownerMessage = 0;
    QSocketNotifier* m_notifier = nullptr;
    // The text of the latest sender's address, kept so that a run of datagrams from one sender
    // shares one string.
    std::uint32_t m_lastFrom = 0;
    QString m_lastFromText;
};
