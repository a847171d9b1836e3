#include "update/run/SleepInhibitor.h"

#include <windows.h>

// For this thread, which is the supervisor's only one to ask: the system
// stays awake until the state is cleared or the supervisor ends.
struct SleepInhibitor::Hold
{
};

SleepInhibitor::SleepInhibitor()
{
    if (SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) == 0)
        why = qt_error_string(int(GetLastError()));
    else
        hold = std::make_unique<Hold>();
}

SleepInhibitor::~SleepInhibitor()
{
    if (hold)
        SetThreadExecutionState(ES_CONTINUOUS);
}

int SleepInhibitor::descriptor() const
{
    return -1;
}
