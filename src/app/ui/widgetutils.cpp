#include "app/ui/widgetutils.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

bool SelectComboByValue(QComboBox* combo, int code)
{
    if (combo == nullptr) {
        return false;
    }
    for (int i = 0; i < combo->count(); ++i) {
        const QVariant data = combo->itemData(i);
        bool ok = false;
        const int value = data.toInt(&ok);
        if (data.isValid() && ok && value == code) {
            combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

int ListHeaderHeight(QAbstractItemView* list)
{
    QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<QTreeView*>(list)) {
        header = tree->header();
    } else if (auto* table = qobject_cast<QTableView*>(list)) {
        header = table->horizontalHeader();
    }
    if (header == nullptr
        || (header->testAttribute(Qt::WA_WState_ExplicitShowHide)
            && header->testAttribute(Qt::WA_WState_Hidden))) {
        return 0;
    }
    // Until the list is shown the header has not been placed yet: its height is the one it will get.
    if (!list->isVisible()) {
        return header->sizeHint().height();
    }
    return header->geometry().height();
}

void FocusControl(QWidget* control)
{
    try {
        if (control == nullptr) {
            return;
        }
        QWidget* form = control->window();
        if (form == nullptr || !form->isVisible()) {
            return;
        }
        if (!control->isVisible() || !control->isEnabled() || control->focusPolicy() == Qt::NoFocus) {
            return;
        }
        control->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        // Never fails.
    }
}
