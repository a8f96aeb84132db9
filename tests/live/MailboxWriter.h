#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qlt::test {

// One generated message and what a scan should make of it.
struct GeneratedMessage {
    std::string text;  // as stored, CRLF line ends
    std::string from;
    std::string subject;       // decoded
    std::string previewStart;  // what the preview begins with
    bool isHtml = false;
    bool isMultipart = false;
    bool isBase64 = false;
    bool hasEncodedUrl = false;
};

// Messages of the kinds a mailbox holds: plain, HTML, alternative, mixed with
// a base64 text part and an executable attachment, encoded-word subjects,
// long bodies, escaped links.
std::vector<GeneratedMessage> variedMessages();

// A plain message whose body has `lines` numbered lines; when `keyword` is
// given it stands alone on line `keywordLine`.
GeneratedMessage longMessage(const std::string& subject, int lines, const std::string& keyword = "",
                             int keywordLine = 0);

// Puts messages into a user's maildir as the server's own delivery would:
// uniquely named files in cur/, owned by the maildir's owner.
class MailboxWriter {
  public:
    explicit MailboxWriter(std::filesystem::path maildir);
    void add(const std::string& text);

  private:
    std::filesystem::path m_maildir;
    uid_t m_uid;
    gid_t m_gid;
    int m_sequence = 0;
};

}  // namespace qlt::test
