#include "window/FirstFrame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

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

bool FirstFrame::eventFilter(QObject *watched, QEvent *event)
{
    // Queued: the frame is finished and flushed before anything else runs.
    if (watched == window && event->type() == QEvent::Paint && state == State::Waiting) {
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
    emit reached();
}
