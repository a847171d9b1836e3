#include "window/LogViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
constexpr qint64 shownBytes = 4 * 1024 * 1024;
} // namespace

void LogViewer::open(const QString &log, QWidget *parent)
{
    QFile file(log);
    // Never a FIFO or a device: opening one could wait for ever.
    const QFileInfo info(log);
    if (log.isEmpty() || !info.isFile() || !file.open(QIODevice::ReadOnly)) {
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Message Box"),
                                    log.isEmpty() ? tr("This run has no run log.")
                                                  : tr("The run log is gone: %1").arg(log),
                                    QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    const bool cut = file.size() > shownBytes;
    file.seek(qMax<qint64>(0, file.size() - shownBytes));
    auto *viewer = new LogViewer(log, file.readAll(), cut, parent);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

LogViewer::LogViewer(const QString &log, const QByteArray &text, bool cut, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Run log"));
    resize(640, 480);
    auto *where = new QLabel(cut ? tr("%1 (its end only)").arg(log) : log);
    where->setTextFormat(Qt::PlainText);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *view = new QPlainTextEdit(QString::fromLocal8Bit(text));
    view->setObjectName(QStringLiteral("logText"));
    view->setReadOnly(true);
    view->setAccessibleName(tr("Run log"));
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->moveCursor(QTextCursor::End);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(view);
    layout->addWidget(buttons);
}
