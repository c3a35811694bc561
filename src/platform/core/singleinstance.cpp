#include "platform/core/singleinstance.h"

#include "app/debug.h"

#include <QCryptographicHash>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

QByteArray CInstanceMarker::SocketName(const QString& name)
{
    // Per user: the user id is part of the name. The marker name itself may be any text, so it is
    // hashed to fit the socket address.
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QByteArray("qrx-setup/instance/") + QByteArray::number(static_cast<qulonglong>(::getuid())) + '/'
        + hash;
}

CInstanceMarker::Result CInstanceMarker::Create(const QString& name)
{
    Close();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return Result::Failed;
    }
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    const QByteArray id = SocketName(name);
    // Abstract namespace: a leading NUL; the name vanishes with the last descriptor.
    std::memcpy(addr.sun_path + 1, id.constData(), static_cast<std::size_t>(id.size()));
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + id.size());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), len) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EADDRINUSE ? Result::AlreadyExists : Result::Failed;
    }
    fd_ = fd;
    return Result::Created;
}

void CInstanceMarker::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool CheckSingleInstance(const QString& mutexName, CInstanceMarker& marker)
{
    switch (marker.Create(mutexName)) {
    case CInstanceMarker::Result::Created:
        return true;
    case CInstanceMarker::Result::AlreadyExists:
        DebugPrint("FAIL another instance is running");
        return false;
    case CInstanceMarker::Result::Failed:
        break;
    }
    DebugPrint("FAIL CreateMutex()");
    return false;
}
