// The distribution folder made by `cmake --install`: every file the disc carries, guides that are
// valid PDFs of more than one page, a settings file whose every key has a value and whose
// document keys name files of the folder, and the starters and installer in working order.
#include "app/rtfreader.h"
#include "platform/core/inireader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef QRX_SETUP_EXE
namespace {

// The build folder: the nearest folder above the program that holds CMakeCache.txt.
QString BuildDir()
{
    QDir dir = QFileInfo(QStringLiteral(QRX_SETUP_EXE)).absoluteDir();
    do {
        if (dir.exists(QStringLiteral("CMakeCache.txt"))) {
            return dir.absolutePath();
        }
    } while (dir.cdUp());
    return {};
}

QString RunProgram(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    if (exitCode) {
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    return QString::fromUtf8(p.readAll());
}

int PdfPages(const QString& pdf)
{
    int rc = 0;
    const QString info = RunProgram(QStringLiteral("pdfinfo"), { pdf }, &rc);
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
              .match(info);
    return rc == 0 && m.hasMatch() ? m.captured(1).toInt() : -1;
}

class InstallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString build = BuildDir();
        if (build.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("cmake")).isEmpty()) {
            return;
        }
        s_output = RunProgram(QStringLiteral("cmake"),
            { QStringLiteral("--install"), build, QStringLiteral("--prefix"), s_dir->path() }, &s_rc);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (BuildDir().isEmpty()) {
            GTEST_SKIP() << "no build folder";
        }
        ASSERT_EQ(s_rc, 0) << s_output.toStdString();
    }

    static QString Path(const QString& name) { return QDir(s_dir->path()).filePath(name); }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline QString s_output;
    static inline int s_rc = -1;
};

} // namespace

TEST_F(InstallTest, EveryFileOfTheDiscIsThere)
{
    const struct
    {
        const char* name;
        bool executable;
    } files[] = {
        { "qrx-setup", true },
        { "qrx-setup.ini", false },
        { "QRX-512_User_Guide.pdf", false },
        { "QIG/QRX-512_Quick_Installation_Guide.pdf", false },
        { "QIG/README.txt", false },
        { "License.rtf", false },
        { "Registration.html", false },
        { "README.txt", false },
        { "autorun.sh", true },
        { "qrx-setup.desktop", false },
        { "pdf-viewer-setup.sh", true },
    };
    for (const auto& f : files) {
        const QFileInfo info(Path(QString::fromLatin1(f.name)));
        EXPECT_TRUE(info.isFile()) << f.name;
        EXPECT_GT(info.size(), 0) << f.name;
        if (f.executable) {
            EXPECT_TRUE(info.isExecutable()) << f.name;
        }
    }
}

TEST_F(InstallTest, GuidesAreValidPdfsOfSeveralPages)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) not installed";
    }
    EXPECT_GT(PdfPages(Path(QStringLiteral("QRX-512_User_Guide.pdf"))), 1);
    EXPECT_GT(PdfPages(Path(QStringLiteral("QIG/QRX-512_Quick_Installation_Guide.pdf"))), 1);
}

