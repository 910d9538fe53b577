#pragma once
// A main window on temporary settings, a scripted prompt and a private program folder.

#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "support/ScriptedPrompt.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    QSettingsStore settings{dir.filePath("settings")};
    ScriptedPrompt prompt;
    int programEnded = 0;

    void SetUp() override { platform::setProgramFolder(dir.filePath("program")); }
    void TearDown() override
    {
        EXPECT_EQ(prompt.unusedScripts(), QStringList()) << "a scripted dialog never opened";
        platform::setProgramFolder(QString());
        ParseCommandLine(QString());
    }

    std::unique_ptr<frmMain> makeWindow(const QString &commandLine = QString())
    {
        auto window = std::make_unique<frmMain>(settings, prompt, commandLine);
        window->endProgram = [this] { ++programEnded; };
        window->objWindow().endProgram = [this] { ++programEnded; };
        return window;
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    // The main window's title with a document of that name open.
    static QString titleWith(const QString &name) { return QStringLiteral("字符转义[") + name + QLatin1Char(']'); }
};
