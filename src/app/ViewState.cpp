#include "app/ViewState.h"

namespace linvara {

NodeList NodeTableState::selectedNodes() const {
  NodeList nodes;
  for (std::size_t row : selection)
    if (row < content.size()) nodes.push_back(content[row]);
  return nodes;
}

NodePtr NodeTableState::selectedNode() const {
  for (std::size_t row : selection)
    if (row < content.size()) return content[row];
  return nullptr;
}

const ButtonState* ViewState::findButton(const std::string& name) const {
  auto it = buttons.find(name);
  return it == buttons.end() ? nullptr : &it->second;
}

NodeTableState* ViewState::table(TableId id) {
  switch (id) {
    case TableId::Bookmarks: return &bookmarkTable;
    case TableId::LeftDup: return &leftDupTable;
    case TableId::RightDup: return &rightDupTable;
    case TableId::DeadUrl: return &deadUrlTable;
    case TableId::Other: break;
  }
  return nullptr;
}

const NodeTableState* ViewState::table(TableId id) const { return const_cast<ViewState*>(this)->table(id); }

const TextState* ViewState::findText(const std::string& name) const {
  auto it = texts.find(name);
  return it == texts.end() ? nullptr : &it->second;
}

const ProgressState* ViewState::findProgress(const std::string& name) const {
  auto it = progressIndicators.find(name);
  return it == progressIndicators.end() ? nullptr : &it->second;
}

namespace {
MenuItemModel* FindIn(std::vector<MenuItemModel>& items, const std::string& identifier) {
  for (auto& item : items) {
    if (item.identifier == identifier) return &item;
    if (auto* found = FindIn(item.submenu, identifier)) return found;
  }
  return nullptr;
}
}  // namespace

MenuItemModel* ViewState::findMenuItem(const std::string& identifier) {
  if (identifier.empty()) return nullptr;
  for (auto& [name, menu] : menus)
    if (auto* found = FindIn(menu.items, identifier)) return found;
  return nullptr;
}

const MenuItemModel* ViewState::findMenuItem(const std::string& identifier) const {
  return const_cast<ViewState*>(this)->findMenuItem(identifier);
}

void ViewStateStore::Update(unsigned sections, const std::function<void(ViewState&)>& change) {
  ++depth_;
  pending_ |= sections;
  change(state_);
  if (--depth_ > 0) return;
  unsigned what = pending_;
  pending_ = 0;
  ++notifications_;
  if (listener_) listener_(state_, what);
}

}  // namespace linvara
