#pragma once

#include <QObject>
#include <QString>

// While one of the window's notices or questions is open, takes what a
// hand-held scanner types (characters, then Enter) as a scan, so that the
// next panel's serial is neither lost nor heard as the dialog's answer: a
// message box clicks a button on its letter and its default on Enter. An
// Enter, Escape or Space with nothing typed before it is a deliberate
// answer, and passes.
class ScanCatcher : public QObject
{
    Q_OBJECT

public:
    explicit ScanCatcher(QObject *parent = nullptr);

    // Catches from now until released, with nothing typed yet.
    void catchKeys();
    void release();

signals:
    void scanned(const QString &serial);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool take(int key, const QString &text);

    QString typed;
    bool catching = false;
};
