#pragma once

#include "update/record/RunRecord.h"

// A run that was sent an image: what the day's counts count.
inline RunRecord aFlash()
{
    RunRecord record = RunRecord::begun();
    record.images = {FileFacts {}};
    return record;
}
