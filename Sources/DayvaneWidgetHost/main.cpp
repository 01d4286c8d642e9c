// dayvane-widget-host: shows the Dayvane widgets on the desktop; `--render` draws one of them to a PNG
// without a display.
#include "WidgetDesktop.h"
#include "WidgetExtensionLoader.h"
#include "WidgetGallery.h"
#include "WidgetHostCommandLine.h"
#include "WidgetHostFailureDialog.h"
#include "WidgetHostInstance.h"
#include "WidgetHostStore.h"
#include "WidgetHostTray.h"
#include "WidgetRenderRequest.h"
#include "WidgetRenderer.h"
#include "WidgetViewFactory.h"

#include <Platform/LocalSocket/TovikLocalSocket.h>
#include <Platform/Ui/TovikClock.h>
#include <Platform/Ui/TovikDisplayServer.h>
#include <Platform/Ui/TovikFontconfigWarmup.h>
#include <Platform/Ui/TovikQuitSignals.h>
#include <Platform/Ui/TovikStoreProblemNotice.h>
#include <Platform/Ui/TovikWindowActivation.h>
#include <TovikKit/TovikFonts.h>

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <future>
#include <optional>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "dayvane-widget-host: " << message << Qt::endl;
    return 1;
}

// The extension this host was installed or built with, or none and the reason in `error`.
WidgetExtension *loadExtension(WidgetExtensionLoader &loader, QString *error)
{
    return loader.load(WidgetExtensionLoader::pluginPath(QCoreApplication::applicationDirPath()), error);
}

int render(const WidgetRenderRequest &request)
{
    QString error;
    WidgetExtensionLoader loader;
    WidgetExtension *extension = loadExtension(loader, &error);
    if (!extension) {
        return fail(error);
    }
    const std::vector<WidgetConfiguration> widgets = extension->widgets();
    const auto widget = std::find_if(widgets.begin(), widgets.end(), [&](const WidgetConfiguration &candidate) {
        return QString::fromStdString(candidate.kind) == request.kind;
    });
    if (widget == widgets.end()) {
        QStringList kinds;
        for (const WidgetConfiguration &candidate : widgets) {
            kinds.append(QString::fromStdString(candidate.kind));
        }
        return fail(
            QStringLiteral("扩展中没有小组件 %1（可用：%2）").arg(request.kind, kinds.join(QStringLiteral("、"))));
    }

    const Instant now = request.at.value_or(QDateTime::currentMSecsSinceEpoch() / 1000.0);
    const TimelineProviderContext context{request.family, request.gallery};
    const WidgetEntry entry = request.gallery ? widget->placeholder(context, now) : widget->snapshot(context, now);

    QQmlEngine engine;
    WidgetViewFactory::prepare(engine);
    const QImage image = WidgetRenderer::render(engine, *extension, *widget, entry, request.family, now, &error);
    if (image.isNull()) {
        return fail(error);
    }
    if (!image.save(request.file, "PNG")) {
        return fail(QStringLiteral("无法写入 %1").arg(request.file));
    }
    return 0;
}

