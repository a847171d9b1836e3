#pragma once

#include <QGroupBox>
#include <QList>
#include <QString>

class QLayout;
class QRadioButton;
class QVBoxLayout;

// A titled column of radio buttons, one per entry of a folder under the
// firmware root, that reports the entry the user checks.
class DirGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit DirGroup(QString title);
    ~DirGroup() override;

    // The buttons of the current listing, in listing order; not owned.
    const QList<QRadioButton *> &radioButtons() const { return radioButtonList; }

signals:
    void passDirName(QString combinedPath);
    void passFullDirName(QString combinedPath);

public slots:
    void pickDirName(bool checked);
    void listSubDir(QString dstDirName);
    void listAllDir(QString dstDirPath);

private:
    void clearLayout(QLayout *layout);
    void addButtons(const QStringList &names);

    QList<QRadioButton *> radioButtonList;
    QVBoxLayout *dirLayout;
    QString rootDirPath;
    QString subDirName;
};
