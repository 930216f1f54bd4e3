// Reading and writing the two list files at the sizes heavy users reach:
// SV_Code.txt with 4,000 stocks in 40 groups (and edits of it), SV_List.txt
// with 500 bookmarks, and URL macro expansion over a whole group of
// selected codes; the copy of a changed 50,000-stock list kept beside it.
// Copying the same bytes is the floor the parsers are measured against.
// Also the window's close against a Sorvi.ini of many sections: the
// window state and address history written and committed; and the code
// tree with 50,000 stocks: loaded, every group opened, edited.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "core/codes/code_list_edit.h"
#include "core/codes/stock_code_list.h"
#include "core/files/file_io.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/settings/window_settings.h"
#include "core/text/sjis.h"

namespace {

using namespace sorvi;

// Code page 932 names, several with 0x5C as a trail byte.
const char* const kStockNames[] = {
    "\x83\x67\x83\x88\x83\x5e\x8e\xa9\x93\xae\x8e\xd4",                  // トヨタ自動車
    "\x83\x5c\x83\x6a\x81\x5b\x83\x4f\x83\x8b\x81\x5b\x83\x76",          // ソニーグループ
    "\x94\x43\x93\x56\x93\xb0",                                          // 任天堂
    "\x93\xfa\x97\xa7\x90\xbb\x8d\xec\x8f\x8a",                          // 日立製作所
    "\x8e\x4f\x95\x48\x82\x74\x82\x65\x82\x69",                          // 三菱ＵＦＪ
    "\x95\x5c\x8e\xa6\x93\x94",                                          // 表示灯
    "\x83\x5c\x83\x74\x83\x67\x83\x6f\x83\x93\x83\x4e\x82\x66",          // ソフトバンクＧ
    "\x93\x8c\x8b\x9e\x83\x47\x83\x8c\x83\x4e\x83\x67\x83\x8d\x83\x93",  // 東京エレクトロン
    "\x94\x5c\x94\xfc\x96\x68\x8d\xd0",                                  // 能美防災
    "\x83\x4c\x81\x5b\x83\x47\x83\x93\x83\x58",                          // キーエンス
};
const char* const kGroupNames[] = {
    "\x93\x64\x8b\x40\x81\x45\x90\xb8\x96\xa7",  // 電機・精密
    "\x8e\xa9\x93\xae\x8e\xd4",                  // 自動車
    "\x8b\xe2\x8d\x73\x8b\xc6",                  // 銀行業
    "\x8f\xee\x95\xf1\x81\x45\x92\xca\x90\x4d",  // 情報・通信
    "\x97\x5c\x92\xe8\x95\x5c",                  // 予定表
};
const char* const kPageNames[] = {
    "\x8a\x94\x89\xbf\x83\x60\x83\x83\x81\x5b\x83\x67",  // 株価チャート
    "\x8e\x6c\x8b\x47\x95\xf1",                          // 四季報
    "\x93\x4b\x8e\x9e\x8a\x4a\x8e\xa6",                  // 適時開示
    "\x8c\x66\x8e\xa6\x94\xc2",                          // 掲示板
    "\x8c\x88\x8e\x5a\x92\x5a\x90\x4d",                  // 決算短信
};

template <size_t N>
const char* Pick(const char* const (&names)[N], size_t i) {
  return names[i % N];
}

std::string MakeCodeFile() {
  StockCodeList list;
  for (size_t g = 0; g < 40; ++g) {
    StockGroup group{"[" + std::string(Pick(kGroupNames, g)) + std::to_string(g) + "]", {}};
    for (size_t s = 0; s < 100; ++s) {
      const size_t code = 1300 + g * 100 + s;
      group.stocks.push_back(std::to_string(code) + " " + Pick(kStockNames, code) +
                             (s % 3 == 0 ? "(" + std::to_string(s) + ")" : ""));
    }
    list.groups.push_back(std::move(group));
  }
  return SerializeStockCodeList(list);
}

std::string MakeBookmarkFile() {
  std::vector<UrlBookmark> list;
  for (size_t i = 0; i < 500; ++i) {
    UrlBookmark b;
    b.name = std::string(Pick(kPageNames, i)) + " " + std::to_string(i);
    if (i % 2 == 0) {
      b.fixed_title = 1;
      b.title = "%NM% " + std::string(Pick(kPageNames, i));
    }
    if (i % 4 == 1) {
      b.key_macro = "{TAB}{TAB}%CD%{ENTER}";
      b.key_macro_state = static_cast<int>(i % 8 == 1);
    }
    b.url_macro = "https://finance.example.jp/quote/" + std::to_string(i) + "?code=%CD%&group=%GP%&list=%[%CD%,]%";
    list.push_back(std::move(b));
  }
  return SerializeBookmarkList(list);
}

const std::string& CodeFile() {
  static const std::string bytes = MakeCodeFile();
  return bytes;
}

const std::string& BookmarkFile() {
  static const std::string bytes = MakeBookmarkFile();
  return bytes;
}

void CountBytes(benchmark::State& state, const std::string& bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_CopyBytesFloor(benchmark::State& state) {
  const std::string& bytes = state.range(0) == 0 ? CodeFile() : BookmarkFile();
  for (auto _ : state) {
    std::string copy = bytes;
    benchmark::DoNotOptimize(copy.data());
  }
  CountBytes(state, bytes);
}
BENCHMARK(BM_CopyBytesFloor)->Arg(0)->Arg(1)->ArgNames({"bookmarks"});

void BM_SplitLinesFloor(benchmark::State& state) {
  const std::string& bytes = CodeFile();
  for (auto _ : state) benchmark::DoNotOptimize(SplitLines(bytes));
  CountBytes(state, bytes);
}
BENCHMARK(BM_SplitLinesFloor);

void BM_StockCodeParse(benchmark::State& state) {
  const std::string& bytes = CodeFile();
  for (auto _ : state) benchmark::DoNotOptimize(ParseStockCodeFile(bytes));
  CountBytes(state, bytes);
}
BENCHMARK(BM_StockCodeParse);

void BM_StockCodeSerialize(benchmark::State& state) {
  const StockCodeList list = ParseStockCodeFile(CodeFile()).list;
  for (auto _ : state) benchmark::DoNotOptimize(SerializeStockCodeList(list));
  CountBytes(state, CodeFile());
}
BENCHMARK(BM_StockCodeSerialize);

void BM_StockCodeRoundTrip(benchmark::State& state) {
  const std::string& bytes = CodeFile();
  for (auto _ : state) benchmark::DoNotOptimize(SerializeStockCodeList(ParseStockCodeFile(bytes).list));
  CountBytes(state, bytes);
}
BENCHMARK(BM_StockCodeRoundTrip);

// One edit of the window's list: a stock duplicated, its group dragged to
// the far end and back, the copy deleted.
void BM_StockCodeEdit(benchmark::State& state) {
  StockCodeList list = ParseStockCodeFile(CodeFile()).list;
  const int last = int(list.groups.size()) - 1;
  for (auto _ : state) {
    const NodePos copy = *DuplicateNode(list, NodePos{20, 50});
    ApplyNodeMove(list, *PlanNodeDrop(list, NodePos{20}, NodePos{last}));
    ApplyNodeMove(list, *PlanNodeDrop(list, NodePos{last}, NodePos{20}));
    benchmark::DoNotOptimize(DeleteNode(list, copy));
  }
}
BENCHMARK(BM_StockCodeEdit);

void BM_BookmarkParse(benchmark::State& state) {
  const std::string& bytes = BookmarkFile();
  for (auto _ : state) benchmark::DoNotOptimize(ParseBookmarkFile(bytes));
  CountBytes(state, bytes);
}
BENCHMARK(BM_BookmarkParse);

void BM_BookmarkSerialize(benchmark::State& state) {
  const std::vector<UrlBookmark> list = ParseBookmarkFile(BookmarkFile());
  for (auto _ : state) benchmark::DoNotOptimize(SerializeBookmarkList(list));
  CountBytes(state, BookmarkFile());
}
BENCHMARK(BM_BookmarkSerialize);

// A temporary copy of the code list on disk, removed when the run ends.
class TempCodeFile {
 public:
  TempCodeFile() {
    char name[] = "/tmp/lists_bench_XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return;
    ::close(fd);
    path_ = name;
    if (!ReplaceFileContents(path_, CodeFile())) path_.clear();
  }
  ~TempCodeFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& CodeFilePath() {
  static const TempCodeFile file;
  return file.path();
}

// The floor for reading: one read into a buffer of the known size.
void BM_ReadFileFloor(benchmark::State& state) {
  const std::string& path = CodeFilePath();
  if (path.empty()) return state.SkipWithError("no temporary file");
  std::string buffer(CodeFile().size(), '\0');
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    size_t n = f ? std::fread(buffer.data(), 1, buffer.size(), f) : 0;
    if (f) std::fclose(f);
    benchmark::DoNotOptimize(n);  // not const: newer benchmark versions deprecate that overload
  }
  CountBytes(state, CodeFile());
}
BENCHMARK(BM_ReadFileFloor);

void BM_ReadWholeFile(benchmark::State& state) {
  const std::string& path = CodeFilePath();
  if (path.empty()) return state.SkipWithError("no temporary file");
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(path));
  CountBytes(state, CodeFile());
}
BENCHMARK(BM_ReadWholeFile);

void BM_ReadWholeFileAndParse(benchmark::State& state) {
  const std::string& path = CodeFilePath();
  if (path.empty()) return state.SkipWithError("no temporary file");
  for (auto _ : state) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    benchmark::DoNotOptimize(ParseStockCodeFile(bytes ? *bytes : std::string()));
  }
  CountBytes(state, CodeFile());
}
BENCHMARK(BM_ReadWholeFileAndParse);

