// The program under faults and bad input, through the window on real
// databases: each case checks what the operator is shown, that the window
// goes on, and what the databases hold afterwards.
#include "LoopbackServer.h"
#include "UiTest.h"
#include "WindowHarness.h"

#include <QFile>
#include <QTableView>
#include <QTest>

using korvat::test::LoopbackServer;
using korvat::test::SchemaOptions;
using korvat::test::TestDatabase;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class FaultTest : public WindowTestCase {
    Q_OBJECT

private:
    // A source with `cards` active stock cards and `groups` groups.
    QString makeSource(int cards, int groups = 0, const SchemaOptions& options = {})
    {
        TestDatabase source = h->createSource(options);
        korvat::test::addCards(source, cards);
        korvat::test::addGroups(source, groups);
        return h->sourcePath;
    }

    // The workspace's target unless named otherwise.
    QString makeTarget(const QString& fileName = u"HEDEF.FDB"_s) { return h->createDatabase(fileName); }

    // Chooses a database whose attach or opening fails: the error box is answered.
    void chooseFailing(QPushButton* button, const QString& path)
    {
        h->dialogs.chooseFile(path).press(DialogButton::Ok);
        button->click();
        QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::Error);
    }

    bool errorShownContaining(const QString& text) const
    {
        const ScriptedDialogs::Call& call = h->dialogs.lastCall();
        return call.icon == DialogIcon::Error && call.text.contains(text);
    }

