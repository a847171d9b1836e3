#pragma once

#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QString>

// The window's notices and questions, one at a time: a notice asked for
// while another, or a question, is open follows once that one is closed.
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
    void allClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showWaiting();

    struct Notice
    {
        QMessageBox::Icon icon;
        QString text;
        QString details;
    };

    QWidget *window;
    QQueue<Notice> waiting;
    bool open = false;
};
