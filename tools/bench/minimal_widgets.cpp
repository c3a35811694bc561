// The yardstick of the start-up benchmark: the least a Qt Widgets program does to put one
// 600 x 450 window on screen. With QRX_BENCH_EXIT_ON_SHOWN set it reports its resident memory once
// the window is shown and leaves at once, exactly as qrx-setup does for its launcher. With the
// argument --text the window also shows one line of text, which loads the font configuration that
// every program drawing text pays for.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

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
    window.show();
    if (qEnvironmentVariableIsSet("QRX_BENCH_EXIT_ON_SHOWN")) {
        QTimer::singleShot(0, [] {
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
        });
    }
    return QApplication::exec();
}
