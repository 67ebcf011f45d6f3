#pragma once
// The font dialog of a rich edit: the system's font chooser (face, style,
// size, strikeout and underline) with a colour list beside it. The colour
// list starts on the selection's colour, or on nothing when the selection
// has several; ColorChanged() says whether the user picked one, so that a
// selection of mixed colours keeps them when the colour was left alone.

#include <QColor>
#include <QDialog>
#include <QFont>

#include <optional>

class QComboBox;
class QFontDialog;

class TwwFontDialog : public QDialog {
    Q_OBJECT
public:
    explicit TwwFontDialog(QWidget* parent);

    void setSelectedFont(const QFont& font);
    QFont SelectedFont() const;
    // nullopt: mixed colours; an invalid colour: automatic.
    void setSelectedColor(const std::optional<QColor>& color);
    QColor SelectedColor() const;  // invalid for automatic
    bool ColorChanged() const { return m_colorChanged; }

    QFontDialog* fontChooser() const { return m_chooser; }
    QComboBox* colorList() const { return m_colors; }

private:
    QFontDialog* m_chooser = nullptr;
    QComboBox* m_colors = nullptr;
    bool m_colorChanged = false;
    bool m_settingColor = false;
};
