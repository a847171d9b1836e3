// How long the window takes to settle after a listing, and what the toolkit
// costs at the least for the same number of radio buttons; what following an
// updater run costs.

#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "update/record/ChainCheck.h"
#include "update/record/DataFolder.h"
#include "update/record/FileFacts.h"
#include "update/record/HistoryChain.h"
#include "update/record/HistoryReading.h"
#include "update/record/LineReader.h"
#include "update/record/RunHistory.h"
#include "update/run/OutputTail.h"
#include "update/run/UpdaterCommand.h"
#include "update/station/StationRun.h"
#include "window/HistoryDialog.h"
#include "window/MainWindow.h"
#include "window/Translations.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include <sys/resource.h>

namespace {

// Counts the events delivered anywhere, to tell when the queue has run dry.
class EventCounter : public QObject
{
public:
    int delivered = 0;

protected:
    bool eventFilter(QObject *, QEvent *) override
    {
        ++delivered;
        return false;
    }
};

// Delivers pending events, window system ones (expose) included, and those
// they post in turn, until none are left.
void drainEvents()
{
    EventCounter counter;
    qApp->installEventFilter(&counter);
    do {
        counter.delivered = 0;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    } while (counter.delivered > 0);
    qApp->removeEventFilter(&counter);
}

// Until the window is as a user would see it: buttons shown from the queue,
// layouts activated, and the window painted, which the toolkit otherwise
// leaves to a timer.
void settle(QWidget *window)
{
    drainEvents();
    window->repaint();
    drainEvents();
}

// Two folders of n entries each, to list in turn.
class Folders
{
public:
    explicit Folders(int n)
    {
        for (const char *name : {"a", "b"}) {
            QDir(dir.path()).mkdir(name);
            for (int i = 0; i < n; ++i)
                QFile(dir.path() + '/' + name + "/fw" + QString::number(i) + ".bin")
                    .open(QIODevice::WriteOnly);
        }
    }
    QString path(int iteration) const { return dir.path() + (iteration % 2 ? "/a" : "/b"); }

private:
    QTemporaryDir dir;
};

// The groups sit in a scroll area, as a window of fixed size would show them.
std::unique_ptr<QScrollArea> shownArea()
{
    auto area = std::make_unique<QScrollArea>();
    area->setWidgetResizable(true);
    area->resize(400, 300);
    area->show();
    return area;
}

// The group as the window shows it, a column that scrolls inside it, once
// per iteration changed as given and settled.
void shownGroup(benchmark::State &state, const Folders &folders,
                const std::function<void(DirGroup &, int iteration)> &change)
{
    DirGroup group("Sensitivity");
    group.resize(190, 200);
    group.listAllDir(folders.path(0));
    group.show();
    settle(&group);
    int iteration = 1;
    for (auto _ : state) {
        change(group, iteration++);
        settle(&group);
    }
}

void relistShownGroup(benchmark::State &state)
{
    const Folders folders(state.range(0));
    shownGroup(state, folders,
               [&](DirGroup &group, int iteration) { group.listAllDir(folders.path(iteration)); });
}

// The same group made a pixel wider or narrower, as a user drags the
// window's edge.
void resizeShownGroup(benchmark::State &state)
{
    shownGroup(state, Folders(state.range(0)),
               [](DirGroup &group, int iteration) { group.resize(190 + iteration % 2, 200); });
}

void toolkitFloor(benchmark::State &state)
{
    auto area = shownArea();
    for (auto _ : state) {
        auto *box = new QGroupBox("Sensitivity");
        auto *layout = new QVBoxLayout(box);
        for (int i = 0; i < state.range(0); ++i)
            layout->addWidget(new QRadioButton("fw" + QString::number(i) + ".bin"));
        area->setWidget(box); // deletes the previous box and its buttons
        box->show();
        settle(area.get());
    }
}

void listLeaf(benchmark::State &state)
{
    const Folders folders(state.range(0));
    MainWindow window;
    window.show();
    settle(&window);
    int iteration = 0;
    for (auto _ : state) {
        window.setBinListText(folders.path(iteration++));
        settle(&window);
    }
}

// Counts the paints a widget is sent.
class PaintCounter : public QObject
{
public:
    int painted = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted += event->type() == QEvent::Paint;
        return false;
    }
};

