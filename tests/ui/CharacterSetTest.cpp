// Databases of the character sets the product's files have (NONE, WIN1254,
// UTF8) carried into each other through the window: every text lands as the
// same characters, and one the target cannot hold stops the transfer with an
// error that names the text.
#include "UiTest.h"
#include "WindowHarness.h"

#include <QTest>

using namespace korvat::test;

namespace {

// 13 characters, 25 bytes in UTF-8: too long for a 20-character column if
// its bytes were taken for characters.
const QString turkishShortcut = u"Çığ Şüö İĞÜŞÖ"_s;
const QString turkishName = u"Çay 1 kg İğdır Şişe"_s;

}  // namespace

class CharacterSetTest : public WindowTestCase {
    Q_OBJECT

private:
    void prepare(const QString& sourceSet, const QString& targetSet)
    {
        h->createTarget(SchemaOptions{.characterSet = targetSet}).detach();
        h->createSource(SchemaOptions{.characterSet = sourceSet}).detach();
    }

private slots:
    void textsLandAsTheSameCharactersInEveryPairing_data()
    {
        QTest::addColumn<QString>("sourceSet");
        QTest::addColumn<QString>("targetSet");
        for (const char* source : {"NONE", "WIN1254", "UTF8"})
            for (const char* target : {"NONE", "WIN1254", "UTF8"})
                QTest::addRow("%s into %s", source, target)
                    << QString::fromLatin1(source) << QString::fromLatin1(target);
    }

    void textsLandAsTheSameCharactersInEveryPairing()
    {
        QFETCH(QString, sourceSet);
        QFETCH(QString, targetSet);
        prepare(sourceSet, targetSet);
        {
            TestDatabase source = TestDatabase::attach(h->sourcePath);
            addGroup(source, 1, {{u"GRUBU"_s, turkishName}, {u"KISA_YOL"_s, turkishShortcut}});
            addCard(source, 1, {{u"STOK_KODU"_s, u"ÇY-01"_s}, {u"STOK_ADI"_s, turkishName}});
            addAccount(source, 1, {{u"CARI_KODU"_s, u"Ş-01"_s}, {u"CARI_ADI"_s, turkishName}});
        }
        h->chooseSourceAndTarget();
        QCOMPARE(dm->qryStokSTOK_ADI.asString(), turkishName);  // what the grid shows

        h->transfer(h->window->Button1);
        h->transfer(h->window->Button2);
        h->transfer(h->window->Button3);
        QCOMPARE(h->messages().filter(u"aktarıldı"_s).size(), 3);
        QCOMPARE(h->committed(u"select GRUBU, KISA_YOL from T_GRUBU"_s),
                 (QList<QVariantList>{{turkishName, turkishShortcut}}));
        QCOMPARE(h->committed(u"select STOK_KODU, STOK_ADI from T_STOK"_s),
                 (QList<QVariantList>{{u"ÇY-01"_s, turkishName}}));
        QCOMPARE(h->committed(u"select CARI_KODU, CARI_ADI from T_CARI"_s),
                 (QList<QVariantList>{{u"Ş-01"_s, turkishName}}));
    }

    void aCharacterOutsideTheTargetsSetStopsTheTransferNamingTheText_data()
    {
        QTest::addColumn<QString>("targetSet");
        QTest::newRow("NONE") << u"NONE"_s;
        QTest::newRow("WIN1254") << u"WIN1254"_s;
    }

    void aCharacterOutsideTheTargetsSetStopsTheTransferNamingTheText()
    {
        QFETCH(QString, targetSet);
        prepare(u"UTF8"_s, targetSet);
        addCard(TestDatabase::attach(h->sourcePath), 1,
                {{u"STOK_KODU"_s, u"K1"_s}, {u"STOK_ADI"_s, u"Direnç 10 Ω"_s}});
        h->chooseSourceAndTarget();

        h->transfer(h->window->Button2);
        const QString error = h->messages().last();
        QVERIFY2(error.startsWith(u"Stok kartı K1 aktarılamadı:\n"_s), qPrintable(error));
        QVERIFY2(error.contains(
                     u"\"Direnç 10 Ω\" metni veritabanının %1 karakter kümesinde yazılamıyor: \"Ω\""_s.arg(
                         targetSet)),
                 qPrintable(error));
        h->endProgram();
        QCOMPARE(h->committedCount(u"T_STOK"_s), 0);
    }

    void aCharacterOutsideWindows1254LandsInAUtf8Target()
    {
        prepare(u"UTF8"_s, u"UTF8"_s);
        addCard(TestDatabase::attach(h->sourcePath), 1, {{u"STOK_ADI"_s, u"Direnç 10 Ω"_s}});
        h->chooseSourceAndTarget();
        h->transfer(h->window->Button2);
        QCOMPARE(h->committedValue(u"select STOK_ADI from T_STOK"_s).toString(), u"Direnç 10 Ω"_s);
    }
};

UI_TEST(CharacterSetTest);
#include "CharacterSetTest.moc"
