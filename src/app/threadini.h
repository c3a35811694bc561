#pragma once
// The settings store: the one reader of the settings file, every access serialised by a lock.
// The program only reads the file. A batch reader (text and layout lookups) takes the reader with
// Lock and must call Unlock afterwards, also when reading throws.

#include "platform/core/inireader.h"

#include <QString>

#include <memory>
#include <mutex>

class CThreadIni
{
public:
    // mutexName empty: the lock is private to the process (what the program uses).
    explicit CThreadIni(const QString& fileName, const QString& mutexName = {});
    virtual ~CThreadIni();

    CThreadIni(const CThreadIni&) = delete;
    CThreadIni& operator=(const CThreadIni&) = delete;

    // Waits until the lock is owned and returns the reader (may be taken again by its holder).
    virtual CIniReader* Lock();
    virtual void Unlock();

    // One complete lock, read, unlock cycle each.
    virtual QString ReadString(const QString& section, const QString& key, const QString& def);
    virtual QString ReadString(const QString& section, const QString& key, const char* def);
    virtual bool ReadBool(const QString& section, const QString& key, bool def);
    // Not used by the program's own windows; convenience for code that needs a number.
    virtual int ReadInteger(const QString& section, const QString& key, int def);

    QString FileName;
    QString MutexName;
    bool Named = false;

private:
    std::unique_ptr<CIniReader> Reader;
    std::recursive_mutex Mutex;
};
