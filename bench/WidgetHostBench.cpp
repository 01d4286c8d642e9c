// The widget host's own work: drawing one widget to a PNG as `--render` does, and the reload round trip
// from a change of the shared stopwatch suite to the repainted stopwatch widget (the application's store
// write, its reload request over the host's socket, the provider asked again, the window drawn).
#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <DayvaneWidgetHost/PlacedWidgetWindow.h>
#include <DayvaneWidgetHost/WidgetDesktop.h>
#include <DayvaneWidgetHost/WidgetExtensionLoader.h>
#include <DayvaneWidgetHost/WidgetHostInstance.h>
#include <DayvaneWidgetHost/WidgetRenderer.h>
#include <DayvaneWidgetHost/WidgetViewFactory.h>
#include <algorithm>
#include <memory>

namespace {

Instant wallClock()
{
    return QDateTime::currentMSecsSinceEpoch() / 1000.0;
}

// Everything the host holds, in folders of its own, with the real extension loaded.
struct Host {
    Host()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.filePath(QStringLiteral("runtime"))));
        QDir().mkpath(folder.filePath(QStringLiteral("runtime")));
        QFile::setPermissions(folder.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        QString error;
        extension = loader.load(QStringLiteral(DAYVANE_WIDGET_PLUGIN), &error);
        WidgetViewFactory::prepare(engine);
    }

    QTemporaryDir folder;
    WidgetExtensionLoader loader;
    WidgetExtension *extension = nullptr;
    QQmlEngine engine;
};

Host &host()
{
    static Host shared;
    return shared;
}

void WidgetRenderToPng(benchmark::State &state)
{
    Host &h = host();
    const std::vector<WidgetConfiguration> widgets = h.extension->widgets();
    const WidgetConfiguration &widget = widgets.at(static_cast<std::size_t>(state.range(0)));
    const auto family = static_cast<WidgetFamily>(state.range(1));
    state.SetLabel(widget.kind);
    for (auto _ : state) {
        const Instant now = wallClock();
        QString error;
        const QImage image = WidgetRenderer::render(h.engine, *h.extension, widget,
                                                    widget.snapshot({family, false}, now), family, now, &error);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        benchmark::DoNotOptimize(png.size());
    }
}
BENCHMARK(WidgetRenderToPng)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();

void WidgetReloadRoundTrip(benchmark::State &state)
{
    Host &h = host();
    auto instance = WidgetHostInstance::claim(TovikLocalSocket::ensureFolder());
    if (!instance) {
        state.SkipWithError("no widget host socket");
        return;
    }
    WidgetHostStore store(std::filesystem::path(h.folder.filePath(QStringLiteral("host.sqlite3")).toStdString()));
    WidgetDesktop desktop(h.engine, *h.extension, store, wallClock);
    QObject::connect(instance.get(), &WidgetHostInstance::reloadRequested, &desktop, &WidgetDesktop::reload);
    desktop.add("DayvaneStopwatchWidget", WidgetFamily::systemSmall);
    PlacedWidgetWindow *window = desktop.windows().front();
    QEventLoop loop;
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    giveUp.start(5000);
    loop.exec();

    std::vector<double> trips;
    for (auto _ : state) {
        const bool wasRunning = window->view()->property("isRunning").toBool();
        QElapsedTimer elapsed;
        elapsed.start();
        DayvaneStopwatchStore::shared().toggle(wallClock());
        // The first frame drawn with the new state ends the trip.
        while (window->view()->property("isRunning").toBool() == wasRunning && giveUp.isActive()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        giveUp.start(5000);
        loop.exec();
        trips.push_back(elapsed.nsecsElapsed() / 1e6);
        state.SetIterationTime(elapsed.nsecsElapsed() / 1e9);
    }
    std::sort(trips.begin(), trips.end());
    state.counters["median_ms"] = trips.empty() ? 0 : trips[trips.size() / 2];
    DayvaneStopwatchStore::shared().reset();
}
BENCHMARK(WidgetReloadRoundTrip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
