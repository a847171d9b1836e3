#pragma once

#include <QString>

// A name as it is shown, on a button or in the list: what cannot be seen,
// or would change how the rest reads, made visible. Control characters show
// as their control pictures ("␊" for a newline, "␉" for a tab) or as a \u
// escape, and so do the invisible bidirectional controls, so that no name
// can reorder what is shown or pose as another. Only the showing changes:
// the name itself, and every path made from it, stays as it is on disk.
QString displayName(const QString &name);
