#include "TestSupport.h"

#include "selection/DirGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

void makeTree(const QString &root, const QStringList &paths)
{
    for (const QString &path : paths) {
        const QString full = root + QLatin1Char('/') + path;
        QDir().mkpath(QFileInfo(full).path());
        if (path.endsWith(QLatin1Char('/')))
            continue;
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(path.toUtf8());
    }
}

FirmwareTree::FirmwareTree(const QStringList &paths)
{
    QDir().mkpath(root());
    makeTree(root(), paths);
}

FirmwareTree::~FirmwareTree()
{
    QDir(root()).removeRecursively();
}

QString FirmwareTree::root()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FwBinFiles");
}

static DebugLog *currentLog = nullptr;

DebugLog::DebugLog()
{
    currentLog = this;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtDebugMsg)
            currentLog->lines.append(text);
    });
}

DebugLog::~DebugLog()
{
    qInstallMessageHandler(previous);
    currentLog = nullptr;
}

DirGroup *groupTitled(QWidget *window, const QString &title)
{
    for (DirGroup *group : window->findChildren<DirGroup *>())
        if (group->title() == title)
            return group;
    return nullptr;
}

QStringList buttonNames(const DirGroup *group)
{
    QStringList names;
    for (const QRadioButton *button : group->radioButtons())
        names.append(button->text());
    return names;
}

bool clickChoice(DirGroup *group, const QString &name)
{
    // A user clicks only once the window has shown and laid out its buttons.
    QCoreApplication::sendPostedEvents();
    auto *button = group->findChild<QRadioButton *>(name);
    if (!button || !button->isVisible())
        return false;
    // On the indicator: a button is wider than its label, and a click on the
    // blank part of it does nothing.
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect indicator = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, indicator.center());
    return button->isChecked();
}

bool chooseLeaf(QWidget *window, const QString &tpSize, const QString &sensitivity)
{
    window->show();
    return clickChoice(groupTitled(window, "TP Size"), tpSize)
        && clickChoice(groupTitled(window, "Sensitivity"), sensitivity);
}
