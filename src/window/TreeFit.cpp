#include "window/TreeFit.h"

#include "selection/DirGroup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <utility>

TreeFit::TreeFit(QWidget *fitted, QList<DirGroup *> fittedGroups, QWidget *theList)
    : QObject(fitted)
    , window(fitted)
    , groups(std::move(fittedGroups))
    , list(theList)
{
    soon.setSingleShot(true);
    soon.setInterval(0);
    connect(&soon, &QTimer::timeout, this, &TreeFit::fit);
    asked.insert(window->height());
    window->installEventFilter(this);
    for (DirGroup *group : this->groups)
        group->installEventFilter(this);
    list->installEventFilter(this);
}

bool TreeFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Resize)
        return QObject::eventFilter(watched, event);
    // A group squeezed by what grew below it asks for room again; the list
    // may have given room to what is below it.
    if (watched != window) {
        fitSoon();
        return QObject::eventFilter(watched, event);
    }
    // Sizes the program sets (here, or the layout for its minimum) come
    // first as its own events; one the window system gives that was never
    // set is the user's.
    const int height = static_cast<QResizeEvent *>(event)->size().height();
    if (!event->spontaneous())
        asked.insert(height);
    else if (!asked.contains(height))
        userSized = true;
    else if (height != settled) {
        staleSize = true;
        fitSoon();
    }
    return QObject::eventFilter(watched, event);
}

void TreeFit::fit()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (window->isVisible() && !userSized
        && !(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        grow();
    belowLaidOut = belowHeight();
    listKept = list->height();
    settled = window->height();
}

void TreeFit::grow()
{
    const QRect room = window->screen()->availableGeometry();
    const int most = room.height() - frameHeight();
    // What the list gave up to what grew below it, the window gives back
    // (and takes back what it gained). Groups squeezed meanwhile take their
    // part of what is given first: a few steps make up the rest.
    if (belowHeight() != belowLaidOut && listKept >= 0) {
        for (int step = 0; step < 5 && list->height() != listKept; ++step)
            if (!setHeight(window->height() + listKept - list->height(), most))
                break;
    }
    // The window system may confirm an older size after the newer one was
    // asked for: the newer stands.
    else if (std::exchange(staleSize, false))
        setHeight(settled, most);
    widen(room.width() * 2 / 3);
    // The groups share the window's height with the list, so each step gives
    // them part of what was added: a few steps make up the rest.
    for (int step = 0; step < 20; ++step) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const int height = qMin(window->height() + hiddenHeight(), most);
        if (height <= window->height())
            break;
        window->resize(window->width(), height);
    }
    // Grown past the screen's edges, it moves back in.
    const QRect frame = window->frameGeometry();
    if (frame.bottom() > room.bottom() || frame.right() > room.right())
        window->move(qMin(frame.left(), qMax(room.left(), room.right() + 1 - frame.width())),
                     qMin(frame.top(), qMax(room.top(), room.bottom() + 1 - frame.height())));
}

// The title bar and borders around the window; before the window manager
// has framed the window, what a title bar usually takes.
int TreeFit::frameHeight() const
{
    const int framed = window->frameGeometry().height() - window->height();
    return framed > 0 ? framed : window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
}

// Whatever it is: the buttons, the run panel.
int TreeFit::belowHeight() const
{
    return list->parentWidget()->height() - list->geometry().bottom();
}

// As far as the screen and the window's minimum allow; false where that is
// where it is.
bool TreeFit::setHeight(int height, int most)
{
    height = qBound(window->minimumHeight(), height, qMax(most, window->minimumHeight()));
    if (height == window->height())
        return false;
    window->resize(window->width(), height);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return true;
}

// The groups share the width: each pixel a name lacks takes two. Never
// narrower than it is, nor wider than most.
void TreeFit::widen(int most)
{
    int hidden = 0;
    for (const DirGroup *group : groups)
        hidden = qMax(hidden, group->hiddenWidth());
    const int width = qMin(window->width() + 2 * hidden, qMax(most, window->width()));
    if (width > window->width())
        window->resize(width, window->height());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

int TreeFit::hiddenHeight() const
{
    int hidden = 0;
    for (const DirGroup *group : groups)
        hidden = qMax(hidden, group->hiddenHeight());
    return hidden;
}
