#include "store/AccountPersistence.h"

#include "store/AccountRecordCodec.h"
#include "store/AccountRules.h"

namespace qlt {

namespace {

constexpr std::size_t kBufferStep = 1024;

}  // namespace

Bytes EncodeAccountRecords(std::span<const AccountRecord> records) {
    Bytes plain;
    plain.reserve((records.size() * kAccountRecordSize + kBufferStep - 1) / kBufferStep * kBufferStep);
    for (const AccountRecord& record : records) appendAccountRecord(record, plain);
    return encodeStored(plain);
}

Bytes EncodeAccounts(const AccountStore& store) {
    std::vector<AccountRecord> records;
    for (int n = 1; n <= store.GetAccountCount(); ++n) records.push_back(*store.GetAccount(n));
    return EncodeAccountRecords(records);
}

std::optional<std::vector<AccountRecord>> DecodeAccounts(const Bytes& value) {
    const std::optional<Bytes> plain = decodeStored(value);
    if (!plain) return std::nullopt;
    const std::span<const std::uint8_t> all(*plain);
    std::vector<AccountRecord> records;
    for (std::size_t at = 0; at + kAccountRecordSize <= all.size(); at += kAccountRecordSize)
        records.push_back(readAccountRecord(all.subspan(at).first<kAccountRecordSize>()));
    return records;
}

void AccountPersistence::LoadAccounts(AccountStore& store, Settings& settings) {
    const std::optional<Bytes> stored = LoadSettings(m_profile, settings);
    if (settings.soundFile.empty()) settings.soundFile = kDefaultSoundFile;
    if (!stored && !m_profile.contains(kAccountsValueName)) {
        SaveAccounts(store, settings);
        return;
    }
    restoreWindowPosition(settings);
    const auto records = stored ? DecodeAccounts(*stored) : std::nullopt;
    if (records) {
        addLoaded(*records, store);
    } else {
        m_unreadable = true;
        m_keptValue = stored;
    }
    m_loadedRevision = store.revision();
}

bool AccountPersistence::SaveAccounts(const AccountStore& store, Settings& settings) {
    const WindowGeometry::Rect rect = m_window.windowRect();
    settings.posX = rect.left;
    settings.posY = rect.top;
    settings.posW = rect.right - rect.left;
    // Even a save that keeps the value may rewrite how the file spells it.
    // Without a copy of the unreadable file nothing is written over it.
    if (m_unreadable && !m_backedUp) m_backedUp = m_profile.backUp();
    if (m_unreadable && !m_backedUp) return false;
    return SaveSettings(m_profile, settings, accountsValueFor(store));
}

void AccountPersistence::restoreWindowPosition(const Settings& settings) {
    // Compared unsigned on purpose: a negative position (a window saved
    // partly off screen) never passes, so the system's placement stands.
    const WindowGeometry::Size screen = m_window.screenSize();
    if (static_cast<std::uint32_t>(settings.posX) < static_cast<std::uint32_t>(screen.width) &&
        static_cast<std::uint32_t>(settings.posY) < static_cast<std::uint32_t>(screen.height)) {
        m_window.moveTopLeft(settings.posX, settings.posY);
    }
}

void AccountPersistence::addLoaded(const std::vector<AccountRecord>& records, AccountStore& store) {
    for (std::size_t k = 1; k <= static_cast<std::size_t>(kMaxAccounts) && k <= records.size(); ++k) {
        AccountRecord record = records[k - 1];
        record.accountNumber = static_cast<std::uint8_t>(k);
        record.status = kStatusUpdateNeeded;
        store.AppendAccount(record);
        if (record.isCurrent != 0) store.CopyToCurrent(static_cast<int>(k));
    }
}

std::optional<Bytes> AccountPersistence::accountsValueFor(const AccountStore& store) {
    if (m_unreadable && (store.revision() == m_loadedRevision || !m_backedUp)) return m_keptValue;
    m_unreadable = false;
    m_keptValue.reset();
    return EncodeAccounts(store);
}

}  // namespace qlt
