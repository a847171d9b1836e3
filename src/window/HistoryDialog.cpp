#include "window/HistoryDialog.h"

#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "window/HistoryModel.h"
#include "window/LogViewer.h"
#include "window/WarningLabel.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

HistoryDialog::HistoryDialog(QWidget *parent)
    : QDialog(parent)
    , model(new HistoryModel(this))
    , table(new QTableView)
    , todayOnly(new QCheckBox(tr("&Today")))
    , failuresOnly(new QCheckBox(tr("&Failures only")))
    , search(new QLineEdit)
    , state(new QLabel)
    , exportButton(new QPushButton(tr("&Export CSV…")))
    , chainLine(new WarningLabel)
{
    setWindowTitle(tr("History"));
    const QSize room = (parent ? parent->screen() : screen())->availableGeometry().size() * 0.9;
    resize(QSize(760, 420).boundedTo(room));
    table->setObjectName(QStringLiteral("historyTable"));
    table->setAccessibleName(tr("Station history"));
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // Rows of one height, columns sized from the first rows: scrolling a
    // long history measures nothing.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setResizeContentsPrecision(50);
    table->horizontalHeader()->setStretchLastSection(true);
    state->setTextFormat(Qt::PlainText);
    search->setAccessibleName(tr("Search"));
    search->setPlaceholderText(tr("Search units, operators, stations, leaves, images"));
    search->setClearButtonEnabled(true);

    auto *filters = new QHBoxLayout;
    filters->addWidget(todayOnly);
    filters->addWidget(failuresOnly);
    filters->addWidget(search, 1);
    filters->addWidget(state);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    chainLine->setObjectName(QStringLiteral("chainLine"));
    chainLine->setTextFormat(Qt::PlainText);
    chainLine->setWordWrap(true);
    chainLine->hide();
    layout->addWidget(chainLine);
    layout->addWidget(table);
    layout->addWidget(buttons);

    connect(todayOnly, &QCheckBox::toggled, this, &HistoryDialog::filter);
    connect(failuresOnly, &QCheckBox::toggled, this, &HistoryDialog::filter);
    connect(search, &QLineEdit::textChanged, this, &HistoryDialog::filter);
    table->setFocus();
    table->installEventFilter(this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(exportButton, &QPushButton::clicked, this, &HistoryDialog::exportChosen);
    connect(table, &QTableView::doubleClicked, this, &HistoryDialog::openLog);
}

// Enter on a row opens its log, and goes no further: no button of the
// dialog, nor of a notice it shows, takes it as well.
bool HistoryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != table || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (table->currentIndex().isValid())
        openLog(table->currentIndex());
    return true;
}

void HistoryDialog::openLog(const QModelIndex &index)
{
    LogViewer::open(model->logOf(index.row()), this);
}

HistoryDialog::~HistoryDialog()
{
    if (cancelReading)
        *cancelReading = true;
}

void HistoryDialog::reload()
{
    if (cancelReading)
        return;
    state->setText(tr("Reading the history…"));
    cancelReading = std::make_shared<std::atomic<bool>>(false);
    inBackground(
        this,
        [cancel = cancelReading, path = historyPath()] {
            return std::pair(readHistoryRows(path, cancel.get()), ChainCheck::ofFile(path, cancel.get()));
        },
        [this](std::pair<QVector<HistoryRow>, ChainCheck> read) {
            cancelReading.reset();
            const std::optional<ChainCheck::Found> &broken = read.second.firstBreak();
            chainLine->setText(broken ? chainWords(*broken) : QString());
            chainLine->setVisible(broken.has_value());
            model->setRows(std::move(read.first));
            table->resizeColumnsToContents();
            filter();
            emit loaded();
        });
}

// Where the history's chain breaks, for whoever looks at its runs: what
// is shown may not be what the station recorded.
QString HistoryDialog::chainWords(const ChainCheck::Found &found)
{
    switch (found.kind) {
    case ChainCheck::Break::Edited:
        return tr("The history was changed after it was written: the record at line %1 (No. %2) was edited.")
            .arg(found.line)
            .arg(found.seq);
    case ChainCheck::Break::Missing:
        return tr("The history was changed after it was written: record No. %2, before line %1, was deleted.")
            .arg(found.line)
            .arg(found.seq);
    case ChainCheck::Break::Inserted:
        return tr("The history was changed after it was written: the record at line %1 was added later.")
            .arg(found.line);
    case ChainCheck::Break::SeqRepeated:
        return tr("The history was changed after it was written: the record at line %1 repeats No. %2.")
            .arg(found.line)
            .arg(found.seq);
    }
    return QString();
}

void HistoryDialog::filter()
{
    model->setFilter(todayOnly->isChecked() ? QDate::currentDate() : QDate(), failuresOnly->isChecked(),
                     search->text());
    const int shown = model->rowCount();
    state->setText(shown == 1 ? tr("1 run shown") : tr("%1 runs shown").arg(shown));
    if (model->rowCount())
        table->selectRow(0);
}

// Off the GUI thread, a million rows as much as a few, with its progress
// in view and a way out.
void HistoryDialog::exportTo(const QString &path)
{
    const CsvTable rows = model->table(historyPath());
    auto *progress = new QProgressDialog(tr("Writing %1…").arg(QDir::toNativeSeparators(path)), tr("Cancel"),
                                         0, rows.rows, this);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    auto written = std::make_shared<std::atomic<int>>(0);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto *poll = new QTimer(progress);
    connect(poll, &QTimer::timeout, progress, [progress, written] { progress->setValue(*written); });
    poll->start(100);
    connect(progress, &QProgressDialog::canceled, progress, [cancel] { *cancel = true; });
    inBackground(
        this,
        [rows, path, written, cancel] {
            QString error;
            const bool done = writeCsv(rows, path, &error, written.get(), cancel.get());
            return std::make_pair(done, error);
        },
        [this, path, progress](const std::pair<bool, QString> &result) {
            progress->deleteLater();
            if (!result.first && !result.second.isEmpty()) {
                auto *box = new QMessageBox(
                    QMessageBox::Warning, QStringLiteral("Message Box"),
                    tr("The history could not be written to %1: %2").arg(path, result.second),
                    QMessageBox::Ok, this);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->open();
            }
            emit exported(result.first);
        });
}

void HistoryDialog::exportChosen()
{
    // Made where it is not there yet: the dialog would open in the working
    // folder instead.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(folder);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export CSV"), folder + "/tpfw-history.csv",
                                                      tr("CSV files (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}