TEST_F(InstallTest, EveryShippedKeyHasAValueAndTheDocumentsExist)
{
    QFile f(Path(QStringLiteral("qrx-setup.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = CIniReader::DecodeText(f.readAll());
    int keys = 0;
    QString section;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            section = line;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        ASSERT_GT(eq, 0) << line.toStdString();
        EXPECT_FALSE(line.mid(eq + 1).trimmed().isEmpty())
            << section.toStdString() << " " << line.toStdString();
        ++keys;
    }
    EXPECT_GE(keys, 20);

    CIniReader ini(Path(QStringLiteral("qrx-setup.ini")));
    const QStringList required[] = {
        { QStringLiteral("Product"), QStringLiteral("UserGuide"), QStringLiteral("QIG"),
            QStringLiteral("License"), QStringLiteral("ProductReg"), QStringLiteral("AcrobatReader"),
            QStringLiteral("AcrobatReaderTitle") },
        { QStringLiteral("String"), QStringLiteral("SetWlMethod_AP_MODE_MSG"),
            QStringLiteral("SetWlMethod_BRIDGE_MODE_MSG"), QStringLiteral("WPSMethod_AP_MODE_MSG"),
            QStringLiteral("WPSMethod_AP_MODE_PBC_MSG"), QStringLiteral("WPSMethod_AP_MODE_PIN_MSG"),
            QStringLiteral("WPSMethod_AP_MODE_SSID"), QStringLiteral("WPSMethod_AP_MODE_DevPIN"),
            QStringLiteral("WPSMethod_BRIDGE_MODE_MSG"), QStringLiteral("WPSMethod_BRIDGE_MODE_PBC_MSG"),
            QStringLiteral("WPSMethod_BRIDGE_MODE_PIN_MSG"), QStringLiteral("WPSMethod_BRIDGE_MODE_SSID"),
            QStringLiteral("WPSMethod_BRIDGE_MODE_DevPIN") },
    };
    for (const QStringList& group : required) {
        for (const QString& key : group.mid(1)) {
            EXPECT_FALSE(ini.ReadString(group.first(), key, QString()).isEmpty()) << key.toStdString();
        }
    }
    const auto value = [&](const char* key) {
        return ini.ReadString(QStringLiteral("Product"), QString::fromLatin1(key), QString());
    };
    EXPECT_TRUE(QFileInfo(Path(value("UserGuide"))).isFile());
    EXPECT_TRUE(QFileInfo(Path(value("License"))).isFile());
    EXPECT_TRUE(QFileInfo(Path(value("QIG"))).isDir());
    EXPECT_TRUE(QFileInfo(Path(value("ProductReg"))).isFile());
    EXPECT_TRUE(QFileInfo(Path(value("AcrobatReader"))).isExecutable());
}

TEST_F(InstallTest, LicenceIsRichTextWithItsFormatting)
{
    QFile f(Path(QStringLiteral("License.rtf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const CRtfDocument doc = ParseRtf(f.readAll());
    ASSERT_TRUE(doc.IsRtf);
    const QString text = doc.PlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("QRX-512 Setup Software\nEnd User License Agreement")));
    EXPECT_FALSE(text.contains(u'\\'));
    EXPECT_FALSE(text.contains(QStringLiteral("Tahoma")));
    EXPECT_TRUE(text.contains(QStringLiteral("\u00a9\u00a02026")));
    bool bold = false;
    for (const CRtfParagraph& p : doc.Paragraphs) {
        for (const CRtfRun& r : p.Runs) {
            bold = bold || r.Format.Bold;
        }
    }
    EXPECT_TRUE(bold);
}

TEST_F(InstallTest, InstallerNamesTheWindowTitleOfTheSettingsFile)
{
    CIniReader ini(Path(QStringLiteral("qrx-setup.ini")));
    const QString title
        = ini.ReadString(QStringLiteral("Product"), QStringLiteral("AcrobatReaderTitle"), QString());
    int rc = -1;
    const QString out = RunProgram(
        QStringLiteral("sh"), { QStringLiteral("-n"), Path(QStringLiteral("pdf-viewer-setup.sh")) }, &rc);
    EXPECT_EQ(rc, 0) << out.toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("apt-get")).isEmpty()) {
        GTEST_SKIP() << "not a Debian system";
    }
    const QString plan
        = RunProgram(Path(QStringLiteral("pdf-viewer-setup.sh")), { QStringLiteral("--dry-run") }, &rc);
    EXPECT_EQ(rc, 0) << plan.toStdString();
    EXPECT_TRUE(plan.contains(QStringLiteral("title: ") + title)) << plan.toStdString();
}

TEST_F(InstallTest, StartersRunTheProgramFromTheDiscFolder)
{
    int rc = -1;
    RunProgram(QStringLiteral("sh"), { QStringLiteral("-n"), Path(QStringLiteral("autorun.sh")) }, &rc);
    EXPECT_EQ(rc, 0);
    QFile desktop(Path(QStringLiteral("qrx-setup.desktop")));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("autorun.sh")));
    EXPECT_TRUE(entry.contains(QStringLiteral("%k")));
}
#endif
