// dayvane-widget-host: shows the Dayvane widgets; `--render` draws one of them to a PNG without a display.
#include "WidgetExtensionLoader.h"
#include "WidgetRenderRequest.h"
#include "WidgetRenderer.h"
#include "WidgetViewFactory.h"

#include <TovikKit/TovikFonts.h>

#include <QApplication>
#include <QDateTime>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "dayvane-widget-host: " << message << Qt::endl;
    return 1;
}

int render(const WidgetRenderRequest &request)
{
    QString error;
    WidgetExtensionLoader loader;
    WidgetExtension *extension =
        loader.load(WidgetExtensionLoader::pluginPath(QCoreApplication::applicationDirPath()), &error);
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

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    if (arguments.value(0) != QLatin1String("--render")) {
        return fail(
            QStringLiteral("用法：dayvane-widget-host --render 种类 尺寸 文件.png [时刻] [--gallery] [--scale 倍数]"));
    }
    QString error;
    const std::optional<WidgetRenderRequest> request = WidgetRenderRequests::parse(arguments.mid(1), &error);
    if (!request) {
        return fail(error);
    }
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
