#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;

// Where the panel's serial is typed or scanned (a hand-held scanner types it
// and sends Enter), with why it was refused in red beneath. Built when first
// shown: a station that asks for no serial never pays for it.
class SerialField : public QWidget
{
    Q_OBJECT

public:
    explicit SerialField(QWidget *parent = nullptr);

    // As read, without the spaces around it.
    QString serial() const;
    // As scanned while the field did not have the keys.
    void setSerial(const QString &serial);
    void refuse(const QString &why);
    // Cleared, and the focus taken, for the next panel; a next panel's
    // serial read meanwhile is kept there for it.
    void ready();
    // What was read is the next panel's, not the one being run: kept, with
    // the words that say so beneath.
    void holdNext(const QString &words);
    // Empty until it is first shown.
    QWidgetList tabStops() const;
    void setVisible(bool visible) override;

signals:
    void entered();
    // A serial is being typed or scanned.
    void typed();

private:
    void build();

    QLineEdit *edit = nullptr;
    QLabel *problem = nullptr;
    QLabel *nextLine = nullptr;
    bool next = false;
};
