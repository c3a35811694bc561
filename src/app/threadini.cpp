#include "app/threadini.h"

CThreadIni::CThreadIni(const QString& fileName, const QString& mutexName)
    : FileName(fileName)
    , MutexName(mutexName)
    , Named(!mutexName.isEmpty())
    , Reader(std::make_unique<CIniReader>(fileName))
{
    // The store is only used from the GUI thread; a named lock across processes is never needed
    // for a read-only file, so the name is only kept for reference.
}

CThreadIni::~CThreadIni() = default;

CIniReader* CThreadIni::Lock()
{
    Mutex.lock();
    return Reader.get();
}

void CThreadIni::Unlock()
{
    Mutex.unlock();
}

QString CThreadIni::ReadString(const QString& section, const QString& key, const QString& def)
{
    std::lock_guard<std::recursive_mutex> hold(Mutex);
    return Reader->ReadString(section, key, def);
}

QString CThreadIni::ReadString(const QString& section, const QString& key, const char* def)
{
    return ReadString(section, key, QString::fromUtf8(def ? def : ""));
}

bool CThreadIni::ReadBool(const QString& section, const QString& key, bool def)
{
    std::lock_guard<std::recursive_mutex> hold(Mutex);
    return Reader->ReadBool(section, key, def);
}

int CThreadIni::ReadInteger(const QString& section, const QString& key, int def)
{
    std::lock_guard<std::recursive_mutex> hold(Mutex);
    return Reader->ReadInteger(section, key, def);
}
