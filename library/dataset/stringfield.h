#pragma once
// A string field: text of at most Size characters, stored as UTF-8.

#include "library/dataset/field.h"

class TStringField : public TField {
    Q_OBJECT
public:
    explicit TStringField(QObject* parent = nullptr);

    QString AsString() const override;
    // A value longer than Size characters is refused, not cut: cutting would
    // lose what was typed without a word.
    void setAsString(const QString& value) override;
};
