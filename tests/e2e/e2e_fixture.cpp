#include "e2e_fixture.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "launcher/formautorun.h"
#include "launcher/framelicense.h"
#include "launcher/frametutorial.h"
#include "launcher/frametutorial2.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framewlmodesel.h"
#include "platform/core/clock.h"
#include "platform/core/notify.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/framebase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace e2e {

// ---------------------------------------------------------------------------------------------
// CLoopbackCapture
// ---------------------------------------------------------------------------------------------

CLoopbackCapture::CLoopbackCapture()
{
    if (!pagetest::EnterPrivateNetwork()) {
        return; // never listen on the host's interfaces
    }
    m_fd = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_NONBLOCK, htons(ETH_P_IP));
    if (m_fd < 0) {
        return;
    }
    sockaddr_ll at {};
    at.sll_family = AF_PACKET;
    at.sll_protocol = htons(ETH_P_IP);
    at.sll_ifindex = int(if_nametoindex("lo"));
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

CLoopbackCapture::~CLoopbackCapture()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

const std::vector<QByteArray>& CLoopbackCapture::Payloads()
{
    if (m_fd < 0) {
        return m_payloads;
    }
    QByteArray buf(70000, '\0');
    for (;;) {
        const ssize_t n = ::recv(m_fd, buf.data(), size_t(buf.size()), 0);
        if (n <= 0) {
            break;
        }
        const auto* ip = reinterpret_cast<const iphdr*>(buf.constData());
        if (n < qsizetype(sizeof(iphdr)) || ip->protocol != IPPROTO_UDP) {
            continue;
        }
        const qsizetype ihl = qsizetype(ip->ihl) * 4;
        if (n < ihl + qsizetype(sizeof(udphdr))) {
            continue;
        }
        m_payloads.push_back(buf.mid(ihl + qsizetype(sizeof(udphdr)), n - ihl - qsizetype(sizeof(udphdr))));
    }
    return m_payloads;
}

// ---------------------------------------------------------------------------------------------
// CWalkFixture
// ---------------------------------------------------------------------------------------------

void CWalkFixture::SetUp()
{
    pagetest::EnterPrivateNetwork();
    qputenv("QRX_ADAPTERS", "lo");
    SetTimeScale(Scale);
    ASSERT_TRUE(m_dir.isValid());
    {
        // The disc's settings file and licence, as a newcomer's run has them.
        QFile shipped(QStringLiteral(QRX_SOURCE_DIR "/dist/qrx-setup.ini"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(shipped.readAll());
        if (NonWorking) {
            text.replace(QStringLiteral("NonWorking=0"), QStringLiteral("NonWorking=1"));
        }
        QFile ini(m_dir.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text.toUtf8());
        ASSERT_TRUE(QFile::copy(QStringLiteral(QRX_SOURCE_DIR "/dist/License.rtf"),
            m_dir.filePath(QStringLiteral("License.rtf"))));
    }
    g_Var.LicenseAccepted = false;
    g_Var.InitFrom(m_dir.filePath(QStringLiteral("qrx-setup")));
    g_Var.Password.clear();

    DialogSeam::Reset();
    DialogSeam::Enable(true);
    InstallSimpleMessageBox();
    m_shownSeen = 0;
    m_shotBoxes = 0;
    m_shotNo = 0;
    if (ShotPrefix.isEmpty()) {
        ShotPrefix = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name())
                         .replace(u'/', u'_');
    }

    m_apsim = std::make_unique<CApsim>();
    m_windows = std::make_unique<CQrxWindows>();
    CreateQrxWindows(*m_windows);
    ASSERT_EQ(ApplicationMainWindow(), static_cast<QObject*>(m_windows->Launcher.get()));
    m_windows->Launcher->show();
    ProcessEvents(); // the wizard's first WZ_NEXT: the licence page
    ASSERT_EQ(Main()->CurrentPage, Main()->FrameLicense1);
    Shot(QStringLiteral("FormAutorun"));
}

void CWalkFixture::TearDown()
{
    if (Main() && Main()->isVisible()) {
        Main()->done(mrCancel);
    }
    m_windows.reset(); // the engine logs out while the emulator still runs
    ProcessEvents();
    if (m_apsim) {
        m_apsim->Stop();
    }
    SetSimpleMessageHandler({});
    DialogSeam::Reset();
    g_Var.NonWorking = false;
    g_Var.Password.clear();
}

bool CWalkFixture::StartDevices(int devices, const QString& configJson, const QStringList& extraArgs)
{
    QJsonObject config = QJsonDocument::fromJson(configJson.toUtf8()).object();
    QJsonObject defaults = config.value(QStringLiteral("defaults")).toObject();
    if (!defaults.contains(QStringLiteral("password"))) {
        defaults.insert(QStringLiteral("password"), kPassword);
    }
    if (!defaults.contains(QStringLiteral("idle_timeout_ms"))) {
        defaults.insert(QStringLiteral("idle_timeout_ms"), 0);
    }
    config.insert(QStringLiteral("defaults"), defaults);
    QStringList args = extraArgs;
    args << QStringLiteral("--state") << m_dir.filePath(QStringLiteral("apsim-state.json"));
    const bool ok = m_apsim->Start(devices, QString::fromUtf8(QJsonDocument(config).toJson()), Scale, args);
    if (!ok) {
        ADD_FAILURE() << "qrx-apsim did not start: " << m_apsim->ErrorText().toStdString();
    }
    return ok;
}

QJsonObject CWalkFixture::DeviceState(int index)
{
    QFile f(m_dir.filePath(QStringLiteral("apsim-state.json")));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QJsonArray devices
        = QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue& d : devices) {
        if (d.toObject().value(QStringLiteral("index")).toInt() == index) {
            return d.toObject();
        }
    }
    return {};
}

