#pragma once

class QString;

// Says in a window, as well as on the standard error, why the host cannot run: started from a menu, it has
// nobody reading its standard error. Nothing is shown without a display (the offscreen and minimal
// platforms). Waits until the user closes the window.
namespace WidgetHostFailureDialog {

void show(const QString &reason);

} // namespace WidgetHostFailureDialog
