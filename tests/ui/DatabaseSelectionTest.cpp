// Choosing the two databases with the "?" buttons, and the checks before a transfer.
#include "UiTest.h"
#include "WindowHarness.h"

#include <QFile>
#include <QTableView>
#include <QTest>

using korvat::test::TestDatabase;

class DatabaseSelectionTest : public WindowTestCase {
    Q_OBJECT

private slots:
    void startsWithTheDefaultTargetAttachedAndNoDataSetOpen()
    {
        QVERIFY(dm->IBDatabase2.connected());
        QVERIFY(dm->IBTransaction1.inTransaction());
        QVERIFY(!dm->IBDatabase1.connected());
        QVERIFY(!dm->Q_Grubu.active());
        QCOMPARE(h->window->DBGrid6->model()->rowCount(), 0);
    }

    void mesajSetWantsBothDatabasesChosenWithTheirButtons()
    {
        const auto refusedAsUnset = [this] {
            h->dialogs.press(DialogButton::Ok);
            QVERIFY(!h->window->MesajSet());
            QCOMPARE(h->dialogs.lastCall().kind, ScriptedDialogs::Kind::SimpleMessage);
            QCOMPARE(h->dialogs.lastCall().text, u"Lütfen kaynak ve hedef database yi set ediniz"_s);
        };
        refusedAsUnset();

        const QString target = h->createDatabase(u"hedef.fdb"_s);
        h->chooseTarget(target);
        refusedAsUnset();  // only the target

        // A path typed into a box is not a chosen database, even a real one.
        const QString source = h->createDatabase(u"kaynak.fdb"_s);
        h->window->edtKaynakDatabase->setText(source);
        refusedAsUnset();

        h->chooseSource(source);
        QVERIFY(h->window->MesajSet());

        h->window->edtHedefDatabase->setText(h->createDatabase(u"elle.fdb"_s));
        refusedAsUnset();  // typed over the chosen target
        h->window->edtHedefDatabase->setText(target);
        QVERIFY(h->window->MesajSet());
    }

    void mesajSetRefusesOneFileUnderAnyName()
    {
        const auto refusedAsSame = [this] {
            h->dialogs.press(DialogButton::Ok);
            QVERIFY(!h->window->MesajSet());
            QCOMPARE(h->dialogs.lastCall().kind, ScriptedDialogs::Kind::MessageBox);
            QCOMPARE(h->dialogs.lastCall().caption, QString());
            QCOMPARE(h->dialogs.lastCall().icon, DialogIcon::None);
            QCOMPARE(h->dialogs.lastCall().text, u"Kaynak ve hedef farklı olmalıdır!"_s);
        };
        const QString file = h->createDatabase(u"tek.fdb"_s);
        h->chooseSource(file);
        h->chooseTarget(file);
        refusedAsSame();

        // Another spelling of the same path, and a link to it.
        h->chooseTarget(h->path(u"./tek.fdb"_s).replace(u"/./"_s, u"//"_s));
        refusedAsSame();
        const QString link = h->path(u"bag.fdb"_s);
        QVERIFY(QFile::link(file, link));
        h->chooseTarget(link);
        refusedAsSame();

        h->chooseTarget(h->createDatabase(u"baska.fdb"_s));
        QVERIFY(h->window->MesajSet());
    }

    void choosingTheSourceOpensItsQueriesInOneReadTransaction()
    {
        const QString first = h->createDatabase(u"kaynak1.fdb"_s);
        addGroup(TestDatabase::attach(first), 1);
        h->chooseSource(first);
        QCOMPARE(h->window->edtKaynakDatabase->text(), first);
        QVERIFY(dm->qryStok.active() && dm->qryCari.active() && dm->qryGrubu.active());
        QCOMPARE(h->window->DBGrid1->model()->rowCount(), 1);

        // Choosing again closes the first source's queries and ends its read transaction.
        const isc_tr_handle firstRead = *dm->IBDatabase1.internalTransaction().handle();
        const QString second = h->createDatabase(u"kaynak2.fdb"_s);
        h->chooseSource(second);
        QCOMPARE(dm->IBDatabase1.databaseName(), second);
        QCOMPARE(h->window->DBGrid1->model()->rowCount(), 0);
        QVERIFY(dm->IBDatabase1.internalTransaction().inTransaction());
        Q_UNUSED(firstRead);
    }

    void cancellingTheDialogChangesNothing()
    {
        h->window->edtKaynakDatabase->setText(u"elle yazıldı"_s);
        h->dialogs.cancelFile();
        h->window->SpeedButton1->click();
        QCOMPARE(h->window->edtKaynakDatabase->text(), u"elle yazıldı"_s);
        QVERIFY(!dm->IBDatabase1.connected());
    }

