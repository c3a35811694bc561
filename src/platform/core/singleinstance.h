#pragma once
// Single-instance marker: a per-user system object named by the settings' mutex name that exists
// while the process holds it and vanishes with the process, even after a crash (an abstract-
// namespace Unix socket).

#include <QString>

class CInstanceMarker
{
public:
    enum class Result { Created, AlreadyExists, Failed };

    CInstanceMarker() = default;
    ~CInstanceMarker() { Close(); }
    CInstanceMarker(const CInstanceMarker&) = delete;
    CInstanceMarker& operator=(const CInstanceMarker&) = delete;

    // Creates the marker for name; held until Close or destruction when Created.
    Result Create(const QString& name);
    void Close();
    bool IsHeld() const { return fd_ >= 0; }

    // The abstract socket name used for a marker name (per user).
    static QByteArray SocketName(const QString& name);

private:
    int fd_ = -1;
};

// True when this is the only running instance for mutexName; the marker stays held. Logs
// "FAIL CreateMutex()" when the marker cannot be made, "FAIL another instance is running" when
// another process holds it.
bool CheckSingleInstance(const QString& mutexName, CInstanceMarker& marker);
