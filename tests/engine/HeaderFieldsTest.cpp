#include <gtest/gtest.h>

#include "content/BodyDecoding.h"
#include "content/HeaderFields.h"

namespace qlt {
namespace {

std::string decoded(std::string text) {
    DecodeEncodedWords(text);
    return text;
}

TEST(GetHeaderField, Rules) {
    const std::string block =
        "Return-Path: <a@x>\r\nReply-To: reply@x\r\nTO: Dana <d@x>\r\nX-Original-From: first@x\r\n"
        "From: second@x\r\nSubject:  =?utf-8?q?caf=C3=A9?=  \r\n"
        "Content-Type: multipart/mixed;\r\n\tboundary=\"b\"\r\nLong: " +
        std::string(200, 'L') + "\r\nLast: no line end";
    struct Row {
        const char* name;
        const char* field;
        std::string expected;
    } rows[] = {
        {"to only at a line start, any case", "\nTo: ", "Dana <d@x>"},
        {"first occurrence, also inside a longer name", "From: ", "first@x"},
        {"value trimmed and decoded", "Subject: ", "caf\xC3\xA9"},
        {"folded line not joined", "Content-Type: ", "multipart/mixed;"},
        {"cut to 127", "Long: ", std::string(127, 'L')},
        {"value up to the end of the block", "Last: ", "no line end"},
        {"missing", "Date: ", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GetHeaderField(block, row.field), row.expected);
    }
}

TEST(GetHeaderField, CutBeforeDecodingCanLeaveAWordUndecoded) {
    const std::string word = "=?iso-8859-1?Q?caf=E9?=";
    const std::string block = "Subject: " + std::string(120, 'x') + word + "\r\n";
    EXPECT_EQ(GetHeaderField(block, "Subject: "), std::string(120, 'x') + word.substr(0, 7));
}

TEST(DecodeEncodedWords, Rules) {
    struct Row {
        const char* name;
        const char* text;
        std::string expected;
    } rows[] = {
        {"q with escape and underscore, charset ignored",
         "=?no-such-charset?Q?caf=E9_noir?=", "caf\xE9 noir"},
        {"lower-case letters", "=?utf-8?q?a_b?= =?utf-8?b?Yw==?=", "a b c"},
        {"b word", "=?UTF-8?B?w4lsb2RpZQ==?=", "\xC3\x89lodie"},
        {"space between two words stays", "=?a?Q?x?= =?a?Q?y?=", "x y"},
        {"text around words kept", "Re: =?a?Q?x?= (2)", "Re: x (2)"},
        {"unknown letter gives the bare text", "=?utf-8?X?abc?=", "abc"},
        {"q text starting with an escape", "=?UTF-8?Q?=C3=89t=C3=A9?=", "\xC3\x89t\xC3\xA9"},
        {"bad escape kept", "=?a?Q?100=%_=G1?=", "100=% =G1"},
        {"escape cut by the end kept", "=?a?Q?x=4?=", "x=4"},
        {"unterminated word left as it is", "=?utf-8?Q?abc", "=?utf-8?Q?abc"},
        {"no letter part", "=?abc?=", "=?abc?="},
        {"trimmed", "  \t plain \r\n", "plain"},
        {"decoding NUL kept in the text", "=?a?Q?a=00b?=", std::string("a\0b", 3)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decoded(row.text), row.expected);
    }
}

TEST(DecodeBase64, Rules) {
    struct Row {
        const char* name;
        const char* text;
        std::string expected;
    } rows[] = {
        {"whole groups", "SGVsbG8gd29y", "Hello wor"},
        {"one pad", "SGVsbG8gd29ybA==", "Hello worl"},
        {"two pads", "SGk=", "Hi"},
        {"line breaks, tabs and spaces skipped", "SGVs\r\nbG8g\td29y bGQ=", "Hello world"},
        {"bytes 7 to 13 skipped", "S\aG\bV\vs\fbG8=", "Hello"},
        {"other bytes skipped", "SG*Vs!bG8=", "Hello"},
        {"cut group gives what it holds", "SGVsbG", "Hell"},
        {"single leftover character gives nothing", "SGVsb", "Hel"},
        {"pads in the first two places give nothing", "==SGk=", "Hi"},
        {"ends at the first NUL", "QQBC", "A"},
        {"concatenated padded blocks", "SGk=SGk=", "HiHi"},
        {"empty", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecodeBase64(row.text), row.expected);
    }
}

TEST(UnescapeLinks, Rules) {
    struct Row {
        const char* name;
        const char* text;
        const char* expected;
        bool flag;
    } rows[] = {
        {"tilde escape", "go http://h.example/%7Euser now", "go http://h.example/~user now", true},
        {"no link", "100% sure", "100% sure", false},
        {"link without escape", "http://h.example/a b", "http://h.example/a b", false},
        {"escaped host", "x http://%77%77%77.h.example\r\n", "x http://www.h.example\r\n", true},
        {"link at the very end is left", "x http://h/%7E", "x http://h/%7E", false},
        {"link at position zero is left", "://h/%7E y", "://h/%7E y", false},
        {"bad escape stays, flag still set", "http://h/%zz%4 y", "http://h/%zz%4 y", true},
        {"NUL ends the link", "http://h/a%00bc d", "http://h/a d", true},
        {"two links", "ftp://a/%41 and http://b/%42\tz", "ftp://a/A and http://b/B\tz", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = row.text;
        EXPECT_EQ(UnescapeLinks(text), row.flag);
        EXPECT_EQ(text, row.expected);
    }
}

}  // namespace
}  // namespace qlt
