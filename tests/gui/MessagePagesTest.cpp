#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>

#include "controls/CBitmapLamp.h"
#include "controls/CFlatButton.h"
#include "gui/PageTestSupport.h"
#include "gui/ScriptedFontChooser.h"
#include "platform/QSettingsProfile.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "support/CheckerRig.h"
#include "ui/DetailsPage.h"
#include "ui/HeadersPage.h"
#include "ui/MessageTextEdit.h"
#include "ui/PreviewPage.h"

namespace qlt::ui {
namespace {

using test::child;

MimePartInfo part(const char* disposition) {
    MimePartInfo info;
    info.contentDisposition = disposition;
    return info;
}

MessageEntry message(std::int32_t size, std::array<std::uint8_t, kRiskCategories> levels = {}) {
    MessageEntry entry;
    entry.accountIndex = 1;
    entry.messageNumber = 1;
    entry.size = size;
    entry.level = levels;
    return entry;
}

// The selected message of the checker's one account is `entry`.
void select(test::CheckerRig& rig, const MessageEntry& entry) {
    if (rig.checker.GetAccountCount() == 0) rig.addAccount(110, "ann", "pw");
    rig.checker.messages().removeAll();
    rig.checker.messages().append(entry);
    AccountRecord account = *rig.checker.GetAccount(1);
    account.messageCount = 1;
    rig.checker.ReplaceAccount(1, account);
    rig.checker.accounts().MakeAccountCurrent(1);
    rig.checker.fillMessageView();
    rig.checker.selectRow(0);
}

QString valueText(QWidget& page, const char* name) {
    return child<QLabel>(page, name).text();
}

int lamp(QWidget& page, int row) {
    return child<controls::CBitmapLamp>(page, QStringLiteral("lamp%1").arg(row).toLatin1().constData())
        .bitmapId();
}

class MessagePagesTest : public ::testing::Test {
  protected:
    // The Details page's text `field` once `entry` is the selected message.
    QString detailsOf(const MessageEntry& entry, const char* field) {
        select(rig, entry);
        details.refreshPage();
        return valueText(details, field);
    }

