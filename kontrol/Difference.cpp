#include "Difference.h"

namespace korvat::kontrol {

QString differenceLabel(DifferenceKind kind, Area area)
{
    const bool groups = area == Area::Groups;
    const bool cards = area == Area::Cards;
    const QString row = groups  ? QStringLiteral("grup")
                        : cards ? QStringLiteral("stok kartı")
                                : QStringLiteral("cari hesap");
    const QString entry =
        cards ? QStringLiteral("stok açılış hareketi") : QStringLiteral("cari açılış hareketi");
    switch (kind) {
    case DifferenceKind::Missing: return QStringLiteral("Eksik ") + row;
    case DifferenceKind::CarriedTwice: return QStringLiteral("Birden çok aktarılmış ") + row;
    case DifferenceKind::FieldDiffers: return QStringLiteral("Farklı alan (%1)").arg(row);
    case DifferenceKind::Inactive: return QStringLiteral("Pasif ") + row;
    case DifferenceKind::MissingEntry: return QStringLiteral("Eksik ") + entry;
    case DifferenceKind::EntryDiffers: return QStringLiteral("Farklı ") + entry;
    case DifferenceKind::WrongBalance: return QStringLiteral("Farklı bakiye");
    case DifferenceKind::EntryOnWrongRow:
        return cards ? QStringLiteral("Başka karta yazılmış hareket")
                     : QStringLiteral("Başka cariye yazılmış hareket");
    case DifferenceKind::UnexpectedEntry: return QStringLiteral("Fazla ") + entry;
    case DifferenceKind::StrayEntry:
        return cards ? QStringLiteral("Aktarılmış karta ait olmayan hareket")
                     : QStringLiteral("Aktarılmış cariye ait olmayan hareket");
    case DifferenceKind::TotalDiffers: return QStringLiteral("Farklı toplam");
    }
    return QString();
}

}  // namespace korvat::kontrol
