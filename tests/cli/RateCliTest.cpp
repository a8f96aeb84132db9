#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/CliRun.h"
#include "support/TestPaths.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

// The one JSON object the program printed; an empty one, failing the test,
// when it printed anything else.
QJsonObject printedObject(const std::string& out) {
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << "not JSON: " << out;
    EXPECT_TRUE(json.isObject()) << "not an object: " << out;
    return json.object();
}

// The program writes each byte of a text as the code point of the same
// value: back to those bytes. Marks what is no such text.
std::string bytes(const QJsonValue& value) {
    if (!value.isString()) return "<not a string>";
    const QString text = value.toString();
    if (std::ranges::any_of(text, [](QChar c) { return c.unicode() > 0xFF; })) return "<beyond U+00FF>";
    return text.toLatin1().toStdString();
}

long long number(const QJsonValue& value) {
    return value.isDouble() ? value.toInteger(LLONG_MIN) : LLONG_MIN;
}

std::vector<long long> numbers(const QJsonValue& value) {
    std::vector<long long> out;
    for (const QJsonValue item : value.toArray()) out.push_back(number(item));
    return out;
}

// QJsonObject keeps its keys sorted; their printed order is where the text
// first names each, from `from` on.
std::vector<std::string> keysAsPrinted(const QJsonObject& object, const std::string& text,
                                       std::size_t from = 0) {
    std::vector<std::pair<std::size_t, std::string>> found;
    for (const QString& key : object.keys()) {
        const std::string name = key.toStdString();
        found.emplace_back(text.find('"' + name + "\":", from), name);
    }
    std::ranges::sort(found);
    std::vector<std::string> out;
    for (const auto& entry : found) out.push_back(entry.second);
    return out;
}

class RateCli : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("qlt-rate-cli-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& bytes) {
        const auto path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Rates a message (LF line ends) and reads the JSON it prints.
    QJsonObject rate(const std::string& message, std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"rate", write("message.eml", message)});
        const CliRun run = runCli(extra);
        EXPECT_EQ(run.exitCode, 0);
        return printedObject(run.out);
    }

    fs::path m_dir;
};

const std::string kHead = "From: Alice <alice@example.org>\nTo: bob@example.org\n";

using Levels = std::vector<long long>;

struct ShapeRow {
    const char* name;
    std::string message;
    std::vector<std::string> args;
    std::function<void(const QJsonObject&)> check;
};

