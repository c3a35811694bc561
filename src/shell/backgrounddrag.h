#pragma once
// A borderless window is dragged by its background picture: the window system moves it when it
// can, otherwise the window follows the mouse.

#include <QPoint>

class QEvent;
class QMouseEvent;
class QWidget;

struct CBackgroundDrag
{
    QPoint& Offset;
    bool& Dragging;

    // Press, move and release on the background; true when the event was one of them.
    bool Filter(QWidget* window, QEvent* event);
    // The background's mouse-move handling.
    void MouseMove(QWidget* window, QMouseEvent* e);
};
