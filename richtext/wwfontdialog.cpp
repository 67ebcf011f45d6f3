#include "richtext/wwfontdialog.h"

#include "richtext/wwrichintl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct NamedColor {
    const char* name;
    QRgb rgb;
};
// The sixteen colours a font dialog has always offered.
constexpr NamedColor namedColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},    {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};

QIcon swatch(const QColor& color)
{
    QPixmap p(16, 12);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setPen(Qt::black);
    painter.setBrush(color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush));
    painter.drawRect(0, 0, 15, 11);
    return QIcon(p);
}

}  // namespace

TwwFontDialog::TwwFontDialog(QWidget* parent) : QDialog(parent)
{
    const TwwRichEditFontLabels& t = TwwRichEditIntl::instance().FontDialog;
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(t.Caption);

    // The chooser is embedded as a plain widget, without buttons of its own.
    m_chooser = new QFontDialog(this);
    m_chooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_chooser->setWindowFlags(Qt::Widget);
    m_chooser->setSizeGripEnabled(false);

    m_colors = new QComboBox(this);
    m_colors->setObjectName(QStringLiteral("ColorList"));
    m_colors->addItem(swatch(QColor()), t.Automatic, QColor());
    for (const NamedColor& c : namedColors)
        m_colors->addItem(swatch(QColor(c.rgb)), QString::fromLatin1(c.name), QColor(c.rgb));
    auto* colorLabel = new QLabel(t.Color, this);
    colorLabel->setBuddy(m_colors);
    m_colors->setAccessibleName(QString(t.Color).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    connect(m_colors, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_settingColor)
            m_colorChanged = true;
    });

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(t.OK, QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("OKButton"));
    buttons->addButton(t.Cancel, QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colors);
    colorRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

void TwwFontDialog::setSelectedFont(const QFont& font) { m_chooser->setCurrentFont(font); }

QFont TwwFontDialog::SelectedFont() const { return m_chooser->currentFont(); }

void TwwFontDialog::setSelectedColor(const std::optional<QColor>& color)
{
    m_settingColor = true;
    int index = -1;
    if (color) {
        for (int i = 0; i < m_colors->count(); ++i)
            if (m_colors->itemData(i).value<QColor>() == *color) {
                index = i;
                break;
            }
        if (index < 0 && color->isValid()) {
            // A colour outside the list gets an entry of its own.
            m_colors->addItem(swatch(*color), color->name(QColor::HexRgb), *color);
            index = m_colors->count() - 1;
        } else if (index < 0) {
            index = 0;
        }
    }
    m_colors->setCurrentIndex(index);
    m_colorChanged = false;
    m_settingColor = false;
}

QColor TwwFontDialog::SelectedColor() const
{
    const int i = m_colors->currentIndex();
    return i < 0 ? QColor() : m_colors->itemData(i).value<QColor>();
}
