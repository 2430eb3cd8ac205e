#pragma once

// The program's version as the build sets it, in its one place (the
// project's version in CMakeLists.txt, handed to the tests as
// TESSRA_PROJECT_VERSION), and the product version shown for it: "V",
// the major number, "." and the minor and patch numbers as two digits,
// "." and the build number (1.0.8.7 is shown as V1.08.7).

#include <QString>
#include <QStringList>

inline QString ProjectVersion() {
    return QStringLiteral(TESSRA_PROJECT_VERSION);
}

inline QString ShownProductVersion() {
    const QStringList parts = ProjectVersion().split(u'.');
    if (parts.size() != 4)
        return {};
    const int minorAndPatch = parts[1].toInt() * 10 + parts[2].toInt();
    return QStringLiteral("V%1.%2.%3")
        .arg(parts[0])
        .arg(minorAndPatch, 2, 10, QLatin1Char('0'))
        .arg(parts[3]);
}
