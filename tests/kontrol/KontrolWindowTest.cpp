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
        korvat::test::createCarryOverSource(h->sourcePath);
        {
            korvat::test::TestDatabase own = h->createTarget();
            korvat::test::fillRandomTarget(own, 7);
        }
        h->chooseSourceAndTarget();
        h->window->chStokBakiye->setChecked(true);
        h->transfer(h->window->Button1);
        h->transfer(h->window->Button2);
        h->transfer(h->window->Button3);
        QCOMPARE(h->messages().last(), u"Cariler aktarıldı"_s);
        h->endProgram();

        korvat::kontrol::Options options;
        options.source = h->sourcePath;
        options.target = h->targetPath;
        options.stockEntries = korvat::kontrol::StockEntries::All;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(korvat::kontrol::runKontrol(options, outStream, errStream), int(korvat::kontrol::Matches));
        QVERIFY2(out.contains(h->window->transferDate().toString(u"dd.MM.yyyy"_s)), qPrintable(out));
    }
};

UI_TEST(KontrolWindowTest);
#include "KontrolWindowTest.moc"
