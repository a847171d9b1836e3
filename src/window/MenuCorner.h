#pragma once

#include <QFont>
#include <QHash>
#include <QWidget>

class QMenuBar;

// What sits beside the menus, in a row, never wider than the menus leave
// (the menu bar would rather put its menus out of sight, into its "»"
// button, than narrow its corner): what does not fit is elided there. The
// menu bar sizes its corner only when the corner is shown: whenever what is
// in it needs more room, it is shown again, so that nothing is cut that fits.
class MenuCorner : public QWidget
{
    Q_OBJECT

public:
    explicit MenuCorner(const QList<QWidget *> &widgets, QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;

private:
    int menusWidth(const QMenuBar &bar) const;
    int titleWidth(const QMenuBar &bar, const QString &title) const;

    // The menu bar asks for the corner's size many times a layout, and each
    // title measured is text laid out anew: kept for the font they were
    // measured in.
    mutable QHash<QString, int> titleWidths;
    mutable QFont measuredIn;
    mutable const QStyle *measuredBy = nullptr;
};
