#include "update/station/OperatorSession.h"

OperatorSession::OperatorSession(QObject *parent)
    : QObject(parent)
{
    idleCheck.setInterval(5000);
    connect(&idleCheck, &QTimer::timeout, this, &OperatorSession::checkIdle);
}

OperatorSession::Refused OperatorSession::signIn(const QString &read)
{
    const TextRule::Checked id = TextRule::check(read, TextRule::Form::Scanned);
    if (id.fault != TextRule::Fault::None)
        return {id.fault, false};
    if (!allowed.isEmpty() && !allowed.contains(id.text))
        return {TextRule::Fault::None, true};
    who = id.text;
    current = State::SignedIn;
    lastPress = now();
    if (idleMinutes > 0)
        idleCheck.start();
    emit changed();
    return {};
}

void OperatorSession::setAllowed(const QStringList &ids)
{
    allowed = ids;
    if (!allowed.isEmpty() && !allowed.contains(who))
        signOut();
}

void OperatorSession::signOut()
{
    idleCheck.stop();
    if (current == State::SignedOut)
        return;
    who.clear();
    current = State::SignedOut;
    emit changed();
}

void OperatorSession::setIdleMinutes(int minutes)
{
    idleMinutes = minutes;
    if (idleMinutes > 0 && current == State::SignedIn)
        idleCheck.start();
    else
        idleCheck.stop();
}

void OperatorSession::pressed()
{
    lastPress = now();
}

void OperatorSession::checkIdle()
{
    if (current == State::SignedIn && idleMinutes > 0
        && now() - lastPress >= qint64(idleMinutes) * 60 * 1000) {
        signOut();
        emit signedOutIdle(idleMinutes);
    }
}
