#include "TovikColors.h"

namespace TovikColors {

QColor windowBackground()
{
    return QColor(40, 40, 42);
}

QColor systemRed()
{
    return QColor(0xFF, 0x45, 0x3A);
}

QColor systemOrange()
{
    return QColor(0xFF, 0x9F, 0x0A);
}

QColor systemGreen()
{
    return QColor(0x32, 0xD7, 0x4B);
}

QColor systemTeal()
{
    return QColor(0x40, 0xC8, 0xE0);
}

QColor systemBlue()
{
    return QColor(0x0A, 0x84, 0xFF);
}

QColor systemGray()
{
    return QColor(0x8E, 0x8E, 0x93);
}

QColor white(double alpha)
{
    return fromComponents(1, 1, 1, alpha);
}

QColor fromComponents(double red, double green, double blue, double alpha)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}

QPalette darkPalette()
{
    const QColor window = windowBackground();
    const QColor base(30, 30, 32);
    const QColor raised(58, 58, 60);
    const QColor text(235, 235, 240);
    const QColor disabledText(120, 120, 126);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, raised);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, raised);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(72, 72, 74));
    palette.setColor(QPalette::Midlight, QColor(62, 62, 64));
    palette.setColor(QPalette::Mid, QColor(44, 44, 46));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, systemBlue());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, systemBlue());
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    return palette;
}

} // namespace TovikColors
