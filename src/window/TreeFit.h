#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QTimer>

class DirGroup;
class QWidget;

// Grows the window until the groups show every entry, and every name whole
// (up to two thirds of the screen's width), as far as the screen allows, so
// that they scroll, or cut names, only where the screen is too small. As
// what sits below the list grows or shrinks, so does the window: the list,
// and the buttons under it, keep their place. Otherwise the window only ever
// grows, and once the user has sized it, it is left so.
class TreeFit : public QObject
{
    Q_OBJECT

public:
    TreeFit(QWidget *window, QList<DirGroup *> groups, QWidget *list);

    // Once what changed is laid out.
    void fitSoon() { soon.start(); }
    void fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void grow();
    int frameHeight() const;
    int hiddenHeight() const;
    int belowHeight() const;
    bool setHeight(int height, int most);
    void widen(int most);

    QWidget *window;
    QList<DirGroup *> groups;
    QWidget *list;
    // As the last fit left them.
    int belowLaidOut = 0;
    int listKept = -1;
    int settled = -1;
    // The window system confirmed a size older than the one asked last.
    bool staleSize = false;
    // The heights the program set: the window system confirms each, maybe
    // late.
    QSet<int> asked;
    bool userSized = false;
    QTimer soon;
};
