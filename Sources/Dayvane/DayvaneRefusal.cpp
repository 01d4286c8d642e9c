#include "DayvaneRefusal.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

int DayvaneRefusal::report(int &argc, char **argv, const QString &message)
{
    std::fputs(("dayvane: " + message + "\n").toLocal8Bit().constData(), stderr);
    QApplication application(argc, argv);
    QMessageBox box;
    box.setIcon(QMessageBox::Critical);
    box.setWindowTitle(QStringLiteral("Dayvane"));
    box.setText(QStringLiteral("Dayvane 无法启动"));
    // Starting anyway would leave a second copy running beside the first, unseen.
    box.setInformativeText(message + QStringLiteral("\n\n请处理后再打开 Dayvane。"));
    box.exec();
    return 1;
}
