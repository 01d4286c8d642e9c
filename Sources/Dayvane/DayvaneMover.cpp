#include "DayvaneMover.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

#include <filesystem>
#include <sys/statvfs.h>
#include <system_error>

namespace {

bool isOnReadOnlyMount(const QString &path)
{
    struct statvfs info {};
    if (path.isEmpty() || statvfs(QFile::encodeName(path).constData(), &info) != 0) {
        return false;
    }
    return (info.f_flag & ST_RDONLY) != 0;
}

bool askToMove(const DayvaneMover::Texts &texts)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Question);
    box.setText(texts.title);
    box.setInformativeText(texts.message);
    QPushButton *move = box.addButton(texts.move, QMessageBox::AcceptRole);
    box.addButton(texts.decline, QMessageBox::RejectRole);
    box.setDefaultButton(move);
    box.exec();
    return box.clickedButton() == move;
}

void showFailure(const DayvaneMover::Texts &texts, const QString &description)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(texts.failureTitle);
    box.setInformativeText(description);
    box.exec();
}

std::optional<QString> copyFile(const QString &source, const QString &destination)
{
    QFile file(source);
    if (!file.copy(destination)) {
        return file.errorString();
    }
    QFile::setPermissions(destination, QFile::permissions(source));
    return std::nullopt;
}

std::optional<QString> copyFolder(const QString &source, const QString &destination)
{
    if (!QDir().mkpath(destination)) {
        return QCoreApplication::translate("DayvaneMover", "Cannot create %1").arg(destination);
    }
    const QDir sourceDir(source);
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = destination + QLatin1Char('/') + sourceDir.relativeFilePath(entry.filePath());
        if (entry.isSymLink()) {
            // The link is copied as written, so a relative link keeps pointing inside the copy.
            std::error_code error;
            const auto written =
                std::filesystem::read_symlink(QFile::encodeName(entry.filePath()).toStdString(), error);
            if (!error) {
                std::filesystem::create_symlink(written, QFile::encodeName(target).toStdString(), error);
            }
            if (error) {
                return QString::fromStdString(error.message());
            }
        } else if (entry.isDir()) {
            if (!QDir().mkpath(target)) {
                return QCoreApplication::translate("DayvaneMover", "Cannot create %1").arg(target);
            }
        } else if (const auto error = copyFile(entry.filePath(), target)) {
            return error;
        }
    }
    return std::nullopt;
}

} // namespace

namespace DayvaneMover {

Texts texts(const QStringList &preferredLanguages)
{
    if (!preferredLanguages.isEmpty() && preferredLanguages.first().startsWith(QLatin1String("zh"))) {
        return {
            QStringLiteral("将 Dayvane 移到「应用程序」文件夹？"),
            QStringLiteral("Dayvane 正在从安装磁盘映像运行。移到「应用程序」后才能长期使用，并在通知中心添加小组件。"),
            QStringLiteral("移到应用程序"),
            QStringLiteral("暂不"),
            QStringLiteral("无法移到「应用程序」，请手动将 Dayvane 拖到「应用程序」文件夹。"),
        };
    }
    return {
        QStringLiteral("Move Dayvane to the Applications folder?"),
        QStringLiteral("Dayvane is running from the installer disk image. Move it to Applications to keep using "
                       "it and add its widgets to Notification Center."),
        QStringLiteral("Move to Applications"),
        QStringLiteral("Not Now"),
        QStringLiteral("Couldn’t move Dayvane to Applications. Drag Dayvane to the Applications folder instead."),
    };
}

Environment systemEnvironment()
{
    Environment environment;
    const QString applications = QDir::homePath() + QStringLiteral("/Applications");
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    if (!appImage.isEmpty()) {
        environment.installedTree = appImage;
        environment.destination = applications + QStringLiteral("/Dayvane.AppImage");
        environment.launchTarget = environment.destination;
    } else {
        // An installed tree is <prefix>/bin/dayvane; a build folder holds the program on its own.
        QDir tree(QCoreApplication::applicationDirPath());
        if (tree.dirName() == QLatin1String("bin")) {
            tree.cdUp();
        }
        environment.installedTree = tree.absolutePath();
        environment.destination = applications + QStringLiteral("/Dayvane");
        environment.launchTarget =
            environment.destination + QLatin1Char('/') + tree.relativeFilePath(QCoreApplication::applicationFilePath());
    }
    environment.isReadOnly = isOnReadOnlyMount;
    environment.preferredLanguages = [] { return QLocale::system().uiLanguages(); };
    environment.askToMove = askToMove;
    environment.install = install;
    environment.showFailure = showFailure;
    environment.launch = [](const QString &program) { QProcess::startDetached(program, {}); };
    environment.terminate = [] {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    };
    return environment;
}

bool offerMoveIfNeeded(const Environment &environment)
{
    if (!environment.isReadOnly(environment.installedTree)) {
        return false;
    }
    const Texts chosen = texts(environment.preferredLanguages());
    if (!environment.askToMove(chosen)) {
        return false;
    }
    if (const auto error = environment.install(environment.installedTree, environment.destination)) {
        environment.showFailure(chosen, *error);
        return false;
    }
    // Whether or not the copy starts, this instance ends: the user chose the copy.
    environment.launch(environment.launchTarget);
    environment.terminate();
    return true;
}

bool offerMoveIfNeeded()
{
    return offerMoveIfNeeded(systemEnvironment());
}

std::optional<QString> install(const QString &source, const QString &destination)
{
    const QFileInfo existing(destination);
    if (existing.exists() || existing.isSymLink()) {
        QFile old(destination);
        if (!old.moveToTrash()) {
            return old.errorString();
        }
    }
    QDir().mkpath(QFileInfo(destination).absolutePath());
    if (QFileInfo(source).isDir()) {
        return copyFolder(source, destination);
    }
    return copyFile(source, destination);
}

} // namespace DayvaneMover
