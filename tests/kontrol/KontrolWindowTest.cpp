// A target carried by the real window, then checked by Korvat_Kontrol.
#include "CarriedDatabases.h"
#include "Kontrol.h"
#include "RandomDatabases.h"
#include "UiTest.h"
#include "WindowHarness.h"

#include <QCheckBox>

class KontrolWindowTest : public WindowTestCase {
    Q_OBJECT

private slots:
    void aTargetTheWindowCarriedIntoChecksClean()
    {
        const QString source = h->path(QStringLiteral("KAYNAK.FDB"));
        const QString target = h->path(QStringLiteral("HEDEF.FDB"));
        korvat::test::createCarryOverSource(source);
        {
            korvat::test::TestDatabase own = korvat::test::TestDatabase::create(target);
            korvat::test::fillRandomTarget(own, 7);
        }
        h->chooseSource(source);
        h->chooseTarget(target);
        h->window->chStokBakiye->setChecked(true);
        h->transfer(h->window->Button1);
        h->transfer(h->window->Button2);
        h->transfer(h->window->Button3);
        QCOMPARE(h->messages().last(), QStringLiteral("Cariler aktarıldı"));
        h->window->unbindDataSources();
        h->dataModule->shutdown();

        korvat::kontrol::Options options;
        options.source = source;
        options.target = target;
        options.stockEntries = korvat::kontrol::StockEntries::All;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(korvat::kontrol::runKontrol(options, outStream, errStream), int(korvat::kontrol::Matches));
        QVERIFY2(out.contains(h->window->transferDate().toString(QStringLiteral("dd.MM.yyyy"))), qPrintable(out));
    }
};

UI_TEST(KontrolWindowTest);
#include "KontrolWindowTest.moc"
