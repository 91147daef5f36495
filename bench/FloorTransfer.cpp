#include "FloorTransfer.h"

#include "ParameterBinding.h"
#include "RawClient.h"
#include "Schema.h"
#include "SqlParameterScanner.h"
#include "TestDatabase.h"

#include <QElapsedTimer>

#include <array>

#include <stdexcept>

namespace bench {

struct FloorTransfer::Attachments {
    Attachments(const QString& source, const QString& target)
        : client(ClientLibrary::load()),
          source(*client, source, korvat::test::kTestUser, korvat::test::kTestPassword),
          target(*client, target, korvat::test::kTestUser, korvat::test::kTestPassword)
    {
    }
    std::shared_ptr<ClientLibrary> client;
    Attachment source;
    Attachment target;
};

namespace {

// The source columns that the transfers copy, by their target column names.
const QStringList kStockCopies = {
    QStringLiteral("STOK_KODU"),
    QStringLiteral("STOK_ADI"),
    QStringLiteral("GRUBU"),
    QStringLiteral("EK_MENU"),
    QStringLiteral("SATIS_FIYATI"),
    QStringLiteral("ALIS_FIYATI"),
    QStringLiteral("SIRA_NO"),
    QStringLiteral("RESIM_YERI"),
    QStringLiteral("BIRIM"),
    QStringLiteral("STOK_TIPI"),
    QStringLiteral("AKTIFLIK"),
    QStringLiteral("BARKOD"),
    QStringLiteral("KISA_YOL"),
    QStringLiteral("KDV"),
    QStringLiteral("SATIS_ISKONTO"),
    QStringLiteral("ALIS_ISKONTO"),
    QStringLiteral("A_KDV"),
    QStringLiteral("S_KDV"),
    QStringLiteral("ACIKLAMA"),
    QStringLiteral("KAR_MARJI"),
    QStringLiteral("YERLI_URUN_FT"),
    QStringLiteral("AGIRLIK_TIPI"),
    QStringLiteral("TERAZI_PLU"),
    QStringLiteral("KRITIK_SEVIYE"),
    QStringLiteral("BIRIM_AGIRLIK_FIYAT"),
    QStringLiteral("AGIRLIK"),
    QStringLiteral("KAPMANYA"),
    QStringLiteral("KMP_M"),
    QStringLiteral("KMP_M2"),
};
const QStringList kAccountCopies = {
    QStringLiteral("CARI_KODU"), QStringLiteral("CARI_ADI"), QStringLiteral("TELEFON"),
    QStringLiteral("TELEFON2"),  QStringLiteral("VERGI_NO"), QStringLiteral("VERGI_DAIRESI"),
    QStringLiteral("ADRES"),     QStringLiteral("ADRES2"),   QStringLiteral("ACIKLAMA"),
    QStringLiteral("AKTIFLIK"),
};

const QByteArray kStockEntry =
    "insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) values (?,?,?,?,?,?)";
const QByteArray kAccountEntry =
    "insert into t_dekont_hareket (cari_id,turu_id,tarih,giren,cikan) values (?,?,?,?,?)";

int columnIndex(DescriptorArea& row, const QString& name)
{
    const QByteArray wanted = name.toLatin1();
    for (int i = 0; i < row.count(); ++i) {
        const XSQLVAR& v = row.var(i);
        if (QByteArray(v.aliasname, v.aliasname_length) == wanted)
            return i;
    }
    throw std::runtime_error("source lacks column " + wanted.toStdString());
}

// A master table's insert with its parameters bound once: copied columns
// read straight from the source row's buffers, the key from `key`, the rest
// NULL.
struct MasterInsert {
    MasterInsert(Attachment& db, Transaction& tr, const QStringList& lines, DescriptorArea& row,
                 const QStringList& copies, const QString& keyName)
        : statement(db)
    {
        const korvat::ScannedStatement scanned = korvat::scanParameters(lines.join(QLatin1Char('\n')));
        statement.prepare(tr, scanned.serverText.toLatin1());
        parameters.reserve(short(scanned.parameterNames.size()));
        statement.describeParameters(parameters);
        for (int i = 0; i < scanned.parameterNames.size(); ++i) {
            const QString name = scanned.parameterNames[i].toUpper();
            if (name == keyName) {
                key = i;
            } else if (copies.contains(name)) {
                XSQLVAR& from = row.var(columnIndex(row, name));
                XSQLVAR& to = parameters.var(i);
                if ((from.sqltype & ~1) != (to.sqltype & ~1) || from.sqllen != to.sqllen)
                    throw std::runtime_error("column types differ: " + name.toStdString());
                to.sqldata = from.sqldata;
                to.sqlind = from.sqlind;
            } else {
                parameters.setNull(i);
            }
        }
        if (key < 0)
            throw std::runtime_error("insert lacks its key");
    }

    void insert(Transaction& tr, qint64 keyValue)
    {
        parameters.setInteger(key, keyValue);
        statement.execute(tr, &parameters);
    }

