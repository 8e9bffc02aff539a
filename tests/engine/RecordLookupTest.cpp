#include <gtest/gtest.h>

#include "engine/RecordLookup.h"

namespace veilbox {
namespace {

TEST(RecordLookup, FindsTheFirstExactMatchAndRewritesWholeRecordsOnly) {
  const std::string db = "BA</x/<Visible<Normal<BA*A</x/<Visible<Normal<A*a</x/<Hidden<Normal<a*";
  auto found = FindRecord(db, {"A", "/x/", true});
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text, "A</x/<Visible<Normal<A*");
  EXPECT_FALSE(FindRecord(db, {"A", "/y/", true}));

  // "A</x/...*" also stands inside "BA</x/...*", which must stay as it is.
  const std::string db2 = "BA</x/<Visible<Normal<A*A</x/<Visible<Normal<A*";
  EXPECT_EQ(ReplaceRecord(db2, "A</x/<Visible<Normal<A*", "A</x/<Hidden<Normal<A*"),
            "BA</x/<Visible<Normal<A*A</x/<Hidden<Normal<A*");
  EXPECT_EQ(ReplaceRecord(db2, "A</x/<Visible<Normal<A*", ""), "BA</x/<Visible<Normal<A*");
}

}  // namespace
}  // namespace veilbox
