// The screenshot tour: with QRX_SCREENSHOT_DIR set, every window and page that exists is rendered
// to a PNG in that folder: FormMain_<page instance>.png for the wizard's pages,
// FormMain_FrameWlProfile1_<sub-page instance>.png for the profile sub-pages, and <form name>.png
// for the other windows. Add a window or sub-page by adding an entry to the list below.
#include "app/globalvar.h"
#include "app/ui/startup.h"
#include "launcher/formautorun.h"
#include "platform/core/messages.h"
#include "shell/formmain.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/framebase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QProgressBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

struct TShot
{
    QString file; // without ".png"
    QWidget* widget; // what to grab
};

// Everything the tour renders, created once. Windows and pages are shown without running their
// page operations, so no page starts a device exchange.
class CTour
{
public:
    CTour()
    {
        InstallApplicationFont();
        if (!FormRes) {
            m_res = std::make_unique<TFormRes>();
            FormRes = m_res.get();
        }
        QObject* mainWindow = ApplicationMainWindow();
        m_autorun = std::make_unique<TFormAutorun>();
        SetApplicationMainWindow(mainWindow);
        m_main = std::make_unique<TFormMain>();
        QCoreApplication::sendPostedEvents();
        m_progress = std::make_unique<TFormProgress>();
        m_progress->ProgressBar1->setValue(35); // a few seconds into an exchange
    }
    ~CTour()
    {
        m_progress.reset();
        m_main.reset();
        m_autorun.reset();
        if (m_res) {
            FormRes = nullptr;
        }
    }

    // The wizard window with one page on show.
    QImage GrabMainWith(TFrameBase* page)
    {
        for (TFrameBase* p : m_main->Pages()) {
            p->setVisible(p == page);
        }
        return Grab(m_main.get());
    }

    // Renders every entry; returns the files written.
    QStringList Run(const QString& folder)
    {
        QStringList written;
        auto save = [&](const QString& name, const QImage& img) {
            const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
            if (!img.isNull() && img.save(path)) {
                written << path;
            } else {
                ADD_FAILURE() << "not rendered: " << name.toStdString() << " null=" << img.isNull();
            }
        };
        for (TFrameBase* page : m_main->Pages()) {
            save(QStringLiteral("FormMain_") + page->objectName(), GrabMainWith(page));
        }
        // Profile sub-pages: FormMain_FrameWlProfile1_<sub-page>.png, each shown inside the host.
        TFrameBase* host = m_main->PageByName(QStringLiteral("FrameWlProfile1"));
        for (QObject* child : host->children()) {
            if (!child->inherits("TFrameBase")) {
                continue;
            }
            for (QObject* other : host->children()) {
                if (auto* w = qobject_cast<QWidget*>(other); w && other->inherits("TFrameBase")) {
                    w->setVisible(other == child);
                }
            }
            save(QStringLiteral("FormMain_FrameWlProfile1_") + child->objectName(), GrabMainWith(host));
        }
        for (const TShot& shot : OtherWindows()) {
            save(shot.file, Grab(shot.widget));
        }
        return written;
    }

private:
    // The other windows, each under its form name.
    std::vector<TShot> OtherWindows()
    {
        std::vector<TShot> shots;
        shots.push_back({ QStringLiteral("FormAutorun"), m_autorun.get() });
        shots.push_back({ QStringLiteral("FormProgress"), m_progress.get() });
        // FormWPSSurvey joins here when it exists.
        return shots;
    }

    static QImage Grab(QWidget* w)
    {
        w->ensurePolished();
        w->setAttribute(Qt::WA_DontShowOnScreen, true);
        w->show();
        QCoreApplication::processEvents();
        const QImage img = w->grab().toImage();
        w->hide();
        return img;
    }

    std::unique_ptr<TFormRes> m_res;
    std::unique_ptr<TFormAutorun> m_autorun;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormProgress> m_progress;
};

} // namespace

TEST(ScreenshotTour, RendersEveryWindowAndPage)
{
    const QString folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QRX_SCREENSHOT_DIR not set";
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    CTour tour;
    const QStringList written = tour.Run(folder);
    EXPECT_TRUE(written.contains(QDir(folder).filePath(QStringLiteral("FormMain_FrameLicense1.png"))));
    EXPECT_TRUE(written.contains(QDir(folder).filePath(QStringLiteral("FormProgress.png"))));
    EXPECT_GE(written.size(), 17);
    for (const QString& path : written) {
        const QImage img(path);
        EXPECT_FALSE(img.isNull()) << path.toStdString();
    }
}
