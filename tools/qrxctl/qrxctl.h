// qrxctl's receiver: the application's main window of the command-line program. It drives the
// protocol engine through the same exchanges as the wizard's pages and takes the engine's
// messages in its window procedure. Each exchange runs in a nested event loop that stands in for
// the page's progress dialog: a start step, the page's message table, result 1 or 2.
#pragma once

#include "options.h"

#include "platform/core/messages.h"
#include "protocol/codec/records.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QEventLoop;
class TFormUDP;
class TTimer;

// Exit codes.
constexpr int EXIT_OK = 0;
constexpr int EXIT_DEVICE = 1; // refused, no answer, login failed
constexpr int EXIT_USAGE = 2; // bad usage or a value the wizard refuses

class TQrxCtl : public QObject, public CMessageReceiver
{
    Q_OBJECT
public:
    // Registers itself as the application's main window and creates the engine. The adapter
    // restriction (QRX_ADAPTERS) must be in force before.
    TQrxCtl(const CCtlOptions& options, const QString& password);
    ~TQrxCtl() override;

    // Runs the command; returns the exit code.
    int Run();

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    using Handler = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;

    // The progress dialog's part: runs start on the first turn of the loop, hands the engine's
    // messages to handler until the result is set (1 success, 2 failure) or the 300 s guard
    // ends it with failure.
    int RunExchange(const std::function<void()>& start, const Handler& handler);
    void EndExchange(int result);
    // The confirmation's write: the request sendWrite sends (isWrite knows its operation), a pause,
    // the configuration read back; a lapsed login or the first time-out of the write logs in again
    // and writes once more. 1 once the read-back has arrived, 2 otherwise.
    int WriteAndReadBack(const std::function<void()>& sendWrite, const std::function<bool(int op)>& isWrite);
    // Waits for the engine's answer to a request sent without an exchange (the pages' CanEnter
    // requests): true when a UM_UDP_RECV for op arrived before its time-out.
    bool WaitForReply(int op);

    // Steps shared by the commands.
    int Discover(std::vector<tag_DEV_INFO>& devices);
    int SelectDevice(const std::vector<tag_DEV_INFO>& devices);
    int Login();

    int CmdDiscover();
    int CmdShow();
    int CmdSetIp();
    int CmdSetMode();
    int CmdSetWireless();
    int CmdWps();
    int CmdSurvey();
    int CmdStationPin();

    // Discovery, choice of the device and login: EXIT_OK when logged in.
    int Connect();
    // Checks that need no device; EXIT_OK or EXIT_USAGE (message printed).
    int PreCheck();

    // A failed write or login: the message and EXIT_DEVICE.
    int Fail(const char* key, const char* def);
    void PrintError(const QString& text) const;
    void PrintOut(const QString& text) const;
    void PrintConfig() const;

    CCtlOptions Opt;
    QString Password;
    std::unique_ptr<TFormUDP> Engine;

    // The exchange in progress.
    QEventLoop* Loop = nullptr;
    Handler Current;
    int Result = 0;
    bool Open = false;
    // The request sent outside an exchange that WaitForReply follows.
    int Awaited = 0;
    int AwaitedOutcome = 0; // 0 waiting, 1 answered, 2 timed out

    bool RetryLogin = false;
    bool Listening = false;
    TTimer* TimerTimerout = nullptr; // WPS listening limit
    std::vector<int> WpsEvents;
};
