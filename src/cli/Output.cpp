#include "cli/Output.h"

#include <cstdint>
#include <ostream>

namespace linvara::cli {

namespace {
constexpr const char* kReplacement = "\xef\xbf\xbd";

void AppendEscaped(std::string& out, std::uint32_t code) {
  constexpr const char* kHex = "0123456789abcdef";
  out += "\\x";
  out += kHex[(code >> 4) & 0xf];
  out += kHex[code & 0xf];
}

// Length of the well-formed UTF-8 sequence at the start of `text` and its code
// point, or 0 when it is not one (overlong forms and surrogates included).
std::size_t DecodeUtf8(std::string_view text, std::uint32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2, code = lead & 0x1f, minimum = 0x80;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3, code = lead & 0x0f, minimum = 0x800;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3f);
  }
  if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
  return length;
}
}  // namespace

std::size_t WellFormedUtf8Length(std::string_view text) {
  std::uint32_t code = 0;
  return text.empty() ? 0 : DecodeUtf8(text, code);
}

std::string PrintableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendPrintableText(out, text);
  return out;
}

void AppendPrintableText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t') || c == 0x7f) AppendEscaped(out, c);
      else out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::uint32_t code = 0;
    const std::size_t length = DecodeUtf8(text.substr(i), code);
    if (length == 0) {
      out += kReplacement;
      ++i;
    } else {
      if (code <= 0x9f) AppendEscaped(out, code);
      else out.append(text.substr(i, length));
      i += length;
    }
  }
}

void WriteLine(std::ostream& out, std::string_view line) { out << PrintableText(line) << '\n'; }

void ErrorLine(std::ostream& err, std::string_view message) {
  err << "linvara-cli: " << PrintableText(message) << '\n';
}

void WriteJson(std::ostream& out, const nlohmann::ordered_json& json) {
  out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace linvara::cli
