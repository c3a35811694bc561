#include "shell/backgrounddrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

bool CBackgroundDrag::Filter(QWidget* window, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            Offset = me->globalPosition().toPoint() - window->frameGeometry().topLeft();
            Dragging = true;
        }
        return true;
    }
    case QEvent::MouseMove:
        MouseMove(window, static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        Dragging = false;
        return true;
    default:
        return false;
    }
}

void CBackgroundDrag::MouseMove(QWidget* window, QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)) {
        Dragging = false;
        return;
    }
    if (window->windowHandle() && window->windowHandle()->startSystemMove()) {
        Dragging = false;
        return;
    }
    if (!Dragging) {
        Offset = e->globalPosition().toPoint() - window->frameGeometry().topLeft();
        Dragging = true;
    }
    window->move(e->globalPosition().toPoint() - Offset);
}
