#pragma once
// Base of every wizard page. The wizard window drives a page only through these six operations;
// a page that overrides one calls the base operation where its own behaviour says so.
// `from` and `to` are pages or null, `direction` is WZ_DIR_FORWARD (0) or WZ_DIR_BACK (1), and
// `param` is the lParam of the UM_WIZARD message that caused the switch.

#include "platform/core/messages.h"

#include <QFrame>

class TFrameBase : public QFrame, public CMessageReceiver
{
    Q_OBJECT
public:
    explicit TFrameBase(QWidget* parent = nullptr);
    ~TFrameBase() override;

    // Once per page, when the wizard window is created: looks up the captions of the page's
    // controls with the page's class name as section, under the settings store's batch lock.
    virtual void InitFrame();
    // Once per page, when the wizard window is destroyed: nothing here.
    virtual void DoneFrame();
    // On the page about to be shown: going forward it remembers `from` as PrevPage; true.
    virtual bool CanEnter(TFrameBase* from, int direction, LPARAM param);
    // On the page just shown: nothing here.
    virtual void EnterFrame(TFrameBase* from, int direction, LPARAM param);
    // On the page on show, before anything changes: going back it forgets PrevPage; true.
    virtual bool CanLeave(TFrameBase* to, int direction, LPARAM param);
    // On the page just hidden: nothing here.
    virtual void LeaveFrame(TFrameBase* to, int direction, LPARAM param);

    // The page from which this page was last entered going forward, or null.
    TFrameBase* PrevPage = nullptr;

    // The class name of the page ("TFrameDevList"): the section of its captions.
    QString ClassName() const;
};