// Shows the window and handles events until it is painted: what a user
// waits for.
void untilPainted(QWidget *window)
{
    PaintCounter counter;
    window->installEventFilter(&counter);
    window->show();
    while (!counter.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window->removeEventFilter(&counter);
}

// From starting a program to its window painted on screen, in ms: this
// benchmark started again to show the kind of window named. The window's end
// is not counted.
double msToPaint(const QString &kind)
{
    QProcess shown;
    QElapsedTimer clock;
    clock.start();
    shown.start(QCoreApplication::applicationFilePath(), {"--show", kind});
    shown.waitForReadyRead(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    shown.waitForFinished(-1);
    return ms;
}

// tpfw's window against a bare window of the toolkit's and the same kinds of
// widget built plainly: each iteration starts all three, in a shuffled
// order, so that whatever else the machine does falls on all three alike.
// The counters are the medians and the ratios against the bare window.
void startWindow(benchmark::State &state)
{
    QStringList kinds {"bare", "widgets", "tpfw"};
    std::map<QString, std::vector<double>> times;
    std::mt19937 random(std::random_device {}());
    for (auto _ : state) {
        std::shuffle(kinds.begin(), kinds.end(), random);
        for (const QString &kind : kinds)
            times[kind].push_back(msToPaint(kind));
    }
    std::map<QString, double> median;
    for (auto &[kind, ms] : times) {
        std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
        median[kind] = ms[ms.size() / 2];
        state.counters[(kind + "_ms").toStdString()] = median[kind];
    }
    state.counters["widgets_vs_bare"] = median["widgets"] / median["bare"];
    state.counters["tpfw_vs_bare"] = median["tpfw"] / median["bare"];
}

// The kinds of widget tpfw's window shows at start, built as plainly as the
// toolkit allows: bars, the two groups with a few choices, the list, a
// field and a button.
std::unique_ptr<QWidget> sameWidgets()
{
    auto window = std::make_unique<QMainWindow>();
    window->resize(400, 300);
    window->setMenuBar(new QMenuBar);
    window->menuBar()->addMenu("Station");
    auto *toolBar = new QToolBar;
    window->addToolBar(toolBar);
    toolBar->hide();
    window->setStatusBar(new QStatusBar);
    auto *central = new QWidget;
    auto *grid = new QGridLayout(central);
    for (int column = 0; column < 2; ++column) {
        auto *group = new QGroupBox(column ? "Sensitivity" : "TP Size");
        auto *choices = new QVBoxLayout(group);
        for (const char *choice : {"7inch", "10.1inch"})
            choices->addWidget(new QRadioButton(choice));
        grid->addWidget(group, 0, column);
    }
    grid->addWidget(new QTextBrowser, 1, 0, 1, 2);
    grid->addWidget(new QLineEdit, 2, 0, 1, 2);
    grid->addWidget(new QPushButton("UpdateFW"), 3, 0, 1, 2);
    window->setCentralWidget(central);
    return window;
}

// This benchmark started again with "--show": as tpfw's own start, the
// window shown, and a line written once it is painted.
int showAndQuit(const char *which)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    int argc = 1;
    char name[] = "tpfw";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tpfw"));
    QStandardPaths::setTestModeEnabled(true);
    std::unique_ptr<QWidget> window;
    std::unique_ptr<QTranslator> translators[2];
    if (std::strcmp(which, "tpfw") == 0) {
        translators[0] = translatorFor(QLocale());
        translators[1] = toolkitTranslatorFor(QLocale());
        for (const std::unique_ptr<QTranslator> &translator : translators)
            if (translator)
                QCoreApplication::installTranslator(translator.get());
        window = std::make_unique<MainWindow>();
    } else if (std::strcmp(which, "widgets") == 0)
        window = sameWidgets();
    else
        window = std::make_unique<QMainWindow>();
    untilPainted(window.get());
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
    return 0;
}

// The window's TP sizes listed again (as when the firmware root changes),
// with as many TP sizes as given, until the window has settled.
void relistWindowTpSizes(benchmark::State &state)
{
    QDir(firmwareRoot()).removeRecursively();
    for (int i = 0; i < state.range(0); ++i)
        QDir().mkpath(firmwareRoot() + QString("/%1inch").arg(i));
    MainWindow window;
    window.show();
    settle(&window);
    auto *tpSizes = window.findChild<DirGroup *>();
    for (auto _ : state) {
        tpSizes->relist();
        settle(&window);
    }
    QDir(firmwareRoot()).removeRecursively();
}

void buildUpdaterCommand(benchmark::State &state)
{
    QStringList paths;
    for (int i = 0; i < state.range(0); ++i)
        paths.append("/opt/tpfw/FwBinFiles/10.1inch/High/fw" + QString::number(i) + ".bin");
    for (auto _ : state) {
        benchmark::DoNotOptimize(updaterArguments(paths));
        benchmark::DoNotOptimize(updaterCommand(updaterProgram(), paths));
    }
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A press with nothing listed: no leaf to read again.
std::optional<LeafNow> noLeaf(const QString &)
{
    return std::nullopt;
}

// tpfw's own CPU time while a 5 s updater runs, and how late the end of the
// run is known after the updater's last write (its record, at exit), in a
// window that was opened again during the run and found it.
void followRun(benchmark::State &state)
{
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    QFile::remove(updaterProgram());
    QFile::copy(TPFW_STANDIN, updaterProgram());
    const QTemporaryDir dir;
    const QString record = dir.filePath("record");
    qputenv("TPFW_UPDATER_LOG", QFile::encodeName(record));
    qputenv("TPFW_STANDIN_SECONDS", "5");
    for (auto _ : state) {
        const double cpuBefore = cpuSeconds();
        QEventLoop loop;
        auto starter = std::make_unique<StationRun>(noLeaf);
        QObject::connect(starter.get(), &StationRun::started, &loop, &QEventLoop::quit);
        QObject::connect(starter.get(), &StationRun::asked, starter.get(), [&] { starter->answer(true); });
        QObject::connect(starter.get(), &StationRun::notStarted, [&](const RunRefusal &refusal) {
            state.SkipWithError(qPrintable(detailOf(refusal)));
            loop.quit();
        });
        starter->press({});
        loop.exec();
        // The window that started it closes; another opens.
        starter.reset();
        StationRun follower(noLeaf);
        qint64 endedAt = 0;
        QObject::connect(&follower, &StationRun::ended, [&] {
            endedAt = QDateTime::currentMSecsSinceEpoch();
            loop.quit();
        });
        follower.watch();
        loop.exec();
        state.counters["cpu_ms"] = (cpuSeconds() - cpuBefore) * 1000;
        state.counters["exit_to_status_ms"] = endedAt - QFileInfo(record).lastModified().toMSecsSinceEpoch();
        QFile::remove(record);
    }
}

// What a press costs before the updater starts: the size and SHA-256 of 10
// images of 8 MiB each (done off the GUI thread).
void takeImageFacts(benchmark::State &state)
{
    const QTemporaryDir dir;
    QStringList images;
    for (int i = 0; i < 10; ++i) {
        images.append(dir.filePath(QString("fw%1.bin").arg(i)));
        QFile file(images.last());
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(8 << 20, char(i)));
    }
    for (auto _ : state)
        for (const QString &image : images)
            benchmark::DoNotOptimize(factsOf(image));
}

// From the press to the updater's start with 256 MiB of images (4 of 64 MiB),
// against the machine's own `openssl dgst -sha256` of the same files, and
// the toolkit's portable SHA-256 over them, as it was done before.
void pressToStart(benchmark::State &state)
{
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    QFile::remove(updaterProgram());
    QFile::copy(TPFW_STANDIN, updaterProgram());
    qunsetenv("TPFW_STANDIN_SECONDS");
    const QTemporaryDir dir;
    QStringList images;
    QByteArray block(64 << 20, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < block.size(); k += 4096)
            block[k] = char(i + k);
        images.append(dir.filePath(QString("fw%1.bin").arg(i)));
        QFile file(images.last());
        file.open(QIODevice::WriteOnly);
        file.write(block);
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QProcess openssl;
        openssl.start("openssl", QStringList({"dgst", "-sha256"}) + images);
        openssl.waitForFinished(-1);
        state.counters["openssl_ms"] = clock.restart();
        for (const QString &image : images) {
            QFile file(image);
            file.open(QIODevice::ReadOnly);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&file);
        }
        state.counters["portable_MB_per_s"] = 256 * 1.048576 * 1000 / clock.restart();
        QEventLoop loop;
        StationRun session(noLeaf);
        QObject::connect(&session, &StationRun::started, &loop, &QEventLoop::quit);
        QObject::connect(&session, &StationRun::notStarted, &loop, &QEventLoop::quit);
        session.press({{}, {}, {}, images, {}, {}});
        loop.exec();
        state.counters["press_to_start_ms"] = clock.elapsed();
        QObject::connect(&session, &StationRun::ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Records over 100 days, the last 1% of them today; chained as the
// station chains them, or not, as written before the chain.
void writeHistory(const QString &path, const QDateTime &now, int count = 100000, bool chained = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    RunRecord record = RunRecord::begun();
    record.outcome = Outcome::Ok;
    record.seconds = 1;
    record.tpSize = "10.1inch";
    record.sensitivity = "High";
    for (int i = 0; i < 3; ++i)
        record.images.append(
            {"/opt/tpfw/FwBinFiles/10.1inch/High/TP101_H_v2.0.bin", 524288, QByteArray(64, 'a'), {}});
    record.station = "Line 3";
    QByteArray line;
    for (int i = 0; i < count; ++i) {
        record.unit = QString("SN%1").arg(i, 6, 10, QLatin1Char('0'));
        record.operatorId = QString("op%1").arg(i % 20);
        record.started = now.addDays(i / (count / 100) - 99).addSecs(-1);
        record.ended = record.started.addSecs(1);
        if (chained) {
            record.seq = i + 1;
            record.prev = i == 0 ? HistoryChain::Link().hash : HistoryChain::hashOf(line);
        }
        line = toJsonLine(record);
        file.write(line + '\n');
    }
}

// What the history adds to the start: today's counts.
void countToday(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.jsonl");
    const QDateTime now = QDateTime::currentDateTime();
    writeHistory(path, now);
    for (auto _ : state)
        benchmark::DoNotOptimize(countDay(path, now.date()));
}

// A press's look-up of the serial's earlier runs in 1,000,000 records: a
// serial never seen, one seen once, and a word every record holds (not as
// its serial).
void lookUpSerial(benchmark::State &state)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath("history.jsonl");
    if (!QFileInfo::exists(path))
        writeHistory(path, QDateTime::currentDateTime(), 1000000);
    const QString serial = QStringList({"SN9999999", "SN500000", "High"}).at(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lastOkRunOf(path, serial));
    state.SetLabel(serial.toStdString());
}

// From an updater's write to the line reaching the window's panel.
void followOutput(benchmark::State &state)
{
    const QTemporaryDir dir;
    QFile log(dir.filePath("run.log"));
    log.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    OutputTail tail;
    QEventLoop loop;
    QObject::connect(&tail, &OutputTail::lines, &loop, &QEventLoop::quit);
    tail.follow(log.fileName());
    for (auto _ : state) {
        log.write("writing block 1/1 (50%)\n");
        loop.exec();
    }
}

// What tpfw-history verify does with 1,000,000 chained records.
void verifyChain(benchmark::State &state)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath("history.jsonl");
    if (!QFileInfo::exists(path))
        writeHistory(path, QDateTime::currentDateTime(), 1000000, true);
    for (auto _ : state) {
        ChainCheck check;
        forEachLine(path, 0, -1, [&check](const QByteArray &line) {
            check.add(line);
            return !check.firstBreak();
        });
        if (check.firstBreak() || check.records() != 1000000)
            state.SkipWithError("the chain is not whole");
    }
    state.counters["MiB"] = double(QFileInfo(path).size()) / (1 << 20);
}

