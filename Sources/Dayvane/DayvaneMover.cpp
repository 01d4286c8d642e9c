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
#include <QStorageInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

fs::path nativePath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

DayvaneMover::Failure failure(const std::error_code &error)
{
    return {error.value(), QString::fromLocal8Bit(error.message().c_str())};
}

bool isInside(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && QDir::cleanPath(path).startsWith(QDir::cleanPath(folder) + QLatin1Char('/'));
}

bool isRemovableMediumMount(const QString &mountPoint)
{
    return mountPoint.startsWith(QLatin1String("/media/")) || mountPoint.startsWith(QLatin1String("/run/media/"));
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

void showFailure(const DayvaneMover::Texts &texts, const QString &reason, const QString &detail)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(texts.failureTitle);
    box.setInformativeText(reason);
    box.setDetailedText(detail);
    box.exec();
}

std::optional<DayvaneMover::Failure> copyTree(const QString &source, const QString &destination)
{
    std::error_code error;
    if (!fs::is_directory(nativePath(source), error)) {
        return failure(error ? error : std::make_error_code(std::errc::not_a_directory));
    }
    fs::create_directories(nativePath(destination), error);
    if (error) {
        return failure(error);
    }
    const QDir sourceDir(source);
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const fs::path from = nativePath(entry.filePath());
        const fs::path to = nativePath(destination + QLatin1Char('/') + sourceDir.relativeFilePath(entry.filePath()));
        if (entry.isSymLink()) {
            // The link is copied as written, so a relative link keeps pointing inside the copy.
            const fs::path written = fs::read_symlink(from, error);
            if (!error) {
                fs::create_symlink(written, to, error);
            }
        } else if (entry.isDir()) {
            fs::create_directories(to, error);
        } else {
            fs::copy_file(from, to, error);
        }
        if (error) {
            return failure(error);
        }
    }
    return std::nullopt;
}

std::optional<DayvaneMover::Failure> moveFile(const QString &source, const QString &destination)
{
    std::error_code error;
    fs::rename(nativePath(source), nativePath(destination), error);
    if (error == std::errc::cross_device_link) {
        error.clear();
        fs::copy_file(nativePath(source), nativePath(destination), error);
        if (!error) {
            // The copy is what counts; an original that cannot go (a read-only medium) stays where it was.
            std::error_code ignored;
            fs::remove(nativePath(source), ignored);
        }
    }
    if (error) {
        return failure(error);
    }
    return std::nullopt;
}

} // namespace

namespace DayvaneMover {

Texts texts(const QStringList &preferredLanguages)
{
    if (!preferredLanguages.isEmpty() && preferredLanguages.first().startsWith(QLatin1String("zh"))) {
        return {
            Language::chinese,
            QStringLiteral("将 Dayvane 移到 ~/Applications 文件夹？"),
            QStringLiteral(
                "Dayvane 正在从 AppImage 或只读介质运行。移到 ~/Applications 后才能长期使用，并在桌面上添加小组件。"),
            QStringLiteral("移到 ~/Applications"),
            QStringLiteral("暂不"),
            QStringLiteral("无法移到 ~/Applications，请手动将 Dayvane 复制到 ~/Applications 文件夹。"),
        };
    }
    return {
        Language::english,
        QStringLiteral("Move Dayvane to the ~/Applications folder?"),
        QStringLiteral("Dayvane is running from an AppImage or a read-only medium. Move it to ~/Applications to keep "
                       "using it and add its widgets to the desktop."),
        QStringLiteral("Move to ~/Applications"),
        QStringLiteral("Not Now"),
        QStringLiteral("Couldn’t move Dayvane to ~/Applications. Copy Dayvane to the ~/Applications folder instead."),
    };
}

QString failureReason(Language language, int errorNumber)
{
    const bool chinese = language == Language::chinese;
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return chinese ? QStringLiteral("权限不足") : QStringLiteral("Permission denied.");
    case ENOSPC:
    case EDQUOT:
        return chinese ? QStringLiteral("磁盘空间不足") : QStringLiteral("Not enough disk space.");
    case EROFS:
        return chinese ? QStringLiteral("目标位置只读") : QStringLiteral("The destination is read-only.");
    case ENOENT:
    case ENOTDIR:
        return chinese ? QStringLiteral("找不到文件") : QStringLiteral("A file could not be found.");
    case ENAMETOOLONG:
        return chinese ? QStringLiteral("路径过长") : QStringLiteral("A path is too long.");
    case EIO:
        return chinese ? QStringLiteral("读写出错") : QStringLiteral("A file could not be read or written.");
    default:
        return chinese ? QStringLiteral("发生意外错误") : QStringLiteral("An unexpected error occurred.");
    }
}

