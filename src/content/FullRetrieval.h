#pragma once

#include <cstddef>
#include <string>

#include "base/MessageList.h"
#include "base/UiPort.h"
#include "pop3/Pop3Client.h"
#include "risk/KeywordDictionary.h"

namespace qlt {

// Downloads the message of entry `index` into the client's temporary file,
// leaves it on the server (RSET, QUIT) and raises the entry's levels from the
// whole text. The client must be logged in; the dictionary loaded. Returns
// true when the entry was updated; after a download failure the connection
// is closed.
bool FetchAndAnalyze(Pop3Client& client, MessageList& list, std::size_t index,
                     const KeywordDictionary& dictionary, UiPort& ui);

// Downloads message n into the file at path and leaves it on the server.
// False (connection closed) when the download, RSET or QUIT failed.
bool FetchToFile(Pop3Client& client, int n, const std::string& path);

}  // namespace qlt
