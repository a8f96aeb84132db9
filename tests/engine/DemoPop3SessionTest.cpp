#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "demo/DemoMessages.h"
#include "demo/Pop3Session.h"

namespace qlt::demo {
namespace {

// Two small messages; the second has a body line that starts with a dot.
std::vector<DemoMessage> maildrop() {
    return {
        {"demo-a", "Subject: one\r\n\r\nfirst\r\nsecond\r\nthird\r\n"},
        {"demo-b", "Subject: two\r\n\r\n.hidden\r\nlast\r\n"},
    };
}

constexpr std::size_t kSizeA = 38, kSizeB = 31;

using Dialogue = std::vector<std::pair<std::string, std::string>>;

struct DialogueRow {
    const char* name;
    Dialogue steps;  // command line, exact reply
};

const Dialogue kLogin = {{"USER demo", "+OK send the password\r\n"},
                         {"PASS demo", "+OK 2 messages (69 octets)\r\n"}};

Dialogue loggedIn(Dialogue more) {
    Dialogue all = kLogin;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST(DemoPop3Session, SizesOfTheFixture) {
    const auto m = maildrop();
    EXPECT_EQ(m[0].text.size(), kSizeA);
    EXPECT_EQ(m[1].text.size(), kSizeB);
}

TEST(DemoPop3Session, Dialogues) {
    const std::vector<DialogueRow> rows = {
        {"commands before login are refused",
         {{"STAT", "-ERR log in with USER and PASS first\r\n"},
          {"RETR 1", "-ERR log in with USER and PASS first\r\n"}}},
        {"unknown user",
         {{"USER root", "-ERR no mailbox by that name\r\n"}, {"PASS demo", "-ERR send USER first\r\n"}}},
        {"wrong password starts the login over",
         {{"USER demo", "+OK send the password\r\n"},
          {"PASS guess", "-ERR wrong password\r\n"},
          {"PASS demo", "-ERR send USER first\r\n"}}},
        {"lower-case commands as the client sends them",
         {{"user demo", "+OK send the password\r\n"},
          {"pass demo", "+OK 2 messages (69 octets)\r\n"},
          {"stat", "+OK 2 69\r\n"}}},
        {"capabilities before and after login",
         {{"CAPA",
           "+OK capability list follows\r\nTOP\r\nUSER\r\nUIDL\r\nPIPELINING\r\nIMPLEMENTATION "
           "Quillgate-demo\r\n.\r\n"},
          {"USER demo", "+OK send the password\r\n"},
          {"PASS demo", "+OK 2 messages (69 octets)\r\n"},
          {"capa",
           "+OK capability list follows\r\nTOP\r\nUSER\r\nUIDL\r\nPIPELINING\r\nIMPLEMENTATION "
           "Quillgate-demo\r\n.\r\n"}}},
        {"list and uidl, one and all",
         loggedIn({{"LIST 2", "+OK 2 31\r\n"},
                   {"LIST", "+OK 2 messages (69 octets)\r\n1 38\r\n2 31\r\n.\r\n"},
                   {"UIDL 1", "+OK 1 demo-a\r\n"},
                   {"UIDL", "+OK unique ids follow\r\n1 demo-a\r\n2 demo-b\r\n.\r\n"}})},
        {"top gives the header block and the first body lines",
         loggedIn({{"TOP 1 0", "+OK top of message follows\r\nSubject: one\r\n\r\n.\r\n"},
                   {"TOP 1 2", "+OK top of message follows\r\nSubject: one\r\n\r\nfirst\r\nsecond\r\n.\r\n"},
                   {"TOP 1 99", "+OK top of message follows\r\n" + maildrop()[0].text + ".\r\n"}})},
        {"a body line starting with a dot is stuffed",
         loggedIn({{"RETR 2", "+OK 31 octets\r\nSubject: two\r\n\r\n..hidden\r\nlast\r\n.\r\n"},
                   {"TOP 2 1", "+OK top of message follows\r\nSubject: two\r\n\r\n..hidden\r\n.\r\n"}})},
        {"bad message numbers and arguments",
         loggedIn({{"LIST 0", "-ERR no such message\r\n"},
                   {"LIST 3", "-ERR no such message\r\n"},
                   {"RETR -1", "-ERR no such message\r\n"},
                   {"RETR 1x", "-ERR no such message\r\n"},
                   {"DELE 99999999999999999999", "-ERR no such message\r\n"},
                   {"TOP 1", "-ERR wrong arguments\r\n"},
                   {"TOP 1 x", "-ERR wrong arguments\r\n"},
                   {"RETR", "-ERR no such message\r\n"},
                   {"XTND", "-ERR unknown command\r\n"}})},
        {"a deleted message is gone for the session",
         loggedIn({{"DELE 1", "+OK message 1 deleted\r\n"},
                   {"DELE 1", "-ERR no such message\r\n"},
                   {"RETR 1", "-ERR no such message\r\n"},
                   {"STAT", "+OK 1 31\r\n"},
                   {"LIST", "+OK 1 message (31 octets)\r\n2 31\r\n.\r\n"},
                   {"UIDL", "+OK unique ids follow\r\n2 demo-b\r\n.\r\n"}})},
        {"rset brings the deleted back", loggedIn({{"DELE 2", "+OK message 2 deleted\r\n"},
                                                   {"RSET", "+OK 2 messages (69 octets)\r\n"},
                                                   {"NOOP", "+OK\r\n"},
                                                   {"LIST 2", "+OK 2 31\r\n"}})},
    };
    for (const auto& row : rows) {
        Pop3Session session(maildrop());
        for (const auto& [command, expected] : row.steps)
            EXPECT_EQ(session.reply(command), expected) << row.name;
        EXPECT_FALSE(session.committedMaildrop()) << row.name;
    }
}

TEST(DemoPop3Session, QuitAfterLoginCarriesOutTheDeletions) {
    Pop3Session session(maildrop());
    session.reply("USER demo");
    session.reply("PASS demo");
    session.reply("DELE 1");
    EXPECT_EQ(session.reply("QUIT"), "+OK Quillgate demo mailbox signing off, 1 message left\r\n");
    EXPECT_TRUE(session.ended());
    const auto remaining = session.committedMaildrop();
    ASSERT_TRUE(remaining);
    EXPECT_EQ(*remaining, std::vector<DemoMessage>{maildrop()[1]});
    EXPECT_EQ(session.reply("STAT"), "-ERR session has ended\r\n");
}

TEST(DemoPop3Session, QuitBeforeLoginChangesNothing) {
    Pop3Session session(maildrop());
    EXPECT_EQ(session.reply("QUIT"), "+OK bye\r\n");
    EXPECT_TRUE(session.ended());
    EXPECT_FALSE(session.committedMaildrop());
}

TEST(DemoMessages, LineEndsBecomeCrlf) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"", ""},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(withCrlfLines(in), out) << in;
}

}  // namespace
}  // namespace qlt::demo
