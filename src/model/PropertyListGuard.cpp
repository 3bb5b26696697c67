#include "model/PropertyListGuard.h"

#include <string>

namespace linvara {
namespace {

Error TooDeep(std::size_t maxNesting) {
  return Fail("property list nested deeper than " + std::to_string(maxNesting) + " levels", ErrorKind::Malformed);
}

// ---- XML form: open container tags counted while scanning ----

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

// "&#0;", "&#x00;" and the like.
bool IsNulReference(std::string_view text, std::size_t at) {
  std::size_t i = at + 2;
  const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
  if (hex) ++i;
  const std::size_t digits = i;
  while (i < text.size() && text[i] == '0') ++i;
  return i > digits && i < text.size() && text[i] == ';';
}

Result<void> CheckXml(std::string_view text, std::size_t maxNesting) {
  if (text.find('\0') != std::string_view::npos)
    return Fail("property list holds a NUL character", ErrorKind::Malformed);
  for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2))
    if (IsNulReference(text, at)) return Fail("property list holds a NUL character", ErrorKind::Malformed);
  std::size_t depth = 0;
  std::size_t at = text.find('<');
  while (at != std::string_view::npos) {
    std::string_view skipTo;
    if (StartsWith(text, at, "<!--"))
      skipTo = "-->";
    else if (StartsWith(text, at, "<![CDATA["))
      skipTo = "]]>";
    else if (StartsWith(text, at, "<?"))
      skipTo = "?>";
    else if (StartsWith(text, at, "<!"))
      skipTo = ">";
    if (!skipTo.empty()) {
      const std::size_t end = text.find(skipTo, at + 2);
      if (end == std::string_view::npos) return {};
      at = text.find('<', end + skipTo.size());
      continue;
    }
    const std::size_t close = text.find('>', at + 1);
    if (close == std::string_view::npos) return {};
    std::size_t name = at + 1;
    const bool closing = name < close && text[name] == '/';
    if (closing) ++name;
    std::size_t nameEnd = name;
    while (nameEnd < close && text[nameEnd] != '/' && text[nameEnd] != ' ' && text[nameEnd] != '\t' &&
           text[nameEnd] != '\r' && text[nameEnd] != '\n')
      ++nameEnd;
    const std::string_view tag = text.substr(name, nameEnd - name);
    const bool selfClosing = text[close - 1] == '/';
    if ((tag == "array" || tag == "dict") && !selfClosing) {
      if (closing) {
        if (depth > 0) --depth;
      } else if (++depth > maxNesting) {
        return TooDeep(maxNesting);
      }
    }
    at = text.find('<', close + 1);
  }
  return {};
}

}  // namespace

Result<void> CheckPropertyListForParser(std::string_view bytes, std::size_t maxNesting) {
  return CheckXml(bytes, maxNesting);
}

}  // namespace linvara
