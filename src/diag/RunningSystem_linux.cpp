// The running Linux system as the connection checks see it.

#include "diag/ConnectionDoctor.h"

#if defined(__linux__)

#include <QtGlobal>
#include <unistd.h>
#include <vector>

namespace ConnectionDoctor {

namespace {

class RunningLinux final : public DoctorSystem {
public:
    QString Root() const override { return QStringLiteral("/"); }
    unsigned UserId() const override { return static_cast<unsigned>(::geteuid()); }
    QList<unsigned> GroupIds() const override {
        QList<unsigned> ids{static_cast<unsigned>(::getegid())};
        const int count = ::getgroups(0, nullptr);
        if (count <= 0)
            return ids;
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i)
            if (!ids.contains(static_cast<unsigned>(groups[static_cast<std::size_t>(i)])))
                ids << static_cast<unsigned>(groups[static_cast<std::size_t>(i)]);
        return ids;
    }
    QString Environment(const char* name) const override { return qEnvironmentVariable(name); }
};

} // namespace

const DoctorSystem& RunningSystem() {
    static const RunningLinux system;
    return system;
}

} // namespace ConnectionDoctor

#endif
