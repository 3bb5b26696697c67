// Feeds arbitrary bytes to the property-list and JSON readers, and writes back
// what parses; the XML text written must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/Json.h"
#include "model/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto plist = linvara::ParsePropertyList(bytes)) {
    if (auto xml = linvara::SerializePropertyListXml(*plist); xml && !linvara::ParsePropertyList(*xml)) std::abort();
  }
  if (auto json = linvara::ParseJson(bytes)) (void)linvara::SerializeJson(*json);
  return 0;
}
