#include "app/CommandLine.h"
#include "support/ProgramVersion.h"

#include <gtest/gtest.h>

namespace {

ParsedCommandLine Parse(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* argument : arguments)
        list.append(QString::fromLatin1(argument));
    return ParseCommandLine(list);
}

using Adapters = ProgramOptions::Adapters;

} // namespace

TEST(CommandLine, ChoosesTheAdapters) {
    EXPECT_EQ(Parse({}).options.adapters, Adapters::Real);

    const ParsedCommandLine simulate = Parse({"--simulate"});
    EXPECT_TRUE(simulate.error.isEmpty());
    EXPECT_EQ(simulate.options.adapters, Adapters::Simulated);
    EXPECT_EQ(simulate.options.simulatedModels, std::vector<int>{1});

    const ParsedCommandLine two = Parse({"--simulate=0,2"});
    EXPECT_TRUE(two.error.isEmpty());
    EXPECT_EQ(two.options.simulatedModels, (std::vector<int>{0, 2}));

    const ParsedCommandLine port = Parse({"--port", "/dev/pts/7"});
    EXPECT_TRUE(port.error.isEmpty());
    EXPECT_EQ(port.options.adapters, Adapters::Port);
    EXPECT_EQ(port.options.portPath, QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(Parse({"--port=/dev/ttyUSB0"}).options.portPath, QStringLiteral("/dev/ttyUSB0"));
}

TEST(CommandLine, RejectsWhatItCannotDo) {
    EXPECT_FALSE(Parse({"--simulate=3"}).error.isEmpty());
    EXPECT_FALSE(Parse({"--simulate=0,x"}).error.isEmpty());
    EXPECT_FALSE(Parse({"--simulate="}).error.isEmpty());
    EXPECT_FALSE(Parse({"--port"}).error.isEmpty());
    EXPECT_FALSE(Parse({"--port="}).error.isEmpty());
    EXPECT_FALSE(Parse({"--simulate", "--port", "/dev/pts/1"}).error.isEmpty());
    EXPECT_FALSE(Parse({"--frobnicate"}).error.isEmpty());
    EXPECT_FALSE(Parse({"--simulate=0,1,2,0,1,2,0,1,2"}).error.isEmpty());
}

TEST(CommandLine, HelpVersionAndHiddenOptions) {
    const QStringList help{QStringLiteral("--simulate"), QStringLiteral("--help")};
    EXPECT_TRUE(AsksForHelpOrVersion(help));
    EXPECT_TRUE(AsksForHelpOrVersion({QStringLiteral("--version")}));
    EXPECT_FALSE(AsksForHelpOrVersion({QStringLiteral("--simulate")}));
    EXPECT_TRUE(UsageText().contains(QLatin1String("--simulate=0,2")));
    EXPECT_TRUE(VersionText().contains(ShownProductVersion()));

    const ParsedCommandLine hidden =
        Parse({"--port", "/dev/pts/3", "--test-report", "--test-click", "ConnectPanel",
               "--startup-time"});
    EXPECT_TRUE(hidden.error.isEmpty()) << hidden.error.toStdString();
    EXPECT_TRUE(hidden.options.testReport);
    EXPECT_EQ(hidden.options.testClicks, QStringList{QStringLiteral("ConnectPanel")});
    EXPECT_FALSE(Parse({"--screenshot-tour=/tmp/shots"}).error.isEmpty())
        << "the tour is a tool of its own, not in the program";
    EXPECT_TRUE(hidden.options.startupTime);
}
