#pragma once
// How linvara-cli prints: text with its control characters made visible, and
// JSON that never fails on bytes that are not UTF-8.
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace linvara::cli {

// `text` safe for a terminal: C0 controls except tab, DEL and C1 controls
// (U+0080..U+009F) become \xNN; bytes that are not UTF-8 become U+FFFD.
std::string PrintableText(std::string_view text);
// PrintableText(text) appended to `out`.
void AppendPrintableText(std::string& out, std::string_view text);

// Length of the well-formed UTF-8 sequence that starts `text`, 0 when there is
// none (overlong forms and surrogates included).
std::size_t WellFormedUtf8Length(std::string_view text);

// PrintableText(line) and a newline.
void WriteLine(std::ostream& out, std::string_view line);

// "linvara-cli: MESSAGE" as one line of printable text.
void ErrorLine(std::ostream& err, std::string_view message);

// Indented by two, a newline after; bytes that are not UTF-8 become U+FFFD.
void WriteJson(std::ostream& out, const nlohmann::ordered_json& json);

}  // namespace linvara::cli
