#pragma once
// The setup wizard's window: holds every page, shows one at a time and decides where forward and
// back lead from the page on show and the choices kept in g_Var. Pages never switch pages: they
// post UM_WIZARD to the application's main window, which hands it on here. The engine's messages
// take the same road and go on to the page on show.

#include "platform/core/messages.h"

#include <QDialog>
#include <QList>
#include <QPoint>

class TFrameBase;
class TPictureBox;
class TFrameWelcome;
class TFrameLicense;
class TFrameTutorial;
class TFrameDevList;
class TFramePassword;
class TFrameSetupMethod;
class TFrameDevIPCfg;
class TFrameSetWlMethod;
class TFrameWPSMethod;
class TFrameSuccess;
class TFrameWlProfile;
class TFrameAdhocMode;
class TFrameWlModeSel;
class TFrameWlConfig;
class TFrameSiteSurvey;
class TFrameTutorial2;

class TFormMain : public QDialog, public CMessageReceiver
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget* owner = nullptr);
    ~TFormMain() override;

    TPictureBox* ImgBG;
    // The pages, in creation order.
    TFrameWelcome* FrameWelcome1;
    TFrameLicense* FrameLicense1;
    TFrameTutorial* FrameTutorial1;
    TFrameDevList* FrameDevList1;
    TFramePassword* FramePassword1;
    TFrameSetupMethod* FrameSetupMethod1;
    TFrameDevIPCfg* FrameDevIPCfg1;
    TFrameSetWlMethod* FrameSetWlMethod1;
    TFrameWPSMethod* FrameWPSMethod1;
    TFrameSuccess* FrameSuccess1;
    TFrameWlProfile* FrameWlProfile1;
    TFrameAdhocMode* FrameAdhocMode1;
    TFrameWlModeSel* FrameWlModeSel1;
    TFrameWlConfig* FrameWlConfig1;
    TFrameSiteSurvey* FrameSiteSurvey1;
    TFrameTutorial2* FrameTutorial21;

    // The page on show, or null; changed only by SwitchTo.
    TFrameBase* CurrentPage = nullptr;

    // The pages (every TFrameBase the window owns) in creation order.
    QList<TFrameBase*> Pages() const;
    // The page of that instance name ("FrameDevList1"), or null.
    TFrameBase* PageByName(const QString& name) const;

    // UM_WIZARD goes to OnWizard; the engine's messages go to the page on show (dropped without
    // one); every message then gets the default handling.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // WZ_EXIT: the exit question; WZ_NEXT: GoNext; WZ_BACK: GoBack; anything else: nothing.
    void OnWizard(WPARAM kind, LPARAM param);
    // The page switch: leave the page on show, enter target (null: no page). False when the page
    // on show refuses to be left or the target refuses to be entered; true for the same page.
    virtual bool SwitchTo(TFrameBase* target, int direction, LPARAM param);
    // The page graph, forward and back.
    void GoNext(LPARAM param);
    void GoBack(LPARAM param);

protected:
    // The profile host's step (true when the step leaves the host).
    virtual bool StepSubPage(bool forward);
    // Whether the setup method page's fixed-address option is checked.
    virtual bool SetIPChecked() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void ExitQuestion();
    // NewIPConfig = DevIPConfig and NewWlConfig = DevWlConfig.
    void CopyConfiguration();
    void ImgBGMouseMove(QMouseEvent* e);

    QPoint m_dragOffset;
    bool m_dragging = false;
};

extern TFormMain* FormMain;
