// The dialog seam: queued answers, defaults, what was shown, the simple message route.
#include "app/globalvar.h"
#include "platform/core/notify.h"
#include "platform/ui/dialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

class DialogSeamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedTitle = g_Var.MsgTitle;
        g_Var.MsgTitle = QStringLiteral("Box Title");
        g_Var.AppTitle = QStringLiteral("App Title");
    }
    void TearDown() override
    {
        g_Var.MsgTitle = savedTitle;
        SetSimpleMessageHandler({});
    }
    ScopedDialogSeam seam;
    QString savedTitle;
};

TEST_F(DialogSeamTest, QueuedAnswersAndDefaults)
{
    EXPECT_TRUE(DialogSeam::IsActive());
    DialogSeam::QueueAnswer(mrYes);
    EXPECT_EQ(MessageBoxQuestion(QStringLiteral("Exit?")), mrYes);
    EXPECT_EQ(MessageBoxQuestion(QStringLiteral("Again?")), mrNo); // nothing queued: No
    EXPECT_EQ(MessageBoxInfo(QStringLiteral("Done")), mrOk);

    const auto shown = DialogSeam::Shown();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].kind, DialogSeam::Kind::Question);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Box Title"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Exit?"));
    EXPECT_EQ(shown[2].kind, DialogSeam::Kind::Info);
    EXPECT_EQ(DialogSeam::ShownTexts(),
        QStringList({ QStringLiteral("Exit?"), QStringLiteral("Again?"), QStringLiteral("Done") }));

    DialogSeam::Reset();
    EXPECT_FALSE(DialogSeam::IsActive());
    EXPECT_TRUE(DialogSeam::Shown().isEmpty());
    // A queued answer alone makes the seam answer.
    DialogSeam::QueueAnswer(mrOk);
    EXPECT_TRUE(DialogSeam::IsActive());
    EXPECT_EQ(MessageBoxInfo(QStringLiteral("x")), mrOk);
    EXPECT_FALSE(DialogSeam::IsActive());
}

TEST_F(DialogSeamTest, MessageByKeyReadsTheSettingsAtShowTime)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("qrx-setup.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Message]\nNoDevice=No device here.\n");
    f.close();
    CGlobalVar saved;
    std::swap(saved.Ini, g_Var.Ini);
    g_Var.Ini = std::make_unique<CThreadIni>(dir.filePath(QStringLiteral("qrx-setup.ini")));
    ShowMessageByKey("NoDevice", QStringLiteral("compiled"));
    ShowMessageByKey("Other", QStringLiteral("compiled default"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Message]\nNoDevice=Changed text\n");
    f.close();
    DialogSeam::QueueAnswer(mrYes);
    EXPECT_EQ(ShowMessageByKey("NoDevice", QStringLiteral("compiled"), true), mrYes);
    std::swap(saved.Ini, g_Var.Ini);

    EXPECT_EQ(DialogSeam::ShownTexts(),
        QStringList({ QStringLiteral("No device here."), QStringLiteral("compiled default"),
            QStringLiteral("Changed text") }));
    EXPECT_EQ(DialogSeam::Shown()[2].kind, DialogSeam::Kind::Question);
}

TEST_F(DialogSeamTest, SaveAndPrintDialogs)
{
    DialogSeam::QueueSaveFileName(QStringLiteral("/tmp/out.txt"));
    EXPECT_EQ(GetSaveFileName(
                  nullptr, QStringLiteral("Save"), QStringLiteral("Text (*.txt)"), QStringLiteral("txt")),
        QStringLiteral("/tmp/out.txt"));
    EXPECT_EQ(GetSaveFileName(
                  nullptr, QStringLiteral("Save"), QStringLiteral("Text (*.txt)"), QStringLiteral("txt")),
        QString()); // nothing queued: cancelled
    QPrinter printer;
    DialogSeam::QueuePrintAccepted(true);
    EXPECT_TRUE(ExecPrintDialog(nullptr, printer));
    EXPECT_FALSE(ExecPrintDialog(nullptr, printer));
    const auto shown = DialogSeam::Shown();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0].kind, DialogSeam::Kind::Save);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Save"));
    EXPECT_EQ(shown[3].kind, DialogSeam::Kind::Print);
}

TEST_F(DialogSeamTest, SimpleMessageAndExceptionBox)
{
    QStringList recorded;
    SetSimpleMessageHandler([&recorded](const QString& t) { recorded << t; });
    ShowSimpleMessage(QStringLiteral("console text"));
    EXPECT_EQ(recorded, QStringList({ QStringLiteral("console text") }));

    InstallSimpleMessageBox();
    ShowSimpleMessage(QStringLiteral("adapter failed"));
    ShowExceptionBox(QStringLiteral("boom"));
    const auto shown = DialogSeam::Shown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].kind, DialogSeam::Kind::Simple);
    EXPECT_EQ(shown[0].text, QStringLiteral("adapter failed"));
    EXPECT_EQ(shown[1].kind, DialogSeam::Kind::Error);
    EXPECT_EQ(shown[1].caption, QStringLiteral("App Title"));
}

TEST(ModalResults, PlatformValues)
{
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrCancel, 2);
    EXPECT_EQ(mrYes, 6);
    EXPECT_EQ(mrNo, 7);
}

} // namespace
