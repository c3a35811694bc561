// The pages against many devices and long lists:
//  - discovery of 1,000 emulated devices (qrx-apsim on loopback) from the device list page of the
//    wizard window: every device listed, none lost, and the time from the engine's wait timer
//    firing to the list filled and painted;
//  - a maximum-size site survey (1,336 entries, one 64 KB datagram): the engine's receive path
//    (checks, decipher, decoding), the site survey page's fill and sort, and the first paint.
// Runs in a network namespace of its own with only loopback up (when permitted; else on the host's
// loopback), and the engine is restricted to lo.
#include "app/globalvar.h"
#include "controls/sortlistview.h"
#include "pages/framedevlist.h"
#include "pages/framesitesurvey.h"
#include "platform/core/clock.h"
#include "platform/core/messages.h"
#include "platform/core/notify.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/packet.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/wizardmessages.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "private_loopback.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& cond, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) {
            return cond();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Stands in for the launcher: the engine's messages go on synchronously to the wizard window.
class CMainRelay : public QObject, public CMessageReceiver
{
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if ((msg == UM_WIZARD || msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT || msg == UM_UDP_EVENT)
            && FormMain) {
            SendMessage(FormMain, msg, wParam, lParam);
            if (msg == UM_UDP_TIMEOUT && OnTimeoutHandled) {
                OnTimeoutHandled();
            }
        }
        return DefaultHandler(msg, wParam, lParam);
    }
    std::function<void()> OnTimeoutHandled;
};

// The program's surroundings: settings folder, g_Var, image form, relay, engine, wizard window.
struct CWizard
{
    CWizard()
    {
        QFile ini(dir.filePath(QStringLiteral("qrx-setup.ini")));
        if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            ini.close();
        }
        g_Var.InitFrom(dir.filePath(QStringLiteral("qrx-setup")));
        DialogSeam::Reset();
        DialogSeam::Enable(true); // no modal box ever blocks the run
        InstallSimpleMessageBox();
        SetApplicationMainWindow(&relay);
        res = std::make_unique<TFormRes>();
        FormRes = res.get();
        engine = std::make_unique<TFormUDP>();
        FormUDP = engine.get();
        main = std::make_unique<TFormMain>();
        FormMain = main.get();
        main->show();
        WaitFor([] { return false; }, 50); // the first WZ_NEXT and the first paint
    }
    ~CWizard()
    {
        main.reset();
        FormMain = nullptr;
        engine.reset();
        FormUDP = nullptr;
        QCoreApplication::processEvents();
        SetApplicationMainWindow(nullptr);
        FormRes = nullptr;
        res.reset();
        SetSimpleMessageHandler({});
        DialogSeam::Reset();
    }

    QTemporaryDir dir;
    CMainRelay relay;
    std::unique_ptr<TFormRes> res;
    std::unique_ptr<TFormUDP> engine;
    std::unique_ptr<TFormMain> main;
};

constexpr int kDevices = 1000;

