#pragma once
// The size a page asks for in the features text of window.open
// ("width=300,height=200"): which of the two it gave and their values.
#include <string_view>

namespace sorvi {

struct RequestedWindowSize {
  bool has_width = false;
  bool has_height = false;
  int width = 0;
  int height = 0;
};

// Names are case-insensitive; "innerWidth"/"innerHeight" count as width and
// height. Separators are white space, '=' and ','; a value is read from its
// leading digits ("300px" is 300) and a value without any is not a size.
RequestedWindowSize ParseWindowFeatures(std::string_view features);

}  // namespace sorvi
