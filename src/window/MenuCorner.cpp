#include "window/MenuCorner.h"

#include "window/ElidedLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionMenuItem>

MenuCorner::MenuCorner(const QList<QWidget *> &widgets, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget *widget : widgets)
        row->addWidget(widget);
}

// The room the menu bar's own menus take, as its style lays them out.
int MenuCorner::menusWidth(const QMenuBar &bar) const
{
    const QStyle *style = bar.style();
    int width = 2
        * (style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, &bar)
           + style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, &bar));
    for (QAction *action : bar.actions())
        if (action->isVisible())
            width += titleWidth(bar, action->text())
                + style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, &bar);
    return width;
}

int MenuCorner::titleWidth(const QMenuBar &bar, const QString &title) const
{
    if (bar.font() != measuredIn || bar.style() != measuredBy) {
        titleWidths.clear();
        measuredIn = bar.font();
        measuredBy = bar.style();
    }
    auto known = titleWidths.constFind(title);
    if (known != titleWidths.constEnd())
        return *known;
    QStyleOptionMenuItem option;
    option.initFrom(&bar);
    option.text = title;
    const QSize text = bar.fontMetrics().size(Qt::TextShowMnemonic, title);
    return titleWidths[title]
        = bar.style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, &bar).width();
}

QSize MenuCorner::sizeHint() const
{
    QSize wanted = QWidget::sizeHint();
    // An elided line asks for nothing of its own; here it asks for its
    // whole text, which it gets where there is room.
    for (const ElidedLabel *line : findChildren<ElidedLabel *>())
        if (line->isVisibleTo(this))
            wanted.rwidth() += line->fullWidth();
    if (const auto *bar = qobject_cast<const QMenuBar *>(parentWidget()))
        wanted.setWidth(qBound(0, bar->width() - menusWidth(*bar), wanted.width()));
    return wanted;
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
