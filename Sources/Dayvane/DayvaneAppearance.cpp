#include "DayvaneAppearance.h"

#include <TovikKit/TovikColors.h>

#include <QApplication>
#include <QStyleFactory>

namespace DayvaneAppearance {

void apply(QApplication &application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setPalette(TovikColors::darkPalette());
}

} // namespace DayvaneAppearance
