#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>

#include <limits>

// The names of one listing as its buttons show them at a width: each whole
// where it fits, in the middle where it does not; where two would then read
// the same, each keeps where it differs from the other instead, and is cut
// after that. Every name is measured once; a new width fits again only the
// names it can change, and alike names are found by their shown form, never
// pairwise, so a long listing costs no more than its length.
class NameFit
{
public:
    NameFit(const QStringList &names, const QFontMetrics &metrics);

    // Fits the names to the width; returns, in order, those whose shown
    // text changed (from the whole name, the first time).
    QVector<int> fitTo(int width);
    const QString &shown(int i) const { return shownNow.at(i); }
    // The width of the widest name whole.
    int widest() const;

private:
    QVector<int> widerThan(int width) const;
    void addAlike(QHash<QString, QVector<int>> &alike, QHash<int, QString> &next, int width) const;
    void keepApart(QVector<int> group, QHash<int, QString> &next);

    QStringList names;
    QFontMetrics metrics;
    QVector<int> widths;
    // Indices, widest name first.
    QVector<int> byWidth;
    // Indices by name: the few a name shown whole may be taken for.
    QHash<QString, QVector<int>> byName;
    // Names held by more than one entry (two spellings shown alike).
    QStringList sameNames;
    QStringList shownNow;
    // The names kept apart at the last width.
    QSet<int> apart;
    // Whole, as at a width that takes every name.
    int fitWidth = std::numeric_limits<int>::max();
};