// The copy of a changed list that the window writes beside it at most every
// 30 s after an edit: a list of N stocks serialized and written with the
// crash-safe replace (flushed to disk), on the disk of the working directory.
void BM_UnsavedCopyWrite(benchmark::State& state) {
  StockCodeList list;
  for (int64_t s = 0; s < state.range(0); ++s) {
    if (s % 100 == 0) list.groups.push_back({"[" + std::string(Pick(kGroupNames, size_t(s / 100))) + "]", {}});
    list.groups.back().stocks.push_back(std::to_string(1000 + s % 9000) + " " + Pick(kStockNames, size_t(s)));
  }
  char dir[] = "lists_bench_copy_XXXXXX";
  if (!::mkdtemp(dir)) return state.SkipWithError("no scratch directory");
  const std::string path = std::string(dir) + "/SV_Code.txt.unsaved";
  for (auto _ : state) {
    if (!ReplaceFileContents(path, SerializeStockCodeList(list))) {
      state.SkipWithError("cannot write the copy");
      break;
    }
  }
  ::unlink(path.c_str());
  ::rmdir(dir);
}
BENCHMARK(BM_UnsavedCopyWrite)->Arg(50'000)->ArgNames({"stocks"})->Unit(benchmark::kMillisecond);

// A whole group of N selected codes through a repeat: must grow linearly.
void BM_ExpandRepeat(benchmark::State& state) {
  UrlSelection selection;
  selection.group = kGroupNames[0];
  selection.name = kStockNames[1];
  for (int64_t i = 0; i < state.range(0); ++i) selection.codes.push_back(std::to_string(1000 + i % 9000));
  const std::string macro = "https://finance.example.jp/compare?g=%GP%&n=%NM%&first=%CD%&rest=%[%CD%,]%";
  for (auto _ : state) benchmark::DoNotOptimize(ExpandUrlMacro(macro, selection));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExpandRepeat)->RangeMultiplier(10)->Range(10, 10'000)->Complexity();

// A long macro full of percent signs that are not placeholders.
void BM_ExpandLooseMacro(benchmark::State& state) {
  std::string macro;
  while (macro.size() < static_cast<size_t>(state.range(0))) macro += "a%b%cd%%%CD%";
  const UrlSelection selection{{"1111", "2222", "3333"}, "G", "N"};
  for (auto _ : state) benchmark::DoNotOptimize(ExpandUrlMacro(macro, selection));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * macro.size()));
}
BENCHMARK(BM_ExpandLooseMacro)->RangeMultiplier(16)->Range(1 << 10, 1 << 22)->Complexity();

