#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class QPlainTextEdit;

// A run log, read-only, in a window of its own: its last few mebibytes,
// however long the updater made it, read off the GUI thread and each line
// shown as the run panel shows it.
class LogViewer : public QDialog
{
    Q_OBJECT

public:
    // Where the log cannot be read, says so instead and opens nothing.
    static void open(const QString &log, QWidget *parent);

private:
    LogViewer(const QString &log, bool cut, QWidget *parent);
    void read(const QString &log);
    void showFrom(const std::shared_ptr<const QStringList> &lines, int from);

    QPlainTextEdit *view;
};
