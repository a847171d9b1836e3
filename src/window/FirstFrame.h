#pragma once

#include <QObject>

class QWidget;

// Tells once a window's first frame is on screen: what the frame does not
// show (watching the machine's run, counting the day) starts after it, so
// that the window appears as soon as the toolkit can draw it. A window still
// hidden when events are first handled (one built but never shown) is told
// then.
class FirstFrame : public QObject
{
    Q_OBJECT

public:
    enum class State { Waiting, Drawn, Reached };

    explicit FirstFrame(QWidget *window);

signals:
    void reached();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reach();

    QWidget *window;
    State state = State::Waiting;
};
