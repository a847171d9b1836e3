#include "selection/NameDisplay.h"

namespace {

// Shown as nothing, or as a break in the line: format characters (the bidi
// controls, zero-width space, soft hyphen, ...) and the line and paragraph
// separators.
bool isUnseen(uint c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString escaped(uint c)
{
    return c > 0xFFFF ? QString::asprintf("\\U%08X", c) : QString::asprintf("\\u%04X", c);
}

} // namespace

QString displayName(const QString &name)
{
    QString shown;
    shown.reserve(name.size());
    for (int i = 0; i < name.size(); ++i) {
        const int length
            = name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate() ? 2 : 1;
        const uint c
            = length == 2 ? QChar::surrogateToUcs4(name.at(i), name.at(i + 1)) : name.at(i).unicode();
        if (c < 0x20)
            shown += QChar(0x2400 + c);
        else if (c == 0x7F)
            shown += QChar(0x2421);
        else if ((c >= 0x80 && c < 0xA0) || isUnseen(c))
            shown += escaped(c);
        else
            shown += name.midRef(i, length);
        i += length - 1;
    }
    return shown;
}

QString plainToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString ellipsisOf(const QFontMetrics &metrics)
{
    return metrics.inFont(QChar(0x2026)) ? QString(QChar(0x2026)) : QStringLiteral("...");
}

QString elided(const QString &text, const QFontMetrics &metrics, Qt::TextElideMode mode, int width)
{
    const QString ellipsis = ellipsisOf(metrics);
    if (ellipsis.size() == 1 || metrics.horizontalAdvance(text) <= width)
        return metrics.elidedText(text, mode, width);
    const int wider = metrics.horizontalAdvance(ellipsis) - metrics.horizontalAdvance(QChar(0x2026));
    return metrics.elidedText(text, mode, qMax(width - wider, 0)).replace(QChar(0x2026), ellipsis);
}
