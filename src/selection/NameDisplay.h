#pragma once

#include <QFontMetrics>
#include <QString>
#include <QStringList>

// A name as it is shown, on a button or in the list: what cannot be seen,
// or would change how the rest reads, made visible. Control characters show
// as their control pictures ("␊" for a newline, "␉" for a tab) or as a \u
// escape, and so do every invisible format character (bidi controls,
// zero-width space, ...) and the line and paragraph separators, so that no
// name can reorder what is shown, break its line or pose as another. Only the showing changes:
// the name itself, and every path made from it, stays as it is on disk.
QString displayName(const QString &name);

// A tooltip that shows the text as it is, on one line, never as markup.
QString plainToolTip(const QString &text);

// "…" where the font draws it, else "...".
QString ellipsisOf(const QFontMetrics &metrics);

// Cut to width as metrics measure it, marked "…" where the font draws that,
// else "...": a cut name must never read as a whole one.
QString elided(const QString &text, const QFontMetrics &metrics, Qt::TextElideMode mode, int width);
