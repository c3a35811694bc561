// Shared pieces of the engine tests: a private loopback, a scripted device on UDP port 5432, a
// receiver standing in for the application's main window, and a capture of the diagnostic log.
//
// Broadcast on lo (checked on Linux 6.x): a datagram sent to 255.255.255.255:5432 from a socket
// bound to 0.0.0.0:5433 and tied to lo with SO_BINDTODEVICE is delivered to sockets bound to
// 0.0.0.0:5432 (not to one bound to a 127.x address), and its source appears as 0.0.0.0:5433,
// because lo has no broadcast address to take one from. The scripted device therefore listens on
// the any-address and answers to 127.0.0.1:5433 (the engine socket's address), from a socket
// bound to 127.0.1.k:5432 so that each simulated device has its own source address.
#pragma once

#include "platform/core/messages.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/packet.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace enginetest {

// Waits, dispatching events, until cond holds or ms real milliseconds pass.
bool WaitFor(const std::function<bool()>& cond, int ms = 5000);
// Dispatches every event that is already due (posted messages included).
void DrainEvents();

// A message the engine posted to the application's main window.
struct Posted
{
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const Posted&) const = default;
};

class MainWindowCatcher : public QObject, public CMessageReceiver
{
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        Messages.push_back({ msg, wParam, lParam });
        return DefaultHandler(msg, wParam, lParam);
    }
    std::vector<Posted> Messages;
};

// The diagnostic log redirected to a temporary file for the life of the object.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    std::string Text() const;
    std::vector<std::string> Lines() const; // the texts of the entries, without time and thread
    bool Has(const std::string& text) const; // an entry whose text is exactly this
    int Count(const std::string& text) const;
    void Clear();

private:
    std::string m_path;
    int m_fd = -1;
    int m_previous = -1;
};

// One request as the device received it.
struct SeenRequest
{
    Packet Wire; // bytes as they arrived (payload enciphered)
    Packet Plain; // payload deciphered
    DeviceRequest Req;
    std::uint16_t LocalPort = 0; // port it was sent to
};

// A scripted device: listens on the given ports of the any-address, records every request and
// answers with what the script returns.
class ScriptedDevice
{
public:
    struct Reply
    {
        Packet Data; // plain; enciphered on sending unless the command is 0 or Raw is set
        std::string SourceIp = "127.0.1.1";
        bool Raw = false; // sent exactly as given
    };
    using Script = std::function<std::vector<Reply>(const SeenRequest&)>;

    explicit ScriptedDevice(std::vector<std::uint16_t> ports = { 5432 });
    ~ScriptedDevice();

    bool Ok() const { return m_ok; }
    // The administrator password the device deciphers and enciphers with.
    std::string Password;
    Script OnRequest;
    std::vector<SeenRequest> Requests;

    // Sends a datagram to the engine's socket (127.0.0.1:5433) from sourceIp:5432.
    bool SendToEngine(const Packet& data, const std::string& sourceIp, bool raw = false);

private:
    void ReadOne(int fd, std::uint16_t port);
    int SenderFor(const std::string& ip);

    bool m_ok = true;
    std::vector<int> m_listen;
    std::vector<std::unique_ptr<QSocketNotifier>> m_notifiers;
    std::map<std::string, int> m_senders;
};

inline MacAddress Mac(std::uint8_t last)
{
    return { 0x00, 0x1E, 0x5A, 0x10, 0x20, last };
}

} // namespace enginetest
