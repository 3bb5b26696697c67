#include "health/DuplicateGroups.h"

#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace linvara {

std::string DuplicateKey(const std::string& address) {
  for (const std::string_view scheme : {"http://", "https://"})
    if (address.starts_with(scheme)) return address.substr(scheme.size());
  return address;
}

namespace {

template <typename KeyOf>
DuplicateGroups GroupByKey(const NodeList& list, KeyOf keyOf) {
  std::unordered_map<std::string, std::size_t> slotOfKey;
  std::vector<NodeList> slots;  // members per key, keys in order of first appearance
  for (const NodePtr& node : list) {
    if (!node) continue;
    const OptString address = node->urlString();
    if (!address) continue;
    auto [it, inserted] = slotOfKey.try_emplace(keyOf(*address), slots.size());
    if (inserted) slots.emplace_back();
    slots[it->second].push_back(node);
  }

  DuplicateGroups result;
  for (NodeList& members : slots) {
    if (members.size() < 2) continue;
    const NodePtr& first = members.front();
    FolderPtr group = PRFaBookMarkNode::Create();
    group->setBookMarkUUID(first->bookMarkUUID());
    group->setBookMarkType("Folder");
    group->setUrlString(first->urlString());
    group->setThetitle(first->thetitle());
    result.dupBookmarkCount += static_cast<std::uint32_t>(members.size());
    group->setChildrenArray(std::make_shared<NodeList>(std::move(members)));
    result.groups.push_back(group);
  }
  return result;
}

}  // namespace

DuplicateGroups FindAllDuplicateBookMarks(const NodeList& list) { return GroupByKey(list, DuplicateKey); }

DuplicateGroups findDuplicateSafariBookMark(const NodeList& list) {
  return GroupByKey(list, [](const std::string& address) -> const std::string& { return address; });
}

NodeList DuplicateGroupMembers(const NodePtr& group) {
  FolderPtr folder = AsFolderOrRoot(group);
  return folder ? folder->childrenSnapshot() : NodeList{};
}

bool ToggleDuplicateAutoSelect(const NodeList& groups, bool autoSelected) {
  for (const NodePtr& group : groups) {
    const NodeList members = DuplicateGroupMembers(group);
    if (autoSelected) {
      for (const NodePtr& member : members) member->setBSelect(false);
      continue;
    }
    bool favouriteKept = false;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const NodePtr& member = members[i];
      if (member->bFavBookmark()) {
        member->setBSelect(favouriteKept);
        favouriteKept = true;
      } else {
        member->setBSelect(i != 0);
      }
    }
  }
  return !autoSelected;
}

DuplicateSearch::DuplicateSearch(std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler)
    : dispatcher_(std::move(dispatcher)), handler_(std::move(handler)) {}

std::shared_ptr<DuplicateSearch> DuplicateSearch::Start(NodeList snapshot,
                                                        std::shared_ptr<MainThreadDispatcher> dispatcher,
                                                        Handler onMainThread) {
  std::shared_ptr<DuplicateSearch> search(new DuplicateSearch(std::move(dispatcher), std::move(onMainThread)));
  try {
    std::thread([search, snapshot = std::move(snapshot)] { search->Body(snapshot); }).detach();
  } catch (const std::system_error&) {
    search->MarkStopped();
  }
  return search;
}

void DuplicateSearch::Body(const NodeList& snapshot) {
  DuplicateGroups result = FindAllDuplicateBookMarks(snapshot);
  if (!cancelled()) {
    auto self = shared_from_this();
    dispatcher_->RunAndWait([self, &result] {
      if (!self->cancelled() && self->handler_) self->handler_(std::move(result));
    });
  }
  MarkStopped();
}

}  // namespace linvara
