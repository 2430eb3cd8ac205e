// The whole firmware update, from the confirmation to the result panel:
// the work area (widgets on the offscreen platform) sends a 256 KiB image
// into tessra2-sim over a pseudo-terminal (a Tessra2 L, wire paced, 1 ms
// reply and acknowledgement latency), and the program prints the time as a
// ratio to the ideal. Goal: at most 1.02.
//
//     bench_firmware_update [path of tessra2-sim] [runs] [KiB] [bare]
//
// "bare" runs the procedure without its window, to tell the window's share.
//
// The ideal is what the procedure cannot do faster, each part printed:
// - its own fixed pauses: 500 ms after the file choice, 501 x 10 ms for the
//   loader to start, 1000 ms after the handshake, 3000 ms showing the new
//   version, 1500 ms before the result;
// - every SDI-12 transaction on the wire (the configuration backup, the
//   loader switch, the version check, the update date): a 25 ms break,
//   8.33 ms of marking, the 1 ms latency and 8.333 ms per character sent or
//   received at 1200 baud;
// - the waits the gauge imposes, measured at the adapter: from the
//   handshake's start to the loader's "C", and from the acknowledged end of
//   transmission to the loader's "APPLICATION DONE", rounded up to the
//   procedure's 100 ms polling passes;
// - the stop-and-wait bound of the transfer: per block 133 characters, one
//   acknowledgement character and the latency, at 115200 baud (plus the end
//   of transmission and its acknowledgement).

#include "BenchSimulator.h"
#include "firmware/FirmwareUpdateSequence.h"
#include "firmware/FirmwareupdateFrame.h"
#include "gauge/SDIHandler.h"
#include "link/D2XXDriver.h"
#include "link/SerialBackend.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/Pictures.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double LatencyMs = 1.0;
constexpr double BreakMs = 25.0;
constexpr double MarkingMs = 8.33;
constexpr double SdiCharacterMs = 10.0 * 1000.0 / 1200.0;
constexpr double TransferCharacterMs = 10.0 * 1000.0 / 115200.0;
constexpr double FixedPausesMs = 500.0 + 501 * 10.0 + 1000.0 + 3000.0 + 1500.0;
constexpr double VerifyPassMs = 100.0;

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// What crossed the line, and when the gauge's waits ended.
struct Wire {
    bool counting = false;    // from the confirmation on
    long transactions = 0;    // breaks sent
    long sdiCharacters = 0;   // written and read at 1200 baud
    long blocks = 0;          // 133-byte writes at 115200 baud
    double handshakeStart = -1; // the first purge at the transfer speed
    double firstC = -1;        // the loader's "C" seen after it
    double endAcknowledged = -1; // the end of transmission's acknowledgement seen
    double applicationDone = -1; // "APPLICATION DONE" complete
    std::string afterEnd;      // what came after the end of transmission
    bool endSent = false;
    // Per block: from its write to its acknowledgement (the gauge's part,
    // the bound plus its lateness) and from the acknowledgement to the next
    // block's write (the program's part).
    double firstBlock = -1;
    double lastWrite = -1;
    double lastAck = -1;
    double gaugeMs = 0;
    double programMs = 0;
};

