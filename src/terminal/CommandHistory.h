#pragma once

// The terminal's command history: a ring of 51 command texts, the five
// most recent shown on buttons, and browsing with the arrow keys.
//
// Browsing works on the stored commands from the oldest to the newest; the
// browse position starts just past the newest after every sent command.
// Up shows the command before the position (the newest first) and moves
// the position back, down to the oldest; Down shows the command at the
// position and moves it forward. Browsing never wraps round.

#include <QString>

#include <array>
#include <cstddef>
#include <string>

class CommandHistory {
public:
    static constexpr int Slots = 51;
    static constexpr int Buttons = 5;

    // Stores command in the slot for the next command.
    void Store(const std::string& command);

    // Up and Down arrows: the text the entry field shows afterwards, or false
    // when the key changes nothing.
    bool Older(std::string& entry);
    bool Newer(std::string& entry);

    // The (i+1)-th most recent command (i = 0 the most recent); empty when
    // fewer were sent.
    std::string Recent(int i) const;
    // Slot of the next command (0 to 50).
    int WriteIndex() const { return writeIndex_; }
    int Count() const { return count_; }

    // What a last-command button shows for command: up to 14 characters
    // whole, a longer one as its first 15 characters and " ...".
    static QString ButtonCaption(const std::string& command);

private:
    // The k-th stored command, 0 being the oldest.
    const std::string& Stored(int k) const;

    std::array<std::string, Slots> slots_;
    int writeIndex_ = 0;
    int count_ = 0;  // commands held, at most Slots
    int browse_ = 0; // browse position, 0 to count_
};
