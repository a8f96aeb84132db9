#include <gtest/gtest.h>

#include "content/Multipart.h"

namespace qlt {
namespace {

TEST(FindBoundary, Rules) {
    struct Row {
        const char* name;
        const char* text;
        const char* expected;
    } rows[] = {
        {"quoted", "multipart/mixed; boundary=\"abc 1\"", "--abc 1"},
        {"unquoted gives nothing", "multipart/mixed; boundary=abc", ""},
        {"unquoted takes a later quoted value", "boundary=abc; x=\"q\"", "--q"},
        {"name is case-sensitive", "Boundary=\"abc\"", ""},
        {"unclosed quote", "boundary=\"abc", ""},
        {"empty quoted value", "boundary=\"\"", "--"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindBoundary(row.text), row.expected);
    }
}

TEST(NextPart, WalksBetweenDelimitersAndReturnsTheTail) {
    const std::string text = "preamble--b\r\none\r\n--b\r\ntwo\r\n--b--\r\n";
    std::size_t pos = 0;
    EXPECT_EQ(NextPart(text, "--b", pos), "\r\none\r\n");
    EXPECT_EQ(NextPart(text, "--b", pos), "\r\ntwo\r\n");
    EXPECT_EQ(NextPart(text, "--b", pos), "--\r\n");
    const std::size_t end = pos;
    EXPECT_EQ(NextPart(text, "--b", pos), "");
    EXPECT_EQ(pos, end);
}

TEST(NextPart, EmptyDelimiterOrPositionPastTheEndFindsNothing) {
    std::size_t pos = 0;
    EXPECT_EQ(NextPart("abc", "", pos), "");
    pos = 10;
    EXPECT_EQ(NextPart("abc", "a", pos), "");
    EXPECT_EQ(pos, 10u);
}

TEST(GetPartField, Rules) {
    struct Row {
        const char* name;
        std::string part;
        const char* field;
        std::string expected;
    } rows[] = {
        {"plain line", "\r\nContent-Type: text/plain\r\n\r\nx", "Content-Type: ", "text/plain"},
        {"continued after a semicolon",
         "\r\nContent-Type: multipart/alternative;\r\n\tboundary=\"in\"\r\n\r\n",
         "Content-Type: ", "multipart/alternative;boundary=\"in\""},
        {"continuation without its line end", "\r\nContent-Type: a;\r\n b", "Content-Type: ", "a;"},
        {"semicolon at the very end", "\r\nContent-Type: a;", "Content-Type: ", "a;"},
        {"name at position zero does not count", "Content-Type: text/plain\r\n", "Content-Type: ", ""},
        {"case-sensitive name", "\r\ncontent-type: text/plain\r\n", "Content-Type: ", ""},
        {"cut to 127", "\r\nContent-ID: " + std::string(300, 'i') + "\r\n",
         "Content-ID: ", std::string(127, 'i')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GetPartField(row.part, row.field), row.expected);
    }
}

TEST(StripPartHeaders, KeepsTextAfterTheFirstEmptyLine) {
    EXPECT_EQ(StripPartHeaders("\r\nA: b\r\n\r\nbody\r\n\r\nmore"), "body\r\n\r\nmore");
    EXPECT_EQ(StripPartHeaders("no empty line\r\n"), "no empty line\r\n");
}

TEST(PickAlternative, Rules) {
    const std::string plainFirst =
        "--a\r\nContent-Type: text/plain\r\n\r\nplain words\r\n--a\r\nContent-Type: text/html\r\n\r\n"
        "<p>html words</p>\r\n--a--";
    const std::string htmlOnly =
        "--a\r\nContent-Type: text/html\r\n\r\n<p>first</p>\r\n--a\r\nContent-Type: text/html\r\n\r\n"
        "<p>second</p>\r\n--a--";
    const std::string htmlFirst =
        "--a\r\nContent-Type: text/html\r\n\r\n<p>html words</p>\r\n--a\r\nContent-Type: text/plain\r\n\r\n"
        "plain words\r\n--a--";
    struct Row {
        const char* name;
        std::string text;
        const char* delimiter;
        std::string expected;
    } rows[] = {
        {"plain first is taken", plainFirst, "--a", "plain words\r\n"},
        {"html only: first html converted", htmlOnly, "--a", "first"},
        {"block with plain anywhere takes the first sub-part", htmlFirst, "--a", "<p>html words</p>\r\n"},
        {"no delimiter gives nothing", plainFirst, "", ""},
        {"neither type gives nothing", "--a\r\n\r\nx\r\n--a--", "--a", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = row.text;
        PickAlternative(text, row.delimiter);
        EXPECT_EQ(text, row.expected);
    }
}

MessageEntry multipartEntry(const char* boundary) {
    MessageEntry e;
    e.boundary = boundary;
    e.messageNumber = 7;
    return e;
}

std::string part(const std::string& headers, const std::string& body) {
    return "--p\r\n" + headers + "\r\n" + body + "\r\n";
}

TEST(WalkMultipart, FirstNonEmptyPartIsChosenWhateverItsType) {
    MessageEntry e = multipartEntry("--p");
    const std::string body =
        "intro\r\n" + part("Content-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n", "iVBORw0K") +
        part("Content-Type: text/plain\r\n", "hello") + "--p--\r\n";
    EXPECT_EQ(WalkMultipart(body, e), "iVBORw0K\r\n");
    EXPECT_EQ(e.isBase64, 0);
    ASSERT_EQ(e.partCount(), 3u);  // the closing delimiter's tail counts as a part
    EXPECT_EQ(e.parts[0].contentType, "image/png");
    EXPECT_EQ(e.parts[1].partIndex, 1);
    EXPECT_EQ(e.parts[1].messageNumber, 7);
    EXPECT_EQ(e.parts[1].valid, 1);
}

TEST(WalkMultipart, Base64TextPartIsDecodedAndFlagged) {
    MessageEntry e = multipartEntry("--p");
    const std::string body =
        part("Content-Type: text/plain\r\nContent-Transfer-Encoding: base64\r\n", "SGVsbG8=") + "--p--";
    EXPECT_EQ(WalkMultipart(body, e), "Hello");
    EXPECT_EQ(e.isBase64, 1);
}

TEST(WalkMultipart, EmptyConvertedPartLetsTheNextSupplyThePreview) {
    MessageEntry e = multipartEntry("--p");
    const std::string body = part("Content-Type: text/html\r\n", "<img src=x>") +
                             part("Content-Type: text/plain\r\n", "words") + "--p--";
    EXPECT_EQ(WalkMultipart(body, e), "words\r\n");
}

TEST(WalkMultipart, FieldsAreReadInTheirOrder) {
    MessageEntry e = multipartEntry("--p");
    const std::string body = part(
        "Content-Type: application/pdf; name=\"a.pdf\"\r\nContent-Transfer-Encoding: base64\r\n"
        "Content-Disposition: attachment; filename=\"a.pdf\"\r\nContent-ID: <c1>\r\nContent-Description: "
        "Lease\r\n",
        "JVBERi0=");
    WalkMultipart(body, e);
    ASSERT_EQ(e.partCount(), 1u);
    const MimePartInfo& p = e.parts[0];
    EXPECT_EQ(p.contentType, "application/pdf; name=\"a.pdf\"");
    EXPECT_EQ(p.transferEncoding, "base64");
    EXPECT_EQ(p.contentDisposition, "attachment; filename=\"a.pdf\"");
    EXPECT_EQ(p.contentId, "<c1>");
    EXPECT_EQ(p.contentDescription, "Lease");
}

TEST(WalkMultipart, RecordsAtMostThirtyTwoParts) {
    MessageEntry e = multipartEntry("--p");
    std::string body;
    for (int i = 0; i < 40; ++i) body += part("Content-Type: text/plain\r\n", "part " + std::to_string(i));
    EXPECT_EQ(WalkMultipart(body, e), "part 0\r\n");
    EXPECT_EQ(e.partCount(), 32u);
    EXPECT_EQ(e.parts[31].partIndex, 31);
}

TEST(WalkMultipart, NoBoundaryFindsNoParts) {
    MessageEntry e = multipartEntry("");
    EXPECT_EQ(WalkMultipart(part("Content-Type: text/plain\r\n", "x"), e), "");
    EXPECT_EQ(e.partCount(), 0u);
}

}  // namespace
}  // namespace qlt
