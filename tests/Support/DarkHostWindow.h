#pragma once

#include <TovikKit/TovikColors.h>

#include <QPalette>
#include <QVBoxLayout>
#include <QWidget>

// A top-level window with the main window's dark background that a page fills, for tests that look at
// a page as the user sees it.
class DarkHostWindow : public QWidget {
public:
    explicit DarkHostWindow(QWidget *page)
    {
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, TovikColors::windowBackground());
        setPalette(colours);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(page);
    }
};