    test::CheckerRig rig;
    DetailsPage details{rig.checker, rig.ui};
};

TEST_F(MessagePagesTest, AttachmentTexts) {
    const struct {
        const char* name;
        std::vector<MimePartInfo> parts;
        QString shown;
    } rows[] = {
        {"no parts", {}, "No"},
        {"one file of three, mixed case",
         {part("inline"), part("attachment; FileName=\"a.pdf\""), part("")},
         "Yes: 1 file (3 parts)."},
        {"two parts, no file", {part("inline"), part("attachment")}, "No files (2 parts)."},
        {"two files",
         {part("attachment; filename=a"), part("inline; FILENAME=b")},
         "Yes: 2 files (2 parts)."},
    };
    for (const auto& row : rows) {
        MessageEntry entry = message(100);
        entry.parts = row.parts;
        EXPECT_EQ(detailsOf(entry, "attachments"), row.shown) << row.name;
    }
}

TEST_F(MessagePagesTest, ContentTypeIsCutBeforeTheBoundary) {
    const struct {
        const char* name;
        const char* value;
        QString shown;
    } rows[] = {
        {"boundary parameter", "multipart/mixed; boundary=\"xyz\"", "multipart/mixed; "},
        {"begins with boundary", "boundary=\"xyz\"", "boundary=\"xyz\""},
        {"boundary at position 1", "xboundary=1", "xboundary=1"},
        {"boundary at position 2", "a;boundary=1", "a;"},
        {"other case is not cut", "multipart/mixed; BOUNDARY=x", "multipart/mixed; BOUNDARY=x"},
        {"none", "text/plain", "text/plain"},
    };
    for (const auto& row : rows) {
        MessageEntry entry = message(100);
        entry.contentType = row.value;
        EXPECT_EQ(detailsOf(entry, "contentType"), row.shown) << row.name;
    }
}

TEST_F(MessagePagesTest, LampsShowLevelsOnlyForAMessageWithASize) {
    const int grey = controls::riskLampBitmap(kNoLampLevel);
    const struct {
        const char* name;
        MessageEntry entry;
        std::array<int, 4> bitmaps;
    } rows[] = {
        {"size 0 with red levels", message(0, {3, 3, 3, 3, 3}), {grey, grey, grey, grey}},
        {"levels 0 to 3",
         message(100, {0, 1, 2, 3, 0}),
         {controls::riskLampBitmap(0), controls::riskLampBitmap(1), controls::riskLampBitmap(2),
          controls::riskLampBitmap(3)}},
        {"levels 4 and 255",
         message(100, {4, 255, 1, 0, 0}),
         {grey, grey, controls::riskLampBitmap(1), controls::riskLampBitmap(0)}},
    };
    for (const auto& row : rows) {
        select(rig, row.entry);
        details.refreshPage();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(lamp(details, i), row.bitmaps[static_cast<std::size_t>(i)]) << row.name << i;
    }
    EXPECT_NE(grey, controls::riskLampBitmap(0));
}

TEST_F(MessagePagesTest, DetailsShowTheFieldsAsText) {
    MessageEntry entry = message(3000, {1, 0, 0, 0, 0});
    entry.from = "Jane <jane@example.org>";
    entry.to = "<b>bold</b>";
    entry.subject = "Hello";
    entry.date = "Mon, 2 Mar 2026 10:00:00 +0000";
    entry.uidl = "uid-1";
    entry.levelReason = {0xabcd, 0, 0xffffffff, 7, 9};
    select(rig, entry);
    details.refreshPage();

    EXPECT_EQ(valueText(details, "from"), "Jane <jane@example.org>");
    EXPECT_EQ(child<QLabel>(details, "from").textFormat(), Qt::PlainText);
    EXPECT_EQ(valueText(details, "to"), "<b>bold</b>");
    EXPECT_EQ(valueText(details, "size"), " (2 Kb)");
    EXPECT_EQ(valueText(details, "subject"), "Hello");
    EXPECT_EQ(valueText(details, "uidl"), "uid-1");
    EXPECT_EQ(valueText(details, "reason0"), "0000abcd");
    EXPECT_EQ(valueText(details, "reason2"), "ffffffff");
    EXPECT_EQ(valueText(details, "reason3"), "00000007");
}

// A message rated with one dictionary record, shown on the page.
void showRated(test::CheckerRig& rig, DetailsPage& details, const KeywordRecord& record,
               const char* subject) {
    MessageEntry entry = message(100);
    entry.to = entry.from = "ann@example.org";
    entry.subject = subject;
    KeywordDictionary dictionary;
    dictionary.assign({record});
    rateMessage(dictionary, "", entry, "ann");
    select(rig, entry);
    details.refreshPage();
}

QString tipOf(QWidget& page, const char* kind, int row) {
    return child<QWidget>(page, QStringLiteral("%1%2").arg(kind).arg(row).toLatin1().constData()).toolTip();
}

TEST_F(MessagePagesTest, ReasonWordsAreTheTooltipsOfTheirRows) {
    const struct {
        const char* name;
        KeywordRecord record;
        const char* subject;
        int row;
        QString tip;
    } rows[] = {
        {"dictionary record", KeywordRecord::make(41, "pills", 2, 3, kWhereSubject), "Cheap PILLS", 1,
         "\"pills\" in the subject"},
        {"built-in rule", KeywordRecord::make(42, "absent", 2, 3, kWhereSubject), "Get $ave now", 1,
         "disguised word in the subject"},
        {"x-rated record", KeywordRecord::make(43, "nude", 3, 2, kWhereSubject), "nude beach", 2,
         "\"nude\" in the subject"},
    };
    for (const auto& row : rows) {
        showRated(rig, details, row.record, row.subject);
        EXPECT_EQ(tipOf(details, "reason", row.row), row.tip) << row.name;
        EXPECT_EQ(tipOf(details, "lamp", row.row), row.tip) << row.name;
        EXPECT_EQ(tipOf(details, "reason", 0), "") << row.name << ": the virus row has no reason";
    }
}

TEST_F(MessagePagesTest, AReasonThatLooksLikeMarkupIsShownAsText) {
    showRated(rig, details, KeywordRecord::make(44, "<b>", 2, 3, kWhereSubject), "a <b>bold</b> offer");
    const QString tip = tipOf(details, "reason", 1);
    EXPECT_TRUE(tip.contains("&lt;b&gt;")) << tip.toStdString();
    EXPECT_FALSE(tip.contains("<b>")) << tip.toStdString();
}

TEST_F(MessagePagesTest, NoSelectedMessageShowsTheEmptyLook) {
    rig.addAccount(110, "ann", "pw");
    rig.checker.accounts().MakeAccountCurrent(1);
    rig.checker.selectRow(std::nullopt);
    details.refreshPage();
    EXPECT_EQ(valueText(details, "from"), "");
    EXPECT_EQ(valueText(details, "attachments"), "No");
    EXPECT_EQ(valueText(details, "size"), " (empty)");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(valueText(details, QStringLiteral("reason%1").arg(i).toLatin1().constData()), "00000000");
        EXPECT_EQ(lamp(details, i), controls::riskLampBitmap(kNoLampLevel));
    }
}

TEST_F(MessagePagesTest, HeadersAndPreviewShowTheirTextsWithSideMargins) {
    MessageEntry entry = message(100);
    entry.headers = "From: a@example.org\r\nSubject: caf\xc3\xa9\r\n";
    entry.preview =
        "Gr\xfc\xdf"
        "e";
    select(rig, entry);
    HeadersPage headers(rig.checker, rig.ui);
    PreviewPage preview(rig.checker, rig.ui);
    headers.show();
    preview.show();

    EXPECT_EQ(headers.shownText(), QString::fromUtf8("From: a@example.org\nSubject: caf\xc3\xa9\n"));
    EXPECT_EQ(preview.shownText(), QString::fromLatin1("Gr\xfc\xdf"
                                                       "e"))
        << "not UTF-8: one character a byte";
    for (QWidget* page : {static_cast<QWidget*>(&headers), static_cast<QWidget*>(&preview)})
        EXPECT_EQ(page->findChild<MessageTextEdit*>()->sideMargin(), MessageTextEdit::kSideMargin);
    auto* headerText = headers.findChild<MessageTextEdit*>();
    EXPECT_TRUE(headerText->isReadOnly());
    EXPECT_EQ(headerText->font().family(), "Courier New");
    EXPECT_EQ(headerText->palette().color(QPalette::Base), QColor(96, 96, 96));
    EXPECT_EQ(headerText->palette().color(QPalette::Text), QColor(Qt::white));

    MessageEntry next = message(100);
    next.headers = "Subject: next\r\n";
    select(rig, next);
    headers.refreshPage();
    EXPECT_EQ(headers.shownText(), "Subject: next\n");
}

TEST(PreviewPage, WithoutAChosenFontShowsTahoma15) {
    test::CheckerRig rig;
    PreviewPage page(rig.checker, rig.ui);
    EXPECT_EQ(page.shownFont().family(), "Tahoma");
    EXPECT_EQ(page.shownFont(), previewFont(PreviewFontBytes{}));
}

TEST(PreviewPage, CancelledChooserKeepsTheFontAndTheSetting) {
    test::CheckerRig rig;
    PreviewPage page(rig.checker, rig.ui);
    test::ScriptedFontChooser chooser;
    page.setFontChooser(chooser);
    const QFont before = page.shownFont();
    child<controls::CFlatButton>(page, "font").click();
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0].family(), "Tahoma") << "the chooser starts from the font shown";
    EXPECT_EQ(page.shownFont(), before);
    EXPECT_EQ(rig.checker.settings().previewFont, PreviewFontBytes{});
}

