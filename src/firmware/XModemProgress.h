#pragma once

// Where the XModem sender shows how far a transfer has come: a progress bar
// with its minimum at 0, and a label beside it. The firmware update window
// implements it with its own bar and label; a caller without a window may
// pass none.

#include <QString>
#include <cstdint>

class XModemProgress {
public:
    virtual ~XModemProgress() = default;
    // Range 0 .. maximum.
    virtual void SetMaximum(std::int64_t maximum) = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual void SetLabel(const QString& text) = 0;
    // Called after every acknowledged block: the bar may be drawn now. A
    // window that draws on its own while the sender waits for the line (the
    // sender processes its messages in every wait) does nothing here.
    virtual void Repaint() = 0;
};
