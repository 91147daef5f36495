// A target carried by the real window, then checked by Korvat_Kontrol.
#include "CarriedDatabases.h"
#include "Kontrol.h"
#include "RandomDatabases.h"
#include "UiTest.h"
#include "WindowHarness.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

class KontrolWindowTest : public WindowTestCase {
    Q_OBJECT

private slots:
    void aTargetTheWindowCarriedIntoChecksClean()
    {
        const QString source = h->path(u"KAYNAK.FDB"_s);
        const QString target = h->path(u"HEDEF.FDB"_s);
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
        QCOMPARE(h->messages().last(), u"Cariler aktarıldı"_s);
        h->window->unbindDataSources();
        h->dataModule->shutdown();

        korvat::kontrol::Options options;
        options.source = source;
        options.target = target;
        options.stockEntries = korvat::kontrol::StockEntries::All;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(korvat::kontrol::runKontrol(options, outStream, errStream), int(korvat::kontrol::Matches));
        QVERIFY2(out.contains(h->window->transferDate().toString(u"dd.MM.yyyy"_s)), qPrintable(out));
    }
};

UI_TEST(KontrolWindowTest);
#include "KontrolWindowTest.moc"
