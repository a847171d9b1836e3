#pragma once

#include <QObject>
#include <QThread>
#include <QVector>

#include <memory>
#include <optional>
#include <utility>

// Runs work off the GUI thread and hands its result to done, in receiver's
// thread, unless receiver is gone by then. Nothing waits for the work: one
// stuck on a disk that does not answer is left behind, and shares nothing
// with receiver but what it was given.
template <typename Work, typename Done> void inBackground(QObject *receiver, Work work, Done done)
{
    using Result = decltype(work());
    auto result = std::make_shared<std::optional<Result>>();
    QThread *worker
        = QThread::create([result, work = std::move(work)]() mutable { result->emplace(work()); });
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    QObject::connect(worker, &QThread::finished, receiver,
                     [result, done = std::move(done)]() mutable { done(std::move(**result)); });
    worker->start();
}

// Runs work(part) for every part in [0, parts), each on a thread of its own
// (the first on the caller's), and returns once all are done.
template <typename Work> void inParallel(int parts, Work work)
{
    QVector<QThread *> helpers;
    for (int part = 1; part < parts; ++part) {
        helpers.append(QThread::create([&work, part] { work(part); }));
        helpers.last()->start();
    }
    if (parts > 0)
        work(0);
    for (QThread *helper : qAsConst(helpers)) {
        helper->wait();
        delete helper;
    }
}
