#include "window/WrappingLabel.h"

#include "selection/NameDisplay.h"

namespace {

QString breakableAnywhere(const QString &word)
{
    QString breakable;
    breakable.reserve(word.size() * 2);
    for (const QChar c : word) {
        breakable.append(c);
        if (!c.isHighSurrogate())
            breakable.append(QChar(0x200B));
    }
    return breakable;
}

} // namespace

QString WrappingLabel::breakable(const QString &text, const std::function<bool(const QString &)> &fits)
{
    QString result;
    int start = 0;
    for (int i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text.at(i).isSpace())
            continue;
        const QString word = text.mid(start, i - start);
        result += fits(word) ? word : breakableAnywhere(word);
        if (i < text.size())
            result += text.at(i);
        start = i + 1;
    }
    return result;
}

WrappingLabel::WrappingLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void WrappingLabel::setWholeText(const QString &text)
{
    whole = text;
    setToolTip(text.isEmpty() ? QString() : plainToolTip(text));
    setAccessibleName(text);
    fitText();
}

void WrappingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fitText();
}

// Before its first layout the label has no width to fit (and may know no
// height for it, -1): every word fits until it has.
void WrappingLabel::fitText()
{
    const int room = contentsRect().width();
    const QFontMetrics metrics(font());
    setText(breakable(
        whole, [&](const QString &word) { return room <= 0 || metrics.horizontalAdvance(word) <= room; }));
    setMinimumHeight(qMax(0, heightForWidth(width())));
}
