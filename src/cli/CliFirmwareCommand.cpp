// firmware IMAGE: the firmware update with its configuration backup, its
// steps as lines and, on a terminal, a progress bar.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "firmware/FirmwareUpdateSequence.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFile>
#include <array>

using namespace Firmware;

namespace {

constexpr int ImageNotReadText = 815;
constexpr int BarWidth = 40;

class StepLines : public FirmwareUpdateView {
public:
    StepLines(const UpdateState& state, QTextStream& err, bool terminal)
        : state_(state), err_(err), terminal_(terminal) {}

    void RowChanged(int row) override {
        const RowState& shown = state_.rows[static_cast<std::size_t>(row)];
        Mark& printed = printed_[static_cast<std::size_t>(row)];
        if (shown.mark == Mark::None || shown.mark == printed)
            return;
        printed = shown.mark;
        EndBar();
        err_ << (shown.mark == Mark::Success ? QStringLiteral("[ok]     ")
                                             : QStringLiteral("[failed] "))
             << shown.title;
        if (!shown.text.isEmpty())
            err_ << QStringLiteral(": ") << shown.text;
        err_ << Qt::endl;
    }
    void RowBegun(int, int row) override { printed_[static_cast<std::size_t>(row)] = Mark::None; }
    void ProgressChanged() override {
        if (!terminal_ || state_.progressMaximum <= 0)
            return;
        const std::int64_t position = std::min(state_.progressPosition, state_.progressMaximum);
        const auto filled = static_cast<int>(position * BarWidth / state_.progressMaximum);
        err_ << u'\r' << u'[' << QString(filled, u'#') << QString(BarWidth - filled, u' ')
             << QStringLiteral("] ") << position << u'/' << state_.progressMaximum << u' '
             << state_.progressLabel << QStringLiteral("   ") << Qt::flush;
        barShown_ = true;
    }
    void ResultShown() override {
        EndBar();
        err_ << QString(state_.resultText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
             << Qt::endl;
    }

private:
    void EndBar() {
        if (barShown_)
            err_ << Qt::endl;
        barShown_ = false;
    }

    const UpdateState& state_;
    QTextStream& err_;
    bool terminal_;
    bool barShown_ = false;
    std::array<Mark, StepRowCount> printed_{};
};

// Forwards to the step lines; the state is the sequence's, known once it exists.
class ForwardingView : public FirmwareUpdateView {
public:
    FirmwareUpdateView* target = nullptr;
    void RowBegun(int previous, int row) override { if (target) target->RowBegun(previous, row); }
    void RowChanged(int row) override { if (target) target->RowChanged(row); }
    void ProgressChanged() override { if (target) target->ProgressChanged(); }
    void ResultShown() override { if (target) target->ResultShown(); }
};

} // namespace

int RunFirmware(CliSession& session, const QStringList& arguments) {
    if (arguments.size() != 1)
        return WrongArguments(session, "firmware");
    const QString image = arguments.first();
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        return session.Fail(ExitBadInput,
                            GetText(ImageNotReadText).arg(QDir::toNativeSeparators(image)));
    file.close();

    // As the window's firmware area: opened also when no gauge answers (a
    // gauge left in its loader), then as a Tessra2.
    if (const int failed = session.OpenAdapter())
        return failed;
    TSDIHandler& gauge = session.Gauge();
    const int model = gauge.QueryAddress().empty() ? 0 : gauge.GetModel();

    ForwardingView forward;
    FirmwareUpdateSequence sequence(gauge, forward);
    StepLines lines(sequence.State(), session.Io().err, session.Io().errIsTerminal);
    forward.target = &lines;
    if (!session.Io().backupFolder.isEmpty())
        sequence.SetBackupFolder(session.Io().backupFolder);
    session.Questions().SetFileAnswer(image);
    sequence.ShowArea(model);
    sequence.StartFirmwareUpdate();
    if (sequence.State().resultSuccess)
        return ExitSuccess;
    return session.Questions().Refused() ? ExitBadInput : ExitNoAnswer;
}
