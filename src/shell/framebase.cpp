#include "shell/framebase.h"

#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

TFrameBase::TFrameBase(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

TFrameBase::~TFrameBase() = default;

QString TFrameBase::ClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

void TFrameBase::InitFrame()
{
    ApplyTextsLocked(this, ClassName());
}

void TFrameBase::DoneFrame() { }

bool TFrameBase::CanEnter(TFrameBase* from, int direction, LPARAM /*param*/)
{
    if (direction == WZ_DIR_FORWARD) {
        PrevPage = from;
    }
    return true;
}

void TFrameBase::EnterFrame(TFrameBase* /*from*/, int /*direction*/, LPARAM /*param*/) { }

bool TFrameBase::CanLeave(TFrameBase* /*to*/, int direction, LPARAM /*param*/)
{
    if (direction == WZ_DIR_BACK) {
        PrevPage = nullptr;
    }
    return true;
}

void TFrameBase::LeaveFrame(TFrameBase* /*to*/, int /*direction*/, LPARAM /*param*/) { }
