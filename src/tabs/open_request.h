#pragma once
// One request to open a page: what to load, under which caption, with which
// key macro, and whether Shift inverted the navigate mode.
#include <QString>
#include <string>

namespace sorvi {

struct OpenRequest {
  // Shift-JIS address bytes (a bookmark's expanded macro): loaded byte for
  // byte. Used when `typed` is empty.
  std::string address;
  // Text the user typed or picked in the address box, converted only when
  // it is loaded.
  QString typed;
  // A fixed tab caption (Shift-JIS); empty: the page title is shown.
  std::string caption;
  // The key macro to play once the page has loaded (Shift-JIS); may be empty.
  std::string key_macro;
  // Shift was held with the key or click that asked for the page.
  bool shift = false;
  // A tab of its own, whatever the navigate mode and Shift say.
  bool new_tab = false;
  // The active tab, whatever the navigate mode and Shift say (a new one
  // only when there is none).
  bool in_active_tab = false;

  bool empty() const { return typed.isEmpty() && address.empty(); }
};

}  // namespace sorvi
