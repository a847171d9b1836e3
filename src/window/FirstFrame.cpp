#include "window/FirstFrame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

FirstFrame::FirstFrame(QWidget *shown)
    : QObject(shown)
    , window(shown)
{
    window->installEventFilter(this);
    QTimer::singleShot(0, this, [this] {
        if (!window->isVisible())
            reach();
    });
}

// The window is drawn while its first exposure is handled; whether any of
// it is painted by the window itself, rather than by what it holds, depends
// on the layout. Queued, so that the frame is finished first.
bool FirstFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (state != State::Waiting)
        return false;
    QWindow *handle = window->windowHandle();
    if (watched == window && event->type() == QEvent::Show && handle)
        handle->installEventFilter(this);
    if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
        state = State::Drawn;
        QTimer::singleShot(0, this, &FirstFrame::reach);
    }
    return false;
}

void FirstFrame::reach()
{
    if (state == State::Reached)
        return;
    state = State::Reached;
    window->removeEventFilter(this);
    if (QWindow *handle = window->windowHandle())
        handle->removeEventFilter(this);
    emit reached();
}
