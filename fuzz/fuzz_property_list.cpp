// Feeds arbitrary bytes to the property-list and JSON readers, and writes back
// what parses. A binary property list that our reader accepts must read as
// libplist reads it, and the XML text written must read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "../tests/support/LibplistComparison.h"
#include "model/BinaryPropertyList.h"
#include "model/Json.h"
#include "model/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto plist = linvara::ParsePropertyList(bytes)) {
    if (linvara::IsBinaryPropertyList(bytes)) {
      const std::string difference = linvara::testing::DifferenceFromLibplist(bytes, *plist);
      if (!difference.empty()) {
        std::fprintf(stderr, "binary property list reads unlike libplist: %s\n", difference.c_str());
        __builtin_trap();
      }
    }
    if (auto xml = linvara::SerializePropertyListXml(*plist); xml && !linvara::ParsePropertyList(*xml)) std::abort();
  }
  if (auto json = linvara::ParseJson(bytes)) (void)linvara::SerializeJson(*json);
  return 0;
}
