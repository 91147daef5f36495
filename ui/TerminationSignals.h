#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP, delivered as a Qt signal on the thread that
// runs the event loop, so that the program can end the way closing its
// window does. The handlers only write the signal's number into a pipe;
// everything else happens when the event loop reads it.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; once, first thing in the program, before the
    // database client library is loaded.
    static void install();

    // Reports the signals caught since install(); without install(), none.
    explicit TerminationSignals(QObject* parent = nullptr);

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier* m_notifier = nullptr;
};
