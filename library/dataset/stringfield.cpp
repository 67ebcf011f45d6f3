#include "library/dataset/stringfield.h"

TStringField::TStringField(QObject* parent) : TField(storage::FieldType::String, parent) {}

QString TStringField::AsString() const
{
    const storage::Value& value = rawValue();
    return value ? QString::fromStdString(*value) : QString();
}

void TStringField::setAsString(const QString& value)
{
    // Size counts characters, not UTF-16 units or bytes.
    const qsizetype characters = value.toUcs4().size();
    if (Size() > 0 && characters > Size())
        fail(QStringLiteral("Value for field '%1' is %2 characters long; the field holds at most %3")
                 .arg(FieldName())
                 .arg(characters)
                 .arg(Size()));
    setRawValue(value.toStdString());
}
