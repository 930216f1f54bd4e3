#include <gtest/gtest.h>

#include "core/tabs/window_requests.h"

namespace sorvi {
namespace {

using Kind = WindowReport::Kind;

struct MatchRow {
  const char* what;
  WindowReport report;
  EngineWindowRequest request;
  RequestedWindow expected;
};

TEST(WindowRequestMatcherTest, OneReportOneRequest) {
  const std::string pop = "http://127.0.0.1:8080/pop.html";
  const MatchRow rows[] = {
      {"open with name and size", {Kind::Open, pop, "quote", "width=300,height=200"}, {pop}, {"quote", 300, 200}},
      {"the engine's size wins",
       {Kind::Open, pop, "", "width=300,height=200"},
       {pop, false, true, 280, 0},
       {"", 280, 200}},
      {"one size only", {Kind::Open, pop, "", "height=240"}, {pop}, {"", -1, 240}},
      {"a link gives no size", {Kind::Target, pop, "foo", "width=300"}, {pop}, {"foo", -1, -1, false}},
      {"reserved names", {Kind::Open, pop, "_Blank", ""}, {pop}, {"", -1, -1}},
      {"background: name, no size",
       {Kind::Open, pop, "bg", "width=3,height=4"},
       {pop, true, false, 9, 9},
       {"bg", -1, -1, false}},
      {"form fields as query",
       {Kind::Target, "http://h/post", "out", ""},
       {"http://h/post?code=7203"},
       {"out", -1, -1, false}},
      {"no address is about:blank", {Kind::Open, "", "w", "width=5,height=6"}, {"about:blank#blocked"}, {"w", 5, 6}},
      {"another address", {Kind::Open, "http://h/a", "w", "width=5,height=6"}, {"http://h/b"}, {"", -1, -1}},
      {"a dialog without report",
       {Kind::Open, "http://h/a", "w", ""},
       {"http://h/b", false, true, 0, 150},
       {"", 0, 150}},
  };
  for (const MatchRow& row : rows) {
    WindowRequestMatcher matcher;
    matcher.Remember(row.report);
    const RequestedWindow got = matcher.Match(row.request);
    EXPECT_EQ(got.target_name, row.expected.target_name) << row.what;
    EXPECT_EQ(got.width, row.expected.width) << row.what;
    EXPECT_EQ(got.height, row.expected.height) << row.what;
    EXPECT_EQ(got.scripted, row.expected.scripted) << row.what;
  }
}

TEST(WindowRequestMatcherTest, NewestReportIsUsedUpFirst) {
  WindowRequestMatcher matcher;
  matcher.Remember({Kind::Open, "http://h/a", "first", ""});
  matcher.Remember({Kind::Open, "http://h/b", "other", ""});
  matcher.Remember({Kind::Target, "http://h/a#top", "second", ""});
  EXPECT_EQ(matcher.Match({"http://h/a"}).target_name, "second");
  EXPECT_EQ(matcher.Match({"http://h/a"}).target_name, "first");
  EXPECT_EQ(matcher.Match({"http://h/a"}).target_name, "");
  EXPECT_EQ(matcher.pending(), 1u);

  // A burst longer than the matcher keeps forgets its oldest report.
  for (size_t i = 0; i < WindowRequestMatcher::kMaxReports; ++i) matcher.Remember({Kind::Open, "http://h/c", "c", ""});
  EXPECT_EQ(matcher.Match({"http://h/b"}).target_name, "");
}

TEST(WindowRequestMatcherTest, WindowNames) {
  for (const char* none : {"", "_blank", "_SELF", "_parent", "_Top"}) EXPECT_FALSE(IsWindowName(none)) << none;
  for (const char* name : {"foo", "_blanks", "blank", "チャート"}) EXPECT_TRUE(IsWindowName(name)) << name;
}

}  // namespace
}  // namespace sorvi
