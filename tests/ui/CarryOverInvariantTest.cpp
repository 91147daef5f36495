// Seeded random sources carried through the window into targets that hold
// rows of their own; the target is then checked against what any carry-over
// must leave, not against a few chosen rows.
#include "RandomDatabases.h"
#include "UiTest.h"
#include "WindowHarness.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>

using korvat::test::RandomShape;
using korvat::test::SchemaOptions;
using korvat::test::TableDef;
using korvat::test::TestDatabase;

namespace {

using Rows = QList<QVariantList>;

// The columns of a master table that no transfer sets: the key from the
// generator, the rest NULL.
const QStringList kStokNotCopied = {u"STOK_ID"_s,  u"GRUBU_ID"_s, u"STOK_TIPI_ID"_s, u"GIREN"_s,
                                    u"CIKAN"_s,    u"ENVANTER"_s, u"MALIYET"_s,      u"SATIS_FIYATI_2"_s,
                                    u"SON_ALIS"_s, u"SON_SATIS"_s};
const QStringList kCariNotCopied = {u"CARI_ID"_s, u"BORC"_s, u"ALACAK"_s, u"BAKIYE"_s};

// A value as the transfers carry it: its text, 15 significant digits for a
// number, the empty text for NULL.
QString textForm(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

double numberOrZero(const QVariant& value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// The rows of one table in key order, with its column names.
struct Table {
    QStringList columns;
    Rows rows;

    int column(const char* name) const { return int(columns.indexOf(QLatin1String(name))); }
    QVariant value(int row, const char* name) const { return rows[row][column(name)]; }
    // The text forms of a row in the given columns.
    QStringList texts(const QVariantList& row, const QStringList& names) const
    {
        QStringList result;
        for (const QString& name : names)
            result.append(textForm(row[columns.indexOf(name)]));
        return result;
    }
    // Rows whose key (first column) is above a value.
    Rows above(qint64 key) const
    {
        Rows result;
        for (const QVariantList& row : rows)
            if (row[0].toLongLong() > key)
                result.append(row);
        return result;
    }
};

Table readTable(TestDatabase& db, const char* name, const QString& where = {})
{
    const TableDef def = korvat::test::tableDef(QLatin1String(name));
    Table table{def.columnNames(), {}};
    table.rows = db.query(
        u"select %1 from %2 %3 order by 1"_s.arg(table.columns.join(QLatin1Char(',')), def.name, where));
    return table;
}

QStringList without(QStringList names, const QStringList& left)
{
    for (const QString& name : left)
        names.removeAll(name);
    return names;
}

// Everything of a target that a carry-over could change.
struct TargetState {
    explicit TargetState(const QString& path)
    {
        TestDatabase db = TestDatabase::attach(path);
        for (const char* name :
             {korvat::test::kGrubuTable, korvat::test::kStokTable, korvat::test::kCariTable,
              korvat::test::kStokHareketTable, korvat::test::kDekontHareketTable})
            tables.append(readTable(db, name));
        for (const char* generator :
             {korvat::test::kGrubuGenerator, korvat::test::kStokGenerator, korvat::test::kCariGenerator})
            generators.append(db.generatorValue(QLatin1String(generator)));
    }
    const Table& grubu() const { return tables[0]; }
    const Table& stok() const { return tables[1]; }
    const Table& cari() const { return tables[2]; }
    const Table& stokHareket() const { return tables[3]; }
    const Table& dekontHareket() const { return tables[4]; }

    QList<Table> tables;
    QList<qint64> generators;
};

// The price of an opening stock entry: the first positive of the last
// purchase price, the purchase price and the cost; NULL when none is.
QVariant openingPrice(const Table& cards, int row)
{
    for (const char* name : {"SON_ALIS", "ALIS_FIYATI", "MALIYET"})
        if (numberOrZero(cards.value(row, name)) > 0)
            return cards.value(row, name);
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(korvat::test::RandomShape)

class CarryOverInvariantTest : public WindowTestCase {
    Q_OBJECT

private:
    // The source's active cards and accounts, and all its groups.
    Table sourceGroups, sourceCards, sourceAccounts;

    // Presses a transfer whose every row is to be carried: where the target
    // already holds one of the source's codes, the box that asks about them
    // is answered No (all again).
    void carryAll(QPushButton* button, const Table& source, const char* table, const char* codeColumn)
    {
        const auto code = [](const QVariant& value) {
            QString text = value.toString();
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            return text;
        };
        QSet<QString> targetCodes;
        const QString sql = u"select %1 from %2"_s.arg(QLatin1String(codeColumn), QLatin1String(table));
        for (const QVariantList& row : h->committed(sql))
            targetCodes.insert(code(row[0]));
        bool shared = false;
        for (int i = 0; i < source.rows.size() && !shared; ++i) {
            const QString sourceCode = code(source.value(i, codeColumn));
            shared = !sourceCode.isEmpty() && targetCodes.contains(sourceCode);
        }
        if (shared)
            h->transferAgain(button, DialogButton::No);
        else
            h->transfer(button);
    }

    void checkOldRowsUnchanged(const TargetState& before, const TargetState& after)
    {
        for (int t = 0; t < before.tables.size(); ++t) {
            const Rows& old = before.tables[t].rows;
            QVERIFY(after.tables[t].rows.size() >= old.size());
            for (int r = 0; r < old.size(); ++r)
                QCOMPARE(after.tables[t].rows[r], old[r]);  // keys in order: old rows come first
        }
    }

    void checkGroups(const TargetState& before, const TargetState& after)
    {
        const Rows carried = after.grubu().above(before.generators[0]);
        QCOMPARE(carried.size(), sourceGroups.rows.size());
        QCOMPARE(after.generators[0], before.generators[0] + carried.size());
        const QStringList copied = without(sourceGroups.columns, {u"GRUBU_ID"_s});
        for (int i = 0; i < carried.size(); ++i) {
            QCOMPARE(carried[i][0].toLongLong(), before.generators[0] + 1 + i);
            QCOMPARE(after.grubu().texts(carried[i], copied),
                     sourceGroups.texts(sourceGroups.rows[i], copied));
        }
    }

    // `carriedPerPress`: how many of the active cards, in key order, each
    // stock press carried (none when the presses failed: a failed press
    // keeps nothing, though its keys were drawn); the first press wrote an
    // entry for every card, the second for those with a positive stock only.
    void checkCards(const TargetState& before, const TargetState& after, int carriedPerPress)
    {
        const Rows cards = after.stok().above(before.generators[1]);
        QCOMPARE(cards.size(), 2 * carriedPerPress);
        if (carriedPerPress == 0)
            QVERIFY(after.stokHareket().rows.size() == before.stokHareket().rows.size());
        if (cards.isEmpty())
            return;
        QCOMPARE(after.generators[1], before.generators[1] + cards.size());
        const QStringList copied = without(sourceCards.columns, kStokNotCopied);
        const QStringList notSet = without(kStokNotCopied, {u"STOK_ID"_s});
        QHash<qint64, int> sourceRowOfKey;
        for (int i = 0; i < cards.size(); ++i) {
            const int source = i % carriedPerPress;
            QCOMPARE(cards[i][0].toLongLong(), before.generators[1] + 1 + i);
            QCOMPARE(after.stok().texts(cards[i], copied),
                     sourceCards.texts(sourceCards.rows[source], copied));
            QCOMPARE(after.stok().texts(cards[i], notSet), QStringList(notSet.size(), QString()));
            sourceRowOfKey.insert(cards[i][0].toLongLong(), source);
        }

        const Table& entries = after.stokHareket();
        const Rows added = entries.above(
            before.stokHareket().rows.isEmpty() ? 0 : before.stokHareket().rows.last()[0].toLongLong());
        QHash<qint64, int> entriesOfKey;
        const QDateTime midnight(h->window->transferDate(), QTime(0, 0));
        for (const QVariantList& entry : added) {
            const qint64 key = entry[entries.column("STOK_ID")].toLongLong();
            QVERIFY2(sourceRowOfKey.contains(key), "an opening entry on a card not carried in this run");
            const int source = sourceRowOfKey[key];
            ++entriesOfKey[key];
            QCOMPARE(entry[entries.column("GIREN")].toDouble(),
                     numberOrZero(sourceCards.value(source, "ENVANTER")));
            QCOMPARE(entry[entries.column("FIYAT")], openingPrice(sourceCards, source));
            QCOMPARE(entry[entries.column("TARIH")].toDateTime(), midnight);
            QCOMPARE(entry[entries.column("TURU_ID")].toInt(), 8);
            QCOMPARE(entry[entries.column("KAYIT_ID")].toInt(), 1);
        }
        for (int i = 0; i < cards.size(); ++i) {
            const bool secondPress = i >= carriedPerPress;
            const bool positive = numberOrZero(sourceCards.value(i % carriedPerPress, "ENVANTER")) > 0;
            QCOMPARE(entriesOfKey.value(cards[i][0].toLongLong()), !secondPress || positive ? 1 : 0);
        }
    }

    void checkAccounts(const TargetState& before, const TargetState& after)
    {
        const Rows accounts = after.cari().above(before.generators[2]);
        QCOMPARE(accounts.size(), sourceAccounts.rows.size());
        QCOMPARE(after.generators[2], before.generators[2] + accounts.size());

        const Table& entries = after.dekontHareket();
        const Rows added = entries.above(
            before.dekontHareket().rows.isEmpty() ? 0 : before.dekontHareket().rows.last()[0].toLongLong());
        QCOMPARE(added.size(), accounts.size());
        QHash<qint64, QVariantList> entryOfKey;
        for (const QVariantList& entry : added)
            entryOfKey.insert(entry[entries.column("CARI_ID")].toLongLong(), entry);

        // The server yields the accounts in an order of its own: each carried
        // account, with the balance its entry opens, must match a source
        // account with its balance, as many times as the source holds it.
        const QStringList copied = without(sourceAccounts.columns, kCariNotCopied);
        const QStringList notSet = without(kCariNotCopied, {u"CARI_ID"_s});
        const QTime time = h->window->transferDateTime().time();
        const QDateTime when(h->window->transferDate(), QTime(time.hour(), time.minute(), time.second()));
        QStringList carried, expected;
        double carriedSum = 0, expectedSum = 0;
        for (int i = 0; i < accounts.size(); ++i) {
            const qint64 key = accounts[i][0].toLongLong();
            QCOMPARE(key, before.generators[2] + 1 + i);
            QCOMPARE(after.cari().texts(accounts[i], notSet), QStringList(notSet.size(), QString()));
            QVERIFY2(entryOfKey.contains(key), "a carried account without its opening entry");
            const QVariantList& entry = entryOfKey[key];
            const QVariant type = entry[entries.column("TURU_ID")];
            const double giren = numberOrZero(entry[entries.column("GIREN")]);
            const double cikan = numberOrZero(entry[entries.column("CIKAN")]);
            QVERIFY((type == QVariant(1) && giren > 0 && cikan == 0) ||
                    (type == QVariant(2) && giren == 0 && cikan > 0) ||
                    (type.isNull() && entry[entries.column("GIREN")].isNull() &&
                     entry[entries.column("CIKAN")].isNull()));
            QCOMPARE(entry[entries.column("TARIH")].toDateTime(), when);
            carried.append(after.cari().texts(accounts[i], copied).join(QChar(u'|')) + QChar(u'|') +
                           textForm(giren - cikan));
            carriedSum += giren - cikan;
        }
        for (int i = 0; i < sourceAccounts.rows.size(); ++i) {
            const double balance = numberOrZero(sourceAccounts.value(i, "BAKIYE"));
            // Carried accounts stay active.
            expected.append(sourceAccounts.texts(sourceAccounts.rows[i], copied).join(QChar(u'|')) +
                            QChar(u'|') + textForm(balance));
            expectedSum += balance;
        }
        std::sort(carried.begin(), carried.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(carried, expected);
        QVERIFY(std::abs(carriedSum - expectedSum) <= 1e-9 * std::max(1.0, std::abs(expectedSum)));
    }

private slots:
    void aCarryOverLeavesTheTargetItsInvariants_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<RandomShape>("shape");
        QTest::addColumn<bool>("failsHalfWay");
        for (quint32 seed = 1; seed <= 20; ++seed) {
            const RandomShape shape{int(seed * 7 % 23), int(seed * 13 % 61), int(seed * 11 % 47)};
            QTest::addRow("seed %u", seed) << seed << shape << (seed % 4 == 0);
        }
        QTest::addRow("several thousand rows") << 1000u << RandomShape{400, 3000, 3000} << false;
    }

    void aCarryOverLeavesTheTargetItsInvariants()
    {
        QFETCH(quint32, seed);
        QFETCH(RandomShape, shape);
        QFETCH(bool, failsHalfWay);
        int carriedPerPress = 0;
        {
            TestDatabase source = h->createSource();
            korvat::test::fillRandomSource(source, seed, shape);
            sourceGroups = readTable(source, korvat::test::kGrubuTable);
            sourceCards = readTable(source, korvat::test::kStokTable, u"where AKTIFLIK = 1"_s);
            sourceAccounts = readTable(source, korvat::test::kCariTable, u"where AKTIFLIK = 1"_s);
            carriedPerPress = int(sourceCards.rows.size());
            // A card half-way whose number the target's SMALLINT cannot take:
            // both stock presses stop there, after the cards before it.
            if (failsHalfWay && carriedPerPress > 0) {
                carriedPerPress /= 2;
                source.exec(u"update T_STOK set SIRA_NO = 40000 where STOK_ID = %1"_s.arg(
                    sourceCards.rows[carriedPerPress][0].toInt()));
            }
            TestDatabase target = h->createTarget(SchemaOptions{.stokSiraNoSmallInt = failsHalfWay});
            korvat::test::fillRandomTarget(target, seed);
        }
        const bool stockFails = carriedPerPress < sourceCards.rows.size();
        const TargetState before(h->targetPath);
        h->chooseSourceAndTarget();

        carryAll(h->window->Button1, sourceGroups, "T_GRUBU", "GRUBU");
        QCOMPARE(h->messages().last(), u"Gruplar aktarıldı"_s);
        QCOMPARE(h->committedCount(u"T_GRUBU"_s),
                 before.grubu().rows.size() + sourceGroups.rows.size());  // committed before the message

        h->window->chStokBakiye->setChecked(true);
        for (bool positiveOnly : {false, true}) {
            h->window->ch_PozitifStok->setChecked(positiveOnly);
            carryAll(h->window->Button2, sourceCards, "T_STOK", "STOK_KODU");
            if (stockFails)
                QVERIFY(h->messages().last().endsWith(u"aktarılamadı:\n40000 is not a valid value for field "
                                                      "'SIRA_NO'. The allowed range is -32768 to 32767.\n"
                                                      "Bu aktarımda yazılan kayıtlar geri alındı."_s));
            else
                QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        }
        carryAll(h->window->Button3, sourceAccounts, "T_CARI", "CARI_KODU");
        QCOMPARE(h->messages().last(), u"Cariler aktarıldı"_s);

        const TargetState after(h->targetPath);
        checkOldRowsUnchanged(before, after);
        checkGroups(before, after);
        checkCards(before, after, stockFails ? 0 : carriedPerPress);
        checkAccounts(before, after);
    }

    void aSequenceOfPressesKeepsWhatItsCompletedPressesCarried_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 101; seed <= 110; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    // Random presses of the three transfers, the box about rows already in
    // the target answered at random, some stock presses failing half-way.
    // At the end every completed press's rows are there as its answer said,
    // nothing of a failed or cancelled one, the rows the target had are
    // unchanged, and the one backup restores to the target as it was.
    void aSequenceOfPressesKeepsWhatItsCompletedPressesCarried()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const RandomShape shape{int(random.bounded(2, 12)), int(random.bounded(2, 30)),
                                int(random.bounded(2, 20))};
        {
            TestDatabase source = h->createSource();
            korvat::test::fillRandomSource(source, seed, shape);
            sourceGroups = readTable(source, korvat::test::kGrubuTable);
            sourceCards = readTable(source, korvat::test::kStokTable, u"where AKTIFLIK = 1"_s);
            sourceAccounts = readTable(source, korvat::test::kCariTable, u"where AKTIFLIK = 1"_s);
            TestDatabase target = h->createTarget(SchemaOptions{.stokSiraNoSmallInt = true});
            korvat::test::fillRandomTarget(target, seed);
        }
        const TargetState before(h->targetPath);
        h->chooseSourceAndTarget();

        struct Kind {
            QPushButton* button;
            const Table* source;
            const char* table;
            const char* codeColumn;
        };
        const std::array<Kind, 3> kinds = {{{h->window->Button1, &sourceGroups, "T_GRUBU", "GRUBU"},
                                            {h->window->Button2, &sourceCards, "T_STOK", "STOK_KODU"},
                                            {h->window->Button3, &sourceAccounts, "T_CARI", "CARI_KODU"}}};
        std::array<QStringList, 3> expectedCodes;
        int expectedStockEntries = 0;
        int expectedAccountEntries = 0;
        bool backedUp = false;  // by the first press not cancelled
        const auto trimmed = [](QString code) {
            while (code.endsWith(QLatin1Char(' ')))
                code.chop(1);
            return code;
        };
        for (int press = 0; press < 6; ++press) {
            const int k = int(random.bounded(3));
            const Kind& kind = kinds[k];
            QSet<QString> inTarget;
            for (const QVariantList& row : h->committed(
                     u"select %1 from %2"_s.arg(QLatin1String(kind.codeColumn), QLatin1String(kind.table))))
                if (!trimmed(row[0].toString()).isEmpty())
                    inTarget.insert(trimmed(row[0].toString()));
            QList<int> carried;
            for (int i = 0; i < kind.source->rows.size(); ++i)
                carried.append(i);
            const auto isInTarget = [&](int i) {
                return inTarget.contains(trimmed(kind.source->value(i, kind.codeColumn).toString()));
            };
            const bool asked = std::any_of(carried.begin(), carried.end(), isInTarget);
            const DialogButton answer = asked ? std::array{DialogButton::Yes, DialogButton::No,
                                                           DialogButton::Cancel}[random.bounded(3)]
                                              : DialogButton::No;
            if (answer == DialogButton::Yes)
                carried.removeIf(isInTarget);
            if (answer == DialogButton::Cancel)
                carried.clear();

            // A card half-way whose number the target cannot take.
            const int failing = k == 1 && !sourceCards.rows.isEmpty() && random.bounded(3) == 0
                                    ? int(random.bounded(int(sourceCards.rows.size())))
                                    : -1;
            const bool fails = failing >= 0 && carried.contains(failing);
            if (failing >= 0) {
                TestDatabase::attach(h->sourcePath)
                    .exec(u"update T_STOK set SIRA_NO = 40000 where STOK_ID = %1"_s.arg(
                        sourceCards.rows[failing][0].toInt()));
                h->chooseSource(h->sourcePath);
            }
            const bool balances = random.bounded(2) == 1, positiveOnly = random.bounded(2) == 1;
            h->window->chStokBakiye->setChecked(balances);
            h->window->ch_PozitifStok->setChecked(positiveOnly);

            backedUp = backedUp || answer != DialogButton::Cancel;
            if (asked)
                h->transferAgain(kind.button, answer);
            else
                h->transfer(kind.button);
            if (failing >= 0) {
                TestDatabase::attach(h->sourcePath)
                    .exec(u"update T_STOK set SIRA_NO = ? where STOK_ID = ?"_s,
                          {sourceCards.value(failing, "SIRA_NO"), sourceCards.rows[failing][0]});
                h->chooseSource(h->sourcePath);
            }
            if (fails) {
                QVERIFY2(h->messages().last().endsWith(u"Bu aktarımda yazılan kayıtlar geri alındı."_s),
                         qPrintable(h->messages().last()));
                continue;
            }
            for (int i : carried) {
                expectedCodes[k].append(kind.source->value(i, kind.codeColumn).toString());
                if (k == 1 && balances &&
                    (!positiveOnly || numberOrZero(sourceCards.value(i, "ENVANTER")) > 0))
                    ++expectedStockEntries;
                if (k == 2)
                    ++expectedAccountEntries;
            }
        }
        h->endProgram();

        const TargetState after(h->targetPath);
        checkOldRowsUnchanged(before, after);
        for (int k = 0; k < 3; ++k) {
            QStringList codes;
            const Table& table = after.tables[k];
            for (const QVariantList& row : table.above(before.generators[k]))
                codes.append(row[table.column(kinds[k].codeColumn)].toString());
            codes.sort();
            expectedCodes[k].sort();
            QCOMPARE(codes, expectedCodes[k]);
        }
        QCOMPARE(after.stokHareket().rows.size() - before.stokHareket().rows.size(), expectedStockEntries);
        QCOMPARE(after.dekontHareket().rows.size() - before.dekontHareket().rows.size(),
                 expectedAccountEntries);

        const QStringList backups = QDir(h->settings.backupFolder).entryList({u"*.fbk"_s});
        QCOMPARE(backups.size(), backedUp ? 1 : 0);
        if (!backups.isEmpty()) {
            const QString restored = h->path(u"GERI.FDB"_s);
            QProcess gbak;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
            gbak.setProcessEnvironment(environment);
            gbak.start(u"gbak"_s, {u"-c"_s, u"-user"_s, u"SYSDBA"_s, u"-password"_s, u"quietbolt"_s,
                                   QDir(h->settings.backupFolder).filePath(backups.first()), restored});
            QVERIFY(gbak.waitForFinished(60000) && gbak.exitCode() == 0);
            const TargetState backedUp(restored);
            for (int t = 0; t < before.tables.size(); ++t)
                QCOMPARE(backedUp.tables[t].rows, before.tables[t].rows);
        }
    }
};

UI_TEST(CarryOverInvariantTest);
#include "CarryOverInvariantTest.moc"
