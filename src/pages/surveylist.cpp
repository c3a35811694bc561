#include "pages/surveylist.h"

#include "app/utils.h"
#include "app/validation.h"
#include "controls/artwork_resources.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formres.h"
#include "shell/imagelist.h"

#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QTreeWidgetItem>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kIconCount = 9;

// The survey pages' waits for the login and the survey replies, in ms.
constexpr std::uint32_t LOGIN_WAIT = 5000;
constexpr std::uint32_t SURVEY_WAIT = 7000;

template <typename T> int Sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

QList<QPixmap> SurveyIcons()
{
    if (FormRes && FormRes->ImgsType && FormRes->ImgsType->Count() > 0) {
        return FormRes->ImgsType->Images();
    }
    // Without the image form (a list made on its own) the built-in icons serve.
    QList<QPixmap> icons;
    for (int i = 0; i < kIconCount; ++i) {
        icons.append(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgsType"), i)));
    }
    return icons;
}

QChar FoldAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u - u'A' + u'a')) : c;
}

} // namespace

TSortListView* CreateSurveyList(QWidget* parent, const QRect& geometry)
{
    auto* list = new TSortListView(parent);
    list->setObjectName(QStringLiteral("SurveyList"));
    list->setGeometry(geometry);
    list->SetGridLines(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsMovable(false);
    list->SetSmallImages(SurveyIcons());
    // Sorted by signal, strongest first; the icon column never sorts.
    list->SetIncrease(false);
    list->SetSortColunm(SURVEY_COL_SIGNAL);
    list->SetSkipSort1(SURVEY_COL_ICON);
    list->SetIncBMP(LoadArtwork(QStringLiteral("IncBMP")));
    list->SetDecBMP(LoadArtwork(QStringLiteral("DecBMP")));
    // The captions are fixed: the settings file does not reach this kind of list.
    list->AddColumn(QString(), 30, Qt::AlignLeft);
    list->AddColumn(QStringLiteral("SSID"), 115, Qt::AlignLeft);
    list->AddColumn(QStringLiteral("Channel"), 50, Qt::AlignHCenter);
    list->AddColumn(QStringLiteral("Signal"), 60, Qt::AlignLeft);
    list->AddColumn(QStringLiteral("Encryption"), 70, Qt::AlignHCenter);
    list->AddColumn(QStringLiteral("Authentication"), 80, Qt::AlignHCenter);
    list->AddColumn(QStringLiteral("BSSID"), 110, Qt::AlignLeft);
    list->SetOnCompare(
        [list](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return CompareSurveyRows(list, a, b); });
    list->SetOnCustomDraw([list](QPainter& p, const QRect& area) { PaintSurveyStripes(list, p, area); });
    list->SetOnDrawItem([list](QPainter& p, QTreeWidgetItem* item, const QRect& row, bool selected) {
        DrawSurveyRow(list, p, item, row, selected);
    });
    return list;
}

TPaintPanel* CreateSearchPanel(QWidget* parent, const TSortListView* list)
{
    auto* panel = new TPaintPanel(parent);
    panel->setObjectName(QStringLiteral("PlSearch"));
    panel->SetCaption(QStringLiteral("Searching..."));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    const QRect r = list->geometry();
    constexpr int w = 200;
    constexpr int h = 40;
    panel->setGeometry(r.left() + (r.width() - w) / 2, r.top() + (r.height() - h) / 2, w, h);
    panel->raise();
    return panel;
}

QString SurveyAuthText(int code, TSurveyTexts texts)
{
    if (texts == TSurveyTexts::PskCodesOnly && code > 4) {
        return {};
    }
    return SurveyAuthenticationText(code);
}

int SurveyRowIcon(const tag_AP_ROFIILE& entry)
{
    return (entry.IconFlag != 0 ? SURVEY_ICON_ADAPTER : SURVEY_ICON_AP)
        + (entry.Authentication != 0 ? SURVEY_ICON_LOCKED : 0);
}

int SurveySignalIcon(std::int32_t signal)
{
    // A level below zero would otherwise reach back into the access point icons.
    const std::int32_t steps = std::clamp<std::int32_t>(signal / 20, 0, 4);
    return SURVEY_ICON_SIGNAL1 + int(steps);
}

QStringList SurveyRowCells(const tag_AP_ROFIILE& entry, TSurveyTexts texts)
{
    return {
        QString(),
        FieldToText(entry.SSID, int(sizeof entry.SSID)),
        QString::number(entry.Channel),
        QString::number(entry.Signal) + QLatin1Char('%'),
        SurveyEncryptionText(entry.Encryption),
        SurveyAuthText(entry.Authentication, texts),
        MacToText(entry.BSSID),
    };
}

void ClearSurveyRows(TSortListView* list)
{
    const QSignalBlocker block(list->selectionModel());
    list->ClearRows();
    list->viewport()->update();
}

void FillSurveyRows(TSortListView* list, const std::vector<tag_AP_ROFIILE>& entries, TSurveyTexts texts)
{
    ClearSurveyRows(list);
    list->setUpdatesEnabled(false);
    for (const tag_AP_ROFIILE& entry : entries) {
        QTreeWidgetItem* row
            = list->AddRow(SurveyRowCells(entry, texts), QVariant::fromValue(entry), SurveyRowIcon(entry));
        list->SetCellImage(row, SURVEY_COL_SIGNAL, SurveySignalIcon(entry.Signal));
    }
    list->SortRows();
    list->setUpdatesEnabled(true);
}

bool SurveyRowEntry(const QTreeWidgetItem* item, tag_AP_ROFIILE& entry)
{
    const QVariant data = TSortListView::RowData(item);
    if (!data.canConvert<tag_AP_ROFIILE>()) {
        return false;
    }
    entry = data.value<tag_AP_ROFIILE>();
    return true;
}

bool SelectedSurveyEntry(const TSortListView* list, tag_AP_ROFIILE& entry)
{
    const QTreeWidgetItem* row = list->Selected();
    return row != nullptr && SurveyRowEntry(row, entry);
}

int CompareTextAsciiFolded(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = FoldAscii(a.at(i)).unicode();
        const char16_t cb = FoldAscii(b.at(i)).unicode();
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return Sign(a.size(), b.size());
}

int CompareSurveyRows(const TSortListView* list, const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    const int column = list->SortColunm();
    tag_AP_ROFIILE ea {};
    tag_AP_ROFIILE eb {};
    SurveyRowEntry(a, ea);
    SurveyRowEntry(b, eb);
    int r = 0;
    if (column <= 0) {
        r = CompareTextAsciiFolded(a->text(0), b->text(0));
    } else if (column == SURVEY_COL_CHANNEL) {
        r = Sign(std::uint32_t(ea.Channel), std::uint32_t(eb.Channel));
    } else if (column == SURVEY_COL_SIGNAL) {
        r = Sign(ea.Signal, eb.Signal);
    } else if (column == SURVEY_COL_BSSID) {
        const int c = std::memcmp(ea.BSSID, eb.BSSID, sizeof ea.BSSID);
        r = c < 0 ? -1 : (c > 0 ? 1 : 0);
    } else {
        r = CompareTextAsciiFolded(a->text(column), b->text(column));
    }
    return list->Increase() ? r : -r;
}

void PaintSurveyStripes(const TSortListView* list, QPainter& p, const QRect& area)
{
    QRect first;
    int index = 0;
    if (list->RowCount() > 0) {
        QTreeWidgetItem* top = list->itemAt(QPoint(0, 0));
        if (!top) {
            top = list->Row(0);
        }
        first = list->RowRect(top);
        index = list->indexOfTopLevelItem(top);
    } else if (!list->SmallImages().isEmpty()) {
        // The list's client area begins below the header here: the header height + 2 of the
        // client area is 2 in the viewport.
        const int imageHeight = list->SmallImages().first().height();
        first = QRect(area.left(), 2, area.width(), imageHeight + 1);
    }
    const int h = first.height();
    if (h <= 0) {
        return;
    }
    p.save();
    const QColor pale = QColor::fromRgb(SURVEY_STRIPE_RGB);
    for (int y = first.top(); y <= area.bottom(); y += h, ++index) {
        if (y + h <= area.top()) {
            continue;
        }
        p.fillRect(QRect(area.left(), y, area.width(), h), (index % 2) != 0 ? pale : QColor(Qt::white));
    }
    p.restore();
}

void DrawSurveyRow(
    const TSortListView* list, QPainter& p, QTreeWidgetItem* item, const QRect& rowRect, bool selected)
{
    p.save();
    if (selected) {
        // The box covers the row but its last line.
        const QRect box(rowRect.left(), rowRect.top(), rowRect.width(), rowRect.height() - 1);
        p.fillRect(box, QColor::fromRgb(SURVEY_SELECT_BRUSH_RGB));
        p.setPen(QColor::fromRgb(SURVEY_SELECT_PEN_RGB));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
    }
    tag_AP_ROFIILE entry {};
    SurveyRowEntry(item, entry);
    const QColor textColour = entry.EntryFlag ? QColor(Qt::blue) : QColor(Qt::black);
    const QList<QPixmap>& images = list->SmallImages();
    const int imageWidth = images.isEmpty() ? 16 : images.first().width();

    const int top = rowRect.top();
    const int height = rowRect.height() - 1;
    int x = rowRect.left() + 1;
    for (int i = 0; i < list->columnCount(); ++i) {
        const int w = list->columnWidth(i);
        QRect cell(x, top, w - 1, height);
        x += w;
        if (cell.isEmpty()) {
            continue;
        }
        const int icon = TSortListView::CellImage(item, i);
        if (icon >= 0) {
            if (icon < images.size()) {
                // Drawn over what the cell already shows, and never beyond it.
                p.save();
                p.setClipRect(cell, Qt::IntersectClip);
                p.drawPixmap(cell.left() + 1, cell.top(), images.at(icon));
                p.restore();
            }
            cell.setLeft(cell.left() + imageWidth + 1);
        }
        p.setPen(textColour);
        TSortListView::SubItemTextOut(p, item->text(i), cell, list->ColumnAlignment(i));
    }
    p.restore();
}

tag_AP_ROFIILE DemonstrationEntry()
{
    tag_AP_ROFIILE e {};
    e.EntryFlag = false;
    CopyTextToField(QStringLiteral("NonWorkingTestMode"), e.SSID, int(sizeof e.SSID));
    std::memcpy(e.BSSID, "123456", 6);
    e.Signal = 80;
    e.Channel = 1;
    e.Encryption = 0;
    e.Authentication = 0;
    e.IconFlag = 1;
    e.WPS = true;
    return e;
}

void HandleSurveyMessage(UINT msg, WPARAM wParam, LPARAM lParam, const std::function<void()>& fillList,
    const std::function<void()>& search)
{
    if (msg == UM_UDP_RECV) {
        if (int(wParam) == OP_SITE_SURVEY) {
            fillList();
        } else if (int(wParam) == OP_LOGIN && lParam != 0) {
            search();
        }
    } else if (msg == UM_UDP_TIMEOUT) {
        fillList();
    }
}

void StartSurveySearch(QWidget* refresh, TSortListView* list, QWidget* searching)
{
    if (!FormUDP) {
        return;
    }
    if (!FormUDP->LoggedIn) {
        // An accepted login starts the search again.
        FormUDP->SendLogin(LOGIN_WAIT);
        return;
    }
    refresh->setEnabled(false);
    ClearSurveyRows(list);
    searching->show();
    searching->raise();
    FormUDP->SendSiteSurvey(SURVEY_WAIT);
}
