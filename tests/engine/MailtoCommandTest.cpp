#include <gtest/gtest.h>

#include "core/MailtoCommand.h"

namespace qlt {
namespace {

TEST(MailtoCommand, Clean) {
    struct Row {
        const char* name;
        std::string exec;
        std::string command;
    };
    const Row rows[] = {
        {"unquoted program", "mailer %u", "mailer"},
        {"unquoted program kept unchanged", "/usr/bin/mailer", "/usr/bin/mailer"},
        {"quoted path with arguments", "\"/opt/my mail/mailer\" -compose %u",
         "\"/opt/my mail/mailer\" -compose"},
        {"every field code", "m %f %F %u %U %d %D %n %N %i %c %k %v %m", "m"},
        {"code inside a word", "m --url=%u", "m --url="},
        {"percent sign kept", "m --ratio=50%% %U", "m --ratio=50%"},
        {"lone percent at the end", "m 5%", "m 5%"},
        {"runner arguments kept", "flatpak run --branch=stable org.example.Mail %u",
         "flatpak run --branch=stable org.example.Mail"},
        {"quoted code dropped with its word", R"("C:\Mail\m.exe" /mailurl "%1")",
         R"("C:\\Mail\\m.exe" /mailurl)"},
        {"explicit empty argument kept", "m \"\" %u", "m \"\""},
        {"only a field code", "%u", ""},
        {"empty", "", ""},
        {"quote left open", "\"/opt/mailer %u", ""},
        {"empty program", "\"\" %u", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(cleanMailtoCommand(row.exec), row.command) << row.name;
}

}  // namespace
}  // namespace qlt
