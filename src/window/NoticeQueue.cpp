#include "window/NoticeQueue.h"

#include <QCoreApplication>
#include <QWindow>

NoticeQueue::NoticeQueue(QWidget *parentWindow)
    : QObject(parentWindow)
    , window(parentWindow)
{ }

void NoticeQueue::show(QMessageBox::Icon icon, const QString &text, const QString &details)
{
    waiting.enqueue({icon, text, details});
    if (open)
        return;
    // Shown before the window system has placed the window, a notice is
    // centred on nothing: it opens in a corner of the screen.
    if (window->isVisible() && !window->windowHandle()->isExposed()) {
        open = true;
        window->windowHandle()->installEventFilter(this);
        return;
    }
    showWaiting();
}

bool NoticeQueue::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && window->windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &NoticeQueue::showWaiting, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

bool NoticeQueue::ask(const QString &question)
{
    const bool wasOpen = open;
    open = true;
    const bool yes = QMessageBox::question(window, QCoreApplication::translate("MainWindow", "Message Box"),
                                           question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
    open = wasOpen;
    if (!open && !waiting.isEmpty())
        showWaiting();
    return yes;
}

void NoticeQueue::showWaiting()
{
    open = true;
    while (!waiting.isEmpty()) {
        const Notice notice = waiting.dequeue();
        QMessageBox box(notice.icon, QCoreApplication::translate("MainWindow", "Message Box"), notice.text,
                        QMessageBox::Ok, window);
        // Paths and the updater's output are shown as they are, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.setDetailedText(notice.details);
        box.exec();
    }
    open = false;
    emit allClosed();
}
