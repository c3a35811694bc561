#pragma once
// The launcher: the borderless picture window the CD opens first, and the application's main
// window. Its buttons start the setup wizard, open the user guide and the quick installation
// guide (a small sub-menu), product registration, and exit. Every page's UM_WIZARD and the
// engine's messages come here and are handed on to the wizard window.

#include "launcher/installerwatch.h"
#include "platform/core/messages.h"

#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

class QLabel;
class TKestImage;
class TPictureBox;
class TTimer;
class TTrifaceBtn;

class TFormAutorun : public QWidget, public CMessageReceiver
{
    Q_OBJECT
public:
    explicit TFormAutorun(QWidget* owner = nullptr);
    ~TFormAutorun() override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnSetupWizard;
    TTrifaceBtn* BtnUG;
    TKestImage* BtnUG_UG;
    TKestImage* BtnUG_QIG;
    TTrifaceBtn* BtnProductReg;
    TTrifaceBtn* BtnExit;
    TTimer* TimerInstAcrobat;

    // The sub-menu flag (starts closed).
    bool SubMenuOpen() const { return m_subMenuOpen; }
    // The installer watch of the launcher (its miss counter).
    CInstallerWatch& InstallerWatch() { return *m_watch; }
    // True once the launcher has been closed (the program ends).
    bool IsClosed() const { return m_closed; }
    // Start-up builds the wizard window behind the launcher once the launcher is on screen; this
    // makes it at once should the wizard be asked for before that.
    void SetWizardMaker(std::function<void()> maker) { m_wizardMaker = std::move(maker); }

    // UM_WIZARD and the engine's three messages are first sent on to the wizard window.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The event handlers.
    void BtnSetupWizardClick();
    void BtnUGClick();
    void BtnUG_UGClick();
    void BtnUG_QIGClick();
    void BtnProductRegClick();
    void BtnExitClick();

    // Vertical distance the buttons below the sub-menu move when it opens or closes.
    static constexpr int SUB_MENU_SHIFT = 48;

Q_SIGNALS:
    // The launcher closed: the program's message loop ends.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();

    std::function<void()> m_wizardMaker;
    void ImgBGMouseMove(QMouseEvent* e);

    // Hidden holders of the sub-menu entries' two pictures each.
    QLabel* m_entryPictures[4] = {};
    std::unique_ptr<CInstallerWatch> m_watch;
    bool m_subMenuOpen = false;
    bool m_closed = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

extern TFormAutorun* FormAutorun;
