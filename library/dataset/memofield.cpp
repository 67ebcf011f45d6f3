#include "library/dataset/memofield.h"

TMemoField::TMemoField(QObject* parent) : TField(storage::FieldType::Memo, parent) {}

QString TMemoField::AsString() const { return QString::fromLatin1(AsBytes()); }

void TMemoField::setAsString(const QString& value)
{
    for (qsizetype i = 0; i < value.size(); ++i)
        if (value.at(i).unicode() > 0xFF)
            fail(QStringLiteral("Field '%1' holds bytes; the character U+%2 at position %3 is not one")
                     .arg(FieldName())
                     .arg(value.at(i).unicode(), 4, 16, QLatin1Char('0'))
                     .arg(i + 1));
    setAsBytes(value.toLatin1());
}

QByteArray TMemoField::AsBytes() const
{
    const storage::Value& value = rawValue();
    return value ? QByteArray(value->data(), qsizetype(value->size())) : QByteArray();
}

void TMemoField::setAsBytes(const QByteArray& bytes) { setRawValue(bytes.toStdString()); }
