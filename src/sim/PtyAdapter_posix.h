#pragma once

// The adapter tessra2-sim offers the program: a pseudo-terminal set to
// 1200 baud, which can be unplugged and plugged in again the way a USB
// serial adapter is.
//
// - Unplug closes both ends: a program that has the terminal open sees its
//   line hang up and fail, and the terminal's node in /dev/pts goes away.
// - Plug opens a new terminal (a new path, as a USB adapter often gets).
// - With a link path, a symbolic link there always points at the current
//   terminal (made under a temporary name, then renamed over the old one,
//   so a reader never finds it missing or half made); it is removed while
//   the adapter is unplugged, as udev removes /dev/serial/by-id/... links.

#include <string>

class PtyAdapter {
public:
    // linkPath: where the symbolic link goes; empty for none.
    explicit PtyAdapter(std::string linkPath = {});
    // Unplugs.
    ~PtyAdapter();
    PtyAdapter(const PtyAdapter&) = delete;
    PtyAdapter& operator=(const PtyAdapter&) = delete;

    // Plugs in a new terminal and points the link at it. False, with
    // Error(), when there is no terminal or the link cannot be made (a file
    // that is not a symbolic link is never replaced); nothing is plugged in
    // then. Plugging in a plugged adapter does nothing.
    bool Plug();
    // Closes both ends and removes the link (when it still points at the
    // terminal). Nothing happens when the adapter is unplugged.
    void Unplug();

    bool Plugged() const { return master_ >= 0; }
    // The gauge's end of the line (non-blocking); -1 while unplugged.
    int Master() const { return master_; }
    // The terminal's path, which the program opens; empty while unplugged.
    const std::string& Path() const { return path_; }
    const std::string& LinkPath() const { return linkPath_; }
    const std::string& Error() const { return error_; }

private:
    bool PointLink();
    void RemoveLink();

    std::string linkPath_;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string error_;
};
