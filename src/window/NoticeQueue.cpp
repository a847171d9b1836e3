#include "window/NoticeQueue.h"

#include "window/ScanCatcher.h"

#include <QCoreApplication>
#include <QWindow>

NoticeQueue::NoticeQueue(QWidget *parentWindow)
    : QObject(parentWindow)
    , window(parentWindow)
    , scans(new ScanCatcher(this))
{
    connect(scans, &ScanCatcher::scanned, this, &NoticeQueue::scanned);
}

namespace {

QString titleOf(QMessageBox::Icon icon)
{
    return icon == QMessageBox::Information ? QCoreApplication::translate("MainWindow", "Message Box")
                                            : QCoreApplication::applicationName();
}

} // namespace

void NoticeQueue::show(QMessageBox::Icon icon, const QString &text, const QString &details)
{
    waiting.enqueue({icon, text, details});
    if (open)
        return;
    // Shown before the window system has placed the window, a notice is
    // centred on nothing: it opens in a corner of the screen.
    if (window->isVisible() && !window->windowHandle()->isExposed()) {
        setOpen(true);
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
    setOpen(true);
    const bool yes = QMessageBox::question(window, titleOf(QMessageBox::Question), question,
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
    setOpen(wasOpen);
    if (!open && !waiting.isEmpty())
        showWaiting();
    return yes;
}

void NoticeQueue::setOpen(bool isOpen)
{
    if (isOpen)
        scans->catchKeys();
    else
        scans->release();
    if (std::exchange(open, isOpen) != isOpen)
        emit openChanged(isOpen);
}

void NoticeQueue::showWaiting()
{
    setOpen(true);
    while (!waiting.isEmpty()) {
        const Notice notice = waiting.dequeue();
        QMessageBox box(notice.icon, titleOf(notice.icon), notice.text, QMessageBox::Ok, window);
        // Paths and the updater's output are shown as they are, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.setDetailedText(notice.details);
        box.exec();
    }
    setOpen(false);
    emit allClosed();
}
