#include "selection/NameFit.h"

#include "selection/NameDisplay.h"

#include <algorithm>

namespace {

int commonStart(const QString &a, const QString &b)
{
    int length = 0;
    while (length < a.size() && length < b.size() && a.at(length) == b.at(length))
        ++length;
    return length;
}

} // namespace

NameFit::NameFit(const QStringList &listed, const QFontMetrics &measure)
    : names(listed)
    , metrics(measure)
    , shownNow(listed)
{
    widths.reserve(names.size());
    byWidth.reserve(names.size());
    for (int i = 0; i < names.size(); ++i) {
        widths.append(metrics.horizontalAdvance(names.at(i)));
        byWidth.append(i);
        byName[names.at(i)].append(i);
    }
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        if (it->size() > 1)
            sameNames.append(it.key());
    std::stable_sort(byWidth.begin(), byWidth.end(),
                     [this](int a, int b) { return widths.at(a) > widths.at(b); });
}

int NameFit::widest() const
{
    return byWidth.isEmpty() ? 0 : widths.at(byWidth.first());
}

QVector<int> NameFit::widerThan(int width) const
{
    const auto end
        = std::find_if(byWidth.begin(), byWidth.end(), [&](int i) { return widths.at(i) <= width; });
    return QVector<int>(byWidth.begin(), end);
}

QVector<int> NameFit::fitTo(int width)
{
    if (width == fitWidth)
        return {};
    // Names that fit whole at both widths, and were kept apart from none,
    // stay as they are.
    QHash<int, QString> next;
    for (int i : widerThan(qMin(width, fitWidth)))
        next.insert(i, names.at(i));
    for (int i : qAsConst(apart))
        next.insert(i, names.at(i));
    fitWidth = width;
    QHash<QString, QVector<int>> alike;
    addAlike(alike, next, width);
    apart.clear();
    for (const QVector<int> &group : qAsConst(alike))
        if (group.size() > 1)
            keepApart(group, next);
    QVector<int> changed;
    for (auto it = next.cbegin(); it != next.cend(); ++it)
        if (shownNow.at(it.key()) != it.value()) {
            shownNow[it.key()] = it.value();
            changed.append(it.key());
        }
    std::sort(changed.begin(), changed.end());
    return changed;
}

// Groups the names by how they would read at the width: each cut one by
// its cut form, with any name that reads so whole.
void NameFit::addAlike(QHash<QString, QVector<int>> &alike, QHash<int, QString> &next, int width) const
{
    for (int i : widerThan(width)) {
        next[i] = elided(names.at(i), metrics, Qt::ElideMiddle, width);
        alike[next[i]].append(i);
    }
    const QStringList forms = alike.keys();
    for (const QString &form : forms)
        for (int j : byName.value(form))
            if (widths.at(j) <= width)
                alike[form].append(j);
    for (const QString &name : sameNames)
        if (!alike.contains(name))
            for (int j : byName.value(name))
                if (widths.at(j) <= width)
                    alike[name].append(j);
}

// Each keeps where it differs from the others, and as much as fits of what
// comes before that to read it by.
void NameFit::keepApart(QVector<int> group, QHash<int, QString> &next)
{
    std::sort(group.begin(), group.end(), [this](int a, int b) { return names.at(a) < names.at(b); });
    const QString ellipsis = ellipsisOf(metrics);
    for (int k = 0; k < group.size(); ++k) {
        const int i = group.at(k);
        const QString &name = names.at(i);
        // In order, the longest start a name shares is with a neighbour.
        int common = k > 0 ? commonStart(name, names.at(group.at(k - 1))) : 0;
        if (k + 1 < group.size())
            common = qMax(common, commonStart(name, names.at(group.at(k + 1))));
        QString &shown = next[i];
        for (int before = 3; before >= 0; --before) {
            const int from = qMax(common - before, 0);
            shown = from == 0 ? elided(name, metrics, Qt::ElideRight, fitWidth)
                              : ellipsis
                    + elided(name.mid(from), metrics, Qt::ElideRight,
                             fitWidth - metrics.horizontalAdvance(ellipsis));
            if (shown.contains(name.mid(from, common - from + 1)))
                break;
        }
        apart.insert(i);
    }
}
