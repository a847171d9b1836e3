#include "window/RunPanel.h"

#include "update/run/RunLog.h"

#include "window/ElidedLabel.h"
#include "window/WrappingLabel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Output silent this long is worth a word: a stuck updater looks like this.
constexpr qint64 silenceWorthNoting = 30;
// What "Show output" keeps of a chatty updater.
constexpr int outputLines = 2000;

QString minutesAndSeconds(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Words carry the result; the colour only repeats it.
const char *const failedColour = "#b3261e";

QString bannerStyle(const RunReport &report)
{
    const char *colour = !report.known ? "#5f6368" : report.ok ? "#1e7d32" : failedColour;
    return QStringLiteral("QFrame#resultBanner { background: %1; border-radius: 4px; }"
                          " QLabel { color: white; }")
        .arg(QLatin1String(colour));
}

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

RunPanel::RunPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("runPanel"));
    setAccessibleName(tr("FW update run"));
    connect(&tail, &OutputTail::lines, this, &RunPanel::addLines);
    clock.setInterval(1000);
    connect(&clock, &QTimer::timeout, this, &RunPanel::tick);
    stopClock.setInterval(1000);
    connect(&stopClock, &QTimer::timeout, this, &RunPanel::tickStop);
    hide();
}

// Built for the first run, not at the window's start: a window that never
// runs the updater never pays for it.
void RunPanel::build()
{
    if (banner)
        return;
    sentLine = named(new QLabel, "sentLine");
    progress = named(new QProgressBar, "runProgress");
    elapsed = named(new QLabel, "elapsed");
    latestLine = named(new ElidedLabel(Qt::ElideRight), "latestLine");
    silence = named(new QLabel, "silence");
    stopLine = named(new QLabel, "stopLine");
    outputButton = named(new QPushButton(tr("Show output")), "outputButton");
    output = named(new QPlainTextEdit, "output");
    banner = named(new QFrame, "resultBanner");
    resultLine = named(new WrappingLabel, "resultLine");
    resultDetail = named(new WrappingLabel, "resultDetail");
    resultAdvice = named(new WrappingLabel, "resultAdvice");
    sentLine->setTextFormat(Qt::PlainText);
    QFont bold = resultLine->font();
    bold.setBold(true);
    resultLine->setFont(bold);
    progress->setAccessibleName(tr("Progress"));
    latestLine->setAccessibleName(tr("Latest output"));
    banner->setAccessibleName(tr("Result"));
    output->setReadOnly(true);
    output->setMaximumBlockCount(outputLines);
    output->setAccessibleName(tr("Output"));
    output->hide();
    silence->hide();
    stopLine->hide();
    banner->hide();
    layOut();
    connectOutput();
    scaleResult();
}

void RunPanel::layOut()
{
    auto *result = new QVBoxLayout(banner);
    result->addWidget(resultLine);
    result->addWidget(resultDetail);
    result->addWidget(resultAdvice);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(banner, 0, 0, 1, 3);
    grid->addWidget(sentLine, 1, 0, 1, 3);
    grid->addWidget(progress, 2, 0, 1, 2);
    grid->addWidget(elapsed, 2, 2);
    grid->addWidget(latestLine, 3, 0);
    grid->addWidget(silence, 3, 1);
    grid->addWidget(outputButton, 3, 2);
    grid->addWidget(stopLine, 4, 0, 1, 3);
    grid->addWidget(output, 5, 0, 1, 3);
    grid->setColumnStretch(0, 1);
}

// The result is read from a step or two away from the bench: it grows with
// the room the window gives it, up to three times the body text.
void RunPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (banner)
        scaleResult();
}

void RunPanel::scaleResult()
{
    const qreal body = font().pointSizeF();
    if (body <= 0)
        return;
    const auto scaled = [body](QFont font, qreal scale) {
        font.setPointSizeF(body * scale);
        return font;
    };
    resultLine->setFont(scaled(resultLine->font(), qBound(1.5, width() / 480.0, 3.0)));
    resultDetail->setFont(scaled(resultDetail->font(), qBound(1.0, width() / 960.0, 1.5)));
    // What to do with the panel is read as readily as what happened to it.
    resultAdvice->setFont(resultDetail->font());
}

void RunPanel::connectOutput()
{
    connect(outputButton, &QPushButton::clicked, this, [this] {
        // Looked up when first shown: finding the fixed font costs the
        // window's start a millisecond.
        if (!output->testAttribute(Qt::WA_SetFont))
            output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        output->setVisible(!output->isVisible());
        outputButton->setText(output->isVisible() ? tr("Hide output") : tr("Show output"));
    });
    // The output keeps to its end, however its lines wrap or its room
    // changes, until the technician scrolls away from it. The view adjusts
    // itself after a change of range: the end is gone to once it is done.
    QScrollBar *bar = output->verticalScrollBar();
    connect(bar, &QScrollBar::actionTriggered, this,
            [this, bar] { followEnd = bar->sliderPosition() >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar] {
        QMetaObject::invokeMethod(
            this,
            [this, bar] {
                if (followEnd)
                    bar->setValue(bar->maximum());
            },
            Qt::QueuedConnection);
    });
}

