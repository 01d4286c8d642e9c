#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikStoreProblemNotice.h>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

TEST(TovikStoreProblemNotice, SaysOnceWhyAndStoresWhatWasHeldOnceTheFileCan)
{
    TemporaryFolder folder;
    std::ofstream(folder / "config") << "x";
    TovikStoreProblemNotice notice;
    QSignalSpy told(&notice, &TovikStoreProblemNotice::told);
    const fs::path file = folder / "config" / "dayvane" / "settings.sqlite3";
    const auto store = TovikSettingsStore::open(file);
    store->set("dayvane.selectedTab", 2);
    ASSERT_TRUE(told.wait());
    EXPECT_EQ(
        told.at(0).at(0).toString(),
        QStringLiteral("设置无法保存：该位置不是普通文件（%1）。\n更改暂时保留在内存中，一旦可以写入便会自动保存。")
            .arg(QString::fromStdString(file.string())));

    // Another store of the same file, failing again, is not told twice.
    const auto again = TovikSettingsStore::open(file);
    again->set("k", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(told.count(), 1);

    fs::remove(folder / "config");
    QTRY_VERIFY_WITH_TIMEOUT(!store->problem(), 3 * TovikStoreProblemNotice::retryIntervalMs);
    EXPECT_EQ(TovikSettingsStore::open(file)->integer("dayvane.selectedTab"), 2);
}
