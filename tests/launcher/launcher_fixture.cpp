#include "launcher_fixture.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

CTestProgram::CTestProgram(const QString& iniText)
{
    EXPECT_TRUE(m_dir.isValid());
    SetIni(iniText);
}

CTestProgram::~CTestProgram()
{
    QTemporaryDir empty;
    g_Var.AcrobatReader.clear();
    g_Var.InitFrom(empty.filePath(QStringLiteral("qrx-setup")));
    g_Var.LicenseAccepted = false;
}

void CTestProgram::WriteFile(const QString& name, const QByteArray& bytes, bool executable) const
{
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    if (executable) {
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
}

void CTestProgram::SetIni(const QString& iniText)
{
    WriteFile(QStringLiteral("qrx-setup.ini"), iniText.toUtf8());
    g_Var.AcrobatReader.clear();
    g_Var.InitFrom(Path(QStringLiteral("qrx-setup")));
}

void EnsureImageForm()
{
    if (!FormRes) {
        FormRes = new TFormRes();
    }
}

void ProcessPosted()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}
