#pragma once

#include "update/record/TextRule.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Who works the station, where the station asks: signed in for this start of
// tpfw only, and signed out after a number of idle minutes without a press.
class OperatorSession : public QObject
{
    Q_OBJECT

public:
    enum class State { SignedOut, SignedIn };
    // Milliseconds on a clock that never goes back, whatever is done to the
    // time of day.
    using Clock = std::function<qint64()>;
    explicit OperatorSession(QObject *parent = nullptr);

    State state() const { return current; }
    // Empty when signed out.
    QString id() const { return who; }
    // Signs in the ID as the rule takes it; why not, where it refuses it.
    TextRule::Fault signIn(const QString &read);
    void signOut();
    // 0: never signed out for idleness.
    void setIdleMinutes(int minutes);
    // A press: the idle time starts again.
    void pressed();
    // Signs out where the idle time is over; done every few seconds.
    void checkIdle();
    void setClock(Clock clock) { now = std::move(clock); }

signals:
    void changed();
    // Signed out for idleness: after this many minutes without a press.
    void signedOutIdle(int minutes);

private:
    Clock now = [] {
        return QDeadlineTimer::current().deadline();
    };
    State current = State::SignedOut;
    QString who;
    qint64 lastPress = 0;
    int idleMinutes = 0;
    QTimer idleCheck;
};
