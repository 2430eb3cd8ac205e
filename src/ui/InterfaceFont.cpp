#include "InterfaceFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

QStringList InterfaceFontFamilies() {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
            QStringLiteral("Helvetica")};
}

QString InterfaceFontFamily() {
    // Installed families only: the font matcher would otherwise hand back a
    // substitute under the asked-for name.
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : InterfaceFontFamilies())
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return {};
}

bool UseInterfaceFont() {
    const QString family = InterfaceFontFamily();
    if (family.isEmpty())
        return false;
    QFont font = QApplication::font();
    font.setFamilies({family});
    QApplication::setFont(font);
    return true;
}
