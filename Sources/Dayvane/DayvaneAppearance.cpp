#include "DayvaneAppearance.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace DayvaneAppearance {

void apply(QApplication &application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    const QColor window(40, 40, 42);
    const QColor base(30, 30, 32);
    const QColor text(235, 235, 240);
    const QColor disabledText(120, 120, 126);
    const QColor accent(10, 132, 255);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, QColor(58, 58, 60));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(58, 58, 60));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(72, 72, 74));
    palette.setColor(QPalette::Midlight, QColor(62, 62, 64));
    palette.setColor(QPalette::Mid, QColor(44, 44, 46));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    application.setPalette(palette);
}

} // namespace DayvaneAppearance
