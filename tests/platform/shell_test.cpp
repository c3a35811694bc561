// The shell: the test fake, and the real shell's answers that need no desktop.
#include "platform/core/shell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(Shell, FakeRecordsAndAnswersNoProgram)
{
    CShell* real = &Shell();
    {
        CScopedFakeShell fake;
        EXPECT_EQ(&Shell(), &fake.Fake);
        EXPECT_EQ(Shell().FindExecutable(QStringLiteral("/cd/guide.pdf")), SHELL_NO_ASSOCIATION);
        EXPECT_GT(Shell().OpenDocument(QStringLiteral("https://example.invalid/")), 32);
        EXPECT_TRUE(Shell().RunHidden(QStringLiteral("arp"), { QStringLiteral("-d") }));
        EXPECT_FALSE(Shell().FindTopLevelWindow(QStringLiteral("Adobe Reader 7.0.5 - Setup")));
        fake.Fake.Windows << QStringLiteral("Adobe Reader 7.0.5 - Setup");
        EXPECT_TRUE(Shell().FindTopLevelWindow(QStringLiteral("Adobe Reader 7.0.5 - Setup")));
        ASSERT_EQ(fake.Fake.Calls.size(), 5);
        EXPECT_EQ(fake.Fake.Calls[2].what, QStringLiteral("RunHidden"));
        EXPECT_EQ(fake.Fake.Calls[2].args, QStringList({ QStringLiteral("-d") }));
    }
    EXPECT_EQ(&Shell(), real);
}

TEST(Shell, RealShellWithoutDesktop)
{
    QTemporaryDir dir;
    EXPECT_EQ(Shell().FindExecutable(dir.filePath(QStringLiteral("missing.pdf"))), SHELL_FILE_NOT_FOUND);
    EXPECT_EQ(Shell().ExploreFolder(dir.filePath(QStringLiteral("missing"))), SHELL_FILE_NOT_FOUND);
    EXPECT_EQ(Shell().OpenDocument(QString()), SHELL_FILE_NOT_FOUND);
    // Without a display there is no window to find.
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_FALSE(Shell().FindTopLevelWindow(QStringLiteral("any title")));
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
    }
    // A program that does not exist cannot start.
    EXPECT_FALSE(Shell().RunHidden(dir.filePath(QStringLiteral("no-such-program")), {}));
    EXPECT_TRUE(Shell().RunHidden(QStringLiteral("true"), {}));
}

} // namespace
