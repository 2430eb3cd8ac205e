#include "terminal/CommandHistory.h"

#include "link/ByteText.h"

namespace {

constexpr std::size_t WholeCaption = 14;
constexpr std::size_t ShortenedCaption = 15;

} // namespace

void CommandHistory::Store(const std::string& command) {
    slots_[static_cast<std::size_t>(writeIndex_)] = command;
    writeIndex_ = writeIndex_ >= Slots - 1 ? 0 : writeIndex_ + 1;
    if (count_ < Slots)
        ++count_;
    browse_ = count_;
}

const std::string& CommandHistory::Stored(int k) const {
    const int slot = ((writeIndex_ - count_ + k) % Slots + Slots) % Slots;
    return slots_[static_cast<std::size_t>(slot)];
}

bool CommandHistory::Older(std::string& entry) {
    // Past the newest: step back onto it first.
    if (browse_ == count_ && browse_ > 0)
        --browse_;
    entry = browse_ < count_ ? Stored(browse_) : std::string();
    if (browse_ > 0)
        --browse_;
    return true;
}

bool CommandHistory::Newer(std::string& entry) {
    if (browse_ >= count_)
        return false;
    entry = Stored(browse_);
    ++browse_;
    return true;
}

std::string CommandHistory::Recent(int i) const {
    if (i < 0 || i >= count_)
        return {};
    return Stored(count_ - 1 - i);
}

QString CommandHistory::ButtonCaption(const std::string& command) {
    const QString text = Latin1Text(command);
    if (static_cast<std::size_t>(text.size()) <= WholeCaption)
        return text;
    return text.left(static_cast<qsizetype>(ShortenedCaption)) + QStringLiteral(" ...");
}
