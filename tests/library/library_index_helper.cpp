// Indexes one folder into a library file, as the program's scanner does, and ends when the
// scan does: a process of its own for the tests to kill in the middle of a scan.
//
// Usage: library_index_helper <database> <folder>. Exit code 0 when the scan ran to its end.
#include "library/LibraryIndexer.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    LibraryIndexer indexer(QString::fromLocal8Bit(argv[1]));
    indexer.setReaderCount(1);
    QObject::connect(&indexer, &LibraryIndexer::finished, &app, [&app](const IndexSummary& summary) {
        app.exit(summary.error.isEmpty() && !summary.cancelled ? 0 : 1);
    });
    indexer.start({QByteArray(argv[2])});
    return app.exec();
}
