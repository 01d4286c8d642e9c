#include "WidgetHostFailureDialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace WidgetHostFailureDialog {

void show(const QString &reason)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Dayvane 小组件"),
                    QStringLiteral("小组件主机无法启动，桌面上不会显示小组件。"), QMessageBox::Ok);
    box.setInformativeText(reason);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("知道了"));
    box.exec();
}

} // namespace WidgetHostFailureDialog
