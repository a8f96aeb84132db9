#include "core/AccountEntry.h"

#include <gtest/gtest.h>

#include <string>

#include "core/NumberText.h"
#include "support/ScriptedUiPort.h"

namespace qlt {
namespace {

NewAccountInput validInput() {
    NewAccountInput input;
    input.accountName = "jane@example.org";
    input.server = "pop.example.org";
    input.userName = "jane";
    input.password = "secret";
    return input;
}

TEST(AcceptNewAccount, EachRefusalShowsItsMessageInOrder) {
    const struct {
        const char* name;
        void (*change)(NewAccountInput&);
        std::string message;
    } rows[] = {
        {"empty e-mail", [](NewAccountInput& in) { in.accountName = "  "; }, emailAddressHelp()},
        {"e-mail with a listed character", [](NewAccountInput& in) { in.accountName = "jane(x)"; },
         emailAddressHelp()},
        {"e-mail checked before the user",
         [](NewAccountInput& in) {
             in.accountName = "";
             in.userName = "";
         },
         emailAddressHelp()},
        {"empty user", [](NewAccountInput& in) { in.userName = ""; }, "Please Enter Account User Name"},
        {"empty password while remembered", [](NewAccountInput& in) { in.password = ""; },
         "Please Enter Password"},
        {"empty server", [](NewAccountInput& in) { in.server = ""; }, "Please Enter POP3 Server Address"},
        {"server too long", [](NewAccountInput& in) { in.server = std::string(60, 's'); },
         "The POP3 Server Address is too long: it can hold at most 59 characters."},
        {"user too long", [](NewAccountInput& in) { in.userName = std::string(54, 'u'); },
         "The User Name is too long: it can hold at most 53 characters."},
        {"password too long", [](NewAccountInput& in) { in.password = std::string(44, 'p'); },
         "The Password is too long: it can hold at most 43 characters."},
        {"64-character name the check admits",
         [](NewAccountInput& in) { in.accountName = std::string(64, 'a'); },
         "The Email Address is too long: it can hold at most 63 characters."},
    };
    for (const auto& row : rows) {
        NewAccountInput input = validInput();
        row.change(input);
        test::ScriptedUiPort ui;
        EXPECT_FALSE(acceptNewAccount(input, ui)) << row.name;
        ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(ui.boxes[0].text, row.message) << row.name;
        EXPECT_EQ(ui.boxes[0].title, "Quillgate") << row.name;
        EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::Ok) << row.name;
    }
}

TEST(AcceptNewAccount, EmailHelpOpensWithItsFixedLines) {
    EXPECT_EQ(emailAddressHelp().rfind("Please Enter Email Address or its Common Part.\n\n"
                                       "If you have many aliases comming to the same address\n"
                                       "use its common part only. For example: if you have\n",
                                       0),
              0u);
}

TEST(AcceptNewAccount, BadServerShowsOnlyTheServerCheckWarning) {
    NewAccountInput input = validInput();
    input.server = "pop server";
    test::ScriptedUiPort ui;
    EXPECT_FALSE(acceptNewAccount(input, ui));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "QLT Check Server Name");
}

TEST(AcceptNewAccount, PortAndTimeoutCorrectedForAdd) {
    const struct {
        const char* name;
        std::uint32_t port;
        std::int32_t timeout;
        std::uint32_t port2;
        std::int32_t timeout2;
    } rows[] = {
        {"kept", 995, 300, 995, 300},
        {"zero port and time-out", 0, 0, 110, 30},
        {"past the limits", 65536, 301, 110, 30},
        {"negative time-out", 65535, -5, 65535, 30},
        {"smallest time-out", 1, 1, 1, 1},
    };
    for (const auto& row : rows) {
        NewAccountInput input = validInput();
        input.port = row.port;
        input.timeout = row.timeout;
        test::ScriptedUiPort ui;
        ASSERT_TRUE(acceptNewAccount(input, ui)) << row.name;
        EXPECT_TRUE(ui.boxes.empty()) << row.name;
        EXPECT_EQ(input.port, row.port2) << row.name;
        EXPECT_EQ(input.timeout, row.timeout2) << row.name;
    }
}

