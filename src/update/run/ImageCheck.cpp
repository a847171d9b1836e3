#include "update/run/ImageCheck.h"

#include "update/record/Background.h"

#include <QThread>

#include <atomic>

struct CheckedFiles
{
    QVector<FileFacts> images;
    FileFacts updater;
    // Images checked so far, of how many.
    std::atomic<int> done {0};
    int total = 0;
};

namespace {

// Several images at once, one on each core, then the updater.
void checkFiles(CheckedFiles &files, const QStringList &images, const QString &updater)
{
    files.images.resize(images.size());
    FileFacts *const facts = files.images.data();
    std::atomic<int> next {0};
    inParallel(qMax(1, qMin(QThread::idealThreadCount(), images.size())), [&](int) {
        for (int i; (i = next++) < images.size();) {
            facts[i] = factsOf(images.at(i));
            ++files.done;
        }
    });
    files.updater = factsOf(updater);
}

} // namespace

ImageCheck::ImageCheck(QObject *parent)
    : QObject(parent)
{
    progressTimer.setInterval(100);
    connect(&progressTimer, &QTimer::timeout, this, &ImageCheck::tellProgress);
}

ImageCheck::~ImageCheck()
{
    cancel();
}

void ImageCheck::start(const QStringList &images, const QString &updater)
{
    files = std::make_shared<CheckedFiles>();
    files->total = images.size();
    worker = QThread::create([shared = files, images, updater] { checkFiles(*shared, images, updater); });
    connect(worker, &QThread::finished, this, [this] {
        progressTimer.stop();
        tellProgress();
        worker->deleteLater();
        worker = nullptr;
        current = State::Awaiting;
        if (!held)
            tellChecked();
    });
    current = State::Checking;
    worker->start();
    tellProgress();
    progressTimer.start();
}

void ImageCheck::hold(bool hold)
{
    held = hold;
    if (!held && current == State::Awaiting)
        tellChecked();
}

void ImageCheck::cancel()
{
    progressTimer.stop();
    held = false;
    current = State::Idle;
    if (worker) {
        worker->disconnect(this);
        connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        worker = nullptr;
    }
}

void ImageCheck::tellProgress()
{
    emit progress(files->done, files->total);
}

void ImageCheck::tellChecked()
{
    current = State::Idle;
    emit checked(files->images, files->updater);
}
