#include "pages/framewlprofkit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

QGroupBox* CreateWlGroupBox(QWidget* page, const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(WL_GBOX_LEFT, WL_GBOX_TOP, WL_GBOX_WIDTH, WL_GBOX_HEIGHT);
    box->setStyleSheet(QStringLiteral(
        "QGroupBox#%1 { background-color: white; border: 1px solid #9fb5d2; border-radius: 3px;"
        " margin-top: 7px; padding-top: 6px; }"
        "QGroupBox#%1::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
        " padding: 0px 1px; color: #1c3f78; background-color: white; }")
                           .arg(box->objectName()));
    return box;
}

QLabel* CreateWlLabel(
    QWidget* parent, const char* name, const QString& text, const QRect& r, bool rightAligned)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(r);
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return label;
}

QComboBox* CreateWlDropDown(QWidget* parent, const char* name, const QRect& r)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(false);
    combo->setGeometry(r);
    return combo;
}

void AddCodeItem(QComboBox* combo, const QString& text, int code)
{
    combo->addItem(text, code);
}

int SelectedCode(const QComboBox* combo, int def)
{
    const int index = combo->currentIndex();
    if (index < 0) {
        return def;
    }
    bool ok = false;
    const int code = combo->itemData(index).toInt(&ok);
    return ok ? code : def;
}

QString CodeText(const QString* table, int count, int code)
{
    return code >= 0 && code < count ? table[code] : QString();
}

#include "controls/imagebuttons.h"
#include "shell/framebase.h"
#include "shell/pagekit.h"
#include "shell/wizardmessages.h"

TWizardButtons CreateWlWizardButtons(TFrameBase* page)
{
    TWizardButtons b {};
    b.Exit = CreateWizardButton(page, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    QObject::connect(b.Exit, &TTrifaceBtn::clicked, page, [] { PostWizard(WZ_EXIT); });
    b.Back = CreateWizardButton(page, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    QObject::connect(b.Back, &TTrifaceBtn::clicked, page, [] { PostWizard(WZ_BACK); });
    b.Next = CreateWizardButton(page, "BtnNext", QStringLiteral("Next"), TButtonPlace::Right);
    return b;
}

QRect WlCaptionRect(int row)
{
    return QRect(40, 60 + row * 36, 150, 21);
}

QRect WlFieldRect(int row, int width)
{
    return QRect(200, 60 + row * 36, width, 21);
}
