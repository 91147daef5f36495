#include "Options.h"

#include <QCommandLineParser>

namespace korvat::kontrol {

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

// The parser's own help and errors are English, so both are written here.
struct Names {
    QCommandLineOption date{QStringLiteral("tarih"), QString(), QStringLiteral("GG.AA.YYYY")};
    QCommandLineOption stock{QStringLiteral("stok-bakiyesi")};
    QCommandLineOption positive{QStringLiteral("pozitif")};
    QCommandLineOption csv{QStringLiteral("csv"), QString(), QStringLiteral("DOSYA")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("yardim"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("surum"), QStringLiteral("version")}};
};

CommandLine failure(const QString& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.text = message + QStringLiteral("\nYardım için: Korvat_Kontrol --help");
    return result;
}

}  // namespace

QString helpText()
{
    return QStringLiteral(
        "Kullanım: Korvat_Kontrol [seçenekler] KAYNAK.FDB HEDEF.FDB\n"
        "\n"
        "Bir devirden sonra hedef veritabanını kaynağıyla karşılaştırır: gruplar,\n"
        "aktif stok kartları, aktif cari hesaplar ve açılış hareketleri kodlarına\n"
        "göre eşleştirilir. Veritabanlarına hiçbir şey yazılmaz.\n"
        "Adlar dosya yolu ya da sunucu adı (sunucu:yol, sunucu/port:yol) olabilir.\n"
        "\n"
        "Seçenekler:\n"
        "  --tarih GG.AA.YYYY  Devir tarihi (varsayılan: en yeni açılış hareketlerinin tarihi)\n"
        "  --stok-bakiyesi     Stok bakiyesi aktarıldı: her kartın açılış hareketi olmalı\n"
        "  --pozitif           Yalnız pozitif stokların bakiyesi aktarıldı (--stok-bakiyesi sayılır)\n"
        "  --csv DOSYA         Bütün farkları UTF-8 CSV dosyasına yazar\n"
        "  -h, --help          Bu yardımı gösterir\n"
        "  -v, --version       Sürümü gösterir\n"
        "\n"
        "Çıkış kodu: 0 her şey eşleşiyor, 1 fark var, 2 kontrol yapılamadı.\n");
}

QString versionText()
{
    return QStringLiteral("Korvat_Kontrol " KORVAT_VERSION "\n");
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    Names names;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({names.date, names.stock, names.positive, names.csv, names.help, names.version});
    if (!parser.parse(QStringList{QStringLiteral("Korvat_Kontrol")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return failure(QStringLiteral("Bilinmeyen seçenek: %1%2")
                               .arg(unknown.first().size() > 1 ? QStringLiteral("--") : QStringLiteral("-"),
                                    unknown.first()));
        return failure(QStringLiteral("Bir seçeneğin değeri eksik (%1)").arg(parser.errorText()));
    }

    CommandLine result;
    if (parser.isSet(names.help)) {
        result.action = CommandLine::Action::Help;
        result.text = helpText();
        return result;
    }
    if (parser.isSet(names.version)) {
        result.action = CommandLine::Action::Version;
        result.text = versionText();
        return result;
    }

    const QStringList databases = parser.positionalArguments();
    if (databases.size() != 2)
        return failure(QStringLiteral("İki veritabanı adı gerekli: KAYNAK.FDB HEDEF.FDB"));
    Options& options = result.options;
    options.source = databases[0];
    options.target = databases[1];
    if (parser.isSet(names.date)) {
        const QString text = parser.value(names.date);
        QDate date = QDate::fromString(text, dateFormat);
        if (!date.isValid())
            date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
        if (!date.isValid())
            return failure(QStringLiteral("Geçersiz tarih: %1 (GG.AA.YYYY bekleniyor)").arg(text));
        options.date = date;
    }
    // Positive-only counts only while stock balances were carried at all.
    if (parser.isSet(names.positive))
        options.stockEntries = StockEntries::PositiveOnly;
    else if (parser.isSet(names.stock))
        options.stockEntries = StockEntries::All;
    options.csvPath = parser.value(names.csv);
    result.action = CommandLine::Action::Check;
    return result;
}

}  // namespace korvat::kontrol
