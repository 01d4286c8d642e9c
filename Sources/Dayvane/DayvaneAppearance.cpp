#include "DayvaneAppearance.h"

#include <TovikKit/TovikColors.h>

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

namespace DayvaneAppearance {

void apply(QApplication &application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setPalette(TovikColors::darkPalette());
    application.setWindowIcon(QIcon(QStringLiteral(":/dayvane/dayvane.svg")));
}

} // namespace DayvaneAppearance
