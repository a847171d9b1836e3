#pragma once

#include "update/record/ChainCheck.h"

#include <QDialog>

#include <atomic>
#include <memory>

class HistoryModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class WarningLabel;

// The station's history in the window: its runs, newest first, filtered to
// today's, to failures or to what a search finds, a run's log on Enter or a double click, and the
// rows shown written out as CSV. Read off the GUI thread each time it opens.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryDialog(QWidget *parent = nullptr);
    // Waits for a read under way: it reads a regular file only.
    ~HistoryDialog() override;

    // Reads the history again and shows it.
    void reload();
    // Writes the rows shown, off the GUI thread; on failure says so.
    void exportTo(const QString &path);

signals:
    // The rows read have been shown.
    void loaded();
    // An export has ended: written whole, or not at all.
    void exported(bool written);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QString chainWords(const ChainCheck::Found &found);
    void openLog(const QModelIndex &index);
    void exportChosen();
    void filter();

    HistoryModel *model;
    QTableView *table;
    QCheckBox *todayOnly;
    QCheckBox *failuresOnly;
    QLineEdit *search;
    QLabel *state;
    QPushButton *exportButton;
    // Where the history's chain is broken, if it is.
    WarningLabel *chainLine;
    // Set to end the reading on its way, if any: a window that goes never
    // waits for it.
    std::shared_ptr<std::atomic<bool>> cancelReading;
};
