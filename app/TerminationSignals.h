#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM, SIGINT and SIGHUP (a polite request to end, as at logout) into a Qt signal
/// on the GUI thread, so the program closes the same orderly way as from its menu.
/// One instance per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    void readPipe();
    QSocketNotifier* m_notifier = nullptr;
};
