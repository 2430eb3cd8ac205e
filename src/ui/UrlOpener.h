#pragma once

// Opening a file or web address with the program the desktop chooses for
// it goes through one seam: the desktop's own handler by default, a
// recording one in tests.

#include <QUrl>
#include <functional>

using UrlOpener = std::function<bool(const QUrl& url)>;

// Opens url with the installed opener; false when it could not be opened.
bool OpenUrl(const QUrl& url);
// Installs opener; an empty one restores the desktop's handler.
void InstallUrlOpener(UrlOpener opener);