void readHistory(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.jsonl");
    writeHistory(path, QDateTime::currentDateTime());
    for (auto _ : state)
        benchmark::DoNotOptimize(readHistoryRows(path));
}

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    return statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLong() * 4 : 0;
}

// Opens the dialog and returns once its rows are on screen.
void showLoaded(HistoryDialog &dialog)
{
    QEventLoop loop;
    QObject::connect(&dialog, &HistoryDialog::loaded, &loop, &QEventLoop::quit);
    dialog.reload();
    dialog.show();
    loop.exec();
    drainEvents();
}

// From opening the history dialog to its rows on screen, and what the
// rows take in memory.
void openHistory(benchmark::State &state)
{
    writeHistory(historyPath(), QDateTime::currentDateTime());
    long grown = 0;
    for (auto _ : state) {
        const long before = residentKiB();
        HistoryDialog dialog;
        showLoaded(dialog);
        grown = std::max(grown, residentKiB() - before);
    }
    state.counters["MiB"] = grown / 1024.0;
    QFile::remove(historyPath());
}

// A key typed into the dialog's search over 100,000 loaded records, until
// the rows it leaves are on screen.
void filterHistory(benchmark::State &state)
{
    writeHistory(historyPath(), QDateTime::currentDateTime());
    HistoryDialog dialog;
    showLoaded(dialog);
    auto *search = dialog.findChild<QLineEdit *>();
    const QStringList typed {"SN04", "op7", "high", "SN0421"};
    int i = 0;
    for (auto _ : state) {
        search->setText(typed.at(i++ % typed.size()));
        drainEvents();
    }
    QFile::remove(historyPath());
}

