#include "platform/ui/fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               QStringList{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
}
