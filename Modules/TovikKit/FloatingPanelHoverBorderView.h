#pragma once

#include <QRectF>
#include <QWidget>

// The thin light border stroked around a text-only panel while the mouse is over it; never takes mouse
// events.
class FloatingPanelHoverBorderView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanelHoverBorderView)
public:
    explicit FloatingPanelHoverBorderView(QWidget *parent = nullptr);

    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

    // The stroked rounded rectangle and its radius for a view of `bounds`.
    static QRectF borderRect(const QSizeF &bounds);
    static double borderRadius(double cornerRadius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_cornerRadius = 12;
};