// Writing those 100,000 records out as CSV from the dialog, and the longest
// the window waited meanwhile (a 10 ms beat's lateness): the stall the
// tests leave to this benchmark, as a busy machine stretches it.
void exportHistory(benchmark::State &state)
{
    writeHistory(historyPath(), QDateTime::currentDateTime());
    HistoryDialog dialog;
    showLoaded(dialog);
    const QTemporaryDir dir;
    qint64 longest = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&dialog, &HistoryDialog::exported, &loop, &QEventLoop::quit);
        QElapsedTimer gap;
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&] { longest = std::max(longest, gap.restart() - 10); });
        gap.start();
        beat.start(10);
        dialog.exportTo(dir.filePath("all.csv"));
        loop.exec();
    }
    state.counters["longest_stall_ms"] = double(longest);
    QFile::remove(historyPath());
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(relistShownGroup)->Apply(sizes);
BENCHMARK(resizeShownGroup)->Apply(sizes);
BENCHMARK(toolkitFloor)->Apply(sizes);
BENCHMARK(listLeaf)->Apply(sizes);
BENCHMARK(relistWindowTpSizes)->Apply(sizes);
BENCHMARK(startWindow)->Iterations(101)->Unit(benchmark::kMillisecond);
BENCHMARK(buildUpdaterCommand)->Apply(sizes);
BENCHMARK(takeImageFacts)->Unit(benchmark::kMillisecond);
BENCHMARK(pressToStart)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(countToday)->Unit(benchmark::kMillisecond);
BENCHMARK(lookUpSerial)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(followOutput)->Unit(benchmark::kMicrosecond);
BENCHMARK(readHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(verifyChain)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(openHistory)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(filterHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(exportHistory)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(followRun)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A station that asks for nothing, whatever the machine's own settings
    // ask; the windows started to be measured inherit it.
    const QTemporaryDir station;
    if (qEnvironmentVariableIsEmpty("TPFW_STATION_SETTINGS")) {
        const QString settings = station.filePath(QStringLiteral("station.ini"));
        QFile(settings).open(QIODevice::WriteOnly);
        qputenv("TPFW_STATION_SETTINGS", QFile::encodeName(settings));
    }
    if (argc == 3 && std::strcmp(argv[1], "--show") == 0)
        return showAndQuit(argv[2]);
    // Every listed name goes to the debug stream; printing 10,000 lines
    // would measure the terminal, not the window.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    // Run logs go to a scratch folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
