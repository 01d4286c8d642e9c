#include "WidgetHostCommandLine.h"

namespace {

const QString helpText =
    QStringLiteral("用法：dayvane-widget-host [选项]\n"
                   "在桌面上显示 Dayvane 的日历、时钟和计时器小组件，并从小组件库中添加它们；\n"
                   "已在运行的小组件主机会在之后每次启动时打开小组件库。\n"
                   "\n"
                   "选项：\n"
                   "  -h, --help                  显示此帮助后退出。\n"
                   "  -v, --version               显示版本后退出。\n"
                   "      --gallery               同时打开小组件库（已放置小组件时也打开）。\n"
                   "      --render 种类 尺寸 文件.png [时刻] [--gallery] [--scale 倍数]\n"
                   "                              不用显示器，把一个小组件（如 DayvaneClockWidget）在某一时刻（如\n"
                   "                              2026-10-01T09:05:03，默认为现在）以 small、medium 或 large 尺寸画成\n"
                   "                              PNG 后退出；--gallery 画小组件库中的卡片，--scale 按倍数放大。\n");

WidgetHostCommandLine failure(const QString &reason)
{
    return {WidgetHostCommandLine::Action::fail, std::nullopt, QStringLiteral("dayvane-widget-host: %1\n").arg(reason)};
}

} // namespace

WidgetHostCommandLine WidgetHostCommandLine::parse(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        return {};
    }
    const QString &first = arguments.first();
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        return {Action::showHelp, std::nullopt, helpText};
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        return {Action::showVersion, std::nullopt, QStringLiteral("dayvane-widget-host " DAYVANE_VERSION "\n")};
    }
    if (arguments == QStringList{QStringLiteral("--gallery")}) {
        return {Action::showGallery, std::nullopt, {}};
    }
    if (first != QLatin1String("--render")) {
        return {Action::fail, std::nullopt,
                QStringLiteral("dayvane-widget-host: 未知的选项 %1\n%2").arg(first, helpText)};
    }
    QString error;
    std::optional<WidgetRenderRequest> request = WidgetRenderRequests::parse(arguments.mid(1), &error);
    if (!request) {
        return failure(error);
    }
    return {Action::render, std::move(request), {}};
}
