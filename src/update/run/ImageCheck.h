#pragma once

#include "update/record/FileFacts.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>

class QThread;
struct CheckedFiles;

// The images of a press and the updater, read for their sizes and hashes
// off the GUI thread, several at once: hashing large images would freeze the
// window. A check that is cancelled, or whose owner goes, is left behind
// unwaited (a read may be stuck on a share that does not answer), and what
// it finds goes nowhere.
class ImageCheck : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Checking,
        // Checked while held: waits to be let go, or cancelled.
        Awaiting,
    };

    explicit ImageCheck(QObject *parent = nullptr);
    ~ImageCheck() override;

    void start(const QStringList &images, const QString &updater);
    // While held, a check that is done waits to tell it.
    void hold(bool held);
    void cancel();
    State state() const { return current; }

signals:
    // A few times a second while the check goes on, and at its end.
    void progress(int done, int total);
    void checked(QVector<FileFacts> images, FileFacts updater);

private:
    void tellProgress();
    void tellChecked();

    State current = State::Idle;
    bool held = false;
    QThread *worker = nullptr;
    // Shared with the worker, which may outlive this check.
    std::shared_ptr<CheckedFiles> files;
    QTimer progressTimer;
};