class TimingPort final : public AdapterPort {
public:
    TimingPort(std::unique_ptr<AdapterPort> port, Wire& wire) : port_(std::move(port)), wire_(wire) {}
    int Close() override { return port_->Close(); }
    int Read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& got) override {
        const int status = port_->Read(buffer, n, got);
        const double now = NowMs();
        if (baud_ == 1200) {
            if (wire_.counting)
                wire_.sdiCharacters += got;
        } else if (got > 0) {
            const std::string text(reinterpret_cast<const char*>(buffer), got);
            if (wire_.handshakeStart >= 0 && wire_.firstC < 0 && text.find('C') != std::string::npos)
                wire_.firstC = now;
            if (wire_.lastWrite >= 0 && text.find('\x06') != std::string::npos) {
                wire_.gaugeMs += now - wire_.lastWrite;
                wire_.lastAck = now;
                wire_.lastWrite = -1;
            }
            if (wire_.endSent) {
                if (wire_.endAcknowledged < 0 && text.find('\x06') != std::string::npos)
                    wire_.endAcknowledged = now;
                wire_.afterEnd += text;
                if (wire_.applicationDone < 0 &&
                    wire_.afterEnd.find("APPLICATION DONE") != std::string::npos)
                    wire_.applicationDone = now;
            }
        }
        return status;
    }
    int Write(const std::uint8_t* buffer, std::uint32_t n, std::uint32_t& written) override {
        const int status = port_->Write(buffer, n, written);
        if (baud_ == 1200) {
            if (wire_.counting)
                wire_.sdiCharacters += written;
        }
        else if (n == 133) {
            const double now = NowMs();
            ++wire_.blocks;
            if (wire_.firstBlock < 0)
                wire_.firstBlock = now;
            if (wire_.lastAck >= 0)
                wire_.programMs += now - wire_.lastAck;
            wire_.lastWrite = now;
            wire_.lastAck = -1;
        }
        else if (n == 1 && buffer[0] == 0x04)
            wire_.endSent = true;
        return status;
    }
    int SetBaudRate(std::uint32_t baud) override {
        baud_ = baud;
        return port_->SetBaudRate(baud);
    }
    int SetDataCharacteristics(std::uint8_t w, std::uint8_t s, std::uint8_t p) override {
        return port_->SetDataCharacteristics(w, s, p);
    }
    int SetRts(bool on) override { return port_->SetRts(on); }
    int SetDtr(bool on) override { return port_->SetDtr(on); }
    int Purge(std::uint32_t mask) override {
        if (baud_ != 1200 && wire_.handshakeStart < 0 && (mask & 1) != 0)
            wire_.handshakeStart = NowMs();
        return port_->Purge(mask);
    }
    int QueueStatus(std::uint32_t& rx) override { return port_->QueueStatus(rx); }
    int SetBreak(bool on) override {
        if (on && wire_.counting)
            ++wire_.transactions;
        return port_->SetBreak(on);
    }
    int Status(std::uint32_t& rx, std::uint32_t& tx, std::uint32_t& events) override {
        return port_->Status(rx, tx, events);
    }
    int SetLowLatency(bool on) override { return port_->SetLowLatency(on); }

private:
    std::unique_ptr<AdapterPort> port_;
    Wire& wire_;
    std::uint32_t baud_ = 1200;
};

class TimingBackend final : public AdapterBackend {
public:
    TimingBackend(AdapterBackend& backend, Wire& wire) : backend_(backend), wire_(wire) {}
    int List(std::vector<AdapterListing>& adapters) override { return backend_.List(adapters); }
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override {
        std::unique_ptr<AdapterPort> port = backend_.OpenBySerial(serial);
        if (!port)
            return port;
        return std::make_unique<TimingPort>(std::move(port), wire_);
    }

private:
    AdapterBackend& backend_;
    Wire& wire_;
};

// The user: confirms at once and chooses the image; the moment of the
// confirmation starts the clock.
class Answers final : public DialogProvider {
public:
    Answers(QString image, Wire& wire) : image_(std::move(image)), wire_(wire) {}
    MsgResult Message(const QString&, MsgKind, MsgButtons buttons) override {
        confirmedAt = NowMs();
        wire_.counting = true;
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
    }
    QString OpenFile(const FileDialogRequest&) override { return image_; }
    QString SaveFile(const FileDialogRequest&) override { return {}; }
    double confirmedAt = -1;

private:
    QString image_;
    Wire& wire_;
};

// The moment the result panel appears.
// The moment the result panel appears; what the wire carries after it (the
// final reconnection) is no longer counted.
class ShowWatch final : public QObject {
public:
    explicit ShowWatch(Wire& wire) : wire_(wire) {}
    double shownAt = -1;
    void Shown() {
        if (shownAt >= 0)
            return;
        shownAt = NowMs();
        wire_.counting = false;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            Shown();
        return false;
    }

private:
    Wire& wire_;
};

