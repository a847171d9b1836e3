#pragma once

#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QString>

class ScanCatcher;

// The window's notices and questions, one at a time: a notice asked for
// while another, or a question, is open follows once that one is closed.
// What a scanner types while one is open is a scan, never an answer. The
// two notices of a press are titled as they always were; the others carry
// the program's name.
class NoticeQueue : public QObject
{
    Q_OBJECT

public:
    explicit NoticeQueue(QWidget *window);

    // Shows the notice and returns once it, and every notice that came
    // while it was open, has been closed; returns at once when one is open.
    void show(QMessageBox::Icon icon, const QString &text, const QString &details = QString());
    // A yes-or-no question, No unless the user says otherwise; the notices
    // that came while it was open follow before it returns.
    bool ask(const QString &question);
    bool isOpen() const { return open; }

signals:
    // A notice or question opened, or the last one closed.
    void openChanged(bool open);
    void allClosed();
    // A serial scanned while a notice or question was open.
    void scanned(const QString &serial);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showWaiting();
    void setOpen(bool open);

    struct Notice
    {
        QMessageBox::Icon icon;
        QString text;
        QString details;
    };

    QWidget *window;
    QQueue<Notice> waiting;
    ScanCatcher *scans;
    bool open = false;
};
