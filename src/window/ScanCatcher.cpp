#include "window/ScanCatcher.h"

#include <QCoreApplication>
#include <QKeyEvent>

ScanCatcher::ScanCatcher(QObject *parent)
    : QObject(parent)
{ }

void ScanCatcher::catchKeys()
{
    typed.clear();
    if (!std::exchange(catching, true))
        QCoreApplication::instance()->installEventFilter(this);
}

void ScanCatcher::release()
{
    if (std::exchange(catching, false))
        QCoreApplication::instance()->removeEventFilter(this);
    typed.clear();
}

bool ScanCatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)
        || !take(key->key(), key->text()))
        return QObject::eventFilter(watched, event);
    // Accepted, a key is offered to no parent of its widget, nor seen again.
    key->accept();
    return true;
}

// True where the key is the scan's.
bool ScanCatcher::take(int key, const QString &text)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (typed.isEmpty())
            return false;
        emit scanned(std::exchange(typed, QString()).trimmed());
        return true;
    }
    // A scanner presses Shift for capitals, as a hand does.
    if (key == Qt::Key_Shift || key == Qt::Key_CapsLock)
        return false;
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    if (!printable || (key == Qt::Key_Space && typed.isEmpty())) {
        typed.clear();
        return false;
    }
    typed += text;
    return true;
}
