// The start handshake with its speed switch and countdown, and the waits
// for a character it is built from.

#include "XModemFixture.h"

#include "ui/WideLanguageHandler.h"

namespace {

std::vector<std::string> Repeat(const std::string& line, int times) {
    return std::vector<std::string>(static_cast<std::size_t>(times), line);
}

std::vector<std::string> Countdown(const std::string& baud, int from, int to) {
    std::vector<std::string> lines;
    for (int n = from; n >= to; --n)
        lines.push_back("switching baud rate..." + baud + " (" + std::to_string(n) + ")");
    return lines;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

} // namespace

class XModemHandshake : public XModemFixture {
protected:
    void SetUp() override {
        XModemFixture::SetUp();
        LanguageOffset = OffsetEnglish;
        Attach(sender);
    }
    void TearDown() override {
        LanguageOffset = OffsetGerman;
        XModemFixture::TearDown();
    }

    ReceiverLine line;
    ReceiverBackend backend{line};
    TUSBXModem sender;
};

TEST_F(XModemHandshake, ReadyReceiverSynchronisesAtOnceWithoutSpeedChange) {
    line.firstRequestMs = 300;
    OpenAt(backend, "AX-XMODEM", 115200);

    EXPECT_TRUE(sender.SynchronizeReceiver());
    EXPECT_EQ(log, std::vector<std::string>{"XModem init: C"});
    EXPECT_EQ(D2XXDriver::CurrentBaudRate, 115200u);
    EXPECT_LT(clock.Peek(), 310.0);
}

TEST_F(XModemHandshake, NakCountsAsReady) {
    line.requests = false;
    OpenAt(backend, "AX-XMODEM", 4800);
    line.Send(0x15, 2500);

    EXPECT_TRUE(sender.SynchronizeReceiver());
    EXPECT_EQ(log,
              (std::vector<std::string>{"XModem init: ", "XModem init: ", "XModem init: \x15"}));
}

TEST_F(XModemHandshake, RequestOnlyAtTheOtherSpeedIsFoundAfterTheSwitch) {
    line.requestBaud = 4800;
    line.firstRequestMs = 0;
    line.requestPeriodMs = 1000;
    OpenAt(backend, "AX-XMODEM", 115200);

    EXPECT_TRUE(sender.SynchronizeReceiver());

    // The switch comes after ten 1 s waits (the "C" at 10 s still went out at
    // 115200); the one at 11 s ends the second half-second wait of the countdown.
    std::vector<std::string> expected = Repeat("XModem init: ", 10);
    expected.push_back("switching baud rate... 4800");
    Append(expected, Countdown("4800", 39, 38));
    expected.push_back("XModem init: C");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(D2XXDriver::CurrentBaudRate, 4800u);
    EXPECT_EQ(line.bauds.back(), 4800u);
}

TEST_F(XModemHandshake, SilentReceiverFailsAfterTwoCyclesAtTheStartingSpeed) {
    line.requests = false;
    clock.SetPollStepMs(0.5);
    clock.SetMessageStepMs(0.5);
    OpenAt(backend, "AX-XMODEM", 4800);

    EXPECT_FALSE(sender.SynchronizeReceiver());

    std::vector<std::string> expected = Repeat("XModem init: ", 10);
    expected.push_back("switching baud rate... 115200");
    Append(expected, Countdown("115200", 39, 0));
    Append(expected, Repeat("XModem init: ", 10));
    expected.push_back("switching baud rate... 4800");
    Append(expected, Countdown("4800", 39, 0));
    EXPECT_EQ(log, expected);
    EXPECT_EQ(D2XXDriver::CurrentBaudRate, 4800u);
    EXPECT_EQ(line.baud, 4800u);
    EXPECT_GE(clock.Peek(), 2 * (10 * 1000.0 + 40 * 500.0));
    EXPECT_LT(clock.Peek(), 2 * (10 * 1000.0 + 40 * 500.0) + 1000.0);
}

TEST_F(XModemHandshake, RequestSeenInTheCountdownIsDiscardedAndTheNextOneAwaited) {
    line.requestBaud = 4800;
    line.requestPeriodMs = 3000;
    line.firstRequestMs = 10100; // just after the switch
    OpenAt(backend, "AX-XMODEM", 115200);

    EXPECT_TRUE(sender.SynchronizeReceiver());
    // The countdown ends on the "C" at 10.1 s; the second cycle purges it and
    // waits for the one at 13.1 s, logging the empty waits before it.
    ASSERT_GE(log.size(), 14u);
    EXPECT_EQ(log[11], "switching baud rate...4800 (39)");
    EXPECT_EQ(log[12], "XModem init: ");
    EXPECT_EQ(log.back(), "XModem init: C");
    EXPECT_GE(clock.Peek(), 13100.0);
    EXPECT_EQ(line.purgesRx, 2);
}

TEST_F(XModemHandshake, CancelEndsTheHandshakeAtTheNextTest) {
    line.requests = false;
    OpenAt(backend, "AX-XMODEM", 115200);
    struct Cancel {
        ManualClock* clock;
        double at;
    } cancel{&clock, 2500};
    clock.SetMessageHook(
        [](void* context) {
            auto* c = static_cast<Cancel*>(context);
            if (c->clock->Peek() >= c->at)
                UpdateCancelled = true;
        },
        &cancel);

    EXPECT_FALSE(sender.SynchronizeReceiver());
    EXPECT_EQ(log, Repeat("XModem init: ", 3));
    EXPECT_LT(clock.Peek(), 3100.0);

    // Pressed during the countdown, it does not wait for the countdown to run out.
    UpdateCancelled = false;
    log.clear();
    cancel.at = clock.Peek() + 11800;
    EXPECT_FALSE(sender.SynchronizeReceiver());
    EXPECT_EQ(log.size(), 10u + 1u + 4u);
    EXPECT_EQ(D2XXDriver::CurrentBaudRate, 4800u);
}

TEST_F(XModemHandshake, SwitchMessageFollowsTheLanguage) {
    line.requests = false;
    clock.SetPollStepMs(0.5);
    LanguageOffset = OffsetGerman;
    OpenAt(backend, "AX-XMODEM", 115200);
    sender.OnLog = [this](const std::string& text) {
        log.push_back(text);
        if (log.size() == 12)
            UpdateCancelled = true;
    };

    EXPECT_FALSE(sender.SynchronizeReceiver());
    ASSERT_EQ(log.size(), 12u);
    EXPECT_EQ(log[10], "Baudrate wird umgeschaltet... 4800");
    EXPECT_EQ(log[11], "Baudrate wird umgeschaltet...4800 (39)");
}

class XModemWait : public XModemHandshake {
protected:
    void SetUp() override {
        XModemHandshake::SetUp();
        line.requests = false;
        OpenAt(backend, "AX-XMODEM", 115200);
    }
};

TEST_F(XModemWait, EndsAsSoonAsTheCharacterArrives) {
    line.Send(0x06, 1234.0);
    std::string received;
    sender.WaitForChar(0x06, 8000, received, false);
    EXPECT_EQ(received, "\x06");
    EXPECT_GE(clock.Peek(), 1234.0);
    EXPECT_LT(clock.Peek(), 1234.1);
}

TEST_F(XModemWait, ConfirmDrainsOneMorePassAndStillGivesTheExpectedCharacter) {
    line.Send('C', 10.0);
    line.Send('C', 10.0);
    std::string received;
    sender.WaitForChar('C', 1000, received, true);
    EXPECT_EQ(received, "C");
    EXPECT_LT(clock.Peek(), 10.2);
    D2XXDriver::GetRxQueueStatus();
    EXPECT_EQ(D2XXDriver::RxQueueBytes, 0u);
}

TEST_F(XModemWait, NakOrCanBesideTheFirstSightOfTheCharacterWins) {
    std::string received;
    line.Send('C', 10.0);
    line.Send(0x15, 10.0);
    sender.WaitForChar('C', 1000, received, true);
    EXPECT_EQ(received, "\x15");

    line.Send(0x18, clock.Peek() + 5);
    line.Send(0x06, clock.Peek() + 5);
    sender.WaitForChar(0x06, 1000, received, false);
    EXPECT_EQ(received, "\x06"); // the expected character is looked for first

    line.Send('x', clock.Peek() + 5);
    line.Send(0x18, clock.Peek() + 6);
    sender.WaitForChar(0x06, 1000, received, false);
    EXPECT_EQ(received, "\x18");
}

TEST_F(XModemWait, TimeoutLeavesNothingReceivedAndIgnoresOtherBytes) {
    line.Send('x', 100.0);
    line.Send('C', 100.0);
    std::string received = "stale";
    const double start = clock.Peek();
    sender.WaitForChar(0x06, 500, received, false);
    EXPECT_EQ(received, "");
    EXPECT_GE(clock.Peek() - start, 500.0);
    EXPECT_LT(clock.Peek() - start, 500.1);
}
