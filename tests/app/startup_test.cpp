// Start-up helpers that run inside the test program: the exception guard of the message loop and
// the application font.
#include "app/globalvar.h"
#include "app/ui/startup.h"
#include "platform/ui/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontInfo>

#include <stdexcept>

namespace {

TEST(Startup, ExceptionInTheLoopIsShownAndTheLoopGoesOn)
{
    ScopedDialogSeam seam;
    g_Var.AppTitle = QStringLiteral("Setup");
    EXPECT_TRUE(DeliverGuarded([] { return true; }));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::runtime_error("Access violation"); }));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw 42; }));
    const auto shown = DialogSeam::Shown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].kind, DialogSeam::Kind::Error);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Setup"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Access violation"));
    EXPECT_EQ(shown[1].text, QString()); // not a standard exception: the empty message
}

TEST(Startup, ApplicationFontIsEightPoint)
{
    const QFont saved = QApplication::font();
    const bool tahoma = InstallApplicationFont();
    EXPECT_EQ(QApplication::font().pointSize(), 8);
    EXPECT_EQ(tahoma, QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")));
    if (tahoma) {
        EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Tahoma"));
    }
    QApplication::setFont(saved);
}

} // namespace
