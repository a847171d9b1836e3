#include "window/ShutdownGuard.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

// A window that says why it blocks shutdown, and answers the question
// whether the session may end with No while it does.
struct ShutdownGuard::Platform : QAbstractNativeEventFilter
{
    QWidget *window = nullptr;
    bool held = false;

    bool nativeEventFilter(const QByteArray &, void *message, long *result) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (!held || msg->message != WM_QUERYENDSESSION)
            return false;
        *result = FALSE;
        return true;
    }
};

ShutdownGuard::ShutdownGuard(QWidget *window)
    : QObject(window)
    , platform(std::make_unique<Platform>())
{
    platform->window = window;
    QCoreApplication::instance()->installNativeEventFilter(platform.get());
}

ShutdownGuard::~ShutdownGuard()
{
    QCoreApplication::instance()->removeNativeEventFilter(platform.get());
}

void ShutdownGuard::hold(bool on)
{
    if (on == platform->held)
        return;
    platform->held = on;
    const HWND handle = reinterpret_cast<HWND>(platform->window->winId());
    if (on)
        ShutdownBlockReasonCreate(handle, tr("Updating touch panel firmware").toStdWString().c_str());
    else
        ShutdownBlockReasonDestroy(handle);
}