Environment systemEnvironment()
{
    Environment environment;
    environment.executable = QCoreApplication::applicationFilePath();
    environment.appImage = qEnvironmentVariable("APPIMAGE");
    environment.appDir = qEnvironmentVariable("APPDIR");
    environment.home = QDir::homePath();
    environment.mountOf = [](const QString &path) {
        const QStorageInfo storage(path);
        return Mount{storage.rootPath(), storage.isReadOnly()};
    };
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

std::optional<Move> moveFor(const Environment &environment)
{
    const QString applications = QDir::cleanPath(environment.home + QStringLiteral("/Applications"));
    // The runtime's variables are inherited by whatever an AppImage starts; only a program inside the
    // mounted image is that AppImage.
    if (!environment.appImage.isEmpty() && isInside(environment.executable, environment.appDir)) {
        if (QFileInfo(QDir::cleanPath(environment.appImage)).path() == applications) {
            return std::nullopt;
        }
        const QString destination = applications + QStringLiteral("/Dayvane.AppImage");
        return Move{Move::Kind::appImageFile, environment.appImage, destination, destination};
    }
    // An installed tree is <prefix>/bin/dayvane; a build folder holds the program on its own.
    QString tree = QFileInfo(QDir::cleanPath(environment.executable)).path();
    if (QFileInfo(tree).fileName() == QLatin1String("bin")) {
        tree = QFileInfo(tree).path();
    }
    const Mount mount = environment.mountOf(tree);
    if (!mount.isReadOnly || !isRemovableMediumMount(mount.mountPoint)) {
        return std::nullopt;
    }
    const QString destination = applications + QStringLiteral("/Dayvane");
    return Move{Move::Kind::applicationTree, tree, destination,
                destination + QLatin1Char('/') + QDir(tree).relativeFilePath(environment.executable)};
}

bool offerMoveIfNeeded(const Environment &environment)
{
    const std::optional<Move> move = moveFor(environment);
    if (!move) {
        return false;
    }
    const Texts chosen = texts(environment.preferredLanguages());
    if (!environment.askToMove(chosen)) {
        return false;
    }
    if (const auto failed = environment.install(*move)) {
        environment.showFailure(chosen, failureReason(chosen.language, failed->errorNumber), failed->detail);
        return false;
    }
    // Whether or not the copy starts, this instance ends: the user chose the copy.
    environment.launch(move->launchTarget);
    environment.terminate();
    return true;
}

bool offerMoveIfNeeded()
{
    return offerMoveIfNeeded(systemEnvironment());
}

std::optional<Failure> install(const Move &move)
{
    const QFileInfo existing(move.destination);
    if (existing.exists() || existing.isSymLink()) {
        QFile old(move.destination);
        errno = 0;
        if (!old.moveToTrash()) {
            return Failure{errno, old.errorString()};
        }
    }
    std::error_code error;
    fs::create_directories(nativePath(QFileInfo(move.destination).absolutePath()), error);
    if (error) {
        return failure(error);
    }
    if (move.kind == Move::Kind::appImageFile) {
        return moveFile(move.source, move.destination);
    }
    return copyTree(move.source, move.destination);
}

} // namespace DayvaneMover
