// The three transfers end to end through the window, on real database files,
// with the target checked row by row afterwards.
#include "LoopbackServer.h"
#include "UiTest.h"
#include "WindowHarness.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <cmath>

using namespace korvat::test;

namespace {

const QTime pickerTimeOfDay(21, 57, 33);

}  // namespace

class TransferTest : public WindowTestCase {
    Q_OBJECT

private:
    // A new target and the source to fill; the test chooses them once filled.
    TestDatabase prepare(const SchemaOptions& sourceOptions = {}, const SchemaOptions& targetOptions = {})
    {
        h->createTarget(targetOptions).detach();
        return h->createSource(sourceOptions);
    }

    // Chooses the filled source and the target; a generator named gives the
    // target's keys from 101 on.
    void choose(TestDatabase& source, const char* generator = nullptr)
    {
        source.detach();
        if (generator)
            h->attachTarget().setGenerator(QLatin1String(generator), 100);
        h->chooseSourceAndTarget();
    }

private slots:
    void groupsAreCarriedWithNewKeysAndCommittedBeforeTheirMessage()
    {
        TestDatabase source = prepare(SchemaOptions{.grubuAsChar = true});
        addGroup(source, 7, {{u"GRUBU"_s, u"Şarküteri"_s}, {u"SIRA_NO"_s, 3}, {u"KISA_YOL"_s, u"F2"_s}});
        addGroup(source, 2);
        choose(source, kGrubuGenerator);

        h->transfer(h->window->Button1);
        QCOMPARE(h->messages().last(), u"Gruplar aktarıldı"_s);
        QCOMPARE(h->window->PageControl1->currentWidget(), h->window->tbGrubu);
        QCOMPARE(h->window->PageControl2->currentWidget(), h->window->tbGrubu2);
        QCOMPARE(h->committedCount(u"T_GRUBU"_s), 2);

        // A second press answered No carries everything again under new keys.
        h->transferAgain(h->window->Button1, DialogButton::No);
        const auto rows =
            h->committed(u"select GRUBU_ID, GRUBU, SIRA_NO, KISA_YOL from T_GRUBU order by GRUBU_ID"_s);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QVariantList{101, QVariant(), QVariant(), QVariant()}));  // source key 2 first
        QCOMPARE(rows[1], (QVariantList{102, u"Şarküteri"_s, 3, u"F2"_s}));
        QCOMPARE(rows[3][0].toInt(), 104);
    }

    void anEmptySourceStillEndsWithTheMessages()
    {
        prepare().detach();
        h->chooseSourceAndTarget();
        h->transfer(h->window->Button1);
        h->transfer(h->window->Button2);
        h->transfer(h->window->Button3);
        QCOMPARE(h->messages().filter(u"aktarıldı"_s),
                 (QStringList{u"Gruplar aktarıldı"_s, u"Stoklar aktarıldı"_s, u"Cariler aktarıldı"_s}));
        QCOMPARE(h->window->ProgressBar1->maximumPosition(), 0);
        QCOMPARE(h->window->ProgressBar1->position(), 0);
    }

    void theBarCountsEveryRowNotOnlyThoseTheGridFetched()
    {
        TestDatabase source = prepare();
        addGroups(source, 120);
        source.detach();
        QVERIFY(h->showWindow());
        h->chooseSourceAndTarget();
        h->window->PageControl1->setCurrentWidget(h->window->tbGrubu);
        QCoreApplication::processEvents();
        QVERIFY2(dm->qryGrubu.recordCount() < 120, qPrintable(QString::number(dm->qryGrubu.recordCount())));

        QPair<int, int> atTenth;
        {
            const AfterPosts sample(dm->Q_Grubu, 10, [&] {
                atTenth = {h->window->ProgressBar1->position(), h->window->ProgressBar1->maximumPosition()};
            });
            h->transfer(h->window->Button1);
        }
        QCOMPARE(atTenth, qMakePair(10, 120));
        QCOMPARE(h->window->ProgressBar1->position(), 120);
        QCOMPARE(h->messages().last(), u"Gruplar aktarıldı"_s);
        QCOMPARE(h->committedCount(u"T_GRUBU"_s), 120);
    }

    void aCloseRequestDuringATransferIsRefusedAndTheTransferRunsToItsEnd()
    {
        TestDatabase source = prepare();
        for (int id = 1; id <= 5; ++id)
            addCard(source, id);
        source.detach();
        QVERIFY(h->showWindow());
        h->chooseSourceAndTarget();

        bool closed = true;
        {
            const AfterPosts closeMidway(dm->Q_Stok, 2, [&] { closed = h->window->close(); });
            h->transfer(h->window->Button2);
        }
        QVERIFY(!closed);
        QVERIFY(h->window->isVisible());
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        QCOMPARE(h->committedCount(u"T_STOK"_s), 5);
        QVERIFY(h->window->close());  // once the transfer is over, it closes
    }

    void stockCardsCarryTheirTextFormsAndOnlyActiveCardsAreRead()
    {
        TestDatabase source = prepare();
        addCard(source, 10,
                {{u"STOK_KODU"_s, u"ÇY-01"_s},
                 {u"STOK_ADI"_s, u"Çaykur Rize Turist İğdır"_s},
                 {u"SATIS_FIYATI"_s, 0.1 + 0.2},
                 {u"ALIS_FIYATI"_s, 5e-5},
                 {u"SIRA_NO"_s, -7},
                 {u"GRUBU_ID"_s, 4},
                 {u"GRUBU"_s, u"İçecek"_s},
                 {u"ENVANTER"_s, 12.5},
                 {u"KMP_M2"_s, 1234567890123456789.0},
                 {u"TERAZI_PLU"_s, 2147483647}});
        addCard(source, 11);  // NULL everywhere but the key and the flag
        addCard(source, 12, {}, 0);
        addCard(source, 13, {}, 2);
        addCard(source, 14, {}, QVariant());
        choose(source, kStokGenerator);

        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        const auto rows = h->committed(
            u"select STOK_ID, STOK_KODU, STOK_ADI, SATIS_FIYATI, ALIS_FIYATI, SIRA_NO, GRUBU_ID, GRUBU, "
            "ENVANTER, KMP_M2, TERAZI_PLU, AKTIFLIK from T_STOK order by STOK_ID"_s);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][0].toInt(), 101);
        QCOMPARE(rows[0][1].toString(), u"ÇY-01"_s);
        QCOMPARE(rows[0][2].toString(), u"Çaykur Rize Turist İğdır"_s);
        QCOMPARE(rows[0][3].toDouble(), 0.3);  // 15 significant digits
        QCOMPARE(rows[0][4].toDouble(), 5e-5);
        QCOMPARE(rows[0][5].toInt(), -7);
        QVERIFY(rows[0][6].isNull());  // the group travels by name, not by key
        QCOMPARE(rows[0][7].toString(), u"İçecek"_s);
        QVERIFY(rows[0][8].isNull());  // the stock reaches the target only as an entry
        QCOMPARE(rows[0][9].toDouble(), 1.23456789012346e18);
        QCOMPARE(rows[0][10].toInt(), 2147483647);
        QCOMPARE(rows[0][11].toInt(), 1);
        QCOMPARE(rows[1][0].toInt(), 102);
        for (int column = 1; column < 11; ++column)
            QVERIFY2(rows[1][column].isNull(), qPrintable(QString::number(column)));
        // The check box was off: no opening entries.
        QCOMPARE(h->committedCount(u"T_STOK_HAREKET"_s), 0);
    }

    void openingStockEntriesFollowTheCheckBoxesAndThePriceRule()
    {
        TestDatabase source = prepare();
        addCard(source, 1,
                {{u"ENVANTER"_s, 5.0}, {u"SON_ALIS"_s, 0.0}, {u"ALIS_FIYATI"_s, 12.5}, {u"MALIYET"_s, 10.0}});
        addCard(source, 2, {{u"ENVANTER"_s, 0.001}, {u"SON_ALIS"_s, -1.0}, {u"MALIYET"_s, 4.0}});
        addCard(source, 3, {{u"ENVANTER"_s, -3.0}, {u"SON_ALIS"_s, 7.25}});
        addCard(source, 4, {});  // no stock, no price
        choose(source, kStokGenerator);

        // All cards: an entry for each, whatever its stock.
        h->window->chStokBakiye->setChecked(true);
        h->transfer(h->window->Button2);
        auto entries = h->committed(
            u"select stok_id, turu_id, kayit_id, fiyat, tarih, giren from t_stok_hareket order by stok_id"_s);
        QCOMPARE(entries.size(), 4);
        const QDateTime midnight(h->window->transferDate(), QTime(0, 0));
        // Each entry on the key its card received in the target.
        QCOMPARE(entries[0], (QVariantList{101, 8, 1, 12.5, midnight, 5.0}));
        QCOMPARE(entries[1], (QVariantList{102, 8, 1, 4.0, midnight, 0.001}));
        QCOMPARE(entries[2], (QVariantList{103, 8, 1, 7.25, midnight, -3.0}));
        QCOMPARE(entries[3], (QVariantList{104, 8, 1, QVariant(), midnight, 0.0}));

        // Positive stock only: cards 1 and 2, carried again as 105 and 106.
        h->window->ch_PozitifStok->setChecked(true);
        h->transfer(h->window->Button2);
        entries = h->committed(u"select stok_id from t_stok_hareket order by stok_id"_s);
        QCOMPARE(entries.size(), 6);
        QCOMPARE(entries[4][0].toInt(), 105);
        QCOMPARE(entries[5][0].toInt(), 106);
        QCOMPARE(h->committed(u"select count(*) from T_STOK"_s).value(0).value(0).toInt(), 8);

        // The positive-only mark is read only while the balance box is checked.
        h->window->chStokBakiye->setChecked(false);
        QVERIFY(h->window->ch_PozitifStok->isChecked());
        h->transfer(h->window->Button2);
        QCOMPARE(h->committedCount(u"T_STOK_HAREKET"_s), 6);
    }

    void aFailedOpeningEntryUndoesThePressAndTheEndOfTheProgramKeepsNothingOfIt()
    {
        TestDatabase source = prepare({}, SchemaOptions{.movementColumnsNotNull = true});
        addCard(source, 1, {{u"STOK_KODU"_s, u"K1"_s}, {u"ENVANTER"_s, 1.0}, {u"MALIYET"_s, 3.0}});
        addCard(source, 2, {{u"STOK_KODU"_s, u"K2"_s}, {u"ENVANTER"_s, 1.0}});  // no price: NULL refused
        addCard(source, 3, {{u"STOK_KODU"_s, u"K3"_s}, {u"ENVANTER"_s, 1.0}, {u"MALIYET"_s, 3.0}});
        choose(source);
        h->window->chStokBakiye->setChecked(true);

        h->transfer(h->window->Button2);  // the error box
        const ScriptedDialogs::Call& error = h->dialogs.lastCall();
        QCOMPARE(error.icon, DialogIcon::Error);
        QVERIFY2(error.text.startsWith(u"Stok kartı K2 aktarılamadı:\n"_s), qPrintable(error.text));
        QVERIFY2(error.text.endsWith(u"\nBu aktarımda yazılan kayıtlar geri alındı."_s),
                 qPrintable(error.text));
        QVERIFY(!h->messages().contains(u"Stoklar aktarıldı"_s));
        QVERIFY(h->window->isEnabled());
        QCOMPARE(dm->Q_Stok.recordCount(), 0);  // the grid shows what the target holds

        h->endProgram();
        QCOMPARE(h->committedCount(u"T_STOK"_s), 0);
        QCOMPARE(h->committedCount(u"T_STOK_HAREKET"_s), 0);
    }

    void openingAccountEntriesFollowTheBalance()
    {
        TestDatabase source = prepare();
        const auto amounts = [](const QVariant& bakiye, const QVariant& borc, const QVariant& alacak) {
            return Row{{u"BAKIYE"_s, bakiye},
                       {u"BORC"_s, borc},
                       {u"ALACAK"_s, alacak},
                       {u"CARI_ADI"_s, u"Gül Şükran Ağaoğlu"_s}};
        };
        addAccount(source, 50, amounts(150.0, 400.0, 250.0));
        addAccount(source, 51, amounts(-80.0, 20.0, 100.0));
        addAccount(source, 52, amounts(0.0, 5.0, 5.0));
        addAccount(source, 53, amounts(QVariant(), QVariant(), QVariant()));
        addAccount(source, 54, amounts(10.0, QVariant(), QVariant()));
        addAccount(source, 55, {}, 0);
        choose(source, kCariGenerator);

        h->transfer(h->window->Button3);
        QCOMPARE(h->messages().last(), u"Cariler aktarıldı"_s);
        const auto accounts = h->committed(
            u"select CARI_ID, CARI_ADI, BORC, ALACAK, BAKIYE, AKTIFLIK from T_CARI order by CARI_ID"_s);
        QCOMPARE(accounts.size(), 5);
        // The amounts travel in the opening entry alone; the account stays active.
        QCOMPARE(accounts[0],
                 (QVariantList{101, u"Gül Şükran Ağaoğlu"_s, QVariant(), QVariant(), QVariant(), 1}));
        QCOMPARE(accounts[4][0].toInt(), 105);

        const QDateTime when(h->window->transferDate(), pickerTimeOfDay);
        const auto entries = h->committed(
            u"select cari_id, turu_id, tarih, giren, cikan from t_dekont_hareket order by cari_id"_s);
        QCOMPARE(entries.size(), 5);
        // On the accounts' new keys, each opening with its balance.
        QCOMPARE(entries[0], (QVariantList{101, 1, when, 150.0, 0.0}));
        QCOMPARE(entries[1], (QVariantList{102, 2, when, 0.0, 80.0}));
        QCOMPARE(entries[2], (QVariantList{103, QVariant(), when, QVariant(), QVariant()}));
        QCOMPARE(entries[3], (QVariantList{104, QVariant(), when, QVariant(), QVariant()}));
        QCOMPARE(entries[4], (QVariantList{105, 1, when, 10.0, 0.0}));
    }

    void refusedAccountEntriesAreToldOnceAndSummedUpWhenTheOperatorGoesOn()
    {
        TestDatabase source = prepare({}, SchemaOptions{.dekontRefusesInserts = true});
        addAccount(source, 1, {{u"CARI_KODU"_s, u"C01"_s}, {u"BAKIYE"_s, 1.0}});
        addAccount(source, 2, {{u"CARI_KODU"_s, u"C02"_s}, {u"BAKIYE"_s, -1.0}});
        addAccount(source, 3);
        choose(source);

        h->dialogs.press(DialogButton::Yes).press(DialogButton::Yes).press(DialogButton::Ok);
        h->window->Button3->click();
        const QStringList messages = h->messages();
        QCOMPARE(messages.size(), 3);  // the confirmation, one question, the closing message
        QVERIFY2(messages[1].startsWith(u"Sanırım bir sorun oluştu\nC01: "_s), qPrintable(messages[1]));
        QVERIFY(messages[1].endsWith(u"\nDevam edilsin mi?"_s));
        QCOMPARE(h->dialogs.calls()[h->dialogs.calls().size() - 2].buttons, DialogButtons::YesNo);
        QCOMPARE(messages[2],
                 u"Cariler aktarıldı\n3 cari hesabın açılış hareketi yazılamadı:\nC01, C02, (kodsuz)"_s);
        QCOMPARE(h->committedCount(u"T_CARI"_s), 3);
        QCOMPARE(h->committedCount(u"T_DEKONT_HAREKET"_s), 0);
    }

    void answeringNoToARefusedAccountEntryKeepsNothingOfThePress()
    {
        TestDatabase source = prepare({}, SchemaOptions{.dekontRefusesInserts = true});
        addAccount(source, 1, {{u"BAKIYE"_s, 1.0}});
        addAccount(source, 2, {{u"BAKIYE"_s, 2.0}});
        choose(source);

        h->dialogs.press(DialogButton::Yes).press(DialogButton::No).press(DialogButton::Ok);
        h->window->Button3->click();
        QCOMPARE(h->messages().last(), u"Bu aktarımda yazılan kayıtlar geri alındı."_s);
        QCOMPARE(dm->Q_Cari.recordCount(), 0);
        h->endProgram();
        QCOMPARE(h->committedCount(u"T_CARI"_s), 0);
    }

    void aCommitThatFailsShowsItsErrorAndNoSuccess_data()
    {
        QTest::addColumn<bool>("groups");
        QTest::addRow("groups") << true;
        QTest::addRow("stock cards") << false;
    }

    void aCommitThatFailsShowsItsErrorAndNoSuccess()
    {
        QFETCH(bool, groups);
        LoopbackServer& server = loopbackServer();
        TestDatabase source = prepare();
        if (groups)
            addGroup(source, 1);
        else
            addCard(source, 1);
        source.detach();
        h->targetPath = server.createDatabase(u"commit.fdb"_s);
        h->chooseSourceAndTarget();

        // The server goes away after the row is posted and before the commit.
        {
            const AfterPosts killer(groups ? dm->Q_Grubu : dm->Q_Stok, 1, [&server] { server.kill(); });
            h->transfer(groups ? h->window->Button1 : h->window->Button2);
        }

        QVERIFY(h->messages().filter(u"aktarıldı"_s).isEmpty());
        QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::Error);
        server.start();
        QCOMPARE(h->committedCount(u"T_GRUBU"_s) + h->committedCount(u"T_STOK"_s), 0);
    }

    void aTargetAServerHoldsOpenIsChosenByItsPathAndCarriedIntoThroughTheServer()
    {
        LoopbackServer& server = loopbackServer();
        TestDatabase source = prepare();
        addCard(source, 1);
        source.detach();
        TestDatabase held = TestDatabase::attach(server.createDatabase(u"held.fdb"_s));
        h->targetPath = server.databasePath(u"held.fdb"_s);
        dm->IBDatabase2.setLocalServerPort(server.port());
        h->chooseSourceAndTarget();
        QCOMPARE(h->window->edtHedefDatabase->text(), h->targetPath);

        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        QCOMPARE(held.rowCount(u"T_STOK"_s), 1);
    }

    void aSecondPressAsksAboutTheCardsAlreadyCarried_data()
    {
        QTest::addColumn<DialogButton>("answer");
        QTest::addColumn<QStringList>("codesAfter");
        QTest::addColumn<int>("entriesAfter");
        QTest::newRow("Yes: only the missing")
            << DialogButton::Yes << QStringList{u"K1"_s, u"K2"_s, u"K3"_s} << 3;
        QTest::newRow("No: all again")
            << DialogButton::No << QStringList{u"K1"_s, u"K1"_s, u"K2"_s, u"K2"_s, u"K3"_s} << 5;
        QTest::newRow("Cancel: nothing") << DialogButton::Cancel << QStringList{u"K1"_s, u"K2"_s} << 2;
    }

    void aSecondPressAsksAboutTheCardsAlreadyCarried()
    {
        QFETCH(DialogButton, answer);
        QFETCH(QStringList, codesAfter);
        QFETCH(int, entriesAfter);
        TestDatabase source = prepare();
        addCard(source, 1, {{u"STOK_KODU"_s, u"K1"_s}, {u"ENVANTER"_s, 1.0}});
        addCard(source, 2, {{u"STOK_KODU"_s, u"K2"_s}, {u"ENVANTER"_s, 2.0}});
        choose(source);
        h->window->chStokBakiye->setChecked(true);
        h->transfer(h->window->Button2);

        // A card the old year added late, and the operator presses again.
        addCard(TestDatabase::attach(h->sourcePath), 3, {{u"STOK_KODU"_s, u"K3  "_s}, {u"ENVANTER"_s, 3.0}});
        h->chooseSource(h->sourcePath);
        h->transferAgain(h->window->Button2, answer);
        const ScriptedDialogs::Call& asked =
            h->dialogs.calls()[h->dialogs.calls().size() - (answer == DialogButton::Cancel ? 1 : 2)];
        QCOMPARE(asked.caption, u"Stok"_s);
        QCOMPARE(asked.buttons, DialogButtons::YesNoCancel);
        QCOMPARE(asked.text, u"Hedefte aynı kodla zaten olan kayıt sayısı: 2 (aktarılacak: 3).\n"
                             "Evet: yalnız eksikler aktarılır.\nHayır: hepsi yeniden aktarılır.\n"
                             "İptal: hiçbir şey aktarılmaz."_s);
        QStringList codes;
        for (const QVariantList& row : h->committed(u"select STOK_KODU from T_STOK order by STOK_KODU"_s))
            codes << row[0].toString().trimmed();
        QCOMPARE(codes, codesAfter);
        QCOMPARE(h->committedCount(u"T_STOK_HAREKET"_s), entriesAfter);
        if (answer == DialogButton::Yes)
            QCOMPARE(h->window->ProgressBar1->maximumPosition(), 1);
    }

    void theTargetIsBackedUpOnceBeforeTheFirstTransferWritesIntoIt()
    {
        TestDatabase source = prepare();
        addGroup(source, 1);
        addCard(source, 1);
        choose(source);
        addGroup(h->attachTarget(), 50, {{u"GRUBU"_s, u"Eski yıl"_s}});  // what the backup must hold

        h->transfer(h->window->Button1);
        h->transfer(h->window->Button2);
        const QStringList backups = QDir(h->settings.backupFolder).entryList({u"HEDEF-*.fbk"_s});
        QCOMPARE(backups.size(), 1);
        const QString backup = QDir(h->settings.backupFolder).filePath(backups.first());
        QCOMPARE(h->window->lblYedek->text(), u"Son yedek: %1"_s.arg(QDir::toNativeSeparators(backup)));

        QProcess gbak;
        gbak.setProcessEnvironment([] {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
            return environment;
        }());
        gbak.start(u"gbak"_s, {u"-c"_s, u"-user"_s, u"SYSDBA"_s, u"-password"_s, u"quietbolt"_s, backup,
                               h->path(u"GERI.FDB"_s)});
        QVERIFY(gbak.waitForFinished(60000) && gbak.exitCode() == 0);
        QCOMPARE(TestDatabase::attach(h->path(u"GERI.FDB"_s)).query(u"select GRUBU from T_GRUBU"_s),
                 (QList<QVariantList>{{u"Eski yıl"_s}}));
    }

    void aBackupThatFailsStopsTheTransferBeforeAnythingIsWritten()
    {
        TestDatabase source = prepare();
        addGroup(source, 1);
        choose(source);
        QFile blocker(h->settings.backupFolder);  // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        h->transfer(h->window->Button1);
        QVERIFY2(h->messages().last().startsWith(u"Hedef veritabanının yedeği alınamadı: "_s),
                 qPrintable(h->messages().last()));
        h->endProgram();
        QCOMPARE(h->committedCount(u"T_GRUBU"_s), 0);
    }

    void aFailedPressMendedAndPressedAgainCarriesEachCardOnce()
    {
        TestDatabase source = prepare({}, SchemaOptions{.stokSiraNoSmallInt = true});
        addCard(source, 1, {{u"STOK_KODU"_s, u"A1"_s}, {u"SIRA_NO"_s, 7}});
        // Its number fails to convert after five fields of the card were set.
        addCard(source, 2, {{u"STOK_KODU"_s, u"B2"_s}, {u"SIRA_NO"_s, 40000}});
        choose(source);

        h->transfer(h->window->Button2);
        QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::Error);
        QVERIFY(h->dialogs.lastCall().text.startsWith(u"Stok kartı B2 aktarılamadı:\n"_s));
        QVERIFY(h->dialogs.lastCall().text.contains(u"'SIRA_NO'"_s));

        // The cause mended in the source, the operator presses again.
        h->window->unbindDataSources();
        dm->IBDatabase1.close();
        TestDatabase::attach(h->sourcePath).exec(u"update T_STOK set SIRA_NO = 8 where STOK_ID = 2"_s);
        h->window->bindDataSources(*dm);
        h->chooseSource(h->sourcePath);
        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        h->endProgram();
        QCOMPARE(h->committed(u"select STOK_KODU, SIRA_NO from T_STOK order by STOK_KODU"_s),
                 (QList<QVariantList>{{u"A1"_s, 7}, {u"B2"_s, 8}}));
    }
};

UI_TEST(TransferTest);
#include "TransferTest.moc"
