#include "window/WarningLabel.h"

WarningLabel::WarningLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    QPalette warning = palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    setPalette(warning);
}
