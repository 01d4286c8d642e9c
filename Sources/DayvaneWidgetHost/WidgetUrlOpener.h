#pragma once

#include <QByteArray>
#include <QString>

// Where a click on a widget goes: to the running application through its socket, which opens the page's
// mini window; when no application answers, to the desktop's handler of dayvane: links, which starts it.
namespace WidgetUrlOpener {

// How long the application may take to answer before the desktop is asked instead.
inline constexpr int applicationBudgetMs = 500;

// True when the application or the desktop took the URL. With `activationToken` the application may take
// the focus for the click that asked.
bool open(const QString &url, const QByteArray &activationToken = {});

} // namespace WidgetUrlOpener
