// Writes the modules the benchmark scripts play into a folder: left.xm and right.xm (a tone
// hard left and hard right) and long.xm (a real-size song).
//
// Usage: make_bench_modules <folder>. Exit code 0 when all are written.
#include "bench/BenchSongs.h"

#include <QDir>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    using ModuleMaker::Format;
    const bool written = ModuleMaker::write(BenchSongs::sideTone(0), Format::Xm, folder.filePath(QStringLiteral("left.xm")))
        && ModuleMaker::write(BenchSongs::sideTone(255), Format::Xm, folder.filePath(QStringLiteral("right.xm")))
        && ModuleMaker::write(BenchSongs::longSong(), Format::Xm, folder.filePath(QStringLiteral("long.xm")));
    return written ? 0 : 1;
}
