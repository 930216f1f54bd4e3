#pragma once
// What the other lists and the key macros read of the code tree's
// selection. The code list answers; the window hands it over as this.
// Plain types only, so every subsystem may depend on it.
#include <string>
#include <vector>

#include "core/bookmarks/url_macro.h"

namespace sorvi {

class StockSelection {
 public:
  // The selection as the URL macros see it, gathered afresh.
  virtual UrlSelection GatherUrlSelection() const = 0;
  // One selection per stock concerned, each as if it alone were selected.
  virtual std::vector<UrlSelection> GatherUrlSelectionPerStock() const = 0;
  // Caption bytes of the tree's primary selected node; empty when none.
  virtual std::string SelectedNodeCaption() const = 0;
  // The node SelectedNodeCaption reads is a stock (not a group).
  virtual bool SelectedNodeIsStock() const = 0;

 protected:
  ~StockSelection() = default;
};

}  // namespace sorvi
