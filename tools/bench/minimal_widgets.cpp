// The yardstick of the start-up benchmark: the least a Qt Widgets program does to put one
// 600 x 450 window on screen. With QRX_BENCH_EXIT_ON_SHOWN set it prints "SHOWN" once its window
// has been painted, then its resident memory, and leaves at once, exactly as qrx-setup does for
// its launcher. With the argument --text the window also shows one line of text, which loads the
// font configuration that every program drawing text pays for.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// After the window's first paint: report and leave.
class CShownReporter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_queued) {
            m_queued = true;
            QMetaObject::invokeMethod(this, &CShownReporter::Report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void Report()
    {
        std::printf("SHOWN\n");
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:")) {
                    std::printf("%s\n", line.constData());
                }
            }
        }
        std::fflush(stdout);
        std::_Exit(0);
    }

    bool m_queued = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(600, 450);
    window.setWindowTitle(QStringLiteral("Minimal"));
    if (app.arguments().contains(QStringLiteral("--text"))) {
        auto* label = new QLabel(QStringLiteral("Setup Wizard"), &window);
        label->move(20, 20);
    }
    CShownReporter reporter;
    if (qEnvironmentVariableIsSet("QRX_BENCH_EXIT_ON_SHOWN")) {
        window.installEventFilter(&reporter);
    }
    window.show();
    return QApplication::exec();
}
