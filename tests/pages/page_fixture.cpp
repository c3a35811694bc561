#include "page_fixture.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/ui/startup.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framewlmodesel.h"
#include "platform/core/clock.h"
#include "platform/core/notify.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/framebase.h"
#include "shell/wizardmessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QThread>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

namespace pagetest {

bool WaitFor(const std::function<bool()>& cond, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) {
            return cond();
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::usleep(500);
    }
    return true;
}

void ProcessEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

bool EnterPrivateNetwork()
{
    static const bool entered = [] {
        if (geteuid() != 0 || unshare(CLONE_NEWNET) != 0) {
            return false;
        }
        // Only loopback exists in the new namespace, and it starts down.
        return QProcess::execute(QStringLiteral("ip"),
                   { QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"),
                       QStringLiteral("up") })
            == 0;
    }();
    return entered;
}

// ---------------------------------------------------------------------------------------------
// CLogCapture
// ---------------------------------------------------------------------------------------------

CLogCapture::CLogCapture()
{
    const QByteArray path = m_dir.filePath(QStringLiteral("capture.Log")).toLocal8Bit();
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    m_previous = g_Debug.File;
    g_Debug.File = m_fd;
}

CLogCapture::~CLogCapture()
{
    g_Debug.File = m_previous;
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

QStringList CLogCapture::Entries() const
{
    QFile f(m_dir.filePath(QStringLiteral("capture.Log")));
    QStringList out;
    if (!f.open(QIODevice::ReadOnly)) {
        return out;
    }
    for (QString line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        // "(HH:MM:SS:mmm 0xTID) text"
        const qsizetype close = line.indexOf(QLatin1String(") "));
        out << (line.startsWith(QLatin1Char('(')) && close > 0 ? line.mid(close + 2) : line);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// CApsim
// ---------------------------------------------------------------------------------------------

CApsim::CApsim()
{
    QObject::connect(&m_proc, &QProcess::readyReadStandardOutput, [this] { Collect(); });
}

CApsim::~CApsim()
{
    Stop();
}

bool CApsim::Start(int devices, const QString& configJson, double timeScale, const QStringList& extraArgs)
{
#ifndef QRX_APSIM_EXE
    Q_UNUSED(devices);
    Q_UNUSED(configJson);
    Q_UNUSED(timeScale);
    Q_UNUSED(extraArgs);
    return false;
#else
    QStringList args { QStringLiteral("--devices"), QString::number(devices), QStringLiteral("--time-scale"),
        QString::number(timeScale) };
    if (!configJson.isEmpty()) {
        const QString path = m_dir.filePath(QStringLiteral("apsim.json"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        f.write(configJson.toUtf8());
        f.close();
        args << QStringLiteral("--config") << path;
    }
    args << extraArgs;
    m_lines.clear();
    m_partial.clear();
    m_mark = 0;
    m_proc.start(QStringLiteral(QRX_APSIM_EXE), args);
    if (!m_proc.waitForStarted(10000)) {
        return false;
    }
    const bool ready = WaitFor(
        [this] {
            Collect();
            for (const QString& l : m_lines) {
                if (l.startsWith(QLatin1String("READY"))) {
                    return true;
                }
            }
            return m_proc.state() == QProcess::NotRunning;
        },
        15000);
    return ready && m_proc.state() == QProcess::Running;
#endif
}

void CApsim::Stop()
{
    if (m_proc.state() == QProcess::NotRunning) {
        return;
    }
    ::kill(pid_t(m_proc.processId()), SIGTERM);
    if (!m_proc.waitForFinished(5000)) {
        m_proc.kill();
        m_proc.waitForFinished(5000);
    }
    Collect();
}

bool CApsim::Running() const
{
    return m_proc.state() == QProcess::Running;
}

void CApsim::Collect()
{
    m_partial += QString::fromUtf8(m_proc.readAllStandardOutput());
    qsizetype nl;
    while ((nl = m_partial.indexOf(QLatin1Char('\n'))) >= 0) {
        m_lines << m_partial.left(nl);
        m_partial.remove(0, nl + 1);
    }
}

QStringList CApsim::Lines(bool all)
{
    // The emulator's lines of what happened so far: give its output a moment to arrive.
    m_proc.waitForReadyRead(20);
    Collect();
    return all ? m_lines : m_lines.mid(m_mark);
}

std::vector<CApsimRequest> CApsim::Requests()
{
    static const QRegularExpression field(QStringLiteral("(\\w+)=(\\S*)"));
    std::vector<CApsimRequest> out;
    for (const QString& line : Lines()) {
        if (!line.startsWith(QLatin1String("REQ "))) {
            continue;
        }
        CApsimRequest r;
        r.Line = line;
        const qsizetype items = line.indexOf(QLatin1String(" items="));
        const QString head = items >= 0 ? line.left(items) : line;
        if (items >= 0) {
            r.Items = line.mid(items + 7);
        }
        auto it = field.globalMatch(head);
        while (it.hasNext()) {
            const auto m = it.next();
            const QString name = m.captured(1);
            if (name == QLatin1String("dev")) {
                r.Dev = m.captured(2);
            } else if (name == QLatin1String("cmd")) {
                r.Cmd = m.captured(2);
            } else if (name == QLatin1String("key")) {
                r.Key = m.captured(2);
            } else if (name == QLatin1String("note")) {
                r.Note = m.captured(2);
            }
        }
        out.push_back(r);
    }
    return out;
}

QStringList CApsim::Keys(const QString& dev)
{
    QStringList keys;
    for (const CApsimRequest& r : Requests()) {
        if (r.Dev == dev) {
            keys << r.Key;
        }
    }
    return keys;
}

int CApsim::Count(const QString& key, const QString& dev)
{
    return int(Keys(dev).count(key));
}

void CApsim::MarkLog()
{
    Lines();
    m_mark = m_lines.size();
}

bool CApsim::WaitForLine(const QString& prefix, int ms)
{
    return WaitFor(
        [&] {
            for (const QString& l : Lines()) {
                if (l.startsWith(prefix)) {
                    return true;
                }
            }
            return false;
        },
        ms);
}

QString CApsim::ErrorText()
{
    return QString::fromUtf8(m_proc.readAllStandardError());
}

// ---------------------------------------------------------------------------------------------
// CMainRelay
// ---------------------------------------------------------------------------------------------

LRESULT CMainRelay::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == UM_WIZARD) {
        Wizard.push_back(wParam);
    }
    if ((msg == UM_WIZARD || msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT || msg == UM_UDP_EVENT)
        && FormMain) {
        SendMessage(FormMain, msg, wParam, lParam);
    }
    return DefaultHandler(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// CPageFixture
// ---------------------------------------------------------------------------------------------

CPageFixture::CPageFixture() = default;
CPageFixture::~CPageFixture() = default;

QString CPageFixture::MessageOf(const char* key, const char* def)
{
    return MessageText(key, def);
}

void CPageFixture::SetUp()
{
    EnterPrivateNetwork();
    qputenv("QRX_ADAPTERS", "lo");
    SetTimeScale(Scale);

    ASSERT_TRUE(m_dir.isValid());
    {
        QFile ini(m_dir.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(IniText.toUtf8());
    }
    g_Var.InitFrom(m_dir.filePath(QStringLiteral("qrx-setup")));
    g_Var.SetupMethod = 0;
    g_Var.DeviceMode = 0;
    g_Var.WlMethod = 0;
    g_Var.WpsMethod = 0;
    g_Var.SelectedDevice = {};
    g_Var.SelectedAP = {};
    g_Var.ResetIPConfig(g_Var.DevIPConfig);
    g_Var.ResetIPConfig(g_Var.NewIPConfig);
    g_Var.ResetWlConfig(g_Var.DevWlConfig);
    g_Var.ResetWlConfig(g_Var.NewWlConfig);

    DialogSeam::Reset();
    DialogSeam::Enable(true);
    InstallSimpleMessageBox(); // the engine's message boxes, recorded by the seam
    m_shownSeen = 0;

    // The windows' font (Tahoma 8 pt when installed), before any window exists.
    static const bool fontInstalled = InstallApplicationFont();
    Q_UNUSED(fontInstalled);

    m_apsim = std::make_unique<CApsim>();
    m_relay = std::make_unique<CMainRelay>();
    SetApplicationMainWindow(m_relay.get());
    if (!FormRes) {
        m_res = std::make_unique<TFormRes>();
        FormRes = m_res.get();
    }
    m_engine = new TFormUDP();
    FormUDP = m_engine;
    m_main = new TFormMain();
    FormMain = m_main;
    m_main->show();
    ProcessEvents(); // the wizard's first WZ_NEXT: the licence page
}

void CPageFixture::TearDown()
{
    // The engine logs a device still logged in out while the emulator still runs.
    delete m_main;
    m_main = nullptr;
    FormMain = nullptr;
    delete m_engine;
    m_engine = nullptr;
    FormUDP = nullptr;
    ProcessEvents();
    if (m_apsim) {
        m_apsim->Stop();
    }
    SetApplicationMainWindow(nullptr);
    m_relay.reset();
    if (m_res) {
        FormRes = nullptr;
        m_res.reset();
    }
    SetSimpleMessageHandler({});
    DialogSeam::Reset();
    g_Var.NonWorking = false;
    g_Var.Password.clear();
}

TFormMain* CPageFixture::Main() const
{
    return m_main;
}

bool CPageFixture::StartDevice(int devices, const QString& configJson, const QStringList& extraArgs)
{
    const bool ok = m_apsim->Start(devices, configJson, Scale, extraArgs);
    if (!ok) {
        ADD_FAILURE() << "qrx-apsim did not start: " << m_apsim->ErrorText().toStdString();
    }
    return ok;
}

bool CPageFixture::Navigate(TFrameBase* page, int direction)
{
    return m_main->SwitchTo(page, direction, 0);
}

bool CPageFixture::WaitSearchDone()
{
    TFrameDevList* list = m_main->FrameDevList1;
    return WaitFor([list] { return !list->TimerSearch->Enabled() && list->BtnRefresh->isEnabled(); });
}

bool CPageFixture::WaitEngineIdle(int ms)
{
    return WaitFor([] { return FormUDP && FormUDP->PendingOp == OP_NONE; }, ms);
}

bool CPageFixture::WaitForPage(TFrameBase* page, int ms)
{
    return WaitFor([this, page] { return m_main->CurrentPage == page; }, ms);
}

bool CPageFixture::ConnectDevice(int row, const QString& password)
{
    TFrameDevList* list = m_main->FrameDevList1;
    if (!Navigate(list) || !WaitSearchDone()) {
        ADD_FAILURE() << "the device search did not end";
        return false;
    }
    if (row >= list->LvDevList->RowCount()) {
        ADD_FAILURE() << "no device in row " << row << " (" << list->LvDevList->RowCount() << " rows)";
        return false;
    }
    list->LvDevList->setCurrentItem(list->LvDevList->Row(row));
    list->LvDevList->Row(row)->setSelected(true);
    list->BtnCfgClick();
    if (!WaitForPage(m_main->FramePassword1)) {
        ADD_FAILURE() << "Configure did not lead to the login page";
        return false;
    }
    m_main->FramePassword1->EdtPassword->setText(password);
    m_main->FramePassword1->BtnLoginClick();
    if (!WaitForPage(m_main->FrameWlModeSel1) || !WaitEngineIdle()) {
        ADD_FAILURE() << "the login did not lead to the operating mode page: "
                      << DialogSeam::ShownTexts().join(QLatin1Char('|')).toStdString();
        return false;
    }
    TakeShownTexts();
    return true;
}

QStringList CPageFixture::TakeShownTexts()
{
    const QStringList all = DialogSeam::ShownTexts();
    const QStringList fresh = all.mid(m_shownSeen);
    m_shownSeen = all.size();
    return fresh;
}

} // namespace pagetest