QWidgetList RunPanel::tabStops() const
{
    if (!banner)
        return {};
    return {outputButton, output};
}

void RunPanel::begin(const QString &leaf, int images)
{
    build();
    on = true;
    banner->hide();
    sentLine->show();
    silence->hide();
    stopClock.stop();
    stopLine->hide();
    output->clear();
    followEnd = true;
    latestLine->setFullText(QString());
    elapsed->setText(minutesAndSeconds(0));
    progress->setStyleSheet(QString());
    progress->setRange(0, 0);
    showRunRow(true);
    name(leaf, images);
    show();
}

void RunPanel::showRunRow(bool shown)
{
    for (QWidget *part : {static_cast<QWidget *>(progress), static_cast<QWidget *>(elapsed),
                          static_cast<QWidget *>(latestLine), static_cast<QWidget *>(outputButton)})
        part->setVisible(shown);
    if (!shown)
        output->hide();
    outputButton->setText(output->isVisible() ? tr("Hide output") : tr("Show output"));
}

void RunPanel::follow(const QString &leaf, const RunRecord &run)
{
    // A run this window did not start comes without a press; one that did
    // names the same.
    begin(leaf, int(run.images.size()));
    started = run.started.isValid() ? run.started : QDateTime::currentDateTime();
    lastOutput = started;
    clock.start();
    tick();
    if (!run.log.isEmpty())
        tail.follow(run.log);
}

void RunPanel::stopping(int graceSeconds)
{
    build();
    stopGrace = graceSeconds;
    sinceStop.start();
    stopClock.start();
    stopLine->show();
    tickStop();
}

void RunPanel::tickStop()
{
    const int left = stopGrace - int(sinceStop.elapsed() / 1000);
    const QString words = left > 0 && left <= stopGrace / 2
        ? tr("Stopping the FW updater… forced in %1 s").arg(left)
        : tr("Stopping the FW updater…");
    stopLine->setText(words);
    emit stopStatus(words);
}

void RunPanel::finish(const RunReport &report)
{
    build();
    tail.stop();
    stopClock.stop();
    stopLine->hide();
    if (clock.isActive())
        tick();
    clock.stop();
    on = false;
    silence->hide();
    // A bar that still moves would say the run goes on.
    if (progress->maximum() == 0 || report.ok)
        progress->setRange(0, 100);
    if (report.ok)
        progress->setValue(100);
    // Where the updater failed, its bar, however full, is no success's.
    else if (report.known)
        progress->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: %1; }").arg(failedColour));
    banner->setStyleSheet(bannerStyle(report));
    resultLine->setWholeText(report.outcome);
    resultDetail->setWholeText(report.duration.isEmpty()
                                   ? sentLine->text()
                                   : sentLine->text() + QStringLiteral(" · ") + report.duration);
    resultAdvice->setWholeText(report.advice);
    resultAdvice->setVisible(!report.advice.isEmpty());
    banner->setAccessibleDescription(QStringList {report.outcome, resultDetail->wholeText(), report.advice}
                                         .join(QLatin1Char('\n'))
                                         .trimmed());
    banner->show();
    showRunRow(report.ran);
    // The banner names what was sent.
    sentLine->hide();
    show();
}

void RunPanel::putAwayResult()
{
    if (!on)
        hide();
}

void RunPanel::name(const QString &leaf, int images)
{
    sentLine->setText(leaf + QStringLiteral(" · ")
                      + (images == 1 ? tr("1 image") : tr("%1 images").arg(images)));
}

void RunPanel::addLines(const QStringList &read)
{
    // tpfw's own lines name the run, which the panel shows already.
    const QStringList lines = updaterLinesOf(read);
    if (lines.isEmpty())
        return;
    lastOutput = QDateTime::currentDateTime();
    output->appendPlainText(lines.join(QLatin1Char('\n')));
    latestLine->setFullText(lines.constLast());
    if (const int percent = percentIn(lines); percent >= 0) {
        progress->setRange(0, 100);
        progress->setValue(percent);
    }
    silence->hide();
}

void RunPanel::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    elapsed->setText(minutesAndSeconds(started.secsTo(now)));
    const qint64 quiet = lastOutput.secsTo(now);
    silence->setText(tr("No output for %1 s").arg(quiet));
    silence->setVisible(quiet >= silenceWorthNoting);
}
