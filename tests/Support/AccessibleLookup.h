#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

// Finds a view under `root` as a screen reader would: by the name its accessible face reads out.
template <typename View = QWidget>
View *findByAccessibleName(const QWidget &root, const QString &name)
{
    for (View *view : root.findChildren<View *>()) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view);
        if (face && face->text(QAccessible::Name) == name) {
            return view;
        }
    }
    return nullptr;
}
