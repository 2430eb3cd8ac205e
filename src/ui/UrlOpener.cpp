#include "ui/UrlOpener.h"

#include <QDesktopServices>

namespace {

UrlOpener& Installed() {
    static UrlOpener opener;
    return opener;
}

} // namespace

bool OpenUrl(const QUrl& url) {
    const UrlOpener& opener = Installed();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

void InstallUrlOpener(UrlOpener opener) {
    Installed() = std::move(opener);
}
