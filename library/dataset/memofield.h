#pragma once
// A memo field: bytes of any length (here the rich text of a text), read and
// written as a whole.
//
// The bytes are the value; AsString maps each byte to the character of the
// same number (Latin-1), so any stored memo reads back and writes again
// unchanged. A string holding a character above U+00FF cannot be stored that
// way and is refused; callers with other text use setAsBytes.

#include "library/dataset/field.h"

#include <QByteArray>

class TMemoField : public TField {
    Q_OBJECT
public:
    explicit TMemoField(QObject* parent = nullptr);

    QString AsString() const override;
    void setAsString(const QString& value) override;

    QByteArray AsBytes() const;
    void setAsBytes(const QByteArray& bytes);
};
