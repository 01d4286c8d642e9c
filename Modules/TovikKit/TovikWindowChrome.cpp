#include "TovikWindowChrome.h"

#include "TovikColors.h"
#include "TovikSurfaceView.h"
#include "TovikWindowBackingView.h"

#include <Platform/Settings/TovikSettingsStore.h>

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

std::shared_ptr<TovikSettingsStore> store()
{
    static const std::shared_ptr<TovikSettingsStore> standard = TovikSettingsStore::standard();
    return standard;
}

TovikWindowBackgroundSettings settings()
{
    return TovikWindowBackgroundStore::load(store());
}

void setSettings(const TovikWindowBackgroundSettings &settings)
{
    TovikWindowBackgroundStore::save(settings, store());
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

TovikWindowBackingView *installBacking(QWidget *view, double cornerRadius, QWidget *above,
                                       std::function<bool()> textOnly)
{
    auto *backing = new TovikWindowBackingView(cornerRadius, std::move(textOnly), view);
    backing->setGeometry(view->rect());
    if (above && above->parentWidget() == view) {
        // Stacking under the sibling just above `above` places the backing directly over it.
        const QObjectList &children = view->children();
        const qsizetype index = children.indexOf(above);
        QWidget *next = nullptr;
        for (qsizetype i = index + 1; i < children.size() && !next; ++i) {
            auto *candidate = qobject_cast<QWidget *>(children.at(i));
            next = candidate != backing ? candidate : nullptr;
        }
        if (next) {
            backing->stackUnder(next);
        } else {
            backing->raise();
        }
    } else {
        backing->lower();
    }
    return backing;
}

} // namespace TovikWindowChrome
