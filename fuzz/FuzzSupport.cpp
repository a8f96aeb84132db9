#include "fuzz/FuzzSupport.h"

#include <cstdlib>

namespace qlt::fuzz {

const KeywordDictionary& shippedDictionary() {
    static const KeywordDictionary dictionary = [] {
        SilentUiPort ui;
        KeywordDictionary d;
        d.loadDictionary(ui, {QLT_RES_DIR "/qltdict.dat", "/nonexistent/userlst.dat"});
        // A run without the real table would prove little about the rating.
        if (d.count() < 2) std::abort();
        return d;
    }();
    return dictionary;
}

}  // namespace qlt::fuzz
