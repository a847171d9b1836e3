#include "update/run/SupervisorProtocol.h"

std::optional<Refusal> supervisorRefusal(const RunEnd &end)
{
    if (end.kind != RunEnd::Exited)
        return std::nullopt;
    if (end.exitCode == supervisorBusyCode)
        return Refusal::Busy;
    if (end.exitCode == supervisorUnrecordedCode)
        return Refusal::Unrecorded;
    return std::nullopt;
}
