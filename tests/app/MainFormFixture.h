#pragma once
// A main window over a temporary executable directory (where its settings
// file and guide live) whose player control plays through a recording
// backend instead of libmpv.
#include "app/MainForm1.h"
#include "support/RecordingBackend.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class MainFormFixture : public ::testing::Test
{
protected:
    // The executable's folder: a temporary one unless the test names another.
    QByteArray exeDir() const { return m_otherExeDir.isEmpty() ? QFile::encodeName(m_exeDir.path()) : m_otherExeDir; }

    // Builds the window (running its create handler) with the settings now on disk.
    TMainForm1 &createForm()
    {
        TMainForm1::Surroundings surroundings;
        surroundings.executableDirectory = exeDir();
        surroundings.playerBackend = [this] { return RecordingBackend::make(player); };
        surroundings.showError = [this](const QString &message) { errors << message; };
        surroundings.askCloseAnyway = [this](const QString &question) {
            questions << question;
            return closeAnyway;
        };
        surroundings.fileSystem = fileSystem;
        form = std::make_unique<TMainForm1>(surroundings);
        return *form;
    }

    QTemporaryDir m_exeDir;
    // What the window's player control was asked to play.
    PlayerRecord player;
    // The file system the sorts go through; null for the real one.
    FileSystem *fileSystem = nullptr;
    // Messages the window showed, in place of message boxes.
    QStringList errors;
    // Whether to close anyway while an operation waits for its device, and
    // what the window asked.
    bool closeAnyway = false;
    QStringList questions;
    std::unique_ptr<TMainForm1> form;
    // A program that lives elsewhere: below /usr, in a folder with a non-UTF-8 name.
    QByteArray m_otherExeDir;
};
