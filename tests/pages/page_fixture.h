// The wizard's pages against the access point emulator: a fixture that runs qrx-apsim as a child
// process on loopback, with the wizard window, the engine, the image form and a main-window relay
// like the launcher's, and helpers to walk the wizard to a page and to read the emulator's request
// log.
//
// Network: the test process moves itself, once, into a network namespace of its own with only
// loopback up (when it may: root), so the emulator's port 5432 and the engine's port 5433 never
// meet another test run on the machine, and nothing can leave the computer. Without that right it
// stays on the host's loopback. Either way the engine is restricted to lo (QRX_ADAPTERS=lo).
//
//   class MyPageTest : public pagetest::CPageFixture {};
//   TEST_F(MyPageTest, Something)
//   {
//       ASSERT_TRUE(StartDevice(1, R"({"devices":[{"faults":{"set_ip":{"result":0}}}]})"));
//       ASSERT_TRUE(ConnectDevice()); // device list -> login -> operating mode page
//       Apsim().MarkLog();
//       ...
//       EXPECT_EQ(Apsim().Keys(), QStringList({"set_ip"}));
//   }
#pragma once

#include "platform/core/messages.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class TFrameBase;
class TFormUDP;
class TFormRes;
class TFormMain;

namespace pagetest {

// Waits, dispatching events, until cond holds or ms real milliseconds pass; true when it holds.
bool WaitFor(const std::function<bool()>& cond, int ms = 15000);
// Dispatches the events already due (posted messages included).
void ProcessEvents();

// Moves the process into a private network namespace with loopback up (once; later calls return
// the first outcome). False when it cannot (not root): the host's loopback is used then.
bool EnterPrivateNetwork();

// The diagnostic log redirected into a temporary file for the life of the object.
class CLogCapture
{
public:
    CLogCapture();
    ~CLogCapture();
    // The texts of the entries written so far (without time and thread).
    QStringList Entries() const;

private:
    QTemporaryDir m_dir;
    int m_fd = -1;
    int m_previous = -1;
};

// One REQ line of the emulator's output.
struct CApsimRequest
{
    QString Dev; // "1", "all", "-"
    QString Cmd; // "CMD_LOGIN"
    QString Key; // "login", "set_ip", ...
    QString Note; // empty, or "not-logged-in", ...
    QString Items; // the deciphered items as text
    QString Line;
};

// qrx-apsim as a child process.
class CApsim
{
public:
    CApsim();
    ~CApsim();

    // Starts N devices with the configuration (JSON text; empty: factory settings), the time scale
    // and further arguments; waits for its READY line. False when it did not start.
    bool Start(int devices, const QString& configJson = {}, double timeScale = 0.05,
        const QStringList& extraArgs = {});
    // SIGTERM and wait.
    void Stop();
    bool Running() const;

    // Every output line since the last MarkLog (all lines with all = true).
    QStringList Lines(bool all = false);
    // The REQ lines since the last MarkLog.
    std::vector<CApsimRequest> Requests();
    // The command keys of the requests that device dev took, since the last MarkLog, in order.
    QStringList Keys(const QString& dev = QStringLiteral("1"));
    // How many requests with this key device dev took since the last MarkLog.
    int Count(const QString& key, const QString& dev = QStringLiteral("1"));
    // Later queries see only the lines that come after this call.
    void MarkLog();
    // Waits until a line since the last mark starts with prefix.
    bool WaitForLine(const QString& prefix, int ms = 15000);
    // The emulator's standard error so far (diagnostics of a failed start).
    QString ErrorText();

private:
    void Collect();

    QProcess m_proc;
    QTemporaryDir m_dir;
    QStringList m_lines;
    QString m_partial;
    qsizetype m_mark = 0;
};

// Stands in for the launcher, the application's main window: UM_WIZARD and the engine's messages
// go on synchronously to the wizard window. Every UM_WIZARD kind is recorded.
class CMainRelay : public QObject, public CMessageReceiver
{
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::vector<WPARAM> Wizard; // the kinds of UM_WIZARD, in order
};

// The fixture: emulator, settings folder, g_Var, time scale, dialog seam, image form, engine,
// relay and wizard window, all fresh for every test.
class CPageFixture : public ::testing::Test
{
protected:
    CPageFixture();
    ~CPageFixture() override;

    void SetUp() override;
    void TearDown() override;

    // The settings file's text (empty by default). Set before SetUp (in the test class's
    // constructor) to change texts or switches such as NonWorking.
    QString IniText;
    // The program's time scale and the emulator's (set before SetUp).
    double Scale = 0.05;

    // Starts the emulator; see CApsim::Start.
    bool StartDevice(int devices = 1, const QString& configJson = {}, const QStringList& extraArgs = {});
    CApsim& Apsim() { return *m_apsim; }
    CMainRelay& Relay() { return *m_relay; }
    TFormMain* Main() const;

    // The wizard window's page switch (runs the pages' operations); true when it happened.
    bool Navigate(TFrameBase* page, int direction = 0);
    // Walks the real road: device list (forward entry, discovery), row `row` selected, Configure,
    // login with the password, up to the operating mode page with its mode query answered. Ends
    // with the dialog seam's record cleared. False (with a test failure) when a step did not
    // happen.
    bool ConnectDevice(int row = 0, const QString& password = {});
    // On the device list page, after a forward entry: waits for the search to end.
    bool WaitSearchDone();
    // Waits until the engine has no request waiting.
    bool WaitEngineIdle(int ms = 15000);
    // Waits until the wizard window shows the page.
    bool WaitForPage(TFrameBase* page, int ms = 15000);

    // The texts of the message boxes shown since the last call (or SetUp).
    QStringList TakeShownTexts();

    // A text as the settings file would give it ([Message] key with the default).
    static QString MessageOf(const char* key, const char* def);

    QString FolderPath() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CApsim> m_apsim;
    std::unique_ptr<CMainRelay> m_relay;
    std::unique_ptr<TFormRes> m_res;
    TFormUDP* m_engine = nullptr;
    TFormMain* m_main = nullptr;
    qsizetype m_shownSeen = 0;
};

} // namespace pagetest
