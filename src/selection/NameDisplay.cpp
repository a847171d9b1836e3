#include "selection/NameDisplay.h"

namespace {

bool isBidiControl(char16_t c)
{
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString escaped(char16_t c)
{
    return QString::asprintf("\\u%04X", unsigned(c));
}

} // namespace

QString displayName(const QString &name)
{
    QString shown;
    shown.reserve(name.size());
    for (const QChar character : name) {
        const char16_t c = character.unicode();
        if (c < 0x20)
            shown += QChar(0x2400 + c);
        else if (c == 0x7F)
            shown += QChar(0x2421);
        else if ((c >= 0x80 && c < 0xA0) || isBidiControl(c))
            shown += escaped(c);
        else
            shown += character;
    }
    return shown;
}
