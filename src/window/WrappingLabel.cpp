#include "window/WrappingLabel.h"

#include "selection/NameDisplay.h"

namespace {

// A zero-width space after each character: a break wherever one is needed.
QString breakableAnywhere(const QString &text)
{
    QString breakable;
    breakable.reserve(text.size() * 2);
    for (const QChar c : text) {
        breakable.append(c);
        if (!c.isHighSurrogate() && !c.isSpace())
            breakable.append(QChar(0x200B));
    }
    return breakable;
}

} // namespace

WrappingLabel::WrappingLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void WrappingLabel::setWholeText(const QString &text)
{
    whole = text;
    setText(breakableAnywhere(text));
    setToolTip(text.isEmpty() ? QString() : plainToolTip(text));
    setAccessibleName(text);
    holdHeight();
}

void WrappingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    holdHeight();
}

// Before its first layout the label may know no height for its width (-1).
void WrappingLabel::holdHeight()
{
    setMinimumHeight(qMax(0, heightForWidth(width())));
}
