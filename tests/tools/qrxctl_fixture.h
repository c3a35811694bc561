// Process-level helpers for the qrxctl tests: the access point emulator as a child process with
// its request log, and qrxctl runs with their exit code and output.
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

namespace ctltest {

// qrx-apsim running as a child process; stopped (SIGTERM, then killed) on destruction.
class CApSim
{
public:
    CApSim() = default;
    ~CApSim();
    CApSim(const CApSim&) = delete;
    CApSim& operator=(const CApSim&) = delete;

    // Starts the emulator with the arguments (a JSON config, when given, is written to a
    // temporary file and passed with --config). program/prefix: run it through another program
    // (ip netns exec NAME ...). True once it printed its READY line.
    bool Start(const QStringList& args, const QByteArray& configJson = {}, const QStringList& prefix = {});
    // Stops the emulator and forgets its output (Start may be called again).
    void Stop();
    // Reads what the emulator printed so far.
    void Drain();
    // Reads until the emulator has printed nothing for quietMs.
    void Settle(int quietMs = 300);
    // Lines printed so far.
    QStringList Lines();
    // The keys ("login", "set_ip", ...) of the requests received so far, in order.
    QStringList RequestKeys();
    // The request lines carrying key=<key>.
    QStringList Requests(const QString& key);
    bool Running() const { return m_proc && m_proc->state() == QProcess::Running; }
    QString ErrorText() const { return m_error; }

private:
    std::unique_ptr<QProcess> m_proc;
    QByteArray m_out;
    QTemporaryDir m_dir;
    QString m_error;
};

struct CtlRun
{
    int Code = -1;
    QByteArray Out;
    QByteArray Err;
    bool Finished = false;

    QJsonDocument Json() const { return QJsonDocument::fromJson(Out); }
    QString ErrText() const { return QString::fromUtf8(Err); }
    QString OutText() const { return QString::fromUtf8(Out); }
};

// Runs qrxctl with the arguments; keeps draining the emulator's output meanwhile. env: the
// environment (default: this process's, with QRX_TIME_SCALE set to timeScale).
CtlRun RunCtl(const QStringList& args, CApSim* sim = nullptr, double timeScale = 0.1,
    const QStringList& prefix = {}, const QProcessEnvironment* env = nullptr, int timeoutMs = 120000);

// qrxctl --interface lo with the arguments (prefix: run it through ip netns exec NAME).
CtlRun RunCtlLo(
    const QStringList& args, CApSim* sim = nullptr, double timeScale = 0.1, const QStringList& prefix = {});

// Runs "ip" with the arguments: its exit code (-1 when it could not run), output in *output.
int RunIp(const QStringList& args, QString* output = nullptr);

// True when the process whose id ends a namespace name still runs.
bool NamespaceOwnerAlive(const QString& pidText);

// Removes the network namespaces whose names start with one of the prefixes and whose owning
// process has gone (leftovers of earlier runs that were killed).
void RemoveNamespaces(const QStringList& prefixes);

// A private network namespace with only its loopback up, so that the emulator and qrxctl meet
// on a loopback nobody else uses. Removed on destruction. Needs root and ip netns.
class CLoopbackNamespace
{
public:
    explicit CLoopbackNamespace(const QString& prefix);
    ~CLoopbackNamespace();
    CLoopbackNamespace(const CLoopbackNamespace&) = delete;
    CLoopbackNamespace& operator=(const CLoopbackNamespace&) = delete;

    bool Create(QString& why);
    void Remove();
    bool Created() const { return m_created; }
    // "ip netns exec NAME", or nothing when the namespace was not made.
    QStringList Exec() const;

    const QString Name;

private:
    bool m_created = false;
};

} // namespace ctltest

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}
