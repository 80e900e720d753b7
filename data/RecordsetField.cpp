#include "data/RecordsetField.h"

RecordsetField RecordsetField::named(const QString &name, Type type)
{
    RecordsetField field;
    field.name = name;
    field.type = type;
    return field;
}

RecordsetField::Type RecordsetField::typeFromDeclaration(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    auto has = [&](const char *part) { return type.contains(QLatin1String(part)); };
    if (has("BOOL") || has("BIT") || has("YESNO"))
        return Type::Bool;
    if (has("DATE") || has("TIME"))
        return Type::DateTime;
    if (has("INT") || has("BYTE"))
        return Type::Integer;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("SINGLE") || has("NUMERIC"))
        return Type::Real;
    if (has("LONGTEXT") || has("MEMO") || has("CLOB"))
        return Type::Memo;
    if (has("CHAR") || has("TEXT"))
        return Type::Text;
    return Type::Variant;
}
