#include "window/MenuCorner.h"

#include <QEvent>
#include <QHBoxLayout>

MenuCorner::MenuCorner(const QList<QWidget *> &widgets, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget *widget : widgets)
        row->addWidget(widget);
}

bool MenuCorner::event(QEvent *event)
{
    const bool done = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest && parentWidget() && isVisible()
        && width() < sizeHint().width()) {
        hide();
        show();
    }
    return done;
}
