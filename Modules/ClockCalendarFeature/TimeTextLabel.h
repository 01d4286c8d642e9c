#pragma once

#include "TimeGlyphImages.h"

#include <QFont>
#include <QString>
#include <QWidget>

// A single-line, centred time text ("00:12:07") in the widget's font and its palette's window-text colour,
// drawn from cached digit images so that a running stopwatch repaints only the digits that change. A text
// longer than "00:00:00" that would not fit the width at that font is drawn smaller instead of cut.
class TimeTextLabel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimeTextLabel)
public:
    explicit TimeTextLabel(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The font the text is drawn in.
    QFont shownFont() const { return m_shownFont; }

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fitText();

    QString m_text;
    QFont m_shownFont;
    TimeGlyphImages m_glyphs;
};