int CWalkFixture::RunWizard(const std::function<void()>& walk)
{
    bool ran = false;
    // The progress dialog in the screenshot tour: once per walk, while it runs.
    QTimer progressWatch;
    bool progressShot = false;
    if (!qEnvironmentVariableIsEmpty("QRX_SCREENSHOT_DIR")) {
        QObject::connect(&progressWatch, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!progressShot && modal && modal->inherits("TFormProgress")) {
                progressShot = true;
                Shot(QStringLiteral("FormProgress"), modal);
            }
        });
        progressWatch.start(5);
    }
    QTimer::singleShot(0, Main(), [&] {
        Shot(QStringLiteral("FrameLicense1"));
        walk();
        ran = true;
        if (Main()->isVisible()) {
            Main()->done(mrCancel);
        }
    });
    QTest::mouseClick(
        Launcher()->BtnSetupWizard, Qt::LeftButton, {}, Launcher()->BtnSetupWizard->rect().center());
    ProcessEvents();
    EXPECT_TRUE(ran);
    return Main()->result();
}

TFormMain* CWalkFixture::Main() const
{
    return m_windows ? m_windows->Wizard.get() : nullptr;
}

TFormAutorun* CWalkFixture::Launcher() const
{
    return m_windows ? m_windows->Launcher.get() : nullptr;
}

void CWalkFixture::Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    ProcessEvents();
}

void CWalkFixture::ClickRadio(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    ProcessEvents();
}

void CWalkFixture::Choose(QComboBox* combo, int data)
{
    const int index = combo->findData(data);
    EXPECT_GE(index, 0) << combo->objectName().toStdString() << " has no item " << data;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    ProcessEvents();
}

QTreeWidgetItem* CWalkFixture::FindRow(TSortListView* list, const QString& text)
{
    for (int r = 0; r < list->RowCount(); ++r) {
        QTreeWidgetItem* item = list->Row(r);
        for (int c = 0; c < list->columnCount(); ++c) {
            if (item->text(c) == text) {
                return item;
            }
        }
    }
    return nullptr;
}

void CWalkFixture::SelectRow(TSortListView* list, QTreeWidgetItem* item)
{
    list->setCurrentItem(item);
    item->setSelected(true);
    ProcessEvents();
}

bool CWalkFixture::WaitForPage(TFrameBase* page, int ms)
{
    return WaitFor([this, page] { return Main()->CurrentPage == page; }, ms);
}

bool CWalkFixture::WaitEngineIdle(int ms)
{
    if (!WaitFor([] { return FormUDP && FormUDP->PendingOp == OP_NONE; }, ms)) {
        return false;
    }
    // The engine posts its answer to the pages as it goes idle: deliver it before the test acts,
    // or it would undo what the test clicks next (the mode page sets its buttons from it).
    ProcessEvents();
    return true;
}

