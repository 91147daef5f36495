#include "SourceGenerator.h"

#include "RawClient.h"
#include "TestDatabase.h"

#include <QFile>

#include <array>
#include <cmath>
#include <random>

namespace bench {

namespace {

using korvat::test::toWindows1254;

constexpr int kMaxGroups = 32767;  // T_GRUBU.GRUBU_ID is a SMALLINT

const std::array kGroupNames = {
    u"İçecekler",     u"Şarküteri",      u"Süt Ürünleri",   u"Temizlik",      u"Kırtasiye",
    u"Unlu Mamuller", u"Dondurulmuş",    u"Meyve ve Sebze", u"Kişisel Bakım", u"Ev Gereçleri",
    u"Atıştırmalık",  u"Bebek Ürünleri", u"Kuruyemiş",      u"Baharat",       u"Çay ve Kahve",
};
const std::array kBrands = {u"Çaykur", u"Ülker", u"Eti",   u"Pınar", u"Sütaş",  u"Torku",  u"Doğuş",
                            u"Tadım",  u"Şölen", u"Koska", u"Tamek", u"Uludağ", u"Erikli", u"Bağdat"};
const std::array kProducts = {
    u"Rize Turist Çayı",  u"Çikolatalı Gofret", u"Tam Yağlı Süt", u"Beyaz Peynir",
    u"Kaşar Peyniri",     u"Fındık Ezmesi",     u"Sade Lokum",    u"Domates Salçası",
    u"Bulaşık Deterjanı", u"Islak Mendil",      u"Çam Fıstığı",   u"Pul Biber",
    u"Türk Kahvesi",      u"Şeftali Suyu",      u"Maden Suyu",    u"Ayçiçek Yağı"};
const std::array kSizes = {u"100 g", u"250 g", u"500 g", u"1 kg", u"200 ml", u"1 lt", u"2,5 lt", u"6'lı"};
const std::array kUnits = {u"Adet", u"Kg", u"Lt", u"Paket", u"Koli"};
const std::array kNotes = {u"Soğuk zincirde saklayınız", u"Kampanyalı ürün",
                           u"İthal ürün, gümrük belgesi dosyada", u"Raf ömrü kısa; önce çıkan satılır",
                           u"Tedarikçi değişti (Ağustos)"};
const std::array kFirstNames = {u"Ayşe",  u"Mehmet", u"Gülşen", u"İbrahim", u"Çağlar", u"Şükrü",
                                u"Özlem", u"Ümit",   u"Işıl",   u"Doğan",   u"Gökhan", u"Büşra"};
const std::array kLastNames = {u"Yılmaz", u"Şahin",  u"Çelik",   u"Öztürk", u"Aydın", u"Kılıç",
                               u"Güneş",  u"Yıldız", u"Erdoğan", u"Koç",    u"Kaya",  u"Arslan"};
const std::array kTradeSuffixes = {u"Gıda Ltd. Şti.", u"Ticaret A.Ş.", u"Market", u"Toptan Gıda",
                                   u"ve Oğulları"};
const std::array kTaxOffices = {u"Kadıköy",   u"Beşiktaş", u"Çankaya", u"Üsküdar",
                                u"Karşıyaka", u"Nilüfer",  u"Şişli",   u"Muratpaşa"};
const std::array kStreets = {u"Atatürk Cad.", u"İstiklal Sok.", u"Cumhuriyet Mah. Gül Sok.",
                             u"Çarşı Cad.",   u"İnönü Bulvarı", u"Şehit Öğretmen Sok."};
const std::array kCities = {u"Kadıköy/İSTANBUL", u"Çankaya/ANKARA",    u"Bornova/İZMİR",
                            u"Osmangazi/BURSA",  u"Muratpaşa/ANTALYA", u"Selçuklu/KONYA"};

class Values {
public:
    explicit Values(int rows) : m_random(std::uint64_t(rows) * 7919u + 20240101u) { }

