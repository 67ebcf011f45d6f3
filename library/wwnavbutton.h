#pragma once
// One button of a record navigator: a flat picture button whose style selects
// its operation, its glyphs and its default hint.
//
// It acts when the left mouse button is released over it. A movement button
// held down repeats: the first repeat after the navigator's InitialDelay, then
// every Interval, for as long as the left button stays down over it; moving off
// the button stops the repeat, moving back starts it again with InitialDelay.
// A failing table operation stops the repeat and its error reaches the
// application's error box. A disabled button never acts.

#include "library/wwcustomdialog.h"
#include "library/wwnavtypes.h"

#include <QAbstractButton>
#include <QPointer>

#include <functional>
#include <memory>

class TwwDBNavigator;
class TwwRepeatTimer;
class TwwTable;

class TwwNavButton : public QAbstractButton {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TwwNavButton* Sender)>;
    using TUpdateStateEvent =
        std::function<void(TwwDBNavigator* Sender, TwwNavButton* Button, TwwUpdateCause Cause)>;

    // Joins the navigator's buttons at the end.
    explicit TwwNavButton(TwwDBNavigator* navigator, TwwNavButtonStyle style = nbsCustom);
    ~TwwNavButton() override;

    TwwDBNavigator* Navigator() const { return m_navigator; }

    TwwNavButtonStyle Style() const { return m_style; }
    void setStyle(TwwNavButtonStyle style);
    // Position among the navigator's buttons; setting it moves the button.
    int Index() const;
    void setIndex(int index);
    QString Hint() const { return m_hint; }
    void setHint(const QString& hint);
    // Whether the hint shows on hovering (this button's own setting).
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show);
    // The record dialog of a dialog style, made on first use.
    TwwCustomDialog* Dialog() const { return m_dialog; }
    void setDialog(TwwCustomDialog* dialog) { m_dialog = dialog; }
    bool LineBreak() const { return m_lineBreak; }
    void setLineBreak(bool lineBreak);

    // The button's own enabled state, whatever its parents'.
    bool Enabled() const { return !testAttribute(Qt::WA_Disabled); }

    // The hint shown: its own, or the style's default, with "%d" replaced by
    // the navigator's page size.
    QString effectiveHint() const;
    void refreshHint();

    // Performs the button's operation, as a release over it does.
    void Click();
    // Recomputes the enabled state for a notification of `cause`.
    void UpdateState(TwwUpdateCause cause);
    // A repeat timer exists: the button is held down and repeating.
    bool Repeating() const { return bool(m_timer); }

    static bool repeats(TwwNavButtonStyle style);
    // The shared image list: the enabled glyph of a style at 2 x ordinal, the
    // disabled one right after it; 18 by 18 pixels each.
    static const QImage& glyph(int index);

    TNotifyEvent OnClick;
    TNotifyEvent OnAfterCreateDialog;
    TNotifyEvent OnRowChanged;
    TUpdateStateEvent OnUpdateState;

    QSize sizeHint() const override { return {25, 25}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class TwwNavButtons;

    void perform(TwwTable* table);
    void deleteRecord(TwwTable* table);
    void openDialog(TwwTable* table);
    TwwCustomDialog* findDialog(TwwTable* table);
    bool computeEnabled(TwwUpdateCause cause) const;

    void press();
    void startRepeat();
    void stopRepeat();
    void repeatTick();

    TwwDBNavigator* m_navigator;
    TwwNavButtonStyle m_style;
    int m_index = -1;
    QString m_hint;
    bool m_showHint = true;
    bool m_lineBreak = false;
    QPointer<TwwCustomDialog> m_dialog;

    bool m_held = false;   // the left button went down on this button
    bool m_over = false;   // ... and the pointer is over it
    bool m_hover = false;  // the pointer rests over the button
    std::unique_ptr<TwwRepeatTimer> m_timer;
    std::unique_ptr<TwwRepeatTimer> m_retired;  // stopped during its own tick
    bool m_inTick = false;
};
