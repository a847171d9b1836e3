#pragma once

#include <QString>
#include <QStringList>

// The updater tpfw starts: beside the executable, like the firmware tree, so
// that a program running with administrator rights never starts whatever
// happens to sit in its working directory or on PATH.
QString updaterProgram();

// The run supervisor, tpfw-run, beside the executable.
QString supervisorProgram();

// What the updater is given: each image as one argument, byte for byte, then
// the switch, always last.
QStringList updaterArguments(const QStringList &binFiles);

// The same command as one line, each image in double quotes, for the log
// only: it is never split up again to start anything.
QString updaterCommand(const QString &program, const QStringList &binFiles);
