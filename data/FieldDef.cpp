#include "FieldDef.h"

namespace korvat {

QString fieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::SmallInt: return QStringLiteral("Smallint");
    case FieldKind::Integer: return QStringLiteral("Integer");
    case FieldKind::Float: return QStringLiteral("Float");
    case FieldKind::String: return QStringLiteral("String");
    }
    return QString();
}

}  // namespace korvat
