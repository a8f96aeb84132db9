#include "store/AccountPersistence.h"

#include "store/AccountRecordCodec.h"
#include "store/AccountRules.h"

namespace qlt {

namespace {

constexpr std::size_t kBufferStep = 1024;

}  // namespace

Bytes EncodeAccounts(const AccountStore& store) {
    Bytes plain;
    const auto count = static_cast<std::size_t>(store.GetAccountCount());
    plain.reserve((count * kAccountRecordSize + kBufferStep - 1) / kBufferStep * kBufferStep);
    for (int n = 1; n <= store.GetAccountCount(); ++n) appendAccountRecord(*store.GetAccount(n), plain);
    return encodeStored(plain);
}

void AccountPersistence::LoadAccounts(AccountStore& store, Settings& settings) {
    const std::optional<Bytes> stored = LoadSettings(m_profile, settings);
    if (settings.soundFile.empty()) settings.soundFile = kDefaultSoundFile;
    if (!stored) {
        SaveAccounts(store, settings);
        return;
    }
    restoreWindowPosition(settings);
    const std::optional<Bytes> plain = decodeStored(*stored);
    if (plain) {
        readRecords(*plain, store);
    } else {
        m_unreadableValue = stored;
    }
    m_loadedRevision = store.revision();
}

bool AccountPersistence::SaveAccounts(const AccountStore& store, Settings& settings) {
    const WindowGeometry::Rect rect = m_window.windowRect();
    settings.posX = rect.left;
    settings.posY = rect.top;
    settings.posW = rect.right - rect.left;
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

void AccountPersistence::readRecords(const Bytes& plain, AccountStore& store) {
    const std::span<const std::uint8_t> all(plain);
    for (std::size_t k = 1;
         k <= static_cast<std::size_t>(kMaxAccounts) && k * kAccountRecordSize <= all.size(); ++k) {
        AccountRecord record =
            readAccountRecord(all.subspan((k - 1) * kAccountRecordSize).first<kAccountRecordSize>());
        record.accountNumber = static_cast<std::uint8_t>(k);
        record.status = kStatusUpdateNeeded;
        store.AppendAccount(record);
        if (record.isCurrent != 0) store.CopyToCurrent(static_cast<int>(k));
    }
}

Bytes AccountPersistence::accountsValueFor(const AccountStore& store) const {
    if (m_unreadableValue && store.revision() == m_loadedRevision) return *m_unreadableValue;
    return EncodeAccounts(store);
}

}  // namespace qlt
