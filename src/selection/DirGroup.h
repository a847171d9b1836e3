#pragma once

#include "selection/FolderReader.h"

#include <QGroupBox>
#include <QList>
#include <QString>

#include <memory>

class NameFit;
class QButtonGroup;
class QLabel;
class QLayout;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;

// A titled column of radio buttons, one per entry of a folder under the
// firmware root, that reports the entry the user checks. The column scrolls
// inside the group, so no number of entries makes the group grow.
class DirGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit DirGroup(QString title);
    ~DirGroup() override;

    // The buttons of the current listing, in listing order; not owned.
    const QList<QRadioButton *> &radioButtons() const { return radioButtonList; }
    // The folder last listed, and the entry checked in it (empty if none).
    QString listedPath() const { return listedDirPath; }
    QString checkedName() const;
    // Entries of the folder listed that the listing cannot name.
    int unlistedCount() const { return shownRead.unlisted; }
    // How much taller the group would have to be to show every entry.
    int hiddenHeight() const;
    // How much wider it would have to be to show every name whole.
    int hiddenWidth() const;
    // Tall enough for every entry: a layout with room to spare gives the
    // group all of its entries before anything else grows.
    QSize sizeHint() const override;
    // Lists the same folder again, the checked entry staying checked if it
    // is still there, without reporting it again.
    void relist();
    // Reads the listed folder again, and lists it anew only where it
    // changed: for a folder that may have changed while nothing watched it.
    void recheck();
    // A folder's reading begun before it is listed: its listing then waits
    // only for what is left of the reading.
    void readAhead(FolderReader::Begun begun);

signals:
    // A listing is shown: at once, or once its folder answered.
    void listed();
    void passDirName(QString combinedPath);
    void passFullDirName(QString combinedPath);

public slots:
    void pickDirName(bool checked);
    void listSubDir(QString dstDirName);
    void listAllDir(QString dstDirPath);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void list(const QString &dstDirPath, const QString &keep, bool onlyChanges = false);
    void clearButtons();
    void clearLayout(QLayout *layout);
    void showListing(const FolderRead &read);
    void makeColumn();
    void addButtons(const QStringList &names, const QStringList &shown);
    void fitNames();
    int nameRoom() const;

    QList<QRadioButton *> radioButtonList;
    QVBoxLayout *dirLayout;
    QString rootDirPath;
    QString subDirName;
    QString listedDirPath;
    // Made for the first listing with entries.
    QScrollArea *scrollArea = nullptr;
    // Says so while the folder takes long to answer.
    QLabel *waitingLine;
    FolderReader *reader;
    QButtonGroup *choices;
    // The entry to check again once a re-listing is shown.
    QString keepChecked;
    // The reading the buttons show.
    FolderRead shownRead;
    // The reading awaited is shown only if it differs from that one.
    bool changesOnly = false;
    // The names of the listing as the column's width lets them read.
    std::unique_ptr<NameFit> nameFit;
};
