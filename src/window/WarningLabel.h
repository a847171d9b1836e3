#pragma once

#include <QLabel>

// Plain text in the warning colour, under or beside what it warns of. The
// colour is the label's palette, not a style sheet: a style sheet would cost
// the window's start a style of its own for each such label.
class WarningLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WarningLabel(QWidget *parent = nullptr);
};
