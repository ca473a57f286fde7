#pragma once

#include "app/CScrivoApp.h"
#include "tests/support/TempDir.h"

// An editor of a test keeps everything of its own in the test's folder:
// settings, desktop entry, hand-over channel and recovery records.
inline CScrivoApp::Options AppOptionsIn(const quillet::test::TempDir& dir)
{
    CScrivoApp::Options options;
    options.programDirectory = QStringLiteral(QUILLET_PROGRAM_DIR);
    options.userSettingsDirectory = QString::fromStdString(dir.File("settings") + "/");
    options.dataHome = QString::fromStdString(dir.File("data"));
    options.configHome = QString::fromStdString(dir.File("config"));
    options.instanceName = QString::fromStdString("quillet-test-" + dir.Path().filename().string());
    options.recoveryDirectory = QString::fromStdString(dir.File("recovery"));
    return options;
}
