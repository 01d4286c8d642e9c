#include "WidgetRenderRequest.h"

#include <QDateTime>

#include <cmath>

namespace WidgetRenderRequests {

std::optional<WidgetFamily> familyNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("small") || lower == QLatin1String("systemsmall")) {
        return WidgetFamily::systemSmall;
    }
    if (lower == QLatin1String("medium") || lower == QLatin1String("systemmedium")) {
        return WidgetFamily::systemMedium;
    }
    if (lower == QLatin1String("large") || lower == QLatin1String("systemlarge")) {
        return WidgetFamily::systemLarge;
    }
    return std::nullopt;
}

std::optional<Instant> instantFrom(const QString &text)
{
    bool isNumber = false;
    const double seconds = text.toDouble(&isNumber);
    if (isNumber) {
        return std::isfinite(seconds) ? std::optional<Instant>(seconds) : std::nullopt;
    }
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dateTime.isValid()) {
        return std::nullopt;
    }
    return dateTime.toMSecsSinceEpoch() / 1000.0;
}

std::optional<WidgetRenderRequest> parse(const QStringList &arguments, QString *error)
{
    WidgetRenderRequest request;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--gallery")) {
            request.gallery = true;
        } else if (argument == QLatin1String("--at") || argument == QLatin1String("--scale")) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 后缺少数值").arg(argument);
                return std::nullopt;
            }
            const QString &value = arguments.at(++i);
            if (argument == QLatin1String("--at")) {
                request.at = instantFrom(value);
                if (!request.at) {
                    *error = QStringLiteral("无法识别的时刻：%1").arg(value);
                    return std::nullopt;
                }
            } else {
                bool ok = false;
                request.scale = value.toDouble(&ok);
                if (!ok || !(request.scale >= 0.25 && request.scale <= 8)) {
                    *error = QStringLiteral("缩放倍数须在 0.25 到 8 之间：%1").arg(value);
                    return std::nullopt;
                }
            }
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() < 3 || positional.size() > 4) {
        *error = QStringLiteral("用法：dayvane-widget-host --render 种类 尺寸 文件.png [时刻] [--at 时刻] [--gallery] "
                                "[--scale 倍数]");
        return std::nullopt;
    }
    request.kind = positional.at(0);
    const std::optional<WidgetFamily> family = familyNamed(positional.at(1));
    if (!family) {
        *error = QStringLiteral("未知的尺寸：%1（可用 small、medium、large）").arg(positional.at(1));
        return std::nullopt;
    }
    request.family = *family;
    request.file = positional.at(2);
    if (positional.size() == 4) {
        request.at = instantFrom(positional.at(3));
        if (!request.at) {
            *error = QStringLiteral("无法识别的时刻：%1").arg(positional.at(3));
            return std::nullopt;
        }
    }
    return request;
}

} // namespace WidgetRenderRequests
