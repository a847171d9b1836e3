#pragma once

#include "update/run/OutputTail.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFrame>
#include <QString>
#include <QTimer>

class ElidedLabel;
struct RunRecord;
class WrappingLabel;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// What the window shows of a run that has ended.
struct RunReport
{
    bool ok = false;
    // False where the outcome is not known: neither OK nor failed.
    bool known = true;
    // The outcome, as the status bar shows it and a failure notice says it.
    QString outcome;
    // The run's duration, shown after the outcome.
    QString duration;
    // What a failure notice has under its details: the updater's last words
    // and where its whole output is.
    QString details;
    // What to do with the panel, where the update failed.
    QString advice;
    // False for a press refused before its updater started: nothing ran,
    // so no progress, time or output is shown.
    bool ran = true;
};

// The run as it goes, below UpdateFW: what was sent, how far the updater
// says it is, how long it has taken, its latest words (and all of them on
// demand), then its result in large type until the next press. Hidden until
// the window's first run.
class RunPanel : public QFrame
{
    Q_OBJECT

public:
    explicit RunPanel(QWidget *parent = nullptr);

    // A press: the images of that leaf are being checked.
    void begin(const QString &leaf, int images);
    // The updater of the run followed has started.
    void follow(const QString &leaf, const RunRecord &run);
    // A stop was asked for: said at once, and counted down to its force
    // once the run has had half the grace time to end.
    void stopping(int graceSeconds);
    void finish(const RunReport &report);
    // The next panel is on its way: the last one's result is put away,
    // unless a run is on.
    void putAwayResult();
    // Whether a run is shown that has not ended yet.
    bool isOn() const { return on; }
    // What takes the focus here, in the order Tab goes: nothing until the
    // first run, whose parts, made last, follow every other stop.
    QWidgetList tabStops() const;

signals:
    // What the status bar says while a stop goes on.
    void stopStatus(QString status);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void build();
    void layOut();
    void scaleResult();
    void connectOutput();
    void name(const QString &leaf, int images);
    // The progress, the time and the updater's words, shown while a run is
    // on and after it.
    void showRunRow(bool shown);
    void addLines(const QStringList &lines);
    void tick();
    void tickStop();

    // None is there before the first run: build() makes them all at once.
    QLabel *sentLine = nullptr;
    QProgressBar *progress = nullptr;
    QLabel *elapsed = nullptr;
    ElidedLabel *latestLine = nullptr;
    QLabel *silence = nullptr;
    QLabel *stopLine = nullptr;
    QPushButton *outputButton = nullptr;
    QPlainTextEdit *output = nullptr;
    QFrame *banner = nullptr;
    WrappingLabel *resultLine = nullptr;
    WrappingLabel *resultDetail = nullptr;
    WrappingLabel *resultAdvice = nullptr;

    OutputTail tail;
    QTimer clock;
    QTimer stopClock;
    QElapsedTimer sinceStop;
    int stopGrace = 0;
    QDateTime started;
    QDateTime lastOutput;
    bool on = false;
    bool followEnd = true;
};
