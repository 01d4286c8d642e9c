#pragma once

#include "TovikTestClock.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// A fixture with the main window's tabbed content over scratch stores, shown and active as a user meets it,
// at a fixed instant.
class TabbedContentTest : public ::testing::Test {
protected:
    explicit TabbedContentTest(Instant now)
        : clock(now)
    {
    }

    // Asserts fatally; call it from SetUp.
    void showContent()
    {
        ASSERT_TRUE(folder.isValid());
        // The screen-reader faces, installed as the program does before any view is built.
        ClockCalendarAccessibility::install();
        suite = TovikSettingsStore::open(folder.filePath("suite.sqlite3").toStdString());
        controller = std::make_unique<ClockCalendarViewController>(ClockCalendarConfiguration{
            TovikClock::shared(), StopwatchStore(suite, "test.stopwatch"),
            TovikSettingsStore::open(folder.filePath("preferences.sqlite3").toStdString()), "test.tab"});
        window = controller->view();
        window->resize(720, 452);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    TovikTestClock clock;
    QTemporaryDir folder;
    std::shared_ptr<TovikSettingsStore> suite;
    std::unique_ptr<ClockCalendarViewController> controller;
    QWidget *window = nullptr;
};
