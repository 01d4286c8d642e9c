#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QMenu;

// A controller of one page: a QObject that builds its root widget on first use and owns it. The root may
// be placed into another widget and taken out again; whichever of the two goes first, it is deleted once.
class TovikViewController : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikViewController)
public:
    explicit TovikViewController(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    ~TovikViewController() override { delete m_view.data(); }

    QWidget *view()
    {
        if (!m_view) {
            m_view = loadView();
        }
        return m_view;
    }
    bool isViewLoaded() const { return !m_view.isNull(); }

    // Entries of the page's own for a menu that hosts it (a floating panel's); none by default.
    virtual void addContextMenuEntries(QMenu &) {}

protected:
    virtual QWidget *loadView() = 0;

private:
    QPointer<QWidget> m_view;
};
