#pragma once
// What a name in RTF (a font's, an object's class or file) can hold: no ';',
// which ends it, no control characters, no white space at either end. The
// reader keeps names so and the writer writes them so, which keeps a name
// the same through any number of round trips.

#include <QString>

namespace RtfName {

inline QString clean(const QString& raw)
{
    QString name;
    name.reserve(raw.size());
    for (QChar c : raw)
        if (c.unicode() >= 0x20 && c != QChar(';'))
            name += c;
    return name.trimmed();
}

}  // namespace RtfName
