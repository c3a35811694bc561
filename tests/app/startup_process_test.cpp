// The program as a process: it starts under the offscreen platform and logs its start; a second
// copy exits at once with code 0 and leaves its line in a numbered log.
#include "platform/core/singleinstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#ifdef QRX_SETUP_EXE

namespace {

class SetupProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("qrx-setup"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QRX_SETUP_EXE), program));
        // A short name of its own so that no other copy on this machine collides with the test.
        shortName = QStringLiteral("T") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        QFile ini(dir.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Product]\nShortName=" + shortName.toUtf8() + "\nAppTitle=Process Test\n");
        ini.close();
        QFile log(dir.filePath(QStringLiteral("qrx-setup.Log")));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    }

    void TearDown() override
    {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(10000);
        }
    }

    void Start(QProcess& p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QRX_DIALOG_SEAM"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.setProgram(program);
        p.setWorkingDirectory(dir.path());
        p.start();
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    QByteArray Read(const char* name) const
    {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // True once the running copy holds its single-instance marker.
    bool MarkerHeld() const
    {
        CInstanceMarker probe;
        return probe.Create(shortName + u"_Mutex") == CInstanceMarker::Result::AlreadyExists;
    }

    template <class Pred> static bool WaitFor(Pred pred, int ms = 30000)
    {
        QDeadlineTimer deadline(ms);
        while (!pred()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(20);
        }
        return true;
    }

    QTemporaryDir dir;
    QString program;
    QString shortName;
    QProcess first;
};

TEST_F(SetupProcessTest, StartsLogsAndRefusesASecondCopy)
{
    Start(first);
    ASSERT_TRUE(WaitFor([this] { return MarkerHeld(); })) << "the first copy never took its marker";
    const QByteArray log = Read("qrx-setup.Log");
    EXPECT_TRUE(log.startsWith("\r\n(")) << log.toStdString();
    EXPECT_TRUE(log.contains(") == START LOG ==\r\n")) << log.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    for (const char* numbered : { "qrx-setup_000.Log", "qrx-setup_001.Log" }) {
        QProcess second;
        Start(second);
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        const QByteArray own = Read(numbered);
        EXPECT_TRUE(own.startsWith("\r\n(")) << numbered << ": " << own.toStdString();
        EXPECT_TRUE(own.contains(") == START LOG ==\r\n(")) << own.toStdString();
        EXPECT_TRUE(own.endsWith(") FAIL another instance is running\r\n")) << own.toStdString();
    }
    // The first copy is undisturbed and its log holds only its own start.
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_FALSE(Read("qrx-setup.Log").contains("FAIL"));
    EXPECT_EQ(Read("qrx-setup.Log").count("== START LOG =="), 1);

    // The marker vanishes with the process, even when it is killed.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_TRUE(WaitFor([this] { return !MarkerHeld(); }));
}

TEST_F(SetupProcessTest, WithoutLogFileNothingIsCreated)
{
    QFile::remove(dir.filePath(QStringLiteral("qrx-setup.Log")));
    Start(first);
    ASSERT_TRUE(WaitFor([this] { return MarkerHeld(); }));
    QProcess second;
    Start(second);
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList({ QStringLiteral("qrx-setup"), QStringLiteral("qrx-setup.ini") }));
}

} // namespace

#endif
