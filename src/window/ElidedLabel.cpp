#include "window/ElidedLabel.h"

#include "selection/NameDisplay.h"

#include <QFontMetricsF>
#include <QtMath>

ElidedLabel::ElidedLabel(Qt::TextElideMode elision, QWidget *parent)
    : QLabel(parent)
    , mode(elision)
{
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString &text)
{
    full = text;
    setToolTip(text.isEmpty() ? QString() : plainToolTip(text));
    refit();
}

int ElidedLabel::fullWidth() const
{
    return qCeil(QFontMetricsF(font()).horizontalAdvance(full));
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const
{
    return minimumSizeHint();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    refit();
}

void ElidedLabel::refit()
{
    setText(elided(full, fontMetrics(), mode, contentsRect().width()));
}
