#include "qrxctl_fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace ctltest {

CApSim::~CApSim()
{
    Stop();
}

void CApSim::Stop()
{
    if (m_proc && m_proc->state() != QProcess::NotRunning) {
        m_proc->terminate();
        if (!m_proc->waitForFinished(5000)) {
            m_proc->kill();
            m_proc->waitForFinished(5000);
        }
    }
    m_proc.reset();
    m_out.clear();
}

bool CApSim::Start(const QStringList& args, const QByteArray& configJson, const QStringList& prefix)
{
#ifdef QRX_APSIM_EXE
    Stop();
    m_error.clear();
    QStringList all = args;
    if (!configJson.isEmpty()) {
        const QString path = m_dir.filePath(QStringLiteral("apsim.json"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(configJson) != configJson.size()) {
            m_error = QStringLiteral("cannot write the emulator's configuration");
            return false;
        }
        file.close();
        all << QStringLiteral("--config") << path;
    }
    m_proc = std::make_unique<QProcess>();
    m_proc->setProcessChannelMode(QProcess::SeparateChannels);
    if (prefix.isEmpty()) {
        m_proc->start(QStringLiteral(QRX_APSIM_EXE), all);
    } else {
        m_proc->start(prefix.front(), prefix.mid(1) + QStringList { QStringLiteral(QRX_APSIM_EXE) } + all);
    }
    if (!m_proc->waitForStarted(10000)) {
        m_error = QStringLiteral("the emulator did not start");
        return false;
    }
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        Drain();
        if (m_out.contains("READY")) {
            return true;
        }
        if (m_proc->state() == QProcess::NotRunning) {
            break;
        }
        m_proc->waitForReadyRead(100);
    }
    m_error = QStringLiteral("the emulator did not get ready: ")
        + QString::fromUtf8(m_proc->readAllStandardError());
    return false;
#else
    (void)args;
    (void)configJson;
    (void)prefix;
    m_error = QStringLiteral("qrx-apsim is not built");
    return false;
#endif
}

void CApSim::Drain()
{
    if (!m_proc) {
        return;
    }
    m_proc->waitForReadyRead(0);
    m_out += m_proc->readAllStandardOutput();
}

void CApSim::Settle(int quietMs)
{
    if (!m_proc) {
        return;
    }
    const QDeadlineTimer deadline(5000);
    qsizetype before = -1;
    while (before != m_out.size() && !deadline.hasExpired()) {
        before = m_out.size();
        m_proc->waitForReadyRead(quietMs);
        m_out += m_proc->readAllStandardOutput();
    }
}

QStringList CApSim::Lines()
{
    Drain();
    return QString::fromUtf8(m_out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList CApSim::RequestKeys()
{
    static const QRegularExpression keyRe(QStringLiteral(" key=(\\S+)"));
    QStringList keys;
    for (const QString& line : Lines()) {
        if (!line.startsWith(QLatin1String("REQ "))) {
            continue;
        }
        const QRegularExpressionMatch m = keyRe.match(line);
        keys.push_back(m.hasMatch() ? m.captured(1) : QStringLiteral("?"));
    }
    return keys;
}

QStringList CApSim::Requests(const QString& key)
{
    QStringList out;
    for (const QString& line : Lines()) {
        if (line.startsWith(QLatin1String("REQ "))
            && line.contains(QStringLiteral(" key=") + key + QLatin1Char(' '))) {
            out.push_back(line);
        }
    }
    return out;
}

CtlRun RunCtl(const QStringList& args, CApSim* sim, double timeScale, const QStringList& prefix,
    const QProcessEnvironment* env, int timeoutMs)
{
    CtlRun run;
#ifdef QRXCTL_EXE
    QProcess proc;
    QProcessEnvironment e = env ? *env : QProcessEnvironment::systemEnvironment();
    if (!env) {
        e.insert(QStringLiteral("QRX_TIME_SCALE"), QString::number(timeScale));
        e.remove(QStringLiteral("QRX_PASSWORD"));
    }
    proc.setProcessEnvironment(e);
    if (prefix.isEmpty()) {
        proc.start(QStringLiteral(QRXCTL_EXE), args);
    } else {
        proc.start(prefix.front(), prefix.mid(1) + QStringList { QStringLiteral(QRXCTL_EXE) } + args);
    }
    if (!proc.waitForStarted(10000)) {
        return run;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!proc.waitForFinished(20)) {
        if (sim) {
            sim->Drain();
        }
        if (deadline.hasExpired()) {
            proc.kill();
            proc.waitForFinished(5000);
            run.Out = proc.readAllStandardOutput();
            run.Err = proc.readAllStandardError();
            return run;
        }
    }
    // The emulator prints the last requests (the logout at exit) a moment later.
    if (sim) {
        sim->Settle();
    }
    run.Finished = proc.exitStatus() == QProcess::NormalExit;
    run.Code = proc.exitCode();
    run.Out = proc.readAllStandardOutput();
    run.Err = proc.readAllStandardError();
#else
    (void)args;
    (void)sim;
    (void)timeScale;
    (void)prefix;
    (void)env;
    (void)timeoutMs;
#endif
    return run;
}

CtlRun RunCtlLo(const QStringList& args, CApSim* sim, double timeScale, const QStringList& prefix)
{
    return RunCtl(
        QStringList { QStringLiteral("--interface"), QStringLiteral("lo") } + args, sim, timeScale, prefix);
}

int RunIp(const QStringList& args, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ip"), args);
    if (!p.waitForStarted(5000) || !p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    if (output) {
        *output = QString::fromUtf8(p.readAll());
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool NamespaceOwnerAlive(const QString& pidText)
{
    // A namespace is named after the test process that made it; another run may still use it.
    bool ok = false;
    const long pid = pidText.toLong(&ok);
    return ok && pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

void RemoveNamespaces(const QStringList& prefixes)
{
    QString list;
    if (RunIp({ QStringLiteral("netns"), QStringLiteral("list") }, &list) != 0) {
        return;
    }
    for (const QString& line : list.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char(' '), 0, 0).trimmed();
        for (const QString& prefix : prefixes) {
            if (name.startsWith(prefix) && !NamespaceOwnerAlive(name.mid(prefix.size()))) {
                RunIp({ QStringLiteral("netns"), QStringLiteral("del"), name });
                break;
            }
        }
    }
}

CLoopbackNamespace::CLoopbackNamespace(const QString& prefix)
    : Name(prefix + QString::number(getpid()))
{
}

CLoopbackNamespace::~CLoopbackNamespace()
{
    Remove();
}

bool CLoopbackNamespace::Create(QString& why)
{
    if (geteuid() != 0) {
        why = QStringLiteral("not root");
        return false;
    }
    if (RunIp({ QStringLiteral("netns"), QStringLiteral("add"), Name }, &why) != 0) {
        return false;
    }
    m_created = true;
    if (RunIp({ QStringLiteral("-n"), Name, QStringLiteral("link"), QStringLiteral("set"),
                  QStringLiteral("lo"), QStringLiteral("up") },
            &why)
        != 0) {
        Remove();
        return false;
    }
    return true;
}

void CLoopbackNamespace::Remove()
{
    if (m_created) {
        RunIp({ QStringLiteral("netns"), QStringLiteral("del"), Name });
        m_created = false;
    }
}

QStringList CLoopbackNamespace::Exec() const
{
    if (!m_created) {
        return {};
    }
    return { QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), Name };
}

} // namespace ctltest
