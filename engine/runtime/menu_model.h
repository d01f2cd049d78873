#pragma once
// The items of a context menu as the client's handler sees and edits them.

#include <vector>

#include "engine/include/cef_client.h"

class MenuModelImpl final : public CefMenuModel {
 public:
  bool Clear() override {
    items_.clear();
    return true;
  }
  size_t GetCount() override { return items_.size(); }
  bool AddItem(int command_id, const CefString& label) override {
    items_.push_back({command_id, label});
    return true;
  }
  bool AddSeparator() override {
    items_.push_back({kSeparator, CefString()});
    return true;
  }
  int GetCommandIdAt(size_t index) override { return index < items_.size() ? items_[index].command : -1; }
  CefString GetLabelAt(size_t index) override { return index < items_.size() ? items_[index].label : CefString(); }
  bool Remove(int command_id) override {
    for (auto item = items_.begin(); item != items_.end(); ++item) {
      if (item->command != command_id) continue;
      items_.erase(item);
      return true;
    }
    return false;
  }

  static constexpr int kSeparator = -1;

 private:
  struct Item {
    int command;
    CefString label;
  };
  std::vector<Item> items_;
  IMPLEMENT_REFCOUNTING(MenuModelImpl);
};
