// A stored "Accounts" value of any shape, loaded at start and saved again.
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "store/AccountPersistence.h"
#include "store/InMemoryProfile.h"

namespace {

class FixedWindow final : public qlt::WindowGeometry {
  public:
    Rect windowRect() const override { return {10, 20, 610, 420}; }
    void moveTopLeft(std::int32_t, std::int32_t) override {}
    Size screenSize() const override { return {1920, 1080}; }
};

}  // namespace

int qlt::fuzz::fuzzAccountStore(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    InMemoryProfile profile;
    profile.writeBinary(kAccountsValueName, std::span<const std::uint8_t>(data, size));
    FixedWindow window;
    AccountPersistence persistence(profile, window);
    AccountStore store;
    Settings settings;
    persistence.LoadAccounts(store, settings);
    persistence.SaveAccounts(store, settings);
    return 0;
}
