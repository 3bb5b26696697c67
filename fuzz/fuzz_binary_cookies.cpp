// Feeds arbitrary bytes to the binary cookie reader and checks that every entry
// it lists lies inside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::int32_t> pageSizes;
  linvara::CookieList cookies;
  linvara::ReadCookBinaryBytes(bytes, pageSizes, cookies);
  if (pageSizes.size() > size / 4 + 1) std::abort();
  for (const auto& c : cookies) {
    if (c->cookieStartOffSet >= size || c->cookieLength <= 56) std::abort();
    const std::size_t record = static_cast<std::size_t>(c->cookieLength);
    for (const auto* text : {&c->fileHost, &c->fileName, &c->filePath, &c->fileValue})
      if (!text->has_value() || (*text)->size() >= record) std::abort();
  }
  // The text routine on raw input as well.
  (void)linvara::GetStringFormChar(bytes);
  return 0;
}
