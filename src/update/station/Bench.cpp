#include "update/station/Bench.h"

#include "update/station/StationRun.h"

Bench::Bench(QObject *parent)
    : QObject(parent)
{ }

void Bench::follow(const StationRun *run)
{
    connect(run, &StationRun::asked, this, &Bench::asked);
    connect(run, &StationRun::stateChanged, this, [this, run] {
        setStationIdle(run->state() == StationRun::State::Idle);
        if (current == Stage::Asked && stationIdle)
            declined();
    });
    connect(run, &StationRun::refused, this, &Bench::refused);
    connect(run, &StationRun::begun, this, &Bench::begun);
    connect(run, &StationRun::following, this, &Bench::running);
    connect(run, &StationRun::notStarted, this, &Bench::ended);
    connect(run, &StationRun::ended, this, &Bench::ended);
    connect(run, &StationRun::interrupted, this, &Bench::ended);
    const StationPolicy *policy = &run->policy();
    setFault(faultOf(*policy));
    for (auto told : {&StationPolicy::changed, &StationPolicy::faulted})
        connect(policy, told, this, [this, policy] { setFault(faultOf(*policy)); });
}

Bench::Fault Bench::faultOf(const StationPolicy &policy)
{
    if (policy.settings().fault.kind != SettingsFault::None)
        return Fault::Settings;
    return policy.releaseFaulty() ? Fault::Release : Fault::None;
}

// While a press is in hand, or a dialog holds the keys, the panel scanned
// cannot be the one pressed for: it waits as the next, and never joins or
// answers what is open.
Bench::Scan Bench::scan(const QString &serial)
{
    putAwayResult();
    if (pressInHand() || dialogOpen || !stationIdle) {
        nextSerial = serial;
        return Scan::Next;
    }
    panelSerial = serial;
    nextSerial.clear();
    enter(Stage::Scanned);
    return Scan::Press;
}

bool Bench::pressInHand() const
{
    switch (current) {
    case Stage::Asked:
    case Stage::Checking:
    case Stage::Running:
        return true;
    case Stage::AwaitingScan:
    case Stage::Scanned:
    case Stage::Refused:
    case Stage::Ended:
        break;
    }
    return false;
}

void Bench::typed()
{
    nextSerial.clear();
    putAwayResult();
}

void Bench::leafChosen()
{
    putAwayResult();
}

void Bench::setDialogOpen(bool open)
{
    dialogOpen = open;
}

void Bench::setStationIdle(bool idle)
{
    stationIdle = idle;
}

// A fault that appears, or becomes another, is what the station shows now.
void Bench::setFault(Fault fault)
{
    if (fault == standing)
        return;
    standing = fault;
    if (fault != Fault::None)
        putAwayResult();
    emit faultChanged();
}

void Bench::asked()
{
    putAwayResult();
    enter(Stage::Asked);
}

void Bench::declined()
{
    enter(Stage::Scanned);
}

// Another press turned away while a run is on leaves the run as it is.
void Bench::refused()
{
    if (current == Stage::Checking || current == Stage::Running)
        return;
    putAwayResult();
    enter(Stage::Refused);
}

void Bench::begun()
{
    putAwayResult();
    enter(Stage::Checking);
}

void Bench::running()
{
    putAwayResult();
    enter(Stage::Running);
}

void Bench::ended()
{
    resultShown = true;
    enter(Stage::Ended);
}

void Bench::told()
{
    if (nextSerial.isEmpty() || pressInHand())
        return;
    panelSerial = std::exchange(nextSerial, QString());
    enter(Stage::Scanned);
}

void Bench::enter(Stage stage)
{
    current = stage;
}

void Bench::putAwayResult()
{
    if (std::exchange(resultShown, false))
        emit resultPutAway();
}