    Statement statement;
    DescriptorArea parameters;
    int key = -1;
};

// One generator value, the statement made and dropped for it.
qint64 nextValue(Attachment& db, Transaction& tr, const QByteArray& sql, DescriptorArea& output)
{
    Statement generator(db);
    generator.prepare(tr, sql, &output);
    generator.execute(tr);
    if (!generator.fetch(output))
        throw std::runtime_error("generator gave no row");
    return output.integerAt(0);
}

}  // namespace

FloorTransfer::FloorTransfer(const QString& source, const QString& target, const QDateTime& transferDateTime)
    : m_source(source), m_target(target), m_transferDateTime(transferDateTime)
{
}

void FloorTransfer::attach()
{
    m_attachments = std::make_shared<Attachments>(m_source, m_target);
}

namespace {

// One master table carried: for every source row a key from the generator,
// the master insert and the opening entry that `fillEntry` sets from the
// row. Returns the rows carried.
struct TableCarry {
    QStringList select;
    QStringList insert;
    QStringList copies;
    QString keyColumn;
    QByteArray generatorSql;
    QByteArray entrySql;
    short rowCapacity;
};

template <typename FillEntry>
int carryTable(Attachment& source, Attachment& target, Transaction& read, Transaction& write,
               const TableCarry& table, FillEntry fillEntry)
{
    DescriptorArea generatorOutput(1);
    DescriptorArea entry(6);
    DescriptorArea row(table.rowCapacity);
    Statement select(source);
    select.prepare(read, table.select.join(QLatin1Char('\n')).toLatin1(), &row);
    MasterInsert master(target, write, table.insert, row, table.copies, table.keyColumn);
    const auto setEntry = fillEntry(row);  // finds its columns once
    Statement entryInsert(target);
    int carried = 0;
    select.execute(read);
    while (select.fetch(row)) {
        const qint64 key = nextValue(target, write, table.generatorSql, generatorOutput);
        master.insert(write, key);
        entryInsert.prepare(write, table.entrySql);
        entryInsert.describeParameters(entry);
        setEntry(entry, key);
        entryInsert.execute(write, &entry);
        ++carried;
    }
    select.close();
    return carried;
}

}  // namespace

FloorTiming FloorTransfer::run()
{
    Attachment& source = m_attachments->source;
    Attachment& target = m_attachments->target;
    FloorTiming timing;
    QElapsedTimer clock;
    clock.start();

    Transaction read(source, Transaction::Access::ReadOnly);
    Transaction write(target, Transaction::Access::ReadWrite);

    // Stock cards and their opening entries (every card, as with the
    // stock balance box checked and the positive-only box off).
    const ISC_TIMESTAMP day = korvat::encodeTimestamp(QDateTime(m_transferDateTime.date(), QTime(0, 0)));
    const TableCarry cards{korvat::schema::stokQuery(),
                           korvat::schema::stokStatements().insert,
                           kStockCopies,
                           QStringLiteral("STOK_ID"),
                           "SELECT GEN_ID(T_STOK_STOK_ID_GEN, 1) FROM RDB$DATABASE",
                           kStockEntry,
                           40};
    timing.cards = carryTable(source, target, read, write, cards, [&day](DescriptorArea& row) {
        const int onHand = columnIndex(row, QStringLiteral("ENVANTER"));
        const std::array<int, 3> prices = {columnIndex(row, QStringLiteral("SON_ALIS")),
                                           columnIndex(row, QStringLiteral("ALIS_FIYATI")),
                                           columnIndex(row, QStringLiteral("MALIYET"))};
        return [&row, &day, onHand, prices](DescriptorArea& entry, qint64 key) {
            entry.setInteger(0, key);
            entry.setInteger(1, 8);
            entry.setInteger(2, 1);
            entry.setNull(3);
            for (int price : prices)
                if (row.doubleAt(price) > 0) {
                    entry.setDouble(3, row.doubleAt(price));
                    break;
                }
            entry.setTimestamp(4, day);
            entry.setDouble(5, row.doubleAt(onHand));
        };
    });
    write.commitRetaining();
    timing.stockSeconds = double(clock.nsecsElapsed()) / 1e9;
    clock.restart();

    // Accounts and their opening debit or credit entries.
    const ISC_TIMESTAMP when = korvat::encodeTimestamp(m_transferDateTime);
    const TableCarry accounts{korvat::schema::cariQuery(),
                              korvat::schema::cariStatements().insert,
                              kAccountCopies,
                              QStringLiteral("CARI_ID"),
                              "SELECT GEN_ID(T_CARI_CARI_ID_GEN, 1) FROM RDB$DATABASE",
                              kAccountEntry,
                              14};
    timing.accounts = carryTable(source, target, read, write, accounts, [&when](DescriptorArea& row) {
        const int balance = columnIndex(row, QStringLiteral("BAKIYE"));
        return [&row, &when, balance](DescriptorArea& entry, qint64 key) {
            entry.setInteger(0, key);
            entry.setTimestamp(2, when);
            const double bakiye = row.doubleAt(balance);
            if (bakiye > 0) {
                entry.setInteger(1, 1);
                entry.setDouble(3, bakiye);
                entry.setDouble(4, 0);
            } else if (bakiye < 0) {
                entry.setInteger(1, 2);
                entry.setDouble(3, 0);
                entry.setDouble(4, -bakiye);
            } else {
                entry.setNull(1);
                entry.setNull(3);
                entry.setNull(4);
            }
        };
    });
    write.commit();
    read.commit();
    timing.accountSeconds = double(clock.nsecsElapsed()) / 1e9;
    return timing;
}

}  // namespace bench
