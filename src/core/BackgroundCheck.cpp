#include "core/BackgroundCheck.h"

#include <algorithm>
#include <set>
#include <utility>

namespace qlt {

namespace {

constexpr std::uint32_t kTicksPerMinute = 7500;  // an eighth of a minute's 60000 ms

using EntryKey = std::pair<std::uint8_t, std::string>;

std::set<EntryKey> knownEntries(const MessageList& list) {
    std::set<EntryKey> keys;
    for (std::size_t i = 0; i < list.count(); ++i)
        keys.emplace(list.at(i).accountIndex, list.at(i).uidl.str());
    return keys;
}

// The name of the account an entry came to; none for a number the store no longer holds.
std::string accountNameOf(const AccountStore& accounts, std::uint8_t accountIndex) {
    const auto account = accounts.GetAccount(accountIndex);
    return account ? account->accountName.str() : std::string();
}

NewMailNotice noticeOfNewEntries(const MessageList& list, const std::set<EntryKey>& before,
                                 const AccountStore& accounts) {
    NewMailNotice notice;
    for (std::size_t i = 0; i < list.count(); ++i) {
        const MessageEntry& entry = list.at(i);
        if (before.contains(EntryKey(entry.accountIndex, entry.uidl.str()))) continue;
        AddToNotice(notice, entry, accountNameOf(accounts, entry.accountIndex));
    }
    return notice;
}

}  // namespace

std::int32_t CheckedMinutes(std::int32_t minutes) {
    return minutes < kMinCheckMinutes || minutes > kMaxCheckMinutes ? kDefaultCheckMinutes : minutes;
}

std::uint32_t CheckTimerPeriodMs(std::int32_t minutes2Scan) {
    // A stored interval the Setup page never saw (a hand-edited profile) must
    // not make the timer fire every millisecond.
    return static_cast<std::uint32_t>(CheckedMinutes(minutes2Scan)) * kTicksPerMinute + 1;
}

int NextCountdownStep(int step) {
    return (step + 1) % kCountdownSteps;
}

BackgroundCheck::BackgroundCheck(MailChecker& checker, const BackgroundDesk& desk)
    : m_checker(checker), m_desk(desk) {
    m_checker.startCheckTimerHook = [this] { StartCheckTimer(); };
    m_checker.stopCheckTimerHook = [this](bool reset) { StopCheckTimer(reset); };
}

BackgroundCheck::~BackgroundCheck() {
    m_checker.startCheckTimerHook = nullptr;
    m_checker.stopCheckTimerHook = nullptr;
}

void BackgroundCheck::startUp() {
    setStep(kCountdownIdle);
    // The checker's request starts the timer through the hooks set above.
    m_checker.startUpRequest();
}

void BackgroundCheck::StartCheckTimer() {
    m_desk.timer.start(CheckTimerPeriodMs(m_checker.settings().minutes2Scan));
    m_running = true;
    setStep(1);
}

void BackgroundCheck::StopCheckTimer(bool reset) {
    m_desk.timer.stop();
    m_running = false;
    if (reset) setStep(kCountdownIdle);
}

bool BackgroundCheck::mayCheck() const {
    if (m_checker.scanBusy() || m_checker.scanRunning()) return false;
    return m_checker.settings().scanIfConnected == 0 || m_desk.network.isConnected();
}

bool BackgroundCheck::onCheckTick() {
    const int step = NextCountdownStep(m_step);
    // An interval that ends while offline or busy is skipped whole; the next
    // chance is a full cycle later.
    const bool post = step == 0 && mayCheck();
    if (post) m_desk.timer.postCheck();
    setStep(step);
    return post;
}

void BackgroundCheck::runBackgroundCheck() {
    if (m_checker.scanBusy() || m_checker.scanRunning()) return;
    const auto before = knownEntries(m_checker.messages());
    if (!m_checker.startScan(ScanStart::Background)) return;
    setStep(kCountdownIdle);
    if (m_checker.newMailFound())
        notifyNewMail(noticeOfNewEntries(m_checker.messages(), before, m_checker.accounts()));
}

void BackgroundCheck::notifyNewMail(const NewMailNotice& notice) {
    const std::uint8_t bits = m_checker.settings().newMsgNotify;
    // A read-through can find only messages already listed; there is nothing
    // to count then, though the sound and the window still follow the scan.
    if ((bits & kNotifyNotice) != 0 && notice.count > 0)
        m_desk.window.showNewMailNotice(NewMailNoticeTitle(notice),
                                        NewMailNoticeText(notice, m_checker.settings().redactNotices != 0));
    if ((bits & kNotifySound) != 0) PlaySoundFile(m_checker.settings().soundFile, m_desk.sound);
    if ((bits & kNotifyWindow) != 0) m_desk.window.raise();
}

void BackgroundCheck::setStep(int step) {
    m_step = step;
    m_desk.window.showCountdown(step);
}

}  // namespace qlt
