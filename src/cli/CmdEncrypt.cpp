// encrypt and decrypt: the Safari bookmarks named by UUID, with the password
// read from the first line of the standard input.
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>

#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/Output.h"
#include "crypto/EncryptionController.h"
#include "readers/BookmarkReadController.h"

namespace linvara::cli {

namespace {

AppServices PasswordCommandServices(const CommandContext& ctx) {
  AppServices services;
  services.locations = ctx.locations;
  services.preferences = std::make_shared<Preferences>(ctx.locations.preferencesFile());
  services.platform = ctx.platform ? ctx.platform : std::make_shared<HostPlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  return services;
}

// The first line, without its line end; nullopt when there is none at all.
std::optional<std::string> ReadPasswordLine(std::istream& in) {
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int RunPasswordCommand(CommandContext& ctx, bool encrypting) {
  const auto view = ctx.args.Value("--view");
  if (!view || ParseCliView(*view) != CliView::Safari) return ctx.UsageError("give --view safari: only Safari bookmarks are encrypted");
  if (!RequireHomeFolder(ctx)) return 1;

  BookmarkSession session(PasswordCommandServices(ctx));
  session.bookMarkType = ViewKind::Safari;
  const Locations& loc = session.locations();
  std::error_code ec;
  const bool fromWorkingCopy = ctx.args.Has("--working-copy") && std::filesystem::exists(loc.safariWorkingCopy(), ec);
  const std::filesystem::path source = fromWorkingCopy ? loc.safariWorkingCopy() : loc.safariBookmarks();
  BookmarkReadController reads(session);
  reads.ReadSafariBookMark(source);
  for (const BrowserReadOutcome& outcome : reads.lastReadReport().outcomes) {
    if (!outcome.error) continue;
    ErrorLine(ctx.err, outcome.Describe());
    return 1;
  }

  // Every UUID must name a bookmark in the state the command works on.
  NodeList chosen;
  for (const std::string& uuid : ctx.args.positionals) {
    NodePtr found;
    for (const NodePtr& node : session.lists().safariBookMarkArray)
      if (node && node->bookMarkUUID() == uuid) found = node;
    if (!found) {
      ErrorLine(ctx.err, "no Safari bookmark with UUID " + uuid + " in " + source.string());
      return 1;
    }
    if (found->bEncrytedBookmark() == encrypting) {
      ErrorLine(ctx.err, "bookmark " + uuid + (encrypting ? " is encrypted already" : " is not encrypted"));
      return 1;
    }
    chosen.push_back(found);
  }

  EncryptionController encryption(session);
  std::istream& in = ctx.input.in ? *ctx.input.in : std::cin;
  const std::optional<std::string> typed = ReadPasswordLine(in);
  if (!typed) {
    ErrorLine(ctx.err, "no password on the standard input; nothing was changed");
    return 1;
  }
  const std::string& password = *typed;
  if (encrypting && !encryption.HasStoredPassword()) {
    if (auto created = encryption.CreatePassword(password); !created) {
      ErrorLine(ctx.err, "the password could not be stored: " + created.error());
      return 1;
    }
  }
  if (!encryption.AcceptPassword(password)) {
    ErrorLine(ctx.err, "wrong password; nothing was changed");
    return 1;
  }
  const EncryptionOutcome outcome = encrypting ? encryption.EncryptBookmarks(chosen) : encryption.DecryptBookmarks(chosen);
  for (const std::string& line : outcome.refused) ErrorLine(ctx.err, "not " + std::string(encrypting ? "encrypted" : "decrypted") + ": " + line);
  if (outcome.writeFailure) {
    ErrorLine(ctx.err, "the working copy could not be written: " + outcome.writeFailure->message);
    return 1;
  }
  ctx.out << (encrypting ? "encrypted " : "decrypted ") << outcome.changed.size() << " bookmark"
          << (outcome.changed.size() == 1 ? "" : "s") << " into " << loc.safariWorkingCopy().string() << "\n";
  return outcome.refused.empty() ? 0 : 1;
}

}  // namespace

int RunEncrypt(CommandContext& ctx) { return RunPasswordCommand(ctx, true); }
int RunDecrypt(CommandContext& ctx) { return RunPasswordCommand(ctx, false); }

}  // namespace linvara::cli
