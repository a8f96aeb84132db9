#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "MessageFixtures.h"
#include "content/EntryFiller.h"

namespace qlt {
namespace {

using test::readMessage;

// Without a size, the LIST size is the length of the reply.
FilledMessage fill(const std::string& reply, std::optional<std::int32_t> size = std::nullopt) {
    MessageOrigin origin;
    origin.uidl = "UID-0001";
    origin.size = size.value_or(static_cast<std::int32_t>(reply.size()));
    origin.messageNumber = 3;
    origin.accountIndex = 2;
    return FillEntry(reply, origin);
}

bool endsWithMarker(const MessageEntry& e) {
    return e.preview.view().ends_with(kMoreMarker);
}

bool previewHas(const MessageEntry& e, std::string_view text) {
    return e.preview.view().find(text) != std::string_view::npos;
}

TEST(FillEntry, PlainMessage) {
    const std::string reply = readMessage("plain.eml");  // the body to rate points into it
    const FilledMessage m = fill(reply);
    const MessageEntry& e = m.entry;
    EXPECT_EQ(e.from, "Margit Holloway <margit.holloway@fennick.example>");
    EXPECT_EQ(e.to, "Dana Pruitt <dana@quillhost.example>");
    EXPECT_EQ(e.subject, "Minutes of Monday's allotment meeting");
    EXPECT_EQ(e.date, "Tue, 11 Mar 2003 09:14:50 +0000");
    EXPECT_EQ(e.contentType, "text/plain; charset=us-ascii");
    EXPECT_EQ(e.isText, 1);
    EXPECT_EQ(e.isMultipart, 0);
    EXPECT_TRUE(e.preview.view().starts_with("Hi Dana,\r\n\r\nHere are the minutes"));
    EXPECT_TRUE(e.preview.view().ends_with("Margit\r\n"));
    EXPECT_FALSE(endsWithMarker(e));
    EXPECT_TRUE(e.headers.view().starts_with("Return-Path: "));
    EXPECT_TRUE(e.headers.view().ends_with("User-Agent: Mutt/1.4i"));
    EXPECT_EQ(e.uidl, "UID-0001");
    EXPECT_EQ(e.messageNumber, 3);
    EXPECT_EQ(e.accountIndex, 2);
    ASSERT_TRUE(m.bodyToRate.has_value());
    EXPECT_TRUE(m.bodyToRate->starts_with("Hi Dana,"));
}

// Expectations per fixture, for the fields where each shape differs.
struct FixtureRow {
    const char* file;
    const char* subject;
    int isMultipart, isAlternative, isHtml, hasLink, hasCid, isBase64, hasEncodedUrl;
    int partCount;
    const char* previewStart;  // nullptr: empty preview
    const char* previewAlsoHas;
};

TEST(FillEntry, FixtureCorpus) {
    const FixtureRow rows[] = {
        {"alternative.eml", "Your April reading list", 1, 1, 0, 1, 0, 0, 0, 3,
         "Dear reader,\r\n\r\nOur April", "http://www.orchardlane.example/april"},
        {"html-only.eml", "Derni\xE8re chance \x96 50% off", 0, 0, 1, 1, 0, 0, 0, 0,
         "Last chance to save!\r\n",
         "\r\nhttp://www.brightdeals.example/go?id=7731\r\nhere orour secure shop.Use code <SAVE50>"},
        {"quoted-printable.eml", "R\xE9union de f\xE9vrier", 0, 0, 0, 0, 0, 0, 0, 0, "Bonjour Dana,",
         "La r=E9union aura lieu"},
        {"encoded-subjects.eml",
         "\xC3\x89t\xC3\xA9 plans \x93"
         "draft\x94",
         0, 0, 0, 0, 0, 0, 0, 0, "Summer plans", "next mail."},
        {"nested-multipart.eml", "Photos from the wedding", 1, 0, 0, 0, 0, 0, 0, 3,
         "Dana, the photos are finally here.", "Gran on the dance\r\nfloor"},
        {"base64-text.eml", "Your March statement", 0, 0, 0, 0, 0, 1, 0, 0,
         "Dear customer,\n\nYour statement", "http://billing.northgrid.example/statements"},
        {"mixed-attachment.eml", "Lease renewal - signed copy", 1, 0, 0, 0, 0, 0, 0, 3, "Hello Dana,",
         "signed lease attached"},
        {"html-base64-part.eml", "You have been selected", 1, 0, 0, 0, 0, 1, 1, 3,
         "Congratulations! You have been selected.", "\r\nhttp://win.prizeclaim.example/~claim/now\r\nClaim"},
        {"image-first.eml", "Scanned document", 1, 0, 0, 0, 0, 0, 0, 3, "iVBORw0KGgo", nullptr},
        {"unquoted-boundary.eml", "[garden-forum] Digest 212", 1, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
        {"missing-boundary.eml", "Broken multipart", 1, 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
        {"encoded-link.eml", "Verify your account", 0, 0, 0, 1, 0, 0, 1, 0, "Please verify",
         "http://www.paypa1-verify.example/~user/login.php?acct=dana\r\n"},
    };
    for (const FixtureRow& row : rows) {
        SCOPED_TRACE(row.file);
        const MessageEntry e = fill(readMessage(row.file)).entry;
        EXPECT_EQ(e.subject, row.subject);
        EXPECT_EQ(e.isMultipart, row.isMultipart);
        EXPECT_EQ(e.isAlternative, row.isAlternative);
        EXPECT_EQ(e.isHtml, row.isHtml);
        EXPECT_EQ(e.hasLink, row.hasLink);
        EXPECT_EQ(e.hasCidReference, row.hasCid);
        EXPECT_EQ(e.isBase64, row.isBase64);
        EXPECT_EQ(e.hasEncodedUrl, row.hasEncodedUrl);
        EXPECT_EQ(e.partCount(), row.partCount);
        if (!row.previewStart) {
            EXPECT_EQ(e.preview, "");
            continue;
        }
        EXPECT_TRUE(e.preview.view().starts_with(row.previewStart)) << e.preview.str();
        if (row.previewAlsoHas) {
            EXPECT_TRUE(previewHas(e, row.previewAlsoHas)) << e.preview.str();
        }
        EXPECT_FALSE(endsWithMarker(e));
    }
}

TEST(FillEntry, PartsOfAMixedMessage) {
    const MessageEntry e = fill(readMessage("nested-multipart.eml")).entry;
    EXPECT_EQ(e.boundary, "--outer-7f3a");
    ASSERT_EQ(e.partCount(), 3u);
    EXPECT_EQ(e.parts[0].contentType, "multipart/alternative; boundary=\"inner-19c2\"");
    EXPECT_EQ(e.parts[1].contentType, "image/jpeg; name=\"gran-dancing.jpg\"");
    EXPECT_EQ(e.parts[1].transferEncoding, "base64");
    EXPECT_EQ(e.parts[1].contentDisposition, "attachment; filename=\"gran-dancing.jpg\"");
    EXPECT_EQ(e.parts[1].contentId, "<img001@vance-family.example>");
    EXPECT_EQ(e.parts[1].messageNumber, 3);
}

TEST(FillEntry, FoldedHeaderKeepsItsFirstLineOnly) {
    const MessageEntry e = fill(readMessage("alternative.eml")).entry;
    EXPECT_EQ(e.contentType, "multipart/alternative;");
    EXPECT_EQ(e.boundary, "------=_NextPart_000_0012_01C2F93A.5B1E4D60");
}

TEST(FillEntry, LongSubjectIsCutAndToIsTakenOnlyAtALineStart) {
    const MessageEntry e = fill(readMessage("folded-long-subject.eml")).entry;
    EXPECT_EQ(e.subject.size(), 127u);
    EXPECT_TRUE(e.subject.view().starts_with("This subject line is deliberately"));
    EXPECT_EQ(e.to, "dana@quillhost.example");
}

TEST(FillEntry, HeadersOnlyReplyGivesFieldsButNoPreviewAndNoRating) {
    const FilledMessage m = fill(readMessage("headers-only.eml"));
    EXPECT_EQ(m.entry.subject, "Backup finished");
    EXPECT_EQ(m.entry.from, "cron@backup.quillhost.example");
    EXPECT_EQ(m.entry.preview, "");
    EXPECT_FALSE(m.bodyToRate.has_value());
}

TEST(FillEntry, TruncatedTopGetsTheMarker) {
    const std::string reply = readMessage("truncated-top.eml");
    const MessageEntry e = fill(reply, static_cast<std::int32_t>(reply.size()) + 40000).entry;
    EXPECT_EQ(e.preview.size(), 2047u);
    EXPECT_TRUE(endsWithMarker(e));
    EXPECT_TRUE(e.preview.view().starts_with("Line 000 of the quarterly report"));
}

std::string messageWithBody(const std::string& body) {
    return "From: a@x.example\r\nTo: b@x.example\r\nSubject: s\r\n\r\n" + body;
}

TEST(FillEntry, PreviewLengthAndMarkerRules) {
    const std::string shortReply = messageWithBody("short body\r\n");
    const std::int32_t shortSize = static_cast<std::int32_t>(shortReply.size());
    struct Row {
        const char* name;
        std::string reply;
        std::optional<std::int32_t> size;
        std::size_t previewSize;
        bool marker;
    } rows[] = {
        {"short and whole: no marker", shortReply, shortSize, 12, false},
        {"size two more than fetched still whole", shortReply, shortSize + 2, 12, false},
        {"size three more: shorter than the message", shortReply, shortSize + 3, 12 + 15, true},
        {"size unknown (0) counts as longer", shortReply, 0, 12 + 15, true},
        {"size 1 counts as longer", shortReply, 1, 12 + 15, true},
        {"negative size counts as longer", shortReply, -7, 12 + 15, true},
        {"body of 3000 becomes 2032 plus marker", messageWithBody(std::string(3000, 'b')), 0, 2047, true},
        {"body of exactly 2047 and whole", messageWithBody(std::string(2047, 'b')), std::nullopt, 2047,
         false},
        {"body of 2048 cut", messageWithBody(std::string(2048, 'b')), std::nullopt, 2047, true},
        {"body of 2032 incomplete fits whole before the marker", messageWithBody(std::string(2032, 'b')), 0,
         2047, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const MessageEntry e = fill(row.reply, row.size).entry;
        EXPECT_EQ(e.preview.size(), row.previewSize);
        EXPECT_EQ(endsWithMarker(e), row.marker);
    }
}

TEST(FillEntry, HeaderBlockShapesThatGiveNoBody) {
    struct Row {
        const char* name;
        std::string reply;
        const char* headers;
    } rows[] = {
        {"empty reply", "", ""},
        {"blank line at position 6", "A: bcd\r\n\r\nbody text", "A: bcd"},
        {"blank line at position 4", "A: b\r\n\r\nbody", "A: b"},
        {"blank line at position 0", "\r\n\r\nbody", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FilledMessage m = fill(row.reply);
        EXPECT_EQ(m.entry.headers, row.headers);
        EXPECT_EQ(m.entry.preview, "");
        EXPECT_FALSE(m.bodyToRate.has_value());
    }
    EXPECT_TRUE(fill("A: bcde\r\n\r\nbody").bodyToRate.has_value());
}

TEST(FillEntry, HeaderBlockAndUidlAreCut) {
    const std::string reply = "Subject: x\r\nX-Pad: " + std::string(5000, 'p') + "\r\n\r\nbody";
    MessageOrigin origin;
    const std::string uidl(300, 'u');
    origin.uidl = uidl;
    const MessageEntry e = FillEntry(reply, origin).entry;
    EXPECT_EQ(e.headers.size(), 2047u);
    EXPECT_EQ(e.uidl.size(), kMaxUidlLength);
    EXPECT_EQ(e.subject, "x");
}

TEST(FillEntry, FieldsAfterTheStoredHeaderLengthAreStillRead) {
    const std::string reply = "Received: " + std::string(3000, 'r') + "\r\nSubject: late\r\n\r\nbody";
    EXPECT_EQ(fill(reply).entry.subject, "late");
}

TEST(FillEntry, ContentTypeFlagsIgnoreCaseButTheFieldKeepsIt) {
    const std::string reply = "Content-Type: Multipart/MIXED; boundary=\"b\"\r\n\r\n--b\r\n\r\nx\r\n--b--";
    const MessageEntry e = fill(reply).entry;
    EXPECT_EQ(e.contentType, "Multipart/MIXED; boundary=\"b\"");
    EXPECT_EQ(e.isMultipart, 1);
    EXPECT_EQ(e.isMixed, 1);
    EXPECT_EQ(e.isText, 0);
    EXPECT_EQ(e.preview, "x\r\n");
}

TEST(FillEntry, CidReferenceAndLinkAreSeenInTheRawBody) {
    const MessageEntry e = fill(messageWithBody("<img src=\"cid:part1\"> ftp://files.example/x\r\n")).entry;
    EXPECT_EQ(e.hasCidReference, 1);
    EXPECT_EQ(e.hasLink, 1);
}

// Every fixture, every cut of it and scrambled copies go through the whole
// filling: nothing may crash, read past its text or break the record's limits.
void expectSoundEntry(const std::string& reply) {
    const FilledMessage m = fill(reply, static_cast<std::int32_t>(reply.size() / 2));
    const MessageEntry& e = m.entry;
    ASSERT_LE(e.headers.size(), 2047u);
    ASSERT_LE(e.preview.size(), 2047u);
    ASSERT_LE(e.subject.size(), 127u);
    ASSERT_LE(e.partCount(), 32u);
    for (std::size_t i = 0; i < e.parts.size(); ++i) {
        ASSERT_EQ(e.parts[i].valid, 1);
        ASSERT_EQ(e.parts[i].partIndex, static_cast<int>(i));
    }
    if (m.bodyToRate) {
        ASSERT_GE(m.bodyToRate->data(), reply.data());
        ASSERT_EQ(m.bodyToRate->data() + m.bodyToRate->size(), reply.data() + reply.size());
    }
}

TEST(FillEntryGarbage, EveryFixtureAndEveryCutOfIt) {
    for (const std::string& name : test::messageFixtureNames()) {
        SCOPED_TRACE(name);
        const std::string reply = readMessage(name);
        ASSERT_FALSE(reply.empty());
        for (std::size_t n = 0; n <= reply.size(); n += (n < 700 ? 1 : 7)) {
            // A copy of exactly n bytes, so that a read past the cut is a read past the buffer.
            const std::string cut = reply.substr(0, n);
            expectSoundEntry(cut);
        }
    }
}

TEST(FillEntryGarbage, ScrambledFixtures) {
    std::mt19937 gen(1234);
    const std::string hostile = "<>\"=?_%:/-;\r\n\0B";
    for (const std::string& name : test::messageFixtureNames()) {
        SCOPED_TRACE(name);
        const std::string reply = readMessage(name);
        for (int round = 0; round < 150; ++round) {
            std::string copy = reply;
            const int edits = 1 + static_cast<int>(gen() % 12);
            for (int k = 0; k < edits; ++k) copy[gen() % copy.size()] = hostile[gen() % hostile.size()];
            expectSoundEntry(copy);
        }
    }
}

TEST(FillEntryGarbage, HostileShapesStayBounded) {
    std::string nested = "Content-Type: multipart/alternative; boundary=\"a\"\r\n\r\n";
    for (int i = 0; i < 2000; ++i)
        nested += "--a\r\nContent-Type: multipart/alternative; boundary=\"a\"\r\n\r\n";
    std::string manyWords = "Subject: ";
    for (int i = 0; i < 20000; ++i) manyWords += "=?x?Q?=?";
    std::string tags = "Content-Type: text/html\r\n\r\n";
    for (int i = 0; i < 30000; ++i) tags += "<a \"http:<http:<";
    tags += "\">";
    std::string deepLinks = "Content-Type: text/html\r\n\r\n<" + std::string(50000, 'x');
    for (int i = 0; i < 20000; ++i) deepLinks += "<a \"http:<\">";
    const std::string emptyParts =
        "Content-Type: multipart/mixed; boundary=\"\"\r\n\r\n" + std::string(100000, '-');
    for (const std::string& reply : {nested, manyWords, tags, deepLinks, emptyParts}) expectSoundEntry(reply);
}

}  // namespace
}  // namespace qlt
