#pragma once
// The last profile sub-page: shows the settings about to be written, saves them to a text file or
// prints them, and on Next writes the profile to the device under the progress dialog: a login
// first when the engine is not logged in, the set request (32 s), a pause of 3 s that keeps
// dispatching messages, the read-back (15 s). A set request without reply is repeated once after a
// fresh logout and login.

#include "shell/framebase.h"

#include <QList>
#include <QString>

#include <functional>

class QGroupBox;
class QLabel;
class QPainter;
class QPaintDevice;
class TEllipsisLabel;
class TFormProgress;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfConfirm : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfConfirm(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    // The engine's replies and time-outs, while the progress dialog is up.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Empties the captions of the three detail rows.
    void ClearInfoRows();
    // True when the network section (heading and three address rows) applies: access-point mode
    // or manual entry in bridge mode.
    static bool NetworkSectionShown();

    // The summary as written by Save: lines of "%s" (headings) and "\t%s %s" (rows), without line
    // ends.
    QStringList SummaryLines() const;
    // Writes the summary to fileName in text mode (CRLF line ends); false when it cannot be opened.
    bool SaveSettingsTo(const QString& fileName) const;
    // Draws the printed page on a painter already begun: 10-point font, headings at x 100, rows at
    // x 200, 100 units before each section, each line's top at the running position.
    void PrintSettings(QPainter& painter) const;

    // Test seam: when set, Print draws on the device it returns (after the print dialog accepted)
    // instead of the printer.
    static std::function<QPaintDevice*()> PrintDeviceOverride;

    void BtnNextClick();
    void BtnSaveClick();
    void BtnPrintClick();

    TPictureBox* ImgBG;
    QGroupBox* GBoxConfirm;
    QLabel* LbNetworkInfo;
    QLabel* LbIP;
    QLabel* LblIP;
    QLabel* LbMask;
    QLabel* LblMask;
    QLabel* LbGateway;
    QLabel* LblGateway;
    QLabel* LbWirelessInfo;
    QLabel* LbSSID;
    TEllipsisLabel* LblSSID;
    QLabel* LbWirelessMode;
    QLabel* LblWirelessMode;
    QLabel* LbSecurity;
    QLabel* LblSecurity;
    QLabel* LbInfo1;
    QLabel* LblInfo1;
    QLabel* LbInfo2;
    QLabel* LblInfo2;
    QLabel* LbInfo3;
    QLabel* LblInfo3;
    QLabel* LbComfirmMsg;
    TTrifaceBtn* BtnSave;
    TTrifaceBtn* BtnPrint;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    // One re-login still allowed in this write.
    bool RetryLogin = false;
    // The progress dialog while a write runs.
    TFormProgress* Progress() const { return m_progress; }

private:
    // The dialog's start step, and again after a successful re-login.
    void SendSettings();
    // Shows the progress dialog with SendSettings as its start step; its modal result.
    int RunWrite();
    void EndProgress(int result);
    // Places the rows for the layout in force.
    void ArrangeRows(bool networkShown);

    struct TRow
    {
        QLabel* caption;
        QLabel* value;
    };
    QList<TRow> NetworkRows() const;
    struct TSummaryLine
    {
        bool heading;
        QString text; // a row: caption, a space, value
    };
    QList<TSummaryLine> Summary() const;
    QList<TRow> WirelessRows() const;

    TFormProgress* m_progress = nullptr;
};
