#pragma once

#include <QObject>

#include <memory>

class QWidget;

// While a run is on, asks the system not to end the session under it
// (Windows; on Linux the supervisor's logind inhibitor does this).
class ShutdownGuard : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownGuard(QWidget *window);
    ~ShutdownGuard() override;

    void hold(bool on);

private:
    struct Platform;
    std::unique_ptr<Platform> platform;
};
