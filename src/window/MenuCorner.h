#pragma once

#include <QWidget>

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
};
