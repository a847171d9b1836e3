#pragma once

#include "update/record/TextRule.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>
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
    // Why an ID read did not sign in.
    struct Refused
    {
        TextRule::Fault text = TextRule::Fault::None;
        // An ID, but not one of those who may sign in.
        bool notListed = false;
        explicit operator bool() const { return text != TextRule::Fault::None || notListed; }
    };

    // Signs in the ID as the rule takes it, where it is one of those who may.
    Refused signIn(const QString &read);
    // Who may sign in; empty for anyone. One signed in who is not signed out.
    void setAllowed(const QStringList &ids);
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
    QStringList allowed;
    qint64 lastPress = 0;
    int idleMinutes = 0;
    QTimer idleCheck;
};
