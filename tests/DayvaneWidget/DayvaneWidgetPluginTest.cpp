#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikWidgetKit/WidgetExtension.h>

#include <QJsonObject>
#include <QPluginLoader>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(DayvaneWidgetPlugin, LoadsAndPublishesTheThreeWidgets)
{
    TemporaryFolder config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);

    QPluginLoader loader(QStringLiteral(DAYVANE_WIDGET_PLUGIN));
    EXPECT_EQ(loader.metaData().value(QStringLiteral("IID")).toString(),
              QStringLiteral("local.tovik.dayvane.WidgetExtension/3"));
    QObject *instance = loader.instance();
    ASSERT_TRUE(instance) << loader.errorString().toStdString();
    WidgetExtension *extension = qobject_cast<WidgetExtension *>(instance);
    ASSERT_TRUE(extension);

    std::vector<std::string> reloaded;
    extension->setReloadHandler([&](const std::string &kind) { reloaded.push_back(kind); });
    {
        const std::vector<WidgetConfiguration> widgets = extension->widgets();
        std::vector<std::string> kinds;
        for (const WidgetConfiguration &widget : widgets) {
            kinds.push_back(widget.kind);
        }
        EXPECT_EQ(kinds,
                  (std::vector<std::string>{"DayvaneCalendarWidget", "DayvaneClockWidget", "DayvaneStopwatchWidget"}));
        ASSERT_EQ(widgets.size(), 3u);

        // The plugin's button works on the shared suite, and its reload request reaches the host's handler.
        widgets[2].intents.at("toggleIntent")->perform(1000);
        EXPECT_EQ(reloaded, std::vector<std::string>{"DayvaneStopwatchWidget"});
        const auto suite = TovikSettingsStore::open(config / "K9PZQW41RT.local.tovik.dayvane" / "settings.sqlite3");
        ASSERT_TRUE(suite);
        EXPECT_EQ(suite->number("dayvane.stopwatch.startedAt"), 1000.0);
        EXPECT_EQ(widgets[2].timeline({WidgetFamily::systemSmall, false}, 1010).policy.after, 1600.0);

        // The plugin works out what its views show from its own entries.
        const QVariantMap view =
            extension->viewProperties(widgets[2].snapshot({WidgetFamily::systemSmall, false}, 1070));
        EXPECT_TRUE(view.value("isRunning").toBool());
        EXPECT_EQ(view.value("elapsedText").toString(), QStringLiteral("00:01:10"));
    }
    extension->setReloadHandler({});
}

} // namespace