private slots:
    void aServerStoppedDuringAStockTransferLeavesTheCommittedCardsAndANewTargetWorks()
    {
        LoopbackServer& server = korvat::test::loopbackServer();
        const QString remote = server.createDatabase(u"stok-kill.fdb"_s);
        h->chooseSource(makeSource(6));
        h->chooseTarget(remote);
        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);

        // The second press loses the server after three of its cards.
        {
            const AfterPosts killer(dm->Q_Stok, 3, [&server] { server.kill(); });
            h->transfer(h->window->Button2);
        }
        QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::Error);
        QCOMPARE(h->messages().count(u"Stoklar aktarıldı"_s), 1);
        QVERIFY(h->window->isEnabled());
        QVERIFY(!dm->IBDatabase2.connected());

        // A new target can be chosen and used at once.
        const QString newTarget = makeTarget();
        h->chooseTarget(newTarget);
        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().count(u"Stoklar aktarıldı"_s), 2);
        dm->IBTransaction1.commitRetaining();
        QCOMPARE(h->committedCount(u"T_STOK"_s), 6);

        // The first transfer's cards were committed; the lost ones never were.
        server.start();
        QCOMPARE(TestDatabase::attach(remote).rowCount(u"T_STOK"_s), 6);
    }

    void aRowHeldByAnotherConnectionFailsTheTransferAtOnce()
    {
        h->chooseSource(makeSource(2));
        const QString target = makeTarget();
        h->chooseTarget(target);

        // Another program has inserted the key the generator gives next and not
        // committed it. Under "wait" the insert would wait for that transaction,
        // and this single thread would hang for ever; under "nowait" it fails.
        TestDatabase other = TestDatabase::attach(target);
        korvat::test::TestTransaction holding = other.begin();
        holding.exec(u"insert into T_STOK (STOK_ID, STOK_ADI) values (1, 'Başka')"_s);
        h->transfer(h->window->Button2);
        QVERIFY(errorShownContaining(u"violation of PRIMARY or UNIQUE KEY constraint"_s));
        QVERIFY(!h->messages().contains(u"Stoklar aktarıldı"_s));
        holding.commit();

        // The refused row stays appended until the target is chosen again;
        // then both cards are carried under the next keys.
        h->chooseTarget(target);
        h->transfer(h->window->Button2);
        QCOMPARE(h->messages().last(), u"Stoklar aktarıldı"_s);
        QCOMPARE(other.query(u"select STOK_ID, STOK_ADI from T_STOK order by STOK_ID"_s),
                 (QList<QVariantList>{{1, u"Başka"_s}, {2, u"Ürün 1"_s}, {3, u"Ürün 2"_s}}));
    }

    void aFileThatIsNoUsableDatabaseIsRefusedAndLeftAsItWas()
    {
        const QString text = h->path(u"NOT.FDB"_s);
        writeFile(text, QByteArray("Bu bir veritabanı değil.\n").repeated(400));
        const QString empty = h->path(u"EMPTY.FDB"_s);
        writeFile(empty, {});
        const QString truncated = makeTarget(u"TRUNC.FDB"_s);
        writeFile(truncated, korvat::test::fileContents(truncated).left(3 * 4096));
        const QString missingFolder = h->path(u"yok/HEDEF.FDB"_s);

        for (const QString& path : {text, empty, truncated, missingFolder}) {
            const QByteArray before = korvat::test::fileContents(path);
            chooseFailing(h->window->SpeedButton1, path);
            QCOMPARE(h->window->edtKaynakDatabase->text(), path);
            chooseFailing(h->window->SpeedButton2, path);
            QCOMPARE(h->window->edtHedefDatabase->text(), path);
            QVERIFY(!dm->Q_Stok.active());
            QCOMPARE(korvat::test::fileContents(path), before);
        }
        QVERIFY(!QFile::exists(h->path(u"yok"_s)));

        // The window goes on: good databases chosen next are used.
        h->chooseSource(makeSource(0, 2));
        const QString target = makeTarget();
        h->chooseTarget(target);
        h->transfer(h->window->Button1);
        QCOMPARE(h->messages().last(), u"Gruplar aktarıldı"_s);
    }

    void aDatabaseFileWithoutWritePermission()
    {
        const QString target = makeTarget(u"SALT.FDB"_s);
        TestDatabase::attach(target).insertRow(u"T_STOK"_s, {{u"STOK_ID"_s, 1}});
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        if (QFile file(target); file.open(QIODevice::ReadWrite))
            QSKIP("this process may write any file; ctest runs this program as an ordinary user");
        const QByteArray before = korvat::test::fileContents(target);
        h->chooseSource(makeSource(2));

        chooseFailing(h->window->SpeedButton2, target);
        QVERIFY(errorShownContaining(u"no permission for read-write access"_s));
        QVERIFY(!dm->IBDatabase2.connected());
        QCOMPARE(korvat::test::fileContents(target), before);
    }

    void aSourceWithoutAListedColumnOpensNothingAfterTheFailedQuery()
    {
        const QString source = makeSource(1, 0, SchemaOptions{.stokWithoutKmpM2 = true});
        chooseFailing(h->window->SpeedButton1, source);
        QCOMPARE(h->dialogs.lastCall().text, u"qryStok: Field 'KMP_M2' not found."_s);
        QVERIFY(!dm->qryStok.active() && !dm->qryCari.active() && !dm->qryGrubu.active());

        h->chooseTarget(makeTarget());
        h->dialogs.press(DialogButton::Yes).press(DialogButton::Ok);
        h->window->Button2->click();
        QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::Error);
        QCOMPARE(TestDatabase::attach(source).rowCount(u"T_STOK"_s), 1);
    }

    void aSmallGeneratorPastItsRangeStopsTheGroupsAndKeepsNoneOfThem()
    {
        h->chooseSource(makeSource(0, 3));
        h->createTarget().setGenerator(u"T_GRUBU_GRUBU_ID_GEN"_s, 32766);
        h->chooseTarget(h->targetPath);

        h->transfer(h->window->Button1);
        QVERIFY(errorShownContaining(u"Grup Grup 2 aktarılamadı:\n"_s));
        QVERIFY(errorShownContaining(u"-32768 to 32767"_s));
        QVERIFY(!h->messages().contains(u"Gruplar aktarıldı"_s));
        h->endProgram();
        QCOMPARE(h->committedCount(u"T_GRUBU"_s), 0);
    }

    void aTextTooLongTypedIntoALowerGridIsRefusedAndTheStoredRowKept()
    {
        const QString target = makeTarget();
        korvat::test::addGroup(TestDatabase::attach(target), 1, {{u"GRUBU"_s, u"Kasap"_s}});
        korvat::test::addGroup(TestDatabase::attach(target), 2);
        h->chooseTarget(target);
        QVERIFY(h->showWindow());

        QTableView* grid = h->window->DBGrid3;
        QAbstractItemModel* model = grid->model();
        int nameColumn = 0;
        while (model->headerData(nameColumn, Qt::Horizontal).toString() != u"GRUBU"_s)
            ++nameColumn;
        QVERIFY(model->setData(model->index(0, nameColumn), QString(41, QChar(u'Ş'))));
        h->dialogs.press(DialogButton::Ok);
        grid->setCurrentIndex(model->index(1, nameColumn));  // leaving the row posts it
        QVERIFY(errorShownContaining(u"Trying to store a string of length 41"_s));

        h->endProgram();
        QCOMPARE(h->committedValue(u"select GRUBU from T_GRUBU where GRUBU_ID = 1"_s), QVariant(u"Kasap"_s));
    }
};

UI_TEST(FaultTest);

#include "FaultTest.moc"
