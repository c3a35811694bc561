#pragma once
// The survey list that the site survey page and the WPS survey dialog share: seven columns (icon,
// SSID, channel, signal, encryption, authentication, BSSID), rows that own a copy of their access
// point's survey entry, the compare rule of the sortable list (signal, strongest first, at the
// start), pale yellow stripes behind the rows, and owner-drawn rows (a light blue selection box,
// blue text for flagged entries, icons over the cell, centred and ellipsised cell text).

#include "platform/core/messages.h"
#include "protocol/codec/records.h"

#include <QMetaType>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPainter;
class QTreeWidgetItem;
class QWidget;
class TPaintPanel;
class TSortListView;

Q_DECLARE_METATYPE(tag_AP_ROFIILE)

// Which authentication codes have a text: the site survey page names codes 0 to 7, the WPS survey
// dialog codes 0 to 4 only.
enum class TSurveyTexts { AllCodes, PskCodesOnly };

// Column indexes.
constexpr int SURVEY_COL_ICON = 0;
constexpr int SURVEY_COL_SSID = 1;
constexpr int SURVEY_COL_CHANNEL = 2;
constexpr int SURVEY_COL_SIGNAL = 3;
constexpr int SURVEY_COL_ENCRYPTION = 4;
constexpr int SURVEY_COL_AUTH = 5;
constexpr int SURVEY_COL_BSSID = 6;

// Icons of the image form's ImgsType.
constexpr int SURVEY_ICON_AP = 0;
constexpr int SURVEY_ICON_ADAPTER = 1;
constexpr int SURVEY_ICON_LOCKED = 2; // added to the two above for a secured network
constexpr int SURVEY_ICON_SIGNAL1 = 4; // one filled step; up to 8, five steps

// Creates the list named SurveyList at geometry: report view with grid lines, read-only, whole-row
// selection, the ImgsType icons as small images, sorted by signal with the strongest first, the
// icon column deaf to header clicks, both arrow pictures, the seven fixed columns, and the
// compare, background and row drawing below. The page connects ColumnClick and SelectItem.
TSortListView* CreateSurveyList(QWidget* parent, const QRect& geometry);

// The borderless white "Searching..." panel centred over the list, shown.
TPaintPanel* CreateSearchPanel(QWidget* parent, const TSortListView* list);

// Texts of the codes. Authentication code 1 and codes above the kind's range have no text.
QString SurveyAuthText(int code, TSurveyTexts texts);
// The row icon: access point or adapter by IconFlag, with the padlock when Authentication is set.
int SurveyRowIcon(const tag_AP_ROFIILE& entry);
// The signal staircase: one step below 20 %, five from 80 %. A negative level shows one step.
int SurveySignalIcon(std::int32_t signal);
// The seven cells of an entry's row: empty caption, SSID (to its first zero byte), channel in
// decimal, "%d%%" of the signal, encryption, authentication, BSSID as upper-case hex with colons.
QStringList SurveyRowCells(const tag_AP_ROFIILE& entry, TSurveyTexts texts);

// Empties the list (the rows' copies go with them) without reporting a selection change.
void ClearSurveyRows(TSortListView* list);
// Empties the list and lists the entries, each row owning a copy, then sorts the rows.
void FillSurveyRows(TSortListView* list, const std::vector<tag_AP_ROFIILE>& entries, TSurveyTexts texts);
// What a survey page does with a message of the engine: a survey reply or a time-out fills the list
// (after a time-out with the entries of the last reply received, if any); an accepted login
// searches again.
void HandleSurveyMessage(UINT msg, WPARAM wParam, LPARAM lParam, const std::function<void()>& fillList,
    const std::function<void()>& search);
// A survey page's search: while logged out it logs in first (an accepted login searches again);
// otherwise Refresh off, the list emptied, the "Searching..." panel shown and the survey sent.
void StartSurveySearch(QWidget* refresh, TSortListView* list, QWidget* searching);

// The copy a row owns; false (entry untouched) for a null row or one without an entry.
bool SurveyRowEntry(const QTreeWidgetItem* item, tag_AP_ROFIILE& entry);
// The entry of the selected row; false when no row is selected.
bool SelectedSurveyEntry(const TSortListView* list, tag_AP_ROFIILE& entry);

// The compare rule: < 0 when a sorts before b, with the list's SortColunm and Increase.
int CompareSurveyRows(const TSortListView* list, const QTreeWidgetItem* a, const QTreeWidgetItem* b);
// Case-insensitive comparison that folds the ASCII letters only; -1, 0 or 1.
int CompareTextAsciiFolded(const QString& a, const QString& b);

// The background before the rows: stripes of the row height from the top visible row down,
// pale yellow for odd row indexes and white for even ones. Area in viewport coordinates.
void PaintSurveyStripes(const TSortListView* list, QPainter& p, const QRect& area);
// One owner-drawn row.
void DrawSurveyRow(
    const TSortListView* list, QPainter& p, QTreeWidgetItem* item, const QRect& rowRect, bool selected);

// Colours of the drawing.
inline constexpr unsigned SURVEY_STRIPE_RGB = 0xFFFFE1; // red 255, green 255, blue 225
inline constexpr unsigned SURVEY_SELECT_PEN_RGB = 0x98B5E2; // red 152, green 181, blue 226
inline constexpr unsigned SURVEY_SELECT_BRUSH_RGB = 0xE5ECF8; // red 229, green 236, blue 248

// The entry the site survey page uses without a device: "NonWorkingTestMode", BSSID "123456",
// signal 80, channel 1, open, adapter icon, WPS.
tag_AP_ROFIILE DemonstrationEntry();
