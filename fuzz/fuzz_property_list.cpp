// Feeds arbitrary bytes to the property-list and JSON readers, and writes back what parses.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/Json.h"
#include "model/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto plist = linvara::ParsePropertyList(bytes)) (void)linvara::SerializePropertyListXml(*plist);
  if (auto json = linvara::ParseJson(bytes)) (void)linvara::SerializeJson(*json);
  return 0;
}