// The close on a settings file of N sections the program does not know
// (what years of hand edits or another tool may leave): the file was read
// at start-up, so only the writes and the commit count.
void BM_SettingsClose(benchmark::State& state) {
  char dir[] = "/tmp/lists_bench_ini_XXXXXX";
  if (!::mkdtemp(dir)) return state.SkipWithError("no temporary directory");
  const std::string path = std::string(dir) + "/Sorvi.ini";
  std::string bytes = "[Window]\r\nTop=50\r\nLeft=100\r\n[URL]\r\nCount=0\r\n";
  for (int64_t i = 0; i < state.range(0); ++i)
    bytes += "[Other" + std::to_string(i) + "]\r\nKey=value " + std::to_string(i) + "\r\n";
  std::vector<std::string> history;
  for (int i = 0; i < 50; ++i) history.push_back("https://finance.example.jp/quote?code=" + std::to_string(1300 + i));
  if (!ReplaceFileContents(path, bytes)) return state.SkipWithError("cannot write the settings file");
  for (auto _ : state) {
    state.PauseTiming();
    SettingsFile ini(path);
    ini.ReadInteger("Window", "Top", 0);  // start-up's reads index the file
    state.ResumeTiming();
    WriteWindowSettings(ini, WindowSettings{});
    WriteUrlHistory(ini, history);
    if (ini.Commit().Failed()) {
      state.SkipWithError("cannot write the settings file");
      break;
    }
  }
  ::unlink(path.c_str());
  ::rmdir(dir);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SettingsClose)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// ---- the code tree (offscreen) ----

