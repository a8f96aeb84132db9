#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LiveTlsInstance.h"
#include "support/CliRun.h"

namespace qlt::test {
namespace {

// quillgate-cli scan against the ssl Dovecot, reading its JSON loosely: the
// result, the count and the error are enough to tell the paths apart.
class ScanCliTlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(portIn("pop3s-port"), 0u) << "no ssl Dovecot instance in " << instanceDir();
    }

    static CliRun scan(const std::string& security, const char* portFile, const std::string& server,
                       std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {
            "scan",   "--server", server,       "--port", std::to_string(portIn(portFile)),
            "--user", "ann",      "--security", security, "--timeout",
            "10"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(args, {"QUILLGATE_PASSWORD=qlt-live-pw"});
    }
};

TEST_F(ScanCliTlsTest, ImplicitTlsAndStlsScanTheMailboxWithTheCaGiven) {
    for (const auto& [security, portFile, server] :
         {std::tuple{"tls", "pop3s-port", "127.0.0.1"}, std::tuple{"STLS", "port", "localhost"}}) {
        SCOPED_TRACE(security);
        const CliRun run = scan(security, portFile, server, {"--ca", certificatePath("ca")});
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("\"messages\": 3,"), std::string::npos) << run.out;
    }
}

TEST_F(ScanCliTlsTest, WithoutTheCaTheCertificateIsRefusedWithItsReason) {
    const CliRun run = scan("tls", "pop3s-port", "127.0.0.1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.rfind("{\"result\": null, \"messages\": 0,", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("The server's certificate is not trusted: it was issued by an unknown authority"),
              std::string::npos)
        << run.out;
}

TEST_F(ScanCliTlsTest, NoneIsClearTextOnThePlainListener) {
    const CliRun run = scan("none", "port", "127.0.0.1");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\"messages\": 3,"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace qlt::test