TEST_F(RateCli, EveryMessageShapeGivesItsEntry) {
    const std::vector<ShapeRow> rows = {
        {"plain",
         kHead + "Subject: Minutes\nDate: Mon, 2 Mar 2026 09:00:00 +0000\nContent-Type: text/plain\n\n"
                 "Hello Bob,\nthe minutes are below.\n",
         {"--account-name", "bob"},
         [](const QJsonObject& e) {
             EXPECT_EQ(bytes(e["subject"]), "Minutes");
             EXPECT_EQ(bytes(e["date"]), "Mon, 2 Mar 2026 09:00:00 +0000");
             EXPECT_EQ(bytes(e["preview"]), "Hello Bob,\r\nthe minutes are below.\r\n");
             EXPECT_EQ(number(e["isText"]), 1);
             EXPECT_EQ(numbers(e["level"]), Levels({0, 0, 0, 0, 0}));
         }},
        {"multipart alternative",
         kHead + "Subject: Agenda\nContent-Type: multipart/alternative; boundary=\"alt-7\"\n\n--alt-7\n"
                 "Content-Type: text/plain\n\nAgenda in plain text.\n--alt-7\nContent-Type: text/html\n\n"
                 "<p>Agenda in <b>HTML</b></p>\n--alt-7--\n",
         {},
         [](const QJsonObject& e) {
             EXPECT_EQ(number(e["isMultipart"]), 1);
             EXPECT_EQ(number(e["isAlternative"]), 1);
             EXPECT_EQ(bytes(e["boundary"]), "--alt-7");
             EXPECT_NE(bytes(e["preview"]).find("Agenda in plain text."), std::string::npos);
             ASSERT_GE(e["parts"].toArray().size(), 2);
             EXPECT_EQ(bytes(e["parts"][0]["contentType"]), "text/plain");
             EXPECT_EQ(bytes(e["parts"][1]["contentType"]), "text/html");
         }},
        {"base64 body and encoded-word subject",
         kHead + "Subject: =?ISO-8859-1?Q?Caf=E9_cr=E8me?=\nContent-Type: text/plain\n"
                 "Content-Transfer-Encoding: base64\n\nSGVsbG8gQm9iLCB0aGlzIHdhcyBiYXNlNjQu\n",
         {"--account-name", "bob"},
         [](const QJsonObject& e) {
             EXPECT_EQ(bytes(e["subject"]), "Caf\xE9 cr\xE8me");
             EXPECT_EQ(bytes(e["preview"]), "Hello Bob, this was base64.");
             EXPECT_EQ(number(e["isBase64"]), 1);
             EXPECT_GT(number(e["level"][1]), 0) << "a base64 body is a spam sign";
         }},
        {"HTML with an escaped link",
         kHead + "Subject: News\nContent-Type: text/html\n\n<html><body><p>Hello&nbsp;<b>Bob</b></p><br>"
                 "Visit <a href=\"http://example.org/%41\">here</a></body></html>\n",
         {"--account-name", "bob"},
         [](const QJsonObject& e) {
             EXPECT_EQ(number(e["isHtml"]), 1);
             EXPECT_EQ(number(e["hasLink"]), 1);
             EXPECT_EQ(number(e["hasEncodedUrl"]), 1);
             EXPECT_EQ(bytes(e["preview"]).find('<'), std::string::npos);
             EXPECT_NE(bytes(e["preview"]).find("http://example.org/A"), std::string::npos);
         }},
        {"attachment .exe",
         kHead +
             "Subject: Photos\nContent-Type: multipart/mixed; boundary=\"b1\"\n\n--b1\nContent-Type: "
             "text/plain\n\nSee the file.\n--b1\nContent-Type: application/octet-stream; "
             "name=\"photos.exe\"\n"
             "Content-Transfer-Encoding: base64\nContent-Disposition: attachment; filename=\"photos.exe\"\n\n"
             "TVqQAAMAAAAEAAAA\n--b1--\n",
         {"--account-name", "bob", "--number", "9"},
         [](const QJsonObject& e) {
             EXPECT_EQ(number(e["isMixed"]), 1);
             EXPECT_EQ(number(e["level"][0]), 3);
             EXPECT_EQ(number(e["levelReason"][0]), 0xFF0100);
             ASSERT_GE(e["parts"].toArray().size(), 2);
             const QJsonValue exe = e["parts"][1];
             EXPECT_EQ(bytes(exe["contentDisposition"]), "attachment; filename=\"photos.exe\"");
             EXPECT_EQ(bytes(exe["transferEncoding"]), "base64");
             EXPECT_EQ(number(exe["messageNumber"]), 9);
             EXPECT_EQ(number(exe["partIndex"]), 1);
         }},
        {"user string",
         kHead + "Subject: About the secret project\nContent-Type: text/plain\n\nNothing more.\n",
         {"--account-name", "bob", "--userlst", "USERLST"},
         [](const QJsonObject& e) {
             EXPECT_EQ(numbers(e["level"]), Levels({0, 0, 0, 0, 3}));
             EXPECT_GE(number(e["levelReason"][4]), 0xF80000);
         }},
    };
    const std::string userStrings = write("userlst.dat", "secret project\n");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto args = row.args;
        for (auto& a : args)
            if (a == "USERLST") a = userStrings;
        row.check(rate(row.message, args));
    }
}

