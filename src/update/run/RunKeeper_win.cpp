#include "update/run/RunKeeper.h"

QStringList RunKeeper::command(const SupervisedRun &run)
{
    return QStringList {run.program} + run.arguments;
}
