// tpfw-history: what anyone at the station may ask of its history.
//   tpfw-history verify [FILE]
//     checks that the history (by default this user's) is the chain its
//     station wrote: exits 0 where it is whole, 1 naming the first break,
//     2 where the file cannot be read.

#include "update/record/ChainCheck.h"
#include "update/record/DataFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// In UTF-8 wherever it runs: the local code page of a Windows station may
// hold no en dash.
void say(FILE *to, const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), to);
}

QString counted(qint64 count, const QString &what)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(what, count == 1 ? QString() : QStringLiteral("s"));
}

QString breakWords(const ChainCheck::Found &found)
{
    switch (found.kind) {
    case ChainCheck::Break::Edited:
        return QStringLiteral("line %1, seq %2: a record edited (the next record's prev is not its hash)")
            .arg(found.line)
            .arg(found.seq);
    case ChainCheck::Break::Missing:
        return QStringLiteral("line %1: a record missing (seq %2 is not there)")
            .arg(found.line)
            .arg(found.seq);
    case ChainCheck::Break::Inserted:
        return found.seq > 0 ? QStringLiteral("line %1, seq %2: a record inserted (it follows no record "
                                              "of the chain)")
                                   .arg(found.line)
                                   .arg(found.seq)
                             : QStringLiteral("line %1: a record inserted (it has no seq)").arg(found.line);
    case ChainCheck::Break::SeqRepeated:
        return QStringLiteral("line %1, seq %2: two records with one seq").arg(found.line).arg(found.seq);
    }
    return QString();
}

int verify(const QString &path)
{
    // Not opened where it is no regular file: a FIFO would wait for ever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        say(stderr,
            path + QStringLiteral(": ")
                + (QFileInfo::exists(path) && QFileInfo(path).isFile() ? file.errorString()
                                                                       : QStringLiteral("no such history")));
        return 2;
    }
    file.close();
    const ChainCheck check = ChainCheck::ofFile(path);
    if (const auto &found = check.firstBreak()) {
        say(stdout, QStringLiteral("chain broken at ") + breakWords(*found));
        return 1;
    }
    say(stdout,
        check.records() == 0 ? QStringLiteral("0 records, no chain yet")
                             : counted(check.records(), QStringLiteral("record"))
                + QStringLiteral(", chain intact (seq 1–%1)").arg(check.lastSeq()));
    if (check.olderRecords() > 0)
        say(stdout,
            counted(check.olderRecords(), QStringLiteral("older record"))
                + QStringLiteral(" before the chain, not in it"));
    if (check.cutLines() > 0)
        say(stdout,
            counted(check.cutLines(), QStringLiteral("line"))
                + QStringLiteral(" cut short (a power loss), passed over: the first is line %1")
                      .arg(check.firstCutLine()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tpfw"));
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.value(0) != QStringLiteral("verify") || arguments.size() > 2) {
        say(stderr, QStringLiteral("usage: tpfw-history verify [FILE]"));
        return 2;
    }
    return verify(arguments.size() == 2 ? arguments.at(1) : historyPath());
}
