#include "window/ShutdownGuard.h"

#include <QWidget>

// logind holds off shutdown for the supervisor: the window has nothing to add.
struct ShutdownGuard::Platform
{
};

ShutdownGuard::ShutdownGuard(QWidget *window)
    : QObject(window)
{ }

ShutdownGuard::~ShutdownGuard() = default;

void ShutdownGuard::hold(bool)
{ }
