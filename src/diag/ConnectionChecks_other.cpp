// Systems the connection checks do not know: one finding that says so.

#include "diag/ConnectionDoctor.h"

#if !defined(__linux__)

#include "ui/WideLanguageHandler.h"

#include <QtGlobal>

namespace ConnectionDoctor {

namespace {

constexpr int ChecksNotAvailable = 895;

class RunningOther final : public DoctorSystem {
public:
    QString Root() const override { return QStringLiteral("/"); }
    unsigned UserId() const override { return 0; }
    QList<unsigned> GroupIds() const override { return {}; }
    QString Environment(const char* name) const override { return qEnvironmentVariable(name); }
};

} // namespace

const DoctorSystem& RunningSystem() {
    static const RunningOther system;
    return system;
}

QList<Finding> Diagnose(const DoctorSystem&) {
    return {Finding{Check::DeviceAccess, GetText(896), CheckState::NotApplicable,
                    GetText(ChecksNotAvailable), {}}};
}

} // namespace ConnectionDoctor

#endif
