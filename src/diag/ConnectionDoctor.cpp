#include "diag/ConnectionDoctor.h"

#include "ui/WideLanguageHandler.h"

#include <QTextStream>

namespace ConnectionDoctor {

namespace {

constexpr int FirstCheckNameId = 852; // in the order of Check
constexpr int OkTextId = 858;
constexpr int ProblemTextId = 859;
constexpr int NotApplicableTextId = 860;
constexpr int FixLabelTextId = 861;
constexpr int NoProblemTextId = 897;
constexpr int ProblemsFoundTextId = 898;

const QString Indent = QStringLiteral("    ");

// Each line of text, indented.
void PrintIndented(QTextStream& out, const QString& text) {
    for (const QString& line : text.split(QLatin1Char('\n')))
        out << Indent << line << '\n';
}

// The fix, each of its lines after the label.
QString LabelledFix(const QString& fix) {
    QStringList lines = fix.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = GetText(FixLabelTextId) + QLatin1Char(' ') + line;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString StateText(CheckState state) {
    switch (state) {
    case CheckState::Ok:
        return GetText(OkTextId);
    case CheckState::Problem:
        return GetText(ProblemTextId);
    case CheckState::NotApplicable:
        return GetText(NotApplicableTextId);
    }
    return {};
}

QString CheckName(Check check) {
    return GetText(FirstCheckNameId + static_cast<int>(check));
}

QString ProblemDetails(const QList<Finding>& findings) {
    QStringList parts;
    for (const Finding& finding : findings) {
        if (finding.state != CheckState::Problem)
            continue;
        QString part = finding.name + QLatin1Char('\n') + finding.cause;
        if (!finding.fix.isEmpty())
            part += QLatin1Char('\n') + LabelledFix(finding.fix);
        parts << part;
    }
    return parts.join(QStringLiteral("\n\n"));
}

int PrintFindings(const QList<Finding>& findings, QTextStream& out) {
    bool problem = false;
    for (const Finding& finding : findings) {
        out << '[' << StateText(finding.state) << "] " << finding.name << '\n';
        if (!finding.cause.isEmpty())
            PrintIndented(out, finding.cause);
        if (finding.state == CheckState::Problem) {
            problem = true;
            if (!finding.fix.isEmpty())
                PrintIndented(out, LabelledFix(finding.fix));
        }
    }
    out << GetText(problem ? ProblemsFoundTextId : NoProblemTextId) << '\n';
    out.flush();
    return problem ? 1 : 0;
}

int RunDoctor(const DoctorSystem& system, QTextStream& out) {
    return PrintFindings(Diagnose(system), out);
}

} // namespace ConnectionDoctor
