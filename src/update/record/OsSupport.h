#pragma once

#include <QString>

class QFileDevice;

// What the station's history needs from the operating system.

// Asks the system to put what was written to the open file on the disk
// before returning, as a power loss would otherwise undo it.
bool syncToDisk(QFileDevice &file);

// The account tpfw runs under, as the system knows it.
QString userName();
