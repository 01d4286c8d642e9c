#pragma once

class QApplication;

// The application is dark whatever the desktop's theme: the Fusion style with a dark palette. Every window
// carries the application icon.
namespace DayvaneAppearance {

void apply(QApplication &application);

} // namespace DayvaneAppearance