// The host itself: the placed widgets, the gallery, the tray, and the reload channel. `showGallery`: open
// the gallery even when widgets are placed (the desktop entry's action, for desktops without a tray).
int host(int argc, char **argv, bool showGallery)
{
    TovikDisplayServer::preferXWayland();
    // The widgets' windows need no GPU; the software renderer keeps the host small and starts it fast.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Read before Qt takes it for its own first window.
    const QByteArray startupToken = TovikWindowActivation::startupToken();
    TovikFontconfigWarmup fonts;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("dayvane-widget-host"));
    app.setQuitOnLastWindowClosed(false);
    fonts.finish();
    TovikStoreProblemNotice storeProblems;

    // A host that could not be found by the next one would run beside it, unseen; it says why instead.
    std::optional<TovikLocalSocket::Unusable> unusable;
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder(&unusable);
    std::unique_ptr<WidgetHostInstance> instance = unusable ? nullptr : WidgetHostInstance::claim(folder, &unusable);
    if (unusable) {
        return fail(QString::fromStdString(unusable->message()));
    }
    if (!instance && !folder.empty()) {
        // Another host of this user runs: it shows its gallery, and this one is done.
        return WidgetHostInstance::reopenRunning(folder, startupToken)
                   ? 0
                   : fail(QStringLiteral("另一个小组件主机没有应答"));
    }

    // Qt's font database, whose functions are thread-safe, fills on a second thread while the extension loads
    // and the store opens; nothing before needs a font.
    std::future<void> fontDatabase = std::async(std::launch::async, [] { TovikFonts::faceWeight(QFont::Normal); });
    const auto useSystemFont = [&] {
        fontDatabase.get();
        app.setFont(TovikFonts::systemFont(13));
    };
    QString error;
    WidgetExtensionLoader loader;
    WidgetExtension *extension = loadExtension(loader, &error);
    if (!extension) {
        useSystemFont();
        WidgetHostFailureDialog::show(error);
        return fail(error);
    }
    QQmlEngine engine;
    WidgetViewFactory::prepare(engine);
    const auto clock = [] { return TovikClock::shared().now(); };
    WidgetHostStore store;
    useSystemFont();
    WidgetDesktop desktop(engine, *extension, store, clock);
    WidgetGallery gallery(engine, *extension, clock, QCoreApplication::applicationFilePath());
    WidgetHostTray tray;
    TovikQuitSignals quitSignals;

    QObject::connect(&gallery, &WidgetGallery::addRequested, &desktop, &WidgetDesktop::add);
    // The stopwatch widget counts on from a wall instant: once the wall clock is set, its entry is made again
    // from the run as the boot clock measured it.
    QObject::connect(&TovikClock::shared(), &TovikClock::adjusted, &desktop,
                     [&desktop] { desktop.reload(QStringLiteral("DayvaneStopwatchWidget")); });
    QObject::connect(&desktop, &WidgetDesktop::galleryRequested, &gallery, &WidgetGallery::show);
    QObject::connect(&desktop, &WidgetDesktop::limitReached, &app, [](std::size_t heldBack) {
        // Not modal: the widgets go on running while the note is read.
        auto *note = new QMessageBox(QMessageBox::Information, QStringLiteral("Dayvane 桌面小组件"),
                                     WidgetDesktop::limitNotice(heldBack));
        note->addButton(QStringLiteral("好"), QMessageBox::AcceptRole);
        note->setAttribute(Qt::WA_DeleteOnClose);
        note->show();
    });
    QObject::connect(&tray, &WidgetHostTray::galleryRequested, &gallery, &WidgetGallery::show);
    QObject::connect(&tray, &WidgetHostTray::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&quitSignals, &TovikQuitSignals::received, &app, &QCoreApplication::quit);
    if (instance) {
        instance->receiveFrom(*extension);
        QObject::connect(instance.get(), &WidgetHostInstance::reloadRequested, &desktop, &WidgetDesktop::reload);
        QObject::connect(instance.get(), &WidgetHostInstance::reopenRequested, &gallery,
                         [&gallery](const QByteArray &token) {
                             TovikWindowActivation::useToken(token);
                             gallery.show();
                         });
    }

    desktop.restore();
    tray.show();
    // With nothing on the desktop the gallery is the only way in.
    if (showGallery || desktop.windows().empty()) {
        gallery.show();
    }
    const int status = app.exec();
    instance.reset();
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const WidgetHostCommandLine commandLine = WidgetHostCommandLine::parse(arguments);
    switch (commandLine.action) {
    case WidgetHostCommandLine::Action::host:
    case WidgetHostCommandLine::Action::showGallery:
        return host(argc, argv, commandLine.action == WidgetHostCommandLine::Action::showGallery);
    case WidgetHostCommandLine::Action::showHelp:
    case WidgetHostCommandLine::Action::showVersion:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    case WidgetHostCommandLine::Action::fail:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 1;
    case WidgetHostCommandLine::Action::render:
        break;
    }
    const std::optional<WidgetRenderRequest> &request = commandLine.render;
    // Drawn without a display, by the software renderer, at the scale asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(request->scale));
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    app.setFont(TovikFonts::systemFont(13));
    return render(*request);
}
