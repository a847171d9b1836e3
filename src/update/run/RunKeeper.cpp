#include "update/run/RunKeeper.h"

#include <QList>

namespace {

const QByteArray keepSwitch = "--keep";

} // namespace

bool RunKeeper::isCommand(const QStringList &arguments)
{
    return arguments.value(0) == QLatin1String(keepSwitch);
}

QByteArray RunKeeper::startedLine(qint64 updaterPid)
{
    return "started " + QByteArray::number(updaterPid) + '\n';
}

QByteArray RunKeeper::failedLine(int error)
{
    return "failed " + QByteArray::number(error) + '\n';
}

QByteArray RunKeeper::exitedLine(const RunEnd &end)
{
    const QByteArray kind = end.kind == RunEnd::Exited ? "exited"
        : end.kind == RunEnd::Crashed                  ? "crashed"
                                                       : "unknown";
    return "exited " + kind + ' ' + QByteArray::number(end.exitCode) + '\n';
}

QByteArray RunKeeper::overLine(qint64 droppedOutput)
{
    return "over " + QByteArray::number(droppedOutput) + '\n';
}

// Only whole lines count: a keeper killed while it wrote told nothing.
KeeperReport RunKeeper::read(const QByteArray &lines)
{
    KeeperReport report;
    for (const QByteArray &line : lines.left(lines.lastIndexOf('\n')).split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        const QByteArray &what = words.at(0);
        if (words.size() == 2 && what == "started")
            report.updaterPid = words.at(1).toLongLong();
        else if (words.size() == 2 && what == "failed")
            report.startError = words.at(1).toInt();
        else if (words.size() == 3 && what == "exited")
            report.updaterEnd = RunEnd {words.at(1) == "exited"        ? RunEnd::Exited
                                            : words.at(1) == "crashed" ? RunEnd::Crashed
                                                                       : RunEnd::Unknown,
                                        words.at(2).toInt(),
                                        {},
                                        false,
                                        0};
        else if (words.size() == 2 && what == "over") {
            report.over = true;
            report.droppedOutput = words.at(1).toLongLong();
        }
    }
    return report;
}

// Where the keeper was killed after the updater had ended, its end stands.
RunEnd KeeperReport::runEnd() const
{
    RunEnd end = updaterEnd.value_or(
        RunEnd {RunEnd::Unknown, 0,
                QStringLiteral("the run's keeper ended without telling how the updater ended"), false, 0});
    end.droppedOutput = droppedOutput;
    return end;
}

RunKeeper::RunKeeper(SupervisedRun given)
    : run(std::move(given))
{ }
