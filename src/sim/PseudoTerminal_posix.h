#pragma once

// Pseudo-terminals on POSIX systems: what tessra2-sim and the end-to-end
// tests need from them.

#include <cstdint>
#include <string>
#include <termios.h>

// Opens a pseudo-terminal pair with the slave in raw mode (CLOCAL, CREAD)
// and the master non-blocking. False (and both descriptors -1) on failure.
bool OpenRawPseudoTerminal(int& master, int& slave, std::string& slavePath);

// Baud rate of a termios speed code; 0 for codes this program never uses.
std::uint32_t BaudOfSpeed(speed_t speed);
