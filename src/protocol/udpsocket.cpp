#include "protocol/udpsocket.h"

#include "app/debug.h"
#include "app/utils.h"

#include <QPointer>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The dotted form of a host-order IPv4 address, as inet_ntop writes it.
QString DottedText(std::uint32_t address)
{
    char text[16];
    int len = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        unsigned part = (address >> shift) & 0xFF;
        if (part >= 100) {
            text[len++] = char('0' + part / 100);
            part %= 100;
            text[len++] = char('0' + part / 10);
        } else if (part >= 10) {
            text[len++] = char('0' + part / 10);
        }
        text[len++] = char('0' + part % 10);
        if (shift > 0) {
            text[len++] = '.';
        }
    }
    return QString::fromLatin1(text, len);
}

} // namespace

CUDPSocket::CUDPSocket() = default;

CUDPSocket::~CUDPSocket()
{
    Close();
    m_started = false;
}

bool CUDPSocket::Open(QObject* ownerWindow, UINT ownerMessage)
{
    m_started = true;
    m_owner = ownerWindow;
    m_ownerMessage = ownerMessage;
    return CreateSocket();
}

bool CUDPSocket::CreateSocket()
{
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP);
    if (m_socket < 0) {
        return false;
    }
    const int one = 1;
    if (::setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, &one, sizeof(one)) != 0) {
        Close();
        return false;
    }
    // A burst of answers must wait in the kernel until the GUI thread reads them. As root the
    // system limit can be passed; otherwise the kernel grants what its limit allows.
    const int rcvbuf = UDP_RECEIVE_BUFFER;
    if (::setsockopt(m_socket, SOL_SOCKET, SO_RCVBUFFORCE, &rcvbuf, sizeof(rcvbuf)) != 0) {
        ::setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, &rcvbuf, sizeof(rcvbuf));
    }

    // Broadcast answers reach only a socket bound to the any-address, so the socket is bound there
    // and tied to its interface, which also makes its broadcasts leave through that interface
    // alone. Several adapters share the port, hence SO_REUSEADDR. When tying to the interface is
    // not permitted, the socket is bound to the adapter's address instead.
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(LocalPort);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    m_boundToDevice = false;
    if (!Device.isEmpty()) {
        const QByteArray dev = Device.toLocal8Bit();
        if (::setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one)) == 0
            && ::setsockopt(m_socket, SOL_SOCKET, SO_BINDTODEVICE, dev.constData(), socklen_t(dev.size()))
                == 0) {
            m_boundToDevice = true;
        }
    }
    // A socket tied to lo but bound to the any-address sends its broadcasts with another adapter's
    // address as the source (lo's own address has host scope), and the answers to that address do
    // not reach it: a loopback socket is bound to its own address as well.
    const bool loopbackAddress = LocalIP.startsWith(QLatin1String("127."));
    if ((!m_boundToDevice || loopbackAddress) && !LocalIP.isEmpty()) {
        const QByteArray ip = LocalIP.toLatin1();
        in_addr a {};
        if (inet_pton(AF_INET, ip.constData(), &a) != 1) {
            Close();
            return false;
        }
        addr.sin_addr = a;
    }
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        Close();
        return false;
    }

    // The port actually bound (port 0 asks for any). The local IP text stays the adapter's
    // address when the socket is bound to the any-address on its interface.
    sockaddr_in bound {};
    socklen_t len = sizeof(bound);
    if (::getsockname(m_socket, reinterpret_cast<sockaddr*>(&bound), &len) == 0) {
        LocalPort = ntohs(bound.sin_port);
        if (!m_boundToDevice) {
            char text[INET_ADDRSTRLEN] = {};
            if (inet_ntop(AF_INET, &bound.sin_addr, text, sizeof(text))) {
                LocalIP = QString::fromLatin1(text);
            }
        }
    }

    m_notifier = new QSocketNotifier(qintptr(m_socket), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CUDPSocket::OnReadable);
    DebugPrint("WSAAsyncSelect() OK");
    return true;
}

void CUDPSocket::Close()
{
    if (m_notifier) {
        // The notifier may be the sender of the signal being handled: let the event loop free it.
        m_notifier->setEnabled(false);
        m_notifier->disconnect(this);
        m_notifier->setParent(nullptr);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
    m_boundToDevice = false;
}

int CUDPSocket::ReceiveBufferSize() const
{
    if (m_socket < 0) {
        return 0;
    }
    int size = 0;
    socklen_t len = sizeof(size);
    return ::getsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, &size, &len) == 0 ? size : 0;
}

bool CUDPSocket::Send(const void* data, int length, std::uint16_t port, const QString& ip)
{
    if (m_socket < 0 || !data || length < 0) {
        return false;
    }
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    const QByteArray text = ip.toLatin1();
    if (inet_pton(AF_INET, text.constData(), &to.sin_addr) != 1) {
        to.sin_addr.s_addr = htonl(INADDR_NONE);
    }
    const ssize_t sent = ::sendto(m_socket, data, std::size_t(length), MSG_NOSIGNAL,
        reinterpret_cast<const sockaddr*>(&to), sizeof(to));
    return sent >= 0;
}

int CUDPSocket::Recv(void* buffer, int size, std::uint16_t& port, QString& ip)
{
    if (m_socket < 0) {
        return 0;
    }
    if (!buffer || size <= 0) {
        return -1;
    }
    sockaddr_in from {};
    socklen_t len = sizeof(from);
    ssize_t n;
    do {
        n = ::recvfrom(m_socket, buffer, std::size_t(size), 0, reinterpret_cast<sockaddr*>(&from), &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return -1;
    }
    const std::uint32_t address = ntohl(from.sin_addr.s_addr);
    if (m_lastFromText.isEmpty() || address != m_lastFrom) {
        m_lastFrom = address;
        m_lastFromText = DottedText(address);
    }
    ip = m_lastFromText;
    port = ntohs(from.sin_port);
    return int(n);
}

void CUDPSocket::OnReadable()
{
    if (!m_owner) {
        // Nobody reads: drop the datagram so that the notifier does not fire again for it.
        char byte;
        ::recv(m_socket, &byte, 1, 0);
        return;
    }
    // What Windows Sockets posts to the socket's hidden window on a waiting datagram.
    SendMessage(this, UM_SOCKET_SELECT, WPARAM(m_socket), FD_READ);
}

LRESULT CUDPSocket::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The owner may destroy this socket while it reads the datagram.
    QPointer<CUDPSocket> alive(this);
    if (msg == UM_SOCKET_SELECT) {
        OnUMSocket(wParam, lParam);
    }
    DebugPrint("CUDPSocket::WndProc()aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa "
               "%d, %d, %d, %d",
        int(UM_SOCKET_SELECT), int(msg), int(wParam), int(lParam));
    if (!alive) {
        return 0;
    }
    return DefaultHandler(msg, wParam, lParam);
}

void CUDPSocket::OnUMSocket(WPARAM wParam, LPARAM lParam)
{
    if (g_Debug.IsOn()) {
        DebugPrint("CUDPSocket::OnUMSocket(%s) %x %x", MacToText(MAC).toUtf8().constData(), unsigned(wParam),
            unsigned(lParam));
    }
    if (m_socket < 0 || wParam != WPARAM(m_socket)) {
        DebugPrint("  socket doesn't match");
        return;
    }
    if ((lParam & 0xFFFF) == FD_READ) {
        SendMessage(m_owner, m_ownerMessage, 1, LPARAM(this));
    }
}
