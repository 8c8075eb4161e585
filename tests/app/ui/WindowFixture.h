#pragma once

#include "TestSupport.h"

#include "base/UserPaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::test {

// A scratch settings store, user data folder and library for one window test.
class CWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override { SetUserDataFolder(m_data.path()); }
    void TearDown() override { SetUserDataFolder({}); }

    QString Library(const QString &name = {}) const
    {
        return name.isEmpty() ? m_library.path() : QDir(m_library.path()).filePath(name);
    }
    QString DataFile(const QString &name) const { return QDir(m_data.path()).filePath(name); }

    CScratchSettings m_settings;
    QTemporaryDir m_data;
    QTemporaryDir m_library;
};

} // namespace velmora::test
