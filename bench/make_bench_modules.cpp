// Writes the modules the benchmarks play into a folder: left.xm and right.xm (a tone hard left
// and hard right), long.xm (a real-size song), row-beeps.xm (a beep on every row) and
// varied-01.mod to varied-24.it (24 different small songs, MOD, S3M, XM and IT in turn) and
// level-1.xm to level-5.xm (songs of very different loudness, in XM, S3M, MOD, IT and XM).
//
// Usage: make_bench_modules <folder>. Exit code 0 when all are written.
#include "bench/BenchSongs.h"

#include <QDir>

namespace {

constexpr ModuleMaker::Format kVariedFormats[] = {ModuleMaker::Format::Mod, ModuleMaker::Format::S3m,
                                                  ModuleMaker::Format::Xm, ModuleMaker::Format::It};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    using ModuleMaker::Format;
    bool written = ModuleMaker::write(BenchSongs::sideTone(0), Format::Xm, folder.filePath(QStringLiteral("left.xm")))
        && ModuleMaker::write(BenchSongs::sideTone(255), Format::Xm, folder.filePath(QStringLiteral("right.xm")))
        && ModuleMaker::write(BenchSongs::longSong(), Format::Xm, folder.filePath(QStringLiteral("long.xm")))
        && ModuleMaker::write(BenchSongs::rowBeeps(), Format::Xm, folder.filePath(QStringLiteral("row-beeps.xm")));
    for (int n = 0; written && n < BenchSongs::kLevelSongs; ++n) {
        const Format format = BenchSongs::levelSongFormat(n);
        const QString name = QStringLiteral("level-%1.").arg(n + 1) + ModuleMaker::extension(format);
        written = ModuleMaker::write(BenchSongs::levelSong(n), format, folder.filePath(name));
    }
    for (int n = 0; written && n < BenchSongs::kVariedSongs; ++n) {
        const Format format = kVariedFormats[n % 4];
        const QString name = QStringLiteral("varied-%1.").arg(n + 1, 2, 10, QLatin1Char('0')) + ModuleMaker::extension(format);
        written = ModuleMaker::write(BenchSongs::variedSong(n), format, folder.filePath(name));
    }
    return written ? 0 : 1;
}
