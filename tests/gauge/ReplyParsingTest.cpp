// The handler's judgement of odd replies, byte for byte, on a scripted line:
// short lines, NUL bytes, missing line ends, replies in pieces, values that
// do not add up, unreadable numbers.

#include "support/QtPrinters.h"
#include "support/ScriptedAdapter.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "support/LinkStateGuard.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

QString NumberedText(int id) {
    return QStringLiteral("<%1>").arg(id);
}

class ScriptedReply : public ::testing::Test {
protected:
    void SetUp() override {
        backend.adapters = {{"AX000001", "Tessra2 USB SDI-12 adapter"}};
        D2XXDriver::InstallBackend(&backend);
        ASSERT_TRUE(handler.Connect());
        handler.Address = "0";
        TSDIHandler::SetTextSource(&NumberedText);
    }
    void TearDown() override {
        TSDIHandler::SetTextSource(nullptr);
        QLocale::setDefault(QLocale::c());
    }

    // Scripts the replies, then runs the operation.
    template <typename Fn> auto With(const Lines& replies, Fn&& operation) {
        for (const std::string& reply : replies)
            backend.line.Reply(reply);
        return operation();
    }
    // A reading whose values come in one data reply, through MeasureWithStatus.
    double Reading(const std::string& content, std::string& valueText,
                   const std::string& announcement = "00009\r\n") {
        messages.clear();
        return With({announcement, "0" + content + "\r\n"},
                    [&] { return handler.MeasureWithStatus(messages, valueText); });
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    ScriptedBackend backend;
    LinkStateGuard link{&backend};
    ScriptedLine& line = backend.line;
    TSDIHandler handler;
    QStringList messages;
};

} // namespace

TEST_F(ScriptedReply, QueriesTakeContentOnlyFromCompleteLines) {
    EXPECT_EQ(With({"0\r\n"}, [&] { return handler.GetSerialNumber(); }), "");
    EXPECT_EQ(With({"\0\0\0\r\n"s}, [&] { return handler.GetHardwareIndex(); }), "\0\0"s);
    // Cut off before its line end: not a shorter serial number.
    EXPECT_EQ(With({"0123456789"}, [&] { return handler.GetSerialNumber(); }), "");
    line.ReplyInPieces({"0V1", ".30", ".3\r", "\n"});
    EXPECT_EQ(handler.GetFirmwareVersion(), "V1.30.3");
    EXPECT_EQ(line.written, (Lines{"0OOS!", "0OOB!", "0OOS!", "0OOV!"}));

    EXPECT_EQ(With({"02013-04-05T14:03:09\r\n"}, [&] { return handler.GetDeviceTime(); }),
              "2013-04-05T14:03:09");
    EXPECT_EQ(With({"0\r\r\n\n"}, [&] { return handler.GetDeviceTime(); }), "\r")
        << "a lone CR stays; the line ends at its first LF";
    EXPECT_EQ(With({"02013-04-05T14:03:0"}, [&] { return handler.GetDeviceTime(); }), "");
    EXPECT_EQ(With({"\0"s}, [&] { return handler.GetDeviceTime(); }), "");
}

TEST_F(ScriptedReply, IntegerGettersRejectWrongLengthsAndNonNumbers) {
    const auto unit = [&] { return handler.GetTemperatureUnit(); };
    const auto heating = [&] { return handler.GetHeatingTemperature(); };
    const auto threshold = [&] { return handler.GetHeatingThreshold(); };
    EXPECT_EQ(With({"0\0\r\n"s}, unit), -1);
    EXPECT_EQ(With({"0+\r\n"}, unit), -1);
    EXPECT_EQ(With({"012\r\n"}, unit), -1);
    EXPECT_EQ(With({"01"}, unit), -1);
    EXPECT_EQ(With({"0+12\r\n"}, heating), 12);
    EXPECT_EQ(With({"0x\r\n"}, heating), -1);
    EXPECT_EQ(With({"0 7\r\n"}, heating), -1);
    EXPECT_EQ(With({"0+2147483648\r\n"}, heating), -1);
    EXPECT_EQ(With({"0-12\r\n"}, threshold), -12);
    EXPECT_EQ(With({"0+4\r\n"}, threshold), 4);
    EXPECT_EQ(With({"0-\r\n"}, threshold), -9999);
    EXPECT_EQ(With({"0\r\n"}, threshold), -9999);
}

