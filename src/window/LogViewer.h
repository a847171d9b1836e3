#pragma once

#include <QDialog>
#include <QString>

// A run log, read-only, in a window of its own: its last few mebibytes,
// however long the updater made it.
class LogViewer : public QDialog
{
    Q_OBJECT

public:
    // Where the log cannot be read, says so instead and opens nothing.
    static void open(const QString &log, QWidget *parent);

private:
    LogViewer(const QString &log, const QByteArray &text, bool cut, QWidget *parent);
};
