// The version check of start-up: fetches the version document, a text of
// comma-separated fields (newest version, download address, and
// "must-download" when older versions must stop), and offers a newer
// version to the user.
#pragma once

#include <cstddef>
#include <string>

#include "app/Session.h"

namespace veilbox {

// The longest version document taken; a longer one is damaged.
constexpr std::size_t kMaxDocumentBytes = 64 * 1024;
constexpr const char* kDamagedDocumentText =
    "The version document is damaged, so no newer version can be offered.";

// Fetches the document at session.update_url (nothing when that is empty) and,
// when it names a version newer than kCurrentVersion, asks whether to
// open the download address. True when the program must end now. A newer
// version with a missing field raises. A document longer than
// kMaxDocumentBytes, or a newer version whose address is not an http or
// https address, is reported as damaged and changes nothing.
bool RunVersionCheck(Session& session);

// The rules of RunVersionCheck for a document already fetched.
bool ActOnVersionDocument(Session& session, const std::string& document);

}  // namespace veilbox
