// Benchmark of the stock and account transfers against a floor program that
// issues only the statements the transfers need. One case per process, so
// that the peak resident memory belongs to that case alone; bench/run.sh
// runs the matrix and prints the table.
//
//   korvat_transfer_bench generate <rows> <source.fdb>
//   korvat_transfer_bench run <tool|floor> <embedded|server> <source.fdb> <rows>
#include "ClientCallCounts.h"
#include "ClientEnvironment.h"
#include "FloorTransfer.h"
#include "LoopbackServer.h"
#include "ProcessMemory.h"
#include "SourceGenerator.h"
#include "TestDatabase.h"
#include "WindowTransfer.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

namespace {

using korvat::test::TestDatabase;

int usage()
{
    std::fprintf(stderr,
                 "usage: korvat_transfer_bench generate <rows> <source.fdb>\n"
                 "       korvat_transfer_bench run <tool|floor> <embedded|server> <source.fdb> <rows>\n");
    return 2;
}

struct Case {
    bool tool = true;
    bool server = false;
    QString sourceFile;
    int rows = 0;
};

// Every carried card and account must be in the target with its entry, and
// every entry on a carried card or account.
void verifyTarget(const QString& target, int expected)
{
    TestDatabase db = TestDatabase::attach(target);
    for (const char* table : {"T_STOK", "T_STOK_HAREKET", "T_CARI", "T_DEKONT_HAREKET"}) {
        const qint64 count = db.rowCount(QString::fromLatin1(table));
        if (count != expected)
            throw std::runtime_error(std::string(table) + " holds " + std::to_string(count) +
                                     " rows, expected " + std::to_string(expected));
    }
    const QVariant strays =
        db.scalar(QStringLiteral("select (select count(*) from T_STOK_HAREKET h where not exists "
                                 "(select 1 from T_STOK s where s.STOK_ID = h.STOK_ID)) + "
                                 "(select count(*) from T_DEKONT_HAREKET d where not exists "
                                 "(select 1 from T_CARI c where c.CARI_ID = d.CARI_ID)) from RDB$DATABASE"));
    if (strays.toLongLong() != 0)
        throw std::runtime_error(std::to_string(strays.toLongLong()) + " opening entries on no carried row");
}

using CallCounts = std::vector<std::pair<const char*, quint64>>;

// The calls made between two readings, by entry point, on one line.
void printCalls(const Case& c, const CallCounts& before, const CallCounts& after)
{
    std::printf("CALLS kind=%s mode=%s n=%d carried=%d", c.tool ? "tool" : "floor",
                c.server ? "server" : "embedded", c.rows, 2 * bench::activeRows(c.rows));
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i].second != before[i].second)
            std::printf(" %s=%llu", after[i].first,
                        static_cast<unsigned long long>(after[i].second - before[i].second));
    std::printf("\n");
}

struct Measurement {
    double stockSeconds = 0;
    double accountSeconds = 0;
    double processorSeconds = 0;
    qint64 baseline = 0;  // resident bytes just before the transfers
    qint64 peak = 0;
};

// Runs a prepared transfer (the window's or the floor's) and measures it.
template <typename Transfer> Measurement measure(const Case& c, Transfer& transfer)
{
    Measurement m;
    m.baseline = bench::residentBytes();
    const CallCounts before = korvat::client_calls::counts();
    const double processorBefore = bench::processorSeconds();
    const auto timing = transfer.run();
    m.processorSeconds = bench::processorSeconds() - processorBefore;
    m.peak = bench::peakResidentBytes();
    printCalls(c, before, korvat::client_calls::counts());
    m.stockSeconds = timing.stockSeconds;
    m.accountSeconds = timing.accountSeconds;
    return m;
}

int runCase(const Case& c)
{
    korvat::test::TempFolder folder;
    std::optional<korvat::test::LoopbackServer> server;
    QString source = QFileInfo(c.sourceFile).absoluteFilePath();
    QString target = folder.filePath(QStringLiteral("HEDEF.FDB"));
    if (c.server) {
        server.emplace();
        server->start();
        source = server->remoteName(source);
        target = server->remoteName(server->databasePath(QStringLiteral("HEDEF.FDB")));
    }
    TestDatabase::create(target).detach();

    Measurement m;
    if (c.tool) {
        bench::WindowTransfer transfer(source, target, folder.path());
        transfer.open();
        m = measure(c, transfer);
        verifyTarget(target, bench::activeRows(c.rows));
    } else {
        bench::FloorTransfer transfer(source, target, QDateTime(QDate::currentDate(), QTime(21, 57, 33)));
        transfer.attach();
        m = measure(c, transfer);
        verifyTarget(target, bench::activeRows(c.rows));
    }
    std::printf("RESULT kind=%s mode=%s n=%d carried=%d seconds=%.4f stock=%.4f accounts=%.4f cpu=%.4f "
                "baseline=%lld peak=%lld\n",
                c.tool ? "tool" : "floor", c.server ? "server" : "embedded", c.rows,
                2 * bench::activeRows(c.rows), m.stockSeconds + m.accountSeconds, m.stockSeconds,
                m.accountSeconds, m.processorSeconds, static_cast<long long>(m.baseline),
                static_cast<long long>(m.peak));
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    korvat::prepareClientEnvironment();
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    try {
        if (args.size() == 3 && args[0] == QStringLiteral("generate")) {
            QCoreApplication application(argc, argv);
            bench::generateSource(args[2], args[1].toInt());
            return 0;
        }
        if (args.size() == 5 && args[0] == QStringLiteral("run")) {
            Case c;
            c.tool = args[1] == QStringLiteral("tool");
            c.server = args[2] == QStringLiteral("server");
            c.sourceFile = args[3];
            c.rows = args[4].toInt();
            // Both programs call through the loaded table, so counting
            // costs them alike: one relaxed increment per call.
            korvat::client_calls::enable();
            if ((!c.tool && args[1] != QStringLiteral("floor")) ||
                (!c.server && args[2] != QStringLiteral("embedded")) || c.rows <= 0)
                return usage();
            // The floor needs no widgets; the window needs its application.
            std::unique_ptr<QCoreApplication> application;
            if (c.tool)
                application = std::make_unique<QApplication>(argc, argv);
            else
                application = std::make_unique<QCoreApplication>(argc, argv);
            return runCase(c);
        }
        return usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvat_transfer_bench: %s\n", error.what());
        return 1;
    }
}
