#include "app/TestReport.h"

#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "measurement/MeasurementFrame.h"
#include "ui/TTNTStatusPanel.h"

#include <QEvent>
#include <cstdio>

namespace {

const char* KindName(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return "warning";
    case MsgKind::Error:
        return "error";
    case MsgKind::Information:
        return "information";
    case MsgKind::Confirmation:
        return "confirmation";
    }
    return "message";
}

QString OneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\n"));
    return text;
}

} // namespace

TestReport::TestReport() {
    InstallDialogs(this);
}

TestReport::~TestReport() {
    if (&Dialogs() == this)
        InstallDialogs(nullptr);
}

void TestReport::Print(const QString& line) {
    const QByteArray bytes = OneLine(line).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void TestReport::Attach(TTessra2ParamMainForm& window) {
    window_ = &window;
    window.installEventFilter(this);
    connect(&window, &TTessra2ParamMainForm::PresentationChanged, this, [this](bool connected) {
        Print(connected
                  ? QStringLiteral("presentation connected model=%1").arg(window_->ModelCode())
                  : QStringLiteral("presentation disconnected"));
    });
    TConnectionFrame* area = window.ConnectionArea;
    connect(area, &TConnectionFrame::InfoRowShown, this, [this, area](int index, bool ok) {
        const auto& rows = area->InfoRows();
        QString line = QStringLiteral("row %1 %2").arg(index + 1).arg(ok ? "ok" : "failed");
        if (ok && index >= 0 && index < static_cast<int>(rows.size()))
            line += u' ' + rows[static_cast<std::size_t>(index)]->FullValueText();
        Print(line);
    });
    connect(area, &TConnectionFrame::InfosReadFinished, this, [this](bool complete) {
        Print(complete ? QStringLiteral("read complete") : QStringLiteral("read stopped"));
    });
    TMeasurementFrame* measurement = window.MeasurementArea;
    connect(measurement, &TMeasurementFrame::Recorded, this, [this, measurement] {
        const TMeasurementValueArray& history = measurement->GetMeasurementHistory();
        Print(QStringLiteral("record %1 %2")
                  .arg(history.Size())
                  .arg(DateTimeOf(history.Last().Time)
                           .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))));
    });
}

bool TestReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        Print(QStringLiteral("shown"));
    }
    return QObject::eventFilter(watched, event);
}

void TestReport::Notice(const QString& text, MsgKind kind, const QString& key) {
    (void)key;
    Print(QStringLiteral("notice %1: %2").arg(QLatin1String(KindName(kind)), text));
}

MsgResult TestReport::Message(const QString& text, MsgKind kind, MsgButtons buttons) {
    Print(QStringLiteral("message %1: %2").arg(QLatin1String(KindName(kind)), text));
    return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
}

QString TestReport::OpenFile(const FileDialogRequest& request) {
    Print(QStringLiteral("open file: ") + request.title);
    return {};
}

QString TestReport::SaveFile(const FileDialogRequest& request) {
    Print(QStringLiteral("save file: ") + request.title);
    return {};
}
