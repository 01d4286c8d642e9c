#include "TovikWindowChrome.h"

#include "TovikColors.h"
#include "TovikSurfaceView.h"

#include <QWidget>

namespace {

bool reduceTransparencyState = false;

} // namespace

namespace TovikWindowChrome {

TovikWindowChromeNotifier *notifier()
{
    static TovikWindowChromeNotifier *const instance = new TovikWindowChromeNotifier;
    return instance;
}

QColor backingColor()
{
    return QColor::fromRgbF(0.115f, 0.115f, 0.115f, 1);
}

TovikWindowBackgroundSettings settings(const std::shared_ptr<TovikSettingsStore> &store)
{
    return TovikWindowBackgroundStore::load(store);
}

void setSettings(const TovikWindowBackgroundSettings &settings, const std::shared_ptr<TovikSettingsStore> &store)
{
    TovikWindowBackgroundStore::save(settings, store);
    emit notifier()->windowBackgroundDidChange();
}

bool reduceTransparency()
{
    return reduceTransparencyState;
}

void setReduceTransparency(bool reduce)
{
    if (reduce != reduceTransparencyState) {
        reduceTransparencyState = reduce;
        emit notifier()->accessibilityDisplayOptionsDidChange();
    }
}

TovikSurfaceView *makeGlass(double cornerRadius, bool darkAppearance)
{
    auto *glass = new TovikSurfaceView;
    // The heads-up-display material: a near-black grey that lets the desktop show through.
    glass->setFillColor(QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.72f));
    glass->setCornerRadius(cornerRadius);
    if (darkAppearance) {
        glass->setPalette(TovikColors::darkPalette());
    }
    return glass;
}

} // namespace TovikWindowChrome