    int below(int n) { return int(m_random() % std::uint64_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // Two decimals, like shop prices and amounts.
    double amount(double low, double high)
    {
        const double value = low + (high - low) * double(m_random() % 1000000) / 1000000.0;
        return std::round(value * 100.0) / 100.0;
    }
    template <typename Array> QString pick(const Array& items)
    {
        return QString::fromUtf16(items[std::size_t(below(int(items.size())))]);
    }

private:
    std::mt19937_64 m_random;
};

QByteArray text(const QString& value)
{
    return toWindows1254(value);
}

QString groupName(int id)
{
    return QStringLiteral("%1 %2")
        .arg(QString::fromUtf16(kGroupNames[std::size_t(id) % kGroupNames.size()]))
        .arg(id);
}

// Sets a parameter to a text, or to NULL in about nullPercent of the rows.
auto textOrNull(DescriptorArea& in, Values& v)
{
    return [&in, &v](int index, const QString& value, int nullPercent) {
        if (v.chance(nullPercent))
            in.setNull(index);
        else
            in.setText(index, text(value));
    };
}

// Parameter positions follow the column lists of the statements below.
void insertGroups(Attachment& db, Transaction& tr, int groups)
{
    Statement insert(db);
    insert.prepare(tr, "insert into T_GRUBU (GRUBU_ID, GRUBU, SIRA_NO, KISA_YOL) values (?, ?, ?, ?)");
    DescriptorArea in;
    insert.describeParameters(in);
    Values v(groups);
    for (int id = 1; id <= groups; ++id) {
        in.setInteger(0, id);
        in.setText(1, text(groupName(id)));
        if (v.chance(10))
            in.setNull(2);
        else
            in.setInteger(2, id % 1000);
        if (v.chance(60))
            in.setNull(3);
        else
            in.setText(3, text(QStringLiteral("F%1").arg(1 + v.below(12))));
        insert.execute(tr, &in);
    }
}

void insertCards(Attachment& db, Transaction& tr, int rows, int groups)
{
    static const char* const columns =
        "STOK_ID, STOK_ADI, SATIS_FIYATI, ALIS_FIYATI, GRUBU, GRUBU_ID, EK_MENU, STOK_KODU, SIRA_NO, "
        "RESIM_YERI, BIRIM, STOK_TIPI, STOK_TIPI_ID, GIREN, CIKAN, ENVANTER, AKTIFLIK, MALIYET, "
        "SATIS_FIYATI_2, BARKOD, KISA_YOL, KDV, SATIS_ISKONTO, ALIS_ISKONTO, A_KDV, S_KDV, SON_ALIS, "
        "SON_SATIS, ACIKLAMA, KAR_MARJI, YERLI_URUN_FT, AGIRLIK_TIPI, TERAZI_PLU, KRITIK_SEVIYE, "
        "BIRIM_AGIRLIK_FIYAT, AGIRLIK, KAPMANYA, KMP_M, KMP_M2";
    QByteArray sql = QByteArray("insert into T_STOK (") + columns + ") values (?";
    for (int i = 1; i < 39; ++i)
        sql += ", ?";
    sql += ")";
    Statement insert(db);
    insert.prepare(tr, sql);
    DescriptorArea in;
    insert.describeParameters(in);
    Values v(rows);
    const auto maybeDouble = [&](int index, double value, int nullPercent) {
        if (v.chance(nullPercent))
            in.setNull(index);
        else
            in.setDouble(index, value);
    };
    const auto maybeText = textOrNull(in, v);
    for (int id = 1; id <= rows; ++id) {
        const int group = 1 + id % groups;
        const double sale = v.amount(0.5, 2500.0);
        const double purchase = std::round(sale * 0.72 * 100.0) / 100.0;
        // Stock on hand of every sign: mostly positive, some zero, some sold short.
        double onHand = 0;
        switch (v.below(10)) {
        case 0: onHand = 0; break;
        case 1: onHand = -v.amount(0.01, 40); break;
        case 2: onHand = v.amount(0.001, 1); break;
        default: onHand = v.amount(1, 400);
        }
        const double received = std::max(onHand, 0.0) + v.amount(0, 500);
        in.setInteger(0, id);
        in.setText(1,
                   text(QStringLiteral("%1 %2 %3").arg(v.pick(kBrands), v.pick(kProducts), v.pick(kSizes))));
        maybeDouble(2, sale, 3);
        if (v.chance(15))
            in.setDouble(3, 0);
        else
            maybeDouble(3, purchase, 5);
        maybeText(4, groupName(group), 5);
        in.setInteger(5, group);
        maybeText(6, QStringLiteral("Menü %1").arg(v.below(9)), 90);
        in.setText(7, text(QStringLiteral("STK-%1").arg(id, 6, 10, QLatin1Char('0'))));
        in.setInteger(8, id);
        maybeText(9, QStringLiteral("C:\\Resimler\\Ürün\\%1.jpg").arg(id), 70);
        in.setText(10, text(v.pick(kUnits)));
        in.setText(11, text(v.chance(95) ? QStringLiteral("Ticari Mal") : QStringLiteral("Hizmet")));
        in.setInteger(12, v.chance(95) ? 1 : 2);
        in.setDouble(13, received);
        in.setDouble(14, received - onHand);
        if (v.chance(3))
            in.setNull(15);
        else
            in.setDouble(15, onHand);
        in.setInteger(16, id % 10 == 0 ? 0 : 1);
        if (v.chance(20))
            in.setDouble(17, v.chance(50) ? 0.0 : -v.amount(0.01, 5));
        else
            maybeDouble(17, std::round(purchase * 1.03 * 100.0) / 100.0, 10);
        maybeDouble(18, sale * 0.95, 60);
        maybeText(
            19, QStringLiteral("869%1").arg(qint64(id) * 7919 % 10000000000LL, 10, 10, QLatin1Char('0')), 8);
        maybeText(20, QStringLiteral("F%1").arg(1 + v.below(12)), 85);
        const int vat = std::array{1, 8, 10, 18, 20}[std::size_t(v.below(5))];
        in.setDouble(21, vat);
        maybeDouble(22, v.chance(80) ? 0.0 : 5.0, 10);
        maybeDouble(23, v.chance(80) ? 0.0 : 2.5, 10);
        in.setText(24, text(QStringLiteral("%%1").arg(vat)));
        in.setText(25, text(QStringLiteral("%%1").arg(vat)));
        if (v.chance(25))
            in.setDouble(26, v.chance(50) ? 0.0 : -1.0);
        else
            maybeDouble(26, purchase, 10);
        maybeDouble(27, sale, 20);
        maybeText(28, v.pick(kNotes), 75);
        maybeDouble(29, 28.0 + v.below(20), 20);
        maybeText(30, v.chance(70) ? QStringLiteral("Evet") : QStringLiteral("Hayır"), 30);
        maybeText(31, v.chance(80) ? QStringLiteral("Adetli") : QStringLiteral("Tartılı"), 30);
        if (v.chance(85))
            in.setNull(32);
        else
            in.setInteger(32, 20000 + id % 80000);
        maybeDouble(33, double(v.below(50)), 40);
        maybeDouble(34, v.amount(10, 900), 85);
        maybeDouble(35, v.amount(0.05, 25), 70);
        maybeText(36, QStringLiteral("Kampanya %1").arg(v.below(30)), 90);
        maybeDouble(37, double(1 + v.below(5)), 90);
        maybeDouble(38, v.amount(1, 100) * 1e6, 90);
        insert.execute(tr, &in);
    }
}

void insertAccounts(Attachment& db, Transaction& tr, int rows)
{
    Statement insert(db);
    insert.prepare(tr, "insert into T_CARI (CARI_ID, CARI_KODU, CARI_ADI, TELEFON, BORC, ALACAK, BAKIYE, "
                       "TELEFON2, VERGI_NO, VERGI_DAIRESI, ADRES, ADRES2, ACIKLAMA, AKTIFLIK) "
                       "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    DescriptorArea in;
    insert.describeParameters(in);
    Values v(rows + 1);
    const auto maybeText = textOrNull(in, v);
    for (int id = 1; id <= rows; ++id) {
        in.setInteger(0, id);
        in.setText(1, text(QStringLiteral("C%1").arg(id, 6, 10, QLatin1Char('0'))));
        const QString person = v.pick(kFirstNames) + QLatin1Char(' ') + v.pick(kLastNames);
        in.setText(
            2, text(v.chance(40) ? v.pick(kLastNames) + QLatin1Char(' ') + v.pick(kTradeSuffixes) : person));
        maybeText(3,
                  QStringLiteral("0(%1) %2 %3 %4")
                      .arg(212 + v.below(300))
                      .arg(100 + v.below(900))
                      .arg(10 + v.below(90))
                      .arg(10 + v.below(90)),
                  10);
        // Debit and credit totals; the balance follows them, of every sign.
        double debit = v.amount(0, 50000);
        double credit = 0;
        switch (v.below(4)) {
        case 0: credit = debit; break;                      // settled
        case 1: credit = debit + v.amount(1, 5000); break;  // in credit
        default: credit = v.amount(0, debit); break;        // owes
        }
        if (v.chance(5)) {
            in.setNull(4);
            in.setNull(5);
            in.setNull(6);
        } else {
            in.setDouble(4, debit);
            in.setDouble(5, credit);
            in.setDouble(6, std::round((debit - credit) * 100.0) / 100.0);
        }
        maybeText(7,
                  QStringLiteral("0(5%1) %2 %3 %4")
                      .arg(30 + v.below(70))
                      .arg(100 + v.below(900))
                      .arg(10 + v.below(90))
                      .arg(10 + v.below(90)),
                  70);
        maybeText(8, QStringLiteral("%1").arg(1000000000LL + qint64(id) * 104729 % 9000000000LL), 20);
        maybeText(9, v.pick(kTaxOffices), 20);
        maybeText(10, QStringLiteral("%1 No:%2").arg(v.pick(kStreets)).arg(1 + v.below(150)), 10);
        maybeText(11, v.pick(kCities), 30);
        maybeText(12,
                  QStringLiteral("Ödeme vadesi %1 gün; şube: %2")
                      .arg(15 * (1 + v.below(6)))
                      .arg(v.pick(kTaxOffices)),
                  70);
        in.setInteger(13, id % 10 == 0 ? 0 : 1);
        insert.execute(tr, &in);
    }
}

}  // namespace

int activeRows(int rows)
{
    return rows - rows / 10;
}

void generateSource(const QString& path, int rows)
{
    QFile::remove(path);
    korvat::test::TestDatabase::create(path).detach();
    const std::shared_ptr<ClientLibrary> client = ClientLibrary::load();
    Attachment db(*client, path, korvat::test::kTestUser, korvat::test::kTestPassword);
    Transaction tr(db, Transaction::Access::ReadWrite);
    const int groups = std::min(rows, kMaxGroups);
    insertGroups(db, tr, groups);
    insertCards(db, tr, rows, groups);
    insertAccounts(db, tr, rows);
    tr.commit();
}

}  // namespace bench
