// qrxctl: the setup wizard's device operations from a shell.
#include "options.h"
#include "qrxctl.h"

#include "app/globalvar.h"

#include <QCoreApplication>

#include <cstdio>

#ifndef QRXCTL_VERSION
#define QRXCTL_VERSION "0"
#endif

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qrxctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QRXCTL_VERSION));

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    CCtlOptions options;
    QString error;
    switch (ParseCommandLine(args, options, error)) {
    case ParseOutcome::Help:
        std::fputs(UsageText().toUtf8().constData(), stdout);
        return EXIT_OK;
    case ParseOutcome::Version:
        std::printf("qrxctl %s\n", QRXCTL_VERSION);
        return EXIT_OK;
    case ParseOutcome::Error:
        std::fprintf(stderr, "qrxctl: %s\nTry 'qrxctl --help'.\n", error.toUtf8().constData());
        return EXIT_USAGE;
    case ParseOutcome::Run:
        break;
    }

    // --interface restricts the adapters like QRX_ADAPTERS, which it replaces.
    if (!options.Interfaces.isEmpty()) {
        qputenv("QRX_ADAPTERS", options.Interfaces.join(QLatin1Char(',')).toUtf8());
    }
    // Settings (texts, [Setting] Adapters) from qrxctl.ini beside the program, if present.
    g_Var.Init();
    const QString password
        = options.Password.has_value() ? *options.Password : qEnvironmentVariable("QRX_PASSWORD");

    int rc = EXIT_USAGE;
    {
        TQrxCtl ctl(options, password);
        rc = ctl.Run();
    }
    g_Var.Password.clear();
    return rc;
}
