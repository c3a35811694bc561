#include "shell/shellsupport.h"

#include "app/globalvar.h"
#include "app/ui/texts.h"

namespace {
// Holds the store's batch lock for one lookup; released also when the lookup throws.
class CBatchLock
{
public:
    CBatchLock()
        : m_ini(g_Var.Ini.get())
        , m_reader(m_ini ? m_ini->Lock() : nullptr)
    {
    }
    ~CBatchLock()
    {
        if (m_ini) {
            m_ini->Unlock();
        }
    }
    CBatchLock(const CBatchLock&) = delete;
    CBatchLock& operator=(const CBatchLock&) = delete;

    CIniReader* Reader() const { return m_reader; }

private:
    CThreadIni* m_ini;
    CIniReader* m_reader;
};
} // namespace

void ApplyTextsLocked(QWidget* container, const QString& section)
{
    CBatchLock lock;
    if (lock.Reader()) {
        ApplyTexts(container, section, lock.Reader());
    }
}

void ApplyLayoutLocked(QWidget* container, const QString& name)
{
    CBatchLock lock;
    if (lock.Reader()) {
        ApplyLayout(container, name, lock.Reader());
    }
}

QString ReadSettingString(const QString& section, const QString& key, const QString& def)
{
    return g_Var.Ini ? g_Var.Ini->ReadString(section, key, def) : def;
}
