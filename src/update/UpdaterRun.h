#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// How a run of the updater ended, as far as tpfw could learn it.
struct RunEnd
{
    enum Kind { Exited, Crashed, Unknown };
    Kind kind = Unknown;
    int exitCode = 0;
    // Why the result is unknown; empty otherwise.
    QString detail;
};

// One run of the updater, followed to its end without owning it: the
// updater runs in a session of its own, reads the null device, writes into
// its run log and goes on unharmed when tpfw closes, crashes or is killed.
// Destroying this object stops following the run, never the run itself.
class UpdaterRun : public QObject
{
    Q_OBJECT

public:
    explicit UpdaterRun(QObject *parent = nullptr);
    ~UpdaterRun() override;

    // Starts program with the arguments, each passed on byte for byte, in
    // workingDir, its output and errors going to logPath (to the null device
    // when empty). On failure returns false and says why in *error.
    bool start(const QString &program, const QStringList &arguments, const QString &workingDir,
               const QString &logPath, QString *error);
    bool isRunning() const;

signals:
    void started(qint64 pid);
    void finished(RunEnd end);

private:
    void follow(qint64 pid);
    void end(const RunEnd &how);

    // What each platform needs to learn how its process ended; defined,
    // and freed, by that platform's source.
    struct Watch;
    struct WatchDeleter
    {
        void operator()(Watch *watch) const;
    };
    std::unique_ptr<Watch, WatchDeleter> watch;
};

Q_DECLARE_METATYPE(RunEnd)

// Why a start failed when the images' paths do not fit on one command line.
QString tooManyImages();
