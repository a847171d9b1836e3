#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "update/run/UpdaterCommand.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#endif

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

QStringList fileLines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                          : QStringList();
}

QString pressedRecord(const QString &log)
{
    RunRecord record = RunRecord::begun();
    record.started = QDateTime::currentDateTime();
    record.tpSize = "7inch";
    record.sensitivity = "High";
    record.log = log;
    return QString::fromUtf8(toJsonLine(record));
}

QList<QJsonObject> historyRecords(const QString &path)
{
    QFile file(path);
    QList<QJsonObject> records;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                records.append(QJsonDocument::fromJson(line).object());
    return records;
}

void placeUpdater(const QString &program)
{
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    QFile::remove(updaterProgram());
    QFile::copy(program, updaterProgram());
}

void makeHidden(const QString &root, const QStringList &paths)
{
#ifdef Q_OS_WIN
    makeTree(root, paths);
    for (QString path : paths) {
        path.chop(path.endsWith(QLatin1Char('/')) ? 1 : 0);
        SetFileAttributesW(reinterpret_cast<const wchar_t *>((root + QLatin1Char('/') + path).utf16()),
                           FILE_ATTRIBUTE_HIDDEN);
    }
#else
    QStringList dotted;
    for (const QString &path : paths)
        dotted.append(QLatin1Char('.') + path);
    makeTree(root, dotted);
#endif
}

bool processGone(qint64 pid)
{
#ifdef Q_OS_WIN
    // Nothing to reap on Windows; Wine keeps an ended process's object a while.
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    DWORD code = 0;
    const bool running = process && GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    if (process)
        CloseHandle(process);
    return !running;
#else
    return !QFileInfo::exists(QStringLiteral("/proc/") + QString::number(pid));
#endif
}

void killProcess(qint64 pid)
{
#ifdef Q_OS_WIN
    const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid));
    if (process) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
#else
    ::kill(pid_t(pid), SIGKILL);
#endif
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
        names.append(button->objectName());
    return names;
}

bool clickChoice(DirGroup *group, const QString &name)
{
    // A user clicks only once the window has shown its buttons, which a
    // folder read off the GUI thread brings late on a busy machine.
    QRadioButton *button = nullptr;
    if (!QTest::qWaitFor([&] {
            button = group->findChild<QRadioButton *>(name);
            return button && button->isVisible();
        }))
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

QWidget *nextTabStop(QWidget *widget)
{
    do
        widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus));
    return widget;
}

void clearFirmwareTree()
{
    QDir(FirmwareTree::root()).removeRecursively();
    QDir().mkpath(FirmwareTree::root());
}

bool chooseAnImage(QWidget *window)
{
    makeTree(FirmwareTree::root(), {"7inch/High/fw.bin"});
    return chooseLeaf(window, "7inch", "High");
}

NoticeWatch::NoticeWatch(std::function<QPushButton *()> button)
{
    connect(&poll, &QTimer::timeout, this, [this, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        // A notice that follows another may take its place in memory.
        if (!box->property("seen").toBool()) {
            box->setProperty("seen", true);
            seen.append({box->windowTitle(), box->text(), box->icon(), box->detailedText(),
                         button()->isEnabled(), box->standardButton(box->defaultButton())});
            int open = 0;
            for (QWidget *widget : QApplication::topLevelWidgets())
                open += widget->isVisible() && qobject_cast<QMessageBox *>(widget);
            maxOpen = qMax(maxOpen, open);
        }
        if (!mayClose())
            return;
        // The answer where the notice offers it, else what it offers first.
        QAbstractButton *choice = box->button(answer);
        QTest::mouseClick(choice ? choice : box->buttons().value(0), Qt::LeftButton);
    });
    poll.start(10);
}

QStringList NoticeWatch::texts() const
{
    QStringList result;
    for (const Notice &notice : seen)
        result.append(notice.text);
    return result;
}

#ifdef Q_OS_LINUX
bool heldOpen(const QString &path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QFileInfoList descriptors
        = QDir(QStringLiteral("/proc/self/fd"))
              .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(descriptors.cbegin(), descriptors.cend(),
                       [&file](const QFileInfo &descriptor) { return descriptor.symLinkTarget() == file; });
}
#endif

qint64 residentMiB()
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
#endif
    return 0;
}
