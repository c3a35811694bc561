// The diagnostic log: on only when the file exists, numbered fallbacks, line format.
#include "app/debug.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

class DebugLogTest : public ::testing::Test
{
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QByteArray Read(const char* name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Touch(const char* name, const QByteArray& content = {})
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir dir;
};

TEST_F(DebugLogTest, NoFileMeansNoLogAndNothingCreated)
{
    {
        CDebug log(Path("qrx-setup"));
        EXPECT_FALSE(log.IsOn());
        EXPECT_EQ(log.LogPath, Path("qrx-setup.Log"));
        log.Log(std::string_view("ignored"));
        log.Write("x", 1);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DebugLogTest, EmptyFileGetsStartEntryAndAppends)
{
    Touch("qrx-setup.Log");
    {
        CDebug log(Path("qrx-setup"));
        ASSERT_TRUE(log.IsOn());
        log.Log(std::string_view("first run"));
    }
    {
        CDebug log(Path("qrx-setup"));
        log.Log(QStringLiteral("second run \u00E9"));
    }
    const QByteArray text = Read("qrx-setup.Log");
    const QRegularExpression re(
        QStringLiteral("^\r\n"
                       "\\(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d 0x[0-9A-F]+\\) == START LOG ==\r\n"
                       "\\(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d 0x[0-9A-F]+\\) first run\r\n"
                       "\r\n"
                       "\\(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d 0x[0-9A-F]+\\) == START LOG ==\r\n"
                       "\\(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d 0x[0-9A-F]+\\) second run \u00E9\r\n$"));
    EXPECT_TRUE(re.match(QString::fromUtf8(text)).hasMatch()) << text.toStdString();
    // The thread in the line is this thread.
    const QByteArray tid = QByteArray::number(static_cast<qulonglong>(::syscall(SYS_gettid)), 16).toUpper();
    EXPECT_TRUE(text.contains(QByteArray(" 0x" + tid + ") first run"))) << text.toStdString();
}

TEST_F(DebugLogTest, ExtensionIsReplaced)
{
    Touch("Setup.Log");
    CDebug log(Path("Setup.exe"));
    EXPECT_TRUE(log.IsOn());
    EXPECT_EQ(log.LogPath, Path("Setup.Log"));
}

TEST_F(DebugLogTest, HeldFileFallsBackToNumberedNames)
{
    Touch("qrx-setup.Log", "old\r\n");
    Touch("qrx-setup_000.Log", "existing\r\n"); // taken: the next number is used
    CDebug first(Path("qrx-setup"));
    ASSERT_TRUE(first.IsOn());
    EXPECT_EQ(first.LogPath, Path("qrx-setup.Log"));

    CDebug second(Path("qrx-setup"));
    ASSERT_TRUE(second.IsOn());
    EXPECT_EQ(second.LogPath, Path("qrx-setup_001.Log"));
    second.Log(std::string_view("FAIL another instance is running"));

    CDebug third(Path("qrx-setup"));
    EXPECT_EQ(third.LogPath, Path("qrx-setup_002.Log"));

    EXPECT_EQ(Read("qrx-setup_000.Log"), QByteArray("existing\r\n")); // never touched
    EXPECT_TRUE(Read("qrx-setup.Log").startsWith("old\r\n\r\n("));
    const QByteArray numbered = Read("qrx-setup_001.Log");
    EXPECT_TRUE(numbered.startsWith("\r\n(")) << numbered.toStdString();
    EXPECT_TRUE(numbered.contains(") == START LOG ==\r\n("));
    EXPECT_TRUE(numbered.endsWith(") FAIL another instance is running\r\n"));
}

TEST_F(DebugLogTest, FileLockedByAnotherProcessFallsBack)
{
    Touch("qrx-setup.Log");
    // Another process holds the log (a child that takes the lock and waits).
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const QByteArray path = QFile::encodeName(Path("qrx-setup.Log"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(path.constData(), O_RDWR);
        ::flock(fd, LOCK_EX);
        char c = 1;
        (void)::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    {
        CDebug log(Path("qrx-setup"));
        EXPECT_EQ(log.LogPath, Path("qrx-setup_000.Log"));
        EXPECT_TRUE(log.IsOn());
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(Read("qrx-setup.Log").isEmpty());
}

TEST_F(DebugLogTest, ReadOnlyFolderWithUnopenableLogTurnsLoggingOff)
{
    if (::geteuid() == 0) {
        // root opens any file whatever its mode; make the log a folder so that it cannot be opened.
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("qrx-setup.Log")));
        for (int i = 0; i < 100; ++i) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QString::asprintf("qrx-setup_%03d.Log", i)));
        }
        CDebug log(Path("qrx-setup"));
        EXPECT_FALSE(log.IsOn());
        EXPECT_EQ(log.LogPath, Path("qrx-setup_099.Log"));
        return;
    }
    Touch("qrx-setup.Log");
    ::chmod(QFile::encodeName(Path("qrx-setup.Log")).constData(), 0444);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    {
        CDebug log(Path("qrx-setup"));
        EXPECT_FALSE(log.IsOn());
        EXPECT_EQ(log.LogPath, Path("qrx-setup_099.Log"));
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
}

TEST(DebugLogFormat, LineFormat)
{
    EXPECT_EQ(CDebug::FormatLine(9, 5, 3, 7, 0x1A4, "text"), "(09:05:03:007 0x1A4) text\r\n");
    EXPECT_EQ(CDebug::FormatLine(23, 59, 59, 999, 0xABCDEF, ""), "(23:59:59:999 0xABCDEF) \r\n");
    EXPECT_EQ(CDebug::FormatLine(0, 0, 0, 0, 1, "  Result=0"), "(00:00:00:000 0x1)   Result=0\r\n");
}

TEST(DebugLogFormat, ChangeFileExt)
{
    EXPECT_EQ(CDebug::ChangeFileExt(QStringLiteral("/a/qrx-setup"), QStringLiteral(".ini")),
        QStringLiteral("/a/qrx-setup.ini"));
    EXPECT_EQ(CDebug::ChangeFileExt(QStringLiteral("/a/X.exe"), QStringLiteral(".Log")),
        QStringLiteral("/a/X.Log"));
    EXPECT_EQ(CDebug::ChangeFileExt(QStringLiteral("/a.b/prog"), QStringLiteral(".ini")),
        QStringLiteral("/a.b/prog.ini"));
}

TEST(DebugLogFormat, DebugPrintWithLogOffDoesNothing)
{
    // The test program has no log file beside it: DebugPrint must be harmless.
    EXPECT_FALSE(g_Debug.IsOn());
    DebugPrint("%s %d", "value", 42);
    DebugPrint("%s", static_cast<const char*>("")); // empty text
}

} // namespace