TEST(PreviewPage, ChosenFontSurvivesARestart) {
    test::TempFolder folder("qlt-pages");
    const QString settingsFile = QString::fromStdString(folder.file("quillgt.conf"));
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(21);
    chosen.setBold(true);
    chosen.setItalic(true);

    test::CheckerRig fakes;  // the clock, window and launchers
    const auto run = [&](const std::function<void(MailChecker&, PreviewPage&)>& work) {
        QSettingsProfile profile(settingsFile);
        MailChecker checker{
            DeskServices{fakes.ui, fakes.clock, profile, fakes.window, fakes.launcher, fakes.mailto}};
        checker.load();
        PreviewPage page(checker, fakes.ui);
        work(checker, page);
    };
    run([&](MailChecker& checker, PreviewPage& page) {
        test::ScriptedFontChooser chooser;
        chooser.answer = chosen;
        page.setFontChooser(chooser);
        page.chooseFont();
        EXPECT_EQ(page.shownFont().family(), "DejaVu Serif");
        ASSERT_TRUE(checker.SaveAccounts());  // as closing the window does
    });
    run([&](MailChecker&, PreviewPage& page) {
        const QFont shown = page.shownFont();
        EXPECT_EQ(shown.family(), "DejaVu Serif");
        EXPECT_EQ(shown.pixelSize(), 21);
        EXPECT_TRUE(shown.bold());
        EXPECT_TRUE(shown.italic());
    });
}

}  // namespace
}  // namespace qlt::ui
