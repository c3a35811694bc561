#pragma once
// Captions, positions and visibility from the settings file, applied over Qt widgets.
// A control's name is its objectName. A container's owned components are its named descendants in
// children order, depth first, stopping at embedded pages (widgets that inherit TFrameBase, or
// carry the dynamic property "qrxEmbeddedPage" = true) and at other windows; an embedded page owns
// its own components. Menu items are the named QActions among them (also inside owned menus).

#include <QList>
#include <QString>

class QObject;
class QWidget;
class CIniReader;

// Form caption (windowTitle, key = the container's name) when the container is a form, then the
// caption of every owned label, check box, panel (property "caption"), standard list view columns
// ("%s_Col%d"; not TSortListView), button, radio button, group box (padded) and menu item.
void ApplyTexts(QWidget* container, const QString& section, CIniReader* reader);

// Positions from "<name>_CtrlPos" (left, top, width, height; fewer integers set fewer edges) and
// visibility from "<name>_Visible"; an embedded page first gets ApplyLayout with "<name>_<page>".
void ApplyLayout(QWidget* container, const QString& name, CIniReader* reader);

// A group box caption: not empty -> a space added in front and at the end unless already there.
QString PadGroupBoxCaption(const QString& caption);
// Items split at commas and spaces (quoted items allowed); integers taken in order, others
// skipped; at most 16.
QList<int> ParseIntegerList(const QString& text);

// True for an embedded page (TFrameBase or property "qrxEmbeddedPage").
bool IsEmbeddedPage(const QObject* object);
// The widget's own visibility flag (not hidden explicitly), whatever its parents' state.
bool OwnVisible(const QWidget* widget);
// The owned components of a container, in order (see above).
QList<QObject*> OwnedComponents(QWidget* container);
