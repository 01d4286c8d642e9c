#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QString>

// One small chrome button of a floating panel: a symbol in a tint, on an optional rounded background.
class FloatingPanelChromeButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanelChromeButton)
public:
    explicit FloatingPanelChromeButton(QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    // The symbol's name in the symbol set, its size in points and its weight.
    void setSymbol(const QString &name, double pointSize, QFont::Weight weight);
    QColor tint() const { return m_tint; }
    void setTint(const QColor &tint);
    QColor background() const { return m_background; }
    void setBackground(const QColor &background, double cornerRadius);

    QSize sizeHint() const override { return QSize(17, 17); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    double m_pointSize = 10;
    QFont::Weight m_weight = QFont::Medium;
    QColor m_tint = Qt::white;
    QColor m_background = Qt::transparent;
    double m_cornerRadius = 0;
};
