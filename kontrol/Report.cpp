#include "Report.h"

#include "KontrolError.h"
#include "PackedValues.h"

#include <QFile>
#include <QSaveFile>
#include <map>

namespace korvat::kontrol {

namespace {

const RegionalSettings display{QLatin1Char(',')};

QString cell(const QString& text, int width)
{
    return text.rightJustified(width);
}

QString cell(qint64 value, int width)
{
    return cell(QString::number(value), width);
}

QString label(const QString& text)
{
    return text.leftJustified(28);
}

QString entryMode(StockEntries mode)
{
    switch (mode) {
    case StockEntries::All: return QStringLiteral("her aktif kart için");
    case StockEntries::PositiveOnly: return QStringLiteral("yalnız pozitif stoklu kartlar için");
    case StockEntries::None: break;
    }
    return QStringLiteral("yok (stok bakiyesi aktarılmadı)");
}

QString csvField(QString text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}

QString describe(const Difference& difference)
{
    QString line = differenceLabel(difference.kind, difference.area) + QStringLiteral(": ");
    line += difference.code.isEmpty() ? QStringLiteral("(boş kod)") : difference.code;
    if (!difference.name.isEmpty())
        line += QStringLiteral(" (%1)").arg(difference.name);
    if (!difference.field.isEmpty())
        line += QStringLiteral(", %1: kaynak «%2», hedef «%3»")
                    .arg(difference.field, difference.sourceValue, difference.targetValue);
    return line;
}

}  // namespace

void writeSummary(QTextStream& out, const Options& options, const Outcome& outcome)
{
    const Totals& totals = outcome.totals;
    out << "Korvat Kontrol\n";
    out << "Kaynak: " << options.source << '\n';
    out << "Hedef:  " << options.target << '\n';
    out << "Devir tarihi: "
        << (outcome.date ? outcome.date->toString(QStringLiteral("dd.MM.yyyy"))
                         : QStringLiteral("bulunamadı"))
        << (options.date ? QString() : QStringLiteral(" (hedefteki en yeni açılış hareketlerinden)")) << '\n';
    out << "Stok açılış hareketleri: " << entryMode(options.stockEntries) << "\n\n";

    out << label(QString()) << cell(QStringLiteral("Kaynak"), 10) << cell(QStringLiteral("Hedefte"), 10)
        << cell(QStringLiteral("Eksik"), 8) << cell(QStringLiteral("Fazla"), 8) << '\n';
    const auto rows = [&out](const QString& name, const RowCounts& counts) {
        out << label(name) << cell(counts.source, 10) << cell(counts.found, 10) << cell(counts.missing, 8)
            << cell(counts.extra, 8) << '\n';
    };
    rows(QStringLiteral("Gruplar"), totals.groups);
    rows(QStringLiteral("Stok kartları"), totals.cards);
    rows(QStringLiteral("Cari hesaplar"), totals.accounts);
    out << '\n';

    out << label(QString()) << cell(QStringLiteral("Beklenen"), 10) << cell(QStringLiteral("O tarihte"), 10)
        << '\n';
    out << label(QStringLiteral("Stok açılış hareketleri")) << cell(totals.stockEntries.expected, 10)
        << cell(totals.stockEntries.found, 10) << '\n';
    out << label(QStringLiteral("Cari açılış hareketleri")) << cell(totals.accountEntries.expected, 10)
        << cell(totals.accountEntries.found, 10) << '\n';
    out << '\n';

    const auto sum = [&out](const QString& name, double source, double target, bool equal) {
        out << label(name) << cell(textForm(source, display), 22) << cell(textForm(target, display), 22)
            << "  " << (equal ? "eşit" : "FARKLI") << '\n';
    };
    out << label(QString()) << cell(QStringLiteral("Kaynak"), 22) << cell(QStringLiteral("Hedef"), 22)
        << '\n';
    sum(QStringLiteral("Stok miktarı toplamı"), totals.sourceStock, totals.targetStock,
        totals.stockTotalsEqual);
    sum(QStringLiteral("Bakiye toplamı"), totals.sourceBalance, totals.targetBalance,
        totals.balanceTotalsEqual);
    out << '\n';

    if (outcome.differences.empty()) {
        out << "Fark yok.\n";
    } else {
        // Per kind, in the order of the kinds and areas.
        std::map<std::pair<int, int>, qint64> perKind;
        for (const Difference& difference : outcome.differences)
            ++perKind[{int(difference.kind), int(difference.area)}];
        out << "Farklar:\n";
        for (const auto& [kind, count] : perKind)
            out << "  " << label(differenceLabel(DifferenceKind(kind.first), Area(kind.second))) << ' '
                << cell(count, 8) << '\n';
    }
    if (outcome.unexpectedStockEntries)
        out << "Not: hedefte aktarılmış kartların o tarihli stok açılış hareketleri var; "
               "stok bakiyesi aktarıldıysa --stok-bakiyesi ya da --pozitif ile çalıştırın.\n";
    if (!outcome.date)
        out << "Not: hedefte aktarılmış kayıtlara ait açılış hareketi bulunamadı; tarihi --tarih ile "
               "verin.\n";
}

void writeDifferences(QTextStream& out, const Outcome& outcome, int limit, bool csvWritten)
{
    const qsizetype count = qsizetype(outcome.differences.size());
    if (count == 0) {
        out << "\nSonuç: hedef kaynakla uyumlu.\n";
        return;
    }
    out << '\n';
    for (qsizetype i = 0; i < count && i < limit; ++i)
        out << "  " << describe(outcome.differences[std::size_t(i)]) << '\n';
    if (count > limit)
        out << "  … ve " << (count - limit) << " fark daha"
            << (csvWritten ? QStringLiteral(" (tümü CSV dosyasında)")
                           : QStringLiteral(" (tümü için --csv DOSYA)"))
            << '\n';
    out << "\nSonuç: " << count << " fark bulundu.\n";
}

void writeCsv(const QString& path, const Outcome& outcome)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw KontrolError(QStringLiteral("CSV dosyası yazılamadı: %1 (%2)").arg(path, file.errorString()));
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    stream << "tür,kod,ad,alan,kaynak değeri,hedef değeri\n";
    for (const Difference& difference : outcome.differences) {
        const QStringList fields = {differenceLabel(difference.kind, difference.area),
                                    difference.code,
                                    difference.name,
                                    difference.field,
                                    difference.sourceValue,
                                    difference.targetValue};
        QStringList escaped;
        for (const QString& field : fields)
            escaped << csvField(field);
        stream << escaped.join(QLatin1Char(',')) << '\n';
    }
    stream.flush();
    if (!file.commit())
        throw KontrolError(QStringLiteral("CSV dosyası yazılamadı: %1 (%2)").arg(path, file.errorString()));
}

}  // namespace korvat::kontrol
