#include "MailboxWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace qlt::test {
namespace {

std::string headers(const std::string& from, const std::string& subject, const std::string& contentType) {
    return "Return-Path: <" + from + ">\r\nFrom: " + from +
           "\r\nTo: carl@example.net\r\nSubject: " + subject +
           "\r\nDate: Tue, 3 Mar 2026 10:00:00 +0100\r\nMIME-Version: 1.0\r\nContent-Type: " + contentType +
           "\r\n";
}

}  // namespace

std::vector<GeneratedMessage> variedMessages() {
    std::vector<GeneratedMessage> out = {
        {.text = headers("lena@example.org", "Plain note", "text/plain; charset=us-ascii") +
                 "\r\nHello Carl,\r\nthe plain one.\r\n.A line that starts with a dot.\r\n",
         .from = "lena@example.org",
         .subject = "Plain note",
         .previewStart = "Hello Carl,\r\nthe plain one.\r\n"},
        {.text =
             headers("news@shop.example", "HTML offer", "text/html; charset=utf-8") +
             "\r\n<html><body><p>Big sale</p><a href=\"http://shop.example/x\">here</a></body></html>\r\n",
         .from = "news@shop.example",
         .subject = "HTML offer",
         .previewStart = "Big sale",
         .isHtml = true},
        {.text = headers("team@example.com", "Both kinds", "multipart/alternative; boundary=\"alt-1\"") +
                 "\r\n--alt-1\r\nContent-Type: text/plain\r\n\r\nPlain part first\r\n"
                 "--alt-1\r\nContent-Type: text/html\r\n\r\n<p>HTML part</p>\r\n--alt-1--\r\n",
         .from = "team@example.com",
         .subject = "Both kinds",
         .previewStart = "Plain part first",
         .isMultipart = true},
        // A base64 text part ("Please see the attachment."), then an "executable".
        {.text = headers("someone@example.net", "Invoice attached", "multipart/mixed; boundary=\"mix-2\"") +
                 "\r\n--mix-2\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                 "UGxlYXNlIHNlZSB0aGUgYXR0YWNobWVudC4=\r\n"
                 "--mix-2\r\nContent-Type: application/octet-stream; name=\"invoice.exe\"\r\n"
                 "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; "
                 "filename=\"invoice.exe\"\r\n"
                 "\r\nTVqQAAMAAAAEAAAA//"
                 "8AALgAAAAAAAAAQAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAgAAAAA==\r\n"
                 "--mix-2--\r\n",
         .from = "someone@example.net",
         .subject = "Invoice attached",
         .previewStart = "Please see the attachment.",
         .isMultipart = true,
         .isBase64 = true},
        {.text = headers("jose@example.es", "=?ISO-8859-1?Q?Caf=E9_ma=F1ana?=", "text/plain") +
                 "\r\nHasta luego.\r\n",
         .from = "jose@example.es",
         .subject = "Caf\xe9 ma\xf1"
                    "ana",
         .previewStart = "Hasta luego."},
        {.text = headers("b64@example.org", "=?utf-8?B?SGVsbG8=?=", "text/plain") +
                 "Content-Transfer-Encoding: base64\r\n\r\nSGVsbG8gd29ybGQgZnJvbSBiYXNlNjQ=\r\n",
         .from = "b64@example.org",
         .subject = "Hello",
         .previewStart = "Hello world from base64",
         .isBase64 = true},
        {.text = headers("track@example.biz", "Click me", "text/plain") +
                 "\r\nGo to http://%77%77%77.example.biz/%70age now\r\n",
         .from = "track@example.biz",
         .subject = "Click me",
         .previewStart = "Go to http://",
         .hasEncodedUrl = true},
    };
    out.push_back(longMessage("Long story", 400));
    return out;
}

GeneratedMessage longMessage(const std::string& subject, int lines, const std::string& keyword,
                             int keywordLine) {
    GeneratedMessage m;
    m.from = "writer@example.org";
    m.subject = subject;
    m.previewStart = "Line 1 of a long story that goes on.\r\n";
    m.text = headers(m.from, subject, "text/plain") + "\r\n";
    for (int i = 1; i <= lines; ++i) {
        m.text += i == keywordLine ? keyword : "Line " + std::to_string(i) + " of a long story that goes on.";
        m.text += "\r\n";
    }
    return m;
}

MailboxWriter::MailboxWriter(std::filesystem::path maildir) : m_maildir(std::move(maildir)) {
    struct stat info {};
    if (::stat(m_maildir.c_str(), &info) != 0) throw std::runtime_error("no maildir " + m_maildir.string());
    m_uid = info.st_uid;
    m_gid = info.st_gid;
}

void MailboxWriter::add(const std::string& text) {
    ++m_sequence;
    const std::filesystem::path file =
        m_maildir / "cur" /
        (std::to_string(1800000000 + m_sequence) + ".M" + std::to_string(m_sequence) + "P" +
         std::to_string(::getpid()) + ".qltgen:2,S");
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
        if (!out) throw std::runtime_error("cannot write " + file.string());
    }
    // The server reads mail as the maildir's owner, not as whoever runs the tests.
    if (::chown(file.c_str(), m_uid, m_gid) != 0) throw std::runtime_error("cannot chown " + file.string());
}

}  // namespace qlt::test
