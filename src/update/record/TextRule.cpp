#include "update/record/TextRule.h"

#include <QVector>

#include <algorithm>

namespace {

bool isUnseen(uint c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isMark(uint c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Whether the character at i cannot stand where it is: unseen, or a mark on
// nothing or on too many; marks counts the marks in a row up to it.
bool refusedAt(const QVector<uint> &characters, int i, int &marks)
{
    const uint c = characters.at(i);
    marks = isMark(c) ? marks + 1 : 0;
    return isUnseen(c) || marks > TextRule::maxMarks || marks == i + 1;
}

TextRule::Fault faultIn(const QVector<uint> &characters, int length)
{
    if (characters.isEmpty())
        return TextRule::Fault::Empty;
    int marks = 0;
    for (int i = 0; i < characters.size(); ++i)
        if (refusedAt(characters, i, marks))
            return isUnseen(characters.at(i)) ? TextRule::Fault::Unseen : TextRule::Fault::Marks;
    return characters.size() > length ? TextRule::Fault::TooLong : TextRule::Fault::None;
}

} // namespace

TextRule::Checked TextRule::check(const QString &read, Form form, int length)
{
    Checked checked;
    checked.text = read.normalized(form == Form::Scanned ? QString::NormalizationForm_KC
                                                         : QString::NormalizationForm_C)
                       .trimmed();
    checked.fault = faultIn(checked.text.toUcs4(), length);
    return checked;
}

QString TextRule::recordable(const QString &value, Form form)
{
    const Checked checked = check(value, form, maxLength);
    if (checked.fault == Fault::None || checked.fault == Fault::Empty)
        return checked.text;
    const QVector<uint> characters = checked.text.toUcs4();
    QVector<uint> kept;
    int marks = 0;
    for (int i = 0; i < characters.size() && kept.size() < maxLength; ++i) {
        if (!refusedAt(characters, i, marks)) {
            kept.append(characters.at(i));
            continue;
        }
        const uint c = characters.at(i);
        for (const QChar written :
             c > 0xFFFF ? QString::asprintf("\\U%08X", c) : QString::asprintf("\\u%04X", c))
            kept.append(written.unicode());
    }
    kept.resize(std::min(kept.size(), maxLength));
    return QString::fromUcs4(kept.constData(), kept.size());
}
