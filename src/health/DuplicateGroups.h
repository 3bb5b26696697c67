#pragma once
// Duplicate detection: bookmarks grouped by an address key, and the automatic
// ticks that mark all but the members to keep.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "health/Worker.h"
#include "model/PRBookMarkNode.h"
#include "platform/MainThread.h"

namespace linvara {

// The grouping key: the address without its leading "http://" or "https://"
// (case-sensitive). Nothing else is normalised: a scheme further on, in a
// query say, stays part of the key.
std::string DuplicateKey(const std::string& address);

struct DuplicateGroups {
  // One group node per key shared by two or more entries, in the order in which
  // each group's first member appears in the list. A group is a folder node made
  // for the result only: the first member's identifier, address and title,
  // bookMarkType "Folder", and the members, in list order, as its children.
  NodeList groups;
  std::uint32_t dupBookmarkCount = 0;  // members of all groups, the kept ones included
};

// Groups every entry of `list` that has an address (an empty address is a key
// like any other; an entry with no address at all takes no part).
DuplicateGroups FindAllDuplicateBookMarks(const NodeList& list);
// The same with the exact address as the key: "http://" and "https://" differ.
DuplicateGroups findDuplicateSafariBookMark(const NodeList& list);

// The members of a group node, in list order.
NodeList DuplicateGroupMembers(const NodePtr& group);

// The automatic-tick toggle. When `autoSelected` is false, ticks every member of
// every group except the first member and the first member lying in the
// favourites bar, and returns true; when it is true, unticks every member and
// returns false.
bool ToggleDuplicateAutoSelect(const NodeList& groups, bool autoSelected);

// The duplicate search on a detached worker: groups the snapshot and hands the
// result to the main thread once, waiting for the hand-over.
class DuplicateSearch : public WorkerLifetime, public std::enable_shared_from_this<DuplicateSearch> {
 public:
  using Handler = std::function<void(DuplicateGroups result)>;
  static std::shared_ptr<DuplicateSearch> Start(NodeList snapshot, std::shared_ptr<MainThreadDispatcher> dispatcher,
                                                Handler onMainThread);

 private:
  DuplicateSearch(std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler);
  void Body(const NodeList& snapshot);

  std::shared_ptr<MainThreadDispatcher> dispatcher_;
  Handler handler_;
};

}  // namespace linvara
