#pragma once

#include <QString>

// Says why the application will not start, when the user must mend something first: in a dialog in
// Chinese, and on stderr as the program's other start-up failures are. Called before any QApplication
// exists; makes its own for the dialog.
namespace DayvaneRefusal {

// The exit status for the process.
int report(int &argc, char **argv, const QString &message);

} // namespace DayvaneRefusal
