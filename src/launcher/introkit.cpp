#include "launcher/introkit.h"

#include "app/globalvar.h"

#include <QGroupBox>

QGroupBox* CreateWhiteGroupBox(QWidget* page, const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(12, 8, 576, 276);
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { background-color: white; border: 1px solid #9fb5d2; border-radius: 3px;"
        " margin-top: 7px; padding-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
        " padding: 0px 1px; color: #1c3f78; background-color: white; }"));
    return box;
}

bool ReadSettingBool(const QString& section, const QString& key, bool def)
{
    return g_Var.Ini ? g_Var.Ini->ReadBool(section, key, def) : def;
}
