// Whole-wizard walkthroughs: the program's windows created as start-up creates them (image form,
// launcher as the application's main window, wizard window, engine, WPS survey dialog), qrx-apsim on
// loopback in the process's private network namespace, the time scale on, the dialog seam answering
// message boxes. A walk is a function that runs inside the wizard's modal showing, started by a
// real click on the launcher's "Setup Wizard" button.
//
// With QRX_SCREENSHOT_DIR set, Shot() writes a PNG of the wizard (or launcher) and of every message
// box shown since the previous shot, rendered as a real QMessageBox with the recorded text.
#pragma once

#include "../pages/page_fixture.h"

#include "app/ui/startup.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class TFormAutorun;
class QComboBox;
class QTreeWidgetItem;
class TSortListView;

namespace e2e {

using pagetest::CApsim;
using pagetest::CApsimRequest;
using pagetest::ProcessEvents;
using pagetest::WaitFor;

// The administrator password of the emulated devices in the walks.
inline const QString kPassword = QStringLiteral("Zq7-adm1n-Secret");

// Every UDP datagram seen on loopback while the object lives (a packet socket of the private
// network namespace; inactive when the process may not open one).
class CLoopbackCapture
{
public:
    CLoopbackCapture();
    ~CLoopbackCapture();
    bool Active() const { return m_fd >= 0; }
    // Reads what is waiting; the UDP payloads seen so far.
    const std::vector<QByteArray>& Payloads();

private:
    int m_fd = -1;
    std::vector<QByteArray> m_payloads;
};

class CWalkFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The shipped settings file is used; NonWorking switches the demonstration on (set in the test
    // class's constructor).
    bool NonWorking = false;
    double Scale = 0.05;

    // Starts N emulated devices with the configuration (JSON; the walk's password and a long idle
    // time-out are added to "defaults" unless given) and a state file.
    bool StartDevices(int devices, const QString& configJson = {}, const QStringList& extraArgs = {});
    CApsim& Apsim() { return *m_apsim; }
    // The emulator's device state from its state file (device index from 1).
    QJsonObject DeviceState(int index = 1);

    // Runs walk inside the wizard shown by a click on the launcher's Setup Wizard button; returns
    // the wizard's modal result. A walk that returns with the wizard still open gets it cancelled.
    int RunWizard(const std::function<void()>& walk);

    TFormMain* Main() const;
    TFormAutorun* Launcher() const;

    static void Click(QAbstractButton* button);
    static void ClickRadio(QAbstractButton* button);
    static void Choose(QComboBox* combo, int data);
    static QTreeWidgetItem* FindRow(TSortListView* list, const QString& text);
    static void SelectRow(TSortListView* list, QTreeWidgetItem* item);

    bool WaitForPage(TFrameBase* page, int ms = 20000);
    bool WaitEngineIdle(int ms = 20000);

    // Licence, both tutorials, the device list with its search ended (rows expected).
    bool WalkToDeviceList(int rows);
    // Device row `row` configured, the password entered, Login: up to the operating mode page.
    bool Login(int row, const QString& password = kPassword);

    // Message texts since the previous call.
    QStringList TakeShownTexts();

    // Screenshot of the message boxes shown since the previous shot, then of the wizard
    // shot (or the launcher when the wizard is hidden), or of `window` when given.
    void Shot(const QString& name, QWidget* window = nullptr);
    // Name prefix of this walk's screenshots.
    QString ShotPrefix;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CApsim> m_apsim;
    std::unique_ptr<CQrxWindows> m_windows;
    qsizetype m_shownSeen = 0;
    qsizetype m_shotBoxes = 0;
    int m_shotNo = 0;
};

} // namespace e2e