void Paint() { QApplication::processEvents(); }

QApplication& App() {
  static int argc = 1;
  static char name[] = "lists_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

// 500 groups of 100 stocks.
const StockCodeList& BigList() {
  static const StockCodeList list = [] {
    StockCodeList big;
    for (size_t g = 0; g < 500; ++g) {
      StockGroup group{"[" + std::string(Pick(kGroupNames, g)) + std::to_string(g) + "]", {}};
      for (size_t s = 0; s < 100; ++s)
        group.stocks.push_back(std::to_string(1000 + (g * 100 + s) % 9000) + " " + Pick(kStockNames, g + s));
      big.groups.push_back(std::move(group));
    }
    return big;
  }();
  return list;
}

struct ShownTree {
  ShownTree() {
    tree.resize(250, 600);
    tree.show();
    Paint();
  }
  QApplication& app = App();  // before any widget
  sorvi::CodeTreeView tree;
};

void ShowBigList(ShownTree& shown) { shown.tree.CodeModel().Reset(BigList()); }
void ExpandAll(ShownTree& shown) {
  for (int g = 0; g < 500; ++g) shown.tree.SetExpandedByProgram(shown.tree.IndexAt(NodePos{g}), true);
}

// The list loaded into a shown tree and painted.
void BM_TreeLoad(benchmark::State& state) {
  ShownTree shown;
  for (auto _ : state) {
    ShowBigList(shown);
    Paint();
  }
}
BENCHMARK(BM_TreeLoad)->Unit(benchmark::kMillisecond);

// Every group opened, one after the other, then painted.
void BM_TreeExpandAll(benchmark::State& state) {
  ShownTree shown;
  for (auto _ : state) {
    state.PauseTiming();
    ShowBigList(shown);
    Paint();
    state.ResumeTiming();
    ExpandAll(shown);
    Paint();
  }
}
BENCHMARK(BM_TreeExpandAll)->Unit(benchmark::kMillisecond);

// With every group open: a stock duplicated, its group dragged to the end
// and back, the copy deleted, each edit shown and painted.
void BM_TreeEdit(benchmark::State& state) {
  ShownTree shown;
  ShowBigList(shown);
  ExpandAll(shown);
  Paint();
  StockCodeModel& model = shown.tree.CodeModel();
  for (auto _ : state) {
    const NodePos copy = *model.Duplicate(NodePos{250, 50});
    shown.tree.SelectOnly(copy);
    Paint();
    for (const auto& [from, to] : {std::pair{250, 499}, std::pair{499, 250}}) {
      shown.tree.SelectOnly(*model.Drop(NodePos{from}, NodePos{to}));
      Paint();
    }
    model.Remove(copy);
    shown.tree.clearSelection();
    Paint();
  }
}
BENCHMARK(BM_TreeEdit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
