#pragma once

#include <QColor>
#include <QWidget>

// A rounded surface painted in one colour under a window's content: the dark glass of a panel and its
// chrome container (no blur is promised). Never takes mouse events.
class TovikSurfaceView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikSurfaceView)
public:
    explicit TovikSurfaceView(QWidget *parent = nullptr);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fillColor = Qt::transparent;
    double m_cornerRadius = 0;
};