TEST_F(ScriptedReply, AddressRepliesMustBeAnAddressCharacter) {
    handler.Address = "5";
    for (const std::string& reply : {"\0\r\n"s, "!\r\n"s, "7ab"s, "0+12\r\n"s})
        EXPECT_EQ(With({reply}, [&] { return handler.QueryAddress(); }), "") << reply;
    EXPECT_EQ(handler.Address, "5");
    line.ReplyInPieces({"b\r", "\n1\r\n"});
    EXPECT_EQ(handler.QueryAddress(), "b") << "only the first line counts";
    EXPECT_EQ(line.written.back(), "?!") << "the address query carries no address";

    EXPECT_EQ(With({"\r\r\n"}, [&] { return handler.ReadAddress(); }), "");
    EXPECT_EQ(With({"3x\r\n"}, [&] { return handler.ReadAddress(); }), "3");
    EXPECT_EQ(handler.Address, "b");

    line.written.clear();
    for (const std::string& bad : {""s, "12"s, "?"s, "\0"s})
        EXPECT_FALSE(handler.ChangeAddress(bad));
    EXPECT_TRUE(line.written.empty()) << "no malformed command reaches the bus";
}

TEST_F(ScriptedReply, ModelFromIdentificationAndVariant) {
    const std::string large = "013AXO     TESR2L131123456789\r\n";
    const auto model = [&] { return handler.GetModel(); };
    EXPECT_EQ(With({large, "03\r\n"}, model), 2);
    line.Reply("013AXO     TESR2S131123456789\r\n");
    line.SilentTransaction();
    EXPECT_EQ(handler.GetModel(), 1);
    EXPECT_EQ(With({large, "3"}, model), 1) << "no second character";
    EXPECT_EQ(With({large, "3\r\n"}, model), 1) << "no address before the variant";
    line.written.clear();
    EXPECT_EQ(With({"013AXO     TESSR2131\0TESR2\r\n"s}, model), 0);
    EXPECT_EQ(line.written, Lines{"0I!"}) << "no variant query for model 0";
}

TEST_F(ScriptedReply, UnreadableFirmwareVersionIsNoSupportAndKeepsTheFields) {
    handler.FirmwareMajor = 2;
    handler.FirmwareMinor = 7;
    handler.FirmwarePatch = 1;
    for (const std::string& version : {"Vx.30.3"s, "V1..3"s, "V1.30.x"s, "V.30.3"s, "V1.3\0.3"s})
        for (int model : {0, 1, 2})
            EXPECT_FALSE(With({"0" + version + "\r\n"},
                              [&] { return handler.SupportsImpulseFactor(model); }))
                << version << " model " << model;
    // Too few components: models 1 and 2 offer it; model 0 does not go by
    // the version an earlier gauge reported.
    EXPECT_FALSE(With({"0V2.0\r\n"}, [&] { return handler.SupportsImpulseFactor(0); }));
    EXPECT_TRUE(With({"0V2.0.\r\n"}, [&] { return handler.SupportsImpulseFactor(1); }));
    EXPECT_EQ(handler.FirmwareMajor, 2);
    EXPECT_EQ(handler.FirmwareMinor, 7);
    EXPECT_EQ(handler.FirmwarePatch, 1);

    EXPECT_TRUE(With({"0VV1.30.35\r\n"}, [&] { return handler.SupportsImpulseFactor(0); }));
    EXPECT_EQ(handler.FirmwarePatch, 3) << "first digit of the third component";
}

TEST_F(ScriptedReply, SetterEchoesMatchByteForByteAndTheBracketAlwaysCloses) {
    const auto setter = [&](const std::string& echo, auto&& set) {
        line.written.clear();
        return With({"00\r\n", echo, "01\r\n"}, set);
    };
    const auto heating = [&] { return handler.SetHeatingTemperature(5); };
    const auto threshold = [&] { return handler.SetHeatingThreshold(-3); };
    EXPECT_TRUE(setter("0+5\r\n", heating));
    EXPECT_TRUE(setter("05\r\n", heating));
    EXPECT_FALSE(setter("0+05\r\n", heating));
    EXPECT_EQ(line.written, (Lines{"0OOE0!", "0OCHS+5!", "0OOE1!"}));
    EXPECT_TRUE(setter("0-3\r\n", threshold));
    EXPECT_TRUE(setter("0+-3\r\n", threshold));
    EXPECT_FALSE(setter("03\r\n", threshold)) << "the sign is part of the echo";
    EXPECT_EQ(line.written[1], "0OCHG-3!");

    for (const std::string& echo : {"01\0\r\n"s, "\0001\r\n"s, "01\n"s, "01"s, "11\r\n"s}) {
        EXPECT_FALSE(setter(echo, [&] { return handler.SetTemperatureUnit(1); }));
        EXPECT_EQ(line.written.back(), "0OOE1!");
    }
    for (const std::string& reply : {"0+1\r\n"s, "01"s}) {
        EXPECT_FALSE(setter(reply, [&] { return handler.ResetAccumulatedPrecipitation(); }));
        EXPECT_EQ(line.written, (Lines{"0OOE0!", "0OMR!", "0OOE1!"}));
    }

    // The protocol setter drops whatever waits in the adapter before its bracket.
    int purges = line.purgesRx;
    setter("01\r\n", [&] { return handler.SetIntensityUnit(1); });
    const int perSetter = line.purgesRx - purges;
    purges = line.purgesRx;
    EXPECT_TRUE(setter("01\r\n", [&] { return handler.SetProtocolType(1); }));
    EXPECT_EQ(line.purgesRx - purges, perSetter + 1);
}

