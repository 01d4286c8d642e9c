#pragma once

#include "TimeGlyphImages.h"

#include <QString>
#include <QWidget>

// A single-line, centred time text ("00:12:07") in the widget's font and its palette's window-text colour,
// drawn from cached digit images so that a running stopwatch repaints only the digits that change.
class TimeTextLabel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimeTextLabel)
public:
    explicit TimeTextLabel(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    TimeGlyphImages m_glyphs;
};