// The procedure without a window: the moment of its result.
struct ResultWatch final : Firmware::FirmwareUpdateView {
    ResultWatch(TSDIHandler& gauge, ShowWatch& watch) : sequence(gauge, *this), watch(watch) {}
    void ResultShown() override { watch.Shown(); }
    Firmware::FirmwareUpdateSequence sequence;
    ShowWatch& watch;
};

struct Run {
    bool ok = false;
    double measuredMs = 0;
    double sdiMs = 0;
    double handshakeWaitMs = 0;
    double transferBoundMs = 0;
    double applicationWaitMs = 0;
    double transferMs = 0; // measured: first block to the end's acknowledgement
    double gaugeUs = 0;    // per block: write to acknowledgement
    double programUs = 0;  // per block: acknowledgement to the next write
    long transactions = 0;
    long blocks = 0;
    double IdealMs() const {
        return FixedPausesMs + sdiMs + handshakeWaitMs + transferBoundMs + applicationWaitMs;
    }
};

Run RunOnce(const std::string& pty, const QString& image, qint64 imageBytes, QTemporaryDir& work,
            bool withWindow) {
    SerialBackend serial;
    serial.SetListSystemPorts(false);
    serial.AddPath(pty);
    Wire wire;
    TimingBackend timing(serial, wire);
    D2XXDriver::InstallBackend(&timing);
    Answers answers(image, wire);
    InstallDialogs(&answers);

    TSDIHandler gauge;
    Run run;
    if (gauge.Connect() && !gauge.QueryAddress().empty() && gauge.GetModel() == 1) {
        // The work area as the program shows it, or the procedure alone.
        std::unique_ptr<TFirmwareupdateFrame> frame;
        std::unique_ptr<ResultWatch> bare;
        Firmware::FirmwareUpdateSequence* sequence = nullptr;
        ShowWatch watch(wire);
        if (withWindow) {
            frame = std::make_unique<TFirmwareupdateFrame>(gauge, nullptr);
            frame->resize(940, 700);
            frame->show();
            frame->ResultPanel->installEventFilter(&watch);
            sequence = &frame->Sequence();
        } else {
            bare = std::make_unique<ResultWatch>(gauge, watch);
            sequence = &bare->sequence;
        }
        sequence->SetBackupFolder(work.filePath("backups"));
        sequence->ShowArea(1);
        wire = Wire();
        sequence->StartFirmwareUpdate();

        const Firmware::UpdateState& state = sequence->State();
        run.ok = state.resultSuccess && watch.shownAt > 0 && wire.firstC > 0 &&
                 wire.applicationDone > 0;
        run.measuredMs = watch.shownAt - answers.confirmedAt;
        run.transactions = wire.transactions;
        run.blocks = wire.blocks;
        run.sdiMs = wire.transactions * (BreakMs + MarkingMs + LatencyMs) +
                    wire.sdiCharacters * SdiCharacterMs;
        run.handshakeWaitMs = wire.firstC - wire.handshakeStart;
        const double blocks = std::ceil(imageBytes / 128.0);
        run.transferBoundMs = blocks * (134 * TransferCharacterMs + LatencyMs) +
                              2 * TransferCharacterMs + LatencyMs;
        run.applicationWaitMs =
            std::ceil((wire.applicationDone - wire.endAcknowledged) / VerifyPassMs) * VerifyPassMs;
        run.transferMs = wire.endAcknowledged - wire.firstBlock;
        run.gaugeUs = wire.gaugeMs * 1000 / std::max<long>(1, wire.blocks);
        run.programUs = wire.programMs * 1000 / std::max<long>(1, wire.blocks - 1);
    }
    gauge.Disconnect();
    InstallDialogs(nullptr);
    D2XXDriver::InstallBackend(nullptr);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LanguageOffset = OffsetEnglish;
    Pictures::DrawSuccessAndFailedImages();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int kib = argc > 3 ? std::max(1, std::atoi(argv[3])) : 256;
    // "bare" as the fourth argument: the procedure without its window.
    const bool withWindow = !(argc > 4 && std::string(argv[4]) == "bare");

    SimProcess sim({"--model", "1", "--pace", "--latency", QString::number(LatencyMs)});
    if (!StartBenchSimulator(argc, argv, sim, "bench_firmware_update"))
        return 2;

    QTemporaryDir work;
    const QString image = work.filePath("Tessra2S.bin");
    {
        QByteArray bytes(kib * 1024, '\0');
        std::uint32_t seed = 4711;
        for (char& c : bytes) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(seed >> 24);
        }
        QByteArray header(48, '\0');
        header.replace(0, 9, "TESSRA2 S");
        header.replace(16, 7, "V2.10.0");
        bytes.replace(0, 48, header);
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "bench_firmware_update: cannot write the image\n");
            return 2;
        }
    }
    FirmwarePath = work.path() + "/";

    std::printf("Firmware update of a Tessra2 L, %d KiB (%d blocks), over %s\n"
                "(tessra2-sim --model 1 --pace --latency 1), from the confirmation to the result "
                "panel, %d runs%s\n",
                kib, kib * 8, sim.PtyPath().c_str(), runs,
                withWindow ? ", the work area on the offscreen platform" : ", no window");
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        const Run run = RunOnce(sim.PtyPath(), image, kib * 1024, work, withWindow);
        if (!run.ok) {
            std::printf("run %d FAILED\n%s\n", i + 1, qPrintable(sim.Log().right(2000)));
            return 1;
        }
        std::printf("run %d: %.1f ms, ideal %.1f ms (pauses %.0f, %ld SDI-12 transactions %.1f, "
                    "wait for \"C\" %.1f, transfer bound %.1f, wait for the application %.0f); "
                    "ratio %.4f\n  transfer measured %.1f ms: %.1f us/block against a bound of "
                    "%.1f (write to acknowledgement %.1f us, acknowledgement to the next block "
                    "%.1f us)\n",
                    i + 1, run.measuredMs, run.IdealMs(), FixedPausesMs, run.transactions,
                    run.sdiMs, run.handshakeWaitMs, run.transferBoundMs, run.applicationWaitMs,
                    run.measuredMs / run.IdealMs(), run.transferMs,
                    run.transferMs * 1000 / std::max<long>(1, run.blocks),
                    (134 * TransferCharacterMs + LatencyMs) * 1000, run.gaugeUs, run.programUs);
        all.push_back(run);
    }
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) {
        return a.measuredMs / a.IdealMs() < b.measuredMs / b.IdealMs();
    });
    const Run& median = all[all.size() / 2];
    std::printf("median ratio measured / ideal = %.4f (goal <= 1.02); best %.4f\n",
                median.measuredMs / median.IdealMs(), all.front().measuredMs / all.front().IdealMs());
    // How late the acknowledgements came beyond their wire bound: the time
    // the simulator takes to wake up and answer, and the program to wake up
    // for the answer, on this machine.
    const double late = (median.gaugeUs - (134 * TransferCharacterMs + LatencyMs) * 1000) *
                        median.blocks / 1000;
    std::printf("of the median's excess of %.0f ms, %.0f ms are acknowledgements arriving later "
                "than their bound (%.0f us a block); without them the ratio is %.4f\n",
                median.measuredMs - median.IdealMs(), late, late * 1000 / median.blocks,
                (median.measuredMs - late) / median.IdealMs());
    double load[3] = {0, 0, 0};
    if (::getloadavg(load, 3) == 3)
        std::printf("load average of the machine: %.2f %.2f %.2f on %d processors\n", load[0],
                    load[1], load[2], QThread::idealThreadCount());
    sim.Stop(3000);
    return 0;
}
