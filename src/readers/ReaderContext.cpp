#include "readers/ReaderContext.h"

#include <unistd.h>

#include <future>

namespace linvara {

bool IsReadableFile(const std::filesystem::path& path) {
  return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

void ReaderContext::RunKeepingResponsive(const std::function<void()>& work) {
  if (!keepResponsive) {
    work();
    return;
  }
  std::future<void> done = std::async(std::launch::async, work);
  WaitKeepingResponsive(done, keepResponsive);
  done.get();
}

bool ReaderContext::CanRead(const std::filesystem::path& path) const {
  return isReadable ? isReadable(path) : IsReadableFile(path);
}

std::size_t CountEntriesBelow(const ArrayPtr& children, const std::function<bool(const DictPtr&)>& counts,
                              const std::function<ArrayPtr(const DictPtr&)>& childrenOf) {
  std::size_t count = 0;
  std::vector<ArrayPtr> pending;
  if (children) pending.push_back(children);
  while (!pending.empty()) {
    ArrayPtr array = std::move(pending.back());
    pending.pop_back();
    for (const Value& item : *array) {
      DictPtr entry = item.asDict();
      if (!entry) continue;
      if (counts(entry)) ++count;
      if (ArrayPtr below = childrenOf(entry)) pending.push_back(std::move(below));
    }
  }
  return count;
}

bool istheBookMarkNodeintheArray(const NodeList& list, const NodePtr& node) {
  if (!node) return false;
  OptString url = node->urlString();
  if (!url) return false;
  for (const auto& candidate : list) {
    if (!candidate) continue;
    OptString other = candidate->urlString();
    if (other && *other == *url) return true;
  }
  return false;
}

RemovalSet::RemovalSet(const NodeList& removeList) {
  for (const auto& node : removeList) {
    if (!node) continue;
    if (OptString url = node->urlString()) urls_.insert(*url);
  }
}

OptString StringOf(const Value& v) {
  if (const std::string* s = v.asString()) return *s;
  return std::nullopt;
}

namespace {
const Value* ValueAt(const DictPtr& dict, std::string_view key) { return dict ? dict->find(key) : nullptr; }
}  // namespace

OptString StringAt(const DictPtr& dict, std::string_view key) {
  const Value* v = ValueAt(dict, key);
  return v ? StringOf(*v) : std::nullopt;
}

DictPtr DictAt(const DictPtr& dict, std::string_view key) {
  const Value* v = ValueAt(dict, key);
  return v ? v->asDict() : nullptr;
}

ArrayPtr ArrayAt(const DictPtr& dict, std::string_view key) {
  const Value* v = ValueAt(dict, key);
  return v ? v->asArray() : nullptr;
}

bool BoolAt(const DictPtr& dict, std::string_view key) {
  const Value* v = ValueAt(dict, key);
  return v && v->asBool().value_or(false);
}

void FillRootFromDict(PRRootBookMarkNode& root, const DictPtr& dict, const RootKeys& keys) {
  if (!dict) return;
  root.setRootDict(dict->copy());
  root.setRootBookMarkUUID(StringAt(dict, keys.uuid));
  root.setRootbmFileVersion(dict->get("WebBookmarkFileVersion"));
  root.setRawChildren(dict->get(keys.children));
  root.setSyncDict(DictAt(dict, "Sync"));
  root.setTitleStr(StringAt(dict, keys.title));
  root.setBmType(StringAt(dict, keys.type));
}

void InitSafariRootItemwithDict(ReaderContext& ctx, const DictPtr& dict) {
  RootPtr root = PRRootBookMarkNode::Create();
  if (ctx.bookMarkType == 2)
    FillRootFromDict(*root, dict, kSafariRootKeys);
  else if (ctx.bookMarkType == 3)
    FillRootFromDict(*root, dict, kChromiumRootKeys);
  ctx.lists.rootNode = root;
}

}  // namespace linvara
