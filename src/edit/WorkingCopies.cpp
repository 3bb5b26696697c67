#include "edit/WorkingCopies.h"

#include "model/Json.h"
#include "model/PropertyList.h"

namespace linvara {

namespace {
DictPtr CopyOf(const DictPtr& dict) { return dict ? dict->copy() : Dictionary::make(); }
}  // namespace

Result<std::string> SafariWorkingCopyText(const DictPtr& rootDict, const ArrayPtr& children) {
  DictPtr root = CopyOf(rootDict);
  root->set("Children", children ? children : Array::make());
  return SerializePropertyListXml(Value(root));
}

std::string ChromeWorkingCopyText(const DictPtr& rootDict, const Value& roots) {
  DictPtr root = CopyOf(rootDict);
  root->set("roots", roots.isNull() ? Value(Dictionary::make()) : roots);
  return SerializeJson(Value(root));
}

Result<void> WriteWorkingCopy(const std::filesystem::path& path, std::string_view text,
                              const WriteChunkFn& writeChunk) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) return Fail("cannot make the folder " + path.parent_path().string() + ": " + ec.message(), ErrorKind::WriteFailed);
  Result<void> written = writeChunk ? WriteFileAtomically(path, text, writeChunk) : WriteFileAtomically(path, text);
  if (!written) return Fail(written.error(), ErrorKind::WriteFailed);
  return {};
}

}  // namespace linvara
