// Any text as Dat.sys (NUL bytes as spaces): no crash, the text written reads back the same,
// also with a record added.
#include <algorithm>
#include <cstdlib>

#include "store/FolderList.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::replace(text.begin(), text.end(), '\0', ' ');
  FolderList list = FolderList::Parse(text);
  list.Unreadable();
  const FolderList again = FolderList::Parse(list.Text());
  if (again.Text() != list.Text() || again.Records() != list.Records()) std::abort();
  list.Add(NewRecord("/w/D"));
  if (FolderList::Parse(list.Text()).Records() != list.Records()) std::abort();
  return 0;
}
