// Locking and unlocking a store folder through the system's security calls.
// The local Users group is named by its well-known SID (S-1-5-32-545), which
// every language of Windows shares. The folder's own access list is edited
// through the handle held on it, never through a path and never passed on to
// what lies inside: each entry inside keeps the list it has.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox::win32 {

// The access list a store folder gets, made from its present one (an ACL in
// the returned bytes). Both drop every entry of the folder's own that allows
// or denies Users; entries of other accounts and entries inherited from the
// parent stay as they are, in their order. A lock then puts one entry in
// front that denies Users all access to the folder itself. So a store folder
// Veilbox made (the user and the system alone) is that again when unlocked,
// whatever entries for Users earlier locks and unlocks left on it.
std::vector<unsigned char> StoreFolderAcl(const ACL& present, bool lock, Where where);

// Reads the access list of the folder held by handle (opened with
// READ_CONTROL and WRITE_DAC) and sets StoreFolderAcl's in its place. Raises,
// naming what in the message, when either cannot be done. A folder with no
// access list at all lets everyone in: unlocking leaves it so, and locking
// it is refused rather than guessed.
void ChangeStoreFolderAccess(HANDLE folder, bool lock, const std::string& what, Where where);

}  // namespace veilbox::win32
