#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class TovikSettingsStore;

// The dark backing painted under a window's content, as strong as the window-background setting (read from
// the store it is given), the desktop's transparency preference and the text-only look say; it follows every change
// live, keeps the size of its parent and never takes mouse events.
class TovikWindowBackingView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikWindowBackingView)
public:
    TovikWindowBackingView(std::shared_ptr<TovikSettingsStore> store, double cornerRadius,
                           std::function<bool()> textOnly, QWidget *parent = nullptr);

    // A new backing view filling `view` and following its size, directly above `above` when that is a child of
    // `view`, else at the very back.
    static TovikWindowBackingView *install(QWidget *view, std::shared_ptr<TovikSettingsStore> store,
                                           double cornerRadius, QWidget *above, std::function<bool()> textOnly);

    bool isTextOnly() const { return m_isTextOnly; }
    void setTextOnly(bool textOnly);

    // Re-reads the setting and the preferences and repaints.
    void apply();

    double backingAlpha() const { return m_backingAlpha; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::shared_ptr<TovikSettingsStore> m_store;
    std::function<bool()> m_textOnly;
    bool m_isTextOnly = false;
    double m_cornerRadius = 0;
    double m_backingAlpha = 0;
};
