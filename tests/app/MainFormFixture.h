#pragma once
// A main window over a temporary executable directory (where its settings
// file and guide live) with a recording player in place of the real one.
#include "app/MainForm1.h"
#include "support/RecordingPlayer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class MainFormFixture : public ::testing::Test
{
protected:
    QByteArray exeDir() const { return QFile::encodeName(m_exeDir.path()); }

    // Builds the window (running its create handler) with the settings now on disk.
    TMainForm1 &createForm()
    {
        TMainForm1::Surroundings surroundings;
        surroundings.executableDirectory = exeDir();
        surroundings.player = &player;
        surroundings.showError = [this](const QString &message) { errors << message; };
        form = std::make_unique<TMainForm1>(surroundings);
        return *form;
    }

    QTemporaryDir m_exeDir;
    RecordingPlayer player;
    // Messages the window showed, in place of message boxes.
    QStringList errors;
    std::unique_ptr<TMainForm1> form;
};
