#pragma once

#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"

#include <QJsonObject>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QtMessageHandler>

#include <functional>

// How long a test waits for a run to end, or for a window to answer after
// one: a run of a second can take a minute and more on a loaded machine.
// A wait, never a limit the code is held to.
constexpr int runPatienceMs = 180000;

class DirGroup;
class QPushButton;
class QWidget;

// Lays out below root: a path ending in "/" is a folder, any other a small file.
void makeTree(const QString &root, const QStringList &paths);

// The lines of a text file, empty ones left out; none where it is not there.
QStringList fileLines(const QString &path);

// The station history's records, one object a line (cut lines skipped).
QList<QJsonObject> historyRecords(const QString &path = historyPath());
// A record as tpfw hands it to its supervisor at a press of 7inch / High.
QString pressedRecord(const QString &log);

// Puts the given program where the window looks for the updater.
void placeUpdater(const QString &program);

// Lays out below root entries hidden by the platform's own rule: a name
// starting with a dot on Unix, the hidden attribute on Windows (where such a
// name is listed, though Wine hides it). Each path is given without the dot.
void makeHidden(const QString &root, const QStringList &paths);

// True once the process has ended and, on Unix, been reaped: no zombie left.
bool processGone(qint64 pid);

// Ends the process at once, as a crash or the OOM killer would.
void killProcess(qint64 pid);

// A firmware tree laid beside the test executable, where the program looks
// for it, and removed again when this goes.
class FirmwareTree
{
public:
    explicit FirmwareTree(const QStringList &paths = {});
    ~FirmwareTree();
    static QString root();
};

// An empty firmware tree, whose folder a window watches.
void clearFirmwareTree();

// One image, 7inch/High/fw.bin, put in the firmware tree and chosen in the
// window, as a technician chooses before a press. Left in the tree: each
// suite clears it in its init().
bool chooseAnImage(QWidget *window);

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

// Where Tab goes from widget.
QWidget *nextTabStop(QWidget *widget);

struct Notice
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString details;
    bool buttonEnabledWhileOpen = false;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Every notice that opens while this lives, in order, with whether the
// button was enabled then; each is answered with `answer` once `mayClose`
// says so. Never more than one is expected open: maxOpen says how many were.
class NoticeWatch : public QObject
{
public:
    explicit NoticeWatch(std::function<QPushButton *()> button);
    QStringList texts() const;

    QList<Notice> seen;
    int maxOpen = 0;
    std::function<bool()> mayClose = [] {
        return true;
    };
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    QTimer poll;
};

// What this process holds in memory now, in MiB.
qint64 residentMiB();

#ifdef Q_OS_LINUX
// Whether this process has the file open: a reading left behind still going.
bool heldOpen(const QString &path);
#endif
