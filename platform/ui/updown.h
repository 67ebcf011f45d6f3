#pragma once
// An up-down spinner: two small arrow buttons that step a whole number
// between a lowest and a highest value and write it into an associated edit.
//
// The edit stays free text: the user may type anything into it, and whoever
// reads the number reads the edit. A step starts from the edit's text when
// that is a whole number (brought into the range), so typing 30 and pressing
// up gives 40; otherwise it starts from the spinner's own position. The up
// and down arrow keys in the edit step the spinner as its buttons do; holding
// a button down repeats the step.

#include <QWidget>

class QLineEdit;
class QTimer;

class UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int min READ min WRITE setMin)
    Q_PROPERTY(int max READ max WRITE setMax)
    Q_PROPERTY(int increment READ increment WRITE setIncrement)
    Q_PROPERTY(int position READ position WRITE setPosition)

public:
    explicit UpDown(QWidget* parent = nullptr);

    int min() const { return m_min; }
    void setMin(int min);
    int max() const { return m_max; }
    void setMax(int max);
    int increment() const { return m_increment; }
    void setIncrement(int increment);
    // Brought into [min, max]; written into the associated edit.
    int position() const { return m_position; }
    void setPosition(int position);

    // The edit the spinner writes its position into (its text is set at
    // once) and whose arrow keys step it. Null detaches it.
    QLineEdit* associate() const { return m_associate; }
    void setAssociate(QLineEdit* edit);

    // Steps up (towards max) for a positive count, down for a negative one.
    void step(int count);

signals:
    void positionChanged(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int clamp(long long value) const;
    void writeAssociate();
    void repeatStep();

    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_position = 0;
    QLineEdit* m_associate = nullptr;
    QTimer* m_repeat = nullptr;
    int m_pressed = 0;  // +1 while the up button is held, -1 for down
};