TEST(AcceptNewAccount, PasswordNotRememberedMayBeEmptyOrAnyLength) {
    for (const std::string& password : {std::string(), std::string(80, 'p')}) {
        NewAccountInput input = validInput();
        input.rememberPassword = false;
        input.password = password;
        test::ScriptedUiPort ui;
        EXPECT_TRUE(acceptNewAccount(input, ui)) << password.size();
        EXPECT_TRUE(makeNewAccountRecord(input).password.empty())
            << "a password not remembered is not stored";
    }
}

TEST(MakeNewAccountRecord, CarriesTheEntriesAndTheNewAccountDefaults) {
    NewAccountInput input = validInput();
    input.accountName = " @example.org ";
    input.authRequired = true;
    input.port = 1110;
    input.timeout = 45;
    const AccountRecord record = makeNewAccountRecord(input);
    EXPECT_EQ(record.accountName, " @example.org ") << "stored as typed";
    EXPECT_EQ(record.server, "pop.example.org");
    EXPECT_EQ(record.userName, "jane");
    EXPECT_EQ(record.password, "secret");
    EXPECT_EQ(record.port, 1110u);
    EXPECT_EQ(record.timeout, 45);
    EXPECT_EQ(record.authRequired, 1u);
    EXPECT_EQ(record.rememberPassword, 1u);
    EXPECT_EQ(record.isCurrent, 1u);
    EXPECT_EQ(record.scanAllInclude, 1);
    EXPECT_EQ(record.selectedRow, -1);
    EXPECT_EQ(record.status, kStatusUpdateNeeded);
    EXPECT_EQ(record.lastScanned.year, 0);
}

TEST(EnteredPassword, RefusalsInOrderThenOnlyTheWorkingCopyChanges) {
    const struct {
        const char* name;
        std::string user, password, message;
    } rows[] = {
        {"both empty", "", "", "Please Enter Account User Name"},
        {"no password", "jane", "", "Please Enter Password"},
        {"user too long", std::string(54, 'u'), "pw",
         "The User Name is too long: it can hold at most 53 characters."},
        {"password too long", "jane", std::string(44, 'p'),
         "The Password is too long: it can hold at most 43 characters."},
    };
    for (const auto& row : rows) {
        test::ScriptedUiPort ui;
        EXPECT_FALSE(acceptEnteredPassword(row.user, row.password, ui)) << row.name;
        ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(ui.boxes[0].text, row.message) << row.name;
    }

    test::ScriptedUiPort ui;
    ASSERT_TRUE(acceptEnteredPassword("jane", "pw", ui));
    AccountRecord current;
    current.server = "pop.example.org";
    applyEnteredPassword("jane2", "pw", current);
    EXPECT_EQ(current.userName, "jane2");
    EXPECT_EQ(current.password, "pw");
    EXPECT_EQ(current.server, "pop.example.org");
}

TEST(NumberText, WholeNumbersOfTheFieldsKindOnly) {
    EXPECT_EQ(parseUnsignedText(" 110 "), 110u);
    EXPECT_EQ(parseUnsignedText("4294967295"), 4294967295u);
    EXPECT_EQ(parseUnsignedText("4294967296"), std::nullopt);
    EXPECT_EQ(parseUnsignedText("-1"), std::nullopt);
    EXPECT_EQ(parseUnsignedText(""), std::nullopt);
    EXPECT_EQ(parseUnsignedText("+"), std::nullopt);
    EXPECT_EQ(parseUnsignedText("12a"), std::nullopt);
    EXPECT_EQ(parseIntegerText("-5"), -5);
    EXPECT_EQ(parseIntegerText("+30"), 30);
    EXPECT_EQ(parseIntegerText("2147483648"), std::nullopt);
    EXPECT_EQ(parseIntegerText("3 0"), std::nullopt);
}

}  // namespace
}  // namespace qlt
