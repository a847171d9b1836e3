#pragma once

#include <QString>
#include <QStringList>
#include <QtMessageHandler>

class DirGroup;
class QWidget;

// Lays out below root: a path ending in "/" is a folder, any other a small file.
void makeTree(const QString &root, const QStringList &paths);

// Lays out below root entries hidden by the platform's own rule: a name
// starting with a dot on Unix, the hidden attribute on Windows (where such a
// name is listed, though Wine hides it). Each path is given without the dot.
void makeHidden(const QString &root, const QStringList &paths);

// True once the process has ended and, on Unix, been reaped: no zombie left.
bool processGone(qint64 pid);

// A firmware tree laid beside the test executable, where the program looks
// for it, and removed again when this goes.
class FirmwareTree
{
public:
    explicit FirmwareTree(const QStringList &paths = {});
    ~FirmwareTree();
    static QString root();
};

// The debug lines written while this lives.
class DebugLog
{
public:
    DebugLog();
    ~DebugLog();
    QStringList lines;

private:
    QtMessageHandler previous;
};

DirGroup *groupTitled(QWidget *window, const QString &title);
QStringList buttonNames(const DirGroup *group);

// Clicks the named choice as a user would, once it is on screen; true when
// it ends up checked.
bool clickChoice(DirGroup *group, const QString &name);

// Shows the window and checks a TP size, then one of its sensitivities.
bool chooseLeaf(QWidget *window, const QString &tpSize, const QString &sensitivity);