TEST_F(ScriptedReply, AnnouncementPositionsOnShortAndOddReplies) {
    int count = 42;
    const auto start = [&] { return handler.StartMeasurement("M!", count); };
    EXPECT_EQ(With({"0\r\n"}, start), -1);
    for (const std::string& unreadable : {"0x\r\n"s, "0001x\r\n"s, "0\0\0\0\0\r\n"s, "00019"s})
        EXPECT_EQ(With({unreadable}, start), 5) << unreadable;
    EXPECT_EQ(count, 42) << "an unreadable announcement leaves the count alone";
    EXPECT_EQ(With({"01203\r\n"}, [&] { return handler.StartMeasurement("M1!", count); }), 120);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(line.written.back(), "0M1!");
}

TEST_F(ScriptedReply, CollectDataSplitsAtSignsAndNeedsCompleteLines) {
    Lines values;
    line.ReplyInPieces({"0+1", ".5+0", ".00-2\r\n"});
    EXPECT_TRUE(handler.CollectData(3, values));
    EXPECT_EQ(values, (Lines{"+1.5", "+0.00", "-2"}));

    values.clear();
    EXPECT_TRUE(With({"0+1.2E-3\r\n"}, [&] { return handler.CollectData(2, values); }));
    EXPECT_EQ(values, (Lines{"+1.2E", "-3"})) << "an exponent's sign starts a value";

    for (const std::string& reply : {"0+1\r"s, "0+1.5+2.25"s}) {
        values.clear();
        EXPECT_FALSE(With({reply}, [&] { return handler.CollectData(1, values); })) << reply;
        EXPECT_TRUE(values.empty());
    }
    EXPECT_TRUE(handler.CollectData(0, values)) << "nothing announced, nothing asked";
    EXPECT_FALSE(handler.CollectData(-1, values));

    // Replies without any value: the collection ends after D9!.
    line.written.clear();
    line.responder = [](const std::string&) { return ScriptedLine::Answer{"0abc\r\n"}; };
    EXPECT_FALSE(handler.CollectData(3, values));
    ASSERT_EQ(line.written.size(), 10u);
    EXPECT_EQ(line.written.back(), "0D9!");
}

TEST_F(ScriptedReply, ReadingWithoutEnoughOrReadableValuesGivesAnExceptionLine) {
    std::string valueText = "kept";
    EXPECT_EQ(With({"0\r\n"}, [&] { return handler.MeasureWithStatus(messages, valueText); }), 0);
    EXPECT_EQ(messages, QStringList{"Exception Error List index out of bounds (4)"});

    EXPECT_EQ(Reading("+1+2+3+4+5.5", valueText, "00005\r\n"), 0.0);
    EXPECT_EQ(messages, QStringList{"Exception Error List index out of bounds (8)"});
    EXPECT_EQ(Reading("+1+2+3+4+5.5+6+7+8+x", valueText), 0.0);
    EXPECT_EQ(messages, QStringList{"Exception Error '+x' is not a valid integer value"});
    EXPECT_EQ(valueText, "kept");

    EXPECT_EQ(Reading("+1+2+3+4+5.5.1+6+7+8+0", valueText), 0.0);
    EXPECT_EQ(messages,
              QStringList{"Exception Error '+5.5.1' is not a valid floating point value"});
    EXPECT_EQ(valueText, "+5.5.1") << "the value text is handed over before its conversion";
    EXPECT_EQ(Reading("+1+2+3+4+inf+6+7+8+0", valueText), 0.0);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ScriptedReply, ReadingUsesThePCsDecimalSeparatorAndTheInstalledTexts) {
    std::string valueText;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(Reading("+1+2+3+4+12.25+6+7+8+2", valueText), 12.25);
    EXPECT_EQ(valueText, "+12,25");
    EXPECT_TRUE(messages.isEmpty()) << "bit 2 is only a warning";
    QLocale::setDefault(QLocale::c());
    EXPECT_DOUBLE_EQ(Reading("+1+2+3+4+12,5+6+7+8+1536", valueText), 12.5);
    EXPECT_EQ(valueText, "+12.5");
    EXPECT_EQ(messages, (QStringList{"<180> (<192>)", "<181> (<192>)"}));

    TSDIHandler::SetTextSource(nullptr);
    Reading("+1+2+3+4+0.5+6+7+8+1024", valueText);
    EXPECT_EQ(messages, QStringList{" ()"}) << "without a text source the texts are empty";
}
