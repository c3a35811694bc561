#include "app/ui/texts.h"

#include "platform/core/inireader.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>

namespace {

bool IsNamed(const QObject* o)
{
    const QString n = o->objectName();
    return !n.isEmpty() && !n.startsWith(u"qt_");
}

void Collect(QObject* parent, QList<QObject*>& out, QSet<QObject*>& seen)
{
    for (QObject* child : parent->children()) {
        if (seen.contains(child)) {
            continue;
        }
        if (auto* action = qobject_cast<QAction*>(child)) {
            if (IsNamed(action)) {
                seen.insert(action);
                out.append(action);
            }
            continue;
        }
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr) {
            continue;
        }
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            // A menu owned by the container: its items are owned components too.
            for (QAction* a : menu->actions()) {
                if (!seen.contains(a) && IsNamed(a)) {
                    seen.insert(a);
                    out.append(a);
                }
            }
            Collect(menu, out, seen);
            continue;
        }
        if (w->isWindow()) {
            continue; // another window owns its own controls
        }
        seen.insert(w);
        if (IsNamed(w)) {
            out.append(w);
        }
        if (!IsEmbeddedPage(w)) {
            Collect(w, out, seen);
        }
    }
}

bool IsForm(const QWidget* w)
{
    return w->isWindow() && !IsEmbeddedPage(w);
}

QString Read(CIniReader* reader, const QString& section, const QString& key, const QString& def)
{
    return reader ? reader->ReadString(section, key, def) : def;
}

bool ReadBool(CIniReader* reader, const QString& section, const QString& key, bool def)
{
    return reader ? reader->ReadBool(section, key, def) : def;
}

void SetOwnVisible(QWidget* w, bool visible)
{
    if (OwnVisible(w) != visible) {
        w->setVisible(visible);
    }
}

// Comma-text split: items separated by commas or spaces; an item in double quotes may hold both,
// with "" standing for one quote.
QStringList SplitCommaText(const QString& text)
{
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isSep = [](QChar c) { return c == u',' || c == u' ' || c == u'\t'; };
    while (i < n) {
        while (i < n && (text[i] == u' ' || text[i] == u'\t')) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        QString item;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            // Anything glued to the closing quote belongs to the same item.
            while (i < n && !isSep(text[i])) {
                item += text[i++];
            }
        } else {
            while (i < n && !isSep(text[i])) {
                item += text[i++];
            }
        }
        items.append(item);
        while (i < n && (text[i] == u' ' || text[i] == u'\t')) {
            ++i;
        }
        if (i < n && text[i] == u',') {
            ++i;
        }
    }
    return items;
}

void ApplyCaption(QObject* o, const QString& section, CIniReader* reader)
{
    const QString key = o->objectName();
    if (auto* action = qobject_cast<QAction*>(o)) {
        action->setText(Read(reader, section, key, action->text()));
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (w == nullptr || IsEmbeddedPage(w)) {
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(Read(reader, section, key, label->text()));
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setText(Read(reader, section, key, check->text()));
    } else if (w->property("caption").isValid()) {
        w->setProperty("caption", Read(reader, section, key, w->property("caption").toString()));
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        if (!tree->inherits("TSortListView")) {
            QTreeWidgetItem* header = tree->headerItem();
            for (int c = 0; header && c < tree->columnCount(); ++c) {
                const QString colKey = QString::asprintf("%s_Col%d", key.toUtf8().constData(), c);
                header->setText(c, Read(reader, section, colKey, header->text(c)));
            }
        }
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        if (!table->inherits("TSortListView")) {
            for (int c = 0; c < table->columnCount(); ++c) {
                QTableWidgetItem* item = table->horizontalHeaderItem(c);
                const QString colKey = QString::asprintf("%s_Col%d", key.toUtf8().constData(), c);
                const QString def = item ? item->text() : QString::number(c + 1);
                const QString text = Read(reader, section, colKey, def);
                if (item) {
                    item->setText(text);
                } else if (text != def) {
                    table->setHorizontalHeaderItem(c, new QTableWidgetItem(text));
                }
            }
        }
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        radio->setText(Read(reader, section, key, radio->text()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(Read(reader, section, key, button->text()));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(PadGroupBoxCaption(Read(reader, section, key, group->title())));
    }
}

} // namespace

bool IsEmbeddedPage(const QObject* object)
{
    return object && (object->inherits("TFrameBase") || object->property("qrxEmbeddedPage").toBool());
}

bool OwnVisible(const QWidget* widget)
{
    if (widget->isWindow()) {
        return widget->isVisible();
    }
    return !(
        widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->testAttribute(Qt::WA_WState_Hidden));
}

QList<QObject*> OwnedComponents(QWidget* container)
{
    QList<QObject*> out;
    QSet<QObject*> seen;
    if (container) {
        Collect(container, out, seen);
    }
    return out;
}

QString PadGroupBoxCaption(const QString& caption)
{
    if (caption.isEmpty()) {
        return caption;
    }
    QString s = caption;
    if (!s.startsWith(u' ')) {
        s.prepend(u' ');
    }
    if (!s.endsWith(u' ')) {
        s.append(u' ');
    }
    return s;
}

QList<int> ParseIntegerList(const QString& text)
{
    QList<int> out;
    for (const QString& item : SplitCommaText(text)) {
        if (out.size() >= 16) {
            break;
        }
        if (const auto v = CIniReader::ParseInteger(item)) {
            out.append(*v);
        }
    }
    return out;
}

void ApplyTexts(QWidget* container, const QString& section, CIniReader* reader)
{
    if (container == nullptr) {
        return;
    }
    if (IsForm(container)) {
        container->setWindowTitle(Read(reader, section, container->objectName(), container->windowTitle()));
    }
    for (QObject* o : OwnedComponents(container)) {
        ApplyCaption(o, section, reader);
    }
}

void ApplyLayout(QWidget* container, const QString& name, CIniReader* reader)
{
    if (container == nullptr) {
        return;
    }
    const QString posSection = name + u"_CtrlPos";
    const QString visSection = name + u"_Visible";
    for (QObject* o : OwnedComponents(container)) {
        const QString key = o->objectName();
        if (auto* action = qobject_cast<QAction*>(o)) {
            action->setVisible(ReadBool(reader, visSection, key, action->isVisible()));
            continue;
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (w == nullptr) {
            continue;
        }
        if (IsEmbeddedPage(w)) {
            ApplyLayout(w, name + u'_' + key, reader);
        }
        const QString pos = Read(reader, posSection, key, QString()).trimmed();
        if (!pos.isEmpty()) {
            const QList<int> v = ParseIntegerList(pos);
            QRect r = w->geometry();
            if (v.size() >= 1) {
                r.moveLeft(v[0]);
            }
            if (v.size() >= 2) {
                r.moveTop(v[1]);
            }
            if (v.size() >= 3) {
                r.setWidth(v[2]);
            }
            if (v.size() >= 4) {
                r.setHeight(v[3]);
            }
            if (r != w->geometry()) {
                w->setGeometry(r);
            }
        }
        SetOwnVisible(w, ReadBool(reader, visSection, key, OwnVisible(w)));
    }
}
