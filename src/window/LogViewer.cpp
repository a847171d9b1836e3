#include "window/LogViewer.h"

#include "update/record/Background.h"
#include "update/run/RunLog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr qint64 shownBytes = 4 * 1024 * 1024;

// What is laid out at a time: the window answers between two such.
constexpr int linesAtATime = 2000;

} // namespace

void LogViewer::open(const QString &log, QWidget *parent)
{
    // Never a FIFO or a device: opening one could wait for ever.
    const QFileInfo info(log);
    if (log.isEmpty() || !info.isFile() || !info.isReadable()) {
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Message Box"),
                                    log.isEmpty() ? tr("This run has no run log.")
                                                  : tr("The run log is gone: %1").arg(log),
                                    QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    auto *viewer = new LogViewer(log, info.size() > shownBytes, parent);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
    viewer->read(log);
}

LogViewer::LogViewer(const QString &log, bool cut, QWidget *parent)
    : QDialog(parent)
    , view(new QPlainTextEdit)
{
    setWindowTitle(tr("Run log"));
    resize(640, 480);
    auto *where = new QLabel(cut ? tr("%1 (its end only)").arg(log) : log);
    where->setTextFormat(Qt::PlainText);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view->setObjectName(QStringLiteral("logText"));
    view->setReadOnly(true);
    view->setAccessibleName(tr("Run log"));
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(view);
    layout->addWidget(buttons);
}

// Off the GUI thread: a log of any size, on any disk. A viewer closed
// meanwhile leaves the reading behind.
void LogViewer::read(const QString &log)
{
    inBackground(
        this, [log] { return lastLogLines(log, shownBytes); },
        [this](const QStringList &lines) { showFrom(std::make_shared<const QStringList>(lines), 0); });
}

// A few thousand lines at a time, each in a turn of its own.
void LogViewer::showFrom(const std::shared_ptr<const QStringList> &lines, int from)
{
    view->appendPlainText(lines->mid(from, linesAtATime).join(QLatin1Char('\n')));
    if (from + linesAtATime < lines->size())
        QTimer::singleShot(0, this, [this, lines, from] { showFrom(lines, from + linesAtATime); });
    else
        view->moveCursor(QTextCursor::End);
}