// The mails of the report that the shipped dictionary rated wrongly, rated
// again by the program with the account's name given.
TEST_F(RateCli, ReportedMessagesRateAsTheyShould) {
    constexpr long long kFirstRuleCode = 0xFF0000;
    const struct Row {
        const char* file;
        bool junk;  // red in some category; else no keyword record reaches red
    } rows[] = {
        {"ordinary/personal-scunthorpe-trip.eml", false},
        {"ordinary/newsletter-adult-education.eml", false},
        {"ordinary/receipt-pharmacy.eml", false},
        {"ordinary/work-multiple-inheritance.eml", false},
        {"ordinary/personal-mushroom-risotto.eml", false},
        {"ordinary/personal-kitchen-paint.eml", false},
        {"ordinary/work-intranet-screenshots.eml", false},
        {"ordinary/work-backup-regions.eml", false},
        {"junk/crypto-investment.eml", true},
        {"junk/sextortion-recorded.eml", true},
        {"junk/malware-parcel-label-js.eml", true},
        {"junk/pharma-weight-loss-pill.eml", true},
        {"junk/phish-mailbox-quota.eml", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const CliRun run =
            runCli({"rate", dataPath(std::string("corpus/") + row.file), "--account-name", "example"});
        const QJsonObject entry = printedObject(run.out);
        const QJsonArray levels = entry["level"].toArray();
        ASSERT_EQ(levels.size(), 5);
        bool red = false;
        for (qsizetype c = 0; c < levels.size(); ++c) {
            const bool isRed = number(levels[c]) == 3;
            red = red || isRed;
            if (!row.junk && isRed) {
                EXPECT_GE(number(entry["levelReason"][c]), kFirstRuleCode) << "category " << c;
            }
        }
        if (row.junk) {
            EXPECT_TRUE(red);
        }
    }
}

TEST_F(RateCli, KeysFollowTheEntryFieldsInOrder) {
    const std::string message = kHead +
                                "Subject: x\nContent-Type: multipart/mixed; boundary=\"q\"\n\n--q\n"
                                "Content-Type: text/plain\n\nbody\n--q--\n";
    const CliRun run = runCli({"rate", write("message.eml", message)});
    const QJsonObject e = printedObject(run.out);
    EXPECT_EQ(keysAsPrinted(e, run.out), (std::vector<std::string>{"headers",
                                                                   "preview",
                                                                   "uidl",
                                                                   "to",
                                                                   "from",
                                                                   "subject",
                                                                   "date",
                                                                   "contentType",
                                                                   "transferEncoding",
                                                                   "boundary",
                                                                   "size",
                                                                   "messageNumber",
                                                                   "levelReason",
                                                                   "levelReasonText",
                                                                   "accountIndex",
                                                                   "senderStatus",
                                                                   "partCount",
                                                                   "level",
                                                                   "isMultipart",
                                                                   "isMixed",
                                                                   "isAlternative",
                                                                   "isText",
                                                                   "isHtml",
                                                                   "hasLink",
                                                                   "hasCidReference",
                                                                   "isBase64",
                                                                   "hasEncodedUrl",
                                                                   "parts"}));
    EXPECT_EQ(number(e["partCount"]), static_cast<long long>(e["parts"].toArray().size()));
    EXPECT_EQ(e["levelReason"].toArray().size(), 5);
    EXPECT_EQ(e["levelReasonText"].toArray().size(), 5);
    EXPECT_EQ(e["level"].toArray().size(), 5);
    ASSERT_FALSE(e["parts"].toArray().isEmpty());
    EXPECT_EQ(
        keysAsPrinted(e["parts"][0].toObject(), run.out, run.out.find("\"parts\":")),
        (std::vector<std::string>{"valid", "partIndex", "messageNumber", "contentType", "transferEncoding",
                                  "contentId", "contentDescription", "contentDisposition"}));
}

// Each category's reason in words, beside its code: where a user string was
// found, the name of a rule, nothing for a category without a reason.
TEST_F(RateCli, ReasonsComeInWords) {
    const std::string userStrings = write("userlst.dat", "secret project\n");
    const QJsonObject e =
        rate(kHead +
                 "Subject: The secret project\nContent-Type: text/plain\n"
                 "Content-Transfer-Encoding: base64\n\nSGVsbG8gQm9iLCB0aGlzIHdhcyBiYXNlNjQu\n",
             {"--account-name", "bob", "--userlst", userStrings});
    const QJsonArray words = e["levelReasonText"].toArray();
    ASSERT_EQ(words.size(), 5);
    EXPECT_EQ(bytes(words[0]), "");
    EXPECT_EQ(bytes(words[1]), "body is base64-encoded");
    EXPECT_EQ(bytes(words[2]), "");
    EXPECT_EQ(bytes(words[4]), "\"secret project\" in the headers");
    EXPECT_EQ(number(e["levelReason"][1]), 0xFF0002);
}

TEST_F(RateCli, LineEndsSizeNumberAndDefaults) {
    const std::string message = kHead + "Subject: Short\n\nHi.\n";
    const QJsonObject e = rate(message);
    const std::size_t crlfLength = message.size() + 5;  // five LF become CR LF
    EXPECT_EQ(number(e["size"]), static_cast<long long>(crlfLength));
    EXPECT_EQ(number(e["messageNumber"]), 1);
    EXPECT_EQ(number(e["accountIndex"]), 1);
    EXPECT_EQ(bytes(e["headers"]),
              "From: Alice <alice@example.org>\r\nTo: bob@example.org\r\nSubject: Short");
    EXPECT_EQ(bytes(e["preview"]), "Hi.\r\n");

    // A LIST size beyond what came means the preview goes on.
    const QJsonObject longer = rate(message, {"--size", "100000", "--number", "12"});
    EXPECT_EQ(number(longer["size"]), 100000);
    EXPECT_EQ(number(longer["messageNumber"]), 12);
    EXPECT_EQ(bytes(longer["preview"]), "Hi.\r\n...\r\n\r\n(MORE)\r\n");

    // Existing CR LF pairs stay single.
    const QJsonObject crlf = rate("Subject: a\r\nTo: b\r\n\r\nline\r\n");
    EXPECT_EQ(bytes(crlf["headers"]), "Subject: a\r\nTo: b");
    EXPECT_EQ(number(crlf["size"]), 27);
}

TEST_F(RateCli, FullRatesTheWholeText) {
    const std::string message =
        kHead + "X-Note: run setup.exe now\nSubject: Odd\nContent-Type: text/plain\n\nHi.\n";
    EXPECT_EQ(number(rate(message, {"--account-name", "bob"})["level"][0]), 0);
    const QJsonObject full = rate(message, {"--account-name", "bob", "--full"});
    EXPECT_EQ(number(full["level"][0]), 3);
    EXPECT_LT(number(full["levelReason"][0]), 0xF80000) << "a dictionary record, not a built-in rule";
}

// High bytes are the code points of the same value, written in UTF-8.
TEST_F(RateCli, ControlAndHighBytesAreEscapedAsLatin1) {
    const std::string message = kHead + "Subject: A\x01\tB \\ \"q\" \xFF\x7F\n\nHi.\n";
    const CliRun run = runCli({"rate", write("m.eml", message)});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\"subject\":\"A\\u0001\\tB \\\\ \\\"q\\\" \xC3\xBF\\u007f\""), std::string::npos)
        << run.out;
    EXPECT_EQ(bytes(printedObject(run.out)["subject"]), "A\x01\tB \\ \"q\" \xFF\x7F");
}

