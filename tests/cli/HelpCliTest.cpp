#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRun.h"

namespace qlt::test {
namespace {

const char* const kCommands[] = {"codec", "dict", "rate", "scan", "clean", "log"};

TEST(HelpCli, EveryCommandHasItsHelpWithExitCodes) {
    for (const char* command : kCommands) {
        SCOPED_TRACE(command);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{command, "--help"}, {command, "-h"}, {"help", command}}) {
            const CliRun run = runCli(args);
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.out.rfind(std::string("usage: quillgate-cli ") + command, 0), 0u) << run.out;
            EXPECT_NE(run.out.find("\nExit codes: 0 "), std::string::npos) << run.out;
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST(HelpCli, TheOverviewNamesEveryCommand) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, {"help"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 0);
        for (const char* command : kCommands)
            EXPECT_NE(run.out.find(std::string("quillgate-cli ") + command + " "), std::string::npos)
                << command;
        EXPECT_NE(run.out.find("quillgate-cli COMMAND --help"), std::string::npos);
    }
}

TEST(HelpCli, ScanAndCleanTellEveryWayToGiveThePassword) {
    for (const char* command : {"scan", "clean"}) {
        const CliRun run = runCli({command, "--help"});
        for (const char* way : {"--password-file FILE", "--password -", "QUILLGATE_PASSWORD", "--password P"})
            EXPECT_NE(run.out.find(way), std::string::npos) << command << ": " << way;
    }
}

struct Misuse {
    const char* name;
    std::vector<std::string> args;
    const char* error;  // the first line on standard error
};

class MisuseCli : public ::testing::TestWithParam<Misuse> {};

TEST_P(MisuseCli, FailsWithCodeTwoTheReasonAndTheCallForms) {
    const Misuse& m = GetParam();
    const CliRun run = runCli(m.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), m.error) << run.err;
    EXPECT_NE(run.err.find("usage: quillgate-cli "), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MisuseCli,
    ::testing::Values(
        Misuse{"NoCommand", {}, "usage: quillgate-cli codec compress|decompress|scramble"},
        Misuse{"UnknownCommand", {"sweep"}, "quillgate-cli: unknown command sweep"},
        Misuse{"UnknownSecurity",
               {"scan", "--server", "h", "--user", "u", "--password", "p", "--security", "ssl"},
               "quillgate-cli scan: --security needs none, tls or stls, not \"ssl\""},
        Misuse{"SecurityWithoutValue",
               {"scan", "--server", "h", "--user", "u", "--password", "p", "--security"},
               "quillgate-cli scan: --security needs a value"},
        Misuse{"CleanUnknownOption", {"clean", "--all"}, "quillgate-cli clean: unknown option --all"},
        Misuse{"CleanAccountWithoutValue",
               {"clean", "--account"},
               "quillgate-cli clean: --account needs a value"},
        Misuse{"LogSinceNotANumber",
               {"log", "--since", "week"},
               "quillgate-cli log: --since needs a number of days, not week"},
        // A later "--help" is an option's value, not a request for help.
        Misuse{"HelpAsAValue", {"scan", "--server", "--help"}, "quillgate-cli scan: --user is needed"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlt::test
