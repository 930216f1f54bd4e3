#pragma once
// Which of a page's window.open calls and named link or form activations a
// new-window request of the engine stands for. The engine passes neither the
// window name nor the sizes a page gave to its request; the page's script
// reports them just before, and the newest report about the request's
// address is the one that made it.
//
// Addresses are in their encoded form (as the engine prints them); names and
// features are UTF-8 as the page wrote them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

struct WindowReport {
  enum class Kind {
    Open,    // window.open(url, name, features)
    Target,  // a link or form aimed at a named window was activated
  };
  Kind kind = Kind::Open;
  std::string address;  // empty for window.open without an address
  std::string name;
  std::string features;  // window.open's only
};

// What the engine says of a window it is asked for.
struct EngineWindowRequest {
  std::string address;
  // Opened by a modified click (Ctrl, middle button): no name, no size.
  bool background = false;
  // The engine makes a dialog only for a page that gave a size.
  bool dialog = false;
  // The engine's size for the window; 0 where it has none. Where it has
  // one it wins over the page's figures: the engine keeps them within bounds.
  int width = 0;
  int height = 0;
};

// The window as the page asked for it.
struct RequestedWindow {
  // The window name aimed at; empty for none and for "_blank" and the like.
  std::string target_name;
  // The inner size asked for; -1 for each one not given.
  int width = -1;
  int height = -1;
  // Opened by window.open (or by nothing the page's script saw): the two
  // pages may hold each other by script.
  bool scripted = true;
};

// "_blank", "_self", "_parent" and "_top" (in any letter case) name no
// window.
bool IsWindowName(std::string_view target);

class WindowRequestMatcher {
 public:
  // Enough for a burst of window.open calls between two requests; older
  // reports are forgotten.
  static constexpr std::size_t kMaxReports = 16;

  void Remember(WindowReport report);
  // The report about the request's address (query and fragment aside: a
  // form's action gets its fields as query) is used up; a request no report
  // speaks for gets no name.
  RequestedWindow Match(const EngineWindowRequest& request);

  std::size_t pending() const { return reports_.size(); }

 private:
  std::vector<WindowReport> reports_;  // newest last
};

}  // namespace sorvi
