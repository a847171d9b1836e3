#pragma once

#include <string>

// Windows only: the job every process of a run is put into. While one of them
// lives the machine is held, whatever became of the supervisor's mutex.
std::wstring runJobName();
bool runJobLives();
