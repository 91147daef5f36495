#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

namespace bench {

struct FloorTiming {
    double stockSeconds = 0;
    double accountSeconds = 0;
    int cards = 0;
    int accounts = 0;
};

// The least that the stock and account transfers must ask of the client
// library, with nothing of the data layer or the window: one select per
// source table walked row by row; per row one generator statement
// (prepared, executed, fetched, dropped), one execution of the master
// table's insert (prepared once) and one opening entry (prepared and
// executed); a commit after each table. Values go from the source's output
// buffers straight into the insert's parameters.
class FloorTransfer {
public:
    // Database names as the client attaches them (plain path or remote name).
    FloorTransfer(const QString& source, const QString& target, const QDateTime& transferDateTime);

    // Attaches both databases; kept apart so that it stays out of the timing.
    void attach();
    FloorTiming run();

private:
    QString m_source;
    QString m_target;
    QDateTime m_transferDateTime;
    struct Attachments;
    std::shared_ptr<Attachments> m_attachments;
};

}  // namespace bench