bool CWalkFixture::WalkToDeviceList(int rows)
{
    TFormMain* m = Main();
    if (m->CurrentPage != m->FrameLicense1) {
        ADD_FAILURE() << "the wizard did not start on the licence page";
        return false;
    }
    QTest::mouseClick(m->FrameLicense1->ChkAccept, Qt::LeftButton, {},
        QPoint(6, m->FrameLicense1->ChkAccept->height() / 2));
    Click(m->FrameLicense1->BtnNext);
    if (!WaitForPage(m->FrameTutorial1)) {
        ADD_FAILURE() << "the licence page did not lead to the tutorial";
        return false;
    }
    Shot(QStringLiteral("FrameTutorial1"));
    Click(m->FrameTutorial1->BtnNext);
    if (!WaitForPage(m->FrameTutorial21)) {
        ADD_FAILURE() << "no second tutorial page";
        return false;
    }
    Shot(QStringLiteral("FrameTutorial21"));
    Click(m->FrameTutorial21->BtnNext);
    TFrameDevList* list = m->FrameDevList1;
    if (!WaitForPage(list)) {
        ADD_FAILURE() << "no device list page";
        return false;
    }
    if (!WaitFor([list] { return !list->TimerSearch->Enabled() && list->BtnRefresh->isEnabled(); }, 20000)) {
        ADD_FAILURE() << "the device search did not end";
        return false;
    }
    Shot(QStringLiteral("FrameDevList1"));
    if (list->LvDevList->RowCount() != rows) {
        ADD_FAILURE() << "device rows: " << list->LvDevList->RowCount() << ", expected " << rows;
        return false;
    }
    return true;
}

bool CWalkFixture::Login(int row, const QString& password)
{
    TFormMain* m = Main();
    TFrameDevList* list = m->FrameDevList1;
    SelectRow(list->LvDevList, list->LvDevList->Row(row));
    Click(list->BtnCfg);
    if (!WaitForPage(m->FramePassword1)) {
        ADD_FAILURE() << "Configure did not lead to the login page";
        return false;
    }
    m->FramePassword1->EdtPassword->setText(password);
    Shot(QStringLiteral("FramePassword1"));
    Click(m->FramePassword1->BtnLogin);
    if (!WaitForPage(m->FrameWlModeSel1) || !WaitEngineIdle()) {
        return false;
    }
    Shot(QStringLiteral("FrameWlModeSel1"));
    return true;
}

QStringList CWalkFixture::TakeShownTexts()
{
    const QStringList all = DialogSeam::ShownTexts();
    const QStringList fresh = all.mid(m_shownSeen);
    m_shownSeen = all.size();
    return fresh;
}

void CWalkFixture::Shot(const QString& name, QWidget* window)
{
    const QString folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    auto save = [&](const QString& what, const QImage& img) {
        const QString file = QStringLiteral("E2E_%1_%2_%3.png")
                                 .arg(ShotPrefix)
                                 .arg(++m_shotNo, 2, 10, QLatin1Char('0'))
                                 .arg(what);
        EXPECT_TRUE(!img.isNull() && img.save(QDir(folder).filePath(file))) << file.toStdString();
    };
    // Message boxes first: they came before the screen they left behind.
    const QList<DialogSeam::ShownBox> boxes = DialogSeam::Shown();
    for (qsizetype i = m_shotBoxes; i < boxes.size(); ++i) {
        const DialogSeam::ShownBox& b = boxes[i];
        if (b.kind == DialogSeam::Kind::Save || b.kind == DialogSeam::Kind::Print) {
            continue;
        }
        QMessageBox box;
        box.setWindowTitle(b.caption);
        box.setText(b.text);
        if (b.kind == DialogSeam::Kind::Question) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
            box.setIcon(b.kind == DialogSeam::Kind::Info ? QMessageBox::Information : QMessageBox::NoIcon);
        }
        box.setAttribute(Qt::WA_DontShowOnScreen);
        box.show();
        QCoreApplication::processEvents();
        save(QStringLiteral("MessageBox"), box.grab().toImage());
        box.hide();
    }
    m_shotBoxes = boxes.size();
    QWidget* w = window                 ? window
        : Main() && Main()->isVisible() ? static_cast<QWidget*>(Main())
                                        : static_cast<QWidget*>(Launcher());
    if (w) {
        QCoreApplication::processEvents();
        save(name, w->grab().toImage());
    }
}

} // namespace e2e
