#include <gtest/gtest.h>

#include <random>

#include "content/HtmlToText.h"

namespace qlt {
namespace {

// The replacement rule written the slow, obvious way: find the first
// occurrence in an upper-case copy, replace it, start again from the front.
std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

std::string restartingReplaceAll(std::string text, const std::string& find, const std::string& with) {
    for (;;) {
        const std::size_t p = upper(text).find(upper(find));
        if (p == std::string::npos) return text;
        text.replace(p, find.size(), with);
    }
}

// The tag loop written as a loop that rebuilds the text after every tag.
std::string restartingStripTags(std::string work) {
    for (;;) {
        const std::size_t w = work.find('<');
        if (w == std::string::npos) return work;
        const std::size_t g = work.find('>', w);
        if (g == std::string::npos) return work;
        std::string before = work.substr(0, w);
        const std::string tag = work.substr(w, g - w);
        const std::size_t f = tag.find("http:");
        const std::size_t q = f == std::string::npos ? f : tag.find('"', f);
        if (q != std::string::npos) before += "\r\n" + tag.substr(f, q - f) + "\r\n";
        work = before + work.substr(g + 1);
    }
}

std::string randomText(std::mt19937& gen, const std::vector<std::string>& pieces, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += pieces[gen() % pieces.size()];
    return out;
}

TEST(ReplaceAll, Rules) {
    struct Row {
        const char* name;
        const char* text;
        const char* find;
        const char* with;
        const char* expected;
    } rows[] = {
        {"every occurrence", "a&amp;b&amp;c", "&amp;", "&", "a&b&c"},
        {"letter case of the text ignored", "x&AMP;y&Amp;z", "&amp;", "&", "x&y&z"},
        {"doubly escaped ends as one", "&amp;amp;", "&amp;", "&", "&"},
        {"triply escaped ends as one", "&amp;amp;amp;", "&amp;", "&", "&"},
        {"escaped entity becomes the entity text", "&amp;lt;", "&amp;", "&", "&lt;"},
        {"occurrence right after a partial one", "==2020", "=20", " ", "= 20"},
        {"no occurrence", "plain text", "&nbsp;", " ", "plain text"},
        {"removal", "a\r\nb\r\n", "\r\n", "", "ab"},
        {"removal joins a new occurrence", "==\r\r\n", "=\r", "", "\n"},
        {"empty find leaves the text", "abc", "", "x", "abc"},
        {"longer replacement made once per occurrence", "<br><BR>", "<br>", "<br><br>", "<br><br><br><br>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReplaceAll(row.text, row.find, row.with), row.expected);
    }
}

TEST(ReplaceAll, SameAsRestartingFromTheFrontOnRandomText) {
    std::mt19937 gen(42);
    const std::vector<std::string> pieces = {"&",  "amp;", "AMP;", "a",   "m",    "p", ";", "=", "2", "0",
                                             "\r", "\n",   "nbsp", "lt;", "<br>", "b", "r", ">", "<"};
    const std::pair<std::string, std::string> steps[] = {{"&amp;", "&"}, {"=20", " "},    {"\r\n", ""},
                                                         {"=\r", ""},    {"&nbsp;", " "}, {"<br>", "\r\n"},
                                                         {"&lt;", "<"}};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = randomText(gen, pieces, 1 + static_cast<int>(gen() % 40));
        for (const auto& [find, with] : steps) {
            ASSERT_EQ(ReplaceAll(text, find, with), restartingReplaceAll(text, find, with))
                << "text: " << text << " find: " << find;
        }
    }
}

TEST(CollapseBlanks, Rules) {
    struct Row {
        const char* name;
        const char* text;
        const char* expected;
    } rows[] = {
        {"trims both ends", " \t\r\n a b \r\n\t ", "a b"},
        {"run of spaces and tabs", "a \t \t b", "a b"},
        {"single tab becomes a space", "a\tb", "a b"},
        {"line breaks stay", "a \r\n  b", "a \r\n b"},
        {"blank only", " \t ", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CollapseBlanks(row.text), row.expected);
    }
}

TEST(HtmlToText, Rules) {
    struct Row {
        const char* name;
        const char* html;
        const char* expected;
    } rows[] = {
        {"no tags: only the replacements", "Fish =26 chips&nbsp;today=2E", "Fish =26 chips today."},
        {"head dropped", "<html><head><title>T</title></HEAD><p>Body</p>", "Body"},
        {"head at position zero keeps everything", "</head>Start<b>x</b>", "Startx"},
        {"source line breaks removed", "one\r\ntwo\nthree", "onetwothree"},
        {"br in any case is a line break", "a<br>b<BR>c<Br>d", "a\r\nb\r\nc\r\nd"},
        {"self-closing br is only a tag", "a<br/>b<br />c", "abc"},
        {"http link kept on its own line", "see <a href=\"http://x.example/p?q=1\">here</a>.",
         "see \r\nhttp://x.example/p?q=1\r\nhere."},
        {"https link not kept", "<a href=\"https://x.example/\">s</a>", "s"},
        {"link without closing quote not kept", "<a href=http://x.example/>s</a>", "s"},
        {"unclosed tag stays", "text <b>bold</b> and <i unclosed", "text bold and <i unclosed"},
        {"escaped brackets survive as text", "&lt;b&gt; is bold", "<b> is bold"},
        {"escaped ampersand before an entity", "&amp;lt;", "&lt;"},
        {"doubly escaped ampersand", "Tom &amp;amp; Jerry", "Tom & Jerry"},
        {"capital nbsp", "a&NBSP;b", "a b"},
        {"soft line break keeps its equals sign", "abc=\r\ndef", "abc=def"},
        {"lone CR after equals removed", "abc=\rdef", "abcdef"},
        {"quoted-printable CR LF escapes removed", "a=0d=0Ab", "ab"},
        {"shy and quot", "co&shy;op &quot;x&quot;", "co-op \"x\""},
        {"blanks collapsed, line breaks kept", "  a  \t b <br>  c  ", "a b \r\n c"},
        {"link holding a bracket is read again", "<a \"http:<i\">y>z", "http:z"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HtmlToText(row.html), row.expected);
    }
}

TEST(HtmlToText, TagStrippingSameAsRestartingLoopOnRandomText) {
    std::mt19937 gen(7);
    const std::vector<std::string> pieces = {"<",          ">",         "\"",  "http:", "a",   " ",
                                             "<a href=\"", "http://h/", "<b>", "x<y",   "\r\n"};
    for (int round = 0; round < 4000; ++round) {
        // No replacement of the tables applies to these pieces except CR LF removal and collapsing, so
        // the whole conversion must equal the slow tag loop with those two steps around it.
        const std::string html = randomText(gen, pieces, 1 + static_cast<int>(gen() % 30));
        std::string expected = restartingReplaceAll(restartingReplaceAll(html, "\r\n", ""), "\n", "");
        expected = CollapseBlanks(restartingStripTags(expected));
        ASSERT_EQ(HtmlToText(html), expected) << "html: " << html;
    }
}

}  // namespace
}  // namespace qlt
