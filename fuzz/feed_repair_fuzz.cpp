// The repair of ill-formed feeds: whatever the bytes, no crash, hang or
// exception; what comes out is well-formed and reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "feed/FeedBytes.h"
#include "feed/FeedRepair.h"
#include "tests/feed/WellFormed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text = DecodeUtf8Or1254(std::string_view(reinterpret_cast<const char*>(data), size));
  TFeedRepair repair(text, 64);
  if (repair.Text().empty()) return 0;
  std::string error = WellFormedError(repair.Text());
  if (!error.empty()) {
    std::fprintf(stderr, "repaired text is not well-formed: %s\n", error.c_str());
    std::abort();
  }
  TFeedRepair again(repair.Text(), 64);
  if (again.Text() != repair.Text() || again.Repairs() != 0) {
    std::fprintf(stderr, "repairing the repaired text changed it (repairs %u)\n", again.Repairs());
    std::abort();
  }
  return 0;
}
