// What the module library costs at the size of a large collection: a generated collection of
// distinct modules (each with its own title, sample names, message, notes and length, MOD,
// S3M, XM and IT in turn, 100 to a folder) is indexed from scratch, then scanned again
// unchanged, then searched for one to three words with prefixes as a user types them. Prints
// each figure beside its target; how each grows with the collection shows from running it at
// 10,000 and at 100,000.
//
// Usage: library_index <modules> [<folder>]. The collection is written into <folder> (by
// default under the temporary directory) once and used again by later runs; the database is
// made afresh beside it each run.
#include "library/LibraryIndexer.h"
#include "library/LibrarySearch.h"
#include "library/LibraryStore.h"
#include "tools/modulemaker/ModuleMaker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using namespace ModuleMaker;

constexpr int kModulesPerFolder = 100;
constexpr double kRateTarget = 500;         // modules a second, at least
constexpr double kMemoryTargetMiB = 150;    // resident while indexing, at most
constexpr double kRescanTargetSeconds = 5;  // for 100,000 unchanged files, at most
constexpr double kSearchTargetMs = 20;      // 99th percentile, at most
constexpr double kBytesPerModuleTarget = 1024;  // beyond the text the modules hold

/// Made-up words from syllables: a vocabulary large enough that titles and names differ.
QString word(std::mt19937& random)
{
    static const char* const kSyllables[] = {"ka", "lo", "mi", "ra", "zu", "te", "no", "vi", "sha", "dre",
                                             "qua", "bel", "tor", "fin", "gal", "hex", "ion", "jun", "pex", "wyn"};
    const int syllables = 2 + int(random() % 2);
    QString w;
    for (int s = 0; s < syllables; ++s)
        w += QLatin1String(kSyllables[random() % 20]);
    return w;
}

/// The n-th module of the collection, in format.
Song collectionSong(int n, Format format, std::mt19937& random)
{
    Song song;
    song.name = (word(random) + QLatin1Char(' ') + word(random)).left(18) + QString::number(n % 100);
    song.channels = format == Format::Mod ? 4 : 4 + int(random() % 5);
    song.speed = 3 + int(random() % 4);
    const Waveform waveforms[] = {Waveform::Square, Waveform::Saw, Waveform::Triangle, Waveform::Sine, Waveform::Noise};
    const int samples = 4 + int(random() % 3);
    for (int i = 0; i < samples; ++i) {
        Sample sample;
        sample.name = (word(random) + QLatin1Char(' ') + word(random)).left(20);
        sample.waveform = waveforms[random() % 5];
        sample.cycleLength = 16 << (random() % 4);
        sample.length = 2048 * (1 + int(random() % 4));
        song.samples.append(sample);
    }
    const int patterns = 1 + int(random() % 6);
    for (int p = 0; p < patterns; ++p) {
        Pattern pattern;
        for (int row = 0; row < pattern.rows; row += 1 + int(random() % 3))
            pattern.notes.append({row, int(random() % song.channels), noteNumber(3 + int(random() % 2), int(random() % 12)),
                                  1 + int(random() % samples), -1});
        song.patterns.append(pattern);
    }
    const int orders = 1 + int(random() % 12);
    for (int i = 0; i < orders; ++i)
        song.orders.append(i % patterns);
    if (format == Format::Xm || format == Format::It)
        song.message = QStringLiteral("by %1 %2\ngreetings to %3").arg(word(random), word(random), word(random));
    return song;
}

/// Writes the collection unless a complete one is there; false when it cannot.
bool writeCollection(const QString& folder, int count)
{
    const QString done = folder + QStringLiteral("/.complete");
    if (QFileInfo::exists(done))
        return true;
    const Format formats[] = {Format::Mod, Format::S3m, Format::Xm, Format::It};
    for (int n = 0; n < count; ++n) {
        std::mt19937 random(n);
        const Format format = formats[n % 4];
        const QString sub = folder + QStringLiteral("/%1/%2").arg(n / 10000).arg(n / kModulesPerFolder % 100);
        if (n % kModulesPerFolder == 0 && !QDir().mkpath(sub))
            return false;
        const QString path = sub + QStringLiteral("/m%1.").arg(n) + extension(format);
        if (!write(collectionSong(n, format, random), format, path))
            return false;
    }
    QFile marker(done);
    return marker.open(QIODevice::WriteOnly);
}

double residentPeakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

IndexSummary scan(LibraryIndexer& indexer, const QByteArray& folder, double* seconds)
{
    QSignalSpy finished(&indexer, &LibraryIndexer::finished);
    QElapsedTimer timer;
    timer.start();
    indexer.start({folder});
    finished.wait(24 * 3600 * 1000);
    *seconds = timer.nsecsElapsed() / 1e9;
    return finished.isEmpty() ? IndexSummary() : finished.first().first().value<IndexSummary>();
}

const char* verdict(bool met)
{
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                    : QDir::tempPath() + QStringLiteral("/jukarium-library-bench-%1").arg(count);
    const QString modules = folder + QStringLiteral("/modules");
    const QString database = folder + QStringLiteral("/library.sqlite");
    if (count <= 0 || !writeCollection(modules, count)) {
        fprintf(stderr, "cannot write the collection in %s\n", qPrintable(modules));
        return 1;
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(database + QLatin1String(suffix));

    LibraryIndexer indexer(database);
    double indexSeconds = 0;
    const IndexSummary first = scan(indexer, QFile::encodeName(modules), &indexSeconds);
    const double peak = residentPeakMiB();
    double rescanSeconds = 0;
    const IndexSummary again = scan(indexer, QFile::encodeName(modules), &rescanSeconds);
    if (!first.error.isEmpty() || first.added != count || again.added + again.updated != 0) {
        fprintf(stderr, "the scans went wrong: %d added (%s), then %d read again\n", first.added,
                qPrintable(first.error), again.added + again.updated);
        return 1;
    }

    LibraryStore store;
    if (!store.open(database))
        return 1;
    store.database().exec("PRAGMA wal_checkpoint(TRUNCATE)");
    const qint64 text = store.database().integer(
        "SELECT sum(length(CAST(title AS BLOB)) + length(CAST(artist AS BLOB)) + length(CAST(filename AS BLOB))"
        " + length(CAST(names AS BLOB)) + length(CAST(message AS BLOB))) FROM text");
    const double bytesBeyondText = double(QFileInfo(database).size() - text) / count;

    // What a user types: one to three words, each whole or its first two to four letters.
    std::mt19937 random(12345);
    std::vector<double> latencies;
    for (int q = 0; q < 600; ++q) {
        QStringList words;
        const int n = 1 + q % 3;
        for (int w = 0; w < n; ++w) {
            const QString whole = word(random);
            words << (random() % 2 ? whole : whole.left(2 + int(random() % 3)));
        }
        LibraryQuery query;
        query.words = words.join(QLatin1Char(' '));
        QElapsedTimer timer;
        timer.start();
        searchLibrary(store, query);
        latencies.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    const double p50 = latencies[latencies.size() / 2];
    const double p99 = latencies[latencies.size() * 99 / 100];

    // The rescan target is for 100,000 files; smaller collections are held to their share.
    const double rescanTarget = kRescanTargetSeconds * count / 100000.0;
    const double rate = count / indexSeconds;
    printf("library of %d modules (%d unreadable), %.1f MiB of text\n", count, first.unreadable, text / 1048576.0);
    printf("index rate: %.0f modules/s in %.1f s (target: >= %.0f) %s\n", rate, indexSeconds, kRateTarget,
           verdict(rate >= kRateTarget));
    printf("resident memory while indexing: %.1f MiB at most (target: <= %.0f MiB) %s\n", peak, kMemoryTargetMiB,
           verdict(peak <= kMemoryTargetMiB));
    printf("rescan of unchanged files: %.2f s (target: <= %.2f s) %s\n", rescanSeconds, rescanTarget,
           verdict(rescanSeconds <= rescanTarget));
    printf("search, 1 to 3 words with prefixes: median %.2f ms, 99th percentile: %.2f ms (target: <= %.0f ms) %s\n",
           p50, p99, kSearchTargetMs, verdict(p99 <= kSearchTargetMs));
    printf("database beyond the text: %.0f bytes per module (target: <= %.0f bytes) %s\n", bytesBeyondText,
           kBytesPerModuleTarget, verdict(bytesBeyondText <= kBytesPerModuleTarget));
    return 0;
}