void BM_Discovery1000(benchmark::State& state)
{
#ifndef QRX_APSIM_EXE
    state.SkipWithError("built without qrx-apsim");
    return;
#else
    QProcess apsim;
    apsim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    apsim.start(QStringLiteral(QRX_APSIM_EXE), { QStringLiteral("--devices"), QString::number(kDevices) });
    QByteArray out;
    const bool ready = apsim.waitForStarted(10000)
        && WaitFor(
            [&] {
                apsim.waitForReadyRead(10);
                out += apsim.readAllStandardOutput();
                return out.contains("READY") || apsim.state() == QProcess::NotRunning;
            },
            20000)
        && apsim.state() == QProcess::Running;
    if (!ready) {
        state.SkipWithError("qrx-apsim did not start");
        return;
    }
    // The emulator writes a line per request; nobody needs them here.
    QObject::connect(&apsim, &QProcess::readyReadStandardOutput, [&apsim] { apsim.readAllStandardOutput(); });

    SetTimeScale(0.5); // the 4 s discovery wait in 2 s
    {
        CWizard w;
        TFrameDevList* page = w.main->FrameDevList1;
        // The engine's wait timer fires: the clock starts. The relay has handed the time-out to the
        // page, which filled its list: the list is painted and the clock stops.
        Clock::time_point fired {}, painted {};
        auto onTimer = w.engine->TimerWait->OnTimer;
        w.engine->TimerWait->OnTimer = [&](TTimer* t) {
            fired = Clock::now();
            onTimer(t);
        };
        w.relay.OnTimeoutHandled = [&] {
            page->LvDevList->viewport()->repaint();
            painted = Clock::now();
        };
        int minFound = kDevices;
        int maxFound = 0;
        bool first = true;
        for (auto _ : state) {
            fired = painted = {};
            if (first) {
                w.main->SwitchTo(page, 0, 0); // forward entry starts the discovery
                first = false;
            } else {
                page->BtnRefreshClick();
            }
            if (!WaitFor([&] { return painted != Clock::time_point {}; }, 30000)) {
                state.SkipWithError("the discovery did not end");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(painted - fired).count());
            const int found = page->LvDevList->RowCount();
            minFound = std::min(minFound, found);
            maxFound = std::max(maxFound, found);
        }
        state.counters["discovery_found"] = minFound;
        state.counters["discovery_found_max"] = maxFound;
        state.counters["discovery_lost"] = kDevices - minFound;
    }
    SetTimeScale(1.0);
    ::kill(pid_t(apsim.processId()), SIGTERM);
    apsim.waitForFinished(5000);
#endif
}
BENCHMARK(BM_Discovery1000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

constexpr int kSurveyEntries = 1336;
const MacAddress kSurveyDevice = { 0x02, 0x51, 0x52, 0x00, 0x00, 0x01 };

// A full survey datagram: 1,336 entries of every kind, enciphered with the password.
Packet SurveyReply()
{
    std::vector<tag_AP_ROFIILE> list;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int n = 0; n < kSurveyEntries; ++n) {
        tag_AP_ROFIILE ap {};
        ap.EntryFlag = true;
        std::snprintf(ap.SSID, sizeof ap.SSID, "%s-%04u", (n % 3 == 0) ? "office" : "Neighbour",
            unsigned(next() % 10000));
        ap.BSSID[0] = 0x02;
        ap.BSSID[4] = std::uint8_t(n >> 8);
        ap.BSSID[5] = std::uint8_t(n);
        ap.Signal = std::int32_t(next() % 101);
        ap.Channel = std::int32_t(1 + next() % 13);
        ap.Encryption = std::uint8_t(next() % 5);
        ap.Authentication = std::uint8_t(ap.Encryption == 0 ? 0 : 2 + next() % 6);
        ap.IconFlag = std::uint8_t(next() % 2);
        ap.WPS = next() % 2 == 0;
        list.push_back(ap);
    }
    Packet p = BuildSiteSurveyReply(kSurveyDevice, list);
    CipherPayload(p, "admin");
    return p;
}

void BM_SiteSurvey1336(benchmark::State& state)
{
    CWizard w;
    g_Var.Password = QStringLiteral("admin");
    // The page on its own window, as large as in the wizard, filled straight from the engine.
    TFrameSiteSurvey page;
    page.InitFrame();
    page.show();
    WaitFor([] { return false; }, 50);
    const Packet reply = SurveyReply();
    std::vector<std::uint8_t> datagram;
    w.engine->PeerMAC = BROADCAST_MAC;
    std::size_t listed = 0;
    for (auto _ : state) {
        page.DoneFrame(); // empty list
        QCoreApplication::processEvents();
        datagram.assign(reply.data(), reply.data() + reply.size());
        w.engine->PendingOp = OP_SITE_SURVEY;
        const auto start = Clock::now();
        w.engine->ProcRecvData(
            datagram.data(), int(datagram.size()), nullptr, 5432, QStringLiteral("127.0.1.1"));
        page.FillList();
        page.SurveyList->viewport()->repaint();
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        listed = std::size_t(page.SurveyList->RowCount());
    }
    if (listed != std::size_t(kSurveyEntries)) {
        state.SkipWithError("not every survey entry was listed");
    }
    state.counters["survey_rows"] = double(listed);
    g_Var.Password.clear();
}
BENCHMARK(BM_SiteSurvey1336)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Never anything but loopback.
    setenv("QRX_ADAPTERS", "lo", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    PrivateLoopback();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
