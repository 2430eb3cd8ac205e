#pragma once

// Common set-up of the XModem sender tests: the manual clock, an adapter
// opened 8N1 at the transfer speed the way the gauge handler leaves it, a
// recording progress view, scripted dialogs and image files.

#include "ScriptedReceiver.h"
#include "firmware/USBXModemUnit.h"
#include "firmware/UpdateCancelled.h"
#include "firmware/XModemProgress.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct RecordingProgress final : XModemProgress {
    std::int64_t maximum = -1;
    std::int64_t position = -1;
    std::vector<std::int64_t> positions;
    QStringList labels;
    int repaints = 0;

    void SetMaximum(std::int64_t value) override { maximum = value; }
    void SetPosition(std::int64_t value) override {
        position = value;
        positions.push_back(value);
    }
    void SetLabel(const QString& text) override { labels << text; }
    void Repaint() override { ++repaints; }
};

// Image of size bytes with a pattern that differs from block to block.
inline QByteArray TestImage(qint64 size) {
    QByteArray image(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        image[i] = static_cast<char>((i * 7 + i / 128) & 0xFF);
    return image;
}

// The image as the receiver must end up with it: filled with 0xFF to whole blocks.
inline QByteArray Padded(QByteArray image) {
    while (image.size() % 128 != 0)
        image.append(static_cast<char>(0xFF));
    return image;
}

class XModemFixture : public ::testing::Test {
protected:
    void SetUp() override {
        UpdateCancelled = false;
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        UpdateCancelled = false;
    }

    // Opens the adapter of backend at baud 8N1, as the loader switch leaves it.
    void OpenAt(AdapterBackend& backend, const std::string& serial, std::uint32_t baud) {
        D2XXDriver::InstallBackend(&backend);
        ASSERT_NE(SDI12IO::OpenSdiPort(serial, 7, 2, 0), -1);
        SDI12IO::ReopenPort(baud, 0, 0, 8);
    }

    QString WriteImage(const QByteArray& image, const QString& name = "image.bin") {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(image);
        return path;
    }

    // A sender whose log lines are collected in log.
    void Attach(TUSBXModem& sender) {
        sender.OnLog = [this](const std::string& line) { log.push_back(line); };
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    ScriptedDialogs dialogs; // installed for the test's lifetime
    QTemporaryDir dir;
    LinkStateGuard link;
    std::vector<std::string> log;
};
