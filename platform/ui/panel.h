#pragma once
// A panel with the classic two bevels: an outer and an inner one, each none,
// raised or lowered, one pixel wide, and an optional centred caption that the
// panel's children may cover.

#include <QWidget>

enum class BevelCut { bvNone, bvLowered, bvRaised };

// Draws a one-pixel bevel just inside `r`; returns the rectangle inside it.
class QPainter;
QRect drawBevel(QPainter& painter, QRect r, BevelCut cut, const QPalette& palette);

class Panel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(BevelCut bevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(BevelCut bevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(bool captionVisible READ captionVisible WRITE setCaptionVisible)

public:
    explicit Panel(QWidget* parent = nullptr);

    BevelCut bevelOuter() const { return m_outer; }
    void setBevelOuter(BevelCut cut);
    BevelCut bevelInner() const { return m_inner; }
    void setBevelInner(BevelCut cut);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    bool captionVisible() const { return m_captionVisible; }
    void setCaptionVisible(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BevelCut m_outer = BevelCut::bvRaised;
    BevelCut m_inner = BevelCut::bvNone;
    QString m_caption;
    bool m_captionVisible = true;
};
