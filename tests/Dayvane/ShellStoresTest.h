#pragma once

#include <Platform/Settings/TovikSettingsStore.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// A fixture with the two stores a shell under test reads and writes, in a scratch folder of its own: the
// standard store and the shared suite.
class ShellStoresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_preferences = TovikSettingsStore::open(m_folder.filePath("standard.sqlite3").toStdString());
        m_suite = TovikSettingsStore::open(m_folder.filePath("suite.sqlite3").toStdString());
        ASSERT_TRUE(m_preferences && m_suite);
    }

    QTemporaryDir m_folder;
    std::shared_ptr<TovikSettingsStore> m_preferences;
    std::shared_ptr<TovikSettingsStore> m_suite;
};
