#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

#include <functional>

// A small round control of the stopwatch: a filled disc with a symbol and a caption under it. It acts on
// the press itself, with no wait for the release; a disabled button is dimmed and swallows presses.
class StopwatchControlButton final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StopwatchControlButton)
public:
    // Named apart from QWidget's width() and height(), which they would hide.
    static constexpr double diameter = 30;
    static constexpr double buttonWidth = 44;
    static constexpr double buttonHeight = diameter + 18;

    // Frames inside the button's bounds, y-up: the disc at the top, centred; the caption along the bottom.
    struct Frames {
        QRectF circle;
        QRectF title;
    };
    static Frames layout(const QRectF &bounds);

    StopwatchControlButton(const QColor &fill, const QString &symbol, const QString &title, QWidget *parent = nullptr);

    std::function<void()> onPress;
    // What a click does: runs onPress unless the button is disabled.
    void press();

    // The caption doubles as the tooltip and the symbol's description.
    void setSymbol(const QString &symbol, const QString &title);
    QString symbol() const { return m_symbol; }
    QString title() const { return m_title; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void pressed(QMouseEvent *event);
    const QPixmap &icon();

    QColor m_fill;
    QString m_symbol;
    QString m_title;
    QPixmap m_icon;
};