    void theDialogOffersTheLastChosenName()
    {
        const QString source = h->createDatabase(u"kaynak.fdb"_s);
        h->chooseSource(source);
        h->dialogs.cancelFile();
        h->window->SpeedButton2->click();
        QCOMPARE(h->dialogs.lastCall().text, source);
        QCOMPARE(h->dialogs.lastCall().settings.checkExistence, false);
        QVERIFY(h->dialogs.lastCall().settings.filter.isEmpty());
    }

    void choosingTheTargetCommitsThePreviousOneAndOpensTheNew()
    {
        const QString source = h->createDatabase(u"kaynak.fdb"_s);
        const QString oldTarget = h->createDatabase(u"hedef1.fdb"_s);
        const QString newTarget = h->createDatabase(u"hedef2.fdb"_s);
        h->chooseSource(source);
        h->chooseTarget(oldTarget);
        QVERIFY(dm->Q_Grubu.active() && dm->Q_Stok.active() && dm->Q_Cari.active());

        // A group entered as in the lower grid waits for the next commit.
        dm->Q_Grubu.append();
        dm->Q_Grubu.fieldByName(u"grubu").setAsString(u"Süt"_s);
        dm->Q_Grubu.post();
        QCOMPARE(TestDatabase::attach(oldTarget).rowCount(u"T_GRUBU"_s), 0);  // not yet

        h->chooseTarget(newTarget);
        QCOMPARE(TestDatabase::attach(oldTarget).rowCount(u"T_GRUBU"_s), 1);
        QVERIFY(dm->IBTransaction1.inTransaction());
        QCOMPARE(dm->IBDatabase2.databaseName(), newTarget);
    }

    void aFailedAttachIsShownAndLeavesTheTargetDetached()
    {
        h->dialogs.chooseFile(h->path(u"yok.fdb"_s));
        h->dialogs.press(DialogButton::Ok);  // the error box
        h->window->SpeedButton2->click();
        const ScriptedDialogs::Call& shown = h->dialogs.lastCall();
        QCOMPARE(shown.icon, DialogIcon::Error);
        QCOMPARE(shown.caption, QApplication::applicationDisplayName());
        QVERIFY(shown.text.contains(u"yok.fdb"_s));
        QCOMPARE(h->window->edtHedefDatabase->text(), h->path(u"yok.fdb"_s));
        QVERIFY(!dm->IBDatabase2.connected());
        QVERIFY(!dm->IBTransaction1.inTransaction());
        QVERIFY(h->window->isEnabled());
    }

    void aTransferWithATypedTargetIsRefusedBeforeItStarts()
    {
        const QString source = h->createDatabase(u"kaynak.fdb"_s);
        addGroup(TestDatabase::attach(source), 1);
        h->chooseSource(source);
        h->window->edtHedefDatabase->setText(h->path(u"elle.fdb"_s));
        h->dialogs.press(DialogButton::Ok);
        h->window->Button1->click();
        QCOMPARE(h->dialogs.lastCall().kind, ScriptedDialogs::Kind::SimpleMessage);
        QCOMPARE(h->window->PageControl1->currentWidget(), h->window->tbCari);
    }

    void aTransferRefusedByMesajSetAsksNothingAndWritesNothing()
    {
        for (QPushButton* button : {h->window->Button1, h->window->Button2, h->window->Button3}) {
            h->dialogs.press(DialogButton::Ok);
            button->click();
            QCOMPARE(h->dialogs.lastCall().kind, ScriptedDialogs::Kind::SimpleMessage);
        }
        QCOMPARE(h->dialogs.calls().size(), 3);
        QCOMPARE(h->window->PageControl2->currentWidget(), h->window->tbCari2);
        QCOMPARE(h->window->ProgressBar1->position(), 0);
    }

    void answeringNoWritesNothing()
    {
        const QString source = h->createDatabase(u"kaynak.fdb"_s);
        const QString target = h->createDatabase(u"hedef.fdb"_s);
        addGroup(TestDatabase::attach(source), 1);
        h->chooseSource(source);
        h->chooseTarget(target);
        h->dialogs.press(DialogButton::No);
        h->window->Button1->click();
        QCOMPARE(h->dialogs.lastCall().caption, u"Grubu"_s);
        QCOMPARE(h->dialogs.lastCall().text, u"Devam edilsin mi?"_s);
        QCOMPARE(h->dialogs.lastCall().buttons, DialogButtons::YesNo);
        QCOMPARE(dm->Q_Grubu.recordCount(), 0);
        QCOMPARE(h->window->PageControl1->currentWidget(), h->window->tbCari);
    }
};

UI_TEST(DatabaseSelectionTest);
#include "DatabaseSelectionTest.moc"
