#include "window/SerialField.h"

#include "window/WarningLabel.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <utility>

SerialField::SerialField(QWidget *parent)
    : QWidget(parent)
{ }

void SerialField::setVisible(bool visible)
{
    if (visible)
        build();
    QWidget::setVisible(visible);
}

void SerialField::build()
{
    if (edit)
        return;
    edit = new QLineEdit;
    problem = new WarningLabel;
    edit->setObjectName(QStringLiteral("unitSerial"));
    edit->setAccessibleName(tr("Panel serial"));
    problem->setObjectName(QStringLiteral("unitProblem"));
    problem->setWordWrap(true);
    problem->hide();
    nextLine = new QLabel;
    nextLine->setObjectName(QStringLiteral("nextPanel"));
    nextLine->setWordWrap(true);
    nextLine->hide();
    auto *label = new QLabel(tr("Panel serial:"));
    label->setBuddy(edit);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edit, 0, 1);
    grid->addWidget(problem, 1, 1);
    grid->addWidget(nextLine, 2, 1);
    connect(edit, &QLineEdit::returnPressed, this, &SerialField::entered);
    connect(edit, &QLineEdit::textEdited, problem, &QLabel::hide);
    connect(edit, &QLineEdit::textEdited, this, [this] {
        next = false;
        nextLine->hide();
    });
    connect(edit, &QLineEdit::textEdited, this, &SerialField::typed);
}

QString SerialField::serial() const
{
    return edit ? edit->text().trimmed() : QString();
}

void SerialField::setSerial(const QString &serial)
{
    build();
    edit->setText(serial);
}

void SerialField::refuse(const QString &why)
{
    build();
    problem->setText(why);
    problem->show();
    edit->selectAll();
    edit->setFocus();
}

void SerialField::ready()
{
    build();
    if (!std::exchange(next, false))
        edit->clear();
    nextLine->hide();
    problem->hide();
    edit->setFocus();
}

void SerialField::holdNext(const QString &words)
{
    build();
    next = true;
    problem->hide();
    nextLine->setText(words);
    nextLine->show();
    // The next scan takes its place, never joins it.
    edit->selectAll();
    edit->setFocus();
}

QWidgetList SerialField::tabStops() const
{
    return edit ? QWidgetList {edit} : QWidgetList();
}