TEST_F(RateCli, ErrorsAreToldWithTheirExitCodes) {
    const std::string message = write("ok.eml", kHead + "Subject: x\n\nHi.\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
    } rows[] = {
        {"no file", {"rate"}, 2},
        {"two files", {"rate", message, message}, 2},
        {"unknown option", {"rate", message, "--fast"}, 2},
        {"option without value", {"rate", message, "--size"}, 2},
        {"size not a number", {"rate", message, "--size", "12k"}, 2},
        {"number out of range", {"rate", message, "--number", "4294967296"}, 2},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli(row.args);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.name;
        EXPECT_TRUE(run.out.empty()) << row.name;
    }
}

TEST_F(RateCli, AnUnreadableInputIsExitCodeOneNamingIt) {
    const std::string message = write("ok.eml", kHead + "Subject: x\n\nHi.\n");
    const std::string folder = m_dir.string();
    const std::string absent = (m_dir / "absent.eml").string();
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string why;
    } rows[] = {
        {"folder as message", {"rate", folder}, folder + ": Is a directory"},
        {"missing message", {"rate", absent}, absent + ": No such file or directory"},
        {"folder as dictionary", {"rate", message, "--dict", folder}, folder + ": Is a directory"},
        {"missing user strings",
         {"rate", message, "--userlst", absent},
         absent + ": No such file or directory"},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli(row.args);
        EXPECT_EQ(run.exitCode, 1) << row.name;
        EXPECT_EQ(run.out, "") << row.name;
        EXPECT_EQ(run.err, "quillgate-cli rate: cannot read " + row.why + "\n") << row.name;
    }
}

// The window's reading: UTF-8 when the bytes are valid UTF-8, else Latin-1.
TEST_F(RateCli, SubjectsComeOutInUtf8WhateverTheirBytes) {
    const struct {
        const char* name;
        std::string subject;
    } rows[] = {
        {"UTF-8", "Caf\xC3\xA9"},
        {"Latin-1", "Caf\xE9"},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli({"rate", write("m.eml", kHead + "Subject: " + row.subject + "\n\nHi.\n")});
        EXPECT_EQ(run.exitCode, 0) << row.name;
        EXPECT_NE(run.out.find("\"subject\":\"Caf\xC3\xA9\""), std::string::npos)
            << row.name << ": " << run.out;
    }
}

}  // namespace
}  // namespace qlt::test
