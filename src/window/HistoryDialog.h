#pragma once

#include <QDialog>

#include <memory>

class HistoryModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QThread;

// The station's history in the window: its runs, newest first, filtered to
// today's or to failures, a run's log on Enter or a double click, and the
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
    // Writes the rows shown; on failure says so.
    bool exportTo(const QString &path);

signals:
    // The rows read have been shown.
    void loaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openLog(const QModelIndex &index);
    void exportChosen();
    void filter();

    HistoryModel *model;
    QTableView *table;
    QCheckBox *todayOnly;
    QCheckBox *failuresOnly;
    QLabel *state;
    QPushButton *exportButton;
    QThread *reader = nullptr;
};
