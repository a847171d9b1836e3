#pragma once

#include <QWidget>

// What sits beside the menus, in a row. The menu bar sizes its corner only
// when the corner is shown: whenever what is in it needs more room, it is
// shown again, so that nothing in it is cut.
class MenuCorner : public QWidget
{
    Q_OBJECT

public:
    explicit MenuCorner(const QList<QWidget *> &widgets, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
};
